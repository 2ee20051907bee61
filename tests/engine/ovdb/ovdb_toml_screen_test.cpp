#include "engine/ovdb/ovdb_toml_screen.hpp"

#include <gtest/gtest.h>

#include <string>
#include <variant>

namespace ovm::engine {
namespace {

std::string refusal(std::string_view text) {
  auto screened = screen_toml_text(text);
  const auto* error = std::get_if<TomlTextError>(&screened);
  return error == nullptr ? "(passed)" : error->message;
}

std::string passed(std::string_view text) {
  auto screened = screen_toml_text(text);
  const auto* kept = std::get_if<std::string>(&screened);
  return kept == nullptr ? "(refused: " + std::get<TomlTextError>(screened).message + ")" : *kept;
}

const std::string outside = "Error while parsing document: expected ASCII outside strings and comments, saw '";
const std::string after_backslash =
    "Error while parsing string: expected an escape sequence or a line ending after a backslash, saw '";

// Each of these reached undefined behaviour in the TOML parser's white-space tables.
TEST(ScreenTomlTextTest, CharactersBeyondAsciiOutsideStringsAreParseErrors) {
  struct Case {
    std::string text;
    std::string message;
  };
  const Case cases[] = {
      {"\xC4\x84", outside + "\xC4\x84' at line 1, column 1"},
      {"[[standard]]\n\xC3\xA9 = 1\n", outside + "\xC3\xA9' at line 2, column 1"},
      // The first and last character of each range the parser's table mishandles.
      {"a = \xC2\xA1", outside + "\xC2\xA1' at line 1, column 5"},
      {"a = \xD2\x99", outside + "\xD2\x99' at line 1, column 5"},
      {"a = 1\xE2\xB1\x9E", outside + "\xE2\xB1\x9E' at line 1, column 6"},
      {"a = 1 \xE3\x81\x97", outside + "\xE3\x81\x97' at line 1, column 7"},
      {"[a\xEF\xAC\xA6]", outside + "\xEF\xAC\xA6' at line 1, column 3"},
      {"a = [1, \xEF\xBB\xBE]", outside + "\xEF\xBB\xBE' at line 1, column 9"},
      // Columns count characters, as the parser counts them, after strings and comments.
      {"# \xC3\xA9\xC3\xA9\na = \"\xC3\xA9\xC3\xA9\" \xC4\x84", outside + "\xC4\x84' at line 2, column 10"},
      {"a = 'x' # ok\nb.\xC4\x84 = 1", outside + "\xC4\x84' at line 2, column 3"},
      {"a = \"open\n\xC4\x84 = 1", outside + "\xC4\x84' at line 2, column 1"},  // a string ends at its line
      {"\xEF\xBB\xBF\xEF\xBB\xBF", outside + "\xEF\xBB\xBF' at line 1, column 2"},  // only one mark opens
      // A bare value is read to its end, over quotes, before its kind is known.
      {"a =2\"x\xEF\xBB\x9F\"", outside + "\xEF\xBB\x9F' at line 1, column 7"},
      {"a = 1979-05-27'\xC4\x84'", outside + "\xC4\x84' at line 1, column 16"},
      {"a = [\"x\", 1\"\xC4\x84\"]", outside + "\xC4\x84' at line 1, column 13"},
      {"a = {b = 0x1\"\xC4\x84\"}", outside + "\xC4\x84' at line 1, column 14"},
      {"a = [{b = [2\"\xC4\x84\"]}]", outside + "\xC4\x84' at line 1, column 14"},
      // After a backslash of a multi-line basic string the parser looks for white space too.
      {"a = \"\"\"\\\xC4\x84\"\"\"", after_backslash + "\xC4\x84' at line 1, column 9"},
      {"a = \"\"\"x\\  \xC3\xA9\"\"\"", after_backslash + "\xC3\xA9' at line 1, column 12"},
  };
  for (const Case& c : cases) EXPECT_EQ(refusal(c.text), c.message) << c.text;
}

TEST(ScreenTomlTextTest, StringsAndCommentsPassUnchanged) {
  const std::string texts[] = {
      "name = \"caf\xC3\xA9 \xC4\x84\"\n",
      "name = 'caf\xC3\xA9 # \xC4\x84'\n",
      "\"\xC3\xA9\" = 1\n'\xC4\x84'.b = 2\n",
      "a = '''\n\xC4\x84\\\n\xC3\xA9'''\n",
      "a = \"\"\"\xC4\x84 \"\" \xC3\xA9\"\"\"\n",
      "a = \"\"\"\\\\\n\xC3\xA9\"\"\"\n",  // an escaped backslash ends no line
      "a = \"\\\xC3\xA9\"\n",             // a one-line string: the parser reports the escape itself
      "# \xC4\x84 \"\n[t] # \xE3\x81\x97\n",
      "\xEF\xBB\xBF[database]\n",
      // Keys, array elements, inline tables and table headers open strings as values do.
      "a.\"\xC3\xA9\" = 1\n1.'\xC4\x84' = 2\n[x.\"\xC3\xA9\"]\n[[y.'\xC4\x84']]\n",
      "a = [ 1, \"\xC3\xA9\",\n  '\xC4\x84' ]\nb = {\"\xC3\xA9\" = \"\xC4\x84\", c = [2, '\xC3\xA9']}\n",
      "a = 2 # \xC3\xA9\nb = 1979-05-27 07:32:00\nc = \"\xC4\x84\"\n",
  };
  for (const std::string& text : texts) EXPECT_EQ(passed(text), text);
}

// A line-ending backslash trims the white space and line ends after it; the character that
// ends the trim reads the same as its escape.
TEST(ScreenTomlTextTest, CharacterAfterALineEndingBackslashIsEscaped) {
  EXPECT_EQ(passed("a = \"\"\"x\\\n   \xC3\xA9t\"\"\""), "a = \"\"\"x\\\n   \\u00E9t\"\"\"");
  EXPECT_EQ(passed("a = \"\"\"\\  \r\n\n\t\xE2\xB1\x9E\\\n\xF0\x9F\x98\x80\"\"\""),
            "a = \"\"\"\\  \r\n\n\t\\u2C5E\\\n\\U0001F600\"\"\"");
}

}  // namespace
}  // namespace ovm::engine
