#include "ir/json/json_tagged.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ir/json/json_enum.hpp"
#include "ir/json/json_record.hpp"
#include "ir/json/json_writer.hpp"
#include "json_test_support.hpp"

namespace ovm::ir {
namespace {

using testing::kept_outcome;
using testing::outcome;

// ---- a sample internally tagged enum: a subject of ids, beside a record that holds it ----

constexpr JsonVariant subject_variants[] = {
    {"time", "Time", false},
    {"amount", "Amount"},
    {"composition", "Composition"},
    {"pool_composition", "PoolComposition"},
};
constexpr JsonEnum subject_enum{"Subject", subject_variants};

constexpr JsonMember no_members[] = {{"unused"}};
constexpr JsonMember amount_members[] = {{"reservoir"}, {"species"}};
constexpr JsonMember composition_members[] = {{"reservoir"}, {"isotope"}};
constexpr JsonMember pool_members[] = {{"reservoir"}, {"species"}, {"isotope"}};
constexpr JsonRecord subject_records[] = {
    {"struct variant Subject::Time", std::span<const JsonMember>(no_members, 0)},
    {"struct variant Subject::Amount", amount_members},
    {"struct variant Subject::Composition", composition_members},
    {"struct variant Subject::PoolComposition", pool_members},
};

struct SampleSubject {
  std::size_t variant = 99;
  std::vector<std::uint32_t> ids;
  friend bool operator==(const SampleSubject&, const SampleSubject&) = default;
};

JsonStatus read_subject(JsonInput in, SampleSubject& out) {
  return read_internally_tagged(in, subject_enum, out.variant, [&](std::size_t variant, JsonInput members) {
    const JsonRecord& record = subject_records[variant];
    out.ids.assign(record.members.size(), 0);
    return read_record(members, record, [&](std::size_t member, JsonInput value) {
      return read_u32(value, out.ids[member]);
    });
  });
}

struct TaggedCase {
  std::string text;
  std::string outcome;
};

TEST(JsonInternallyTaggedTest, ObjectAndArrayForms) {
  SampleSubject subject;
  testing::Read read = [&](JsonInput in) { return read_subject(in, subject); };
  struct ReadCase {
    std::string text;
    SampleSubject expected;
  };
  for (const ReadCase& c : std::vector<ReadCase>{
           {"{\"reservoir\": 2, \"species\": 0, \"kind\": \"amount\"}", {1, {2, 0}}},
           {"{\"kind\": \"amount\", \"reservoir\": 2, \"species\": 0}", {1, {2, 0}}},
           {"[\"amount\", 2, 0]", {1, {2, 0}}},
           {"{\"kind\": \"amount\", \"sorbent\": [1, 2], \"species\": 0, \"reservoir\": 2}", {1, {2, 0}}},
           {"[\"time\"]", {0, {}}},
           {"{\"kind\": \"time\", \"species\": 4}", {0, {}}},
           {"{\"kind\": \"pool_composition\", \"isotope\": 4294967295, \"species\": 1, \"reservoir\": 0}",
            {3, {0, 1, 4294967295u}}},
       }) {
    subject = SampleSubject{};
    EXPECT_EQ(outcome(c.text, read), "ok") << c.text;
    EXPECT_EQ(subject, c.expected) << c.text;
  }
}

// Faults of the tag are found while the value is read and placed there; faults of the members
// are found in the kept rest after the value, and placed where reading stopped.
TEST(JsonInternallyTaggedTest, Messages) {
  SampleSubject subject;
  testing::Read read = [&](JsonInput in) { return read_subject(in, subject); };
  for (const TaggedCase& c : std::vector<TaggedCase>{
           {"[]", "missing field `kind` at line 1 column 2"},
           {"{\"species\": 1}", "missing field `kind` at line 1 column 14"},
           {"{\"kind\": 1}", "invalid type: integer `1`, expected variant identifier at line 1 column 10"},
           {"{\"kind\": {\"amount\": null}}", "invalid type: map, expected variant identifier at line 1 column 9"},
           {"{\"kind\": \"Amount\"}",
            "unknown variant `Amount`, expected one of `time`, `amount`, `composition`, `pool_composition` at line 1 "
            "column 17"},
           {"{\"kind\": \"amount\", \"kind\": \"amount\"}", "duplicate field `kind` at line 1 column 25"},
           {"[1, 2]", "invalid type: integer `1`, expected variant identifier at line 1 column 2"},
           {"\"time\"", "invalid type: string \"time\", expected internally tagged enum Subject at line 1 column 6"},
           {"null", "invalid type: null, expected internally tagged enum Subject at line 1 column 4"},
           {"[\"amount\", 2]", "invalid length 1, expected struct variant Subject::Amount with 2 elements at line 1 column 13"},
           {"[\"amount\", 2, 0, 5]", "invalid length 3, expected 2 elements in sequence at line 1 column 19"},
           {"[\"time\", 0]", "invalid length 1, expected 0 elements in sequence at line 1 column 11"},
           {"{\"kind\": \"amount\", \"reservoir\": 0}", "missing field `species` at line 1 column 34"},
           {"{\"kind\": \"amount\", \"of\": {\"reservoir\": 0, \"species\": 1}}", "missing field `reservoir` at line 1 column 56"},
           {"{\"species\": 1, \"species\": 2, \"kind\": \"amount\"}", "duplicate field `species` at line 1 column 46"},
           {"[\"amount\", -1, 0]", "invalid value: integer `-1`, expected u32 at line 1 column 17"},
           {"[\"amount\", 1.0, 0]", "invalid type: floating point `1.0`, expected u32 at line 1 column 18"},
           {"{\"kind\": \"amount\", \"reservoir\": [1 2]}", "expected `,` or `]` at line 1 column 36"},
           // With the tag first too, the whole value is read before a member's fault counts:
           // a fault of its text or a second tag after that member comes out first.
           {"{\"kind\": \"amount\", \"reservoir\": -1, \"kind\": \"amount\"}", "duplicate field `kind` at line 1 column 42"},
           {"{\"kind\": \"amount\", \"reservoir\": -1, \"species\": [1 2]}", "expected `,` or `]` at line 1 column 51"},
           {"{\"kind\": \"amount\", \"reservoir\": -1, \"species\": 0}",
            "invalid value: integer `-1`, expected u32 at line 1 column 49"},
       }) {
    EXPECT_EQ(outcome(c.text, read), c.outcome) << c.text;
  }
}

// The same enum inside a value kept by an enclosing reader.
TEST(JsonInternallyTaggedTest, FromAKeptValue) {
  SampleSubject subject;
  testing::Read read = [&](JsonInput in) { return read_subject(in, subject); };
  for (const TaggedCase& c : std::vector<TaggedCase>{
           {"[\"amount\", 1, 2]", "ok"},
           {"{\"species\": 2, \"kind\": \"amount\", \"reservoir\": 1}", "ok"},
           {"[]", "missing field `kind`"},
           {"{\"species\": 1}", "missing field `kind`"},
           {"{\"kind\": \"amount\", \"kind\": \"time\"}", "duplicate field `kind`"},
           {"{\"kind\": \"amount\", \"reservoir\": 1}", "missing field `species`"},
           {"[\"amount\", 1, 2, 3]", "invalid length 3, expected 2 elements in sequence"},
           {"\"time\"", "invalid type: string \"time\", expected internally tagged enum Subject"},
       }) {
    EXPECT_EQ(kept_outcome(c.text, read), c.outcome) << c.text;
  }
  EXPECT_EQ(kept_outcome("{\"reservoir\": 1, \"kind\": \"amount\", \"species\": 2}", read), "ok");
  EXPECT_EQ(subject, (SampleSubject{1, {1, 2}}));
}

// A stop condition with the subject as a member: an error in the subject's kept members is
// placed where the stop condition's reader stops, at the subject's closing brace when another
// member follows, at the stop condition's own closing bracket when it was the last.
struct SampleStop {
  SampleSubject subject;
  std::size_t comparison = 0;
  double value = 0;
};

JsonStatus read_stop(JsonInput in, SampleStop& out) {
  static constexpr JsonMember members[] = {{"subject"}, {"comparison"}, {"value"}};
  static constexpr JsonRecord record{"struct StopCondition", members};
  static constexpr std::string_view comparisons[] = {"less", "greater"};
  return read_record(in, record, [&](std::size_t member, JsonInput value) -> JsonStatus {
    if (member == 0) return read_subject(value, out.subject);
    if (member == 1) return read_unit_enum(value, comparisons, out.comparison);
    return read_f64(value, out.value);
  });
}

TEST(JsonInternallyTaggedTest, ErrorsInKeptMembersArePlacedByTheEnclosingRecord) {
  SampleStop stop;
  testing::Read read = [&](JsonInput in) { return read_stop(in, stop); };
  for (const TaggedCase& c : std::vector<TaggedCase>{
           {"{\"subject\": {\"kind\": \"amount\"}, \"comparison\": \"less\", \"value\": 1}",
            "missing field `reservoir` at line 1 column 30"},
           {"{\"comparison\": \"less\", \"value\": 1, \"subject\": {\"kind\": \"amount\"}}",
            "missing field `reservoir` at line 1 column 65"},
           {"{\n  \"comparison\": \"less\",\n  \"value\": 1,\n  \"subject\": {\n    \"kind\": \"amount\"\n  }\n}",
            "missing field `reservoir` at line 7 column 1"},
           {"{\n  \"subject\": {\n    \"kind\": \"amount\"\n  } ,\n  \"value\": 1\n}",
            "missing field `reservoir` at line 4 column 4"},
           {"[{\"kind\": \"amount\"}, \"less\", 1]", "missing field `reservoir` at line 1 column 19"},
           {"[\"less\", 1, {\"kind\": \"amount\"}]", "invalid type: string \"less\", expected internally tagged enum "
                                                    "Subject at line 1 column 7"},
           {"{\"subject\": {\"kind\": \"time\"}, \"comparison\": \"less\", \"value\": null}",
            "invalid type: null, expected f64 at line 1 column 65"},
       }) {
    EXPECT_EQ(outcome(c.text, read), c.outcome) << c.text;
  }
  EXPECT_EQ(outcome("{\"value\": 2, \"subject\": {\"species\": 3, \"kind\": \"amount\", \"reservoir\": 1}, "
                    "\"comparison\": {\"greater\": null}}",
                    read),
            "ok");
  EXPECT_EQ(stop.subject, (SampleSubject{1, {1, 3}}));
  EXPECT_EQ(stop.comparison, 1u);
  EXPECT_EQ(stop.value, 2.0);
}

// The members beside the tag count against the nesting budget while they are kept.
TEST(JsonInternallyTaggedTest, KeptMembersCountAgainstTheBudget) {
  SampleSubject subject;
  testing::Read read = [&](JsonInput in) { return read_subject(in, subject); };
  std::string prefix = "{\"kind\": \"time\", \"x\": ";
  EXPECT_EQ(outcome(prefix + std::string(126, '[') + std::string(126, ']') + "}", read), "ok");
  EXPECT_EQ(outcome(prefix + std::string(127, '[') + std::string(127, ']') + "}", read),
            "recursion limit exceeded at line 1 column " + std::to_string(prefix.size() + 127));
}

// ---- a sample adjacently tagged enum: expressions of constants, parameters, the temperature,
// the time, negations and sums ----

constexpr JsonVariant expr_variants[] = {
    {"constant", "Constant"},
    {"parameter", "Parameter"},
    {"temperature", "Temperature", false},
    {"time", "Time", false},
    {"unary", "Unary"},
    {"binary", "Binary"},
    {"call", "Call"},
};
constexpr JsonEnum expr_enum{"Expr", expr_variants};
constexpr std::string_view unary_ops[] = {"negate"};
constexpr std::string_view binary_ops[] = {"add", "subtract", "multiply", "divide", "power"};
constexpr JsonMember unary_members[] = {{"op"}, {"operand"}};
constexpr JsonMember binary_members[] = {{"op"}, {"lhs"}, {"rhs"}};
constexpr JsonRecord unary_record{"struct variant Expr::Unary", unary_members, false, false};
constexpr JsonRecord binary_record{"struct variant Expr::Binary", binary_members, false, false};

struct SampleExpr {
  std::size_t variant = 99;
  double number = 0;
  std::uint32_t parameter = 0;
  std::size_t op = 0;
  std::vector<SampleExpr> children{};
  friend bool operator==(const SampleExpr&, const SampleExpr&) = default;
};

JsonStatus read_expr(JsonInput in, SampleExpr& out) {
  return read_adjacently_tagged(in, expr_enum, out.variant, [&](std::size_t variant, JsonInput content) -> JsonStatus {
    if (variant == 0) return read_f64(content, out.number);
    if (variant == 1) return read_u32(content, out.parameter);
    bool unary = variant == 4;
    out.children.assign(unary ? 1 : 2, SampleExpr{});
    return read_record(content, unary ? unary_record : binary_record, [&](std::size_t member, JsonInput value) {
      if (member == 0) return read_unit_enum(value, unary ? std::span<const std::string_view>(unary_ops) : std::span<const std::string_view>(binary_ops), out.op);
      return read_expr(value, out.children[member - 1]);
    });
  });
}

SampleExpr constant(double value) { return SampleExpr{0, value}; }
SampleExpr time_expr() { return SampleExpr{3}; }
SampleExpr negation(SampleExpr operand) { return SampleExpr{4, 0, 0, 0, {std::move(operand)}}; }
SampleExpr sum(SampleExpr lhs, SampleExpr rhs) { return SampleExpr{5, 0, 0, 0, {std::move(lhs), std::move(rhs)}}; }

TEST(JsonAdjacentlyTaggedTest, Forms) {
  SampleExpr expr;
  testing::Read read = [&](JsonInput in) { return read_expr(in, expr); };
  struct ReadCase {
    std::string text;
    SampleExpr expected;
  };
  for (const ReadCase& c : std::vector<ReadCase>{
           {"{\"kind\": \"time\"}", time_expr()},
           {"{\"kind\": \"time\", \"of\": null}", time_expr()},
           {"{\"of\": null, \"kind\": \"time\"}", time_expr()},
           {"[\"time\", null]", time_expr()},
           {"{\"of\": 2.5, \"kind\": \"constant\"}", constant(2.5)},
           {"{\"kind\": \"constant\", \"of\": 2}", constant(2.0)},
           {"{\"kind\": {\"constant\": null}, \"of\": 0.5}", constant(0.5)},
           {"[\"constant\", 0.998]", constant(0.998)},
           {"{\"kind\": \"parameter\", \"of\": 3, \"note\": \"x\"}", SampleExpr{1, 0, 3}},
           {"{\"note\": [1], \"of\": 3, \"kind\": \"parameter\"}", SampleExpr{1, 0, 3}},
           {"{\"kind\": \"binary\", \"of\": {\"op\": \"add\", \"lhs\": {\"kind\": \"temperature\"}, \"rhs\": {\"kind\": "
            "\"constant\", \"of\": 1.0}}}",
            sum(SampleExpr{2}, constant(1.0))},
           {"{\"of\": {\"rhs\": [\"time\", null], \"op\": {\"add\": null}, \"lhs\": {\"of\": 1, \"kind\": \"constant\"}}, "
            "\"kind\": \"binary\"}",
            sum(constant(1.0), time_expr())},
       }) {
    expr = SampleExpr{};
    EXPECT_EQ(outcome(c.text, read), "ok") << c.text;
    EXPECT_EQ(expr, c.expected) << c.text;
  }
}

TEST(JsonAdjacentlyTaggedTest, MessagesFromTheText) {
  SampleExpr expr;
  testing::Read read = [&](JsonInput in) { return read_expr(in, expr); };
  for (const TaggedCase& c : std::vector<TaggedCase>{
           {"{\"kind\": \"time\", \"of\": 0}", "invalid type: integer `0`, expected unit variant Expr::Time at line 1 column 24"},
           {"[\"time\"]", "invalid length 1, expected adjacently tagged enum Expr at line 1 column 8"},
           {"[]", "invalid length 0, expected adjacently tagged enum Expr at line 1 column 2"},
           {"[\"time\", 0]", "invalid type: integer `0`, expected unit variant Expr::Time at line 1 column 10"},
           {"{\"kind\": \"constant\"}", "missing field `of` at line 1 column 20"},
           {"{\"of\": 1}", "missing field `kind` at line 1 column 9"},
           {"{}", "missing field `kind` at line 1 column 2"},
           {"{\"kind\": \"constant\", \"of\": null}", "invalid type: null, expected f64 at line 1 column 31"},
           {"{\"kind\": \"parameter\", \"of\": -1}", "invalid value: integer `-1`, expected u32 at line 1 column 30"},
           {"{\"kind\": \"parameter\", \"of\": 1.5}", "invalid type: floating point `1.5`, expected u32 at line 1 column 31"},
           {"{\"kind\": \"unary\", \"of\": [\"negate\", {\"kind\": \"time\"}]}",
            "invalid type: sequence, expected struct variant Expr::Unary at line 1 column 24"},
           {"{\"kind\": \"binary\", \"of\": {\"op\": \"add\", \"lhs\": {\"kind\": \"time\"}}}",
            "missing field `rhs` at line 1 column 63"},
           {"{\"kind\": \"binary\", \"of\": {\"lhs\": {\"kind\": \"time\"}}}", "missing field `op` at line 1 column 50"},
           {"{\"kind\": \"constant\", \"of\": 1, \"kind\": \"time\"}", "duplicate field `kind` at line 1 column 36"},
           {"{\"kind\": \"constant\", \"kind\": \"time\"}", "duplicate field `kind` at line 1 column 27"},
           {"{\"of\": 1, \"of\": 2, \"kind\": \"constant\"}", "duplicate field `of` at line 1 column 14"},
           {"{\"kind\": \"constant\", \"of\": 1, \"of\": 2}", "duplicate field `of` at line 1 column 34"},
           {"{\"of\": 1, \"kind\": \"constant\", \"of\": 2}", "duplicate field `of` at line 1 column 34"},
           {"{\"kind\": \"Constant\", \"of\": 1}",
            "unknown variant `Constant`, expected one of `constant`, `parameter`, `temperature`, `time`, `unary`, "
            "`binary`, `call` at line 1 column 19"},
           {"{\"kind\": {\"constant\": 1}, \"of\": 1}", "invalid type: integer `1`, expected unit at line 1 column 23"},
           {"{\"kind\": 2, \"of\": 3}", "expected a variant name at line 1 column 10"},
           {"[{\"constant\": null}, 0.5]", "invalid type: map, expected variant identifier at line 1 column 1"},
           {"[4, {\"op\": \"negate\", \"operand\": {\"kind\": \"time\"}}]",
            "invalid type: integer `4`, expected variant identifier at line 1 column 2"},
           {"[\"constant\", 1, 2]", "trailing characters at line 1 column 17"},
           {"[\"constant\", 1,]", "trailing comma at line 1 column 16"},
           {"\"time\"", "invalid type: string \"time\", expected adjacently tagged enum Expr at line 1 column 6"},
           {"{\"kind\": \"unary\", \"of\": {\"op\": {\"negate\": {}}, \"operand\": {\"kind\": \"time\"}}}",
            "invalid type: map, expected unit at line 1 column 42"},
       }) {
    EXPECT_EQ(outcome(c.text, read), c.outcome) << c.text;
  }
}

// An "of" before "kind" is kept and read once the tag is known, by the rules of kept values:
// a tag may be an index, an operator's value an empty object, and an array that runs on says
// how long it was. Its errors are placed where the object's reader stops: at the closing
// brace when "kind" was the last key, else on the last byte before the comma after the tag.
TEST(JsonAdjacentlyTaggedTest, ContentKeptBeforeTheTag) {
  SampleExpr expr;
  testing::Read read = [&](JsonInput in) { return read_expr(in, expr); };
  EXPECT_EQ(outcome("{\"of\": {\"op\": \"negate\", \"operand\": [4, {\"op\": {\"negate\": {}}, \"operand\": {\"kind\": "
                    "\"time\"}}]}, \"kind\": \"unary\"}",
                    read),
            "ok");
  EXPECT_EQ(expr, negation(negation(time_expr())));
  for (const TaggedCase& c : std::vector<TaggedCase>{
           {"{\"of\": {\"op\": \"negate\", \"operand\": [7, null]}, \"kind\": \"unary\"}",
            "invalid value: integer `7`, expected variant index 0 <= i < 7 at line 1 column 63"},
           {"{\"of\": {\"op\": \"negate\", \"operand\": [7, null]}, \"kind\": \"unary\", \"note\": 1}",
            "invalid value: integer `7`, expected variant index 0 <= i < 7 at line 1 column 62"},
           {"{\"of\": {\"op\": \"negate\", \"operand\": [\"constant\", 1, 2]}, \"kind\": \"unary\"}",
            "invalid length 3, expected 2 elements in sequence at line 1 column 72"},
           {"{\"of\": [\"negate\", {\"kind\": \"time\"}], \"kind\": \"unary\"}",
            "invalid type: sequence, expected struct variant Expr::Unary at line 1 column 53"},
           {"{\"of\": 0, \"kind\": \"time\"}", "invalid type: integer `0`, expected unit variant Expr::Time at line 1 column 25"},
           {"{\"of\": {\"op\": {}, \"operand\": {\"kind\": \"time\"}}, \"kind\": \"unary\"}",
            "invalid value: map, expected map with a single key at line 1 column 64"},
           {"{\"of\": {\"op\": 5, \"operand\": {\"kind\": \"time\"}}, \"kind\": \"unary\"}",
            "invalid type: integer `5`, expected string or map at line 1 column 63"},
           {"{\"of\": {\"op\": \"negate\", \"operand\": {\"kind\": \"time\"}, \"operand\": 1}, \"kind\": \"unary\"}",
            "duplicate field `operand` at line 1 column 84"},
           {"{\"of\": 1, \"kind\": \"constant\", \"kind\": \"constant\"}", "duplicate field `kind` at line 1 column 36"},
       }) {
    EXPECT_EQ(outcome(c.text, read), c.outcome) << c.text;
  }
}

// A whole expression kept, as an enclosing reader hands it over.
TEST(JsonAdjacentlyTaggedTest, FromAKeptValue) {
  SampleExpr expr;
  testing::Read read = [&](JsonInput in) { return read_expr(in, expr); };
  for (const TaggedCase& c : std::vector<TaggedCase>{
           {"[4, {\"op\": \"negate\", \"operand\": {\"kind\": \"time\"}}]", "ok"},
           {"[7, null]", "invalid value: integer `7`, expected variant index 0 <= i < 7"},
           {"[\"time\"]", "invalid length 1, expected adjacently tagged enum Expr"},
           {"[]", "invalid length 0, expected adjacently tagged enum Expr"},
           {"[\"time\", null, 1]", "invalid length 3, expected 2 elements in sequence"},
           {"{\"kind\": \"time\", \"of\": 1}", "invalid type: integer `1`, expected unit variant Expr::Time"},
           {"{\"kind\": {\"time\": {}}}", "ok"},
           {"{\"kind\": \"constant\"}", "missing field `of`"},
           {"{\"of\": 1}", "missing field `kind`"},
           {"{\"of\": 1, \"of\": 1, \"kind\": \"constant\"}", "duplicate field `of`"},
           {"{\"kind\": \"time\", \"kind\": \"time\"}", "duplicate field `kind`"},
           {"{\"kind\": 2, \"of\": 3}", "invalid type: integer `2`, expected string or map"},
           {"5", "invalid type: integer `5`, expected adjacently tagged enum Expr"},
       }) {
    EXPECT_EQ(kept_outcome(c.text, read), c.outcome) << c.text;
  }
  EXPECT_EQ(kept_outcome("[4, {\"op\": \"negate\", \"operand\": {\"of\": 2, \"kind\": \"constant\"}}]", read), "ok");
  EXPECT_EQ(expr, negation(constant(2.0)));
}

// A parameter value sits at level 4 of the file: the root object, the parameter list, the
// parameter record, the expression. A negation costs two levels, so 61 of them above a
// constant put the constant's object at level 126 and read; 62 put it at 128 and do not.
struct SampleParameter {
  SampleExpr value;
};

JsonStatus read_file(JsonInput in, std::vector<SampleParameter>& parameters) {
  static constexpr JsonMember root_members[] = {{"parameters", JsonPresence::Defaulted}};
  static constexpr JsonRecord root{"struct ModelGraph", root_members};
  static constexpr JsonMember parameter_members[] = {{"value"}};
  static constexpr JsonRecord parameter{"struct Parameter", parameter_members};
  return read_record(in, root, [&](std::size_t, JsonInput list) {
    return read_list(list, parameters, [](JsonInput element, SampleParameter& out) {
      return read_record(element, parameter, [&](std::size_t, JsonInput value) { return read_expr(value, out.value); });
    });
  });
}

std::string negations(int count) {
  JsonWriter w;
  json_begin_object(w);
  json_key(w, "parameters");
  json_begin_list(w);
  json_item(w);
  json_begin_object(w);
  json_key(w, "value");
  for (int i = 0; i < count; ++i) {
    json_begin_tagged(w, "unary");
    json_content(w);
    json_begin_object(w);
    json_key(w, "op");
    json_unit_variant(w, "negate");
    json_key(w, "operand");
  }
  json_begin_tagged(w, "constant");
  json_content(w);
  json_double(w, 1.5);
  json_end_object(w);
  for (int i = 0; i < count; ++i) {
    json_end_object(w);
    json_end_object(w);
  }
  json_end_object(w);
  json_end_list(w);
  json_end_object(w);
  return std::get<std::string>(json_finish(std::move(w)));
}

TEST(JsonAdjacentlyTaggedTest, DepthOfAReadableExpression) {
  std::vector<SampleParameter> parameters;
  testing::Read read = [&](JsonInput in) { return read_file(in, parameters); };
  EXPECT_EQ(outcome(negations(61), read), "ok");
  ASSERT_EQ(parameters.size(), 1u);
  const SampleExpr* node = &parameters[0].value;
  int depth = 0;
  while (node->variant == 4) {
    node = &node->children.at(0);
    ++depth;
  }
  EXPECT_EQ(depth, 61);
  EXPECT_EQ(*node, constant(1.5));

  // The 128th opening brace of the text is the one refused.
  std::string text = negations(62);
  std::size_t opened = 0;
  std::size_t line = 1;
  std::size_t column = 0;
  for (char c : text) {
    if (c == '\n') {
      ++line;
      column = 0;
      continue;
    }
    ++column;
    if ((c == '{' || c == '[') && ++opened == 128) break;
  }
  EXPECT_EQ(outcome(text, read),
            "recursion limit exceeded at line " + std::to_string(line) + " column " + std::to_string(column));
}

}  // namespace
}  // namespace ovm::ir
