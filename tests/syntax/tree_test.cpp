#include "syntax/tree.hpp"

#include <gtest/gtest.h>

#include "syntax/token.hpp"

namespace ovm::syntax {
namespace {

using Kind = StatementKey::Kind;

TEST(StatementKeyTest, DebugTextNamesTheVariantAndQuotesTheText) {
  EXPECT_EQ((StatementKey{Kind::Word, "volume"}.debug_text()), "Word(\"volume\")");
  EXPECT_EQ((StatementKey{Kind::Word, "18O"}.debug_text()), "Word(\"18O\")");
  EXPECT_EQ((StatementKey{Kind::Species, "Cr(VI)"}.debug_text()), "Species(\"Cr(VI)\")");
  EXPECT_EQ((StatementKey{Kind::Delta, "delta53Cr"}.debug_text()), "Delta(\"delta53Cr\")");
  EXPECT_EQ((StatementKey{Kind::Word, "\xC2\xB5g"}.debug_text()), "Word(\"\xC2\xB5g\")");
}

TEST(StatementKeyTest, DebugTextEscapesQuotesBackslashesAndControls) {
  EXPECT_EQ((StatementKey{Kind::Word, "a\"b\\c"}.debug_text()), "Word(\"a\\\"b\\\\c\")");
  EXPECT_EQ((StatementKey{Kind::Word, "\t\n\r"}.debug_text()), "Word(\"\\t\\n\\r\")");
  EXPECT_EQ((StatementKey{Kind::Word, "\x1b\x7f"}.debug_text()), "Word(\"\\u{1b}\\u{7f}\")");
  EXPECT_EQ((StatementKey{Kind::Word, std::string(1, '\0')}.debug_text()), "Word(\"\\0\")");
}

TEST(DisplayTextTest, ValueKindsAndOperators) {
  const std::vector<std::string_view> kinds = {"identifier", "chemical species", "delta symbol", "isotope ratio",
                                               "number",     "string",           "date",         "qualified name",
                                               "unreadable value"};
  for (std::size_t i = 0; i < kinds.size(); ++i) EXPECT_EQ(display_name(static_cast<ValueKind>(i)), kinds[i]);

  const std::vector<std::string_view> binary = {"+", "-", "*", "/", "^"};
  for (std::size_t i = 0; i < binary.size(); ++i) EXPECT_EQ(as_str(static_cast<SyntaxBinaryOp>(i)), binary[i]);

  const std::vector<std::string_view> compare = {"<", "<=", ">", ">=", "==", "!="};
  for (std::size_t i = 0; i < compare.size(); ++i) EXPECT_EQ(as_str(static_cast<CompareOp>(i)), compare[i]);
}

TEST(DisplayTextTest, TokenKinds) {
  const std::vector<std::string_view> names = {
      "identifier", "chemical species", "number", "string", "isotope ratio", "delta symbol", "date",
      "`=`",        "`+`",              "`-`",    "`*`",    "`/`",           "`^`",          "`<`",
      "`<=`",       "`>`",              "`>=`",   "`==`",   "`!=`",          "`(`",          "`)`",
      "`[`",        "`]`",              "`,`",    "`.`",    "comment",       "end of line",  "end of file",
      "unrecognised input"};
  ASSERT_EQ(names.size(), token_kind_count);
  for (std::size_t i = 0; i < names.size(); ++i) EXPECT_EQ(display_name(static_cast<TokenKind>(i)), names[i]) << i;
}

}  // namespace
}  // namespace ovm::syntax
