#include "sema/resolution_messages.hpp"

#include <vector>

#include "diagnostics/message_text.hpp"
#include "sema/suggest.hpp"
#include "sema/symbol_names.hpp"

namespace ovm::sema {

using diagnostics::Diagnostic;
using diagnostics::DiagnosticCode;
using diagnostics::Span;

Diagnostic no_entity_named(const SymbolTable& table, Span span, std::string_view kind, std::string_view name) {
  std::vector<std::string_view> candidates = kind == "any" ? global_names(table) : entity_names(table, kind);
  return Diagnostic(DiagnosticCode::OV101, span)
      .with_label(diagnostics::fill_message("no {} named `{}`", {kind, name}))
      .with_help(unknown_name_help(name, candidates));
}

Diagnostic not_of_kind(Span span, const Symbol& found, std::string_view kind) {
  return Diagnostic(DiagnosticCode::OV101, span)
      .with_label(diagnostics::fill_message("`{}` is a {}, not a {}", {found.name(), found.kind.display_word(), kind}));
}

Diagnostic not_declared(const SymbolTable& table, DiagnosticCode code, Span span, std::string_view name) {
  return Diagnostic(code, span)
      .with_label(diagnostics::fill_message("`{}` is not declared", {name}))
      .with_help(unknown_name_help(name, global_names(table)));
}

Diagnostic already_declared(Span span, std::string_view label, Span earlier) {
  return Diagnostic(DiagnosticCode::OV102, span).with_label(label).with_note(earlier, "first declared here");
}

}  // namespace ovm::sema
