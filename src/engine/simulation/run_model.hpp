#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

#include "engine/simulation/simulation_state.hpp"
#include "ir/graph/model_graph.hpp"
#include "ir/results/results_file.hpp"

namespace ovm::engine {

// Runs a checked model: loads its isotope databases and fills missing standards from them,
// requires a standard for every isotope system, runs its PHREEQC backends and feeds their
// values in, prepares the state and simulates it. `model_directory` is the directory of the
// lowered-model file (absent when its path has none); database paths and PHREEQC inputs are
// resolved against it. The first failing stage ends the run, and the results then hold its
// one error diagnostic (and the backend runs, when the backends had already run). A time-driven
// run gives up after `step_limit` steps.
ir::ResultsFile run_model(ir::ModelGraph model, const std::optional<std::filesystem::path>& model_directory,
                          std::uint32_t step_limit = default_step_limit);

// The results of a failed run: the model's identity and one error diagnostic, nothing else.
ir::ResultsFile failed_results(ir::ResultsModel identity, std::string code, std::string message);

}  // namespace ovm::engine
