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

// "Selected <whole megabytes> MB".
std::wstring SelectedText(uint64_t bytes);
