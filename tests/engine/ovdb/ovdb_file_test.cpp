#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <string>

#include "engine/ovdb/ovdb_parse.hpp"
#include "engine/ovdb/ovdb_read.hpp"
#include "engine_test_support.hpp"

namespace ovm::engine {
namespace {

namespace fs = std::filesystem;

// Reads one database text from a file and returns the set, failing the test on an error.
DatabaseSet read_text(const std::string& text) {
  testing::TempDir dir;
  fs::path file = dir.write("x.ovdb", text);
  DatabaseSet set;
  std::optional<EngineError> error = read_database_path(set, file);
  EXPECT_FALSE(error.has_value()) << (error ? error->message : "");
  return set;
}

TEST(DatabaseFileTest, FileWithoutDatabaseTableIsUnnamed) {
  DatabaseSet set = read_text(
      "[[standard]]\ncitation = \"Smith 2001\"\nname = \"SRM 979\"\nratio = \"53Cr/52Cr\"\n"
      "value = 0.113459\nuncertainty = 0.00001\n");
  ASSERT_EQ(set.standards.size(), 1u);
  EXPECT_EQ(set.standards[0].name, "SRM 979");
  EXPECT_EQ(set.standards[0].ratio, "53Cr/52Cr");
  EXPECT_EQ(set.standards[0].value, 0.113459);
  EXPECT_EQ(set.standards[0].uncertainty, 0.00001);
  EXPECT_EQ(set.standards[0].source, "Smith 2001 (unnamed)");
}

TEST(DatabaseFileTest, DatabaseNameRules) {
  struct Case {
    const char* header;
    const char* name;
  };
  const Case cases[] = {
      {"[database]\nname = \"crdb\"\n", "crdb"},
      {"[database]\nname = \"\"\n", ""},
      {"[database]\nname = 7\n", "unnamed"},
      {"[database]\ntitle = \"crdb\"\n", "unnamed"},
      {"database = \"crdb\"\n", "unnamed"},
      {"", "unnamed"},
  };
  for (const Case& c : cases) {
    DatabaseSet set = read_text(std::string(c.header) +
                                "[[fractionation]]\ncitation = \"Ellis 2002\"\nalpha = 0.9966\n"
                                "ratio = \"53Cr/52Cr\"\nprocess = \"reduction\"\n");
    ASSERT_EQ(set.fractionations.size(), 1u) << c.header;
    EXPECT_EQ(set.fractionations[0].database_name, c.name) << c.header;
  }
}

TEST(DatabaseFileTest, VersionTexts) {
  struct Case {
    const char* value;  // as written in TOML
    bool accepted;
  };
  const Case cases[] = {
      {"\"1\"", true},   {"\"1.0\"", true},  {"\"1.x\"", true}, {"\"1.7.3\"", true},
      {"1", true},       {"2.5", true},      {"true", true},  // not a string: never tested
      {"\"2.0\"", false}, {"\"10.1\"", false}, {"\"01\"", false}, {"\"\"", false}, {"\".1\"", false},
  };
  for (const Case& c : cases) {
    testing::TempDir dir;
    fs::path file = dir.write("db/x.ovdb", std::string("[database]\novdb_version = ") + c.value +
                                               "\n[[standard]]\ncitation = \"c\"\nname = \"n\"\n"
                                               "ratio = \"53Cr/52Cr\"\nvalue = 1\n");
    DatabaseSet set;
    std::optional<EngineError> error = read_database_path(set, file);
    EXPECT_EQ(error.has_value(), !c.accepted) << c.value;
    EXPECT_EQ(set.standards.size(), c.accepted ? 1u : 0u) << c.value;
  }
}

TEST(DatabaseFileTest, UnsupportedVersionMessage) {
  testing::TempDir dir;
  fs::path file = dir.write("db/x.ovdb", "[database]\nname = \"x\"\novdb_version = \"2.0\"\n");
  DatabaseSet set;
  std::optional<EngineError> error = read_database_path(set, file);
  ASSERT_TRUE(error.has_value());
  EXPECT_EQ(error->code, "OV105");
  EXPECT_EQ(error->message, file.string() + ": OVDB format 2.0, expected 1.x");
}

TEST(DatabaseFileTest, VersionSupportedIsThePartBeforeTheFirstDot) {
  EXPECT_TRUE(database_version_supported("1"));
  EXPECT_TRUE(database_version_supported("1."));
  EXPECT_FALSE(database_version_supported("1 .0"));
  EXPECT_FALSE(database_version_supported(" 1"));
}

TEST(DatabaseFileTest, StandardsKeepFileOrderAndSkipBrokenEntries) {
  DatabaseSet set = read_text(
      "[database]\nname = \"db\"\n"
      "[[standard]]\ncitation = \"A\"\nname = \"one\"\nratio = \"53Cr/52Cr\"\nvalue = 1\n"
      "[[standard]]\ncitation = \"B\"\nratio = \"53Cr/52Cr\"\nvalue = 2.0\n"  // no name
      "[[standard]]\ncitation = \"C\"\nname = \"three\"\nratio = \"53Cr/52Cr\"\nvalue = \"3\"\n"
      "[[standard]]\nname = \"four\"\nratio = \"53Cr/52Cr\"\nvalue = 4.0\n"  // no citation
      "[[standard]]\ncitation = \"E\"\nname = \"five\"\nratio = 5\nvalue = 5.0\n"
      "[[standard]]\ncitation = \"F\"\nname = \"six\"\nratio = \"65Cu/63Cu\"\nvalue = 0.4456\n"
      "uncertainty = \"0.1\"\nextra = true\n");
  ASSERT_EQ(set.standards.size(), 2u);
  EXPECT_EQ(set.standards[0].name, "one");
  EXPECT_EQ(set.standards[0].value, 1.0);  // the integer 1
  EXPECT_EQ(set.standards[0].uncertainty, std::nullopt);
  EXPECT_EQ(set.standards[0].source, "A (db)");
  EXPECT_EQ(set.standards[1].name, "six");
  EXPECT_EQ(set.standards[1].uncertainty, std::nullopt);  // not a number
  EXPECT_EQ(set.standards[1].source, "F (db)");
}

TEST(DatabaseFileTest, FactorFromAlphaEpsilonOrLn1000Alpha) {
  struct Case {
    const char* keys;
    std::optional<double> alpha;  // absent: the entry is skipped
  };
  const Case cases[] = {
      {"alpha = 0.9966\nepsilon = 3.0\n", 0.9966},
      {"alpha = 1\n", 1.0},
      {"alpha = \"1.002\"\nepsilon = 3.0\n", 3.0 / 1000 + 1},
      {"epsilon = -3\n", -3.0 / 1000 + 1},
      {"ln1000alpha = 2.0\n", std::exp(0.002)},
      {"epsilon = true\nln1000alpha = 2.0\n", std::exp(0.002)},
      {"alpha = \"1.002\"\n", std::nullopt},
      {"", std::nullopt},
  };
  for (const Case& c : cases) {
    DatabaseSet set = read_text(std::string("[[fractionation]]\ncitation = \"c\"\nratio = \"53Cr/52Cr\"\n"
                                            "process = \"reduction\"\n") +
                                c.keys);
    if (!c.alpha) {
      EXPECT_TRUE(set.fractionations.empty()) << c.keys;
      continue;
    }
    ASSERT_EQ(set.fractionations.size(), 1u) << c.keys;
    EXPECT_EQ(set.fractionations[0].alpha, *c.alpha) << c.keys;
  }
}

TEST(DatabaseFileTest, FractionationRequiredAndOptionalKeys) {
  DatabaseSet set = read_text(
      "[database]\nname = \"crdb\"\n"
      "[[fractionation]]\ncitation = \"full\"\nalpha = 0.9966\nratio = \"53Cr/52Cr\"\nprocess = \"reduction\"\n"
      "reactant = \"CrO4-2\"\nproduct = \"Cr+3\"\nregime = \"kinetic\"\ncontext = \"groundwater\"\n"
      "temperature_range = [273.15, 323.15]\nph_range = [6, 8.5]\n"
      "[[fractionation]]\nalpha = 1.0\nratio = \"53Cr/52Cr\"\nprocess = \"reduction\"\n"  // no citation
      "[[fractionation]]\ncitation = \"no process\"\nalpha = 1.0\nratio = \"53Cr/52Cr\"\n"
      "[[fractionation]]\ncitation = \"no ratio\"\nalpha = 1.0\nprocess = \"reduction\"\n"
      "[[fractionation]]\ncitation = \"bare\"\nalpha = 1.001\nratio = \"53Cr/52Cr\"\nprocess = \"uptake\"\n"
      "reactant = 1\nproduct = false\nregime = [\"kinetic\"]\ncontext = 2.0\n");
  ASSERT_EQ(set.fractionations.size(), 2u);
  const FractionationEntry& full = set.fractionations[0];
  EXPECT_EQ(full.citation, "full");
  EXPECT_EQ(full.database_name, "crdb");
  EXPECT_EQ(full.ratio, "53Cr/52Cr");
  EXPECT_EQ(full.process, "reduction");
  EXPECT_EQ(full.reactant, "CrO4-2");
  EXPECT_EQ(full.product, "Cr+3");
  EXPECT_EQ(full.regime, "kinetic");
  EXPECT_EQ(full.context, "groundwater");
  EXPECT_EQ(full.temperature_range, (NumberRange{273.15, 323.15}));
  EXPECT_EQ(full.ph_range, (NumberRange{6.0, 8.5}));
  const FractionationEntry& bare = set.fractionations[1];
  EXPECT_EQ(bare.citation, "bare");
  EXPECT_EQ(bare.reactant, std::nullopt);
  EXPECT_EQ(bare.product, std::nullopt);
  EXPECT_EQ(bare.regime, std::nullopt);
  EXPECT_EQ(bare.context, std::nullopt);
  EXPECT_EQ(bare.temperature_range, std::nullopt);
}

TEST(DatabaseFileTest, Ranges) {
  struct Case {
    const char* value;
    std::optional<NumberRange> range;
  };
  const Case cases[] = {
      {"[300]", std::nullopt},
      {"[300, \"310\"]", std::nullopt},
      {"[\"290\", 310]", std::nullopt},
      {"[]", std::nullopt},
      {"300", std::nullopt},
      {"\"273.15 to 373.15\"", std::nullopt},
      {"[273.15, 373.15, 0]", NumberRange{273.15, 373.15}},
      {"[273.15, 373.15, \"x\"]", NumberRange{273.15, 373.15}},
      {"[400, 300]", NumberRange{400.0, 300.0}},  // kept as written
      {"[280, 300.5]", NumberRange{280.0, 300.5}},
  };
  for (const Case& c : cases) {
    DatabaseSet set = read_text(std::string("[[fractionation]]\ncitation = \"c\"\nalpha = 1.0\n"
                                            "ratio = \"53Cr/52Cr\"\nprocess = \"reduction\"\n"
                                            "temperature_range = ") +
                                c.value + "\nph_range = " + c.value + "\n");
    ASSERT_EQ(set.fractionations.size(), 1u) << c.value;
    EXPECT_EQ(set.fractionations[0].temperature_range, c.range) << c.value;
    EXPECT_EQ(set.fractionations[0].ph_range, c.range) << c.value;
  }
}

TEST(DatabaseFileTest, NonArrayTablesAndNonTableElementsAreIgnored) {
  DatabaseSet set = read_text(
      "standard = \"none\"\n"
      "fractionation = [1, \"two\", {citation = \"inline\", alpha = 1.0, ratio = \"53Cr/52Cr\", "
      "process = \"reduction\"}]\n");
  EXPECT_TRUE(set.standards.empty());
  ASSERT_EQ(set.fractionations.size(), 1u);
  EXPECT_EQ(set.fractionations[0].citation, "inline");
}

TEST(DatabaseFileTest, FileErrors) {
  testing::TempDir dir;
  fs::path bad_toml = dir.write("bad.ovdb", "[database\nname = \"x\"\n");
  fs::path not_utf8 = dir.write("latin.ovdb", "[database]\nname = \"caf\xe9\"\n");
  fs::path missing = dir.path() / "missing.ovdb";

  DatabaseSet set;
  std::optional<EngineError> error = read_database_path(set, not_utf8);
  ASSERT_TRUE(error.has_value());
  EXPECT_EQ(error->code, "OV105");
  EXPECT_EQ(error->message, not_utf8.string() + ": stream did not contain valid UTF-8");

  error = read_database_path(set, missing);
  ASSERT_TRUE(error.has_value());
  EXPECT_EQ(error->code, "OV105");
  EXPECT_EQ(error->message.rfind(missing.string() + ": ", 0), 0u) << error->message;
  EXPECT_GT(error->message.size(), missing.string().size() + 2);

  error = read_database_path(set, bad_toml);
  ASSERT_TRUE(error.has_value());
  EXPECT_EQ(error->code, "OV105");
  EXPECT_EQ(error->message.rfind(bad_toml.string() + ": ", 0), 0u) << error->message;
  EXPECT_NE(error->message.find("at line 1, column "), std::string::npos) << error->message;
  EXPECT_TRUE(set.standards.empty());
}

// A key of millions of dotted parts once exhausted the stack of the TOML parser.
TEST(DatabaseFileTest, DeeplyDottedKeyIsAnErrorNotACrash) {
  std::string key = "a";
  for (int i = 0; i < 2000000; ++i) key += ".a";
  testing::TempDir dir;
  fs::path file = dir.write("deep.ovdb",
                            "[[standard]]\ncitation = \"c\"\nname = \"n\"\nratio = \"53Cr/52Cr\"\nvalue = 1\n" +
                                key + " = 1\n");
  DatabaseSet set;
  std::optional<EngineError> error = read_database_path(set, file);
  ASSERT_TRUE(error.has_value());
  EXPECT_EQ(error->code, "OV105");
  EXPECT_EQ(error->message, file.string() + ": key nested deeper than 257 parts at line 6, column 514");
  EXPECT_TRUE(set.standards.empty());
}

// Characters outside ASCII where TOML allows none once reached undefined behaviour inside the
// TOML parser; they are parse errors of the file now, and one after a line-ending backslash
// loads as the string it is.
TEST(DatabaseFileTest, CharactersBeyondAsciiOutsideStrings) {
  struct Case {
    std::string text;
    std::string message;
  };
  const Case cases[] = {
      {"\xC4\x84", "Error while parsing document: expected ASCII outside strings and comments, saw '\xC4\x84' at line 1, column 1"},
      {"[[standard]]\n\xC3\xA9 = 1\n",
       "Error while parsing document: expected ASCII outside strings and comments, saw '\xC3\xA9' at line 2, column 1"},
  };
  for (const Case& c : cases) {
    DatabaseSet set;
    std::optional<EngineError> error = parse_database_text(set, "db/x.ovdb", c.text);
    ASSERT_TRUE(error.has_value()) << c.text;
    EXPECT_EQ(error->code, "OV105");
    EXPECT_EQ(error->message, "db/x.ovdb: " + c.message);
  }
  DatabaseSet set = read_text(
      "[[standard]]\ncitation = \"c\"\nname = \"\"\"SRM \\\n    \xC3\xA9t\xC3\xA9\"\"\"\nratio = \"53Cr/52Cr\"\nvalue = 1\n");
  ASSERT_EQ(set.standards.size(), 1u);
  EXPECT_EQ(set.standards[0].name, "SRM \xC3\xA9t\xC3\xA9");
}

}  // namespace
}  // namespace ovm::engine
