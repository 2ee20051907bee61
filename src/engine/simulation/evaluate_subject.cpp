#include "engine/simulation/evaluate_subject.hpp"

#include <string>

#include "diagnostics/internal_error.hpp"
#include "diagnostics/message_text.hpp"
#include "engine/simulation/reservoir_measures.hpp"

namespace ovm::engine {
namespace {

const ReservoirState& reservoir_at(const SimulationState& state, ir::ReservoirId id) {
  if (id >= state.reservoirs.size()) {
    diagnostics::internal_error("a subject names reservoir " + std::to_string(id) + ", which the run does not hold");
  }
  return state.reservoirs[id];
}

const PoolState* pool_of(const ReservoirState& reservoir, ir::SpeciesId species) {
  auto pool = reservoir.pools.find(species);
  return pool == reservoir.pools.end() ? nullptr : &pool->second;
}

EvalResult fraction_remaining(const SimulationState& state, ir::ReservoirId id, ir::SpeciesId species) {
  const ReservoirState& reservoir = reservoir_at(state, id);
  std::optional<double> remaining = remaining_fraction(state.start_amounts, reservoir, species);
  if (!remaining) {
    return EngineError{"OV402", diagnostics::fill_message("`{}` holds no {} at the start, so no fraction of it can remain",
                                                   {reservoir.name, std::to_string(species)})};
  }
  return *remaining;
}

}  // namespace

EvalResult eval_subject(const SimulationState& state, const ir::Subject& subject) {
  if (const auto* amount = std::get_if<ir::Subject::Amount>(&subject.kind)) {
    const PoolState* pool = pool_of(reservoir_at(state, amount->reservoir), amount->species);
    return pool ? pool->amount : 0.0;
  }
  if (const auto* composition = std::get_if<ir::Subject::Composition>(&subject.kind)) {
    return mean_composition(reservoir_at(state, composition->reservoir), composition->isotope).value_or(0.0);
  }
  if (const auto* of_pool = std::get_if<ir::Subject::PoolComposition>(&subject.kind)) {
    const PoolState* pool = pool_of(reservoir_at(state, of_pool->reservoir), of_pool->species);
    if (!pool) return 0.0;
    auto delta = pool->deltas.find(of_pool->isotope);
    return delta == pool->deltas.end() ? 0.0 : delta->second;
  }
  if (const auto* remaining = std::get_if<ir::Subject::FractionRemaining>(&subject.kind)) {
    return fraction_remaining(state, remaining->reservoir, remaining->species);
  }
  if (const auto* reacted = std::get_if<ir::Subject::FractionReacted>(&subject.kind)) {
    EvalResult remaining = fraction_remaining(state, reacted->reservoir, reacted->species);
    if (const double* value = std::get_if<double>(&remaining)) return 1 - *value;
    return remaining;
  }
  return state.clock;
}

}  // namespace ovm::engine
