#include "sema/resolution.hpp"
#include "sema/resolve_passes.hpp"

namespace ovm::sema {

Resolution resolve_model(const syntax::ParseOutput& tree, Profile profile) {
  Resolution resolution;
  resolve_headers(tree, profile, resolution);
  // Every declaration is made before any use is examined, so block order never matters.
  declare_entities(tree, resolution);
  check_named_entities(tree, resolution);
  bind_names(tree, resolution);
  resolve_uses(tree, resolution);
  return resolution;
}

}  // namespace ovm::sema
