#pragma once
#include "styled/FxDrawCore.h"
#include "ui/Dpi.h"

// How a styled panel's rounded frame looks; the panel fills one in from its properties.
struct TPanelFrame {
  int CornerWidth = 10;
  int BorderWidth = 2;
  TColor BorderColor = clGray;
  TColor OuterColor = clBtnFace;
  TColor Color = 14933983;
  // The frame's top runs through the middle of a caption this high (0: no caption in the line).
  int CaptionHeight = 0;
  bool Antialiased = true;
  bool Gradient = false;
  TColor DefaultFrom = clWhite;
  TColor DefaultTo = 14933983;
  TGradientType GradientType = gtVertical;
  // The DPI the frame is drawn for: the smoothed band's margin beyond the corner scales with it.
  int Dpi = kDesignDpi;
};

// Renders the frame into target (the panel's size). An antialiased frame is drawn three times
// larger and averaged down in its outer band, half of CornerWidth + 20 (at 96 DPI) wide (at the top
// at least down to the frame's top line); the rest is the flat Color. Only that band is drawn at
// the larger size, in four strips, so a resize of a big panel costs its edges, not its area.
void RenderPanelFrame(TBitmap& target, const TPanelFrame& frame);
