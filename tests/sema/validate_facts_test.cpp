#include "sema/validate_facts.hpp"

#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "syntax/parser.hpp"

namespace ovm::sema {
namespace {

ValidationContext facts_of(std::string_view model) {
  syntax::ParseOutput tree = syntax::parse_source(model, 0);
  EXPECT_TRUE(tree.diagnostics.empty()) << model;
  return gather_model_facts(tree, resolve_model(tree, Profile::Extended));
}

// A declared ratio as "53Cr/52Cr standard NIST979", or without " standard ..." when it has none.
std::vector<std::string> ratio_texts(const ValidationContext& context) {
  std::vector<std::string> texts;
  for (const DeclaredRatio& declared : context.ratios) {
    const IsotopeRatio& r = declared.ratio;
    std::string text = std::to_string(r.numerator) + r.element + "/" + std::to_string(r.denominator) + r.element;
    if (declared.standard) text += " standard " + *declared.standard;
    texts.push_back(text);
  }
  return texts;
}

using Defaults = std::map<std::string, std::string, std::less<>>;

TEST(ModelFactsTest, AModelWithoutDeclarationsGivesAnEmptyContext) {
  ValidationContext context = facts_of("RESERVOIR Ocean\n    volume 1 L\n    Cr(VI) 1 umol/kgw\n");
  EXPECT_TRUE(context.ratios.empty());
  EXPECT_TRUE(context.standards.empty());
  EXPECT_TRUE(context.unit_defaults.empty());
  EXPECT_FALSE(context.relative_mode);
  EXPECT_FALSE(context.has_database);
  EXPECT_TRUE(context.diagnostics.empty());
}

TEST(ModelFactsTest, RatiosKeepTheirOrderAndOnlyTheFirstStandardWord) {
  ValidationContext context = facts_of(
      "ISOTOPES\n"
      "    ratio 53Cr/52Cr standard NIST979\n"
      "    ratio 53Cr/50Cr standard\n"
      "    ratio 18O/16O\n"
      "    ratio 53Cr/52Fe standard X\n"
      "    ratio 7Li/6Li standard \"L-SVEC\"\n"
      "    ratio 65Cu/63Cu standard 5 standard NIST976\n"
      "    ratio 66Zn/64Zn standard Zn(II)\n"
      "    Ratio 87Sr/86Sr standard SRM987\n"
      "    mode 53Cr/52Cr\n");
  EXPECT_EQ(ratio_texts(context), (std::vector<std::string>{
                                      "53Cr/52Cr standard NIST979",
                                      "53Cr/50Cr",
                                      "18O/16O",
                                      "7Li/6Li",
                                      "65Cu/63Cu",
                                      "66Zn/64Zn standard Zn(II)",
                                      "87Sr/86Sr standard SRM987",
                                  }));
}

TEST(ModelFactsTest, StandardsAreTheFirstNamesOfStandardStatements) {
  ValidationContext context = facts_of(
      "STANDARD\n"
      "    standard A 0.1 ratio 53Cr/52Cr\n"
      "    standard \"quoted\" 0.2 ratio 53Cr/52Cr\n"
      "    STANDARD B 0.3 ratio 53Cr/52Cr\n"
      "    standard\n"
      "    standard 5 ratio 53Cr/52Cr\n");
  EXPECT_EQ(context.standards, (std::vector<std::string_view>{"A", "B"}));
}

TEST(ModelFactsTest, UnitDefaultsTakeTheLastUnitOfAnAdmittedDimension) {
  ValidationContext context = facts_of(
      "UNITS\n"
      "    temperature C\n"
      "    concentration mg/L\n"
      "    time h\n"
      "    TIME d\n"
      "    volume kg\n"
      "    mass stone\n"
      "    pressure 2 atm\n"
      "    delta\n");
  EXPECT_EQ(context.unit_defaults, (Defaults{
                                       {"temperature", "C"},
                                       {"mass_concentration", "mg/L"},
                                       {"time", "d"},
                                       {"pressure", "atm"},
                                   }));
}

TEST(ModelFactsTest, RelativeModeCountsWhereverTheIsotopesBlockStands) {
  ValidationContext context = facts_of(
      "RESERVOIR Ocean\n    volume 1 L\n\nISOTOPES\n    ratio 53Cr/52Cr\n    mode relative\n");
  EXPECT_TRUE(context.relative_mode);
}

TEST(ModelFactsTest, RelativeModeNeedsTheExactValue) {
  EXPECT_FALSE(facts_of("ISOTOPES\n    mode Relative\n").relative_mode);
  EXPECT_FALSE(facts_of("ISOTOPES\n    mode = relative\n").relative_mode);
  EXPECT_FALSE(facts_of("META\n    mode relative\n").relative_mode);
  // Keys are read under case folding, values exactly.
  EXPECT_TRUE(facts_of("ISOTOPES\n    MODE relative\n").relative_mode);
  EXPECT_TRUE(facts_of("isotopes\n    mode absolute relative\n").relative_mode);
}

TEST(ModelFactsTest, AnyDatabaseBlockCounts) {
  EXPECT_TRUE(facts_of("database\n    file \"cr.ovdb\"\n").has_database);
  EXPECT_FALSE(facts_of("DATABASES\n    file \"cr.ovdb\"\n").has_database);
}

// The tree and its resolution, which the context points into, with the context.
struct ModelFacts {
  explicit ModelFacts(std::string_view model)
      : tree(syntax::parse_source(model, 0)),
        resolution(resolve_model(tree, Profile::Extended)),
        context(gather_model_facts(tree, resolution)) {}

  syntax::ParseOutput tree;
  Resolution resolution;
  ValidationContext context;
};

TEST(ModelFactsTest, ScalarNamesAreParametersAndBackendValues) {
  ModelFacts facts(
      "RESERVOIR Ocean\n"
      "    volume 1 L\n"
      "    parameter local = 1\n"
      "\n"
      "PARAMETERS\n"
      "    k_base = 0.1\n"
      "    k_fast = 2 * k_base\n"
      "\n"
      "PHREEQC Speciation\n"
      "    input file \"run.pqi\"\n"
      "    export \"SI\" to SI_calcite\n");
  for (std::string_view name : {"k_base", "k_fast", "SI_calcite"}) EXPECT_TRUE(is_scalar_name(facts.context, name)) << name;
  // Entities, block-local parameters and names never declared are no scalars.
  for (std::string_view name : {"Ocean", "Speciation", "local", "k", "volume"}) {
    EXPECT_FALSE(is_scalar_name(facts.context, name)) << name;
  }
}

}  // namespace
}  // namespace ovm::sema
