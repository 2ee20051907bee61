#include "sema/main_value.hpp"

#include <string_view>

namespace ovm::sema {
namespace {

std::size_t word_count(std::string_view text) {
  std::size_t count = 0;
  bool in_word = false;
  for (char c : text) {
    bool space = c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v';
    if (!space && !in_word) ++count;
    in_word = !space;
  }
  return count;
}

}  // namespace

std::size_t main_value_index(const PropertySpec& property) {
  std::size_t index = 0;
  if (property.shape == StatementShape::NamedNumber) ++index;
  if (property.label && word_count(*property.label) == 2) ++index;
  return index;
}

}  // namespace ovm::sema
