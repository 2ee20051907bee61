#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace ovm::ir {

// Positions in a list kept elsewhere, found by hash. Open addressing over a table at most half
// full: a lookup reads one or two slots of eight bytes, and the list only where the stored hash
// matches, where a chained hash map allocates and follows a node per entry. The caller says
// what a position stands for, and so which one matches.
class SlotIndex {
 public:
  // The position recorded under this hash for which `is_match(position)` holds, or none.
  template <class IsMatch>
  std::optional<std::uint32_t> find(std::uint32_t hash, IsMatch is_match) const {
    if (slots_.empty()) return std::nullopt;
    const Slot& slot = slots_[probe(hash, is_match)];
    if (slot.position_plus_one == 0) return std::nullopt;
    return slot.position_plus_one - 1;
  }

  // Records `position` under this hash; it takes the place of a matching one.
  template <class IsMatch>
  void assign(std::uint32_t hash, std::uint32_t position, IsMatch is_match) {
    if ((count_ + 1) * 2 > slots_.size()) reserve(count_ + 1);
    Slot& slot = slots_[probe(hash, is_match)];
    if (slot.position_plus_one == 0) ++count_;
    slot = Slot{position + 1, hash};
  }

  // Room for `count` positions without growing: each growth places every slot again.
  void reserve(std::size_t count);

 private:
  struct Slot {
    std::uint32_t position_plus_one = 0;  // 0 marks an empty slot
    std::uint32_t hash = 0;
  };

  // Where a probe for the hash starts: the high bits of its product with an odd constant, as
  // keys such as addresses share their low bits.
  std::size_t start(std::uint32_t hash) const { return static_cast<std::uint32_t>(hash * 2654435769u) >> shift_; }

  // The slot holding the matching position, or the empty one that ends the probe.
  template <class IsMatch>
  std::size_t probe(std::uint32_t hash, IsMatch is_match) const {
    std::size_t mask = slots_.size() - 1;
    for (std::size_t i = start(hash);; i = (i + 1) & mask) {
      const Slot& slot = slots_[i];
      if (slot.position_plus_one == 0) return i;
      if (slot.hash == hash && is_match(slot.position_plus_one - 1)) return i;
    }
  }

  std::vector<Slot> slots_;  // a power of two in size
  std::size_t count_ = 0;
  unsigned shift_ = 32;  // 32 less the bits of a slot's place
};

}  // namespace ovm::ir
