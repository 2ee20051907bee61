#pragma once

#include "sema/validate_context.hpp"
#include "syntax/tree.hpp"

namespace ovm::sema {

// A MODEL `until` condition the run can use: `time` or a reservoir quantity compared with a
// number, with a unit (written, or the UNITS default) of what the quantity measures.
void check_until(ValidationContext& context, const syntax::ConditionBody& condition);

}  // namespace ovm::sema
