#pragma once
#include "grid/Column.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

// What the collection tells its grid: a property of one column changed (the column, the kind
// and the kind's value), or the collection itself is about to change or has changed (the kind
// says adding, inserting or removing, the value is the item index).
struct TColumnsNotice {
  TColumnChangeKind Kind;
  TVxCustomColumn* Column;
  int Value;
};

// What the column collection needs to know of the grid that owns it, and the one channel on
// which it tells the grid what changed.
class TColumnsHost {
public:
  virtual ~TColumnsHost() = default;
  // Every change of the collection and of its columns arrives here, in the order it happens.
  virtual void ColumnsNotify(const TColumnsNotice& notice) = 0;
  // Client width that auto-size columns share.
  virtual int ColumnsClientWidth() const = 0;
  // The width of the indicator strip left of the body; 0 without one.
  virtual int ColumnsIndicatorWidth() const = 0;
  // The window layout is being applied.
  virtual bool ColumnsLoading() const = 0;
  // The grid is being destroyed: removals need no re-layout.
  virtual bool ColumnsDestroying() const = 0;
  virtual const TFont& ColumnsGridFont() const = 0;
};

// The grid's columns: the item list (index order, the order of adding) and the position list
// (display order). The collection owns its columns.
class TVxColumns {
public:
  // The row store keeps one cell list per column and holds at most this many.
  static constexpr int kMaxColumns = 1025;

  explicit TVxColumns(TColumnsHost* host = nullptr) : host_(host) {}
  ~TVxColumns();
  TVxColumns(const TVxColumns&) = delete;
  TVxColumns& operator=(const TVxColumns&) = delete;

  int ColumnCount() const { return static_cast<int>(items_.size()); }
  TVxCustomColumn* ColumnAt(int index) const;
  TVxCustomColumn* ColumnAtPosition(int position) const;
  // First column (index order) whose name equals the text without regard to case.
  TVxCustomColumn* ColumnByName(std::wstring_view name) const;
  int IndexOfColumn(const TVxCustomColumn* column) const;
  bool IsColumnIndex(int index) const { return index >= 0 && index < ColumnCount(); }

  TVxCustomColumn* AddColumn(std::unique_ptr<TVxCustomColumn> column);
  // Creates a column of class T named name and adds it.
  template <class T> T* Add(const std::wstring& name) {
    auto column = std::make_unique<T>();
    column->SetName(name);
    return static_cast<T*>(AddColumn(std::move(column)));
  }
  // Inserts at an item-list index; the column goes to the end of the display order. A column
  // beyond kMaxColumns raises "List index out of bounds" and changes nothing.
  TVxCustomColumn* InsertColumn(int index, std::unique_ptr<TVxCustomColumn> column);
  std::unique_ptr<TVxCustomColumn> RemoveColumn(TVxCustomColumn* column);
  void MoveColumn(int fromPosition, int toPosition);

  int VisibleColumnCount() const;
  int VisibleColumnsWidth() const;
  TVxCustomColumn* FirstVisibleColumn() const;
  TVxCustomColumn* LastVisibleColumn() const;
  TVxCustomColumn* NextColumn(TVxCustomColumn* column) const;
  TVxCustomColumn* PreviousColumn(TVxCustomColumn* column) const;

  int FixedCols() const { return fixedCols_; }
  void SetFixedCols(int value);
  // Total width of the visible columns among the first FixedCols positions.
  int FixedWidth() const { return fixedWidth_; }

  // While the window layout is read, added columns take their place by their stored Position.
  void BeginLoading() { ++loading_; }
  void EndLoading();
  // Puts the display order in the order of the stored positions (equal ones keep their order
  // of adding) and lays out: the end of reading a layout, which may set a position after the
  // column joined.
  void ApplyStoredPositions();
  bool Loading() const { return loading_ > 0 || (host_ && host_->ColumnsLoading()); }

  void Layout(bool renumber = false);
  // Shares the grid's client width out again among the auto-size columns (it changed).
  void FitAutoSizeColumns() { AutoSize(TAutoSizeStart::None, nullptr); }

  TColumnsHost* Host() const { return host_; }
  // The DPI of the grid the columns are drawn in; a change rescales every column's widths and
  // padding and lays out once.
  int Dpi() const { return dpi_; }
  void ChangeDpi(int dpi);

private:
  friend class TVxCustomColumn;
  enum class TAutoSizeStart { None, At, After };
  void AutoSize(TAutoSizeStart start, const TVxCustomColumn* column);
  void Tell(TColumnChangeKind kind, TVxCustomColumn* column, int value);
  void SearchColumnSet(TVxCustomColumn& column);
  void UnsortOthers(TVxCustomColumn& column);

  TColumnsHost* host_;
  std::vector<std::unique_ptr<TVxCustomColumn>> items_;
  std::vector<TVxCustomColumn*> positions_;
  int fixedCols_ = 0;
  int fixedWidth_ = 0;
  int loading_ = 0;
  int dpi_ = kDesignDpi;
};
