#include "syntax/numbers.hpp"

#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <string>

namespace ovm::syntax {
namespace {

constexpr double inf = std::numeric_limits<double>::infinity();

struct FloatCase {
  const char* name;
  std::string text;
  double expected;
};

class ReadFloatTest : public ::testing::TestWithParam<FloatCase> {};

TEST_P(ReadFloatTest, NearestValueOrRangeEnd) { EXPECT_EQ(read_float(GetParam().text), GetParam().expected); }

INSTANTIATE_TEST_SUITE_P(
    Texts, ReadFloatTest,
    ::testing::Values(FloatCase{"fraction", "0.25", 0.25},
                      FloatCase{"negative_exponent", "1e-6", 1e-6},
                      FloatCase{"signed_exponent", "2E+10", 2e10},
                      FloatCase{"trailing_zeros", "2.50", 2.5},
                      FloatCase{"nearest_of_long_text", "0.1000000000000000055511151231257827", 0.1},
                      FloatCase{"subnormal_reads_exactly", "5e-324", std::numeric_limits<double>::denorm_min()},
                      FloatCase{"exponent_overflow", "1e400", inf},
                      FloatCase{"huge_exponent", "1e99999999999999999999", inf},
                      FloatCase{"long_integer", std::string(400, '9'), inf},
                      FloatCase{"large_mantissa_small_exponent", "1" + std::string(400, '0') + "e-50", inf},
                      FloatCase{"exponent_underflow", "1e-400", 0.0},
                      FloatCase{"huge_negative_exponent", "7.5e-99999999999999999999", 0.0},
                      FloatCase{"long_zero_fraction", "0." + std::string(400, '0') + "1", 0.0},
                      FloatCase{"small_mantissa_large_exponent", "0." + std::string(400, '0') + "1e50", 0.0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ReadFloatTest, TextThatIsNoNumberReadsAsNaN) {
  EXPECT_TRUE(std::isnan(read_float("x")));
  EXPECT_TRUE(std::isnan(read_float("1x")));
  EXPECT_TRUE(std::isnan(read_float("")));
}

// Short decimals take a shortcut; every one must read as the nearest double, bit for bit, as
// from_chars reads it.
TEST(ShortDecimalTest, ReadsTheNearestDouble) {
  std::uint64_t state = 12345;
  auto next = [&] {
    state = state * 6364136223846793005u + 1442695040888963407u;
    return state >> 33;
  };
  for (int round = 0; round < 200000; ++round) {
    std::string text = std::to_string(next() % 100000000);
    if (round % 5 == 0) text += std::to_string(next() % 10000000000);  // about 2^53 and past it
    if (round % 2 == 0) text.insert(text.size() - next() % text.size(), ".");
    if (text.front() == '.') text.insert(0, "0");
    if (text.back() == '.') text += "5";
    if (round % 3 == 0) text += (round % 6 == 0 ? "e-" : "e") + std::to_string(next() % 30);
    double expected = 0;
    std::from_chars(text.data(), text.data() + text.size(), expected);
    double read = read_float(text);
    ASSERT_EQ(std::memcmp(&read, &expected, sizeof read), 0) << text;
  }
}

// The shapes on the edges of the shortcut: a point without digits on one side, two points,
// fifteen and sixteen digits, leading zeros. Each reads as from_chars reads the whole text, or
// as NaN where from_chars stops short.
TEST(ShortDecimalTest, EdgesOfTheShortcutReadAsFromChars) {
  for (std::string text : {"1.", ".5", "1..5", "1.2.3", "123456789012345", "1234567890123456", "12345678901234.5",
                           "0.00000000000001", "000000000000007", "0000000000000.5", "9.", "5.e1", "0", "00"}) {
    double expected = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), expected);
    double read = read_float(text);
    if (error != std::errc{} || end != text.data() + text.size()) {
      EXPECT_TRUE(std::isnan(read)) << text;
    } else {
      EXPECT_EQ(std::memcmp(&read, &expected, sizeof read), 0) << text;
    }
  }
}

TEST(ReadInt32Test, WholeTextMustBeAnInteger) {
  EXPECT_EQ(read_int32("2"), 2);
  EXPECT_EQ(read_int32("007"), 7);
  EXPECT_EQ(read_int32("2147483647"), 2147483647);
  EXPECT_EQ(read_int32("2147483648"), std::nullopt);
  EXPECT_EQ(read_int32("2.5"), std::nullopt);
  EXPECT_EQ(read_int32("1e3"), std::nullopt);
  EXPECT_EQ(read_int32(""), std::nullopt);
}

}  // namespace
}  // namespace ovm::syntax
