#include "syntax/lexer.hpp"

#include <algorithm>

#include "syntax/ascii.hpp"
#include "syntax/scan.hpp"

namespace ovm::syntax {
namespace {

using diagnostics::DiagnosticCode;

constexpr std::string_view byte_order_mark = "\xEF\xBB\xBF";
constexpr std::string_view micro_sign = "\xC2\xB5";
constexpr std::string_view per_mille_sign = "\xE2\x80\xB0";

// The lexer's state while one line is lexed, copied out of the state and written back at the
// end: kept apart from the output, it can stay in registers.
struct Lexer {
  LineLexer& state;
  std::vector<Token>& out;
  bool with_comments;
  std::string_view text = state.text;
  std::uint32_t file = state.file;
  std::size_t pos = state.pos;
  std::size_t line_start = state.line_start;
  bool token_on_line = state.token_on_line;
};

// Appends the token and moves past it; the one place a token is made.
void push_token(Lexer& lx, TokenKind kind, std::size_t start, std::size_t end) {
  if (kind != TokenKind::Comment || lx.with_comments) {
    lx.out.push_back(Token{lx.file, static_cast<std::uint32_t>(start), static_cast<std::uint32_t>(end),
                           static_cast<std::uint32_t>(start - lx.line_start), kind, !lx.token_on_line});
  }
  lx.token_on_line = true;
  lx.pos = end;
}

// An end of line, or at the end of the text the end-of-file token: the last token of a line.
void push_line_end(Lexer& lx, TokenKind kind, std::size_t start, std::size_t end) {
  lx.out.push_back(Token{lx.file, static_cast<std::uint32_t>(start), static_cast<std::uint32_t>(end),
                         static_cast<std::uint32_t>(start - lx.line_start), kind,
                         kind == TokenKind::EndOfFile && !lx.token_on_line});
  if (kind == TokenKind::EndOfLine) {
    lx.line_start = end;
    lx.token_on_line = false;
  } else {
    lx.token_on_line = true;
  }
  lx.pos = end;
}

// The kind and end of the lexeme at a start.
struct Lexeme {
  TokenKind kind;
  std::size_t end;
};

// Reported for the offending input [start, end); the span covers at least one byte.
void push_lex_diagnostic(Lexer& lx, DiagnosticCode code, std::size_t start, std::size_t end, std::string_view message) {
  end = std::max(end, start + 1);
  diagnostics::Span span{lx.file, static_cast<std::uint32_t>(start), static_cast<std::uint32_t>(end)};
  diagnostics::push_diagnostic(lx.state.diagnostics, diagnostics::Diagnostic(code, span).with_label(message));
}

Lexeme lex_string(Lexer& lx, std::size_t start) {
  std::size_t close = lx.text.find_first_of("\"\n", start + 1);
  if (close != std::string_view::npos && lx.text[close] == '"') return Lexeme{TokenKind::String, close + 1};
  std::size_t end = close == std::string_view::npos ? lx.text.size() : close;
  push_lex_diagnostic(lx, DiagnosticCode::OV002, start, end, "string is never closed");
  return Lexeme{TokenKind::Unrecognised, end};
}

Lexeme lex_comment(Lexer& lx, std::size_t start) {
  std::size_t end = lx.text.find('\n', start);
  return Lexeme{TokenKind::Comment, end == std::string_view::npos ? lx.text.size() : end};
}

// `=`, `<` and `>` take a following `=` into a two-byte operator.
Lexeme lex_comparison(Lexer& lx, std::size_t start, TokenKind single, TokenKind with_equal) {
  bool doubled = start + 1 < lx.text.size() && lx.text[start + 1] == '=';
  return Lexeme{doubled ? with_equal : single, start + (doubled ? 2 : 1)};
}

Lexeme lex_unexpected_byte(Lexer& lx, std::size_t start) {
  push_lex_diagnostic(lx, DiagnosticCode::OV001, start, start + 1, "unexpected character");
  return Lexeme{TokenKind::Unrecognised, start + 1};
}

Lexeme lex_non_ascii(Lexer& lx, std::size_t start) {
  std::string_view rest = lx.text.substr(start);
  for (std::string_view sign : {micro_sign, per_mille_sign}) {
    if (rest.substr(0, sign.size()) != sign) continue;
    std::size_t end = start + sign.size();
    while (end < lx.text.size() && is_word(lx.text[end])) ++end;
    return Lexeme{TokenKind::Identifier, end};
  }
  std::size_t end = start + utf8_length(lx.text, start);
  push_lex_diagnostic(lx, DiagnosticCode::OV006, start, end, "non-ascii character outside an accepted position");
  return Lexeme{TokenKind::Unrecognised, end};
}

TokenKind single_byte_operator(char c) {
  switch (c) {
    case '+': return TokenKind::Plus;
    case '-': return TokenKind::Minus;
    case '*': return TokenKind::Star;
    case '/': return TokenKind::Slash;
    case '^': return TokenKind::Caret;
    case '(': return TokenKind::LeftParen;
    case ')': return TokenKind::RightParen;
    case '[': return TokenKind::LeftBracket;
    case ']': return TokenKind::RightBracket;
    case ',': return TokenKind::Comma;
    case '.': return TokenKind::Dot;
    default: return TokenKind::Unrecognised;
  }
}

// The lexeme at `start`, which is neither white space between tokens nor a line end.
Lexeme lex_token(Lexer& lx, std::size_t start) {
  char c = lx.text[start];
  // A name that starts with `_` or a lower-case letter other than the d of a delta symbol is an
  // identifier to the end of its run: the common key and value words take no further call.
  if ((is_lower(c) && c != 'd') || c == '_') return Lexeme{TokenKind::Identifier, word_end(lx.text, start + 1)};
  if (is_letter(c)) {
    Scanned name = scan_name(lx.text, start);
    return Lexeme{name.kind, name.end};
  }
  if (is_digit(c)) {
    Scanned lexeme = scan_digits(lx.text, start);
    return Lexeme{lexeme.kind, lexeme.end};
  }
  if (c == '"') return lex_string(lx, start);
  if (c == '#') return lex_comment(lx, start);
  switch (c) {
    case '=': return lex_comparison(lx, start, TokenKind::Assign, TokenKind::EqualEqual);
    case '<': return lex_comparison(lx, start, TokenKind::Less, TokenKind::LessEqual);
    case '>': return lex_comparison(lx, start, TokenKind::Greater, TokenKind::GreaterEqual);
    default: break;
  }
  if (c == '!') {
    if (start + 1 < lx.text.size() && lx.text[start + 1] == '=') return Lexeme{TokenKind::NotEqual, start + 2};
    return lex_unexpected_byte(lx, start);
  }
  if (static_cast<unsigned char>(c) >= 0x80) return lex_non_ascii(lx, start);
  TokenKind op = single_byte_operator(c);
  if (op == TokenKind::Unrecognised) return lex_unexpected_byte(lx, start);
  return Lexeme{op, start + 1};
}

}  // namespace

LineLexer start_lexing(std::string_view text, std::uint32_t file) {
  LineLexer lexer;
  lexer.text = text;
  lexer.file = file;
  if (text.substr(0, byte_order_mark.size()) == byte_order_mark) {
    lexer.pos = byte_order_mark.size();
    lexer.line_start = lexer.pos;
  }
  return lexer;
}

void lex_line(LineLexer& lexer, std::vector<Token>& out, bool with_comments) {
  if (lexer.done) return;
  Lexer lx{lexer, out, with_comments};
  std::string_view text = lx.text;
  for (;;) {
    std::size_t pos = lx.pos;
    while (pos < text.size() && is_blank(text[pos])) ++pos;
    if (pos == text.size()) {
      push_line_end(lx, TokenKind::EndOfFile, pos, pos);
      lexer.done = true;
      break;
    }
    if (text[pos] == '\n') {
      push_line_end(lx, TokenKind::EndOfLine, pos, pos + 1);
      break;
    }
    Lexeme lexeme = lex_token(lx, pos);
    push_token(lx, lexeme.kind, pos, lexeme.end);
  }
  lexer.pos = lx.pos;
  lexer.line_start = lx.line_start;
  lexer.token_on_line = lx.token_on_line;
}

LexOutput lex(std::string_view text, std::uint32_t file) {
  LineLexer lexer = start_lexing(text, file);
  LexOutput out;
  // Models run five to six bytes a token; room for more is only address space until written.
  out.tokens.reserve(text.size() / 4 + 1);
  while (!lexer.done) lex_line(lexer, out.tokens, true);
  out.diagnostics = std::move(lexer.diagnostics);
  return out;
}

}  // namespace ovm::syntax
