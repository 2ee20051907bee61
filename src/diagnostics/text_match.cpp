#include "diagnostics/text_match.hpp"

#include <algorithm>

namespace ovm::diagnostics {
namespace {

template <typename Text>
bool contains(std::string_view needle, std::span<const Text> list) {
  return std::any_of(list.begin(), list.end(), [needle](const Text& text) { return text == needle; });
}

}  // namespace

bool contains_str(std::string_view needle, std::span<const std::string_view> list) { return contains(needle, list); }

bool contains_str(std::string_view needle, std::span<const std::string> list) { return contains(needle, list); }

}  // namespace ovm::diagnostics
