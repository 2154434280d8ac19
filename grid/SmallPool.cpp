#include "grid/SmallPool.h"

#include <new>

namespace {

// Eight bytes keep doubles aligned on the 32-bit build too.
constexpr size_t kGranule = 8;
constexpr size_t kClasses = TSmallPool::kMaxSize / kGranule;
constexpr size_t kSlabSize = 64 * 1024;

struct TFreeBlock {
  TFreeBlock* next;
};

struct TClassState {
  TFreeBlock* free = nullptr;
  char* slabNext = nullptr;
  char* slabEnd = nullptr;
};

TClassState& State(size_t index) {
  static TClassState states[kClasses];
  return states[index];
}

size_t ClassIndex(size_t size) {
  return (size + kGranule - 1) / kGranule - 1;
}

} // namespace

void* TSmallPool::Allocate(size_t size) {
  if (size == 0 || size > kMaxSize) return ::operator new(size);
  const size_t index = ClassIndex(size);
  TClassState& state = State(index);
  if (TFreeBlock* block = state.free) {
    state.free = block->next;
    return block;
  }
  const size_t blockSize = (index + 1) * kGranule;
  if (static_cast<size_t>(state.slabEnd - state.slabNext) < blockSize) {
    // The slab's unused tail (less than one block) is simply left behind.
    state.slabNext = static_cast<char*>(::operator new(kSlabSize));
    state.slabEnd = state.slabNext + kSlabSize;
  }
  void* block = state.slabNext;
  state.slabNext += blockSize;
  return block;
}

void TSmallPool::Free(void* block, size_t size) noexcept {
  if (!block) return;
  if (size == 0 || size > kMaxSize) {
    ::operator delete(block);
    return;
  }
  TClassState& state = State(ClassIndex(size));
  auto* freed = static_cast<TFreeBlock*>(block);
  freed->next = state.free;
  state.free = freed;
}
