#include "sema/model_species.hpp"

#include <unordered_set>

#include "sema/validate_reading.hpp"
#include "sema/variant_table.hpp"

namespace ovm::sema {
namespace {

using syntax::ValueKind;

struct SpeciesList {
  std::vector<std::string_view> formulas;
  std::unordered_set<std::string_view> seen;

  void add(std::string_view formula) {
    if (seen.insert(formula).second) formulas.push_back(formula);
  }
};

// The first value of the last statement of the key, as lowering reads an endpoint.
const syntax::Value* last_first_value(const syntax::Block& block, std::string_view key) {
  const syntax::Value* found = nullptr;
  for (const syntax::Statement& statement : block.statements) {
    if (key_is(statement, key)) found = first_value(statement);
  }
  return found;
}

void add_process_endpoints(const syntax::Block& block, SpeciesList& species) {
  const syntax::Value* type = last_first_value(block, "type");
  const VariantSpec* variant = type == nullptr ? nullptr : process_type_spec(value_text(*type));
  if (variant == nullptr || variant->counts_sources) return;  // a mixing's endpoints are reservoirs
  // The required keys of every other type are its two endpoints.
  for (std::string_view key : variant->required) {
    const syntax::Value* endpoint = last_first_value(block, key);
    if (is_kind(endpoint, ValueKind::Species)) species.add(value_text(*endpoint));
  }
}

}  // namespace

std::vector<std::string_view> model_species(const syntax::ParseOutput& tree, const Resolution& resolution) {
  SpeciesList species;
  for (std::size_t i = 0; i < tree.blocks.size() && i < resolution.blocks.size(); ++i) {
    const BlockSpec* kind = resolution.blocks[i].spec;
    const syntax::Block& block = tree.blocks[i];
    if (kind == nullptr) continue;
    if (kind->name == "SPECIES") {
      for (const syntax::Statement& statement : block.statements) {
        const syntax::Value* first = first_value(statement);
        if (is_kind(first, ValueKind::Identifier) || is_kind(first, ValueKind::Species)) species.add(value_text(*first));
      }
    } else if (kind->name == "RESERVOIR" && block.name()) {
      for (const syntax::Statement& statement : block.statements) {
        if (statement.key().kind == syntax::StatementKey::Kind::Species) species.add(statement.key().text());
      }
    } else if (kind->name == "PROCESS" && block.name()) {
      add_process_endpoints(block, species);
    }
  }
  return std::move(species.formulas);
}

}  // namespace ovm::sema
