// Damaged documents: the tokenizer refuses what an independent JSON library refuses, and every
// refusal is placed inside the text.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <random>
#include <string>
#include <vector>

#include "ir/json/json_enum.hpp"
#include "ir/json/json_record.hpp"
#include "ir/json/json_tagged.hpp"
#include "ir/json/json_text.hpp"

namespace ovm::ir {
namespace {

constexpr JsonVariant variants[] = {{"time", "Time", false}, {"amount", "Amount"}, {"scale", "Scale"}};
constexpr JsonEnum internal_enum{"Subject", variants};
constexpr JsonEnum adjacent_enum{"Variable", variants};
constexpr JsonMember amount_members[] = {{"reservoir"}, {"species", JsonPresence::Optional}};
constexpr JsonRecord amount_record{"struct variant Subject::Amount", amount_members};
constexpr std::string_view modes[] = {"time", "extent"};
constexpr JsonMember root_members[] = {
    {"subject", JsonPresence::Defaulted}, {"variable", JsonPresence::Defaulted}, {"mode", JsonPresence::Defaulted},
    {"values", JsonPresence::Defaulted},  {"names", JsonPresence::Defaulted},
};
constexpr JsonRecord root_record{"struct Root", root_members};

JsonStatus read_fields(std::size_t variant, JsonInput content) {
  if (variant == 2) {
    double scale = 0;
    return read_f64(content, scale);
  }
  std::uint32_t ids[2] = {};
  return read_record(content, amount_record, [&](std::size_t member, JsonInput value) -> JsonStatus {
    if (member == 0) return read_u32(value, ids[0]);
    std::optional<std::uint32_t> species;
    return read_optional(value, species, read_u32);
  });
}

JsonStatus read_root(JsonInput in) {
  return read_record(in, root_record, [](std::size_t member, JsonInput value) -> JsonStatus {
    std::size_t variant = 0;
    std::vector<double> values;
    std::vector<std::string> names;
    switch (member) {
      case 0: return read_internally_tagged(value, internal_enum, variant, read_fields);
      case 1: return read_adjacently_tagged(value, adjacent_enum, variant, read_fields);
      case 2: return read_unit_enum(value, modes, variant);
      case 3: return read_list(value, values, read_f64);
      default: return read_list(value, names, read_string);
    }
  });
}

// Line from 1, column from 0 up to the length of that line.
bool inside(const std::string& text, const JsonError& error) {
  std::vector<std::size_t> lengths{0};
  for (char c : text) {
    if (c == '\n') {
      lengths.push_back(0);
    } else {
      ++lengths.back();
    }
  }
  return error.line >= 1 && error.line <= lengths.size() && error.column <= lengths[error.line - 1];
}

TEST(JsonRobustnessTest, DamagedDocuments) {
  const std::string valid =
      "{\"subject\": {\"kind\": \"amount\", \"reservoir\": 1, \"species\": null},\n"
      " \"variable\": {\"of\": {\"reservoir\": 2}, \"kind\": {\"amount\": null}},\n"
      " \"mode\": \"extent\", \"values\": [1, -2.5e3, 0.5], \"names\": [\"a\\u00e9\", \"\\ud83d\\ude00\"],\n"
      " \"extra\": [[{}], {\"x\": [null, true]}]}";
  ASSERT_FALSE(read_json_document(valid, read_root));
  const std::string alphabet = "{}[]\":, \n0123456789-+.eE\\utrfnlasx";
  std::mt19937 random(42);
  int failures = 0;
  for (int round = 0; round < 20000; ++round) {
    std::string text = valid;
    int edits = 1 + static_cast<int>(random() % 4);
    for (int e = 0; e < edits; ++e) {
      std::size_t at = random() % text.size();
      char c = alphabet[random() % alphabet.size()];
      switch (random() % 3) {
        case 0: text[at] = c; break;
        case 1: text.insert(text.begin() + static_cast<long>(at), c); break;
        default: text.erase(at, 1 + random() % 3); break;
      }
      if (text.empty()) text = "x";
    }
    KeptValue kept;
    JsonStatus syntax = read_json_document(text, [&](JsonInput in) { return keep_value(*in.reader, &kept); });
    if (!nlohmann::json::accept(text)) {
      ASSERT_TRUE(syntax) << text;
    } else if (syntax) {
      ASSERT_EQ(syntax->message, "number out of range") << text;
    }
    JsonStatus status = read_json_document(text, read_root);
    if (!status) continue;
    ++failures;
    ASSERT_TRUE(inside(text, *status)) << text << "\n" << json_error_text(*status);
  }
  EXPECT_GT(failures, 10000);
}

}  // namespace
}  // namespace ovm::ir
