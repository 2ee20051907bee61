#include "diagnostics/utf8.hpp"

#include <gtest/gtest.h>

namespace ovm::diagnostics {
namespace {

struct DisplayCase {
  const char* name;
  std::string bytes;
  std::string shown;
  bool valid;
};

class DisplayTextTest : public testing::TestWithParam<DisplayCase> {};

const std::string replacement = "\xEF\xBF\xBD";

TEST_P(DisplayTextTest, ReplacesEachIllFormedSubpart) {
  EXPECT_EQ(display_text(GetParam().bytes), GetParam().shown);
  EXPECT_EQ(is_valid_utf8(GetParam().bytes), GetParam().valid);
}

INSTANTIATE_TEST_SUITE_P(
    Bytes, DisplayTextTest,
    testing::Values(DisplayCase{"ascii", "model.ovm", "model.ovm", true},
                    DisplayCase{"two_and_four_byte", "\xCE\xB4\xF0\x9F\x98\x80", "\xCE\xB4\xF0\x9F\x98\x80", true},
                    DisplayCase{"lone_continuation", "a\x80" "b", "a" + replacement + "b", false},
                    DisplayCase{"latin1_byte", "caf\xE9.ovm", "caf" + replacement + ".ovm", false},
                    DisplayCase{"truncated_three_byte", "\xE2\x82", replacement, false},
                    DisplayCase{"overlong", "\xC0\xAF", replacement + replacement, false},
                    DisplayCase{"surrogate", "\xED\xA0\x80", replacement + replacement + replacement, false},
                    DisplayCase{"beyond_unicode", "\xF4\x90\x80\x80", replacement + replacement + replacement + replacement, false}),
    [](const auto& info) { return std::string(info.param.name); });

// Long ASCII runs are checked several bytes at a time; a sequence anywhere in them still counts.
TEST(Utf8Test, EveryPlaceInALongTextIsChecked) {
  for (std::size_t at = 0; at <= 100; ++at) {
    std::string text(100, 'a');
    EXPECT_TRUE(is_valid_utf8(text.substr(0, at) + "\xCE\xB4" + text.substr(at))) << at;
    EXPECT_FALSE(is_valid_utf8(text.substr(0, at) + "\xE9" + text.substr(at))) << at;
    EXPECT_FALSE(is_valid_utf8(text.substr(0, at) + "\xE2\x82")) << at;
  }
}

}  // namespace
}  // namespace ovm::diagnostics
