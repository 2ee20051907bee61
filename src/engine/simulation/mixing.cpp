#include "engine/simulation/mixing.hpp"

#include <map>
#include <string>
#include <utility>

#include "diagnostics/message_text.hpp"

namespace ovm::engine {

std::optional<EngineError> mix(SimulationState& state, const std::string& process,
                               const ir::ProcessKind::Mixing& mixing) {
  using PoolIsotope = std::pair<ir::SpeciesId, ir::IsotopeId>;
  std::map<ir::SpeciesId, double> amounts;
  std::map<ir::SpeciesId, PoolState> kinds;  // the kind each species' sum holds so far
  std::map<PoolIsotope, double> weights;
  std::map<PoolIsotope, double> weighted_deltas;
  std::string product_name =
      mixing.product < state.reservoirs.size() ? state.reservoirs[mixing.product].name : std::string();
  for (const ir::MixingSource& source : mixing.sources) {
    if (source.reservoir >= state.reservoirs.size()) continue;
    double w = source.fraction;
    for (const auto& [species, pool] : state.reservoirs[source.reservoir].pools) {
      auto unlike = take_amount_kind(kinds[species], pool.kind, process, formula_text(state.model, species), product_name);
      if (unlike) return unlike;
      double s = pool.amount * w;
      amounts[species] += s;
      for (const auto& [isotope, delta] : pool.deltas) {
        weights[{species, isotope}] += s;
        weighted_deltas[{species, isotope}] += delta * s;
      }
    }
  }

  if (mixing.product >= state.reservoirs.size()) {
    return EngineError{"OV402", diagnostics::fill_message("mixing into reservoir {} which does not exist",
                                                   {std::to_string(mixing.product)})};
  }
  auto& pools = state.reservoirs[mixing.product].pools;
  // A pool whose rows so far hold one kind cannot go on in another.
  for (const auto& [species, amount] : amounts) {
    auto unlike = take_amount_kind(pools[species], kinds[species].kind, process, formula_text(state.model, species), product_name);
    if (unlike) return unlike;
  }
  for (const auto& [species, amount] : amounts) pools[species].amount = amount;
  for (const auto& [key, weighted] : weighted_deltas) {
    double weight = weights[key];
    if (weight > 0) pools[key.first].deltas[key.second] = weighted / weight;
  }
  return std::nullopt;
}

}  // namespace ovm::engine
