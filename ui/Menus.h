#pragma once
#include "ui/Classes.h"

#include <windows.h>

#include <string>
#include <vector>

class TWinControl;

// One command of a menu. A caption of "-" makes a separator.
class TMenuItem : public TComponent {
public:
  explicit TMenuItem(TComponent* owner, const std::wstring& caption = L"")
      : TComponent(owner), caption_(caption) {}
  const std::wstring& Caption() const { return caption_; }
  void SetCaption(const std::wstring& caption) { caption_ = caption; }
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool value) { enabled_ = value; }
  bool Visible() const { return visible_; }
  void SetVisible(bool value) { visible_ = value; }
  bool Checked() const { return checked_; }
  void SetChecked(bool value) { checked_ = value; }
  // Runs OnClick (what choosing the item does).
  virtual void Click();
  TNotifyEvent OnClick;

private:
  std::wstring caption_;
  bool enabled_ = true;
  bool visible_ = true;
  bool checked_ = false;
};

// A context menu: its items in order, shown at a screen point; the chosen item's OnClick runs
// after the menu has closed. A control shows its PopupMenu on a right click or the menu key.
class TPopupMenu : public TComponent {
public:
  explicit TPopupMenu(TComponent* owner) : TComponent(owner) {}

  // Appends an item (owned by whoever made it).
  void Add(TMenuItem* item) { items_.push_back(item); }
  // Makes an item owned by the menu and appends it.
  TMenuItem* AddItem(const std::wstring& caption, TNotifyEvent onClick = {});
  int Count() const { return static_cast<int>(items_.size()); }
  TMenuItem* Items(int index) const { return items_.at(index); }

  // The control the menu was last shown for.
  TWinControl* PopupComponent() const { return popupComponent_; }
  void SetPopupComponent(TWinControl* control) { popupComponent_ = control; }

  void Popup(int x, int y);
  // Raised just before the menu shows.
  TNotifyEvent OnPopup;

protected:
  // Shows the menu and answers the chosen command (0: none). Tests override it to choose.
  virtual UINT TrackMenu(HMENU menu, int x, int y, HWND owner);

private:
  std::vector<TMenuItem*> items_;
  TWinControl* popupComponent_ = nullptr;
};
