#include "GridControl.h"
#include "ui/Bitmap.h"
#include "ui/StdCtrls.h"

#include <gtest/gtest.h>

namespace {

using Log = std::vector<std::string>;

// The control grid with an editable text column (1) and every editing event written to the
// log; rows hold "v<row>" in the text column.
struct GridEditTest : ::testing::Test {
  TControlGridWindow w;
  bool acceptEdit = true;

  GridEditTest() {
    TVxCustomColumn& text = *w.grid->Columns().ColumnAt(1);
    text.SetOptions(text.Options() + TColumnOptions{coEditing});
    TVxGrid& g = *w.grid;
    auto cell = [this](const char* name) {
      return [this, name](TObject*, int c, int r) { Note(name, c, r); };
    };
    auto value = [this](const char* name) {
      return [this, name](TObject*, int c, int r, const std::wstring& v) { Note(name, c, r, v); };
    };
    g.OnBeforeEdit = [this](TObject*, int c, int r, bool& accept) {
      Note("BeforeEdit", c, r);
      accept = acceptEdit;
    };
    g.OnApplyEditText = [this](TObject*, int c, int r, std::wstring& v) {
      Note("ApplyEditText", c, r, v);
    };
    g.OnEdit = cell("Edit");
    g.OnEditAccept = [this](TObject*, int c, int r, const std::wstring& v, bool&) {
      Note("EditAccept", c, r, v);
    };
    g.OnEditText = [this](TObject*, int c, int r, std::wstring& v) { Note("EditText", c, r, v); };
    g.OnAfterEdit = value("AfterEdit");
    g.OnEditExit = cell("EditExit");
    g.OnCellValueChanged = nullptr;
  }
  void Note(const char* name, int c, int r, const std::wstring& v = L"-") {
    std::string line = name;
    line.append(" ").append(std::to_string(c)).append(",").append(std::to_string(r));
    if (v != L"-") line.append("=").append(WideToAnsi(v));
    w.Log.push_back(line);
  }
  void Rows(int count) {
    for (int r = 0; r < count; ++r)
      w.grid->SetCellText(1, w.grid->AppendRows(1), L"v" + std::to_wstring(r));
  }
  HWND Editor() const {
    TWinControl* editor = w.grid->ActiveEditor();
    return editor ? editor->Handle() : nullptr;
  }
  std::wstring EditorValue() const { return EditorText(*w.grid->ActiveEditor()); }
  void Type(const wchar_t* text) { ::SetWindowTextW(Editor(), text); }
  void EditorKey(WORD key) { ::SendMessageW(Editor(), WM_KEYDOWN, key, 0); }
  // Only the events whose names hold word (the editing events by default), in order.
  Log EditLog(const char* word = "Edit") {
    Log edits;
    for (const std::string& line : w.TakeLog())
      if (line.find(word) != std::string::npos) edits.push_back(line);
    return edits;
  }
};

} // namespace

TEST_F(GridEditTest, ClickOpensTheEditorAndAPressElsewhereAppliesIt) {
  Rows(3);
  w.TakeLog();
  acceptEdit = false; // OnBeforeEdit refuses: no editor
  w.Click(w.CellPoint(1, 0));
  EXPECT_EQ(EditLog(), (Log{"BeforeEdit 1,0"}));
  EXPECT_EQ(w.grid->ActiveEditor(), nullptr);

  acceptEdit = true;
  w.Click(w.CellPoint(1, 1));
  EXPECT_EQ(w.TakeLog(),
            (Log{"MouseDown", "BeforeSelect 1,1", "Deselect 1,0", "Select 1,1", "MouseUp",
                 "CellClick 1,1", "BeforeEdit 1,1", "ApplyEditText 1,1=v1", "Edit 1,1"}));
  ASSERT_NE(Editor(), nullptr);
  EXPECT_EQ(::GetFocus(), Editor());
  EXPECT_EQ(EditorValue(), L"v1");
  const RECT cell = w.grid->GetCellRect(1, 1);
  const RECT bounds = w.grid->ActiveEditor()->BoundsRect();
  EXPECT_EQ(bounds.left, cell.left);
  EXPECT_TRUE(bounds.top >= cell.top && bounds.bottom <= cell.bottom && bounds.top < bounds.bottom);
  Type(L"new");
  w.Click(w.CellPoint(0, 2));
  EXPECT_EQ(w.TakeLog(), (Log{"MouseDown", "EditAccept 1,1=new", "EditText 1,1=new",
                              "AfterEdit 1,1=new", "EditExit 1,1", "BeforeSelect 0,2",
                              "Deselect 1,1", "Select 0,2", "MouseUp", "CellClick 0,2"}));
  EXPECT_EQ(w.grid->CellText(1, 1), L"new");
  EXPECT_EQ(w.grid->ActiveEditor(), nullptr);

  // With goSecondClickEdit the first click only selects; the second one edits.
  w.grid->SetOptions(w.grid->Options() + TGridOptions{goSecondClickEdit});
  w.Click(w.CellPoint(1, 0));
  EXPECT_EQ(EditLog(), Log{});
  w.Click(w.CellPoint(1, 0));
  EXPECT_EQ(EditLog(), (Log{"BeforeEdit 1,0", "ApplyEditText 1,0=v0", "Edit 1,0"}));

  // The tree column's edit area starts after its indent and button.
  TVxCustomColumn& tree = *w.grid->Columns().ColumnAt(0);
  tree.SetOptions(tree.Options() + TColumnOptions{coEditing});
  w.grid->SetOptions(w.grid->Options() - TGridOptions{goSecondClickEdit});
  w.Click(w.CellPoint(0, 2));
  ASSERT_NE(Editor(), nullptr);
  EXPECT_EQ(w.grid->ActiveEditor()->BoundsRect().left,
            w.grid->GetCellRect(0, 2).left + TVxTreeColumn::kButtonIndent);
  w.Click(POINT{w.grid->GetCellRect(0, 1).left + 5, w.CellPoint(0, 1).y}); // on the button
  EXPECT_EQ(w.grid->ActiveEditor(), nullptr);

  // A column's InplaceEdit edits instead of its own editor and goes home afterwards.
  TMemo outside(nullptr);
  outside.Hide();
  outside.SetParent(&w.form);
  TVxCustomColumn& text = *w.grid->Columns().ColumnAt(1);
  text.SetInplaceEdit(&outside);
  ASSERT_TRUE(w.grid->BeginEdit(1, 0));
  EXPECT_EQ(w.grid->ActiveEditor(), &outside);
  EXPECT_EQ(outside.Parent(), w.grid);
  ::SetWindowTextW(outside.Handle(), L"memo");
  w.grid->ApplyEdit();
  EXPECT_EQ(w.grid->CellText(1, 0), L"memo");
  EXPECT_EQ(outside.Parent(), &w.form);
  EXPECT_FALSE(outside.Visible());
  text.SetInplaceEdit(nullptr);
}

TEST_F(GridEditTest, KeysInsideTheEditorApplyOrCloseIt) {
  Rows(3);
  w.grid->SelectCell(1, 1, true, TShiftState{});
  w.TakeLog();
  // A character the column takes opens the editor with it; Enter applies and the grid takes
  // the focus.
  w.Char(L'x');
  ASSERT_NE(Editor(), nullptr);
  EXPECT_EQ(EditorValue(), L"x");
  EditorKey(VK_RETURN);
  EXPECT_EQ(EditLog(), (Log{"BeforeEdit 1,1", "ApplyEditText 1,1=x", "Edit 1,1", "EditAccept 1,1=x",
                            "EditText 1,1=x", "AfterEdit 1,1=x", "EditExit 1,1"}));
  EXPECT_EQ(w.grid->CellText(1, 1), L"x");
  EXPECT_EQ(::GetFocus(), w.window);

  struct Case {
    const char* what;
    TGridOptions options;
    WORD key;
    bool stillOpen;
    std::wstring cellAfter;
  };
  const Case cases[] = {
      {"Escape closes without applying", {}, VK_ESCAPE, false, L"x"},
      {"Escape with goEscClearEdit clears the text", {goEscClearEdit}, VK_ESCAPE, true, L""},
      {"Tab applies", {}, VK_TAB, false, L"typed"},
  };
  for (const Case& c : cases) {
    w.grid->SetOptions(TGridOptions{goGrid, goHeader, goSelectFullRow} + c.options);
    w.grid->SetCellText(1, 1, L"x");
    ASSERT_TRUE(w.grid->BeginEdit(1, 1)) << c.what;
    Type(L"typed");
    EditorKey(c.key);
    EXPECT_EQ(w.grid->ActiveEditor() != nullptr, c.stillOpen) << c.what;
    if (c.stillOpen) {
      EXPECT_EQ(EditorValue(), L"") << c.what;
    }
    w.grid->ApplyEdit();
    EXPECT_EQ(w.grid->CellText(1, 1), c.cellAfter) << c.what;
    EXPECT_EQ(::GetFocus(), w.window) << c.what;
  }
  // With goInplaceEditEvents the grid's key events hear the editor's keys first.
  w.grid->SetOptions(w.grid->Options() + TGridOptions{goInplaceEditEvents});
  w.grid->OnKeyDown = [&](TObject*, WORD& key, TShiftState) {
    w.Log.push_back(std::string("KeyDown ") + std::to_string(key));
    if (key == VK_RETURN) key = 0;
  };
  ASSERT_TRUE(w.grid->BeginEdit(1, 1));
  w.TakeLog();
  EditorKey(VK_RETURN);
  EXPECT_EQ(w.TakeLog(), Log{"KeyDown 13"});
  EXPECT_NE(Editor(), nullptr); // the handler took Enter
  w.grid->OnKeyDown = nullptr;
  // The focus moving to another control applies the edit before the grid's OnExit.
  TMemo other(nullptr);
  other.SetParent(&w.form);
  w.grid->OnExit = [&](TObject*) { w.Log.push_back("Exit"); };
  ASSERT_TRUE(w.grid->BeginEdit(1, 1));
  Type(L"left");
  w.TakeLog();
  other.SetFocus();
  EXPECT_EQ(w.TakeLog(), (Log{"EditAccept 1,1=left", "EditText 1,1=left", "AfterEdit 1,1=left",
                              "EditExit 1,1", "Exit"}));
  EXPECT_EQ(w.grid->ActiveEditor(), nullptr);
  w.grid->SetFocus();
  // The caret keys sent to the grid while editing stay with the editor.
  ASSERT_TRUE(w.grid->BeginEdit(1, 1));
  w.Key(VK_DOWN);
  EXPECT_EQ(w.grid->SelectedRow(), 1);
  EXPECT_NE(Editor(), nullptr);
}

TEST_F(GridEditTest, ScrollingResizingAndTheWheelNeverApplyTheText) {
  Rows(40);
  w.grid->Columns().ColumnAt(0)->SetWidth(400); // room to scroll sideways
  const std::function<void()> closers[] = {
      [&] { ::SendMessageW(w.window, WM_VSCROLL, SB_LINEDOWN, 0); },
      [&] { ::SendMessageW(w.window, WM_HSCROLL, SB_LINERIGHT, 0); },
      [&] { w.grid->SetHeight(w.grid->Height() - 20); },
  };
  for (const auto& close : closers) {
    ASSERT_TRUE(w.grid->BeginEdit(1, 20));
    Type(L"lost");
    w.TakeLog();
    close();
    EXPECT_EQ(w.grid->ActiveEditor(), nullptr);
    EXPECT_EQ(EditLog(), (Log{"EditExit 1,20"}));
    EXPECT_EQ(w.grid->CellText(1, 20), L"v20");
  }
  // The wheel does not scroll while an editor is open.
  ASSERT_TRUE(w.grid->BeginEdit(1, 20));
  const int top = w.grid->TopRow();
  ::SendMessageW(w.window, WM_MOUSEWHEEL, MAKEWPARAM(0, -WHEEL_DELTA), 0);
  EXPECT_EQ(w.grid->TopRow(), top);
  EXPECT_NE(Editor(), nullptr);
}

TEST_F(GridEditTest, RowsDeletedClearedOrSortedUnderTheEditorAreNeverWritten) {
  Rows(4);
  // Rows inserted above the edited one: the text follows its row.
  ASSERT_TRUE(w.grid->BeginEdit(1, 2));
  Type(L"kept");
  w.grid->InsertRowAt(0);
  w.grid->ApplyEdit();
  EXPECT_EQ(w.grid->CellText(1, 3), L"kept");

  std::unique_ptr<TVxCustomColumn> removed;
  struct Case {
    const char* what;
    std::function<void(TVxGrid&)> change;
  };
  const Case cases[] = {
      {"a row deleted", [](TVxGrid& g) { g.DeleteRowAt(0); }},
      {"the rows cleared", [](TVxGrid& g) { g.ClearAllRows(); }},
      {"the rows sorted", [](TVxGrid& g) { g.SortByColumn(1, false); }},
      {"the column removed",
       [&](TVxGrid& g) { removed = g.Columns().RemoveColumn(g.Columns().ColumnAt(1)); }},
  };
  for (bool duringApply : {false, true}) {
    for (const Case& c : cases) {
      const std::string what = std::string(c.what) + (duringApply ? " during the apply" : "");
      TControlGridWindow g;
      TVxGrid& grid = *g.grid;
      TVxCustomColumn& text = *grid.Columns().ColumnAt(1);
      text.SetOptions(text.Options() + TColumnOptions{coEditing});
      for (int r = 0; r < 4; ++r)
        grid.SetCellText(1, grid.AppendRows(1), L"v" + std::to_wstring(r));
      ASSERT_TRUE(grid.BeginEdit(1, 2)) << what;
      ::SetWindowTextW(grid.ActiveEditor()->Handle(), L"stray");
      if (duringApply) {
        grid.OnEditAccept = [&](TObject*, int, int, const std::wstring&, bool&) { c.change(grid); };
      } else {
        c.change(grid);
        EXPECT_EQ(grid.ActiveEditor(), nullptr) << what;
      }
      grid.ApplyEdit();
      for (int r = 0; r < grid.TotalRows(); ++r)
        for (int col = 0; col < grid.Columns().ColumnCount(); ++col)
          EXPECT_NE(grid.CellText(col, r), L"stray") << what << " row " << r;
      removed.reset();
    }
  }
  // A window destroyed with the grid's editor open (the form frees the grid).
  auto g = std::make_unique<TControlGridWindow>();
  TVxCustomColumn& text = *g->grid->Columns().ColumnAt(1);
  text.SetOptions(text.Options() + TColumnOptions{coEditing});
  g->grid->AppendRows(2);
  ASSERT_TRUE(g->grid->BeginEdit(1, 1));
  g.reset();
}

// Saves grid_input_edit.bmp in the working folder: the input line with its editor open on the
// text column, over three rows added through it.
TEST_F(GridEditTest, InputLineAddsRowsFromItsValues) {
  TVxGrid& g = *w.grid;
  bool acceptInput = true;
  g.OnInputAccept = [&](TObject*, bool& accept) {
    w.Log.push_back("InputAccept");
    accept = acceptInput;
  };
  g.OnInputAdded = [&](TObject*) { w.Log.push_back("InputAdded"); };
  g.OnInputSelectCell = [&](TObject*, int c) { Note("InputSelectCell", c, -1); };
  g.SetOptions(g.Options() + TGridOptions{goInput, goIndicator});
  g.Columns().ColumnAt(0)->SetInputCaption(L"Name");
  g.Columns().ColumnAt(1)->SetDefaultValue(L"d");
  // With no rows the focus goes to the input line.
  ::SetFocus(w.form.Handle());
  g.SetFocus();
  EXPECT_TRUE(g.InputLineActive());

  const RECT input = g.GetInputRect();
  const TVxCustomColumn& text = *g.Columns().ColumnAt(1);
  const POINT inputCell{g.ColumnLeft(text) + text.Width() / 2, (input.top + input.bottom) / 2};
  w.TakeLog();
  w.Click(inputCell);
  ASSERT_NE(Editor(), nullptr);
  EXPECT_EQ(g.EditCell(), (TGridCell{1, -1}));
  for (const wchar_t* value : {L"alpha", L"beta", L"gamma"}) {
    Type(value);
    EditorKey(VK_RETURN);
  }
  acceptInput = false;
  Type(L"refused");
  EditorKey(VK_RETURN);
  ASSERT_EQ(g.TotalRows(), 3);
  EXPECT_EQ(g.CellText(1, 0), L"alpha");
  EXPECT_EQ(g.CellText(1, 2), L"gamma");
  EXPECT_EQ(EditorValue(), L"refused"); // a refused row keeps what was typed
  Log expected{"InputSelectCell 1,-1"};
  for (int k = 0; k < 3; ++k)
    expected.insert(expected.end(), {"InputAccept", "InputAdded"});
  expected.push_back("InputAccept");
  EXPECT_EQ(EditLog("Input"), expected);
  Type(L"delta");
  TBitmap picture(300, 220);
  picture.Fill(RGB(1, 2, 3));
  g.Update();
  g.PaintTo(picture.Canvas().Handle(), 0, 0);
  picture.SaveToFile(L"grid_input_edit.bmp");

  // Escape closes the editor; the keys move in the input line and back to the rows.
  EditorKey(VK_ESCAPE);
  EXPECT_EQ(Editor(), nullptr);
  w.Key(VK_RIGHT);
  w.Key(VK_DOWN);
  EXPECT_FALSE(g.InputLineActive());
  EXPECT_EQ(g.SelectedRow(), 0);
  w.Key(VK_UP);
  EXPECT_TRUE(g.InputLineActive());
  EXPECT_EQ(EditLog("Input"), Log{"InputSelectCell 2,-1"});
  // Enter in the input line: imEditing opens the editor, imAllways adds the row at once.
  g.SetWantReturns(true);
  acceptInput = true;
  w.Key(VK_LEFT);
  w.Key(VK_RETURN);
  EXPECT_EQ(g.EditCell(), (TGridCell{1, -1}));
  EditorKey(VK_ESCAPE);
  g.SetInputEnterMode(imAllways);
  g.Columns().ColumnAt(1)->SetInputValue(L"epsilon");
  w.Key(VK_RETURN);
  ASSERT_EQ(g.TotalRows(), 4);
  EXPECT_EQ(g.CellText(1, 3), L"epsilon");
  EXPECT_EQ(g.SelectedColumn(), 0);
}
