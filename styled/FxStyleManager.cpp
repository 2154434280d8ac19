#include "styled/FxStyleManager.h"

#include "styled/FxCustomControl.h"

#include <algorithm>

TFxStyleManager::TFxStyleManager(TComponent* owner) : TComponent(owner) {}

TFxStyleManager::~TFxStyleManager() {
  // The controls outlive their style component here: they drop the reference, and removals
  // from the list while it is being walked are skipped.
  destroying_ = true;
  for (TFxCustomControl* control : controls_)
    control->styleManager_ = nullptr;
  controls_.clear();
}

void TFxStyleManager::Assign(const TFxStyleManager& source) {
  if (&source == this) return;
  colors_.Assign(source.colors_);
  splitterColors_.Assign(source.splitterColors_);
  font_.Assign(source.font_);
  showFocusRect_ = source.showFocusRect_;
  hotTrack_ = source.hotTrack_;
  gradientBorder_ = source.gradientBorder_;
  textShadow_ = source.textShadow_;
  checkColor_ = source.checkColor_;
  fadeSpeed_ = source.fadeSpeed_;
  panelColor_ = source.panelColor_;
  borderColor_ = source.borderColor_;
}

void TFxStyleManager::AddControl(TFxCustomControl* control) {
  if (std::find(controls_.begin(), controls_.end(), control) == controls_.end())
    controls_.push_back(control);
}

void TFxStyleManager::RemoveControl(TFxCustomControl* control) {
  if (destroying_) return;
  controls_.erase(std::remove(controls_.begin(), controls_.end(), control), controls_.end());
}
