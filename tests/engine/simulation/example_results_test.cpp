// The example models give the results their closed forms predict.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "engine/simulation/run_model.hpp"
#include "lower_test_support.hpp"

namespace ovm::engine {
namespace {

double cell(const ir::ResultsRow& row, std::size_t column) {
  EXPECT_LT(column, row.size());
  if (column >= row.size() || !row[column]) {
    ADD_FAILURE() << "no value in column " << column;
    return std::nan("");
  }
  return *row[column];
}

// First-order reduction, k = 0.05 1/d, of 20 umol/kgw Cr(VI) at +0.5 permil with epsilon
// -3.4 permil: the Cr(VI) left at f = exp(-k t) is at (0.5 + 1000) f^(alpha - 1) - 1000, and
// the Cr(III) made so far holds the rest of the chromium and its isotopes.
TEST(ExampleResultsTest, RayleighReductionFollowsTheRayleighCurve) {
  ir::ModelGraph graph = ir::testing::lower_example("cr_reduction_rayleigh.ovm", sema::Profile::Core);
  ir::ResultsFile results = run_model(std::move(graph), std::nullopt);
  ASSERT_EQ(results.columns.size(), 4u);
  std::vector<ir::ResultsRow> rows = ir::table_rows(results.rows);
  ASSERT_GT(rows.size(), 40u);
  const double k = 0.05 / 86400;
  const double alpha = 1 - 3.4 / 1000;
  for (const ir::ResultsRow& row : rows) {
    double t = cell(row, 0);
    double f = std::exp(-k * t);
    EXPECT_NEAR(cell(row, 1), 20e-6 * f, 1e-15) << "at " << t;
    double remaining = (0.5 + 1000) * std::pow(f, alpha - 1) - 1000;
    EXPECT_NEAR(cell(row, 2), remaining, 1e-9) << "at " << t;
    if (f == 1) continue;
    double made = (0.5 - remaining * f) / (1 - f);
    EXPECT_NEAR(cell(row, 3), made, 1e-6) << "at " << t;
  }
  // Heavier as it is consumed, to the stop at 2 umol/kgw (f = 0.1): about +8.3 permil.
  EXPECT_GT(cell(rows.back(), 2), 8.0);
  EXPECT_LT(cell(rows.back(), 3), 0.5);
}

// 30 % river water (1.2 ug/L at +0.9 permil) and 70 % seawater (0.2 ug/L at +1.3 permil).
TEST(ExampleResultsTest, TwoSourceMixingIsTheWeightedMixture) {
  ir::ModelGraph graph = ir::testing::lower_example("two_source_mixing.ovm", sema::Profile::Core);
  ir::ResultsFile results = run_model(std::move(graph), std::nullopt);
  std::vector<ir::ResultsRow> rows = ir::table_rows(results.rows);
  ASSERT_FALSE(rows.empty());
  const ir::ResultsRow& last = rows.back();
  double amount = 0.3 * 1.2 + 0.7 * 0.2;  // ug/L
  EXPECT_NEAR(cell(last, 0), amount * 1e-3, 1e-15);
  EXPECT_NEAR(cell(last, 1), (0.3 * 1.2 * 0.9 + 0.7 * 0.2 * 1.3) / amount, 1e-9);
}

}  // namespace
}  // namespace ovm::engine
