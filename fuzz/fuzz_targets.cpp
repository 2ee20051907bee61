#include "fuzz_targets.hpp"

#include <algorithm>
#include <array>

#include "database_text.hpp"
#include "engine_run.hpp"
#include "front_end_pipeline.hpp"
#include "graph_round_trip.hpp"
#include "model_pipeline.hpp"
#include "selected_output.hpp"

namespace ovm::fuzz {
namespace {

Finding check_front_end(std::string_view bytes) {
  run_front_end(bytes);
  return std::nullopt;
}

constexpr auto targets = std::to_array<FuzzTarget>({
    {"front_end", check_front_end},
    {"format", check_format_idempotent},
    {"graph_file", check_graph_round_trip},
    {"model_pipeline", check_model_pipeline},
    {"database", check_database_text},
    {"selected_output", check_selected_output},
    {"engine", check_engine_run},
});

}  // namespace

std::span<const FuzzTarget> fuzz_targets() { return targets; }

const FuzzTarget* find_fuzz_target(std::string_view name) {
  auto found = std::find_if(targets.begin(), targets.end(), [&](const FuzzTarget& t) { return t.name == name; });
  return found == targets.end() ? nullptr : &*found;
}

}  // namespace ovm::fuzz
