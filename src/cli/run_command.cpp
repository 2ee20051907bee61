#include "cli/run_command.hpp"

#include <filesystem>
#include <variant>

#include "cli/build_command.hpp"
#include "cli/output_file.hpp"
#include "cli/source_check.hpp"
#include "diagnostics/text_file.hpp"
#include "diagnostics/utf8.hpp"
#include "engine/simulation/run_model.hpp"
#include "ir/codec/graph_file.hpp"
#include "ir/results/results_json.hpp"

namespace ovm::cli {
namespace {

namespace fs = std::filesystem;

// The directory database names and backend inputs are resolved against: the model path's
// parent, empty for a bare file name, none for a root.
std::optional<fs::path> model_directory(const std::string& model_path) {
  fs::path path(model_path);
  fs::path parent = path.parent_path();
  if (!parent.empty() && parent == path) return std::nullopt;
  return parent;
}

// The stem with every ".ovmir" taken out, wherever it stands.
std::string without_ovmir(const std::string& stem) {
  static constexpr std::string_view infix = ".ovmir";
  std::string kept;
  std::size_t from = 0;
  for (std::size_t at = stem.find(infix); at != std::string::npos; at = stem.find(infix, from)) {
    kept.append(stem, from, at - from);
    from = at + infix.size();
  }
  kept.append(stem, from);
  return kept;
}

bool has_error(const ir::ResultsFile& results) {
  for (const ir::ResultsDiagnostic& diagnostic : results.diagnostics) {
    if (diagnostic.severity == "error") return true;
  }
  return false;
}

}  // namespace

std::string results_output_path(const std::string& model_path) {
  // The results go where the build would put a lowered model of the same name, under the
  // results' own extension.
  static constexpr std::string_view ir_extension = ".ovmir.json";
  fs::path beside(ir_output_path(model_path));
  std::string stem = beside.filename().string();
  stem.resize(stem.size() - ir_extension.size());
  return beside.replace_filename(without_ovmir(stem) + ".results.json").string();
}

int cmd_run(std::span<const std::string> positionals, const std::optional<std::string>& output, Console& console) {
  if (positionals.empty()) {
    write_err(console, "run needs a lowered model\n");
    return 2;
  }
  const std::string& path = positionals[0];
  std::optional<std::string> text = read_source(path, console);
  if (!text) return 2;
  auto graph = ir::read_model_graph(*text);
  if (const auto* error = std::get_if<ir::GraphFileError>(&graph)) {
    write_err(console, diagnostics::display_text(path) + ": " + ir::graph_file_error_text(*error) + "\n");
    return 1;
  }

  ir::ResultsFile results = engine::run_model(std::get<ir::ModelGraph>(std::move(graph)), model_directory(path));
  if (std::optional<ir::ResultsError> error = ir::results_json_error(results)) {
    write_err(console, "the results do not serialise, which is an engine defect: " + ir::results_error_text(*error) +
                           "\n");
    return 3;
  }
  std::string target = output ? *output : results_output_path(path);
  // Written as it is made: the text of a long run's rows is larger than the rows themselves.
  auto pieces = [&results](const std::function<bool(std::string_view)>& put) {
    return ir::write_results_json(results, put);
  };
  if (!write_output_file(path, target, pieces, console)) return 2;
  for (const ir::ResultsDiagnostic& diagnostic : results.diagnostics) {
    write_err(console, "[" + diagnostic.code + "] " + diagnostic.message + "\n");
  }
  write_out(console, diagnostics::display_text(target) + "\n");
  return has_error(results) ? 1 : 0;
}

}  // namespace ovm::cli
