#include "ir/graph/debug_number.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace ovm::ir {
namespace {

struct NumberCase {
  double value;
  const char* text;
};

TEST(DebugNumberTextTest, ShortestDigitsWithAPointOrAnExponent) {
  const NumberCase cases[] = {
      {1.0, "1.0"},
      {1.5, "1.5"},
      {0.5, "0.5"},
      {2.0, "2.0"},
      {250.0, "250.0"},
      {273.15, "273.15"},
      {0.1, "0.1"},
      {0.0, "0.0"},
      {-0.0, "-0.0"},
      {-3.25, "-3.25"},
      {0.0001, "0.0001"},  // the smallest magnitude written without exponent
      {1e-5, "1e-5"},
      {-1e-5, "-1e-5"},
      {1.5e-7, "1.5e-7"},
      {1e16, "1e16"},  // the smallest magnitude written with exponent
      {9999999999999998.0, "9999999999999998.0"},
      {1.25e20, "1.25e20"},
      {-1e16, "-1e16"},
      {1e300, "1e300"},
      {5e-324, "5e-324"},
      {123456789.0, "123456789.0"},
  };
  for (const NumberCase& c : cases) EXPECT_EQ(debug_number_text(c.value), c.text) << c.text;
}

TEST(DebugNumberTextTest, NonFiniteNumbers) {
  EXPECT_EQ(debug_number_text(std::numeric_limits<double>::quiet_NaN()), "NaN");
  EXPECT_EQ(debug_number_text(std::numeric_limits<double>::infinity()), "inf");
  EXPECT_EQ(debug_number_text(-std::numeric_limits<double>::infinity()), "-inf");
}

}  // namespace
}  // namespace ovm::ir
