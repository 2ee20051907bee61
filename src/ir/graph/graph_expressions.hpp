#pragma once

#include <cstdint>
#include <memory>
#include <type_traits>
#include <utility>
#include <variant>
#include <vector>

#include "ir/graph/graph_ids.hpp"

namespace ovm::ir {

enum class UnaryOp : std::uint8_t { Negate = 0 };

enum class BinaryOp : std::uint8_t { Add = 0, Subtract = 1, Multiply = 2, Divide = 3, Power = 4 };

enum class Function : std::uint8_t { Exp = 0, Ln = 1, Log10 = 2, Sqrt = 3, Abs = 4, Pow = 5, Min = 6, Max = 7 };

// An expression tree the engine evaluates; every node owns its operands, nothing is shared.
//
// Trees from the parser are at most 256 levels high and those read from a lowered-model file
// far less, but a graph can be built by hand to any height. So copying, comparing, destroying
// and every walk in this library run on an explicit stack, never on the call stack.
struct Expr {
  struct Constant {
    double value = 0;  // in base units; NaN where lowering met a name it could not resolve
  };
  struct Parameter {
    ParameterId id;
  };
  struct Temperature {};  // the temperature_k of the model's conditions
  struct Time {};         // the model clock in s
  struct Unary {
    UnaryOp op = UnaryOp::Negate;
    std::unique_ptr<Expr> operand;  // never null
  };
  struct Binary {
    BinaryOp op = BinaryOp::Add;
    std::unique_ptr<Expr> lhs;  // never null
    std::unique_ptr<Expr> rhs;  // never null
  };
  struct Call {
    Function function = Function::Exp;
    std::vector<Expr> args;
  };

  using Kind = std::variant<Constant, Parameter, Temperature, Time, Unary, Binary, Call>;

  Kind kind;

  Expr();  // the constant 0
  // From one node, built in place; implicit, as a node is an expression.
  template <typename Node>
    requires(!std::is_same_v<std::remove_cvref_t<Node>, Expr> && std::is_constructible_v<Kind, Node &&>)
  Expr(Node&& node) : kind(std::forward<Node>(node)) {}
  Expr(const Expr& other);
  Expr(Expr&& other) noexcept;
  Expr& operator=(const Expr& other);
  Expr& operator=(Expr&& other) noexcept;
  ~Expr();

  friend bool operator==(const Expr& a, const Expr& b);
};

// Shorthands for building trees.
Expr constant_expr(double value);
Expr parameter_expr(ParameterId id);
Expr unary_expr(UnaryOp op, Expr operand);
Expr binary_expr(BinaryOp op, Expr lhs, Expr rhs);
Expr call_expr(Function function, std::vector<Expr> args);

}  // namespace ovm::ir
