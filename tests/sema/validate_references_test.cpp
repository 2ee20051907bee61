// References lowering resolves by name: dotted references after their reservoir, OUTPUT
// variables, entity references of every value kind, process endpoints of the wrong kind.
#include <gtest/gtest.h>

#include "validation_support.hpp"

namespace ovm::sema::testing {
namespace {

// A reservoir holding Cr(VI), a SPECIES block naming Fe+2, a process whose endpoints name
// Cr(III), and one declared ratio.
const std::string aquifer =
    "ISOTOPES\n    ratio 53Cr/52Cr standard NIST979\n\nSTANDARD\n    standard NIST979 0.11339 ratio 53Cr/52Cr\n\n"
    "SPECIES\n    species Fe+2\n\nRESERVOIR Aquifer\n    Cr(VI) 1 mol/kgw\n\n"
    "PROCESS Reduce\n    type reduction\n    reactant Cr(VI)\n    product Cr(III)\n\n"
    "PARAMETERS\n    k = 1\n\n";
const std::string variable_help =
    "`variable` records `time`, a parameter, or what a reservoir holds written after a dot, as in `Sea.delta53Cr`";

std::string outputs(std::initializer_list<const char*> variables) {
  std::string text = aquifer + "OUTPUT\n";
  for (const char* variable : variables) text += std::string("    variable ") + variable + "\n";
  return text;
}

INSTANTIATE_TEST_SUITE_P(
    Dotted, ValidationCaseTest,
    ::testing::Values(
        // Every species lowering creates counts, wherever it is written, and every form.
        Case{"every_form_resolves",
             outputs({"time", "k", "Aquifer.Cr(VI)", "Aquifer.Fe+2", "Aquifer.Cr(III).remaining",
                      "Aquifer.Cr(VI).reacted", "Aquifer.delta53Cr", "Aquifer.Cr(VI).delta53Cr"}),
             {}},
        Case{"species_typo",
             outputs({"Aquifer.Cr(IV)"}),
             {{"OV107", "`Cr(IV)` is not a property of `Aquifer`", "Cr(IV)", 0, "did you mean `Cr(VI)`?"}}},
        Case{"delta_of_an_undeclared_ratio",
             outputs({"Aquifer.delta52Cr", "Aquifer.Cr(VI).delta54Fe"}),
             {{"OV107", "no ratio for 52Cr is declared", "delta52Cr", 0, "did you mean `delta53Cr`?"},
              {"OV107", "no ratio for 54Fe is declared", "delta54Fe", 0, "known: delta53Cr"}}},
        Case{"suffix_typo",
             outputs({"Aquifer.Cr(VI).remainig"}),
             {{"OV107", "`remainig` is not a property of `Aquifer.Cr(VI)`", "remainig", 0, "did you mean `remaining`?"}}},
        Case{"part_after_the_end",
             outputs({"Aquifer.delta53Cr.remaining", "Aquifer.Cr(VI).reacted.delta53Cr"}),
             {{"OV107", "`remaining` is not a property of `Aquifer.delta53Cr`", "remaining", 0,
               "a reference ends at `delta53Cr`"},
              {"OV107", "`delta53Cr` is not a property of `Aquifer.Cr(VI).reacted`", "delta53Cr", 1,
               "a reference ends at `reacted`"}}},
        // The head must be a reservoir; a scalar head is OV109's, reported by the value checks.
        Case{"head_names_no_reservoir",
             outputs({"Aquifr.Cr(VI)", "Reduce.Cr(VI)"}),
             {{"OV101", "no Reservoir named `Aquifr`", "Aquifr", 0, "did you mean `Aquifer`?"},
              {"OV101", "`Reduce` is a Process, not a Reservoir", "Reduce", 1}}},
        // The subject of `until` is a dotted reference too.
        Case{"until_subject",
             aquifer + "MODEL Run\n    until Aquifer.Cr(V) < 0.5\n",
             {{"OV107", "`Cr(V)` is not a property of `Aquifer`", "Cr(V)", 0, "did you mean `Cr(VI)`?"}}}),
    case_name);

INSTANTIATE_TEST_SUITE_P(
    Variables, ValidationCaseTest,
    ::testing::Values(
        Case{"entity_or_built_in",
             outputs({"Aquifer", "T"}),
             {{"OV101", "`Aquifer` is a Reservoir, not a parameter", "Aquifer", 1, variable_help},
              {"OV101", "no parameter named `T`", "T", 7, variable_help}}},
        Case{"value_that_is_no_name",
             outputs({"Cr(VI)", "\"k\""}),
             {{"OV202", "expected a name or a reference, found chemical species", "Cr(VI)", 2, variable_help},
              {"OV202", "expected a name or a reference, found string", "\"k\"", 0, variable_help}}}),
    case_name);

INSTANTIATE_TEST_SUITE_P(
    EntityReferences, ValidationCaseTest,
    ::testing::Values(
        // Resolution accepts a built-in name anywhere; it names no reservoir unless one is so called.
        Case{"built_in_names",
             "RESERVOIR Sea\n    volume 1 L\n\nRESERVOIR T\n    volume 1 L\n\n"
             "PROCESS Move\n    type diffusion\n    reactant Cr(VI)\n    product Cr(III)\n    from time\n    into T\n",
             {{"OV101", "no Reservoir named `time`", "time", 0, "known: Sea, T"}}},
        Case{"species_and_other_values",
             "RESERVOIR Sea\n    volume 1 L\n\nPROCESS Move\n    type diffusion\n    reactant Cr(VI)\n"
             "    product Cr(III)\n    from Cr(VI)\n    into Sea.Cr(VI)\n    location 4\n",
             {{"OV101", "no Reservoir named `Cr(VI)`", "Cr(VI)", 1, "known: Sea"},
              {"OV101", "no Reservoir named `Sea.Cr(VI)`", "Sea.Cr(VI)", 0, "known: Sea"},
              {"OV202", "expected a name, found number", "4"}}},
        Case{"model_lists",
             "RESERVOIR Sea\n    volume 1 L\n    Cr(VI) 1 mol/kgw\n\nMODEL Run\n    progress extent\n"
             "    reservoirs [Sea, Cr(VI)]\n    processes Sea\n",
             {{"OV101", "no Reservoir named `Cr(VI)`", "Cr(VI)", 1, "known: Sea"},
              {"OV202", "`processes` takes a list of names in brackets", "processes", 0,
               "write `processes [A, B]`"}}}),
    case_name);

const std::string two_reservoirs =
    "RESERVOIR Sea\n    volume 1 L\n\nRESERVOIR River\n    volume 1 L\n\nPARAMETERS\n    k = 1\n\n";

INSTANTIATE_TEST_SUITE_P(
    Endpoints, ValidationCaseTest,
    ::testing::Values(
        // Resolution reports an identifier reactant; the product it accepts as any name.
        Case{"transfer_product_is_no_species",
             two_reservoirs + "PROCESS Move\n    type reduction\n    reactant Cr(VI)\n    product Sea\n\n"
                              "PROCESS Other\n    type oxidation\n    reactant R\n    product k\n",
             {{"OV101", "`Sea` is a Reservoir, not a Species", "Sea", 1},
              {"OV101", "no Species named `R`", "R", 11, "nothing of that kind is declared"},
              {"OV101", "`k` is a parameter, not a Species", "k", 1}}},
        Case{"other_types_read_their_own_endpoints",
             "PROCESS Sorb\n    type uptake\n    reactant Cr(VI)\n    sorbent 5\n\n"
             "PROCESS Swap\n    type exchange\n    phase_a Cr(VI)\n    phase_b \"Cr(III)\"\n",
             {{"OV202", "expected species, found number", "5"},
              {"OV202", "expected species, found string", "\"Cr(III)\""}}},
        Case{"mixing_product_is_no_reservoir",
             two_reservoirs + "PROCESS Blend\n    type mixing\n    source Sea 0.5\n    source River 0.5\n"
                              "    product Cr(VI)\n\nPROCESS Again\n    type mixing\n    source Sea 0.5\n"
                              "    source River 0.5\n    product k\n",
             {{"OV101", "no Reservoir named `Cr(VI)`", "Cr(VI)", 0, "known: River, Sea"},
              {"OV101", "`k` is a parameter, not a Reservoir", "k", 1}}},
        Case{"mixing_product_is_a_reservoir",
             two_reservoirs + "PROCESS Blend\n    type mixing\n    source Sea 0.5\n    source River 0.5\n"
                              "    product Sea\n",
             {}}),
    case_name);

}  // namespace
}  // namespace ovm::sema::testing
