#include "engine/record_state.hpp"

#include <cmath>
#include <set>

#include "engine/evaluate_expr.hpp"
#include "engine/reservoir_measures.hpp"
#include "engine/row_keys.hpp"

namespace ovm::engine {
namespace {

std::optional<double> parameter_value(const SimulationState& state, ir::ParameterId id) {
  EvalResult result = eval_expr(state, ir::parameter_expr(id));
  const double* value = std::get_if<double>(&result);
  if (!value || !std::isfinite(*value)) return std::nullopt;
  return *value;
}

void record_reservoir(const SimulationState& state, const ReservoirState& reservoir, RecordedRow& row) {
  std::set<ir::IsotopeId> isotopes;
  for (const auto& [species, pool] : reservoir.pools) {
    for (const auto& [isotope, delta] : pool.deltas) isotopes.insert(isotope);
  }
  for (ir::IsotopeId isotope : isotopes) {
    if (std::optional<double> mean = mean_composition(reservoir, isotope)) {
      row[composition_key(reservoir.name, isotope)] = *mean;
    }
  }
  for (const auto& [species, pool] : reservoir.pools) {
    row[amount_key(reservoir.name, species)] = pool.amount;
    std::optional<double> remaining = remaining_fraction(state.start_amounts, reservoir, species);
    row[remaining_key(reservoir.name, species)] = remaining;
    row[reacted_key(reservoir.name, species)] = remaining ? std::optional<double>(1 - *remaining) : std::nullopt;
    for (const auto& [isotope, delta] : pool.deltas) row[pool_composition_key(reservoir.name, species, isotope)] = delta;
  }
}

}  // namespace

void record_state(SimulationState& state) {
  state.last_recorded = state.clock;
  RecordedRow row;
  row[time_key()] = state.clock;
  for (const ir::Parameter& parameter : state.model.parameters) {
    row[parameter_key(parameter.id)] = parameter_value(state, parameter.id);
  }
  for (const ReservoirState& reservoir : state.reservoirs) record_reservoir(state, reservoir, row);
  state.rows.push_back(std::move(row));
}

}  // namespace ovm::engine
