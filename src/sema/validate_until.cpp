#include "sema/validate_until.hpp"

#include <array>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <variant>

#include "diagnostics/message_text.hpp"
#include "diagnostics/text_match.hpp"
#include "sema/isotope.hpp"
#include "sema/resolution_messages.hpp"
#include "sema/unit_registry.hpp"
#include "sema/validate_named_numbers.hpp"
#include "sema/validate_reading.hpp"
#include "sema/validate_units.hpp"

namespace ovm::sema {
namespace {

using diagnostics::Diagnostic;
using diagnostics::DiagnosticCode;
using syntax::SyntaxExpr;

constexpr auto time_dimension = std::to_array<std::string_view>({"time"});
constexpr auto delta_dimension = std::to_array<std::string_view>({"delta"});
constexpr auto fraction_dimension = std::to_array<std::string_view>({"dimensionless"});
constexpr auto amount_dimensions = std::to_array<std::string_view>({"molality", "mass_concentration"});
constexpr auto molality_dimension = std::to_array<std::string_view>({"molality"});
constexpr auto mass_concentration_dimension = std::to_array<std::string_view>({"mass_concentration"});

std::span<const std::string_view> dimension_span(std::string_view dimension) {
  if (dimension == "molality") return molality_dimension;
  if (dimension == "mass_concentration") return mass_concentration_dimension;
  return amount_dimensions;
}

// What a unit text measures, when the registry knows it.
std::optional<std::string_view> unit_dimension(std::string_view text) {
  std::optional<UnitMatch> unit = unit_lookup(text);
  if (!unit) return std::nullopt;
  return unit->dimension.name;
}

// What the pool line of `species` in the reservoir is measured in, read as lowering reads it:
// the unit written, a leading unit word, the unit of a parameter named there, else the UNITS
// default of molality, then of mass concentration. Both when the reservoir has no such line.
std::span<const std::string_view> pool_dimensions(const ValidationContext& context, std::string_view reservoir,
                                                  std::string_view species) {
  for (const syntax::Block& block : context.tree->blocks) {
    if (!diagnostics::equals_ascii_folded(block.keyword(), "reservoir") || !block.name() || block.name()->text != reservoir) continue;
    for (const syntax::Statement& statement : block.statements) {
      const std::optional<syntax::ValuesBody> body = values_body(statement);
      if (statement.key().kind != syntax::StatementKey::Kind::Species || statement.key().text() != species || !body) continue;
      std::optional<std::string_view> dimension;
      if (body->unit) dimension = unit_dimension(body->unit->text());
      if (!dimension && !body->values.empty() && body->values.front().kind == syntax::ValueKind::Identifier) {
        std::string_view word = value_text(body->values.front());
        dimension = unit_dimension(word);
        const syntax::AssignmentBody* definition = find_parameter_definition(context, reservoir, word);
        if (!dimension && definition != nullptr && definition->unit != nullptr) {
          dimension = unit_dimension(definition->unit->text());
        }
      }
      if (!dimension && context.unit_defaults.contains("molality")) dimension = "molality";
      if (!dimension && context.unit_defaults.contains("mass_concentration")) dimension = "mass_concentration";
      return dimension ? dimension_span(*dimension) : amount_dimensions;
    }
  }
  return amount_dimensions;
}

// The dimensions the subject is measured in; none when its parts do not say (those are
// reported where references are resolved).
std::span<const std::string_view> subject_dimensions(const ValidationContext& context,
                                                     std::span<const syntax::Name> path) {
  if (path.size() == 2) {
    if (parse_delta_name(path[1].text)) return delta_dimension;
    return pool_dimensions(context, path[0].text, path[1].text);
  }
  if (path.size() != 3) return {};
  if (path[2].text == "reacted" || path[2].text == "remaining") return fraction_dimension;
  if (parse_delta_name(path[2].text)) return delta_dimension;
  return {};
}

void report(ValidationContext& context, DiagnosticCode code, diagnostics::Span span, std::string label,
            std::string_view help) {
  push_diagnostic(context.diagnostics, Diagnostic(code, span).with_label(label).with_help(std::string(help)));
}

constexpr std::string_view subject_help = "stop on `time` or on a quantity of a reservoir, such as "
                                          "`until time >= 60 d` or `until Sea.Cr(VI) < 2 umol/kgw`";

// The subject's dimensions, or nothing (reported) when the run could not read the subject.
std::optional<std::span<const std::string_view>> subject_of(ValidationContext& context, const SyntaxExpr& lhs) {
  const SyntaxExpr::Kind kind = lhs.kind();
  if (const auto* ident = std::get_if<SyntaxExpr::Ident>(&kind); ident && ident->name == "time") {
    return std::span<const std::string_view>(time_dimension);
  }
  const auto* qualified = std::get_if<SyntaxExpr::Qualified>(&kind);
  if (qualified == nullptr) {
    report(context, DiagnosticCode::OV202, lhs.span, "a stop condition needs `time` or a reservoir quantity here",
           subject_help);
    return std::nullopt;
  }
  const syntax::Name& head = qualified->path.front();
  const Symbol* symbol = lookup_global(*context.symbols, head.text);
  // An undeclared head or a scalar one is reported where names are resolved.
  if (symbol == nullptr || symbol->kind.tag != SymbolKind::Tag::Entity) return std::nullopt;
  if (symbol->kind.entity() != "Reservoir") {
    push_diagnostic(context.diagnostics, not_of_kind(head.span, *symbol, "Reservoir").with_help(std::string(subject_help)));
    return std::nullopt;
  }
  return subject_dimensions(context, qualified->path);
}

// A right side that is itself a name without a number (undeclared, an entity, a dotted name):
// resolution reports it already.
bool names_no_number(const ValidationContext& context, const SyntaxExpr& rhs) {
  const SyntaxExpr::Kind kind = rhs.kind();
  if (std::holds_alternative<SyntaxExpr::Qualified>(kind)) return true;
  const auto* ident = std::get_if<SyntaxExpr::Ident>(&kind);
  if (ident == nullptr) return false;
  const Symbol* symbol = lookup_global(*context.symbols, ident->name);
  return symbol == nullptr ? ident->name != "time" && ident->name != "T" : symbol->kind.tag == SymbolKind::Tag::Entity;
}

}  // namespace

void check_until(ValidationContext& context, const syntax::ConditionBody& condition) {
  std::optional<std::span<const std::string_view>> dimensions = subject_of(context, *condition.comparison->lhs);
  if (!is_constant_expression(*condition.comparison->rhs) && !names_no_number(context, *condition.comparison->rhs)) {
    report(context, DiagnosticCode::OV202, condition.comparison->rhs->span, "the stop value must be a number",
           "a parameter or an expression is not evaluated for `until`: write the number, with its unit");
  }
  if (!dimensions || dimensions->empty() || condition.unit == nullptr) return;
  check_unit_name(context, condition.unit->text(), condition.unit->span, *dimensions);
}

}  // namespace ovm::sema
