#pragma once

#include <cstdint>
#include <cstring>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>

namespace ovm::diagnostics {

namespace detail {

// The bytes [at, at + N) of a text as one word, for N of 4 or 8.
template <typename Word>
inline Word load_word(std::string_view text, std::size_t at) {
  Word word;
  std::memcpy(&word, text.data() + at, sizeof word);
  return word;
}

// Whether two texts of one size hold the same bytes: keys and keywords are short, so a few
// word loads, the last ones overlapping, do what a call comparing whole texts does.
inline bool same_bytes(std::string_view a, std::string_view b) {
  std::size_t n = a.size();
  if (n >= 8) {
    for (std::size_t i = 0; i + 8 < n; i += 8) {
      if (load_word<std::uint64_t>(a, i) != load_word<std::uint64_t>(b, i)) return false;
    }
    return load_word<std::uint64_t>(a, n - 8) == load_word<std::uint64_t>(b, n - 8);
  }
  if (n >= 4) {
    return load_word<std::uint32_t>(a, 0) == load_word<std::uint32_t>(b, 0) &&
           load_word<std::uint32_t>(a, n - 4) == load_word<std::uint32_t>(b, n - 4);
  }
  for (std::size_t i = 0; i < n; ++i) {
    if (a[i] != b[i]) return false;
  }
  return true;
}

}  // namespace detail

// Byte-for-byte equality, sizes first: for the short texts of tables (keys, unit names, kinds)
// a few word compares inline, where the standard comparison calls out to compare whole texts.
inline bool same_text(std::string_view a, std::string_view b) {
  return a.size() == b.size() && detail::same_bytes(a, b);
}

// ASCII case folding: A-Z equal a-z, every other byte compared exactly, lengths equal. Bytes
// of non-ASCII letters never fold, so the result does not depend on any locale.
constexpr bool equals_ascii_folded(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  auto fold = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; };
  // The common case, a word written as the table writes it, costs a few word compares.
  if (!std::is_constant_evaluated() && detail::same_bytes(a, b)) return true;
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
