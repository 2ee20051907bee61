// The checks accept statement keys in any ASCII case, but lowering reads a key only in its
// exact lower-case spelling (UNITS alone finds its keys through the schema); names, values,
// units and modifier words stay exact too.
#include <gtest/gtest.h>

#include <string>

#include "ir/model_graph.hpp"
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

TEST(LowerKeyCaseTest, TheLowerCaseModelSetsEveryField) {
  ModelGraph graph = lower_checked(lower_case_model);
  EXPECT_EQ(graph.reservoirs.at(0).extent, (Extent{Extent::Volume{1000}}));
  EXPECT_EQ(graph.conditions.ph, 7.0);
  EXPECT_TRUE(graph.conditions.temperature_k && graph.conditions.eh_mv);
  EXPECT_EQ(graph.isotopes.at(0).standard, (Standard{"NIST979", 0.113386, 0.000005}));
  EXPECT_EQ(graph.processes.at(0).fractionations.size(), 1u);
  EXPECT_TRUE(graph.processes.at(0).kinetics);
  EXPECT_TRUE(graph.simulation && graph.simulation->stop);
  EXPECT_EQ(graph.outputs.size(), 1u);
  EXPECT_TRUE(graph.sampling_seconds);
  EXPECT_EQ(graph.exports.size(), 1u);
}

TEST(LowerKeyCaseTest, KeysInAnotherCaseAreNotLoweredExceptInUnits) {
  ModelGraph graph = lower_checked(mixed_case_model);
  // UNITS finds `Concentration` through the schema, so the pool still gets its default unit.
  EXPECT_EQ(graph.reservoirs.at(0).pools.at(0).amount, (Amount{Amount::Molality{20 * 1e-6}}));
  // STANDARD and the ratio statements of ISOTOPES are read whatever their key.
  EXPECT_EQ(graph.isotopes.at(0).standard, (Standard{"NIST979", 0.113386, 0.000005}));
  EXPECT_FALSE(graph.conditions.temperature_k);
  EXPECT_FALSE(graph.conditions.ph);
  EXPECT_FALSE(graph.conditions.eh_mv);
  EXPECT_FALSE(graph.reservoirs.at(0).extent);
  EXPECT_FALSE(graph.reservoirs.at(0).temperature_k);
  EXPECT_TRUE(graph.processes.empty());
  EXPECT_FALSE(graph.simulation);
  EXPECT_TRUE(graph.outputs.empty());
  EXPECT_FALSE(graph.sampling_seconds);
  EXPECT_TRUE(graph.exports.empty());
}

TEST(LowerKeyCaseTest, TwoWordLabelsAndOneWordKeysAreReadOnlyInLowerCase) {
  struct Case {
    const char* statement;
    bool backend;
  };
  for (const Case& c : {Case{"input file \"run.pqi\"", true}, Case{"input_file \"run.pqi\"", true},
                        Case{"Input FILE \"run.pqi\"", false}, Case{"INPUT_FILE \"run.pqi\"", false}}) {
    std::string model = std::string("PHREEQC Geo\n    ") + c.statement + "\n";
    EXPECT_EQ(lower_checked(model, sema::Profile::Extended).backends.size(), c.backend ? 1u : 0u) << c.statement;
  }
  ModelGraph exports = lower_checked("PHREEQC Geo\n    input file \"run.pqi\"\n    EXPORT \"si\" to SI\n",
                                     sema::Profile::Extended);
  EXPECT_TRUE(exports.backends.at(0).exports.empty());
  EXPECT_TRUE(exports.parameters.empty());

  const std::string process =
      "ISOTOPES\n    ratio 53Cr/52Cr\n\nRESERVOIR A\n    volume 1 L\n\n"
      "PROCESS Red\n    type reduction\n    reactant Cr(VI)\n    product Cr(III)\n\n"
      "FRACTIONATION Red\n    isotope 53Cr/52Cr\n";
  EXPECT_EQ(lower_checked(process + "    law file \"cr.csv\"\n").processes.at(0).fractionations.at(0).factor,
            (FractionationFactor{FractionationFactor::Table{"cr.csv"}}));
  EXPECT_TRUE(lower_checked(process + "    Law File \"cr.csv\"\n").processes.at(0).fractionations.empty());
  EXPECT_TRUE(lower_checked(process + "    ALPHA 1.01\n").processes.at(0).fractionations.empty());
}

TEST(LowerKeyCaseTest, AnInlineLawTargetInAnotherCaseIsNeitherAlphaNorEpsilon) {
  const std::string process =
      "ISOTOPES\n    ratio 53Cr/52Cr\n\nRESERVOIR A\n    volume 1 L\n\n"
      "PROCESS Red\n    type reduction\n    reactant Cr(VI)\n    product Cr(III)\n\n"
      "FRACTIONATION Red\n    isotope 53Cr/52Cr\n    law\n";
  auto exp_of = [](double x) {
    return FractionationFactor{FractionationFactor::Law{
        call_expr(Function::Exp, {binary_expr(BinaryOp::Divide, constant_expr(x), constant_expr(1000.0))})}};
  };
  EXPECT_EQ(lower_checked(process + "        Epsilon = 3.4\n").processes.at(0).fractionations.at(0).factor, exp_of(3.4));
  EXPECT_EQ(lower_checked(process + "        ALPHA = 1.01\n").processes.at(0).fractionations.at(0).factor, exp_of(1.01));
}

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
  EXPECT_FALSE(graph.isotopes.at(0).standard);
  EXPECT_EQ(graph.isotopes.at(1).standard, (Standard{"S", 0.1, std::nullopt}));
}

}  // namespace
}  // namespace ovm::ir
