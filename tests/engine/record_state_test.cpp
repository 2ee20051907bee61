#include "engine/record_state.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "state_test_support.hpp"

namespace ovm::engine {
namespace {

using testing::add_parameter;

constexpr double nan = std::numeric_limits<double>::quiet_NaN();
constexpr double inf = std::numeric_limits<double>::infinity();

TEST(RecordStateTest, RecordsEveryQuantityOfTheState) {
  SimulationState state;
  state.clock = 30;
  add_parameter(state, "k", ir::binary_expr(ir::BinaryOp::Multiply, ir::Expr{ir::Expr::Time{}}, ir::constant_expr(2)));
  ReservoirState lake{"lake", {}};
  lake.pools[4] = PoolState{6, {{1, -0.25}}};
  lake.pools[2] = PoolState{2, {{0, 3}, {1, 1.5}}};
  state.reservoirs = {lake};
  state.start_amounts[{"lake", 2}] = 8;

  record_state(state);
  EXPECT_EQ(state.last_recorded, 30);
  ASSERT_EQ(state.rows.size(), 1u);
  RecordedRow expected = {
      {"time", 30},
      {"parameter#0", 60},
      {"lake#0", 3},                                // only the pool of species 2 holds isotope 0
      {"lake#1", (2 * 1.5 + 6 * -0.25) / (2.0 + 6)},  // 0.1875
      {"lake#2#amount", 2},
      {"lake#2#remaining", 0.25},
      {"lake#2#reacted", 0.75},
      {"lake#2#0", 3},
      {"lake#2#1", 1.5},
      {"lake#4#amount", 6},
      {"lake#4#remaining", std::nullopt},  // no start amount
      {"lake#4#reacted", std::nullopt},
      {"lake#4#1", -0.25},
  };
  EXPECT_EQ(state.rows[0], expected);
  EXPECT_EQ(state.rows[0].at("lake#1"), 0.1875);

  state.clock = 40;
  record_state(state);
  EXPECT_EQ(state.last_recorded, 40);
  ASSERT_EQ(state.rows.size(), 2u);
  EXPECT_EQ(state.rows[1].at("parameter#0"), 80);
}

TEST(RecordStateTest, ParametersThatCannotBeComputedHaveNoValue) {
  SimulationState state;
  add_parameter(state, "backend_fed", std::nullopt);
  add_parameter(state, "overflows", ir::binary_expr(ir::BinaryOp::Multiply, ir::constant_expr(1e300),
                                                     ir::constant_expr(1e300)));
  add_parameter(state, "unresolved", ir::constant_expr(nan));
  add_parameter(state, "hot", ir::Expr{ir::Expr::Temperature{}});
  add_parameter(state, "series_fed", std::nullopt);
  add_parameter(state, "fine", ir::constant_expr(2.5));
  state.series[ir::ParameterId{4}] = BackendSeries{{10, 7}};  // read before its first time

  record_state(state);
  const RecordedRow& row = state.rows.at(0);
  for (const char* key : {"parameter#0", "parameter#1", "parameter#2", "parameter#3", "parameter#4"}) {
    ASSERT_TRUE(row.contains(key)) << key;
    EXPECT_EQ(row.at(key), std::nullopt) << key;
  }
  EXPECT_EQ(row.at("parameter#5"), 2.5);

  state.clock = 10;
  record_state(state);
  EXPECT_EQ(state.rows.at(1).at("parameter#4"), 7);
}

TEST(RecordStateTest, FractionsAndCompositionsWithoutPositiveAmounts) {
  SimulationState state;
  ReservoirState dry{"dry", {}};
  dry.pools[0] = PoolState{0, {{0, 5}}};
  dry.pools[1] = PoolState{0, {{0, 7}}};
  ReservoirState odd{"odd", {}};
  odd.pools[0] = PoolState{inf, {{0, nan}}};
  state.reservoirs = {dry, odd};
  state.start_amounts[{"dry", 0}] = 0;  // started with nothing
  state.start_amounts[{"dry", 1}] = 4;

  record_state(state);
  const RecordedRow& row = state.rows.at(0);
  EXPECT_FALSE(row.contains("dry#0"));  // no positive summed amount: left out
  EXPECT_EQ(row.at("dry#0#remaining"), std::nullopt);
  EXPECT_EQ(row.at("dry#0#reacted"), std::nullopt);
  EXPECT_EQ(row.at("dry#1#remaining"), 0);
  EXPECT_EQ(row.at("dry#1#reacted"), 1);
  EXPECT_EQ(row.at("dry#0#0"), 5);
  // Non-finite amounts and deltas are recorded as they are.
  EXPECT_EQ(row.at("odd#0#amount"), inf);
  ASSERT_TRUE(row.at("odd#0#0").has_value());
  EXPECT_TRUE(std::isnan(*row.at("odd#0#0")));
}

TEST(RecordStateTest, ReservoirNamedParameterKeepsTheParameterValues) {
  SimulationState state;
  add_parameter(state, "k", ir::constant_expr(9));
  ReservoirState reservoir{"parameter", {}};
  reservoir.pools[0] = PoolState{1, {{0, -3}}};
  state.reservoirs = {reservoir};
  record_state(state);
  const RecordedRow& row = state.rows.at(0);
  EXPECT_EQ(row.at("parameter#0"), 9);
  EXPECT_EQ(row.at("\\parameter#0"), -3);
}

}  // namespace
}  // namespace ovm::engine
