#pragma once

#include "diagnostics/diagnostic.hpp"
#include "sema/profile.hpp"
#include "sema/resolution.hpp"
#include "syntax/tree.hpp"

namespace ovm::sema {

struct Analysis {
  Resolution resolution;
  diagnostics::Diagnostics diagnostics;  // resolution's, then validation's
};

// The semantic checks of one parsed model text; run only when the parse found no error.
Analysis analyze(const syntax::ParseOutput& tree, Profile profile);

// The checks of what each block says against its kind's schema and the rest of the model.
diagnostics::Diagnostics validate_model(const syntax::ParseOutput& tree, const Resolution& resolution);

}  // namespace ovm::sema
