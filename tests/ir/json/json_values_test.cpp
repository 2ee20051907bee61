#include "ir/json/json_input.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <optional>
#include <string>
#include <vector>

#include "ir/json/json_writer.hpp"
#include "json_test_support.hpp"

namespace ovm::ir {
namespace {

using testing::kept_outcome;
using testing::outcome;
using testing::Read;

Read u32_reader(std::uint32_t& out) {
  return [&out](JsonInput in) { return read_u32(in, out); };
}

struct ValueCase {
  std::string text;
  std::string outcome;  // from the text; a kept value gives the same message without its place
};

// The message of an outcome without its place, as the kept road gives it.
std::string message_of(const std::string& outcome) {
  std::size_t at = outcome.rfind(" at line ");
  return at == std::string::npos ? outcome : outcome.substr(0, at);
}

void expect_both_roads(const std::vector<ValueCase>& cases, const Read& read) {
  for (const ValueCase& c : cases) {
    EXPECT_EQ(outcome(c.text, read), c.outcome) << c.text;
    EXPECT_EQ(kept_outcome(c.text, read), message_of(c.outcome)) << "kept " << c.text;
  }
}

TEST(JsonValuesTest, UnsignedIntegers) {
  std::uint32_t u32 = 0;
  expect_both_roads(
      {
          {"0", "ok"},
          {" 4294967295 ", "ok"},
          {"4294967296", "invalid value: integer `4294967296`, expected u32 at line 1 column 10"},
          {"99999999999999999999999", "invalid value: integer `99999999999999999999999`, expected u32 at line 1 column 23"},
          {"-1", "invalid value: integer `-1`, expected u32 at line 1 column 2"},
          {"2.0", "invalid type: floating point `2.0`, expected u32 at line 1 column 3"},
          {"1e2", "invalid type: floating point `100.0`, expected u32 at line 1 column 3"},
          {"1.5", "invalid type: floating point `1.5`, expected u32 at line 1 column 3"},
          {"null", "invalid type: null, expected u32 at line 1 column 4"},
          {"true", "invalid type: boolean `true`, expected u32 at line 1 column 4"},
          {"\"7\"", "invalid type: string \"7\", expected u32 at line 1 column 3"},
          {"\"a\\tb\"", "invalid type: string \"a\\tb\", expected u32 at line 1 column 6"},
          {"[1]", "invalid type: sequence, expected u32 at line 1 column 0"},
          {" {}", "invalid type: map, expected u32 at line 1 column 1"},
      },
      u32_reader(u32));
  EXPECT_EQ(outcome("4294967295", u32_reader(u32)), "ok");
  EXPECT_EQ(u32, 4294967295u);

  std::uint16_t u16 = 0;
  Read read_u16_value = [&u16](JsonInput in) { return read_u16(in, u16); };
  expect_both_roads(
      {
          {"65535", "ok"},
          {"65536", "invalid value: integer `65536`, expected u16 at line 1 column 5"},
          {"-1", "invalid value: integer `-1`, expected u16 at line 1 column 2"},
          {"53.0", "invalid type: floating point `53.0`, expected u16 at line 1 column 4"},
          {"false", "invalid type: boolean `false`, expected u16 at line 1 column 5"},
      },
      read_u16_value);
  EXPECT_EQ(outcome("53", read_u16_value), "ok");
  EXPECT_EQ(u16, 53);
}

TEST(JsonValuesTest, Doubles) {
  double value = 0;
  Read read = [&value](JsonInput in) { return read_f64(in, value); };
  expect_both_roads(
      {
          {"null", "invalid type: null, expected f64 at line 1 column 4"},
          {"\"7\"", "invalid type: string \"7\", expected f64 at line 1 column 3"},
          {"[]", "invalid type: sequence, expected f64 at line 1 column 0"},
      },
      read);
  struct NumberCase {
    std::string text;
    double value;
  };
  for (const NumberCase& c : std::vector<NumberCase>{
           {"2", 2.0},
           {"-7", -7.0},
           {"298.15", 298.15},
           {"1.5e-6", 0.0000015},
           {"-0.0", -0.0},
           {"18446744073709551616", 18446744073709551616.0},
           {"1.7976931348623157e+308", 1.7976931348623157e308},
       }) {
    EXPECT_EQ(outcome(c.text, read), "ok") << c.text;
    EXPECT_EQ(value, c.value) << c.text;
    EXPECT_EQ(std::signbit(value), std::signbit(c.value)) << c.text;
  }
}

TEST(JsonValuesTest, StringsAndBooleans) {
  std::string text;
  Read read_text = [&text](JsonInput in) { return read_string(in, text); };
  expect_both_roads(
      {
          {"1", "invalid type: integer `1`, expected a string at line 1 column 1"},
          {"null", "invalid type: null, expected a string at line 1 column 4"},
          {"{\"a\": 1}", "invalid type: map, expected a string at line 1 column 0"},
      },
      read_text);
  EXPECT_EQ(outcome("\"a\\nb\"", read_text), "ok");
  EXPECT_EQ(text, "a\nb");
  EXPECT_EQ(outcome("\"\"", read_text), "ok");
  EXPECT_EQ(text, "");

  bool flag = true;
  Read read_flag = [&flag](JsonInput in) { return read_bool(in, flag); };
  expect_both_roads(
      {
          {"1", "invalid type: integer `1`, expected a boolean at line 1 column 1"},
          {"\"true\"", "invalid type: string \"true\", expected a boolean at line 1 column 6"},
          {"null", "invalid type: null, expected a boolean at line 1 column 4"},
      },
      read_flag);
  EXPECT_EQ(outcome("false", read_flag), "ok");
  EXPECT_FALSE(flag);
}

TEST(JsonValuesTest, OptionalValues) {
  std::optional<double> value = 5.0;
  Read read = [&value](JsonInput in) { return read_optional(in, value, read_f64); };
  EXPECT_EQ(outcome(" null ", read), "ok");
  EXPECT_FALSE(value);
  EXPECT_EQ(outcome("7", read), "ok");
  EXPECT_EQ(value, 7.0);
  EXPECT_EQ(kept_outcome("null", read), "ok");
  EXPECT_FALSE(value);
  EXPECT_EQ(outcome("nul", read), "EOF while parsing a value at line 1 column 3");
  EXPECT_EQ(outcome("nulL", read), "invalid literal at line 1 column 4");
  // A value that was not finite is written `null` and so reads back absent.
  JsonWriter w;
  json_optional_double(w, std::numeric_limits<double>::infinity());
  std::string written = std::get<std::string>(json_finish(std::move(w)));
  EXPECT_EQ(written, "null");
  value = 1.0;
  EXPECT_EQ(outcome(written, read), "ok");
  EXPECT_FALSE(value);
  EXPECT_EQ(outcome("\"x\"", read), "invalid type: string \"x\", expected f64 at line 1 column 3");
}

TEST(JsonValuesTest, Lists) {
  std::vector<std::uint32_t> ids{9};
  Read read = [&ids](JsonInput in) { return read_list(in, ids, read_u32); };
  expect_both_roads(
      {
          {"[]", "ok"},
          {"[1, 2, 3]", "ok"},
          {"{}", "invalid type: map, expected a sequence at line 1 column 0"},
          {"7", "invalid type: integer `7`, expected a sequence at line 1 column 1"},
          {"[1, -2]", "invalid value: integer `-2`, expected u32 at line 1 column 6"},
          {"[1,\n 2.5]", "invalid type: floating point `2.5`, expected u32 at line 2 column 4"},
      },
      read);
  EXPECT_EQ(outcome("[4, 0, 4]", read), "ok");
  EXPECT_EQ(ids, (std::vector<std::uint32_t>{4, 0, 4}));
  EXPECT_EQ(outcome("[]", read), "ok");
  EXPECT_TRUE(ids.empty());
  EXPECT_EQ(outcome("[1, 2,]", read), "trailing comma at line 1 column 7");
}

// The root value is followed by nothing but white space.
TEST(JsonValuesTest, Documents) {
  std::uint32_t u32 = 0;
  EXPECT_EQ(outcome(" 5 \r\n\t", u32_reader(u32)), "ok");
  EXPECT_EQ(outcome("5 6", u32_reader(u32)), "trailing characters at line 1 column 3");
  EXPECT_EQ(outcome("5,", u32_reader(u32)), "trailing characters at line 1 column 2");
}

}  // namespace
}  // namespace ovm::ir
