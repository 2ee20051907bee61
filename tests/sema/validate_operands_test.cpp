// Operands without a number, and parameters whose values go round to themselves.
#include <gtest/gtest.h>

#include "validation_support.hpp"

namespace ovm::sema::testing {
namespace {

const std::string sea = "RESERVOIR Sea\n    volume 1 L\n    Cr(VI) 1 mol/kgw\n\n";
const std::string operand_help = "an expression reads numbers, parameters, `time`, `T` and `R`";

INSTANTIATE_TEST_SUITE_P(
    Operands, ValidationCaseTest,
    ::testing::Values(
        Case{"numbers_parameters_and_built_in_names",
             sea + "PARAMETERS\n    k = 2 * R * T + time\n    j = max(k, 1)\n", {}},
        Case{"entity_operand",
             sea + "PARAMETERS\n    k = Sea * 2\n    j = abs(Sea)\n",
             {{"OV107", "`Sea` is a Reservoir, not a number", "Sea", 1, operand_help},
              {"OV107", "`Sea` is a Reservoir, not a number", "Sea", 2, operand_help}}},
        Case{"dotted_operand",
             sea + "RESERVOIR Lake\n    parameter half = Sea.Cr(VI) / 2\n",
             {{"OV107", "an expression cannot read `Sea.Cr(VI)`", "Sea.Cr(VI)", 0,
               operand_help + "; OUTPUT `variable` and MODEL `until` read what a reservoir holds"}}},
        // The block checks refuse a literal that is the whole value; inside it, and in a
        // `parameter` line or a law, these checks do.
        Case{"literal_operands",
             sea + "PARAMETERS\n    k = 2 * \"two\"\n    s = \"whole\"\n\nRESERVOIR Lake\n    parameter d = 2024-01-15\n",
             {{"OV202", "a string has no arithmetic value", "\"whole\""},
              {"OV202", "a string has no arithmetic value", "\"two\""},
              {"OV202", "a date has no arithmetic value", "2024-01-15"}}},
        // The subject of `until` is not an operand; its right side is.
        Case{"condition_sides",
             sea + "MODEL Run\n    until Sea.Cr(VI) < Sea\n",
             {{"OV107", "`Sea` is a Reservoir, not a number", "Sea", 2, operand_help}}}),
    case_name);

INSTANTIATE_TEST_SUITE_P(
    Cycles, ValidationCaseTest,
    ::testing::Values(
        Case{"itself",
             "PARAMETERS\n    e = e\n",
             {{"OV107", "the value of `e` depends on itself", "e", 1, "e -> e: give it a value that does not name itself"}}},
        Case{"through_others",
             "PARAMETERS\n    a = b + 1\n    b = 2 * c\n    c = a\n    d = a\n",
             {{"OV107", "the value of `a` depends on itself", "a", 1,
               "a -> b -> c -> a: give one of them a value that does not lead back"}}},
        // A block's own parameter hides the model-wide one: k = k + 1 names itself.
        Case{"local_names_itself",
             "PARAMETERS\n    k = 1\n\nRESERVOIR Sea\n    parameter k = k + 1\n    parameter j = k\n",
             {{"OV107", "the value of `k` depends on itself", "k", 2,
               "k -> k: give it a value that does not name itself"}}},
        Case{"chains_and_locals_without_a_cycle",
             "PARAMETERS\n    a = b + c\n    b = c\n    c = 1\n\nRESERVOIR Sea\n    parameter a = a_top\n"
             "    parameter a_top = b\n",
             {}},
        // The first definition of a name is the one whose value counts; a later one is passed
        // over, whichever of them would go round.
        Case{"later_definition_closes_nothing",
             "PARAMETERS\n    a = 1\n    b = a\n    a = b\n",
             {}},
        Case{"first_definition_names_itself",
             "PARAMETERS\n    a = a\n    a = 1\n",
             {{"OV107", "the value of `a` depends on itself", "a", 1,
               "a -> a: give it a value that does not name itself"}}},
        // Each block's locals are its own: only Lake's go round.
        Case{"cycle_in_one_of_two_blocks_with_the_same_locals",
             "RESERVOIR Sea\n    parameter k = 1\n    parameter j = k\n    parameter k = j\n\n"
             "RESERVOIR Lake\n    parameter k = j\n    parameter j = k\n",
             {{"OV107", "the value of `k` depends on itself", "k", 5,
               "k -> j -> k: give one of them a value that does not lead back"}}}),
    case_name);

}  // namespace
}  // namespace ovm::sema::testing
