#pragma once
#include "styled/FxDrawCore.h"
#include "ui/Bitmap.h"

#include <string>
#include <utility>
#include <vector>

// A caption drawn once and laid over any background in row memory. Fades repaint a control
// at every timer tick while its caption stays the same; drawing text is the dearest part of a
// paint, so the caption (shadow and text, as DrawCaptionText draws them) is drawn twice, on
// black and on white, which gives for every pixel what it adds and how much background it
// lets through. Laying it over a background then gives the same pixels as drawing it there.
class TFxCaptionLayer {
public:
  struct TCaption {
    std::wstring Text;
    TFont Font;
    TColor ShadowColor = clWhite;
    bool Shadow = true;
    UINT Format = 0;
    RECT Rect{0, 0, 0, 0};
    bool Enabled = true;
    SIZE Size{0, 0}; // of the image the caption is laid over
  };

  // Lays caption over dest (the caption's image size), drawing it first when it differs from
  // the one drawn last.
  void Apply(TBitmap& dest, const TCaption& caption);

private:
  void Draw(const TCaption& caption);

  TCaption drawn_;
  bool valid_ = false;
  TBitmap onBlack_, onWhite_;
  std::vector<std::pair<int, int>> spans_; // per row: first and past-last byte touched
};
