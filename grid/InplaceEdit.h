#pragma once
#include "ui/Control.h"

#include <string>

// What the grid hears from its in-place editor: the keys that may end an edit, and the focus
// leaving the editor (for the window newFocus, null when it leaves the application).
class TVxEditHost {
public:
  virtual ~TVxEditHost() = default;
  virtual void EditorKeyDown(WORD& key, TShiftState shift) = 0;
  virtual void EditorKeyPress(wchar_t& key) = 0;
  virtual void EditorFocusLeaving(HWND newFocus) = 0;
};

// The grid's own in-place edit control: a borderless single-line system edit box. A column with
// an editor class owns one; the grid places it over a cell, fills it and shows it while the
// cell is edited. The text lives in the window while the window exists.
class TVxEdit : public TWinControl {
public:
  explicit TVxEdit(TComponent* owner = nullptr);

  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment value);
  // 0: no limit.
  int MaxLength() const { return maxLength_; }
  void SetMaxLength(int value);
  // 0: the text is shown as typed.
  wchar_t PasswordChar() const { return passwordChar_; }
  void SetPasswordChar(wchar_t value);
  std::wstring Text() const;
  void SetText(const std::wstring& value);
  void SelectAll();
  // Puts the caret after the last character, nothing selected.
  void CaretToEnd();

  // The grid editing through this control; null while no grid listens.
  TVxEditHost* EditHost() const { return host_; }
  void SetEditHost(TVxEditHost* host) { host_ = host; }

protected:
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;
  void DestroyWnd() override;
  bool HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
  void KeyDown(WORD& key, TShiftState shift) override;
  void KeyPress(wchar_t& key) override;

private:
  TAlignment alignment_ = taLeftJustify;
  int maxLength_ = 0;
  wchar_t passwordChar_ = 0;
  std::wstring text_; // the text while there is no window
  TVxEditHost* host_ = nullptr;
};

// The text of an editor control: the grid's own edit, or the window text of any other.
std::wstring EditorText(TWinControl& editor);
void SetEditorText(TWinControl& editor, const std::wstring& text);
