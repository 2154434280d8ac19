#pragma once
#include <cstdint>
#include <string>

class TVxGrid;
struct TCleanerState;

// Column names of the found-files grid; the cleaner addresses its columns by name only.
inline constexpr const wchar_t* kNumberColumn = L"Number";
inline constexpr const wchar_t* kFileIconColumn = L"FileIcon";
inline constexpr const wchar_t* kFileNameColumn = L"FileName";
inline constexpr const wchar_t* kFileSizeColumn = L"FileSize";
inline constexpr const wchar_t* kFileTypeColumn = L"FileType";
inline constexpr const wchar_t* kSelectCheckColumn = L"SelectCheck";
inline constexpr const wchar_t* kRealFileSizeColumn = L"RealFileSize";

// Gives the grid the found-files list's seven columns and options; part of the main window's
// layout, kept here beside the rows that depend on it.
void SetupFoundFilesGrid(TVxGrid& grid);

// The found-files list: the grid's rows as the scan builds them. A group row per scanned category,
// a user row per profile folder under a per-user category, a file row per file. Each row is
// complete (every cell written) when an Append returns, so that whatever runs between two appends
// (the selection summary, a click) never sees half a row.
class TFoundFilesList {
public:
  TFoundFilesList(TVxGrid& grid, TCleanerState& state) : grid_(grid), state_(state) {}

  TVxGrid& Grid() { return grid_; }

  void Clear();
  // A top-level row with the column defaults (ticked); it becomes the state's GroupRow.
  void AppendGroupRow(const std::string& caption);
  // Files go straight under the group row (single-folder categories and the prefetch group).
  void SetFileParentToGroup();
  // A ticked child of GroupRow named after the profile folder; it becomes FileParentRow.
  void AppendUserRow(const std::string& profileName);
  // A ticked child of FileParentRow with the file's full path, size text, exact size and type.
  void AppendFileRow(const std::string& path, uint64_t size, const std::string& typeName);
  // The Recycle Bin's group row: its total in bytes and in megabytes followed by " Mb".
  void SetRecycleBinSize(uint64_t bytes);

  // Holds the grid's update lock for one scope, releasing it on every path.
  class TUpdateLock {
  public:
    explicit TUpdateLock(TFoundFilesList& list);
    TUpdateLock(const TUpdateLock&) = delete;
    TUpdateLock& operator=(const TUpdateLock&) = delete;
    ~TUpdateLock();

  private:
    TVxGrid& grid_;
  };

private:
  // Collapses the parent when the new row at LastAddedIndex is its first child.
  void CollapseOnFirstChild();

  TVxGrid& grid_;
  TCleanerState& state_;
};
