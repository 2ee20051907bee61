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

struct BlockResolution {
  std::optional<std::string_view> name;  // the header identifier; absent without one or without a kind
  const BlockSpec* spec = nullptr;   // the kind the header word names; null when it names none
};

struct Resolution {
  SymbolTable symbols;
  std::vector<BlockResolution> blocks;  // one per block of the tree, in order
  diagnostics::Diagnostics diagnostics;
};

// Matches headers to block kinds, declares every name and checks every use.
Resolution resolve_model(const syntax::ParseOutput& tree, Profile profile);

}  // namespace ovm::sema
