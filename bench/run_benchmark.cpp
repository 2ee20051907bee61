// The engine against a hand-written loop of the same arithmetic on the generated Rayleigh model,
// and what unread parameters and a long parameter chain cost a run. Before anything is timed the
// engine's rows are compared bit for bit with the loop's; `run_benchmark --results PATH OUT`
// writes the results file of the lowered model at PATH with the loop's rows in place of the
// engine's, for scripts/bench.sh to compare with what `ovm run` wrote.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>

#include "engine/simulation/prepare_run.hpp"
#include "engine/simulation/run_model.hpp"
#include "ir/codec/graph_file.hpp"
#include "ir/results/results_json.hpp"
#include "lowered_model.hpp"
#include "model_generator.hpp"
#include "rayleigh_loop.hpp"

namespace {

using ovm::bench::RayleighModel;

ovm::engine::SimulationState prepared(const ovm::ir::ModelGraph& graph) {
  auto state = ovm::engine::prepare_run(graph);
  if (!std::holds_alternative<ovm::engine::SimulationState>(state)) {
    std::fprintf(stderr, "the generated model does not prepare\n");
    std::exit(1);
  }
  return std::get<ovm::engine::SimulationState>(std::move(state));
}

bool same_bits(const ovm::ir::ResultsTable& a, const ovm::ir::ResultsTable& b) {
  return a.width == b.width && a.rows == b.rows && a.cells.size() == b.cells.size() &&
         std::memcmp(a.cells.data(), b.cells.data(), a.cells.size() * sizeof(double)) == 0;
}

const ovm::ir::ModelGraph& model(const RayleighModel& shape) {
  static std::map<std::tuple<std::size_t, std::size_t, std::size_t, std::size_t>, ovm::ir::ModelGraph> cache;
  auto key = std::make_tuple(shape.processes, shape.steps, shape.unused, shape.chain);
  auto found = cache.find(key);
  if (found == cache.end()) {
    found = cache.emplace(key, ovm::bench::lowered_model(ovm::bench::generate_rayleigh_model(shape))).first;
  }
  return found->second;
}

ovm::ir::ResultsFile run(const ovm::ir::ModelGraph& graph) {
  ovm::ir::ResultsFile results = ovm::engine::run_model(graph, std::nullopt);
  for (const auto& diagnostic : results.diagnostics) {
    if (diagnostic.severity == "error") {
      std::fprintf(stderr, "the run failed: [%s] %s\n", diagnostic.code.c_str(), diagnostic.message.c_str());
      std::exit(1);
    }
  }
  return results;
}

void BM_RunEngine(benchmark::State& state) {
  const ovm::ir::ModelGraph& graph = model(RayleighModel{10, static_cast<std::size_t>(state.range(0))});
  for (auto _ : state) benchmark::DoNotOptimize(run(graph).rows.cells.data());
}

void BM_RunHandLoop(benchmark::State& state) {
  const ovm::ir::ModelGraph& graph = model(RayleighModel{10, static_cast<std::size_t>(state.range(0))});
  ovm::engine::SimulationState start = prepared(graph);
  for (auto _ : state) benchmark::DoNotOptimize(ovm::bench::rayleigh_loop(start).cells.data());
}

// 100,000 steps with 0 or 4,000 parameters that nothing reads.
void BM_RunUnusedParameters(benchmark::State& state) {
  const ovm::ir::ModelGraph& graph = model(RayleighModel{10, 100'000, static_cast<std::size_t>(state.range(0))});
  for (auto _ : state) benchmark::DoNotOptimize(run(graph).rows.cells.data());
}

// Every rate constant read through a chain of 16,000 parameters, for 10 steps.
void BM_RunParameterChain(benchmark::State& state) {
  const ovm::ir::ModelGraph& graph = model(RayleighModel{10, 10, 0, static_cast<std::size_t>(state.range(0))});
  for (auto _ : state) benchmark::DoNotOptimize(run(graph).rows.cells.data());
}

int write_loop_results(const char* path, const char* out) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  auto graph = ovm::ir::read_model_graph(text.str());
  if (!std::holds_alternative<ovm::ir::ModelGraph>(graph)) return std::fprintf(stderr, "cannot read %s\n", path), 1;
  const auto& model = std::get<ovm::ir::ModelGraph>(graph);
  ovm::ir::ResultsFile results = ovm::engine::run_model(model, std::nullopt);
  results.rows = ovm::bench::rayleigh_loop(prepared(model));
  std::ofstream(out, std::ios::binary) << std::get<std::string>(ovm::ir::results_to_json(results));
  return 0;
}

}  // namespace

BENCHMARK(BM_RunEngine)->Arg(1'000'000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RunHandLoop)->Arg(1'000'000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RunUnusedParameters)->Arg(0)->Arg(4000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RunParameterChain)->Arg(16'000)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
  if (argc == 4 && std::strcmp(argv[1], "--results") == 0) return write_loop_results(argv[2], argv[3]);
  // Nothing is timed unless the engine gives the loop's rows, bit for bit.
  const ovm::ir::ModelGraph& graph = model(RayleighModel{});
  if (!same_bits(run(graph).rows, ovm::bench::rayleigh_loop(prepared(graph)))) {
    std::fprintf(stderr, "the engine's rows differ from the hand-written loop's\n");
    return 1;
  }
  std::fprintf(stderr, "engine rows equal the hand-written loop's bit for bit\n");
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
