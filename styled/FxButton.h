#pragma once
#include "styled/FxColors.h"
#include "styled/FxFrameCache.h"
#include "styled/FxCustomControl.h"
#include "ui/Bitmap.h"
#include "ui/DpiLength.h"

#include <string>

enum TButtonLayout : uint8_t { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };

// Where a button draws its glyph: caption is the caption rectangle (already moved aside for
// the glyph), glyph and text the sizes, withText whether a caption is shown.
POINT ButtonGlyphPosition(TButtonLayout layout, const RECT& caption, SIZE glyph, SIZE text,
                          bool withText, int spacing, int width, int height);

// A push button drawn from three cached gradients (rest, hover, pressed) that fade into each
// other; with a GroupIndex above 0 it latches down like one key of a set of radio keys.
class TFxButton : public TFxCustomControl {
public:
  explicit TFxButton(TComponent* owner);

  TFxControlColors& Colors() { return colors_; }
  const TFxControlColors& Colors() const { return colors_; }

  // Kept for the layout; the framework has no modal forms to hand it to.
  int ModalResult() const { return modalResult_; }
  void SetModalResult(int value) { modalResult_ = value; }
  // The glyph is kept as a transparent 24-bit copy; its bottom-left pixel's colour is left out.
  const TBitmap& Glyph() const { return glyph_; }
  void SetGlyph(const TBitmap& glyph);
  // The glyph from a bitmap resource of the program, drawn for the button's DPI: it is loaded
  // again, at the size drawn for the new scale, whenever the DPI changes.
  void SetGlyphResource(const std::wstring& name);
  int Spacing() const { return spacing_; }
  void SetSpacing(int value) { spacing_.Set(value < 0 ? 0 : value, Dpi()); }
  TButtonLayout Layout() const { return layout_; }
  void SetLayout(TButtonLayout value);
  bool ShowFocusRect() const { return showFocusRect_; }
  void SetShowFocusRect(bool value);
  bool HotTrack() const { return hotTrack_; }
  void SetHotTrack(bool value);
  // Enter clicks a Default button, Escape a Cancel one, wherever the focus is in the window.
  bool Default() const { return default_; }
  void SetDefault(bool value) { default_ = value; }
  bool Cancel() const { return cancel_; }
  void SetCancel(bool value) { cancel_ = value; }
  bool GradientBorder() const { return gradientBorder_; }
  void SetGradientBorder(bool value);
  int GroupIndex() const { return groupIndex_; }
  void SetGroupIndex(int value) { groupIndex_ = value; }
  bool AllowAllUp() const { return allowAllUp_; }
  void SetAllowAllUp(bool value) { allowAllUp_ = value; }
  // Latched; only for group buttons, and a button comes up only when the group allows it.
  bool Down() const { return down_; }
  void SetDown(bool value);
  TGradientType GradientType() const { return gradientType_; }
  void SetGradientType(TGradientType value);

  // The cached looks, the button's size.
  const TBitmap& RestImage() const { return rest_; }
  const TBitmap& HoverImage() const { return hover_; }
  const TBitmap& PressedImage() const { return pressed_; }
  // The caption rectangle, moved aside for the glyph.
  RECT CaptionRect();

  void UpdateImages() override;
  void Click() override;

  LONG AccessibleRole() const override;
  LONG AccessibleState() const override;
  std::wstring AccessibleDefaultAction() const override { return L"Press"; }

protected:
  void Paint(TCanvas& canvas) override;
  bool DialogKey(WORD key, TShiftState shift) override;
  bool ClicksOnSpace() const override { return true; }
  void Resized() override { UpdateImages(); }
  void FocusChanged() override { Invalidate(); }
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
    bool Hot = false, Enabled = true, ShowCaption = true, TextShadow = true;
    bool GradientBorder = true;
    TColor Color = clNone, BorderColor = clNone, HotTrack = clNone, ShadowColor = clNone;
    TButtonLayout Layout = blGlyphLeft;
    int Spacing = 0;
    unsigned ImagesStamp = 0, GlyphStamp = 0;
    bool operator==(const TLook&) const = default;
  };
  TLook CurrentLook();
  // Draws the frame of the current fade levels into frame_ (the painting steps but the focus
  // frame).
  void DrawFrame();
  // Another button of the same parent and group is down.
  bool AnotherDown() const;

  TFxControlColors colors_{this};
  int modalResult_ = 0;
  // The glyph as the owner gave it, and what it is drawn from (kept transparent).
  void TakeGlyph(const TBitmap& glyph);
  TBitmap glyph_;
  TBitmap disabledGlyph_;
  std::wstring glyphResource_;
  TDpiLength spacing_{2};
  TButtonLayout layout_ = blGlyphLeft;
  bool showFocusRect_ = true;
  bool hotTrack_ = false;
  bool default_ = false;
  bool cancel_ = false;
  bool gradientBorder_ = true;
  int groupIndex_ = 0;
  bool allowAllUp_ = false;
  bool down_ = false;
  TGradientType gradientType_ = gtVertical;
  TBitmap rest_, hover_, pressed_;
  TBitmap frame_;
  // The frames drawn for the current look: a fade step copies one of them.
  TFxFrameCache frames_;
  TLook look_;
  TFont lookFont_;
  unsigned imagesStamp_ = 0, glyphStamp_ = 0;
};
