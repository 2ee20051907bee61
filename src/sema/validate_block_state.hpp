#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
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
  // Each exclusive group met, with the key span of its first statement, in a room of fixed size:
  // a kind has few groups.
  struct GroupSpan {
    std::string_view group;
    diagnostics::Span first_key;
  };
  static constexpr std::size_t group_room = 4;
  std::array<GroupSpan, group_room> groups{};
  std::size_t group_count = 0;
};

}  // namespace ovm::sema
