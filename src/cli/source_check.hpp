#pragma once

#include "diagnostics/diagnostic.hpp"
#include "sema/profile.hpp"
#include "syntax/tree.hpp"

namespace ovm::cli {

// The diagnostics of one parsed file, sorted and without repeats: the parse's, then, when the
// parse found no error, the semantic checks' and (for check) the reserved-block warnings.
diagnostics::Diagnostics file_diagnostics(const syntax::ParseOutput& tree, sema::Profile profile,
                                          bool with_reserved_notes);

}  // namespace ovm::cli
