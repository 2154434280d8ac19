#pragma once
#include "grid/Grid.h"
#include "ui/Application.h"

#include <string>
#include <vector>

// A small tree grid in a real window: a tree column (150), a text column (80) and a check-box
// column (40, coEditing), full-row selection, grid lines, rows of 16 pixels under an 18-pixel
// header. Every grid event the owner sees is written to Log in order.
struct TControlGridWindow {
  TWinControl form{nullptr};
  TVxGrid* grid = form.Make<TVxGrid>();
  HWND window = nullptr;
  std::vector<std::string> Log;

  TControlGridWindow() {
    grid->SetOptions({goGrid, goHeader, goSelectFullRow});
    TVxColumns& columns = grid->Columns();
    columns.Add<TVxTreeColumn>(L"Name")->SetWidth(150);
    columns.Add<TVxTextColumn>(L"Size")->SetWidth(80);
    TVxCustomColumn* check = columns.Add<TVxCheckBoxColumn>(L"Check");
    check->SetWidth(40);
    check->SetAlignment(taCenter);
    check->SetOptions(check->Options() + TColumnOptions{coEditing});
    form.SetBounds(0, 0, 320, 240);
    grid->SetBounds(0, 0, 300, 220);
    grid->SetParent(&form);
    auto cell = [this](const char* name) {
      return [this, name](TObject*, int c, int r) {
        Log.push_back(std::string(name) + " " + std::to_string(c) + "," + std::to_string(r));
      };
    };
    grid->OnMouseDown = [this](TObject*, TMouseButton, TShiftState, int, int) {
      Log.push_back("MouseDown");
    };
    grid->OnMouseUp = [this](TObject*, TMouseButton, TShiftState, int, int) {
      Log.push_back("MouseUp");
    };
    grid->OnBeforeSelect = [this](TObject*, int c, int r, bool& accept) {
      Log.push_back("BeforeSelect " + std::to_string(c) + "," + std::to_string(r));
      accept = Accept;
    };
    grid->OnDeselectCell = cell("Deselect");
    grid->OnSelectCell = cell("Select");
    grid->OnCellClick = [this](TObject*, int c, int r) {
      Log.push_back("CellClick " + std::to_string(c) + "," + std::to_string(r) +
                    (c == 2 ? (grid->CellAt(2, r)->BoolValue() ? " was on" : " was off") : ""));
    };
    grid->OnCellValueChanged = [this](TObject*, int c, int r, const std::wstring& value) {
      Log.push_back("ValueChanged " + std::to_string(c) + "," + std::to_string(r) + "=" +
                    WideToAnsi(value));
    };
    window = grid->Handle();
    form.Show();
    ::SetForegroundWindow(form.Handle());
    grid->SetFocus();
    Application().ProcessMessages();
  }
  // The middle of a cell's client rectangle (rows counted from the top while nothing scrolls).
  POINT CellPoint(int col, int row) {
    const RECT r = grid->GetCellRect(col, row);
    return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
  }
  void Press(POINT p, UINT msg = WM_LBUTTONDOWN, WPARAM keys = MK_LBUTTON) {
    ::SendMessageW(window, msg, keys, MAKELPARAM(p.x, p.y));
  }
  void Release(POINT p, UINT msg = WM_LBUTTONUP) {
    ::SendMessageW(window, msg, 0, MAKELPARAM(p.x, p.y));
  }
  void Click(POINT p) {
    Press(p);
    Release(p);
  }
  void Key(WORD key) { ::SendMessageW(window, WM_KEYDOWN, key, 0); }
  void Char(wchar_t key) { ::SendMessageW(window, WM_CHAR, key, 0); }
  std::vector<std::string> TakeLog() { return std::exchange(Log, {}); }

  bool Accept = true;
};
