#pragma once

#include <functional>

#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "ir/graph/model_graph.hpp"
#include "ir/json/json_error.hpp"
#include "ir/json/json_writer.hpp"

namespace ovm::ir {

// The graph could not be turned into text.
struct GraphEncodingError {
  JsonWriteError writer_error;
};

// The text is no lowered-model document.
struct GraphReadingError {
  JsonError reader_error;
};

// The document reads, but records refer past the lists they point into; never empty.
struct GraphDanglingReferences {
  std::vector<std::string> messages;
};

// The document is of a format version this reader does not know.
struct GraphVersionMismatch {
  std::string ir_version;  // the file's, whole
};

// Why a lowered-model file could not be written or read.
using GraphFileError = std::variant<GraphEncodingError, GraphReadingError, GraphDanglingReferences,
                                    GraphVersionMismatch>;

// "encoding the graph: {}", "reading the graph: {} at line {} column {}", "the graph has {}
// dangling reference(s):" with one indented line per message, or "intermediate representation
// {}, expected {}.x".
std::string graph_file_error_text(const GraphFileError& error);

// Whether a reader of this version accepts a file of version `ir_version`: the part before the
// first "." must be empty or the supported major version.
bool accepts_ir_version(std::string_view ir_version);

// The text of the lowered-model file: pretty JSON, two blanks of indent, no newline at the end.
std::variant<std::string, GraphFileError> model_graph_to_json(const ModelGraph& graph);

// The same text handed to `put` piece by piece as it is made, so that it is never held whole.
// The encoding error when the graph does not serialise (the pieces so far are then worthless),
// else whether `put` took every piece.
std::variant<bool, GraphFileError> write_model_graph_json(const ModelGraph& graph,
                                                          const std::function<bool(std::string_view)>& put);

// A graph read from the text of a lowered-model file that is of a known version and consistent.
std::variant<ModelGraph, GraphFileError> read_model_graph(std::string_view text);

}  // namespace ovm::ir
