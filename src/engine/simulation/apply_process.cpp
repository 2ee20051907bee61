#include "engine/simulation/apply_process.hpp"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <string>
#include <utility>
#include <vector>

#include "diagnostics/internal_error.hpp"
#include "diagnostics/message_text.hpp"
#include "diagnostics/number_text.hpp"
#include "engine/simulation/database_factors.hpp"
#include "engine/simulation/evaluate_expr.hpp"
#include "engine/simulation/fractionation.hpp"

namespace ovm::engine {
namespace {


ReservoirState& reservoir_at(SimulationState& state, ir::ReservoirId id) {
  if (id >= state.reservoirs.size()) {
    diagnostics::internal_error("a process names reservoir " + std::to_string(id) + ", which the run does not hold");
  }
  return state.reservoirs[id];
}

// The alpha of one of the process's own factors.
EvalResult own_alpha(const SimulationState& state, const ir::FractionationFactor& factor) {
  if (const auto* constant = std::get_if<ir::FractionationFactor::Constant>(&factor.kind)) return constant->alpha;
  if (const auto* law = std::get_if<ir::FractionationFactor::Law>(&factor.kind)) return eval_expr(state, law->expr);
  const auto& table = std::get<ir::FractionationFactor::Table>(factor.kind);
  return EngineError{"OV402", diagnostics::fill_message("tabulated fractionation (`{}`) is not implemented yet", {table.path})};
}

// What every factor of one call shares.
struct Reaction {
  const ir::Process& process;
  double fraction;
  double f;  // the remaining share of the formulas
  FractionationForm form;
};

// Fractionates the source pool's delta of `isotope`, when it has one, and notes the product's.
std::optional<EngineError> fractionate_isotope(PoolState& source, const Reaction& reaction, ir::IsotopeId isotope,
                                               double alpha, ProductDeltas& product_deltas) {
  auto delta = source.deltas.find(isotope);
  if (delta == source.deltas.end()) return std::nullopt;
  FractionatedDeltas deltas = fractionate(delta->second, alpha, reaction.f, reaction.form);
  if (!std::isfinite(deltas.remaining) || !std::isfinite(deltas.product)) {
    return EngineError{"OV302", diagnostics::fill_message("`{}` produced a non-finite composition at extent {}",
                                                   {reaction.process.name, diagnostics::plain_decimal(reaction.fraction)})};
  }
  delta->second = deltas.remaining;
  product_deltas.emplace_back(isotope, deltas.product);
  return std::nullopt;
}

bool distinct_isotopes(const ProductDeltas& deltas) {
  for (std::size_t i = 1; i < deltas.size(); ++i) {
    for (std::size_t j = 0; j < i; ++j) {
      if (deltas[i].first == deltas[j].first) return false;
    }
  }
  return true;
}

// The isotopes of every system the source holds and no factor covered move with the matter,
// unfractionated (as with alpha 1), so that the product keeps the isotope budget.
void carry_unfractionated(const PoolState& source, ProductDeltas& product_deltas) {
  std::size_t fractionated = product_deltas.size();
  // Every isotope fractionated is one the source holds, so as many distinct ones as it holds
  // are all of them; this spares the walk over the source's deltas in most calls.
  if (fractionated == source.deltas.size() && distinct_isotopes(product_deltas)) return;
  for (const auto& entry : source.deltas) {
    // A plain name, not a structured binding: clang 14 cannot capture those in a lambda.
    ir::IsotopeId isotope = entry.first;
    auto covered = std::find_if(product_deltas.begin(), product_deltas.begin() + static_cast<std::ptrdiff_t>(fractionated),
                                [&](const auto& product) { return product.first == isotope; });
    if (covered == product_deltas.begin() + static_cast<std::ptrdiff_t>(fractionated)) {
      product_deltas.emplace_back(isotope, entry.second);
    }
  }
}

// Adds `moved` of the product, each delta mixed by amount with the one the pool holds.
void deliver(PoolState& pool, double moved, const ProductDeltas& product_deltas) {
  double a_old = pool.amount;
  for (const auto& [isotope, d_prod] : product_deltas) {
    auto held = pool.deltas.find(isotope);
    if (held != pool.deltas.end() && a_old > 0) {
      held->second = (d_prod * moved + a_old * held->second) / (moved + a_old);
    } else {
      pool.deltas[isotope] = d_prod;
    }
  }
  pool.amount = a_old + moved;
}

// The reservoir a process delivers into: `into`, else the one it draws from. Only called once
// the one it draws from is known to be named.
ir::ReservoirId destination(const ir::Process& process) {
  return process.into.value_or(process.from ? *process.from : *process.location);
}

// Fills in what the target still lacks, in the order a call needs it: the source pool, and once
// that holds an amount above 0 (a not-a-number amount is not at or below 0), the database
// factors, the product pool (created if missing) and the form. Leaves the product pool unset
// when the call does not act.
std::optional<EngineError> find_target(SimulationState& state, const ir::Process& process, ir::SpeciesId source,
                                       ir::SpeciesId product, ProcessTarget& target) {
  std::optional<ir::ReservoirId> from = process.from ? process.from : process.location;
  if (!from) {
    return EngineError{"OV402", diagnostics::fill_message("`{}` names neither from, into nor location", {process.name})};
  }
  if (target.source == nullptr) {
    ReservoirState& source_reservoir = reservoir_at(state, *from);
    auto source_entry = source_reservoir.pools.find(source);
    if (source_entry == source_reservoir.pools.end()) return std::nullopt;
    target.source = &source_entry->second;
  }
  if (target.source->amount <= 0) return std::nullopt;
  if (!target.database_factors) {
    auto found = database_factors(state, process, source, product);
    if (auto* error = std::get_if<EngineError>(&found)) return std::move(*error);
    target.database_factors = std::get<std::vector<DatabaseFactor>>(std::move(found));
  }
  // Pools live in maps, so the source pool stays valid when the product pool is created here.
  target.product = &reservoir_at(state, destination(process)).pools[product];
  target.form = fractionation_form(process);
  return std::nullopt;
}

}  // namespace

std::optional<EngineError> apply_process(SimulationState& state, const ir::Process& process, ir::SpeciesId source,
                                         ir::SpeciesId product, double fraction) {
  ProcessTarget target;
  return apply_process(state, process, source, product, fraction, target);
}

std::optional<EngineError> apply_process(SimulationState& state, const ir::Process& process, ir::SpeciesId source,
                                         ir::SpeciesId product, double fraction, ProcessTarget& target) {
  if (!(fraction >= 0 && fraction <= 1)) {
    return EngineError{"OV304", diagnostics::fill_message("`{}` declares an extent of {}, which leaves a negative remainder",
                                                   {process.name, diagnostics::plain_decimal(fraction)})};
  }
  if (target.product == nullptr) {
    if (auto failed = find_target(state, process, source, product, target)) return failed;
    if (target.product == nullptr) return std::nullopt;
  }
  // Only an amount at or below 0 stops the call: a not-a-number amount is not, so it reacts.
  PoolState& source_pool = *target.source;
  if (source_pool.amount <= 0) return std::nullopt;
  double a0 = source_pool.amount;
  const std::vector<DatabaseFactor>& from_databases = *target.database_factors;
  PoolState& product_pool = *target.product;
  // Pools of one kind (or both without) take each other's matter as they are.
  if (product_pool.kind != source_pool.kind) {
    auto unlike = take_amount_kind(product_pool, source_pool.kind, process.name, formula_text(state.model, product),
                                   reservoir_at(state, destination(process)).name);
    if (unlike) return unlike;
  }

  Reaction reaction{process, fraction, remaining_share(fraction), target.form};
  double moved = fraction * a0;
  ProductDeltas& product_deltas = state.product_deltas;  // kept between calls, so a step allocates nothing
  product_deltas.clear();
  for (const ir::Fractionation& own : process.fractionations) {
    EvalResult alpha = own_alpha(state, own.factor);
    if (auto* error = std::get_if<EngineError>(&alpha)) return std::move(*error);
    auto failed = fractionate_isotope(source_pool, reaction, own.isotope, std::get<double>(alpha), product_deltas);
    if (failed) return failed;
  }
  for (const DatabaseFactor& factor : from_databases) {
    auto failed = fractionate_isotope(source_pool, reaction, factor.isotope, factor.alpha, product_deltas);
    if (failed) return failed;
  }

  carry_unfractionated(source_pool, product_deltas);

  source_pool.amount = a0 - moved;
  deliver(product_pool, moved, product_deltas);
  return std::nullopt;
}

}  // namespace ovm::engine
