#include "syntax/numbers.hpp"

#include <gtest/gtest.h>

#include <cmath>
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
