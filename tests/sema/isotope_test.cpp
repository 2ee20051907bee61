#include "sema/isotope.hpp"

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

namespace ovm::sema {
namespace {

struct IsotopeCase {
  std::string_view text;
  std::optional<Isotope> expected;
};

TEST(ParseIsotopeTest, MassNumberThenElementSymbol) {
  const std::vector<IsotopeCase> cases = {
      {"53Cr", Isotope{53, "Cr"}},
      {"2H", Isotope{2, "H"}},
      {"238U", Isotope{238, "U"}},
      {"0O", Isotope{0, "O"}},
      {"053Cr", Isotope{53, "Cr"}},  // leading zeros count as digits
      {"999Zz", Isotope{999, "Zz"}},
      {"", std::nullopt},
      {"53", std::nullopt},
      {"Cr", std::nullopt},
      {"1234U", std::nullopt},  // four digits
      {"0053Cr", std::nullopt},
      {"53cr", std::nullopt},
      {"53CR", std::nullopt},  // the second letter is upper case
      {"53Crx", std::nullopt},
      {"53Crr", std::nullopt},
      {"53C2", std::nullopt},
      {"53 Cr", std::nullopt},
      {"53-Cr", std::nullopt},
      {" 53Cr", std::nullopt},
      {"53Cr ", std::nullopt},
      {"53\xC3\x84", std::nullopt},  // a non-ASCII capital
      {"53C\xC3\xA4", std::nullopt},
  };
  for (const IsotopeCase& c : cases) EXPECT_EQ(parse_isotope(c.text), c.expected) << "'" << c.text << "'";
}

TEST(ParseRatioTest, TwoIsotopesOfOneElement) {
  struct Case {
    std::string_view text;
    RatioParse expected;
  };
  const RatioError malformed{};
  const std::vector<Case> cases = {
      {"53Cr/52Cr", IsotopeRatio{"Cr", 53, 52}},
      {"18O/16O", IsotopeRatio{"O", 18, 16}},
      {"52Cr/52Cr", IsotopeRatio{"Cr", 52, 52}},  // the masses are not compared
      {"053Cr/52Cr", IsotopeRatio{"Cr", 53, 52}},
      {"53Cr/52Fe", RatioError{RatioError::Kind::DifferentElements, "Cr", "Fe"}},
      {"2H/1He", RatioError{RatioError::Kind::DifferentElements, "H", "He"}},
      {"53Cr52Cr", malformed},
      {"53Cr/", malformed},
      {"/52Cr", malformed},
      {"/", malformed},
      {"", malformed},
      {"53Cr/52Cr/50Cr", malformed},
      {"53Cr / 52Cr", malformed},
      // A malformed side wins over a difference of elements.
      {"53Cr/52Fe/x", malformed},
      {"53cr/52Fe", malformed},
      {"53Cr/52fe", malformed},
  };
  for (const Case& c : cases) EXPECT_EQ(parse_ratio(c.text), c.expected) << "'" << c.text << "'";
}

TEST(ParseDeltaNameTest, LowerCaseDeltaThenAnIsotope) {
  const std::vector<IsotopeCase> cases = {
      {"delta53Cr", Isotope{53, "Cr"}},
      {"delta2H", Isotope{2, "H"}},
      {"delta238U", Isotope{238, "U"}},
      {"delta", std::nullopt},
      {"delta53", std::nullopt},
      {"deltaCr", std::nullopt},
      {"DELTA53Cr", std::nullopt},
      {"Delta53Cr", std::nullopt},
      {"d53Cr", std::nullopt},
      {"delt", std::nullopt},
      {"", std::nullopt},
      {"delta 53Cr", std::nullopt},
      {"delta53Cr/52Cr", std::nullopt},
  };
  for (const IsotopeCase& c : cases) EXPECT_EQ(parse_delta_name(c.text), c.expected) << "'" << c.text << "'";
}

TEST(ParseDeltaNameTest, SymbolOutlivesTheText) {
  std::optional<Isotope> isotope;
  {
    std::string text = "delta56Fe";
    isotope = parse_delta_name(text);
    text.assign("xxxxxxxxx");
  }
  ASSERT_TRUE(isotope.has_value());
  EXPECT_EQ(isotope->symbol, "Fe");
  EXPECT_EQ(isotope->mass, 56);
}

}  // namespace
}  // namespace ovm::sema
