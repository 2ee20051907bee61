#include "ir/json/json_record.hpp"

#include <gtest/gtest.h>

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "ir/json/json_writer.hpp"
#include "json_test_support.hpp"

namespace ovm::ir {
namespace {

using testing::kept_outcome;
using testing::outcome;

// Sample records shaped like three header records of the lowered-model file: a database
// reference with a member default, a provenance with required and optional members and a
// list, and descriptive texts that have a record default and reject unknown keys.
struct DbRef {
  std::string path;
  std::optional<std::string> resolved{};
  std::optional<std::string> sha256{};
  friend bool operator==(const DbRef&, const DbRef&) = default;
};

struct Origin {
  std::optional<std::string> source_path;
  std::optional<std::string> source_sha256;
  std::vector<DbRef> databases;
  std::optional<std::string> generator;
  std::string ir_version;
  friend bool operator==(const Origin&, const Origin&) = default;
};

struct Texts {
  std::array<std::optional<std::string>, 8> members;
  friend bool operator==(const Texts&, const Texts&) = default;
};

constexpr JsonMember db_members[] = {{"path"}, {"resolved", JsonPresence::Defaulted}, {"sha256", JsonPresence::Optional}};
constexpr JsonRecord db_record{"struct DatabaseRef", db_members};

constexpr JsonMember origin_members[] = {
    {"source_path", JsonPresence::Optional}, {"source_sha256", JsonPresence::Optional}, {"databases"},
    {"generator", JsonPresence::Optional},   {"ir_version"},
};
constexpr JsonRecord origin_record{"struct Provenance", origin_members};

constexpr JsonMember text_members[] = {
    {"title", JsonPresence::Defaulted},    {"author", JsonPresence::Defaulted},
    {"date", JsonPresence::Defaulted},     {"version", JsonPresence::Defaulted},
    {"language", JsonPresence::Defaulted}, {"description", JsonPresence::Defaulted},
    {"license", JsonPresence::Defaulted},  {"reference", JsonPresence::Defaulted},
};
constexpr JsonRecord text_record{"struct Meta", text_members, true};

JsonStatus read_db(JsonInput in, DbRef& out) {
  return read_record(in, db_record, [&](std::size_t member, JsonInput value) -> JsonStatus {
    if (member == 0) return read_string(value, out.path);
    if (member == 1) return read_optional(value, out.resolved, read_string);
    return read_optional(value, out.sha256, read_string);
  });
}

JsonStatus read_origin(JsonInput in, Origin& out) {
  return read_record(in, origin_record, [&](std::size_t member, JsonInput value) -> JsonStatus {
    switch (member) {
      case 0: return read_optional(value, out.source_path, read_string);
      case 1: return read_optional(value, out.source_sha256, read_string);
      case 2: return read_list(value, out.databases, read_db);
      case 3: return read_optional(value, out.generator, read_string);
      default: return read_string(value, out.ir_version);
    }
  });
}

JsonStatus read_texts(JsonInput in, Texts& out) {
  return read_record(in, text_record, [&](std::size_t member, JsonInput value) {
    return read_optional(value, out.members[member], read_string);
  });
}

void write_db(JsonWriter& w, const DbRef& ref) {
  json_begin_object(w);
  json_member_string(w, "path", ref.path);
  if (ref.resolved) json_member_string(w, "resolved", *ref.resolved);
  json_member_optional_string(w, "sha256", ref.sha256);
  json_end_object(w);
}

void write_origin(JsonWriter& w, const Origin& origin) {
  json_begin_object(w);
  json_member_optional_string(w, "source_path", origin.source_path);
  json_member_optional_string(w, "source_sha256", origin.source_sha256);
  json_member_list(w, "databases", origin.databases, write_db);
  json_member_optional_string(w, "generator", origin.generator);
  json_member_string(w, "ir_version", origin.ir_version);
  json_end_object(w);
}

template <class T, class ReadT>
std::optional<T> read_document(std::string_view text, ReadT read) {
  T value{};
  if (read_json_document(text, [&](JsonInput in) { return read(in, value); })) return std::nullopt;
  return value;
}

struct RecordCase {
  std::string text;
  std::string outcome;
};

TEST(JsonRecordTest, ProvenanceMessages) {
  Origin origin;
  testing::Read read = [&](JsonInput in) { return read_origin(in, origin); };
  for (const RecordCase& c : std::vector<RecordCase>{
           {"{}", "missing field `databases` at line 1 column 2"},
           {"{\"databases\": []}", "missing field `ir_version` at line 1 column 17"},
           {"{\"generator\": \"g\"}", "missing field `databases` at line 1 column 18"},
           {"{\"databases\": [], \"ir_version\": \"\"}", "ok"},
           {"[null, null, []]", "invalid length 3, expected struct Provenance with 5 elements at line 1 column 16"},
           {"[]", "invalid length 0, expected struct Provenance with 5 elements at line 1 column 2"},
           {"[null, null, [], null, \"1.3\"]", "ok"},
           {"[null, null, [], null, \"1.3\", 5]", "trailing characters at line 1 column 31"},
           {"[null, null, [], null, \"1.3\",]", "trailing comma at line 1 column 30"},
           {"{\"source_path\": null, \"source_path\": null}", "duplicate field `source_path` at line 1 column 35"},
           {"\"x\"", "invalid type: string \"x\", expected struct Provenance at line 1 column 3"},
           {"null", "invalid type: null, expected struct Provenance at line 1 column 4"},
           {"{\"databases\": 5, \"ir_version\": \"\"}", "invalid type: integer `5`, expected a sequence at line 1 column 15"},
           {"{\"databases\": [{\"path\": 1}]}", "invalid type: integer `1`, expected a string at line 1 column 25"},
           {"{\"databases\": [], \"ir_version\": 1.3}", "invalid type: floating point `1.3`, expected a string at line 1 column 35"},
           {"{\n  \"databases\": [],\n  \"databases\": []\n}", "duplicate field `databases` at line 3 column 13"},
           {"{\n  \"databases\": []\n}", "missing field `ir_version` at line 3 column 1"},
           // One member a line as the writer lays them out, and the texts beside that layout.
           {"{\n  \"databases\": [],\n  \"ir_version\": \"1.3\"\n}", "ok"},
           {"{\n  \"databases\": [],\n}", "trailing comma at line 3 column 1"},
           {"{\n  \"databases\": []\n  \"ir_version\": \"\"\n}", "expected `,` or `}` at line 3 column 3"},
           {"{\n  \"databases\": [],\n  \"ir_version\"\n}", "expected `:` at line 4 column 1"},
           {"{\n  \"databases\": [],\n  ir_version: \"\"\n}", "key must be a string at line 3 column 3"},
           {"{\n  \"databases\": [],\n  \"ir_\\u0076ersion\": \"1.3\"\n}", "ok"},
           {"{\r\n  \"databases\": [],\r\n\t\"ir_version\": \"1.3\"\r\n}", "ok"},
           {"{\n  \"databases\": [] ,\n  \"ir_version\" : \"1.3\"\n  }", "ok"},
           {"{\n\n  \"databases\": [],\n  \"ir_version\": \"1.3\"\n}", "ok"},
           // Keys that start as the member expected next does, or that it starts as, are others.
           {"{\n  \"databases\": [],\n  \"generators\": \"g\"\n}", "missing field `ir_version` at line 4 column 1"},
           {"{\n  \"databases\": [],\n  \"generato\": \"g\"\n}", "missing field `ir_version` at line 4 column 1"},
           {"{\n  \"databases\": [],\n  \"generator\\\"\": \"g\"\n}", "missing field `ir_version` at line 4 column 1"},
       }) {
    EXPECT_EQ(outcome(c.text, read), c.outcome) << c.text;
  }
}

TEST(JsonRecordTest, DatabaseRefMemberDefault) {
  DbRef ref;
  testing::Read read = [&](JsonInput in) { return read_db(in, ref); };
  for (const RecordCase& c : std::vector<RecordCase>{
           {"[\"x\"]", "invalid length 2, expected struct DatabaseRef with 3 elements at line 1 column 5"},
           {"[\"x\", null]", "invalid length 2, expected struct DatabaseRef with 3 elements at line 1 column 11"},
           {"[]", "invalid length 0, expected struct DatabaseRef with 3 elements at line 1 column 2"},
           {"[\"x\", null, null]", "ok"},
           {"{\"resolved\": \"y\", \"sha256\": null}", "missing field `path` at line 1 column 33"},
       }) {
    EXPECT_EQ(outcome(c.text, read), c.outcome) << c.text;
  }
  EXPECT_EQ(read_document<DbRef>("{\"path\": \"x\"}", read_db), (DbRef{"x", std::nullopt, std::nullopt}));
  EXPECT_EQ(read_document<DbRef>("[\"x\", \"y\", \"z\"]", read_db), (DbRef{"x", "y", "z"}));
}

// Key order does not matter, and the array form holds the same record.
TEST(JsonRecordTest, ObjectInAnyOrderAndArrayFormAreTheSameRecord) {
  Origin expected{"m.ovm", std::nullopt, {DbRef{"a.ovdb", "/db/a.ovdb", "00ff"}, DbRef{"b.ovdb"}}, "ovm 0.1.0", "1.3"};
  const char* forms[] = {
      "{\"source_path\": \"m.ovm\", \"source_sha256\": null, \"databases\": [{\"path\": \"a.ovdb\", \"resolved\": "
      "\"/db/a.ovdb\", \"sha256\": \"00ff\"}, {\"path\": \"b.ovdb\"}], \"generator\": \"ovm 0.1.0\", \"ir_version\": "
      "\"1.3\"}",
      "{\"ir_version\": \"1.3\", \"generator\": \"ovm 0.1.0\", \"databases\": [{\"sha256\": \"00ff\", \"resolved\": "
      "\"/db/a.ovdb\", \"path\": \"a.ovdb\"}, [\"b.ovdb\", null, null]], \"source_sha256\": null, \"source_path\": "
      "\"m.ovm\"}",
      "[\"m.ovm\", null, [[\"a.ovdb\", \"/db/a.ovdb\", \"00ff\"], {\"path\": \"b.ovdb\", \"sha256\": null}], "
      "\"ovm 0.1.0\", \"1.3\"]",
  };
  for (const char* form : forms) EXPECT_EQ(read_document<Origin>(form, read_origin), expected) << form;

  JsonWriter w;
  write_origin(w, expected);
  std::string written = std::get<std::string>(json_finish(std::move(w)));
  EXPECT_EQ(read_document<Origin>(written, read_origin), expected) << written;
}

// A key no member has is skipped with its value, as often as it comes; its value must still be
// well formed and counts against the nesting budget.
TEST(JsonRecordTest, UnknownKeysAreSkipped) {
  Origin expected{std::nullopt, std::nullopt, {}, std::nullopt, "1"};
  EXPECT_EQ(read_document<Origin>("{\"comment\": 1, \"databases\": [], \"comment\": {\"x\": [1, {}]}, \"ir_version\": "
                                  "\"1\", \"Databases\": null}",
                                  read_origin),
            expected);
  Origin origin;
  testing::Read read = [&](JsonInput in) { return read_origin(in, origin); };
  EXPECT_EQ(outcome("{\"comment\": [1 2], \"databases\": [], \"ir_version\": \"1\"}", read),
            "expected `,` or `]` at line 1 column 16");
  std::string prefix = "{\"databases\": [], \"ir_version\": \"1\", \"comment\": ";
  std::string deep_ok = prefix + std::string(126, '[') + std::string(126, ']') + "}";
  std::string too_deep = prefix + std::string(127, '[') + std::string(127, ']') + "}";
  EXPECT_EQ(outcome(deep_ok, read), "ok");
  EXPECT_EQ(outcome(too_deep, read),
            "recursion limit exceeded at line 1 column " + std::to_string(prefix.size() + 127));
}

TEST(JsonRecordTest, RecordDefaultAndUnknownKeysRejected) {
  Texts texts;
  testing::Read read = [&](JsonInput in) { return read_texts(in, texts); };
  for (const RecordCase& c : std::vector<RecordCase>{
           {"{}", "ok"},
           {"[]", "ok"},
           {"[null, null, null, null, null, null, null, null]", "ok"},
           {"[null, null, null, null, null, null, null, null, null]", "trailing characters at line 1 column 50"},
           {"{\"Title\": \"x\"}",
            "unknown field `Title`, expected one of `title`, `author`, `date`, `version`, `language`, "
            "`description`, `license`, `reference` at line 1 column 8"},
           {"{\"title\": null, \"title\": \"x\"}", "duplicate field `title` at line 1 column 23"},
           {"{\"title\": 5}", "invalid type: integer `5`, expected a string at line 1 column 11"},
       }) {
    EXPECT_EQ(outcome(c.text, read), c.outcome) << c.text;
  }
  Texts three{};
  three.members[0] = "T";
  three.members[1] = "A";
  three.members[2] = "D";
  EXPECT_EQ(read_document<Texts>("[\"T\", \"A\", \"D\"]", read_texts), three);
  EXPECT_EQ(read_document<Texts>("{\"date\": \"D\", \"author\": \"A\", \"title\": \"T\"}", read_texts), three);
  EXPECT_EQ(read_document<Texts>("{}", read_texts), Texts{});
  // Keys are compared once unescaped.
  Texts titled{};
  titled.members[0] = "x";
  EXPECT_EQ(read_document<Texts>("{\"ti\\u0074le\": \"x\"}", read_texts), titled);
}

TEST(JsonRecordTest, OptionalDoublesAndUnknownKeysOfConditions) {
  static constexpr JsonMember members[] = {
      {"temperature_k", JsonPresence::Defaulted}, {"pressure_bar", JsonPresence::Defaulted},
      {"ph", JsonPresence::Defaulted},            {"eh_mv", JsonPresence::Defaulted},
      {"ionic_strength", JsonPresence::Defaulted},
  };
  static constexpr JsonRecord record{"struct Conditions", members, true};
  std::array<std::optional<double>, 5> values{};
  testing::Read read = [&](JsonInput in) {
    return read_record(in, record, [&](std::size_t member, JsonInput value) {
      return read_optional(value, values[member], read_f64);
    });
  };
  EXPECT_EQ(outcome("{\"ph\": 7}", read), "ok");
  EXPECT_EQ(values[2], 7.0);
  EXPECT_EQ(outcome("{\"ph\": \"7\"}", read), "invalid type: string \"7\", expected f64 at line 1 column 10");
  EXPECT_EQ(outcome("{\"pH\": 7}", read),
            "unknown field `pH`, expected one of `temperature_k`, `pressure_bar`, `ph`, `eh_mv`, `ionic_strength` "
            "at line 1 column 5");
}

// A record read from a kept value: its errors have no place, and an array that runs on says
// how long it was.
TEST(JsonRecordTest, RecordsInKeptValues) {
  static constexpr JsonMember members[] = {{"reservoir"}, {"fraction"}};
  static constexpr JsonRecord record{"struct MixingSource", members};
  std::uint32_t reservoir = 0;
  double fraction = 0;
  testing::Read read = [&](JsonInput in) {
    return read_record(in, record, [&](std::size_t member, JsonInput value) {
      return member == 0 ? read_u32(value, reservoir) : read_f64(value, fraction);
    });
  };
  for (const RecordCase& c : std::vector<RecordCase>{
           {"[3, 0.5]", "ok"},
           {"[3]", "invalid length 1, expected struct MixingSource with 2 elements"},
           {"[3, 0.5, 1]", "invalid length 3, expected 2 elements in sequence"},
           {"{\"reservoir\": 1, \"reservoir\": 2, \"fraction\": 1}", "duplicate field `reservoir`"},
           {"{\"fraction\": 0.5}", "missing field `reservoir`"},
           {"{}", "missing field `reservoir`"},
           {"{\"reservoir\": 1.0, \"fraction\": 1}", "invalid type: floating point `1.0`, expected u32"},
           {"{\"reservoir\": 1, \"fraction\": null}", "invalid type: null, expected f64"},
           {"\"x\"", "invalid type: string \"x\", expected struct MixingSource"},
       }) {
    EXPECT_EQ(kept_outcome(c.text, read), c.outcome) << c.text;
  }
  EXPECT_EQ(kept_outcome("{\"note\": [], \"fraction\": 1, \"reservoir\": 2}", read), "ok");
  EXPECT_EQ(reservoir, 2u);
  EXPECT_EQ(fraction, 1.0);
}

// The content of an adjacently tagged struct variant has no array form.
TEST(JsonRecordTest, ObjectOnlyRecords) {
  static constexpr JsonMember members[] = {{"reservoir"}, {"species"}};
  static constexpr JsonRecord record{"struct variant Variable::Amount", members, false, false};
  std::uint32_t ids[2] = {};
  testing::Read read = [&](JsonInput in) {
    return read_record(in, record, [&](std::size_t member, JsonInput value) { return read_u32(value, ids[member]); });
  };
  EXPECT_EQ(outcome("[0, 1]", read), "invalid type: sequence, expected struct variant Variable::Amount at line 1 column 0");
  EXPECT_EQ(kept_outcome("[0, 1]", read), "invalid type: sequence, expected struct variant Variable::Amount");
  EXPECT_EQ(outcome("{\"species\": 1, \"reservoir\": 0, \"x\": 2}", read), "ok");
  EXPECT_EQ(ids[0], 0u);
  EXPECT_EQ(ids[1], 1u);
}

// A record of more members than one word has bits for tells given, repeated and missing
// members apart as a small one does: members at 64 and past it, in and out of order.
TEST(JsonRecordTest, RecordsOfManyMembers) {
  static const std::vector<std::string> keys = [] {
    std::vector<std::string> names;
    for (int i = 0; i < 70; ++i) names.push_back("m" + std::to_string(i));
    return names;
  }();
  static const std::vector<JsonMember> members = [] {
    std::vector<JsonMember> list;
    for (const std::string& key : keys) list.push_back({key, JsonPresence::Required});
    return list;
  }();
  const JsonRecord record{"struct Many", members};
  std::vector<std::uint32_t> values(70, 0);
  testing::Read read = [&](JsonInput in) {
    return read_record(in, record, [&](std::size_t member, JsonInput value) { return read_u32(value, values[member]); });
  };
  auto object = [](int count, const std::string& extra) {
    std::string text = "{";
    for (int i = count - 1; i >= 0; --i) text += "\"m" + std::to_string(i) + "\": " + std::to_string(i) + ", ";
    return text + extra + "}";
  };
  EXPECT_EQ(outcome(object(69, "\"m69\": 69"), read), "ok");
  EXPECT_EQ(values[0], 0u);
  EXPECT_EQ(values[64], 64u);
  EXPECT_EQ(values[69], 69u);
  EXPECT_EQ(outcome(object(69, "\"m66\": 1"), read).substr(0, 21), "duplicate field `m66`");
  EXPECT_EQ(outcome(object(69, "\"m68\": 1"), read).substr(0, 21), "duplicate field `m68`");
  EXPECT_EQ(outcome(object(69, "\"m0\": 1"), read).substr(0, 20), "duplicate field `m0`");
  EXPECT_EQ(outcome(object(65, "\"m69\": 69"), read).substr(0, 19), "missing field `m65`");
}

}  // namespace
}  // namespace ovm::ir
