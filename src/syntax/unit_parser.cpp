#include "syntax/numbers.hpp"
#include "syntax/parser.hpp"

namespace ovm::syntax {
namespace {

// symbol [^ [-] number]; nothing when the tokens there are no unit factor.
std::optional<UnitFactor> parse_unit_factor(ParserState& state, UnitOp op) {
  const Token& symbol = current(state);
  bool is_one = symbol.kind == TokenKind::Number && token_text(state, symbol) == "1";
  if (symbol.kind != TokenKind::Identifier && !is_one) return std::nullopt;
  UnitFactor factor{token_text(state, symbol), 1, op};
  advance(state);
  if (!at(state, TokenKind::Caret)) return factor;
  advance(state);
  bool negative = at(state, TokenKind::Minus);
  if (negative) advance(state);
  if (!at(state, TokenKind::Number)) return std::nullopt;
  // A power that is no 32-bit integer (2.5, 1e3, too large) counts as 1.
  std::int32_t power = read_int32(token_text(state, current(state))).value_or(1);
  factor.exponent = negative ? -power : power;
  advance(state);
  return factor;
}

}  // namespace

std::optional<UnitExpr> parse_unit(ParserState& state) {
  std::size_t start = state.position;
  std::vector<UnitFactor>& factors = state.factor_list;
  factors.clear();
  UnitOp op = UnitOp::First;
  for (;;) {
    std::optional<UnitFactor> factor = parse_unit_factor(state, op);
    if (!factor) break;
    factors.push_back(*factor);
    if (at_line_end(state)) {
      diagnostics::Span span = diagnostics::Span::join(token_at(state, start).span(), token_at(state, state.position - 1).span());
      // Stripping only removes characters: a text of the same length is the written one.
      std::string_view written = span_text(state, span);
      if (!may_hold_whitespace(written)) return UnitExpr(written, span);
      std::string stripped = strip_whitespace(written);
      return UnitExpr(stripped.size() == written.size() ? written : state.arena.copy(stripped), span);
    }
    if (at(state, TokenKind::Star)) op = UnitOp::Times;
    else if (at(state, TokenKind::Slash)) op = UnitOp::Divide;
    else break;
    advance(state);
  }
  seek(state, start);
  return std::nullopt;
}

}  // namespace ovm::syntax
