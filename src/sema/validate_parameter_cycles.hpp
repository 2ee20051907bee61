#pragma once

#include "sema/resolution.hpp"
#include "sema/validate_context.hpp"
#include "syntax/tree.hpp"

namespace ovm::sema {

// A parameter's value may not depend on itself, directly (e = e) or through others: such a
// value has no number. Names resolve as in expressions: a block's own parameters first, then
// the model-wide ones. One finding per cycle found, at the name that closes it.
void check_parameter_cycles(ValidationContext& context, const syntax::ParseOutput& tree, const Resolution& resolution);

}  // namespace ovm::sema
