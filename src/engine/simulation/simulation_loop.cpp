#include "engine/simulation/simulation_loop.hpp"

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "diagnostics/message_text.hpp"
#include "engine/simulation/distinct_diagnostics.hpp"
#include "engine/simulation/extent_progress.hpp"
#include "engine/simulation/model_identity.hpp"
#include "engine/simulation/note_codes.hpp"
#include "engine/simulation/record_state.hpp"
#include "engine/simulation/result_columns.hpp"
#include "engine/simulation/time_progress.hpp"

namespace ovm::engine {
namespace {

void fill_start_amounts(SimulationState& state) {
  state.start_amounts.clear();
  for (const ReservoirState& reservoir : state.reservoirs) {
    for (const auto& [species, pool] : reservoir.pools) state.start_amounts[{reservoir.name, species}] = pool.amount;
  }
}

void append_factor_notes(const std::vector<FactorNote>& notes, std::vector<ir::ResultsDiagnostic>& diagnostics) {
  for (const FactorNote& note : notes) {
    diagnostics.push_back(ir::ResultsDiagnostic{std::string(note_code), "note",
                                                diagnostics::fill_message("{}: factor from {}", {note.subject, note.citation})});
    if (note.warning) {
      diagnostics.push_back(ir::ResultsDiagnostic{std::string(factor_range_warning_code), "warning",
                                                  diagnostics::fill_message("{}: {}", {note.subject, *note.warning})});
    }
  }
}

ir::ResultsFile complete(SimulationState& state) {
  std::vector<FactorNote> notes = std::move(state.factor_notes);
  ir::ResultsFile results;
  results.model = model_identity(state.model);
  results.columns = result_columns(state.model, state.reservoirs);
  results.rows = std::move(state.rows);
  results.rows.width = results.columns.size();
  results.diagnostics = std::move(state.diagnostics);
  append_factor_notes(notes, results.diagnostics);
  drop_repeated_diagnostics(results.diagnostics);
  return results;
}

}  // namespace

std::variant<ir::ResultsFile, EngineError> simulate(SimulationState state) {
  if (!state.model.simulation) {
    return EngineError{"OV402", "the model declares no MODEL block, there is nothing to run"};
  }
  const ir::Simulation& simulation = *state.model.simulation;
  fill_start_amounts(state);
  record_state(state);
  std::optional<EngineError> failed = simulation.progress == ir::Progress::Extent
                                          ? progress_by_extent(state, simulation)
                                          : progress_by_time(state, simulation);
  if (failed) return std::move(*failed);
  return complete(state);
}

}  // namespace ovm::engine
