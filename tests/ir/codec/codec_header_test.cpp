#include "ir/codec/codec_header.hpp"

#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

#include "codec_test_support.hpp"

namespace ovm::ir {
namespace {

using testing::read_into;
using testing::written;

struct MessageCase {
  std::string text;
  std::string outcome;
};

TEST(CodecHeaderTest, ProvenanceLayout) {
  Provenance provenance;
  provenance.databases.push_back(DatabaseRef{"isotopes.ovdb", std::nullopt, std::nullopt});
  provenance.generator = "ovm 0.1.0";
  provenance.ir_version = "1.3";
  EXPECT_EQ(written(provenance, serialize_provenance),
            "{\n"
            "  \"source_path\": null,\n"
            "  \"source_sha256\": null,\n"
            "  \"databases\": [\n"
            "    {\n"
            "      \"path\": \"isotopes.ovdb\",\n"
            "      \"sha256\": null\n"
            "    }\n"
            "  ],\n"
            "  \"generator\": \"ovm 0.1.0\",\n"
            "  \"ir_version\": \"1.3\"\n"
            "}");
  Provenance back;
  EXPECT_EQ(read_into(written(provenance, serialize_provenance), back, deserialize_provenance), "ok");
  EXPECT_EQ(back, provenance);
}

TEST(CodecHeaderTest, DatabaseRefWritesResolvedOnlyWhenPresent) {
  DatabaseRef plain{"x", std::nullopt, std::nullopt};
  EXPECT_EQ(written(plain, serialize_database_ref), "{\n  \"path\": \"x\",\n  \"sha256\": null\n}");
  DatabaseRef found{"x", "/db/x.ovdb", std::string(64, 'a')};
  EXPECT_EQ(written(found, serialize_database_ref),
            "{\n  \"path\": \"x\",\n  \"resolved\": \"/db/x.ovdb\",\n  \"sha256\": \"" + std::string(64, 'a') +
                "\"\n}");
  for (const DatabaseRef& database : {plain, found}) {
    DatabaseRef back;
    EXPECT_EQ(read_into(written(database, serialize_database_ref), back, deserialize_database_ref), "ok");
    EXPECT_EQ(back, database);
  }
}

TEST(CodecHeaderTest, EmptyMetaAndConditions) {
  EXPECT_EQ(written(Meta{}, serialize_meta),
            "{\n  \"title\": null,\n  \"author\": null,\n  \"date\": null,\n  \"version\": null,\n"
            "  \"language\": null,\n  \"description\": null,\n  \"license\": null,\n  \"reference\": null\n}");
  Conditions conditions;
  conditions.temperature_k = 298.15;
  conditions.ph = std::numeric_limits<double>::quiet_NaN();
  conditions.ionic_strength = 1;
  EXPECT_EQ(written(conditions, serialize_conditions),
            "{\n  \"temperature_k\": 298.15,\n  \"pressure_bar\": null,\n  \"ph\": null,\n  \"eh_mv\": null,\n"
            "  \"ionic_strength\": 1.0\n}");
  Conditions back;
  EXPECT_EQ(read_into(written(conditions, serialize_conditions), back, deserialize_conditions), "ok");
  conditions.ph.reset();  // NaN is written null and reads back absent
  EXPECT_EQ(back, conditions);
}

TEST(CodecHeaderTest, MetaForms) {
  Meta full{"T", "A", "D", "V", "L", "De", "Li", "R"};
  Meta back;
  EXPECT_EQ(read_into(written(full, serialize_meta), back, deserialize_meta), "ok");
  EXPECT_EQ(back, full);
  for (const std::string text : {"{}", "[]", "[null, null]"}) {
    back = full;
    EXPECT_EQ(read_into(text, back, deserialize_meta), "ok") << text;
    EXPECT_EQ(back, Meta{}) << text;
  }
  EXPECT_EQ(read_into("[\"t\", \"a\", \"d\"]", back, deserialize_meta), "ok");
  EXPECT_EQ(back, (Meta{"t", "a", "d", {}, {}, {}, {}, {}}));
  EXPECT_EQ(read_into("{\"reference\": \"r\", \"title\": \"t\"}", back, deserialize_meta), "ok");
  EXPECT_EQ(back, (Meta{"t", {}, {}, {}, {}, {}, {}, "r"}));
}

TEST(CodecHeaderTest, MetaMessages) {
  for (const MessageCase& c : std::vector<MessageCase>{
           {"{\"Title\": \"x\"}",
            "unknown field `Title`, expected one of `title`, `author`, `date`, `version`, `language`, "
            "`description`, `license`, `reference` at line 1 column 8"},
           {"{\"title\": null, \"title\": \"x\"}", "duplicate field `title` at line 1 column 23"},
           {"[1, 2, 3, 4, 5, 6, 7, 8, 9]", "invalid type: integer `1`, expected a string at line 1 column 2"},
           {"[null, null, null, null, null, null, null, null, null]", "trailing characters at line 1 column 50"},
           {"\"x\"", "invalid type: string \"x\", expected struct Meta at line 1 column 3"},
       }) {
    Meta meta;
    EXPECT_EQ(read_into(c.text, meta, deserialize_meta), c.outcome) << c.text;
  }
}

TEST(CodecHeaderTest, ConditionsMessages) {
  Conditions conditions;
  EXPECT_EQ(read_into("{\"ph\": 7}", conditions, deserialize_conditions), "ok");
  EXPECT_EQ(conditions.ph, 7.0);
  EXPECT_EQ(read_into("[1, 2, 3, 4, 5]", conditions, deserialize_conditions), "ok");
  EXPECT_EQ(conditions, (Conditions{1, 2, 3, 4, 5}));
  for (const MessageCase& c : std::vector<MessageCase>{
           {"{\"ph\": \"7\"}", "invalid type: string \"7\", expected f64 at line 1 column 10"},
           {"{\"pH\": 7}",
            "unknown field `pH`, expected one of `temperature_k`, `pressure_bar`, `ph`, `eh_mv`, "
            "`ionic_strength` at line 1 column 5"},
           {"[1, 2, 3, 4, 5, 6]", "trailing characters at line 1 column 17"},
       }) {
    EXPECT_EQ(read_into(c.text, conditions, deserialize_conditions), c.outcome) << c.text;
  }
}

TEST(CodecHeaderTest, ProvenanceReading) {
  Provenance provenance;
  EXPECT_EQ(read_into("{\"ir_version\": \"\", \"comment\": [1], \"databases\": []}", provenance,
                      deserialize_provenance),
            "ok");
  EXPECT_EQ(provenance, Provenance{});
  EXPECT_EQ(read_into("[\"m.ovm\", null, [[\"x\", null, null]], \"g\", \"1.3\"]", provenance, deserialize_provenance),
            "ok");
  EXPECT_EQ(provenance, (Provenance{"m.ovm", std::nullopt, {DatabaseRef{"x", {}, {}}}, "g", "1.3"}));
  for (const MessageCase& c : std::vector<MessageCase>{
           {"{}", "missing field `databases` at line 1 column 2"},
           {"{\"databases\": []}", "missing field `ir_version` at line 1 column 17"},
           {"[null, null, []]", "invalid length 3, expected struct Provenance with 5 elements at line 1 column 16"},
           {"{\"databases\": {}, \"ir_version\": \"1\"}", "invalid type: map, expected a sequence at line 1 column 14"},
           {"{\"databases\": [], \"ir_version\": null}", "invalid type: null, expected a string at line 1 column 36"},
           {"{\"databases\": [], \"databases\": []}", "duplicate field `databases` at line 1 column 29"},
           {"{\"databases\": [{\"path\": \"a\"}, {\"path\": \"b\"}, {}], \"ir_version\": \"1\"}",
            "missing field `path` at line 1 column 47"},
       }) {
    EXPECT_EQ(read_into(c.text, provenance, deserialize_provenance), c.outcome) << c.text;
  }
}

TEST(CodecHeaderTest, DatabaseRefReading) {
  DatabaseRef database;
  EXPECT_EQ(read_into("[\"x\", null, null]", database, deserialize_database_ref), "ok");
  EXPECT_EQ(database, (DatabaseRef{"x", {}, {}}));
  EXPECT_EQ(read_into("{\"sha256\": \"s\", \"path\": \"x\", \"note\": 1}", database, deserialize_database_ref), "ok");
  EXPECT_EQ(database, (DatabaseRef{"x", {}, "s"}));
  for (const MessageCase& c : std::vector<MessageCase>{
           {"[\"x\"]", "invalid length 2, expected struct DatabaseRef with 3 elements at line 1 column 5"},
           {"[\"x\", null]", "invalid length 2, expected struct DatabaseRef with 3 elements at line 1 column 11"},
           {"[]", "invalid length 0, expected struct DatabaseRef with 3 elements at line 1 column 2"},
           {"{\"resolved\": \"y\", \"sha256\": null}", "missing field `path` at line 1 column 33"},
           {"[\"x\", null, null, null]", "trailing characters at line 1 column 19"},
       }) {
    EXPECT_EQ(read_into(c.text, database, deserialize_database_ref), c.outcome) << c.text;
  }
}

}  // namespace
}  // namespace ovm::ir
