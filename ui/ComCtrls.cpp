#include "ui/ComCtrls.h"

#include <commctrl.h>

#include <algorithm>

// ---- TTabSheet -----------------------------------------------------------------------------

TTabSheet::TTabSheet(TComponent* owner) : TWinControl(owner) {
  SetVisible(false);
  SetAlign(alClient);
}

TTabSheet::~TTabSheet() {
  if (pageControl_) pageControl_->RemovePage(this);
}

void TTabSheet::SetPageControl(TPageControl* pageControl) {
  if (pageControl == pageControl_) return;
  if (pageControl_) pageControl_->RemovePage(this);
  SetParent(pageControl);
  if (pageControl) pageControl->InsertPage(this);
}

int TTabSheet::PageIndex() const {
  if (!pageControl_) return -1;
  const auto& pages = pageControl_->pages_;
  return static_cast<int>(std::find(pages.begin(), pages.end(), this) - pages.begin());
}

void TTabSheet::SetTabVisible(bool value) {
  if (value == tabVisible_) return;
  tabVisible_ = value;
  if (pageControl_) pageControl_->UpdateTabs();
}

void TTabSheet::CaptionChanged() {
  if (pageControl_ && tabVisible_) pageControl_->UpdateTabs();
}

// ---- TPageControl --------------------------------------------------------------------------

TPageControl::TPageControl(TComponent* owner) : TWinControl(owner) {
  SetTabStop(true);
  SetBounds(0, 0, 289, 193);
}

TPageControl::~TPageControl() {
  for (TTabSheet* page : pages_)
    page->pageControl_ = nullptr;
}

void TPageControl::CreateParams(TCreateParams& params) {
  static const bool registered = [] {
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_TAB_CLASSES};
    return ::InitCommonControlsEx(&icc) != FALSE;
  }();
  (void)registered;
  TWinControl::CreateParams(params);
  params.ClassName = WC_TABCONTROLW;
  params.Style |= WS_CLIPCHILDREN | WS_TABSTOP;
}

void TPageControl::CreateWnd() {
  UpdateTabs();
}

void TPageControl::InsertPage(TTabSheet* page) {
  page->pageControl_ = this;
  pages_.push_back(page);
  UpdateTabs();
  if (!activePage_) SetActivePage(page);
}

void TPageControl::RemovePage(TTabSheet* page) {
  page->pageControl_ = nullptr;
  std::erase(pages_, page);
  if (activePage_ == page) {
    activePage_ = nullptr;
    if (!pages_.empty() && !Destroying()) SetActivePage(pages_.front());
  }
  UpdateTabs();
}

void TPageControl::UpdateTabs() {
  tabs_.clear();
  for (TTabSheet* page : pages_)
    if (page->tabVisible_) tabs_.push_back(page);
  if (!HandleAllocated()) return;
  HWND window = Handle();
  ::SendMessageW(window, TCM_DELETEALLITEMS, 0, 0);
  for (size_t i = 0; i < tabs_.size(); ++i) {
    std::wstring text = tabs_[i]->Caption();
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = text.data();
    ::SendMessageW(window, TCM_INSERTITEMW, i, reinterpret_cast<LPARAM>(&item));
  }
  auto active = std::find(tabs_.begin(), tabs_.end(), activePage_);
  ::SendMessageW(window, TCM_SETCURSEL, active == tabs_.end() ? -1 : active - tabs_.begin(), 0);
  // The header rows may have changed, and with them the display area.
  Realign();
  Invalidate();
}

RECT TPageControl::DisplayRect() {
  RECT r = ClientRect();
  if (HandleAllocated())
    ::SendMessageW(Handle(), TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&r));
  return r;
}

void TPageControl::AdjustClientRect(RECT& rect) {
  rect = DisplayRect();
}

int TPageControl::ActivePageIndex() const {
  return activePage_ ? activePage_->PageIndex() : -1;
}

void TPageControl::SetActivePageIndex(int index) {
  SetActivePage(index >= 0 && index < PageCount() ? pages_[static_cast<size_t>(index)] : nullptr);
}

void TPageControl::SetActivePage(TTabSheet* page) {
  if (page && page->pageControl_ != this) return;
  if (page == activePage_) return;
  TTabSheet* old = activePage_;
  activePage_ = page;
  if (page) {
    page->SetVisible(true);
    page->BringToFront();
  }
  if (old) old->SetVisible(false);
  if (HandleAllocated()) {
    auto active = std::find(tabs_.begin(), tabs_.end(), page);
    ::SendMessageW(Handle(), TCM_SETCURSEL, active == tabs_.end() ? -1 : active - tabs_.begin(), 0);
  }
}

TTabSheet* TPageControl::FindNextPage(TTabSheet* current, bool goForward,
                                      bool checkTabVisible) const {
  int n = PageCount();
  if (n == 0) return nullptr;
  int start = current ? current->PageIndex() : -1;
  if (start < 0) start = goForward ? n - 1 : 0;
  for (int step = 1; step <= n; ++step) {
    int i = ((goForward ? start + step : start - step) % n + n) % n;
    TTabSheet* page = pages_[static_cast<size_t>(i)];
    if (!checkTabVisible || page->tabVisible_) return page;
  }
  return nullptr;
}

bool TPageControl::CanChange() {
  bool allow = true;
  if (OnChanging) OnChanging(this, allow);
  return allow;
}

void TPageControl::SelectNextPage(bool goForward, bool checkTabVisible) {
  TTabSheet* page = FindNextPage(activePage_, goForward, checkTabVisible);
  if (!page || page == activePage_ || !CanChange()) return;
  SetActivePage(page);
  if (OnChange) OnChange(this);
}

bool TPageControl::Notification(const NMHDR& header, LRESULT& result) {
  if (header.code == static_cast<UINT>(TCN_SELCHANGING)) {
    result = CanChange() ? FALSE : TRUE;
    return true;
  }
  if (header.code == static_cast<UINT>(TCN_SELCHANGE)) {
    LRESULT index = ::SendMessageW(Handle(), TCM_GETCURSEL, 0, 0);
    if (index >= 0 && static_cast<size_t>(index) < tabs_.size()) {
      SetActivePage(tabs_[static_cast<size_t>(index)]);
      if (OnChange) OnChange(this);
    }
    result = 0;
    return true;
  }
  return false;
}
