#include "ir/lower/lower_context.hpp"

#include "syntax/ascii.hpp"

namespace ovm::ir {

std::optional<ParameterId> lookup_parameter(const LoweringContext& context, std::string_view name,
                                            const std::optional<std::string>& owner) {
  std::string key(name);
  if (owner) {
    auto own = context.parameters_by_owner.find({owner, key});
    if (own != context.parameters_by_owner.end()) return own->second;
  }
  auto global = context.parameters_by_owner.find({std::nullopt, key});
  if (global != context.parameters_by_owner.end()) return global->second;
  return std::nullopt;
}

ParameterId add_parameter(LoweringContext& context, std::optional<std::string> owner, std::string name,
                          std::optional<Expr> value) {
  ParameterId id{static_cast<std::uint32_t>(context.graph.parameters.size())};
  context.parameters_by_owner[{owner, name}] = id;
  context.graph.parameters.push_back(Parameter{id, std::move(name), std::move(owner), std::move(value)});
  return id;
}

namespace {

// One capital letter, and a lower-case one after it when there is one: Cr(VI) gives Cr.
std::optional<std::string> element_of(std::string_view formula) {
  if (formula.empty() || !syntax::is_upper(formula[0])) return std::nullopt;
  std::size_t length = formula.size() > 1 && syntax::is_lower(formula[1]) ? 2 : 1;
  return std::string(formula.substr(0, length));
}

// A parenthesised group that names no elements: an oxidation state (VI), a phase (s), (aq).
bool is_label_group(std::string_view group) {
  if (group.empty()) return false;
  bool roman = group.find_first_not_of("IVX") == std::string_view::npos;
  return roman || group == "s" || group == "l" || group == "g" || group == "aq" || group == "am" || group == "cr";
}

}  // namespace

bool formula_has_element(std::string_view formula, std::string_view element) {
  for (std::size_t i = 0; i < formula.size();) {
    if (formula[i] == '(') {
      std::size_t close = formula.find(')', i);
      if (close != std::string_view::npos && is_label_group(formula.substr(i + 1, close - i - 1))) {
        i = close + 1;
        continue;
      }
    }
    if (!syntax::is_upper(formula[i])) {
      ++i;
      continue;
    }
    std::size_t length = i + 1 < formula.size() && syntax::is_lower(formula[i + 1]) ? 2 : 1;
    if (formula.substr(i, length) == element) return true;
    i += length;
  }
  return false;
}

SpeciesId species_for_formula(LoweringContext& context, std::string_view formula) {
  std::string key(formula);
  auto known = context.species_by_formula.find(key);
  if (known != context.species_by_formula.end()) return known->second;
  auto id = static_cast<SpeciesId>(context.graph.species.size());
  context.species_by_formula.emplace(key, id);
  context.graph.species.push_back(Species{id, key, element_of(formula)});
  return id;
}

std::optional<ReservoirId> reservoir_id_of(const LoweringContext& context, std::string_view name) {
  auto found = context.reservoirs_by_name.find(std::string(name));
  if (found == context.reservoirs_by_name.end()) return std::nullopt;
  return found->second;
}

std::optional<ProcessId> process_id_of(const LoweringContext& context, std::string_view name) {
  auto found = context.processes_by_name.find(std::string(name));
  if (found == context.processes_by_name.end()) return std::nullopt;
  return found->second;
}

Expr clone_expr(const Expr& expr) { return Expr(expr); }

}  // namespace ovm::ir
