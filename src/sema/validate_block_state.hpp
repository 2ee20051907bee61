#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string_view>

#include "diagnostics/span.hpp"
#include "sema/variant_table.hpp"

namespace ovm::sema {

// What the checks of one block remember from statement to statement; dropped with the block.
struct BlockState {
  std::optional<std::string_view> scope;                 // the block's name: whose local parameters it sees
  const VariantSpec* variant = nullptr;                  // the process type or rate law the block names
  // The kind's properties that statements were found for, by place in its list: a bit each,
  // so that a block's checks allocate nothing.
  std::uint64_t present_properties = 0;
  std::map<std::string_view, diagnostics::Span> groups;  // exclusive group to its first key span
};

}  // namespace ovm::sema
