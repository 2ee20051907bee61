// The domain rules: delta compositions against declared ratios and standards, inline laws,
// required and recommended properties, the MODEL stop rule, self transfer and mixing.
#include <gtest/gtest.h>

#include "validation_support.hpp"

namespace ovm::sema::testing {
namespace {

const std::string ratio_with_standard = "ISOTOPES\n    ratio 53Cr/52Cr standard NIST979\n\n";
const std::string nist979 = "STANDARD\n    standard NIST979 0.11339 ratio 53Cr/52Cr\n\n";
const std::string ocean_delta = "RESERVOIR Ocean\n    delta53Cr 0.5\n\n";
const std::string no_standard_help = "a delta is meaningless without the standard it is measured against";

INSTANTIATE_TEST_SUITE_P(
    Deltas, ValidationCaseTest,
    ::testing::Values(
        Case{"resolving_standard", ratio_with_standard + nist979 + ocean_delta, {}},
        // Facts are gathered first: the order of the blocks does not matter.
        Case{"declarations_after_the_reservoir", ocean_delta + nist979 + ratio_with_standard, {}},
        Case{"standard_not_declared",
             ratio_with_standard + ocean_delta,
             {{"OV106", "no reference standard resolves for 53Cr", "delta53Cr", 0, no_standard_help}}},
        Case{"ratio_without_standard",
             "ISOTOPES\n    ratio 53Cr/52Cr\n\n" + nist979 + ocean_delta,
             {{"OV106", "no reference standard resolves for 53Cr", "delta53Cr", 0, no_standard_help}}},
        Case{"database_may_supply_the_standard",
             ratio_with_standard + "DATABASE\n    file \"chromium.ovdb\"\n\n" + ocean_delta, {}},
        Case{"relative_values_need_no_standard",
             "ISOTOPES\n    ratio 53Cr/52Cr\n    mode relative\n\n" + ocean_delta, {}},
        // The mass of the numerator decides; the denominator plays no part.
        Case{"no_ratio_for_the_isotope",
             ratio_with_standard + nist979 + "RESERVOIR Ocean\n    delta52Cr 1.0\n    delta53Cr 0.1\n\n"
             "SAMPLE Rock\n    element Cr\n    delta56Fe 0.2\n",
             {{"OV101", "no ratio for 52Cr is declared", "delta52Cr", 0,
               "declare it in ISOTOPES before giving a composition"},
              {"OV101", "no ratio for 56Fe is declared", "delta56Fe", 0,
               "declare it in ISOTOPES before giving a composition"}}},
        Case{"other_denominator",
             "ISOTOPES\n    ratio 53Cr/50Cr standard NIST979\n\n" + nist979 + ocean_delta, {}},
        // Only the first declaration of a ratio is consulted.
        Case{"first_declaration_decides",
             "ISOTOPES\n    ratio 53Cr/52Cr\n    ratio 53Cr/52Cr standard NIST979\n\n" + nist979 + ocean_delta,
             {{"OV106", "no reference standard resolves for 53Cr", "delta53Cr", 0, no_standard_help}}},
        // Standard names are compared exactly.
        Case{"standard_name_in_another_case",
             "ISOTOPES\n    ratio 53Cr/52Cr standard nist979\n\n" + nist979 + ocean_delta,
             {{"OV106", "no reference standard resolves for 53Cr", "delta53Cr", 0, no_standard_help}}}),
    case_name);

INSTANTIATE_TEST_SUITE_P(
    InlineLaws, ValidationCaseTest,
    ::testing::Values(
        Case{"unknown_target",
             "FRACTIONATION Reduce\n    isotope 53Cr/52Cr\n    law\n        alpha = 1.0 + 0.001 * T\n"
             "        beta = 2\n        Epsilon = 1\n        1000ln_alpha = 1.2\n        alpha 2\n" + ratio_declared_below,
             {{"OV210", "a law assigns alpha, epsilon or 1000ln_alpha", "beta", 0,
               "known: 1000ln_alpha, alpha, epsilon"}}},
        Case{"close_to_a_target",
             "FRACTIONATION Reduce\n    isotope 53Cr/52Cr\n    law\n        epsilom = 2\n" + ratio_declared_below,
             {{"OV210", "a law assigns alpha, epsilon or 1000ln_alpha", "epsilom", 0, "did you mean `epsilon`?"}}}),
    case_name);

INSTANTIATE_TEST_SUITE_P(
    Required, ValidationCaseTest,
    ::testing::Values(
        Case{"process_type_asks_for_its_keys",
             "PROCESS Dissolve\n    type dissolution\n    reactant Cr(VI)\n\nPROCESS Sorb\n    type adsorption\n",
             {{"OV211", "`PROCESS` requires `product`", "Dissolve"},
              {"OV211", "`PROCESS` requires `reactant`", "Sorb"},
              {"OV211", "`PROCESS` requires `sorbent`", "Sorb"}}},
        Case{"rate_law_asks_for_its_keys",
             "KINETICS Reduce\n    rate monod\n    constant 0.1 1/d\n\nKINETICS Oxidise\n    rate first_order\n",
             {{"OV211", "`KINETICS` requires `half_saturation`", "Reduce"},
              {"OV211", "`KINETICS` requires `constant`", "Oxidise"}}},
        // Without a variant the property table's required flags apply.
        Case{"table_keys_without_variant",
             "PROCESS Reduce\n    reactant Cr(VI)\n\nEXPORT\n    file \"out.csv\"\n\nIDENTIFY Gap\n    mode chain\n",
             {{"OV211", "`PROCESS` requires `type`", "Reduce"},
              {"OV211", "`EXPORT` requires `format`", "EXPORT"},
              {"OV211", "`IDENTIFY` requires `source`", "Gap"},
              {"OV211", "`IDENTIFY` requires `product`", "Gap"}}},
        // A key found through case folding counts as present.
        Case{"folded_key_is_present",
             "DATABASE\n    FILE \"chromium.ovdb\"\n\nSPECIES\n    Species Cr(VI)\n",
             {}},
        Case{"recommended_language",
             "META\n    author Curie\n",
             {{"OV212", "`language` is recommended for reproducibility", "META"}}}),
    case_name);

INSTANTIATE_TEST_SUITE_P(
    ModelStop, ValidationCaseTest,
    ::testing::Values(
        Case{"time_needs_until",
             "MODEL Run\n    step 1 d\n",
             {{"OV211", "`MODEL` requires `until` when progress is time", "Run", 0,
               "or declare `progress extent` to apply the processes in order"}}},
        Case{"explicit_time_needs_until",
             "MODEL Run\n    progress time\n",
             {{"OV211", "`MODEL` requires `until` when progress is time", "Run", 0,
               "or declare `progress extent` to apply the processes in order"}}},
        Case{"extent_needs_none", "MODEL Run\n    PROGRESS extent\n", {}},
        Case{"until_in_any_form", "MODEL Run\n    step 1 d\n    Until 5\n", {}},
        Case{"first_progress_decides", "MODEL Run\n    progress extent\n    progress time\n", {}},
        // A progress in another form counts as time.
        Case{"progress_of_another_form",
             "MODEL Run\n    progress = extent\n",
             {{"OV211", "`MODEL` requires `until` when progress is time", "Run", 0,
               "or declare `progress extent` to apply the processes in order"}}}),
    case_name);

INSTANTIATE_TEST_SUITE_P(
    SelfTransfer, ValidationCaseTest,
    ::testing::Values(
        Case{"product_is_the_reactant",
             "PROCESS Cycle\n    type oxidation\n    reactant Fe+3\n    product Fe+3\n",
             {{"OV214", "a process whose product is its own reactant transfers nothing", "Fe+3", 1}}},
        Case{"names_compare_exactly",
             "PROCESS Cycle\n    type oxidation\n    reactant Fe+3\n    product Fe+2\n\nPROCESS Names\n"
             "    type evaporation\n    reactant water\n    product Water\n",
             {}},
        // The first statement of each key counts; without a process type nothing is compared.
        Case{"first_statements_and_variant",
             "PROCESS Cycle\n    type oxidation\n    reactant Fe+3\n    product Fe+2\n    product Fe+3\n\n"
             "PROCESS Unknown\n    type cycling\n    reactant Fe+3\n    product Fe+3\n",
             {{"OV202", "`cycling` is not an admissible type", "cycling", 0,
               "known: adsorption, diffusion, dissolution, evaporation, exchange, ligand_exchange, mixing, "
               "oxidation, precipitation, reduction, uptake"},
              {"OV202", "`type` is not admissible here", "cycling"}}},
        // Values that name no substance give an empty text, which never matches; they are
        // refused as endpoints instead.
        Case{"endpoints_that_name_nothing",
             "PROCESS Cycle\n    type oxidation\n    reactant \"Fe\"\n    product \"Fe\"\n",
             {{"OV202", "expected species, found string", "\"Fe\"", 0},
              {"OV202", "expected species, found string", "\"Fe\"", 1}}}),
    case_name);

const std::string mixing = "PROCESS Blend\n    type mixing\n    product Estuary\n";

INSTANTIATE_TEST_SUITE_P(
    Mixing, ValidationCaseTest,
    ::testing::Values(
        Case{"one_source",
             mixing + "    source River 0.4\n",
             {{"OV211", "mixing needs at least 2 sources, found 1", "Blend"},
              {"OV215", "source fractions sum to 0.4, not 1", "source River 0.4\n"}}},
        Case{"no_source",
             mixing,
             {{"OV211", "`PROCESS` requires `source`", "Blend"},
              {"OV211", "mixing needs at least 2 sources, found 0", "Blend"}}},
        Case{"halves", mixing + "    source River 0.5\n    source Sea 0.5\n", {}},
        Case{"short_of_one",
             mixing + "    source River 0.3\n    source Sea 0.3\n",
             {{"OV215", "source fractions sum to 0.6, not 1", "source Sea 0.3\n"}}},
        // Rounding of the sum stays far below the tolerance.
        Case{"three_fractions", mixing + "    source A 0.1\n    source B 0.2\n    source C 0.7\n", {}},
        Case{"within_tolerance", mixing + "    source A 0.5\n    source B 0.5000005\n", {}},
        // The sum is printed as the float it is: the shortest text that reads back to it.
        Case{"beyond_tolerance",
             mixing + "    source A 0.5\n    source B 0.500002\n",
             {{"OV215", "source fractions sum to 1.0000019999999998, not 1", "source B 0.500002\n"}}},
        // A source without a plain number leaves the sum untested.
        Case{"fraction_by_name",
             "PARAMETERS\n    f = 0.3\n\n" + mixing + "    source River f\n    source Sea 0.3\n", {}},
        Case{"fraction_missing", mixing + "    source River\n    source Sea 0.3\n", {}},
        // Each fraction is a share between 0 and 1, whatever the sum.
        Case{"fractions_out_of_range",
             mixing + "    source River 1.5\n    source Sea -0.5\n",
             {{"OV201", "`source` cannot exceed 1", "1.5"},
              {"OV201", "`source` cannot be below 0", "-0.5"}}},
        // Every `source` statement counts as a source, whatever its body, and the sum then
        // goes untested.
        Case{"source_of_another_form",
             mixing + "    source = 1\n",
             {{"OV211", "mixing needs at least 2 sources, found 1", "Blend"}}},
        // The sum starts from negative zero, so zeros written as -0 sum to -0.
        Case{"negative_zero_fractions",
             mixing + "    source A -0\n    source B -0\n",
             {{"OV215", "source fractions sum to -0, not 1", "source B -0\n"}}},
        Case{"infinite_fraction",
             mixing + "    source A 1e999\n    source B 0\n",
             {{"OV201", "`source` cannot exceed 1", "1e999"},
              {"OV215", "source fractions sum to inf, not 1", "source B 0\n"}}},
        // Infinities of both signs sum to NaN, which is not reported.
        Case{"fractions_summing_to_nan",
             mixing + "    source A 1e999\n    source B -1e999\n",
             {{"OV201", "`source` cannot exceed 1", "1e999"},
              {"OV201", "`source` cannot be below 0", "-1e999"}}},
        Case{"source_key_in_any_case",
             mixing + "    Source River 0.5\n    SOURCE Sea 0.25\n",
             {{"OV215", "source fractions sum to 0.75, not 1", "SOURCE Sea 0.25\n"}}}),
    case_name);

}  // namespace
}  // namespace ovm::sema::testing
