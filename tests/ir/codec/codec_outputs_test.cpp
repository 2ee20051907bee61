#include "ir/codec/codec_outputs.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "codec_test_support.hpp"

namespace ovm::ir {
namespace {

using testing::read_into;
using testing::written;

struct MessageCase {
  std::string text;
  std::string outcome;
};

struct VariableCase {
  std::string text;
  Variable expected;
};

constexpr std::uint32_t largest_id = 4294967295u;

Variable amount(ReservoirId reservoir, SpeciesId species) { return Variable{Variable::Amount{reservoir, species}}; }
Variable parameter(std::uint32_t id) { return Variable{Variable::Parameter{ParameterId{id}}}; }

// Outputs and exports sit at level 2 of a file: the document and its lists.
TEST(CodecOutputsTest, ListsInsideADocument) {
  JsonWriter w;
  json_begin_object(w);
  json_member_list(w, "outputs", std::vector<Output>{Output{Variable{}, "time"}},
                   [](JsonWriter& out, const Output& o) { serialize_output(o, out); });
  json_member_list(w, "exports", std::vector<Export>{},
                   [](JsonWriter& out, const Export& e) { serialize_export(e, out); });
  json_end_object(w);
  EXPECT_EQ(std::get<std::string>(json_finish(std::move(w))), R"json({
  "outputs": [
    {
      "variable": {
        "kind": "time"
      },
      "label": "time"
    }
  ],
  "exports": []
})json");
}

TEST(CodecOutputsTest, Layouts) {
  EXPECT_EQ(written(Output{amount(0, 1), "tank.Cr"}, serialize_output), R"json({
  "variable": {
    "kind": "amount",
    "of": {
      "reservoir": 0,
      "species": 1
    }
  },
  "label": "tank.Cr"
})json");
  EXPECT_EQ(written(Variable{Variable::PoolComposition{2, 3, 4}}, serialize_variable), R"json({
  "kind": "pool_composition",
  "of": {
    "reservoir": 2,
    "species": 3,
    "isotope": 4
  }
})json");
  EXPECT_EQ(written(parameter(3), serialize_variable), "{\n  \"kind\": \"parameter\",\n  \"of\": 3\n}");
  EXPECT_EQ(written(Variable{}, serialize_variable), "{\n  \"kind\": \"time\"\n}");
  EXPECT_EQ(written(Variable{Variable::Composition{5, 6}}, serialize_variable),
            "{\n  \"kind\": \"composition\",\n  \"of\": {\n    \"reservoir\": 5,\n    \"isotope\": 6\n  }\n}");
  EXPECT_EQ(written(Variable{Variable::FractionRemaining{7, 8}}, serialize_variable),
            "{\n  \"kind\": \"fraction_remaining\",\n  \"of\": {\n    \"reservoir\": 7,\n    \"species\": 8\n  }\n}");
  EXPECT_EQ(written(Export{ExportFormat::Csv, "out/run.csv"}, serialize_export), R"json({
  "format": "csv",
  "path": "out/run.csv"
})json");
  EXPECT_EQ(written(Export{ExportFormat::Isof, ""}, serialize_export),
            "{\n  \"format\": \"isof\",\n  \"path\": \"\"\n}");
}

TEST(CodecOutputsTest, RoundTrips) {
  std::vector<Output> outputs{
      Output{Variable{}, "time"},
      Output{amount(largest_id, 0), "tank.Cr"},
      Output{Variable{Variable::Composition{0, largest_id}}, "d53Cr \"tank\""},
      Output{Variable{Variable::PoolComposition{1, 2, 3}}, "tank.CrO4.d53Cr"},
      Output{Variable{Variable::FractionRemaining{4, 5}}, "f\u00e9/\t"},
      Output{Variable{Variable::FractionReacted{6, 7}}, ""},
      Output{parameter(largest_id), "k"},
  };
  for (const Output& output : outputs) {
    std::string text = written(output, serialize_output);
    Output back = outputs.back();
    EXPECT_EQ(read_into(text, back, deserialize_output), "ok") << text;
    EXPECT_EQ(back, output) << text;
  }
  for (ExportFormat format : {ExportFormat::Isof, ExportFormat::Csv, ExportFormat::Json}) {
    Export file{format, "results/\u00e9t\u00e9 \\ run.out"};
    std::string text = written(file, serialize_export);
    Export back;
    EXPECT_EQ(read_into(text, back, deserialize_export), "ok") << text;
    EXPECT_EQ(back, file) << text;
  }
}

TEST(CodecOutputsTest, VariableForms) {
  Variable pool{Variable::PoolComposition{0, 1, 2}};
  for (const VariableCase& c : std::vector<VariableCase>{
           {R"({"kind": "time"})", Variable{}},
           {R"({"kind": "time", "of": null})", Variable{}},
           {R"({"of": null, "kind": "time"})", Variable{}},
           {R"(["time", null])", Variable{}},
           {R"({"kind": {"time": null}})", Variable{}},
           {R"({"x": [1, {}], "kind": "time", "reservoir": 0})", Variable{}},
           {R"({"kind": "amount", "of": {"reservoir": 0, "species": 1}})", amount(0, 1)},
           {R"({"of": {"species": 1, "reservoir": 0}, "kind": "amount"})", amount(0, 1)},
           {R"(["amount", {"reservoir": 0, "species": 1}])", amount(0, 1)},
           {R"({"kind": "amount", "of": {"reservoir": 0, "isotope": 9, "species": 1}, "label": "x"})", amount(0, 1)},
           {R"({"kind": {"parameter": null}, "of": 7})", parameter(7)},
           {R"(["parameter", 7])", parameter(7)},
           {R"({"of": 4294967295, "x": null, "kind": "parameter"})", parameter(largest_id)},
           {R"({"kind": "pool_composition", "of": {"isotope": 2, "reservoir": 0, "species": 1}})", pool},
           {R"({"of": {"reservoir": 3, "isotope": 4}, "kind": {"composition": null}})",
            Variable{Variable::Composition{3, 4}}},
           {R"(["fraction_remaining", {"species": 6, "reservoir": 5}])", Variable{Variable::FractionRemaining{5, 6}}},
           {R"({"kind": "fraction_reacted", "of": {"reservoir": 7, "species": 8}})",
            Variable{Variable::FractionReacted{7, 8}}},
       }) {
    Variable variable = amount(9, 9);
    EXPECT_EQ(read_into(c.text, variable, deserialize_variable), "ok") << c.text;
    EXPECT_EQ(variable, c.expected) << c.text;
  }
}

TEST(CodecOutputsTest, VariableMessages) {
  const std::string variants =
      "one of `time`, `amount`, `composition`, `pool_composition`, `fraction_remaining`, `fraction_reacted`, "
      "`parameter`";
  for (const MessageCase& c : std::vector<MessageCase>{
           {R"(["time"])", "invalid length 1, expected adjacently tagged enum Variable at line 1 column 8"},
           {"[]", "invalid length 0, expected adjacently tagged enum Variable at line 1 column 2"},
           {R"(["time", null, 1])", "trailing characters at line 1 column 16"},
           {R"({"kind": "time", "of": 0})",
            "invalid type: integer `0`, expected unit variant Variable::Time at line 1 column 24"},
           {R"({"kind": "amount", "of": [0, 1]})",
            "invalid type: sequence, expected struct variant Variable::Amount at line 1 column 25"},
           {R"(["pool_composition", "x"])",
            "invalid type: string \"x\", expected struct variant Variable::PoolComposition at line 1 column 24"},
           {R"({"kind": "amount"})", "missing field `of` at line 1 column 18"},
           {R"({"kind": "amount", "reservoir": 0, "species": 1})", "missing field `of` at line 1 column 48"},
           {R"({"of": 3})", "missing field `kind` at line 1 column 9"},
           {"{}", "missing field `kind` at line 1 column 2"},
           {R"({"kind": "parameter", "of": 3, "kind": "time"})", "duplicate field `kind` at line 1 column 37"},
           {R"({"of": 3, "of": 4})", "duplicate field `of` at line 1 column 14"},
           {R"({"of": 3, "kind": "parameter", "of": 4})", "duplicate field `of` at line 1 column 35"},
           {R"([{"parameter": null}, 7])", "invalid type: map, expected variant identifier at line 1 column 1"},
           {R"([7, 7])", "invalid type: integer `7`, expected variant identifier at line 1 column 2"},
           {R"({"kind": "amount", "of": {"reservoir": 0}})", "missing field `species` at line 1 column 41"},
           {R"({"kind": "amount", "of": {"reservoir": 0, "reservoir": 1}})",
            "duplicate field `reservoir` at line 1 column 53"},
           {R"({"kind": "composition", "of": {"reservoir": 1.0, "isotope": 0}})",
            "invalid type: floating point `1.0`, expected u32 at line 1 column 47"},
           {R"({"kind": "parameter", "of": -1})", "invalid value: integer `-1`, expected u32 at line 1 column 30"},
           {R"({"kind": "parameter", "of": 4294967296})",
            "invalid value: integer `4294967296`, expected u32 at line 1 column 38"},
           {R"({"kind": "parameter", "of": {"id": 1}})", "invalid type: map, expected u32 at line 1 column 28"},
           {R"({"kind": "Amount", "of": {}})",
            "unknown variant `Amount`, expected " + variants + " at line 1 column 17"},
           {R"({"kind": {"amounts": null}})",
            "unknown variant `amounts`, expected " + variants + " at line 1 column 19"},
           {R"({"kind": {"time": 1}})", "invalid type: integer `1`, expected unit at line 1 column 19"},
           {R"("amount")",
            "invalid type: string \"amount\", expected adjacently tagged enum Variable at line 1 column 8"},
           // Unlike a subject's tag, one that is neither a string nor an object is malformed.
           {R"({"kind": 2, "of": 3})", "expected a variant name at line 1 column 10"},
           // Content kept before its tag is read once the tag is known, and placed there.
           {R"({"of": [0, 1], "kind": "amount"})",
            "invalid type: sequence, expected struct variant Variable::Amount at line 1 column 32"},
           {R"({"of": {"reservoir": 0}, "kind": "amount", "x": 1})", "missing field `species` at line 1 column 41"},
           {R"({"of": -1, "kind": "parameter"})", "invalid value: integer `-1`, expected u32 at line 1 column 31"},
           {R"({"of": 0, "kind": "time"})",
            "invalid type: integer `0`, expected unit variant Variable::Time at line 1 column 25"},
       }) {
    Variable variable;
    EXPECT_EQ(read_into(c.text, variable, deserialize_variable), c.outcome) << c.text;
  }
}

TEST(CodecOutputsTest, OutputForms) {
  Output expected{amount(0, 1), "tank.Cr"};
  for (const std::string text : {
           R"({"variable": {"kind": "amount", "of": {"reservoir": 0, "species": 1}}, "label": "tank.Cr"})",
           R"({"label": "tank.Cr", "unit": "mol", "variable": ["amount", {"reservoir": 0, "species": 1}]})",
           R"([{"of": {"species": 1, "reservoir": 0}, "kind": "amount"}, "tank.Cr"])",
       }) {
    Output back;
    EXPECT_EQ(read_into(text, back, deserialize_output), "ok") << text;
    EXPECT_EQ(back, expected) << text;
  }
  std::vector<Output> list{expected};
  EXPECT_EQ(read_into(" [ ] ", list, deserialize_output_list), "ok");
  EXPECT_TRUE(list.empty());
  EXPECT_EQ(read_into(R"([[["time", null], "t"], {"label": "k", "variable": ["parameter", 2]}])", list,
                      deserialize_output_list),
            "ok");
  EXPECT_EQ(list, (std::vector<Output>{Output{Variable{}, "t"}, Output{parameter(2), "k"}}));
}

TEST(CodecOutputsTest, OutputMessages) {
  for (const MessageCase& c : std::vector<MessageCase>{
           {"{}", "missing field `variable` at line 1 column 2"},
           {R"({"variable": {"kind": "time"}})", "missing field `label` at line 1 column 30"},
           {R"([{"kind": "time"}])", "invalid length 1, expected struct Output with 2 elements at line 1 column 18"},
           {"[]", "invalid length 0, expected struct Output with 2 elements at line 1 column 2"},
           {R"(["time", "t"])",
            "invalid type: string \"time\", expected adjacently tagged enum Variable at line 1 column 7"},
           {R"([["time", null], "t", 1])", "trailing characters at line 1 column 23"},
           {R"({"label": "a", "label": "b"})", "duplicate field `label` at line 1 column 22"},
           {R"({"variable": ["time", null], "label": 5})",
            "invalid type: integer `5`, expected a string at line 1 column 39"},
           {R"("t")", "invalid type: string \"t\", expected struct Output at line 1 column 3"},
       }) {
    Output back;
    EXPECT_EQ(read_into(c.text, back, deserialize_output), c.outcome) << c.text;
  }
  std::vector<Output> list;
  EXPECT_EQ(read_into(R"({"variable": ["time", null], "label": "t"})", list, deserialize_output_list),
            "invalid type: map, expected a sequence at line 1 column 0");
  EXPECT_EQ(read_into(R"([[["time", null], "t"], [["time"], "u"]])", list, deserialize_output_list),
            "invalid length 1, expected adjacently tagged enum Variable at line 1 column 33");
}

TEST(CodecOutputsTest, ExportFormsAndMessages) {
  struct ExportCase {
    std::string text;
    Export expected;
  };
  for (const ExportCase& c : std::vector<ExportCase>{
           {R"({"format": {"csv": null}, "path": "a.csv"})", Export{ExportFormat::Csv, "a.csv"}},
           {R"(["json", "r.json"])", Export{ExportFormat::Json, "r.json"}},
           {R"({"path": "p", "note": [1, {"a": null}], "format": "isof"})", Export{ExportFormat::Isof, "p"}},
       }) {
    Export back;
    EXPECT_EQ(read_into(c.text, back, deserialize_export), "ok") << c.text;
    EXPECT_EQ(back, c.expected) << c.text;
  }
  ExportFormat format = ExportFormat::Isof;
  EXPECT_EQ(read_into(R"({"json": null})", format, deserialize_export_format), "ok");
  EXPECT_EQ(format, ExportFormat::Json);

  for (const MessageCase& c : std::vector<MessageCase>{
           {"{}", "missing field `format` at line 1 column 2"},
           {R"({"file": "x"})", "missing field `format` at line 1 column 13"},
           {R"({"format": "csv"})", "missing field `path` at line 1 column 17"},
           {R"({"format": "xlsx", "path": "a"})",
            "unknown variant `xlsx`, expected one of `isof`, `csv`, `json` at line 1 column 17"},
           {R"({"format": {"CSV": null}})",
            "unknown variant `CSV`, expected one of `isof`, `csv`, `json` at line 1 column 17"},
           {R"({"format": {"csv": false}})", "invalid type: boolean `false`, expected unit at line 1 column 24"},
           {R"({"format": 1})", "expected a variant name at line 1 column 12"},
           {R"(["csv"])", "invalid length 1, expected struct Export with 2 elements at line 1 column 7"},
           {R"(["csv", "a", "b"])", "trailing characters at line 1 column 14"},
           {R"({"format": "csv", "format": "json"})", "duplicate field `format` at line 1 column 26"},
           {R"({"path": null})", "invalid type: null, expected a string at line 1 column 13"},
           {R"("csv")", "invalid type: string \"csv\", expected struct Export at line 1 column 5"},
       }) {
    Export back;
    EXPECT_EQ(read_into(c.text, back, deserialize_export), c.outcome) << c.text;
  }
  std::vector<Export> list{Export{}};
  EXPECT_EQ(read_into("[]", list, deserialize_export_list), "ok");
  EXPECT_TRUE(list.empty());
  EXPECT_EQ(read_into(R"([["csv", "a"], ["json", "b"]])", list, deserialize_export_list), "ok");
  EXPECT_EQ(list, (std::vector<Export>{Export{ExportFormat::Csv, "a"}, Export{ExportFormat::Json, "b"}}));
  EXPECT_EQ(read_into(R"("exports")", list, deserialize_export_list),
            "invalid type: string \"exports\", expected a sequence at line 1 column 9");
}

}  // namespace
}  // namespace ovm::ir
