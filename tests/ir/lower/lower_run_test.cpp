// The run set-up: the simulation and its stop condition, identifications, outputs and exports.
#include <gtest/gtest.h>

#include <string>

#include "ir/graph/model_graph.hpp"
#include "lower_test_support.hpp"

namespace ovm::ir {
namespace {

using testing::lower_checked;
using testing::lower_unchecked;

constexpr const char* sea =
    "ISOTOPES\n    ratio 53Cr/52Cr standard NIST979\n\nSTANDARD\n    standard NIST979 0.113386 ratio 53Cr/52Cr\n\n"
    "PARAMETERS\n    k = 1\n\n"
    "RESERVOIR Sea\n    volume 1 L\n    Cr(VI) 1 umol/kgw\n    Cr(III) 0 umol/kgw\n    parameter j = 2\n\n"
    "RESERVOIR Lake\n    volume 1 L\n\n"
    "PROCESS Red\n    type reduction\n    location Sea\n    reactant Cr(VI)\n    product Cr(III)\n\n"
    "PROCESS Ox\n    type oxidation\n    location Sea\n    reactant Cr(III)\n    product Cr(VI)\n\n";

ModelGraph with_sea(std::string_view blocks, bool checked = true) {
  std::string text = std::string(sea) + std::string(blocks);
  return checked ? lower_checked(text) : lower_unchecked(text);
}

TEST(LowerModelBlockTest, TheStopValueTakesTheUnitWrittenAfterIt) {
  ModelGraph days = with_sea("MODEL Run\n    step 1 h\n    until time > 10 d\n");
  ASSERT_TRUE(days.simulation);
  Simulation expected{"Run", {0, 1}, {0, 1}, 3600.0, Progress::Time,
                      StopCondition{Subject{Subject::Time{}}, Comparison::Greater, 864000.0}};
  EXPECT_EQ(*days.simulation, expected);
  EXPECT_EQ(with_sea("MODEL Run\n    until time > 10\n").simulation->stop->value, 10.0);
  EXPECT_EQ(with_sea("MODEL Run\n    until Sea.Cr(VI) <= 2 umol/kgw\n").simulation->stop,
            (StopCondition{Subject{Subject::Amount{0, 0}}, Comparison::LessEqual, 2 * 1e-6}));
}

TEST(LowerModelBlockTest, AStopValueWithoutUnitTakesTheDefaultOfItsSubject) {
  // Time takes the UNITS time unit, an amount the default of its pool's dimension, a delta
  // its one unit; a negated number is the negative number.
  EXPECT_EQ(with_sea("UNITS\n    time d\n\nMODEL Run\n    until time >= 60\n").simulation->stop->value, 5184000.0);
  EXPECT_EQ(with_sea("UNITS\n    concentration umol/kgw\n\nMODEL Run\n    until Sea.Cr(VI) < 0.5\n").simulation->stop->value,
            0.5 * 1e-6);
  EXPECT_EQ(with_sea("UNITS\n    time d\n\nMODEL Run\n    until Sea.delta53Cr < -9\n").simulation->stop,
            (StopCondition{Subject{Subject::Composition{0, 0}}, Comparison::Less, -9.0}));
  EXPECT_EQ(with_sea("MODEL Run\n    until time > -(-2) h\n").simulation->stop->value, 7200.0);
}

TEST(LowerModelBlockTest, OnlyATimeDrivenModelWithAStopIsStored) {
  ModelGraph extent = with_sea("MODEL Run\n    progress extent\n    progress time\n");
  ASSERT_TRUE(extent.simulation);
  EXPECT_EQ(extent.simulation->progress, Progress::Extent);
  EXPECT_FALSE(extent.simulation->stop);
  EXPECT_FALSE(with_sea("MODEL Run\n    step 1 d\n", false).simulation);
}

TEST(LowerModelBlockTest, AnUntilThatCannotBeUsedClearsTheEarlierOne) {
  EXPECT_FALSE(with_sea("MODEL Run\n    until time > 5\n    until Nowhere.Cr(VI) < 1\n", false).simulation);
  // The right side is a product, not a constant.
  EXPECT_FALSE(with_sea("MODEL Run\n    until Sea.Cr(VI) < 2 * k\n", false).simulation);
}

TEST(LowerModelBlockTest, ListsKeepKnownNamesInOrderAndEmptyListsMeanEverything) {
  ModelGraph graph =
      with_sea("MODEL Run\n    processes [Ox, Unknown, Red]\n    reservoirs [Lake]\n    until time > 1\n", false);
  EXPECT_EQ(graph.simulation->processes, (std::vector<ProcessId>{1, 0}));
  EXPECT_EQ(graph.simulation->reservoirs, (std::vector<ReservoirId>{1}));
  ModelGraph unknown = with_sea("MODEL Run\n    processes [Unknown]\n    until time > 1\n", false);
  EXPECT_EQ(unknown.simulation->processes, (std::vector<ProcessId>{0, 1}));
}

struct OutputCase {
  const char* name;
  const char* variable;
  Variable expected;
};

class LowerOutputTest : public ::testing::TestWithParam<OutputCase> {};

TEST_P(LowerOutputTest, AVariableIsLabelledAsWritten) {
  ModelGraph graph = with_sea(std::string("OUTPUT\n    variable ") + GetParam().variable + "\n");
  EXPECT_EQ(graph.outputs, (std::vector<Output>{{GetParam().expected, GetParam().variable}}));
}

INSTANTIATE_TEST_SUITE_P(
    Variables, LowerOutputTest,
    ::testing::Values(OutputCase{"Time", "time", Variable{Variable::Time{}}},
                      OutputCase{"Amount", "Sea.Cr(III)", Variable{Variable::Amount{0, 1}}},
                      OutputCase{"Composition", "Sea.delta53Cr", Variable{Variable::Composition{0, 0}}},
                      OutputCase{"PoolComposition", "Sea.Cr(VI).delta53Cr", Variable{Variable::PoolComposition{0, 0, 0}}},
                      OutputCase{"Remaining", "Lake.Cr(VI).remaining", Variable{Variable::FractionRemaining{1, 0}}},
                      OutputCase{"Reacted", "Sea.Cr(VI).reacted", Variable{Variable::FractionReacted{0, 0}}},
                      OutputCase{"Parameter", "k", Variable{Variable::Parameter{ParameterId{0}}}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(LowerOutputTest, ReferencesThatDoNotResolveAreSkipped) {
  ModelGraph graph = with_sea(
      "OUTPUT\n    variable j\n    variable Sea.delta56Fe\n    variable Sea.Cr(VI).delta53Cr.x\n    variable Sea.Cr(VI).gone\n"
      "    variable time\n    every 2 h\n\nOUTPUT\n    every 1 min\n",
      false);
  EXPECT_EQ(graph.outputs, (std::vector<Output>{{Variable{Variable::Time{}}, "time"}}));
  EXPECT_EQ(graph.sampling_seconds, 60.0);
}

constexpr const char* samples = "SAMPLE A\n    element Cr\n\nSAMPLE B\n    element Cr\n\n";

TEST(LowerIdentifyTest, ReadsTheSearchAndConvertsCounts) {
  ModelGraph graph = lower_checked(std::string(samples) +
                                       "IDENTIFY Plume\n    source A\n    product B\n    mode chain\n"
                                       "    candidates [reduction, mixing]\n    context natural\n    regime kinetic\n"
                                       "    max_chain 2\n    tolerance 0.1\n    top 3\n    extent 0.5\n",
                                   sema::Profile::Identification);
  Identification expected{"Plume", 0, 1, IdentificationMode::Chain, {"reduction", "mixing"}, "natural", "kinetic",
                          2,       0.1, 3, 0.5};
  EXPECT_EQ(graph.identifications, (std::vector<Identification>{expected}));
}

TEST(LowerIdentifyTest, CandidateTextsWriteNumbersInTheDebugFormAndJoinQualifiedNames) {
  ModelGraph graph = lower_unchecked(std::string(samples) + "IDENTIFY I\n    source A\n    product B\n    mode single\n"
                                         "    candidates [2, 0.5, 0.00001, 1e16, 273.15, a.b.c, \"s t\"]\n",
                                     sema::Profile::Identification);
  EXPECT_EQ(graph.identifications.at(0).candidates,
            (std::vector<std::string>{"2.0", "0.5", "1e-5", "1e16", "273.15", "a.b.c", "s t"}));
}

TEST(LowerIdentifyTest, CountsDropTheFractionAndStayInRange) {
  auto top = [](const char* value) {
    ModelGraph graph = lower_unchecked(std::string(samples) + "IDENTIFY I\n    source A\n    product B\n    mode single\n"
                                           "    top " + value + "\n",
                                       sema::Profile::Identification);
    return graph.identifications.at(0).top;
  };
  EXPECT_EQ(top("-3"), 0u);
  EXPECT_EQ(top("2.7"), 2u);
  EXPECT_EQ(top("1e12"), 4294967295u);
}

TEST(LowerIdentifyTest, WithoutSourceProductOrModeNothingIsAdded) {
  for (const char* body : {"    source A\n    product B\n", "    source A\n    product C\n    mode single\n",
                           "    product B\n    mode single\n", "    source A\n    product B\n    mode Single\n"}) {
    ModelGraph graph = lower_unchecked(std::string(samples) + "IDENTIFY I\n" + body, sema::Profile::Identification);
    EXPECT_TRUE(graph.identifications.empty()) << body;
  }
}

TEST(LowerExportTest, EachCompleteBlockIsOneExportInSourceOrder) {
  ModelGraph graph = lower_unchecked(
      "EXPORT\n    format json\n    file \"a.json\"\n\nEXPORT\n    format xml\n    file \"b.xml\"\n\n"
      "EXPORT\n    file \"c.csv\"\n    format csv\n\nEXPORT\n    format isof\n");
  std::vector<Export> expected = {{ExportFormat::Json, "a.json"}, {ExportFormat::Csv, "c.csv"}};
  EXPECT_EQ(graph.exports, expected);
}

}  // namespace
}  // namespace ovm::ir
