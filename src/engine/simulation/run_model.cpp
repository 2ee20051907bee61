#include "engine/simulation/run_model.hpp"

#include <map>
#include <utility>
#include <vector>

#include "diagnostics/message_text.hpp"
#include "engine/ovdb/ovdb_load.hpp"
#include "engine/ovdb/ovdb_standards.hpp"
#include "engine/phreeqc/phreeqc_run.hpp"
#include "engine/simulation/distinct_diagnostics.hpp"
#include "engine/simulation/model_identity.hpp"
#include "engine/simulation/note_codes.hpp"
#include "engine/simulation/prepare_run.hpp"
#include "engine/simulation/simulation_loop.hpp"

namespace ovm::engine {
namespace {

ir::ResultsFile failed_with(const ir::ResultsModel& identity, const EngineError& error) {
  return failed_results(identity, error.code, error.message);
}

// The notations of the isotope systems still without a standard, joined with ", ".
std::string systems_without_standard(const ir::ModelGraph& model) {
  std::string joined;
  for (const ir::IsotopeSystem& system : model.isotopes) {
    if (system.standard) continue;
    if (!joined.empty()) joined += ", ";
    joined += system.notation;
  }
  return joined;
}

// Oneshot values replace the exported parameters' values; series are kept by parameter for
// the state. A later export into the same parameter wins either way.
std::map<ir::ParameterId, BackendSeries> feed_backend_values(ir::ModelGraph& model,
                                                             std::vector<BackendExportValue>& values) {
  for (const BackendExportValue& value : values) {
    const auto* oneshot = std::get_if<BackendExportValue::Oneshot>(&value.kind);
    if (oneshot == nullptr || oneshot->parameter.index >= model.parameters.size()) continue;
    model.parameters[oneshot->parameter.index].value = ir::constant_expr(oneshot->value);
  }
  std::map<ir::ParameterId, BackendSeries> series;
  for (BackendExportValue& value : values) {
    auto* read = std::get_if<BackendExportValue::Series>(&value.kind);
    if (read != nullptr) series[read->parameter] = std::move(read->series);
  }
  return series;
}

}  // namespace

ir::ResultsFile failed_results(ir::ResultsModel identity, std::string code, std::string message) {
  ir::ResultsFile results;
  results.model = std::move(identity);
  results.diagnostics.push_back(ir::ResultsDiagnostic{std::move(code), "error", std::move(message)});
  return results;
}

ir::ResultsFile run_model(ir::ModelGraph model, const std::optional<std::filesystem::path>& model_directory,
                          std::uint32_t step_limit) {
  const ir::ResultsModel identity = model_identity(model);

  DatabaseSet databases;
  std::vector<ir::ResultsDiagnostic> notes;
  if (!model.provenance.databases.empty()) {
    auto loaded = load_databases(model, model_directory);
    if (const auto* error = std::get_if<EngineError>(&loaded)) return failed_with(identity, *error);
    databases = std::get<DatabaseSet>(std::move(loaded));
    for (const TakenStandard& taken : fill_standards_from_databases(model, databases)) {
      notes.push_back(ir::ResultsDiagnostic{std::string(note_code), "note",
                                            diagnostics::fill_message("standard for {} taken from {}", {taken.notation, taken.source})});
    }
  }

  std::string missing = systems_without_standard(model);
  if (!missing.empty()) {
    return failed_results(identity, "OV402",
                          diagnostics::fill_message("no standard for {}; declare one or name a database that carries it", {missing}));
  }

  std::vector<ir::BackendRun> runs;
  std::map<ir::ParameterId, BackendSeries> series;
  if (!model.backends.empty()) {
    auto ran = run_backends(model, model_directory);
    if (const auto* error = std::get_if<EngineError>(&ran)) return failed_with(identity, *error);
    BackendResults& done = std::get<BackendResults>(ran);
    series = feed_backend_values(model, done.values);
    runs = std::move(done.runs);
  }

  // From here on the backends have run, so a failure lists their runs.
  auto failed_after_backends = [&](const EngineError& error) {
    ir::ResultsFile results = failed_with(identity, error);
    results.backends = std::move(runs);
    return results;
  };

  auto prepared = prepare_run(std::move(model));
  if (const auto* error = std::get_if<EngineError>(&prepared)) return failed_after_backends(*error);
  SimulationState& state = std::get<SimulationState>(prepared);
  state.databases = std::move(databases);
  state.series = std::move(series);
  state.step_limit = step_limit;

  auto simulated = simulate(std::move(state));
  if (const auto* error = std::get_if<EngineError>(&simulated)) return failed_after_backends(*error);
  ir::ResultsFile results = std::get<ir::ResultsFile>(std::move(simulated));
  results.diagnostics.insert(results.diagnostics.end(), notes.begin(), notes.end());
  drop_repeated_diagnostics(results.diagnostics);
  results.backends = std::move(runs);
  return results;
}

}  // namespace ovm::engine
