#include "engine/simulation/database_factors.hpp"

#include <algorithm>
#include <cstddef>
#include <string>

#include "diagnostics/message_text.hpp"
#include "engine/ovdb/ovdb_lookup.hpp"
#include "ir/graph/lower_words.hpp"
#include "sema/property_table.hpp"

namespace ovm::engine {
namespace {

// Keeps a note once: every step of a long run takes the same factors again.
void note_factor(SimulationState& state, FactorNote note) {
  std::string key = note.subject + '\0' + note.database + '\0' + note.citation + '\0' + note.warning.value_or("") +
                    (note.warning ? "\1" : "");
  if (!state.noted_factors.insert(std::move(key)).second) return;
  state.factor_notes.push_back(std::move(note));
}

std::optional<std::string_view> formula_of(const ir::ModelGraph& model, ir::SpeciesId species) {
  if (species >= model.species.size()) return std::nullopt;
  return model.species[species].formula;
}

bool fractionates_itself(const ir::Process& process, ir::IsotopeId isotope) {
  return std::ranges::any_of(process.fractionations,
                             [isotope](const ir::Fractionation& own) { return own.isotope == isotope; });
}

}  // namespace

std::optional<std::string_view> database_process_name(const ir::ProcessKind& kind) {
  if (const auto* transfer = std::get_if<ir::ProcessKind::Transfer>(&kind.kind)) {
    return ir::mechanism_names[static_cast<std::size_t>(transfer->mode)];
  }
  if (std::holds_alternative<ir::ProcessKind::Adsorption>(kind.kind)) return "adsorption";
  if (std::holds_alternative<ir::ProcessKind::Uptake>(kind.kind)) return "uptake";
  if (std::holds_alternative<ir::ProcessKind::Exchange>(kind.kind)) return "exchange";
  return std::nullopt;
}

std::variant<std::vector<DatabaseFactor>, EngineError> database_factors(SimulationState& state,
                                                                        const ir::Process& process,
                                                                        ir::SpeciesId source, ir::SpeciesId product) {
  std::vector<DatabaseFactor> factors;
  if (state.databases.standards.empty() && state.databases.fractionations.empty()) return factors;
  std::optional<std::string_view> process_name = database_process_name(process.kind);
  if (!process_name) return factors;

  const ir::ModelGraph& model = state.model;
  FractionationQuery query;
  query.process = *process_name;
  query.reactant = formula_of(model, source);
  query.product = formula_of(model, product);
  if (process.regime) {
    query.regime = sema::property_lists::process_regimes[static_cast<std::size_t>(*process.regime)];
  }
  if (process.context) {
    query.context = sema::property_lists::process_contexts[static_cast<std::size_t>(*process.context)];
  }
  query.temperature = model.conditions.temperature_k;
  query.ph = model.conditions.ph;

  for (const ir::IsotopeSystem& system : model.isotopes) {
    if (fractionates_itself(process, system.id)) continue;
    query.ratio = system.notation;
    FractionationLookup found = lookup_fractionation(state.databases, query);
    if (const auto* tie = std::get_if<FractionationTie>(&found)) return EngineError{"OV402", tie->message};
    const auto* match = std::get_if<FractionationMatch>(&found);
    if (!match) continue;
    factors.push_back(DatabaseFactor{system.id, match->alpha});
    note_factor(state, FactorNote{diagnostics::fill_message("{} on {}", {process.name, system.notation}),
                                  match->database_name, match->citation, match->warning});
  }
  return factors;
}

}  // namespace ovm::engine
