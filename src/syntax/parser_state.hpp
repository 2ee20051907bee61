#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "diagnostics/diagnostic.hpp"
#include "syntax/lexer.hpp"
#include "syntax/token.hpp"
#include "syntax/tree.hpp"

namespace ovm::syntax {

// Far beyond real models; they keep the parser's recursion, and every later walk of the tree,
// within the stack.
inline constexpr std::uint32_t max_statement_depth = 64;
inline constexpr std::uint32_t max_expr_depth = 256;

// What every parsing level shares: the tokens of the lines at hand, the diagnostics found so
// far, the source text and the current position.
//
// Lines are lexed a few at a time as the parser reaches them, so a file's tokens are never all
// held at once. Positions count the tokens of the whole file (without comments); no parsing level
// reads past the end of its line, nor returns to a line it has left.
struct ParserState {
  LineLexer lexer;
  // The tokens of whole lines, the last through its end of line or the end-of-file token, after
  // the last token of the line before them (where a statement's span may end). Never empty.
  LineTokens tokens;
  std::size_t first = 0;  // the position of tokens[0]
  // Read for every token, so kept at hand from one lexed run of lines to the next: the held
  // tokens, the place of the last one and the position after it.
  const Token* line = nullptr;
  std::size_t last = 0;
  std::size_t line_end = 0;
  diagnostics::Diagnostics diagnostics;  // the parser's; the lexer keeps its own
  std::string_view text;
  // Moved by advance and seek only, which keep the cursor on the token at the position: the
  // current token is read far more often than the position moves.
  std::size_t position = 0;
  const Token* cursor = nullptr;
  std::uint32_t statement_depth = 0;
  std::uint32_t expr_depth = 0;
  // Set when an expression went past the depth limit: every level then unwinds at once, and the
  // statement level drops the rest of the line.
  bool too_deep = false;
  // Where the tree's nodes and lists go; the parse output takes it over.
  Arena arena;
  // Lists are collected here and then moved into the arena at their final size (a statement
  // copies its values out). Statements have one list per nesting depth; values never nest.
  std::vector<std::vector<Statement>> statement_lists;
  std::vector<Value> value_list;
  std::vector<UnitFactor> factor_list;  // the factors of the last unit read, until the next
};

// Makes room for the lists of every depth through the current one.
void add_statement_lists(ParserState& state);

// The list of statements being collected at the current statement depth, empty at first use.
// Looked up for every statement, so inline; a depth's list is added when it is first reached.
inline std::vector<Statement>& statement_list(ParserState& state) {
  if (state.statement_lists.size() <= state.statement_depth) add_statement_lists(state);
  return state.statement_lists[state.statement_depth];
}

// Holds one level of a depth counter for as long as it lives.
class DepthGuard {
 public:
  explicit DepthGuard(std::uint32_t& depth) : depth_(depth) { ++depth_; }
  ~DepthGuard() { --depth_; }
  DepthGuard(const DepthGuard&) = delete;
  DepthGuard& operator=(const DepthGuard&) = delete;

 private:
  std::uint32_t& depth_;
};

// Ready to parse the text from its first line.
ParserState make_parser_state(std::string_view text, std::uint32_t file);

// The lexer's diagnostics for the lines read so far, then the parser's, each in the order found.
diagnostics::Diagnostics take_diagnostics(ParserState& state);

// The readers below run for every token, so they are defined here, where every parsing level
// can inline them.

// From the line before on; past the last line held it reads its last token (once the file is
// lexed, the end-of-file token; levels read nothing past their own line end before that). No
// position before the line before is read (levels never return to a line they left), so one
// unsigned clamp covers both ends: the one position below, that before the first token of the
// file, wraps past the end.
inline const Token& token_at(const ParserState& state, std::size_t position) {
  std::size_t offset = position - state.first;
  return state.line[offset < state.last ? offset : state.last];
}

inline const Token& peek(const ParserState& state, std::size_t ahead) { return token_at(state, state.position + ahead); }

// The span of the token before the current one: where what was read last ends.
inline diagnostics::Span last_consumed_span(const ParserState& state) { return token_at(state, state.position - 1).span(); }
inline const Token& current(const ParserState& state) { return *state.cursor; }

// Lexes the next lines once the last one held is left.
void enter_next_line(ParserState& state);

inline void advance(ParserState& state) {
  ++state.position;
  if (state.position < state.line_end) {
    ++state.cursor;
    return;
  }
  // Past the last token held: once the file is lexed that token is read again.
  if (!state.lexer.done) enter_next_line(state);
}

// Back to a position on the current line, as a level that looked ahead returns.
inline void seek(ParserState& state, std::size_t position) {
  state.position = position;
  state.cursor = &token_at(state, position);
}

inline bool at(const ParserState& state, TokenKind kind) { return current(state).kind == kind; }

// An end of line or the end of file.
inline bool at_line_end(const ParserState& state) {
  TokenKind kind = current(state).kind;
  return kind == TokenKind::EndOfLine || kind == TokenKind::EndOfFile;
}

inline std::string_view token_text(const ParserState& state, const Token& token) { return token.text(state.text); }

inline std::string_view span_text(const ParserState& state, diagnostics::Span span) {
  return state.text.substr(span.start, span.end - span.start);
}

// Advances to the line end and past it when it is an end of line.
void skip_line(ParserState& state);
void skip_to_line_end(ParserState& state);
// Run before every statement, so inline.
inline void skip_blank_lines(ParserState& state) {
  while (at(state, TokenKind::EndOfLine)) advance(state);
}

// Appends a diagnostic whose label is the message.
void report(ParserState& state, diagnostics::DiagnosticCode code, diagnostics::Span span, std::string_view message);

// The message with the display name of the token's kind in place of its "{}".
std::string with_kind(std::string_view message, const Token& token);

}  // namespace ovm::syntax
