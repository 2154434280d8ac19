#pragma once
#include "grid/StyleDisplay.h"

// The four classic header looks besides the default one.

// hsFlatBorders: the header colour with one grey line on the right and the bottom.
class TFlatStyleDisplay : public TStyleDisplay {
public:
  using TStyleDisplay::TStyleDisplay;
  void DrawHeaderFace(const TVxCustomColumn& column, const RECT& rect) override;
  void DrawIndicatorCell(const RECT& rect, int kind) override;
};

// hsOldStyle: button face inset by one pixel in a highlight / window-frame 3-D frame.
class TOldStyleDisplay : public TStyleDisplay {
public:
  using TStyleDisplay::TStyleDisplay;
  int GetCapabilities() const override { return kInvertsPressedHeader; }
  void DrawHeaderFace(const TVxCustomColumn& column, const RECT& rect) override;
  void DrawIndicatorCell(const RECT& rect, int kind) override;
};

// hsOutlook: raised edges with three lines below the bottom edge shaded from the button shadow
// towards the header colour; the caption keeps clear of them.
class TOutlookStyleDisplay : public TStyleDisplay {
public:
  using TStyleDisplay::TStyleDisplay;
  int GetCapabilities() const override { return kInvertsPressedHeader; }
  void AdjustTextRect(RECT& rect) override { rect.bottom -= 3; }
  void DrawHeaderFace(const TVxCustomColumn& column, const RECT& rect) override;
  void DrawIndicatorCell(const RECT& rect, int kind) override;
};
// The shading amounts (of 256) of the three lines next to an Outlook shadow edge, outermost
// first.
constexpr int kOutlookShades[3] = {50, 100, 150};

// hsVista: a two-tone face (button face above, white below) with white highlight lines and its
// own small white sort arrow at the top centre.
class TVistaStyleDisplay : public TStyleDisplay {
public:
  using TStyleDisplay::TStyleDisplay;
  int GetCapabilities() const override { return kDrawsOwnSortArrow; }
  void AdjustTextRect(RECT& rect) override { rect.left += 2; }
  void DrawSortArrow(POINT pos, bool ascending) override;
  void DrawHeaderFace(const TVxCustomColumn& column, const RECT& rect) override;
};
