#include <gtest/gtest.h>

#include <chrono>
#include <functional>

#include "syntax/parser.hpp"
#include "tree_text.hpp"

namespace ovm::syntax {
namespace {

using testing::Reported;

std::string repeat(std::string_view piece, std::size_t count) {
  std::string out;
  out.reserve(piece.size() * count);
  for (std::size_t i = 0; i < count; ++i) out += piece;
  return out;
}

constexpr std::string_view prefix = "B\n  k ";
constexpr std::string_view too_deep = "expression nesting is too deep";

struct DeepCase {
  const char* name;
  std::string expression;
  std::size_t reported_at;  // offset within the expression
};

class DeepExpressionTest : public ::testing::TestWithParam<DeepCase> {};

// The excess is reported once where the limit is reached; the statement is dropped with its
// line and the next line is read as usual.
TEST_P(DeepExpressionTest, ReportsOnceAndGoesOnWithTheNextLine) {
  const DeepCase& c = GetParam();
  std::string text = std::string(prefix) + c.expression + "\n  after 1\n";
  ParseOutput out = parse_source(text, 0);
  auto at = static_cast<std::uint32_t>(prefix.size() + c.reported_at);
  EXPECT_EQ(testing::reported(out.diagnostics), (std::vector<Reported>{{"OV007", at, at + 1, std::string(too_deep)}}));
  ASSERT_EQ(out.blocks.size(), 1u);
  ASSERT_EQ(out.blocks[0].statements.size(), 1u);
  EXPECT_EQ(testing::statement_text(out.blocks[0].statements[0]), "Word(\"after\"): values[number:1]");
}

// The limit is 256 levels: the 257th opening level is refused.
INSTANTIATE_TEST_SUITE_P(
    Inputs, DeepExpressionTest,
    ::testing::Values(DeepCase{"parentheses", "= " + repeat("(", 10000) + "x" + repeat(")", 10000), 2 + 256},
                      DeepCase{"minus_signs", "= " + repeat("-", 10000) + "x", 2 + 256},
                      DeepCase{"powers", "= " + repeat("2^", 10000) + "2", 2 + 512},
                      DeepCase{"calls", "= " + repeat("f(", 10000) + "x" + repeat(")", 10000), 2 + 512},
                      // A flat chain is a tree as high as it is long: the 256th operator would
                      // make it 257 levels high.
                      DeepCase{"long_sum", "= 1" + repeat("+1", 100000), 2 + 2 * 255 + 1},
                      DeepCase{"long_product", "= 1" + repeat("*1", 100000), 2 + 2 * 255 + 1},
                      DeepCase{"long_condition_side", "x < 1" + repeat("-1", 1000), 4 + 2 * 255 + 1},
                      DeepCase{"deep_condition_side", "x < " + repeat("(", 300) + "x", 4 + 256}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(DeepExpressionTest, TheLimitItselfIsAccepted) {
  std::string text = std::string(prefix) + "= " + repeat("(", 255) + "x" + repeat(")", 255) + "\n";
  ParseOutput out = parse_source(text, 0);
  EXPECT_TRUE(out.diagnostics.empty());
  ASSERT_EQ(out.blocks[0].statements.size(), 1u);
  EXPECT_EQ(testing::body_text(out.blocks[0].statements[0].body()), "assign = x");

  // Trees 256 levels high, built and destroyed.
  for (std::string expression : {"1" + repeat("+1", 255), repeat("-", 255) + "x", repeat("2^", 255) + "2"}) {
    std::string text = std::string(prefix) + "= " + expression + "\n";
    ParseOutput tall = parse_source(text, 0);
    EXPECT_TRUE(tall.diagnostics.empty()) << expression.substr(0, 8);
    EXPECT_EQ(tall.blocks.at(0).statements.size(), 1u);
  }
}

TEST(DeepStatementTest, NestingPastTheLimitIsReportedLineByLine) {
  std::string text = "B\n";
  for (std::size_t level = 1; level <= 100; ++level) text += std::string(level, ' ') + "k\n";
  ParseOutput out = parse_source(text, 0);
  // Levels 65 to 100 are refused, each on its own line.
  ASSERT_EQ(out.diagnostics.size(), 36u);
  for (const diagnostics::Diagnostic& d : out.diagnostics) {
    EXPECT_EQ(d.code.as_str(), "OV001");
    EXPECT_EQ(d.label, "statement nesting is too deep");
  }
  std::uint32_t level65 = static_cast<std::uint32_t>(text.find(std::string(65, ' ') + "k")) + 65;
  EXPECT_EQ(out.diagnostics[0].span, (diagnostics::Span{0, level65, level65 + 1}));

  std::size_t depth = 0;
  std::span<const Statement> level = out.blocks[0].statements;
  while (!level.empty()) {
    ++depth;
    const auto nested = body_as<NestedBody>(level[0]);
    if (!nested) break;
    level = nested->statements;
  }
  EXPECT_EQ(depth, 64u);
}

struct LongLineCase {
  const char* name;
  std::string text;
  std::function<void(const ParseOutput&)> check;
};

constexpr std::size_t long_line = 100000;

const std::string& names() {
  static const std::string text = repeat(" a", long_line);
  return text;
}

const Statement& only_statement(const ParseOutput& out) {
  std::span<const Statement> statements = out.blocks.at(0).statements;
  if (statements.empty()) throw std::out_of_range("the block has no statement");
  return statements.front();
}
ValuesBody only_values(const ParseOutput& out) { return std::get<ValuesBody>(only_statement(out).body()); }

class LongLineTest : public ::testing::TestWithParam<LongLineCase> {};

// Quadratic work on these lines takes seconds; linear work takes milliseconds.
TEST_P(LongLineTest, ParsesInLinearTime) {
  auto start = std::chrono::steady_clock::now();
  ParseOutput out = parse_source(GetParam().text, 0);
  std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
  GetParam().check(out);
  EXPECT_LT(took.count(), 1.0);
}

INSTANTIATE_TEST_SUITE_P(
    HundredThousandNames, LongLineTest,
    ::testing::Values(
        LongLineCase{"values", "B\n  x" + names() + "\n",
                     [](const ParseOutput& out) {
                       EXPECT_EQ(only_values(out).values.size(), long_line);
                       EXPECT_EQ(only_values(out).unit, nullptr);
                     }},
        // Every value asks whether a unit follows; the operator stands only at the very end.
        LongLineCase{"unit_at_the_end", "B\n  x" + names() + " * s\n",
                     [](const ParseOutput& out) {
                       EXPECT_EQ(only_values(out).values.size(), long_line - 1);
                       ASSERT_NE(only_values(out).unit, nullptr);
                       EXPECT_EQ(only_values(out).unit->text(), "a*s");
                     }},
        // A comparison at the end makes the line try a condition first.
        LongLineCase{"comparison_at_the_end", "B\n  x" + names() + " < 3\n",
                     [](const ParseOutput& out) {
                       EXPECT_EQ(only_values(out).values.size(), long_line + 1);
                       EXPECT_EQ(only_values(out).values.back().kind, ValueKind::Unreadable);
                     }},
        LongLineCase{"list", "B\n  x [a" + repeat(", a", long_line - 1) + "]\n",
                     [](const ParseOutput& out) {
                       EXPECT_EQ(std::get<ListBody>(only_statement(out).body()).items.size(), long_line);
                     }},
        LongLineCase{"call_arguments", "B\n  k = f(a" + repeat(", a", long_line - 1) + ")\n",
                     [](const ParseOutput& out) {
                       const AssignmentBody body = std::get<AssignmentBody>(only_statement(out).body());
                       EXPECT_EQ(std::get<SyntaxExpr::Call>(body.expr->kind()).args.size(), long_line);
                     }},
        // Every species group fails and is scanned again as separate tokens.
        LongLineCase{"unclosed_groups", "B\n  x" + repeat(" A(aaaaaaaaaa", long_line / 10) + "\n",
                     [](const ParseOutput& out) { EXPECT_TRUE(out.diagnostics.empty()); }}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace ovm::syntax
