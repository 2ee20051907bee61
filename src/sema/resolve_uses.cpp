#include <cstddef>
#include <optional>
#include <string_view>

#include "sema/resolve_block_statements.hpp"
#include "sema/resolve_passes.hpp"

namespace ovm::sema {

void resolve_uses(const syntax::ParseOutput& tree, Resolution& resolution) {
  for (std::size_t i = 0; i < tree.blocks.size(); ++i) {
    const BlockResolution& entry = resolution.blocks[i];
    if (!entry.spec) continue;
    // The scope is the block's name, so FRACTIONATION P sees the locals of PROCESS P.
    std::optional<std::string_view> scope;
    scope = entry.name(tree.blocks[i]);
    for (const syntax::Statement& statement : tree.blocks[i].statements) {
      resolve_block_statements(resolution.symbols, resolution.diagnostics, *entry.spec, scope, statement);
    }
  }
}

}  // namespace ovm::sema
