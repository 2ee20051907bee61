#pragma once

#include "sema/validate_context.hpp"
#include "syntax/tree.hpp"

namespace ovm::sema {

// The statements of an inline law may assign only the fractionation quantities.
void check_inline_law(ValidationContext& context, const syntax::NestedBody& law);

}  // namespace ovm::sema
