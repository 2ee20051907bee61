#pragma once

#include <string>
#include <vector>

#include "engine/simulation/simulation_state.hpp"
#include "ir/graph/model_graph.hpp"
#include "ir/results/results_file.hpp"

namespace ovm::engine {

// The result columns, one per output of the model in its order; the ids they name are in
// range, as the graph check covers them. An amount column is in the unit of its pool's kind
// among `reservoirs` (the run's state), "mol/kgw" for a pool that holds no kind there.
std::vector<ir::ResultsColumn> result_columns(const ir::ModelGraph& model,
                                              const std::vector<ReservoirState>& reservoirs = {});

}  // namespace ovm::engine
