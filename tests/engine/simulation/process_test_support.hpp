#pragma once

#include <optional>
#include <string>
#include <vector>

#include "engine/base/engine_error.hpp"
#include "engine/simulation/simulation_state.hpp"

namespace ovm::engine::testing {

// Appends a species, an isotope system, or a reservoir (to the model and to the run state),
// each with its index as its id.
ir::SpeciesId add_species(SimulationState& state, const std::string& formula);
ir::IsotopeId add_isotope(SimulationState& state, const std::string& notation);
ir::ReservoirId add_reservoir(SimulationState& state, const std::string& name);

// A reduction of `reactant` into `product` drawing from `from`, appended to the model.
ir::Process& add_transfer(SimulationState& state, const std::string& name, ir::SpeciesId reactant,
                          ir::SpeciesId product, std::optional<ir::ReservoirId> from);

// A database factor of `ratio` for a reduction, stating nothing else.
FractionationEntry reduction_entry(const std::string& ratio, const std::string& citation,
                                   const std::string& database, double alpha);

// A simulation of the listed processes.
ir::Simulation simulation_of(std::vector<ir::ProcessId> processes, ir::Progress progress);

// The pool of a reservoir, which must exist.
const PoolState& pool(const SimulationState& state, ir::ReservoirId reservoir, ir::SpeciesId species);

// The error of a call that must fail; success is a test failure (and gives an empty error).
EngineError failure(const std::optional<EngineError>& result);

}  // namespace ovm::engine::testing
