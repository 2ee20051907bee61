#include "engine/result_columns.hpp"

#include <string_view>

#include "diagnostics/internal_error.hpp"
#include "engine/row_keys.hpp"

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

struct Column {
  ir::ResultsColumn column;
  std::string row_key;
};

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
Column fraction_column(const ir::ModelGraph& model, ir::ReservoirId reservoir, ir::SpeciesId species, bool reacted) {
  const std::string& name = reservoir_name(model, reservoir);
  return Column{ir::ResultsColumn{{}, ir::ColumnKind::FractionRemaining, "1", name, species_formula(model, species)},
                reacted ? reacted_key(name, species) : remaining_key(name, species)};
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

Column column_of(const ir::ModelGraph& model, const std::vector<ReservoirState>& reservoirs,
                 const ir::Variable& variable) {
  if (const auto* amount = std::get_if<ir::Variable::Amount>(&variable.kind)) {
    const std::string& name = reservoir_name(model, amount->reservoir);
    return Column{ir::ResultsColumn{{}, ir::ColumnKind::Amount,
                                    amount_column_unit(reservoirs, amount->reservoir, amount->species), name,
                                    species_formula(model, amount->species)},
                  amount_key(name, amount->species)};
  }
  if (const auto* composition = std::get_if<ir::Variable::Composition>(&variable.kind)) {
    const std::string& name = reservoir_name(model, composition->reservoir);
    const ir::IsotopeSystem& system = isotope_system(model, composition->isotope);
    return Column{
        ir::ResultsColumn{{}, ir::ColumnKind::Composition, delta_unit(system), name, std::nullopt, system.notation},
        composition_key(name, composition->isotope)};
  }
  if (const auto* pool = std::get_if<ir::Variable::PoolComposition>(&variable.kind)) {
    const std::string& name = reservoir_name(model, pool->reservoir);
    const ir::IsotopeSystem& system = isotope_system(model, pool->isotope);
    return Column{ir::ResultsColumn{{}, ir::ColumnKind::PoolComposition, delta_unit(system), name,
                                    species_formula(model, pool->species), system.notation},
                  pool_composition_key(name, pool->species, pool->isotope)};
  }
  if (const auto* remaining = std::get_if<ir::Variable::FractionRemaining>(&variable.kind)) {
    return fraction_column(model, remaining->reservoir, remaining->species, false);
  }
  if (const auto* reacted = std::get_if<ir::Variable::FractionReacted>(&variable.kind)) {
    return fraction_column(model, reacted->reservoir, reacted->species, true);
  }
  if (const auto* parameter = std::get_if<ir::Variable::Parameter>(&variable.kind)) {
    const std::string& name = record_at(model.parameters, parameter->id.index, "parameter").name;
    return Column{ir::ResultsColumn{{}, ir::ColumnKind::Parameter, "1", std::nullopt, std::nullopt, std::nullopt, name},
                  parameter_key(parameter->id)};
  }
  return Column{ir::ResultsColumn{{}, ir::ColumnKind::Time, "s"}, time_key()};
}

}  // namespace

ColumnSet column_set(const ir::ModelGraph& model, const std::vector<ReservoirState>& reservoirs) {
  ColumnSet set;
  for (const ir::Output& output : model.outputs) {
    Column column = column_of(model, reservoirs, output.variable);
    column.column.name = output.label;
    set.columns.push_back(std::move(column.column));
    set.row_keys.push_back(std::move(column.row_key));
  }
  return set;
}

std::vector<ir::ResultsRow> results_rows(const std::vector<RecordedRow>& rows, const std::vector<std::string>& row_keys) {
  std::vector<ir::ResultsRow> results;
  results.reserve(rows.size());
  for (const RecordedRow& row : rows) {
    ir::ResultsRow cells;
    cells.reserve(row_keys.size());
    for (const std::string& key : row_keys) {
      auto cell = row.find(key);
      cells.push_back(cell == row.end() ? std::nullopt : cell->second);
    }
    results.push_back(std::move(cells));
  }
  return results;
}

}  // namespace ovm::engine
