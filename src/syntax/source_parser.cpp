#include <utility>

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
    // The list is looked up again after each statement: nested ones may add lists.
    if (std::optional<Statement> statement = parse_statement(state)) statement_list(state).push_back(std::move(*statement));
  }
  return Block(keyword_text, name, state.arena.take(statement_list(state)), keyword_span);
}

// At least the number of blocks: every header opens a line with a token at column 0. Reserved
// up front, the list of a large model neither outgrows its need nor is copied as it grows.
std::size_t header_line_bound(std::string_view text) {
  std::size_t count = 0;
  for (std::size_t start = 0; start < text.size();) {
    char c = text[start];
    if (c != '\n' && c != '#' && !is_blank(c)) ++count;
    std::size_t end = text.find('\n', start);
    if (end == std::string_view::npos) break;
    start = end + 1;
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
