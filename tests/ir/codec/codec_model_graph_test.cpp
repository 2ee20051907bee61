// The root of the lowered-model file: its layout, its two forms and the errors of a whole document.
#include "ir/codec/codec_model_graph.hpp"

#include <gtest/gtest.h>

#include <limits>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "codec_test_support.hpp"
#include "ir/graph/graph_expressions.hpp"
#include "lower_test_support.hpp"

namespace ovm::ir {
namespace {

using ordered = nlohmann::ordered_json;
using testing::written;

// "ok" with the graph in `out`, or the reader's error with its place.
std::string parsed(std::string_view text, ModelGraph& out) {
  auto result = parse_model_graph(text);
  if (auto* error = std::get_if<JsonError>(&result)) return json_error_text(*error);
  out = std::get<ModelGraph>(std::move(result));
  return "ok";
}

std::string parsed(std::string_view text) {
  ModelGraph ignored;
  return parsed(text, ignored);
}

constexpr std::string_view empty_document =
    "{\n"
    "  \"meta\": {\n"
    "    \"title\": null,\n"
    "    \"author\": null,\n"
    "    \"date\": null,\n"
    "    \"version\": null,\n"
    "    \"language\": null,\n"
    "    \"description\": null,\n"
    "    \"license\": null,\n"
    "    \"reference\": null\n"
    "  },\n"
    "  \"provenance\": {\n"
    "    \"source_path\": null,\n"
    "    \"source_sha256\": null,\n"
    "    \"databases\": [],\n"
    "    \"generator\": \"ovm 0.1.0\",\n"
    "    \"ir_version\": \"1.3\"\n"
    "  },\n"
    "  \"conditions\": {\n"
    "    \"temperature_k\": null,\n"
    "    \"pressure_bar\": null,\n"
    "    \"ph\": null,\n"
    "    \"eh_mv\": null,\n"
    "    \"ionic_strength\": null\n"
    "  },\n"
    "  \"parameters\": [],\n"
    "  \"species\": [],\n"
    "  \"isotopes\": [],\n"
    "  \"reservoirs\": [],\n"
    "  \"processes\": [],\n"
    "  \"samples\": [],\n"
    "  \"identifications\": [],\n"
    "  \"requires\": [],\n"
    "  \"backends\": [],\n"
    "  \"simulation\": null,\n"
    "  \"outputs\": [],\n"
    "  \"sampling_seconds\": null,\n"
    "  \"exports\": []\n"
    "}";

ModelGraph empty_graph() {
  ModelGraph graph;
  graph.provenance.generator = "ovm 0.1.0";
  graph.provenance.ir_version = "1.3";
  return graph;
}

// A parameter, a species, a capability and a sampling interval, with a few header texts.
ModelGraph small_graph() {
  ModelGraph graph = empty_graph();
  graph.meta.title = "Tiny";
  graph.provenance.source_path = "tiny.ovm";
  graph.conditions.temperature_k = 298.15;
  graph.parameters.push_back(Parameter{ParameterId{0}, "k", std::nullopt, constant_expr(2.5)});
  graph.species.push_back(Species{0, "Cr(VI)", "Cr"});
  graph.requires_ = {"identify"};
  graph.sampling_seconds = 60;
  return graph;
}

TEST(CodecModelGraphTest, GraphWithoutContentLayout) {
  EXPECT_EQ(written(empty_graph(), serialize_model_graph), empty_document);
  ModelGraph back;
  EXPECT_EQ(parsed(empty_document, back), "ok");
  EXPECT_EQ(back, empty_graph());
}

TEST(CodecModelGraphTest, SmallGraphLayout) {
  EXPECT_EQ(written(small_graph(), serialize_model_graph),
            "{\n"
            "  \"meta\": {\n"
            "    \"title\": \"Tiny\",\n"
            "    \"author\": null,\n"
            "    \"date\": null,\n"
            "    \"version\": null,\n"
            "    \"language\": null,\n"
            "    \"description\": null,\n"
            "    \"license\": null,\n"
            "    \"reference\": null\n"
            "  },\n"
            "  \"provenance\": {\n"
            "    \"source_path\": \"tiny.ovm\",\n"
            "    \"source_sha256\": null,\n"
            "    \"databases\": [],\n"
            "    \"generator\": \"ovm 0.1.0\",\n"
            "    \"ir_version\": \"1.3\"\n"
            "  },\n"
            "  \"conditions\": {\n"
            "    \"temperature_k\": 298.15,\n"
            "    \"pressure_bar\": null,\n"
            "    \"ph\": null,\n"
            "    \"eh_mv\": null,\n"
            "    \"ionic_strength\": null\n"
            "  },\n"
            "  \"parameters\": [\n"
            "    {\n"
            "      \"id\": 0,\n"
            "      \"name\": \"k\",\n"
            "      \"owner\": null,\n"
            "      \"value\": {\n"
            "        \"kind\": \"constant\",\n"
            "        \"of\": 2.5\n"
            "      }\n"
            "    }\n"
            "  ],\n"
            "  \"species\": [\n"
            "    {\n"
            "      \"id\": 0,\n"
            "      \"formula\": \"Cr(VI)\",\n"
            "      \"element\": \"Cr\"\n"
            "    }\n"
            "  ],\n"
            "  \"isotopes\": [],\n"
            "  \"reservoirs\": [],\n"
            "  \"processes\": [],\n"
            "  \"samples\": [],\n"
            "  \"identifications\": [],\n"
            "  \"requires\": [\n"
            "    \"identify\"\n"
            "  ],\n"
            "  \"backends\": [],\n"
            "  \"simulation\": null,\n"
            "  \"outputs\": [],\n"
            "  \"sampling_seconds\": 60.0,\n"
            "  \"exports\": []\n"
            "}");
}

// The written document of a graph, rebuilt with its keys in reverse order or as an array.
std::string reversed_object(const ModelGraph& graph) {
  ordered doc = ordered::parse(written(graph, serialize_model_graph));
  ordered out = ordered::object();
  std::vector<std::string> keys;
  for (auto it = doc.begin(); it != doc.end(); ++it) keys.push_back(it.key());
  for (auto key = keys.rbegin(); key != keys.rend(); ++key) out[*key] = doc[*key];
  return out.dump(1);
}

std::string array_form(const ModelGraph& graph) {
  ordered doc = ordered::parse(written(graph, serialize_model_graph));
  ordered out = ordered::array();
  for (const ordered& value : doc) out.push_back(value);
  return out.dump();
}

TEST(CodecModelGraphTest, EveryFormOfALoweredExampleReadsBackEqual) {
  ModelGraph graph = testing::lower_example("cr_reduction_rayleigh.ovm", sema::Profile::Core);
  ASSERT_FALSE(graph.processes.empty());
  ASSERT_TRUE(graph.simulation.has_value());
  for (const std::string& text : {written(graph, serialize_model_graph), reversed_object(graph), array_form(graph)}) {
    ModelGraph back;
    EXPECT_EQ(parsed(text, back), "ok") << text;
    EXPECT_EQ(back, graph);
  }
}

TEST(CodecModelGraphTest, DefaultsForWhatTheDocumentLeavesOut) {
  for (const char* text : {"{}", "[]", " \n\t{}\r\n ", "\n[ ]\n"}) {
    ModelGraph back = small_graph();
    EXPECT_EQ(parsed(text, back), "ok") << text;
    EXPECT_EQ(back, ModelGraph{}) << text;
  }
  ModelGraph three;
  EXPECT_EQ(parsed(R"([{"title": "T"}, {"databases": [], "ir_version": "1.3"}, {"ph": 7}])", three), "ok");
  ModelGraph expected;
  expected.meta.title = "T";
  expected.provenance.ir_version = "1.3";
  expected.conditions.ph = 7.0;
  EXPECT_EQ(three, expected);

  ModelGraph sampled;
  EXPECT_EQ(parsed(R"({"sampling_seconds": 60, "comment": {"any": [1, {"deep": null}]}, "comment": 2})", sampled),
            "ok");
  EXPECT_EQ(sampled.sampling_seconds, 60.0);
}

TEST(CodecModelGraphTest, NonFiniteSamplingIntervalReadsBackAbsent) {
  ModelGraph graph = empty_graph();
  graph.sampling_seconds = std::numeric_limits<double>::infinity();
  ModelGraph back;
  EXPECT_EQ(parsed(written(graph, serialize_model_graph), back), "ok");
  EXPECT_EQ(back, empty_graph());
}

// The empty document with `line` put in before its last member.
std::string with_line_before_exports(std::string_view line) {
  std::string text(empty_document);
  text.insert(text.find("  \"exports\""), line);
  return text;
}

std::string nested(std::size_t depth) { return std::string(depth, '[') + std::string(depth, ']'); }

const std::string seventeen = R"([{}, {"databases": [], "ir_version": "1.3"}, {}, [], [], [], [], [], [], [], [], [], null, [], null, [])";

struct DocumentCase {
  std::string name;
  std::string text;
  std::string outcome;
};

class CodecModelGraphErrorTest : public ::testing::TestWithParam<DocumentCase> {};

TEST_P(CodecModelGraphErrorTest, Outcome) { EXPECT_EQ(parsed(GetParam().text), GetParam().outcome); }

INSTANTIATE_TEST_SUITE_P(
    Documents, CodecModelGraphErrorTest,
    ::testing::Values(
        DocumentCase{"TrailingWhitespace", "{} \t\r\n", "ok"},
        DocumentCase{"StrayCharacter", "{} x", "trailing characters at line 1 column 4"},
        DocumentCase{"SecondValue", "{}\n{}", "trailing characters at line 2 column 1"},
        DocumentCase{"SixteenElements", seventeen + "]", "ok"},
        DocumentCase{"SeventeenElements", seventeen + ", 0]", "trailing characters at line 1 column 106"},
        DocumentCase{"TrailingComma", seventeen + ",]", "trailing comma at line 1 column 105"},
        DocumentCase{"NotARecord", R"("x")", "invalid type: string \"x\", expected struct ModelGraph at line 1 column 3"},
        DocumentCase{"Number", "12", "invalid type: integer `12`, expected struct ModelGraph at line 1 column 2"},
        DocumentCase{"DuplicateMeta", R"({"meta": {}, "meta": {}})", "duplicate field `meta` at line 1 column 19"},
        DocumentCase{"DuplicateNull", R"({"simulation": null, "simulation": null})",
                     "duplicate field `simulation` at line 1 column 33"},
        DocumentCase{"DuplicateOnALaterLine", with_line_before_exports("  \"species\": [],\n"),
                     "duplicate field `species` at line 38 column 11"},
        DocumentCase{"MissingVersion", R"({"provenance": {"databases": []}})",
                     "missing field `ir_version` at line 1 column 32"},
        DocumentCase{"MissingVersionOnALaterLine", "{\n  \"provenance\": {\n    \"databases\": []\n  }\n}",
                     "missing field `ir_version` at line 4 column 3"},
        DocumentCase{"RequiresNotAList", R"({"requires": "identify"})",
                     "invalid type: string \"identify\", expected a sequence at line 1 column 23"},
        DocumentCase{"SamplingNotANumber", R"({"sampling_seconds": true})",
                     "invalid type: boolean `true`, expected f64 at line 1 column 25"},
        DocumentCase{"SkippedKeyNestedInBudget", "{\"comment\": " + nested(126) + "}", "ok"},
        DocumentCase{"SkippedKeyNestedPastBudget", "{\"comment\": " + nested(127) + "}",
                     "recursion limit exceeded at line 1 column 139"},
        DocumentCase{"SkippedKeyOfAMemberPastBudget", "{\"provenance\": {\"x\": " + nested(126) + "}}",
                     "recursion limit exceeded at line 1 column 147"},
        DocumentCase{"RequiresItemNotAString", "{\"requires\": [[]]}",
                     "invalid type: sequence, expected a string at line 1 column 14"}),
    [](const auto& info) { return info.param.name; });

}  // namespace
}  // namespace ovm::ir
