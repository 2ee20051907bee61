#pragma once

#include "engine/simulation_state.hpp"

namespace ovm::engine {

// Records everything the state holds at the current clock into a new row under the row keys:
// the clock, every parameter's value, every reservoir's mean delta of each isotope its pools
// hold, and every pool's amount, remaining and reacted fraction and deltas. What cannot be
// computed (a failing or non-finite parameter, a fraction without a positive start amount) is
// recorded without a value, and a composition without a positive summed amount is left out:
// a row never fails. Also moves `last_recorded` to the clock.
void record_state(SimulationState& state);

}  // namespace ovm::engine
