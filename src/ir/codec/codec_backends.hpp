#pragma once

#include <vector>

#include "ir/graph/graph_backends.hpp"
#include "ir/json/json_error.hpp"
#include "ir/json/json_input.hpp"
#include "ir/json/json_writer.hpp"

namespace ovm::ir {

// The outside programs run before the simulation and the selected-output columns they hand to
// parameters. Kind and mode are unit enums; a backend without a database writes it `null`.
void serialize_backend(const Backend& backend, JsonWriter& w);
void serialize_backend_export(const BackendExport& backend_export, JsonWriter& w);
void serialize_backend_kind(BackendKind kind, JsonWriter& w);
void serialize_backend_mode(BackendMode mode, JsonWriter& w);

// Paths are kept as written and parameter ids read as plain integers: the engine resolves the
// one and the consistency check the other.
[[nodiscard]] JsonStatus deserialize_backend(JsonInput in, Backend& out);
[[nodiscard]] JsonStatus deserialize_backend_list(JsonInput in, std::vector<Backend>& out);
[[nodiscard]] JsonStatus deserialize_backend_export(JsonInput in, BackendExport& out);
[[nodiscard]] JsonStatus deserialize_backend_export_list(JsonInput in, std::vector<BackendExport>& out);
[[nodiscard]] JsonStatus deserialize_backend_kind(JsonInput in, BackendKind& out);
[[nodiscard]] JsonStatus deserialize_backend_mode(JsonInput in, BackendMode& out);

}  // namespace ovm::ir
