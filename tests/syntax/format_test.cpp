#include "syntax/format.hpp"

#include <gtest/gtest.h>

namespace ovm::syntax {
namespace {

struct FormatCase {
  const char* name;
  std::string input;
  std::string expected;
};

class FormatSourceTest : public testing::TestWithParam<FormatCase> {};

TEST_P(FormatSourceTest, CanonicalLayout) {
  const FormatCase& c = GetParam();
  std::string once = format_source(c.input);
  EXPECT_EQ(once, c.expected);
  EXPECT_EQ(format_source(once), once) << "formatting is not idempotent";
}

INSTANTIATE_TEST_SUITE_P(
    Texts, FormatSourceTest,
    testing::Values(
        FormatCase{"two_space_indent_becomes_four", "META\n  name x\n  version 1\n", "META\n    name x\n    version 1\n"},
        FormatCase{"tab_indent_becomes_four", "META\n\tname x\n", "META\n    name x\n"},
        FormatCase{"one_blank_line_before_each_header", "A\n  x 1\nB\n  y 2\n\n\n\nC\n", "A\n    x 1\n\nB\n    y 2\n\nC\n"},
        FormatCase{"blank_runs_become_one", "A\n  x 1\n\n\n\n  y 2\n", "A\n    x 1\n\n    y 2\n"},
        FormatCase{"leading_and_trailing_blank_lines_vanish", "\n\n  \nA\n  x\n\n \t\n", "A\n    x\n"},
        FormatCase{"same_width_keeps_level", "A\n  k\n  v\n", "A\n    k\n    v\n"},
        FormatCase{"deeper_width_nests", "A\n  k\n    v\n", "A\n    k\n        v\n"},
        FormatCase{"widths_2_6_4_2", "A\n  a\n      b\n    c\n  d\n", "A\n    a\n        b\n        c\n    d\n"},
        FormatCase{"crlf_and_trailing_spaces", "A \r\n  x = 1  \r\n", "A\n    x = 1\n"},
        FormatCase{"final_line_without_lf", "A\n  x", "A\n    x\n"},
        FormatCase{"inner_text_unchanged", "A\n  s \"a  \tb\"  # c\n", "A\n    s \"a  \tb\"  # c\n"},
        FormatCase{"indented_comment_levelled_by_width", "A\n  k\n    # about v\n    v\n", "A\n    k\n        # about v\n        v\n"},
        FormatCase{"column_zero_comment_is_level_one_without_blank_line",
                   "A\n  x\n# note\n  y\n", "A\n    x\n    # note\n    y\n"},
        // The comment must not change which statements the key owns: `other` stays beside `k`.
        FormatCase{"column_zero_comment_keeps_ownership",
                   "A\n  k\n    inner\n# note\n  other\n    deeper\n",
                   "A\n    k\n        inner\n    # note\n    other\n        deeper\n"},
        // Nor does an indented comment: `deeper` stays under `inner`.
        FormatCase{"indented_comment_keeps_ownership",
                   "A\n  k\n    inner\n  # note\n      deeper\n",
                   "A\n    k\n        inner\n    # note\n            deeper\n"},
        FormatCase{"column_zero_comment_between_nested_lines",
                   "A\n  k\n    inner\n# note\n      deeper\n",
                   "A\n    k\n        inner\n    # note\n            deeper\n"},
        FormatCase{"comment_first_in_text", "# header comment\nA\n  x\n", "    # header comment\n\nA\n    x\n"},
        FormatCase{"unicode_white_space_trimmed",
                   "A\n\xC2\xA0\xC2\xA0x\xE2\x80\x83\n\xE3\x80\x80\n", "A\n    x\n"},
        // Next line, ogham and medium mathematical spaces are white space; a zero-width space
        // is not, so it stays at the line's end.
        FormatCase{"rarer_unicode_white_space",
                   "A\n\xC2\x85\xE1\x9A\x80\xE2\x81\x9Fx\xE2\x80\x8B\xE2\x80\xA8\n", "A\n    x\xE2\x80\x8B\n"},
        FormatCase{"non_breaking_space_inside_kept", "A\n  a\xC2\xA0" "b\n", "A\n    a\xC2\xA0" "b\n"},
        FormatCase{"form_feed_line_is_blank", "A\n  x\n\f\n  y\n", "A\n    x\n\n    y\n"},
        FormatCase{"only_blank_lines", "\n \n\t\n", ""},
        FormatCase{"empty", "", ""}),
    [](const auto& info) { return std::string(info.param.name); });

// Widths count bytes: a two-byte space indents more than a one-byte one, and a tab no more
// than a space, as the parser counts columns.
TEST(FormatSourceTest, WidthsCountBytes) {
  EXPECT_EQ(format_source("A\n k\n\xC2\xA0v\n"), "A\n    k\n        v\n");
  EXPECT_EQ(format_source("A\n\tk\n  v\n \tw\n"), "A\n    k\n        v\n        w\n");
  EXPECT_EQ(format_source("A\n  k\n\tv\n"), "A\n    k\n    v\n");
}

}  // namespace
}  // namespace ovm::syntax
