#pragma once
#include <cstddef>

// A free-list allocator for the grid's many small objects (rows and cells): a found-files list
// holds hundreds of thousands of them, and the general heap's per-block header and rounding
// would cost more than some of the objects themselves. Blocks are carved from 64 KB slabs,
// one free list per size class (multiples of 8 bytes, up to kMaxSize); freed blocks
// are reused for the next rows and slabs live until the program ends. User-interface thread
// only, like everything that owns rows.
class TSmallPool {
public:
  static constexpr size_t kMaxSize = 128;
  static void* Allocate(size_t size);
  static void Free(void* block, size_t size) noexcept;
};

// Gives a class pooled allocation; its destructor must be virtual or the class final, so that
// the sized delete receives the size it was allocated with.
struct TPooled {
  static void* operator new(size_t size) { return TSmallPool::Allocate(size); }
  static void operator delete(void* block, size_t size) noexcept { TSmallPool::Free(block, size); }
};
