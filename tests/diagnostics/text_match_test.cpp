#include "diagnostics/text_match.hpp"

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

namespace ovm::diagnostics {
namespace {

TEST(AsciiFoldingTest, OnlyAsciiLettersFold) {
  struct Case {
    std::string_view a;
    std::string_view b;
    bool equal;
  };
  const std::vector<Case> cases = {
      {"META", "meta", true},
      {"Meta", "mETA", true},
      {"pH", "PH", true},
      {"MONTE_CARLO", "monte_carlo", true},
      {"", "", true},
      {"TITLE", "TITLES", false},
      {"TITLE", "TITL", false},
      {"a", "b", false},
      {"[", "{", false},  // 0x5B and 0x7B differ by the case bit, but are no letters
      {"@", "`", false},
      {"_", "\x7F", false},
      {"\xC3\x84", "\xC3\xA4", false},  // Ä and ä
      {"\xC3\x84", "\xC3\x84", true},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(equals_ascii_folded(c.a, c.b), c.equal) << "'" << c.a << "' '" << c.b << "'";
    EXPECT_EQ(equals_ascii_folded(c.b, c.a), c.equal) << "'" << c.b << "' '" << c.a << "'";
  }
}

TEST(ContainsStrTest, ByteForByteMembership) {
  const std::vector<std::string_view> views = {"Mass", "volume", ""};
  EXPECT_FALSE(contains_str("mass", views));
  EXPECT_TRUE(contains_str("Mass", views));
  EXPECT_TRUE(contains_str("volume", views));
  EXPECT_FALSE(contains_str("volume ", views));
  EXPECT_TRUE(contains_str("", views));
  EXPECT_FALSE(contains_str("", std::vector<std::string_view>{}));
  EXPECT_FALSE(contains_str("mass", std::vector<std::string_view>{}));

  const std::vector<std::string> owned = {"NIST979", "SRM3112a"};
  EXPECT_TRUE(contains_str("NIST979", owned));
  EXPECT_FALSE(contains_str("nist979", owned));
  EXPECT_FALSE(contains_str("NIST979", std::vector<std::string>{}));
}

}  // namespace
}  // namespace ovm::diagnostics
