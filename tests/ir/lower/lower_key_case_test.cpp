// Statement keys, two-word labels and inline-law targets are read in any ASCII case, as the
// semantic checks accept them; names, values, units and modifier words stay exact.
#include <gtest/gtest.h>

#include <string>

#include "ir/graph/model_graph.hpp"
#include "lower_test_support.hpp"

namespace ovm::ir {
namespace {

using testing::lower_checked;
using testing::lower_unchecked;

constexpr const char* lower_case_model =
    "UNITS\n    concentration umol/kgw\n\n"
    "CONDITIONS\n    temperature 25 C\n    pH 7\n    Eh 5 mV\n\n"
    "ISOTOPES\n    mode absolute\n    ratio 53Cr/52Cr standard NIST979\n\n"
    "STANDARD\n    standard NIST979 0.113386 ratio 53Cr/52Cr uncertainty 0.000005\n\n"
    "RESERVOIR Aquifer\n    volume 1000 L\n    temperature 15 C\n    Cr(VI) 20\n    Cr(III) 0\n    delta53Cr 0.5\n\n"
    "PROCESS Red\n    type reduction\n    reactant Cr(VI)\n    product Cr(III)\n    extent 0.5\n\n"
    "FRACTIONATION Red\n    isotope 53Cr/52Cr\n    law\n        epsilon = -3.4\n\n"
    "KINETICS Red\n    rate first_order\n    constant 0.05 1/d\n\n"
    "MODEL Run\n    step 1 d\n    until Aquifer.Cr(VI) < 2 umol/kgw\n\n"
    "OUTPUT\n    variable Aquifer.delta53Cr\n    every 1 d\n\n"
    "EXPORT\n    format csv\n    file \"out.csv\"\n";

constexpr const char* mixed_case_model =
    "UNITS\n    Concentration umol/kgw\n\n"
    "CONDITIONS\n    TEMPERATURE 25 C\n    PH 7\n    eh 5 mV\n\n"
    "ISOTOPES\n    Mode absolute\n    Ratio 53Cr/52Cr standard NIST979\n\n"
    "STANDARD\n    Standard NIST979 0.113386 Ratio 53Cr/52Cr uncertainty 0.000005\n\n"
    "RESERVOIR Aquifer\n    Volume 1000 L\n    Temperature 15 C\n    Cr(VI) 20\n    Cr(III) 0\n    delta53Cr 0.5\n\n"
    "PROCESS Red\n    Type reduction\n    REACTANT Cr(VI)\n    Product Cr(III)\n    Extent 0.5\n\n"
    "FRACTIONATION Red\n    Isotope 53Cr/52Cr\n    LAW\n        Epsilon = -3.4\n\n"
    "KINETICS Red\n    Rate first_order\n    Constant 0.05 1/d\n\n"
    "MODEL Run\n    Step 1 d\n    UNTIL Aquifer.Cr(VI) < 2 umol/kgw\n\n"
    "OUTPUT\n    Variable Aquifer.delta53Cr\n    Every 1 d\n\n"
    "EXPORT\n    Format csv\n    FILE \"out.csv\"\n";

TEST(LowerKeyCaseTest, AModelWithKeysInAnyCaseLowersAsInLowerCase) {
  ModelGraph expected = lower_checked(lower_case_model);
  ModelGraph graph = lower_checked(mixed_case_model);
  EXPECT_EQ(graph, expected);
  // And the lower-case model really sets what the comparison covers.
  EXPECT_EQ(graph.reservoirs.at(0).extent, (Extent{Extent::Volume{1000}}));
  EXPECT_EQ(graph.conditions.ph, 7.0);
  EXPECT_EQ(graph.isotopes.at(0).standard, (Standard{"NIST979", 0.113386, 0.000005}));
  EXPECT_EQ(graph.processes.at(0).fractionations.size(), 1u);
  EXPECT_TRUE(graph.processes.at(0).kinetics);
  EXPECT_TRUE(graph.simulation && graph.simulation->stop);
  EXPECT_EQ(graph.exports.size(), 1u);
}

TEST(LowerKeyCaseTest, TwoWordLabelsAndOneWordKeysAreReadInAnyCase) {
  ModelGraph backend = lower_checked("PHREEQC Geo\n    Input FILE \"run.pqi\"\n    EXPORT \"si\" TO SI\n",
                                     sema::Profile::Extended);
  ASSERT_EQ(backend.backends.size(), 1u);
  EXPECT_EQ(backend.backends[0].input_path, "run.pqi");
  EXPECT_EQ(backend.backends[0].exports.size(), 1u);
  EXPECT_EQ(lower_checked("PHREEQC Geo\n    INPUT_FILE \"run.pqi\"\n", sema::Profile::Extended).backends.size(), 1u);

  ModelGraph table = lower_checked(
      "ISOTOPES\n    ratio 53Cr/52Cr\n\nRESERVOIR A\n    volume 1 L\n\n"
      "PROCESS Red\n    type reduction\n    reactant Cr(VI)\n    product Cr(III)\n\n"
      "FRACTIONATION Red\n    isotope 53Cr/52Cr\n    Law File \"cr.csv\"\n");
  EXPECT_EQ(table.processes.at(0).fractionations.at(0).factor,
            (FractionationFactor{FractionationFactor::Table{"cr.csv"}}));
}

// Values, names and units are exact; modifier words fold, as the checks match them.
TEST(LowerKeyCaseTest, ValuesNamesAndUnitsStayExact) {
  ModelGraph graph = lower_unchecked(
      "RESERVOIR Aquifer\n    volume 1000 l\n\n"
      "PROCESS Red\n    type Reduction\n    reactant Cr(VI)\n    product Cr(III)\n\n"
      "MODEL Run\n    progress Extent\n    until time > 1\n\nEXPORT\n    format CSV\n    file \"a\"\n\n"
      "OUTPUT\n    variable aquifer.Cr(VI)\n    variable TIME\n\n"
      "ISOTOPES\n    ratio 53Cr/52Cr Standard S\n\nSTANDARD\n    standard S 0.1 ratio 53Cr/52Cr Uncertainty 0.01\n\n"
      "ISOTOPES\n    ratio 50Cr/52Cr standard S\n");
  EXPECT_FALSE(graph.reservoirs.at(0).extent);
  EXPECT_TRUE(graph.processes.empty());
  EXPECT_EQ(graph.simulation->progress, Progress::Time);
  EXPECT_TRUE(graph.exports.empty());
  EXPECT_TRUE(graph.outputs.empty());
  EXPECT_EQ(graph.isotopes.at(0).standard, (Standard{"S", 0.1, 0.01}));
  EXPECT_EQ(graph.isotopes.at(1).standard, (Standard{"S", 0.1, 0.01}));
}

}  // namespace
}  // namespace ovm::ir
