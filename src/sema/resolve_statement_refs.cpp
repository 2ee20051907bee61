#include "sema/resolve_statement_refs.hpp"

#include <string>

#include "sema/builtins.hpp"
#include "sema/resolution_messages.hpp"

namespace ovm::sema {

void resolve_statement_refs(const SymbolTable& symbols, diagnostics::Diagnostics& out, std::string_view kind,
                            const syntax::Value& value) {
  // A species token such as Cr(VI), a string or a number is no name to look up.
  if (value.kind != syntax::ValueKind::Identifier) return;
  std::string_view text = value.text();
  if (is_builtin_name(text)) return;

  const Symbol* found = lookup_global(symbols, text);
  if (!found) {
    push_diagnostic(out, no_entity_named(symbols, value.span, kind, text));
    return;
  }
  if (kind == "any") return;
  if (is_entity_of(*found, kind)) return;
  push_diagnostic(out, not_of_kind(value.span, *found, kind));
}

}  // namespace ovm::sema
