#include "syntax/arena.hpp"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace ovm::syntax {
namespace {

// Blocks grow from small (a short file stays small) to large (few blocks for a large one).
constexpr std::size_t first_block = std::size_t{16} << 10;
constexpr std::size_t largest_block = std::size_t{1} << 20;

}  // namespace

void* Arena::allocate(std::size_t bytes, std::size_t alignment) {
  std::size_t skip = (alignment - reinterpret_cast<std::uintptr_t>(next_) % alignment) % alignment;
  if (next_ == nullptr || skip + bytes > left_) {
    // A request larger than a block gets a block of its own, and the current one stays open.
    if (bytes > largest_block / 4) {
      blocks_.push_back(std::make_unique_for_overwrite<std::byte[]>(bytes));
      return blocks_.back().get();
    }
    block_size_ = std::min(largest_block, block_size_ == 0 ? first_block : block_size_ * 2);
    blocks_.push_back(std::make_unique_for_overwrite<std::byte[]>(block_size_));
    next_ = blocks_.back().get();
    left_ = block_size_;
    skip = 0;  // new storage is aligned for any object
  }
  void* out = next_ + skip;
  next_ += skip + bytes;
  left_ -= skip + bytes;
  return out;
}

std::string_view Arena::copy(std::string_view text) {
  if (text.empty()) return {};
  auto* out = static_cast<char*>(allocate(text.size(), 1));
  std::memcpy(out, text.data(), text.size());
  return std::string_view(out, text.size());
}

}  // namespace ovm::syntax
