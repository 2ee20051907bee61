#include "engine/simulation/simulation_loop.hpp"

#include <gtest/gtest.h>

#include <cmath>
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

constexpr double nan = std::numeric_limits<double>::quiet_NaN();

// Reservoir "tank" holds 8 of A (species 0); `decay` turns A into B (species 1) by first-order
// kinetics with no rate (0) until the model reaches `stop`, stepping by `step` seconds. The
// outputs are the clock and the tank's amount of A.
SimulationState decaying(double step, ir::Comparison comparison, double stop) {
  SimulationState state;
  state.model.provenance.ir_version = "1.3";
  state.model.provenance.source_path = "tank.ovm";
  add_species(state, "A");
  add_species(state, "B");
  add_reservoir(state, "tank");
  state.reservoirs[0].pools[0] = PoolState{8, {}};
  add_transfer(state, "decay", 0, 1, 0).kinetics =
      ir::Kinetics{ir::RateLaw{ir::RateLaw::FirstOrder{ir::constant_expr(0)}}};
  state.model.simulation = testing::simulation_of({0}, ir::Progress::Time);
  state.model.simulation->name = "run";
  state.model.simulation->step_seconds = step;
  state.model.simulation->stop = ir::StopCondition{{}, comparison, stop};
  state.model.outputs = {ir::Output{{ir::Variable::Time{}}, "time"}, ir::Output{{ir::Variable::Amount{0, 0}}, "tank.A"}};
  return state;
}

ir::ResultsFile results_of(SimulationState state) {
  auto result = simulate(std::move(state));
  if (auto* error = std::get_if<EngineError>(&result)) {
    ADD_FAILURE() << error->code << " " << error->message;
    return {};
  }
  return std::get<ir::ResultsFile>(std::move(result));
}

EngineError error_of(SimulationState state) {
  auto result = simulate(std::move(state));
  if (auto* error = std::get_if<EngineError>(&result)) return *error;
  ADD_FAILURE() << "the run succeeded";
  return {};
}

// The last row, or an empty one (and a failure) when the run recorded none.
ir::ResultsRow last_row(const ir::ResultsFile& results) {
  if (results.rows.rows == 0) {
    ADD_FAILURE() << "the run recorded no row";
    return {};
  }
  return ir::table_rows(results.rows).back();
}

std::vector<double> row_times(const ir::ResultsFile& results) {
  std::vector<double> times;
  for (const ir::ResultsRow& row : ir::table_rows(results.rows)) times.push_back(row.at(0).value_or(nan));
  return times;
}

TEST(SimulateTest, ResultsOfATimeDrivenRun) {
  ir::ResultsFile results = results_of(decaying(30, ir::Comparison::GreaterEqual, 100));
  EXPECT_EQ(results.format_version, "1.1");
  EXPECT_EQ(results.engine, (ir::ResultsEngine{"ovm-engine", "0.1.0"}));
  EXPECT_EQ(results.model, (ir::ResultsModel{"1.3", "tank.ovm", std::nullopt, "run"}));
  ASSERT_EQ(results.columns.size(), 2u);
  EXPECT_EQ(results.columns[1].name, "tank.A");
  EXPECT_EQ(row_times(results), (std::vector<double>{0, 30, 60, 90, 100}));
  EXPECT_EQ(last_row(results), (ir::ResultsRow{100, 8}));  // a rate of 0 moves nothing
  EXPECT_TRUE(results.diagnostics.empty());
  EXPECT_TRUE(results.backends.empty());
}

TEST(SimulateTest, StepsAndRows) {
  struct Case {
    double step;
    ir::Comparison comparison;
    double stop;
    std::optional<double> sampling;
    std::vector<double> times;
  };
  for (const Case& test : {
           Case{30, ir::Comparison::GreaterEqual, 0, std::nullopt, {0}},  // holds before the first step
           Case{30, ir::Comparison::Greater, 100, std::nullopt, {0, 30, 60, 90, 100, 130}},
           Case{30, ir::Comparison::Equal, 100, std::nullopt, {0, 30, 60, 90, 100}},
           Case{3, ir::Comparison::GreaterEqual, 30, 10, {0, 9, 18, 27, 30}},
           Case{3, ir::Comparison::GreaterEqual, 27, 10, {0, 9, 18, 27}},  // no second row at 27
           // A row is due once 8 - 3 / 2 has passed: at 9 and 18, not at 6 and 12.
           Case{3, ir::Comparison::GreaterEqual, 20, 8, {0, 9, 18, 20}},
           Case{2, ir::Comparison::GreaterEqual, 6, 3, {0, 2, 4, 6}},  // 2 - 0 >= 3 - 2 / 2
           Case{3, ir::Comparison::GreaterEqual, 6, 0, {0, 3, 6}},
           Case{3, ir::Comparison::GreaterEqual, 6, -1, {0, 3, 6}},
           Case{3, ir::Comparison::GreaterEqual, 6, nan, {0, 6}},
           Case{3, ir::Comparison::NotEqual, nan, std::nullopt, {0}},
       }) {
    SimulationState state = decaying(test.step, test.comparison, test.stop);
    state.model.sampling_seconds = test.sampling;
    EXPECT_EQ(row_times(results_of(std::move(state))), test.times) << test.step << " " << test.stop;
  }
}

TEST(SimulateTest, StopOnAnAmount) {
  // First order at 0.1 / s for 1 s steps until less than 4 of A remain.
  SimulationState state = decaying(1, ir::Comparison::Less, 4);
  state.model.processes[0].kinetics->rate.kind = ir::RateLaw::FirstOrder{ir::constant_expr(0.1)};
  state.model.simulation->stop->subject = ir::Subject{ir::Subject::Amount{0, 0}};
  ir::ResultsFile results = results_of(std::move(state));
  double amount = 8;
  std::vector<double> expected{8};
  double f = 1 - std::exp(-0.1 * 1);
  while (!(amount < 4)) {
    amount = amount - f * amount;
    expected.push_back(amount);
  }
  std::vector<double> amounts;
  for (const ir::ResultsRow& row : ir::table_rows(results.rows)) amounts.push_back(row.at(1).value_or(nan));
  EXPECT_EQ(amounts, expected);
  EXPECT_EQ(row_times(results).back(), static_cast<double>(expected.size() - 1));
}

TEST(SimulateTest, ZeroOrderRates) {
  // 3 / s for 2 s steps moves 6, then the 2 left (the quotient 6 / 2 is capped at 1).
  SimulationState state = decaying(2, ir::Comparison::GreaterEqual, 6);
  state.model.processes[0].kinetics->rate.kind = ir::RateLaw::ZeroOrder{ir::constant_expr(3)};
  state.model.outputs.push_back(ir::Output{{ir::Variable::Amount{0, 1}}, "tank.B"});
  ir::ResultsFile results = results_of(std::move(state));
  EXPECT_EQ(ir::table_rows(results.rows), (std::vector<ir::ResultsRow>{{0, 8, std::nullopt}, {2, 8 - (3 * 2.0 / 8) * 8, 6},
                                                        {4, 0, 8}, {6, 0, 8}}));

  SimulationState located = decaying(2, ir::Comparison::GreaterEqual, 2);
  located.model.processes[0].kinetics->rate.kind = ir::RateLaw::ZeroOrder{ir::constant_expr(1)};
  located.model.processes[0].from.reset();
  located.model.processes[0].location = 0;
  EXPECT_EQ(last_row(results_of(std::move(located))), (ir::ResultsRow{2, 6}));

  // A rate that is not a number is refused, as in first order, rather than moving the pool.
  SimulationState not_a_rate = decaying(2, ir::Comparison::GreaterEqual, 2);
  not_a_rate.model.processes[0].kinetics->rate.kind = ir::RateLaw::ZeroOrder{ir::constant_expr(nan)};
  EXPECT_EQ(error_of(std::move(not_a_rate)),
            (EngineError{"OV304", "`decay` declares an extent of NaN, which leaves a negative remainder"}));
  // An infinite rate moves the whole pool: the quotient is capped at 1.
  SimulationState endless_rate = decaying(2, ir::Comparison::GreaterEqual, 2);
  endless_rate.model.processes[0].kinetics->rate.kind =
      ir::RateLaw::ZeroOrder{ir::constant_expr(std::numeric_limits<double>::infinity())};
  EXPECT_EQ(last_row(results_of(std::move(endless_rate))), (ir::ResultsRow{2, 0}));

  // A pool whose amount is not a number is not at or below 0: it reacts whole, and B is
  // created with what it took, which is not a number either and so has no value in the row.
  SimulationState unknown_amount = decaying(2, ir::Comparison::GreaterEqual, 2);
  unknown_amount.reservoirs[0].pools[0].amount = nan;
  unknown_amount.model.processes[0].kinetics->rate.kind = ir::RateLaw::ZeroOrder{ir::constant_expr(1)};
  unknown_amount.model.outputs.push_back(ir::Output{{ir::Variable::Amount{0, 1}}, "tank.B"});
  ir::ResultsRow last = last_row(results_of(std::move(unknown_amount)));
  EXPECT_EQ(last, (ir::ResultsRow{2, std::nullopt, std::nullopt}));

  // Without a source reservoir the zero-order process is passed over rather than refused.
  SimulationState nowhere = decaying(2, ir::Comparison::GreaterEqual, 2);
  nowhere.model.processes[0].kinetics->rate.kind = ir::RateLaw::ZeroOrder{ir::constant_expr(1)};
  nowhere.model.processes[0].from.reset();
  EXPECT_EQ(last_row(results_of(std::move(nowhere))), (ir::ResultsRow{2, 8}));
}

TEST(SimulateTest, ProcessesTheLoopPassesOverOrRefuses) {
  // Without kinetics, a mixing included, nothing happens; an id outside the list is passed over.
  SimulationState idle = decaying(1, ir::Comparison::GreaterEqual, 2);
  idle.model.processes[0].kinetics.reset();
  ir::Process& blend = add_transfer(idle, "blend", 0, 0, std::nullopt);
  blend.kind = ir::ProcessKind{ir::ProcessKind::Mixing{{ir::MixingSource{0, 1}}, 0}};
  idle.model.simulation->processes = {0, 1, 7};
  EXPECT_EQ(last_row(results_of(std::move(idle))), (ir::ResultsRow{2, 8}));

  SimulationState kinetic_mixing = decaying(1, ir::Comparison::GreaterEqual, 2);
  kinetic_mixing.model.processes[0].kind = ir::ProcessKind{ir::ProcessKind::Mixing{{}, 0}};
  EXPECT_EQ(error_of(std::move(kinetic_mixing)),
            (EngineError{"OV402", "`decay` is kinetic but does not move a species"}));

  SimulationState second_order = decaying(1, ir::Comparison::GreaterEqual, 2);
  second_order.model.processes[0].kinetics->rate.kind = ir::RateLaw::SecondOrder{ir::constant_expr(0.5)};
  EXPECT_EQ(error_of(std::move(second_order)),
            (EngineError{"OV402", "rate law SecondOrder { constant: Constant(0.5) } is not implemented yet"}));

  // A negative first-order rate moves nothing; a NaN one is refused by the process.
  SimulationState negative = decaying(1, ir::Comparison::GreaterEqual, 2);
  negative.model.processes[0].kinetics->rate.kind = ir::RateLaw::FirstOrder{ir::constant_expr(-1)};
  EXPECT_EQ(last_row(results_of(std::move(negative))), (ir::ResultsRow{2, 8}));
  SimulationState not_a_rate = decaying(1, ir::Comparison::GreaterEqual, 2);
  not_a_rate.model.processes[0].kinetics->rate.kind = ir::RateLaw::FirstOrder{ir::constant_expr(nan)};
  EXPECT_EQ(error_of(std::move(not_a_rate)),
            (EngineError{"OV304", "`decay` declares an extent of NaN, which leaves a negative remainder"}));
}

TEST(SimulateTest, RefusedSetUps) {
  SimulationState no_model = decaying(1, ir::Comparison::GreaterEqual, 2);
  no_model.model.simulation.reset();
  EXPECT_EQ(error_of(std::move(no_model)),
            (EngineError{"OV402", "the model declares no MODEL block, there is nothing to run"}));

  struct Case {
    std::optional<double> step;
    bool stop;
    std::string message;
  };
  for (const Case& test : {Case{std::nullopt, true, "time-driven progress needs a step"},
                           Case{std::nullopt, false, "time-driven progress needs a step"},
                           Case{1, false, "time-driven progress needs a stopping condition"},
                           Case{0, true, "the step must be positive"},
                           Case{-1, true, "the step must be positive"}}) {
    SimulationState state = decaying(1, ir::Comparison::GreaterEqual, 2);
    state.model.simulation->step_seconds = test.step;
    if (!test.stop) state.model.simulation->stop.reset();
    EXPECT_EQ(error_of(std::move(state)), (EngineError{"OV402", test.message}));
  }

  SimulationState no_start = decaying(1, ir::Comparison::GreaterEqual, 0.5);
  no_start.model.simulation->stop->subject = ir::Subject{ir::Subject::FractionReacted{0, 1}};
  EXPECT_EQ(error_of(std::move(no_start)).code, "OV402");  // B has no start amount to react a fraction of
}

TEST(SimulateTest, NaNStopValueNeverHoldsButAsNotEqual) {
  SimulationState state = decaying(1, ir::Comparison::Less, nan);
  state.model.sampling_seconds = 1e300;  // no rows but the first
  state.model.simulation->stop->subject = ir::Subject{ir::Subject::Amount{0, 0}};
  EXPECT_EQ(error_of(std::move(state)), step_limit_error());
}

TEST(SimulateTest, AMillionAndOneStepsAtMost) {
  // The stop test after the millionth step is the last one made.
  SimulationState last = decaying(1, ir::Comparison::GreaterEqual, 1'000'000);
  last.model.sampling_seconds = 1e300;
  EXPECT_EQ(row_times(results_of(std::move(last))), (std::vector<double>{0, 1'000'000}));
  SimulationState beyond = decaying(1, ir::Comparison::GreaterEqual, 1'000'001);
  beyond.model.sampling_seconds = 1e300;
  EXPECT_EQ(error_of(std::move(beyond)), step_limit_error());
}

TEST(SimulateTest, StateStepLimitBoundsTheRun) {
  SimulationState last = decaying(1, ir::Comparison::GreaterEqual, 10);
  last.step_limit = 10;
  EXPECT_EQ(row_times(results_of(std::move(last))).back(), 10);
  SimulationState beyond = decaying(1, ir::Comparison::GreaterEqual, 11);
  beyond.step_limit = 10;
  EXPECT_EQ(error_of(std::move(beyond)), step_limit_error());
}

TEST(SimulateTest, ExtentWarningOnlyInASuccessfulRun) {
  SimulationState state = decaying(1, ir::Comparison::GreaterEqual, 1);
  ir::Process& other = add_transfer(state, "other", 0, 1, 0);
  other.extent = ir::constant_expr(nan);  // never evaluated
  state.model.processes[0].extent = ir::constant_expr(0.5);
  state.model.simulation->processes = {1, 0, 9, 1};
  ir::ResultsFile results = results_of(state);
  EXPECT_EQ(results.diagnostics,
            (std::vector<ir::ResultsDiagnostic>{
                {"OV306", "warning", "the model advances by time, so the extent stated by other, decay, other is not read"}}));

  state.model.processes[0].kinetics->rate.kind = ir::RateLaw::Monod{ir::constant_expr(1), ir::constant_expr(2)};
  EXPECT_EQ(error_of(std::move(state)).code, "OV402");
}

TEST(SimulateTest, DatabaseFactorsNotedOnceHoweverManySteps) {
  SimulationState state = decaying(1, ir::Comparison::GreaterEqual, 2);
  state.model.processes[0].kinetics->rate.kind = ir::RateLaw::FirstOrder{ir::constant_expr(0.1)};
  testing::add_isotope(state, "53Cr/52Cr");
  state.model.conditions.ph = 9;
  state.databases.fractionations = {testing::reduction_entry("53Cr/52Cr", "Smith 2020", "db", 0.999)};
  state.databases.fractionations[0].ph_range = NumberRange{4, 7};
  ir::ResultsDiagnostic note{"OV000", "note", "decay on 53Cr/52Cr: factor from Smith 2020"};
  ir::ResultsDiagnostic warning{"OV300", "warning",
                                "decay on 53Cr/52Cr: `Smith 2020` was measured within pH 4 to 7 and is applied outside it"};
  EXPECT_EQ(results_of(state).diagnostics, (std::vector<ir::ResultsDiagnostic>{note, warning}));

  state.model.simulation->stop->value = 50;
  state.model.sampling_seconds = 1e300;
  state.model.processes[0].extent = ir::constant_expr(1);
  ir::ResultsDiagnostic extent{"OV306", "warning", "the model advances by time, so the extent stated by decay is not read"};
  EXPECT_EQ(results_of(state).diagnostics, (std::vector<ir::ResultsDiagnostic>{extent, note, warning}));
}

TEST(SimulateTest, ExtentDrivenRunsRecordAtClockZero) {
  SimulationState state = decaying(1, ir::Comparison::GreaterEqual, 2);
  state.model.simulation->progress = ir::Progress::Extent;
  state.model.processes[0].extent = ir::constant_expr(0.25);
  state.model.simulation->processes = {0, 0, 0};
  state.model.outputs.push_back(ir::Output{{ir::Variable::FractionRemaining{0, 0}}, "left"});
  ir::ResultsFile results = results_of(std::move(state));
  double a1 = 8 - 0.25 * 8;
  double a2 = a1 - 0.25 * a1;
  double a3 = a2 - 0.25 * a2;
  EXPECT_EQ(ir::table_rows(results.rows), (std::vector<ir::ResultsRow>{
                              {0, 8, 8 / 8.0}, {0, a1, a1 / 8}, {0, a2, a2 / 8}, {0, a3, a3 / 8}}));

  SimulationState empty = decaying(1, ir::Comparison::GreaterEqual, 2);
  empty.model.simulation->progress = ir::Progress::Extent;
  empty.model.simulation->processes.clear();
  EXPECT_EQ(ir::table_rows(results_of(std::move(empty)).rows), (std::vector<ir::ResultsRow>{{0, 8}}));
}

}  // namespace
}  // namespace ovm::engine
