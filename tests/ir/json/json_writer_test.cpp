#include "ir/json/json_writer.hpp"

#include <gtest/gtest.h>

#include <limits>
#include <optional>
#include <string>
#include <vector>

#include "ir/json/json_string.hpp"

namespace ovm::ir {
namespace {

std::string finished(JsonWriter&& w) {
  auto result = json_finish(std::move(w));
  if (auto* error = std::get_if<JsonWriteError>(&result)) return "error: " + error->message;
  return std::get<std::string>(result);
}

// A provenance record with one database reference whose file was not read, written the way
// its record writer will write it.
TEST(JsonWriterTest, ProvenanceLayout) {
  JsonWriter w;
  json_begin_object(w);
  json_member_optional_string(w, "source_path", std::nullopt);
  json_member_optional_string(w, "source_sha256", std::nullopt);
  std::vector<std::string> paths{"isotopes.ovdb"};
  json_member_list(w, "databases", paths, [](JsonWriter& w, const std::string& path) {
    json_begin_object(w);
    json_member_string(w, "path", path);
    json_key(w, "sha256");
    json_null(w);
    json_end_object(w);
  });
  json_member_optional_string(w, "generator", std::string("ovm 0.1.0"));
  json_member_string(w, "ir_version", "1.3");
  json_end_object(w);
  EXPECT_TRUE(w.filled.empty());
  EXPECT_EQ(finished(std::move(w)),
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
}

TEST(JsonWriterTest, EmptyContainersAndOneItemLists) {
  JsonWriter w;
  json_begin_object(w);
  json_key(w, "none");
  json_list(w, std::vector<double>{}, [](JsonWriter& w, double v) { json_double(w, v); });
  json_key(w, "empty");
  json_begin_object(w);
  json_end_object(w);
  json_key(w, "one");
  json_list(w, std::vector<double>{2.0}, [](JsonWriter& w, double v) { json_double(w, v); });
  json_key(w, "nested");
  json_list(w, std::vector<std::vector<bool>>{{true, false}, {}}, [](JsonWriter& w, const std::vector<bool>& row) {
    json_list(w, row, [](JsonWriter& w, bool b) { json_bool(w, b); });
  });
  json_key(w, "ids");
  json_list(w, std::vector<std::uint64_t>{0, 42}, [](JsonWriter& w, std::uint64_t id) { json_unsigned(w, id); });
  json_end_object(w);
  EXPECT_EQ(finished(std::move(w)),
            "{\n"
            "  \"none\": [],\n"
            "  \"empty\": {},\n"
            "  \"one\": [\n"
            "    2.0\n"
            "  ],\n"
            "  \"nested\": [\n"
            "    [\n"
            "      true,\n"
            "      false\n"
            "    ],\n"
            "    []\n"
            "  ],\n"
            "  \"ids\": [\n"
            "    0,\n"
            "    42\n"
            "  ]\n"
            "}");
}

TEST(JsonWriterTest, MemberHelpers) {
  JsonWriter w;
  json_begin_object(w);
  json_member_double(w, "t", 298.15);
  json_member_optional_double(w, "p", std::nullopt);
  json_member_unsigned(w, "id", 4294967295u);
  json_member_optional_unsigned(w, "row", 0);
  json_member_bool(w, "open_system", false);
  json_end_object(w);
  EXPECT_EQ(finished(std::move(w)),
            "{\n  \"t\": 298.15,\n  \"p\": null,\n  \"id\": 4294967295,\n  \"row\": 0,\n  \"open_system\": false\n}");
}

TEST(JsonWriterTest, EmptyRootObjectAndNoFinalNewline) {
  JsonWriter w;
  json_begin_object(w);
  json_end_object(w);
  EXPECT_EQ(finished(std::move(w)), "{}");
}

TEST(JsonWriterTest, OptionalValues) {
  JsonWriter w;
  json_begin_list(w);
  for (std::optional<double> v : {std::optional<double>{}, std::optional<double>{0.5}}) {
    json_item(w);
    json_optional_double(w, v);
  }
  for (std::optional<std::uint64_t> v : {std::optional<std::uint64_t>{}, std::optional<std::uint64_t>{3}}) {
    json_item(w);
    json_optional_unsigned(w, v);
  }
  json_item(w);
  json_optional(w, std::optional<bool>{true}, [](JsonWriter& w, bool b) { json_bool(w, b); });
  json_item(w);
  json_optional(w, std::optional<bool>{}, [](JsonWriter& w, bool b) { json_bool(w, b); });
  json_item(w);
  json_double(w, std::numeric_limits<double>::quiet_NaN());
  json_end_list(w);
  EXPECT_EQ(finished(std::move(w)), "[\n  null,\n  0.5,\n  null,\n  3,\n  true,\n  null,\n  null\n]");
}

// The three enum forms: a unit variant is its name; an internally tagged variant puts its
// members beside "kind"; an adjacently tagged one puts its content under "of", and a variant
// without data has "kind" alone.
TEST(JsonWriterTest, EnumForms) {
  JsonWriter w;
  json_begin_object(w);
  json_key(w, "regime");
  json_unit_variant(w, "kinetic");
  json_key(w, "subject");
  json_begin_tagged(w, "amount");
  json_key(w, "reservoir");
  json_unsigned(w, 0);
  json_key(w, "species");
  json_unsigned(w, 1);
  json_end_object(w);
  json_key(w, "time");
  json_begin_tagged(w, "time");
  json_end_object(w);
  json_key(w, "variable");
  json_begin_tagged(w, "parameter");
  json_content(w);
  json_unsigned(w, 3);
  json_end_object(w);
  json_end_object(w);
  EXPECT_EQ(finished(std::move(w)),
            "{\n"
            "  \"regime\": \"kinetic\",\n"
            "  \"subject\": {\n"
            "    \"kind\": \"amount\",\n"
            "    \"reservoir\": 0,\n"
            "    \"species\": 1\n"
            "  },\n"
            "  \"time\": {\n"
            "    \"kind\": \"time\"\n"
            "  },\n"
            "  \"variable\": {\n"
            "    \"kind\": \"parameter\",\n"
            "    \"of\": 3\n"
            "  }\n"
            "}");
}

// The sum of the temperature and the constant 1, as the expression writer lays it out.
TEST(JsonWriterTest, NestedAdjacentContent) {
  JsonWriter w;
  json_begin_tagged(w, "binary");
  json_content(w);
  json_begin_object(w);
  json_key(w, "op");
  json_unit_variant(w, "add");
  json_key(w, "lhs");
  json_begin_tagged(w, "temperature");
  json_end_object(w);
  json_key(w, "rhs");
  json_begin_tagged(w, "constant");
  json_content(w);
  json_double(w, 1.0);
  json_end_object(w);
  json_end_object(w);
  json_end_object(w);
  EXPECT_EQ(finished(std::move(w)),
            "{\n"
            "  \"kind\": \"binary\",\n"
            "  \"of\": {\n"
            "    \"op\": \"add\",\n"
            "    \"lhs\": {\n"
            "      \"kind\": \"temperature\"\n"
            "    },\n"
            "    \"rhs\": {\n"
            "      \"kind\": \"constant\",\n"
            "      \"of\": 1.0\n"
            "    }\n"
            "  }\n"
            "}");
}

// A constant factor as an element of a process's fractionation list: its brace at level 4.
TEST(JsonWriterTest, IndentFollowsTheLevel) {
  JsonWriter w;
  json_begin_object(w);
  json_key(w, "processes");
  json_begin_list(w);
  json_item(w);
  json_begin_object(w);
  json_key(w, "fractionations");
  json_begin_list(w);
  json_item(w);
  json_begin_object(w);
  json_key(w, "isotope");
  json_unsigned(w, 0);
  json_key(w, "factor");
  json_begin_tagged(w, "constant");
  json_content(w);
  json_double(w, 0.998);
  json_end_object(w);
  json_key(w, "phase_permil");
  json_optional_double(w, std::nullopt);
  json_end_object(w);
  json_end_list(w);
  json_end_object(w);
  json_end_list(w);
  json_end_object(w);
  std::string text = finished(std::move(w));
  EXPECT_NE(text.find("\n"
                      "        {\n"
                      "          \"isotope\": 0,\n"
                      "          \"factor\": {\n"
                      "            \"kind\": \"constant\",\n"
                      "            \"of\": 0.998\n"
                      "          },\n"
                      "          \"phase_permil\": null\n"
                      "        }\n"),
            std::string::npos)
      << text;
  EXPECT_EQ(text.back(), '}');
}

// Levels past those a line's prepared indent covers are indented all the same: two blanks a
// level, on the way in and on the way out.
TEST(JsonWriterTest, DeepNestingKeepsTheIndent) {
  constexpr int depth = 150;
  JsonWriter w;
  std::string expected;
  for (int level = 0; level < depth; ++level) {
    if (level > 0) {
      json_item(w);
      expected += (level > 1 ? ",\n" : "\n") + std::string(2 * level, ' ');
    }
    json_begin_list(w);
    expected += '[';
    if (level > 0) {
      json_item(w);
      json_unsigned(w, static_cast<std::uint64_t>(level));
      expected += "\n" + std::string(2 * (level + 1), ' ') + std::to_string(level);
    }
  }
  for (int level = depth - 1; level >= 0; --level) {
    json_end_list(w);
    expected += "\n" + std::string(2 * level, ' ') + ']';
  }
  EXPECT_EQ(finished(std::move(w)), expected);
}

struct EscapeCase {
  std::string text;
  std::string json;
};

TEST(JsonStringTest, Escapes) {
  for (const EscapeCase& c : std::vector<EscapeCase>{
           {std::string("\x01\t/\xC3\xA9", 5), "\"\\u0001\\t/\xC3\xA9\""},
           {"say \"hi\" \\ bye", "\"say \\\"hi\\\" \\\\ bye\""},
           {"\b\f\n\r\t", "\"\\b\\f\\n\\r\\t\""},
           {std::string("\0\x1b\x1f", 3), "\"\\u0000\\u001b\\u001f\""},
           {"\x7f \xE2\x82\xAC \xF0\x9F\x98\x80", "\"\x7f \xE2\x82\xAC \xF0\x9F\x98\x80\""},
           {"", "\"\""},
       }) {
    EXPECT_EQ(json_string_text(c.text), c.json) << c.json;
  }
}

// Keys are strings too, escaped alike.
TEST(JsonWriterTest, KeysAreEscaped) {
  JsonWriter w;
  json_begin_object(w);
  json_key(w, "a\"b");
  json_bool(w, false);
  json_end_object(w);
  EXPECT_EQ(finished(std::move(w)), "{\n  \"a\\\"b\": false\n}");
}

// A JSON document holds UTF-8 only: a string that is not fails the writer.
TEST(JsonWriterTest, TextThatIsNotUtf8FailsTheWriter) {
  JsonWriter w;
  json_begin_object(w);
  json_key(w, "name");
  json_string(w, "ab\xFF");
  json_end_object(w);
  EXPECT_EQ(finished(std::move(w)), "error: a string is not valid UTF-8");
}

}  // namespace
}  // namespace ovm::ir
