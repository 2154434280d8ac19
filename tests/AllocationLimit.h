#pragma once
// Include in exactly one source file of a test program: it replaces the program's global
// operator new and delete, which a program may do once.
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <new>

// Memory that runs out on demand, in one of two ways:
// - by bytes (Arm): every block from operator new is counted while it is held, and an
//   allocation that would hold more than the limit fails with std::bad_alloc, as under a job
//   object's memory limit: what is freed makes room again;
// - by count (the constructor taking `allowed`): that many more allocations succeed and the
//   next one fails, to reach each allocation of an operation in turn.
class TAllocationLimit {
public:
  TAllocationLimit() = default;
  explicit TAllocationLimit(long allowed) { AllocationsLeft() = allowed; }
  TAllocationLimit(const TAllocationLimit&) = delete;
  TAllocationLimit& operator=(const TAllocationLimit&) = delete;
  ~TAllocationLimit() {
    Disarm();
    AllocationsLeft() = -1;
  }

  // From now on at most headroom bytes more than are held now.
  static void Arm(std::size_t headroom) { Limit() = Held() + headroom; }
  static void Disarm() { Limit() = SIZE_MAX; }

  static std::atomic<std::size_t>& Held() {
    static std::atomic<std::size_t> held{0};
    return held;
  }
  static std::atomic<std::size_t>& Limit() {
    static std::atomic<std::size_t> limit{SIZE_MAX};
    return limit;
  }
  // Allocations still allowed before one fails; -1 while no count is set.
  static std::atomic<long>& AllocationsLeft() {
    static std::atomic<long> left{-1};
    return left;
  }
  // In front of each block: its size, in room that keeps the block aligned as malloc's.
  static constexpr std::size_t kHeader = 16;
};

void* operator new(std::size_t size) {
  std::atomic<long>& left = TAllocationLimit::AllocationsLeft();
  if (left == 0) throw std::bad_alloc();
  if (left > 0) --left;
  const std::size_t held = TAllocationLimit::Held().fetch_add(size) + size;
  void* block =
      held > TAllocationLimit::Limit() ? nullptr : std::malloc(size + TAllocationLimit::kHeader);
  if (!block) {
    TAllocationLimit::Held() -= size;
    throw std::bad_alloc();
  }
  *static_cast<std::size_t*>(block) = size;
  return static_cast<char*>(block) + TAllocationLimit::kHeader;
}

// Kept out of line: inlined at a delete of a known object, the read of the header in front of
// it looks to the compiler like a read outside that object.
__attribute__((noinline)) void operator delete(void* p) noexcept {
  if (!p) return;
  void* block = static_cast<char*>(p) - TAllocationLimit::kHeader;
  TAllocationLimit::Held() -= *static_cast<std::size_t*>(block);
  std::free(block);
}

void operator delete(void* p, std::size_t) noexcept {
  operator delete(p);
}
