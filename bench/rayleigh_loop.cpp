#include "rayleigh_loop.hpp"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace ovm::bench {
namespace {

[[noreturn]] void unexpected(const char* what) {
  std::fprintf(stderr, "the hand-written loop does not fit the model: %s\n", what);
  std::exit(1);
}

double constant_of(const ir::ModelGraph& model, const ir::Expr& expr) {
  const ir::Expr* at = &expr;
  if (const auto* parameter = std::get_if<ir::Expr::Parameter>(&at->kind)) at = &*model.parameters[parameter->id.index].value;
  const auto* constant = std::get_if<ir::Expr::Constant>(&at->kind);
  if (constant == nullptr) unexpected("a rate constant is not a number");
  return constant->value;
}

struct Aquifer {
  double k;      // 1/s
  double alpha;  // of the reduction
  double reactant;
  double reactant_delta;
  double product;
  double product_delta;
  bool product_has_delta;
};

}  // namespace

ir::ResultsTable rayleigh_loop(const engine::SimulationState& start) {
  const ir::ModelGraph& model = start.model;
  std::vector<Aquifer> aquifers;
  for (const ir::Process& process : model.processes) {
    const engine::ReservoirState& reservoir = start.reservoirs.at(*process.from);
    const auto& reactant = reservoir.pools.at(0);
    const auto& product = reservoir.pools.at(1);
    const auto& law = std::get<ir::RateLaw::FirstOrder>(process.kinetics->rate.kind);
    const auto& factor = std::get<ir::FractionationFactor::Constant>(process.fractionations.at(0).factor.kind);
    aquifers.push_back(Aquifer{constant_of(model, law.constant), factor.alpha, reactant.amount, reactant.deltas.at(0),
                               product.amount, product.deltas.empty() ? 0 : product.deltas.at(0),
                               !product.deltas.empty()});
  }
  const double step = *model.simulation->step_seconds;
  const double end = model.simulation->stop->value;

  ir::ResultsTable rows{4, 0, {}};
  double clock = 0;
  auto record = [&] {
    const Aquifer& first = aquifers.front();
    double total = 0;
    double weighted = 0;
    if (first.reactant > 0) total += first.reactant, weighted += first.reactant * first.reactant_delta;
    if (first.product > 0 && first.product_has_delta) total += first.product, weighted += first.product * first.product_delta;
    double mean = total > 0 ? weighted / total : std::nan("");
    for (double cell : {clock, first.reactant, mean, aquifers.back().product}) rows.cells.push_back(cell);
    ++rows.rows;
  };
  record();
  while (!(clock >= end)) {
    double dt = std::min(end - clock, step);
    for (Aquifer& a : aquifers) {
      double fraction = 1 - std::exp(-a.k * dt);
      if (fraction <= 0 || a.reactant <= 0) continue;
      double f = std::min(0.999999999999, std::max(1e-12, 1 - fraction));
      double moved = fraction * a.reactant;
      double remaining = (a.reactant_delta + 1000) * std::pow(f, a.alpha - 1) - 1000;
      double product_delta = (a.reactant_delta - f * remaining) / (1 - f);
      a.reactant_delta = remaining;
      a.reactant -= moved;
      if (a.product_has_delta && a.product > 0) {
        a.product_delta = (product_delta * moved + a.product * a.product_delta) / (moved + a.product);
      } else {
        a.product_delta = product_delta;
      }
      a.product_has_delta = true;
      a.product += moved;
    }
    clock += dt;
    record();
  }
  return rows;
}

}  // namespace ovm::bench
