#pragma once
#include "ui/Color.h"

class TFxCustomControl;

// The gradient colours of a styled control's rest and hover looks. A setter that changes a value
// calls Changed, which the kinds of colour set answer differently.
class TFxCustomColors {
public:
  explicit TFxCustomColors(TFxCustomControl* owner);
  virtual ~TFxCustomColors() = default;
  TFxCustomColors(const TFxCustomColors&) = delete;
  TFxCustomColors& operator=(const TFxCustomColors&) = delete;

  TFxCustomControl* Owner() const { return owner_; }

  TColor DefaultFrom() const { return defaultFrom_; }
  void SetDefaultFrom(TColor value) { SetColor(defaultFrom_, value); }
  TColor DefaultTo() const { return defaultTo_; }
  void SetDefaultTo(TColor value) { SetColor(defaultTo_, value); }
  TColor OverFrom() const { return overFrom_; }
  void SetOverFrom(TColor value) { SetColor(overFrom_, value); }
  TColor OverTo() const { return overTo_; }
  void SetOverTo(TColor value) { SetColor(overTo_, value); }

  // Copies source's colours onto this set: all of them when both sets are control colours,
  // else the four that every colour set has. Changed runs once when anything differed.
  void Assign(const TFxCustomColors& source);

protected:
  TFxCustomColors(TFxCustomControl* owner, TColor defaultFrom, TColor defaultTo);
  virtual void Changed() {}
  void SetColor(TColor& field, TColor value);
  // Copies the colours this kind holds onto target; answers whether any value differed.
  virtual bool AssignTo(TFxCustomColors& target) const;

private:
  TFxCustomControl* owner_;
  TColor defaultFrom_ = clWhite;
  TColor defaultTo_ = 13745839;
  TColor overFrom_ = clWhite;
  TColor overTo_ = 12489846;
};

// The colour set of buttons and check boxes: a change of a gradient colour re-renders the
// owner's cached images; the caption colours only need a repaint.
class TFxControlColors : public TFxCustomColors {
public:
  explicit TFxControlColors(TFxCustomControl* owner);

  TColor ClickedFrom() const { return clickedFrom_; }
  void SetClickedFrom(TColor value) { SetColor(clickedFrom_, value); }
  TColor ClickedTo() const { return clickedTo_; }
  void SetClickedTo(TColor value) { SetColor(clickedTo_, value); }
  TColor BorderColor() const { return borderColor_; }
  void SetBorderColor(TColor value) { SetColor(borderColor_, value); }
  TColor HotTrack() const { return hotTrack_; }
  void SetHotTrack(TColor value);
  TColor TextShadow() const { return textShadow_; }
  void SetTextShadow(TColor value);

protected:
  void Changed() override;
  bool AssignTo(TFxCustomColors& target) const override;

private:
  void RepaintOwner();

  TColor clickedFrom_ = 13029334;
  TColor clickedTo_ = 15463415;
  TColor hotTrack_ = clBlue;
  TColor borderColor_ = clGray;
  TColor textShadow_ = clWhite;
};

// The splitter colours the style component carries; a change only repaints the owner.
class TFxSplitterColors : public TFxCustomColors {
public:
  explicit TFxSplitterColors(TFxCustomControl* owner);

protected:
  void Changed() override;
};
