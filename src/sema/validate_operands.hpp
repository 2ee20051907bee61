#pragma once

#include "sema/resolution.hpp"
#include "sema/validate_context.hpp"
#include "syntax/tree.hpp"

namespace ovm::sema {

// The operands of every expression must have a number lowering can read: an entity (a
// reservoir, a process, ...), a dotted reference to one and a literal (a string, ratio, delta
// or date) have none. The subject of a condition is not an operand.
void check_operands(ValidationContext& context, const syntax::ParseOutput& tree, const Resolution& resolution);

}  // namespace ovm::sema
