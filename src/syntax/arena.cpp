#include "syntax/arena.hpp"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>

namespace ovm::syntax {
namespace {

// Blocks grow from small (a short file stays small) to large (few blocks for a large one).
constexpr std::size_t first_block = std::size_t{16} << 10;
constexpr std::size_t largest_block = std::size_t{4} << 20;

}  // namespace

void* Arena::allocate_in_new_block(std::size_t bytes) {
  std::size_t next_size = std::min(largest_block, block_size_ == 0 ? first_block : block_size_ * 2);
  // A request of half a block or more, or one the next block could not hold while blocks are
  // still small, gets a block of its own, and the current one stays open.
  if (bytes > largest_block / 2 || bytes > next_size) {
    blocks_.push_back(std::make_unique_for_overwrite<std::byte[]>(bytes));
    return blocks_.back().get();
  }
  block_size_ = next_size;
  blocks_.push_back(std::make_unique_for_overwrite<std::byte[]>(block_size_));
  // New storage is aligned for any object.
  next_ = blocks_.back().get() + bytes;
  left_ = block_size_ - bytes;
  return blocks_.back().get();
}

void Arena::expect(std::size_t bytes) {
  std::size_t next_size = std::min(largest_block, std::bit_floor(bytes));
  if (next_size > first_block) block_size_ = std::max(block_size_, next_size / 2);
}

std::string_view Arena::copy(std::string_view text) {
  if (text.empty()) return {};
  auto* out = static_cast<char*>(allocate(text.size(), 1));
  std::memcpy(out, text.data(), text.size());
  return std::string_view(out, text.size());
}

}  // namespace ovm::syntax
