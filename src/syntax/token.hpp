#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "diagnostics/span.hpp"

namespace ovm::syntax {

enum class TokenKind : std::uint8_t {
#define OVM_TOKEN(kind, display) kind,
#include "syntax/token_kinds.def"
#undef OVM_TOKEN
};

inline constexpr std::size_t token_kind_count = 0
#define OVM_TOKEN(kind, display) +1
#include "syntax/token_kinds.def"
#undef OVM_TOKEN
    ;

// The name messages insert for a kind, such as "end of line" or "`+`".
std::string_view display_name(TokenKind kind);

// A slice of the source text; the token keeps offsets only, never text of its own.
struct Token {
  std::uint32_t file = 0;
  std::uint32_t start = 0;
  std::uint32_t end = 0;
  std::uint32_t column = 0;  // bytes from the start of the token's line
  TokenKind kind = TokenKind::EndOfFile;
  bool first_on_line = false;  // never true for an end of line

  diagnostics::Span span() const { return diagnostics::Span{file, start, end}; }
  std::string_view text(std::string_view source) const { return source.substr(start, end - start); }
};

}  // namespace ovm::syntax
