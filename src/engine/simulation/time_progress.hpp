#pragma once

#include <optional>

#include "engine/base/engine_error.hpp"
#include "engine/simulation/simulation_state.hpp"

namespace ovm::engine {

// Advances the model by its step until the stopping condition holds, applying the kinetic
// transfers of the listed processes in each step and recording rows at the sampling interval
// and at the stop. Extents the model states get one OV306 warning, as nothing reads them. A
// run that has not stopped after the state's step limit (a million steps) fails with the step
// limit error.
std::optional<EngineError> progress_by_time(SimulationState& state, const ir::Simulation& simulation);

}  // namespace ovm::engine
