#include "sema/block_table.hpp"

#include <cstddef>
#include <cstdint>
#include <functional>

#include "diagnostics/text_match.hpp"
#include "sema/size_index.hpp"

namespace ovm::sema {
namespace {

// Whether some property of each kind has a two-word label: most kinds have none, and their
// statements need not look for one.
constexpr auto kinds_with_labels = [] {
  std::array<bool, block_table.size()> with{};
  for (std::size_t k = 0; k < block_table.size(); ++k) {
    for (const PropertySpec& property : block_table[k].properties) with[k] = with[k] || property.label.has_value();
  }
  return with;
}();

// The kind's place in the block table; the table's size for a record held elsewhere, a copy.
std::size_t kind_index(const BlockSpec& kind) {
  const BlockSpec* first = block_table.data();
  std::less<const BlockSpec*> before;  // a total order over pointers into different arrays
  if (before(&kind, first) || !before(&kind, first + block_table.size())) return block_table.size();
  return static_cast<std::size_t>(&kind - first);
}

// Every header is looked up, by name resolution and again by the reserved-block notes: a
// lookup compares with the keywords of its size only.
constexpr auto keywords_by_size = index_by_size<15>(block_keywords);

}  // namespace

const BlockSpec* find_block_spec(std::string_view word) {
  for (std::uint8_t place : keywords_by_size.of_size(word.size())) {
    const BlockSpec& kind = block_table[place];
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
  std::size_t k = kind_index(kind);
  if (k < block_table.size() && !kinds_with_labels[k]) return nullptr;
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
