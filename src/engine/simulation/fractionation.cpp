#include "engine/simulation/fractionation.hpp"

#include <algorithm>
#include <cmath>

namespace ovm::engine {
namespace {

constexpr double permil_scale = 1000;  // the delta notation's scale
constexpr double smallest_share = 1e-12;
constexpr double largest_share = 0.999999999999;

}  // namespace

FractionationForm fractionation_form(const ir::Process& process) {
  if (!process.open_system && process.regime == ir::Regime::Equilibrium) return FractionationForm::Closed;
  return FractionationForm::Rayleigh;
}

double remaining_share(double fraction) { return std::min(largest_share, std::max(smallest_share, 1 - fraction)); }

FractionatedDeltas fractionate(double d0, double alpha, double f, FractionationForm form) {
  double r = 1 - f;
  double remaining = form == FractionationForm::Rayleigh ? (d0 + permil_scale) * std::pow(f, alpha - 1) - permil_scale
                                                         : (d0 + permil_scale) / (alpha * r + f) - permil_scale;
  return FractionatedDeltas{remaining, (d0 - f * remaining) / r};
}

}  // namespace ovm::engine
