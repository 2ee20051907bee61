#pragma once

#include "sema/resolution.hpp"
#include "sema/validate_context.hpp"
#include "syntax/tree.hpp"

namespace ovm::sema {

// A context holding every model-wide fact the block checks read, and no diagnostic yet.
// Declarations it cannot understand are left out silently: the block checks report them.
ValidationContext gather_model_facts(const syntax::ParseOutput& tree, const Resolution& resolution);

}  // namespace ovm::sema
