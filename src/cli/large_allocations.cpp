// The program's own operator new. A block of 2 MiB or more is aligned to a huge page and the
// whole huge pages inside it are marked for transparent huge pages, so a large model's text, tree
// and tables fault in 2 MiB at a time rather than 4 KiB: on a large check the page faults were a
// third of the time. Smaller blocks come from malloc as before, and every block goes back to free.
// Sanitizer builds keep their own operator new, which checks more.
#if !defined(__SANITIZE_ADDRESS__) && !defined(__SANITIZE_THREAD__)

#include <sys/mman.h>

#include <cstdint>
#include <cstdlib>
#include <new>

namespace {

constexpr std::size_t huge_page = std::size_t{2} << 20;

void* allocate(std::size_t bytes) {
  for (;;) {
    void* block = nullptr;
    if (bytes >= huge_page) {
      // aligned_alloc wants a multiple of the alignment, and the last huge page is one too: a
      // text read whole fills it. A kernel without transparent huge pages refuses the advice,
      // and the memory stays as it is.
      std::size_t rounded = (bytes + huge_page - 1) & ~(huge_page - 1);
      block = std::aligned_alloc(huge_page, rounded);
      if (block != nullptr) (void)::madvise(block, rounded, MADV_HUGEPAGE);
    } else {
      block = std::malloc(bytes == 0 ? 1 : bytes);
    }
    if (block != nullptr) return block;
    std::new_handler handler = std::get_new_handler();
    if (handler == nullptr) throw std::bad_alloc();
    handler();
  }
}

}  // namespace

void* operator new(std::size_t bytes) { return allocate(bytes); }
void* operator new[](std::size_t bytes) { return allocate(bytes); }
void operator delete(void* block) noexcept { std::free(block); }
void operator delete[](void* block) noexcept { std::free(block); }
void operator delete(void* block, std::size_t) noexcept { std::free(block); }
void operator delete[](void* block, std::size_t) noexcept { std::free(block); }

#endif
