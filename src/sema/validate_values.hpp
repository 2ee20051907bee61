#pragma once

#include <optional>
#include <string_view>

#include "sema/property_schema.hpp"
#include "sema/validate_context.hpp"
#include "syntax/tree.hpp"

namespace ovm::sema {

// The values of a statement of `property` in the block named `scope`: scalars used as
// entities, the main value's kind and range (or the parameter a name gives it), the modifiers
// and the unit.
void check_values(ValidationContext& context, const PropertySpec& property, const syntax::Statement& statement,
                  const syntax::ValuesBody& body, std::optional<std::string_view> scope);

// Each item of a bracketed list of `property`.
void check_list(ValidationContext& context, const PropertySpec& property, const syntax::ListBody& list);

// An assignment whose whole expression is a literal (a string, a ratio...) has no number.
void check_literal_assignment(ValidationContext& context, const syntax::AssignmentBody& assignment);

}  // namespace ovm::sema
