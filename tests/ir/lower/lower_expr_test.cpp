// Expressions and inline laws, read through the parameters and fractionations that hold them.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <variant>

#include "ir/graph/model_graph.hpp"
#include "lower_test_support.hpp"

namespace ovm::ir {
namespace {

using testing::lower_checked;
using testing::lower_unchecked;

bool is_nan_constant(const Expr& expr) {
  const auto* constant = std::get_if<Expr::Constant>(&expr.kind);
  return constant != nullptr && std::isnan(constant->value);
}

// The value of the last model-wide parameter of a PARAMETERS block.
Expr last_value(std::string_view statements, bool checked = true) {
  std::string text = "PARAMETERS\n" + std::string(statements);
  ModelGraph graph = checked ? lower_checked(text) : lower_unchecked(text);
  if (graph.parameters.empty() || !graph.parameters.back().value) {
    ADD_FAILURE() << "no parameter value in\n" << text;
    return {};
  }
  return *graph.parameters.back().value;
}

TEST(LowerExprTest, BuiltInNamesComeFirstAndAreCaseSensitive) {
  EXPECT_EQ(last_value("    x = T\n"), Expr(Expr::Temperature{}));
  EXPECT_EQ(last_value("    x = time\n"), Expr(Expr::Time{}));
  EXPECT_EQ(last_value("    x = R\n"), constant_expr(8.314462618));
  EXPECT_TRUE(is_nan_constant(last_value("    x = t\n", false)));
}

TEST(LowerExprTest, OperatorsKeepTheParsedNestingAndNothingIsFolded) {
  Expr k = parameter_expr(ParameterId{0});
  EXPECT_EQ(last_value("    k = 2\n    x = -k ^ 2\n"),
            unary_expr(UnaryOp::Negate, binary_expr(BinaryOp::Power, k, constant_expr(2))));
  EXPECT_EQ(last_value("    k = 2\n    x = (1 + 2) * k / 4 - 1\n"),
            binary_expr(BinaryOp::Subtract,
                        binary_expr(BinaryOp::Divide,
                                    binary_expr(BinaryOp::Multiply,
                                                binary_expr(BinaryOp::Add, constant_expr(1), constant_expr(2)), k),
                                    constant_expr(4)),
                        constant_expr(1)));
}

TEST(LowerExprTest, CallsKeepEveryArgumentAndUnknownFunctionsAreNaN) {
  Expr k = parameter_expr(ParameterId{0});
  EXPECT_EQ(last_value("    k = 2\n    x = max(k)\n"), call_expr(Function::Max, {k}));
  EXPECT_EQ(last_value("    x = ln()\n", false), call_expr(Function::Ln, {}));
  EXPECT_EQ(last_value("    k = 2\n    x = log10(pow(k, 2), exp(T))\n", false),
            call_expr(Function::Log10, {call_expr(Function::Pow, {k, constant_expr(2)}),
                                        call_expr(Function::Exp, {Expr(Expr::Temperature{})})}));
  EXPECT_TRUE(is_nan_constant(last_value("    x = foo(1, 2)\n", false)));
  EXPECT_TRUE(is_nan_constant(last_value("    x = Exp(1)\n", false)));
}

TEST(LowerExprTest, LiteralsAndQualifiedNamesAreNaN) {
  EXPECT_TRUE(is_nan_constant(last_value("    x = \"text\"\n", false)));
  EXPECT_TRUE(is_nan_constant(last_value("    x = Sea.Cr(VI)\n", false)));
}

TEST(LowerExprTest, ABlockSeesItsOwnParametersBeforeTheModelWideOnes) {
  ModelGraph graph = lower_unchecked(
      "PARAMETERS\n    k = 1\n    R = 5\n\n"
      "RESERVOIR Sea\n    parameter k = 2\n    parameter R = 3\n    parameter a = k * R\n\n"
      "PROCESS P\n    type reduction\n    reactant A\n    product B\n    parameter q = 4\n    parameter b = q + k\n\n"
      "MODEL M\n    until time > q\n");
  // k 0, R 1; Sea's k 2, R 3, a 4; P's q 5, b 6.
  ASSERT_EQ(graph.parameters.size(), 7u);
  // Sea's a reads Sea's k; R stays the named constant even where parameters named R exist.
  EXPECT_EQ(graph.parameters[4].value,
            binary_expr(BinaryOp::Multiply, parameter_expr(ParameterId{2}), constant_expr(8.314462618)));
  EXPECT_EQ(graph.parameters[6].value,
            binary_expr(BinaryOp::Add, parameter_expr(ParameterId{5}), parameter_expr(ParameterId{0})));
  // A process parameter is not seen from a model-wide expression: the stop value is NaN.
  ASSERT_TRUE(graph.simulation && graph.simulation->stop);
  EXPECT_TRUE(std::isnan(graph.simulation->stop->value));
}

constexpr const char* reduction =
    "ISOTOPES\n    ratio 53Cr/52Cr standard NIST979\n\nSTANDARD\n    standard NIST979 0.113386 ratio 53Cr/52Cr\n\n"
    "RESERVOIR Aquifer\n    volume 1 L\n    Cr(VI) 1 umol/kgw\n    Cr(III) 0 umol/kgw\n\n"
    "PROCESS Red\n    type reduction\n    reactant Cr(VI)\n    product Cr(III)\n    parameter a = 1.01\n\n"
    "FRACTIONATION Red\n    isotope 53Cr/52Cr\n";

std::optional<FractionationFactor> law_factor(std::string_view law, bool checked = true) {
  std::string text = std::string(reduction) + "    law\n" + std::string(law);
  ModelGraph graph = checked ? lower_checked(text) : lower_unchecked(text);
  if (graph.processes.size() != 1 || graph.processes[0].fractionations.empty()) return std::nullopt;
  return graph.processes[0].fractionations[0].factor;
}

FractionationFactor law_of(Expr alpha) { return FractionationFactor{FractionationFactor::Law{std::move(alpha)}}; }

TEST(LowerLawTest, TheTargetDecidesHowAlphaIsBuilt) {
  EXPECT_EQ(law_factor("        epsilon = 2.5\n"),
            law_of(binary_expr(BinaryOp::Add, constant_expr(1.0),
                               binary_expr(BinaryOp::Divide, constant_expr(2.5), constant_expr(1000.0)))));
  EXPECT_EQ(law_factor("        1000ln_alpha = 1.2\n"),
            law_of(call_expr(Function::Exp, {binary_expr(BinaryOp::Divide, constant_expr(1.2), constant_expr(1000.0))})));
  EXPECT_EQ(law_factor("        alpha = 1.01\n"), law_of(constant_expr(1.01)));
  // The FRACTIONATION block names its process, and so sees the process's parameters.
  EXPECT_EQ(law_factor("        alpha = a\n"), law_of(parameter_expr(ParameterId{0})));
}

TEST(LowerLawTest, OnlyTheFirstStatementCountsAndItsUnitIsIgnored) {
  EXPECT_EQ(law_factor("        alpha = 1.01 permil\n", false), law_of(constant_expr(1.01)));
  EXPECT_EQ(law_factor("        alpha = 1.01\n        epsilon = 3\n", false), law_of(constant_expr(1.01)));
  EXPECT_FALSE(law_factor("        alpha 1.01\n", false));
}

}  // namespace
}  // namespace ovm::ir
