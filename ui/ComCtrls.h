#pragma once
#include "ui/Control.h"

#include <functional>
#include <vector>

class TPageControl;

// One page of a page control: a plain container that fills the page control's display area
// while it is the active page. TabVisible hides its tab header (the page stays reachable
// through ActivePage and SelectNextPage).
class TTabSheet : public TWinControl {
public:
  explicit TTabSheet(TComponent* owner);
  ~TTabSheet() override;

  TPageControl* PageControl() const { return pageControl_; }
  // Appends the sheet to a page control (null takes it out).
  void SetPageControl(TPageControl* pageControl);
  int PageIndex() const;
  bool TabVisible() const { return tabVisible_; }
  void SetTabVisible(bool value);

protected:
  void CaptionChanged() override;

private:
  friend class TPageControl;
  TPageControl* pageControl_ = nullptr;
  bool tabVisible_ = true;
};

using TTabChangingEvent = std::function<void(TObject* Sender, bool& AllowChange)>;

// Pages with tab headers (the system's tab control). Only the active page is visible.
class TPageControl : public TWinControl {
public:
  explicit TPageControl(TComponent* owner);
  ~TPageControl() override;

  int PageCount() const { return static_cast<int>(pages_.size()); }
  TTabSheet* Pages(int index) const { return pages_.at(static_cast<size_t>(index)); }
  TTabSheet* ActivePage() const { return activePage_; }
  void SetActivePage(TTabSheet* page);
  int ActivePageIndex() const;
  void SetActivePageIndex(int index);
  // The page after (or before) current in page order, wrapping around; with checkTabVisible
  // only pages whose tab shows count. Null when there is none.
  TTabSheet* FindNextPage(TTabSheet* current, bool goForward, bool checkTabVisible) const;
  // Moves to FindNextPage(ActivePage) when OnChanging allows it, then raises OnChange.
  void SelectNextPage(bool goForward, bool checkTabVisible = true);
  // The area the pages fill, in client coordinates.
  RECT DisplayRect();

  TNotifyEvent OnChange;
  TTabChangingEvent OnChanging;

protected:
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;
  void AdjustClientRect(RECT& rect) override;
  bool Notification(const NMHDR& header, LRESULT& result) override;

private:
  friend class TTabSheet;
  void InsertPage(TTabSheet* page);
  void RemovePage(TTabSheet* page);
  void UpdateTabs();
  bool CanChange();

  std::vector<TTabSheet*> pages_;
  std::vector<TTabSheet*> tabs_; // the pages whose tab shows, in tab order
  TTabSheet* activePage_ = nullptr;
};
