// A bound on the memory a fuzz target's program may hold: the replacement allocation functions
// count the bytes in use and, while a budget is set, refuse (std::bad_alloc) a request that would
// pass it, so that a program that doubles a text or declares a huge array ends the way it ends
// when memory runs out, without exhausting the machine. Include in exactly one file per program.
#include <malloc.h>

#include <cstddef>
#include <cstdlib>
#include <new>

namespace memory_budget {

inline std::size_t gInUse = 0;
inline std::size_t gLimit = 0;  // 0: no budget
inline bool gRefused = false;

// Sets a budget of this many bytes beyond what is in use now; 0 lifts it.
inline void Set(std::size_t bytes) {
  gLimit = bytes == 0 ? 0 : gInUse + bytes;
  gRefused = false;
}
// Whether a request was refused since the budget was set.
inline bool Refused() { return gRefused; }

inline void* Allocate(std::size_t size) {
  if (gLimit != 0 && (size > gLimit || gInUse > gLimit - size)) {
    gRefused = true;
    throw std::bad_alloc();
  }
  void* block = std::malloc(size == 0 ? 1 : size);
  if (!block) throw std::bad_alloc();
  gInUse += malloc_usable_size(block);
  return block;
}

inline void Release(void* block) {
  if (!block) return;
  gInUse -= malloc_usable_size(block);
  std::free(block);
}

}  // namespace memory_budget

// Every form that pairs with the plain delete is replaced, so that each block is freed the way it
// was taken (the over-aligned forms are left as they are, and pair among themselves).
void* operator new(std::size_t size) { return memory_budget::Allocate(size); }
void* operator new[](std::size_t size) { return memory_budget::Allocate(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
  try {
    return memory_budget::Allocate(size);
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
}
void* operator new[](std::size_t size, const std::nothrow_t& tag) noexcept { return operator new(size, tag); }
void operator delete(void* block) noexcept { memory_budget::Release(block); }
void operator delete[](void* block) noexcept { memory_budget::Release(block); }
void operator delete(void* block, std::size_t) noexcept { memory_budget::Release(block); }
void operator delete[](void* block, std::size_t) noexcept { memory_budget::Release(block); }
void operator delete(void* block, const std::nothrow_t&) noexcept { memory_budget::Release(block); }
void operator delete[](void* block, const std::nothrow_t&) noexcept { memory_budget::Release(block); }
