#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "diagnostics/diagnostic.hpp"
#include "syntax/token.hpp"

namespace ovm::syntax {

struct LexOutput {
  std::vector<Token> tokens;  // in text order, always ending with one end-of-file token
  diagnostics::Diagnostics diagnostics;  // in the order found
};

// One forward pass over the whole text of one file. Never fails: what the language does not
// use becomes a diagnostic and an unrecognised-input token.
LexOutput lex(std::string_view text, std::uint32_t file);

// The same pass taken one line at a time, so that a reader need not hold the tokens of a whole
// file: `lex` is `lex_line` until done.
struct LineLexer {
  std::string_view text;
  std::uint32_t file = 0;
  std::size_t pos = 0;
  std::size_t line_start = 0;
  bool token_on_line = false;
  bool done = false;                     // the end-of-file token has been handed out
  diagnostics::Diagnostics diagnostics;  // in the order found
};

LineLexer start_lexing(std::string_view text, std::uint32_t file);

// Appends the tokens of the next line through its end of line, or on the last line through the
// end-of-file token; comment tokens only when asked for. Appends nothing once done.
void lex_line(LineLexer& lexer, std::vector<Token>& out, bool with_comments);

// Room for the tokens of a line, reused from line to line: the parser's. `room` only grows, so
// that a line's tokens are written with no vector bookkeeping per token; the first `count`
// are the tokens held.
struct LineTokens {
  std::vector<Token> room;
  std::size_t count = 0;
  // Bit k is set when the tokens held from the lines last lexed include one of kind k, for the
  // kinds other than names, numbers, ratios, dates, line ends and the end of file (those are not
  // recorded): a reader can tell at once that an operator it looks ahead for is absent.
  std::uint32_t kinds = 0;
};

static_assert(token_kind_count <= 32, "a line's kinds are one bit each in 32");

// The bit of a kind in LineTokens::kinds.
constexpr std::uint32_t kind_bit(TokenKind kind) { return std::uint32_t{1} << static_cast<unsigned>(kind); }

// The same as above, appending after the first `out.count` tokens.
void lex_line(LineLexer& lexer, LineTokens& out, bool with_comments);

// Whole lines as above until `out` holds at least `at_least` tokens or the text ends: one call
// for many short lines. `out.kinds` covers all of them.
void lex_lines(LineLexer& lexer, LineTokens& out, bool with_comments, std::size_t at_least);

}  // namespace ovm::syntax
