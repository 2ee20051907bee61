#include <utility>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "syntax/ascii.hpp"
#include "syntax/parser.hpp"

namespace ovm::syntax {
namespace {

using diagnostics::DiagnosticCode;
using diagnostics::Span;

// A header line at column 0 that starts with an identifier, and the statements under it.
Block parse_block(ParserState& state) {
  const Token& keyword = current(state);
  std::string_view keyword_text = token_text(state, keyword);
  Span keyword_span = keyword.span();
  advance(state);
  std::optional<Name> name;
  if (at(state, TokenKind::Identifier) || at(state, TokenKind::Species)) {
    name = Name{token_text(state, current(state)), current(state).span()};
    advance(state);
  }
  if (!at_line_end(state)) {
    report(state, DiagnosticCode::OV001, current(state).span(), "a block header carries at most one identifier");
  }
  skip_line(state);
  for (;;) {
    skip_blank_lines(state);
    // After a line end every token is the first of its line: column 0 starts the next block.
    const Token& token = current(state);
    if (token.kind == TokenKind::EndOfFile || token.column == 0) break;
    parse_statement(state);
  }
  return Block(keyword_text, name, state.arena.take(statement_list(state)), keyword_span);
}

// Whether a line starting with this byte may be a block header: it holds a token at column 0.
bool may_open_block(char c) { return c != '\n' && c != '#' && !is_blank(c); }

// At least the number of blocks: every header opens a line with a token at column 0. Reserved
// up front, the list of a large model neither outgrows its need nor is copied as it grows.
// Line ends are found sixteen bytes at a time where the machine has the instructions for it.
std::size_t header_line_bound(std::string_view text) {
  if (text.empty()) return 0;
  std::size_t count = may_open_block(text[0]) ? 1 : 0;
  const char* data = text.data();
  std::size_t size = text.size();
  // Counts the line that starts after the line end at `i`.
  auto line_after = [&](std::size_t i) {
    if (i + 1 < size && may_open_block(data[i + 1])) ++count;
  };
  std::size_t i = 0;
#if defined(__SSE2__)
  const __m128i line_end = _mm_set1_epi8('\n');
  for (; i + 16 <= size; i += 16) {
    __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + i));
    auto ends = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, line_end)));
    for (; ends != 0; ends &= ends - 1) line_after(i + static_cast<std::size_t>(__builtin_ctz(ends)));
  }
#endif
  for (; i < size; ++i) {
    if (data[i] == '\n') line_after(i);
  }
  return count;
}

}  // namespace

ParseOutput parse_source(std::string_view text, std::uint32_t file) {
  ParserState state = make_parser_state(text, file);
  std::vector<Block> blocks;
  blocks.reserve(header_line_bound(text));
  for (;;) {
    skip_blank_lines(state);
    const Token& token = current(state);
    if (token.kind == TokenKind::EndOfFile) break;
    if (!token.first_on_line || token.column != 0) {
      report(state, DiagnosticCode::OV004, token.span(), "statement appears before any block header");
      skip_line(state);
      continue;
    }
    if (token.kind != TokenKind::Identifier) {
      report(state, DiagnosticCode::OV003, token.span(), with_kind("{} cannot open a block", token));
      skip_line(state);
      continue;
    }
    blocks.push_back(parse_block(state));
  }
  return ParseOutput{std::move(blocks), take_diagnostics(state), std::move(state.arena)};
}

}  // namespace ovm::syntax
