#include "ir/json/json_text.hpp"

#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "json_test_support.hpp"

namespace ovm::ir {
namespace {

using testing::outcome;

JsonStatus keep_any(JsonInput in) {
  KeptValue value;
  return keep_value(*in.reader, &value);
}

struct TextCase {
  std::string text;
  std::string outcome;
};

void expect_outcomes(const std::vector<TextCase>& cases) {
  for (const TextCase& c : cases) EXPECT_EQ(outcome(c.text, keep_any), c.outcome) << c.text;
}

TEST(JsonTokensTest, WhitespaceIsSpaceTabLineFeedAndReturnOnly) {
  expect_outcomes({
      {" \t\r\n{ \"a\" :\t[ 1 ,\r\n2 ] } \n\t\r ", "ok"},
      {"", "EOF while parsing a value at line 1 column 0"},
      {"   ", "EOF while parsing a value at line 1 column 3"},
      {"\xEF\xBB\xBF{}", "expected value at line 1 column 1"},
      {"\f{}", "expected value at line 1 column 1"},
      {"{}\v", "trailing characters at line 1 column 3"},
      {"{} x", "trailing characters at line 1 column 4"},
      {"{}{}", "trailing characters at line 1 column 3"},
      {"{}\n\n  ]", "trailing characters at line 3 column 3"},
      // Runs of blanks as long as an indent, ending at the text's end or at any byte.
      {std::string(17, ' ') + "{}" + std::string(8, ' '), "ok"},
      {std::string(16, ' '), "EOF while parsing a value at line 1 column 16"},
      {"{}" + std::string(8, ' ') + "x", "trailing characters at line 1 column 11"},
      {"[\n" + std::string(9, ' ') + "1,\n" + std::string(24, ' ') + "]", "trailing comma at line 3 column 25"},
  });
}

TEST(JsonTokensTest, LiteralsAndWhatIsNoJson) {
  expect_outcomes({
      {"[null, true, false]", "ok"},
      {"[nul]", "invalid literal at line 1 column 5"},
      {"[tru]", "invalid literal at line 1 column 5"},
      {"[fals", "EOF while parsing a value at line 1 column 5"},
      {"[True]", "expected value at line 1 column 2"},
      {"[NaN]", "expected value at line 1 column 2"},
      {"[Infinity]", "expected value at line 1 column 2"},
      {"[-Infinity]", "invalid number at line 1 column 3"},
      {"['a']", "expected value at line 1 column 2"},
      {"{'a': 1}", "key must be a string at line 1 column 2"},
      {"// note\n{}", "expected value at line 1 column 1"},
      {"{} /* note */", "trailing characters at line 1 column 4"},
      {"{\"a\": 1 # note\n}", "expected `,` or `}` at line 1 column 9"},
  });
}

TEST(JsonTokensTest, Numbers) {
  expect_outcomes({
      {"[0, -0, 12, -3, 1.5, -0.25, 1e5, 1E+5, 2.5e-3, 1e-400]", "ok"},
      {"[01]", "invalid number at line 1 column 3"},
      {"[-01]", "invalid number at line 1 column 4"},
      {"[1.]", "invalid number at line 1 column 4"},
      {"[.5]", "expected value at line 1 column 2"},
      {"[1e]", "invalid number at line 1 column 4"},
      {"[1e+]", "invalid number at line 1 column 5"},
      {"[+1]", "expected value at line 1 column 2"},
      {"[-]", "invalid number at line 1 column 3"},
      {"[0x10]", "expected `,` or `]` at line 1 column 3"},
      {"[1e400]", "number out of range at line 1 column 6"},
      {"[-1e400]", "number out of range at line 1 column 7"},
      {"[1" + std::string(400, '0') + "]", "number out of range at line 1 column 402"},
  });
}

TEST(JsonTokensTest, NumberKindsAndValues) {
  KeptValue list = testing::keep("[12, -3, -0, 1.0, 1e2, 18446744073709551615, 18446744073709551616, 1e-400, -1e-400]");
  ASSERT_EQ(list.elements.size(), 9u);
  const std::vector<KeptValue>& e = list.elements;
  EXPECT_EQ(e[0].kind, JsonKind::Unsigned);
  EXPECT_EQ(e[0].number.magnitude, 12u);
  EXPECT_EQ(e[1].kind, JsonKind::Negative);
  EXPECT_EQ(e[1].number.value, -3.0);
  EXPECT_EQ(e[2].kind, JsonKind::Negative);
  EXPECT_TRUE(std::signbit(e[2].number.value));
  EXPECT_EQ(e[3].kind, JsonKind::Float);
  EXPECT_EQ(e[4].kind, JsonKind::Float);
  EXPECT_EQ(e[4].number.value, 100.0);
  EXPECT_TRUE(e[5].number.fits);
  EXPECT_EQ(e[5].number.magnitude, 18446744073709551615u);
  EXPECT_EQ(e[6].kind, JsonKind::Unsigned);
  EXPECT_FALSE(e[6].number.fits);
  EXPECT_EQ(e[6].number.value, 18446744073709551616.0);
  EXPECT_EQ(e[7].number.value, 0.0);
  EXPECT_FALSE(std::signbit(e[7].number.value));
  EXPECT_TRUE(std::signbit(e[8].number.value));
  EXPECT_EQ(e[8].number.text, "-1e-400");
}

// Integers up to 2^53 are doubles as they are; past it they round to the nearest, ties to even.
TEST(JsonTokensTest, LargeIntegersRoundToTheNearestDouble) {
  KeptValue list = testing::keep("[9007199254740992, 9007199254740993, -9007199254740995, 123456789012345678]");
  ASSERT_EQ(list.elements.size(), 4u);
  EXPECT_EQ(list.elements[0].number.value, 9007199254740992.0);
  EXPECT_EQ(list.elements[1].number.value, 9007199254740992.0);
  EXPECT_EQ(list.elements[2].number.value, -9007199254740996.0);
  EXPECT_EQ(list.elements[3].number.value, 123456789012345680.0);
  EXPECT_EQ(list.elements[3].number.magnitude, 123456789012345678u);
}

// Decimals read as the nearest double, as a full parse gives it: many digits, few, and many
// after the point, of either sign.
TEST(JsonTokensTest, DecimalsReadAsTheNearestDouble) {
  std::mt19937_64 random(20261211);
  for (int i = 0; i < 20000; ++i) {
    std::uint64_t digits = random() >> (i % 60);
    int scale = static_cast<int>(random() % 30);
    std::string text = std::to_string(digits);
    if (static_cast<int>(text.size()) <= scale) text.insert(0, static_cast<std::size_t>(scale) - text.size() + 1, '0');
    text.insert(text.size() - static_cast<std::size_t>(scale), ".");
    if (text.back() == '.') text += '0';
    if (i % 2 == 1) text.insert(0, "-");
    double expected = 0;
    std::from_chars(text.data(), text.data() + text.size(), expected);
    KeptValue list = testing::keep("[" + text + "]");
    ASSERT_EQ(list.elements.size(), 1u);
    ASSERT_EQ(std::memcmp(&list.elements[0].number.value, &expected, sizeof expected), 0) << text;
  }
}

TEST(JsonTokensTest, Strings) {
  expect_outcomes({
      {"[\"\\\" \\\\ \\/ \\b \\f \\n \\r \\t \\u00e9 \\ud83d\\ude00\"]", "ok"},
      {"[\"a\\x\"]", "invalid escape at line 1 column 5"},
      {"[\"\\u12G4\"]", "invalid \\u escape at line 1 column 7"},
      {"[\"\\uD800\"]", "unpaired surrogate in \\u escape at line 1 column 9"},
      {"[\"\\uDC00\"]", "unpaired surrogate in \\u escape at line 1 column 8"},
      {"[\"\\uD800\\u0041\"]", "unpaired surrogate in \\u escape at line 1 column 14"},
      {"[\"a\tb\"]", "control character in string at line 1 column 4"},
      {"[\"a\nb\"]", "control character in string at line 2 column 0"},
      {"[\"abc", "EOF while parsing a string at line 1 column 5"},
      {"[\"abc\\", "EOF while parsing a string at line 1 column 6"},
  });
}

// Runs of plain bytes are taken eight at a time: a quote, an escape or a control character
// ends them at any place, and bytes beyond ASCII are plain.
TEST(JsonTokensTest, StringsEndAtTheirFirstSpecialByteWhereverItIs) {
  for (std::size_t length = 0; length < 20; ++length) {
    std::string plain = std::string(length, 'a') + "\xC3\xA9" + std::string(length % 7, 'b');
    KeptValue list = testing::keep("[\"" + plain + "\\n" + plain + "\", \"" + plain + "\"]");
    ASSERT_EQ(list.elements.size(), 2u);
    EXPECT_EQ(list.elements[0].text, plain + "\n" + plain);
    EXPECT_EQ(list.elements[1].text, plain);
    EXPECT_EQ(outcome("[\"" + plain + "\x01\"]", keep_any),
              "control character in string at line 1 column " + std::to_string(plain.size() + 3));
  }
}

TEST(JsonTokensTest, StringsAreUnescaped) {
  KeptValue list = testing::keep("[\"\\\"\\\\\\/\\b\\f\\n\\r\\t\", \"\\u00e9\\u20AC\", \"\\ud83d\\ude00\", \"\\u0000\", \"\xC3\xA9\"]");
  ASSERT_EQ(list.elements.size(), 5u);
  EXPECT_EQ(list.elements[0].text, "\"\\/\b\f\n\r\t");
  EXPECT_EQ(list.elements[1].text, "\xC3\xA9\xE2\x82\xAC");
  EXPECT_EQ(list.elements[2].text, "\xF0\x9F\x98\x80");
  EXPECT_EQ(list.elements[3].text, std::string(1, '\0'));
  EXPECT_EQ(list.elements[4].text, "\xC3\xA9");
}

TEST(JsonTokensTest, Structure) {
  expect_outcomes({
      {"[1,]", "trailing comma at line 1 column 4"},
      {"{\"a\":1,}", "trailing comma at line 1 column 8"},
      {"[1 2]", "expected `,` or `]` at line 1 column 4"},
      {"{\"a\" 1}", "expected `:` at line 1 column 6"},
      {"{\"a\":1 \"b\":2}", "expected `,` or `}` at line 1 column 8"},
      {"{1:2}", "key must be a string at line 1 column 2"},
      {"[,1]", "expected value at line 1 column 2"},
      {"[1", "EOF while parsing a list at line 1 column 2"},
      {"{", "EOF while parsing an object at line 1 column 1"},
      {"{\"a\"", "EOF while parsing an object at line 1 column 4"},
      {"{\"a\":", "EOF while parsing a value at line 1 column 5"},
      {"]", "expected value at line 1 column 1"},
      {"{\n  \"a\": [1,\n    2,,\n  ]\n}", "expected value at line 3 column 7"},
  });
}

// A kept object holds its members in text order, a repeated key as often as it came.
TEST(JsonTokensTest, KeptObjectsKeepOrderAndRepeats) {
  KeptValue object = testing::keep("{\"b\": 1, \"a\": [true, null], \"b\": {\"c\": \"d\"}}");
  ASSERT_EQ(object.kind, JsonKind::Object);
  ASSERT_EQ(object.members.size(), 3u);
  EXPECT_EQ(object.members[0].key, "b");
  EXPECT_EQ(object.members[1].key, "a");
  EXPECT_EQ(object.members[2].key, "b");
  ASSERT_EQ(object.members[1].value.elements.size(), 2u);
  EXPECT_EQ(object.members[1].value.elements[0].kind, JsonKind::Boolean);
  EXPECT_TRUE(object.members[1].value.elements[0].boolean);
  EXPECT_EQ(object.members[1].value.elements[1].kind, JsonKind::Null);
  EXPECT_EQ(object.members[2].value.members.at(0).value.text, "d");
}

std::string nested_arrays(int depth) { return std::string(depth, '[') + std::string(depth, ']'); }

// 127 arrays and objects may be open at once; the 128th opening bracket is refused.
TEST(JsonTokensTest, NestingBudget) {
  EXPECT_EQ(outcome(nested_arrays(127), keep_any), "ok");
  EXPECT_EQ(outcome(nested_arrays(128), keep_any), "recursion limit exceeded at line 1 column 128");
  std::string objects;
  for (int i = 0; i < 128; ++i) objects += "{\"a\":";
  objects += "1" + std::string(128, '}');
  EXPECT_EQ(outcome(objects, keep_any), "recursion limit exceeded at line 1 column 636");
  // What closes gives its level back.
  std::string siblings = "[" + nested_arrays(126) + "," + nested_arrays(126) + "]";
  EXPECT_EQ(outcome(siblings, keep_any), "ok");
}

// Names of every length up to past the word-wise compare are the same only when every byte
// is: a name differs from one with any one byte changed, and from its own prefixes.
TEST(JsonNamesTest, SameOnlyWhenEveryByteIs) {
  const std::string text = "abcdefghijklmnopqrstuvwxyz0123456789";
  for (std::size_t n = 0; n <= 24; ++n) {
    std::string name = text.substr(0, n);
    std::string copy = name;
    EXPECT_TRUE(same_name(name, copy)) << name;
    if (n > 0) {
      EXPECT_FALSE(same_name(name, std::string_view(copy).substr(0, n - 1))) << name;
    }
    for (std::size_t i = 0; i < n; ++i) {
      std::string changed = name;
      changed[i] = '_';
      EXPECT_FALSE(same_name(name, changed)) << name << " / " << changed;
    }
  }
}

TEST(JsonErrorTest, DisplayText) {
  EXPECT_EQ(json_error_text(JsonError{"duplicate field `species`", 40, 11}),
            "duplicate field `species` at line 40 column 11");
}

TEST(JsonErrorTest, NameLists) {
  std::vector<std::string_view> one{"negate"};
  std::vector<std::string_view> two{"volume", "mass"};
  std::vector<std::string_view> three{"constant", "law", "table"};
  EXPECT_EQ(json_name_list(one), "`negate`");
  EXPECT_EQ(json_name_list(two), "`volume` or `mass`");
  EXPECT_EQ(json_name_list(three), "one of `constant`, `law`, `table`");
  EXPECT_EQ(unknown_variant_message("epsilon", three), "unknown variant `epsilon`, expected one of `constant`, `law`, `table`");
  EXPECT_EQ(with_elements_text("struct Kinetics", 1), "struct Kinetics with 1 element");
  EXPECT_EQ(with_elements_text("struct Provenance", 5), "struct Provenance with 5 elements");
  EXPECT_EQ(elements_in_sequence_text(1), "1 element in sequence");
  EXPECT_EQ(elements_in_sequence_text(0), "0 elements in sequence");
}

}  // namespace
}  // namespace ovm::ir
