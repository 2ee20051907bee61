#include <cstdint>
#include <utility>

#include "syntax/parser.hpp"

namespace ovm::syntax {
namespace {

using diagnostics::DiagnosticCode;
using diagnostics::Span;

// The comparison kinds stand together, in the order of CompareOp.
static_assert(static_cast<int>(TokenKind::NotEqual) - static_cast<int>(TokenKind::Less) == static_cast<int>(CompareOp::NotEqual));

bool is_comparison(TokenKind kind) { return kind >= TokenKind::Less && kind <= TokenKind::NotEqual; }

std::optional<StatementKey::Kind> key_kind(TokenKind kind) {
  switch (kind) {
    case TokenKind::Identifier: return StatementKey::Kind::Word;
    case TokenKind::Species: return StatementKey::Kind::Species;
    case TokenKind::Delta: return StatementKey::Kind::Delta;
    default: return std::nullopt;
  }
}

// The key at the current token and its span; nothing, with the line reported and skipped,
// when the token cannot open a statement.
std::optional<std::pair<StatementKey, Span>> parse_key(ParserState& state) {
  const Token& token = current(state);
  if (std::optional<StatementKey::Kind> kind = key_kind(token.kind)) {
    advance(state);
    return std::pair{StatementKey{*kind, token_text(state, token)}, token.span()};
  }
  const Token& name = peek(state, 1);
  if (token.kind == TokenKind::Number && name.kind == TokenKind::Identifier && name.start == token.end) {
    // A mass number written against a name, as in 18O, is one word.
    advance(state);
    advance(state);
    Span span = Span::join(token.span(), name.span());
    return std::pair{StatementKey{StatementKey::Kind::Word, span_text(state, span)}, span};
  }
  report(state, DiagnosticCode::OV001, token.span(), with_kind("{} cannot open a statement", token));
  skip_line(state);
  return std::nullopt;
}

// A unit at the current token, placed in the arena; null when none stands there.
const UnitExpr* placed_unit(ParserState& state) {
  std::optional<UnitExpr> unit = parse_unit(state);
  return unit ? state.arena.make(*unit) : nullptr;
}

// The items are collected in the state's list, from which the statement copies them.
Statement parse_list(ParserState& state, StatementKey key, Span span) {
  std::vector<Value>& items = state.value_list;
  items.clear();
  advance(state);
  for (;;) {
    if (at(state, TokenKind::RightBracket)) {
      advance(state);
      break;
    }
    if (at_line_end(state)) {
      report(state, DiagnosticCode::OV001, current(state).span(), "list is never closed");
      break;
    }
    std::optional<Value> item = parse_value(state);
    if (!item) break;  // the statement's end reports the token
    items.push_back(std::move(*item));
    if (at(state, TokenKind::Comma)) {
      advance(state);
    } else if (!at(state, TokenKind::RightBracket) && !at_line_end(state)) {
      report(state, DiagnosticCode::OV001, current(state).span(), "expected `,` or `]`");
      break;
    }
  }
  return Statement(key, ListBody{items}, span, state.arena);
}

Statement parse_assignment(ParserState& state, StatementKey key, Span span, const Name* target) {
  ParsedExpr expr = parse_expr(state);
  if (state.too_deep) return Statement();
  const UnitExpr* unit = placed_unit(state);
  return Statement(key, AssignmentBody{target, state.arena.make(std::move(expr.expr)), unit}, span, state.arena);
}

// Whether a comparison operator stands before the line end outside parentheses.
bool comparison_ahead(const ParserState& state) {
  constexpr std::uint32_t comparisons = kind_bit(TokenKind::Less) | kind_bit(TokenKind::LessEqual) |
                                        kind_bit(TokenKind::Greater) | kind_bit(TokenKind::GreaterEqual) |
                                        kind_bit(TokenKind::EqualEqual) | kind_bit(TokenKind::NotEqual);
  // Most runs of lines at hand hold none at all.
  if ((state.tokens.kinds & comparisons) == 0) return false;
  std::int64_t parens = 0;
  for (std::size_t i = state.position;; ++i) {
    TokenKind kind = token_at(state, i).kind;
    if (kind == TokenKind::EndOfLine || kind == TokenKind::EndOfFile) return false;
    if (kind == TokenKind::LeftParen) ++parens;
    else if (kind == TokenKind::RightParen) --parens;
    else if (parens == 0 && is_comparison(kind)) return true;
  }
}

// A condition, or, when the expression after the key is not followed by a comparison, the
// values read again from the token after the key, so that every token lands in a value.
Statement parse_condition_or_values(ParserState& state, StatementKey key, Span span) {
  std::size_t start = state.position;
  ParsedExpr lhs = parse_expr(state);
  if (state.too_deep) return Statement();
  if (!is_comparison(current(state).kind)) {
    seek(state, start);
    return parse_values(state, key, span);
  }
  auto op = static_cast<CompareOp>(static_cast<std::uint8_t>(current(state).kind) - static_cast<std::uint8_t>(TokenKind::Less));
  advance(state);
  ParsedExpr rhs = parse_expr(state);
  if (state.too_deep) return Statement();
  const UnitExpr* unit = placed_unit(state);
  const Comparison* comparison =
      state.arena.make(Comparison{state.arena.make(std::move(lhs.expr)), state.arena.make(std::move(rhs.expr)), op});
  return Statement(key, ConditionBody{comparison, unit}, span, state.arena);
}

// A key alone on its line owns the following lines indented further than the key.
Statement parse_nested(ParserState& state, StatementKey key, Span span, std::uint32_t key_column) {
  // The statements under the key are one level deeper, and collected in that level's list.
  DepthGuard guard(state.statement_depth);
  if (at(state, TokenKind::EndOfLine)) advance(state);
  for (;;) {
    skip_blank_lines(state);
    // After a line end every token is the first of its line, so the column alone decides.
    const Token& token = current(state);
    if (token.kind == TokenKind::EndOfFile || token.column <= key_column) break;
    parse_statement(state);
  }
  std::vector<Statement>& statements = statement_list(state);
  if (statements.empty()) return Statement(key, std::span<const Value>(), nullptr, span, state.arena);
  return Statement(key, NestedBody{state.arena.take(statements)}, span, state.arena);
}

// The statement with its body; its span is the key's until the caller has read the line end.
Statement parse_body(ParserState& state, StatementKey key, Span span, std::uint32_t key_column) {
  const Token& token = current(state);
  if (token.kind == TokenKind::Identifier && peek(state, 1).kind == TokenKind::Assign) {
    const Name* target = state.arena.make(Name{token_text(state, token), token.span()});
    advance(state);
    advance(state);
    return parse_assignment(state, key, span, target);
  }
  if (token.kind == TokenKind::LeftBracket) return parse_list(state, key, span);
  if (token.kind == TokenKind::Assign) {
    advance(state);
    return parse_assignment(state, key, span, nullptr);
  }
  if (token.kind == TokenKind::EndOfLine || token.kind == TokenKind::EndOfFile) return parse_nested(state, key, span, key_column);
  if (comparison_ahead(state)) return parse_condition_or_values(state, key, span);
  return parse_values(state, key, span);
}

}  // namespace

bool parse_statement(ParserState& state) {
  // The depth counts the statements that hold this one.
  if (state.statement_depth >= max_statement_depth) {
    report(state, DiagnosticCode::OV001, current(state).span(), "statement nesting is too deep");
    skip_line(state);
    return false;
  }
  std::uint32_t indent = current(state).column;
  std::optional<std::pair<StatementKey, Span>> key = parse_key(state);
  if (!key) return false;
  bool nested_form = at_line_end(state);
  Statement statement = parse_body(state, key->first, key->second, indent);
  if (state.too_deep) {
    // The excess was reported where it was found; the statement is dropped with its line.
    state.too_deep = false;
    skip_line(state);
    return false;
  }
  if (!nested_form) {
    if (!at_line_end(state)) {
      report(state, DiagnosticCode::OV001, current(state).span(), with_kind("unexpected {} after the statement", current(state)));
      skip_to_line_end(state);
    }
    if (at(state, TokenKind::EndOfLine)) advance(state);
  }
  statement.span = Span::join(key->second, last_consumed_span(state));
  // Looked up only now: the statements nested in this one may have added lists.
  statement_list(state).push_back(statement);
  return true;
}

}  // namespace ovm::syntax
