#include "diagnostics/number_text.hpp"

#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>
#include <random>

namespace ovm::diagnostics {
namespace {

struct NumberCase {
  double value;
  std::string text;
};

TEST(PlainDecimalTest, Texts) {
  const double inf = std::numeric_limits<double>::infinity();
  for (const NumberCase& c : std::vector<NumberCase>{
           {2.5, "2.5"},
           {100.0, "100"},
           {0.0, "0"},
           {-0.0, "-0"},
           {-1.6, "-1.6"},
           {0.1, "0.1"},
           {0.0001, "0.0001"},
           {1e-7, "0.0000001"},
           {1234.5678, "1234.5678"},
           {1e16, "10000000000000000"},
           {123456789012345680000.0, "123456789012345680000"},
           {1e300, "1" + std::string(300, '0')},
           {5e-324, "0." + std::string(323, '0') + "5"},
           {std::nan(""), "NaN"},
           {inf, "inf"},
           {-inf, "-inf"},
       }) {
    EXPECT_EQ(plain_decimal(c.value), c.text);
  }
}

// Whatever the value, the text reads back to the same double.
TEST(PlainDecimalTest, RoundTrips) {
  std::mt19937_64 random(12345);
  for (int i = 0; i < 20000; ++i) {
    std::uint64_t bits = random();
    double value;
    std::memcpy(&value, &bits, sizeof value);
    if (!std::isfinite(value)) continue;
    std::string text = plain_decimal(value);
    ASSERT_EQ(text.find('e'), std::string::npos) << text;
    double back = 0;
    auto result = std::from_chars(text.data(), text.data() + text.size(), back);
    ASSERT_EQ(result.ec, std::errc()) << text;
    ASSERT_EQ(std::memcmp(&back, &value, sizeof value), 0) << text;
  }
}

}  // namespace
}  // namespace ovm::diagnostics
