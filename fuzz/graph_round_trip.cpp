#include "graph_round_trip.hpp"

#include <string>
#include <variant>

#include "diagnostics/utf8.hpp"
#include "ir/codec/graph_file.hpp"

namespace ovm::fuzz {

Finding check_graph_round_trip(std::string_view bytes) {
  if (!diagnostics::is_valid_utf8(bytes)) return std::nullopt;  // the run command reads only UTF-8
  auto read = ir::read_model_graph(bytes);
  if (const auto* error = std::get_if<ir::GraphFileError>(&read)) {
    if (error->index() == 0) return "the reader failed with an encoding error";
    if (ir::graph_file_error_text(*error).empty()) return "a read error has no text";
    return std::nullopt;
  }
  const ir::ModelGraph& graph = std::get<ir::ModelGraph>(read);

  auto written = ir::model_graph_to_json(graph);
  if (const auto* error = std::get_if<ir::GraphFileError>(&written)) {
    return "a graph that reads does not write: " + ir::graph_file_error_text(*error);
  }
  const std::string& text = std::get<std::string>(written);

  auto again = ir::read_model_graph(text);
  if (const auto* error = std::get_if<ir::GraphFileError>(&again)) {
    return "the written graph does not read back: " + ir::graph_file_error_text(*error);
  }
  const ir::ModelGraph& reread = std::get<ir::ModelGraph>(again);
  if (!(reread == graph)) return "the written graph reads back as another graph";

  auto rewritten = ir::model_graph_to_json(reread);
  if (const auto* error = std::get_if<ir::GraphFileError>(&rewritten)) {
    return "the graph read back does not write: " + ir::graph_file_error_text(*error);
  }
  if (std::get<std::string>(rewritten) != text) return "writing the graph read back gives other bytes";
  return std::nullopt;
}

}  // namespace ovm::fuzz
