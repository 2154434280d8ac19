#include "ui/Menus.h"

#include "ui/Control.h"
#include "ui/Exception.h"
#include "ui/Handles.h"

void TMenuItem::Click() {
  if (OnClick) OnClick(this);
}

TMenuItem* TPopupMenu::AddItem(const std::wstring& caption, TNotifyEvent onClick) {
  TMenuItem* item = Make<TMenuItem>(caption);
  item->OnClick = std::move(onClick);
  Add(item);
  return item;
}

UINT TPopupMenu::TrackMenu(HMENU menu, int x, int y, HWND owner) {
  // The owner must be in front, or the menu does not close when the user clicks elsewhere.
  if (owner) ::SetForegroundWindow(owner);
  UINT command = static_cast<UINT>(
      ::TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_LEFTALIGN | TPM_TOPALIGN, x, y,
                       0, owner, nullptr));
  if (owner) ::PostMessageW(owner, WM_NULL, 0, 0);
  return command;
}

void TPopupMenu::Popup(int x, int y) {
  if (OnPopup) OnPopup(this);
  TMenuHandle menu(::CreatePopupMenu());
  if (!menu) throw EOutOfResources("Out of system resources");
  for (size_t i = 0; i < items_.size(); ++i) {
    const TMenuItem* item = items_[i];
    if (!item->Visible()) continue;
    if (item->Caption() == L"-") {
      ::AppendMenuW(menu.Get(), MF_SEPARATOR, 0, nullptr);
      continue;
    }
    UINT flags = MF_STRING | (item->Enabled() ? 0 : MF_GRAYED) | (item->Checked() ? MF_CHECKED : 0);
    ::AppendMenuW(menu.Get(), flags, i + 1, item->Caption().c_str());
  }
  HWND owner = popupComponent_ ? popupComponent_->TopLevel()->Handle() : ::GetActiveWindow();
  UINT command = TrackMenu(menu.Get(), x, y, owner);
  if (command >= 1 && command <= items_.size()) items_[command - 1]->Click();
}
