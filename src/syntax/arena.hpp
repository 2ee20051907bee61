#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <new>
#include <span>
#include <string_view>
#include <type_traits>
#include <utility>
#include <vector>

namespace ovm::syntax {

// The memory of one syntax tree. Nodes and lists are placed in large blocks that are released
// together, so a tree costs no allocation per node and nothing to take apart: whatever is placed
// here is trivially destructible and never destroyed one by one. Moving an arena keeps every
// address it handed out.
class Arena {
 public:
  Arena() = default;
  Arena(Arena&&) = default;
  Arena& operator=(Arena&&) = default;
  Arena(const Arena&) = delete;
  Arena& operator=(const Arena&) = delete;

  // Uninitialised room for `bytes` bytes at the given alignment, a power of two no larger than
  // that of max_align_t. Runs for every node: the common case, room in the current block, is here.
  void* allocate(std::size_t bytes, std::size_t alignment) {
    std::size_t skip = -reinterpret_cast<std::uintptr_t>(next_) & (alignment - 1);
    if (next_ == nullptr || skip + bytes > left_) return allocate_in_new_block(bytes);
    void* out = next_ + skip;
    next_ += skip + bytes;
    left_ -= skip + bytes;
    return out;
  }

  template <class T>
  T* make(T value) {
    static_assert(std::is_trivially_destructible_v<T>, "arena objects are never destroyed");
    return ::new (allocate(sizeof(T), alignof(T))) T(std::move(value));
  }

  // Two objects side by side.
  template <class T>
  const T* make_pair(T first, T second) {
    static_assert(std::is_trivially_destructible_v<T>, "arena objects are never destroyed");
    T* out = static_cast<T*>(allocate(sizeof(T) * 2, alignof(T)));
    ::new (out) T(std::move(first));
    ::new (out + 1) T(std::move(second));
    return out;
  }

  // The items moved into the arena, and the vector left empty with its capacity kept.
  template <class T>
  std::span<const T> take(std::vector<T>& items) {
    static_assert(std::is_trivially_destructible_v<T>, "arena objects are never destroyed");
    if (items.empty()) return {};
    T* out = static_cast<T*>(allocate(sizeof(T) * items.size(), alignof(T)));
    std::uninitialized_move(items.begin(), items.end(), out);
    std::span<const T> placed(out, items.size());
    items.clear();
    return placed;
  }

  std::string_view copy(std::string_view text);

  // Tells the arena about how many bytes it will hold. The tree of a text holds a few times the
  // text, so a large text's first blocks are large ones: small blocks would each be faulted in
  // 4 KiB at a time. Never shrinks the blocks to come.
  void expect(std::size_t bytes);

  // The items copied into the arena.
  template <class T>
  std::span<const T> copy(std::span<const T> items) {
    static_assert(std::is_trivially_destructible_v<T>, "arena objects are never destroyed");
    if (items.empty()) return {};
    T* out = static_cast<T*>(allocate(sizeof(T) * items.size(), alignof(T)));
    std::uninitialized_copy(items.begin(), items.end(), out);
    return std::span<const T>(out, items.size());
  }

 private:
  void* allocate_in_new_block(std::size_t bytes);

  std::vector<std::unique_ptr<std::byte[]>> blocks_;
  std::byte* next_ = nullptr;
  std::size_t left_ = 0;
  std::size_t block_size_ = 0;  // of the last block taken for small requests
};

}  // namespace ovm::syntax
