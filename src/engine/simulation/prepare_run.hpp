#pragma once

#include <variant>

#include "engine/base/engine_error.hpp"
#include "engine/simulation/simulation_state.hpp"
#include "ir/graph/model_graph.hpp"

namespace ovm::engine {

// The starting state of a run: checks the model's capabilities and builds the initial
// composition of every reservoir. The databases and backend series are left empty.
std::variant<SimulationState, EngineError> prepare_run(ir::ModelGraph model);

}  // namespace ovm::engine
