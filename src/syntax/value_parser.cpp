#include "syntax/literal.hpp"
#include "syntax/numbers.hpp"
#include "syntax/parser.hpp"

namespace ovm::syntax {
namespace {

using diagnostics::Span;

// An identifier, or a qualified name when `.` and a name part follow it.
Value name_value(ParserState& state) {
  const Token& first = current(state);
  advance(state);
  if (!at(state, TokenKind::Dot) || !is_name_part(peek(state, 1).kind)) {
    return Value{token_text(state, first), first.span(), ValueKind::Identifier};
  }
  std::vector<std::string_view> parts{token_text(state, first)};
  Span span = first.span();
  while (at(state, TokenKind::Dot) && is_name_part(peek(state, 1).kind)) {
    const Token& part = peek(state, 1);
    parts.push_back(token_text(state, part));
    span = Span::join(span, part.span());
    advance(state);
    advance(state);
  }
  return Value{state.arena.make(state.arena.take(parts)), span};
}

}  // namespace

std::optional<Value> parse_value(ParserState& state) {
  const Token& token = current(state);
  if (token.kind == TokenKind::Identifier) return name_value(state);
  if (token.kind == TokenKind::Minus) {
    const Token& number = peek(state, 1);
    if (number.kind != TokenKind::Number) return std::nullopt;
    Value value{-read_float(token_text(state, number)), Span::join(token.span(), number.span())};
    advance(state);
    advance(state);
    return value;
  }
  if (!is_literal(token.kind)) return std::nullopt;
  Value value = literal_value(state, token);
  advance(state);
  return value;
}

}  // namespace ovm::syntax
