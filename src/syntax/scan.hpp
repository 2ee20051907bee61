#pragma once

#include <cstddef>
#include <string_view>

#include "syntax/ascii.hpp"
#include "syntax/token.hpp"

namespace ovm::syntax {

// The end of one lexeme and the kind it reads as.
struct Scanned {
  std::size_t end = 0;
  TokenKind kind = TokenKind::Identifier;
};

// The end of the run of name bytes from `i`. Names make up most of a model's bytes: four are
// tested per bound check where four are left.
inline std::size_t word_end(std::string_view text, std::size_t i) {
  const char* data = text.data();
  std::size_t size = text.size();
  while (i + 4 <= size) {
    if (!is_word(data[i])) return i;
    if (!is_word(data[i + 1])) return i + 1;
    if (!is_word(data[i + 2])) return i + 2;
    if (!is_word(data[i + 3])) return i + 3;
    i += 4;
  }
  while (i < size && is_word(data[i])) ++i;
  return i;
}

// A name starting at `start` (a letter or `_`): an identifier, a chemical species or a
// delta symbol.
Scanned scan_name(std::string_view text, std::size_t start);

// A lexeme starting at the digit at `start`: an isotope ratio, a date or a number.
Scanned scan_digits(std::string_view text, std::size_t start);

// The bytes of the UTF-8 character that starts at `start` (1 to 4, never past the text).
std::size_t utf8_length(std::string_view text, std::size_t start);

}  // namespace ovm::syntax
