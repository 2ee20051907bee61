#include "sema/validate_facts.hpp"

#include <algorithm>
#include <variant>

#include "diagnostics/text_match.hpp"
#include "sema/block_table.hpp"
#include "sema/unit_registry.hpp"
#include "sema/validate_reading.hpp"

namespace ovm::sema {
namespace {

using syntax::ValueKind;

bool is_name_value(const syntax::Value& value) {
  return value.kind == ValueKind::Identifier || value.kind == ValueKind::Species;
}

// The first `mode` statement that names `relative` settles it; a later one is not read.
bool sets_relative_mode(const syntax::Block& block) {
  for (const syntax::Statement& statement : block.statements) {
    const std::optional<syntax::ValuesBody> body = values_body(statement);
    if (!body || !key_is(statement, "mode")) continue;
    bool relative = std::any_of(body->values.begin(), body->values.end(), [](const syntax::Value& value) {
      return value.kind == ValueKind::Identifier && value_text(value) == "relative";
    });
    if (relative) return true;
  }
  return false;
}

// Only the first `standard` word counts, and only a name right after it.
std::optional<std::string> named_standard(const syntax::ValuesBody& body) {
  const auto& values = body.values;
  for (std::size_t i = 0; i < values.size(); ++i) {
    if (values[i].kind != ValueKind::Identifier || !diagnostics::equals_ascii_folded(value_text(values[i]), "standard")) continue;
    if (i + 1 < values.size() && is_name_value(values[i + 1])) return std::string(value_text(values[i + 1]));
    return std::nullopt;
  }
  return std::nullopt;
}

// Indexes the name just appended to `names` unless an earlier one is equal: the index always
// leads to the first.
void index_last_name(NameIndex& index, const std::vector<std::string_view>& names) {
  std::string_view name = names.back();
  std::uint32_t hash = NameIndex::hash(name);
  if (index.find(hash, [&](std::size_t at) { return names[at] == name; })) return;
  index.add(hash, names.size() - 1);
}

bool is_indexed_name(const NameIndex& index, const std::vector<std::string_view>& names, std::string_view name) {
  return index.find(NameIndex::hash(name), [&](std::size_t at) { return names[at] == name; }).has_value();
}

void gather_ratios(ValidationContext& context, const syntax::Block& block) {
  for (const syntax::Statement& statement : block.statements) {
    const syntax::Value* first = first_value(statement);
    if (!key_is(statement, "ratio") || !is_kind(first, ValueKind::Ratio)) continue;
    RatioParse parsed = parse_ratio(value_text(*first));
    const auto* ratio = std::get_if<IsotopeRatio>(&parsed);
    if (ratio == nullptr) continue;
    std::uint32_t key = ratio_key(ratio->element, ratio->numerator);
    if (!find_declared_ratio(context, key, ratio->element, ratio->numerator)) {
      context.ratio_index.add(key, context.ratios.size());
    }
    context.ratios.push_back(DeclaredRatio{*ratio, named_standard(*values_body(statement)), value_text(*first)});
  }
}

void gather_standards(ValidationContext& context, const syntax::Block& block) {
  for (const syntax::Statement& statement : block.statements) {
    const syntax::Value* first = first_value(statement);
    if (!key_is(statement, "standard") || first == nullptr || !is_name_value(*first)) continue;
    context.standards.emplace_back(value_text(*first));
    index_last_name(context.standard_index, context.standards);
  }
}

void gather_unit_defaults(ValidationContext& context, const syntax::Block& block, const BlockSpec& kind) {
  for (const syntax::Statement& statement : block.statements) {
    const PropertySpec* property = find_property_spec(kind, statement.key().text());
    const std::optional<syntax::ValuesBody> body = values_body(statement);
    if (property == nullptr || !body) continue;
    std::string_view text;
    if (!body->values.empty() && body->values.front().kind == ValueKind::Identifier) {
      text = value_text(body->values.front());
    } else if (body->unit) {
      text = body->unit->text();
    } else {
      continue;
    }
    std::optional<UnitMatch> unit = unit_lookup(text);
    if (!unit || !diagnostics::contains_str(unit->dimension.name, property->admissible_dimensions)) continue;
    context.unit_defaults.insert_or_assign(std::string(unit->dimension.name), std::string(text));
  }
}

// A later definition of the same name replaces the earlier one.
void define_parameter(ValidationContext& context, KeyedDefinition keyed) {
  std::string_view scope = keyed.scope();
  std::string_view name = keyed.name();
  std::vector<KeyedDefinition>& definitions = context.parameter_definitions;
  if (std::optional<std::size_t> earlier = parameter_position(context, scope, name)) {
    definitions[*earlier] = keyed;
    return;
  }
  context.parameter_index.add(scoped_name_hash(scope, name), definitions.size());
  definitions.push_back(keyed);
}

void gather_parameter_definitions(ValidationContext& context, const syntax::Block& block, const BlockSpec& kind) {
  if (!defines_parameters(kind, block)) return;
  for (const syntax::Statement& statement : block.statements) {
    // Most statements are no assignment: the test inline spares them the call.
    if (statement.assignment() == nullptr) continue;
    if (std::optional<KeyedDefinition> keyed = parameter_definition(kind, block, statement)) define_parameter(context, *keyed);
  }
}

void gather_declarations(ValidationContext& context, const syntax::Block& block, const BlockSpec& kind) {
  gather_parameter_definitions(context, block, kind);
  if (kind.name == "ISOTOPES") gather_ratios(context, block);
  if (kind.name == "STANDARD") gather_standards(context, block);
  if (kind.name == "UNITS") gather_unit_defaults(context, block, kind);
}

}  // namespace

std::uint32_t ratio_key(std::string_view element, std::uint16_t numerator) {
  return NameIndex::hash(element) ^ (std::uint32_t{numerator} * 0x9E3779B1u);
}

const DeclaredRatio* find_declared_ratio(const ValidationContext& context, std::uint32_t key,
                                         std::string_view element, std::uint16_t numerator) {
  std::optional<std::size_t> at = context.ratio_index.find(key, [&](std::size_t i) {
    return context.ratios[i].ratio.element == element && context.ratios[i].ratio.numerator == numerator;
  });
  return at ? &context.ratios[*at] : nullptr;
}

bool defines_parameters(const BlockSpec& kind, const syntax::Block& block) {
  return kind.expressions_only || (kind.local_parameters && block.name());
}

std::optional<KeyedDefinition> parameter_definition(const BlockSpec& kind, const syntax::Block& block,
                                                    const syntax::Statement& statement) {
  const syntax::AssignmentBody* assignment = statement.assignment();
  if (assignment == nullptr || assignment->expr == nullptr) return std::nullopt;
  if (kind.expressions_only) return KeyedDefinition{nullptr, &statement};
  if (kind.local_parameters && block.name() && assignment->target && key_is(statement, "parameter")) {
    return KeyedDefinition{&block, &statement};
  }
  return std::nullopt;
}

std::optional<std::size_t> parameter_position(const ValidationContext& context, std::string_view owner,
                                              std::string_view name) {
  const std::vector<KeyedDefinition>& definitions = context.parameter_definitions;
  return context.parameter_index.find(scoped_name_hash(owner, name), [&](std::size_t at) {
    return definitions[at].scope() == owner && definitions[at].name() == name;
  });
}

bool is_scalar_name(const ValidationContext& context, std::string_view name) {
  // The symbol table's own index: a list of these names would repeat every parameter.
  if (context.symbols == nullptr) return false;
  const Symbol* found = lookup_global(*context.symbols, name);
  return found != nullptr && found->kind.tag != SymbolKind::Tag::Entity;
}

bool is_declared_standard(const ValidationContext& context, std::string_view name) {
  return is_indexed_name(context.standard_index, context.standards, name);
}

ValidationContext gather_model_facts(const syntax::ParseOutput& tree, const Resolution& resolution) {
  ValidationContext context;
  context.tree = &tree;
  context.symbols = &resolution.symbols;
  for (const syntax::Block& block : tree.blocks) {
    if (!diagnostics::equals_ascii_folded(block.keyword(), "isotopes") || !sets_relative_mode(block)) continue;
    context.relative_mode = true;
    break;
  }
  context.has_database = std::any_of(tree.blocks.begin(), tree.blocks.end(), [](const syntax::Block& block) {
    return diagnostics::equals_ascii_folded(block.keyword(), "database");
  });
  // The definitions are at most the assignments, and their index is made at that count.
  std::size_t assignments = 0;
  for (std::size_t i = 0; i < tree.blocks.size(); ++i) {
    const BlockSpec* kind = resolution.blocks[i].spec;
    if (kind == nullptr || !defines_parameters(*kind, tree.blocks[i])) continue;
    for (const syntax::Statement& statement : tree.blocks[i].statements) assignments += statement.assignment() != nullptr;
  }
  context.parameter_definitions.reserve(assignments);
  context.parameter_index.reserve(assignments);
  for (std::size_t i = 0; i < tree.blocks.size(); ++i) {
    if (const BlockSpec* kind = resolution.blocks[i].spec) gather_declarations(context, tree.blocks[i], *kind);
  }
  return context;
}

}  // namespace ovm::sema
