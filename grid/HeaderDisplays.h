#pragma once
#include "grid/StyleDisplay.h"

#include <array>
#include <cstdint>
#include <memory>

// The grid's five header displays, one per THeaderStyle, and the one in use. The stored style
// may be any byte (a window layout may name a style outside the five, as the found-files grid
// does); such a value keeps the display that was active.
class THeaderDisplays {
public:
  explicit THeaderDisplays(TWinControl* owner);

  uint8_t HeaderStyle() const { return headerStyle_; }
  // Answers whether the active display changed (the header then needs a repaint; the grid
  // repaints the whole control on any change of the style anyway).
  bool SetHeaderStyle(uint8_t value);
  TStyleDisplay& Active() const { return *active_; }
  TStyleDisplay& Display(THeaderStyle style) const { return *displays_[style]; }
  void ThemeChanged();

  // Paints the area right of the last column (columnsRight) up to the client's right edge:
  // with themes active and hsAuto stored, the header band (headerHeight, 0 without a header)
  // is an empty themed header item and only the rest is filled with color; for any other
  // stored style the fill covers the full height from the top. Nothing when the columns reach
  // the client's right edge.
  void PaintBeyondColumns(TCanvas& canvas, const RECT& clientRect, int columnsRight,
                          int headerHeight, bool themesActive, TColor color) const;

private:
  std::array<std::unique_ptr<TStyleDisplay>, kHeaderStyleCount> displays_;
  TStyleDisplay* active_;
  uint8_t headerStyle_ = hsAuto;
};
