// Throughput of the front end, per byte of model text: lexing, parsing, the semantic checks,
// and a whole `ovm check` of a clean model.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>

#include "cli/check_command.hpp"
#include "cli/console.hpp"
#include "model_generator.hpp"
#include "sema/analysis.hpp"
#include "syntax/lexer.hpp"
#include "syntax/parser.hpp"

namespace {

const std::string& model(std::int64_t megabytes) {
  static std::string cached[64];
  std::string& text = cached[megabytes];
  if (text.empty()) text = ovm::bench::generate_model(static_cast<std::size_t>(megabytes) * 1000 * 1000);
  return text;
}

void set_throughput(benchmark::State& state, const std::string& text) {
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(text.size()));
}

void BM_Lex(benchmark::State& state) {
  const std::string& text = model(state.range(0));
  for (auto _ : state) benchmark::DoNotOptimize(ovm::syntax::lex(text, 0));
  set_throughput(state, text);
}

void BM_Parse(benchmark::State& state) {
  const std::string& text = model(state.range(0));
  for (auto _ : state) benchmark::DoNotOptimize(ovm::syntax::parse_source(text, 0));
  set_throughput(state, text);
}

void BM_Analyze(benchmark::State& state) {
  const std::string& text = model(state.range(0));
  ovm::syntax::ParseOutput tree = ovm::syntax::parse_source(text, 0);
  if (!tree.diagnostics.empty()) state.SkipWithError("the generated model has syntax diagnostics");
  for (auto _ : state) benchmark::DoNotOptimize(ovm::sema::analyze(tree, ovm::sema::Profile::Core));
  set_throughput(state, text);
}

void BM_Check(benchmark::State& state) {
  const std::string& text = model(state.range(0));
  std::string path = "/tmp/ovm-bench-" + std::to_string(state.range(0)) + "mb.ovm";
  if (std::FILE* f = std::fopen(path.c_str(), "wb")) {
    std::fwrite(text.data(), 1, text.size(), f);
    std::fclose(f);
  }
  std::FILE* sink = std::fopen("/dev/null", "w");
  std::vector<std::string> files{path};
  for (auto _ : state) {
    ovm::cli::Console console{sink, sink};
    if (ovm::cli::cmd_check(files, ovm::sema::Profile::Core, console) != 0) {
      state.SkipWithError("the generated model does not check clean");
      break;
    }
  }
  std::fclose(sink);
  std::remove(path.c_str());
  set_throughput(state, text);
}

}  // namespace

BENCHMARK(BM_Lex)->Arg(1)->Arg(10)->Arg(50)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Parse)->Arg(1)->Arg(10)->Arg(50)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Analyze)->Arg(1)->Arg(10)->Arg(50)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Check)->Arg(1)->Arg(10)->Arg(50)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
