#pragma once
#include <windows.h>

#include <cstddef>
#include <new>
#include <vector>

// A control whose memory can no longer be read once it is freed: its pages are kept, without
// access, until Bury, so any touch of the freed control faults and brings the test down.
template <class TBase> class TUnreadableWhenFreed : public TBase {
public:
  using TBase::TBase;
  static void* operator new(std::size_t size) {
    void* p = ::VirtualAlloc(nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    if (!p) throw std::bad_alloc();
    return p;
  }
  static void operator delete(void* p, std::size_t size) {
    DWORD old = 0;
    ::VirtualProtect(p, size, PAGE_NOACCESS, &old);
    Graveyard().push_back(p);
  }
  static std::vector<void*>& Graveyard() {
    static std::vector<void*> graves;
    return graves;
  }
  static void Bury() {
    for (void* p : Graveyard())
      ::VirtualFree(p, 0, MEM_RELEASE);
    Graveyard().clear();
  }
};
