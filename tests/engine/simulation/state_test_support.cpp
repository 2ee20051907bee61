#include "state_test_support.hpp"

#include <gtest/gtest.h>

#include <limits>

namespace ovm::engine::testing {

void add_parameter(SimulationState& state, const std::string& name, std::optional<ir::Expr> value) {
  ir::ParameterId id{static_cast<std::uint32_t>(state.model.parameters.size())};
  state.model.parameters.push_back(ir::Parameter{id, name, std::nullopt, std::move(value)});
}

double value_of(const EvalResult& result) {
  if (const auto* error = std::get_if<EngineError>(&result)) {
    ADD_FAILURE() << "expected a value, got " << error->code << " " << error->message;
    return std::numeric_limits<double>::quiet_NaN();
  }
  return std::get<double>(result);
}

EngineError error_of(const EvalResult& result) {
  if (const auto* error = std::get_if<EngineError>(&result)) return *error;
  ADD_FAILURE() << "expected an error, got " << std::get<double>(result);
  return {};
}

}  // namespace ovm::engine::testing
