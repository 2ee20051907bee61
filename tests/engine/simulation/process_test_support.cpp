#include "process_test_support.hpp"

#include <gtest/gtest.h>

namespace ovm::engine::testing {

ir::SpeciesId add_species(SimulationState& state, const std::string& formula) {
  auto id = static_cast<ir::SpeciesId>(state.model.species.size());
  state.model.species.push_back(ir::Species{id, formula, std::nullopt});
  return id;
}

ir::IsotopeId add_isotope(SimulationState& state, const std::string& notation) {
  auto id = static_cast<ir::IsotopeId>(state.model.isotopes.size());
  ir::IsotopeSystem system;
  system.id = id;
  system.notation = notation;
  state.model.isotopes.push_back(system);
  return id;
}

ir::ReservoirId add_reservoir(SimulationState& state, const std::string& name) {
  auto id = static_cast<ir::ReservoirId>(state.model.reservoirs.size());
  ir::Reservoir reservoir;
  reservoir.id = id;
  reservoir.name = name;
  state.model.reservoirs.push_back(reservoir);
  state.reservoirs.push_back(ReservoirState{name, {}});
  return id;
}

ir::Process& add_transfer(SimulationState& state, const std::string& name, ir::SpeciesId reactant,
                          ir::SpeciesId product, std::optional<ir::ReservoirId> from) {
  ir::Process process;
  process.id = static_cast<ir::ProcessId>(state.model.processes.size());
  process.name = name;
  process.kind.kind = ir::ProcessKind::Transfer{reactant, product, ir::Mechanism::Reduction};
  process.from = from;
  state.model.processes.push_back(std::move(process));
  return state.model.processes.back();
}

FractionationEntry reduction_entry(const std::string& ratio, const std::string& citation,
                                   const std::string& database, double alpha) {
  FractionationEntry entry;
  entry.ratio = ratio;
  entry.process = "reduction";
  entry.citation = citation;
  entry.database_name = database;
  entry.alpha = alpha;
  return entry;
}

ir::Simulation simulation_of(std::vector<ir::ProcessId> processes, ir::Progress progress) {
  ir::Simulation simulation;
  simulation.processes = std::move(processes);
  simulation.progress = progress;
  return simulation;
}

const PoolState& pool(const SimulationState& state, ir::ReservoirId reservoir, ir::SpeciesId species) {
  static const PoolState missing;
  const auto& pools = state.reservoirs.at(reservoir).pools;
  auto found = pools.find(species);
  if (found == pools.end()) {
    ADD_FAILURE() << "reservoir " << reservoir << " holds no pool of species " << species;
    return missing;
  }
  return found->second;
}

EngineError failure(const std::optional<EngineError>& result) {
  if (result) return *result;
  ADD_FAILURE() << "expected an error, the call succeeded";
  return {};
}

}  // namespace ovm::engine::testing
