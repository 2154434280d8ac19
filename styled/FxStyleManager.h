#pragma once
#include "styled/FxColors.h"
#include "styled/FxDrawCore.h"
#include "ui/Classes.h"
#include "ui/Font.h"

#include <vector>

class TFxCustomControl;

// One shared set of style values and the styled controls that refer to it. Setting a value
// stores it only; the controls keep their own looks.
class TFxStyleManager : public TComponent {
public:
  explicit TFxStyleManager(TComponent* owner);
  ~TFxStyleManager() override;

  TFxControlColors& Colors() { return colors_; }
  const TFxControlColors& Colors() const { return colors_; }
  TFxSplitterColors& SplitterColors() { return splitterColors_; }
  const TFxSplitterColors& SplitterColors() const { return splitterColors_; }
  TFont& Font() { return font_; }
  const TFont& Font() const { return font_; }

  bool ShowFocusRect() const { return showFocusRect_; }
  void SetShowFocusRect(bool value) { showFocusRect_ = value; }
  bool HotTrack() const { return hotTrack_; }
  void SetHotTrack(bool value) { hotTrack_ = value; }
  bool GradientBorder() const { return gradientBorder_; }
  void SetGradientBorder(bool value) { gradientBorder_ = value; }
  bool TextShadow() const { return textShadow_; }
  void SetTextShadow(bool value) { textShadow_ = value; }
  TColor CheckColor() const { return checkColor_; }
  void SetCheckColor(TColor value) { checkColor_ = value; }
  TFadeSpeed FadeSpeed() const { return fadeSpeed_; }
  void SetFadeSpeed(TFadeSpeed value) { fadeSpeed_ = value; }
  TColor PanelColor() const { return panelColor_; }
  void SetPanelColor(TColor value) { panelColor_ = value; }
  TColor BorderColor() const { return borderColor_; }
  void SetBorderColor(TColor value) { borderColor_ = value; }

  // Copies every value, both colour sets and the font of source.
  void Assign(const TFxStyleManager& source);

  // The controls whose FxStyleManager is this component, in the order they joined.
  const std::vector<TFxCustomControl*>& ControlList() const { return controls_; }

private:
  friend class TFxCustomControl;
  void AddControl(TFxCustomControl* control);
  void RemoveControl(TFxCustomControl* control);

  TFxControlColors colors_{nullptr};
  TFxSplitterColors splitterColors_{nullptr};
  TFont font_;
  bool showFocusRect_ = true;
  bool hotTrack_ = false;
  bool gradientBorder_ = true;
  bool textShadow_ = true;
  TColor checkColor_ = clGreen;
  TFadeSpeed fadeSpeed_ = fsMedium;
  TColor panelColor_ = 14933983;
  TColor borderColor_ = clGray;
  std::vector<TFxCustomControl*> controls_;
  bool destroying_ = false;
};
