#include <gtest/gtest.h>

#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "syntax/parser.hpp"
#include "tree_text.hpp"

namespace ovm::syntax {
namespace {

using diagnostics::Span;
using testing::Reported;

// "KEYWORD name: n statements" per block.
std::vector<std::string> block_texts(const ParseOutput& out) {
  std::vector<std::string> texts;
  for (const Block& b : out.blocks) {
    std::string text = std::string(b.keyword()) + (b.name() ? " " + std::string(b.name()->text) : "") + ": " + std::to_string(b.statements.size());
    texts.push_back(text);
  }
  return texts;
}

struct SourceCase {
  const char* name;
  std::string text;
  std::vector<std::string> blocks;
  std::vector<Reported> diagnostics;
};

class ParseSourceTest : public ::testing::TestWithParam<SourceCase> {};

TEST_P(ParseSourceTest, BlocksAndDiagnostics) {
  const SourceCase& c = GetParam();
  ParseOutput out = parse_source(c.text, 0);
  EXPECT_EQ(block_texts(out), c.blocks);
  EXPECT_EQ(testing::reported(out.diagnostics), c.diagnostics);
}

constexpr const char* before_header = "statement appears before any block header";
constexpr const char* header_extra = "a block header carries at most one identifier";

INSTANTIATE_TEST_SUITE_P(
    Files, ParseSourceTest,
    ::testing::Values(
        SourceCase{"empty", "", {}, {}},
        SourceCase{"comments_and_blank_lines", "# a\n\n   # b\n\r\n", {}, {}},
        SourceCase{"byte_order_mark_before_header", "\xEF\xBB\xBF" "B x\n  k 1\n", {"B x: 1"}, {}},
        SourceCase{"two_blocks", "SPECIES Cr\n  charge 3\nRESERVOIR Gw\n  volume 1 L\n  mass 2 kg\n",
                   {"SPECIES Cr: 1", "RESERVOIR Gw: 2"}, {}},
        SourceCase{"species_name", "SPECIES Cr(VI)\n", {"SPECIES Cr(VI): 0"}, {}},
        SourceCase{"comment_at_column_zero_inside_block", "B\n  a 1\n# note\n  b 2\n", {"B: 2"}, {}},
        SourceCase{"indented_line_first", "  a 1\nB\n", {"B: 0"}, {{"OV004", 2, 3, before_header}}},
        SourceCase{"three_indented_lines", " a\n  b\n\tc\n", {},
                   {{"OV004", 1, 2, before_header}, {"OV004", 5, 6, before_header}, {"OV004", 8, 9, before_header}}},
        SourceCase{"number_header", "42\n  a 1\n  b 2\n", {},
                   {{"OV003", 0, 2, "number cannot open a block"}, {"OV004", 5, 6, before_header}, {"OV004", 11, 12, before_header}}},
        SourceCase{"species_header", "Cr(VI) x\n", {}, {{"OV003", 0, 6, "chemical species cannot open a block"}}},
        SourceCase{"string_header", "\"B\"\n", {}, {{"OV003", 0, 3, "string cannot open a block"}}},
        SourceCase{"delta_header", "delta53Cr\n", {}, {{"OV003", 0, 9, "delta symbol cannot open a block"}}},
        SourceCase{"unrecognised_header", "@B\n", {},
                   {{"OV001", 0, 1, "unexpected character"}, {"OV003", 0, 1, "unrecognised input cannot open a block"}}},
        SourceCase{"third_word_on_header", "RESERVOIR Gw extra more\n  volume 1 L\n", {"RESERVOIR Gw: 1"},
                   {{"OV001", 13, 18, header_extra}}},
        SourceCase{"number_after_keyword", "B 5\n  a 1\n", {"B: 1"}, {{"OV001", 2, 3, header_extra}}},
        SourceCase{"operator_after_name", "B x = 1\n", {"B x: 0"}, {{"OV001", 4, 5, header_extra}}},
        SourceCase{"lexer_diagnostics_come_first", "B\n  k = ;\n  x $\n", {"B: 2"},
                   {{"OV001", 8, 9, "unexpected character"},
                    {"OV001", 14, 15, "unexpected character"},
                    {"OV007", 8, 9, "expected a value, found unrecognised input"}}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(BlockSpanTest, EndsAtTheLastStatementOrTheNameOrTheKeyword) {
  ParseOutput out = parse_source("BARE\nNAMED Gw\nFULL X\n  a 1\n  b\n\n", 2);
  ASSERT_EQ(out.blocks.size(), 3u);

  const Block& bare = out.blocks[0];
  EXPECT_EQ(bare.keyword(), "BARE");
  EXPECT_FALSE(bare.name().has_value());
  EXPECT_TRUE(bare.statements.empty());
  EXPECT_EQ(bare.keyword_span, (Span{2, 0, 4}));
  EXPECT_EQ(bare.span(), bare.keyword_span);

  const Block& named = out.blocks[1];
  EXPECT_EQ(named.name(), (Name{"Gw", Span{2, 11, 13}}));
  EXPECT_EQ(named.span(), (Span{2, 5, 13}));

  // The last statement is a key alone, which took the blank line after it.
  const Block& full = out.blocks[2];
  EXPECT_EQ(full.span(), (Span{2, 14, 32}));
}

TEST(RecoveryTest, EveryBadLineIsReportedOnceInOrder) {
  std::string text =
      "  stray\n"         // 0: before any header
      "RESERVOIR Gw x\n"  // 8: extra header word at 21
      "  volume 1 L\n"
      "  x [1 2]\n"       // 36: reported twice at 43, kept once
      "  k = (a\n"        // 46: missing ) at the line end 54
      "  = 4\n"           // 55: cannot open a statement at 57
      "  y \"open\n"      // 61: unclosed string at 65
      "  z = 1 ; 2\n"     // 71: unexpected character at 79, leftover at 79
      "9 B\n"             // 83: number cannot open a block
      "  w 1\n"           // 87: before any header at 89
      "SPECIES Cr\n"
      "  f = g(1 2) + A.\n";  // 104: call not closed at 114, where the leftover starts
  ParseOutput out = parse_source(text, 0);
  EXPECT_EQ(block_texts(out), (std::vector<std::string>{"RESERVOIR Gw: 5", "SPECIES Cr: 1"}));
  std::vector<Reported> expected = {
      {"OV004", 2, 7, "statement appears before any block header"},
      {"OV001", 21, 22, "a block header carries at most one identifier"},
      {"OV001", 43, 44, "expected `,` or `]`"},
      {"OV007", 54, 55, "expected `)`"},
      {"OV001", 57, 58, "`=` cannot open a statement"},
      {"OV002", 65, 70, "string is never closed"},
      {"OV001", 79, 80, "unexpected character"},
      {"OV003", 83, 84, "number cannot open a block"},
      {"OV004", 89, 90, "statement appears before any block header"},
      {"OV001", 114, 115, "unexpected number after the statement"},
      {"OV007", 114, 115, "expected `)` to close the call"},
  };
  EXPECT_EQ(testing::reported(diagnostics::sort_and_dedup(out.diagnostics)), expected);
}

// The parser lexes a few hundred tokens at a time; statements on either side of every such
// boundary must keep their bodies, and spans that run through their own line end.
TEST(RunBoundaryTest, StatementsKeepTheirLinesWhereverTheLexerStops) {
  std::string text = "PARAMETERS\n";
  std::vector<std::string> lines;
  for (int i = 0; i < 300; ++i) {
    std::string n = std::to_string(i);
    switch (i % 4) {
      case 0: lines.push_back("k" + n + " = 0.05 * (1 + " + n + " / 100) 1/d"); break;
      case 1: lines.push_back("v" + n + " " + n + " mol / kgw"); break;
      case 2: lines.push_back("until x" + n + " < " + n); break;
      default: lines.push_back("list [" + n + ", 2]"); break;
    }
    text += "  " + lines.back() + "\n";
    if (i % 7 == 0) text += "\n";
  }
  ParseOutput out = parse_source(text, 0);
  EXPECT_TRUE(out.diagnostics.empty());
  ASSERT_EQ(out.blocks.size(), 1u);
  std::span<const Statement> statements = out.blocks[0].statements;
  ASSERT_EQ(statements.size(), lines.size());
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const Statement& statement = statements[i];
    std::string_view spanned = std::string_view(text).substr(statement.span.start, statement.span.end - statement.span.start);
    EXPECT_EQ(spanned, lines[i] + "\n") << i;
    StatementBody body = statement.body();
    switch (i % 4) {
      case 0: {
        ASSERT_TRUE(std::holds_alternative<AssignmentBody>(body)) << i;
        const UnitExpr* unit = std::get<AssignmentBody>(body).unit;
        ASSERT_NE(unit, nullptr) << i;
        EXPECT_EQ(unit->text(), "1/d") << i;
        break;
      }
      case 1: {
        ASSERT_TRUE(std::holds_alternative<ValuesBody>(body)) << i;
        const ValuesBody& values = std::get<ValuesBody>(body);
        ASSERT_EQ(values.values.size(), 1u) << i;
        EXPECT_EQ(values.values[0].number(), static_cast<double>(i)) << i;
        ASSERT_NE(values.unit, nullptr) << i;
        EXPECT_EQ(values.unit->text(), "mol/kgw") << i;
        break;
      }
      case 2: EXPECT_TRUE(std::holds_alternative<ConditionBody>(body)) << i; break;
      default: {
        ASSERT_TRUE(std::holds_alternative<ListBody>(body)) << i;
        EXPECT_EQ(std::get<ListBody>(body).items.size(), 2u) << i;
        break;
      }
    }
  }
}

}  // namespace
}  // namespace ovm::syntax
