#include <gtest/gtest.h>

#include <cmath>

#include "syntax/parser.hpp"
#include "tree_text.hpp"

namespace ovm::syntax {
namespace {

struct ValueCase {
  const char* name;
  std::string text;
  std::string value;  // empty: no value
  std::uint32_t start;
  std::uint32_t end;
  std::size_t position_after;  // token index
};

class ParseValueTest : public ::testing::TestWithParam<ValueCase> {};

TEST_P(ParseValueTest, ReadsOneValue) {
  const ValueCase& c = GetParam();
  ParserState state = make_parser_state(c.text, 3);
  std::size_t lexer_diagnostics = state.diagnostics.size();
  std::optional<Value> value = parse_value(state);
  EXPECT_EQ(state.position, c.position_after);
  EXPECT_EQ(state.diagnostics.size(), lexer_diagnostics) << "parse_value reports nothing";
  if (c.value.empty()) {
    EXPECT_FALSE(value.has_value());
    return;
  }
  ASSERT_TRUE(value.has_value());
  EXPECT_EQ(testing::value_text(*value), c.value);
  EXPECT_EQ(value->span, (diagnostics::Span{3, c.start, c.end}));
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, ParseValueTest,
    ::testing::Values(ValueCase{"identifier", "a b", "ident:a", 0, 1, 1},
                      ValueCase{"qualified", "A.B", "qualified:A.B", 0, 3, 3},
                      ValueCase{"qualified_species_and_delta", "Gw.Cr(VI).delta53Cr", "qualified:Gw.Cr(VI).delta53Cr", 0, 19, 5},
                      ValueCase{"dot_without_part_stays", "A.", "ident:A", 0, 1, 1},
                      ValueCase{"dot_before_number_stays", "A.5", "ident:A", 0, 1, 1},
                      ValueCase{"qualified_stops_at_bare_dot", "A.B.", "qualified:A.B", 0, 3, 3},
                      ValueCase{"species", "Cr(VI)", "species:Cr(VI)", 0, 6, 1},
                      ValueCase{"ratio", "53Cr/52Cr", "ratio:53Cr/52Cr", 0, 9, 1},
                      ValueCase{"delta", "delta53Cr", "delta:delta53Cr", 0, 9, 1},
                      ValueCase{"date", "2024-01-15", "date:2024-01-15", 0, 10, 1},
                      ValueCase{"number", "2.50", "number:2.5", 0, 4, 1},
                      ValueCase{"number_beyond_range", "1e400", "number:inf", 0, 5, 1},
                      ValueCase{"string_without_quotes", "\"ab\"", "string:ab", 0, 4, 1},
                      ValueCase{"empty_string", "\"\"", "string:", 0, 2, 1},
                      ValueCase{"negative_number", "-5", "number:-5", 0, 2, 2},
                      ValueCase{"spaced_negative_number", "- 3", "number:-3", 0, 3, 2},
                      ValueCase{"minus_before_name_is_nothing", "- x", "", 0, 0, 0},
                      ValueCase{"operator_is_nothing", "=", "", 0, 0, 0},
                      ValueCase{"line_end_is_nothing", "\nx", "", 0, 0, 0},
                      ValueCase{"unrecognised_is_nothing", "\"open", "", 0, 0, 0}),
    [](const auto& info) { return std::string(info.param.name); });

struct UnitCase {
  const char* name;
  std::string text;
  std::vector<UnitFactor> factors;  // empty: no unit
  std::string unit_text;
  std::uint32_t end = 0;
};

class ParseUnitTest : public ::testing::TestWithParam<UnitCase> {};

TEST_P(ParseUnitTest, ReadsToTheLineEndOrRestores) {
  const UnitCase& c = GetParam();
  ParserState state = make_parser_state(c.text, 0);
  std::optional<UnitExpr> unit = parse_unit(state);
  EXPECT_TRUE(state.diagnostics.empty());
  if (c.factors.empty()) {
    EXPECT_FALSE(unit.has_value());
    EXPECT_EQ(state.position, 0u);
    return;
  }
  ASSERT_TRUE(unit.has_value());
  EXPECT_EQ(state.factor_list, c.factors);
  EXPECT_EQ(unit->text(), c.unit_text);
  EXPECT_EQ(unit->span, (diagnostics::Span{0, 0, c.end}));
  EXPECT_TRUE(at_line_end(state)) << "the line end is left unread";
}

using Op = UnitOp;

INSTANTIATE_TEST_SUITE_P(
    Units, ParseUnitTest,
    ::testing::Values(
        UnitCase{"quotient", "mol / kgw", {{"mol", 1, Op::First}, {"kgw", 1, Op::Divide}}, "mol/kgw", 9},
        UnitCase{"negative_power", "m^-2", {{"m", -2, Op::First}}, "m^-2", 4},
        UnitCase{"spaced_negative_power", "m ^ -2", {{"m", -2, Op::First}}, "m^-2", 6},
        UnitCase{"one_per_second", "1/s", {{"1", 1, Op::First}, {"s", 1, Op::Divide}}, "1/s", 3},
        UnitCase{"product_and_quotient",
                 "kg*m^2/s^2",
                 {{"kg", 1, Op::First}, {"m", 2, Op::Times}, {"s", 2, Op::Divide}},
                 "kg*m^2/s^2",
                 10},
        UnitCase{"fractional_power_counts_as_one", "m^2.5", {{"m", 1, Op::First}}, "m^2.5", 5},
        UnitCase{"negative_fractional_power", "m^-2.5", {{"m", -1, Op::First}}, "m^-2.5", 6},
        UnitCase{"exponent_form_power", "m^1e3", {{"m", 1, Op::First}}, "m^1e3", 5},
        UnitCase{"power_beyond_int32", "m^99999999999", {{"m", 1, Op::First}}, "m^99999999999", 13},
        UnitCase{"micro_sign", "\xC2\xB5g/L", {{"\xC2\xB5g", 1, Op::First}, {"L", 1, Op::Divide}}, "\xC2\xB5g/L", 5},
        UnitCase{"stops_before_line_end", "d\nx", {{"d", 1, Op::First}}, "d", 1},
        UnitCase{"tabs_and_cr_removed", "mg\t/\rL", {{"mg", 1, Op::First}, {"L", 1, Op::Divide}}, "mg/L", 6},
        UnitCase{"number_other_than_one", "10/s", {}, "", 0},
        UnitCase{"two_names", "mol kgw", {}, "", 0},
        UnitCase{"trailing_operator", "mol/", {}, "", 0},
        UnitCase{"power_without_number", "m^x", {}, "", 0},
        UnitCase{"power_at_line_end", "m^", {}, "", 0},
        UnitCase{"starts_with_operator", "/s", {}, "", 0},
        UnitCase{"name_then_value", "mol 5", {}, "", 0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(StripWhitespaceTest, RemovesEveryUnicodeWhiteSpaceCharacter) {
  EXPECT_EQ(strip_whitespace(" m g\t/\r\nL\f\v "), "mg/L");
  // No-break space, em space, ideographic space, line separator, next line.
  EXPECT_EQ(strip_whitespace("a\xC2\xA0" "b\xE2\x80\x83" "c\xE3\x80\x80" "d\xE2\x80\xA8" "e\xC2\x85" "f"), "abcdef");
  // Other non-ASCII characters, and broken sequences, stay.
  EXPECT_EQ(strip_whitespace("\xC2\xB5g \xE2\x80\xB0 \xE2\x80\x8B \xC2"), "\xC2\xB5g\xE2\x80\xB0\xE2\x80\x8B\xC2");
}

}  // namespace
}  // namespace ovm::syntax
