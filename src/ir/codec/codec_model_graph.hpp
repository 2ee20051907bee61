#pragma once

#include <string_view>
#include <variant>

#include "ir/graph/model_graph.hpp"
#include "ir/json/json_error.hpp"
#include "ir/json/json_input.hpp"
#include "ir/json/json_writer.hpp"

namespace ovm::ir {

// The root of the lowered-model file: the sixteen members of the graph in declaration order,
// every key present, empty lists as "[]" and an absent simulation or sampling interval as null.
// A writer error can only come from a text that is not UTF-8.
void serialize_model_graph(const ModelGraph& graph, JsonWriter& w);

// The root in its object or array form. Every member is optional: whatever the document leaves
// out keeps the value of the default graph. Ids and the version are not looked at here.
[[nodiscard]] JsonStatus deserialize_model_graph(JsonInput in, ModelGraph& out);

// One whole document: the root, then nothing but white space. Nothing is kept of a failed read.
std::variant<ModelGraph, JsonError> parse_model_graph(std::string_view text);

}  // namespace ovm::ir
