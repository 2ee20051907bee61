#include "sema/validate_modifiers.hpp"

#include <string>
#include <string_view>

#include "diagnostics/message_text.hpp"
#include "diagnostics/text_match.hpp"
#include "sema/suggest.hpp"
#include "sema/validate_isotopes.hpp"
#include "sema/validate_reading.hpp"

namespace ovm::sema {
namespace {

using diagnostics::Diagnostic;
using diagnostics::DiagnosticCode;
using syntax::ValueKind;

std::optional<std::size_t> find_modifier(const PropertySpec& property, std::string_view word) {
  for (std::size_t i = 0; i < property.modifiers.size(); ++i) {
    if (diagnostics::equals_ascii_folded(property.modifiers[i].name, word)) return i;
  }
  return std::nullopt;
}

std::vector<std::string_view> modifier_names(const PropertySpec& property) {
  std::vector<std::string_view> names;
  for (const ModifierSpec& modifier : property.modifiers) names.push_back(modifier.name);
  return names;
}

// Walks the word-value pairs; false when a value out of place stopped it.
bool walk_modifiers(ValidationContext& context, const PropertySpec& property, std::span<const syntax::Value> values,
                    std::size_t main, std::vector<bool>& seen) {
  for (std::size_t i = main + 1; i < values.size(); i += 2) {
    const syntax::Value& word = values[i];
    if (word.kind != ValueKind::Identifier) {
      push_diagnostic(context.diagnostics,
                      Diagnostic(DiagnosticCode::OV202, word.span)
                          .with_label(diagnostics::fill_message("`{}` takes no further value here", {property.key})));
      return false;
    }
    std::optional<std::size_t> index = find_modifier(property, value_text(word));
    if (!index) {
      push_diagnostic(context.diagnostics,
                      Diagnostic(DiagnosticCode::OV202, word.span)
                          .with_label(diagnostics::fill_message("`{}` is not a modifier of `{}`", {value_text(word), property.key}))
                          .with_help(unknown_name_help(value_text(word), modifier_names(property))));
      return false;
    }
    const ModifierSpec& modifier = property.modifiers[*index];
    seen[*index] = true;
    if (i + 1 == values.size()) {
      push_diagnostic(
          context.diagnostics,
          Diagnostic(DiagnosticCode::OV211, word.span).with_label(diagnostics::fill_message("`{}` needs a value", {modifier.name})));
      return true;
    }
    if (modifier.value_type != PropertyType::Ratio) continue;
    const syntax::Value& ratio = values[i + 1];
    if (ratio.kind != ValueKind::Ratio) {
      push_diagnostic(context.diagnostics,
                      Diagnostic(DiagnosticCode::OV103, ratio.span)
                          .with_label(diagnostics::fill_message("`{}` takes an isotope ratio", {modifier.name})));
      return false;
    }
    check_ratio_elements(context, value_text(ratio), ratio.span);
  }
  return true;
}

}  // namespace

void check_modifiers(ValidationContext& context, const PropertySpec& property, std::span<const syntax::Value> values,
                     std::size_t main) {
  std::vector<bool> seen(property.modifiers.size(), false);
  if (!walk_modifiers(context, property, values, main, seen) || values.empty()) return;
  for (std::size_t i = 0; i < property.modifiers.size(); ++i) {
    const ModifierSpec& modifier = property.modifiers[i];
    if (!modifier.required || seen[i]) continue;
    std::string label = diagnostics::fill_message("`{}` requires the `{}` modifier", {property.key, modifier.name});
    push_diagnostic(context.diagnostics, Diagnostic(DiagnosticCode::OV211, values.front().span).with_label(label));
  }
}

}  // namespace ovm::sema
