#include "engine/phreeqc/phreeqc_lines.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace ovm::engine {
namespace {

using Views = std::vector<std::string_view>;
using Texts = std::vector<std::string>;

TEST(PhreeqcLinesTest, SplitsAtLineFeedsWithTheirCarriageReturns) {
  EXPECT_EQ(text_lines("a\r\nb\n\nc"), (Views{"a", "b", "", "c"}));
  // A carriage return that ends no line stays with its line.
  EXPECT_EQ(text_lines("a\rb\r"), (Views{"a\rb\r"}));
  EXPECT_EQ(text_lines(""), Views{});
}

TEST(PhreeqcLinesTest, FieldsAreSeparatedByUnicodeWhiteSpace) {
  // A no-break space (U+00A0) and an ideographic space (U+3000) separate like blanks do.
  EXPECT_EQ(line_fields("  sim\tstate\xC2\xA0time\xE3\x80\x80" "Ca  "), (Views{"sim", "state", "time", "Ca"}));
  EXPECT_EQ(line_fields("\xC3\xA9t\xC3\xA9 x"), (Views{"\xC3\xA9t\xC3\xA9", "x"}));
  EXPECT_TRUE(line_fields(" \t\xC2\xA0").empty());
  EXPECT_TRUE(is_blank_line(" \t\xE2\x80\x83"));
  EXPECT_FALSE(is_blank_line(" . "));
}

TEST(PhreeqcLinesTest, TabFieldsAreTrimmedAndKeepEmptyCells) {
  EXPECT_EQ(tab_fields("well 7 (deep)\t  4.2500e+01\t            \t  1.2500e-01\t"),
            (Views{"well 7 (deep)", "4.2500e+01", "", "1.2500e-01"}));
  EXPECT_EQ(tab_fields("a\t\tb"), (Views{"a", "", "b"}));  // no tab after the last cell
  EXPECT_EQ(tab_fields("\t"), (Views{""}));
  EXPECT_TRUE(tab_fields("").empty());
}

TEST(PhreeqcLinesTest, LastNonEmptyLinesKeepTheirOrderAndInnerBlanks) {
  EXPECT_EQ(last_nonempty_lines("a\n\nb\nc\nd\n", 3), (Texts{"b", "c", "d"}));
  EXPECT_EQ(last_nonempty_lines("  one  two \r\n \n", 3), (Texts{"  one  two "}));
  EXPECT_EQ(last_nonempty_lines(" \n\t\n", 3), Texts{});
}

TEST(PhreeqcLinesTest, ErrorLinesAreTheFirstThatBeginWithUpperCaseError) {
  std::string output =
      "Reading input\n   ERROR: bad input \nerror: lower case\nx ERROR: not at the start\n"
      "ERROR: two\r\nERRORthree\nERROR: four\n";
  EXPECT_EQ(error_lines(output, 3), (Texts{"ERROR: bad input", "ERROR: two", "ERRORthree"}));
  EXPECT_EQ(error_lines("all went well\n", 3), Texts{});
}

TEST(PhreeqcLinesTest, JoinsWithASlashBetweenBlanks) {
  EXPECT_EQ(join_lines({"b", "c", "d"}), "b / c / d");
  EXPECT_EQ(join_lines({"only"}), "only");
}

}  // namespace
}  // namespace ovm::engine
