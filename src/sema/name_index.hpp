#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace ovm::sema {

// Positions in a list kept elsewhere, found by name. Open addressing over a table at most two
// thirds full: a lookup reads a few neighbouring slots of eight bytes, and the list only where
// the stored hash matches, instead of following the nodes of a chained hash map through memory.
class NameIndex {
 public:
  // FNV-1a: names are short, and a hash of a few multiplications costs less than the lookup.
  static std::uint32_t hash(std::string_view name) {
    std::uint32_t h = 2166136261u;
    for (char c : name) h = (h ^ static_cast<std::uint8_t>(c)) * 16777619u;
    return h;
  }

  // The first recorded position with this hash for which `is_match(position)` holds, or none.
  template <class IsMatch>
  std::optional<std::size_t> find(std::uint32_t hash, IsMatch is_match) const {
    if (slots_.empty()) return std::nullopt;
    std::size_t mask = slots_.size() - 1;
    for (std::size_t i = hash & mask;; i = (i + 1) & mask) {
      const Slot& slot = slots_[i];
      if (slot.position_plus_one == 0) return std::nullopt;
      if (slot.hash == hash && is_match(slot.position_plus_one - 1)) return slot.position_plus_one - 1;
    }
  }

  void add(std::uint32_t hash, std::size_t position);

  // Room for `count` positions without growing: each growth places every slot again.
  void reserve(std::size_t count);

 private:
  struct Slot {
    std::uint32_t position_plus_one = 0;  // 0 marks an empty slot
    std::uint32_t hash = 0;
  };

  void place(Slot slot);

  std::vector<Slot> slots_;  // a power of two in size
  std::size_t count_ = 0;
};

}  // namespace ovm::sema
