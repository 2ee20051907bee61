#include "sema/block_table.hpp"

#include <cstddef>
#include <cstdint>
#include <functional>

#include "diagnostics/text_match.hpp"

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

// Every header is looked up, by name resolution and again by the reserved-block notes, so the
// kinds are listed once by the size of their keyword: a lookup compares with those of its size.
constexpr std::size_t longest_keyword = 15;

struct KindsBySize {
  std::array<std::uint8_t, longest_keyword + 2> start{};  // the kinds of size n: [start[n], start[n + 1])
  std::array<std::uint8_t, block_table.size()> kinds{};    // places in the block table, in table order
};

constexpr KindsBySize kinds_by_size = [] {
  KindsBySize index;
  std::size_t next = 0;
  for (std::size_t size = 0; size <= longest_keyword; ++size) {
    index.start[size] = static_cast<std::uint8_t>(next);
    for (std::size_t k = 0; k < block_table.size(); ++k) {
      if (block_table[k].name.size() == size) index.kinds[next++] = static_cast<std::uint8_t>(k);
    }
  }
  index.start[longest_keyword + 1] = static_cast<std::uint8_t>(next);
  if (next != block_table.size()) throw "a keyword is longer than the index";
  return index;
}();

}  // namespace

const BlockSpec* find_block_spec(std::string_view word) {
  if (word.size() > longest_keyword) return nullptr;
  for (std::size_t i = kinds_by_size.start[word.size()]; i < kinds_by_size.start[word.size() + 1]; ++i) {
    const BlockSpec& kind = block_table[kinds_by_size.kinds[i]];
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
