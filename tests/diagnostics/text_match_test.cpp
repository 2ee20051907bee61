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

// Texts are compared a word at a time where they are long enough: one byte changed at any place
// of a text of any size, inside or across the words, makes it differ; a letter changed in case
// does not.
TEST(AsciiFoldingTest, EveryPlaceOfEverySizeCounts) {
  for (std::size_t size = 1; size <= 20; ++size) {
    const std::string base = std::string("abcdefghijklmnopqrstuvwxyz").substr(0, size);
    for (std::size_t at = 0; at < size; ++at) {
      SCOPED_TRACE(base + " at " + std::to_string(at));
      std::string other = base;
      other[at] = '_';
      EXPECT_FALSE(equals_ascii_folded(base, other));
      EXPECT_FALSE(equals_ascii_folded(other, base));
      other[at] = static_cast<char>(base[at] - 'a' + 'A');
      EXPECT_TRUE(equals_ascii_folded(base, other));
      EXPECT_TRUE(equals_ascii_folded(other, base));
    }
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
