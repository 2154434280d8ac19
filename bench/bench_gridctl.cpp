// The grid control at a million rows: a full paint and a run of navigation keys with
// 1,000,000 rows against the same with 1,000 rows, in the report style and in the slides
// style, and the report's full paint against the system's list view in virtual mode showing
// the same rows and columns. The report's keys run twice: in trees whose million rows are
// mostly collapsed, and in flat lists whose rows are all shown, where the selection lies half a
// million shown rows below TopRow.
#include "BenchTiming.h"
#include "grid/Grid.h"
#include "ui/Application.h"

#include "grid/FoundFilesGrid.h"

#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace {

// Top-level rows, each with collapsed children: one each in the small grid, 1,999 each in the
// big one; both show the same rows with the same tree buttons.
constexpr int kShown = 500;
// Fewer in a smoke run.
int Repeats() {
  return Sized(31, 1);
}

std::wstring NameOf(int row) {
  return L"C:\\Users\\user\\AppData\\Local\\Temp\\cache\\file" + std::to_wstring(row) + L".tmp";
}

// A found-files grid 800 x 600 in a window of its own, with `groups` top-level rows of
// childrenEach collapsed children.
struct BenchGrid {
  TWinControl form{nullptr};
  TVxGrid* grid = form.Make<TVxGrid>();

  explicit BenchGrid(int childrenEach, int groups = kShown) {
    SetUpFoundFilesGrid(*grid);
    form.SetBounds(0, 0, 820, 640);
    grid->SetBounds(0, 0, 800, 600);
    grid->SetParent(&form);
    grid->LockUpdates();
    for (int g = 0; g < groups; ++g) {
      const int parent = grid->AppendRows(1);
      grid->SetCellText(2, parent, NameOf(parent));
      grid->SetCellText(3, parent, L"12.5 KB");
      grid->SetCellText(4, parent, L"TMP File");
      for (int c = 0; c < childrenEach; ++c) {
        grid->AppendChildRow(parent, true);
        if (c == 0) grid->ExpandRow(parent, false);
      }
    }
    grid->UnlockUpdates();
    form.Show();
    Application().ProcessMessages();
  }
  HWND Window() { return grid->Handle(); }
};

double TimePaint(HWND window) {
  ::InvalidateRect(window, nullptr, FALSE);
  const double start = Seconds();
  ::UpdateWindow(window);
  return Seconds() - start;
}

// Shows the first rows and selects the middle one of the shown rows, far below TopRow.
HWND SelectFarFromTop(BenchGrid& b) {
  HWND window = b.Window();
  ::SendMessageW(window, WM_VSCROLL, SB_TOP, 0);
  const TCells& cells = b.grid->Cells();
  b.grid->SelectRow(cells.DisplayedRowAt(cells.ShownTotal() / 2));
  ::UpdateWindow(window);
  return window;
}

// 100 Down keys, a Page Down and End, from a selection far below TopRow.
double TimeKeys(BenchGrid& b) {
  HWND window = SelectFarFromTop(b);
  const double start = Seconds();
  for (int k = 0; k < 100; ++k)
    ::SendMessageW(window, WM_KEYDOWN, VK_DOWN, 0);
  ::SendMessageW(window, WM_KEYDOWN, VK_NEXT, 0);
  ::SendMessageW(window, WM_KEYDOWN, VK_END, 0);
  ::UpdateWindow(window);
  return Seconds() - start;
}

// Row drags in the indicator strip: a row move and a row-height drag of 100 pointer moves
// each over the rows on the screen, both ended with Escape.
double TimeRowDrags(BenchGrid& b) {
  HWND window = b.Window();
  const int row = b.grid->TopRow();
  const int middle = b.grid->GetRowTop(row) + 8;
  const int edge = b.grid->GetRowTop(row) + b.grid->RowHeightOf(row);
  const double start = Seconds();
  for (int y : {middle, edge}) {
    ::SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(6, y));
    for (int k = 0; k < 100; ++k)
      ::SendMessageW(window, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(6, y + 5 + (k * 7) % 500));
    ::SendMessageW(window, WM_KEYDOWN, VK_ESCAPE, 0);
    ::SendMessageW(window, WM_LBUTTONUP, 0, MAKELPARAM(6, y));
  }
  ::UpdateWindow(window);
  return Seconds() - start;
}

// One Down key from a selection in the middle of the shown rows with TopRow on the first row:
// the view jumps to the selection.
double TimeFarKey(BenchGrid& b) {
  HWND window = SelectFarFromTop(b);
  const double start = Seconds();
  ::SendMessageW(window, WM_KEYDOWN, VK_DOWN, 0);
  ::UpdateWindow(window);
  return Seconds() - start;
}

// The system's list view in report view and virtual mode, its texts served on request.
LRESULT CALLBACK HostProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_NOTIFY && reinterpret_cast<NMHDR*>(lParam)->code == LVN_GETDISPINFOW) {
    LVITEMW& item = reinterpret_cast<NMLVDISPINFOW*>(lParam)->item;
    if (item.mask & LVIF_TEXT) {
      std::wstring text = item.iSubItem == 0   ? std::to_wstring(item.iItem)
                          : item.iSubItem == 1 ? NameOf(item.iItem)
                          : item.iSubItem == 2 ? L"12.5 KB"
                          : item.iSubItem == 3 ? L"TMP File"
                                               : L"";
      lstrcpynW(item.pszText, text.c_str(), item.cchTextMax);
    }
    return 0;
  }
  return ::DefWindowProcW(window, msg, wParam, lParam);
}

struct BenchListView {
  HWND host = nullptr;
  HWND list = nullptr;
  BenchListView(int items) {
    INITCOMMONCONTROLSEX init{sizeof init, ICC_LISTVIEW_CLASSES};
    ::InitCommonControlsEx(&init);
    WNDCLASSW cls{};
    cls.lpfnWndProc = HostProc;
    cls.hInstance = ::GetModuleHandleW(nullptr);
    cls.lpszClassName = L"VarnoxBenchHost";
    ::RegisterClassW(&cls);
    host = ::CreateWindowExW(0, cls.lpszClassName, L"", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 820,
                             640, nullptr, nullptr, cls.hInstance, nullptr);
    list = ::CreateWindowExW(WS_EX_CLIENTEDGE, WC_LISTVIEWW, L"",
                             WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_OWNERDATA, 0, 0, 800, 600,
                             host, nullptr, cls.hInstance, nullptr);
    const int widths[] = {39, 426, 80, 80, 36};
    for (int c = 0; c < 5; ++c) {
      LVCOLUMNW column{};
      column.mask = LVCF_WIDTH | LVCF_TEXT;
      column.cx = widths[c];
      column.pszText = const_cast<wchar_t*>(L"Column");
      ::SendMessageW(list, LVM_INSERTCOLUMNW, c, reinterpret_cast<LPARAM>(&column));
    }
    ::SendMessageW(list, LVM_SETITEMCOUNT, items, 0);
    ::UpdateWindow(host);
  }
  ~BenchListView() { ::DestroyWindow(host); }
};

// Times both grids Repeats() times, the two taking turns going first: this machine is shared
// and noisy.
template <typename Time>
void TakeTurns(BenchGrid& small, BenchGrid& big, std::vector<double>& timesSmall,
               std::vector<double>& timesBig, Time time) {
  for (int k = 0; k < Repeats(); ++k) {
    if (k % 2) {
      timesBig.push_back(time(big));
      timesSmall.push_back(time(small));
    } else {
      timesSmall.push_back(time(small));
      timesBig.push_back(time(big));
    }
    Application().ProcessMessages();
  }
}

double TimeGridPaint(BenchGrid& b) {
  return TimePaint(b.Window());
}

int RunTrees() {
  BenchGrid small(1);
  BenchGrid big(Sized(1999, 3));
  BenchListView list(kShown);
  Figure("grid_rows_small", small.grid->TotalRows(), 0);
  Figure("grid_rows_big", big.grid->TotalRows(), 0);
  // Both grids show their middle rows: TopRow far from the first row.
  for (BenchGrid* b : {&small, &big}) {
    for (int k = 0; k < kShown / 2; ++k)
      ::SendMessageW(b->Window(), WM_VSCROLL, SB_LINEDOWN, 0);
  }
  ::SendMessageW(list.list, LVM_ENSUREVISIBLE, kShown / 2 + 30, FALSE);
  std::vector<double> paintSmall, paintBig, paintList, keysSmall, keysBig;
  // The contenders take turns going first: this machine is shared and noisy.
  for (int k = 0; k < Repeats(); ++k) {
    if (k % 2) {
      paintSmall.push_back(TimePaint(small.Window()));
      paintBig.push_back(TimePaint(big.Window()));
    } else {
      paintBig.push_back(TimePaint(big.Window()));
      paintSmall.push_back(TimePaint(small.Window()));
    }
    paintList.push_back(TimePaint(list.list));
    Application().ProcessMessages();
  }
  TakeTurns(small, big, keysSmall, keysBig, TimeKeys);
  std::vector<double> dragsSmall, dragsBig;
  for (BenchGrid* b : {&small, &big})
    b->grid->SetOptions(b->grid->Options() + TGridOptions{goIndicator, goRowMoving, goRowResizing});
  TakeTurns(small, big, dragsSmall, dragsBig, TimeRowDrags);
  for (BenchGrid* b : {&small, &big})
    b->grid->SetOptions(b->grid->Options() - TGridOptions{goIndicator, goRowMoving, goRowResizing});
  Figure("grid_paint_1k_ms", Median(paintSmall) * 1000, 3);
  Figure("grid_paint_1m_ms", Median(paintBig) * 1000, 3);
  Figure("listview_paint_ms", Median(paintList) * 1000, 3);
  Figure("grid_paint_ratio_1m_vs_1k", Median(paintBig) / Median(paintSmall), 2);
  Figure("grid_paint_vs_listview_ratio", Median(paintBig) / Median(paintList), 2);
  Figure("grid_key_1k_ms", Median(keysSmall) * 1000, 3);
  Figure("grid_key_1m_ms", Median(keysBig) * 1000, 3);
  Figure("grid_key_ratio_1m_vs_1k", Median(keysBig) / Median(keysSmall), 2);
  Figure("grid_row_drags_1m_ms", Median(dragsBig) * 1000, 3);
  Figure("grid_row_drag_ratio_1m_vs_1k", Median(dragsBig) / Median(dragsSmall), 2);

  // The same in slides: the grids stay scrolled to their middle rows.
  std::vector<double> slidesSmall, slidesBig, slideKeysSmall, slideKeysBig;
  for (BenchGrid* b : {&small, &big}) {
    b->grid->SetGridStyle(gsSlides);
    ::SendMessageW(b->Window(), WM_VSCROLL, SB_TOP, 0);
    for (int k = 0; k < kShown / 2; ++k)
      ::SendMessageW(b->Window(), WM_VSCROLL, SB_LINEDOWN, 0);
  }
  TakeTurns(small, big, slidesSmall, slidesBig, TimeGridPaint);
  TakeTurns(small, big, slideKeysSmall, slideKeysBig, TimeKeys);
  Figure("grid_slides_paint_1m_ms", Median(slidesBig) * 1000, 3);
  Figure("grid_slides_paint_ratio_1m_vs_1k", Median(slidesBig) / Median(slidesSmall), 2);
  Figure("grid_slides_key_ratio_1m_vs_1k", Median(slideKeysBig) / Median(slideKeysSmall), 2);
  return 0;
}

void RunFlatKeys() {
  BenchGrid small(0, 1000);
  BenchGrid big(0, Sized(1000000, 2000));
  std::vector<double> keysSmall, keysBig;
  TakeTurns(small, big, keysSmall, keysBig, TimeKeys);
  std::vector<double> farSmall, farBig;
  TakeTurns(small, big, farSmall, farBig, TimeFarKey);
  Figure("grid_far_key_flat_1k_ms", Median(farSmall) * 1000, 3);
  Figure("grid_far_key_flat_1m_ms", Median(farBig) * 1000, 3);
  Figure("grid_far_key_ratio_flat_1m_vs_1k", Median(farBig) / Median(farSmall), 2);
  Figure("grid_key_flat_1k_ms", Median(keysSmall) * 1000, 3);
  Figure("grid_key_flat_1m_ms", Median(keysBig) * 1000, 3);
  Figure("grid_key_ratio_flat_1m_vs_1k", Median(keysBig) / Median(keysSmall), 2);
}

} // namespace

// "flat" as the argument runs the flat lists alone.
int main(int argc, char** argv) {
  ReadBenchArguments(argc, argv);
  const bool flatOnly = argc > 1 && std::string(argv[1]) == "flat";
  if (!flatOnly && RunTrees() != 0) return 1;
  RunFlatKeys();
  return Done("bench_gridctl");
}
