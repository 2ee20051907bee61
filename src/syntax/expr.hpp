#pragma once

#include <cstdint>
#include <string_view>
#include <span>
#include <variant>

#include "diagnostics/span.hpp"
#include "syntax/value.hpp"

namespace ovm::syntax {

enum class SyntaxBinaryOp : std::uint8_t { Plus = 0, Minus = 1, Times = 2, Divide = 3, Power = 4 };

// "+", "-", "*", "/", "^".
std::string_view as_str(SyntaxBinaryOp op);

// In the order of the comparison token kinds, so a kind maps to its operator by subtraction.
enum class CompareOp : std::uint8_t { Less = 0, LessEqual = 1, Greater = 2, GreaterEqual = 3, Equal = 4, NotEqual = 5 };

// "<", "<=", ">", ">=", "==", "!=".
std::string_view as_str(CompareOp op);

class Arena;

// One node of an expression tree; its children live in the tree's arena. Parentheses leave no
// node. The parser bounds the height of every tree it builds, so walking one recursively is safe.
//
// 24 bytes: a parameter's value is a tree of several. The node is held packed and given back as
// one of the views below: a name as its start (the source under the span is its text), the
// operands of a binary node as one pointer to the pair, a call and a qualified name, far fewer,
// as their view placed in the arena.
class SyntaxExpr {
 public:
  struct Number {
    double value = 0;
  };
  struct Literal {  // a string, isotope ratio, delta symbol or date; never null when parsed
    const Value* of = nullptr;
  };
  struct Ident {
    std::string_view name;
  };
  struct Qualified {
    std::span<const Name> path;  // at least two parts
  };
  struct Call {
    std::string_view name;
    std::span<const SyntaxExpr> args;
  };
  struct Unary {  // the only unary operator is minus
    const SyntaxExpr* operand = nullptr;
  };
  struct Binary {
    SyntaxBinaryOp op = SyntaxBinaryOp::Plus;
    const SyntaxExpr* lhs = nullptr;
    const SyntaxExpr* rhs = nullptr;
  };
  struct Error {};  // stands wherever the source holds no valid expression

  using Kind = std::variant<Number, Literal, Ident, Qualified, Call, Unary, Binary, Error>;

  SyntaxExpr() = default;  // an error node
  // An identifier's name is the source under the span.
  SyntaxExpr(const Kind& kind, diagnostics::Span span, Arena& arena);

  Kind kind() const;

  diagnostics::Span span;

 private:
  union Payload {
    double number;
    const void* node = nullptr;  // the operand, the pair of operands, the value or the placed view
    const char* name;
  };
  // In this order the fields pack after the span.
  std::uint8_t index_ = 7;  // of the view in Kind
  SyntaxBinaryOp op_ = SyntaxBinaryOp::Plus;
  Payload payload_;
};

static_assert(sizeof(SyntaxExpr) <= 24, "an expression node grows every parameter's tree");

}  // namespace ovm::syntax
