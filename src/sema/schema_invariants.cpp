// Compile-time checks that the schema tables agree with each other and with the unit
// registry, so that a slip in one table cannot surface as a silent mismatch in a later phase.

#include <algorithm>

#include "diagnostics/text_match.hpp"
#include "sema/block_table.hpp"
#include "sema/builtins.hpp"
#include "sema/unit_registry.hpp"
#include "sema/variant_table.hpp"

namespace ovm::sema {
namespace {

constexpr bool is_dimension(std::string_view name) {
  return std::any_of(dimension_table.begin(), dimension_table.end(),
                     [name](const DimensionDef& dimension) { return dimension.name == name; });
}

constexpr bool is_declared_kind(std::string_view name) {
  return std::any_of(block_table.begin(), block_table.end(),
                     [name](const BlockSpec& kind) { return kind.declares == name; });
}

constexpr bool has_key(const BlockSpec& kind, std::string_view key) {
  return std::any_of(kind.properties.begin(), kind.properties.end(),
                     [key](const PropertySpec& property) { return property.key == key; });
}

constexpr const BlockSpec& kind_named(std::string_view name) {
  return *std::find_if(block_table.begin(), block_table.end(), [name](const BlockSpec& kind) { return kind.name == name; });
}

constexpr bool keywords_distinct() {
  for (std::size_t i = 0; i < block_table.size(); ++i) {
    for (std::size_t j = i + 1; j < block_table.size(); ++j) {
      if (diagnostics::equals_ascii_folded(block_table[i].name, block_table[j].name)) return false;
    }
  }
  return true;
}

// Keys within a kind are distinct under folding, or the later one could never be found.
constexpr bool keys_distinct() {
  for (const BlockSpec& kind : block_table) {
    for (std::size_t i = 0; i < kind.properties.size(); ++i) {
      for (std::size_t j = i + 1; j < kind.properties.size(); ++j) {
        if (diagnostics::equals_ascii_folded(kind.properties[i].key, kind.properties[j].key)) return false;
      }
    }
  }
  return true;
}

constexpr bool dimensions_known() {
  for (const BlockSpec& kind : block_table) {
    for (const PropertySpec& property : kind.properties) {
      if (property.dimension && !is_dimension(*property.dimension)) return false;
      for (std::string_view dimension : property.admissible_dimensions) {
        if (!is_dimension(dimension)) return false;
      }
    }
  }
  return std::all_of(inline_law_targets.begin(), inline_law_targets.end(),
                     [](const InlineLawTarget& target) { return is_dimension(target.dimension); });
}

constexpr bool entity_kinds_known() {
  for (const BlockSpec& kind : block_table) {
    if (kind.names && !is_declared_kind(*kind.names)) return false;
    for (const PropertySpec& property : kind.properties) {
      if (!property.reference_kind) continue;
      std::string_view reference = *property.reference_kind;
      if (reference != "any" && reference != "Species" && !is_declared_kind(reference)) return false;
    }
  }
  return true;
}

// A label is two words: the key as written, then the first value.
constexpr bool labels_have_two_words() {
  for (const BlockSpec& kind : block_table) {
    for (const PropertySpec& property : kind.properties) {
      if (!property.label) continue;
      std::string_view label = *property.label;
      std::size_t space = label.find(' ');
      if (space == 0 || space == std::string_view::npos || space + 1 == label.size()) return false;
      if (label.find(' ', space + 1) != std::string_view::npos) return false;
    }
  }
  return true;
}

constexpr bool discriminators_are_keys() {
  return std::all_of(block_table.begin(), block_table.end(), [](const BlockSpec& kind) {
    return !kind.discriminator || has_key(kind, *kind.discriminator);
  });
}

constexpr bool variant_keys_exist(std::span<const VariantSpec> table, const BlockSpec& kind) {
  for (const VariantSpec& variant : table) {
    for (std::string_view key : variant.required) {
      if (!has_key(kind, key)) return false;
    }
  }
  return true;
}

// The same names as the process type table, in an order of their own.
constexpr bool lists_the_process_types(std::span<const std::string_view> values) {
  if (values.size() != process_type_table.size()) return false;
  return std::all_of(process_type_table.begin(), process_type_table.end(), [values](const VariantSpec& type) {
    return std::count(values.begin(), values.end(), type.name) == 1;
  });
}

constexpr bool reserved_kinds_are_empty() {
  return std::all_of(block_table.begin(), block_table.end(),
                     [](const BlockSpec& kind) { return kind.implemented || kind.properties.empty(); });
}

static_assert(block_table.size() == 31);
static_assert(keywords_distinct());
static_assert(keys_distinct());
static_assert(dimensions_known());
static_assert(entity_kinds_known());
static_assert(labels_have_two_words());
static_assert(discriminators_are_keys());
static_assert(variant_keys_exist(process_type_table, kind_named("PROCESS")));
static_assert(variant_keys_exist(rate_law_table, kind_named("KINETICS")));
static_assert(lists_the_process_types(property_lists::process_type_values));
static_assert(lists_the_process_types(property_lists::identify_candidates));
static_assert(reserved_kinds_are_empty());

}  // namespace
}  // namespace ovm::sema
