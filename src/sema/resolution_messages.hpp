#pragma once

#include <string_view>

#include "diagnostics/code.hpp"
#include "diagnostics/diagnostic.hpp"
#include "diagnostics/span.hpp"
#include "sema/symbol_table.hpp"

namespace ovm::sema {

// The diagnostics that several passes of name resolution build alike.

// OV101 "no {} named `{}`", with help over the entities of `kind`, or over every global name
// when `kind` is `any`.
diagnostics::Diagnostic no_entity_named(const SymbolTable& table, diagnostics::Span span, std::string_view kind,
                                        std::string_view name);

// OV101 "`{}` is a {}, not a {}" for a name that is declared, but as something else.
diagnostics::Diagnostic not_of_kind(diagnostics::Span span, const Symbol& found, std::string_view kind);

// `code` with "`{}` is not declared" and help over every global name.
diagnostics::Diagnostic not_declared(const SymbolTable& table, diagnostics::DiagnosticCode code, diagnostics::Span span,
                                     std::string_view name);

// OV102 with `label` and the note "first declared here" at the earlier declaration.
diagnostics::Diagnostic already_declared(diagnostics::Span span, std::string_view label, diagnostics::Span earlier);

}  // namespace ovm::sema
