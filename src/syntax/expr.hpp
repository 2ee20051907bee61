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

// One node of an expression tree; its children live in the tree's arena. Parentheses leave no
// node. The parser bounds the height of every tree it builds, so walking one recursively is safe.
struct SyntaxExpr {
  struct Number {
    double value = 0;
  };
  struct Literal {  // rare in expressions: held by pointer so that it does not size every node
    const Value* of = nullptr;  // a string, isotope ratio, delta symbol or date; never null when parsed
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

  Kind kind;
  diagnostics::Span span;
};

}  // namespace ovm::syntax
