#pragma once

#include <optional>
#include <string>

#include "engine/base/engine_error.hpp"
#include "engine/simulation/simulation_state.hpp"

namespace ovm::engine {

// Mixes the sources' pools into the product reservoir: each species' amount becomes the sum of
// the sources' amounts weighted by their fractions, each delta the mean weighted by those
// amounts. Amounts are replaced, not added to; a delta no source weighs stays as it was, and so
// does every pool of a species no source holds. The sources are never changed, and fractions
// are taken as they stand. Sources outside the run's reservoirs are passed over; a product
// outside them is an OV402 error that changes nothing, and so is a species whose sources hold
// amounts of unlike kinds (a molality and a mass concentration), which `process` names.
std::optional<EngineError> mix(SimulationState& state, const std::string& process,
                               const ir::ProcessKind::Mixing& mixing);

}  // namespace ovm::engine
