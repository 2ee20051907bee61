#include "ir/graph/lower_words.hpp"

namespace ovm::ir {

std::optional<std::size_t> word_index(std::string_view text, std::span<const std::string_view> names) {
  for (std::size_t i = 0; i < names.size(); ++i) {
    if (names[i] == text) return i;
  }
  return std::nullopt;
}

}  // namespace ovm::ir
