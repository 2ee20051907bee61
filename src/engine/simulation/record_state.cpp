#include "engine/simulation/record_state.hpp"

#include <cmath>
#include <limits>
#include <string_view>
#include <unordered_map>

#include "engine/simulation/evaluate_expr.hpp"
#include "engine/simulation/reservoir_measures.hpp"

namespace ovm::engine {
namespace {

constexpr double no_value = std::numeric_limits<double>::quiet_NaN();

double parameter_value(const SimulationState& state, ir::ParameterId id) {
  EvalResult result = eval_expr(state, ir::parameter_expr(id));
  const double* value = std::get_if<double>(&result);
  if (!value || !std::isfinite(*value)) return no_value;
  return *value;
}

// The reservoir of an output and every other one of its name, last first.
std::vector<ir::ReservoirId> namesakes(const SimulationState& state, ir::ReservoirId reservoir) {
  std::vector<ir::ReservoirId> ids;
  if (reservoir >= state.reservoirs.size()) return ids;
  const std::string& name = state.reservoirs[reservoir].name;
  for (std::size_t i = state.reservoirs.size(); i-- > 0;) {
    if (state.reservoirs[i].name == name) ids.push_back(static_cast<ir::ReservoirId>(i));
  }
  return ids;
}

template <typename Kind>
std::optional<ir::ReservoirId> reservoir_of(const Kind& kind) {
  if constexpr (requires { kind.reservoir; }) {
    return kind.reservoir;
  } else {
    return std::nullopt;
  }
}

RowReader reader_of(const SimulationState& state, const ir::Variable& variable) {
  RowReader reader{variable, {}, true};
  std::visit([&](const auto& kind) {
    if (std::optional<ir::ReservoirId> reservoir = reservoir_of(kind)) reader.reservoirs = namesakes(state, *reservoir);
  }, variable.kind);
  // A parameter's cell has a value only when a parameter carries its id.
  if (const auto* parameter = std::get_if<ir::Variable::Parameter>(&variable.kind)) {
    reader.recorded = false;
    for (const ir::Parameter& each : state.model.parameters) reader.recorded |= each.id == parameter->id;
  }
  return reader;
}

const PoolState* pool_of(const ReservoirState& reservoir, ir::SpeciesId species) {
  auto pool = reservoir.pools.find(species);
  return pool == reservoir.pools.end() ? nullptr : &pool->second;
}

// The cell of one reservoir, or nothing when it does not hold the quantity, so that a namesake
// before it may.
std::optional<double> reservoir_cell(const SimulationState& state, const ReservoirState& reservoir,
                                     const ir::Variable& variable) {
  if (const auto* composition = std::get_if<ir::Variable::Composition>(&variable.kind)) {
    return mean_composition(reservoir, composition->isotope);
  }
  if (const auto* amount = std::get_if<ir::Variable::Amount>(&variable.kind)) {
    const PoolState* pool = pool_of(reservoir, amount->species);
    return pool ? std::optional<double>(pool->amount) : std::nullopt;
  }
  if (const auto* of_pool = std::get_if<ir::Variable::PoolComposition>(&variable.kind)) {
    const PoolState* pool = pool_of(reservoir, of_pool->species);
    if (!pool) return std::nullopt;
    auto delta = pool->deltas.find(of_pool->isotope);
    return delta == pool->deltas.end() ? std::nullopt : std::optional<double>(delta->second);
  }
  bool reacted = std::holds_alternative<ir::Variable::FractionReacted>(variable.kind);
  ir::SpeciesId species = reacted ? std::get<ir::Variable::FractionReacted>(variable.kind).species
                                  : std::get<ir::Variable::FractionRemaining>(variable.kind).species;
  if (!pool_of(reservoir, species)) return std::nullopt;
  std::optional<double> remaining = remaining_fraction(state.start_amounts, reservoir, species);
  if (!remaining) return no_value;  // the pool is there: its cell has no value
  return reacted ? 1 - *remaining : *remaining;
}

double cell_of(const SimulationState& state, const RowReader& reader) {
  const ir::Variable& variable = reader.variable;
  if (std::holds_alternative<ir::Variable::Time>(variable.kind)) return state.clock;
  if (const auto* parameter = std::get_if<ir::Variable::Parameter>(&variable.kind)) {
    return reader.recorded ? parameter_value(state, parameter->id) : no_value;
  }
  for (ir::ReservoirId id : reader.reservoirs) {
    if (std::optional<double> cell = reservoir_cell(state, state.reservoirs[id], variable)) return *cell;
  }
  return no_value;
}

}  // namespace

void record_state(SimulationState& state) {
  state.last_recorded = state.clock;
  if (!state.row_readers) {
    std::vector<RowReader>& readers = state.row_readers.emplace();
    for (const ir::Output& output : state.model.outputs) readers.push_back(reader_of(state, output.variable));
  }
  ir::ResultsTable& rows = state.rows;
  rows.width = state.row_readers->size();
  for (const RowReader& reader : *state.row_readers) rows.cells.push_back(cell_of(state, reader));
  ++rows.rows;
}

}  // namespace ovm::engine
