#include "sema/resolve_expression.hpp"

#include <type_traits>

#include "diagnostics/message_text.hpp"
#include "sema/builtins.hpp"
#include "sema/functions.hpp"
#include "sema/resolution_messages.hpp"
#include "sema/suggest.hpp"

namespace ovm::sema {
namespace {

using diagnostics::Diagnostic;
using diagnostics::DiagnosticCode;
using diagnostics::Span;
using syntax::SyntaxExpr;

// Only the head of a qualified name is resolved, and only among the globals: the later parts
// name properties of an entity, which lowering reads.
void resolve_qualified(const SymbolTable& symbols, diagnostics::Diagnostics& out, const SyntaxExpr::Qualified& node,
                       Span whole) {
  const syntax::Name& head = node.path.front();
  const Symbol* found = lookup_global(symbols, head.text);
  if (!found) {
    push_diagnostic(out, not_declared(symbols, DiagnosticCode::OV101, head.span, head.text));
    return;
  }
  if (found->kind.tag == SymbolKind::Tag::Entity) return;
  push_diagnostic(out, Diagnostic(DiagnosticCode::OV109, whole)
                           .with_label(diagnostics::fill_message("`{}` is a scalar and has no properties", {head.text})));
}

// A call's name has no span of its own; it is the first token of the call.
void check_function(diagnostics::Diagnostics& out, const SyntaxExpr::Call& call, Span whole) {
  if (is_function_name(call.name)) return;
  Span name_span{whole.file, whole.start, whole.start + static_cast<std::uint32_t>(call.name.size())};
  push_diagnostic(out, Diagnostic(DiagnosticCode::OV107, name_span)
                           .with_label(diagnostics::fill_message("`{}` is not a known function", {call.name}))
                           .with_help(known_names_help(function_names)));
}

}  // namespace

void resolve_number_name(const SymbolTable& symbols, diagnostics::Diagnostics& out,
                         std::optional<std::string_view> scope, std::string_view name, Span span) {
  if (is_builtin_name(name)) return;
  if (lookup(symbols, scope, name)) return;
  push_diagnostic(out, not_declared(symbols, DiagnosticCode::OV107, span, name));
}

void resolve_expression(const SymbolTable& symbols, diagnostics::Diagnostics& out,
                        std::optional<std::string_view> scope, const SyntaxExpr& expression) {
  // The parser bounds the height of every expression tree, so this recursion is bounded too.
  std::visit(
      [&](const auto& node) {
        using Node = std::decay_t<decltype(node)>;
        if constexpr (std::is_same_v<Node, SyntaxExpr::Ident>) {
          resolve_number_name(symbols, out, scope, node.name, expression.span);
        } else if constexpr (std::is_same_v<Node, SyntaxExpr::Qualified>) {
          resolve_qualified(symbols, out, node, expression.span);
        } else if constexpr (std::is_same_v<Node, SyntaxExpr::Call>) {
          check_function(out, node, expression.span);
          for (const SyntaxExpr& argument : node.args) resolve_expression(symbols, out, scope, argument);
        } else if constexpr (std::is_same_v<Node, SyntaxExpr::Unary>) {
          resolve_expression(symbols, out, scope, *node.operand);
        } else if constexpr (std::is_same_v<Node, SyntaxExpr::Binary>) {
          resolve_expression(symbols, out, scope, *node.lhs);
          resolve_expression(symbols, out, scope, *node.rhs);
        }
        // Numbers, literals and error nodes name nothing.
      },
      expression.kind());
}

}  // namespace ovm::sema
