// A bound on the memory that tests and fuzz targets let the interpreter take while they drive it:
// beyond it the program's operator new throws std::bad_alloc, as on a machine with no more memory.
// This header defines the program's operator new and delete: include it in one source file of a
// test or fuzz program, and in no other file of that program.
#pragma once
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <new>

namespace orvelt::testing {

// Bytes the program holds through operator new, the most it may hold, and whether a request was
// refused since the last budget was made.
inline std::atomic<std::size_t> gHeldBytes{0};
inline std::atomic<std::size_t> gMostBytes{SIZE_MAX};
inline std::atomic<bool> gRefused{false};

// While it lives, the program may take this many bytes more than it held when it was made.
class MemoryBudget {
 public:
  explicit MemoryBudget(std::size_t bytes) : before_(gMostBytes.load()) {
    gMostBytes.store(gHeldBytes.load() + bytes);
    gRefused.store(false);
  }
  ~MemoryBudget() { gMostBytes.store(before_); }
  MemoryBudget(const MemoryBudget&) = delete;
  MemoryBudget& operator=(const MemoryBudget&) = delete;
  // Whether a request was refused while this budget held.
  bool Refused() const { return gRefused.load(); }

 private:
  std::size_t before_;
};

namespace memory_budget {

// Each block carries its size in front of it, so that delete can give the bytes back.
constexpr std::size_t kHeader = 16;

inline void* Take(std::size_t size) {
  std::size_t held = gHeldBytes.load(std::memory_order_relaxed);
  std::size_t most = gMostBytes.load(std::memory_order_relaxed);
  if (size > SIZE_MAX - kHeader || size > most || held > most - size) {
    gRefused.store(true, std::memory_order_relaxed);
    return nullptr;
  }
  void* block = std::malloc(size + kHeader);
  if (block == nullptr) return nullptr;
  *static_cast<std::size_t*>(block) = size;
  gHeldBytes.fetch_add(size, std::memory_order_relaxed);
  return static_cast<char*>(block) + kHeader;
}

inline void Give(void* p) {
  if (p == nullptr) return;
  void* block = static_cast<char*>(p) - kHeader;
  gHeldBytes.fetch_sub(*static_cast<std::size_t*>(block), std::memory_order_relaxed);
  std::free(block);
}

}  // namespace memory_budget
}  // namespace orvelt::testing

void* operator new(std::size_t size) {
  if (void* p = orvelt::testing::memory_budget::Take(size)) return p;
  throw std::bad_alloc();
}
void* operator new[](std::size_t size) { return operator new(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
  return orvelt::testing::memory_budget::Take(size);
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
  return orvelt::testing::memory_budget::Take(size);
}
void operator delete(void* p) noexcept { orvelt::testing::memory_budget::Give(p); }
void operator delete[](void* p) noexcept { orvelt::testing::memory_budget::Give(p); }
void operator delete(void* p, std::size_t) noexcept { orvelt::testing::memory_budget::Give(p); }
void operator delete[](void* p, std::size_t) noexcept { orvelt::testing::memory_budget::Give(p); }
void operator delete(void* p, const std::nothrow_t&) noexcept { orvelt::testing::memory_budget::Give(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { orvelt::testing::memory_budget::Give(p); }
