#pragma once

#include <optional>
#include <string_view>

#include "diagnostics/diagnostic.hpp"
#include "diagnostics/span.hpp"
#include "sema/symbol_table.hpp"
#include "syntax/expr.hpp"

namespace ovm::sema {

// Checks every name of one expression against the block's scope, the globals and the
// built-in names; function names against the known functions. Declares nothing.
void resolve_expression(const SymbolTable& symbols, diagnostics::Diagnostics& out,
                        std::optional<std::string_view> scope, const syntax::SyntaxExpr& expression);

// One name that stands for a number, in an expression or as a statement's value: a built-in
// name, a local of the scope or a global of any kind; otherwise OV107.
void resolve_number_name(const SymbolTable& symbols, diagnostics::Diagnostics& out,
                         std::optional<std::string_view> scope, std::string_view name, diagnostics::Span span);

}  // namespace ovm::sema
