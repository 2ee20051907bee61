// Documents this project writes and reads, checked against an independent JSON library.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <nlohmann/json.hpp>
#include <random>
#include <string>
#include <vector>

#include "ir/json/json_text.hpp"
#include "ir/json/json_writer.hpp"
#include "ir/results/results_json.hpp"
#include "json_test_support.hpp"

namespace ovm::ir {
namespace {

using ordered = nlohmann::ordered_json;

bool same_double(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }

TEST(JsonOracleTest, ResultsFileReadsBack) {
  ResultsFile results;
  results.model = ResultsModel{"1.3", std::nullopt, "ab", std::nullopt};
  results.columns.push_back(ResultsColumn{"time", ColumnKind::Time, "s"});
  results.columns.push_back(ResultsColumn{"x", ColumnKind::Amount, "mol", "R\xC3\xA9s", "S\x01"});
  results.rows = ResultsTable{2, 2, {0.0, 1e-300, 1e16, std::numeric_limits<double>::quiet_NaN()}};
  results.diagnostics.push_back(ResultsDiagnostic{"OV306", "warning", "a\nb", 3});
  results.backends.push_back(BackendRun{"P", "phreeqc", "px", "db", std::nullopt, {{"z", 1.5}, {"m", -0.0}}});
  std::string text = std::get<std::string>(results_to_json(results));

  ordered doc = ordered::parse(text);
  std::vector<std::string> keys;
  for (const auto& item : doc.items()) keys.push_back(item.key());
  EXPECT_EQ(keys, (std::vector<std::string>{"format_version", "engine", "model", "columns", "rows", "diagnostics",
                                            "backends"}));
  EXPECT_EQ(doc["format_version"], "1.1");
  EXPECT_EQ(doc["engine"]["name"], "ovm-engine");
  EXPECT_TRUE(doc["model"]["source_path"].is_null());
  EXPECT_EQ(doc["model"]["source_sha256"], "ab");
  EXPECT_EQ(doc["columns"][0].size(), 3u);
  EXPECT_EQ(doc["columns"][1]["reservoir"], "R\xC3\xA9s");
  EXPECT_EQ(doc["columns"][1]["species"], "S\x01");
  EXPECT_TRUE(same_double(doc["rows"][0][1].get<double>(), 1e-300));
  EXPECT_TRUE(same_double(doc["rows"][1][0].get<double>(), 1e16));
  EXPECT_TRUE(doc["rows"][1][1].is_null());
  EXPECT_EQ(doc["diagnostics"][0]["message"], "a\nb");
  EXPECT_EQ(doc["diagnostics"][0]["at_row"], 3);
  std::vector<std::string> exports;
  for (const auto& item : doc["backends"][0]["exports"].items()) exports.push_back(item.key());
  EXPECT_EQ(exports, (std::vector<std::string>{"m", "z"}));
  EXPECT_TRUE(std::signbit(doc["backends"][0]["exports"]["m"].get<double>()));
  EXPECT_FALSE(doc["backends"][0].contains("database_sha256"));
}

// Random strings and doubles, written and read back by the other library unchanged.
TEST(JsonOracleTest, WrittenStringsAndNumbersReadBack) {
  std::mt19937_64 random(7);
  std::vector<std::string> texts;
  std::vector<double> numbers;
  for (int i = 0; i < 300; ++i) {
    std::string text;
    for (int j = 0; j < 12; ++j) {
      auto pick = static_cast<unsigned>(random() % 6);
      if (pick == 0) text += static_cast<char>(random() % 0x20);
      if (pick == 1) text += "\"\\/";
      if (pick == 2) text += "\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80";
      if (pick >= 3) text += static_cast<char>(0x20 + random() % 0x5F);
    }
    texts.push_back(text);
    std::uint64_t bits = random();
    double value;
    std::memcpy(&value, &bits, sizeof value);
    if (std::isfinite(value)) numbers.push_back(value);
  }
  JsonWriter w;
  json_begin_object(w);
  json_key(w, "texts");
  json_list(w, texts, [](JsonWriter& w, const std::string& text) { json_string(w, text); });
  json_key(w, "numbers");
  json_list(w, numbers, [](JsonWriter& w, double value) { json_double(w, value); });
  json_end_object(w);
  std::string document = std::get<std::string>(json_finish(std::move(w)));

  nlohmann::json doc = nlohmann::json::parse(document);
  ASSERT_EQ(doc["texts"].size(), texts.size());
  for (std::size_t i = 0; i < texts.size(); ++i) EXPECT_EQ(doc["texts"][i].get<std::string>(), texts[i]);
  ASSERT_EQ(doc["numbers"].size(), numbers.size());
  for (std::size_t i = 0; i < numbers.size(); ++i) {
    EXPECT_TRUE(same_double(doc["numbers"][i].get<double>(), numbers[i])) << document;
  }
}

bool reads(const std::string& text) {
  KeptValue value;
  return !read_json_document(text, [&](JsonInput in) { return keep_value(*in.reader, &value); });
}

// Which texts are JSON at all: both libraries agree.
TEST(JsonOracleTest, TokenizerAcceptsWhatJsonIs) {
  for (const std::string& text : std::vector<std::string>{
           "{}", "[]", " {\"a\": [1, -2.5e+3, true, false, null, \"x\"]} ", "\"\\ud83d\\ude00\"", "0", "-0", "1E5",
           "[0.5e-3]", "{\"a\":{\"b\":{}}}", "\"\\u0000\"", "[\"\\/\\b\\f\\n\\r\\t\"]",
           // not JSON
           "", " ", "{,}", "[1,]", "{\"a\":1,}", "[01]", "[1.]", "[.1]", "[+1]", "[1e]", "[-]", "[NaN]", "[Infinity]",
           "['a']", "{a: 1}", "[\"\\x\"]", "[\"\\uD800\"]", "[\"\\uDC00\"]", "[\"\\uD800\\u0041\"]",
           std::string("[\"a\x01\"]"), "[\"abc", "[1 2]", "{\"a\" 1}", "{} {}", "// c\n{}",
           "[tru]", "nul", "{\"a\":}", "[1]]", "\f[]",
       }) {
    EXPECT_EQ(reads(text), nlohmann::json::accept(text)) << text;
  }
}

// What the kept value holds is what the other library reads, member order included.
TEST(JsonOracleTest, KeptValuesHoldWhatTheTextSays) {
  std::string text =
      "{\"b\": [1, -2, 2.5, 1e300, \"\\u00e9\\t\"], \"a\": {\"z\": null, \"y\": true}, \"c\": 18446744073709551615}";
  KeptValue kept = testing::keep(text);
  ordered doc = ordered::parse(text);
  ASSERT_EQ(kept.members.size(), doc.size());
  std::size_t i = 0;
  for (const auto& item : doc.items()) EXPECT_EQ(kept.members[i++].key, item.key());
  const KeptValue& list = kept.members[0].value;
  EXPECT_EQ(list.elements[0].number.magnitude, doc["b"][0].get<std::uint64_t>());
  EXPECT_EQ(list.elements[1].number.value, doc["b"][1].get<double>());
  EXPECT_TRUE(same_double(list.elements[2].number.value, doc["b"][2].get<double>()));
  EXPECT_TRUE(same_double(list.elements[3].number.value, doc["b"][3].get<double>()));
  EXPECT_EQ(list.elements[4].text, doc["b"][4].get<std::string>());
  EXPECT_EQ(kept.members[1].value.members[0].key, "z");
  EXPECT_EQ(kept.members[2].value.number.magnitude, doc["c"].get<std::uint64_t>());
}

}  // namespace
}  // namespace ovm::ir
