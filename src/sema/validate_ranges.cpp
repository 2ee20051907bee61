#include "sema/validate_ranges.hpp"

#include <array>

#include "diagnostics/message_number.hpp"
#include "diagnostics/message_text.hpp"
#include "diagnostics/text_match.hpp"

namespace ovm::sema {
namespace {

using diagnostics::Diagnostic;
using diagnostics::DiagnosticCode;

// Quantities of matter cannot be negative; temperatures, potentials, deltas and times can.
constexpr auto amount_like_dimensions = std::to_array<std::string_view>({
    "mass",
    "volume",
    "amount",
    "molality",
    "rate_constant",
    "mass_concentration",
});

void report(ValidationContext& context, diagnostics::Span span, std::string label) {
  push_diagnostic(context.diagnostics, Diagnostic(DiagnosticCode::OV201, span).with_label(label));
}

}  // namespace

bool check_bounds(ValidationContext& context, std::string_view key, double value, std::optional<double> min,
                  std::optional<double> max, diagnostics::Span span) {
  if (min && value < *min) {
    report(context, span, diagnostics::fill_message("`{}` cannot be below {}", {key, diagnostics::message_number_text(*min)}));
    return true;
  }
  if (max && value > *max) {
    report(context, span, diagnostics::fill_message("`{}` cannot exceed {}", {key, diagnostics::message_number_text(*max)}));
    return true;
  }
  return false;
}

void check_ranges(ValidationContext& context, const PropertySpec& property, double value, diagnostics::Span span) {
  if (check_bounds(context, property.key, value, property.min, property.max, span)) return;
  if (property.dimension && diagnostics::contains_str(*property.dimension, amount_like_dimensions) && value < 0) {
    report(context, span, diagnostics::fill_message("`{}` cannot be negative", {property.key}));
  }
  if (property.key == "alpha" && value <= 0) report(context, span, "a fractionation factor is positive");
}

}  // namespace ovm::sema
