#include "sema/validate_units.hpp"

#include <algorithm>
#include <string>
#include <vector>

#include "diagnostics/message_text.hpp"
#include "diagnostics/text_match.hpp"
#include "sema/suggest.hpp"
#include "sema/unit_registry.hpp"

namespace ovm::sema {
namespace {

using diagnostics::Diagnostic;
using diagnostics::DiagnosticCode;

std::vector<std::string_view> unit_names(std::span<const std::string_view> dimensions) {
  std::vector<std::string_view> names;
  for (std::string_view dimension : dimensions) {
    std::vector<std::string_view> units = units_of_dimension(dimension);
    names.insert(names.end(), units.begin(), units.end());
  }
  return names;
}

}  // namespace

bool unit_may_be_omitted(const ValidationContext& context, std::span<const std::string_view> dimensions) {
  return std::any_of(dimensions.begin(), dimensions.end(), [&](std::string_view dimension) {
    const DimensionDef* known = dimension_lookup(dimension);
    return (known != nullptr && known->units.size() == 1) || context.unit_defaults.contains(dimension);
  });
}

std::string joined_with_or(std::span<const std::string_view> texts) {
  std::string out;
  for (std::size_t i = 0; i < texts.size(); ++i) {
    if (i > 0) out += " or ";
    out += texts[i];
  }
  return out;
}

void check_unit_name(ValidationContext& context, std::string_view text, diagnostics::Span span,
                     std::span<const std::string_view> dimensions) {
  std::optional<UnitMatch> unit = unit_lookup(text);
  if (!unit) {
    push_diagnostic(context.diagnostics, Diagnostic(DiagnosticCode::OV008, span)
                                             .with_label(diagnostics::fill_message("`{}` is not a known unit", {text}))
                                             .with_help(unknown_name_help(text, unit_names(dimensions))));
    return;
  }
  if (diagnostics::contains_str(unit->dimension.name, dimensions)) return;
  std::string label =
      diagnostics::fill_message("`{}` measures {}, not {}", {text, unit->dimension.name, joined_with_or(dimensions)});
  push_diagnostic(context.diagnostics, Diagnostic(DiagnosticCode::OV204, span).with_label(label));
}

void check_unit(ValidationContext& context, const syntax::UnitExpr* unit,
                std::span<const std::string_view> dimensions, diagnostics::Span span) {
  if (unit) {
    check_unit_name(context, unit->text(), unit->span, dimensions);
    return;
  }
  if (unit_may_be_omitted(context, dimensions)) return;
  std::string label = diagnostics::fill_message("several units measure {}, so one has to be written", {joined_with_or(dimensions)});
  push_diagnostic(context.diagnostics, Diagnostic(DiagnosticCode::OV205, span).with_label(label));
}

}  // namespace ovm::sema
