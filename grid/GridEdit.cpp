// In-place editing: the editor over a cell or an input-line cell, the text it opens with, the
// keys that end it, and how its text goes back into the cell or becomes a new row.
//
// Safety: the edited cell is followed through rows inserted above it; anything that ends an
// edit (rows deleted, cleared, sorted or moved, columns removed, a scroll) ends it for good,
// also while its text is being applied, so a text never lands in another row than the one
// the user edited. The editor is closed before any event of the apply runs.
#include "grid/CustomGrid.h"
#include "ui/Handles.h"

#include <algorithm>
#include <utility>

namespace {

RECT Clipped(RECT area, const RECT& bounds) {
  RECT clipped{};
  ::IntersectRect(&clipped, &area, &bounds);
  return clipped;
}

// A single-line edit box draws its text at its top: the box is made as high as the text and
// centred in the cell, so the text stays where the cell drew it. The font is measured as the
// grid draws it, at the grid's DPI.
RECT TextBand(RECT area, const TFont& columnFont, int dpi) {
  TFont font;
  font.Assign(columnFont);
  font.SetDpi(dpi);
  TWindowDC dc;
  TScopedSelect select(dc.Get(), font.Handle());
  TEXTMETRICW metrics{};
  ::GetTextMetricsW(dc.Get(), &metrics);
  const int height = std::min<int>(metrics.tmHeight, RectHeight(area));
  area.top += (RectHeight(area) - height) / 2;
  area.bottom = area.top + height;
  return area;
}

} // namespace

bool TVxCustomGrid::CanEdit(const TVxCustomColumn& column, TEditorUse use) const {
  return !ReadOnly() && column.Visible() && column.CanUseEditor().Contains(use) &&
         (column.InplaceEdit() || (column.HasEditorClass() && column.OwnEditor()));
}

RECT TVxCustomGrid::EditArea(int col, int row) {
  const TVxCustomColumn& column = *Columns().ColumnAt(col);
  RECT area = GetCellRect(col, row);
  column.AdjustContentRect(area, RowLevelOf(row), Dpi());
  RECT bounds = GetBodyRect();
  // A scrolling column ends where the fixed columns begin.
  if (column.Position() >= FixedCols()) bounds.left += Columns().FixedWidth();
  return Clipped(area, bounds);
}

RECT TVxCustomGrid::InputEditArea(int col) {
  const TVxCustomColumn& column = *Columns().ColumnAt(col);
  const RECT input = GetInputRect();
  const int left = ColumnLeft(column);
  const RECT cell{left + 1, input.top, left + column.Width() - LineWidths().vertical,
                  input.bottom - LineWidths().horizontal};
  const RECT area = TextBand(cell, column.Font(), Dpi());
  RECT bounds = input;
  bounds.right = ClientWidth();
  if (column.Position() >= FixedCols()) bounds.left += Columns().FixedWidth();
  return Clipped(area, bounds);
}

bool TVxCustomGrid::OpenEditor(int col, int row, const std::wstring* typed) {
  TVxCustomColumn* column = Columns().ColumnAt(col);
  if (!column || !IsShownRow(row) || !CanEdit(*column, euEdit)) return false;
  if (edit_.open && !edit_.input && edit_.cell == TGridCell{col, row}) return true;
  bool accept = true;
  if (OnBeforeEdit) OnBeforeEdit(this, col, row, accept);
  if (!accept) return false;
  ApplyEdit();
  LeaveInputLine();
  // The handlers may have changed the rows or the columns.
  column = Columns().ColumnAt(col);
  if (!column || !IsShownRow(row) || !CanEdit(*column, euEdit)) return false;
  ScrollRowIntoView(row);
  ScrollColumnIntoView(col);
  std::wstring text = typed ? *typed : CellEditText(col, row);
  // The cell is followed while OnApplyEditText runs.
  edit_.cell = TGridCell{col, row};
  const unsigned session = edit_.session;
  if (OnApplyEditText) OnApplyEditText(this, col, row, text);
  if (edit_.session != session) return false;
  row = edit_.cell.Row;
  column = Columns().ColumnAt(col);
  if (!column || !IsShownRow(row) || !CanEdit(*column, euEdit)) return false;
  const RECT area = TextBand(EditArea(col, row), column->Font(), Dpi());
  if (::IsRectEmpty(&area)) return false;
  ShowEditor(*column, area, CellEditColor(col, row), text, typed != nullptr, false);
  if (OnEdit) OnEdit(this, col, row);
  return true;
}

bool TVxCustomGrid::OpenInputEditor(int col, const std::wstring* typed) {
  if (!Options().Contains(goInput)) return false;
  const TVxCustomColumn* column = Columns().ColumnAt(col);
  if (!column || !CanEdit(*column, euInput)) return false;
  if (edit_.open && edit_.input && edit_.cell.Col == col) return true;
  ApplyEdit();
  EnterInputLine();
  SelectCell(col, SelectedRow(), true, TShiftState{});
  if (SelectedColumn() != col || !InputLineActive()) return false;
  ScrollColumnIntoView(col);
  TVxCustomColumn* input = Columns().ColumnAt(col);
  if (!input || !CanEdit(*input, euInput)) return false;
  const RECT area = InputEditArea(col);
  if (::IsRectEmpty(&area)) return false;
  edit_.cell = TGridCell{col, -1};
  ShowEditor(*input, area, clWindow, typed ? *typed : input->InputEditValue(), typed != nullptr,
             true);
  if (OnEdit) OnEdit(this, col, -1);
  return true;
}

void TVxCustomGrid::ShowEditor(TVxCustomColumn& column, const RECT& area, TColor color,
                               const std::wstring& text, bool typed, bool input) {
  TWinControl* editor = column.InplaceEdit();
  TVxEdit* own = nullptr;
  if (editor) {
    // An outside editor visits the grid only while it edits.
    outsideEditor_ = editor;
    editorHomeParent_ = editor->Parent();
    editor->SetParent(this);
  } else {
    own = column.OwnEditor();
    if (own->Parent() != this) own->SetParent(this);
    column.PrepareEditor(*own);
    own->SetColor(color);
    own->SetFont(column.Font());
    editor = own;
  }
  ++edit_.session;
  edit_.open = true;
  edit_.input = input;
  edit_.editorRect = area;
  activeEditor_ = editor;
  editor->SetBounds(area.left, area.top, RectWidth(area), RectHeight(area));
  SetEditorText(*editor, text);
  editor->Show();
  editor->BringToFront();
  if (own) {
    // A typed first character is kept: the next one goes after it.
    if (column.Options().Contains(coEditorAutoSelect) && !typed)
      own->SelectAll();
    else
      own->CaretToEnd();
    own->SetEditHost(this);
  }
  if (HandleAllocated()) {
    ::InvalidateRect(Handle(), &area, FALSE);
    InvalidateIndicator();
    if (editor->CanFocus() && Showing()) editor->SetFocus();
  }
}

void TVxCustomGrid::HideEditor(TWinControl& editor, bool focusGrid) {
  auto* own = dynamic_cast<TVxEdit*>(&editor);
  if (own && own->EditHost() == this) own->SetEditHost(nullptr);
  if (focusGrid && editor.HandleAllocated() && ::GetFocus() == editor.Handle() && HandleAllocated())
    ::SetFocus(Handle());
  editor.Hide();
  if (&editor == outsideEditor_) {
    outsideEditor_ = nullptr;
    editor.SetParent(std::exchange(editorHomeParent_, nullptr));
  }
  if (HandleAllocated()) {
    ::InvalidateRect(Handle(), &edit_.editorRect, FALSE);
    InvalidateIndicator();
  }
}

void TVxCustomGrid::CloseEditor(bool apply, bool focusGrid) {
  const TGridCell cell = edit_.cell;
  const bool input = edit_.input;
  TWinControl* editor = activeEditor_;
  ++edit_.session;
  edit_.cell = TGridCell{};
  if (!edit_.open || !editor) {
    edit_.open = false;
    return;
  }
  const std::wstring text = EditorText(*editor);
  edit_.open = false;
  edit_.input = false;
  activeEditor_ = nullptr;
  HideEditor(*editor, focusGrid);
  if (apply && input) {
    if (TVxCustomColumn* column = Columns().ColumnAt(cell.Col)) column->SetInputValue(text);
    InvalidateInputLine();
  } else if (apply) {
    ApplyCellText(cell, text);
  }
  if (OnEditExit) OnEditExit(this, cell.Col, cell.Row);
}

void TVxCustomGrid::DropEditor() {
  TWinControl* editor = activeEditor_;
  ++edit_.session;
  edit_.cell = TGridCell{};
  edit_.open = false;
  edit_.input = false;
  activeEditor_ = nullptr;
  if (editor) HideEditor(*editor, true);
}

void TVxCustomGrid::ApplyCellText(TGridCell cell, std::wstring text) {
  edit_.cell = cell;
  const unsigned session = edit_.session;
  auto stillThere = [&] {
    return edit_.session == session && Columns().IsColumnIndex(edit_.cell.Col) &&
           edit_.cell.Row >= 0 && edit_.cell.Row < RowFacts().RowTotal();
  };
  bool accept = true;
  if (OnEditAccept) OnEditAccept(this, cell.Col, cell.Row, text, accept);
  if (accept && stillThere() && OnEditText) OnEditText(this, edit_.cell.Col, edit_.cell.Row, text);
  if (!accept || !stillThere()) {
    if (edit_.session == session) edit_.cell = TGridCell{};
    return;
  }
  cell = edit_.cell;
  edit_.cell = TGridCell{};
  WriteEditText(cell.Col, cell.Row, text);
  // The change handlers may have taken the row away.
  if (cell.Row >= RowFacts().RowTotal() || !Columns().IsColumnIndex(cell.Col)) return;
  const std::wstring value = CellEditText(cell.Col, cell.Row);
  if (OnAfterEdit) OnAfterEdit(this, cell.Col, cell.Row, value);
  if (OnCellValueChanged && cell.Row < RowFacts().RowTotal())
    OnCellValueChanged(this, cell.Col, cell.Row, value);
}

void TVxCustomGrid::AddInputRow() {
  TWinControl* editor = edit_.open && edit_.input ? activeEditor_ : nullptr;
  const int editCol = edit_.cell.Col;
  if (editor)
    if (TVxCustomColumn* column = Columns().ColumnAt(editCol))
      column->SetInputValue(EditorText(*editor));
  const unsigned session = edit_.session;
  bool accept = true;
  if (OnInputAccept) OnInputAccept(this, accept);
  if (!accept) return;
  const int row = AppendEditRow();
  if (row < 0) return;
  for (int col = 0; col < Columns().ColumnCount() && row < RowFacts().RowTotal(); ++col) {
    const std::wstring value = Columns().ColumnAt(col)->InputEditValue();
    if (!value.empty()) WriteEditText(col, row, value);
  }
  // The line starts again for the next row.
  for (int col = 0; col < Columns().ColumnCount(); ++col)
    Columns().ColumnAt(col)->SetInputValue(std::wstring());
  InvalidateInputLine();
  if (OnInputAdded) OnInputAdded(this);
  const TVxCustomColumn* column = Columns().ColumnAt(editCol);
  if (!editor || edit_.session != session || activeEditor_ != editor || !column) return;
  SetEditorText(*editor, column->DefaultValue());
  if (auto* own = dynamic_cast<TVxEdit*>(editor)) {
    if (column->Options().Contains(coEditorAutoSelect))
      own->SelectAll();
    else
      own->CaretToEnd();
  }
}

void TVxCustomGrid::EditorKeyDown(WORD& key, TShiftState shift) {
  if (Options().Contains(goInplaceEditEvents) && OnKeyDown) OnKeyDown(this, key, shift);
  switch (key) {
  case VK_TAB:
    key = 0;
    CloseEditor(true, true);
    break;
  case VK_RETURN:
    if (shift.Contains(ssCtrl)) break;
    key = 0;
    if (edit_.input)
      AddInputRow();
    else
      CloseEditor(true, true);
    break;
  case VK_ESCAPE:
    key = 0;
    if (Options().Contains(goEscClearEdit)) {
      if (activeEditor_) SetEditorText(*activeEditor_, std::wstring());
    } else {
      CloseEditor(false, true);
    }
    break;
  default:
    break;
  }
}

void TVxCustomGrid::EditorKeyPress(wchar_t& key) {
  if (Options().Contains(goInplaceEditEvents) && OnKeyPress) OnKeyPress(this, key);
}

void TVxCustomGrid::EditorFocusLeaving(HWND newFocus) {
  // Another application taking the focus leaves the edit open for the user's return.
  if (!newFocus || !HandleAllocated() || newFocus == Handle() || ::IsChild(Handle(), newFocus))
    return;
  // The focus leaves the grid from its editor: the edit is applied, then the grid is left.
  CloseEditor(true, false);
  DoExit();
}

void TVxCustomGrid::ControlRemoving(TWinControl* control) {
  if (control == activeEditor_) {
    // The editor is being freed or taken away: the edit ends without it.
    ++edit_.session;
    edit_.cell = TGridCell{};
    edit_.open = false;
    edit_.input = false;
    activeEditor_ = nullptr;
  }
  if (control == outsideEditor_) {
    // Freed or taken away while it edits: no column uses it again.
    outsideEditor_ = nullptr;
    editorHomeParent_ = nullptr;
    for (int i = 0; i < Columns().ColumnCount(); ++i)
      if (Columns().ColumnAt(i)->InplaceEdit() == control)
        Columns().ColumnAt(i)->SetInplaceEdit(nullptr);
  }
  TVxCustomGridControl::ControlRemoving(control);
}
