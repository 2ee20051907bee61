#include "ir/graph/graph_expressions.hpp"

#include <gtest/gtest.h>

#include <cmath>

#include "ir/graph/debug_text.hpp"
#include "ir/graph/graph_check.hpp"
#include "ir/graph/model_graph.hpp"

namespace ovm::ir {
namespace {

Expr sample_tree() {
  std::vector<Expr> args;
  args.push_back(parameter_expr(ParameterId{1}));
  args.push_back(unary_expr(UnaryOp::Negate, Expr(Expr::Temperature{})));
  return binary_expr(BinaryOp::Multiply, constant_expr(2), call_expr(Function::Min, std::move(args)));
}

// A chain of negations `height` nodes high above a read of parameter `leaf`.
Expr negation_chain(std::size_t height, std::uint32_t leaf) {
  Expr expr = parameter_expr(ParameterId{leaf});
  for (std::size_t i = 0; i < height; ++i) expr = unary_expr(UnaryOp::Negate, std::move(expr));
  return expr;
}

TEST(ExprTest, ACopySharesNoNodeWithTheOriginal) {
  Expr original = sample_tree();
  Expr copy = original;
  EXPECT_EQ(copy, original);
  EXPECT_EQ(debug_text(copy), debug_text(original));

  auto& call = std::get<Expr::Call>(std::get<Expr::Binary>(copy.kind).rhs->kind);
  call.args[0] = constant_expr(7);
  EXPECT_NE(copy, original);
  EXPECT_EQ(debug_text(original),
            "Binary { op: Multiply, lhs: Constant(2.0), rhs: Call { function: Min, args: [Parameter(ParameterId(1)), "
            "Unary { op: Negate, operand: Temperature }] } }");

  Expr assigned = constant_expr(1);
  assigned = original;
  EXPECT_EQ(assigned, original);
}

TEST(ExprTest, EqualityLooksAtEveryNode) {
  const Expr base = sample_tree();
  Expr other_op = base;
  std::get<Expr::Binary>(other_op.kind).op = BinaryOp::Add;
  Expr other_leaf = base;
  std::get<Expr::Call>(std::get<Expr::Binary>(other_leaf.kind).rhs->kind).args[1] =
      unary_expr(UnaryOp::Negate, Expr(Expr::Time{}));
  Expr fewer_args = base;
  std::get<Expr::Call>(std::get<Expr::Binary>(fewer_args.kind).rhs->kind).args.pop_back();
  Expr other_function = base;
  std::get<Expr::Call>(std::get<Expr::Binary>(other_function.kind).rhs->kind).function = Function::Max;

  EXPECT_NE(other_op, base);
  EXPECT_NE(other_leaf, base);
  EXPECT_NE(fewer_args, base);
  EXPECT_NE(other_function, base);
  EXPECT_NE(parameter_expr(ParameterId{1}), parameter_expr(ParameterId{2}));
  EXPECT_NE(constant_expr(1), parameter_expr(ParameterId{1}));
  EXPECT_EQ(Expr(Expr::Time{}), Expr(Expr::Time{}));
  EXPECT_NE(Expr(Expr::Time{}), Expr(Expr::Temperature{}));
}

TEST(ExprTest, ANodeCanTakeOverItsOwnOperand) {
  Expr expr = unary_expr(UnaryOp::Negate, binary_expr(BinaryOp::Add, constant_expr(1), Expr(Expr::Time{})));
  Expr inner = std::move(*std::get<Expr::Unary>(expr.kind).operand);
  expr = std::move(inner);
  EXPECT_EQ(debug_text(expr), "Binary { op: Add, lhs: Constant(1.0), rhs: Time }");

  Expr again = unary_expr(UnaryOp::Negate, constant_expr(3));
  again = std::move(*std::get<Expr::Unary>(again.kind).operand);
  EXPECT_EQ(again, constant_expr(3));
}

// Far above the parser's bound of 256 levels: nothing here may recurse once per level.
TEST(ExprTest, VeryDeepTreesAreCopiedComparedPrintedCheckedAndDestroyed) {
  constexpr std::size_t height = 200000;
  Expr deep = negation_chain(height, 4);
  Expr copy = deep;
  EXPECT_EQ(copy, deep);
  EXPECT_NE(copy, negation_chain(height, 3));

  const std::string opening = "Unary { op: Negate, operand: ";
  const std::string leaf = "Parameter(ParameterId(4))";
  std::string text = debug_text(deep);
  ASSERT_EQ(text.size(), height * (opening.size() + 2) + leaf.size());
  EXPECT_EQ(text.compare(0, opening.size(), opening), 0);
  EXPECT_EQ(text.compare(height * opening.size(), leaf.size(), leaf), 0);
  EXPECT_EQ(text.find_first_not_of(" }", height * opening.size() + leaf.size()), std::string::npos);

  ModelGraph graph;
  graph.parameters.push_back(Parameter{ParameterId{0}, "k", std::nullopt, std::move(copy)});
  EXPECT_EQ(check_model_graph(graph), std::vector<std::string>{"parameter `k` reads unknown parameter 4"});
}

}  // namespace
}  // namespace ovm::ir
