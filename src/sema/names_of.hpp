#pragma once

#include <array>
#include <cstddef>
#include <string_view>

namespace ovm::sema {

// The `name` of every record of a constant table, in table order, so that a list of names
// derived from a table is never written out a second time.
template <typename Record, std::size_t N>
constexpr std::array<std::string_view, N> names_of(const std::array<Record, N>& table) {
  std::array<std::string_view, N> names{};
  for (std::size_t i = 0; i < N; ++i) names[i] = table[i].name;
  return names;
}

}  // namespace ovm::sema
