#include "sema/lower_case.hpp"

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "sema/utf8_scalars.hpp"

namespace ovm::sema {
namespace {

TEST(LowerCaseTest, FullDefaultMapping) {
  struct Case {
    std::string_view text;
    std::u32string lowered;
  };
  const std::vector<Case> cases = {
      {"RESERVOIR", U"reservoir"},
      {"Cr(VI)", U"cr(vi)"},
      {"\xC3\x84\xC3\x96\xC3\x9C", U"\u00E4\u00F6\u00FC"},  // ÄÖÜ
      {"\xC4\xB0", U"i\u0307"},                             // İ lowers to two scalars
      {"\xC7\x84", U"\u01C6"},                              // Ǆ
      {"\xC7\x85", U"\u01C6"},                              // ǅ, the title-case form
      {"\xE1\xBA\x9E", U"\u00DF"},                          // capital sharp s
      {"\xD0\x96", U"\u0436"},                              // Ж
      {"\xF0\x90\x90\x80", U"\U00010428"},                  // Deseret long I
      {"\xE2\x84\xAA", U"k"},                               // Kelvin sign
      {"\xCE\xA3", U"\u03C3"},                              // a lone sigma ends no word
      {"\xCE\x9F\xCE\xA3", U"\u03BF\u03C2"},                // ΟΣ: final sigma
      {"\xCE\xA3\xCE\x9F", U"\u03C3\u03BF"},                // ΣΟ
      {"\xCE\x9F\xCE\xA3 \xCE\x9F", U"\u03BF\u03C2 \u03BF"},
      {"\xCE\x9F'\xCE\xA3'", U"\u03BF'\u03C2'"},  // apostrophes are case-ignorable
      {"\xCE\x9F\xCE\xA3'\xCE\x9F", U"\u03BF\u03C3'\u03BF"},
      {"1\xCE\xA3", U"1\u03C3"},
      {"\xE2\x85\xA0", U"\u2170"},  // Roman numeral one
      {"\xFF", U"\uFFFD"},          // an ill-formed byte
  };
  for (const Case& c : cases) {
    EXPECT_EQ(lower_case_scalars(c.text), c.lowered) << c.text;
  }
}

TEST(Utf8ScalarsTest, IllFormedBytesReadAsReplacements) {
  EXPECT_EQ(utf8_scalars("a\xC3\xA9z"), U"a\u00E9z");
  EXPECT_EQ(utf8_scalars("\xC3"), U"\uFFFD");                                // truncated
  EXPECT_EQ(utf8_scalars("\xC0\x80"), U"\uFFFD\uFFFD");                      // overlong
  EXPECT_EQ(utf8_scalars("\xED\xA0\x80"), U"\uFFFD\uFFFD\uFFFD");            // a surrogate
  EXPECT_EQ(utf8_scalars("\xF4\x90\x80\x80"), U"\uFFFD\uFFFD\uFFFD\uFFFD");  // past U+10FFFF
  EXPECT_EQ(utf8_scalars(""), U"");
}

}  // namespace
}  // namespace ovm::sema
