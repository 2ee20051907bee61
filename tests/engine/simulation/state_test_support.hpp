#pragma once

#include <optional>
#include <string>

#include "engine/simulation/evaluate_expr.hpp"
#include "engine/simulation/simulation_state.hpp"

namespace ovm::engine::testing {

// Appends a model-wide parameter whose id is its index.
void add_parameter(SimulationState& state, const std::string& name, std::optional<ir::Expr> value);

// The value of a result; an error is a test failure (and gives NaN).
double value_of(const EvalResult& result);

// The error of a result; a value is a test failure (and gives an empty error).
EngineError error_of(const EvalResult& result);

}  // namespace ovm::engine::testing
