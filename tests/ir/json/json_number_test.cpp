#include "ir/json/json_number.hpp"

#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>
#include <random>
#include <string>
#include <vector>

namespace ovm::ir {
namespace {

struct NumberCase {
  double value;
  std::string text;
};

TEST(JsonNumberTextTest, TableOfTheFileFormat) {
  for (const NumberCase& c : std::vector<NumberCase>{
           {1.0, "1.0"},
           {298.15, "298.15"},
           {0.001, "0.001"},
           {0.00001, "0.00001"},
           {0.0000015, "1.5e-6"},
           {1e15, "1000000000000000.0"},
           {1e16, "1e+16"},
           {1.5e16, "1.5e+16"},
           {std::numeric_limits<double>::denorm_min(), "5e-324"},
           {std::numeric_limits<double>::max(), "1.7976931348623157e+308"},
           {-2.5, "-2.5"},
       }) {
    EXPECT_EQ(json_number_text(c.value), c.text) << c.text;
  }
}

// Zero and its sign, the edges of plain notation and the non-finite values.
TEST(JsonNumberTextTest, EdgesOfTheLayout) {
  const double inf = std::numeric_limits<double>::infinity();
  for (const NumberCase& c : std::vector<NumberCase>{
           {0.0, "0.0"},
           {-0.0, "-0.0"},
           {250.0, "250.0"},
           {0.998, "0.998"},
           {0.000001, "1e-6"},
           {0.0000123, "0.0000123"},
           {-0.00001, "-0.00001"},
           {1234.5, "1234.5"},
           {123456789012345.6, "123456789012345.6"},
           {9999999999999998.0, "9999999999999998.0"},
           {12345678901234567890.0, "1.2345678901234567e+19"},
           {1e100, "1e+100"},
           {-1e-7, "-1e-7"},
           {2.5e-10, "2.5e-10"},
           {0.1, "0.1"},
           {std::nan(""), "null"},
           {inf, "null"},
           {-inf, "null"},
       }) {
    EXPECT_EQ(json_number_text(c.value), c.text) << c.text;
  }
}

// Whatever the finite value, its text reads back as the same double.
TEST(JsonNumberTextTest, ReadsBackToTheSameDouble) {
  std::mt19937_64 random(20261210);
  for (int i = 0; i < 20000; ++i) {
    std::uint64_t bits = random();
    double value;
    std::memcpy(&value, &bits, sizeof value);
    if (!std::isfinite(value)) continue;
    std::string text = json_number_text(value);
    double back = 0;
    auto result = std::from_chars(text.data(), text.data() + text.size(), back);
    ASSERT_EQ(result.ec, std::errc()) << text;
    ASSERT_EQ(result.ptr, text.data() + text.size()) << text;
    ASSERT_EQ(std::memcmp(&back, &value, sizeof value), 0) << text;
  }
}

// Whole numbers below 10^15 are written as the shortest fixed digits and ".0", of any size
// and either sign, up to the first one written 1000000000000000.0.
TEST(JsonNumberTextTest, WholeNumbersAreTheirDigitsAndAPoint) {
  std::mt19937_64 random(20261211);
  for (int i = 0; i < 20000; ++i) {
    double value = static_cast<double>(random() % (std::uint64_t{1} << (1 + i % 50)));
    if (i % 3 == 0) value = -value;
    if (value == 0) continue;
    char fixed[32];
    char* end = std::to_chars(fixed, fixed + sizeof fixed, value, std::chars_format::fixed).ptr;
    ASSERT_EQ(json_number_text(value), std::string(fixed, end) + ".0");
  }
  EXPECT_EQ(json_number_text(999999999999999.0), "999999999999999.0");
  EXPECT_EQ(json_number_text(-999999999999999.0), "-999999999999999.0");
  EXPECT_EQ(json_number_text(std::nextafter(1e15, 0.0)), "999999999999999.9");
  EXPECT_EQ(json_number_text(4503599627370495.5), "4503599627370495.5");
}

TEST(JsonNumberTextTest, UnsignedIntegersAreTheirDigits) {
  EXPECT_EQ(json_unsigned_text(0), "0");
  EXPECT_EQ(json_unsigned_text(7), "7");
  EXPECT_EQ(json_unsigned_text(4294967295u), "4294967295");
  EXPECT_EQ(json_unsigned_text(std::numeric_limits<std::uint64_t>::max()), "18446744073709551615");
}

}  // namespace
}  // namespace ovm::ir
