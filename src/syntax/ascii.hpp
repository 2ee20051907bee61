#pragma once

namespace ovm::syntax {

// Byte classes of the language; every other byte is outside them, non-ASCII ones included.
constexpr bool is_digit(char c) { return c >= '0' && c <= '9'; }
constexpr bool is_upper(char c) { return c >= 'A' && c <= 'Z'; }
constexpr bool is_lower(char c) { return c >= 'a' && c <= 'z'; }
constexpr bool is_letter(char c) { return is_upper(c) || is_lower(c); }
constexpr bool is_word(char c) { return is_letter(c) || is_digit(c) || c == '_'; }

}  // namespace ovm::syntax
