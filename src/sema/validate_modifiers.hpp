#pragma once

#include <cstddef>
#include <span>

#include "sema/property_schema.hpp"
#include "sema/validate_context.hpp"
#include "syntax/value.hpp"

namespace ovm::sema {

// The words after the main value (at index `main`), each with its value, then the modifiers
// the property requires. A value out of place ends the walk and skips the requirement.
void check_modifiers(ValidationContext& context, const PropertySpec& property, std::span<const syntax::Value> values,
                     std::size_t main);

}  // namespace ovm::sema
