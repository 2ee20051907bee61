#include "engine/simulation/result_columns.hpp"

#include <string_view>

#include "diagnostics/internal_error.hpp"

namespace ovm::engine {
namespace {

template <typename Record>
const Record& record_at(const std::vector<Record>& records, std::uint32_t id, std::string_view what) {
  if (id >= records.size()) {
    diagnostics::internal_error("an output names " + std::string(what) + " " + std::to_string(id) +
                                ", which the model does not hold");
  }
  return records[id];
}

const std::string& reservoir_name(const ir::ModelGraph& model, ir::ReservoirId id) {
  return record_at(model.reservoirs, id, "reservoir").name;
}

const std::string& species_formula(const ir::ModelGraph& model, ir::SpeciesId id) {
  return record_at(model.species, id, "species").formula;
}

const ir::IsotopeSystem& isotope_system(const ir::ModelGraph& model, ir::IsotopeId id) {
  return record_at(model.isotopes, id, "isotope system");
}

std::string delta_unit(const ir::IsotopeSystem& system) { return system.relative ? "permil (relative)" : "permil"; }

// A pool's fraction of its start amount; a reacted fraction has no column kind of its own.
ir::ResultsColumn fraction_column(const ir::ModelGraph& model, ir::ReservoirId reservoir, ir::SpeciesId species) {
  return ir::ResultsColumn{{}, ir::ColumnKind::FractionRemaining, "1", reservoir_name(model, reservoir),
                           species_formula(model, species)};
}

// The engine keeps the model's number whatever the kind of the amount, so the column is in the
// unit of the pool's own kind.
std::string amount_column_unit(const std::vector<ReservoirState>& reservoirs, ir::ReservoirId reservoir,
                               ir::SpeciesId species) {
  if (reservoir >= reservoirs.size()) return "mol/kgw";
  auto pool = reservoirs[reservoir].pools.find(species);
  if (pool == reservoirs[reservoir].pools.end() || !pool->second.kind) return "mol/kgw";
  return std::string(amount_unit(*pool->second.kind));
}

ir::ResultsColumn column_of(const ir::ModelGraph& model, const std::vector<ReservoirState>& reservoirs,
                            const ir::Variable& variable) {
  if (const auto* amount = std::get_if<ir::Variable::Amount>(&variable.kind)) {
    return ir::ResultsColumn{{}, ir::ColumnKind::Amount, amount_column_unit(reservoirs, amount->reservoir, amount->species),
                             reservoir_name(model, amount->reservoir), species_formula(model, amount->species)};
  }
  if (const auto* composition = std::get_if<ir::Variable::Composition>(&variable.kind)) {
    const ir::IsotopeSystem& system = isotope_system(model, composition->isotope);
    return ir::ResultsColumn{{}, ir::ColumnKind::Composition, delta_unit(system),
                             reservoir_name(model, composition->reservoir), std::nullopt, system.notation};
  }
  if (const auto* pool = std::get_if<ir::Variable::PoolComposition>(&variable.kind)) {
    const ir::IsotopeSystem& system = isotope_system(model, pool->isotope);
    return ir::ResultsColumn{{}, ir::ColumnKind::PoolComposition, delta_unit(system), reservoir_name(model, pool->reservoir),
                             species_formula(model, pool->species), system.notation};
  }
  if (const auto* remaining = std::get_if<ir::Variable::FractionRemaining>(&variable.kind)) {
    return fraction_column(model, remaining->reservoir, remaining->species);
  }
  if (const auto* reacted = std::get_if<ir::Variable::FractionReacted>(&variable.kind)) {
    return fraction_column(model, reacted->reservoir, reacted->species);
  }
  if (const auto* parameter = std::get_if<ir::Variable::Parameter>(&variable.kind)) {
    const std::string& name = record_at(model.parameters, parameter->id.index, "parameter").name;
    return ir::ResultsColumn{{}, ir::ColumnKind::Parameter, "1", std::nullopt, std::nullopt, std::nullopt, name};
  }
  return ir::ResultsColumn{{}, ir::ColumnKind::Time, "s"};
}

}  // namespace

std::vector<ir::ResultsColumn> result_columns(const ir::ModelGraph& model,
                                              const std::vector<ReservoirState>& reservoirs) {
  std::vector<ir::ResultsColumn> columns;
  for (const ir::Output& output : model.outputs) {
    ir::ResultsColumn& column = columns.emplace_back(column_of(model, reservoirs, output.variable));
    column.name = output.label;
  }
  return columns;
}

}  // namespace ovm::engine
