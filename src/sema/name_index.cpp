#include "sema/name_index.hpp"

#include <utility>

namespace ovm::sema {

namespace {

// The low bits that hold `value`, at least the sixteen a small list needs.
std::uint32_t mask_holding(std::size_t value) {
  std::uint32_t mask = 0xFFFF;
  while (mask < value && mask != 0xFFFFFFFFu) mask = mask << 1 | 1;
  return mask;
}

std::size_t table_size(std::size_t count) {
  std::size_t size = 16;
  while (size * 2 < count * 3) size *= 2;
  return size;
}

}  // namespace

void NameIndex::add(std::uint32_t hash, std::size_t position) {
  if ((count_ + 1) * 3 > slots_.size() * 2) reserve(count_ + 1);
  if (position + 1 > position_mask_) rebuild(slots_.size(), mask_holding(position + 1));
  if (position >= hashes_.size()) hashes_.resize(position + 1);
  hashes_[position] = hash;
  place(position);
  ++count_;
}

void NameIndex::replace(std::size_t earlier, std::size_t position) {
  if (position + 1 > position_mask_) rebuild(slots_.size(), mask_holding(position + 1));
  if (position >= hashes_.size()) hashes_.resize(position + 1);
  std::uint32_t hash = hashes_[earlier];
  hashes_[position] = hash;
  std::size_t mask = slots_.size() - 1;
  std::size_t i = hash & mask;
  while ((slots_[i] & position_mask_) != earlier + 1) i = (i + 1) & mask;
  slots_[i] = (hash & ~position_mask_) | static_cast<std::uint32_t>(position + 1);
}

void NameIndex::reserve(std::size_t count) {
  hashes_.reserve(count);
  std::size_t size = table_size(count);
  if (size > slots_.size()) rebuild(size, position_mask_);
}

void NameIndex::rebuild(std::size_t size, std::uint32_t position_mask) {
  std::vector<std::uint32_t> old = std::move(slots_);
  std::uint32_t old_mask = position_mask_;
  slots_.assign(size, 0);
  position_mask_ = position_mask;
  for (std::uint32_t slot : old) {
    if (slot != 0) place((slot & old_mask) - 1);
  }
}

void NameIndex::place(std::size_t position) {
  std::uint32_t hash = hashes_[position];
  std::size_t mask = slots_.size() - 1;
  std::size_t i = hash & mask;
  while (slots_[i] != 0) i = (i + 1) & mask;
  slots_[i] = (hash & ~position_mask_) | static_cast<std::uint32_t>(position + 1);
}

}  // namespace ovm::sema
