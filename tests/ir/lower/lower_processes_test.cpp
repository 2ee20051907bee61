// Processes and the fractionations and kinetics attached to them.
#include <gtest/gtest.h>

#include <string>
#include <variant>

#include "ir/graph/model_graph.hpp"
#include "lower_test_support.hpp"

namespace ovm::ir {
namespace {

using testing::lower_checked;
using testing::lower_unchecked;

constexpr const char* aquifer =
    "ISOTOPES\n    ratio 53Cr/52Cr standard NIST979\n    ratio 50Cr/52Cr standard NIST979\n\n"
    "STANDARD\n    standard NIST979 0.113386 ratio 53Cr/52Cr\n\n"
    "RESERVOIR Aquifer\n    volume 1 L\n    Cr(VI) 1 umol/kgw\n    Cr(III) 0 umol/kgw\n\n";

std::string reduction(std::string_view extra = "") {
  return std::string(aquifer) + "PROCESS Red\n    type reduction\n    reactant Cr(VI)\n    product Cr(III)\n" +
         std::string(extra) + "\n";
}

TEST(LowerProcessTest, ATransferNamesItsSpeciesAndItsReservoirs) {
  ModelGraph graph = lower_checked(reduction("    from Aquifer\n    into Aquifer\n    context natural\n"
                                             "    regime kinetic\n    parameter f = 0.25\n    extent f\n"));
  ASSERT_EQ(graph.processes.size(), 1u);
  Process expected;
  expected.name = "Red";
  expected.kind.kind = ProcessKind::Transfer{0, 1, Mechanism::Reduction};
  expected.location = 0;  // the model's only reservoir
  expected.from = 0;
  expected.into = 0;
  expected.extent = parameter_expr(ParameterId{0});
  expected.context = Context::Natural;
  expected.regime = Regime::Kinetic;
  expected.parameters = {ParameterId{0}};
  EXPECT_EQ(graph.processes[0], expected);
  EXPECT_EQ(graph.parameters.at(0), (Parameter{ParameterId{0}, "f", "Red", constant_expr(0.25)}));
}

// The block's own f is declared before its statements are read, so the extent line above it
// reads it and not the model-wide f.
TEST(LowerProcessTest, AnExtentReadsTheBlocksParameterWrittenBelowIt) {
  ModelGraph graph = lower_checked("PARAMETERS\n    f = 0.9\n\n" + reduction("    extent f\n    parameter f = 0.25\n"));
  ASSERT_EQ(graph.processes.size(), 1u);
  EXPECT_EQ(graph.processes[0].extent, parameter_expr(ParameterId{1}));
  EXPECT_EQ(graph.processes[0].parameters, (std::vector<ParameterId>{{1}}));
  EXPECT_EQ(graph.parameters.at(1), (Parameter{ParameterId{1}, "f", "Red", constant_expr(0.25)}));
}

TEST(LowerProcessTest, WithTwoReservoirsNoLocationIsAssumed) {
  ModelGraph graph = lower_checked(reduction() + "RESERVOIR Lake\n    volume 1 L\n");
  EXPECT_FALSE(graph.processes.at(0).location);
}

TEST(LowerProcessTest, AnExtentNumberIsTakenAsWritten) {
  EXPECT_EQ(lower_checked(reduction("    extent 0.4\n")).processes.at(0).extent, constant_expr(0.4));
  EXPECT_EQ(lower_unchecked(reduction("    extent 0.4 permil\n")).processes.at(0).extent, constant_expr(0.4));
}

TEST(LowerProcessTest, MixingKeepsItsUsableSourcesInStatementOrder) {
  ModelGraph graph = lower_unchecked(
      "RESERVOIR A\n    volume 1 L\n\nRESERVOIR B\n    volume 1 L\n\nRESERVOIR M\n    volume 2 L\n\n"
      "PROCESS Mix\n    type mixing\n    source A 0.3\n    source A\n    source Nowhere 0.1\n    source B 0.7\n"
      "    product M\n");
  ASSERT_EQ(graph.processes.size(), 1u);
  ProcessKind expected{ProcessKind::Mixing{{{0, 0.3}, {1, 0.7}}, 2}};
  EXPECT_EQ(graph.processes[0].kind, expected);
}

TEST(LowerProcessTest, AKindThatCannotBeBuiltLeavesNoProcessButKeepsWhatWasCreated) {
  ModelGraph no_product = lower_unchecked(
      "RESERVOIR A\n    volume 1 L\n\nPROCESS Mix\n    type mixing\n    source A 1\n    product Nowhere\n");
  EXPECT_TRUE(no_product.processes.empty());

  // The reactant is read before the missing product is noticed; the local parameter stays.
  ModelGraph half = lower_unchecked("PROCESS P\n    type adsorption\n    reactant Cr(VI)\n    parameter k = 1\n");
  EXPECT_TRUE(half.processes.empty());
  EXPECT_EQ(half.species, (std::vector<Species>{{0, "Cr(VI)", "Cr"}}));
  EXPECT_EQ(half.parameters, (std::vector<Parameter>{{ParameterId{0}, "k", "P", constant_expr(1)}}));

  ModelGraph unknown_type = lower_unchecked("PROCESS P\n    type melting\n    reactant Cr(VI)\n    product Cr(III)\n");
  EXPECT_TRUE(unknown_type.processes.empty());
  EXPECT_EQ(unknown_type.species.size(), 2u);
  EXPECT_TRUE(lower_unchecked("PROCESS\n    type reduction\n    reactant A\n    product B\n").processes.empty());
}

struct KindCase {
  const char* name;
  const char* statements;
  ProcessKind kind;
};

class LowerProcessKindTest : public ::testing::TestWithParam<KindCase> {};

// Endpoints become species in the order the kind names them, not the order written.
TEST_P(LowerProcessKindTest, EachTypeReadsItsOwnEndpoints) {
  ModelGraph graph = lower_unchecked(std::string("PROCESS P\n") + GetParam().statements);
  ASSERT_EQ(graph.processes.size(), 1u);
  EXPECT_EQ(graph.processes[0].kind, GetParam().kind);
}

INSTANTIATE_TEST_SUITE_P(
    Types, LowerProcessKindTest,
    ::testing::Values(
        KindCase{"Uptake", "    type uptake\n    sorbent Biomass\n    reactant Cr(VI)\n",
                 ProcessKind{ProcessKind::Uptake{0, 1}}},
        KindCase{"Adsorption", "    type adsorption\n    reactant Cr(VI)\n    sorbent FeOOH\n",
                 ProcessKind{ProcessKind::Adsorption{0, 1}}},
        KindCase{"Exchange", "    type exchange\n    phase_b Cr(III)\n    phase_a Cr(VI)\n",
                 ProcessKind{ProcessKind::Exchange{0, 1}}},
        KindCase{"LigandExchange", "    type ligand_exchange\n    reactant Cr(VI)\n    product Cr(III)\n",
                 ProcessKind{ProcessKind::Transfer{0, 1, Mechanism::LigandExchange}}},
        KindCase{"Evaporation", "    type evaporation\n    reactant H2O\n    product Vapour\n",
                 ProcessKind{ProcessKind::Transfer{0, 1, Mechanism::Evaporation}}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(LowerFractionationTest, EpsilonAlphaAndLawSetOneFactorAndTheLastWins) {
  ModelGraph graph = lower_checked(reduction() + "FRACTIONATION Red\n    isotope 53Cr/52Cr\n    epsilon -1.5\n"
                                                 "    phase 0.2\n");
  const std::vector<Fractionation>& list = graph.processes.at(0).fractionations;
  EXPECT_EQ(list, (std::vector<Fractionation>{
                      {0, FractionationFactor{FractionationFactor::Constant{-1.5 / 1000 + 1}}, 0.2}}));
  EXPECT_EQ(std::get<FractionationFactor::Constant>(list.at(0).factor.kind).alpha, 0.9985);

  ModelGraph replaced = lower_unchecked(reduction() + "FRACTIONATION Red\n    isotope 53Cr/52Cr\n    epsilon -1.5\n"
                                                      "    alpha 1.001\n");
  EXPECT_EQ(replaced.processes.at(0).fractionations.at(0).factor,
            (FractionationFactor{FractionationFactor::Constant{1.001}}));
}

TEST(LowerFractionationTest, ALawIsAnExpressionOrATablePath) {
  ModelGraph table = lower_checked(reduction() + "FRACTIONATION Red\n    isotope 53Cr/52Cr\n    law file \"cr.csv\"\n");
  EXPECT_EQ(table.processes.at(0).fractionations.at(0).factor,
            (FractionationFactor{FractionationFactor::Table{"cr.csv"}}));

  ModelGraph inline_law = lower_checked(reduction() + "FRACTIONATION Red\n    isotope 53Cr/52Cr\n    law\n"
                                                      "        alpha = 1.0 + 0.001 * T\n");
  Expr alpha = binary_expr(BinaryOp::Add, constant_expr(1.0),
                           binary_expr(BinaryOp::Multiply, constant_expr(0.001), Expr(Expr::Temperature{})));
  EXPECT_EQ(inline_law.processes.at(0).fractionations.at(0).factor,
            (FractionationFactor{FractionationFactor::Law{alpha}}));
}

TEST(LowerFractionationTest, OneFractionationPerIsotopeSystemInBlockOrder) {
  ModelGraph graph = lower_checked(reduction() +
                                   "FRACTIONATION Red\n    isotope 53Cr/52Cr\n    alpha 0.998\n\n"
                                   "FRACTIONATION Red\n    isotope 50Cr/52Cr\n    alpha 0.999\n\n"
                                   "FRACTIONATION Red\n    isotope 53Cr/52Cr\n    alpha 0.997\n");
  std::vector<Fractionation> expected = {
      {0, FractionationFactor{FractionationFactor::Constant{0.997}}, std::nullopt},
      {1, FractionationFactor{FractionationFactor::Constant{0.999}}, std::nullopt},
  };
  EXPECT_EQ(graph.processes.at(0).fractionations, expected);
}

TEST(LowerFractionationTest, WithoutIsotopeFactorOrProcessNothingChanges) {
  ModelGraph graph = lower_unchecked(reduction() + "FRACTIONATION Red\n    isotope 54Fe/56Fe\n    alpha 0.99\n\n"
                                                   "FRACTIONATION Red\n    isotope 53Cr/52Cr\n    alpha\n\n"
                                                   "FRACTIONATION Other\n    isotope 53Cr/52Cr\n    alpha 0.99\n");
  EXPECT_TRUE(graph.processes.at(0).fractionations.empty());
}

TEST(LowerKineticsTest, TheRateConstantNeedsAUnitOrAParameter) {
  EXPECT_FALSE(lower_unchecked(reduction() + "KINETICS Red\n    rate first_order\n    constant 0.01\n")
                   .processes.at(0)
                   .kinetics);
  ModelGraph graph = lower_checked(reduction() + "KINETICS Red\n    rate first_order\n    constant 0.01 1/h\n");
  EXPECT_EQ(graph.processes.at(0).kinetics,
            (Kinetics{RateLaw{RateLaw::FirstOrder{constant_expr(0.01 * (1.0 / 3600.0))}}}));
  ModelGraph local = lower_checked(reduction("    parameter k = 2\n") +
                                   "KINETICS Red\n    rate zero_order\n    constant k\n");
  EXPECT_EQ(local.processes.at(0).kinetics, (Kinetics{RateLaw{RateLaw::ZeroOrder{parameter_expr(ParameterId{0})}}}));
}

TEST(LowerKineticsTest, MonodNeedsItsHalfSaturation) {
  EXPECT_FALSE(lower_unchecked(reduction() + "KINETICS Red\n    rate monod\n    constant 1 1/s\n")
                   .processes.at(0)
                   .kinetics);
  ModelGraph graph = lower_checked(reduction() + "KINETICS Red\n    rate monod\n    constant 1 1/s\n"
                                                 "    half_saturation 5 umol/kgw\n");
  EXPECT_EQ(graph.processes.at(0).kinetics,
            (Kinetics{RateLaw{RateLaw::Monod{constant_expr(1), constant_expr(5 * 1e-6)}}}));
  ModelGraph second = lower_checked(reduction() + "KINETICS Red\n    rate second_order\n    constant 1 1/s\n\n"
                                                  "KINETICS Red\n    rate first_order\n    constant 2 1/s\n");
  EXPECT_EQ(second.processes.at(0).kinetics, (Kinetics{RateLaw{RateLaw::FirstOrder{constant_expr(2)}}}));
}

}  // namespace
}  // namespace ovm::ir
