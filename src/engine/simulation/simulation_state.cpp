#include "engine/simulation/simulation_state.hpp"

#include "diagnostics/message_text.hpp"

namespace ovm::engine {

double amount_number(const ir::Amount& amount) {
  if (const auto* molality = std::get_if<ir::Amount::Molality>(&amount.kind)) return molality->mol_per_kgw;
  return std::get<ir::Amount::MassConcentration>(amount.kind).mg_per_l;
}

AmountKind amount_kind(const ir::Amount& amount) {
  return std::holds_alternative<ir::Amount::Molality>(amount.kind) ? AmountKind::Molality
                                                                   : AmountKind::MassConcentration;
}

std::string_view formula_text(const ir::ModelGraph& model, ir::SpeciesId id) {
  return id < model.species.size() ? std::string_view(model.species[id].formula) : std::string_view();
}

std::string_view amount_unit(AmountKind kind) { return kind == AmountKind::Molality ? "mol/kgw" : "mg/L"; }

namespace {

std::string_view kind_words(AmountKind kind) {
  return kind == AmountKind::Molality ? "a molality (mol/kgw)" : "a mass concentration (mg/L)";
}

}  // namespace

std::optional<EngineError> take_amount_kind(PoolState& pool, std::optional<AmountKind> incoming,
                                            std::string_view process, std::string_view species,
                                            std::string_view reservoir) {
  if (!incoming) return std::nullopt;
  if (!pool.kind) {
    pool.kind = incoming;
    return std::nullopt;
  }
  if (*pool.kind == *incoming) return std::nullopt;
  return EngineError{"OV402", diagnostics::fill_message("`{}` would add {} to {} of `{}` in `{}`",
                                                 {process, kind_words(*incoming), kind_words(*pool.kind), species, reservoir})};
}

ReservoirState initial_reservoir_state(const ir::Reservoir& reservoir, const std::vector<ir::IsotopeSystem>& isotopes) {
  ReservoirState state{reservoir.name, {}};
  for (const ir::Pool& pool : reservoir.pools) {
    PoolState pool_state{amount_number(pool.amount), {}, amount_kind(pool.amount)};
    for (const ir::Composition& composition : pool.compositions) {
      if (composition.isotope >= isotopes.size()) continue;
      const std::optional<ir::Standard>& standard = isotopes[composition.isotope].standard;
      if (!standard) continue;
      double delta = (composition.ratio / standard->ratio - 1) * 1000;
      pool_state.deltas[composition.isotope] = delta;
    }
    // Written as deltas because only a database had the standard, which the run has taken.
    for (const ir::PoolDelta& delta : pool.deltas) {
      if (delta.isotope < isotopes.size()) pool_state.deltas[delta.isotope] = delta.delta_permil;
    }
    state.pools[pool.species] = std::move(pool_state);
  }
  return state;
}

}  // namespace ovm::engine
