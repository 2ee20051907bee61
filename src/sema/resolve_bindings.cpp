#include <cstddef>
#include <string>

#include "diagnostics/message_text.hpp"
#include "diagnostics/text_match.hpp"
#include "sema/builtins.hpp"
#include "sema/resolution_messages.hpp"
#include "sema/resolve_passes.hpp"

namespace ovm::sema {
namespace {

using diagnostics::Diagnostic;
using diagnostics::DiagnosticCode;

// PARAMETERS: `name = expression` binds a global parameter unless the name is taken by a
// backend or built in.
void bind_parameter(Resolution& resolution, const syntax::Statement& statement) {
  if (!std::holds_alternative<syntax::AssignmentBody>(statement.body())) return;
  std::string_view name = statement.key().text();
  diagnostics::Diagnostics& out = resolution.diagnostics;
  const Symbol* found = lookup_global(resolution.symbols, name);
  if (found && found->kind.tag == SymbolKind::Tag::BackendValue) {
    push_diagnostic(out, Diagnostic(DiagnosticCode::OV110, key_span(statement))
                             .with_label(diagnostics::fill_message("`{}` is produced by a backend and cannot be rebound", {name})));
    return;
  }
  if (is_builtin_name(name)) {
    push_diagnostic(out, Diagnostic(DiagnosticCode::OV110, key_span(statement))
                             .with_label(diagnostics::fill_message("`{}` is built in and cannot be rebound", {name})));
    return;
  }
  Symbol symbol{SymbolKind{SymbolKind::Tag::Parameter, {}}, name, key_span(statement)};
  if (auto earlier = declare_global(resolution.symbols, symbol)) {
    push_diagnostic(out,
                    already_declared(key_span(statement), diagnostics::fill_message("`{}` is already declared", {name}), *earlier));
  }
}

// PHREEQC: `export "column" to name` makes the name a value the backend produces. A name that
// is taken already stays what it was, without a word: the export only reads it.
void bind_backend_value(Resolution& resolution, const syntax::Statement& statement) {
  const auto body = syntax::body_as<syntax::ValuesBody>(statement);
  if (!body || body->values.empty()) return;
  const syntax::Value& last = body->values.back();
  if (last.kind != syntax::ValueKind::Identifier) return;
  declare_global(resolution.symbols,
                 Symbol{SymbolKind{SymbolKind::Tag::BackendValue, {}}, last.text(), last.span});
}

// `parameter name = expression` binds a name local to the block's scope. Built-in names are
// not refused: the expressions of the block still read them as built in.
void bind_local(Resolution& resolution, std::string_view scope, const syntax::Statement& statement) {
  const syntax::AssignmentBody* body = statement.assignment();
  if (!body || !body->target) return;
  const syntax::Name& target = *body->target;
  diagnostics::Diagnostics& out = resolution.diagnostics;
  if (lookup_global(resolution.symbols, target.text)) {
    push_diagnostic(out, Diagnostic(DiagnosticCode::OV108, target.span)
                             .with_label(diagnostics::fill_message("`{}` also exists at global scope", {target.text})));
  }
  Symbol symbol{SymbolKind{SymbolKind::Tag::Parameter, {}}, target.text, target.span};
  if (auto earlier = declare_local(resolution.symbols, scope, symbol)) {
    push_diagnostic(
        out,
        already_declared(target.span, diagnostics::fill_message("`{}` is already declared in this block", {target.text}), *earlier));
  }
}

}  // namespace

void bind_names(const syntax::ParseOutput& tree, Resolution& resolution) {
  for (std::size_t i = 0; i < tree.blocks.size(); ++i) {
    const BlockResolution& entry = resolution.blocks[i];
    if (!entry.spec) continue;
    const BlockSpec& kind = *entry.spec;
    bool backend = kind.declares == "Backend";
    std::optional<std::string_view> scope = entry.name(tree.blocks[i]);
    // The statements of other kinds bind nothing, and are not read.
    if (!kind.expressions_only && !backend && !(kind.local_parameters && scope)) continue;
    // Nested statements bind nothing.
    for (const syntax::Statement& statement : tree.blocks[i].statements) {
      if (kind.expressions_only) {
        bind_parameter(resolution, statement);
      } else if (backend && diagnostics::equals_ascii_folded(statement.key().text(), "export")) {
        bind_backend_value(resolution, statement);
      } else if (kind.local_parameters && scope && diagnostics::equals_ascii_folded(statement.key().text(), "parameter")) {
        bind_local(resolution, *scope, statement);
      }
    }
  }
}

}  // namespace ovm::sema
