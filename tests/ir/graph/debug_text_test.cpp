#include "ir/graph/debug_text.hpp"

#include <gtest/gtest.h>

#include <cmath>

namespace ovm::ir {
namespace {

TEST(DebugTextTest, OperatorsAndFunctionsPrintTheirNames) {
  EXPECT_EQ(debug_text(UnaryOp::Negate), "Negate");
  const char* binary[] = {"Add", "Subtract", "Multiply", "Divide", "Power"};
  for (int i = 0; i < 5; ++i) EXPECT_EQ(debug_text(static_cast<BinaryOp>(i)), binary[i]);
  const char* functions[] = {"Exp", "Ln", "Log10", "Sqrt", "Abs", "Pow", "Min", "Max"};
  for (int i = 0; i < 8; ++i) EXPECT_EQ(debug_text(static_cast<Function>(i)), functions[i]);
  EXPECT_EQ(debug_text(ParameterId{3}), "ParameterId(3)");
}

struct ExprCase {
  Expr expr;
  const char* text;
};

TEST(DebugTextTest, ExpressionsPrintEveryNodeWithItsFields) {
  std::vector<Expr> two;
  two.push_back(Expr(Expr::Time{}));
  two.push_back(constant_expr(1e16));
  const ExprCase cases[] = {
      {constant_expr(0.5), "Constant(0.5)"},
      {constant_expr(1e-5), "Constant(1e-5)"},
      {constant_expr(0.0001), "Constant(0.0001)"},
      {constant_expr(250), "Constant(250.0)"},
      {constant_expr(std::nan("")), "Constant(NaN)"},
      {parameter_expr(ParameterId{2}), "Parameter(ParameterId(2))"},
      {Expr(Expr::Temperature{}), "Temperature"},
      {Expr(Expr::Time{}), "Time"},
      {unary_expr(UnaryOp::Negate, Expr(Expr::Time{})), "Unary { op: Negate, operand: Time }"},
      {binary_expr(BinaryOp::Add, Expr(Expr::Temperature{}), constant_expr(1)),
       "Binary { op: Add, lhs: Temperature, rhs: Constant(1.0) }"},
      {call_expr(Function::Max, {}), "Call { function: Max, args: [] }"},
      {call_expr(Function::Pow, std::move(two)), "Call { function: Pow, args: [Time, Constant(1e16)] }"},
      {binary_expr(BinaryOp::Divide, unary_expr(UnaryOp::Negate, parameter_expr(ParameterId{0})),
                   call_expr(Function::Ln,
                             [] {
                               std::vector<Expr> args;
                               args.push_back(binary_expr(BinaryOp::Power, constant_expr(2), constant_expr(-0.0)));
                               return args;
                             }())),
       "Binary { op: Divide, lhs: Unary { op: Negate, operand: Parameter(ParameterId(0)) }, rhs: Call { function: Ln, "
       "args: [Binary { op: Power, lhs: Constant(2.0), rhs: Constant(-0.0) }] } }"},
  };
  for (const ExprCase& c : cases) EXPECT_EQ(debug_text(c.expr), c.text);
}

TEST(DebugTextTest, RateLawsPrintTheirExpressionsInsideTheirBraces) {
  EXPECT_EQ(debug_text(RateLaw{RateLaw::FirstOrder{constant_expr(0.5)}}), "FirstOrder { constant: Constant(0.5) }");
  EXPECT_EQ(debug_text(RateLaw{RateLaw::ZeroOrder{Expr(Expr::Time{})}}), "ZeroOrder { constant: Time }");
  EXPECT_EQ(debug_text(RateLaw{RateLaw::SecondOrder{constant_expr(2)}}), "SecondOrder { constant: Constant(2.0) }");
  EXPECT_EQ(debug_text(RateLaw{RateLaw::Monod{parameter_expr(ParameterId{2}), constant_expr(0.001)}}),
            "Monod { constant: Parameter(ParameterId(2)), half_saturation: Constant(0.001) }");
}

}  // namespace
}  // namespace ovm::ir
