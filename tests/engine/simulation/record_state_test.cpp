#include "engine/simulation/record_state.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "state_test_support.hpp"

namespace ovm::engine {
namespace {

using testing::add_parameter;
using ir::Variable;

constexpr double nan = std::numeric_limits<double>::quiet_NaN();
constexpr double inf = std::numeric_limits<double>::infinity();
constexpr std::optional<double> none = std::nullopt;

template <typename Kind>
void add_output(SimulationState& state, Kind kind) {
  state.model.outputs.push_back(ir::Output{Variable{kind}, "label"});
}

TEST(RecordStateTest, RecordsWhatTheOutputsRead) {
  SimulationState state;
  state.clock = 30;
  add_parameter(state, "k", ir::binary_expr(ir::BinaryOp::Multiply, ir::Expr{ir::Expr::Time{}}, ir::constant_expr(2)));
  add_parameter(state, "unread", ir::constant_expr(1));
  ReservoirState lake{"lake", {}};
  lake.pools[4] = PoolState{6, {{1, -0.25}}};
  lake.pools[2] = PoolState{2, {{0, 3}, {1, 1.5}}};
  state.reservoirs = {lake};
  state.start_amounts[{"lake", 2}] = 8;
  add_output(state, Variable::Time{});
  add_output(state, Variable::Parameter{ir::ParameterId{0}});
  add_output(state, Variable::Composition{0, 0});  // only the pool of species 2 holds isotope 0
  add_output(state, Variable::Composition{0, 1});  // (2 * 1.5 + 6 * -0.25) / (2 + 6)
  add_output(state, Variable::Composition{0, 2});  // no pool holds it
  add_output(state, Variable::Amount{0, 2});
  add_output(state, Variable::FractionRemaining{0, 2});
  add_output(state, Variable::FractionReacted{0, 2});
  add_output(state, Variable::PoolComposition{0, 2, 1});
  add_output(state, Variable::Amount{0, 4});
  add_output(state, Variable::FractionRemaining{0, 4});  // no start amount
  add_output(state, Variable::FractionReacted{0, 4});
  add_output(state, Variable::PoolComposition{0, 4, 0});
  add_output(state, Variable::Amount{0, 3});  // a pool the lake does not hold
  add_output(state, Variable::FractionRemaining{0, 3});

  record_state(state);
  EXPECT_EQ(state.last_recorded, 30);
  state.clock = 40;
  record_state(state);
  EXPECT_EQ(state.last_recorded, 40);
  std::vector<ir::ResultsRow> expected = {
      {30, 60, 3, 0.1875, none, 2, 0.25, 0.75, 1.5, 6, none, none, none, none, none},
      {40, 80, 3, 0.1875, none, 2, 0.25, 0.75, 1.5, 6, none, none, none, none, none},
  };
  EXPECT_EQ(ir::table_rows(state.rows), expected);
  EXPECT_EQ(state.rows.width, 15u);

  // A model without outputs records rows of no cells.
  SimulationState bare;
  record_state(bare);
  EXPECT_EQ(bare.rows, (ir::ResultsTable{0, 1, {}}));
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
  add_parameter(state, "itself", ir::parameter_expr(ir::ParameterId{6}));
  state.series[ir::ParameterId{4}] = BackendSeries{{10, 7}};  // read before its first time
  for (std::uint32_t id = 0; id < 8; ++id) add_output(state, Variable::Parameter{ir::ParameterId{id}});

  record_state(state);
  state.clock = 10;
  record_state(state);
  // No parameter carries id 7.
  EXPECT_EQ(ir::table_rows(state.rows), (std::vector<ir::ResultsRow>{{none, none, none, none, none, 2.5, none, none},
                                                                     {none, none, none, none, 7, 2.5, none, none}}));
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
  add_output(state, Variable::Composition{0, 0});  // no positive summed amount
  add_output(state, Variable::FractionRemaining{0, 0});
  add_output(state, Variable::FractionReacted{0, 0});
  add_output(state, Variable::FractionRemaining{0, 1});
  add_output(state, Variable::FractionReacted{0, 1});
  add_output(state, Variable::PoolComposition{0, 0, 0});
  add_output(state, Variable::Amount{1, 0});  // non-finite amounts and deltas are kept as they are
  add_output(state, Variable::PoolComposition{1, 0, 0});

  record_state(state);
  std::span<const double> row = ir::table_row(state.rows, 0);
  EXPECT_EQ(ir::table_rows(state.rows).at(0).front(), none);
  EXPECT_EQ(std::vector<double>(row.begin() + 3, row.begin() + 7), (std::vector<double>{0, 1, 5, inf}));
  EXPECT_TRUE(std::isnan(row[1]) && std::isnan(row[2]) && std::isnan(row[7]));
}

// Reservoirs of one name share their cells: the last one that holds a quantity gives it, as
// if each wrote over the one before.
TEST(RecordStateTest, NamesakesShareTheirCells) {
  SimulationState state;
  ReservoirState first{"twin", {}};
  first.pools[0] = PoolState{1, {{0, -3}}};
  first.pools[1] = PoolState{5, {}};
  ReservoirState second{"twin", {}};
  second.pools[0] = PoolState{2, {}};
  ReservoirState other{"other", {}};
  other.pools[1] = PoolState{9, {}};
  state.reservoirs = {first, second, other};
  state.start_amounts[{"twin", 0}] = 4;
  add_output(state, Variable::Amount{0, 0});           // the second twin's
  add_output(state, Variable::Amount{0, 1});           // only the first holds it
  add_output(state, Variable::Composition{1, 0});      // only the first holds a delta
  add_output(state, Variable::PoolComposition{1, 0, 0});
  add_output(state, Variable::FractionRemaining{0, 0});  // the second's pool over the shared start
  add_output(state, Variable::Amount{2, 0});
  add_output(state, Variable::Amount{7, 0});  // a reservoir the run does not hold

  record_state(state);
  EXPECT_EQ(ir::table_rows(state.rows), (std::vector<ir::ResultsRow>{{2, 5, -3, -3, 0.5, none, none}}));
}

}  // namespace
}  // namespace ovm::engine
