#pragma once

#include "sema/resolution.hpp"
#include "sema/validate_context.hpp"
#include "syntax/tree.hpp"

namespace ovm::sema {

// Every reference lowering resolves by name must name something: the entity references of
// the schema (PROCESS `from`, MODEL `reservoirs`, ...), an OUTPUT `variable`, and the dotted
// references of OUTPUT and of the subject of MODEL `until`, whose parts after the reservoir
// must be a species or a delta of a declared ratio, then `reacted`, `remaining` or a delta.
void check_references(ValidationContext& context, const syntax::ParseOutput& tree, const Resolution& resolution);

}  // namespace ovm::sema
