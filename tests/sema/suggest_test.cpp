#include "sema/suggest.hpp"

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "sema/block_table.hpp"
#include "sema/edit_distance.hpp"

namespace ovm::sema {
namespace {

using Names = std::vector<std::string_view>;

TEST(EditDistanceTest, DistancesAndCutOffs) {
  struct Case {
    std::string_view a;
    std::string_view b;
    std::uint32_t limit;
    std::uint32_t expected;
  };
  const std::vector<Case> cases = {
      {"abc", "abc", 2, 0},
      {"flaw", "lawn", 2, 2},
      {"abcdef", "uvwxyz", 2, 3},  // the third row's least count is 3: cut off, not the full 6
      {"a", "abcd", 2, 3},         // the lengths alone rule it out
      {"aba", "baab", 1, 3},       // no row's least count exceeds 1: the full distance
      {"", "ab", 2, 2},
      {"ab", "", 2, 2},
      {"", "", 0, 0},
      {"kitten", "sitting", 3, 3},
      {"kitten", "sitting", 2, 3},
      {"\xC3\xA9t\xC3\xA9", "ete", 2, 2},  // été: two scalars differ, not four bytes
      {"\xC3\xA9", "e", 0, 1},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(edit_distance(c.a, c.b, c.limit), c.expected) << c.a << " / " << c.b << " limit " << c.limit;
  }
}

TEST(EditDistanceTest, CountsScalarsNotBytes) {
  // Two-byte letters against one-byte ones: a length gap of 3 bytes but 0 scalars.
  EXPECT_EQ(edit_distance("\xC3\xA4\xC3\xB6\xC3\xBC", "aou", 2), 3u);
  EXPECT_EQ(edit_distance("\xC3\xA4\xC3\xB6\xC3\xBC", "\xC3\xA4ou", 2), 2u);
}

TEST(UnknownNameHelpTest, HelpForms) {
  struct Case {
    std::string_view word;
    Names candidates;
    std::string expected;
  };
  const std::vector<Case> cases = {
      {"RESEVOIR", Names(block_keywords.begin(), block_keywords.end()), "did you mean `RESERVOIR`?"},
      {"abc", {"abd", "abe"}, "did you mean `abd`?"},         // a tie keeps the earlier candidate
      {"abc", {"xyz", "abe", "abc"}, "did you mean `abc`?"},  // a strictly closer one replaces it
      {"abcd", {"ab"}, "did you mean `ab`?"},                 // exactly two edits
      {"abcde", {"ab"}, "known: ab"},                         // three edits
      {"zzz", {"alpha", "Beta"}, "known: Beta, alpha"},
      {"zzz", {"b", "a", "B", "ab", "a_", "A"}, "known: A, B, a, a_, ab, b"},
      {"ocean", {"Ocean", "Basin"}, "did you mean `Ocean`?"},
      {"\xC3\x89T\xC3\x89", {"\xC3\xA9t\xC3\xA9"}, "did you mean `\xC3\xA9t\xC3\xA9`?"},  // ÉTÉ and été
      {"x", {}, "nothing of that kind is declared"},
      {"", {}, "nothing of that kind is declared"},
      {"", {"ab", "abc"}, "did you mean `ab`?"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(unknown_name_help(c.word, c.candidates), c.expected) << c.word;
  }
}

TEST(UnknownNameHelpTest, CaseIsFoldedBeforeCounting) {
  // Distance 0 after lower-casing, though every letter differs as written.
  EXPECT_EQ(unknown_name_help("VOLUME", Names{"mass", "volume"}), "did you mean `volume`?");
  // Greek capitals fold too, and a closer candidate wins whatever its case.
  EXPECT_EQ(unknown_name_help("\xCE\x9F\xCE\x94\xCE\x9F\xCE\xA3", Names{"x", "\xCE\xBF\xCE\xB4\xCE\xBF\xCF\x82"}),
            "did you mean `\xCE\xBF\xCE\xB4\xCE\xBF\xCF\x82`?");  // ΟΔΟΣ and οδος
}

TEST(UnknownNameHelpTest, UnknownHeaderListsEveryKeywordInByteOrder) {
  EXPECT_EQ(unknown_name_help("Volcano", Names(block_keywords.begin(), block_keywords.end())),
            "known: ADSORPTION, CONDITIONS, DATABASE, DATASET, EXCHANGE, EXPORT, FIT, FRACTIONATION, IDENTIFY, "
            "INITIAL, ISOTOPES, KINETICS, LAW, META, MODEL, MONTE_CARLO, OUTPUT, PARAMETERS, PHREEQC, PLOT, "
            "PROCESS, RAYLEIGH, REPORT, RESERVOIR, SAMPLE, SENSITIVITY, SOLUTION, SPECIES, STANDARD, TITLE, UNITS");
}

TEST(KnownNamesHelpTest, ListsEveryCandidateWhateverTheWord) {
  EXPECT_EQ(known_names_help(Names{"sqrt", "abs", "Zeta"}), "known: Zeta, abs, sqrt");
}

}  // namespace
}  // namespace ovm::sema
