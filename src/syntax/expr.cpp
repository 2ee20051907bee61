#include "syntax/expr.hpp"

#include "syntax/arena.hpp"

#include <array>
#include <type_traits>

namespace ovm::syntax {
namespace {

constexpr std::array<std::string_view, 5> binary_op_texts = {"+", "-", "*", "/", "^"};
constexpr std::array<std::string_view, 6> compare_op_texts = {"<", "<=", ">", ">=", "==", "!="};

}  // namespace

std::string_view as_str(SyntaxBinaryOp op) { return binary_op_texts[static_cast<std::size_t>(op)]; }

std::string_view as_str(CompareOp op) { return compare_op_texts[static_cast<std::size_t>(op)]; }

// kind() gives the views back by their place in Kind.
static_assert(std::is_same_v<std::variant_alternative_t<0, SyntaxExpr::Kind>, SyntaxExpr::Number> &&
              std::is_same_v<std::variant_alternative_t<2, SyntaxExpr::Kind>, SyntaxExpr::Ident> &&
              std::is_same_v<std::variant_alternative_t<4, SyntaxExpr::Kind>, SyntaxExpr::Call> &&
              std::is_same_v<std::variant_alternative_t<6, SyntaxExpr::Kind>, SyntaxExpr::Binary> &&
              std::is_same_v<std::variant_alternative_t<7, SyntaxExpr::Kind>, SyntaxExpr::Error>);

SyntaxExpr::SyntaxExpr(const Kind& kind, diagnostics::Span span, Arena& arena)
    : span(span), index_(static_cast<std::uint8_t>(kind.index())) {
  if (const auto* number = std::get_if<Number>(&kind)) {
    payload_.number = number->value;
  } else if (const auto* literal = std::get_if<Literal>(&kind)) {
    payload_.node = literal->of;
  } else if (const auto* ident = std::get_if<Ident>(&kind)) {
    payload_.name = ident->name.data();
  } else if (const auto* qualified = std::get_if<Qualified>(&kind)) {
    payload_.node = arena.make(*qualified);
  } else if (const auto* call = std::get_if<Call>(&kind)) {
    payload_.node = arena.make(*call);
  } else if (const auto* unary = std::get_if<Unary>(&kind)) {
    payload_.node = unary->operand;
  } else if (const auto* binary = std::get_if<Binary>(&kind)) {
    op_ = binary->op;
    // The parser places the operands side by side; others are placed so here.
    payload_.node = binary->rhs == binary->lhs + 1 ? binary->lhs : arena.make_pair(*binary->lhs, *binary->rhs);
  }
}

SyntaxExpr::Kind SyntaxExpr::kind() const {
  switch (index_) {
    case 0: return Number{payload_.number};
    case 1: return Literal{static_cast<const Value*>(payload_.node)};
    case 2: return Ident{std::string_view(payload_.name, span.end - span.start)};
    case 3: return *static_cast<const Qualified*>(payload_.node);
    case 4: return *static_cast<const Call*>(payload_.node);
    case 5: return Unary{static_cast<const SyntaxExpr*>(payload_.node)};
    case 6: {
      const auto* pair = static_cast<const SyntaxExpr*>(payload_.node);
      return Binary{op_, pair, pair + 1};
    }
    default: return Error{};
  }
}

}  // namespace ovm::syntax
