#include <gtest/gtest.h>

#include "syntax/parser.hpp"
#include "tree_text.hpp"

namespace ovm::syntax {
namespace {

using testing::Reported;

struct ExprCase {
  const char* name;
  std::string text;
  std::string tree;
  std::uint32_t start;
  std::uint32_t end;
  std::vector<Reported> diagnostics;
  std::string left_unread = "";  // the token the expression stops in front of
};

class ParseExprTest : public ::testing::TestWithParam<ExprCase> {};

TEST_P(ParseExprTest, BuildsTreeSpanAndDiagnostics) {
  const ExprCase& c = GetParam();
  ParserState state = make_parser_state(c.text, 0);
  ParsedExpr parsed = parse_expr(state);
  EXPECT_EQ(testing::expr_text(parsed.expr), c.tree);
  EXPECT_EQ(parsed.expr.span, (diagnostics::Span{0, c.start, c.end}));
  EXPECT_EQ(testing::reported(take_diagnostics(state)), c.diagnostics);
  EXPECT_EQ(token_text(state, current(state)), c.left_unread);
}

constexpr const char* close_call = "expected `)` to close the call";
constexpr const char* species_operand = "a chemical species is not an operand, use a qualified name";

INSTANTIATE_TEST_SUITE_P(
    Precedence, ParseExprTest,
    ::testing::Values(ExprCase{"minus_is_left_associative", "1 - 2 - 3", "(- (- 1 2) 3)", 0, 9, {}},
                      ExprCase{"divide_is_left_associative", "8 / 4 / 2", "(/ (/ 8 4) 2)", 0, 9, {}},
                      ExprCase{"power_is_right_associative", "2 ^ 3 ^ 2", "(^ 2 (^ 3 2))", 0, 9, {}},
                      ExprCase{"product_binds_tighter", "1 + 2 * 3", "(+ 1 (* 2 3))", 0, 9, {}},
                      ExprCase{"power_binds_tighter_than_minus", "-2 ^ 2", "(neg (^ 2 2))", 0, 6, {}},
                      ExprCase{"minus_after_plus", "a + -b", "(+ a (neg b))", 0, 6, {}},
                      ExprCase{"negative_exponent", "2^-1", "(^ 2 (neg 1))", 0, 4, {}},
                      ExprCase{"double_negation", "--x", "(neg (neg x))", 0, 3, {}},
                      ExprCase{"parentheses_leave_no_node", "(a + b)", "(+ a b)", 1, 6, {}},
                      ExprCase{"parentheses_regroup", "(1 - 2) * 3", "(* (- 1 2) 3)", 1, 11, {}},
                      ExprCase{"stops_at_unknown_token", "a b", "a", 0, 1, {}, "b"},
                      ExprCase{"stops_at_comparison", "x <= 2", "x", 0, 1, {}, "<="}),
    [](const auto& info) { return std::string(info.param.name); });

INSTANTIATE_TEST_SUITE_P(
    Operands, ParseExprTest,
    ::testing::Values(ExprCase{"number", "2.50", "2.5", 0, 4, {}},
                      ExprCase{"literals",
                               "\"s\" + 53Cr/52Cr * delta53Cr - 2024-01-15",
                               "(- (+ lit:string:s (* lit:ratio:53Cr/52Cr lit:delta:delta53Cr)) lit:date:2024-01-15)",
                               0,
                               40,
                               {}},
                      ExprCase{"call_without_arguments", "f()", "f()", 0, 3, {}},
                      ExprCase{"call_with_arguments", "f(a, b + 1)", "f(a, (+ b 1))", 0, 11, {}},
                      ExprCase{"nested_calls", "exp(-k * time)", "exp((* (neg k) time))", 0, 14, {}},
                      ExprCase{"qualified_species", "Groundwater.Cr(VI)", "Groundwater.Cr(VI)", 0, 18, {}},
                      ExprCase{"qualified_three_parts", "A.B.C", "A.B.C", 0, 5, {}},
                      ExprCase{"qualified_in_sum", "A.x + 1", "(+ A.x 1)", 0, 7, {}}),
    [](const auto& info) { return std::string(info.param.name); });

INSTANTIATE_TEST_SUITE_P(
    Errors, ParseExprTest,
    ::testing::Values(
        ExprCase{"call_missing_close", "f(a b)", "<error>", 0, 5, {{"OV007", 4, 5, close_call}}, "b"},
        ExprCase{"call_cut_by_line_end", "f(a,\n", "<error>", 0, 5, {{"OV007", 4, 5, "expected a value, found end of line"}, {"OV007", 4, 5, close_call}}, "\n"},
        ExprCase{"group_missing_close", "(a\n", "<error>", 0, 3, {{"OV007", 2, 3, "expected `)`"}}, "\n"},
        ExprCase{"group_closed_by_bracket", "(a]", "<error>", 0, 3, {{"OV007", 2, 3, "expected `)`"}}, "]"},
        ExprCase{"qualified_before_number", "A.5", "<error>", 0, 3, {{"OV109", 2, 3, "expected a property name after `.`"}}, "5"},
        ExprCase{"qualified_at_line_end", "A.B.\n", "<error>", 0, 5, {{"OV109", 4, 5, "expected a property name after `.`"}}, "\n"},
        ExprCase{"species_operand_then_rest_read", "Cr(VI) + 1", "(+ <error> 1)", 0, 10, {{"OV007", 0, 6, species_operand}}},
        ExprCase{"missing_operand_at_line_end", "\n", "<error>", 0, 1, {{"OV007", 0, 1, "expected a value, found end of line"}}, "\n"},
        ExprCase{"missing_operand_at_file_end", "", "<error>", 0, 0, {{"OV007", 0, 0, "expected a value, found end of file"}}},
        ExprCase{"operator_operand_is_consumed", "x + * 2", "(+ x <error>)", 0, 5, {{"OV007", 4, 5, "expected a value, found `*`"}}, "2"},
        ExprCase{"closing_paren_operand", ")", "<error>", 0, 1, {{"OV007", 0, 1, "expected a value, found `)`"}}},
        ExprCase{"unrecognised_operand", ";", "<error>", 0, 1, {{"OV001", 0, 1, "unexpected character"}, {"OV007", 0, 1, "expected a value, found unrecognised input"}}},
        ExprCase{"identifier_kind_in_message", "a + [", "(+ a <error>)", 0, 5, {{"OV007", 4, 5, "expected a value, found `[`"}}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ParseExprTest, NodeSpansCoverTheirOperands) {
  ParserState state = make_parser_state("-x * (a + f(b))", 0);
  ParsedExpr parsed = parse_expr(state);
  const auto product = std::get<SyntaxExpr::Binary>(parsed.expr.kind());
  EXPECT_EQ(product.lhs->span, (diagnostics::Span{0, 0, 2}));   // -x: minus to operand
  EXPECT_EQ(product.rhs->span, (diagnostics::Span{0, 6, 14}));  // a + f(b), without the parentheses
  const auto sum = std::get<SyntaxExpr::Binary>(product.rhs->kind());
  EXPECT_EQ(sum.rhs->span, (diagnostics::Span{0, 10, 14}));  // f(b): name to closing parenthesis
  ParserState qualified = make_parser_state("Gw.Cr(VI)", 0);
  ParsedExpr name = parse_expr(qualified);
  const auto path = std::get<SyntaxExpr::Qualified>(name.expr.kind()).path;
  ASSERT_EQ(path.size(), 2u);
  EXPECT_EQ(path[0], (Name{"Gw", diagnostics::Span{0, 0, 2}}));
  EXPECT_EQ(path[1], (Name{"Cr(VI)", diagnostics::Span{0, 3, 9}}));
}

TEST(ParseExprTest, HeightCountsTreeLevels) {
  ParserState state = make_parser_state("1 + 2 * -(3)", 0);
  EXPECT_EQ(parse_expr(state).height, 4u);  // + over * over neg over 3
}

}  // namespace
}  // namespace ovm::syntax
