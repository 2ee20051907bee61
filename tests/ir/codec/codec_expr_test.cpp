#include "ir/codec/codec_expr.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "codec_test_support.hpp"
#include "ir/codec/codec_parameter.hpp"
#include "ir/json/json_record.hpp"

namespace ovm::ir {
namespace {

using testing::read_into;
using testing::read_kept_into;
using testing::written;

struct ExprCase {
  std::string text;
  Expr expected;
};

struct MessageCase {
  std::string text;
  std::string outcome;
};

Expr negations(int count, Expr leaf) {
  Expr expr = std::move(leaf);
  for (int i = 0; i < count; ++i) expr = unary_expr(UnaryOp::Negate, std::move(expr));
  return expr;
}

TEST(CodecExprTest, Layout) {
  Expr sum = binary_expr(BinaryOp::Add, Expr(Expr::Temperature{}), constant_expr(1));
  EXPECT_EQ(written(sum, serialize_expr),
            "{\n"
            "  \"kind\": \"binary\",\n"
            "  \"of\": {\n"
            "    \"op\": \"add\",\n"
            "    \"lhs\": {\n"
            "      \"kind\": \"temperature\"\n"
            "    },\n"
            "    \"rhs\": {\n"
            "      \"kind\": \"constant\",\n"
            "      \"of\": 1.0\n"
            "    }\n"
            "  }\n"
            "}");
  Expr call = call_expr(Function::Max, {parameter_expr(ParameterId{3}), Expr(Expr::Time{})});
  EXPECT_EQ(written(call, serialize_expr),
            "{\n"
            "  \"kind\": \"call\",\n"
            "  \"of\": {\n"
            "    \"function\": \"max\",\n"
            "    \"args\": [\n"
            "      {\n"
            "        \"kind\": \"parameter\",\n"
            "        \"of\": 3\n"
            "      },\n"
            "      {\n"
            "        \"kind\": \"time\"\n"
            "      }\n"
            "    ]\n"
            "  }\n"
            "}");
  EXPECT_EQ(written(call_expr(Function::Exp, {}), serialize_expr),
            "{\n  \"kind\": \"call\",\n  \"of\": {\n    \"function\": \"exp\",\n    \"args\": []\n  }\n}");
  EXPECT_EQ(written(unary_expr(UnaryOp::Negate, constant_expr(-2.5)), serialize_expr),
            "{\n  \"kind\": \"unary\",\n  \"of\": {\n    \"op\": \"negate\",\n    \"operand\": {\n"
            "      \"kind\": \"constant\",\n      \"of\": -2.5\n    }\n  }\n}");
  EXPECT_EQ(written(constant_expr(std::numeric_limits<double>::infinity()), serialize_expr),
            "{\n  \"kind\": \"constant\",\n  \"of\": null\n}");
}

TEST(CodecExprTest, RoundTrip) {
  std::vector<Expr> exprs;
  exprs.push_back(constant_expr(298.15));
  exprs.push_back(parameter_expr(ParameterId{4294967295u}));
  exprs.push_back(Expr(Expr::Temperature{}));
  exprs.push_back(Expr(Expr::Time{}));
  for (int op = 0; op < 5; ++op) {
    exprs.push_back(binary_expr(static_cast<BinaryOp>(op), constant_expr(op), parameter_expr(ParameterId{1})));
  }
  for (int function = 0; function < 8; ++function) {
    exprs.push_back(call_expr(static_cast<Function>(function), {constant_expr(1e16), Expr(Expr::Time{})}));
  }
  exprs.push_back(negations(3, call_expr(Function::Min, {})));
  for (const Expr& expr : exprs) {
    std::string text = written(expr, serialize_expr);
    Expr back;
    EXPECT_EQ(read_into(text, back, deserialize_expr), "ok") << text;
    EXPECT_EQ(back, expr) << text;
    EXPECT_EQ(read_kept_into(text, back, [](JsonInput in, Expr& out) { return deserialize_expr(in, out); }), "ok");
    EXPECT_EQ(back, expr) << text;
  }
}

// A tree far higher than any file can hold is still written, by the writer's own stack.
TEST(CodecExprTest, WritesAVeryHighTree) {
  std::string text = written(negations(1000, Expr(Expr::Time{})), serialize_expr);
  EXPECT_EQ(text.substr(0, 38), "{\n  \"kind\": \"unary\",\n  \"of\": {\n    \"op");
  EXPECT_EQ(text.back(), '}');
}

TEST(CodecExprTest, LenientForms) {
  Expr negate_time = unary_expr(UnaryOp::Negate, Expr(Expr::Time{}));
  for (const ExprCase& c : std::vector<ExprCase>{
           {"{\"kind\": \"time\"}", Expr(Expr::Time{})},
           {"{\"kind\": \"time\", \"of\": null}", Expr(Expr::Time{})},
           {"[\"time\", null]", Expr(Expr::Time{})},
           {"{\"kind\": {\"temperature\": null}}", Expr(Expr::Temperature{})},
           {"{\"of\": 2.5, \"kind\": \"constant\"}", constant_expr(2.5)},
           {"{\"kind\": \"constant\", \"of\": 2}", constant_expr(2)},
           {"[\"constant\", 2]", constant_expr(2)},
           {"{\"kind\": \"parameter\", \"of\": 3, \"note\": \"x\"}", parameter_expr(ParameterId{3})},
           {"{\"note\": [{}], \"kind\": \"parameter\", \"of\": 3}", parameter_expr(ParameterId{3})},
           {"{\"kind\": \"call\", \"of\": {\"function\": \"max\", \"args\": []}}", call_expr(Function::Max, {})},
           {"{\"kind\": \"unary\", \"of\": {\"operand\": {\"kind\": \"time\"}, \"op\": {\"negate\": null}}}", negate_time},
           {"{\"of\": {\"op\": \"negate\", \"operand\": [\"time\", null]}, \"kind\": \"unary\"}", negate_time},
           {"[\"unary\", {\"op\": \"negate\", \"operand\": {\"kind\": \"time\"}, \"x\": 1}]", negate_time},
       }) {
    Expr expr;
    EXPECT_EQ(read_into(c.text, expr, deserialize_expr), "ok") << c.text;
    EXPECT_EQ(expr, c.expected) << c.text;
  }
}

TEST(CodecExprTest, MessagesFromText) {
  for (const MessageCase& c : std::vector<MessageCase>{
           {"{\"kind\": \"time\", \"of\": 0}",
            "invalid type: integer `0`, expected unit variant Expr::Time at line 1 column 24"},
           {"[\"time\"]", "invalid length 1, expected adjacently tagged enum Expr at line 1 column 8"},
           {"[]", "invalid length 0, expected adjacently tagged enum Expr at line 1 column 2"},
           {"{}", "missing field `kind` at line 1 column 2"},
           {"{\"kind\": \"constant\"}", "missing field `of` at line 1 column 20"},
           {"{\"kind\": \"parameter\", \"of\": -1}", "invalid value: integer `-1`, expected u32 at line 1 column 30"},
           {"{\"kind\": \"parameter\", \"of\": 1.5}",
            "invalid type: floating point `1.5`, expected u32 at line 1 column 31"},
           {"{\"kind\": \"unary\", \"of\": [\"negate\", {\"kind\": \"time\"}]}",
            "invalid type: sequence, expected struct variant Expr::Unary at line 1 column 24"},
           {"{\"kind\": \"binary\", \"of\": {\"op\": \"add\", \"lhs\": {\"kind\": \"time\"}}}",
            "missing field `rhs` at line 1 column 63"},
           {"{\"kind\": \"binary\", \"of\": {\"lhs\": {\"kind\": \"time\"}}}", "missing field `op` at line 1 column 50"},
           {"{\"kind\": \"constant\", \"of\": 1, \"kind\": \"time\"}", "duplicate field `kind` at line 1 column 36"},
           {"[4, {\"op\": \"negate\", \"operand\": {\"kind\": \"time\"}}]",
            "invalid type: integer `4`, expected variant identifier at line 1 column 2"},
           {"{\"kind\": \"Time\"}",
            "unknown variant `Time`, expected one of `constant`, `parameter`, `temperature`, `time`, `unary`, "
            "`binary`, `call` at line 1 column 15"},
           {"{\"of\": 1, \"kind\": \"time\"}",
            "invalid type: integer `1`, expected unit variant Expr::Time at line 1 column 25"},
           {"{\"of\": 1, \"kind\": \"time\", \"x\": 0}",
            "invalid type: integer `1`, expected unit variant Expr::Time at line 1 column 24"},
           {"{\"kind\": \"constant\", \"of\": null}", "invalid type: null, expected f64 at line 1 column 31"},
           {"\"time\"", "invalid type: string \"time\", expected adjacently tagged enum Expr at line 1 column 6"},
           {"[\"time\", null, 1]", "trailing characters at line 1 column 16"},
       }) {
    Expr expr;
    EXPECT_EQ(read_into(c.text, expr, deserialize_expr), c.outcome) << c.text;
  }
}

TEST(CodecExprTest, MessagesOfTheOperators) {
  for (const MessageCase& c : std::vector<MessageCase>{
           {"{\"kind\": \"unary\", \"of\": {\"op\": \"neg\"}}", "unknown variant `neg`, expected `negate`"},
           {"{\"kind\": \"binary\", \"of\": {\"op\": \"Add\"}}",
            "unknown variant `Add`, expected one of `add`, `subtract`, `multiply`, `divide`, `power`"},
           {"{\"kind\": \"call\", \"of\": {\"function\": \"log\"}}",
            "unknown variant `log`, expected one of `exp`, `ln`, `log10`, `sqrt`, `abs`, `pow`, `min`, `max`"},
       }) {
    Expr expr;
    std::string outcome = read_into(c.text, expr, deserialize_expr);
    EXPECT_EQ(outcome.substr(0, c.outcome.size()), c.outcome) << c.text;
  }
}

// Inside a kept value the tag may also be a variant index, and errors have no place of their own.
TEST(CodecExprTest, Buffered) {
  auto read = [](JsonInput in, Expr& out) { return deserialize_expr_buffered(*in.kept, out); };
  Expr expr;
  EXPECT_EQ(read_kept_into("[4, {\"op\": \"negate\", \"operand\": {\"kind\": \"time\"}}]", expr, read), "ok");
  EXPECT_EQ(expr, unary_expr(UnaryOp::Negate, Expr(Expr::Time{})));
  EXPECT_EQ(read_kept_into("{\"kind\": \"unary\", \"of\": {\"op\": {\"negate\": {}}, \"operand\": [3, null]}}", expr,
                           read),
            "ok");
  EXPECT_EQ(expr, unary_expr(UnaryOp::Negate, Expr(Expr::Time{})));
  for (const MessageCase& c : std::vector<MessageCase>{
           {"[7, null]", "invalid value: integer `7`, expected variant index 0 <= i < 7"},
           {"[\"constant\", 1, 2]", "invalid length 3, expected 2 elements in sequence"},
           {"{\"kind\": {}}", "invalid value: map, expected map with a single key"},
           {"{\"kind\": {\"time\": null, \"constant\": null}}", "invalid value: map, expected map with a single key"},
           {"{\"kind\": {\"time\": 1}}", "invalid type: integer `1`, expected unit"},
           {"{\"kind\": 3}", "invalid type: integer `3`, expected string or map"},
           {"{\"kind\": \"time\", \"of\": 0}", "invalid type: integer `0`, expected unit variant Expr::Time"},
           {"[\"time\"]", "invalid length 1, expected adjacently tagged enum Expr"},
       }) {
    EXPECT_EQ(read_kept_into(c.text, expr, read), c.outcome) << c.text;
  }
}

TEST(CodecParameterTest, LayoutAndForms) {
  Parameter parameter{ParameterId{2}, "k", "R1", constant_expr(0.5)};
  EXPECT_EQ(written(parameter, serialize_parameter),
            "{\n  \"id\": 2,\n  \"name\": \"k\",\n  \"owner\": \"R1\",\n  \"value\": {\n    \"kind\": \"constant\",\n"
            "    \"of\": 0.5\n  }\n}");
  EXPECT_EQ(written(Parameter{ParameterId{0}, "k", {}, {}}, serialize_parameter),
            "{\n  \"id\": 0,\n  \"name\": \"k\",\n  \"owner\": null,\n  \"value\": null\n}");
  Parameter back;
  EXPECT_EQ(read_into(written(parameter, serialize_parameter), back, deserialize_parameter), "ok");
  EXPECT_EQ(back, parameter);
  for (const std::string text : {"{\"id\": 0, \"name\": \"k\"}", "[0, \"k\", null, null]",
                                 "{\"value\": null, \"name\": \"k\", \"extra\": 1, \"id\": 0}"}) {
    back = parameter;
    EXPECT_EQ(read_into(text, back, deserialize_parameter), "ok") << text;
    EXPECT_EQ(back, (Parameter{ParameterId{0}, "k", {}, {}})) << text;
  }
  for (const MessageCase& c : std::vector<MessageCase>{
           {"[0, \"k\"]", "invalid length 2, expected struct Parameter with 4 elements at line 1 column 8"},
           {"{\"name\": \"k\"}", "missing field `id` at line 1 column 13"},
           {"{}", "missing field `id` at line 1 column 2"},
           {"{\"id\": 0}", "missing field `name` at line 1 column 9"},
           {"{\"id\": 0, \"id\": 1}", "duplicate field `id` at line 1 column 14"},
           {"[0, \"k\", null, null, null]", "trailing characters at line 1 column 22"},
           {"7", "invalid type: integer `7`, expected struct Parameter at line 1 column 1"},
       }) {
    EXPECT_EQ(read_into(c.text, back, deserialize_parameter), c.outcome) << c.text;
  }
}

// A parameter value inside a document sits at level 4: the document, the list, the record.
std::string read_in_document(const Parameter& parameter) {
  JsonWriter w;
  json_begin_object(w);
  json_key(w, "parameters");
  json_list(w, std::vector<Parameter>{parameter}, [](JsonWriter& out, const Parameter& p) { serialize_parameter(p, out); });
  json_end_object(w);
  std::string text = std::get<std::string>(json_finish(std::move(w)));
  static constexpr JsonMember members[] = {{"parameters"}};
  static constexpr JsonRecord record{"struct Document", members};
  std::vector<Parameter> back;
  std::string outcome = testing::outcome(text, [&](JsonInput in) {
    return read_record(in, record, [&](std::size_t, JsonInput value) { return deserialize_parameter_list(value, back); });
  });
  if (outcome == "ok" && (back.size() != 1 || !(back[0] == parameter))) return "read back differs";
  return outcome;
}

TEST(CodecParameterTest, DepthAndNonFinite) {
  EXPECT_EQ(read_in_document(Parameter{ParameterId{0}, "k", {}, negations(61, constant_expr(1))}), "ok");
  std::string deep = read_in_document(Parameter{ParameterId{0}, "k", {}, negations(62, constant_expr(1))});
  EXPECT_EQ(deep.substr(0, 24), "recursion limit exceeded") << deep;
  std::string nan = read_in_document(Parameter{ParameterId{0}, "k", {}, constant_expr(std::nan(""))});
  EXPECT_EQ(nan.substr(0, 33), "invalid type: null, expected f64 ") << nan;
}

}  // namespace
}  // namespace ovm::ir
