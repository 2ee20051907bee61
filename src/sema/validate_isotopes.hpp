#pragma once

#include <string_view>

#include "diagnostics/span.hpp"
#include "sema/validate_context.hpp"
#include "syntax/tree.hpp"

namespace ovm::sema {

// An isotope-ratio value must relate two isotopes of one element.
void check_ratio_elements(ValidationContext& context, std::string_view text, diagnostics::Span span);

// A fractionation applies to an isotope system declared in ISOTOPES, found by the ratio as written.
void check_fractionation_isotope(ValidationContext& context, const syntax::Statement& statement);

// A delta line needs a declared ratio for its isotope and a standard to measure against.
void check_delta_composition(ValidationContext& context, const syntax::Statement& statement);

}  // namespace ovm::sema
