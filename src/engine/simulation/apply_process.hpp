#pragma once

#include <optional>
#include <vector>

#include "engine/base/engine_error.hpp"
#include "engine/simulation/database_factors.hpp"
#include "engine/simulation/fractionation.hpp"
#include "engine/simulation/simulation_state.hpp"

namespace ovm::engine {

// Moves `fraction` of the source reservoir's pool of `source` into the destination reservoir's
// pool of `product`, fractionating on the way every isotope system that has a factor: the
// process's own factors first, in their order, then those the databases supply for the other
// systems. The source reservoir is `from`, else `location`; the destination `into`, else the
// source reservoir. A missing source pool, or one whose amount is at or below 0, makes the call
// do nothing. Changes are made in place as they go, so an error leaves the state half changed:
// the run then ends.
std::optional<EngineError> apply_process(SimulationState& state, const ir::Process& process, ir::SpeciesId source,
                                         ir::SpeciesId product, double fraction);

// What the calls of one process with one source and product act on, found by the first call
// that gets to each and kept for the calls after it on the same state: the pools (which stay
// where they are, as pools live in maps and no run removes one) and the database factors
// (which depend on nothing a run changes). A missing source pool is looked up again, since
// another process may create it.
struct ProcessTarget {
  PoolState* source = nullptr;
  PoolState* product = nullptr;  // set with the factors and the form, once the source acts
  std::optional<std::vector<DatabaseFactor>> database_factors;
  FractionationForm form = FractionationForm::Rayleigh;
};

// As above, reusing and completing `target`, which only calls on `state` with the same
// process, source and product may share.
std::optional<EngineError> apply_process(SimulationState& state, const ir::Process& process, ir::SpeciesId source,
                                         ir::SpeciesId product, double fraction, ProcessTarget& target);

}  // namespace ovm::engine
