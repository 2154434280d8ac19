#pragma once
#include "styled/FxCustomControl.h"
#include "ui/Bitmap.h"
#include "ui/DpiLength.h"

#include <string>

enum TProgressBarOrientation : uint8_t { pbHorizontal, pbVertical };

// A percentage shown as a gradient bar with the percentage written over it. The full-size
// gradient is rendered once; the bar shows the part of it that the percentage covers, so the
// colours do not stretch as the bar grows.
class TFxProgressBar : public TFxCustomControl {
public:
  explicit TFxProgressBar(TComponent* owner);

  TColor DefaultFrom() const { return defaultFrom_; }
  void SetDefaultFrom(TColor value);
  TColor DefaultTo() const { return defaultTo_; }
  void SetDefaultTo(TColor value);
  TGradientType GradientType() const { return gradientType_; }
  void SetGradientType(TGradientType value);

  int Max() const { return max_; }
  void SetMax(int value);
  int Min() const { return min_; }
  void SetMin(int value);
  int Position() const { return position_; }
  void SetPosition(int value);
  int Step() const { return step_; }
  void SetStep(int value) { step_ = value; }
  // The percentage shown, 0 to 100.
  int Percent() const { return percent_; }

  TBorderLines BorderLines() const { return borderLines_; }
  void SetBorderLines(TBorderLines value);
  TColor BorderColor() const { return borderColor_; }
  void SetBorderColor(TColor value);
  int BorderWidth() const { return borderWidth_; }
  void SetBorderWidth(int value);
  TProgressBarOrientation Orientation() const { return orientation_; }
  void SetOrientation(TProgressBarOrientation value);
  bool ShowText() const { return showText_; }
  void SetShowText(bool value);

  // The cached full-size gradient.
  const TBitmap& GradientImage() const { return image_; }
  // Where the bar is drawn inside client, before the border shrink.
  RECT BarRect(const RECT& client) const;
  // The text written over the bar ("33%", "33% Caption", "Caption", or empty).
  std::wstring BarText() const;

  void UpdateImages() override;

protected:
  void Paint(TCanvas& canvas) override;
  void Resized() override;
  // The gap the owner set follows the DPI; the edge lines stay one pixel thin.
  void DpiChanged(int oldDpi, int newDpi) override;

private:
  TColor defaultFrom_ = 11966334;
  TColor defaultTo_ = 14734025;
  TGradientType gradientType_ = gtVertical;
  int max_ = 100;
  int min_ = 0;
  int position_ = 0;
  int step_ = 1;
  int percent_ = 0;
  TBorderLines borderLines_{blTop, blBottom, blLeft, blRight};
  TColor borderColor_ = clGray;
  TDpiLength borderWidth_{1};
  TProgressBarOrientation orientation_ = pbHorizontal;
  bool showText_ = true;
  TBitmap image_;
};
