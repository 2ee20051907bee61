#pragma once

#include <span>
#include <string>
#include <string_view>

namespace ovm::diagnostics {

// ASCII case folding: A-Z equal a-z, every other byte compared exactly, lengths equal. Bytes
// of non-ASCII letters never fold, so the result does not depend on any locale.
constexpr bool equals_ascii_folded(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  auto fold = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; };
  // Table keys of one size mostly differ in their first byte: checked inline, it spares the
  // call that compares whole texts.
  if (!a.empty() && fold(a[0]) != fold(b[0])) return false;
  if (a == b) return true;  // the common case, a word written as the table writes it, in one compare
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (fold(a[i]) != fold(b[i])) return false;
  }
  return true;
}

// The text with A-Z made a-z and every other byte kept.
std::string lowered_ascii(std::string_view text);

// True when some element of `list` equals `needle` byte for byte; false for an empty list.
// Lists of schema texts and lists of texts copied from a model are both searched.
bool contains_str(std::string_view needle, std::span<const std::string_view> list);
bool contains_str(std::string_view needle, std::span<const std::string> list);

}  // namespace ovm::diagnostics
