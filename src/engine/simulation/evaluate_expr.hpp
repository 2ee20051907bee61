#pragma once

#include <variant>

#include "engine/base/engine_error.hpp"
#include "engine/simulation/simulation_state.hpp"
#include "ir/graph/graph_expressions.hpp"

namespace ovm::engine {

// A value of the evaluators, or the error that ends the run unless the caller says otherwise.
using EvalResult = std::variant<double, EngineError>;

// The value of an expression over the current state, which it only reads. Operands are
// evaluated left to right and the first error is returned; a parameter's value is evaluated
// anew at every reference, a backend series taking precedence over it. The walk runs on an
// explicit stack, so no tree is too high for it, and a parameter whose value depends on itself
// is an error rather than an endless walk.
EvalResult eval_expr(const SimulationState& state, const ir::Expr& expr);

// The value of an expression that is a number, or a parameter whose value is a number and which
// no backend series replaces: what eval_expr gives it without a walk, the same for the whole
// run. Nothing for any other expression.
const double* constant_value(const SimulationState& state, const ir::Expr& expr);

}  // namespace ovm::engine
