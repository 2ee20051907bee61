#include "ir/json/json_enum.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "json_test_support.hpp"

namespace ovm::ir {
namespace {

using testing::kept_outcome;
using testing::outcome;

constexpr std::string_view regime_names[] = {"equilibrium", "kinetic"};
constexpr std::string_view comparison_names[] = {"less", "less_equal", "greater", "greater_equal", "equal", "not_equal"};
constexpr std::string_view expr_names[] = {"constant", "parameter", "temperature", "time", "unary", "binary", "call"};

enum class Regime { Equilibrium, Kinetic };

struct EnumCase {
  std::string text;
  std::string outcome;
};

TEST(JsonUnitEnumTest, FromTheText) {
  std::size_t variant = 9;
  testing::Read read = [&](JsonInput in) { return read_unit_enum(in, regime_names, variant); };
  for (const EnumCase& c : std::vector<EnumCase>{
           {"\"Kinetic\"", "unknown variant `Kinetic`, expected `equilibrium` or `kinetic` at line 1 column 9"},
           {"{\"bogus\": null}", "unknown variant `bogus`, expected `equilibrium` or `kinetic` at line 1 column 8"},
           {"{\"kinetic\": 1}", "invalid type: integer `1`, expected unit at line 1 column 13"},
           {"{\"kinetic\": {}}", "invalid type: map, expected unit at line 1 column 12"},
           {"{\"kinetic\": \"x\"}", "invalid type: string \"x\", expected unit at line 1 column 15"},
           {"{\"kinetic\": null, \"equilibrium\": null}", "expected `}` at line 1 column 17"},
           {"{}", "expected a variant name at line 1 column 2"},
           {"5", "expected a variant name at line 1 column 1"},
           {"null", "expected a variant name at line 1 column 1"},
           {"[\"kinetic\"]", "expected a variant name at line 1 column 1"},
           {"{\"kinetic\" null}", "expected `:` at line 1 column 12"},
           {"{\"kinetic\": null", "EOF while parsing an object at line 1 column 16"},
       }) {
    EXPECT_EQ(outcome(c.text, read), c.outcome) << c.text;
  }
  for (const char* text : {"\"kinetic\"", "{\"kinetic\": null}", " { \"kinetic\" :\n null } "}) {
    variant = 9;
    EXPECT_EQ(outcome(text, read), "ok") << text;
    EXPECT_EQ(variant, 1u) << text;
  }
  Regime regime = Regime::Kinetic;
  EXPECT_EQ(outcome("\"equilibrium\"", [&](JsonInput in) { return read_enum(in, regime_names, regime); }), "ok");
  EXPECT_EQ(regime, Regime::Equilibrium);
}

TEST(JsonUnitEnumTest, NamesListedInDeclarationOrder) {
  std::size_t variant = 0;
  EXPECT_EQ(outcome("\"between\"", [&](JsonInput in) { return read_unit_enum(in, comparison_names, variant); }),
            "unknown variant `between`, expected one of `less`, `less_equal`, `greater`, `greater_equal`, `equal`, "
            "`not_equal` at line 1 column 9");
}

// In a kept value the one-key object may also hold an empty object, and the other shapes are
// invalid values or types rather than malformed text.
TEST(JsonUnitEnumTest, FromAKeptValue) {
  std::size_t variant = 9;
  testing::Read read = [&](JsonInput in) { return read_unit_enum(in, regime_names, variant); };
  for (const EnumCase& c : std::vector<EnumCase>{
           {"\"kinetic\"", "ok"},
           {"{\"kinetic\": null}", "ok"},
           {"{\"kinetic\": {}}", "ok"},
           {"{}", "invalid value: map, expected map with a single key"},
           {"{\"kinetic\": null, \"equilibrium\": null}", "invalid value: map, expected map with a single key"},
           {"{\"kinetic\": 1}", "invalid type: integer `1`, expected unit"},
           {"{\"kinetic\": {\"a\": null}}", "invalid type: map, expected unit"},
           {"{\"bogus\": 1}", "unknown variant `bogus`, expected `equilibrium` or `kinetic`"},
           {"\"Kinetic\"", "unknown variant `Kinetic`, expected `equilibrium` or `kinetic`"},
           {"5", "invalid type: integer `5`, expected string or map"},
           {"null", "invalid type: null, expected string or map"},
           {"[\"kinetic\"]", "invalid type: sequence, expected string or map"},
       }) {
    EXPECT_EQ(kept_outcome(c.text, read), c.outcome) << c.text;
  }
  variant = 9;
  EXPECT_EQ(kept_outcome("{\"kinetic\": {}}", read), "ok");
  EXPECT_EQ(variant, 1u);
}

// A tag where a variant identifier stands is a string; in a kept value also an index.
TEST(JsonVariantIdentifierTest, StringsAndIndexes) {
  std::size_t variant = 99;
  testing::Read read = [&](JsonInput in) { return read_variant_identifier(in, expr_names, variant); };
  EXPECT_EQ(outcome("\"time\"", read), "ok");
  EXPECT_EQ(variant, 3u);
  for (const EnumCase& c : std::vector<EnumCase>{
           {"4", "invalid type: integer `4`, expected variant identifier at line 1 column 1"},
           {"{\"time\": null}", "invalid type: map, expected variant identifier at line 1 column 0"},
           {"\"Time\"",
            "unknown variant `Time`, expected one of `constant`, `parameter`, `temperature`, `time`, `unary`, "
            "`binary`, `call` at line 1 column 6"},
       }) {
    EXPECT_EQ(outcome(c.text, read), c.outcome) << c.text;
  }
  EXPECT_EQ(kept_outcome("4", read), "ok");
  EXPECT_EQ(variant, 4u);
  EXPECT_EQ(kept_outcome("6", read), "ok");
  EXPECT_EQ(variant, 6u);
  EXPECT_EQ(kept_outcome("7", read), "invalid value: integer `7`, expected variant index 0 <= i < 7");
  EXPECT_EQ(kept_outcome("-1", read), "invalid type: integer `-1`, expected variant identifier");
  EXPECT_EQ(kept_outcome("1.0", read), "invalid type: floating point `1.0`, expected variant identifier");
  EXPECT_EQ(kept_outcome("{\"time\": null}", read), "invalid type: map, expected variant identifier");
}

}  // namespace
}  // namespace ovm::ir
