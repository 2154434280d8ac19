#pragma once
#include <cstdint>
#include <exception>
#include <memory>
#include <new>
#include <string>
#include <vector>

// A folder the scan handed to the file search: as searched (with its trailing backslash), and
// where it really lay at that moment, every link on the way resolved (empty when it could not be
// opened). A file is only cleaned when it still lies, by its final path, exactly below Final.
struct TSearchedFolder {
  std::wstring Listed;
  std::wstring Final;
};

// What a scan leaves for the clean run and the window, owned by the main window.
struct TCleanerState {
  // Index of the group row being filled, and of the row that receives new file rows.
  int GroupRow = 0;
  int FileParentRow = 0;
  // Bytes of every file met by the file search since the scan last reset it.
  uint64_t FoundBytes = 0;
  // The folders the last scan searched; the clean run only touches files that still lie exactly
  // below where one of them lay when it was searched.
  std::vector<TSearchedFolder> SearchedFolders;
  // A scan or a clean run is going on: neither may start another, nor may the grid be sorted.
  bool Busy = false;
  // The window is closing: a run stops at its next message run (never inside one file's work).
  bool StopRequested = false;
};

// Raised from a run's message run once StopRequested is set; the run unwinds from there, and
// what it did so far stays.
class ERunStopped : public std::exception {
public:
  const char* what() const noexcept override { return "The run was stopped."; }
};

// Raised by a run that memory ran out under, once it has stopped cleanly: what it did so far
// stays, and the text says what the user has in front of them.
class EOutOfMemory : public std::exception {
public:
  explicit EOutOfMemory(const char* text) : text_(text) {}
  const char* what() const noexcept override { return text_; }

private:
  const char* text_;
};

// Memory a run holds back while it goes on and gives up when an allocation fails, so that it can
// still stop cleanly and say why: the status line, the log line and the message box all need some.
class TMemoryReserve {
public:
  static constexpr size_t kBytes = 1 << 20;
  void Hold() { room_.reset(::operator new(kBytes)); }
  void Release() { room_.reset(); }

private:
  // Called directly, not through a new-expression, which the compiler may leave out when the
  // memory is never used.
  struct TFree {
    void operator()(void* room) const { ::operator delete(room); }
  };
  std::unique_ptr<void, TFree> room_;
};

// Marks the state busy for one scope; a second run asks Busy first and refuses.
class TBusyScope {
public:
  explicit TBusyScope(TCleanerState& state) : state_(state) { state_.Busy = true; }
  TBusyScope(const TBusyScope&) = delete;
  TBusyScope& operator=(const TBusyScope&) = delete;
  ~TBusyScope() { state_.Busy = false; }

private:
  TCleanerState& state_;
};
