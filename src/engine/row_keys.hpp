#pragma once

#include <string>
#include <string_view>

#include "ir/graph_ids.hpp"

namespace ovm::engine {

// The keys that tie a recorded row to the result columns: "time", "parameter#<id>", and for a
// reservoir "<name>#<isotope>", "<name>#<species>#amount", "<name>#<species>#remaining",
// "<name>#<species>#reacted" and "<name>#<species>#<isotope>".
//
// The name is written so that no two quantities share a key: a backslash goes before every
// backslash and `#` in it, and a reservoir named parameter is written \parameter, so that its
// compositions do not take the parameters' keys.
std::string time_key();
std::string parameter_key(ir::ParameterId parameter);
std::string composition_key(std::string_view reservoir, ir::IsotopeId isotope);
std::string amount_key(std::string_view reservoir, ir::SpeciesId species);
std::string remaining_key(std::string_view reservoir, ir::SpeciesId species);
std::string reacted_key(std::string_view reservoir, ir::SpeciesId species);
std::string pool_composition_key(std::string_view reservoir, ir::SpeciesId species, ir::IsotopeId isotope);

}  // namespace ovm::engine
