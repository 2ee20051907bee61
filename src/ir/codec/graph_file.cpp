#include "ir/codec/graph_file.hpp"

#include "ir/codec/codec_model_graph.hpp"
#include "ir/graph/graph_check.hpp"

namespace ovm::ir {
namespace {

// The text before the first "." of a version, or all of it.
std::string_view major_part(std::string_view version) { return version.substr(0, version.find('.')); }

std::string dangling_text(const GraphDanglingReferences& error) {
  std::string text = "the graph has " + std::to_string(error.messages.size()) + " dangling reference(s):\n";
  for (const std::string& message : error.messages) text += "  " + message + "\n";
  return text;
}

}  // namespace

std::string graph_file_error_text(const GraphFileError& error) {
  switch (error.index()) {
    case 0: return "encoding the graph: " + std::get<GraphEncodingError>(error).writer_error.message;
    case 1: return "reading the graph: " + json_error_text(std::get<GraphReadingError>(error).reader_error);
    case 2: return dangling_text(std::get<GraphDanglingReferences>(error));
    default:
      return "intermediate representation " + std::get<GraphVersionMismatch>(error).ir_version + ", expected " +
             std::string(major_part(lowered_ir_version)) + ".x";
  }
}

bool accepts_ir_version(std::string_view ir_version) {
  std::string_view major = major_part(ir_version);
  return major.empty() || major == major_part(lowered_ir_version);
}

std::variant<std::string, GraphFileError> model_graph_to_json(const ModelGraph& graph) {
  JsonWriter w;
  serialize_model_graph(graph, w);
  auto done = json_finish(std::move(w));
  if (auto* error = std::get_if<JsonWriteError>(&done)) return GraphEncodingError{std::move(*error)};
  return std::get<std::string>(std::move(done));
}

std::variant<bool, GraphFileError> write_model_graph_json(const ModelGraph& graph,
                                                          const std::function<bool(std::string_view)>& put) {
  JsonWriter w;
  w.sink = put;
  serialize_model_graph(graph, w);
  bool taken = json_finish_to_sink(w);
  if (w.error) return GraphEncodingError{std::move(*w.error)};
  return taken;
}

std::variant<ModelGraph, GraphFileError> read_model_graph(std::string_view text) {
  auto parsed = parse_model_graph(text);
  if (auto* error = std::get_if<JsonError>(&parsed)) return GraphReadingError{std::move(*error)};
  ModelGraph& graph = std::get<ModelGraph>(parsed);
  if (!accepts_ir_version(graph.provenance.ir_version)) return GraphVersionMismatch{graph.provenance.ir_version};
  std::vector<std::string> messages = check_model_graph(graph);
  if (!messages.empty()) return GraphDanglingReferences{std::move(messages)};
  return std::move(graph);
}

}  // namespace ovm::ir
