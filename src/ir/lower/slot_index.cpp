#include "ir/lower/slot_index.hpp"

#include <utility>

namespace ovm::ir {

void SlotIndex::reserve(std::size_t count) {
  std::size_t size = 16;
  unsigned bits = 4;
  while (size < count * 2) size *= 2, ++bits;
  if (size <= slots_.size()) return;
  std::vector<Slot> old = std::move(slots_);
  slots_.assign(size, Slot{});
  shift_ = 32 - bits;
  std::size_t mask = size - 1;
  for (const Slot& slot : old) {
    if (slot.position_plus_one == 0) continue;
    std::size_t i = start(slot.hash);
    while (slots_[i].position_plus_one != 0) i = (i + 1) & mask;
    slots_[i] = slot;
  }
}

}  // namespace ovm::ir
