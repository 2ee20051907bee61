// The values of a statement: kinds, ranges, modifiers, units, lists and scalars used as
// entities.
#include <gtest/gtest.h>

#include <vector>

#include "sema/block_table.hpp"
#include "sema/validate_block.hpp"
#include "syntax/tree.hpp"
#include "validation_support.hpp"

namespace ovm::sema::testing {
namespace {

const std::string language = "    language 0.5\n";
const std::string chromium = "ISOTOPES\n    ratio 53Cr/52Cr standard NIST979\n\n"
                             "STANDARD\n    standard NIST979 0.11339 ratio 53Cr/52Cr\n\n";

INSTANTIATE_TEST_SUITE_P(
    Kinds, ValidationCaseTest,
    ::testing::Values(
        Case{"text_string_date_version",
             "META\n" + language + "    author 5\n    description Hello\n    date 12\n    version \"1\"\n",
             {{"OV202", "expected text, found number", "5", 1},
              {"OV202", "expected string, found identifier", "Hello"},
              {"OV202", "expected date, found number", "12"},
              {"OV202", "expected version, found string", "\"1\""}}},
        Case{"text_accepts_names_species_and_strings",
             "META\n" + language + "    author Curie\n    license \"CC-BY\"\n    reference Cr(VI)\n"
             "    date 2024-01-15\n    version 1.2\n",
             {}},
        Case{"path_identifier_species",
             "DATABASE\n    file chromium\n\nSAMPLE Rock\n    element \"Cr\"\n\nSPECIES\n    species \"Cr\"\n"
             "    species Cr(VI)\n    species H2O\n",
             {{"OV202", "expected path, found identifier", "chromium"},
              {"OV202", "expected identifier, found string", "\"Cr\""},
              {"OV202", "expected species, found string", "\"Cr\"", 1}}},
        // Unlike the other kinds, an EXCHANGE `alpha` is free text: no number, and no range.
        Case{"exchange_alpha_is_text",
             "EXCHANGE Swap\n    phase_a Cr(VI)\n    phase_b CrO4-2\n    isotope 53Cr/52Cr\n    alpha 1.002\n"
             "    alpha \"-1\"\n",
             {{"OV202", "expected text, found number", "1.002"},
              {"OV213", "`alpha` cannot be combined with the property above", "alpha", 1}}},
        // A mismatch ends the statement's checks: no modifier or unit check follows.
        Case{"mismatch_skips_the_rest",
             "RESERVOIR Ocean\n    volume \"2\" extra\n",
             {{"OV202", "expected number, found string", "\"2\""}}},
        Case{"not_a_ratio",
             "FRACTIONATION Reduce\n    isotope Cr53\n",
             {{"OV103", "expected an isotope ratio", "Cr53", 0,
               "ratios are written mass then symbol on both sides, as in `53Cr/52Cr`"}}},
        Case{"ratio_of_two_elements",
             "FRACTIONATION Reduce\n    isotope 53Cr/52Fe\n\nISOTOPES\n    ratio 56Fe/54Cr\n",
             {{"OV104", "`Cr` and `Fe` are different elements", "53Cr/52Fe"},
              {"OV104", "`Fe` and `Cr` are different elements", "56Fe/54Cr"}}},
        // The admissible-values check rejects the value, so the MODEL stop rule reads a
        // progress other than time and does not apply.
        Case{"enum_value_in_the_wrong_case",
             "MODEL Run\n    progress Time\n",
             {{"OV202", "`progress` is not admissible here", "Time", 0, "did you mean `time`?"}}},
        Case{"enum_value_of_another_kind",
             "EXPORT\n    format 5\n    file \"out.csv\"\n",
             {{"OV202", "`format` is not admissible here", "5", 0, "known: csv, isof, json"}}},
        // A name standing for a number read before the run is that number: a parameter
        // without a unit takes the statement's unit rules, one with a unit must measure what
        // the statement does and takes no second one.
        Case{"number_given_by_name",
             "PARAMETERS\n    m_total = 2\n\nRESERVOIR Ocean\n    mass m_total\n    volume -m_total\n",
             {{"OV205", "`m_total` has no unit, and several units measure mass", "m_total", 1,
               "write its unit after the value where `m_total` is set"},
              {"OV202", "expected number, found unreadable value", "-m_total"}}},
        Case{"number_given_by_name_with_units",
             "UNITS\n    mass g\n\nPARAMETERS\n    m_total = 2\n    v = 3 L\n    t = -4 C\n\nRESERVOIR Ocean\n"
             "    mass m_total\n    volume v\n    temperature t\n",
             {}},
        Case{"number_given_by_name_with_a_unit_that_does_not_fit",
             "PARAMETERS\n    v_day = 3 d\n\nRESERVOIR Ocean\n    volume v_day\n",
             {{"OV204", "`v_day` is given in `d`, which measures time, not volume", "v_day", 1,
               "give the parameter a unit of what this statement measures"}}},
        // A value read before the run cannot be computed; one the run evaluates (an extent)
        // may be.
        Case{"number_given_by_name_of_an_expression",
             "PARAMETERS\n    f_mix = 2 * 0.4\n\nRESERVOIR Ocean\n    volume 1 L\n\nPROCESS P\n    type reduction\n"
             "    reactant Cr(VI)\n    product Cr(III)\n    extent f_mix\n\nFRACTIONATION P\n"
             "    isotope 53Cr/52Cr\n    alpha f_mix\n" + ratio_declared_below,
             {{"OV202", "`f_mix` is set to an expression, and a number is needed here", "f_mix", 2,
               "this value is read once before the run: set the parameter to a number, such as `k = 0.05 1/d`"}}},
        Case{"scalar_used_as_an_entity",
             "PARAMETERS\n    k_base = 1\n\nOUTPUT\n    variable k_base.value\n    variable Ocean.Cr(VI)\n",
             {{"OV109", "`k_base` is a scalar and has no properties", "k_base.value"},
              {"OV101", "no Reservoir named `Ocean`", "Ocean", 0, "nothing of that kind is declared"}}},
        // A backend value is a scalar too. Every value is examined, before the main value's
        // kind is: a wrong kind does not hide them.
        Case{"backend_value_used_as_an_entity",
             "PHREEQC Speciation\n    input file \"run.pqi\"\n    export \"SI\" to SI_calcite\n\n"
             "META\n" + language + "    author 5 SI_calcite.mol SI_calcite.log\n",
             {{"OV109", "`SI_calcite` is a scalar and has no properties", "SI_calcite.mol"},
              {"OV109", "`SI_calcite` is a scalar and has no properties", "SI_calcite.log"},
              {"OV202", "expected text, found number", "5", 1}}}),
    case_name);

INSTANTIATE_TEST_SUITE_P(
    Ranges, ValidationCaseTest,
    ::testing::Values(
        Case{"extent_bounds",
             "RAYLEIGH Distil\n    reservoir Ocean\n    isotope 53Cr/52Cr\n    reactant Cr(VI)\n"
             "    product Cr(III)\n    extent 1.5\n    extent -0.1\n    extent 0\n    extent 1\n    extent 1e999\n",
             {{"OV201", "`extent` cannot exceed 1", "1.5"},
              {"OV201", "`extent` cannot be below 0", "-0.1"},
              {"OV201", "`extent` cannot exceed 1", "1e999"}}},
        Case{"fractionation_factor",
             "FRACTIONATION Reduce\n    isotope 53Cr/52Cr\n    alpha 0\n\nFRACTIONATION Oxidise\n"
             "    isotope 53Cr/52Cr\n    alpha -0.2\n\nFRACTIONATION Adsorb\n    isotope 53Cr/52Cr\n"
             "    epsilon -0.2\n" + ratio_declared_below,
             {{"OV201", "a fractionation factor is positive", "0"},
              {"OV201", "a fractionation factor is positive", "-0.2"}}},
        Case{"quantities_of_matter",
             "RESERVOIR Ocean\n    volume -2 L\n    mass -0.5 kg\n    temperature -5 C\n\n"
             "KINETICS Reduce\n    rate monod\n    constant -1 1/s\n    half_saturation -3 umol/kgw\n",
             {{"OV201", "`volume` cannot be negative", "-2"},
              {"OV201", "`mass` cannot be negative", "-0.5"},
              {"OV201", "`constant` cannot be negative", "-1"},
              {"OV201", "`half_saturation` cannot be negative", "-3"}}},
        Case{"signed_quantities",
             "CONDITIONS\n    temperature -5 C\n    pressure -1 bar\n    Eh -200 mV\n    pH -1\n",
             {}}),
    case_name);

INSTANTIATE_TEST_SUITE_P(
    Units, ValidationCaseTest,
    ::testing::Values(
        Case{"omitted_unit",
             "RESERVOIR Ocean\n    volume 2\n",
             {{"OV205", "several units measure volume, so one has to be written", "volume 2\n"}}},
        Case{"default_unit_from_units",
             "RESERVOIR Ocean\n    volume 2\n\nUNITS\n    volume mL\n",
             {}},
        Case{"unit_of_another_dimension",
             "RESERVOIR Ocean\n    volume 2 kg\n",
             {{"OV204", "`kg` measures mass, not volume", "kg"}}},
        Case{"unknown_unit",
             "RESERVOIR Ocean\n    volume 2 litre\n",
             {{"OV008", "`litre` is not a known unit", "litre", 0, "known: L, mL, m^3"}}},
        Case{"unit_expression",
             "MODEL Run\n    step 2 mol/kgw\n    until time > 1 d\n",
             {{"OV204", "`mol/kgw` measures molality, not time", "mol/kgw"}}},
        Case{"single_unit_dimensions_need_none",
             "FRACTIONATION Reduce\n    isotope 53Cr/52Cr\n    alpha 0.998\n    phase 1.5\n" + ratio_declared_below,
             {}},
        Case{"delta_line_units",
             chromium + "RESERVOIR Ocean\n    delta53Cr 0.5\n    delta53Cr 0.5 permil\n    delta53Cr 0.5 mg\n",
             {{"OV204", "`mg` measures mass, not delta", "mg"}}},
        Case{"units_block_names",
             "UNITS\n    temperature X\n    mass kelvin\n    time kg\n    concentration mg/kg\n    concentration mol\n"
             "    delta permil\n",
             {{"OV008", "`X` is not a known unit", "X", 0, "did you mean `K`?"},
              {"OV008", "`kelvin` is not a known unit", "kelvin", 0, "known: g, kg, mg, ug"},
              {"OV204", "`kg` measures mass, not time", "kg"},
              {"OV204", "`mol` measures amount, not molality or mass_concentration", "mol"}}}),
    case_name);

INSTANTIATE_TEST_SUITE_P(
    Modifiers, ValidationCaseTest,
    ::testing::Values(
        Case{"required_modifier_missing",
             "STANDARD\n    standard NIST979 0.11339\n",
             {{"OV211", "`standard` requires the `ratio` modifier", "NIST979"}}},
        Case{"modifier_without_value",
             "ISOTOPES\n    ratio 53Cr/52Cr standard\n",
             {{"OV211", "`standard` needs a value", "standard"}}},
        // A word left without its value ends the walk, but the required modifiers are still
        // looked for.
        Case{"last_word_without_value_then_required",
             "STANDARD\n    standard NIST979 0.11339 uncertainty u uncertainty\n",
             {{"OV211", "`uncertainty` needs a value", "uncertainty", 1},
              {"OV211", "`standard` requires the `ratio` modifier", "NIST979"}}},
        Case{"unknown_modifier_skips_the_requirement",
             "ISOTOPES\n    ratio 53Cr/52Cr std X\n\nSTANDARD\n    standard NIST979 0.1 ratios 53Cr/52Cr\n",
             {{"OV202", "`std` is not a modifier of `ratio`", "std", 0, "known: standard"},
              {"OV202", "`ratios` is not a modifier of `standard`", "ratios", 0, "did you mean `ratio`?"}}},
        Case{"value_in_word_position",
             "ISOTOPES\n    ratio 53Cr/52Cr 7\n\nPROCESS Reduce\n    type reduction\n    reactant Cr(VI)\n"
             "    product Cr(III) 9\n",
             {{"OV202", "`ratio` takes no further value here", "7"},
              {"OV202", "`product` takes no further value here", "9"}}},
        Case{"ratio_modifier_value",
             "STANDARD\n    standard A 0.1 ratio chromium\n    standard B 0.1 ratio 53Cr/52Fe\n",
             {{"OV103", "`ratio` takes an isotope ratio", "chromium"},
              {"OV104", "`Cr` and `Fe` are different elements", "53Cr/52Fe"}}},
        Case{"modifiers_fold_case_in_any_order",
             "STANDARD\n    standard A 0.1 UNCERTAINTY 0.001 Ratio 53Cr/52Cr\n\nPHREEQC Speciation\n"
             "    input file \"run.pqi\"\n    export \"SI\" To SI_calcite\n    export \"pH\"\n",
             {{"OV211", "`export` requires the `to` modifier", "\"pH\""}}}),
    case_name);

INSTANTIATE_TEST_SUITE_P(
    Lists, ValidationCaseTest,
    ::testing::Values(
        Case{"number_list",
             "SAMPLE Rock\n    element Cr\n    series [1, x, \"2\", 3]\n",
             {{"OV202", "expected a number, found identifier", "x"},
              {"OV202", "expected a number, found string", "\"2\""}}},
        Case{"name_list",
             "SAMPLE A\n    element Cr\n\nSAMPLE B\n    element Cr\n\nIDENTIFY Gap\n    source A\n"
             "    product B\n    mode single\n    candidates [reduction, \"mixing\", reductio, 4]\n",
             {{"OV202", "expected a name, found string", "\"mixing\""},
              {"OV202", "`reductio` is not admissible here", "reductio", 1, "did you mean `reduction`?"},
              {"OV202", "expected a name, found number", "4"}}},
        // Names in a list of references are resolution's business; an item that is no name
        // names no reservoir.
        Case{"reference_list",
             "MODEL Run\n    progress extent\n    reservoirs [Ocean, 5, \"x\"]\n",
             {{"OV202", "expected a name, found number", "5"},
              {"OV202", "expected a name, found string", "\"x\""}}}),
    case_name);

// The parser ends a list at the first token that is no value, so only a tree built by hand
// holds an unreadable item. It is reported as such and nothing else; the next item is checked.
TEST(ListCheckTest, AnUnreadableItemIsReportedAndTheNextOneChecked) {
  using diagnostics::Span;
  using syntax::ValueKind;
  const std::vector<syntax::Value> element = {{std::string_view("Cr"), Span{0, 24, 26}, ValueKind::Identifier}};
  const std::vector<syntax::Value> items = {
      {std::string_view("- x"), Span{0, 39, 42}, ValueKind::Unreadable},
      {std::string_view("y"), Span{0, 44, 45}, ValueKind::Identifier},
      {2.0, Span{0, 47, 48}},
  };
  syntax::Arena arena;
  const std::vector<syntax::Statement> statements = {
      {{syntax::StatementKey::Kind::Word, "element"}, syntax::ValuesBody{element, nullptr}, Span{0, 16, 27}, arena},
      {{syntax::StatementKey::Kind::Word, "series"}, syntax::ListBody{items}, Span{0, 31, 50}, arena},
  };
  syntax::Block block{"SAMPLE", syntax::Name{"Rock", Span{0, 7, 11}}, statements, Span{0, 0, 6}};

  ValidationContext context;
  validate_block(context, block, *find_block_spec("SAMPLE"));
  ASSERT_EQ(context.diagnostics.size(), 2u);
  EXPECT_EQ(context.diagnostics[0].code, diagnostics::DiagnosticCode::OV202);
  EXPECT_EQ(context.diagnostics[0].label, "`- x` is not readable as a value");
  EXPECT_EQ(context.diagnostics[0].span, items[0].span);
  EXPECT_EQ(context.diagnostics[1].code, diagnostics::DiagnosticCode::OV202);
  EXPECT_EQ(context.diagnostics[1].label, "expected a number, found identifier");
  EXPECT_EQ(context.diagnostics[1].span, items[1].span);
}

}  // namespace
}  // namespace ovm::sema::testing
