#include "ir/codec/codec_kinetics.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "codec_test_support.hpp"

namespace ovm::ir {
namespace {

using testing::read_into;
using testing::read_kept_into;
using testing::written;

struct MessageCase {
  std::string text;
  std::string outcome;
};

constexpr double infinity = std::numeric_limits<double>::infinity();

Fractionation constant_fractionation(double alpha, std::optional<double> phase = {}) {
  return Fractionation{0, FractionationFactor{FractionationFactor::Constant{alpha}}, phase};
}

FractionationFactor law_factor(Expr expr) { return FractionationFactor{FractionationFactor::Law{std::move(expr)}}; }

FractionationFactor table_factor(std::string path) {
  return FractionationFactor{FractionationFactor::Table{std::move(path)}};
}

// A fractionation in a file sits at level 4: the document, the processes list, a process and
// its fractionations list.
TEST(CodecKineticsTest, FractionationInsideADocument) {
  JsonWriter w;
  json_begin_object(w);
  json_key(w, "processes");
  json_begin_list(w);
  json_item(w);
  json_begin_object(w);
  json_member_list(w, "fractionations", std::vector<Fractionation>{constant_fractionation(0.998)},
                   [](JsonWriter& out, const Fractionation& f) { serialize_fractionation(f, out); });
  json_end_object(w);
  json_end_list(w);
  json_end_object(w);
  EXPECT_EQ(std::get<std::string>(json_finish(std::move(w))), R"json({
  "processes": [
    {
      "fractionations": [
        {
          "isotope": 0,
          "factor": {
            "kind": "constant",
            "of": 0.998
          },
          "phase_permil": null
        }
      ]
    }
  ]
})json");
}

TEST(CodecKineticsTest, Layouts) {
  Fractionation law{2, law_factor(constant_expr(1.002)), -0.5};
  EXPECT_EQ(written(law, serialize_fractionation), R"json({
  "isotope": 2,
  "factor": {
    "kind": "law",
    "of": {
      "kind": "constant",
      "of": 1.002
    }
  },
  "phase_permil": -0.5
})json");
  EXPECT_EQ(written(table_factor("tables/cr.csv"), serialize_fractionation_factor), R"json({
  "kind": "table",
  "of": {
    "path": "tables/cr.csv"
  }
})json");
  EXPECT_EQ(written(constant_fractionation(infinity, std::nan("")), serialize_fractionation), R"json({
  "isotope": 0,
  "factor": {
    "kind": "constant",
    "of": null
  },
  "phase_permil": null
})json");
  Kinetics first{RateLaw{RateLaw::FirstOrder{constant_expr(0.1)}}};
  EXPECT_EQ(written(first, serialize_kinetics), R"json({
  "rate": {
    "kind": "first_order",
    "constant": {
      "kind": "constant",
      "of": 0.1
    }
  }
})json");
  RateLaw monod{RateLaw::Monod{parameter_expr(ParameterId{2}), Expr(Expr::Time{})}};
  EXPECT_EQ(written(monod, serialize_rate_law), R"json({
  "kind": "monod",
  "constant": {
    "kind": "parameter",
    "of": 2
  },
  "half_saturation": {
    "kind": "time"
  }
})json");
}

TEST(CodecKineticsTest, RoundTrips) {
  std::vector<Fractionation> fractionations{
      constant_fractionation(0.998),
      constant_fractionation(1, 3.25),
      Fractionation{7, law_factor(binary_expr(BinaryOp::Add, Expr(Expr::Temperature{}), constant_expr(1))), {}},
      Fractionation{4294967295u, table_factor("t\u00e9/\"x\".csv"), 0},
  };
  for (const Fractionation& fractionation : fractionations) {
    std::string text = written(fractionation, serialize_fractionation);
    Fractionation back;
    EXPECT_EQ(read_into(text, back, deserialize_fractionation), "ok") << text;
    EXPECT_EQ(back, fractionation) << text;
  }
  std::vector<RateLaw> laws{
      RateLaw{RateLaw::ZeroOrder{constant_expr(2)}},
      RateLaw{RateLaw::FirstOrder{parameter_expr(ParameterId{1})}},
      RateLaw{RateLaw::SecondOrder{unary_expr(UnaryOp::Negate, Expr(Expr::Time{}))}},
      RateLaw{RateLaw::Monod{constant_expr(0.5), call_expr(Function::Max, {constant_expr(1), constant_expr(2)})}},
  };
  for (const RateLaw& law : laws) {
    Kinetics kinetics{law};
    std::string text = written(kinetics, serialize_kinetics);
    Kinetics back;
    EXPECT_EQ(read_into(text, back, deserialize_kinetics), "ok") << text;
    EXPECT_EQ(back, kinetics) << text;
  }
  // A non-finite phase value is written null and reads back as none.
  Fractionation back;
  EXPECT_EQ(
      read_into(written(constant_fractionation(2, infinity), serialize_fractionation), back, deserialize_fractionation),
      "ok");
  EXPECT_EQ(back, constant_fractionation(2));
}

TEST(CodecKineticsTest, FractionationForms) {
  Fractionation example = constant_fractionation(0.998);
  for (const std::string text : {
           "[0, [\"constant\", 0.998], null]",
           "{\"isotope\": 0, \"factor\": {\"kind\": \"constant\", \"of\": 0.998}}",
           "{\"phase_permil\": null, \"factor\": [\"constant\", 0.998], \"note\": [1, {}], \"isotope\": 0}",
           "{\"isotope\": 0, \"x\": 1, \"x\": 2, \"factor\": {\"of\": 0.998, \"kind\": \"constant\"}}",
       }) {
    Fractionation back = constant_fractionation(5, 1);
    EXPECT_EQ(read_into(text, back, deserialize_fractionation), "ok") << text;
    EXPECT_EQ(back, example) << text;
  }
  std::vector<Fractionation> list{constant_fractionation(9)};
  EXPECT_EQ(read_into("[]", list, deserialize_fractionation_list), "ok");
  EXPECT_TRUE(list.empty());
  EXPECT_EQ(read_into("[[0, [\"constant\", 1], 2], {\"factor\": [\"table\", {\"path\": \"p\"}], \"isotope\": 3}]", list,
                      deserialize_fractionation_list),
            "ok");
  EXPECT_EQ(list, (std::vector<Fractionation>{constant_fractionation(1, 2), Fractionation{3, table_factor("p"), {}}}));

  for (const MessageCase& c : std::vector<MessageCase>{
           {"[0, [\"constant\", 0.998]]",
            "invalid length 2, expected struct Fractionation with 3 elements at line 1 column 24"},
           {"[0]", "invalid length 1, expected struct Fractionation with 3 elements at line 1 column 3"},
           {"[]", "invalid length 0, expected struct Fractionation with 3 elements at line 1 column 2"},
           {"[0, [\"constant\", 1], null, 4]", "trailing characters at line 1 column 28"},
           {"{\"phase_permil\": 1}", "missing field `isotope` at line 1 column 19"},
           {"{\"isotope\": 1}", "missing field `factor` at line 1 column 14"},
           {"{\"isotope\": 0, \"isotope\": null}", "duplicate field `isotope` at line 1 column 24"},
           {"{\"phase_permil\": null, \"phase_permil\": 1}", "duplicate field `phase_permil` at line 1 column 37"},
           {"{\"isotope\": 1.0}", "invalid type: floating point `1.0`, expected u32 at line 1 column 15"},
           {"{\"isotope\": 0, \"factor\": [\"constant\", 1], \"phase_permil\": \"1\"}",
            "invalid type: string \"1\", expected f64 at line 1 column 61"},
           {"\"x\"", "invalid type: string \"x\", expected struct Fractionation at line 1 column 3"},
           {"{\"fractionations\": 1}", "missing field `isotope` at line 1 column 21"},
       }) {
    Fractionation back;
    EXPECT_EQ(read_into(c.text, back, deserialize_fractionation), c.outcome) << c.text;
  }
  EXPECT_EQ(read_into("{\"isotope\": 0}", list, deserialize_fractionation_list),
            "invalid type: map, expected a sequence at line 1 column 0");
}

TEST(CodecKineticsTest, FactorForms) {
  struct FactorCase {
    std::string text;
    FractionationFactor expected;
  };
  FractionationFactor alpha{FractionationFactor::Constant{0.998}};
  for (const FactorCase& c : std::vector<FactorCase>{
           {"{\"kind\": \"constant\", \"of\": 0.998}", alpha},
           {"{\"of\": 0.998, \"kind\": \"constant\"}", alpha},
           {"{\"kind\": {\"constant\": null}, \"of\": 0.998}", alpha},
           {"[\"constant\", 0.998]", alpha},
           {"{\"a\": 1, \"kind\": \"constant\", \"b\": [2], \"of\": 0.998, \"c\": {}}", alpha},
           {"{\"kind\": \"constant\", \"of\": 1}", FractionationFactor{FractionationFactor::Constant{1.0}}},
           {"{\"kind\": \"law\", \"of\": [\"time\", null]}", law_factor(Expr(Expr::Time{}))},
           {"{\"of\": {\"of\": 3, \"kind\": \"parameter\"}, \"kind\": \"law\"}",
            law_factor(parameter_expr(ParameterId{3}))},
           {"[\"law\", {\"kind\": \"constant\", \"of\": 2}]", law_factor(constant_expr(2))},
           {"{\"kind\": \"table\", \"of\": {\"note\": 1, \"path\": \"t.csv\"}}", table_factor("t.csv")},
           {"{\"of\": {\"path\": \"t.csv\"}, \"kind\": \"table\"}", table_factor("t.csv")},
       }) {
    FractionationFactor factor;
    EXPECT_EQ(read_into(c.text, factor, deserialize_fractionation_factor), "ok") << c.text;
    EXPECT_EQ(factor, c.expected) << c.text;
  }
}

TEST(CodecKineticsTest, FactorMessages) {
  for (const MessageCase& c : std::vector<MessageCase>{
           {"{\"kind\": \"constant\"}", "missing field `of` at line 1 column 20"},
           {"{\"of\": 1}", "missing field `kind` at line 1 column 9"},
           {"{}", "missing field `kind` at line 1 column 2"},
           {"{\"x\": 1}", "missing field `kind` at line 1 column 8"},
           {"{\"kind\": \"constant\", \"kind\": 5, \"of\": 1}", "duplicate field `kind` at line 1 column 27"},
           {"{\"kind\": \"constant\", \"of\": 1, \"of\": 2}", "duplicate field `of` at line 1 column 34"},
           {"{\"of\": 1, \"kind\": \"constant\", \"of\": 2}", "duplicate field `of` at line 1 column 34"},
           {"{\"of\": 1, \"kind\": \"constant\", \"kind\": \"law\"}", "duplicate field `kind` at line 1 column 36"},
           {"{\"kind\": \"epsilon\", \"of\": 1}",
            "unknown variant `epsilon`, expected one of `constant`, `law`, `table` at line 1 column 18"},
           {"{\"kind\": {\"constant\": 1}, \"of\": 1}", "invalid type: integer `1`, expected unit at line 1 column 23"},
           {"[{\"constant\": null}, 0.998]", "invalid type: map, expected variant identifier at line 1 column 1"},
           {"[1, 0.998]", "invalid type: integer `1`, expected variant identifier at line 1 column 2"},
           {"[]", "invalid length 0, expected adjacently tagged enum FractionationFactor at line 1 column 2"},
           {"[\"constant\"]",
            "invalid length 1, expected adjacently tagged enum FractionationFactor at line 1 column 12"},
           {"[\"constant\", 1, 2]", "trailing characters at line 1 column 17"},
           {"0.998",
            "invalid type: floating point `0.998`, expected adjacently tagged enum FractionationFactor at line 1 "
            "column 5"},
           {"{\"kind\": \"constant\", \"of\": \"0.998\"}",
            "invalid type: string \"0.998\", expected f64 at line 1 column 34"},
           {"{\"kind\": \"constant\", \"of\": null}", "invalid type: null, expected f64 at line 1 column 31"},
           {"{\"kind\": \"table\", \"of\": [\"t.csv\"]}",
            "invalid type: sequence, expected struct variant FractionationFactor::Table at line 1 column 24"},
           {"{\"kind\": \"table\", \"of\": \"t.csv\"}",
            "invalid type: string \"t.csv\", expected struct variant FractionationFactor::Table at line 1 column 31"},
           {"{\"kind\": \"table\", \"of\": {}}", "missing field `path` at line 1 column 26"},
           {"{\"kind\": \"table\", \"of\": {\"path\": \"a\", \"path\": \"b\"}}",
            "duplicate field `path` at line 1 column 44"},
           {"{\"kind\": \"table\", \"of\": {\"path\": 1}}",
            "invalid type: integer `1`, expected a string at line 1 column 34"},
           // Content kept before its tag is placed where the factor's reader stops after the tag.
           {"{\"of\": [\"t.csv\"], \"kind\": \"table\"}",
            "invalid type: sequence, expected struct variant FractionationFactor::Table at line 1 column 34"},
           {"{\"of\": [\"t.csv\"], \"kind\": \"table\", \"x\": 1}",
            "invalid type: sequence, expected struct variant FractionationFactor::Table at line 1 column 33"},
           {"{\"of\": \"0.998\", \"kind\": \"constant\"}",
            "invalid type: string \"0.998\", expected f64 at line 1 column 35"},
           {"{\"of\": {\"kind\": \"constant\"}, \"kind\": \"law\"}", "missing field `of` at line 1 column 43"},
           {"{\"of\": {\"kind\": \"constant\"}, \"kind\": \"law\" ,\"x\": 1}",
            "missing field `of` at line 1 column 43"},
       }) {
    FractionationFactor factor;
    EXPECT_EQ(read_into(c.text, factor, deserialize_fractionation_factor), c.outcome) << c.text;
  }
  // A factor written from a non-finite alpha cannot be read back.
  FractionationFactor factor;
  EXPECT_EQ(read_into(written(FractionationFactor{FractionationFactor::Constant{std::nan("")}},
                              serialize_fractionation_factor),
                      factor, deserialize_fractionation_factor),
            "invalid type: null, expected f64 at line 3 column 12");
}

TEST(CodecKineticsTest, RateLawForms) {
  struct LawCase {
    std::string text;
    RateLaw expected;
  };
  Expr point_one = constant_expr(0.1);
  for (const LawCase& c : std::vector<LawCase>{
           {"{\"constant\": {\"kind\": \"constant\", \"of\": 0.1}, \"kind\": \"first_order\"}",
            RateLaw{RateLaw::FirstOrder{point_one}}},
           {"[\"first_order\", [\"constant\", 0.1]]", RateLaw{RateLaw::FirstOrder{point_one}}},
           {"{\"kind\": \"zero_order\", \"half_saturation\": {\"kind\": \"time\"}, \"constant\": [\"constant\", 0.1]}",
            RateLaw{RateLaw::ZeroOrder{point_one}}},
           {"{\"kind\": \"second_order\", \"constant\": {\"of\": 0.1, \"kind\": \"constant\"}, \"rate\": 1}",
            RateLaw{RateLaw::SecondOrder{point_one}}},
           {"{\"half_saturation\": [\"time\", null], \"kind\": \"monod\", \"constant\": [\"constant\", 0.1]}",
            RateLaw{RateLaw::Monod{point_one, Expr(Expr::Time{})}}},
           {"[\"monod\", [\"constant\", 0.1], {\"kind\": \"time\"}]",
            RateLaw{RateLaw::Monod{point_one, Expr(Expr::Time{})}}},
       }) {
    RateLaw law;
    EXPECT_EQ(read_into(c.text, law, deserialize_rate_law), "ok") << c.text;
    EXPECT_EQ(law, c.expected) << c.text;
  }
  for (const std::string text :
       {"[[\"first_order\", [\"constant\", 0.1]]]",
        "{\"note\": null, \"rate\": {\"kind\": \"first_order\", \"constant\": [\"constant\", 0.1]}}"}) {
    Kinetics kinetics;
    EXPECT_EQ(read_into(text, kinetics, deserialize_kinetics), "ok") << text;
    EXPECT_EQ(kinetics, Kinetics{RateLaw{RateLaw::FirstOrder{point_one}}}) << text;
  }
  std::optional<Kinetics> none = Kinetics{};
  EXPECT_EQ(read_into("null", none, deserialize_optional_kinetics), "ok");
  EXPECT_FALSE(none.has_value());
}

// Members of a law are read from its kept rest: their faults have no place of their own.
TEST(CodecKineticsTest, RateLawMemberMessages) {
  const std::string c = "[\"constant\", 1]";
  for (const MessageCase& m : std::vector<MessageCase>{
           {"{\"kind\": \"monod\", \"constant\": " + c + "}", "missing field `half_saturation`"},
           {"{\"kind\": \"monod\"}", "missing field `constant`"},
           {"{\"kind\": \"monod\", \"half_saturation\": " + c + "}", "missing field `constant`"},
           {"{\"kind\": \"first_order\", \"constant\": " + c + ", \"constant\": " + c + "}",
            "duplicate field `constant`"},
           {"{\"kind\": \"monod\", \"half_saturation\": " + c + ", \"half_saturation\": " + c + "}",
            "duplicate field `half_saturation`"},
           {"[\"monod\", " + c + "]", "invalid length 1, expected struct variant RateLaw::Monod with 2 elements"},
           {"[\"zero_order\"]", "invalid length 0, expected struct variant RateLaw::ZeroOrder with 1 element"},
           {"[\"second_order\"]", "invalid length 0, expected struct variant RateLaw::SecondOrder with 1 element"},
           {"[\"zero_order\", " + c + ", " + c + "]", "invalid length 2, expected 1 element in sequence"},
           {"[\"monod\", " + c + ", " + c + ", " + c + "]", "invalid length 3, expected 2 elements in sequence"},
           {"{\"kind\": \"first_order\", \"constant\": [\"constant\", \"x\"]}",
            "invalid type: string \"x\", expected f64"},
           {"{\"kind\": \"first_order\", \"constant\": 0.1}",
            "invalid type: floating point `0.1`, expected adjacently tagged enum Expr"},
           {"[]", "missing field `kind`"},
           {"{\"constant\": " + c + "}", "missing field `kind`"},
           {"\"first_order\"", "invalid type: string \"first_order\", expected internally tagged enum RateLaw"},
           {"{\"kind\": \"exponential\"}",
            "unknown variant `exponential`, expected one of `zero_order`, `first_order`, `second_order`, `monod`"},
       }) {
    RateLaw law;
    EXPECT_EQ(read_kept_into(m.text, law, deserialize_rate_law), m.outcome) << m.text;
  }
}

TEST(CodecKineticsTest, KineticsMessages) {
  for (const MessageCase& c : std::vector<MessageCase>{
           {"{}", "missing field `rate` at line 1 column 2"},
           {"[]", "invalid length 0, expected struct Kinetics with 1 element at line 1 column 2"},
           {"[[\"zero_order\", [\"time\", null]], 1]", "trailing characters at line 1 column 34"},
           {"\"first_order\"", "invalid type: string \"first_order\", expected struct Kinetics at line 1 column 13"},
           {"{\"rate\": [\"zero_order\", [\"time\", null]], \"rate\": 1}",
            "duplicate field `rate` at line 1 column 47"},
           {"{\"rate\": \"first_order\"}",
            "invalid type: string \"first_order\", expected internally tagged enum RateLaw at line 1 column 22"},
           // The tag's own faults are placed where they stand.
           {"{\"rate\": {\"kind\": 1}}", "invalid type: integer `1`, expected variant identifier at line 1 column 19"},
           {"{\"rate\": {\"kind\": {\"first_order\": null}}}",
            "invalid type: map, expected variant identifier at line 1 column 18"},
           {"{\"rate\": {\"kind\": \"Monod\"}}",
            "unknown variant `Monod`, expected one of `zero_order`, `first_order`, `second_order`, `monod` at line 1 "
            "column 25"},
           {"{\"rate\": {\"kind\": \"monod\", \"kind\": 1}}", "duplicate field `kind` at line 1 column 33"},
           {"{\"rate\": {\"constant\": 1}}", "missing field `kind` at line 1 column 24"},
           {"{\"rate\": []}", "missing field `kind` at line 1 column 11"},
           // The members' faults are placed where the kinetics reader stops after the law.
           {"{\"rate\": {\"kind\": \"first_order\"}}", "missing field `constant` at line 1 column 33"},
           {"{\"rate\": {\"kind\": \"first_order\"}, \"x\": 1}", "missing field `constant` at line 1 column 32"},
           {"{\"rate\": {\"kind\": \"first_order\"} }", "missing field `constant` at line 1 column 34"},
           {"[{\"kind\": \"monod\", \"constant\": [\"time\", null]}]",
            "missing field `half_saturation` at line 1 column 47"},
           {"[[\"zero_order\", [\"time\", null], 1]]",
            "invalid length 2, expected 1 element in sequence at line 1 column 35"},
       }) {
    Kinetics kinetics;
    EXPECT_EQ(read_into(c.text, kinetics, deserialize_kinetics), c.outcome) << c.text;
  }
  // In the writer's layout a fault of the law is placed at the kinetics object's closing brace.
  std::string text = written(Kinetics{RateLaw{RateLaw::FirstOrder{constant_expr(infinity)}}}, serialize_kinetics);
  Kinetics kinetics;
  EXPECT_EQ(read_into(text, kinetics, deserialize_kinetics), "invalid type: null, expected f64 at line 9 column 1");
}

}  // namespace
}  // namespace ovm::ir
