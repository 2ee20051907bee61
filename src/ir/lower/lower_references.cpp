#include "ir/lower/lower_references.hpp"

#include "ir/graph/lower_words.hpp"
#include "ir/lower/lower_values.hpp"
#include "sema/isotope.hpp"

namespace ovm::ir {

namespace {

std::optional<IsotopeId> isotope_of_delta(const std::vector<IsotopeSystem>& isotopes, std::string_view name) {
  std::optional<sema::Isotope> delta = sema::parse_delta_name(name);
  if (!delta) return std::nullopt;
  for (const IsotopeSystem& system : isotopes) {
    if (system.element == delta->symbol && system.heavy_mass == delta->mass) return system.id;
  }
  return std::nullopt;
}

std::optional<SpeciesId> known_species(const LoweringContext& context, std::string_view formula) {
  auto found = context.species_by_formula.find(std::string(formula));
  if (found == context.species_by_formula.end()) return std::nullopt;
  return found->second;
}

}  // namespace

std::optional<WrittenDelta> written_delta(const LoweringContext& context, const syntax::Statement& statement,
                                          std::string_view key, const std::optional<std::string>& owner) {
  std::optional<double> delta = main_number(context, statement, owner);
  if (!delta) return std::nullopt;
  std::optional<IsotopeId> id = isotope_of_delta(context.graph.isotopes, key);
  if (!id) return std::nullopt;
  return WrittenDelta{*id, *delta};
}

std::optional<double> delta_as_ratio(const LoweringContext& context, const WrittenDelta& delta) {
  const std::optional<Standard>& standard = context.graph.isotopes[delta.isotope].standard;
  if (!standard) return std::nullopt;
  return (delta.delta_permil / 1000 + 1) * standard->ratio;
}

std::optional<Subject> resolve_reference(const LoweringContext& context, std::span<const std::string_view> parts) {
  if (parts.empty()) return std::nullopt;
  std::optional<ReservoirId> reservoir = reservoir_id_of(context, parts[0]);
  if (!reservoir) return std::nullopt;
  const std::vector<IsotopeSystem>& isotopes = context.graph.isotopes;
  if (parts.size() == 2) {
    if (sema::parse_delta_name(parts[1])) {
      std::optional<IsotopeId> isotope = isotope_of_delta(isotopes, parts[1]);
      if (!isotope) return std::nullopt;
      return Subject{Subject::Composition{*reservoir, *isotope}};
    }
    std::optional<SpeciesId> species = known_species(context, parts[1]);
    if (!species) return std::nullopt;
    return Subject{Subject::Amount{*reservoir, *species}};
  }
  if (parts.size() != 3) return std::nullopt;
  std::optional<SpeciesId> species = known_species(context, parts[1]);
  if (!species) return std::nullopt;
  if (parts[2] == "reacted") return Subject{Subject::FractionReacted{*reservoir, *species}};
  if (parts[2] == "remaining") return Subject{Subject::FractionRemaining{*reservoir, *species}};
  std::optional<IsotopeId> isotope = isotope_of_delta(isotopes, parts[2]);
  if (!isotope) return std::nullopt;
  return Subject{Subject::PoolComposition{*reservoir, *species, *isotope}};
}

namespace {

// Reads the endpoints in the order the kind names them, each becoming a species as it is read.
std::optional<std::pair<SpeciesId, SpeciesId>> species_pair(LoweringContext& context,
                                                            const std::optional<std::string>& first,
                                                            const std::optional<std::string>& second) {
  if (!first) return std::nullopt;
  SpeciesId a = species_for_formula(context, *first);
  if (!second) return std::nullopt;
  SpeciesId b = species_for_formula(context, *second);
  return std::pair{a, b};
}

// Built in place: moving a finished kind into the optional trips a false maybe-uninitialized
// warning of g++ 12 under the sanitizers.
template <typename Node>
std::optional<ProcessKind> kind_of(Node node) {
  std::optional<ProcessKind> kind(std::in_place);
  kind->kind.template emplace<Node>(std::move(node));
  return kind;
}

}  // namespace

std::optional<ProcessKind> process_kind_from_type(LoweringContext& context, const std::optional<std::string>& type,
                                                  ProcessEndpoints endpoints) {
  std::string_view name = type ? std::string_view(*type) : std::string_view();
  if (type && name == "mixing") {
    if (!endpoints.product) return std::nullopt;
    std::optional<ReservoirId> product = reservoir_id_of(context, *endpoints.product);
    if (!product) return std::nullopt;
    return kind_of(ProcessKind::Mixing{std::move(endpoints.sources), *product});
  }
  if (type && (name == "uptake" || name == "adsorption")) {
    auto pair = species_pair(context, endpoints.reactant, endpoints.sorbent);
    if (!pair) return std::nullopt;
    if (name == "uptake") return kind_of(ProcessKind::Uptake{pair->first, pair->second});
    return kind_of(ProcessKind::Adsorption{pair->first, pair->second});
  }
  if (type && name == "exchange") {
    auto pair = species_pair(context, endpoints.phase_a, endpoints.phase_b);
    if (!pair) return std::nullopt;
    return kind_of(ProcessKind::Exchange{pair->first, pair->second});
  }
  auto pair = species_pair(context, endpoints.reactant, endpoints.product);
  if (!pair || !type) return std::nullopt;
  std::optional<Mechanism> mode = enum_of_word<Mechanism>(name, mechanism_names);
  if (!mode) return std::nullopt;
  return kind_of(ProcessKind::Transfer{pair->first, pair->second, *mode});
}

}  // namespace ovm::ir
