#include "sema/name_index.hpp"

#include <utility>

namespace ovm::sema {

void NameIndex::add(std::uint32_t hash, std::size_t position) {
  if ((count_ + 1) * 3 > slots_.size() * 2) reserve(count_ + 1);
  place(Slot{static_cast<std::uint32_t>(position + 1), hash});
  ++count_;
}

void NameIndex::reserve(std::size_t count) {
  std::size_t size = 16;
  while (size * 2 < count * 3) size *= 2;
  if (size <= slots_.size()) return;
  std::vector<Slot> old = std::move(slots_);
  slots_.assign(size, Slot{});
  for (const Slot& slot : old) {
    if (slot.position_plus_one != 0) place(slot);
  }
}

void NameIndex::place(Slot slot) {
  std::size_t mask = slots_.size() - 1;
  std::size_t i = slot.hash & mask;
  while (slots_[i].position_plus_one != 0) i = (i + 1) & mask;
  slots_[i] = slot;
}

}  // namespace ovm::sema
