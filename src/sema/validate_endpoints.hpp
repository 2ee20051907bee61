#pragma once

#include "sema/validate_context.hpp"
#include "sema/variant_table.hpp"
#include "syntax/tree.hpp"

namespace ovm::sema {

// What a PROCESS moves must be what lowering builds its kind from: the product of a mixing
// names a reservoir, and the reactant, product, sorbent and phases of every other type are
// chemical species, not a reservoir, a parameter, a process or another value.
void check_process_endpoints(ValidationContext& context, const VariantSpec& variant, const syntax::Block& block);

}  // namespace ovm::sema
