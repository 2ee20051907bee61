#pragma once

#include <optional>
#include <string>
#include <vector>

#include "diagnostics/diagnostic.hpp"
#include "sema/profile.hpp"
#include "syntax/tree.hpp"

namespace ovm::ir {

// A block of a kind whose statements are not specified yet.
struct ReservedBlock {
  std::string keyword;  // upper-cased
  diagnostics::Span keyword_span;
};

std::optional<ReservedBlock> is_reserved_block(const syntax::Block& block);
std::vector<ReservedBlock> collect_reserved_blocks(const std::vector<syntax::Block>& blocks);

// One OV011 warning per reserved block the profile admits, in block order: nothing in such a
// block is checked or lowered, and the user should know it.
diagnostics::Diagnostics reserved_block_notes(const std::vector<syntax::Block>& blocks, sema::Profile profile);

}  // namespace ovm::ir
