#include "syntax/literal.hpp"

#include <string>

#include "diagnostics/internal_error.hpp"
#include "syntax/numbers.hpp"

namespace ovm::syntax {
namespace {

using diagnostics::internal_error;

Value text_value(ValueKind kind, std::string_view text, diagnostics::Span span) {
  return Value{text, span, kind};
}

}  // namespace

bool is_name_part(TokenKind kind) {
  return kind == TokenKind::Identifier || kind == TokenKind::Species || kind == TokenKind::Delta;
}

bool is_literal(TokenKind kind) {
  switch (kind) {
    case TokenKind::Species:
    case TokenKind::Ratio:
    case TokenKind::Delta:
    case TokenKind::Date:
    case TokenKind::String:
    case TokenKind::Number: return true;
    default: return false;
  }
}

Value literal_value(const ParserState& state, const Token& token) {
  std::string_view text = token_text(state, token);
  switch (token.kind) {
    case TokenKind::Species: return text_value(ValueKind::Species, text, token.span());
    case TokenKind::Ratio: return text_value(ValueKind::Ratio, text, token.span());
    case TokenKind::Delta: return text_value(ValueKind::Delta, text, token.span());
    case TokenKind::Date: return text_value(ValueKind::Date, text, token.span());
    case TokenKind::String: return text_value(ValueKind::String, text.substr(1, text.size() - 2), token.span());
    case TokenKind::Number: return Value{read_float(text), token.span()};
    default: internal_error("a token that is no literal read as a literal");
  }
}

}  // namespace ovm::syntax
