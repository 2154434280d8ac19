#pragma once
#include "grid/StyleDisplay.h"

// The hsAuto look: the platform theme's header items when themes are enabled, otherwise a
// raised frame whose edges between neighbouring headers are shortened by 2 pixels at each end.
class TDefaultStyleDisplay : public TStyleDisplay {
public:
  using TStyleDisplay::TStyleDisplay;
  int GetCapabilities() const override;
  void DrawHeaderBackground(const TVxCustomColumn& column, const RECT& rect) override;
  void DrawHeaderFace(const TVxCustomColumn& column, const RECT& rect) override;
  void DrawEmptyHeader(const RECT& rect) override;
  void DrawIndicatorCell(const RECT& rect, int kind) override;
  // The theme's header item, pressed, hot or normal; the classic face when the theme fails.
  virtual void DrawThemedHeaderFace(const TVxCustomColumn& column, const RECT& rect);
};
