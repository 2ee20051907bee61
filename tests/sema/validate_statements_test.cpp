// How each statement of a block is routed: the discriminating value, species and delta lines,
// the expression-only PARAMETERS block, unknown keys, two-word keys and exclusive groups.
#include <gtest/gtest.h>

#include "validation_support.hpp"

namespace ovm::sema::testing {
namespace {

const std::string reduction_body = "    reactant Cr(VI)\n    product Cr(III)\n";

INSTANTIATE_TEST_SUITE_P(
    Discriminator, ValidationCaseTest,
    ::testing::Values(
        // The value names no process type, and is no admissible `type` either: two findings
        // at one span. Without a variant the table's required keys apply: only `type`.
        Case{"misspelt_process_type",
             "PROCESS Reduce\n    type reductio\n" + reduction_body,
             {{"OV202", "`reductio` is not an admissible type", "reductio", 0, "did you mean `reduction`?"},
              {"OV202", "`type` is not admissible here", "reductio", 0, "did you mean `reduction`?"}}},
        Case{"unknown_rate_law",
             "KINETICS Reduce\n    rate fast\n",
             {{"OV202", "`fast` is not an admissible rate", "fast", 0,
               "known: first_order, monod, second_order, zero_order"},
              {"OV202", "`rate` is not admissible here", "fast", 0,
               "known: first_order, monod, second_order, zero_order"}}},
        // The discriminating key is found under case folding: the variant then asks for its
        // own required keys.
        Case{"discriminator_key_in_any_case",
             "PROCESS Reduce\n    Type reduction\n    reactant Cr(VI)\n",
             {{"OV211", "`PROCESS` requires `product`", "Reduce"}}},
        // The first discriminating statement selects the variant; lowering would read the
        // last, so a second one is reported and nothing else about the block changes.
        Case{"second_type_statement_is_reported",
             "PROCESS Reduce\n    type reduction\n    type mixing\n" + reduction_body,
             {{"OV213", "`type` is already set above", "type", 1}}},
        // A value of another kind selects nothing and is reported by the value checks only.
        Case{"discriminator_that_is_no_name",
             "PROCESS Reduce\n    type \"reduction\"\n" + reduction_body,
             {{"OV202", "`type` is not admissible here", "\"reduction\"", 0,
               "known: adsorption, diffusion, dissolution, evaporation, exchange, ligand_exchange, mixing, "
               "oxidation, precipitation, reduction, uptake"}}},
        // Process types are matched exactly.
        Case{"process_type_in_upper_case",
             "PROCESS Reduce\n    type Reduction\n" + reduction_body,
             {{"OV202", "`Reduction` is not an admissible type", "Reduction", 0, "did you mean `reduction`?"},
              {"OV202", "`type` is not admissible here", "Reduction", 0, "did you mean `reduction`?"}}}),
    case_name);

INSTANTIATE_TEST_SUITE_P(
    LineKinds, ValidationCaseTest,
    ::testing::Values(
        Case{"species_line_where_none_is_taken",
             "PARAMETERS\n    Cr(VI) 5 mg/L\n",
             {{"OV210", "`PARAMETERS` does not take species lines", "Cr(VI)"}}},
        Case{"delta_line_where_none_is_taken",
             "PROCESS Reduce\n    type reduction\n" + reduction_body + "    delta53Cr 0.5\n",
             {{"OV210", "`PROCESS` does not take delta lines", "delta53Cr"}}},
        Case{"species_line_needs_a_unit",
             "RESERVOIR Ocean\n    Cr(VI) 10\n",
             {{"OV205", "several units measure molality or mass_concentration, so one has to be written",
               "Cr(VI) 10\n"}}},
        Case{"species_line_with_a_unit_of_another_dimension",
             "CONDITIONS\n    Ca+2 2 mol\n",
             {{"OV204", "`mol` measures amount, not molality or mass_concentration", "mol"}}},
        Case{"negative_concentration",
             "RESERVOIR Ocean\n    Cr(VI) -1 umol/kgw\n",
             {{"OV201", "a concentration cannot be negative", "-1"}}},
        Case{"species_line_default_unit",
             "UNITS\n    concentration umol/kgw\n\nRESERVOIR Ocean\n    Cr(VI) 10\n    Cr(III) 0\n",
             {}},
        // A species line in another form is passed over.
        Case{"species_line_assignment",
             "RESERVOIR Ocean\n    Cr(VI) = 2\n",
             {}},
        // Nor is a delta line: no ratio is declared, yet nothing is reported.
        Case{"delta_line_assignment",
             "RESERVOIR Ocean\n    delta53Cr = 0.5\n",
             {}}),
    case_name);

INSTANTIATE_TEST_SUITE_P(
    Parameters, ValidationCaseTest,
    ::testing::Values(
        Case{"values_statement",
             "PARAMETERS\n    k 5\n",
             {{"OV007", "this block takes `name = expression` only", "k 5\n"}}},
        Case{"literal_values",
             "PARAMETERS\n    s = \"text\"\n    r = 53Cr/52Cr\n    d = 2024-01-15\n    x = delta53Cr\n",
             {{"OV202", "a string has no arithmetic value", "\"text\""},
              {"OV202", "a isotope ratio has no arithmetic value", "53Cr/52Cr"},
              {"OV202", "a date has no arithmetic value", "2024-01-15"},
              {"OV202", "a delta symbol has no arithmetic value", "delta53Cr", 0}}},
        Case{"arithmetic_passes",
             "PARAMETERS\n    k = 2\n    j = 2 * k\n    m = -k\n",
             {}},
        // A property written as an assignment gets the same literal check.
        Case{"literal_assigned_to_a_property",
             "RESERVOIR Ocean\n    volume = \"two\" L\n    mass = 2 kg\n",
             {{"OV202", "a string has no arithmetic value", "\"two\""}}},
        // A list is no expression either; a nested key is reported at its whole span.
        Case{"list_statement",
             "PARAMETERS\n    k [1, 2]\n",
             {{"OV007", "this block takes `name = expression` only", "k [1, 2]\n"}}}),
    case_name);

INSTANTIATE_TEST_SUITE_P(
    Keys, ValidationCaseTest,
    ::testing::Values(
        Case{"misspelt_key",
             "RESERVOIR Ocean\n    volum 2 L\n",
             {{"OV210", "`volum` is not a property of `RESERVOIR`", "volum", 0, "did you mean `volume`?"}}},
        // Properties with a two-word form are offered by it.
        Case{"two_word_form_is_offered",
             "FRACTIONATION Reduce\n    isotope 53Cr/52Cr\n    lawfile \"x.law\"\n" + ratio_declared_below,
             {{"OV210", "`lawfile` is not a property of `FRACTIONATION`", "lawfile", 0,
               "did you mean `law file`?"}}},
        Case{"keys_fold_case",
             "RESERVOIR Ocean\n    VOLUME 2 L\n    Temperature 25 C\n",
             {}},
        Case{"parameter_line_in_a_kind_with_local_parameters",
             "RESERVOIR Ocean\n    parameter x = 2\n    parameter y\n\nCONDITIONS\n    parameter k = 1\n",
             {}},
        Case{"parameter_line_elsewhere",
             "MODEL Run\n    progress extent\n    parameter x = 2\n",
             {{"OV210", "`parameter` is not a property of `MODEL`", "parameter", 0,
               "known: processes, progress, reservoirs, step, until"}}},
        // The two-word form reaches `law_file`, whose main value is the path after the word.
        Case{"two_word_form_takes_the_value_after_the_word",
             "FRACTIONATION Reduce\n    isotope 53Cr/52Cr\n    law file 7\n" + ratio_declared_below,
             {{"OV202", "expected path, found number", "7"}}},
        Case{"two_word_form_in_any_case",
             "PHREEQC Speciation\n    Input FILE \"run.pqi\"\n",
             {}},
        // The one-word key of such a property still counts its main value one further on.
        Case{"one_word_key_of_a_two_word_property",
             "FRACTIONATION Reduce\n    isotope 53Cr/52Cr\n    law_file 5\n" + ratio_declared_below,
             {}}),
    case_name);

INSTANTIATE_TEST_SUITE_P(
    Groups, ValidationCaseTest,
    ::testing::Values(
        // The second member of a group is reported, and its value is still checked.
        Case{"alpha_then_epsilon",
             "FRACTIONATION Reduce\n    isotope 53Cr/52Cr\n    alpha 0.9984\n    EPSILON -1.6 kg\n" + ratio_declared_below,
             {{"OV213", "`EPSILON` cannot be combined with the property above", "EPSILON"},
              {"OV204", "`kg` measures mass, not delta", "kg"}}},
        Case{"each_later_member_is_reported",
             "FRACTIONATION Reduce\n    isotope 53Cr/52Cr\n    alpha 0.9984\n    alpha 0.9990\n"
             "    law file \"f.law\"\n" + ratio_declared_below,
             {{"OV213", "`alpha` cannot be combined with the property above", "alpha", 1},
              {"OV213", "`law` cannot be combined with the property above", "law"}}},
        // Repeating a key outside any group is not reported; each statement is checked.
        Case{"repeated_key",
             "RESERVOIR Ocean\n    volume 2 L\n    volume -2 L\n",
             {{"OV201", "`volume` cannot be negative", "-2"}}}),
    case_name);

TEST(ExclusiveGroupTest, PointsBackAtTheFirstMember) {
  std::string model = "ISOTOPES\n    ratio 53Cr/52Cr\n\n"
                      "FRACTIONATION Reduce\n    isotope 53Cr/52Cr\n    alpha 0.9984\n    epsilon -1.6\n"
                      "    law\n        alpha = 1\n";
  diagnostics::Diagnostics found = validation_of(model);
  ASSERT_EQ(found.size(), 2u);
  auto alpha = static_cast<std::uint32_t>(model.find("alpha"));
  for (const diagnostics::Diagnostic& d : found) {
    EXPECT_EQ(d.code, diagnostics::DiagnosticCode::OV213);
    ASSERT_EQ(d.notes.size(), 1u);
    EXPECT_EQ(d.notes[0].message, "already set here");
    EXPECT_EQ(d.notes[0].span, (diagnostics::Span{0, alpha, alpha + 5}));
  }
  EXPECT_EQ(found[0].span.start, model.find("epsilon"));
  EXPECT_EQ(found[1].span.start, model.find("law"));
}

}  // namespace
}  // namespace ovm::sema::testing
