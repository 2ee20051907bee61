#include "diagnostics/message_text.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "diagnostics/message_number.hpp"

namespace ovm::diagnostics {
namespace {

TEST(FillMessageTest, PlaceholdersTakeTheArgumentsInOrder) {
  EXPECT_EQ(fill_message("`{}` is a {}, not a {}", {"Ocean", "Reservoir", "Process"}),
            "`Ocean` is a Reservoir, not a Process");
  EXPECT_EQ(fill_message("unknown block", {}), "unknown block");
  EXPECT_EQ(fill_message("{}{}", {"a", "b"}), "ab");
  EXPECT_EQ(fill_message("`{}` and {}", {"a"}), "`a` and {}");
  EXPECT_EQ(fill_message("{}", {"{}", "x"}), "{}");  // an argument is never scanned again
}

TEST(MessageNumberTest, ShortestRoundTripTextWithoutExponent) {
  struct Case {
    double value;
    std::string_view text;
  };
  const std::vector<Case> cases = {
      {0.0, "0"},
      {-0.0, "-0"},
      {1.0, "1"},
      {2.5, "2.5"},
      {273.15, "273.15"},
      {0.1, "0.1"},
      {0.0001, "0.0001"},
      {1e-7, "0.0000001"},
      {1e21, "1000000000000000000000"},
      {-300.0, "-300"},
      {1.0 / 3.0, "0.3333333333333333"},
      {std::numeric_limits<double>::quiet_NaN(), "NaN"},
      {std::numeric_limits<double>::infinity(), "inf"},
      {-std::numeric_limits<double>::infinity(), "-inf"},
  };
  for (const Case& c : cases) EXPECT_EQ(message_number_text(c.value), c.text) << c.text;
}

}  // namespace
}  // namespace ovm::diagnostics
