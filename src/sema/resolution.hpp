#pragma once

#include <optional>
#include <string>
#include <vector>

#include "diagnostics/diagnostic.hpp"
#include "sema/block_schema.hpp"
#include "sema/profile.hpp"
#include "sema/symbol_table.hpp"
#include "syntax/tree.hpp"

namespace ovm::sema {

// 8 bytes, one per block: the name is read from the block itself, which the tree holds as long
// as any resolution of it lives.
struct BlockResolution {
  const BlockSpec* spec = nullptr;  // the kind the header word names; null when it names none

  // The header identifier of `block`, the block this entry resolves; absent without one or
  // without a kind.
  std::optional<std::string_view> name(const syntax::Block& block) const {
    if (spec == nullptr) return std::nullopt;
    std::optional<syntax::Name> written = block.name();
    if (!written) return std::nullopt;
    return written->text;
  }
};

struct Resolution {
  SymbolTable symbols;
  std::vector<BlockResolution> blocks;  // one per block of the tree, in order
  diagnostics::Diagnostics diagnostics;
};

// Matches headers to block kinds, declares every name and checks every use.
Resolution resolve_model(const syntax::ParseOutput& tree, Profile profile);

}  // namespace ovm::sema
