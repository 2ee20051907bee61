#include "engine/simulation/extent_progress.hpp"

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "diagnostics/message_text.hpp"
#include "diagnostics/number_text.hpp"
#include "engine/simulation/apply_process.hpp"
#include "engine/simulation/evaluate_expr.hpp"
#include "engine/simulation/mixing.hpp"
#include "engine/simulation/record_state.hpp"

namespace ovm::engine {
namespace {

void warn_on_series(SimulationState& state) {
  std::vector<std::string> names;
  for (const auto& [parameter, series] : state.series) {
    if (parameter.index < state.model.parameters.size()) names.push_back(state.model.parameters[parameter.index].name);
  }
  if (names.empty()) return;
  std::ranges::stable_sort(names);
  std::string joined;
  for (const std::string& name : names) {
    if (!joined.empty()) joined += ", ";
    joined += name;
  }
  state.diagnostics.push_back(ir::ResultsDiagnostic{
      "OV306", "warning",
      diagnostics::fill_message(
          "the model advances by extent, so it has no clock, and {} is read at the backend's first recorded state "
          "and nowhere else",
          {joined})});
}

// The species a process moves: the source species first, then the product species.
struct SpeciesPair {
  ir::SpeciesId source = 0;
  ir::SpeciesId product = 0;
};

SpeciesPair species_pair(const ir::ProcessKind& kind) {
  if (const auto* transfer = std::get_if<ir::ProcessKind::Transfer>(&kind.kind)) {
    return {transfer->reactant, transfer->product};
  }
  if (const auto* adsorption = std::get_if<ir::ProcessKind::Adsorption>(&kind.kind)) {
    return {adsorption->reactant, adsorption->sorbent};
  }
  if (const auto* uptake = std::get_if<ir::ProcessKind::Uptake>(&kind.kind)) return {uptake->reactant, uptake->sorbent};
  const auto& exchange = std::get<ir::ProcessKind::Exchange>(kind.kind);
  return {exchange.phase_a, exchange.phase_b};
}

// The reacted fraction of a process that is not a mixing: its extent, or 0 for a process other
// than a transfer that states none.
EvalResult extent_of(const SimulationState& state, const ir::Process& process) {
  if (!process.extent) {
    if (std::holds_alternative<ir::ProcessKind::Transfer>(process.kind.kind)) {
      return EngineError{"OV402",
                         diagnostics::fill_message("`{}` has no extent and the model is extent-driven", {process.name})};
    }
    return 0.0;
  }
  EvalResult value = eval_expr(state, *process.extent);
  const double* v = std::get_if<double>(&value);
  if (v && !(*v >= 0 && *v <= 1)) {
    return EngineError{"OV305", diagnostics::fill_message("`{}` reached an extent of {}, and a reacted fraction lies between 0 and 1",
                                                   {process.name, diagnostics::plain_decimal(*v)})};
  }
  return value;
}

std::optional<EngineError> act(SimulationState& state, const ir::Process& process) {
  if (const auto* mixing = std::get_if<ir::ProcessKind::Mixing>(&process.kind.kind)) return mix(state, process.name, *mixing);
  EvalResult extent = extent_of(state, process);
  if (auto* error = std::get_if<EngineError>(&extent)) return std::move(*error);
  SpeciesPair species = species_pair(process.kind);
  return apply_process(state, process, species.source, species.product, std::get<double>(extent));
}

}  // namespace

std::optional<EngineError> progress_by_extent(SimulationState& state, const ir::Simulation& simulation) {
  warn_on_series(state);
  for (ir::ProcessId id : simulation.processes) {
    if (id >= state.model.processes.size()) {
      return EngineError{"OV402",
                         diagnostics::fill_message("the model lists process {} which does not exist", {std::to_string(id)})};
    }
    if (auto failed = act(state, state.model.processes[id])) return failed;
    record_state(state);
  }
  return std::nullopt;
}

}  // namespace ovm::engine
