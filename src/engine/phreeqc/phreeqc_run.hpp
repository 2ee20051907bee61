#pragma once

#include <chrono>
#include <filesystem>
#include <optional>
#include <variant>
#include <vector>

#include "engine/base/engine_error.hpp"
#include "engine/phreeqc/phreeqc_exports.hpp"
#include "ir/graph/model_graph.hpp"
#include "ir/results/results_file.hpp"

namespace ovm::engine {

// PHREEQC is stopped when it has not finished this long after its start.
inline constexpr std::chrono::milliseconds phreeqc_time_limit{120'000};
inline constexpr std::chrono::milliseconds phreeqc_poll_interval{50};

// What the backends of a model hand back: one value per export of every backend, in backend
// and export order, and one record per backend for the results.
struct BackendResults {
  std::vector<BackendExportValue> values;
  std::vector<ir::BackendRun> runs;
};

// Runs PHREEQC once per backend, in the model's order, and reads back what each exports.
// `model_directory` is the directory of the lowered-model file. The first error ends the call
// and nothing of the earlier backends is returned.
std::variant<BackendResults, EngineError> run_backends(const ir::ModelGraph& graph,
                                                       const std::optional<std::filesystem::path>& model_directory);

// The same with the time limit given by the caller.
std::variant<BackendResults, EngineError> run_backends_within(
    const ir::ModelGraph& graph, const std::optional<std::filesystem::path>& model_directory,
    std::chrono::milliseconds time_limit);

// The error of a run stopped at the time limit, which it names in seconds.
EngineError phreeqc_timeout_error(std::chrono::milliseconds limit);

}  // namespace ovm::engine
