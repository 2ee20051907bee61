#pragma once

#include <optional>

#include "engine/base/engine_error.hpp"
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

}  // namespace ovm::engine
