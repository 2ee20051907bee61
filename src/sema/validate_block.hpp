#pragma once

#include "sema/block_schema.hpp"
#include "sema/validate_context.hpp"
#include "syntax/tree.hpp"

namespace ovm::sema {

// Checks one block against the schema of its kind and the model's facts; appends every
// finding to the context's diagnostics. Reserved kinds, TITLE and LAW are passed over.
void validate_block(ValidationContext& context, const syntax::Block& block, const BlockSpec& kind);

}  // namespace ovm::sema
