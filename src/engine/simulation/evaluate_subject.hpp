#pragma once

#include "engine/simulation/evaluate_expr.hpp"
#include "ir/graph/graph_simulation.hpp"

namespace ovm::engine {

// The value of a quantity of the current state, which it only reads: the clock, a pool's
// amount or delta (0 when missing), a reservoir's mean delta (0 without a positive summed
// amount), or a pool's remaining or reacted fraction of its start amount, which fails without a
// positive start amount. The subject's ids are in range, as the graph check covers them.
EvalResult eval_subject(const SimulationState& state, const ir::Subject& subject);

}  // namespace ovm::engine
