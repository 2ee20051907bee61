#include "engine/simulation_state.hpp"

namespace ovm::engine {

double amount_number(const ir::Amount& amount) {
  if (const auto* molality = std::get_if<ir::Amount::Molality>(&amount.kind)) return molality->mol_per_kgw;
  return std::get<ir::Amount::MassConcentration>(amount.kind).mg_per_l;
}

ReservoirState initial_reservoir_state(const ir::Reservoir& reservoir, const std::vector<ir::IsotopeSystem>& isotopes) {
  ReservoirState state{reservoir.name, {}};
  for (const ir::Pool& pool : reservoir.pools) {
    PoolState pool_state{amount_number(pool.amount), {}};
    for (const ir::Composition& composition : pool.compositions) {
      if (composition.isotope >= isotopes.size()) continue;
      const std::optional<ir::Standard>& standard = isotopes[composition.isotope].standard;
      if (!standard) continue;
      double delta = (composition.ratio / standard->ratio - 1) * 1000;
      pool_state.deltas[composition.isotope] = delta;
    }
    state.pools[pool.species] = std::move(pool_state);
  }
  return state;
}

}  // namespace ovm::engine
