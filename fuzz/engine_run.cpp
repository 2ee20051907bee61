#include "engine_run.hpp"

#include <cstdint>
#include <string>
#include <variant>

#include "diagnostics/utf8.hpp"
#include "engine/simulation/run_model.hpp"
#include "ir/codec/graph_file.hpp"
#include "ir/results/results_json.hpp"
#include "results_shape.hpp"

namespace ovm::fuzz {
namespace {

// Enough steps to reach every kind of stop and of step-limit failure, few enough that every
// input runs in milliseconds.
constexpr std::uint32_t fuzz_step_limit = 2000;

}  // namespace

Finding check_engine_run(std::string_view bytes) {
  if (!diagnostics::is_valid_utf8(bytes)) return std::nullopt;  // the run command reads only UTF-8
  auto read = ir::read_model_graph(bytes);
  if (std::holds_alternative<ir::GraphFileError>(read)) return std::nullopt;
  ir::ModelGraph graph = std::get<ir::ModelGraph>(std::move(read));

  // PHREEQC is not what this target runs; without it the model needs no capability the engine
  // could lack, so every graph reaches the simulation.
  graph.backends.clear();
  graph.requires_.clear();
  if (!graph.provenance.databases.empty()) {
    graph.provenance.databases = {ir::DatabaseRef{OVM_FUZZ_DATABASE, std::nullopt, std::nullopt}};
  }
  std::size_t outputs = graph.outputs.size();

  ir::ResultsFile results = engine::run_model(std::move(graph), std::nullopt, fuzz_step_limit);
  auto json = ir::results_to_json(results);
  if (const auto* error = std::get_if<ir::ResultsError>(&json)) return "the results do not write: " + ir::results_error_text(*error);
  if (results.rows.rows != 0 && results.columns.size() != outputs) return "the results have not one column per output";
  return check_results_text(std::get<std::string>(json), results);
}

}  // namespace ovm::fuzz
