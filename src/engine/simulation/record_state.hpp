#pragma once

#include "engine/simulation/simulation_state.hpp"

namespace ovm::engine {

// Records at the current clock a new row of what the model's outputs read, one cell per
// output in their order: the clock, a parameter's value, a reservoir's mean delta of an
// isotope, a pool's amount, remaining or reacted fraction, or delta. What cannot be computed
// (a failing or non-finite parameter, a fraction without a positive start amount, a pool or
// composition the reservoir does not hold, a mean without a positive summed amount) has no
// value: a row never fails. Reservoirs that share a name share their cells, the last one that
// holds the quantity giving it. Also moves `last_recorded` to the clock.
void record_state(SimulationState& state);

}  // namespace ovm::engine
