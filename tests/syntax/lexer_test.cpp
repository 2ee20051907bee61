#include "syntax/lexer.hpp"

#include <gtest/gtest.h>

#include "tree_text.hpp"

namespace ovm::syntax {
namespace {

using K = TokenKind;
using testing::Reported;

struct Lexeme {
  TokenKind kind;
  std::string text;

  friend bool operator==(const Lexeme&, const Lexeme&) = default;
};

void PrintTo(const Lexeme& l, std::ostream* os) { *os << display_name(l.kind) << " '" << l.text << "'"; }

// Every token but the closing end of file, as kind and text.
std::vector<Lexeme> lexemes(std::string_view text) {
  LexOutput out = lex(text, 0);
  EXPECT_EQ(out.tokens.back().kind, K::EndOfFile);
  std::vector<Lexeme> result;
  for (std::size_t i = 0; i + 1 < out.tokens.size(); ++i) {
    result.push_back(Lexeme{out.tokens[i].kind, std::string(out.tokens[i].text(text))});
  }
  return result;
}

struct TokenCase {
  const char* name;
  std::string text;
  std::vector<Lexeme> expected;
};

class LexemeTest : public ::testing::TestWithParam<TokenCase> {};

TEST_P(LexemeTest, SplitsAsExpected) {
  EXPECT_EQ(lexemes(GetParam().text), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Species, LexemeTest,
    ::testing::Values(
        TokenCase{"oxidation_state", "Cr(VI)", {{K::Species, "Cr(VI)"}}},
        TokenCase{"charge", "Ca+2", {{K::Species, "Ca+2"}}},
        TokenCase{"group_then_digits", "Fe(OH)3", {{K::Species, "Fe(OH)3"}}},
        TokenCase{"negative_charge", "SO4-2", {{K::Species, "SO4-2"}}},
        TokenCase{"repeated_sign", "Ca++", {{K::Species, "Ca++"}}},
        TokenCase{"sign_then_group", "Ca+(aq)", {{K::Species, "Ca+(aq)"}}},
        TokenCase{"empty_group", "X()", {{K::Species, "X()"}}},
        TokenCase{"plain_formula_stays_identifier", "H2O", {{K::Identifier, "H2O"}}},
        TokenCase{"upper_name_against_minus", "T-1", {{K::Species, "T-1"}}},
        TokenCase{"spaced_minus", "T - 1", {{K::Identifier, "T"}, {K::Minus, "-"}, {K::Number, "1"}}},
        TokenCase{"unclosed_group_ends_name", "Cr(VI", {{K::Identifier, "Cr"}, {K::LeftParen, "("}, {K::Identifier, "VI"}}},
        TokenCase{"group_with_blank",
                  "Cr(V I)",
                  {{K::Identifier, "Cr"}, {K::LeftParen, "("}, {K::Identifier, "V"}, {K::Identifier, "I"}, {K::RightParen, ")"}}},
        TokenCase{"species_keeps_taken_group_before_failed_one",
                  "Cr(VI)(x",
                  {{K::Species, "Cr(VI)"}, {K::LeftParen, "("}, {K::Identifier, "x"}}},
        TokenCase{"lower_case_start_is_no_species", "ca+2", {{K::Identifier, "ca"}, {K::Plus, "+"}, {K::Number, "2"}}},
        TokenCase{"underscore_start", "_x1", {{K::Identifier, "_x1"}}}),
    [](const auto& info) { return std::string(info.param.name); });

INSTANTIATE_TEST_SUITE_P(
    Deltas, LexemeTest,
    ::testing::Values(
        TokenCase{"two_letter_element", "delta53Cr", {{K::Delta, "delta53Cr"}}},
        TokenCase{"one_letter_element", "delta18O", {{K::Delta, "delta18O"}}},
        TokenCase{"one_digit", "delta7Li", {{K::Delta, "delta7Li"}}},
        TokenCase{"bare_word", "delta", {{K::Identifier, "delta"}}},
        TokenCase{"no_element", "delta53", {{K::Identifier, "delta53"}}},
        TokenCase{"lower_case_element", "delta53cr", {{K::Identifier, "delta53cr"}}},
        TokenCase{"four_digits", "delta1234Cr", {{K::Identifier, "delta1234Cr"}}},
        TokenCase{"capital_d", "Delta53Cr", {{K::Identifier, "Delta53Cr"}}},
        TokenCase{"trailing_digit", "delta53Cr2", {{K::Identifier, "delta53Cr2"}}},
        TokenCase{"delta_then_slash",
                  "delta53Cr/52Cr",
                  {{K::Delta, "delta53Cr"}, {K::Slash, "/"}, {K::Number, "52"}, {K::Identifier, "Cr"}}}),
    [](const auto& info) { return std::string(info.param.name); });

INSTANTIATE_TEST_SUITE_P(
    RatiosDatesNumbers, LexemeTest,
    ::testing::Values(
        TokenCase{"ratio", "53Cr/52Cr", {{K::Ratio, "53Cr/52Cr"}}},
        TokenCase{"one_letter_ratio", "18O/16O", {{K::Ratio, "18O/16O"}}},
        TokenCase{"ratio_before_paren", "53Cr/52Cr(", {{K::Ratio, "53Cr/52Cr"}, {K::LeftParen, "("}}},
        TokenCase{"ratio_followed_by_name_byte",
                  "53Cr/52Cr_x",
                  {{K::Number, "53"}, {K::Identifier, "Cr"}, {K::Slash, "/"}, {K::Number, "52"}, {K::Identifier, "Cr_x"}}},
        TokenCase{"four_digit_mass",
                  "1234Cr/52Cr",
                  {{K::Number, "1234"}, {K::Identifier, "Cr"}, {K::Slash, "/"}, {K::Number, "52"}, {K::Identifier, "Cr"}}},
        TokenCase{"isotope_alone", "53Cr", {{K::Number, "53"}, {K::Identifier, "Cr"}}},
        TokenCase{"date", "2024-01-15", {{K::Date, "2024-01-15"}}},
        TokenCase{"date_then_space", "2024-01-15 x", {{K::Date, "2024-01-15"}, {K::Identifier, "x"}}},
        TokenCase{"date_followed_by_letter",
                  "2024-01-15T",
                  {{K::Number, "2024"}, {K::Minus, "-"}, {K::Number, "01"}, {K::Minus, "-"}, {K::Number, "15"}, {K::Identifier, "T"}}},
        TokenCase{"date_followed_by_minus",
                  "2024-01-15-",
                  {{K::Number, "2024"}, {K::Minus, "-"}, {K::Number, "01"}, {K::Minus, "-"}, {K::Number, "15"}, {K::Minus, "-"}}},
        TokenCase{"five_digit_year",
                  "12024-01-15",
                  {{K::Number, "12024"}, {K::Minus, "-"}, {K::Number, "01"}, {K::Minus, "-"}, {K::Number, "15"}}},
        TokenCase{"half_date", "2024-01", {{K::Number, "2024"}, {K::Minus, "-"}, {K::Number, "01"}}},
        TokenCase{"exponent_with_minus", "1e-6", {{K::Number, "1e-6"}}},
        TokenCase{"fraction", "0.25", {{K::Number, "0.25"}}},
        TokenCase{"exponent_with_plus", "2E+10", {{K::Number, "2E+10"}}},
        TokenCase{"integer", "7", {{K::Number, "7"}}},
        TokenCase{"bare_e", "1e", {{K::Number, "1"}, {K::Identifier, "e"}}},
        TokenCase{"e_and_sign_without_digit", "1e+", {{K::Number, "1"}, {K::Identifier, "e"}, {K::Plus, "+"}}},
        TokenCase{"point_without_digit", "1.", {{K::Number, "1"}, {K::Dot, "."}}},
        TokenCase{"leading_point", ".5", {{K::Dot, "."}, {K::Number, "5"}}},
        TokenCase{"minus_is_its_own_token", "-3", {{K::Minus, "-"}, {K::Number, "3"}}}),
    [](const auto& info) { return std::string(info.param.name); });

// What follows the run of a name or of digits decides between the shortcut and the full scan.
INSTANTIATE_TEST_SUITE_P(
    RunEnds, LexemeTest,
    ::testing::Values(
        TokenCase{"upper_name_before_bracket", "Cr)", {{K::Identifier, "Cr"}, {K::RightParen, ")"}}},
        TokenCase{"upper_name_before_comma", "Gw,x", {{K::Identifier, "Gw"}, {K::Comma, ","}, {K::Identifier, "x"}}},
        TokenCase{"upper_name_before_dot", "Gw.Cr(VI)", {{K::Identifier, "Gw"}, {K::Dot, "."}, {K::Species, "Cr(VI)"}}},
        TokenCase{"upper_name_before_minus_at_end", "T-", {{K::Species, "T-"}}},
        TokenCase{"d_word", "d2 d", {{K::Identifier, "d2"}, {K::Identifier, "d"}}},
        TokenCase{"digits_before_lower_letter", "12d", {{K::Number, "12"}, {K::Identifier, "d"}}},
        TokenCase{"digits_before_operator", "12*3", {{K::Number, "12"}, {K::Star, "*"}, {K::Number, "3"}}},
        TokenCase{"digits_before_paren", "(12)", {{K::LeftParen, "("}, {K::Number, "12"}, {K::RightParen, ")"}}},
        TokenCase{"digits_before_minus", "12-3", {{K::Number, "12"}, {K::Minus, "-"}, {K::Number, "3"}}},
        TokenCase{"digits_before_upper_letter", "12X", {{K::Number, "12"}, {K::Identifier, "X"}}},
        TokenCase{"spaces_between", "a  b\t c", {{K::Identifier, "a"}, {K::Identifier, "b"}, {K::Identifier, "c"}}}),
    [](const auto& info) { return std::string(info.param.name); });

INSTANTIATE_TEST_SUITE_P(
    OperatorsStringsComments, LexemeTest,
    ::testing::Values(
        TokenCase{"comparisons",
                  "= == < <= > >= !=",
                  {{K::Assign, "="},
                   {K::EqualEqual, "=="},
                   {K::Less, "<"},
                   {K::LessEqual, "<="},
                   {K::Greater, ">"},
                   {K::GreaterEqual, ">="},
                   {K::NotEqual, "!="}}},
        TokenCase{"single_bytes",
                  "+-*/^()[],.",
                  {{K::Plus, "+"},
                   {K::Minus, "-"},
                   {K::Star, "*"},
                   {K::Slash, "/"},
                   {K::Caret, "^"},
                   {K::LeftParen, "("},
                   {K::RightParen, ")"},
                   {K::LeftBracket, "["},
                   {K::RightBracket, "]"},
                   {K::Comma, ","},
                   {K::Dot, "."}}},
        TokenCase{"triple_equals", "===", {{K::EqualEqual, "=="}, {K::Assign, "="}}},
        TokenCase{"string", "\"ab\"", {{K::String, "\"ab\""}}},
        TokenCase{"backslash_is_ordinary", "\"a\\\" b", {{K::String, "\"a\\\""}, {K::Identifier, "b"}}},
        TokenCase{"non_ascii_inside_string", "\"\xCE\xB4 \xE2\x82\xAC\"", {{K::String, "\"\xCE\xB4 \xE2\x82\xAC\""}}},
        TokenCase{"comment_to_line_end",
                  "x # note \xCE\xB4\ny",
                  {{K::Identifier, "x"}, {K::Comment, "# note \xCE\xB4"}, {K::EndOfLine, "\n"}, {K::Identifier, "y"}}},
        TokenCase{"comment_to_text_end", "#", {{K::Comment, "#"}}},
        TokenCase{"micro_sign_name", "\xC2\xB5g/L", {{K::Identifier, "\xC2\xB5g"}, {K::Slash, "/"}, {K::Identifier, "L"}}},
        TokenCase{"per_mille_sign_alone", "\xE2\x80\xB0", {{K::Identifier, "\xE2\x80\xB0"}}},
        TokenCase{"tab_and_cr_are_blanks", "a\t\rb\r\n", {{K::Identifier, "a"}, {K::Identifier, "b"}, {K::EndOfLine, "\n"}}}),
    [](const auto& info) { return std::string(info.param.name); });

struct LexDiagnosticCase {
  const char* name;
  std::string text;
  std::vector<Lexeme> tokens;
  std::vector<Reported> diagnostics;
};

class LexDiagnosticTest : public ::testing::TestWithParam<LexDiagnosticCase> {};

TEST_P(LexDiagnosticTest, ReportsAndGoesOn) {
  const LexDiagnosticCase& c = GetParam();
  EXPECT_EQ(lexemes(c.text), c.tokens);
  EXPECT_EQ(testing::reported(lex(c.text, 0).diagnostics), c.diagnostics);
}

constexpr const char* unexpected = "unexpected character";
constexpr const char* unclosed = "string is never closed";
constexpr const char* non_ascii = "non-ascii character outside an accepted position";

INSTANTIATE_TEST_SUITE_P(
    Cases, LexDiagnosticTest,
    ::testing::Values(
        LexDiagnosticCase{"semicolon",
                          "a;b",
                          {{K::Identifier, "a"}, {K::Unrecognised, ";"}, {K::Identifier, "b"}},
                          {{"OV001", 1, 2, unexpected}}},
        LexDiagnosticCase{"form_feed", "\f", {{K::Unrecognised, "\f"}}, {{"OV001", 0, 1, unexpected}}},
        LexDiagnosticCase{"lone_bang", "!x", {{K::Unrecognised, "!"}, {K::Identifier, "x"}}, {{"OV001", 0, 1, unexpected}}},
        LexDiagnosticCase{"several_ascii_bytes",
                          "@$`{:",
                          {{K::Unrecognised, "@"}, {K::Unrecognised, "$"}, {K::Unrecognised, "`"}, {K::Unrecognised, "{"}, {K::Unrecognised, ":"}},
                          {{"OV001", 0, 1, unexpected},
                           {"OV001", 1, 2, unexpected},
                           {"OV001", 2, 3, unexpected},
                           {"OV001", 3, 4, unexpected},
                           {"OV001", 4, 5, unexpected}}},
        LexDiagnosticCase{"string_unclosed_at_line_end",
                          "\"abc\nx",
                          {{K::Unrecognised, "\"abc"}, {K::EndOfLine, "\n"}, {K::Identifier, "x"}},
                          {{"OV002", 0, 4, unclosed}}},
        LexDiagnosticCase{"string_unclosed_at_text_end", "x \"ab", {{K::Identifier, "x"}, {K::Unrecognised, "\"ab"}}, {{"OV002", 2, 5, unclosed}}},
        LexDiagnosticCase{"lone_quote_at_end", "\"", {{K::Unrecognised, "\""}}, {{"OV002", 0, 1, unclosed}}},
        LexDiagnosticCase{"greek_delta_before_mass",
                          "\xCE\xB4" "53Cr",
                          {{K::Unrecognised, "\xCE\xB4"}, {K::Number, "53"}, {K::Identifier, "Cr"}},
                          {{"OV006", 0, 2, non_ascii}}},
        LexDiagnosticCase{"three_byte_character", "\xE2\x82\xAC", {{K::Unrecognised, "\xE2\x82\xAC"}}, {{"OV006", 0, 3, non_ascii}}},
        LexDiagnosticCase{"four_byte_character", "a\xF0\x9F\x98\x80", {{K::Identifier, "a"}, {K::Unrecognised, "\xF0\x9F\x98\x80"}}, {{"OV006", 1, 5, non_ascii}}},
        LexDiagnosticCase{"stray_continuation_byte", "\x80" "a", {{K::Unrecognised, "\x80"}, {K::Identifier, "a"}}, {{"OV006", 0, 1, non_ascii}}},
        LexDiagnosticCase{"truncated_character_at_end", "\xE2\x82", {{K::Unrecognised, "\xE2\x82"}}, {{"OV006", 0, 2, non_ascii}}},
        LexDiagnosticCase{"byte_order_mark_later_is_non_ascii",
                          "x\xEF\xBB\xBF",
                          {{K::Identifier, "x"}, {K::Unrecognised, "\xEF\xBB\xBF"}},
                          {{"OV006", 1, 4, non_ascii}}}),
    [](const auto& info) { return std::string(info.param.name); });

struct Placed {
  TokenKind kind;
  std::uint32_t start;
  std::uint32_t end;
  std::uint32_t column;
  bool first_on_line;

  friend bool operator==(const Placed&, const Placed&) = default;
};

void PrintTo(const Placed& p, std::ostream* os) {
  *os << display_name(p.kind) << " [" << p.start << ", " << p.end << ") column " << p.column
      << (p.first_on_line ? " first" : "");
}

std::vector<Placed> placed(std::string_view text) {
  std::vector<Placed> out;
  for (const Token& t : lex(text, 7).tokens) {
    EXPECT_EQ(t.file, 7u);
    out.push_back(Placed{t.kind, t.start, t.end, t.column, t.first_on_line});
  }
  return out;
}

struct PlacementCase {
  const char* name;
  std::string text;
  std::vector<Placed> tokens;
};

class PlacementTest : public ::testing::TestWithParam<PlacementCase> {};

TEST_P(PlacementTest, OffsetsColumnsAndLineStarts) { EXPECT_EQ(placed(GetParam().text), GetParam().tokens); }

INSTANTIATE_TEST_SUITE_P(
    Cases, PlacementTest,
    ::testing::Values(
        PlacementCase{"empty_text", "", {{K::EndOfFile, 0, 0, 0, true}}},
        PlacementCase{"byte_order_mark_only", "\xEF\xBB\xBF", {{K::EndOfFile, 3, 3, 0, true}}},
        PlacementCase{"byte_order_mark_then_name",
                      "\xEF\xBB\xBFx y",
                      {{K::Identifier, 3, 4, 0, true}, {K::Identifier, 5, 6, 2, false}, {K::EndOfFile, 6, 6, 3, false}}},
        PlacementCase{"assignment_line",
                      "A = 1\n",
                      {{K::Identifier, 0, 1, 0, true},
                       {K::Assign, 2, 3, 2, false},
                       {K::Number, 4, 5, 4, false},
                       {K::EndOfLine, 5, 6, 5, false},
                       {K::EndOfFile, 6, 6, 0, true}}},
        PlacementCase{"comment_line",
                      "  # c\n",
                      {{K::Comment, 2, 5, 2, true}, {K::EndOfLine, 5, 6, 5, false}, {K::EndOfFile, 6, 6, 0, true}}},
        PlacementCase{"blank_line_end_is_never_first",
                      "\n\tx",
                      {{K::EndOfLine, 0, 1, 0, false}, {K::Identifier, 2, 3, 1, true}, {K::EndOfFile, 3, 3, 2, false}}},
        PlacementCase{"crlf_line_end",
                      "a\r\n  b",
                      {{K::Identifier, 0, 1, 0, true},
                       {K::EndOfLine, 2, 3, 2, false},
                       {K::Identifier, 5, 6, 2, true},
                       {K::EndOfFile, 6, 6, 3, false}}},
        PlacementCase{"unrecognised_token_opens_line",
                      "; x",
                      {{K::Unrecognised, 0, 1, 0, true}, {K::Identifier, 2, 3, 2, false}, {K::EndOfFile, 3, 3, 3, false}}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(LexerTest, EveryByteEndsInATokenOrABlank) {
  // Mixed input of every family: tokens must tile the text apart from blanks, in order.
  std::string text = "RESERVOIR Gw\n  Cr(VI) 1e-6 mol/kgw # c\n\tx = \"s\" 53Cr/52Cr 2024-01-15 ; \xCE\xB4 \"open\n";
  LexOutput out = lex(text, 0);
  std::size_t covered = 0;
  for (const Token& t : out.tokens) {
    ASSERT_GE(t.start, covered);
    for (std::size_t i = covered; i < t.start; ++i) EXPECT_TRUE(text[i] == ' ' || text[i] == '\t' || text[i] == '\r') << i;
    ASSERT_LE(t.start, t.end);
    covered = t.end;
  }
  EXPECT_EQ(covered, text.size());
  EXPECT_EQ(out.diagnostics.size(), 3u);
}

// The parser lexes whole lines into reused room until a number of tokens is held. Whatever that
// number, the runs must hold the tokens `lex` finds, comments aside, and each run's kinds must
// record exactly the kinds it holds other than those of names, numbers and line ends.
TEST(LineRunTest, RunsHoldTheTokensOfWholeLines) {
  std::string text =
      "RESERVOIR Gw # c\n\n  volume 1 L\r\n  k = 2 * (a + b) ^ 2 1/d\n    until x >= 3\n"
      "  list [1, 2]\n  y \"open\n  z != 1 ; w\n# only a comment\n  last <= 4 == 5";
  LexOutput whole = lex(text, 4);
  std::vector<Token> expected;
  for (const Token& t : whole.tokens) {
    if (t.kind != TokenKind::Comment) expected.push_back(t);
  }
  // Every kind but those of names, numbers, ratios, dates and line ends.
  std::uint32_t recorded = ~std::uint32_t{0};
  for (TokenKind kind : {TokenKind::Identifier, TokenKind::Species, TokenKind::Delta, TokenKind::Number, TokenKind::Ratio,
                         TokenKind::Date, TokenKind::EndOfLine, TokenKind::EndOfFile}) {
    recorded &= ~kind_bit(kind);
  }
  for (std::size_t at_least : {std::size_t{0}, std::size_t{1}, std::size_t{7}, std::size_t{1000}}) {
    SCOPED_TRACE(at_least);
    LineLexer lexer = start_lexing(text, 4);
    LineTokens room;
    std::vector<Token> found;
    std::size_t runs = 0;
    while (!lexer.done) {
      room.count = 0;
      lex_lines(lexer, room, false, at_least);
      ++runs;
      ASSERT_GT(room.count, 0u);
      // A run ends with a line: its end of line, or the end-of-file token.
      TokenKind closing = room.room[room.count - 1].kind;
      EXPECT_TRUE(closing == TokenKind::EndOfLine || closing == TokenKind::EndOfFile);
      std::uint32_t kinds = 0;
      for (std::size_t i = 0; i < room.count; ++i) {
        kinds |= kind_bit(room.room[i].kind) & recorded;
        found.push_back(room.room[i]);
      }
      EXPECT_EQ(room.kinds, kinds);
    }
    ASSERT_EQ(found.size(), expected.size());
    for (std::size_t i = 0; i < found.size(); ++i) {
      EXPECT_EQ(found[i].kind, expected[i].kind) << i;
      EXPECT_EQ(found[i].start, expected[i].start) << i;
      EXPECT_EQ(found[i].end, expected[i].end) << i;
      EXPECT_EQ(found[i].column, expected[i].column) << i;
      EXPECT_EQ(found[i].first_on_line, expected[i].first_on_line) << i;
      EXPECT_EQ(found[i].file, 4u) << i;
    }
    EXPECT_EQ(testing::reported(lexer.diagnostics), testing::reported(whole.diagnostics));
    // Line by line there is one run per line; one run takes in everything before the limit.
    if (at_least == 0) {
      EXPECT_EQ(runs, 10u);
    } else if (at_least == 1000) {
      EXPECT_EQ(runs, 1u);
    }
  }
}

// A run that outgrows its room moves to a larger one and keeps what it held.
TEST(LineRunTest, RoomGrowsForALongLine) {
  std::string text = "B" + std::string(300, ' ') + "\n";
  for (int i = 0; i < 500; ++i) text += " x" + std::to_string(i);
  LineLexer lexer = start_lexing(text, 0);
  LineTokens room;
  lex_lines(lexer, room, false, 1);
  ASSERT_EQ(room.count, 2u);
  lex_lines(lexer, room, false, 1);
  ASSERT_EQ(room.count, 503u);
  EXPECT_TRUE(lexer.done);
  EXPECT_EQ(room.room[2].text(text), "x0");
  EXPECT_EQ(room.room[501].text(text), "x499");
  EXPECT_EQ(room.room[502].kind, TokenKind::EndOfFile);
}

}  // namespace
}  // namespace ovm::syntax
