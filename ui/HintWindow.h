#pragma once
#include "ui/Control.h"

#include <string>

// A small pop-up that shows a hint text (the system's tooltip colours) without taking the
// focus or activating itself.
class THintWindow : public TWinControl {
public:
  explicit THintWindow(TComponent* owner);

  // The size the text needs, frame and margins included, its lines broken at wrapWidth.
  SIZE CalcHintSize(const std::wstring& text, int wrapWidth = kWrapWidth);
  // Shows text at the screen point (top-left corner), sized to fit.
  void ActivateHint(POINT screenPoint, const std::wstring& text, int wrapWidth = kWrapWidth);
  static constexpr int kWrapWidth = 300;
  // Hides the window.
  void ReleaseHint();
  bool Active() const { return Visible(); }

protected:
  void CreateParams(TCreateParams& params) override;
  void Paint(TCanvas& canvas) override;
  bool HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
};
