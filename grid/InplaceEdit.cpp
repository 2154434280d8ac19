#include "grid/InplaceEdit.h"

namespace {

std::wstring WindowTextOf(HWND window) {
  std::wstring text(static_cast<size_t>(::GetWindowTextLengthW(window)) + 1, L'\0');
  text.resize(
      static_cast<size_t>(::GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
  return text;
}

} // namespace

TVxEdit::TVxEdit(TComponent* owner) : TWinControl(owner) {
  SetVisible(false);
  SetColor(clWindow);
  SetTabStop(false);
}

void TVxEdit::SetAlignment(TAlignment value) {
  if (alignment_ == value) return;
  alignment_ = value;
  // A single-line edit box reads its alignment when it is made.
  RecreateWnd();
}

void TVxEdit::SetMaxLength(int value) {
  if (maxLength_ == value) return;
  maxLength_ = value;
  if (HandleAllocated()) ::SendMessageW(Handle(), EM_LIMITTEXT, static_cast<WPARAM>(value), 0);
}

void TVxEdit::SetPasswordChar(wchar_t value) {
  if (passwordChar_ == value) return;
  passwordChar_ = value;
  if (HandleAllocated()) {
    ::SendMessageW(Handle(), EM_SETPASSWORDCHAR, value, 0);
    Invalidate();
  }
}

std::wstring TVxEdit::Text() const {
  return HandleAllocated() ? WindowTextOf(const_cast<TVxEdit*>(this)->Handle()) : text_;
}

void TVxEdit::SetText(const std::wstring& value) {
  text_ = value;
  if (HandleAllocated()) ::SetWindowTextW(Handle(), value.c_str());
}

void TVxEdit::SelectAll() {
  if (HandleAllocated()) ::SendMessageW(Handle(), EM_SETSEL, 0, -1);
}

void TVxEdit::CaretToEnd() {
  if (!HandleAllocated()) return;
  const int length = ::GetWindowTextLengthW(Handle());
  ::SendMessageW(Handle(), EM_SETSEL, static_cast<WPARAM>(length), length);
}

void TVxEdit::CreateParams(TCreateParams& params) {
  TWinControl::CreateParams(params);
  params.ClassName = L"EDIT";
  params.Style |= ES_AUTOHSCROLL;
  if (alignment_ == taRightJustify) params.Style |= ES_RIGHT;
  if (alignment_ == taCenter) params.Style |= ES_CENTER;
}

void TVxEdit::CreateWnd() {
  ::SetWindowTextW(Handle(), text_.c_str());
  ::SendMessageW(Handle(), EM_LIMITTEXT, static_cast<WPARAM>(maxLength_), 0);
  if (passwordChar_) ::SendMessageW(Handle(), EM_SETPASSWORDCHAR, passwordChar_, 0);
  // The cells draw their text two pixels in from the edge; the editor's text stays there.
  ::SendMessageW(Handle(), EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELPARAM(2, 2));
}

void TVxEdit::DestroyWnd() {
  text_ = WindowTextOf(Handle());
}

bool TVxEdit::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  switch (msg) {
  case WM_GETDLGCODE:
    // Enter, Escape and Tab end the edit: the editor takes them before the window does.
    result = DefaultHandler(msg, wParam, lParam) | DLGC_WANTALLKEYS | DLGC_WANTTAB;
    return true;
  case WM_KILLFOCUS: {
    // The host may close the edit and its handlers may free this control: it is told last.
    TVxEditHost* host = host_;
    if (!TWinControl::HandleMessage(msg, wParam, lParam, result))
      result = DefaultHandler(msg, wParam, lParam);
    if (host) host->EditorFocusLeaving(reinterpret_cast<HWND>(wParam));
    return true;
  }
  default:
    break;
  }
  return TWinControl::HandleMessage(msg, wParam, lParam, result);
}

void TVxEdit::KeyDown(WORD& key, TShiftState shift) {
  TWinControl::KeyDown(key, shift);
  // The host may close the edit; nothing here touches the control after it.
  if (key != 0 && host_) host_->EditorKeyDown(key, shift);
}

void TVxEdit::KeyPress(wchar_t& key) {
  TWinControl::KeyPress(key);
  if (key != 0 && host_) host_->EditorKeyPress(key);
  // A single-line edit box beeps at these; their key-down already did the work.
  if (key == L'\r' || key == L'\t' || key == 27) key = 0;
}

std::wstring EditorText(TWinControl& editor) {
  if (auto* own = dynamic_cast<TVxEdit*>(&editor)) return own->Text();
  return editor.HandleAllocated() ? WindowTextOf(editor.Handle()) : editor.Caption();
}

void SetEditorText(TWinControl& editor, const std::wstring& text) {
  if (auto* own = dynamic_cast<TVxEdit*>(&editor)) {
    own->SetText(text);
    return;
  }
  editor.SetCaption(text);
  if (editor.HandleAllocated()) ::SetWindowTextW(editor.Handle(), text.c_str());
}
