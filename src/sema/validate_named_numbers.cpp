#include "sema/validate_named_numbers.hpp"

#include <string>

#include "diagnostics/message_text.hpp"
#include "diagnostics/text_match.hpp"
#include "sema/builtins.hpp"
#include "sema/unit_registry.hpp"
#include "sema/validate_facts.hpp"
#include "sema/validate_reading.hpp"
#include "sema/validate_units.hpp"

namespace ovm::sema {
namespace {

using diagnostics::Diagnostic;
using diagnostics::DiagnosticCode;
using syntax::SyntaxExpr;

void report(ValidationContext& context, DiagnosticCode code, diagnostics::Span span, std::string label,
            std::string help) {
  push_diagnostic(context.diagnostics, Diagnostic(code, span).with_label(label).with_help(help));
}

}  // namespace

const syntax::AssignmentBody* find_parameter_definition(const ValidationContext& context,
                                                        std::optional<std::string_view> scope, std::string_view name) {
  auto find = [&](std::string_view owner) -> const syntax::AssignmentBody* {
    std::optional<std::size_t> at = parameter_position(context, owner, name);
    return at ? &context.parameter_definitions[*at].assignment() : nullptr;
  };
  if (scope) {
    if (const syntax::AssignmentBody* own = find(*scope)) return own;
  }
  return find({});
}

std::optional<double> constant_expression_value(const SyntaxExpr& expression) {
  // A loop over the negations: nothing here recurses.
  bool negated = false;
  SyntaxExpr::Kind node = expression.kind();
  while (const auto* unary = std::get_if<SyntaxExpr::Unary>(&node)) {
    negated = !negated;
    node = unary->operand->kind();
  }
  std::optional<double> value;
  if (const auto* number = std::get_if<SyntaxExpr::Number>(&node)) value = number->value;
  if (const auto* ident = std::get_if<SyntaxExpr::Ident>(&node)) {
    if (const NamedConstant* constant = find_named_constant(ident->name)) value = constant->value;
  }
  if (!value) return std::nullopt;
  return negated ? -*value : *value;
}

bool is_constant_expression(const SyntaxExpr& expression) { return constant_expression_value(expression).has_value(); }

void check_named_number(ValidationContext& context, std::optional<std::string_view> scope, const syntax::Value& name,
                        const syntax::Statement& statement, const syntax::UnitExpr* statement_unit,
                        std::span<const std::string_view> dimensions) {
  std::string_view text = value_text(name);
  const syntax::AssignmentBody* definition = find_parameter_definition(context, scope, text);
  if (definition == nullptr) {
    // An undeclared name is reported where names are resolved; a backend value is not known
    // before the run.
    if (!is_scalar_name(context, text)) return;
    report(context, DiagnosticCode::OV202, name.span,
           diagnostics::fill_message("`{}` is a backend value, known only once its backend has run", {text}),
           "write the number here, or name a parameter set to one");
    return;
  }
  if (!is_constant_expression(*definition->expr)) {
    report(context, DiagnosticCode::OV202, name.span,
           diagnostics::fill_message("`{}` is set to an expression, and a number is needed here", {text}),
           "this value is read once before the run: set the parameter to a number, such as `k = 0.05 1/d`");
    return;
  }
  if (dimensions.empty()) return;  // a number without a dimension, such as a mixing fraction
  if (definition->unit == nullptr) {
    // A unit cannot follow a name (it would read as another value): it goes with the value.
    if (statement_unit != nullptr || unit_may_be_omitted(context, dimensions)) {
      check_unit(context, statement_unit, dimensions, statement.span);
      return;
    }
    report(context, DiagnosticCode::OV205, name.span,
           diagnostics::fill_message("`{}` has no unit, and several units measure {}", {text, joined_with_or(dimensions)}),
           diagnostics::fill_message("write its unit after the value where `{}` is set", {text}));
    return;
  }
  if (statement_unit != nullptr) {
    report(context, DiagnosticCode::OV204, statement_unit->span,
           diagnostics::fill_message("`{}` is given in `{}` already", {text, definition->unit->text()}),
           "write no unit after the name, or none after the parameter's value");
    return;
  }
  std::optional<UnitMatch> unit = unit_lookup(definition->unit->text());
  if (!unit || diagnostics::contains_str(unit->dimension.name, dimensions)) return;
  report(context, DiagnosticCode::OV204, name.span,
         diagnostics::fill_message("`{}` is given in `{}`, which measures {}, not {}",
                      {text, definition->unit->text(), unit->dimension.name, joined_with_or(dimensions)}),
         "give the parameter a unit of what this statement measures");
}

}  // namespace ovm::sema
