#pragma once
#include "ui/Control.h"

// A small floating window over everything: a top-most tool window without a taskbar entry
// that saves the pixels under it and does not erase its background.
class TVxFlyoutControl : public TWinControl {
public:
  explicit TVxFlyoutControl(TComponent* owner);

protected:
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;
};

// The roll-mode marker: an up arrow head, a down arrow head and a dot in grey text colour,
// 32 x 32 pixels at 96 DPI, placed so that the dot sits at the anchor. It is drawn for the DPI
// it is given (ChangeDpi) before it shows.
class TRollShadow : public TVxFlyoutControl {
public:
  explicit TRollShadow(TComponent* owner);
  // Shows the marker around a screen point.
  void ShowAt(POINT screenAnchor);
  // The marker's shape in its own coordinates at dpi (a region the caller owns).
  static HRGN CreateShape(int dpi = kDesignDpi);

protected:
  void CreateWnd() override;
  void Paint(TCanvas& canvas) override;
  void DpiChanged(int oldDpi, int newDpi) override;
};
