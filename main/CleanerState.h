#pragma once
#include <cstdint>
#include <string>
#include <vector>

// What a scan leaves for the clean run and the window, owned by the main window.
struct TCleanerState {
  // Index of the group row being filled, and of the row that receives new file rows.
  int GroupRow = 0;
  int FileParentRow = 0;
  // Bytes of every file met by the file search since the scan last reset it.
  uint64_t FoundBytes = 0;
  // The folders a scan handed to the file search, as searched; the clean run only touches
  // files that still lie below one of them, reached without crossing a link.
  std::vector<std::string> SearchedFolders;
  // A scan or a clean run is going on: neither may start another, nor may the grid be sorted.
  bool Busy = false;
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
