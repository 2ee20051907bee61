#include "sema/name_index.hpp"

#include <utility>

namespace ovm::sema {

void NameIndex::add(std::uint32_t hash, std::size_t position) {
  if ((count_ + 1) * 2 > slots_.size()) {
    std::vector<Slot> old = std::move(slots_);
    slots_.assign(old.empty() ? 16 : old.size() * 2, Slot{});
    for (const Slot& slot : old) {
      if (slot.position_plus_one != 0) place(slot);
    }
  }
  place(Slot{static_cast<std::uint32_t>(position + 1), hash});
  ++count_;
}

void NameIndex::place(Slot slot) {
  std::size_t mask = slots_.size() - 1;
  std::size_t i = slot.hash & mask;
  while (slots_[i].position_plus_one != 0) i = (i + 1) & mask;
  slots_[i] = slot;
}

}  // namespace ovm::sema
