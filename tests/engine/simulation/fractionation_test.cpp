#include "engine/simulation/fractionation.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <optional>

namespace ovm::engine {
namespace {

TEST(FractionationTest, OnlyEquilibriumWithoutOpenSystemIsClosed) {
  struct Case {
    std::optional<ir::Regime> regime;
    bool open_system;
    FractionationForm expected;
  };
  for (const Case& test : {
           Case{std::nullopt, false, FractionationForm::Rayleigh},
           Case{ir::Regime::Kinetic, false, FractionationForm::Rayleigh},
           Case{ir::Regime::Equilibrium, false, FractionationForm::Closed},
           Case{ir::Regime::Equilibrium, true, FractionationForm::Rayleigh},
           Case{std::nullopt, true, FractionationForm::Rayleigh},
       }) {
    ir::Process process;
    process.regime = test.regime;
    process.open_system = test.open_system;
    EXPECT_EQ(fractionation_form(process), test.expected) << test.open_system;
  }
}

TEST(FractionationTest, RemainingShareStaysStrictlyInsideZeroAndOne) {
  EXPECT_EQ(remaining_share(1), 1e-12);
  EXPECT_EQ(remaining_share(0), 0.999999999999);
  EXPECT_EQ(remaining_share(0.25), 0.75);
  EXPECT_EQ(remaining_share(1 - 1e-15), 1e-12);
}

TEST(FractionationTest, RayleighAndClosedFormsOfHalfAPool) {
  FractionatedDeltas open = fractionate(0, 0.99, 0.5, FractionationForm::Rayleigh);
  double open_remaining = (0.0 + 1000) * std::pow(0.5, 0.99 - 1) - 1000;
  EXPECT_EQ(open.remaining, open_remaining);
  EXPECT_NEAR(open.remaining, 6.96, 0.01);
  EXPECT_EQ(open.product, (0 - 0.5 * open_remaining) / (1 - 0.5));
  EXPECT_EQ(open.product, -open.remaining);

  FractionatedDeltas closed = fractionate(0, 0.99, 0.5, FractionationForm::Closed);
  double closed_remaining = (0.0 + 1000) / (0.99 * (1 - 0.5) + 0.5) - 1000;
  EXPECT_EQ(closed.remaining, closed_remaining);
  EXPECT_NEAR(closed.remaining, 5.03, 0.01);
  EXPECT_EQ(closed.product, -closed.remaining);
}

TEST(FractionationTest, ClosedFormAtAFifthRemaining) {
  // At f = 0.5 the remainder's weights alpha * r + f and alpha * f + r agree; at 0.2 only the
  // first gives 1000 / 0.992 - 1000 = 8.0645 permil (the other would give 2.0040).
  FractionatedDeltas closed = fractionate(0, 0.99, 0.2, FractionationForm::Closed);
  EXPECT_NEAR(closed.remaining, 8.064516129, 1e-9);
  EXPECT_NEAR(closed.product, -2.016129032, 1e-9);  // (0 - 0.2 * 8.0645) / 0.8
}

TEST(FractionationTest, AlphaOfOneKeepsTheStartingDelta) {
  for (FractionationForm form : {FractionationForm::Rayleigh, FractionationForm::Closed}) {
    // Near f = 1 the product's share 1 - f is so small that rounding of the remainder shows.
    for (double f : {1e-12, 0.3, 0.5}) {
      FractionatedDeltas deltas = fractionate(-12.5, 1, f, form);
      EXPECT_NEAR(deltas.remaining, -12.5, 1e-9) << f;
      EXPECT_NEAR(deltas.product, -12.5, 1e-6) << f;
    }
  }
}

TEST(FractionationTest, ProductBalancesTheRemainderAgainstTheStart) {
  FractionatedDeltas deltas = fractionate(3.5, 1.002, 0.2, FractionationForm::Rayleigh);
  double remaining = (3.5 + 1000) * std::pow(0.2, 1.002 - 1) - 1000;
  EXPECT_EQ(deltas.remaining, remaining);
  EXPECT_EQ(deltas.product, (3.5 - 0.2 * remaining) / (1 - 0.2));
  EXPECT_LT(deltas.remaining, 3.5);  // alpha above 1 takes the heavy isotope into the product
  EXPECT_GT(deltas.product, 3.5);
}

}  // namespace
}  // namespace ovm::engine
