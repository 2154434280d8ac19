// TWinControl: visibility, enabling, caption, colour, font and cursor.
#include "ui/Control.h"

#include "ui/Screen.h"

void TWinControl::SetVisible(bool visible) {
  if (visible == visible_) return;
  visible_ = visible;
  if (handle_) {
    // Children and pop-ups that refuse activation appear without taking it.
    bool quiet = parent_ || (::GetWindowLongW(handle_, GWL_EXSTYLE) & WS_EX_NOACTIVATE);
    ::ShowWindow(handle_, visible ? (quiet ? SW_SHOWNA : SW_SHOW) : SW_HIDE);
  } else if (visible && !parent_)
    CreateHandle();
  VisibleChanged();
  if (align_ != alNone) RequestParentRealign();
}

bool TWinControl::Showing() const {
  for (const TWinControl* c = this; c; c = c->parent_)
    if (!c->visible_) return false;
  return true;
}

void TWinControl::SetEnabled(bool enabled) {
  if (enabled == enabled_) return;
  enabled_ = enabled;
  if (handle_) ::EnableWindow(handle_, enabled);
  EnabledChanged();
}

void TWinControl::SetCaption(const std::wstring& caption) {
  if (caption == caption_) return;
  caption_ = caption;
  if (handle_) ::SetWindowTextW(handle_, caption_.c_str());
  CaptionChanged();
}

void TWinControl::SetColor(TColor color) {
  if (color == color_ && !parentColor_) return;
  parentColor_ = false;
  if (color == color_) return;
  color_ = color;
  ColorChanged();
  NotifyColorToChildren();
}

void TWinControl::SetParentColor(bool value) {
  if (value == parentColor_) return;
  parentColor_ = value;
  if (value && parent_ && color_ != parent_->color_) {
    color_ = parent_->color_;
    ColorChanged();
    NotifyColorToChildren();
  }
}

void TWinControl::NotifyColorToChildren() {
  for (TWinControl* child : controls_) {
    if (child->parentColor_ && child->color_ != color_) {
      child->color_ = color_;
      child->ColorChanged();
      child->NotifyColorToChildren();
    }
    child->ParentColorChanged();
  }
}

void TWinControl::SetFont(const TFont& font) {
  TFont atOurDpi(font);
  atOurDpi.SetDpi(dpi_);
  font_.Assign(atOurDpi);
}

void TWinControl::SetParentFont(bool value) {
  if (value == parentFont_) return;
  parentFont_ = value;
  if (value && parent_) {
    TScopedValue taking(takingParentFont_, true);
    font_.Assign(parent_->font_);
  }
}

void TWinControl::NotifyFontToChildren() {
  for (TWinControl* child : controls_) {
    if (!child->parentFont_) continue;
    TScopedValue taking(child->takingParentFont_, true);
    child->font_.Assign(font_);
  }
}

void TWinControl::SetCursor(int cursor) {
  if (cursor == cursor_) return;
  cursor_ = cursor;
  POINT p;
  if (handle_ && ::GetCursorPos(&p) && ::WindowFromPoint(p) == handle_ &&
      Screen().Cursor() == crDefault)
    ::SetCursor(Screen().Cursors(cursor_));
}
