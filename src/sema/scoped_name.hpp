#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>
#include <unordered_map>

#include "sema/name_index.hpp"

namespace ovm::sema {

// A parameter's name with the block that owns it; no scope for the model-wide PARAMETERS. The
// texts are slices of the source text, which must outlive whatever holds them.
struct ScopedName {
  std::optional<std::string_view> scope;
  std::string_view name;

  friend bool operator==(const ScopedName&, const ScopedName&) = default;
};

struct ScopedNameHash {
  std::size_t operator()(const ScopedName& key) const {
    std::size_t h = NameIndex::hash(key.name);
    return key.scope ? h * 31 + NameIndex::hash(*key.scope) + 1 : h;
  }
};

// The hash of a name with its owner's (none, or empty, for the model-wide PARAMETERS) for a
// NameIndex.
inline std::uint32_t scoped_name_hash(std::string_view scope, std::string_view name) {
  std::uint32_t h = NameIndex::hash(name);
  return scope.empty() ? h : h * 31 + NameIndex::hash(scope) + 1;
}

// Found by hashing, not by walking a tree of string keys: a model's parameters number in the
// hundreds of thousands, and each lookup then reads one or two nodes instead of twenty.
template <class Value>
using ScopedNameMap = std::unordered_map<ScopedName, Value, ScopedNameHash>;

}  // namespace ovm::sema
