#include "styled/FxColors.h"

#include "styled/FxCustomControl.h"

TFxCustomColors::TFxCustomColors(TFxCustomControl* owner) : owner_(owner) {}

TFxCustomColors::TFxCustomColors(TFxCustomControl* owner, TColor defaultFrom, TColor defaultTo)
    : owner_(owner), defaultFrom_(defaultFrom), defaultTo_(defaultTo) {}

void TFxCustomColors::SetColor(TColor& field, TColor value) {
  if (field == value) return;
  field = value;
  Changed();
}

void TFxCustomColors::Assign(const TFxCustomColors& source) {
  if (&source == this) return;
  if (source.AssignTo(*this)) Changed();
}

bool TFxCustomColors::AssignTo(TFxCustomColors& target) const {
  bool differs = target.defaultFrom_ != defaultFrom_ || target.defaultTo_ != defaultTo_ ||
                 target.overFrom_ != overFrom_ || target.overTo_ != overTo_;
  target.defaultFrom_ = defaultFrom_;
  target.defaultTo_ = defaultTo_;
  target.overFrom_ = overFrom_;
  target.overTo_ = overTo_;
  return differs;
}

TFxControlColors::TFxControlColors(TFxCustomControl* owner) : TFxCustomColors(owner) {}

void TFxControlColors::SetHotTrack(TColor value) {
  if (hotTrack_ == value) return;
  hotTrack_ = value;
  RepaintOwner();
}

void TFxControlColors::SetTextShadow(TColor value) {
  if (textShadow_ == value) return;
  textShadow_ = value;
  RepaintOwner();
}

void TFxControlColors::Changed() {
  if (Owner()) Owner()->UpdateImages();
}

void TFxControlColors::RepaintOwner() {
  if (Owner()) Owner()->Invalidate();
}

bool TFxControlColors::AssignTo(TFxCustomColors& target) const {
  bool differs = TFxCustomColors::AssignTo(target);
  auto* colors = dynamic_cast<TFxControlColors*>(&target);
  if (!colors) return differs;
  differs = differs || colors->clickedFrom_ != clickedFrom_ || colors->clickedTo_ != clickedTo_ ||
            colors->hotTrack_ != hotTrack_ || colors->borderColor_ != borderColor_ ||
            colors->textShadow_ != textShadow_;
  colors->clickedFrom_ = clickedFrom_;
  colors->clickedTo_ = clickedTo_;
  colors->hotTrack_ = hotTrack_;
  colors->borderColor_ = borderColor_;
  colors->textShadow_ = textShadow_;
  return differs;
}

TFxSplitterColors::TFxSplitterColors(TFxCustomControl* owner)
    : TFxCustomColors(owner, clBtnFace, clBtnFace) {}

void TFxSplitterColors::Changed() {
  if (Owner()) Owner()->Invalidate();
}
