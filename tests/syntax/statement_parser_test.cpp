#include <gtest/gtest.h>

#include "syntax/parser.hpp"
#include "tree_text.hpp"

namespace ovm::syntax {
namespace {

using diagnostics::Span;
using testing::Reported;

constexpr std::string_view header = "B\n";

// Diagnostic offsets are given from the start of the statement line.
std::vector<Reported> shifted(std::vector<Reported> list) {
  for (Reported& r : list) {
    r.start += header.size();
    r.end += header.size();
  }
  return list;
}

struct BodyCase {
  const char* name;
  std::string line;
  std::string statement;  // empty: the line makes no statement
  std::vector<Reported> diagnostics = {};
};

class StatementBodyTest : public ::testing::TestWithParam<BodyCase> {};

TEST_P(StatementBodyTest, ReadsKeyAndBody) {
  const BodyCase& c = GetParam();
  std::string text = std::string(header) + c.line + "\n";
  ParseOutput out = parse_source(text, 0);
  ASSERT_EQ(out.blocks.size(), 1u);
  std::span<const Statement> statements = out.blocks[0].statements;
  if (c.statement.empty()) {
    EXPECT_TRUE(statements.empty());
  } else {
    ASSERT_EQ(statements.size(), 1u);
    EXPECT_EQ(testing::statement_text(statements[0]), c.statement);
  }
  EXPECT_EQ(testing::reported(out.diagnostics), shifted(c.diagnostics));
}

INSTANTIATE_TEST_SUITE_P(
    Values, StatementBodyTest,
    ::testing::Values(
        BodyCase{"number_and_unit", "  volume 1 L", "Word(\"volume\"): values[number:1] unit L"},
        BodyCase{"number_and_name_is_a_unit", "  temperature 25 C", "Word(\"temperature\"): values[number:25] unit C"},
        BodyCase{"unit_without_value", "  units mg/L", "Word(\"units\"): values[] unit mg/L"},
        BodyCase{"single_name_is_a_value", "  units mmol", "Word(\"units\"): values[ident:mmol]"},
        BodyCase{"names_then_unit", "  x a b * s", "Word(\"x\"): values[ident:a] unit b*s"},
        BodyCase{"number_then_two_names", "  x 5 mol kgw", "Word(\"x\"): values[number:5, ident:mol, ident:kgw]"},
        BodyCase{"negative_number", "  x -3", "Word(\"x\"): values[number:-3]"},
        BodyCase{"string_value", "  x \"ab\"", "Word(\"x\"): values[string:ab]"},
        BodyCase{"every_kind",
                 "  x 2024-01-15 53Cr/52Cr delta53Cr Cr(VI) A.B \"s\"",
                 "Word(\"x\"): values[date:2024-01-15, ratio:53Cr/52Cr, delta:delta53Cr, species:Cr(VI), qualified:A.B, string:s]"},
        BodyCase{"minus_name_is_unreadable", "  x a - b", "Word(\"x\"): values[ident:a, raw:- b]"},
        BodyCase{"one_to_a_power_is_a_unit", "  x 1 ^ 2", "Word(\"x\"): values[] unit 1^2"},
        BodyCase{"operator_after_number_is_unreadable", "  x 5 ^ 2", "Word(\"x\"): values[number:5, raw:^ 2]"},
        BodyCase{"failed_unit_leaves_values", "  x m^2 2", "Word(\"x\"): values[ident:m, raw:^2 2]"},
        BodyCase{"unreadable_keeps_inner_spacing", "  x ) ;  y", "Word(\"x\"): values[raw:) ;  y]",
                 {{"OV001", 6, 7, "unexpected character"}}},
        BodyCase{"comment_is_invisible", "  x 1 mol # note", "Word(\"x\"): values[number:1] unit mol"},
        BodyCase{"joined_key", "  18O 0.2", "Word(\"18O\"): values[number:0.2]"},
        BodyCase{"species_key", "  Cr(VI) 1", "Species(\"Cr(VI)\"): values[number:1]"},
        BodyCase{"delta_key", "  delta53Cr 0.5 permil", "Delta(\"delta53Cr\"): values[number:0.5] unit permil"},
        BodyCase{"key_alone", "  enabled", "Word(\"enabled\"): values[]"}),
    [](const auto& info) { return std::string(info.param.name); });

INSTANTIATE_TEST_SUITE_P(
    AssignmentsAndConditions, StatementBodyTest,
    ::testing::Values(
        BodyCase{"expression_and_unit", "  k = 2 * x 1/s", "Word(\"k\"): assign = (* 2 x) unit 1/s"},
        BodyCase{"number_and_unit", "  k = 5 mol/L", "Word(\"k\"): assign = 5 unit mol/L"},
        BodyCase{"with_target", "  rate r = k * c", "Word(\"rate\"): assign r = (* k c)"},
        BodyCase{"leftover_after_expression", "  k = 2 3", "Word(\"k\"): assign = 2",
                 {{"OV001", 8, 9, "unexpected number after the statement"}}},
        BodyCase{"missing_right_side", "  k =", "Word(\"k\"): assign = <error>",
                 {{"OV007", 5, 6, "expected a value, found end of line"}}},
        BodyCase{"condition_with_unit", "  stop time >= 10 d", "Word(\"stop\"): cond time >= 10 unit d"},
        BodyCase{"condition_every_operator", "  x a != b", "Word(\"x\"): cond a != b"},
        BodyCase{"condition_equality_is_no_assignment", "  x a == 1", "Word(\"x\"): cond a == 1"},
        BodyCase{"condition_parenthesised", "  x (a + b) > 2 * c", "Word(\"x\"): cond (+ a b) > (* 2 c)"},
        BodyCase{"condition_leftover", "  stop time >= 10 d extra", "Word(\"stop\"): cond time >= 10",
                 {{"OV001", 18, 19, "unexpected identifier after the statement"}}},
        BodyCase{"condition_missing_right_side", "  x a <", "Word(\"x\"): cond a < <error>",
                 {{"OV007", 7, 8, "expected a value, found end of line"}}},
        BodyCase{"comparison_inside_parentheses", "  x f(a < b)", "Word(\"x\"): values[ident:f, raw:(a < b)]"},
        // The expression after the key is not followed by the comparison: every token is read
        // again as a value.
        BodyCase{"comparison_later_in_line", "  x a b < 3", "Word(\"x\"): values[ident:a, ident:b, raw:< 3]"}),
    [](const auto& info) { return std::string(info.param.name); });

INSTANTIATE_TEST_SUITE_P(
    Lists, StatementBodyTest,
    ::testing::Values(
        BodyCase{"trailing_comma", "  x [1, 2,]", "Word(\"x\"): list[number:1, number:2]"},
        BodyCase{"empty", "  x []", "Word(\"x\"): list[]"},
        BodyCase{"kinds", "  x [a, -1, A.B, \"s\"]", "Word(\"x\"): list[ident:a, number:-1, qualified:A.B, string:s]"},
        BodyCase{"missing_comma", "  x [1 2]", "Word(\"x\"): list[number:1]",
                 {{"OV001", 7, 8, "expected `,` or `]`"}, {"OV001", 7, 8, "unexpected number after the statement"}}},
        BodyCase{"line_end_after_item", "  x [1, 2", "Word(\"x\"): list[number:1, number:2]",
                 {{"OV001", 9, 10, "list is never closed"}}},
        BodyCase{"line_end_after_comma", "  x [1,", "Word(\"x\"): list[number:1]", {{"OV001", 7, 8, "list is never closed"}}},
        BodyCase{"line_end_after_bracket", "  x [", "Word(\"x\"): list[]", {{"OV001", 5, 6, "list is never closed"}}},
        BodyCase{"item_that_is_no_value", "  x [=]", "Word(\"x\"): list[]",
                 {{"OV001", 5, 6, "unexpected `=` after the statement"}}}),
    [](const auto& info) { return std::string(info.param.name); });

INSTANTIATE_TEST_SUITE_P(
    Keys, StatementBodyTest,
    ::testing::Values(
        BodyCase{"spaced_number_and_name", "  18 O", "", {{"OV001", 2, 4, "number cannot open a statement"}}},
        BodyCase{"number_before_species", "  53Cr(VI) 1", "", {{"OV001", 2, 4, "number cannot open a statement"}}},
        BodyCase{"operator", "  = 3", "", {{"OV001", 2, 3, "`=` cannot open a statement"}}},
        BodyCase{"string", "  \"s\" x", "", {{"OV001", 2, 5, "string cannot open a statement"}}},
        BodyCase{"ratio", "  53Cr/52Cr 1", "", {{"OV001", 2, 11, "isotope ratio cannot open a statement"}}},
        BodyCase{"unrecognised", "  $ x", "",
                 {{"OV001", 2, 3, "unexpected character"}, {"OV001", 2, 3, "unrecognised input cannot open a statement"}}}),
    [](const auto& info) { return std::string(info.param.name); });

// Statements and their layout, as compact text per block.
std::vector<std::string> statement_texts(const Block& block) {
  std::vector<std::string> out;
  for (const Statement& s : block.statements) out.push_back(testing::statement_text(s));
  return out;
}

TEST(NestingTest, KeyAloneOwnsTheLinesIndentedFurther) {
  ParseOutput out = parse_source("B\n  source\n    a 1\n\n      b 2\n    c\n  after 3\n", 0);
  EXPECT_TRUE(out.diagnostics.empty());
  ASSERT_EQ(out.blocks.size(), 1u);
  EXPECT_EQ(statement_texts(out.blocks[0]),
            (std::vector<std::string>{
                "Word(\"source\"): nested{Word(\"a\"): values[number:1]; Word(\"b\"): values[number:2]; Word(\"c\"): values[]}",
                "Word(\"after\"): values[number:3]"}));
}

TEST(NestingTest, ALineIndentedLessThanTheKeyEndsTheBody) {
  ParseOutput out = parse_source("B\n    outer\n      inner 1\n  next 2\n", 0);
  ASSERT_EQ(out.blocks.size(), 1u);
  EXPECT_EQ(statement_texts(out.blocks[0]),
            (std::vector<std::string>{"Word(\"outer\"): nested{Word(\"inner\"): values[number:1]}",
                                      "Word(\"next\"): values[number:2]"}));
}

TEST(NestingTest, AStatementWithValuesOwnsNothing) {
  ParseOutput out = parse_source("B\n  volume 1 L\n    mass 2 kg\n", 0);
  ASSERT_EQ(out.blocks.size(), 1u);
  EXPECT_EQ(statement_texts(out.blocks[0]),
            (std::vector<std::string>{"Word(\"volume\"): values[number:1] unit L", "Word(\"mass\"): values[number:2] unit kg"}));
}

TEST(NestingTest, KeyAloneOnTheLastLineHasAnEmptyValuesBody) {
  ParseOutput out = parse_source("B\n  a 1\n  last", 0);
  ASSERT_EQ(out.blocks.size(), 1u);
  EXPECT_EQ(statement_texts(out.blocks[0]), (std::vector<std::string>{"Word(\"a\"): values[number:1]", "Word(\"last\"): values[]"}));
}

TEST(NestingTest, TabsCountOneColumn) {
  std::string text = "B\n\tk\n\t\tv 1\n\tw 2\n";
  ParseOutput out = parse_source(text, 0);
  ASSERT_EQ(out.blocks.size(), 1u);
  ASSERT_EQ(out.blocks[0].statements.size(), 2u);
  EXPECT_EQ(key_column(out.blocks[0].statements[0], text), 1u);
  EXPECT_EQ(testing::body_text(out.blocks[0].statements[0].body()), "nested{Word(\"v\"): values[number:1]}");
  EXPECT_EQ(key_column(std::get<NestedBody>(out.blocks[0].statements[0].body()).statements[0], text), 2u);
}

TEST(StatementSpanTest, CoversKeyToLineEndAndOwnedLines) {
  std::string text = "B\n  volume 1 L\n  k\n    a 1\n\n  18O 2";
  ParseOutput out = parse_source(text, 4);
  ASSERT_EQ(out.blocks.size(), 1u);
  std::span<const Statement> s = out.blocks[0].statements;
  ASSERT_EQ(s.size(), 3u);

  EXPECT_EQ(key_span(s[0]), (Span{4, 4, 10}));
  EXPECT_EQ(s[0].span, (Span{4, 4, 15}));  // through its line end
  EXPECT_EQ(key_column(s[0], text), 2u);

  // The nested key takes the owned line and the blank line after it.
  EXPECT_EQ(key_span(s[1]), (Span{4, 17, 18}));
  EXPECT_EQ(s[1].span, (Span{4, 17, 28}));
  const Statement& inner = std::get<NestedBody>(s[1].body()).statements[0];
  EXPECT_EQ(inner.span, (Span{4, 23, 27}));
  EXPECT_EQ(key_column(inner, text), 4u);

  // A joined key spans both tokens; at the end of the file the statement ends at its last token.
  EXPECT_EQ(key_span(s[2]), (Span{4, 30, 33}));
  EXPECT_EQ(s[2].span, (Span{4, 30, 35}));

  EXPECT_EQ(out.blocks[0].span(), (Span{4, 0, 35}));
}

TEST(StatementSpanTest, ValueAndUnitSpans) {
  std::string text = "B\n  x -3 mol / kgw\n";
  ParseOutput out = parse_source(text, 0);
  ASSERT_EQ(out.blocks.size(), 1u);
  const ValuesBody body = std::get<ValuesBody>(out.blocks[0].statements[0].body());
  ASSERT_EQ(body.values.size(), 1u);
  EXPECT_EQ(body.values[0].span, (Span{0, 6, 8}));
  ASSERT_NE(body.unit, nullptr);
  EXPECT_EQ(body.unit->span, (Span{0, 9, 18}));
  EXPECT_EQ(body.unit->text(), "mol/kgw");
}

TEST(StatementSpanTest, UnreadableValueAndTargetSpans) {
  std::string text = "B\n  x a - b\n  r t = 1\n";
  ParseOutput out = parse_source(text, 0);
  ASSERT_EQ(out.blocks.size(), 1u);
  const std::span<const Value> values = std::get<ValuesBody>(out.blocks[0].statements[0].body()).values;
  ASSERT_EQ(values.size(), 2u);
  EXPECT_EQ(values[1].span, (Span{0, 8, 11}));
  const AssignmentBody assignment = std::get<AssignmentBody>(out.blocks[0].statements[1].body());
  ASSERT_NE(assignment.target, nullptr);
  EXPECT_EQ(*assignment.target, (Name{"t", Span{0, 16, 17}}));
}

}  // namespace
}  // namespace ovm::syntax
