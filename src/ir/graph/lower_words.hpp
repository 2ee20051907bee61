#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

#include "ir/graph/graph_processes.hpp"

namespace ovm::ir {

// The position of `text` in `names`, compared byte for byte. Several schema lists of admissible
// values stand in the order of the graph enum they select, so the position is the enumerator.
std::optional<std::size_t> word_index(std::string_view text, std::span<const std::string_view> names);

template <typename Enum>
std::optional<Enum> enum_of_word(std::string_view text, std::span<const std::string_view> names) {
  std::optional<std::size_t> index = word_index(text, names);
  if (!index) return std::nullopt;
  return static_cast<Enum>(*index);
}

// The transfer types, in the order of `Mechanism`.
inline constexpr auto mechanism_names = std::to_array<std::string_view>({
    "reduction", "oxidation", "dissolution", "precipitation", "evaporation", "diffusion", "ligand_exchange",
});

}  // namespace ovm::ir
