#pragma once

#include <optional>

#include "engine/base/engine_error.hpp"
#include "engine/simulation/simulation_state.hpp"

namespace ovm::engine {

// Advances a model without a clock: each listed process acts once, in list order, by the
// reacted fraction its extent gives at the state the processes before it left, and a row is
// recorded after each. Parameters fed by backend series get one OV306 warning, as the run
// reads them only at the first recorded state. The first error ends the run.
std::optional<EngineError> progress_by_extent(SimulationState& state, const ir::Simulation& simulation);

}  // namespace ovm::engine
