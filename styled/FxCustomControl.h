#pragma once
#include "styled/FxDrawCore.h"
#include "ui/Control.h"

#include <cstdint>
#include <memory>
#include <string>

class TFxStyleManager;

// The base of the styled controls: double-buffered and focusable, with a caption shadow switch,
// a link to the shared style component, and the hover and press fading that buttons and check
// boxes run on a window timer. The platform's notifications arrive as the operations below, so
// every styled control reacts to them in one way.
class TFxCustomControl : public TWinControl {
public:
  // State bits.
  static constexpr uint8_t kMouseOver = 1;
  static constexpr uint8_t kLeftPressed = 2;
  // The window timer that drives the fade.
  static constexpr UINT_PTR kFadeTimerId = 1;
  // Posted to itself when a screen reader asks for the default action (a click).
  static constexpr UINT kAccessibleActionMessage = WM_USER + 0x100;

  explicit TFxCustomControl(TComponent* owner);
  ~TFxCustomControl() override;

  bool TextShadow() const { return textShadow_; }
  void SetTextShadow(bool value);
  bool ShowCaption() const { return showCaption_; }
  void SetShowCaption(bool value);
  TFxStyleManager* FxStyleManager() const { return styleManager_; }
  void SetFxStyleManager(TFxStyleManager* manager);

  TFadeSpeed FadeSpeed() const { return fadeSpeed_; }
  // Takes effect at the next start of the fade.
  void SetFadeSpeed(TFadeSpeed value) { fadeSpeed_ = value; }

  // Percent of the way to the hover and the pressed look; 0 at rest.
  int32_t HoverLevel() const { return hoverLevel_; }
  int32_t PressLevel() const { return pressLevel_; }
  uint8_t StateFlags() const { return state_; }
  // The interval the fade timer runs at, 0 while no fade runs.
  UINT FadeTimerInterval() const { return fadeInterval_; }

  // Re-renders the cached images (sizes or colours changed).
  virtual void UpdateImages() = 0;

  // What a screen reader is told (the name is the caption). A role of 0 leaves the window to
  // the system's standard answer.
  virtual LONG AccessibleRole() const { return 0; }
  virtual LONG AccessibleState() const;
  // Empty when the control has no action; else what a click does ("Press", "Check").
  virtual std::wstring AccessibleDefaultAction() const { return {}; }

protected:
  // Stores value in field and repaints; nothing when the field already holds it.
  template <typename T> void SetAndRepaint(T& field, const T& value) {
    if (field == value) return;
    field = value;
    Invalidate();
  }
  // Whether the control has the focus, as its focus messages told it: painting asks at every
  // fade step, and asking the system is far dearer than a paint.
  bool HasFocus() const { return hasFocus_; }

  // Space (without shift keys) clicks the control.
  virtual bool ClicksOnSpace() const { return false; }

  using TFadeStep = void (TFxCustomControl::*)();

  virtual void FocusChanged() {}
  virtual void LeftButtonDown();
  virtual void LeftButtonUp() {}
  virtual void MouseEntered();
  virtual void MouseLeft();
  virtual void MouseMoved() {}
  virtual void Resized() {}
  virtual void TextChanged();
  virtual void FadeOutStep();
  virtual void FadeInStep();

  // Both come from the platform under the same names.
  void EnabledChanged() override;
  void ParentColorChanged() override {}

  void SetHoverLevel(int32_t value) { hoverLevel_ = value; }
  void SetPressLevel(int32_t value) { pressLevel_ = value; }
  void SetStateFlags(uint8_t value) { state_ = value; }
  // The step the next timer message runs (&TFxCustomControl::FadeInStep or FadeOutStep).
  void ChooseFadeStep(TFadeStep step) { fadeStep_ = step; }
  // Restarts the fade timer at the interval of FadeSpeed, replacing a running one.
  void StartFade();
  void StopFade();
  // Choose the step and start the fade: what hover, press and release ask for.
  void FadeIn();
  void FadeOut();

  bool HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
  void DestroyWnd() override;
  void DoEnter() override;
  void DoExit() override;
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseMove(TShiftState shift, int x, int y) override;
  void KeyDown(WORD& key, TShiftState shift) override;
  void MouseEnter() override;
  void MouseLeave() override;
  void Resize() override;
  void CaptionChanged() override;

private:
  friend class TFxStyleManager;

  bool textShadow_ = true;
  bool showCaption_ = true;
  TFxStyleManager* styleManager_ = nullptr;
  int32_t hoverLevel_ = 0;
  int32_t pressLevel_ = 0;
  uint8_t state_ = 0;
  TFadeSpeed fadeSpeed_ = fsMedium;
  TFadeStep fadeStep_ = &TFxCustomControl::FadeInStep;
  UINT fadeInterval_ = 0;
  // Set by a left press in the control, cleared when it ends: a release inside then clicks.
  bool clickPending_ = false;
  bool hasFocus_ = false;
};
