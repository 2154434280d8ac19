#pragma once
#include <cstdint>
#include <string>
#include <vector>

class TVxGrid;
class TCell;
class TVxCustomColumn;
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
// The file column takes what the window's outer width leaves beside the number, size and type
// columns, less 75 pixels (at 96 DPI; scaled to the grid's) for the tick column, the frame and
// the scroll bar.
void FitFileNameColumn(TVxGrid& grid, int windowWidth);

// The found-files list: the grid's rows as the scan builds them. A group row per scanned category,
// a user row per profile folder under a per-user category, a file row per file. Each row is
// complete (every cell written) when an Append returns, so that whatever runs between two appends
// (the selection summary, a click) never sees half a row. The list alone knows how a row is
// written, so it also answers every question about one (its kind, path, bytes, tick) for the
// clean run and the window.
class TFoundFilesList {
public:
  TFoundFilesList(TVxGrid& grid, TCleanerState& state) : grid_(grid), state_(state) {}

  TVxGrid& Grid() { return grid_; }

  void Clear();
  // A top-level row with the column defaults (ticked); it becomes the state's GroupRow.
  void AppendGroupRow(const std::wstring& caption);
  // Files go straight under the group row (single-folder categories and the prefetch group).
  void SetFileParentToGroup();
  // A ticked child of GroupRow named after the profile folder; it becomes FileParentRow.
  void AppendUserRow(const std::wstring& profileName);
  // A ticked child of FileParentRow with the file's full path, size text, exact size and type.
  void AppendFileRow(const std::wstring& path, uint64_t size, const std::wstring& typeName);
  // The Recycle Bin's group row, with the default values and no size yet; it takes no files.
  void AppendRecycleBinRow();
  // The Recycle Bin row just appended: its total in bytes and in megabytes followed by " Mb".
  void SetRecycleBinSize(uint64_t bytes);

  int RowCount() const;
  // A file row: its name is a full drive-letter path. Group, user and Recycle Bin rows never
  // carry one.
  bool IsFileRow(int row) const;
  // The Recycle Bin's own group row; a profile folder of that name is a user row, never it.
  bool IsRecycleBinRow(int row) const;
  bool IsTicked(int row) const;
  void SetTicked(int row, bool ticked);
  // The name shown: a file row's full path, a group's caption, a profile folder's name.
  std::wstring Path(int row) const;
  // The size text as shown.
  std::wstring SizeText(int row) const;
  // The exact size in bytes; false when the row holds none (an unread Recycle Bin, a heading).
  bool Bytes(int row, uint64_t& bytes) const;
  // Whether a grid column is the tick column.
  bool IsTickColumn(int column) const;
  // Ticks or clears every descendant of row to match it, under one update lock.
  void TickDescendants(int row);
  // A parent row's totals: its number of direct children, their bytes and the megabytes text.
  // A cell that already holds its value is left alone, so that nothing repaints for nothing.
  void WriteParentTotals(int row, int children, uint64_t bytes);

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
  TCell* Cell(const wchar_t* column, int row) const;
  void SetText(const wchar_t* column, int row, const std::wstring& text);
  // Writes text whose first sharedLength characters many rows have alike (0: none).
  void SetSharedText(const wchar_t* column, int row, const std::wstring& text, size_t sharedLength);
  // A new row starts with its parent's tick, so that files still arriving under a heading the
  // user has cleared stay cleared.
  void TickLikeParent(int row);
  // Collapses the parent when the new row at LastAddedIndex is its first child.
  void CollapseOnFirstChild();

  TVxGrid& grid_;
  TCleanerState& state_;
  struct TColumnIndex {
    const wchar_t* Name;
    const TVxCustomColumn* Column;
    int Index;
  };
  mutable std::vector<TColumnIndex> columnIndexes_;
};
