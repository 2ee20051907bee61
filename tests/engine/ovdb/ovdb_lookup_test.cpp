#include "engine/ovdb/ovdb_lookup.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

namespace ovm::engine {
namespace {

FractionationEntry entry(const std::string& citation, double alpha = 0.9966) {
  FractionationEntry result;
  result.ratio = "53Cr/52Cr";
  result.process = "reduction";
  result.citation = citation;
  result.database_name = "crdb";
  result.alpha = alpha;
  return result;
}

FractionationQuery query() {
  FractionationQuery result;
  result.ratio = "53Cr/52Cr";
  result.process = "reduction";
  return result;
}

DatabaseSet set_of(std::vector<FractionationEntry> entries) {
  DatabaseSet set;
  set.fractionations = std::move(entries);
  return set;
}

FractionationMatch expect_match(const FractionationLookup& outcome) {
  const auto* match = std::get_if<FractionationMatch>(&outcome);
  EXPECT_NE(match, nullptr);
  return match != nullptr ? *match : FractionationMatch{};
}

TEST(OptionalNameMatchesTest, Cases) {
  struct Case {
    std::optional<std::string_view> a;
    std::optional<std::string_view> b;
    bool matches;
  };
  const Case cases[] = {
      {std::nullopt, std::nullopt, true},   {"CrO4-2", std::nullopt, true},
      {std::nullopt, "CrO4-2", true},       {"CrO4-2", "CrO4-2", true},
      {"CRO4-2", "cro4-2", true},           {"Groundwater", "groundWATER", true},
      {"CrO4-2", "CrO4-", false},           {"kinetic", "kinetics", false},
      {"\xc3\x89t\xc3\xa9", "\xc3\xa9t\xc3\xa9", false},  // non-ASCII letters are not folded
      {"a_b", "A_B", true},                 {"", "", true},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(optional_name_matches(c.a, c.b), c.matches) << c.a.value_or("-") << " " << c.b.value_or("-");
  }
}

TEST(LookupFractionationTest, RatioAndProcessCompareByteForByte) {
  DatabaseSet set = set_of({entry("A")});
  FractionationQuery q = query();
  q.ratio = "53cr/52cr";
  EXPECT_TRUE(std::holds_alternative<NoFractionationMatch>(lookup_fractionation(set, q)));
  q = query();
  q.process = "Reduction";
  EXPECT_TRUE(std::holds_alternative<NoFractionationMatch>(lookup_fractionation(set, q)));
  EXPECT_TRUE(std::holds_alternative<NoFractionationMatch>(lookup_fractionation(DatabaseSet{}, query())));
  EXPECT_EQ(expect_match(lookup_fractionation(set, query())),
            (FractionationMatch{"crdb", "A", 0.9966, std::nullopt}));
}

TEST(LookupFractionationTest, OptionalNamesMatchIgnoringAsciiCase) {
  FractionationEntry a = entry("A");
  a.reactant = "CrO4-2";
  a.context = "Groundwater";
  FractionationEntry other = entry("other");
  other.reactant = "HCrO4-";
  DatabaseSet set = set_of({a, other});
  FractionationQuery q = query();
  q.reactant = "cro4-2";
  q.context = "GROUNDWATER";
  q.regime = "kinetic";  // the entries name no regime, so any matches
  EXPECT_EQ(expect_match(lookup_fractionation(set, q)).citation, "A");
}

TEST(LookupFractionationTest, QueryWithoutANameMatchesEveryEntry) {
  FractionationEntry a = entry("A");
  a.product = "Cr+3";
  DatabaseSet set = set_of({a});
  std::vector<const FractionationEntry*> candidates = collect_fractionation_candidates(set.fractionations, query());
  ASSERT_EQ(candidates.size(), 1u);
  EXPECT_EQ(candidates[0], &set.fractionations[0]);
  FractionationQuery q = query();
  q.product = "Cr(OH)3";
  EXPECT_TRUE(collect_fractionation_candidates(set.fractionations, q).empty());
}

TEST(LookupFractionationTest, RangeFitAndSpecificity) {
  struct Case {
    std::optional<NumberRange> temperature_range;
    std::optional<NumberRange> ph_range;
    std::optional<double> temperature;
    std::optional<double> ph;
    int fit;
  };
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const Case cases[] = {
      {std::nullopt, std::nullopt, 350.0, 7.0, 1},
      {NumberRange{273.15, 323.15}, std::nullopt, std::nullopt, std::nullopt, 2},
      {NumberRange{273.15, 323.15}, std::nullopt, 300.0, std::nullopt, 2},
      {NumberRange{273.15, 323.15}, std::nullopt, 350.0, std::nullopt, 0},
      {NumberRange{273.15, 323.15}, std::nullopt, 273.15, std::nullopt, 2},  // bounds belong
      {NumberRange{273.15, 323.15}, std::nullopt, 323.15, std::nullopt, 2},
      {NumberRange{400.0, 300.0}, std::nullopt, 350.0, std::nullopt, 0},
      {NumberRange{400.0, 300.0}, std::nullopt, 400.0, std::nullopt, 0},
      {NumberRange{273.15, 323.15}, std::nullopt, nan, std::nullopt, 2},
      {std::nullopt, NumberRange{6.0, 8.0}, 1000.0, 9.0, 0},
      {std::nullopt, NumberRange{6.0, 8.0}, 1000.0, 8.0, 2},
      {NumberRange{273.15, 323.15}, NumberRange{6.0, 8.0}, 300.0, 5.0, 0},
  };
  for (const Case& c : cases) {
    FractionationEntry e = entry("e");
    e.temperature_range = c.temperature_range;
    e.ph_range = c.ph_range;
    FractionationQuery q = query();
    q.temperature = c.temperature;
    q.ph = c.ph;
    EXPECT_EQ(range_fit(e, q), c.fit) << c.temperature.value_or(-1) << " " << c.ph.value_or(-1);
  }

  FractionationEntry e = entry("e");
  EXPECT_EQ(specificity(e), 0);
  e.regime = "kinetic";
  EXPECT_EQ(specificity(e), 1);
  e.context = "c";
  EXPECT_EQ(specificity(e), 3);
  e.product = "p";
  EXPECT_EQ(specificity(e), 7);
  e.reactant = "r";
  EXPECT_EQ(specificity(e), 11);
}

TEST(LookupFractionationTest, StatedRangeBeatsNoRangeWhenTheModelStatesNoTemperature) {
  FractionationEntry plain = entry("plain");
  FractionationEntry ranged = entry("ranged", 0.998);
  ranged.temperature_range = NumberRange{273.15, 323.15};
  DatabaseSet set = set_of({plain, ranged});
  EXPECT_EQ(expect_match(lookup_fractionation(set, query())),
            (FractionationMatch{"crdb", "ranged", 0.998, std::nullopt}));
}

TEST(LookupFractionationTest, EntryOutsideItsRangeLosesToOneWithout) {
  FractionationEntry a = entry("Ellis 2002", 0.9966);
  a.temperature_range = NumberRange{273.15, 323.15};
  FractionationEntry b = entry("B", 0.998);
  FractionationQuery q = query();
  q.temperature = 350;
  EXPECT_EQ(expect_match(lookup_fractionation(set_of({a, b}), q)),
            (FractionationMatch{"crdb", "B", 0.998, std::nullopt}));
  EXPECT_EQ(expect_match(lookup_fractionation(set_of({a}), q)),
            (FractionationMatch{"crdb", "Ellis 2002", 0.9966,
                                "`Ellis 2002` was measured within 273.15 to 323.15 K and is applied outside it"}));
}

TEST(LookupFractionationTest, WarningListsEveryStatedRange) {
  FractionationEntry a = entry("Both 2010");
  a.temperature_range = NumberRange{273.15, 373};
  a.ph_range = NumberRange{6, 8.5};
  FractionationQuery q = query();
  q.temperature = 300;
  q.ph = 9;
  EXPECT_EQ(expect_match(lookup_fractionation(set_of({a}), q)).warning,
            "`Both 2010` was measured within 273.15 to 373 K, pH 6 to 8.5 and is applied outside it");
  FractionationEntry p = entry("Ph 2011");
  p.ph_range = NumberRange{0.0001, 4};
  EXPECT_EQ(expect_match(lookup_fractionation(set_of({p}), q)).warning,
            "`Ph 2011` was measured within pH 0.0001 to 4 and is applied outside it");
}

TEST(LookupFractionationTest, SpecificityDecidesAmongEqualFits) {
  FractionationEntry general = entry("general");
  general.context = "groundwater";
  general.regime = "kinetic";  // 3
  FractionationEntry specific = entry("specific", 0.9);
  specific.reactant = "CrO4-2";
  specific.product = "Cr+3";  // 8
  FractionationQuery q = query();
  EXPECT_EQ(expect_match(lookup_fractionation(set_of({general, specific}), q)).citation, "specific");

  // A better range fit wins over any specificity.
  general.temperature_range = NumberRange{273.15, 373.15};
  EXPECT_EQ(expect_match(lookup_fractionation(set_of({specific, general}), q)).citation, "general");
}

TEST(LookupFractionationTest, EqualEntriesTieEvenWithEqualAlphas) {
  FractionationEntry a = entry("Ellis 2002", 0.9966);
  FractionationEntry b = entry("Sikora 2008", 0.9966);
  FractionationEntry worse = entry("Worse 1999");
  worse.temperature_range = NumberRange{0, 1};
  FractionationQuery q = query();
  q.temperature = 298.15;
  FractionationLookup outcome = lookup_fractionation(set_of({a, worse, b}), q);
  ASSERT_TRUE(std::holds_alternative<FractionationTie>(outcome));
  EXPECT_EQ(std::get<FractionationTie>(outcome).message,
            "`reduction` on `53Cr/52Cr` matches 2 entries equally well: Ellis 2002 / Sikora 2008. "
            "The database has not decided between them");
}

TEST(LookupFractionationTest, DatabaseLoadedTwiceTies) {
  FractionationEntry a = entry("Ellis 2002");
  FractionationLookup outcome = lookup_fractionation(set_of({a, a, a}), query());
  ASSERT_TRUE(std::holds_alternative<FractionationTie>(outcome));
  EXPECT_EQ(std::get<FractionationTie>(outcome).message,
            "`reduction` on `53Cr/52Cr` matches 3 entries equally well: Ellis 2002 / Ellis 2002 / Ellis 2002. "
            "The database has not decided between them");
}

TEST(LookupFractionationTest, RetainBestFitKeepsOrder) {
  FractionationEntry a = entry("a");
  FractionationEntry b = entry("b");
  b.temperature_range = NumberRange{0, 1};
  FractionationEntry c = entry("c");
  DatabaseSet set = set_of({a, b, c});
  FractionationQuery q = query();
  q.temperature = 300;
  std::vector<const FractionationEntry*> candidates = collect_fractionation_candidates(set.fractionations, q);
  retain_best_fit(candidates, q, 1);
  ASSERT_EQ(candidates.size(), 2u);
  EXPECT_EQ(candidates[0]->citation, "a");
  EXPECT_EQ(candidates[1]->citation, "c");
}

}  // namespace
}  // namespace ovm::engine
