#include "sema/analysis.hpp"

namespace ovm::sema {

Analysis analyze(const syntax::ParseOutput& tree, Profile profile) {
  Analysis analysis{resolve_model(tree, profile), {}};
  analysis.diagnostics = analysis.resolution.diagnostics;
  diagnostics::append_diagnostics(analysis.diagnostics, validate_model(tree, analysis.resolution));
  return analysis;
}

}  // namespace ovm::sema
