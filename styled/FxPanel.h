#pragma once
#include "styled/FxCustomControl.h"
#include "styled/FxPanelFrame.h"
#include "ui/DpiLength.h"
#include "ui/Bitmap.h"

enum TFxCaptionPos : uint8_t {
  cpGroupBox,
  cpTopLeft,
  cpTopCenter,
  cpTopRight,
  cpMiddleLeft,
  cpMiddleCenter,
  cpMiddleRight,
  cpBottomLeft,
  cpBottomCenter,
  cpBottomRight
};

// A container with a rounded frame, a flat or gradient inside and a caption in one of ten
// places. The frame is rendered into a cached bitmap whenever something that shapes it changes;
// painting copies it and draws the caption. Children sit inside the frame.
class TFxPanel : public TFxCustomControl {
public:
  explicit TFxPanel(TComponent* owner);

  TFxCaptionPos CaptionPosition() const { return captionPosition_; }
  void SetCaptionPosition(TFxCaptionPos value);
  int CornerWidth() const { return frame_.CornerWidth; }
  void SetCornerWidth(int value);
  int BorderWidth() const { return frame_.BorderWidth; }
  void SetBorderWidth(int value);
  TColor BorderColor() const { return frame_.BorderColor; }
  void SetBorderColor(TColor value);
  TColor OuterColor() const { return frame_.OuterColor; }
  void SetOuterColor(TColor value);
  TColor TextShadowColor() const { return textShadowColor_; }
  void SetTextShadowColor(TColor value);
  // Antialiased and Gradient are never both set: Antialiased wins.
  bool Antialiased() const { return frame_.Antialiased; }
  void SetAntialiased(bool value);
  bool Gradient() const { return frame_.Gradient; }
  void SetGradient(bool value);
  TColor DefaultFrom() const { return frame_.DefaultFrom; }
  void SetDefaultFrom(TColor value);
  TColor DefaultTo() const { return frame_.DefaultTo; }
  void SetDefaultTo(TColor value);
  TGradientType GradientType() const { return frame_.GradientType; }
  void SetGradientType(TGradientType value);

  // The cached frame, the panel's size.
  const TBitmap& FrameImage() const { return image_; }
  // Height of the caption in the panel's font.
  int CaptionHeight();
  // Where the caption is drawn, and its DrawText flags.
  RECT CaptionRect(UINT& format);

  // Renders the cached frame again (not while the panel is read from a layout) and repaints.
  void UpdateImages() override;

  LONG AccessibleRole() const override;

protected:
  void CreateParams(TCreateParams& params) override;
  void Paint(TCanvas& canvas) override;
  void AdjustClientRect(RECT& rect) override;
  void Resized() override;
  // The corner and border widths the owner set follow the DPI; the frame is drawn again.
  void DpiChanged(int oldDpi, int newDpi) override;
  void TextChanged() override;
  void ColorChanged() override;
  void FontChanged() override;
  void ParentColorChanged() override;
  void Loaded() override;

private:
  // Renders the frame when a value that shapes it changed.
  void FrameChanged();

  TFxCaptionPos captionPosition_ = cpTopLeft;
  TColor textShadowColor_ = clWhite;
  TPanelFrame frame_;
  TDpiLength cornerWidth_{10};
  TDpiLength borderWidth_{2};
  TBitmap image_;
  bool ready_ = false;
};
