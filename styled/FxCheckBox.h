#pragma once
#include "styled/FxColors.h"
#include "styled/FxFrameCache.h"
#include "styled/FxCustomControl.h"
#include "ui/Bitmap.h"
#include "ui/DpiLength.h"

#include <string>

// A check box whose 13 x 13 box fades between three cached gradients (rest, hover, pressed);
// the mark is the program's "CHECK" bitmap in CheckColor, grey while disabled.
class TFxCheckBox : public TFxCustomControl {
public:
  static constexpr int kBoxSize = 13;

  explicit TFxCheckBox(TComponent* owner);

  TFxControlColors& Colors() { return colors_; }
  const TFxControlColors& Colors() const { return colors_; }

  TBorderLines BorderLines() const { return borderLines_; }
  void SetBorderLines(TBorderLines value);
  TColor BorderLinesColor() const { return borderLinesColor_; }
  void SetBorderLinesColor(TColor value);
  bool HotTrack() const { return hotTrack_; }
  void SetHotTrack(bool value);
  int Spacing() const { return spacing_; }
  void SetSpacing(int value);
  bool Checked() const { return checked_; }
  void SetChecked(bool value);
  bool ShowFocusRect() const { return showFocusRect_; }
  void SetShowFocusRect(bool value);
  TColor CheckColor() const { return checkColor_; }
  void SetCheckColor(TColor value);
  bool GradientBorder() const { return gradientBorder_; }
  void SetGradientBorder(bool value);

  // The box, in client coordinates of the off-screen image: (1, (height - 13) div 4), 13 x 13.
  RECT BoxRect() const;
  const TBitmap& RestImage() const { return rest_; }
  const TBitmap& HoverImage() const { return hover_; }
  const TBitmap& PressedImage() const { return pressed_; }
  // The mark as it is drawn now, tinted for the current colour and state (made once for each).
  const TBitmap& CheckMark();

  void UpdateImages() override;
  // Toggles Checked, then raises OnClick.
  void Click() override;

  LONG AccessibleRole() const override;
  LONG AccessibleState() const override;
  std::wstring AccessibleDefaultAction() const override;

protected:
  void Paint(TCanvas& canvas) override;
  bool ClicksOnSpace() const override { return true; }
  void FocusChanged() override { Invalidate(); }
  // The box, the mark and the caption's distance are drawn for the new DPI.
  void DpiChanged(int oldDpi, int newDpi) override;
  void MouseEntered() override;
  void MouseLeft() override;
  void LeftButtonDown() override;
  void LeftButtonUp() override;

private:
  // Everything a frame shows besides the fade levels and the font.
  struct TLook {
    int Width = 0, Height = 0;
    std::wstring Caption;
    bool Hot = false, Enabled = true, Checked = false, ShowCaption = true, TextShadow = true;
    bool GradientBorder = true;
    TColor Color = clNone, CheckColor = clNone, HotTrack = clNone, ShadowColor = clNone;
    TColor LinesColor = clNone;
    unsigned Lines = 0;
    int Spacing = 0;
    unsigned ImagesStamp = 0;
    bool operator==(const TLook&) const = default;
  };
  TLook CurrentLook();
  // Draws the control at the current fade levels into screen_ (all but the focus frame).
  void DrawFrame();

  TFxControlColors colors_{this};
  TBorderLines borderLines_;
  TColor borderLinesColor_ = clGray;
  bool hotTrack_ = false;
  TDpiLength spacing_{3};
  bool checked_ = false;
  bool showFocusRect_ = true;
  TColor checkColor_ = clGreen;
  bool gradientBorder_ = true;
  TBitmap rest_, hover_, pressed_;
  TBitmap frame_;
  TBitmap screen_;
  TFxFrameCache frames_;
  TLook look_;
  TFont lookFont_;
  unsigned imagesStamp_ = 0;
  TBitmap mark_;
  TColor markColor_ = clNone;
};
