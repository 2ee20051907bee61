#pragma once

#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

#include "sema/name_index.hpp"

namespace ovm::ir {

// A map whose keys are views (of the source text, or addresses of its tree) that outlive it,
// kept as a list of entries and a name index over them: no node per entry, nothing copied.
template <class Key, class Value, class Hash>
class ViewMap {
 public:
  const Value* find(const Key& key) const {
    std::optional<std::uint32_t> at = index_.find(hash(key), matches(key));
    return at ? &entries_[*at].second : nullptr;
  }

  // The value of the key; a later one replaces an earlier.
  void assign(const Key& key, Value value) { put(key, std::move(value), true); }
  // The value of a key not yet held; an earlier one stays.
  void emplace(const Key& key, Value value) { put(key, std::move(value), false); }

  std::size_t size() const { return entries_.size(); }
  bool empty() const { return entries_.empty(); }

 private:
  // The index starts a probe at the hash's low bits, which addresses share: the high bits of a
  // product with an odd constant spread them.
  static std::uint32_t hash(const Key& key) {
    return static_cast<std::uint32_t>((std::uint64_t{Hash{}(key)} * 0x9E3779B97F4A7C15ull) >> 32);
  }
  auto matches(const Key& key) const {
    return [this, &key](std::uint32_t position) { return entries_[position].first == key; };
  }

  void put(const Key& key, Value value, bool replace) {
    std::uint32_t h = hash(key);
    if (std::optional<std::uint32_t> at = index_.find(h, matches(key))) {
      if (replace) entries_[*at].second = std::move(value);
      return;
    }
    index_.add(h, entries_.size());
    entries_.emplace_back(key, std::move(value));
  }

  std::vector<std::pair<Key, Value>> entries_;
  sema::NameIndex index_;  // positions in `entries_`
};

}  // namespace ovm::ir
