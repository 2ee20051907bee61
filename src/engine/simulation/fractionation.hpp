#pragma once

#include "ir/graph/graph_processes.hpp"

namespace ovm::engine {

// Open (Rayleigh) fractionation, or the closed-system equilibrium form.
enum class FractionationForm { Rayleigh, Closed };

// Only an equilibrium process that is not an open system fractionates in the closed form; one
// without a regime counts as not at equilibrium.
FractionationForm fractionation_form(const ir::Process& process);

// The remaining share of the pool used in the composition formulas: 1 - fraction, kept
// strictly between 0 and 1 so that neither formula meets a zero or an infinite power.
double remaining_share(double fraction);

// Deltas in permil of what remains and of what is produced.
struct FractionatedDeltas {
  double remaining = 0;
  double product = 0;
};

// The deltas after a pool of delta `d0` reacts with factor `alpha`, `f` of it remaining. The
// product's delta balances the remainder's against the start: d0 = f * remaining + r * product.
FractionatedDeltas fractionate(double d0, double alpha, double f, FractionationForm form);

}  // namespace ovm::engine
