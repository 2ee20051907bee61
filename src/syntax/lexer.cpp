#include "syntax/lexer.hpp"

#include <algorithm>
#include <array>
#include <cstring>

#include "syntax/ascii.hpp"
#include "syntax/scan.hpp"

namespace ovm::syntax {
namespace {

using diagnostics::DiagnosticCode;

constexpr std::string_view byte_order_mark = "\xEF\xBB\xBF";
constexpr std::string_view micro_sign = "\xC2\xB5";
constexpr std::string_view per_mille_sign = "\xE2\x80\xB0";

// Each byte's part in starting a token, read from one table rather than tested class by class.
enum class Opener : std::uint8_t {
  Other,     // no token starts here: an unexpected character
  Blank,     // white space between tokens
  LineEnd,
  Word,      // `_` or a lower-case letter other than d: an identifier to the end of its run
  Name,      // an upper-case letter or d: an identifier, a chemical species or a delta symbol
  Digit,
  Quote,
  Hash,
  Compare,   // `=`, `<` or `>`, which take a following `=`
  Bang,
  NonAscii,
  Operator,  // a one-byte operator or bracket
};

constexpr std::array<Opener, 256> openers = [] {
  std::array<Opener, 256> table{};
  for (int byte = 0; byte < 256; ++byte) {
    char c = static_cast<char>(byte);
    Opener& opener = table[static_cast<std::size_t>(byte)];
    if (byte >= 0x80) opener = Opener::NonAscii;
    else if ((is_lower(c) && c != 'd') || c == '_') opener = Opener::Word;
    else if (is_letter(c)) opener = Opener::Name;
    else if (is_digit(c)) opener = Opener::Digit;
    else if (is_blank(c)) opener = Opener::Blank;
  }
  table['\n'] = Opener::LineEnd;
  table['"'] = Opener::Quote;
  table['#'] = Opener::Hash;
  table['='] = table['<'] = table['>'] = Opener::Compare;
  table['!'] = Opener::Bang;
  for (char c : std::string_view("+-*/^()[],.")) table[static_cast<std::uint8_t>(c)] = Opener::Operator;
  return table;
}();

Opener opener_of(char c) { return openers[static_cast<std::uint8_t>(c)]; }

// The kind and end of the lexeme at a start.
struct Lexeme {
  TokenKind kind;
  std::size_t end;
};

// Reported for the offending input [start, end); the span covers at least one byte.
void push_lex_diagnostic(LineLexer& lx, DiagnosticCode code, std::size_t start, std::size_t end, std::string_view message) {
  end = std::max(end, start + 1);
  diagnostics::Span span{lx.file, static_cast<std::uint32_t>(start), static_cast<std::uint32_t>(end)};
  diagnostics::push_diagnostic(lx.diagnostics, diagnostics::Diagnostic(code, span).with_label(message));
}

Lexeme lex_string(LineLexer& lx, std::size_t start) {
  std::size_t close = lx.text.find_first_of("\"\n", start + 1);
  if (close != std::string_view::npos && lx.text[close] == '"') return Lexeme{TokenKind::String, close + 1};
  std::size_t end = close == std::string_view::npos ? lx.text.size() : close;
  push_lex_diagnostic(lx, DiagnosticCode::OV002, start, end, "string is never closed");
  return Lexeme{TokenKind::Unrecognised, end};
}

Lexeme lex_comment(LineLexer& lx, std::size_t start) {
  std::size_t end = lx.text.find('\n', start);
  return Lexeme{TokenKind::Comment, end == std::string_view::npos ? lx.text.size() : end};
}

// `=`, `<` and `>` take a following `=` into a two-byte operator.
Lexeme lex_comparison(LineLexer& lx, std::size_t start, TokenKind single, TokenKind with_equal) {
  bool doubled = start + 1 < lx.text.size() && lx.text[start + 1] == '=';
  return Lexeme{doubled ? with_equal : single, start + (doubled ? 2 : 1)};
}

Lexeme lex_unexpected_byte(LineLexer& lx, std::size_t start) {
  push_lex_diagnostic(lx, DiagnosticCode::OV001, start, start + 1, "unexpected character");
  return Lexeme{TokenKind::Unrecognised, start + 1};
}

Lexeme lex_non_ascii(LineLexer& lx, std::size_t start) {
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

// The lexeme at `start` of a kind that the line loop does not take itself: neither a name, a
// number, white space between tokens nor a line end.
[[gnu::noinline]] Lexeme lex_other(LineLexer& lx, std::size_t start) {
  char c = lx.text[start];
  switch (opener_of(c)) {
    case Opener::Quote: return lex_string(lx, start);
    case Opener::Hash: return lex_comment(lx, start);
    case Opener::Compare:
      if (c == '=') return lex_comparison(lx, start, TokenKind::Assign, TokenKind::EqualEqual);
      if (c == '<') return lex_comparison(lx, start, TokenKind::Less, TokenKind::LessEqual);
      return lex_comparison(lx, start, TokenKind::Greater, TokenKind::GreaterEqual);
    case Opener::Bang:
      if (start + 1 < lx.text.size() && lx.text[start + 1] == '=') return Lexeme{TokenKind::NotEqual, start + 2};
      return lex_unexpected_byte(lx, start);
    case Opener::NonAscii: return lex_non_ascii(lx, start);
    default: return lex_unexpected_byte(lx, start);
  }
}

// Past the blanks from `pos`. Lines are indented by runs of spaces, taken four at a time.
std::size_t skip_blanks(std::string_view text, std::size_t pos) {
  constexpr std::uint32_t four_spaces = 0x20202020;
  while (pos + 4 <= text.size()) {
    std::uint32_t bytes;
    std::memcpy(&bytes, text.data() + pos, 4);
    if (bytes != four_spaces) break;
    pos += 4;
  }
  while (pos < text.size() && is_blank(text[pos])) ++pos;
  return pos;
}

// Appends to a vector.
struct VectorOut {
  std::vector<Token>& tokens;
  void put(const Token& token) { tokens.push_back(token); }
  std::size_t held() const { return tokens.size(); }
  void finish(std::uint32_t) {}
};

// The room doubled, for a line with more tokens than any before; the place after the last
// token written.
[[gnu::noinline]] Token* grow_room(LineTokens& line, const Token* next) {
  std::size_t count = static_cast<std::size_t>(next - line.room.data());
  line.room.resize(std::max<std::size_t>(64, line.room.size() * 2));
  return line.room.data() + count;
}

// Writes into reused room. Only the two pointers change per token, and they stay in registers.
struct RoomOut {
  LineTokens& line;
  Token* next = line.room.data() + line.count;
  Token* limit = line.room.data() + line.room.size();

  void put(const Token& token) {
    if (next == limit) {
      next = grow_room(line, next);
      limit = line.room.data() + line.room.size();
    }
    // Field by field: packed into one vector store, a token costs several shuffles more.
    next->file = token.file;
    next->start = token.start;
    next->end = token.end;
    next->column = token.column;
    next->kind = token.kind;
    next->first_on_line = token.first_on_line;
    ++next;
  }
  std::size_t held() const { return static_cast<std::size_t>(next - line.room.data()); }
  void finish(std::uint32_t kinds) {
    line.count = static_cast<std::size_t>(next - line.room.data());
    line.kinds = kinds;
  }
};

// The tokens of the next lines into `out`, line by line until it holds at least `at_least`
// tokens or the text ends. Names, numbers and one-byte operators, nearly all of a
// model's tokens, are taken here with every position held in locals.
template <class Out>
void lex_lines_into(LineLexer& lexer, Out& out, bool with_comments, std::size_t at_least) {
  if (lexer.done) return;
  std::string_view text = lexer.text;
  const char* data = text.data();
  std::size_t size = text.size();
  std::uint32_t file = lexer.file;
  std::size_t line_start = lexer.line_start;
  bool first = !lexer.token_on_line;
  std::uint32_t kinds = 0;  // of the tokens other than names, numbers and line ends
  auto put = [&](TokenKind kind, std::size_t start, std::size_t end, bool first_on_line) {
    out.put(Token{file, static_cast<std::uint32_t>(start), static_cast<std::uint32_t>(end),
                  static_cast<std::uint32_t>(start - line_start), kind, first_on_line});
  };
  std::size_t pos = skip_blanks(text, lexer.pos);
  for (;;) {
    if (pos == size) {
      // The end-of-file token is the first of its line when the line holds no other.
      put(TokenKind::EndOfFile, pos, pos, first);
      first = false;
      lexer.done = true;
      break;
    }
    char c = data[pos];
    Opener opener = opener_of(c);
    std::size_t start = pos;
    TokenKind kind = TokenKind::Identifier;
    // What the scanners decide for the longer shapes.
    auto take = [&](Scanned scanned) {
      kind = scanned.kind;
      pos = scanned.end;
    };
    if (opener == Opener::Word) {
      pos = word_end(text, pos + 1);
    } else if (opener == Opener::Blank) {
      ++pos;
      continue;
    } else if (opener == Opener::LineEnd) {
      // A line end is never the first token of its line.
      put(TokenKind::EndOfLine, pos, pos + 1, false);
      ++pos;
      line_start = pos;
      first = true;
      if (out.held() >= at_least) break;
      pos = skip_blanks(text, pos);
      continue;
    } else if (opener == Opener::Name) {
      // A run that starts with an upper-case letter and that no sign or group follows is an
      // identifier; the rest scan_name decides.
      std::size_t run_end = word_end(text, pos + 1);
      char after = run_end < size ? data[run_end] : '\0';
      if (c != 'd' && after != '+' && after != '-' && after != '(') {
        pos = run_end;
      } else {
        take(scan_name(text, pos));
      }
    } else if (opener == Opener::Digit) {
      // Digits that no letter, `-`, `.` or exponent follows are a number; the rest scan_digits
      // decides.
      std::size_t digits_end = pos + 1;
      while (digits_end < size && is_digit(data[digits_end])) ++digits_end;
      char after = digits_end < size ? data[digits_end] : '\0';
      kind = TokenKind::Number;
      if (!is_letter(after) && after != '-' && after != '.') {
        pos = digits_end;
      } else {
        take(scan_digits(text, pos));
      }
    } else if (opener == Opener::Operator) {
      kind = single_byte_operator(c);
      kinds |= kind_bit(kind);
      ++pos;
    } else {
      Lexeme lexeme = lex_other(lexer, pos);
      kind = lexeme.kind;
      pos = lexeme.end;
      if (kind == TokenKind::Comment && !with_comments) {
        first = false;
        continue;
      }
      kinds |= kind_bit(kind);
    }
    put(kind, start, pos, first);
    first = false;
    // Tokens are mostly parted by one space.
    if (pos < size && data[pos] == ' ') ++pos;
  }
  lexer.pos = pos;
  lexer.line_start = line_start;
  lexer.token_on_line = !first;
  out.finish(kinds);
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
  VectorOut sink{out};
  lex_lines_into(lexer, sink, with_comments, 0);
}

void lex_line(LineLexer& lexer, LineTokens& out, bool with_comments) {
  RoomOut sink{out};
  lex_lines_into(lexer, sink, with_comments, 0);
}

void lex_lines(LineLexer& lexer, LineTokens& out, bool with_comments, std::size_t at_least) {
  RoomOut sink{out};
  lex_lines_into(lexer, sink, with_comments, at_least);
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
