#include "cli/build_command.hpp"

#include <filesystem>
#include <variant>

#include "cli/output_file.hpp"
#include "cli/source_check.hpp"
#include "cli/version.hpp"
#include "diagnostics/render.hpp"
#include "diagnostics/text_file.hpp"
#include "diagnostics/utf8.hpp"
#include "engine/base/sha256.hpp"
#include "engine/ovdb/ovdb_resolve.hpp"
#include "ir/codec/graph_file.hpp"
#include "ir/codec/graph_readable.hpp"
#include "ir/graph/graph_check.hpp"
#include "ir/lower/lower_model.hpp"
#include "sema/analysis.hpp"

namespace ovm::cli {
namespace {

namespace fs = std::filesystem;

// Every diagnostic rendered on the standard error, each followed by an empty line.
void write_diagnostics(const diagnostics::SourceMap& sources, const diagnostics::Diagnostics& list, Console& console) {
  for (const diagnostics::Diagnostic& d : diagnostics::sort_and_dedup(list)) {
    write_err(console, diagnostics::render_diagnostic(sources, d) + "\n");
  }
}

// Records where each database of the model was found and its digest, when the file can be
// read; a database that cannot be read is left for the run to report.
void record_databases(ir::Provenance& provenance, const std::string& source_path) {
  std::optional<fs::path> model_directory = fs::path(source_path).parent_path();
  for (ir::DatabaseRef& database : provenance.databases) {
    fs::path resolved = engine::resolve_database_path(model_directory, database.path);
    auto digest = engine::sha256_file_hex(resolved.string());
    database.resolved.reset();
    database.sha256.reset();
    if (auto* hex = std::get_if<std::string>(&digest)) {
      database.resolved = diagnostics::display_text(resolved.string());
      database.sha256 = std::move(*hex);
    }
  }
}

}  // namespace

std::string ir_output_path(const std::string& source_path) {
  // A trailing separator does not hide the last name: "dir/" names "dir".
  std::size_t end = source_path.find_last_not_of('/');
  fs::path source(end == std::string::npos ? source_path : source_path.substr(0, end + 1));
  fs::path file_name = source.filename();
  bool names_a_file = !file_name.empty() && file_name != "." && file_name != "..";
  std::string stem = names_a_file ? diagnostics::display_text(source.stem().string()) : "model";
  std::string name = stem + ".ovmir.json";
  fs::path parent = source.parent_path();
  if (parent.empty() || parent == source) return name;  // a bare name, or a root
  return (parent / name).string();
}

int cmd_build(std::span<const std::string> positionals, const std::optional<std::string>& output,
              sema::Profile profile, Console& console) {
  std::optional<ParsedSource> parsed = parse_first_file(positionals, "build", console);
  if (!parsed) return 2;
  const std::string& path = positionals[0];
  const diagnostics::SourceMap& sources = parsed->sources;
  const std::string& source = parsed->text();
  const syntax::ParseOutput& tree = parsed->tree;
  if (diagnostics::has_errors(tree.diagnostics)) {
    write_diagnostics(sources, tree.diagnostics, console);
    return 1;
  }
  sema::Analysis analysis = sema::analyze(tree, profile);
  write_diagnostics(sources, analysis.diagnostics, console);
  if (diagnostics::has_errors(analysis.diagnostics)) return 1;

  // Lowering reads only each block's kind: the rest of the analysis goes first, as the graph
  // grows beside the tree.
  std::vector<const sema::BlockSpec*> kinds = ir::block_kinds(analysis);
  analysis = sema::Analysis{};

  ir::Provenance provenance;
  provenance.source_path = diagnostics::display_text(path);
  provenance.source_sha256 = engine::sha256_hex(source);
  provenance.generator = std::string(program_version);
  ir::ModelGraph graph = ir::lower_model(tree.blocks, source, kinds, std::move(provenance));
  record_databases(graph.provenance, path);
  // The graph holds what it needs of them: their memory goes before the file is written.
  kinds = std::vector<const sema::BlockSpec*>{};
  parsed->tree = syntax::ParseOutput{};

  std::vector<std::string> defects = ir::check_model_graph(graph);
  if (!defects.empty()) {
    write_err(console, "the lowered graph is inconsistent, which is a compiler defect:\n");
    for (const std::string& message : defects) write_err(console, "  " + message + "\n");
    return 3;
  }
  // The model's own numbers can make a file that run would refuse or read otherwise.
  std::vector<std::string> unreadable = ir::unreadable_parts(graph);
  if (!unreadable.empty()) {
    write_err(console, diagnostics::display_text(path) + ": run could not read the lowered model back, so it is not written:\n");
    for (const std::string& message : unreadable) write_err(console, "  " + message + "\n");
    return 1;
  }
  // Written as it is made; a graph that does not serialise fails the write, which leaves the
  // file as it was.
  std::optional<ir::GraphFileError> encoding;
  auto pieces = [&](const std::function<bool(std::string_view)>& put) {
    auto written = ir::write_model_graph_json(graph, put);
    if (auto* error = std::get_if<ir::GraphFileError>(&written)) encoding = std::move(*error);
    return encoding ? false : std::get<bool>(written);
  };
  std::string target = output ? *output : ir_output_path(path);
  bool written = write_output_file(path, target, pieces, console);
  if (encoding) {
    write_err(console, "the lowered graph does not serialise, which is a compiler defect: " +
                           ir::graph_file_error_text(*encoding) + "\n");
    return 3;
  }
  if (!written) return 2;
  write_out(console, diagnostics::display_text(target) + "\n");
  return 0;
}

}  // namespace ovm::cli
