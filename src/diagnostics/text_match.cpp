#include "diagnostics/text_match.hpp"

#include <algorithm>

namespace ovm::diagnostics {

std::string lowered_ascii(std::string_view text) {
  std::string out(text);
  for (char& c : out) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return out;
}
namespace {

template <typename Text>
bool contains(std::string_view needle, std::span<const Text> list) {
  return std::any_of(list.begin(), list.end(), [needle](const Text& text) { return same_text(text, needle); });
}

}  // namespace

bool contains_str(std::string_view needle, std::span<const std::string_view> list) { return contains(needle, list); }

bool contains_str(std::string_view needle, std::span<const std::string> list) { return contains(needle, list); }

}  // namespace ovm::diagnostics
