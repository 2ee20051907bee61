#include <algorithm>
#include <optional>
#include <utility>

#include "syntax/literal.hpp"
#include "syntax/numbers.hpp"
#include "syntax/parser.hpp"

namespace ovm::syntax {
namespace {

using diagnostics::DiagnosticCode;
using diagnostics::Span;

ParsedExpr leaf(ParserState& state, const SyntaxExpr::Kind& node, Span span) {
  return ParsedExpr{SyntaxExpr{node, span, state.arena}, 1};
}

ParsedExpr error_node(Span span) {
  SyntaxExpr error;
  error.span = span;
  return ParsedExpr{error, 1};
}

// Reported once per statement: after it every level unwinds without reading further.
void mark_too_deep(ParserState& state, Span span) {
  if (state.too_deep) return;
  state.too_deep = true;
  report(state, DiagnosticCode::OV007, span, "expression nesting is too deep");
}

// A node over children at most `child_height` high. A tree that would pass the height limit
// ends the expression at `token`, so no later walk of the tree can exhaust the stack.
ParsedExpr build(ParserState& state, const Token& token, const SyntaxExpr::Kind& kind, Span span, std::uint32_t child_height) {
  if (child_height >= max_expr_depth) {
    mark_too_deep(state, token.span());
    return error_node(span);
  }
  return ParsedExpr{SyntaxExpr{kind, span, state.arena}, child_height + 1};
}

ParsedExpr combine(ParserState& state, const Token& token, SyntaxBinaryOp op, ParsedExpr lhs, ParsedExpr rhs) {
  Span span = Span::join(lhs.expr.span, rhs.expr.span);
  std::uint32_t height = std::max(lhs.height, rhs.height);
  const SyntaxExpr* operands = state.arena.make_pair(lhs.expr, rhs.expr);
  return build(state, token, SyntaxExpr::Binary{op, operands, operands + 1}, span, height);
}

// One left-associative level: operands read by `operand`, joined while `op_of` maps the
// current token to an operator.
template <class ReadOperand, class OpOf>
ParsedExpr left_associative(ParserState& state, ReadOperand operand, OpOf op_of) {
  ParsedExpr lhs = operand(state);
  while (!state.too_deep) {
    const Token& token = current(state);
    std::optional<SyntaxBinaryOp> op = op_of(token.kind);
    if (!op) break;
    advance(state);
    ParsedExpr rhs = operand(state);
    lhs = combine(state, token, *op, std::move(lhs), std::move(rhs));
  }
  return lhs;
}

std::optional<SyntaxBinaryOp> additive(TokenKind kind) {
  if (kind == TokenKind::Plus) return SyntaxBinaryOp::Plus;
  if (kind == TokenKind::Minus) return SyntaxBinaryOp::Minus;
  return std::nullopt;
}

std::optional<SyntaxBinaryOp> multiplicative(TokenKind kind) {
  if (kind == TokenKind::Star) return SyntaxBinaryOp::Times;
  if (kind == TokenKind::Slash) return SyntaxBinaryOp::Divide;
  return std::nullopt;
}

// After `name (`: the arguments up to `)`.
ParsedExpr parse_call(ParserState& state, const Token& name) {
  advance(state);
  std::vector<SyntaxExpr> args;
  std::uint32_t height = 0;
  if (!at(state, TokenKind::RightParen)) {
    for (;;) {
      ParsedExpr arg = parse_expr(state);
      height = std::max(height, arg.height);
      args.push_back(std::move(arg.expr));
      if (state.too_deep || !at(state, TokenKind::Comma)) break;
      advance(state);
    }
  }
  const Token& close = current(state);
  Span span = Span::join(name.span(), close.span());
  if (state.too_deep) return error_node(span);
  if (close.kind != TokenKind::RightParen) {
    report(state, DiagnosticCode::OV007, close.span(), "expected `)` to close the call");
    return error_node(span);
  }
  advance(state);
  return build(state, close, SyntaxExpr::Call{token_text(state, name), state.arena.take(args)}, span, height);
}

// After `name` with `.` next: the dotted path.
ParsedExpr parse_qualified(ParserState& state, const Token& first) {
  std::vector<Name> path{Name{token_text(state, first), first.span()}};
  while (at(state, TokenKind::Dot)) {
    advance(state);
    const Token& part = current(state);
    if (!is_name_part(part.kind)) {
      qualified_name_error(state, part.span());
      return error_node(Span::join(first.span(), part.span()));
    }
    path.push_back(Name{token_text(state, part), part.span()});
    advance(state);
  }
  Span span = Span::join(first.span(), path.back().span);
  return leaf(state, SyntaxExpr::Qualified{state.arena.take(path)}, span);
}

// After `(`: the inner expression stands for the whole group, span included.
ParsedExpr parse_group(ParserState& state, const Token& open) {
  ParsedExpr inner = parse_expr(state);
  if (state.too_deep) return inner;
  if (at(state, TokenKind::RightParen)) {
    advance(state);
    return inner;
  }
  const Token& found = current(state);
  report(state, DiagnosticCode::OV007, found.span(), "expected `)`");
  return error_node(Span::join(open.span(), found.span()));
}

}  // namespace

void qualified_name_error(ParserState& state, Span span) {
  report(state, DiagnosticCode::OV109, span, "expected a property name after `.`");
}

ParsedExpr parse_expr(ParserState& state) { return left_associative(state, parse_term, additive); }

ParsedExpr parse_term(ParserState& state) { return left_associative(state, parse_factor, multiplicative); }

ParsedExpr parse_factor(ParserState& state) {
  const Token& token = current(state);
  if (state.too_deep) return error_node(token.span());
  // Every recursion of the expression parser passes through here.
  DepthGuard guard(state.expr_depth);
  if (state.expr_depth > max_expr_depth) {
    mark_too_deep(state, token.span());
    return error_node(token.span());
  }
  if (token.kind == TokenKind::Minus) {
    advance(state);
    ParsedExpr operand = parse_factor(state);
    Span span = Span::join(token.span(), operand.expr.span);
    std::uint32_t height = operand.height;
    return build(state, token, SyntaxExpr::Unary{state.arena.make(std::move(operand.expr))}, span, height);
  }
  ParsedExpr base = parse_primary(state);
  if (state.too_deep || !at(state, TokenKind::Caret)) return base;
  const Token& caret = current(state);
  advance(state);
  ParsedExpr exponent = parse_factor(state);
  return combine(state, caret, SyntaxBinaryOp::Power, std::move(base), std::move(exponent));
}

ParsedExpr parse_primary(ParserState& state) {
  const Token& token = current(state);
  if (state.too_deep) return error_node(token.span());
  if (!at_line_end(state)) advance(state);
  switch (token.kind) {
    case TokenKind::Number: return leaf(state, SyntaxExpr::Number{read_float(token_text(state, token))}, token.span());
    case TokenKind::String:
    case TokenKind::Ratio:
    case TokenKind::Delta:
    case TokenKind::Date: return leaf(state, SyntaxExpr::Literal{state.arena.make(literal_value(state, token))}, token.span());
    case TokenKind::Identifier:
      if (at(state, TokenKind::LeftParen)) return parse_call(state, token);
      if (at(state, TokenKind::Dot)) return parse_qualified(state, token);
      return leaf(state, SyntaxExpr::Ident{token_text(state, token)}, token.span());
    case TokenKind::Species:
      report(state, DiagnosticCode::OV007, token.span(), "a chemical species is not an operand, use a qualified name");
      return error_node(token.span());
    case TokenKind::LeftParen: return parse_group(state, token);
    default:
      report(state, DiagnosticCode::OV007, token.span(), with_kind("expected a value, found {}", token));
      return error_node(token.span());
  }
}

}  // namespace ovm::syntax
