#pragma once

#include <vector>

#include "ir/graph/graph_outputs.hpp"
#include "ir/json/json_error.hpp"
#include "ir/json/json_input.hpp"
#include "ir/json/json_writer.hpp"

namespace ovm::ir {

// What a run records and which files it exports. A variable is adjacently tagged: the ids of
// a quantity stand in an object under "of", a parameter id as a bare integer, a time without "of".
void serialize_output(const Output& output, JsonWriter& w);
void serialize_variable(const Variable& variable, JsonWriter& w);
void serialize_export(const Export& file, JsonWriter& w);

[[nodiscard]] JsonStatus deserialize_output(JsonInput in, Output& out);
[[nodiscard]] JsonStatus deserialize_output_list(JsonInput in, std::vector<Output>& out);
// Unlike a subject's, a variable's tag may also be {"name": null}, and its ids have no array form.
[[nodiscard]] JsonStatus deserialize_variable(JsonInput in, Variable& out);
[[nodiscard]] JsonStatus deserialize_export(JsonInput in, Export& out);
[[nodiscard]] JsonStatus deserialize_export_list(JsonInput in, std::vector<Export>& out);
[[nodiscard]] JsonStatus deserialize_export_format(JsonInput in, ExportFormat& out);

}  // namespace ovm::ir
