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

// 16 bytes, one per block: the name is read from the block, which the tree holds as long as any
// resolution of it lives.
struct BlockResolution {
  BlockResolution() = default;
  BlockResolution(const syntax::Block* named, const BlockSpec* spec) : spec(spec), named_(named) {}

  // The header identifier; absent without one or without a kind.
  std::optional<std::string_view> name() const {
    if (named_ == nullptr) return std::nullopt;
    return named_->name()->text;
  }

  const BlockSpec* spec = nullptr;  // the kind the header word names; null when it names none

 private:
  const syntax::Block* named_ = nullptr;  // the block when it has a name and a kind
};

struct Resolution {
  SymbolTable symbols;
  std::vector<BlockResolution> blocks;  // one per block of the tree, in order
  diagnostics::Diagnostics diagnostics;
};

// Matches headers to block kinds, declares every name and checks every use.
Resolution resolve_model(const syntax::ParseOutput& tree, Profile profile);

}  // namespace ovm::sema
