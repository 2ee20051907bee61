#include "sema/block_table.hpp"

#include "diagnostics/text_match.hpp"

namespace ovm::sema {

const BlockSpec* find_block_spec(std::string_view word) {
  for (const BlockSpec& kind : block_table) {
    if (diagnostics::equals_ascii_folded(kind.name, word)) return &kind;
  }
  return nullptr;
}

const PropertySpec* find_property_spec(const BlockSpec& kind, std::string_view key) {
  for (const PropertySpec& property : kind.properties) {
    if (diagnostics::equals_ascii_folded(property.key, key)) return &property;
  }
  return nullptr;
}

const PropertySpec* find_property_by_label(const BlockSpec& kind, std::string_view key, std::string_view first_word) {
  // Comparing the label piecewise is comparing it with the joined text, without building it.
  for (const PropertySpec& property : kind.properties) {
    if (!property.label) continue;
    std::string_view label = *property.label;
    if (label.size() != key.size() + 1 + first_word.size()) continue;
    if (label[key.size()] != ' ') continue;
    if (!diagnostics::equals_ascii_folded(label.substr(0, key.size()), key)) continue;
    if (diagnostics::equals_ascii_folded(label.substr(key.size() + 1), first_word)) return &property;
  }
  return nullptr;
}

}  // namespace ovm::sema
