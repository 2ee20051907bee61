#include "sema/variant_table.hpp"

#include <gtest/gtest.h>

#include <optional>
#include <string_view>
#include <vector>

namespace ovm::sema {
namespace {

struct VariantRow {
  std::string_view name;
  std::vector<std::string_view> required;
  std::optional<std::uint32_t> min_sources;
  bool counts_sources;
};

void expect_table(std::span<const VariantSpec> table, const std::vector<VariantRow>& rows) {
  ASSERT_EQ(table.size(), rows.size());
  for (std::size_t i = 0; i < rows.size(); ++i) {
    SCOPED_TRACE(rows[i].name);
    EXPECT_EQ(table[i].name, rows[i].name);
    EXPECT_EQ(std::vector<std::string_view>(table[i].required.begin(), table[i].required.end()), rows[i].required);
    EXPECT_EQ(table[i].min_sources, rows[i].min_sources);
    EXPECT_EQ(table[i].counts_sources, rows[i].counts_sources);
  }
}

TEST(VariantTableTest, ProcessTypesInLookupOrder) {
  expect_table(process_type_table, {
                                       {"reduction", {"reactant", "product"}, std::nullopt, false},
                                       {"oxidation", {"reactant", "product"}, std::nullopt, false},
                                       {"dissolution", {"reactant", "product"}, std::nullopt, false},
                                       {"precipitation", {"reactant", "product"}, std::nullopt, false},
                                       {"mixing", {"source", "product"}, 2, true},
                                       {"adsorption", {"reactant", "sorbent"}, std::nullopt, false},
                                       {"ligand_exchange", {"reactant", "product"}, std::nullopt, false},
                                       {"uptake", {"reactant", "sorbent"}, std::nullopt, false},
                                       {"exchange", {"phase_a", "phase_b"}, std::nullopt, false},
                                       {"evaporation", {"reactant", "product"}, std::nullopt, false},
                                       {"diffusion", {"reactant", "product"}, std::nullopt, false},
                                   });
}

TEST(VariantTableTest, RateLaws) {
  expect_table(rate_law_table, {
                                   {"zero_order", {"constant"}, std::nullopt, false},
                                   {"first_order", {"constant"}, std::nullopt, false},
                                   {"second_order", {"constant"}, std::nullopt, false},
                                   {"monod", {"constant", "half_saturation"}, std::nullopt, false},
                               });
}

TEST(VariantLookupTest, ProcessTypesMatchByteForByte) {
  struct Case {
    std::string_view text;
    const VariantSpec* found;
  };
  const std::vector<Case> cases = {
      {"mixing", &process_type_table[4]},
      {"diffusion", &process_type_table[10]},
      {"reduction", &process_type_table[0]},
      {"Mixing", nullptr},
      {"MIXING", nullptr},
      {"mixing ", nullptr},
      {" mixing", nullptr},
      {"mix", nullptr},
      {"", nullptr},
      {"monod", nullptr},  // a rate law is no process type
  };
  for (const Case& c : cases) EXPECT_EQ(process_type_spec(c.text), c.found) << "'" << c.text << "'";
}

TEST(VariantLookupTest, RateLawsMatchByteForByte) {
  const VariantSpec* monod = rate_law_spec("monod");
  ASSERT_NE(monod, nullptr);
  EXPECT_EQ(monod, &rate_law_table[3]);
  ASSERT_EQ(monod->required.size(), 2u);
  EXPECT_EQ(monod->required[0], "constant");
  EXPECT_EQ(monod->required[1], "half_saturation");
  EXPECT_EQ(rate_law_spec("first_order"), &rate_law_table[1]);
  for (std::string_view text : {"reduction", "Monod", "monod ", "", "first order"}) {
    EXPECT_EQ(rate_law_spec(text), nullptr) << "'" << text << "'";
  }
}

}  // namespace
}  // namespace ovm::sema
