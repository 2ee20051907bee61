#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

namespace ovm::sema {

// The places of the names of a constant table, grouped by name size, so that a lookup by name
// compares with the few names of its size only. Within a size, places keep table order.
template <std::size_t Count, std::size_t Longest>
struct SizeIndex {
  std::array<std::uint8_t, Longest + 2> start{};  // the places of size n: [start[n], start[n + 1])
  std::array<std::uint8_t, Count> places{};

  // The places of the names of this size, in table order; none for a size past the longest.
  constexpr std::span<const std::uint8_t> of_size(std::size_t size) const {
    if (size > Longest) return {};
    return std::span(places).subspan(start[size], start[size + 1] - start[size]);
  }
};

// Built at compile time; a name longer than `Longest` stops the build.
template <std::size_t Longest, std::size_t Count>
constexpr SizeIndex<Count, Longest> index_by_size(const std::array<std::string_view, Count>& names) {
  static_assert(Count < 256, "places are held in one byte");
  SizeIndex<Count, Longest> index;
  std::size_t next = 0;
  for (std::size_t size = 0; size <= Longest; ++size) {
    index.start[size] = static_cast<std::uint8_t>(next);
    for (std::size_t i = 0; i < Count; ++i) {
      if (names[i].size() == size) index.places[next++] = static_cast<std::uint8_t>(i);
    }
  }
  index.start[Longest + 1] = static_cast<std::uint8_t>(next);
  if (next != Count) throw "a name is longer than the index allows";
  return index;
}

}  // namespace ovm::sema
