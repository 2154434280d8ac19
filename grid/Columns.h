#pragma once
#include "grid/Column.h"

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

// What the column collection needs to know of the grid that owns it.
class TColumnsHost {
public:
  virtual ~TColumnsHost() = default;
  // Client width that auto-size columns share.
  virtual int ColumnsClientWidth() const = 0;
  // Whether the 12-pixel indicator strip stands left of the body.
  virtual bool ColumnsShowIndicator() const = 0;
  // The window layout is being applied.
  virtual bool ColumnsLoading() const = 0;
  // The grid is being destroyed: removals need no re-layout.
  virtual bool ColumnsDestroying() const = 0;
  virtual const TFont& ColumnsGridFont() const = 0;
};

// How the collection changed, for the grid's changing/changed hooks.
enum TColumnsOperation : uint8_t { cpAdded, cpInserted, cpRemoved };

// The grid's columns: the item list (index order, the order of adding) and the position list
// (display order). The collection owns its columns.
class TVxColumns {
public:
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
  // Inserts at an item-list index; the column goes to the end of the display order.
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

  // Hooks set by the grid.
  std::function<void(TVxCustomColumn& column, TColumnChangeKind kind, int value)> OnColumnChanged;
  std::function<void(TColumnsOperation operation, int index)> OnColumnsChanging;
  std::function<void(TColumnsOperation operation, int index)> OnColumnsChanged;

  TColumnsHost* Host() const { return host_; }

private:
  friend class TVxCustomColumn;
  enum class TAutoSizeStart { None, At, After };
  void AutoSize(TAutoSizeStart start, const TVxCustomColumn* column);
  void ColumnChanged(TVxCustomColumn& column, TColumnChangeKind kind, int value);
  void SearchColumnSet(TVxCustomColumn& column);
  void UnsortOthers(TVxCustomColumn& column);

  TColumnsHost* host_;
  std::vector<std::unique_ptr<TVxCustomColumn>> items_;
  std::vector<TVxCustomColumn*> positions_;
  int fixedCols_ = 0;
  int fixedWidth_ = 0;
  int loading_ = 0;
};
