#include "ir/lower/lower_context.hpp"

#include "syntax/ascii.hpp"

namespace ovm::ir {

std::uint32_t owned_name_hash(std::optional<std::string_view> owner, std::string_view name) {
  return static_cast<std::uint32_t>(sema::ScopedNameHash{}(sema::ScopedName{owner, name}));
}

namespace {

// Whether the graph's parameter at a position has this owner and name.
auto is_owned_name(const std::vector<Parameter>& parameters, std::optional<std::string_view> owner,
                   std::string_view name) {
  return [&parameters, owner, name](std::uint32_t position) {
    const Parameter& parameter = parameters[position];
    if (parameter.name != name || parameter.owner.has_value() != owner.has_value()) return false;
    return !owner || *parameter.owner == *owner;
  };
}

std::optional<ParameterId> find_parameter(const LoweringContext& context, std::optional<std::string_view> owner,
                                          std::string_view name) {
  std::optional<std::uint32_t> at = context.parameters_by_owner.find(owned_name_hash(owner, name),
                                                                     is_owned_name(context.graph.parameters, owner, name));
  if (!at) return std::nullopt;
  return ParameterId{*at};
}

}  // namespace

std::optional<ParameterId> lookup_parameter(const LoweringContext& context, std::string_view name,
                                            const std::optional<std::string>& owner) {
  if (owner) {
    if (std::optional<ParameterId> own = find_parameter(context, *owner, name)) return own;
  }
  return find_parameter(context, std::nullopt, name);
}

ParameterId add_parameter(LoweringContext& context, std::optional<std::string> owner, std::string name,
                          std::optional<Expr> value) {
  ParameterId id{static_cast<std::uint32_t>(context.graph.parameters.size())};
  context.graph.parameters.push_back(Parameter{id, std::move(name), std::move(owner), std::move(value)});
  const Parameter& added = context.graph.parameters.back();
  std::optional<std::string_view> scope;
  if (added.owner) scope = *added.owner;
  context.parameters_by_owner.assign(owned_name_hash(scope, added.name), id.index,
                                     is_owned_name(context.graph.parameters, scope, added.name));
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

namespace {

// Whether the record at a position has this name.
template <class Records>
auto is_named(const Records& records, std::string_view name) {
  return [&records, name](std::uint32_t position) { return records[position].name == name; };
}

template <class Records>
std::optional<std::uint32_t> find_named(const sema::NameIndex& index, const Records& records, std::string_view name) {
  return index.find(sema::NameIndex::hash(name), is_named(records, name));
}

template <class Records>
void index_last(sema::NameIndex& index, const Records& records, bool replace) {
  std::string_view name = records.back().name;
  std::uint32_t hash = sema::NameIndex::hash(name);
  if (!replace && index.find(hash, is_named(records, name))) return;
  index.assign(hash, records.size() - 1, is_named(records, name));
}

}  // namespace

void index_last_reservoir(LoweringContext& context) { index_last(context.reservoirs_by_name, context.graph.reservoirs, true); }
void index_last_sample(LoweringContext& context) { index_last(context.samples_by_name, context.graph.samples, true); }
void index_last_process(LoweringContext& context) { index_last(context.processes_by_name, context.graph.processes, false); }

std::optional<ReservoirId> reservoir_id_of(const LoweringContext& context, std::string_view name) {
  return find_named(context.reservoirs_by_name, context.graph.reservoirs, name);
}

std::optional<SampleId> sample_id_of(const LoweringContext& context, std::string_view name) {
  return find_named(context.samples_by_name, context.graph.samples, name);
}

std::optional<ProcessId> process_id_of(const LoweringContext& context, std::string_view name) {
  return find_named(context.processes_by_name, context.graph.processes, name);
}

Expr clone_expr(const Expr& expr) { return Expr(expr); }

}  // namespace ovm::ir
