#include "sema/block_table.hpp"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ovm::sema {
namespace {

using std::nullopt;

// One row of the block-kind table, written out from the language's own table.
struct KindRow {
  std::string_view keyword;
  Profile profile;
  bool takes_identifier;
  std::optional<std::string_view> declares;
  std::optional<std::string_view> names;
  std::optional<std::string_view> discriminator;
  bool repeatable;
  std::string_view flags;  // the body flags set, in field order, joined by spaces
  bool implemented;
  std::optional<std::string_view> expands_to;
  std::size_t keys;
};

constexpr Profile C = Profile::Core;
constexpr Profile I = Profile::Identification;
constexpr Profile E = Profile::Extended;

const std::vector<KindRow> expected_kinds = {
    {"TITLE", C, false, nullopt, nullopt, nullopt, false, "content_line", true, nullopt, 0},
    {"META", C, false, nullopt, nullopt, nullopt, false, "", true, nullopt, 7},
    {"DATABASE", C, false, nullopt, nullopt, nullopt, false, "", true, nullopt, 1},
    {"UNITS", C, false, nullopt, nullopt, nullopt, false, "", true, nullopt, 7},
    {"PARAMETERS", C, false, nullopt, nullopt, nullopt, false, "expressions_only", true, nullopt, 0},
    {"SPECIES", C, false, nullopt, nullopt, nullopt, false, "", true, nullopt, 1},
    {"ISOTOPES", C, false, nullopt, nullopt, nullopt, false, "", true, nullopt, 2},
    {"RESERVOIR", C, true, "Reservoir", nullopt, nullopt, true, "species_lines delta_lines local_parameters", true,
     nullopt, 3},
    {"PROCESS", C, true, "Process", nullopt, "type", true, "local_parameters", true, nullopt, 14},
    {"FRACTIONATION", C, true, nullopt, "Process", nullopt, true, "", true, nullopt, 6},
    {"KINETICS", C, true, nullopt, "Process", "rate", true, "", true, nullopt, 3},
    {"MODEL", C, true, "Model", nullopt, nullopt, false, "", true, nullopt, 5},
    {"OUTPUT", C, false, nullopt, nullopt, nullopt, false, "", true, nullopt, 2},
    {"EXPORT", C, false, nullopt, nullopt, nullopt, true, "", true, nullopt, 2},
    {"STANDARD", C, false, nullopt, nullopt, nullopt, false, "", true, nullopt, 1},
    {"CONDITIONS", C, false, nullopt, nullopt, nullopt, false, "species_lines local_parameters", true, nullopt, 5},
    {"LAW", E, true, "Law", nullopt, nullopt, true, "law_body", true, nullopt, 0},
    {"PHREEQC", E, true, "Backend", nullopt, nullopt, true, "", true, nullopt, 4},
    {"RAYLEIGH", E, true, nullopt, nullopt, nullopt, true, "", true, "PROCESS", 7},
    {"ADSORPTION", E, true, nullopt, nullopt, nullopt, true, "", true, "PROCESS", 7},
    {"EXCHANGE", E, true, nullopt, nullopt, nullopt, true, "", true, "PROCESS", 7},
    {"SAMPLE", I, true, "Sample", nullopt, nullopt, true, "delta_lines", true, nullopt, 5},
    {"IDENTIFY", I, true, "Identification", nullopt, nullopt, true, "", true, nullopt, 10},
    {"SOLUTION", E, true, nullopt, nullopt, nullopt, true, "", false, nullopt, 0},
    {"INITIAL", E, false, nullopt, nullopt, nullopt, false, "", false, nullopt, 0},
    {"DATASET", E, true, "Dataset", nullopt, nullopt, true, "", false, nullopt, 0},
    {"FIT", E, false, nullopt, nullopt, nullopt, false, "", false, nullopt, 0},
    {"MONTE_CARLO", E, false, nullopt, nullopt, nullopt, false, "", false, nullopt, 0},
    {"SENSITIVITY", E, false, nullopt, nullopt, nullopt, false, "", false, nullopt, 0},
    {"PLOT", E, false, nullopt, nullopt, nullopt, true, "", false, nullopt, 0},
    {"REPORT", E, false, nullopt, nullopt, nullopt, false, "", false, nullopt, 0},
};

std::string body_flags(const BlockSpec& kind) {
  std::string flags;
  auto add = [&flags](bool set, std::string_view name) {
    if (!set) return;
    if (!flags.empty()) flags += ' ';
    flags += name;
  };
  add(kind.content_line, "content_line");
  add(kind.expressions_only, "expressions_only");
  add(kind.law_body, "law_body");
  add(kind.species_lines, "species_lines");
  add(kind.delta_lines, "delta_lines");
  add(kind.local_parameters, "local_parameters");
  return flags;
}

TEST(BlockTableTest, EveryKindInTableOrder) {
  ASSERT_EQ(block_table.size(), expected_kinds.size());
  for (std::size_t i = 0; i < expected_kinds.size(); ++i) {
    const KindRow& row = expected_kinds[i];
    const BlockSpec& kind = block_table[i];
    SCOPED_TRACE(row.keyword);
    EXPECT_EQ(kind.name, row.keyword);
    EXPECT_EQ(kind.profile, row.profile);
    EXPECT_EQ(kind.takes_identifier, row.takes_identifier);
    EXPECT_EQ(kind.declares, row.declares);
    EXPECT_EQ(kind.names, row.names);
    EXPECT_EQ(kind.discriminator, row.discriminator);
    EXPECT_EQ(kind.repeatable, row.repeatable);
    EXPECT_EQ(body_flags(kind), row.flags);
    EXPECT_EQ(kind.implemented, row.implemented);
    EXPECT_EQ(kind.expands_to, row.expands_to);
    EXPECT_EQ(kind.properties.size(), row.keys);
  }
}

TEST(BlockTableTest, ProfilesCount16Core2Identification13Extended) {
  std::size_t counts[3] = {0, 0, 0};
  std::size_t reserved = 0;
  for (const BlockSpec& kind : block_table) {
    ++counts[static_cast<int>(kind.profile)];
    if (!kind.implemented) ++reserved;
  }
  EXPECT_EQ(counts[0], 16u);
  EXPECT_EQ(counts[1], 2u);
  EXPECT_EQ(counts[2], 13u);
  EXPECT_EQ(reserved, 8u);
}

TEST(BlockTableTest, Descriptions) {
  const std::vector<std::pair<std::string_view, std::string_view>> descriptions = {
      {"TITLE", "Human readable model title. One content line, no statements."},
      {"META", "Descriptive metadata. No effect on execution, recommended for reproducibility."},
      {"DATABASE", "OVDB files loaded before resolution, in order. Later entries override earlier ones."},
      {"UNITS", "Default units applied where a statement omits one."},
      {"PARAMETERS", "Global scalars and expressions. Every statement is an expression statement."},
      {"SPECIES", "Chemical species not supplied by OVDB."},
      {"ISOTOPES", "Isotope systems the model tracks. Compositions belong to RESERVOIR, not here."},
      {"RESERVOIR", "Physical compartment. Species concentrations and isotopic compositions."},
      {"PROCESS", "Central object. `type` discriminates which properties are required."},
      {"FRACTIONATION", "Fractionation attached to a process. The identifier always names a Process."},
      {"KINETICS", "Rate law attached to a process. Its presence is what makes the process kinetic."},
      {"MODEL", "Simulation boundaries, process ordering and stopping condition."},
      {"OUTPUT", "State variables recorded during the run."},
      {"EXPORT", "Result serialisation. May repeat, once per output format."},
      {"STANDARD", "Reference standards overriding OVDB for this model."},
      {"CONDITIONS", "Model wide temperature, pressure and pH."},
      {"LAW", "Reusable fractionation or rate law, referenced by name from several processes."},
      {"PHREEQC", "PHREEQC interoperation. The referenced file stays valid standalone PHREEQC input."},
      {"RAYLEIGH", "Shorthand for open system Rayleigh distillation."},
      {"ADSORPTION", "Shorthand for PROCESS with type adsorption plus its FRACTIONATION."},
      {"EXCHANGE", "Shorthand for PROCESS with type exchange plus its FRACTIONATION."},
      {"SAMPLE", "A measured composition, taken as the source or the product of an identification."},
      {"IDENTIFY", "Searches for the process or chain of processes that explains the gap between two samples."},
  };
  for (std::size_t i = 0; i < block_table.size(); ++i) {
    SCOPED_TRACE(block_table[i].name);
    if (i < descriptions.size()) {
      EXPECT_EQ(block_table[i].name, descriptions[i].first);
      EXPECT_EQ(block_table[i].description, descriptions[i].second);
    } else {
      EXPECT_EQ(block_table[i].description, "");  // the reserved kinds
    }
  }
}

TEST(HeaderLookupTest, MatchesUnderAsciiCaseFolding) {
  struct Case {
    std::string_view word;
    std::optional<std::string_view> kind;
  };
  const std::vector<Case> cases = {
      {"META", "META"},
      {"meta", "META"},
      {"Meta", "META"},
      {"title", "TITLE"},
      {"monte_carlo", "MONTE_CARLO"},
      {"Phreeqc", "PHREEQC"},
      {"TITLES", nullopt},     // the lengths differ
      {"TITL", nullopt},
      {" TITLE", nullopt},     // nothing is trimmed
      {"MONTE-CARLO", nullopt},
      {"", nullopt},
      {"VOLUME", nullopt},     // a statement key, not a kind
      {"FRACTIONATIONS", nullopt},
      {"SENSITIVITY_ANALYSIS", nullopt},  // longer than every keyword
      // Only ASCII letters fold: a dotted capital I or an accented letter is no letter of a keyword.
      {"T\xC4\xB0TLE", nullopt},
      {"M\xC3\x89TA", nullopt},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.word);
    const BlockSpec* kind = find_block_spec(c.word);
    ASSERT_EQ(kind != nullptr, c.kind.has_value());
    if (kind) {
      EXPECT_EQ(kind->name, *c.kind);
    }
  }
}

TEST(HeaderLookupTest, ReturnsTheTableRecord) {
  for (const BlockSpec& kind : block_table) EXPECT_EQ(find_block_spec(kind.name), &kind);
}

}  // namespace
}  // namespace ovm::sema
