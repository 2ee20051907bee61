#include "engine/simulation/reservoir_measures.hpp"

namespace ovm::engine {

std::optional<double> mean_composition(const ReservoirState& reservoir, ir::IsotopeId isotope) {
  double total = 0;
  double weighted = 0;
  for (const auto& [species, pool] : reservoir.pools) {
    if (pool.amount <= 0) continue;  // a not-a-number amount is not at or below 0, so it counts
    auto delta = pool.deltas.find(isotope);
    if (delta == pool.deltas.end()) continue;
    total += pool.amount;
    weighted += pool.amount * delta->second;
  }
  if (!(total > 0)) return std::nullopt;
  return weighted / total;
}

std::optional<double> remaining_fraction(const StartAmounts& start_amounts, const ReservoirState& reservoir,
                                         ir::SpeciesId species) {
  auto start = start_amounts.find({reservoir.name, species});
  if (start == start_amounts.end() || !(start->second > 0)) return std::nullopt;
  auto pool = reservoir.pools.find(species);
  double amount = pool == reservoir.pools.end() ? 0 : pool->second.amount;
  return amount / start->second;
}

}  // namespace ovm::engine
