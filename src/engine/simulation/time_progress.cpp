#include "engine/simulation/time_progress.hpp"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "diagnostics/message_text.hpp"
#include "engine/simulation/apply_process.hpp"
#include "engine/simulation/evaluate_expr.hpp"
#include "engine/simulation/evaluate_subject.hpp"
#include "engine/simulation/record_state.hpp"
#include "ir/graph/debug_text.hpp"

namespace ovm::engine {
namespace {

EngineError setup_error(std::string message) { return EngineError{"OV402", std::move(message)}; }

void warn_on_extents(SimulationState& state, const ir::Simulation& simulation) {
  std::string names;
  for (ir::ProcessId id : simulation.processes) {
    if (id >= state.model.processes.size() || !state.model.processes[id].extent) continue;
    if (!names.empty()) names += ", ";
    names += state.model.processes[id].name;
  }
  if (names.empty()) return;
  state.diagnostics.push_back(ir::ResultsDiagnostic{
      "OV306", "warning", diagnostics::fill_message("the model advances by time, so the extent stated by {} is not read", {names})});
}

// A comparison with NaN on either side holds only as `not_equal`, as the operators have it.
bool holds(ir::Comparison comparison, double v, double value) {
  switch (comparison) {
    case ir::Comparison::Less: return v < value;
    case ir::Comparison::LessEqual: return v <= value;
    case ir::Comparison::Greater: return v > value;
    case ir::Comparison::GreaterEqual: return v >= value;
    case ir::Comparison::Equal: return v == value;
    case ir::Comparison::NotEqual: return v != value;
  }
  return false;
}

// The reacted fraction of a zero-order transfer in one step, or nothing when it does not act.
EvalResult zero_order_fraction(const SimulationState& state, const ir::Process& process,
                               const ir::ProcessKind::Transfer& transfer, const ir::Expr& constant, double dt) {
  EvalResult k = eval_expr(state, constant);
  if (std::holds_alternative<EngineError>(k)) return k;
  std::optional<ir::ReservoirId> from = process.from ? process.from : process.location;
  if (!from || *from >= state.reservoirs.size()) return 0.0;
  const auto& pools = state.reservoirs[*from].pools;
  auto pool = pools.find(transfer.reactant);
  // A not-a-number amount is not at or below 0: its quotient is not a number, which reacts the whole pool.
  if (pool == pools.end() || pool->second.amount <= 0) return 0.0;
  double quotient = std::get<double>(k) * dt / pool->second.amount;
  // A rate that is not a number gives an extent of NaN, which the process refuses; only a
  // not-a-number amount (whose quotient is not a number either) reacts the whole pool.
  if (std::isnan(quotient) && !std::isnan(pool->second.amount)) return quotient;
  return quotient < 1 ? quotient : 1.0;
}

// A kinetic process of the run as the steps use it, resolved once before the first.
struct KineticStep {
  const ir::Process* process;
  const ir::ProcessKind::Transfer* transfer;  // null when it moves no species, which fails when reached
  const double* first_order_constant;         // when the rate is first order in a constant
  ProcessTarget target;
};

std::vector<KineticStep> kinetic_steps(const SimulationState& state, const ir::Simulation& simulation) {
  std::vector<KineticStep> steps;
  for (ir::ProcessId id : simulation.processes) {
    if (id >= state.model.processes.size()) continue;
    const ir::Process& process = state.model.processes[id];
    if (!process.kinetics) continue;
    const auto* first = std::get_if<ir::RateLaw::FirstOrder>(&process.kinetics->rate.kind);
    steps.push_back(KineticStep{&process, std::get_if<ir::ProcessKind::Transfer>(&process.kind.kind),
                                first ? constant_value(state, first->constant) : nullptr, {}});
  }
  return steps;
}

// The reacted fraction of a kinetic transfer in one step; at or below 0 it does not act.
EvalResult step_fraction(const SimulationState& state, const KineticStep& step, double dt) {
  if (step.first_order_constant) return 1 - std::exp(-*step.first_order_constant * dt);
  const ir::Process& process = *step.process;
  const ir::RateLaw& law = process.kinetics->rate;
  if (const auto* zero = std::get_if<ir::RateLaw::ZeroOrder>(&law.kind)) {
    return zero_order_fraction(state, process, *step.transfer, zero->constant, dt);
  }
  if (const auto* first = std::get_if<ir::RateLaw::FirstOrder>(&law.kind)) {
    EvalResult k = eval_expr(state, first->constant);
    if (const double* value = std::get_if<double>(&k)) return 1 - std::exp(-*value * dt);
    return k;
  }
  return setup_error(diagnostics::fill_message("rate law {} is not implemented yet", {ir::debug_text(law)}));
}

std::optional<EngineError> run_kinetics(SimulationState& state, std::vector<KineticStep>& steps, double dt) {
  for (KineticStep& step : steps) {
    if (!step.transfer) {
      return setup_error(diagnostics::fill_message("`{}` is kinetic but does not move a species", {step.process->name}));
    }
    EvalResult fraction = step_fraction(state, step, dt);
    if (auto* error = std::get_if<EngineError>(&fraction)) return std::move(*error);
    double f = std::get<double>(fraction);
    if (f <= 0) continue;
    auto failed = apply_process(state, *step.process, step.transfer->reactant, step.transfer->product, f, step.target);
    if (failed) return failed;
  }
  return std::nullopt;
}

bool row_due(const SimulationState& state, double dt) {
  const std::optional<double>& sampling = state.model.sampling_seconds;
  if (!sampling || *sampling <= 0) return true;
  return state.clock - state.last_recorded >= *sampling - dt / 2;
}

}  // namespace

std::optional<EngineError> progress_by_time(SimulationState& state, const ir::Simulation& simulation) {
  warn_on_extents(state, simulation);
  if (!simulation.step_seconds) return setup_error("time-driven progress needs a step");
  if (!simulation.stop) return setup_error("time-driven progress needs a stopping condition");
  double step = *simulation.step_seconds;
  if (step <= 0) return setup_error("the step must be positive");
  const ir::StopCondition& stop = *simulation.stop;

  std::vector<KineticStep> kinetic = kinetic_steps(state, simulation);

  for (std::uint32_t n = 0;; ++n) {
    EvalResult v = eval_subject(state, stop.subject);
    if (auto* error = std::get_if<EngineError>(&v)) return std::move(*error);
    if (holds(stop.comparison, std::get<double>(v), stop.value)) {
      if (state.clock > state.last_recorded) record_state(state);
      return std::nullopt;
    }

    double dt = step;
    if (std::holds_alternative<ir::Subject::Time>(stop.subject.kind) && 0 < stop.value - state.clock) {
      dt = std::min(stop.value - state.clock, step);
    }
    if (auto failed = run_kinetics(state, kinetic, dt)) return failed;
    state.clock += dt;
    if (row_due(state, dt)) record_state(state);
    if (n >= state.step_limit) return step_limit_error();
  }
}

}  // namespace ovm::engine
