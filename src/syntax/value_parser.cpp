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

bool is_unit_operand(TokenKind kind) {
  return kind == TokenKind::Identifier || kind == TokenKind::Number || kind == TokenKind::Minus;
}

// The rest of the line as one value that no other kind can hold.
Value unreadable_rest(ParserState& state) {
  Span first = current(state).span();
  skip_to_line_end(state);
  Span span = Span::join(first, last_consumed_span(state));
  return Value{span_text(state, span), span, ValueKind::Unreadable};
}

// Whether a unit may start at the current token: after identifiers, numbers and minus signs comes `*`, `/`
// or `^`. Remembers how far it looked, so a long line is scanned once, not once per value.
class UnitLookahead {
 public:
  bool unit_ahead(const ParserState& state) {
    // Most runs of lines at hand hold no unit operator at all.
    if ((state.tokens.kinds & (kind_bit(TokenKind::Star) | kind_bit(TokenKind::Slash) | kind_bit(TokenKind::Caret))) == 0) {
      return false;
    }
    if (!scanned_ || state.position > stop_) {
      stop_ = state.position;
      // The end-of-file token ends every run.
      while (is_unit_operand(token_at(state, stop_).kind)) ++stop_;
      TokenKind found = token_at(state, stop_).kind;
      answer_ = found == TokenKind::Star || found == TokenKind::Slash || found == TokenKind::Caret;
      scanned_ = true;
    }
    return answer_;
  }

 private:
  bool scanned_ = false;
  std::size_t stop_ = 0;
  bool answer_ = false;
};

// parse_value, kept here so that the loop over a line's values can take it inline.
std::optional<Value> value_at(ParserState& state) {
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

}  // namespace

std::optional<Value> parse_value(ParserState& state) { return value_at(state); }

// The values are collected in the state's list, from which the statement copies them.
Statement parse_values(ParserState& state, StatementKey key, Span span) {
  const UnitExpr* unit = nullptr;
  std::vector<Value>& values = state.value_list;
  values.clear();
  UnitLookahead lookahead;
  while (!at_line_end(state)) {
    bool after_number = !values.empty() && values.back().kind == ValueKind::Number;
    if (after_number || lookahead.unit_ahead(state)) {
      if (std::optional<UnitExpr> found = parse_unit(state)) {
        unit = state.arena.make(*found);
        break;
      }
    }
    if (std::optional<Value> value = value_at(state)) {
      values.push_back(std::move(*value));
      continue;
    }
    values.push_back(unreadable_rest(state));
    break;
  }
  return Statement(key, values, unit, span, state.arena);
}

}  // namespace ovm::syntax
