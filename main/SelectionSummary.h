#pragma once
#include <cstdint>
#include <string>

class TFoundFilesList;

// The selection summary that the window refreshes every 10 seconds. It writes each parent row's
// totals (number of direct children, their bytes, the megabytes text) from its children, a
// user row's before its group's, and answers the bytes that "Next" would remove now: every
// ticked file row and the Recycle Bin row when it is ticked. One pass in row order, following
// the tree by levels; a row whose bytes do not read counts nothing. Cells that already hold
// the value are not written again, so an idle tick repaints nothing.
uint64_t UpdateSelectionSummary(TFoundFilesList& list);

// The summary kept for the window, so that it can show at once what a scan found and what a tick
// changed. The parent totals follow from the rows alone, which change only while a scan adds them;
// the bytes selected follow from the ticks, which a click changes one subtree at a time. So a
// refresh over rows that did not change costs nothing, and a tick costs in proportion to the rows
// it changes.
class TSelectionSummary {
public:
  // The rows have changed or are changing (a scan): the next Refresh passes over all of them.
  void Invalidate() { valid_ = false; }
  bool Valid() const { return valid_; }
  // The bytes selected now; passes over every row, writing the parent totals, only when the rows
  // changed since the last pass.
  uint64_t Refresh(TFoundFilesList& list);
  // The tick of row has just changed, and change (which gives its descendants the same tick) is
  // about to run: runs it and keeps the bytes selected exact by looking at that subtree alone.
  template <typename TChange> void SubtreeTicked(TFoundFilesList& list, int row, TChange change) {
    if (!valid_) {
      change();
      return;
    }
    const uint64_t before = SubtreeSelected(list, row, true);
    change();
    selected_ = selected_ - before + SubtreeSelected(list, row, false);
  }
  uint64_t Selected() const { return selected_; }

private:
  // The bytes selected over row and its descendants; with rowFlipped, as they stood before row's
  // own tick changed.
  uint64_t SubtreeSelected(TFoundFilesList& list, int row, bool rowFlipped) const;

  bool valid_ = false;
  uint64_t selected_ = 0;
};

// "Selected <whole megabytes> MB".
std::wstring SelectedText(uint64_t bytes);
