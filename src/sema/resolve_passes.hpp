#pragma once

#include "sema/profile.hpp"
#include "sema/resolution.hpp"
#include "syntax/tree.hpp"

namespace ovm::sema {

// The passes of `resolve_model`, in the order it runs them. Each walks the blocks in source
// order, appends its findings to the resolution's diagnostics and, from the second on, skips
// blocks whose header named no kind. The table is complete after `bind_names`.

// Matches each header to its kind: unknown headers, profiles, uniqueness, header identifiers.
// Fills `blocks`, one entry per block.
void resolve_headers(const syntax::ParseOutput& tree, Profile profile, Resolution& resolution);

// Declares the header identifier of every kind that declares an entity.
void declare_entities(const syntax::ParseOutput& tree, Resolution& resolution);

// Checks the header identifier of FRACTIONATION and KINETICS against the declared processes.
void check_named_entities(const syntax::ParseOutput& tree, Resolution& resolution);

// Declares parameters, backend values and block-local parameters.
void bind_names(const syntax::ParseOutput& tree, Resolution& resolution);

// Checks every name a statement uses.
void resolve_uses(const syntax::ParseOutput& tree, Resolution& resolution);

}  // namespace ovm::sema
