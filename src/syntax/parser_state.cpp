#include "syntax/parser_state.hpp"

#include <algorithm>
#include <utility>

namespace ovm::syntax {

namespace {

// Lines are lexed until at least this many tokens are held: most lines are short, and one call
// of the lexer for many of them saves its setting up for each.
constexpr std::size_t tokens_per_run = 256;

// The most statements a block's list is made room for before it is read.
constexpr std::size_t max_reserved_statements = std::size_t{1} << 16;

void hold_line(ParserState& state) {
  state.line = state.tokens.room.data();
  state.last = state.tokens.count - 1;
  state.line_end = state.first + state.tokens.count;
  state.cursor = &token_at(state, state.position);
}

}  // namespace

ParserState make_parser_state(std::string_view text, std::uint32_t file) {
  ParserState state;
  state.arena.expect(text.size());
  // A block's statements are gathered here before they are placed in the arena. Room for a
  // large block up front (a statement takes at least four bytes of text) spares the copies and
  // fresh pages of growing it; room never used is never touched.
  state.statement_lists.resize(1);
  state.statement_lists[0].reserve(std::min<std::size_t>(text.size() / 4, max_reserved_statements));
  state.lexer = start_lexing(text, file);
  lex_line(state.lexer, state.tokens, false);
  hold_line(state);
  state.text = text;
  return state;
}

diagnostics::Diagnostics take_diagnostics(ParserState& state) {
  diagnostics::Diagnostics list = std::move(state.lexer.diagnostics);
  diagnostics::append_diagnostics(list, std::move(state.diagnostics));
  return list;
}

void add_statement_lists(ParserState& state) { state.statement_lists.resize(state.statement_depth + 1); }

void enter_next_line(ParserState& state) {
  // The lines are left for good; only the last token is kept.
  state.tokens.room[0] = state.tokens.room[state.tokens.count - 1];
  state.tokens.count = 1;
  state.first = state.position - 1;
  lex_lines(state.lexer, state.tokens, false, tokens_per_run);
  hold_line(state);
}

void skip_to_line_end(ParserState& state) {
  while (!at_line_end(state)) advance(state);
}

void skip_line(ParserState& state) {
  skip_to_line_end(state);
  if (at(state, TokenKind::EndOfLine)) advance(state);
}

void report(ParserState& state, diagnostics::DiagnosticCode code, diagnostics::Span span, std::string_view message) {
  diagnostics::push_diagnostic(state.diagnostics, diagnostics::Diagnostic(code, span).with_label(message));
}

std::string with_kind(std::string_view message, const Token& token) {
  std::string out(message);
  std::size_t hole = out.find("{}");
  if (hole != std::string::npos) out.replace(hole, 2, display_name(token.kind));
  return out;
}

}  // namespace ovm::syntax
