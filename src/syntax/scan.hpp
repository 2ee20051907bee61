#pragma once

#include <cstddef>
#include <string_view>

#include "syntax/token.hpp"

namespace ovm::syntax {

// The end of one lexeme and the kind it reads as.
struct Scanned {
  std::size_t end = 0;
  TokenKind kind = TokenKind::Identifier;
};

// A name starting at `start` (a letter or `_`): an identifier, a chemical species or a
// delta symbol.
Scanned scan_name(std::string_view text, std::size_t start);

// A lexeme starting at the digit at `start`: an isotope ratio, a date or a number.
Scanned scan_digits(std::string_view text, std::size_t start);

// The bytes of the UTF-8 character that starts at `start` (1 to 4, never past the text).
std::size_t utf8_length(std::string_view text, std::size_t start);

}  // namespace ovm::syntax
