#pragma once

#include <string>
#include <string_view>

#include "ir/graph/graph_expressions.hpp"
#include "ir/graph/graph_ids.hpp"
#include "ir/graph/graph_processes.hpp"

namespace ovm::ir {

// Debug texts, which the engine quotes in its messages: a value without content prints its
// name (Negate, Log10, Time), one with a single content its name and the content in
// parentheses (Constant(0.5), ParameterId(3)), one with named fields its name and the fields in
// braces: FirstOrder { constant: Constant(0.5) }. Lists print in square brackets.
std::string_view debug_text(UnaryOp op);
std::string_view debug_text(BinaryOp op);
std::string_view debug_text(Function function);
std::string debug_text(ParameterId id);
std::string debug_text(const Expr& expr);
std::string debug_text(const RateLaw& law);

}  // namespace ovm::ir
