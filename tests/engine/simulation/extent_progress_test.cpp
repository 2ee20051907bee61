#include "engine/simulation/extent_progress.hpp"

#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

#include "process_test_support.hpp"
#include "state_test_support.hpp"

namespace ovm::engine {
namespace {

using testing::add_reservoir;
using testing::add_species;
using testing::add_transfer;
using testing::failure;
using testing::pool;

constexpr double nan = std::numeric_limits<double>::quiet_NaN();

// Species A (0) -> B (1) -> C (2) in reservoir "tank", which holds 8 of A: `first` turns A into
// B and `second` B into C, each by half.
SimulationState chain() {
  SimulationState state;
  add_species(state, "A");
  add_species(state, "B");
  add_species(state, "C");
  add_reservoir(state, "tank");
  state.reservoirs[0].pools[0] = PoolState{8, {}};
  add_transfer(state, "first", 0, 1, 0).extent = ir::constant_expr(0.5);
  add_transfer(state, "second", 1, 2, 0).extent = ir::constant_expr(0.5);
  state.model.simulation = testing::simulation_of({0, 1}, ir::Progress::Extent);
  state.model.outputs = {ir::Output{{ir::Variable::Time{}}, "time"}, ir::Output{{ir::Variable::Amount{0, 0}}, "A"}};
  return state;
}

std::optional<EngineError> progress(SimulationState& state) {
  return progress_by_extent(state, *state.model.simulation);
}

TEST(ExtentProgressTest, EachProcessActsOnceOnWhatTheOnesBeforeLeft) {
  SimulationState state = chain();
  state.model.simulation->processes = {0, 1, 0};
  ASSERT_FALSE(progress(state));
  EXPECT_EQ(pool(state, 0, 0).amount, 2);  // 8 -> 4 -> 2
  EXPECT_EQ(pool(state, 0, 1).amount, 4);  // 4 -> 2, then + 2
  EXPECT_EQ(pool(state, 0, 2).amount, 2);
  EXPECT_EQ(ir::table_rows(state.rows), (std::vector<ir::ResultsRow>{{0, 4}, {0, 4}, {0, 2}}));
  EXPECT_EQ(state.clock, 0);
  EXPECT_TRUE(state.diagnostics.empty());

  SimulationState idle = chain();
  idle.model.simulation->processes.clear();
  ASSERT_FALSE(progress(idle));
  EXPECT_EQ(idle.rows.rows, 0u);
}

TEST(ExtentProgressTest, ExtentsBetweenZeroAndOneOnly) {
  for (double accepted : {0.0, 1.0}) {
    SimulationState state = chain();
    state.model.processes[0].extent = ir::constant_expr(accepted);
    EXPECT_FALSE(progress(state)) << accepted;
    EXPECT_EQ(pool(state, 0, 0).amount, 8 - accepted * 8);
  }
  struct Case {
    double extent;
    std::string message;
  };
  for (const Case& test : {
           Case{1.5, "`second` reached an extent of 1.5, and a reacted fraction lies between 0 and 1"},
           Case{-0.001, "`second` reached an extent of -0.001, and a reacted fraction lies between 0 and 1"},
           Case{nan, "`second` reached an extent of NaN, and a reacted fraction lies between 0 and 1"},
       }) {
    SimulationState state = chain();
    state.model.processes[1].extent = ir::constant_expr(test.extent);
    EXPECT_EQ(failure(progress(state)), (EngineError{"OV305", test.message}));
    EXPECT_EQ(state.rows.rows, 1u);  // the row after `first`
  }
}

TEST(ExtentProgressTest, ProcessesWithoutExtent) {
  SimulationState transfer = chain();
  transfer.model.processes[0].extent.reset();
  EXPECT_EQ(failure(progress(transfer)),
            (EngineError{"OV402", "`first` has no extent and the model is extent-driven"}));

  // Other kinds act by 0: nothing moves, but the product pool is created.
  std::vector<ir::ProcessKind> kinds = {
      ir::ProcessKind{ir::ProcessKind::Adsorption{0, 1}},
      ir::ProcessKind{ir::ProcessKind::Uptake{0, 1}},
      ir::ProcessKind{ir::ProcessKind::Exchange{0, 1}},
  };
  for (const ir::ProcessKind& kind : kinds) {
    SimulationState state = chain();
    state.model.processes[0].kind = kind;
    state.model.processes[0].extent.reset();
    state.model.simulation->processes = {0};
    ASSERT_FALSE(progress(state));
    EXPECT_EQ(pool(state, 0, 0).amount, 8);
    EXPECT_EQ(pool(state, 0, 1).amount, 0);
    EXPECT_EQ(state.rows.rows, 1u);
  }

  // The species pair follows the kind: an exchange moves phase_a into phase_b.
  SimulationState exchange = chain();
  exchange.model.processes[0].kind = ir::ProcessKind{ir::ProcessKind::Exchange{0, 2}};
  exchange.model.simulation->processes = {0};
  ASSERT_FALSE(progress(exchange));
  EXPECT_EQ(pool(exchange, 0, 2).amount, 4);
}

TEST(ExtentProgressTest, MixingIsMixedAndRecorded) {
  SimulationState state = chain();
  add_reservoir(state, "blend");
  ir::Process& blend = add_transfer(state, "blend", 0, 0, std::nullopt);
  blend.kind = ir::ProcessKind{ir::ProcessKind::Mixing{{ir::MixingSource{0, 0.25}}, 1}};
  blend.extent = ir::constant_expr(nan);  // never read
  state.model.simulation->processes = {2, 0};
  ASSERT_FALSE(progress(state));
  EXPECT_EQ(pool(state, 1, 0).amount, 2);
  EXPECT_EQ(pool(state, 0, 0).amount, 4);
  EXPECT_EQ(state.rows.rows, 2u);
}

TEST(ExtentProgressTest, ErrorsEndTheRun) {
  SimulationState missing = chain();
  missing.model.simulation->processes = {0, 5, 1};
  EXPECT_EQ(failure(progress(missing)), (EngineError{"OV402", "the model lists process 5 which does not exist"}));
  EXPECT_EQ(missing.rows.rows, 1u);

  SimulationState failing = chain();
  failing.model.processes[0].extent =
      ir::binary_expr(ir::BinaryOp::Divide, ir::constant_expr(2), ir::constant_expr(0));
  EXPECT_EQ(failure(progress(failing)), (EngineError{"OV303", "division by zero: 2 / 0"}));
  EXPECT_EQ(failing.rows.rows, 0u);
}

TEST(ExtentProgressTest, BackendSeriesGetOneWarningNamingTheirParameters) {
  SimulationState state = chain();
  testing::add_parameter(state, "b", std::nullopt);
  testing::add_parameter(state, "a", std::nullopt);
  testing::add_parameter(state, "c", ir::constant_expr(1));
  state.series[ir::ParameterId{0}] = {SeriesPoint{0, 1}};
  state.series[ir::ParameterId{1}] = {SeriesPoint{0, 2}};
  state.series[ir::ParameterId{9}] = {SeriesPoint{0, 3}};  // feeds nothing
  ASSERT_FALSE(progress(state));
  EXPECT_EQ(state.diagnostics,
            (std::vector<ir::ResultsDiagnostic>{{"OV306", "warning",
                                                 "the model advances by extent, so it has no clock, and a, b is read at "
                                                 "the backend's first recorded state and nowhere else"}}));
}

}  // namespace
}  // namespace ovm::engine
