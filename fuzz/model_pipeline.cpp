#include "model_pipeline.hpp"

#include <string>
#include <variant>
#include <vector>

#include "diagnostics/diagnostic.hpp"
#include "diagnostics/utf8.hpp"
#include "engine/base/sha256.hpp"
#include "ir/codec/graph_file.hpp"
#include "ir/codec/graph_readable.hpp"
#include "ir/graph/graph_check.hpp"
#include "ir/lower/lower_model.hpp"
#include "sema/analysis.hpp"
#include "syntax/parser.hpp"

namespace ovm::fuzz {
namespace {

Finding build_and_read(const syntax::ParseOutput& tree, std::string_view source, sema::Profile profile) {
  sema::Analysis analysis = sema::analyze(tree, profile);
  if (diagnostics::has_errors(analysis.diagnostics)) return std::nullopt;

  ir::Provenance provenance;
  provenance.source_path = "fuzz.ovm";
  provenance.source_sha256 = engine::sha256_hex(source);
  provenance.generator = "ovm fuzz";
  ir::ModelGraph graph = ir::lower_model(tree.blocks, source, analysis, std::move(provenance));

  std::vector<std::string> defects = ir::check_model_graph(graph);
  if (!defects.empty()) return "a model that checks clean lowers into an inconsistent graph: " + defects.front();
  // `build` names these parts and writes nothing; every file it does write must read back.
  if (!ir::unreadable_parts(graph).empty()) return std::nullopt;
  auto written = ir::model_graph_to_json(graph);
  if (const auto* error = std::get_if<ir::GraphFileError>(&written)) {
    return "a model that checks clean does not write: " + ir::graph_file_error_text(*error);
  }
  auto read = ir::read_model_graph(std::get<std::string>(written));
  if (const auto* error = std::get_if<ir::GraphFileError>(&read)) {
    return "a model that checks clean builds a file that does not read: " + ir::graph_file_error_text(*error);
  }
  if (!(std::get<ir::ModelGraph>(read) == graph)) return "a built file reads back as another graph";
  return std::nullopt;
}

}  // namespace

Finding check_model_pipeline(std::string_view bytes) {
  if (!diagnostics::is_valid_utf8(bytes)) return std::nullopt;
  std::string source(bytes);
  syntax::ParseOutput tree = syntax::parse_source(source, 0);
  if (diagnostics::has_errors(tree.diagnostics)) return std::nullopt;
  for (sema::Profile profile : {sema::Profile::Core, sema::Profile::Identification, sema::Profile::Extended}) {
    if (Finding finding = build_and_read(tree, source, profile)) return finding;
  }
  return std::nullopt;
}

}  // namespace ovm::fuzz
