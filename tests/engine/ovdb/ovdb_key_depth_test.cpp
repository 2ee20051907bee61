#include "engine/ovdb/ovdb_key_depth.hpp"

#include <gtest/gtest.h>

#include <string>

namespace ovm::engine {
namespace {

// `count` dotted parts after a first `a`, joined by `separator`.
std::string dotted(int count, const std::string& part = "a", const std::string& separator = ".") {
  std::string key = part;
  for (int i = 0; i < count; ++i) key += separator + part;
  return key;
}

TEST(ExcessiveKeyDepthTest, CountsOnlyKeyDotsOfOneStatement) {
  const int limit = max_key_dots_per_statement;
  struct Case {
    std::string text;
    bool refused;
  };
  const Case cases[] = {
      {dotted(limit) + " = 1\n", false},
      {dotted(limit + 1) + " = 1\n", true},
      {"[" + dotted(limit + 1) + "]\n", true},
      {"[[" + dotted(limit + 1) + "]]\n", true},
      {dotted(limit + 1, "\"a\"") + " = 1\n", true},
      {dotted(limit + 1, "'a'", " . ") + " = 1\n", true},
      {dotted(limit + 2, "1") + " = 1\n", true},  // digits form keys too, beyond one decimal point
      {"x = {" + dotted(limit + 1) + " = 1}\n", true},
      {"x = [\n" + dotted(limit, "{a.a = 1}", ",\n") + ",\n{a.a = 1}]\n", true},  // open bracket
      // Statements are counted apart, and the dots of numbers, dates, strings and comments not at all.
      {dotted(limit, dotted(1) + " = 1.5", "\n") + "\n", false},
      {"x = [" + dotted(limit + 1, "1.5", ", ") + "]\n", false},
      {"t = 1979-05-27T00:32:00.999999-07:00\nu = 1979-05-27 00:32:00.5\nv = -3.0e-2\n", false},
      {"s = \"" + dotted(limit + 1) + "\"\n", false},
      {"s = '" + dotted(limit + 1) + "'\n", false},
      {"s = \"\"\"\n" + dotted(limit + 1) + "\n\"\"\"\n", false},
      {"s = '''" + dotted(limit + 1) + "'''''\n", false},
      {"s = \"\\\"" + dotted(limit + 1) + "\"\n", false},
      {"# " + dotted(limit + 1) + "\n", false},
      {"s = \"\"\"a\"\"\"\"\"\n" + dotted(limit + 1) + " = 1\n", true},  // content quotes end the string
  };
  for (const Case& c : cases) {
    EXPECT_EQ(excessive_key_depth(c.text).has_value(), c.refused) << c.text.substr(0, 80);
  }
}

TEST(ExcessiveKeyDepthTest, NamesTheLineAndColumnOfTheDotTooMany) {
  std::string text = "[database]\nname = \"x\"\n" + dotted(max_key_dots_per_statement + 1) + " = 1\n";
  EXPECT_EQ(excessive_key_depth(text),
            "key nested deeper than 257 parts at line 3, column " + std::to_string(2 * 257));
}

}  // namespace
}  // namespace ovm::engine
