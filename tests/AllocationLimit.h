#pragma once
#include <cstddef>
#include <cstdlib>
#include <new>

// Makes the n-th allocation from now on fail with std::bad_alloc, to reach the failure paths of
// code that allocates. It replaces the global operator new, so exactly one source file of a
// test program includes it.
inline long gAllocationsLeft = -1;

// Allows `allowed` more allocations while it lives; the one after them fails.
class TAllocationLimit {
public:
  explicit TAllocationLimit(long allowed) { gAllocationsLeft = allowed; }
  TAllocationLimit(const TAllocationLimit&) = delete;
  TAllocationLimit& operator=(const TAllocationLimit&) = delete;
  ~TAllocationLimit() { gAllocationsLeft = -1; }
};

void* operator new(std::size_t size) {
  if (gAllocationsLeft == 0) throw std::bad_alloc();
  if (gAllocationsLeft > 0) --gAllocationsLeft;
  if (void* block = std::malloc(size ? size : 1)) return block;
  throw std::bad_alloc();
}
void operator delete(void* block) noexcept {
  std::free(block);
}
void operator delete(void* block, std::size_t) noexcept {
  std::free(block);
}
