#include "engine/simulation/evaluate_expr.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "state_test_support.hpp"

namespace ovm::engine {
namespace {

using ir::BinaryOp;
using ir::Expr;
using ir::Function;
using testing::add_parameter;
using testing::error_of;
using testing::value_of;

constexpr double nan = std::numeric_limits<double>::quiet_NaN();
constexpr double inf = std::numeric_limits<double>::infinity();

Expr c(double value) { return ir::constant_expr(value); }
Expr p(std::uint32_t index) { return ir::parameter_expr(ir::ParameterId{index}); }
Expr bin(BinaryOp op, Expr lhs, Expr rhs) { return ir::binary_expr(op, std::move(lhs), std::move(rhs)); }
Expr call(Function function, std::vector<Expr> args) { return ir::call_expr(function, std::move(args)); }

TEST(EvalExprTest, LeavesAndArithmetic) {
  SimulationState state;
  state.clock = 42.5;
  state.model.conditions.temperature_k = 298.15;
  struct Case {
    Expr expr;
    double expected;
  };
  std::vector<Case> cases;
  cases.push_back({c(2.5), 2.5});
  cases.push_back({Expr{Expr::Time{}}, 42.5});
  cases.push_back({Expr{Expr::Temperature{}}, 298.15});
  cases.push_back({ir::unary_expr(ir::UnaryOp::Negate, c(3)), -3});
  cases.push_back({bin(BinaryOp::Add, c(0.1), c(0.2)), 0.1 + 0.2});
  cases.push_back({bin(BinaryOp::Subtract, c(1), c(0.25)), 0.75});
  cases.push_back({bin(BinaryOp::Multiply, c(1.5), c(4)), 6});
  cases.push_back({bin(BinaryOp::Divide, c(1), c(4)), 0.25});
  cases.push_back({bin(BinaryOp::Power, c(2), c(10)), 1024});
  // (1 - 2) * 3 and 1 - 2 * 3: the tree decides the order.
  cases.push_back({bin(BinaryOp::Multiply, bin(BinaryOp::Subtract, c(1), c(2)), c(3)), -3});
  cases.push_back({bin(BinaryOp::Subtract, c(1), bin(BinaryOp::Multiply, c(2), c(3))), -5});
  cases.push_back({bin(BinaryOp::Subtract, c(10), c(4)), 6});
  for (const Case& test : cases) EXPECT_EQ(value_of(eval_expr(state, test.expr)), test.expected);
}

TEST(EvalExprTest, NotANumberAndOverflowPassThroughOperators) {
  SimulationState state;
  EXPECT_TRUE(std::isnan(value_of(eval_expr(state, c(nan)))));
  EXPECT_EQ(value_of(eval_expr(state, bin(BinaryOp::Multiply, c(1e300), c(1e300)))), inf);
  EXPECT_EQ(value_of(eval_expr(state, ir::unary_expr(ir::UnaryOp::Negate, c(inf)))), -inf);
  EXPECT_TRUE(std::isnan(value_of(eval_expr(state, bin(BinaryOp::Subtract, c(inf), c(inf))))));
  // A not-a-number divisor is divided by.
  add_parameter(state, "k", c(nan));
  EXPECT_TRUE(std::isnan(value_of(eval_expr(state, bin(BinaryOp::Divide, c(1), p(0))))));
}

TEST(EvalExprTest, DivisionByZeroNamesTheDividedValue) {
  SimulationState state;
  struct Case {
    double lhs;
    double rhs;
    const char* message;
  };
  for (const Case& test : std::vector<Case>{{1, 0, "division by zero: 1 / 0"},
                                            {1, -0.0, "division by zero: 1 / 0"},
                                            {0, 0, "division by zero: 0 / 0"},
                                            {-2.5, 0, "division by zero: -2.5 / 0"},
                                            {nan, 0, "division by zero: NaN / 0"}}) {
    EXPECT_EQ(error_of(eval_expr(state, bin(BinaryOp::Divide, c(test.lhs), c(test.rhs)))),
              (EngineError{"OV303", test.message}));
  }
}

TEST(EvalExprTest, TemperatureWithoutConditionFails) {
  SimulationState state;
  EXPECT_EQ(error_of(eval_expr(state, bin(BinaryOp::Add, c(1), Expr{Expr::Temperature{}}))),
            (EngineError{"OV402", "`T` is read but no temperature is declared"}));
}

TEST(EvalExprTest, LeftOperandErrorComesFirst) {
  SimulationState state;
  Expr left_fails = bin(BinaryOp::Add, Expr{Expr::Temperature{}}, bin(BinaryOp::Divide, c(1), c(0)));
  EXPECT_EQ(error_of(eval_expr(state, left_fails)).code, "OV402");
  Expr right_fails = bin(BinaryOp::Add, bin(BinaryOp::Divide, c(7), c(1)), bin(BinaryOp::Divide, c(1), c(0)));
  EXPECT_EQ(error_of(eval_expr(state, right_fails)), (EngineError{"OV303", "division by zero: 1 / 0"}));
  // An operand's error wins over the division itself.
  Expr divisor_fails = bin(BinaryOp::Divide, c(0), Expr{Expr::Temperature{}});
  EXPECT_EQ(error_of(eval_expr(state, divisor_fails)).code, "OV402");
}

TEST(EvalExprTest, Functions) {
  SimulationState state;
  add_parameter(state, "missing", c(nan));
  struct Case {
    Function function;
    std::vector<double> args;
    double expected;
  };
  for (const Case& test : std::vector<Case>{{Function::Exp, {0}, 1},
                                            {Function::Ln, {1}, 0},
                                            {Function::Log10, {1000}, 3},
                                            {Function::Sqrt, {2.25}, 1.5},
                                            {Function::Abs, {-4}, 4},
                                            {Function::Pow, {3, 2}, 9},
                                            {Function::Min, {3, 2}, 2},
                                            {Function::Max, {3, 2}, 3},
                                            {Function::Min, {7}, 7},
                                            {Function::Max, {-7}, -7},
                                            {Function::Min, {nan, 5}, 5},
                                            {Function::Max, {5, nan}, 5},
                                            {Function::Max, {1, 2, 99}, 2}}) {
    std::vector<Expr> args;
    for (double arg : test.args) args.push_back(c(arg));
    EXPECT_EQ(value_of(eval_expr(state, call(test.function, std::move(args)))), test.expected);
  }
  // `max` of a value and a not-a-number parameter is the value.
  EXPECT_EQ(value_of(eval_expr(state, call(Function::Max, {c(4), p(0)}))), 4);
}

TEST(EvalExprTest, NonFiniteCallResultsFailNamingFunctionAndFirstValue) {
  SimulationState state;
  struct Case {
    Function function;
    std::vector<double> args;
    const char* message;
  };
  for (const Case& test :
       std::vector<Case>{{Function::Ln, {0}, "Ln produced a non-finite value from 0"},
                         {Function::Sqrt, {-1}, "Sqrt produced a non-finite value from -1"},
                         {Function::Exp, {1000}, "Exp produced a non-finite value from 1000"},
                         {Function::Log10, {-0.5}, "Log10 produced a non-finite value from -0.5"},
                         {Function::Abs, {nan}, "Abs produced a non-finite value from NaN"},
                         {Function::Exp, {}, "Exp produced a non-finite value from NaN"},
                         {Function::Min, {}, "Min produced a non-finite value from NaN"},
                         {Function::Max, {nan, nan}, "Max produced a non-finite value from NaN"},
                         {Function::Pow, {2}, "Pow produced a non-finite value from 2"},
                         {Function::Pow, {10, 400}, "Pow produced a non-finite value from 10"}}) {
    std::vector<Expr> args;
    for (double arg : test.args) args.push_back(c(arg));
    EXPECT_EQ(error_of(eval_expr(state, call(test.function, std::move(args)))), (EngineError{"OV302", test.message}));
  }
}

TEST(EvalExprTest, FirstFailingArgumentStopsTheCall) {
  SimulationState state;
  Expr expr = call(Function::Max, {c(1), bin(BinaryOp::Divide, c(2), c(0)), Expr{Expr::Temperature{}}});
  EXPECT_EQ(error_of(eval_expr(state, expr)), (EngineError{"OV303", "division by zero: 2 / 0"}));
  // Arguments after the second are evaluated, so their errors count.
  Expr third = call(Function::Min, {c(1), c(2), Expr{Expr::Temperature{}}});
  EXPECT_EQ(error_of(eval_expr(state, third)).code, "OV402");
}

TEST(EvalExprTest, ParameterValuesAreEvaluatedAtEveryReference) {
  SimulationState state;
  add_parameter(state, "rate", bin(BinaryOp::Multiply, Expr{Expr::Time{}}, c(2)));
  add_parameter(state, "twice", bin(BinaryOp::Add, p(0), p(0)));
  state.clock = 3;
  EXPECT_EQ(value_of(eval_expr(state, p(1))), 12);
  state.clock = 5;
  EXPECT_EQ(value_of(eval_expr(state, p(1))), 20);
  // The errors of a value expression are the parameter's.
  add_parameter(state, "hot", Expr{Expr::Temperature{}});
  EXPECT_EQ(error_of(eval_expr(state, p(2))).message, "`T` is read but no temperature is declared");
}

// Each link refers to the one before twice: re-evaluating every reference would take 2^200
// steps; a walk evaluates each parameter once and the value is exact.
TEST(EvalExprTest, ParameterChainReferringTwiceToEachLinkEndsAtOnce) {
  SimulationState state;
  add_parameter(state, "p0", Expr{Expr::Time{}});
  for (std::uint32_t i = 1; i <= 200; ++i) {
    add_parameter(state, "p" + std::to_string(i), bin(BinaryOp::Add, p(i - 1), p(i - 1)));
  }
  state.clock = 1;
  EXPECT_EQ(value_of(eval_expr(state, p(200))), std::ldexp(1.0, 200));
  state.clock = 3;
  EXPECT_EQ(value_of(eval_expr(state, p(200))), std::ldexp(3.0, 200));
  // A later reference to a finished parameter is no cycle.
  add_parameter(state, "both", bin(BinaryOp::Subtract, p(200), p(200)));
  EXPECT_EQ(value_of(eval_expr(state, p(201))), 0);
}

TEST(EvalExprTest, ParameterErrors) {
  SimulationState state;
  add_parameter(state, "kd", std::nullopt);
  add_parameter(state, "refers_on", p(9));
  EXPECT_EQ(error_of(eval_expr(state, p(0))), (EngineError{"OV402", "`kd` has no value; a backend was meant to supply it"}));
  EXPECT_EQ(error_of(eval_expr(state, p(7))), (EngineError{"OV402", "parameter 7 does not exist"}));
  EXPECT_EQ(error_of(eval_expr(state, p(1))), (EngineError{"OV402", "parameter 9 does not exist"}));
}

TEST(EvalExprTest, ParameterThatDependsOnItselfFails) {
  SimulationState state;
  add_parameter(state, "a", bin(BinaryOp::Add, p(1), c(1)));
  add_parameter(state, "b", bin(BinaryOp::Multiply, c(2), p(0)));
  add_parameter(state, "self", p(2));
  EXPECT_EQ(error_of(eval_expr(state, p(0))), (EngineError{"OV402", "the value of `a` depends on itself"}));
  EXPECT_EQ(error_of(eval_expr(state, p(1))), (EngineError{"OV402", "the value of `b` depends on itself"}));
  EXPECT_EQ(error_of(eval_expr(state, p(2))), (EngineError{"OV402", "the value of `self` depends on itself"}));
}

TEST(EvalExprTest, SeriesIsReadAtTheClockWithoutInterpolation) {
  SimulationState state;
  add_parameter(state, "ph", c(99));  // the series takes precedence over the value
  state.series[ir::ParameterId{0}] = BackendSeries{{0, 1}, {10, 2}, {20, 3}};
  struct Case {
    double clock;
    double expected;
  };
  for (const Case& test : std::vector<Case>{{0, 1}, {9.999, 1}, {10, 2}, {15, 2}, {20, 3}, {100, 3}}) {
    state.clock = test.clock;
    EXPECT_EQ(value_of(eval_expr(state, p(0))), test.expected) << "clock " << test.clock;
  }
  state.clock = -5;
  EXPECT_EQ(error_of(eval_expr(state, p(0))),
            (EngineError{"OV404", "`ph` is read at -5 s and its backend recorded nothing before 0 s"}));
}

TEST(EvalExprTest, SeriesOfEqualTimesReadsTheLastOfThem) {
  SimulationState state;
  add_parameter(state, "ph", std::nullopt);
  state.series[ir::ParameterId{0}] = BackendSeries{{0, 1}, {5, 2}, {5, 3}, {8, 4}};
  state.clock = 5;
  EXPECT_EQ(value_of(eval_expr(state, p(0))), 3);
}

TEST(EvalExprTest, SeriesErrors) {
  SimulationState state;
  add_parameter(state, "ph", c(7));
  state.series[ir::ParameterId{0}] = BackendSeries{};
  EXPECT_EQ(error_of(eval_expr(state, p(0))), (EngineError{"OV402", "`ph` was exported as a series with no states"}));

  state.series[ir::ParameterId{0}] = BackendSeries{{2.5, 1}};
  state.clock = 0.5;
  EXPECT_EQ(error_of(eval_expr(state, p(0))),
            (EngineError{"OV404", "`ph` is read at 0.5 s and its backend recorded nothing before 2.5 s"}));

  state.clock = nan;
  EXPECT_EQ(error_of(eval_expr(state, p(0))), (EngineError{"OV404", "`ph` has no state at NaN s"}));
  state.series[ir::ParameterId{0}] = BackendSeries{{nan, 1}};
  state.clock = 3;
  EXPECT_EQ(error_of(eval_expr(state, p(0))), (EngineError{"OV404", "`ph` has no state at 3 s"}));
}

TEST(EvalExprTest, DeepTreesAreEvaluatedWithoutRecursion) {
  SimulationState state;
  Expr expr = c(0);
  for (int i = 0; i < 200000; ++i) expr = bin(BinaryOp::Add, std::move(expr), c(1));
  EXPECT_EQ(value_of(eval_expr(state, expr)), 200000);
  Expr negated = c(1);
  for (int i = 0; i < 100001; ++i) negated = ir::unary_expr(ir::UnaryOp::Negate, std::move(negated));
  EXPECT_EQ(value_of(eval_expr(state, negated)), -1);
}

}  // namespace
}  // namespace ovm::engine
