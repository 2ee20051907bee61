#pragma once

#include <optional>

#include "ir/graph/graph_expressions.hpp"
#include "ir/json/json_error.hpp"
#include "ir/json/json_input.hpp"
#include "ir/json/json_writer.hpp"

namespace ovm::ir {

// An expression as an adjacently tagged object, "kind" before "of"; a non-finite constant is
// written `null`. The walk keeps its own stack, so any height of tree is written.
void serialize_expr(const Expr& expr, JsonWriter& w);
void serialize_optional_expr(const std::optional<Expr>& expr, JsonWriter& w);

// An expression in its object or array form, from the text or from a kept value. The nesting
// budget bounds the height of what is read, and with it the depth of the reader's calls.
[[nodiscard]] JsonStatus deserialize_expr(JsonInput in, Expr& out);
[[nodiscard]] JsonStatus deserialize_optional_expr(JsonInput in, std::optional<Expr>& out);
// An expression inside a value an enclosing reader kept; its errors come out unplaced.
[[nodiscard]] JsonStatus deserialize_expr_buffered(const KeptValue& kept, Expr& out);

}  // namespace ovm::ir
