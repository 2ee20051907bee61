#pragma once

#include <array>
#include <cstdint>

namespace ovm::syntax {

// Byte classes of the language; every other byte is outside them, non-ASCII ones included.
constexpr bool is_digit(char c) { return c >= '0' && c <= '9'; }
constexpr bool is_upper(char c) { return c >= 'A' && c <= 'Z'; }
constexpr bool is_lower(char c) { return c >= 'a' && c <= 'z'; }
constexpr bool is_letter(char c) { return is_upper(c) || is_lower(c); }

// Names are scanned a byte at a time, so their class is read from a table made once from the
// definitions above.
inline constexpr std::array<bool, 256> word_bytes = [] {
  std::array<bool, 256> table{};
  for (int byte = 0; byte < 256; ++byte) {
    char c = static_cast<char>(byte);
    table[static_cast<std::size_t>(byte)] = is_letter(c) || is_digit(c) || c == '_';
  }
  return table;
}();

constexpr bool is_word(char c) { return word_bytes[static_cast<std::uint8_t>(c)]; }

// The white space between tokens: space, tab and carriage return.
inline constexpr std::array<bool, 256> blank_bytes = [] {
  std::array<bool, 256> table{};
  table[' '] = table['\t'] = table['\r'] = true;
  return table;
}();

constexpr bool is_blank(char c) { return blank_bytes[static_cast<std::uint8_t>(c)]; }

}  // namespace ovm::syntax
