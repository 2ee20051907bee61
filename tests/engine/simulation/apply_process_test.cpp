#include "engine/simulation/apply_process.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "process_test_support.hpp"
#include "state_test_support.hpp"

namespace ovm::engine {
namespace {

using testing::add_isotope;
using testing::add_reservoir;
using testing::add_species;
using testing::add_transfer;
using testing::failure;
using testing::pool;

constexpr double nan = std::numeric_limits<double>::quiet_NaN();

// "water" (reservoir 0) holds 2 of Cr(VI) (species 0) at delta 0 of 53Cr/52Cr (isotope 0);
// "sediment" (reservoir 1) holds nothing. Process 0, `reduce`, turns Cr(VI) into Cr(III)
// (species 1) in the water with a constant alpha of 0.99.
SimulationState chromium_state() {
  SimulationState state;
  add_species(state, "Cr(VI)");
  add_species(state, "Cr(III)");
  add_isotope(state, "53Cr/52Cr");
  add_reservoir(state, "water");
  add_reservoir(state, "sediment");
  state.reservoirs[0].pools[0] = PoolState{2, {{0, 0}}};
  ir::Process& reduce = add_transfer(state, "reduce", 0, 1, 0);
  reduce.fractionations.push_back(ir::Fractionation{0, {ir::FractionationFactor::Constant{0.99}}, std::nullopt});
  return state;
}

std::optional<EngineError> apply(SimulationState& state, double fraction, std::size_t process = 0) {
  const ir::Process& chosen = state.model.processes[process];
  auto* transfer = std::get_if<ir::ProcessKind::Transfer>(&chosen.kind.kind);
  return apply_process(state, chosen, transfer->reactant, transfer->product, fraction);
}

TEST(ApplyProcessTest, RayleighHalfOfAPool) {
  SimulationState state = chromium_state();
  ASSERT_FALSE(apply(state, 0.5));
  double d_rem = (0.0 + 1000) * std::pow(0.5, 0.99 - 1) - 1000;
  EXPECT_EQ(pool(state, 0, 0), (PoolState{2 - 0.5 * 2, {{0, d_rem}}}));
  EXPECT_EQ(pool(state, 0, 1), (PoolState{0 + 0.5 * 2, {{0, (0 - 0.5 * d_rem) / (1 - 0.5)}}}));
  EXPECT_NEAR(d_rem, 6.96, 0.01);
  EXPECT_TRUE(state.factor_notes.empty());
}

TEST(ApplyProcessTest, OnlyEquilibriumSelectsTheClosedForm) {
  double rayleigh = (0.0 + 1000) * std::pow(0.5, 0.99 - 1) - 1000;
  double closed = (0.0 + 1000) / (0.99 * 0.5 + 0.5) - 1000;
  struct Case {
    std::optional<ir::Regime> regime;
    bool open_system;
    double d_rem;
  };
  for (const Case& test : {Case{std::nullopt, false, rayleigh}, Case{ir::Regime::Kinetic, false, rayleigh},
                           Case{ir::Regime::Equilibrium, false, closed}, Case{ir::Regime::Equilibrium, true, rayleigh}}) {
    SimulationState state = chromium_state();
    state.model.processes[0].regime = test.regime;
    state.model.processes[0].open_system = test.open_system;
    ASSERT_FALSE(apply(state, 0.5));
    EXPECT_EQ(pool(state, 0, 0).deltas.at(0), test.d_rem);
    EXPECT_EQ(pool(state, 0, 1).deltas.at(0), -test.d_rem);
  }
}

TEST(ApplyProcessTest, WholeAndEmptyFractions) {
  SimulationState whole = chromium_state();
  ASSERT_FALSE(apply(whole, 1));
  double d_rem = (0.0 + 1000) * std::pow(1e-12, 0.99 - 1) - 1000;
  EXPECT_EQ(pool(whole, 0, 0), (PoolState{0, {{0, d_rem}}}));
  EXPECT_EQ(pool(whole, 0, 1), (PoolState{2, {{0, (0 - 1e-12 * d_rem) / (1 - 1e-12)}}}));

  // Nothing moves, yet the product pool is created and takes the product's delta.
  SimulationState none = chromium_state();
  ASSERT_FALSE(apply(none, 0));
  double f = 0.999999999999;
  double kept = (0.0 + 1000) * std::pow(f, 0.99 - 1) - 1000;
  EXPECT_EQ(pool(none, 0, 0), (PoolState{2, {{0, kept}}}));
  EXPECT_EQ(pool(none, 0, 1), (PoolState{0, {{0, (0 - f * kept) / (1 - f)}}}));
}

TEST(ApplyProcessTest, ProductMixesByAmountWithWhatThePoolHolds) {
  // Alpha 1 and a start of 9 give a product delta of exactly 9: (9 - 0.5 * 9) / 0.5.
  auto with_product = [](PoolState product) {
    SimulationState state = chromium_state();
    state.model.processes[0].fractionations[0].factor.kind = ir::FractionationFactor::Constant{1};
    state.reservoirs[0].pools[0].deltas[0] = 9;
    state.reservoirs[0].pools[1] = std::move(product);
    EXPECT_FALSE(apply(state, 0.5));
    return pool(state, 0, 1);
  };
  EXPECT_EQ(with_product(PoolState{3, {{0, 5}}}), (PoolState{4, {{0, 6}}}));
  EXPECT_EQ(with_product(PoolState{0, {{0, 5}}}), (PoolState{1, {{0, 9}}}));
  EXPECT_EQ(with_product(PoolState{-1, {{0, 5}}}), (PoolState{0, {{0, 9}}}));
  EXPECT_EQ(with_product(PoolState{3, {{7, 5}}}), (PoolState{4, {{0, 9}, {7, 5}}}));
}

TEST(ApplyProcessTest, EndpointsChooseTheReservoirs) {
  SimulationState into = chromium_state();
  into.model.processes[0].into = 1;
  ASSERT_FALSE(apply(into, 0.25));
  EXPECT_EQ(pool(into, 0, 0).amount, 2 - 0.25 * 2);
  EXPECT_EQ(pool(into, 1, 1).amount, 0.5);
  EXPECT_FALSE(into.reservoirs[0].pools.contains(1));

  // `location` stands in for `from`; `from` wins over it.
  SimulationState located = chromium_state();
  located.model.processes[0].from.reset();
  located.model.processes[0].location = 0;
  ASSERT_FALSE(apply(located, 0.25));
  EXPECT_EQ(pool(located, 0, 1).amount, 0.5);
  located.model.processes[0].from = 1;  // the sediment holds no Cr(VI): nothing happens
  ASSERT_FALSE(apply(located, 0.25));
  EXPECT_EQ(pool(located, 0, 1).amount, 0.5);

  // A pool turned into its own species: the product's old amount is what remains.
  SimulationState itself = chromium_state();
  itself.model.processes[0].kind.kind = ir::ProcessKind::Transfer{0, 0, ir::Mechanism::Reduction};
  ASSERT_FALSE(apply(itself, 0.5));
  double d_rem = (0.0 + 1000) * std::pow(0.5, 0.99 - 1) - 1000;
  double d_prod = (0 - 0.5 * d_rem) / (1 - 0.5);
  EXPECT_EQ(pool(itself, 0, 0), (PoolState{1 + 1.0, {{0, (d_prod * 1 + 1 * d_rem) / (1 + 1.0)}}}));
}

TEST(ApplyProcessTest, EmptyOrMissingSourceDoesNothing) {
  for (std::optional<double> amount : {std::optional<double>{}, std::optional<double>{0}, std::optional<double>{-1}}) {
    SimulationState state = chromium_state();
    // Neither the table nor the database would be reached.
    state.model.processes[0].fractionations[0].factor.kind = ir::FractionationFactor::Table{"cr.csv"};
    state.databases.fractionations.push_back(testing::reduction_entry("53Cr/52Cr", "Cr paper", "crdb", 0.5));
    if (amount) {
      state.reservoirs[0].pools[0].amount = *amount;
    } else {
      state.reservoirs[0].pools.clear();
    }
    std::vector<ReservoirState> before = state.reservoirs;
    EXPECT_FALSE(apply(state, 0.5));
    EXPECT_EQ(state.reservoirs, before);
    EXPECT_TRUE(state.factor_notes.empty());
  }
}

// Only an amount at or below 0 stops the call: a not-a-number amount reacts, asks the
// databases and hands its not-a-number share to the product.
TEST(ApplyProcessTest, NotANumberAmountStillReacts) {
  SimulationState state = chromium_state();
  state.databases.fractionations.push_back(testing::reduction_entry("65Cu/63Cu", "Cu paper", "cudb", 0.998));
  add_isotope(state, "65Cu/63Cu");
  state.reservoirs[0].pools[0].amount = nan;
  ASSERT_FALSE(apply(state, 0.5));
  EXPECT_EQ(state.factor_notes.size(), 1u);
  EXPECT_TRUE(std::isnan(pool(state, 0, 0).amount));
  EXPECT_EQ(pool(state, 0, 0).deltas.at(0), (0.0 + 1000) * std::pow(0.5, 0.99 - 1) - 1000);
  ASSERT_TRUE(state.reservoirs[0].pools.contains(1));
  EXPECT_TRUE(std::isnan(pool(state, 0, 1).amount));
}

TEST(ApplyProcessTest, FactorsFromLawsAndTheirFailures) {
  SimulationState state = chromium_state();
  testing::add_parameter(state, "alpha", ir::binary_expr(ir::BinaryOp::Divide, ir::constant_expr(99),
                                                          ir::constant_expr(100)));
  state.model.processes[0].fractionations[0].factor.kind =
      ir::FractionationFactor::Law{ir::parameter_expr(ir::ParameterId{0})};
  ASSERT_FALSE(apply(state, 0.5));
  EXPECT_EQ(pool(state, 0, 0).deltas.at(0), (0.0 + 1000) * std::pow(0.5, 99.0 / 100 - 1) - 1000);

  SimulationState failing = chromium_state();
  failing.model.processes[0].fractionations[0].factor.kind = ir::FractionationFactor::Law{
      ir::binary_expr(ir::BinaryOp::Divide, ir::constant_expr(1), ir::constant_expr(0))};
  EXPECT_EQ(failure(apply(failing, 0.5)), (EngineError{"OV303", "division by zero: 1 / 0"}));

  // The factor is worked out even when the pool carries no delta of its system.
  SimulationState tabulated = chromium_state();
  tabulated.reservoirs[0].pools[0].deltas.clear();
  tabulated.model.processes[0].fractionations[0].factor.kind = ir::FractionationFactor::Table{"tables/cr.csv"};
  EXPECT_EQ(failure(apply(tabulated, 0.5)),
            (EngineError{"OV402", "tabulated fractionation (`tables/cr.csv`) is not implemented yet"}));
}

TEST(ApplyProcessTest, RefusedCalls) {
  struct Case {
    double fraction;
    std::string message;
  };
  for (const Case& test : {Case{-0.25, "`reduce` declares an extent of -0.25, which leaves a negative remainder"},
                           Case{1.5, "`reduce` declares an extent of 1.5, which leaves a negative remainder"},
                           Case{nan, "`reduce` declares an extent of NaN, which leaves a negative remainder"}}) {
    SimulationState state = chromium_state();
    EXPECT_EQ(failure(apply(state, test.fraction)), (EngineError{"OV304", test.message}));
    EXPECT_EQ(pool(state, 0, 0).amount, 2);
  }

  SimulationState only_into = chromium_state();
  only_into.model.processes[0].from.reset();
  only_into.model.processes[0].into = 1;
  EXPECT_EQ(failure(apply(only_into, 0.5)), (EngineError{"OV402", "`reduce` names neither from, into nor location"}));

  // f^(alpha - 1) overflows at the smallest remaining share.
  SimulationState overflow = chromium_state();
  overflow.model.processes[0].fractionations[0].factor.kind = ir::FractionationFactor::Constant{-100};
  EXPECT_EQ(failure(apply(overflow, 1)),
            (EngineError{"OV302", "`reduce` produced a non-finite composition at extent 1"}));
}

// Copper in a second system: the process fractionates chromium itself and asks the databases
// only about copper.
SimulationState with_database() {
  SimulationState state = chromium_state();
  add_isotope(state, "65Cu/63Cu");
  state.reservoirs[0].pools[0].deltas[1] = 1;
  state.model.conditions.temperature_k = 298.15;
  state.databases.fractionations = {testing::reduction_entry("53Cr/52Cr", "Cr paper", "crdb", 0.5),
                                     testing::reduction_entry("65Cu/63Cu", "Cu paper", "cudb", 0.998)};
  state.databases.fractionations[1].temperature_range = NumberRange{273.15, 283.15};
  return state;
}

TEST(ApplyProcessTest, DatabaseFactorsForSystemsWithoutOwnFactor) {
  SimulationState state = with_database();
  ASSERT_FALSE(apply(state, 0.5));
  ASSERT_FALSE(apply(state, 0.5));
  FactorNote note{"reduce on 65Cu/63Cu", "cudb", "Cu paper",
                  "`Cu paper` was measured within 273.15 to 283.15 K and is applied outside it"};
  // Asked again on every call (the second call's deltas below show it), noted once.
  EXPECT_EQ(state.factor_notes, (std::vector<FactorNote>{note}));

  double cr1 = (0.0 + 1000) * std::pow(0.5, 0.99 - 1) - 1000;
  double cu1 = (1.0 + 1000) * std::pow(0.5, 0.998 - 1) - 1000;
  double cr2 = (cr1 + 1000) * std::pow(0.5, 0.99 - 1) - 1000;
  double cu2 = (cu1 + 1000) * std::pow(0.5, 0.998 - 1) - 1000;
  EXPECT_EQ(pool(state, 0, 0), (PoolState{0.5, {{0, cr2}, {1, cu2}}}));
  double cr_prod2 = (cr1 - 0.5 * cr2) / (1 - 0.5);
  double cu_prod2 = (cu1 - 0.5 * cu2) / (1 - 0.5);
  EXPECT_EQ(pool(state, 0, 1), (PoolState{1.5, {{0, (cr_prod2 * 0.5 + 1 * -cr1) / (0.5 + 1)},
                                                {1, (cu_prod2 * 0.5 + 1 * ((1 - 0.5 * cu1) / (1 - 0.5))) / (0.5 + 1)}}}));
}

TEST(ApplyProcessTest, IsotopesNoFactorCoversMoveWithTheMatter) {
  // 5 of 10 at +2 permil move into 10 at -1: mass balance leaves the product at 0.
  SimulationState state = chromium_state();
  state.model.processes[0].fractionations.clear();
  state.reservoirs[0].pools[0] = PoolState{10, {{0, 2}}};
  state.reservoirs[0].pools[1] = PoolState{10, {{0, -1}}};
  ASSERT_FALSE(apply(state, 0.5));
  EXPECT_EQ(pool(state, 0, 0), (PoolState{5, {{0, 2}}}));
  EXPECT_EQ(pool(state, 0, 1), (PoolState{15, {{0, 0}}}));

  // A new product pool takes the source's delta rather than none.
  SimulationState fresh = chromium_state();
  fresh.model.processes[0].fractionations.clear();
  fresh.reservoirs[0].pools[0].deltas[0] = 2;
  ASSERT_FALSE(apply(fresh, 0.25));
  EXPECT_EQ(pool(fresh, 0, 1), (PoolState{0.5, {{0, 2}}}));

  // Chromium is fractionated by the process's own factor; copper (isotope 1) is carried after it.
  SimulationState both = chromium_state();
  add_isotope(both, "65Cu/63Cu");
  both.reservoirs[0].pools[0].deltas[1] = 3;
  ASSERT_FALSE(apply(both, 0.5));
  double d_rem = (0.0 + 1000) * std::pow(0.5, 0.99 - 1) - 1000;
  EXPECT_EQ(pool(both, 0, 0), (PoolState{1, {{0, d_rem}, {1, 3}}}));
  EXPECT_EQ(pool(both, 0, 1), (PoolState{1, {{0, (0 - 0.5 * d_rem) / (1 - 0.5)}, {1, 3}}}));

  // Two factors of chromium count it once: copper is still carried.
  SimulationState twice = chromium_state();
  add_isotope(twice, "65Cu/63Cu");
  twice.reservoirs[0].pools[0].deltas[1] = 3;
  twice.model.processes[0].fractionations.push_back(twice.model.processes[0].fractionations[0]);
  ASSERT_FALSE(apply(twice, 0.5));
  EXPECT_EQ(pool(twice, 0, 1).deltas.at(1), 3);
}

// Calls that keep a target act as calls that find everything anew: a source pool that is
// missing at first is taken once another process creates it, and the database factor found by
// the first call that acts serves every call after it.
TEST(ApplyProcessTest, AKeptTargetActsAsFindingEverythingAnew) {
  auto chain = [] {
    SimulationState state = with_database();
    add_species(state, "Cr(0)");
    add_transfer(state, "settle", 1, 2, 0);
    return state;
  };
  SimulationState anew = chain();
  SimulationState kept = chain();
  std::vector<ProcessTarget> targets(2);
  for (std::size_t process : {1, 0, 1, 0, 1}) {
    ASSERT_FALSE(apply(anew, 0.25, process));
    const ir::Process& chosen = kept.model.processes[process];
    const auto& transfer = std::get<ir::ProcessKind::Transfer>(chosen.kind.kind);
    ASSERT_FALSE(apply_process(kept, chosen, transfer.reactant, transfer.product, 0.25, targets[process]));
    EXPECT_EQ(kept.reservoirs, anew.reservoirs);
  }
  EXPECT_GT(pool(kept, 0, 2).amount, 0);
  EXPECT_EQ(kept.factor_notes, anew.factor_notes);
  EXPECT_EQ(kept.factor_notes.size(), 3u);
}

TEST(ApplyProcessTest, AmountsOfUnlikeKindsAreNeverAdded) {
  // Cr(VI) in mg/L reduced into a Cr(III) pool in mol/kgw.
  SimulationState state = chromium_state();
  state.reservoirs[0].pools[0].kind = AmountKind::MassConcentration;
  state.reservoirs[0].pools[1] = PoolState{1, {}, AmountKind::Molality};
  EXPECT_EQ(failure(apply(state, 0.5)),
            (EngineError{"OV402", "`reduce` would add a mass concentration (mg/L) to a molality (mol/kgw) of `Cr(III)` "
                                  "in `water`"}));

  SimulationState reverse = chromium_state();
  reverse.reservoirs[0].pools[0].kind = AmountKind::Molality;
  reverse.reservoirs[0].pools[1] = PoolState{1, {}, AmountKind::MassConcentration};
  EXPECT_EQ(failure(apply(reverse, 0.5)).message,
            "`reduce` would add a molality (mol/kgw) to a mass concentration (mg/L) of `Cr(III)` in `water`");

  // A pool the process creates, or one of the same kind, takes the amount and keeps the kind.
  for (std::optional<AmountKind> held : {std::optional<AmountKind>(), std::optional(AmountKind::MassConcentration)}) {
    SimulationState alike = chromium_state();
    alike.reservoirs[0].pools[0].kind = AmountKind::MassConcentration;
    if (held) alike.reservoirs[0].pools[1] = PoolState{0, {}, held};
    ASSERT_FALSE(apply(alike, 0.5));
    EXPECT_EQ(pool(alike, 0, 1).kind, AmountKind::MassConcentration);
    EXPECT_EQ(pool(alike, 0, 1).amount, 1);
  }
}

TEST(ApplyProcessTest, DatabaseQueriesAndWhenTheyAreMade) {
  // No delta of copper: the factor is still looked up and noted, and nothing changes for it.
  SimulationState no_delta = with_database();
  no_delta.reservoirs[0].pools[0].deltas.erase(1);
  ASSERT_FALSE(apply(no_delta, 0.5));
  EXPECT_EQ(no_delta.factor_notes.size(), 1u);
  EXPECT_FALSE(pool(no_delta, 0, 1).deltas.contains(1));

  // Fields of the query that disagree with the entry's names keep it from matching.
  SimulationState other_product = with_database();
  other_product.databases.fractionations[1].product = "Cu(I)";
  other_product.databases.fractionations[1].regime = "kinetic";
  ASSERT_FALSE(apply(other_product, 0.5));
  EXPECT_EQ(other_product.factor_notes.size(), 0u);
  other_product.databases.fractionations[1].product = "cr(iii)";  // names fold case
  ASSERT_FALSE(apply(other_product, 0.5));
  EXPECT_EQ(other_product.factor_notes.size(), 1u);
  other_product.model.processes[0].regime = ir::Regime::Equilibrium;
  ASSERT_FALSE(apply(other_product, 0.5));
  EXPECT_EQ(other_product.factor_notes.size(), 1u);

  // Other kinds ask under their own name.
  SimulationState adsorbed = with_database();
  adsorbed.databases.fractionations[1].process = "adsorption";
  adsorbed.model.processes[0].kind.kind = ir::ProcessKind::Adsorption{0, 1};
  ASSERT_FALSE(apply_process(adsorbed, adsorbed.model.processes[0], 0, 1, 0.5));
  EXPECT_EQ(adsorbed.factor_notes.size(), 1u);

  // Two equally good entries: the lookup's message under OV402.
  SimulationState tied = with_database();
  tied.databases.fractionations.push_back(tied.databases.fractionations[1]);
  tied.databases.fractionations.back().citation = "Other Cu paper";
  EngineError error = failure(apply(tied, 0.5));
  EXPECT_EQ(error.code, "OV402");
  EXPECT_EQ(error.message,
            "`reduction` on `65Cu/63Cu` matches 2 entries equally well: Cu paper / Other Cu paper. "
            "The database has not decided between them");
}

}  // namespace
}  // namespace ovm::engine
