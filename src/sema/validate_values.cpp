#include "sema/validate_values.hpp"

#include <string>
#include <variant>

#include "diagnostics/message_text.hpp"
#include "diagnostics/text_match.hpp"
#include "sema/main_value.hpp"
#include "sema/suggest.hpp"
#include "sema/validate_facts.hpp"
#include "sema/validate_isotopes.hpp"
#include "sema/validate_modifiers.hpp"
#include "sema/validate_named_numbers.hpp"
#include "sema/validate_ranges.hpp"
#include "sema/validate_reading.hpp"
#include "sema/validate_units.hpp"

namespace ovm::sema {
namespace {

using diagnostics::Diagnostic;
using diagnostics::DiagnosticCode;
using syntax::ValueKind;

bool accepts(const PropertySpec& property, const syntax::Value& value) {
  ValueKind kind = value.kind;
  switch (property.value_type) {
    case PropertyType::Text:
      return kind == ValueKind::Identifier || kind == ValueKind::Species || kind == ValueKind::String;
    case PropertyType::String: return kind == ValueKind::String;
    case PropertyType::Identifier: return kind == ValueKind::Identifier;
    case PropertyType::Number: return kind == ValueKind::Number;
    case PropertyType::Date: return kind == ValueKind::Date;
    case PropertyType::Version: return kind == ValueKind::Number;
    case PropertyType::Path: return kind == ValueKind::String;
    case PropertyType::Ratio: return kind == ValueKind::Ratio;
    case PropertyType::Enum:
      return kind == ValueKind::Identifier && diagnostics::contains_str(value_text(value), property.admissible_values);
    case PropertyType::Species: return kind == ValueKind::Identifier || kind == ValueKind::Species;
    case PropertyType::None: return true;
  }
  return true;
}

// Reports a main value of the wrong kind; false when the statement's remaining checks are off.
bool check_main_kind(ValidationContext& context, const PropertySpec& property, const syntax::Value& value) {
  if (accepts(property, value)) {
    if (property.value_type == PropertyType::Ratio) check_ratio_elements(context, value_text(value), value.span);
    return true;
  }
  if (property.value_type == PropertyType::Ratio) {
    push_diagnostic(context.diagnostics,
                    Diagnostic(DiagnosticCode::OV103, value.span)
                        .with_label("expected an isotope ratio")
                        .with_help("ratios are written mass then symbol on both sides, as in `53Cr/52Cr`"));
  } else if (property.value_type == PropertyType::Enum) {
    std::string_view word = value.kind == ValueKind::Identifier ? value_text(value) : std::string_view{};
    push_diagnostic(context.diagnostics, Diagnostic(DiagnosticCode::OV202, value.span)
                                             .with_label(diagnostics::fill_message("`{}` is not admissible here", {property.key}))
                                             .with_help(unknown_name_help(word, property.admissible_values)));
  } else {
    std::string label = diagnostics::fill_message("expected {}, found {}",
                                     {diagnostics::lowered_ascii(as_str(property.value_type)), syntax::display_name(value.kind)});
    push_diagnostic(context.diagnostics, Diagnostic(DiagnosticCode::OV202, value.span).with_label(label));
  }
  return false;
}

// A qualified name whose head is a parameter or a backend value reads a property of a number.
void check_scalar_heads(ValidationContext& context, std::span<const syntax::Value> values) {
  for (const syntax::Value& value : values) {
    if (value.kind != ValueKind::Qualified) continue;
    std::span<const std::string_view> parts = value.parts();
    std::string_view head = parts.empty() ? std::string_view{} : parts.front();
    if (!is_scalar_name(context, head)) continue;
    push_diagnostic(context.diagnostics,
                    Diagnostic(DiagnosticCode::OV109, value.span)
                        .with_label(diagnostics::fill_message("`{}` is a scalar and has no properties", {head})));
  }
}

void check_statement_unit(ValidationContext& context, const PropertySpec& property, const syntax::Statement& statement,
                          const syntax::ValuesBody& body) {
  if (!property.admissible_dimensions.empty()) {
    // The UNITS keys name a unit as their value; a unit expression such as mg/L is not one.
    if (body.values.empty() || body.values.front().kind != ValueKind::Identifier) return;
    const syntax::Value& first = body.values.front();
    check_unit_name(context, value_text(first), first.span, property.admissible_dimensions);
    return;
  }
  if (property.dimension) check_unit(context, body.unit, std::span(&*property.dimension, 1), statement.span);
}

}  // namespace

void check_values(ValidationContext& context, const PropertySpec& property, const syntax::Statement& statement,
                  const syntax::ValuesBody& body, std::optional<std::string_view> scope) {
  std::span<const syntax::Value> values = body.values;
  std::size_t main = main_value_index(property);
  check_scalar_heads(context, values);
  bool check_the_unit = true;
  if (property.value_type != PropertyType::None && main < values.size()) {
    const syntax::Value& value = values[main];
    if (property.value_type == PropertyType::Number && value.kind == ValueKind::Identifier) {
      // A name standing for a number. One the run evaluates has a value, and so a unit, not
      // known here; any other is read before the run and must be a constant.
      check_the_unit = false;
      if (!property.evaluated) {
        std::span<const std::string_view> dimensions;
        if (property.dimension) dimensions = std::span(&*property.dimension, 1);
        check_named_number(context, scope, value, statement, body.unit, dimensions);
      }
    } else {
      if (!check_main_kind(context, property, value)) return;
      bool numeric = property.value_type == PropertyType::Number || property.value_type == PropertyType::Version;
      std::optional<double> number = value_number(value);
      if (numeric && number && property.dimension) check_ranges(context, property, *number, value.span);
    }
  }
  check_modifiers(context, property, values, main);
  if (check_the_unit) check_statement_unit(context, property, statement, body);
}

void check_list(ValidationContext& context, const PropertySpec& property, const syntax::ListBody& list) {
  for (const syntax::Value& item : list.items) {
    std::string found(syntax::display_name(item.kind));
    if (item.kind == ValueKind::Unreadable) {
      push_diagnostic(context.diagnostics,
                      Diagnostic(DiagnosticCode::OV202, item.span)
                          .with_label(diagnostics::fill_message("`{}` is not readable as a value", {value_text(item)})));
    } else if (property.value_type == PropertyType::Number && item.kind != ValueKind::Number) {
      push_diagnostic(context.diagnostics, Diagnostic(DiagnosticCode::OV202, item.span)
                                               .with_label(diagnostics::fill_message("expected a number, found {}", {found})));
    } else if (property.value_type == PropertyType::Enum && item.kind != ValueKind::Identifier) {
      push_diagnostic(
          context.diagnostics,
          Diagnostic(DiagnosticCode::OV202, item.span).with_label(diagnostics::fill_message("expected a name, found {}", {found})));
    } else if (property.value_type == PropertyType::Enum &&
               !diagnostics::contains_str(value_text(item), property.admissible_values)) {
      push_diagnostic(context.diagnostics,
                      Diagnostic(DiagnosticCode::OV202, item.span)
                          .with_label(diagnostics::fill_message("`{}` is not admissible here", {value_text(item)}))
                          .with_help(unknown_name_help(value_text(item), property.admissible_values)));
    }
  }
}

void check_literal_assignment(ValidationContext& context, const syntax::AssignmentBody& assignment) {
  const syntax::SyntaxExpr::Kind kind = assignment.expr->kind();
  const auto* literal = std::get_if<syntax::SyntaxExpr::Literal>(&kind);
  if (literal == nullptr) return;
  std::string label = diagnostics::fill_message("a {} has no arithmetic value", {syntax::display_name(literal->of->kind)});
  push_diagnostic(context.diagnostics, Diagnostic(DiagnosticCode::OV202, literal->of->span).with_label(label));
}

}  // namespace ovm::sema
