// Parameters, species, isotope systems, reservoirs and samples.
#include <gtest/gtest.h>

#include <variant>

#include "ir/graph/model_graph.hpp"
#include "ir/lower/lower_context.hpp"
#include "lower_test_support.hpp"

namespace ovm::ir {
namespace {

using testing::lower_checked;
using testing::lower_unchecked;

constexpr const char* chromium = "ISOTOPES\n    ratio 53Cr/52Cr standard NIST979\n\n"
                                 "STANDARD\n    standard NIST979 0.113386 ratio 53Cr/52Cr\n\n";

// Every name is declared before any value is lowered; the ids stay in statement order.
TEST(LowerParametersTest, AnExpressionSeesParametersWrittenBelowIt) {
  ModelGraph forward = lower_checked("PARAMETERS\n    a = b * 2\n    b = 3\n");
  ASSERT_EQ(forward.parameters.size(), 2u);
  EXPECT_EQ(forward.parameters[0],
            (Parameter{ParameterId{0}, "a", std::nullopt,
                       binary_expr(BinaryOp::Multiply, parameter_expr(ParameterId{1}), constant_expr(2))}));
  EXPECT_EQ(forward.parameters[1], (Parameter{ParameterId{1}, "b", std::nullopt, constant_expr(3)}));

  ModelGraph backward = lower_checked("PARAMETERS\n    b = 3\n    a = b * 2\n");
  EXPECT_EQ(backward.parameters.at(1),
            (Parameter{ParameterId{1}, "a", std::nullopt,
                       binary_expr(BinaryOp::Multiply, parameter_expr(ParameterId{0}), constant_expr(2))}));
}

// A block's own parameter is seen from the parameter lines above it, before the model-wide
// one of the same name.
TEST(LowerParametersTest, LaterLocalsAreSeenBeforeModelWideOnes) {
  ModelGraph graph = lower_checked(
      "PARAMETERS\n    a = b * 2\n    b = 1\n    y = 5\n\n"
      "RESERVOIR Sea\n    volume 1 L\n    parameter x = y + a\n    parameter y = 2\n");
  ASSERT_EQ(graph.parameters.size(), 5u);
  EXPECT_EQ(graph.parameters[0].value,
            binary_expr(BinaryOp::Multiply, parameter_expr(ParameterId{1}), constant_expr(2)));
  EXPECT_EQ(graph.parameters[3],
            (Parameter{ParameterId{3}, "x", "Sea",
                       binary_expr(BinaryOp::Add, parameter_expr(ParameterId{4}), parameter_expr(ParameterId{0}))}));
  EXPECT_EQ(graph.parameters[4], (Parameter{ParameterId{4}, "y", "Sea", constant_expr(2)}));
  EXPECT_EQ(graph.reservoirs.at(0).parameters, (std::vector<ParameterId>{{3}, {4}}));
}

TEST(LowerParametersTest, OnlyAConstantTakesItsWrittenUnit) {
  ModelGraph graph = lower_checked("PARAMETERS\n    j = 1\n    k = 5 1/d\n    m = 2 * j 1/d\n    t = 25 C\n");
  EXPECT_EQ(graph.parameters.at(1).value, constant_expr(5 * (1.0 / 86400.0)));
  EXPECT_EQ(graph.parameters.at(2).value,
            binary_expr(BinaryOp::Multiply, constant_expr(2), parameter_expr(ParameterId{0})));
  EXPECT_EQ(graph.parameters.at(3).value, constant_expr(298.15));
}

TEST(LowerParametersTest, ANegatedConstantTakesItsWrittenUnitToo) {
  ModelGraph graph = lower_checked("PARAMETERS\n    k = -5 1/d\n    T0 = -10 C\n    n = -5\n");
  EXPECT_EQ(graph.parameters.at(0).value, constant_expr(-5 * (1.0 / 86400.0)));
  EXPECT_EQ(graph.parameters.at(1).value, constant_expr(263.15));
  // Without a unit nothing converts it, and it stays as written.
  EXPECT_EQ(graph.parameters.at(2).value, unary_expr(UnaryOp::Negate, constant_expr(5)));
}

TEST(LowerParametersTest, ANumberWrittenAsAConstantParameterNameIsThatNumber) {
  ModelGraph graph = lower_checked(std::string(chromium) +
                                   "UNITS\n    temperature C\n\nPARAMETERS\n    T_plain = 10\n    T_kelvin = 280 K\n"
                                   "    d0 = -1.5\n    eps = -3.4 permil\n\n"
                                   "CONDITIONS\n    temperature T_plain\n\nRESERVOIR A\n    volume 1 L\n    temperature T_kelvin\n"
                                   "    Cr(VI) 1 umol/kgw\n    Cr(III) 0 umol/kgw\n    delta53Cr d0\n\n"
                                   "PROCESS P\n    type reduction\n    reactant Cr(VI)\n    product Cr(III)\n\n"
                                   "FRACTIONATION P\n    isotope 53Cr/52Cr\n    epsilon eps\n");
  // A plain number takes the statement's unit default; one written with a unit is that quantity.
  EXPECT_EQ(graph.conditions.temperature_k, 283.15);
  EXPECT_EQ(graph.reservoirs.at(0).temperature_k, 280.0);
  EXPECT_EQ(graph.reservoirs.at(0).pools.at(0).compositions,
            (std::vector<Composition>{{0, (-1.5 / 1000 + 1) * 0.113386}}));
  EXPECT_EQ(graph.processes.at(0).fractionations.at(0).factor,
            (FractionationFactor{FractionationFactor::Constant{-3.4 / 1000 + 1}}));
}

TEST(LowerParametersTest, ASecondDeclarationAppendsAndHidesTheFirst) {
  ModelGraph graph = lower_unchecked("PARAMETERS\n    k = 1\n\nPARAMETERS\n    k = 2\n    x = k\n");
  ASSERT_EQ(graph.parameters.size(), 3u);
  EXPECT_EQ(graph.parameters[1].name, "k");
  EXPECT_EQ(graph.parameters[2].value, parameter_expr(ParameterId{1}));
}

// Each assignment's value goes to the parameter its own statement declared, past statements
// of other forms and across blocks.
TEST(LowerParametersTest, EachValueGoesToTheParameterItsStatementDeclared) {
  ModelGraph graph = lower_unchecked("PARAMETERS\n    a = 1\n    note 5\n    b = 2\n\nPARAMETERS\n    c = 3\n    a = 4\n");
  ASSERT_EQ(graph.parameters.size(), 4u);
  std::vector<std::pair<std::string, Expr>> expected = {
      {"a", constant_expr(1)}, {"b", constant_expr(2)}, {"c", constant_expr(3)}, {"a", constant_expr(4)}};
  for (std::size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(graph.parameters[i].name, expected[i].first) << i;
    EXPECT_EQ(graph.parameters[i].value, expected[i].second) << i;
  }
}

TEST(LowerSpeciesTest, EachFormulaOnceWithTheElementItStartsWith) {
  ModelGraph graph = lower_unchecked(
      "SPECIES\n    species Cr(VI)\n    species H2O\n    species Cr(VI)\n    species \"2Cr\"\n    species Fe(OH)3\n");
  std::vector<Species> expected = {
      {0, "Cr(VI)", "Cr"}, {1, "H2O", "H"}, {2, "2Cr", std::nullopt}, {3, "Fe(OH)3", "Fe"}};
  EXPECT_EQ(graph.species, expected);
}

TEST(LowerIsotopesTest, EachBlockDecidesItsModeAndRelativeBlocksFallBackToTheUnitStandard) {
  ModelGraph graph = lower_unchecked(
      "STANDARD\n    standard NIST979 0.113386 ratio 53Cr/52Cr\n\n"
      "ISOTOPES\n    mode relative\n    ratio 53Cr/52Cr standard NIST979\n    ratio 50Cr/52Cr standard SRM\n"
      "    ratio 54Cr/52Cr standard\n\n"
      "ISOTOPES\n    mode absolute\n    ratio 56Fe/54Fe\n    ratio 57Fe/54Fe standard\n");
  Standard relative{"relative", 1.0, std::nullopt};
  std::vector<IsotopeSystem> expected = {
      {0, "53Cr/52Cr", "Cr", 53, 52, Standard{"NIST979", 0.113386, std::nullopt}, true},
      {1, "50Cr/52Cr", "Cr", 50, 52, relative, true},
      {2, "54Cr/52Cr", "Cr", 54, 52, relative, true},
      {3, "56Fe/54Fe", "Fe", 56, 54, std::nullopt, false},
      {4, "57Fe/54Fe", "Fe", 57, 54, std::nullopt, false},
  };
  EXPECT_EQ(graph.isotopes, expected);
}

TEST(LowerIsotopesTest, ARatioOfTwoElementsIsSkipped) {
  ModelGraph graph = lower_unchecked("ISOTOPES\n    ratio 53Cr/54Fe\n    ratio 53Cr/52Cr\n");
  ASSERT_EQ(graph.isotopes.size(), 1u);
  EXPECT_EQ(graph.isotopes[0].id, 0u);
  EXPECT_EQ(graph.isotopes[0].notation, "53Cr/52Cr");
}

TEST(LowerReservoirTest, APoolWithoutUnitTakesTheConcentrationDefault) {
  ModelGraph with_default = lower_checked("UNITS\n    concentration umol/kgw\n\nRESERVOIR A\n    Cr(VI) 0.5\n");
  EXPECT_EQ(with_default.reservoirs.at(0).pools,
            (std::vector<Pool>{{0, Amount{Amount::Molality{0.5 * 1e-6}}, {}, {}}}));

  ModelGraph without = lower_unchecked("RESERVOIR A\n    Cr(VI) 0.5\n    Cr(III) 2 g\n");
  EXPECT_TRUE(without.reservoirs.at(0).pools.empty());
  EXPECT_EQ(without.species, (std::vector<Species>{{0, "Cr(VI)", "Cr"}, {1, "Cr(III)", "Cr"}}));
}

TEST(LowerReservoirTest, ADeltaLineAppliesToEveryPoolOfItsElement) {
  ModelGraph graph = lower_checked(std::string(chromium) +
                                   "RESERVOIR A\n    delta53Cr -3.2\n    Cr(VI) 1 umol/kgw\n    Fe(III) 2 mg/L\n"
                                   "    Cr(III) 3 umol/kgw\n");
  const Reservoir& reservoir = graph.reservoirs.at(0);
  Composition composition{0, (-3.2 / 1000 + 1) * 0.113386};
  std::vector<Pool> expected = {
      {0, Amount{Amount::Molality{1 * 1e-6}}, {composition}, {}},
      {1, Amount{Amount::MassConcentration{2}}, {}, {}},
      {2, Amount{Amount::Molality{3 * 1e-6}}, {composition}, {}},
  };
  EXPECT_EQ(reservoir.pools, expected);
}

TEST(LowerReservoirTest, DeltaLinesWithoutAStandardAreKeptAsDeltasAndWithoutASystemDropped) {
  ModelGraph graph = lower_unchecked(
      "ISOTOPES\n    ratio 53Cr/52Cr\n    ratio 53Cr/52Cr standard S\n\nSTANDARD\n    standard S 0.1 ratio 53Cr/52Cr\n\n"
      "RESERVOIR A\n    Cr(VI) 1 umol/kgw\n    delta53Cr -2.5\n    delta56Fe 1\n");
  // The first system of the element and mass has no standard: a database may give it one at
  // run time, so the delta is kept as written. Later systems are not tried.
  const Pool& pool = graph.reservoirs.at(0).pools.at(0);
  EXPECT_TRUE(pool.compositions.empty());
  EXPECT_EQ(pool.deltas, (std::vector<PoolDelta>{{0, -2.5}}));

  ModelGraph zero = lower_checked(std::string(chromium) + "RESERVOIR A\n    Cr(VI) 1 umol/kgw\n    delta53Cr 0\n");
  EXPECT_EQ(zero.reservoirs.at(0).pools.at(0).compositions, (std::vector<Composition>{{0, 0.113386}}));
  EXPECT_TRUE(zero.reservoirs.at(0).pools.at(0).deltas.empty());
}

TEST(LowerReservoirTest, ADeltaLineReachesEveryPoolWhoseFormulaHoldsTheElement) {
  ModelGraph graph = lower_checked(
      "ISOTOPES\n    ratio 13C/12C standard VPDB\n\nSTANDARD\n    standard VPDB 0.0111802 ratio 13C/12C\n\n"
      "RESERVOIR Lake\n    HCO3- 2 mmol/kgw\n    CaCO3(s) 1 mmol/kgw\n    Ca+2 1 mmol/kgw\n    CO2(aq) 1 mmol/kgw\n"
      "    Cr(VI) 1 mmol/kgw\n    delta13C -8\n");
  std::vector<bool> carbon;
  for (const Pool& pool : graph.reservoirs.at(0).pools) carbon.push_back(!pool.compositions.empty());
  EXPECT_EQ(carbon, (std::vector<bool>{true, true, false, true, false}));
  // The species record keeps the element its formula starts with.
  EXPECT_EQ(graph.species.at(1).element, "Ca");
}

TEST(FormulaElementsTest, ElementSymbolsOfAFormula) {
  struct Case {
    std::string_view formula;
    std::string_view element;
    bool holds;
  };
  for (const Case& c : std::vector<Case>{
           {"HCO3-", "C", true},     {"CaCO3(s)", "C", true}, {"H2O(l)", "O", true}, {"FeS2", "S", true},
           {"Ca", "C", false},       {"Cr(VI)", "C", false},  {"Cr(VI)", "Cr", true}, {"Cr(VI)", "V", false},
           {"Cr(III)", "I", false},  {"Fe(OH)3", "O", true},  {"CO2(g)", "C", true},  {"e-", "e", false},
           {"NaCl", "Cl", true},     {"NaCl", "C", false},
       }) {
    EXPECT_EQ(formula_has_element(c.formula, c.element), c.holds) << c.formula << " " << c.element;
  }
}

TEST(LowerReservoirTest, MassAndVolumeSetOneExtentAndTheLastDecides) {
  ModelGraph mass = lower_unchecked("RESERVOIR A\n    volume 2 L\n    mass 3 kg\n");
  EXPECT_EQ(mass.reservoirs.at(0).extent, (Extent{Extent::Mass{3}}));
  ModelGraph cleared = lower_unchecked("RESERVOIR A\n    mass 3 kg\n    volume L\n");
  EXPECT_FALSE(cleared.reservoirs.at(0).extent);
  ModelGraph volume = lower_checked("RESERVOIR A\n    volume 300 m^3\n    temperature 25 C\n");
  EXPECT_EQ(volume.reservoirs.at(0).extent, (Extent{Extent::Volume{300 * 1000.0}}));
  EXPECT_EQ(volume.reservoirs.at(0).temperature_k, 298.15);
}

TEST(LowerReservoirTest, LocalParametersAreOwnedByTheReservoir) {
  ModelGraph graph = lower_unchecked("PARAMETERS\n    k = 1\n\nRESERVOIR Sea\n    parameter k = 2 1/h\n    parameter j = k\n\n"
                                   "RESERVOIR\n    volume 1 L\n");
  ASSERT_EQ(graph.reservoirs.size(), 1u);  // the block without a name is left out
  EXPECT_EQ(graph.reservoirs[0].parameters, (std::vector<ParameterId>{{1}, {2}}));
  EXPECT_EQ(graph.parameters.at(1), (Parameter{ParameterId{1}, "k", "Sea", constant_expr(2 * (1.0 / 3600.0))}));
  EXPECT_EQ(graph.parameters.at(2).value, parameter_expr(ParameterId{1}));
}

TEST(LowerSampleTest, ReadsCompositionsAndDescriptions) {
  ModelGraph graph = lower_checked(std::string(chromium) +
                                       "SAMPLE Well\n    element Cr\n    material groundwater\n    note \"n\"\n"
                                       "    delta53Cr 2.4\n    uncertainty 0.05\n    series [0.6, 1.1]\n",
                                   sema::Profile::Identification);
  Sample expected{0, "Well", "Cr", {{0, (2.4 / 1000 + 1) * 0.113386}}, {0.6, 1.1}, 0.05, "groundwater", "n"};
  EXPECT_EQ(graph.samples, (std::vector<Sample>{expected}));
}

TEST(LowerSampleTest, AnElementWithoutValueIsEmptyAndSeriesNeedsAList) {
  ModelGraph graph = lower_unchecked("SAMPLE S\n    element\n    series 0.6 1.1\n\nSAMPLE\n    element Cr\n",
                                     sema::Profile::Identification);
  ASSERT_EQ(graph.samples.size(), 1u);
  EXPECT_EQ(graph.samples[0].element, "");
  EXPECT_TRUE(graph.samples[0].series.empty());
  EXPECT_FALSE(graph.samples[0].uncertainty_permil);
}

}  // namespace
}  // namespace ovm::ir
