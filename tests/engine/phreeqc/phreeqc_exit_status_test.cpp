#include "engine/phreeqc/phreeqc_exit_status.hpp"

#include <gtest/gtest.h>

#include <string>

namespace ovm::engine {
namespace {

TEST(PhreeqcExitStatusTest, CodesAreDecimalUnlessTheHighestBitIsSet) {
  EXPECT_EQ(exit_status_text(ExitStatus{1, 0}), "exit code: 1");
  EXPECT_EQ(exit_status_text(ExitStatus{255, 0}), "exit code: 255");
  EXPECT_EQ(exit_status_text(ExitStatus{0x7FFFFFFF, 0}), "exit code: 2147483647");
  EXPECT_EQ(exit_status_text(ExitStatus{static_cast<std::int32_t>(0xC0000005u), 0}), "exit code: 0xc0000005");
  EXPECT_EQ(exit_status_text(ExitStatus{static_cast<std::int32_t>(0x80000000u), 0}), "exit code: 0x80000000");
  EXPECT_EQ(exit_status_text(ExitStatus{std::nullopt, 9}), "signal: 9");
}

TEST(PhreeqcExitStatusTest, OnlyExitCodeZeroIsSuccess) {
  EXPECT_TRUE((ExitStatus{0, 0}).success());
  EXPECT_FALSE((ExitStatus{1, 0}).success());
  EXPECT_FALSE((ExitStatus{std::nullopt, 15}).success());
}

TEST(PhreeqcExitStatusTest, HexDigitsAreAppendedHighNibbleFirst) {
  std::string text = "x";
  append_hex_digits(std::string("\x00\x0F\xA5\xFF", 4), text);
  EXPECT_EQ(text, "x000fa5ff");
}

}  // namespace
}  // namespace ovm::engine
