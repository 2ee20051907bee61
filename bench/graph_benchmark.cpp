// The lowered-model writer and reader against nlohmann::json's dump(2) and parse, and the reader
// against RapidJSON's DOM parse, on the same model graph. Before anything is timed the graph is written, read back and written again,
// and the two texts must be equal byte for byte; `graph_benchmark --roundtrip PATH` does the
// same for the lowered model at PATH (for scripts/bench.sh) and exits 1 when they differ.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <nlohmann/json.hpp>
#include <rapidjson/document.h>
#include <sstream>
#include <string>

#include "ir/codec/graph_file.hpp"
#include "lowered_model.hpp"
#include "model_generator.hpp"

namespace {

const std::string& graph_text() {
  static const std::string text = [] {
    ovm::ir::ModelGraph graph = ovm::bench::lowered_model(ovm::bench::generate_model(std::size_t{2} * 1000 * 1000));
    return std::get<std::string>(ovm::ir::model_graph_to_json(graph));
  }();
  return text;
}

const ovm::ir::ModelGraph& graph() {
  static const ovm::ir::ModelGraph read = std::get<ovm::ir::ModelGraph>(ovm::ir::read_model_graph(graph_text()));
  return read;
}

void set_throughput(benchmark::State& state) {
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(graph_text().size()));
}

void BM_WriteGraph(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(ovm::ir::model_graph_to_json(graph()));
  set_throughput(state);
}

// As `ovm build` writes it: in pieces of a buffer that is used again, each handed to the file.
void BM_WriteGraphPieces(benchmark::State& state) {
  std::size_t bytes = 0;
  auto count = [&](std::string_view piece) { return bytes += piece.size(), true; };
  for (auto _ : state) benchmark::DoNotOptimize(ovm::ir::write_model_graph_json(graph(), count));
  if (bytes != graph_text().size() * state.iterations()) state.SkipWithError("the pieces are not the whole text");
  set_throughput(state);
}

void BM_NlohmannDump(benchmark::State& state) {
  nlohmann::ordered_json doc = nlohmann::ordered_json::parse(graph_text());
  for (auto _ : state) benchmark::DoNotOptimize(doc.dump(2));
  set_throughput(state);
}

void BM_ReadGraph(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(ovm::ir::read_model_graph(graph_text()));
  set_throughput(state);
}

void BM_NlohmannParse(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(nlohmann::json::parse(graph_text()));
  set_throughput(state);
}

// RapidJSON's DOM with its default flags, from the text as it is (not parsed in place).
void BM_RapidJsonParse(benchmark::State& state) {
  for (auto _ : state) {
    rapidjson::Document doc;
    doc.Parse(graph_text().data(), graph_text().size());
    if (doc.HasParseError()) state.SkipWithError("RapidJSON did not parse the text");
    benchmark::DoNotOptimize(doc);
  }
  set_throughput(state);
}

// Written, read back and written again: equal texts, or why not.
bool round_trips(const std::string& text, const char* what) {
  auto read = ovm::ir::read_model_graph(text);
  const auto* graph = std::get_if<ovm::ir::ModelGraph>(&read);
  if (graph == nullptr) {
    std::fprintf(stderr, "%s: %s\n", what, ovm::ir::graph_file_error_text(std::get<ovm::ir::GraphFileError>(read)).c_str());
    return false;
  }
  if (std::get<std::string>(ovm::ir::model_graph_to_json(*graph)) != text) {
    std::fprintf(stderr, "%s: the lowered model does not write back byte for byte\n", what);
    return false;
  }
  return true;
}

}  // namespace

BENCHMARK(BM_WriteGraph)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WriteGraphPieces)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_NlohmannDump)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadGraph)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_NlohmannParse)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RapidJsonParse)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
  if (argc == 3 && std::strcmp(argv[1], "--roundtrip") == 0) {
    std::ifstream in(argv[2], std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return round_trips(text.str(), argv[2]) ? 0 : 1;
  }
  if (!round_trips(graph_text(), "the generated model")) return 1;
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
