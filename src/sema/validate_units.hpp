#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "diagnostics/span.hpp"
#include "sema/validate_context.hpp"
#include "syntax/unit_expr.hpp"

namespace ovm::sema {

// The unit written after a quantity (or its absence, null) against the dimensions it may measure;
// `span` is where an omitted unit is reported. Appends at most one diagnostic.
void check_unit(ValidationContext& context, const syntax::UnitExpr* unit,
                std::span<const std::string_view> dimensions, diagnostics::Span span);

// Writing no unit is unambiguous when a dimension has a single unit or UNITS chose one.
bool unit_may_be_omitted(const ValidationContext& context, std::span<const std::string_view> dimensions);

// "molality or mass_concentration": dimension names as messages list them.
std::string joined_with_or(std::span<const std::string_view> texts);

// A unit named by `text` at `span` must exist and measure one of `dimensions`.
void check_unit_name(ValidationContext& context, std::string_view text, diagnostics::Span span,
                     std::span<const std::string_view> dimensions);

}  // namespace ovm::sema
