#include "grid/HeaderDisplays.h"

#include "grid/DefaultStyleDisplay.h"
#include "grid/HeaderStyles.h"

THeaderDisplays::THeaderDisplays(TWinControl* owner) {
  displays_[hsAuto] = std::make_unique<TDefaultStyleDisplay>(owner);
  displays_[hsFlatBorders] = std::make_unique<TFlatStyleDisplay>(owner);
  displays_[hsOldStyle] = std::make_unique<TOldStyleDisplay>(owner);
  displays_[hsOutlook] = std::make_unique<TOutlookStyleDisplay>(owner);
  displays_[hsVista] = std::make_unique<TVistaStyleDisplay>(owner);
  active_ = displays_[hsAuto].get();
}

bool THeaderDisplays::SetHeaderStyle(uint8_t value) {
  headerStyle_ = value;
  if (value >= kHeaderStyleCount || displays_[value].get() == active_) return false;
  active_ = displays_[value].get();
  return true;
}

void THeaderDisplays::ThemeChanged() {
  for (auto& display : displays_)
    display->ThemeChanged();
}

void THeaderDisplays::PaintBeyondColumns(TCanvas& canvas, const RECT& clientRect, int columnsRight,
                                         int headerHeight, bool themesActive, TColor color) const {
  if (columnsRight >= clientRect.right) return;
  RECT fill = MakeRect(columnsRight, clientRect.top, clientRect.right, clientRect.bottom);
  if (themesActive && headerStyle_ == hsAuto && headerHeight > 0) {
    RECT band = fill;
    band.bottom = fill.top + headerHeight;
    active_->BeginPass(canvas, true);
    active_->DrawEmptyHeader(band);
    fill.top = band.bottom;
  }
  canvas.Brush().SetColor(ColorToRGB(color));
  canvas.FillRect(fill);
}
