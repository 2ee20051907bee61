// The lowered-model file's two entry points, the version rule and the texts of their errors.
#include "ir/codec/graph_file.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <string>
#include <variant>

#include "ir/graph/graph_expressions.hpp"
#include "ir/lower/lower_model.hpp"
#include "lower_test_support.hpp"

namespace ovm::ir {
namespace {

std::string to_json(const ModelGraph& graph) {
  auto text = model_graph_to_json(graph);
  if (auto* error = std::get_if<GraphFileError>(&text)) {
    ADD_FAILURE() << graph_file_error_text(*error);
    return {};
  }
  return std::get<std::string>(text);
}

// The error's display text, or "ok" with the graph in `out`.
std::string read(std::string_view text, ModelGraph& out) {
  auto result = read_model_graph(text);
  if (auto* error = std::get_if<GraphFileError>(&result)) return graph_file_error_text(*error);
  out = std::get<ModelGraph>(std::move(result));
  return "ok";
}

std::string read(std::string_view text) {
  ModelGraph ignored;
  return read(text, ignored);
}

std::size_t error_variant(std::string_view text) {
  auto result = read_model_graph(text);
  if (auto* error = std::get_if<GraphFileError>(&result)) return error->index();
  return std::variant_npos;
}

std::string versioned(std::string_view version) {
  return R"({"provenance": {"databases": [], "ir_version": ")" + std::string(version) + R"("}})";
}

TEST(GraphFileTest, VersionRule) {
  for (const char* version : {"1.3", "1.0", "1", "1.99", "", ".5", "1.x.y"}) {
    EXPECT_TRUE(accepts_ir_version(version)) << version;
    EXPECT_EQ(read(versioned(version)), "ok") << version;
  }
  for (const char* version : {"2.0", "10.1", "a1", " 1.3", "01.3", "11"}) {
    EXPECT_FALSE(accepts_ir_version(version)) << version;
    EXPECT_EQ(read(versioned(version)), "intermediate representation " + std::string(version) + ", expected 1.x");
    EXPECT_EQ(error_variant(versioned(version)), 3u);
  }
  EXPECT_TRUE(accepts_ir_version(lowered_ir_version));
}

TEST(GraphFileTest, ReadingComesBeforeTheVersion) {
  std::string broken = versioned("2.0");
  broken.pop_back();
  EXPECT_EQ(error_variant(broken), 1u);
  EXPECT_EQ(read(broken).rfind("reading the graph: ", 0), 0u) << read(broken);
  EXPECT_EQ(read(R"({"provenance": {"databases": []}})"),
            "reading the graph: missing field `ir_version` at line 1 column 32");
  EXPECT_EQ(read(R"({"provenance": {"databases": [], "ir_version": "2.0"}, "meta": 1})"),
            "reading the graph: invalid type: integer `1`, expected struct Meta at line 1 column 64");
}

TEST(GraphFileTest, EmptyDocumentIsTheDefaultGraph) {
  ModelGraph graph;
  graph.meta.title = "not kept";
  EXPECT_EQ(read(" {}\n", graph), "ok");
  EXPECT_EQ(graph, ModelGraph{});
}

TEST(GraphFileTest, DanglingReferences) {
  ModelGraph graph;
  graph.provenance.ir_version = "1.3";
  for (SpeciesId id = 0; id < 3; ++id) graph.species.push_back(Species{id, "S" + std::to_string(id), std::nullopt});
  Process process;
  process.name = "p";
  process.kind.kind = ProcessKind::Transfer{7, 0, Mechanism::Reduction};
  graph.processes.push_back(process);
  std::string text = to_json(graph);
  EXPECT_EQ(error_variant(text), 2u);
  EXPECT_EQ(read(text), "the graph has 1 dangling reference(s):\n  process `p` has unknown reactant 7\n");

  graph.processes[0].kind.kind = ProcessKind::Transfer{7, 9, Mechanism::Reduction};
  EXPECT_EQ(read(to_json(graph)),
            "the graph has 2 dangling reference(s):\n"
            "  process `p` has unknown reactant 7\n"
            "  process `p` has unknown product 9\n");
}

TEST(GraphFileTest, NonFiniteConstantIsWrittenNullAndRefusedOnReading) {
  ModelGraph graph;
  graph.provenance.ir_version = "1.3";
  graph.parameters.push_back(
      Parameter{ParameterId{0}, "x", std::nullopt, constant_expr(std::numeric_limits<double>::quiet_NaN())});
  std::string text = to_json(graph);
  std::size_t null_at = text.find("\"of\": null");
  ASSERT_NE(null_at, std::string::npos) << text;
  std::size_t last_byte = null_at + std::string_view("\"of\": null").size();  // 1-based offset of the "l"
  std::size_t line_start = text.rfind('\n', null_at) + 1;
  std::size_t line = static_cast<std::size_t>(std::count(text.begin(), text.begin() + null_at, '\n')) + 1;
  EXPECT_EQ(read(text), "reading the graph: invalid type: null, expected f64 at line " + std::to_string(line) +
                            " column " + std::to_string(last_byte - line_start));
  EXPECT_EQ(error_variant(text), 1u);
}

TEST(GraphFileTest, TextThatIsNotUtf8DoesNotEncode) {
  ModelGraph graph;
  graph.meta.title = std::string("bad \xff byte");
  auto text = model_graph_to_json(graph);
  ASSERT_TRUE(std::holds_alternative<GraphFileError>(text));
  const GraphFileError& error = std::get<GraphFileError>(text);
  EXPECT_EQ(error.index(), 0u);
  EXPECT_EQ(graph_file_error_text(error), "encoding the graph: a string is not valid UTF-8");

  auto written = write_model_graph_json(graph, [](std::string_view) { return true; });
  ASSERT_TRUE(std::holds_alternative<GraphFileError>(written));
  EXPECT_EQ(graph_file_error_text(std::get<GraphFileError>(written)), "encoding the graph: a string is not valid UTF-8");
}

// A graph of many records goes out in several pieces that join to the text written whole,
// with a deeply nested expression among them; a piece refused is the end of it.
TEST(GraphFileTest, PiecesJoinToTheWholeText) {
  ModelGraph graph;
  for (std::uint32_t i = 0; i < 40'000; ++i) {
    graph.parameters.push_back(Parameter{ParameterId{i}, "p" + std::to_string(i), std::nullopt, constant_expr(i * 0.1)});
  }
  Expr deep = constant_expr(1);
  for (int i = 0; i < 200; ++i) deep = binary_expr(BinaryOp::Add, std::move(deep), constant_expr(i));
  graph.parameters[0].value = std::move(deep);
  std::string joined;
  std::size_t pieces = 0;
  auto written = write_model_graph_json(graph, [&](std::string_view piece) {
    ++pieces;
    joined += piece;
    return true;
  });
  ASSERT_TRUE(std::holds_alternative<bool>(written));
  EXPECT_TRUE(std::get<bool>(written));
  EXPECT_GT(pieces, 1u);
  EXPECT_EQ(joined, to_json(graph));
  EXPECT_NE(joined.find("\n" + std::string(2 * 200, ' ')), std::string::npos);  // indented past the prepared text

  std::size_t offered = 0;
  written = write_model_graph_json(graph, [&](std::string_view) { return ++offered < 2; });
  EXPECT_FALSE(std::get<bool>(written));
  EXPECT_EQ(offered, 2u);
}

struct ExampleCase {
  const char* file;
  sema::Profile profile;
};

class GraphFileExampleTest : public ::testing::TestWithParam<ExampleCase> {};

TEST_P(GraphFileExampleTest, LoweredModelReadsBackEqual) {
  ModelGraph graph = testing::lower_example(GetParam().file, GetParam().profile);
  // The reader does not look at where the graph came from.
  graph.provenance.source_path = "some/where.ovm";
  graph.provenance.source_sha256 = "not a digest";
  graph.provenance.generator = "another compiler";
  graph.provenance.databases.push_back(DatabaseRef{"isotopes.ovdb", "/db/isotopes.ovdb", std::string(64, 'f')});
  std::string text = to_json(graph);
  EXPECT_NE(text.back(), '\n');
  ModelGraph back;
  EXPECT_EQ(read(text, back), "ok");
  EXPECT_EQ(back, graph);
  EXPECT_EQ(to_json(back), text);
}

INSTANTIATE_TEST_SUITE_P(Examples, GraphFileExampleTest,
                         ::testing::Values(ExampleCase{"cr_reduction_rayleigh.ovm", sema::Profile::Core},
                                           ExampleCase{"two_source_mixing.ovm", sema::Profile::Core},
                                           ExampleCase{"identify_cr_process.ovm", sema::Profile::Identification}),
                         [](const auto& info) {
                           std::string name = info.param.file;
                           return name.substr(0, name.find('.'));
                         });

}  // namespace
}  // namespace ovm::ir
