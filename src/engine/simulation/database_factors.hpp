#pragma once

#include <optional>
#include <variant>
#include <vector>

#include "engine/base/engine_error.hpp"
#include "engine/simulation/simulation_state.hpp"

namespace ovm::engine {

// A fractionation factor a database supplies for one isotope system.
struct DatabaseFactor {
  ir::IsotopeId isotope = 0;
  double alpha = 1;

  friend bool operator==(const DatabaseFactor&, const DatabaseFactor&) = default;
};

// The database name of what the process does: a transfer's mechanism, else its kind. Nothing
// for a mixing, which takes no factor.
std::optional<std::string_view> database_process_name(const ir::ProcessKind& kind);

// Asks the databases for a factor of every isotope system of the model, in model order, that
// the process does not fractionate itself, and notes each factor taken in the state. Nothing is
// asked when the databases hold neither a standard nor a factor, or the process is a mixing.
// A lookup that cannot choose between entries is an OV402 error.
std::variant<std::vector<DatabaseFactor>, EngineError> database_factors(SimulationState& state,
                                                                        const ir::Process& process,
                                                                        ir::SpeciesId source, ir::SpeciesId product);

}  // namespace ovm::engine
