#pragma once

#include <map>
#include <optional>
#include <string_view>
#include <vector>

#include "diagnostics/span.hpp"
#include "sema/variant_table.hpp"

namespace ovm::sema {

// What the checks of one block remember from statement to statement; dropped with the block.
struct BlockState {
  std::optional<std::string_view> scope;                 // the block's name: whose local parameters it sees
  const VariantSpec* variant = nullptr;                  // the process type or rate law the block names
  std::vector<std::string_view> present_keys;            // schema key of each statement found, repeats kept
  std::map<std::string_view, diagnostics::Span> groups;  // exclusive group to its first key span
};

}  // namespace ovm::sema
