#include "diagnostics/span.hpp"

#include <gtest/gtest.h>

namespace ovm::diagnostics {
namespace {

TEST(SourceMapTest, IdsFollowInsertionOrder) {
  SourceMap map;
  EXPECT_EQ(map.add("first", "aaa"), 0u);
  EXPECT_EQ(map.add("second", "x\ny"), 1u);
  EXPECT_EQ(map.file(1).name, "second");
  EXPECT_EQ(map.file(1).line_column(2), (LineColumn{2, 1}));
  EXPECT_EQ(map.file(1).line_text(2), "y");
}

struct LineStartsCase {
  const char* name;
  std::string text;
  std::vector<std::uint32_t> line_starts;
};

class LineStartsTest : public testing::TestWithParam<LineStartsCase> {};

TEST_P(LineStartsTest, OneEntryPerLineFeed) {
  SourceFile file("m", 0, GetParam().text);
  EXPECT_EQ(file.line_starts(), GetParam().line_starts);
}

INSTANTIATE_TEST_SUITE_P(Texts, LineStartsTest,
                         testing::Values(LineStartsCase{"empty", "", {0}},
                                         LineStartsCase{"two_lines_final_lf", "a\nb\n", {0, 2, 4}},
                                         LineStartsCase{"crlf", "x\r\ny", {0, 3}},
                                         LineStartsCase{"lone_cr_ends_nothing", "a\rb", {0}},
                                         LineStartsCase{"blank_lines", "\n\n", {0, 1, 2}}),
                         [](const auto& info) { return std::string(info.param.name); });

struct PositionCase {
  const char* name;
  std::string text;
  std::uint32_t offset;
  LineColumn at;
  std::string line_text;  // the text of the line `at` falls on
};

class PositionTest : public testing::TestWithParam<PositionCase> {};

TEST_P(PositionTest, LineColumnAndLineText) {
  const PositionCase& c = GetParam();
  SourceFile file("m", 0, c.text);
  EXPECT_EQ(file.line_column(c.offset), c.at);
  EXPECT_EQ(file.line_text(c.at.line), c.line_text);
}

INSTANTIATE_TEST_SUITE_P(
    Offsets, PositionTest,
    testing::Values(PositionCase{"empty_text", "", 0, {1, 1}, ""},
                    PositionCase{"start_of_second_line", "a\nb\n", 2, {2, 1}, "b"},
                    PositionCase{"after_final_lf", "a\nb\n", 4, {3, 1}, ""},
                    PositionCase{"past_the_end_falls_on_last_line", "ab\ncd", 40, {2, 38}, "cd"},
                    PositionCase{"cr_is_part_of_the_line", "x\r\ny", 1, {1, 2}, "x"},
                    PositionCase{"trailing_cr_lf_removed_in_any_order", "abc\r\r\n", 0, {1, 1}, "abc"},
                    PositionCase{"trailing_spaces_stay", "ab  \t\n", 0, {1, 1}, "ab  \t"},
                    PositionCase{"columns_count_bytes", "\xC3\xA9= 1", 2, {1, 3}, "\xC3\xA9= 1"},
                    PositionCase{"byte_order_mark_counts", "\xEF\xBB\xBFMETA", 3, {1, 4}, "\xEF\xBB\xBFMETA"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SpanTest, JoinCoversBoth) {
  EXPECT_EQ(Span::join(Span{0, 10, 12}, Span{0, 4, 6}), (Span{0, 4, 12}));
  EXPECT_EQ(Span::join(Span{0, 2, 20}, Span{0, 5, 6}), (Span{0, 2, 20}));
  EXPECT_EQ(Span::join(Span{3, 5, 6}, Span{0, 1, 2}).file, 3u);
}

}  // namespace
}  // namespace ovm::diagnostics
