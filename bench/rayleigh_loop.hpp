#pragma once

#include "engine/simulation/simulation_state.hpp"
#include "ir/results/results_file.hpp"

namespace ovm::bench {

// The rows of the generated Rayleigh model (see generate_rayleigh_model) computed by a plain
// loop over arrays of doubles: the arithmetic the engine does, written out by hand, starting
// from the engine's prepared state and taking the rate constants and factors from its graph.
ir::ResultsTable rayleigh_loop(const engine::SimulationState& start);

}  // namespace ovm::bench
