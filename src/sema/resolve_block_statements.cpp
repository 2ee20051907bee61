#include "sema/resolve_block_statements.hpp"

#include <string>
#include <type_traits>
#include <variant>

#include "sema/block_table.hpp"
#include "sema/main_value.hpp"
#include "sema/resolve_expression.hpp"
#include "sema/resolve_statement_refs.hpp"
#include "sema/unit_registry.hpp"

namespace ovm::sema {
namespace {

using syntax::Value;
using syntax::ValueKind;

struct StatementUses {
  const SymbolTable& symbols;
  diagnostics::Diagnostics& out;
  std::optional<std::string_view> scope;
  const PropertySpec* property;  // null when the key is no property of the kind

  void values(const syntax::ValuesBody& body) const {
    if (!property || body.values.empty()) return;
    bool refers = property->shape == StatementShape::Reference || property->shape == StatementShape::NamedNumber;
    if (property->reference_kind && refers) {
      resolve_statement_refs(symbols, out, *property->reference_kind, body.values.front());
    }
    number_written_as_name(body);
  }

  // A number may be given by the name of a parameter (constant k): it is then read like a name
  // in an expression.
  void number_written_as_name(const syntax::ValuesBody& body) const {
    if (property->value_type != PropertyType::Number) return;
    std::size_t main = main_value_index(*property);
    if (main >= body.values.size()) return;
    const Value& value = body.values[main];
    if (value.kind != ValueKind::Identifier) return;
    resolve_number_name(symbols, out, scope, value.text(), value.span);
  }

  // A species or delta line may give its number as a name too; a leading unit word is none.
  void line(const syntax::ValuesBody& body) const {
    if (body.values.empty() || body.values.front().kind != ValueKind::Identifier) return;
    const Value& value = body.values.front();
    std::string_view name = value.text();
    if (unit_lookup(name)) return;
    resolve_number_name(symbols, out, scope, name, value.span);
  }

  void list(const syntax::ListBody& body) const {
    if (!property || !property->reference_kind) return;
    for (const Value& item : body.items) resolve_statement_refs(symbols, out, *property->reference_kind, item);
  }
};

}  // namespace

void resolve_block_statements(const SymbolTable& symbols, diagnostics::Diagnostics& out, const BlockSpec& kind,
                              std::optional<std::string_view> scope, const syntax::Statement& statement) {
  // Only the values of a word key and a list read the property: other statements spare the lookup.
  using KeyKind = syntax::StatementKey::Kind;
  const syntax::StatementKey key = statement.key();
  const syntax::StatementBody statement_body = statement.body();
  bool reads_property = std::holds_alternative<syntax::ListBody>(statement_body) ||
                        (std::holds_alternative<syntax::ValuesBody>(statement_body) && key.kind == KeyKind::Word);
  StatementUses uses{symbols, out, scope, reads_property ? find_property_spec(kind, key.text()) : nullptr};
  // Nesting is bounded by the parser, so this recursion is bounded too.
  std::visit(
      [&](const auto& body) {
        using Body = std::decay_t<decltype(body)>;
        if constexpr (std::is_same_v<Body, syntax::ValuesBody>) {
          if (key.kind == KeyKind::Word) {
            uses.values(body);
          } else if (key.kind == KeyKind::Species ? kind.species_lines : kind.delta_lines) {
            uses.line(body);
          }
        } else if constexpr (std::is_same_v<Body, syntax::AssignmentBody>) {
          resolve_expression(symbols, out, scope, *body.expr);
        } else if constexpr (std::is_same_v<Body, syntax::ListBody>) {
          uses.list(body);
        } else if constexpr (std::is_same_v<Body, syntax::ConditionBody>) {
          resolve_expression(symbols, out, scope, *body.comparison->lhs);
          resolve_expression(symbols, out, scope, *body.comparison->rhs);
        } else {
          for (const syntax::Statement& nested : body.statements) {
            resolve_block_statements(symbols, out, kind, scope, nested);
          }
        }
      },
      statement_body);
}

}  // namespace ovm::sema
