#pragma once
#include "grid/PaintTypes.h"
#include "ui/Canvas.h"
#include "ui/Dpi.h"

#include <memory>

// How the grid control uses these painting units (for whoever wires them into TVxGrid). A
// paint goes: body rows, filler rows, focus rectangle, headers, the band beyond the columns,
// the empty grid's caption.
//
//   - Body: BodyPainter.h gives the columns a paint visits (ColumnSpans: fixed columns are
//     never painted over), the two scrolling areas and the filler rows. For each shown row
//     from TopRow the grid fills a TCellPaint per span (CellPaintFor, then `selected` from
//     PaintsAsSelected, the hint, the editor rect and, in cell selection, `focusRect`) and
//     calls PaintCell (CellPainter.h). The grid implements TCellPaintClient: it raises its
//     painting events there and hands the content and the hint mark to the column's display,
//     whose cell rect is the content rect the painter passes (the painter has already filled
//     the cell). In full-row selection the grid then draws FullRowFocusRect with
//     DrawGridFocusRect when FocusRectWanted. The colour arithmetic is PaintColors.h.
//   - Headers: the grid owns a THeaderDisplays (HeaderDisplays.h): five displays, one active,
//     chosen by SetHeaderStyle (a stored style outside the five keeps the active one). Before
//     the header pass it calls BeginPass on the active display with the paint canvas (font =
//     the grid's font), whether themes are enabled (EnableVisualStyles and
//     VisualStylesActive()), the pressed header column (while a click on it is in progress,
//     else -1; a column without coCanClick never looks pressed), the hovered header column (-1
//     for none) and whether the grid reads right to left. Then DrawHeader, DrawInputCell and
//     DrawFooter per visible column with its header, input or footer rectangle,
//     DrawStripBackground for the input and footer strips beyond the columns and
//     DrawIndicatorCell for the corners (kind 0 for the header and input corners, 1 for the
//     footer's); a row's indicator cell is DrawIndicatorRow then DrawIndicatorMark.
//     THeaderDisplays::PaintBeyondColumns paints the area right of the columns.
//   - With no row shown, DrawEmptyCaption (CellPainter.h) draws the grid's Caption.
//   - After a theme change (WM_THEMECHANGED) the grid calls ThemeChanged on the displays.
//
// Nothing here raises from a paint: a theme that fails draws the classic look instead.

class TBitmap;
class THeaderTheme;
class TVxCustomColumn;
class TWinControl;

// Capability flags of a display.
constexpr int kDrawsThemed = 1;
constexpr int kInvertsPressedHeader = 2;
constexpr int kDrawsOwnSortArrow = 4;

// Draws everything of the grid that is not a cell: headers, the empty header band, footer and
// input cells, the strips beyond the columns and the indicator strip. The base class draws a
// plain raised look; the subclasses are the five header styles.
class TStyleDisplay {
public:
  // owner gives the window whose theme is used; it may be null (no window: the default theme).
  explicit TStyleDisplay(TWinControl* owner);
  TStyleDisplay(const TStyleDisplay&) = delete;
  TStyleDisplay& operator=(const TStyleDisplay&) = delete;
  virtual ~TStyleDisplay();

  // The state of one header pass (see the note at the top of this file).
  void BeginPass(TCanvas& canvas, bool themesEnabled, int pressedColumn = -1, int hotColumn = -1,
                 bool rightToLeft = false);
  TCanvas* Canvas() const { return canvas_; }
  bool ThemesEnabled() const { return themesEnabled_; }
  bool DefaultDrawing() const { return defaultDrawing_; }
  void SetDefaultDrawing(bool value) { defaultDrawing_ = value; }
  bool DisplayMedia() const { return displayMedia_; }
  void SetDisplayMedia(bool value) { displayMedia_ = value; }
  // Uses another theme access (the default one reads the platform theme).
  void SetTheme(std::unique_ptr<THeaderTheme> theme);
  void ThemeChanged();

  virtual int GetHeaderMargin(const TVxCustomColumn& column) const;
  virtual int GetCapabilities() const { return 0; }
  // Narrows the caption's rectangle before the caption is drawn.
  virtual void AdjustTextRect(RECT&) {}
  // The arrow's box is 9 x 8 pixels from pos; the themed or classic look follows the display.
  virtual void DrawSortArrow(POINT pos, bool ascending);
  virtual void DrawFooterContent(const TVxCustomColumn& column, const RECT& rect);
  // Caption, glyph, sort arrow and pressed look: common to every style.
  virtual void DrawHeaderContent(const TVxCustomColumn& column, const RECT& rect);
  virtual void DrawStripBackground(const RECT& rect);
  virtual void DrawIndicatorCell(const RECT& rect, int kind);
  virtual void DrawFooter(const TVxCustomColumn& column, const RECT& rect, bool framed);
  virtual void DrawHeader(const TVxCustomColumn& column, const RECT& rect);
  virtual void DrawHeaderBackground(const TVxCustomColumn& column, const RECT& rect);
  virtual void DrawIndicatorRow(const RECT& rect);
  virtual void DrawIndicatorMark(const RECT& rect, bool selected, bool focused, bool editing);
  virtual void DrawInputCell(const TVxCustomColumn& column, const RECT& rect);
  virtual void DrawEmptyHeader(const RECT& rect);
  virtual void DrawHeaderFace(const TVxCustomColumn& column, const RECT& rect);

protected:
  // Whether this display draws themed now (themes enabled and the display can).
  bool Themed() const { return themesEnabled_ && (GetCapabilities() & kDrawsThemed); }
  bool Pressed(const TVxCustomColumn& column) const;
  bool Hot(const TVxCustomColumn& column) const;
  // Draws through the theme; false when the theme failed and the classic look must be drawn.
  bool DrawThemePart(int part, int state, const RECT& rect);
  TCanvas& Cv() const { return *canvas_; }
  // The owner's DPI (96 without an owner), and a length written for 96 DPI at it.
  int Dpi() const;
  int Scaled(int value) const { return ScaleForDpi(value, Dpi()); }
  void Fill(const RECT& rect, TColor color);
  // A one-pixel frame: light on the top and left edges, dark on the bottom and right.
  void Frame3D(const RECT& rect, TColor light, TColor dark);

private:
  void DrawCaption(const TVxCustomColumn& column, RECT rect);

  TWinControl* owner_;
  TCanvas* canvas_ = nullptr;
  std::unique_ptr<THeaderTheme> theme_;
  bool themesEnabled_ = false;
  bool defaultDrawing_ = true;
  bool displayMedia_ = true;
  bool rightToLeft_ = false;
  int pressedColumn_ = -1;
  int hotColumn_ = -1;
};

// Where a header's caption starts and where its glyph lies (pure: from the measured widths).
struct THeaderPlacement {
  int captionX = 0;
  int glyphX = 0;
};
THeaderPlacement PlaceHeaderContent(const RECT& rect, TAlignment alignment, int captionWidth,
                                    int glyphWidth, bool sorted, int dpi = kDesignDpi);
// The sort arrow's top-left point for a caption starting at captionX and measured captionWidth
// wide, and whether it is drawn in a header ending at right.
POINT SortArrowPos(const RECT& rect, int captionX, int captionWidth, int dpi = kDesignDpi);
bool SortArrowShown(POINT pos, int right, bool hideArrow, int dpi = kDesignDpi);
