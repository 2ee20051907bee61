#include "engine/simulation/simulation_state.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace ovm::engine {
namespace {

ir::IsotopeSystem system(ir::IsotopeId id, double standard_ratio) {
  ir::IsotopeSystem result;
  result.id = id;
  result.notation = "53Cr/52Cr";
  result.standard = ir::Standard{"SRM 979", standard_ratio, std::nullopt};
  return result;
}

ir::Pool molality_pool(ir::SpeciesId species, double amount, std::vector<ir::Composition> compositions = {}) {
  return ir::Pool{species, ir::Amount{ir::Amount::Molality{amount}}, std::move(compositions), {}};
}

TEST(SimulationStateTest, FreshStateStartsAtTimeZeroWithNothingRecorded) {
  SimulationState state;
  EXPECT_EQ(state.clock, 0);
  EXPECT_TRUE(std::isinf(state.last_recorded));
  EXPECT_LT(state.last_recorded, 0);
  EXPECT_EQ(state.rows.rows, 0u);
  EXPECT_TRUE(state.diagnostics.empty());
  EXPECT_TRUE(state.factor_notes.empty());
  EXPECT_TRUE(state.start_amounts.empty());
  EXPECT_TRUE(state.series.empty());
  EXPECT_TRUE(state.reservoirs.empty());
}

TEST(SimulationStateTest, AmountIsTheModelNumberWhateverItsKind) {
  EXPECT_EQ(amount_number(ir::Amount{ir::Amount::MassConcentration{5}}), 5);
  EXPECT_EQ(amount_number(ir::Amount{ir::Amount::Molality{5}}), 5);

  ir::Reservoir reservoir;
  reservoir.name = "lake";
  reservoir.pools = {ir::Pool{0, ir::Amount{ir::Amount::MassConcentration{5}}, {}, {}}, molality_pool(1, 5)};
  ReservoirState state = initial_reservoir_state(reservoir, {});
  EXPECT_EQ(state.name, "lake");
  EXPECT_EQ(state.pools.at(0).amount, 5);
  EXPECT_EQ(state.pools.at(1).amount, 5);
}

TEST(SimulationStateTest, PoolsAreVisitedInAscendingSpeciesId) {
  ir::Reservoir reservoir;
  reservoir.pools = {molality_pool(7, 1), molality_pool(2, 2), molality_pool(4, 3)};
  ReservoirState state = initial_reservoir_state(reservoir, {});
  std::vector<ir::SpeciesId> order;
  std::vector<double> amounts;
  for (const auto& [species, pool] : state.pools) {
    order.push_back(species);
    amounts.push_back(pool.amount);
  }
  EXPECT_EQ(order, (std::vector<ir::SpeciesId>{2, 4, 7}));
  EXPECT_EQ(amounts, (std::vector<double>{2, 3, 1}));
}

TEST(SimulationStateTest, CompositionsBecomeDeltasAgainstTheStandard) {
  std::vector<ir::IsotopeSystem> isotopes = {system(0, 0.2), system(1, 0.4)};
  ir::Reservoir reservoir;
  reservoir.pools = {molality_pool(0, 1, {{1, 0.5}, {0, 0.25}})};
  ReservoirState state = initial_reservoir_state(reservoir, isotopes);
  const PoolState& pool = state.pools.at(0);
  // Computed in the order ratio / standard, minus 1, times 1000.
  EXPECT_EQ(pool.deltas.at(0), (0.25 / 0.2 - 1) * 1000);
  EXPECT_EQ(pool.deltas.at(1), (0.5 / 0.4 - 1) * 1000);
  EXPECT_EQ(pool.deltas.at(0), 250.0);
}

TEST(SimulationStateTest, LaterCompositionAndLaterPoolReplaceEarlierOnes) {
  std::vector<ir::IsotopeSystem> isotopes = {system(0, 0.5)};
  ir::Reservoir reservoir;
  reservoir.pools = {molality_pool(3, 1, {{0, 0.5}, {0, 0.75}}), molality_pool(1, 2), molality_pool(1, 4, {{0, 1.0}})};
  ReservoirState state = initial_reservoir_state(reservoir, isotopes);
  EXPECT_EQ(state.pools.at(3).deltas.at(0), 500);
  EXPECT_EQ(state.pools.at(1).amount, 4);
  EXPECT_EQ(state.pools.at(1).deltas.at(0), 1000);
  EXPECT_EQ(state.pools.size(), 2u);
}

TEST(SimulationStateTest, CompositionWithoutUsableSystemGivesNoDelta) {
  std::vector<ir::IsotopeSystem> isotopes = {system(0, 0.5)};
  isotopes[0].standard.reset();
  ir::Reservoir reservoir;
  reservoir.pools = {molality_pool(0, 1, {{0, 0.5}, {9, 0.5}})};
  EXPECT_TRUE(initial_reservoir_state(reservoir, isotopes).pools.at(0).deltas.empty());
}

}  // namespace
}  // namespace ovm::engine
