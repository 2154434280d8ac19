#pragma once
#include <cstdint>
#include <exception>
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
