#include "main/SelectionSummary.h"

#include "grid/Grid.h"
#include "main/FoundFilesList.h"

#include <vector>

namespace {

// A parent row whose children are still being added up.
struct TOpenParent {
  int Row;
  int Level;
  int Children = 0;
  uint64_t Bytes = 0;
};

} // namespace

uint64_t UpdateSelectionSummary(TFoundFilesList& list) {
  TVxGrid& grid = list.Grid();
  std::vector<TOpenParent> open;
  uint64_t selected = 0;
  // A parent is complete when the first row at its level or above follows it; its total then
  // counts as one child's bytes in its own parent.
  auto closeParent = [&] {
    TOpenParent done = open.back();
    open.pop_back();
    list.WriteParentTotals(done.Row, done.Children, done.Bytes);
    if (!open.empty()) open.back().Bytes += done.Bytes;
  };
  const int rows = list.RowCount();
  for (int row = 0; row < rows; ++row) {
    const int level = grid.LevelOf(row);
    while (!open.empty() && open.back().Level >= level)
      closeParent();
    if (!open.empty()) ++open.back().Children;
    if (grid.RowHasChildren(row)) {
      open.push_back({row, level});
      continue;
    }
    uint64_t bytes = 0;
    if (!list.Bytes(row, bytes)) continue;
    if (!open.empty()) open.back().Bytes += bytes;
    if ((list.IsFileRow(row) || list.IsRecycleBinRow(row)) && list.IsTicked(row)) selected += bytes;
  }
  while (!open.empty())
    closeParent();
  return selected;
}

uint64_t TSelectionSummary::Refresh(TFoundFilesList& list) {
  if (!valid_) {
    selected_ = UpdateSelectionSummary(list);
    valid_ = true;
  }
  return selected_;
}

uint64_t TSelectionSummary::SubtreeSelected(TFoundFilesList& list, int row, bool rowFlipped) const {
  const int last = row + list.Grid().CountDescendants(row);
  uint64_t selected = 0;
  for (int r = row; r <= last; ++r) {
    if (!list.IsFileRow(r) && !list.IsRecycleBinRow(r)) continue;
    const bool ticked = list.IsTicked(r) != (rowFlipped && r == row);
    uint64_t bytes = 0;
    if (ticked && list.Bytes(r, bytes)) selected += bytes;
  }
  return selected;
}

std::wstring SelectedText(uint64_t bytes) {
  return L"Selected " + std::to_wstring(bytes / 1024 / 1024) + L" MB";
}
