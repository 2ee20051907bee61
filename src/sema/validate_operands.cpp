#include "sema/validate_operands.hpp"

#include <optional>
#include <string>
#include <string_view>
#include <type_traits>
#include <variant>

#include "diagnostics/message_text.hpp"
#include "sema/block_table.hpp"
#include "sema/builtins.hpp"

namespace ovm::sema {
namespace {

using diagnostics::Diagnostic;
using diagnostics::DiagnosticCode;
using syntax::SyntaxExpr;

constexpr std::string_view operand_help = "an expression reads numbers, parameters, `time`, `T` and `R`";

struct OperandCheck {
  ValidationContext& context;
  std::optional<std::string_view> scope;

  void report(Diagnostic diagnostic) { push_diagnostic(context.diagnostics, std::move(diagnostic)); }

  void name(std::string_view text, diagnostics::Span span) {
    if (is_builtin_name(text)) return;
    const Symbol* found = lookup(*context.symbols, scope, text);
    if (found == nullptr || found->kind.tag != SymbolKind::Tag::Entity) return;  // unknown names: resolution
    report(Diagnostic(DiagnosticCode::OV107, span)
               .with_label(diagnostics::fill_message("`{}` is a {}, not a number", {text, found->kind.display_word()}))
               .with_help(operand_help));
  }

  void qualified(const SyntaxExpr::Qualified& node, diagnostics::Span span) {
    const Symbol* head = lookup_global(*context.symbols, node.path.front().text);
    if (head == nullptr || head->kind.tag != SymbolKind::Tag::Entity) return;  // reported by resolution
    std::string text;
    for (const syntax::Name& part : node.path) text += (text.empty() ? "" : ".") + std::string(part.text);
    report(Diagnostic(DiagnosticCode::OV107, span)
               .with_label(diagnostics::fill_message("an expression cannot read `{}`", {text}))
               .with_help(std::string(operand_help) +
                          "; OUTPUT `variable` and MODEL `until` read what a reservoir holds"));
  }

  // Recursive: the parser bounds the height of every expression tree.
  void operand(const SyntaxExpr& expr) {
    std::visit(
        [&](const auto& node) {
          using Node = std::decay_t<decltype(node)>;
          if constexpr (std::is_same_v<Node, SyntaxExpr::Ident>) {
            name(node.name, expr.span);
          } else if constexpr (std::is_same_v<Node, SyntaxExpr::Qualified>) {
            qualified(node, expr.span);
          } else if constexpr (std::is_same_v<Node, SyntaxExpr::Literal>) {
            std::string label = diagnostics::fill_message("a {} has no arithmetic value", {syntax::display_name(node.of->kind)});
            report(Diagnostic(DiagnosticCode::OV202, node.of->span).with_label(label));
          } else if constexpr (std::is_same_v<Node, SyntaxExpr::Call>) {
            for (const SyntaxExpr& argument : node.args) operand(argument);
          } else if constexpr (std::is_same_v<Node, SyntaxExpr::Unary>) {
            operand(*node.operand);
          } else if constexpr (std::is_same_v<Node, SyntaxExpr::Binary>) {
            operand(*node.lhs);
            operand(*node.rhs);
          }
        },
        expr.kind());
  }

  // Nesting is bounded by the parser. `whole_checked`: the block checks already refuse an
  // assignment whose whole expression is a literal.
  void statement(const syntax::Statement& statement, bool whole_checked) {
    if (const syntax::AssignmentBody* assignment = statement.assignment()) {
      if (whole_checked && std::holds_alternative<SyntaxExpr::Literal>(assignment->expr->kind())) return;
      operand(*assignment->expr);
    } else if (const auto condition = syntax::body_as<syntax::ConditionBody>(statement)) {
      // The left side names what is compared: a reference or a name, checked as such.
      const SyntaxExpr& subject = *condition->comparison->lhs;
      bool named = std::holds_alternative<SyntaxExpr::Qualified>(subject.kind()) ||
                   std::holds_alternative<SyntaxExpr::Ident>(subject.kind());
      if (!named) operand(subject);
      operand(*condition->comparison->rhs);
    } else if (const auto nested = syntax::body_as<syntax::NestedBody>(statement)) {
      for (const syntax::Statement& inner : nested->statements) this->statement(inner, false);
    }
  }
};

// Whether validate_block gives the statement the literal check of an assignment: PARAMETERS
// statements and the statements of known properties, not the `parameter` lines of a block.
bool literal_checked(const BlockSpec& kind, const syntax::Statement& statement) {
  if (kind.expressions_only) return true;
  if (kind.local_parameters && statement.key().text() == "parameter") return false;
  return find_property_spec(kind, statement.key().text()) != nullptr;
}

}  // namespace

void check_operands(ValidationContext& context, const syntax::ParseOutput& tree, const Resolution& resolution) {
  if (context.symbols == nullptr) return;
  for (std::size_t i = 0; i < tree.blocks.size() && i < resolution.blocks.size(); ++i) {
    const BlockSpec* kind = resolution.blocks[i].spec;
    // The kinds whose bodies the block checks pass over.
    if (kind == nullptr || !kind->implemented || kind->content_line || kind->law_body) continue;
    OperandCheck check{context, resolution.blocks[i].name(tree.blocks[i])};
    for (const syntax::Statement& statement : tree.blocks[i].statements) {
      // Only an assignment asks; the property lookup is spared for every other statement.
      bool assignment = statement.assignment() != nullptr;
      check.statement(statement, assignment && literal_checked(*kind, statement));
    }
  }
}

}  // namespace ovm::sema
