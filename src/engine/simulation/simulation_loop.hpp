#pragma once

#include <variant>

#include "engine/base/engine_error.hpp"
#include "engine/simulation/simulation_state.hpp"
#include "ir/results/results_file.hpp"

namespace ovm::engine {

// Runs the prepared state to its end: records the initial row, advances the model by time or
// by extent, and assembles the results from the recorded rows, the warnings raised on the way
// and a note (and, out of its range, a warning) for every database factor taken. The first
// error ends the run and the state with everything it gathered is dropped.
std::variant<ir::ResultsFile, EngineError> simulate(SimulationState state);

}  // namespace ovm::engine
