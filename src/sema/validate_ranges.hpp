#pragma once

#include <optional>
#include <string_view>

#include "diagnostics/span.hpp"
#include "sema/property_schema.hpp"
#include "sema/validate_context.hpp"

namespace ovm::sema {

// A bounded number (bounds inclusive) named by `key`; NaN passes. True when it reported one.
bool check_bounds(ValidationContext& context, std::string_view key, double value, std::optional<double> min,
                  std::optional<double> max, diagnostics::Span span);

// The range rules of a number given for a Number or Version property with a dimension.
void check_ranges(ValidationContext& context, const PropertySpec& property, double value, diagnostics::Span span);

}  // namespace ovm::sema
