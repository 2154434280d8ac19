#pragma once
#include "grid/Flyout.h"

#include <memory>
#include <string>

// The grid's own cursors, registered with the screen under these numbers.
constexpr int crHorzSplit = 3000;
constexpr int crColumnNoDrag = 3001;
constexpr int crVertSplit = 3002;
constexpr int crIndicatorSelect = 3003;

// The picture of a header that follows the pointer while a column is dragged.
class TColumnDragBox : public TVxFlyoutControl {
public:
  explicit TColumnDragBox(TComponent* owner) : TVxFlyoutControl(owner) {}
  void SetText(const std::wstring& text);

protected:
  void Paint(TCanvas& canvas) override;

private:
  std::wstring text_;
};

// A small arrow head pointing at the drop position, above or below the header band.
class TDragArrow : public TVxFlyoutControl {
public:
  TDragArrow(TComponent* owner, bool pointsDown);
  static constexpr int kSize = 9; // at 96 DPI

protected:
  void CreateWnd() override;
  void DpiChanged(int oldDpi, int newDpi) override;
  void Paint(TCanvas& canvas) override;

private:
  void SetShape();
  bool pointsDown_;
};

// The drag box and the two arrows of a column move.
class TColumnDrag {
public:
  TColumnDrag();
  ~TColumnDrag();
  TColumnDragBox& Box() { return *box_; }
  TDragArrow& UpArrow() { return *above_; }
  TDragArrow& DownArrow() { return *below_; }
  // Shows the arrows at a drop x (screen) over a header band from top to bottom (screen),
  // drawn for the grid's dpi.
  void ShowArrows(int x, int headerTop, int headerBottom, int dpi);
  void ShowBox();
  void HideArrows();
  void HideAll();

private:
  std::unique_ptr<TColumnDragBox> box_;
  std::unique_ptr<TDragArrow> above_;
  std::unique_ptr<TDragArrow> below_;
};
