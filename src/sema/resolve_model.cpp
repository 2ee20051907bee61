#include "sema/resolution.hpp"
#include "sema/resolve_passes.hpp"

namespace ovm::sema {
namespace {

// At most the number of global declarations the passes make (entity headers and parameter
// statements; backend values are few and may grow the table).
std::size_t global_declarations(const syntax::ParseOutput& tree, const Resolution& resolution) {
  std::size_t count = 0;
  for (std::size_t i = 0; i < tree.blocks.size(); ++i) {
    const BlockSpec* kind = resolution.blocks[i].spec;
    if (kind == nullptr) continue;
    if (kind->declares && tree.blocks[i].name()) ++count;
    if (kind->expressions_only) count += tree.blocks[i].statements.size();
  }
  return count;
}

}  // namespace

Resolution resolve_model(const syntax::ParseOutput& tree, Profile profile) {
  Resolution resolution;
  resolve_headers(tree, profile, resolution);
  resolution.symbols.globals.reserve(global_declarations(tree, resolution));
  // Every declaration is made before any use is examined, so block order never matters.
  declare_entities(tree, resolution);
  check_named_entities(tree, resolution);
  bind_names(tree, resolution);
  resolve_uses(tree, resolution);
  return resolution;
}

}  // namespace ovm::sema
