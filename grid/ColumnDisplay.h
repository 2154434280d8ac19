#pragma once
#include "ui/Canvas.h"
#include "ui/Dpi.h"
#include "ui/Types.h"

#include <windows.h>

#include <string>

class TVxCustomColumn;
class TWinControl;

// Where a w x h box lies inside rect with a 2-pixel margin (at 96 DPI, scaled to dpi), by the
// horizontal and vertical alignment (halves truncate toward zero); the answer is its top-left
// corner.
POINT PlaceBox(const RECT& rect, int w, int h, TAlignment alignment,
               TVerticalAlignment verticalAlignment, int dpi = kDesignDpi);

// The cell displays keep the themes they draw with open; a window whose theme changed has
// them let go, and the next drawing opens them again.
void ForgetColumnThemes();

// The DrawTextW format for a column's cell text: alignment, reading order, wrapping and
// ellipsis from the column. Measuring leaves the ellipsis out.
UINT CellTextFormat(const TVxCustomColumn& column, bool measuring);

// The values of the cell a display draws or a play operates; the grid loads them before each
// use, and nothing is kept from one use to the next.
class TVirtualColElement {
public:
  explicit TVirtualColElement(TVxCustomColumn& column) : OwnerColumn(&column) {}
  virtual ~TVirtualColElement() = default;
  TVirtualColElement(const TVirtualColElement&) = delete;
  TVirtualColElement& operator=(const TVirtualColElement&) = delete;

  bool PlayBool = false;
  int PlayInt = 0;
  std::wstring DrawnText;
  TCanvas* TargetCanvas = nullptr;
  RECT CellRect{0, 0, 0, 0};
  TVxCustomColumn* const OwnerColumn;
  // The grid, for themed drawing and its DPI; without one (or without its window) the
  // classic look at 96 DPI.
  TWinControl* ThemeOwner = nullptr;
  int RowChildCount = 0;
  bool RowExpanded = false;
  int RowLevel = 0;
  bool IsSelectedCell = false;

  int Dpi() const;
  // A length written for 96 DPI at the grid's DPI.
  int Scaled(int value) const { return ScaleForDpi(value, Dpi()); }
};

// The tree column's expand button in cell coordinates (relative to the cell's top-left
// corner) for a row at level in a cell h pixels high, at dpi.
RECT TreeButtonBox(int level, int h, int dpi);

// Draws the content of any cell of its column.
class TColumnDisplay : public TVirtualColElement {
public:
  using TVirtualColElement::TVirtualColElement;
  // The cell rectangle less 2 pixels (at 96 DPI) on the left and the right.
  virtual RECT ContentRect() const;
  virtual void DrawCellText(const std::wstring& text, const RECT& rect);
  // The red corner triangle of a cell with a hint.
  virtual void DrawHintMark();
  // The width the content needs (auto-fit and the fit hint).
  virtual int NeededWidth();
  // The height the content needs (a row's auto-fit).
  virtual int NeededHeight();
  // Width and height of DrawnText as drawn, from ContentRect, without clipping.
  virtual SIZE MeasureText();
  virtual void PaintCell() = 0;
};

class TTextColumnDisplay : public TColumnDisplay {
public:
  using TColumnDisplay::TColumnDisplay;
  void PaintCell() override;
};

class TImageColumnDisplay : public TColumnDisplay {
public:
  using TColumnDisplay::TColumnDisplay;
  int NeededWidth() override;
  int NeededHeight() override;
  void PaintCell() override;
};

class TCheckBoxColumnDisplay : public TColumnDisplay {
public:
  using TColumnDisplay::TColumnDisplay;
  int NeededWidth() override;
  int NeededHeight() override { return NeededWidth(); }
  void PaintCell() override;
  virtual void DrawCheckBox(const RECT& rect, bool ticked, bool pressed, bool hot);
  // Where the box of a cell whose content lies in rect is drawn: at the theme's size, or at
  // the classic size where no theme opens or the theme's drawing failed last time. A click
  // must hit exactly that box.
  RECT BoxIn(const RECT& rect);

private:
  int drawnSize_ = 0; // the size the last drawing used; 0 before any
};

class TTreeColumnDisplay : public TColumnDisplay {
public:
  using TColumnDisplay::TColumnDisplay;
  int NeededWidth() override;
  void PaintCell() override;
};
