#include "cli/tree_json.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>

#include "syntax/parser.hpp"

namespace ovm::cli {
namespace {

using nlohmann::json;

std::string dump(std::string_view text) { return tree_to_json(syntax::parse_source(text, 0).blocks, text); }

TEST(TreeJsonTest, StringEscapes) {
  struct Case {
    std::string text;
    std::string literal;
  };
  for (const Case& c : std::vector<Case>{
           {"plain", "\"plain\""},
           {"a\tb\nc", "\"a\\tb\\nc\""},
           {"say \"x\" \\ y", "\"say \\\"x\\\" \\\\ y\""},
           {"line\r\n", "\"line\\n\""},
           {"\x1b[0m", "\"\\u001b[0m\""},
           {"\b\f", "\"\\u0008\\u000c\""},
           {"\x7f \xCE\xB4", "\"\x7f \xCE\xB4\""},
       }) {
    EXPECT_EQ(json_string(c.text), c.literal);
  }
}

TEST(TreeJsonTest, NumberTexts) {
  EXPECT_EQ(tree_json_number_text(2.50), "2.5");
  EXPECT_EQ(tree_json_number_text(100.0), "100");
  EXPECT_EQ(tree_json_number_text(-0.0), "-0");
  EXPECT_EQ(tree_json_number_text(1e21), "1000000000000000000000");
  EXPECT_EQ(tree_json_number_text(0.00001), "0.00001");
}

TEST(TreeJsonTest, EmptySourceIsTheEmptyTree) { EXPECT_EQ(dump(""), "{\n  \"blocks\": []\n}\n"); }

TEST(TreeJsonTest, BlockWithoutStatements) {
  EXPECT_EQ(dump("MODEL\n"),
            "{\n  \"blocks\": [\n    {\n      \"keyword\": \"MODEL\",\n      \"name\": null,\n      \"span\": [0, 5],\n"
            "      \"statements\": []\n    }\n  ]\n}\n");
}

// The document is JSON whatever the source holds: an independent reader takes it, and reads
// back the texts and numbers that were written.
TEST(TreeJsonTest, ValidJsonForAwkwardSources) {
  std::string text =
      "META\n"
      "    description \"tab\there \\ and \x1b escape\"\r\n"
      "    k = 1e999 * 2\n"
      "    z = -1e999\n"
      "    n = 1.2.3\n"
      "    when = f() + g(1, \"s\", 2024-01-15, 53Cr/52Cr, delta53Cr)\n"
      "    path = Ocean.Cr(VI) ^ -2\n"
      "    values 2.50 x [a] 1/s\n"
      "    \xCE\xB4 oops\n"
      "Cr(VI) 12\n";
  json doc = json::parse(dump(text));
  ASSERT_EQ(doc["blocks"].size(), 1u);
  const json& statements = doc["blocks"][0]["statements"];
  ASSERT_GE(statements.size(), 4u);
  EXPECT_EQ(statements[0]["body"]["values"][0]["text"], "tab\there \\ and \x1b escape");
  EXPECT_EQ(statements[0]["raw"], "description \"tab\there \\ and \x1b escape\"\n");
  // A number too large for a double has no JSON form: it is written null.
  EXPECT_TRUE(statements[1]["body"]["expr"]["lhs"]["value"].is_null());
  EXPECT_EQ(statements[1]["body"]["expr"]["rhs"]["value"], 2);
}

TEST(TreeJsonTest, ExampleModelsAreValidJson) {
  namespace fs = std::filesystem;
  std::size_t files = 0;
  for (const auto& entry : fs::directory_iterator(fs::path(OVM_SOURCE_DIR) / "examples")) {
    std::ifstream in(entry.path(), std::ios::binary);
    std::string text((std::istreambuf_iterator<char>(in)), {});
    syntax::ParseOutput tree = syntax::parse_source(text, 0);
    json doc = json::parse(tree_to_json(tree.blocks, text));
    ASSERT_EQ(doc["blocks"].size(), tree.blocks.size()) << entry.path();
    for (std::size_t i = 0; i < tree.blocks.size(); ++i) {
      EXPECT_EQ(doc["blocks"][i]["keyword"], tree.blocks[i].keyword());
      EXPECT_EQ(doc["blocks"][i]["statements"].size(), tree.blocks[i].statements.size());
    }
    ++files;
  }
  EXPECT_GT(files, 0u);
}

}  // namespace
}  // namespace ovm::cli
