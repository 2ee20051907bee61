#include "engine/phreeqc/phreeqc_cell.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string_view>

namespace ovm::engine {
namespace {

constexpr double inf = std::numeric_limits<double>::infinity();

TEST(PhreeqcCellTest, DecimalNumbersReadWhole) {
  struct Case {
    std::string_view cell;
    double value;
  };
  for (Case c : {Case{"0", 0.0}, Case{"120", 120.0}, Case{"-1.5e3", -1500.0}, Case{"+.5", 0.5},
                 Case{"5.", 5.0}, Case{"2.5E-3", 0.0025}, Case{"1e+2", 100.0}, Case{"0.1", 0.1},
                 Case{"1e999", inf}, Case{"-1e999", -inf}, Case{"inf", inf}, Case{"-Infinity", -inf},
                 Case{"+INF", inf}}) {
    std::optional<double> read = read_cell_number(c.cell);
    ASSERT_TRUE(read.has_value()) << c.cell;
    EXPECT_EQ(*read, c.value) << c.cell;
  }
}

TEST(PhreeqcCellTest, NotANumberIsANumberInAnyCase) {
  for (std::string_view cell : {"nan", "NaN", "-nan", "+NAN"}) {
    std::optional<double> read = read_cell_number(cell);
    ASSERT_TRUE(read.has_value()) << cell;
    EXPECT_TRUE(std::isnan(*read)) << cell;
  }
}

TEST(PhreeqcCellTest, OtherTextsAreNoNumbers) {
  for (std::string_view cell : {"", "+", "-", ".", "+.", "e5", "1e", "1e+", "1..2", "1.0mg", "0x10", "\"1\"",
                                "Calcite", "infi", "nan(1)", "1,5", "--1", "1 2", "\xC2\xB1" "1"}) {
    EXPECT_FALSE(read_cell_number(cell).has_value()) << cell;
  }
}

}  // namespace
}  // namespace ovm::engine
