#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace ovm::sema {

// Positions in a list kept elsewhere, found by name. Open addressing over a table at most two
// thirds full, which a lookup enters at a random place: a slot is four bytes, the position and in the
// bits it leaves free the top of the name's hash, so that the table is half the size of one
// holding the whole hash and a probe still reads the list only where the stored bits match.
// The whole hashes, needed only to place the slots again when the table grows, are kept apart.
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
    std::uint32_t tag = hash & ~position_mask_;
    for (std::size_t i = hash & mask;; i = (i + 1) & mask) {
      std::uint32_t slot = slots_[i];
      if (slot == 0) return std::nullopt;
      std::size_t position = (slot & position_mask_) - 1;
      if ((slot & ~position_mask_) == tag && is_match(position)) return position;
    }
  }

  // Records a position not recorded before.
  void add(std::uint32_t hash, std::size_t position);

  // Records `position` under this hash in the place of the one `is_match` finds, or as a new one.
  template <class IsMatch>
  void assign(std::uint32_t hash, std::size_t position, IsMatch is_match) {
    if (std::optional<std::size_t> earlier = find(hash, is_match)) return replace(*earlier, position);
    add(hash, position);
  }

  // Room for `count` positions without growing: each growth places every slot again.
  void reserve(std::size_t count);

 private:
  void rebuild(std::size_t size, std::uint32_t position_mask);
  void place(std::size_t position);
  void replace(std::size_t earlier, std::size_t position);

  std::vector<std::uint32_t> slots_;       // 0 marks an empty slot; a power of two in size
  std::uint32_t position_mask_ = 0xFFFF;  // the low bits of a slot, which hold position + 1
  std::vector<std::uint32_t> hashes_;      // by position
  std::size_t count_ = 0;
};

}  // namespace ovm::sema
