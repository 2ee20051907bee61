#pragma once

#include <optional>

#include "engine/simulation/simulation_state.hpp"

namespace ovm::engine {

// The amount-weighted mean delta of an isotope over the pools of a reservoir, taken over the
// pools (in ascending species id) whose amount is not at or below 0 and which hold a delta of
// the isotope. Nothing when the summed amount is not above 0, or no pool qualifies.
std::optional<double> mean_composition(const ReservoirState& reservoir, ir::IsotopeId isotope);

// The pool's amount over its start amount, a missing pool counting as amount 0. Nothing when
// the start amounts hold no positive entry for the pool.
std::optional<double> remaining_fraction(const StartAmounts& start_amounts, const ReservoirState& reservoir,
                                         ir::SpeciesId species);

}  // namespace ovm::engine
