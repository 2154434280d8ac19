#pragma once
#include "ui/Classes.h"
#include "ui/Color.h"
#include "ui/Dpi.h"
#include "ui/Handles.h"
#include "ui/Set.h"

#include <windows.h>

#include <cstdint>
#include <string>

enum TFontStyle : uint8_t { fsBold, fsItalic, fsUnderline, fsStrikeOut };
using TFontStyles = TSet<TFontStyle, uint8_t>;

// A logical font: name, size, colour and style, with its GDI font made on first use and
// remade after a change. The size is given either in pixels at 96 DPI (Height; < 0 is the
// character height, the usual form) or in points (Size). The GDI font is made for the font's
// Dpi: a height scales by Dpi / 96 as every other length of the layout, a point size becomes
// points * Dpi / 72 pixels, as the system sizes a point font; each rounds once, to the nearest
// pixel. A control keeps its font at its own DPI, and a copy or an Assign carries the DPI along,
// so text drawn with a control's font (on any canvas) comes out at that control's scale. The
// default is the classic Windows dialog font, MS Sans Serif 8 point (height -11) in
// clWindowText.
class TFont : public TObject {
public:
  TFont() = default;
  // Copies the attributes, not the handle or the event.
  TFont(const TFont& other);
  TFont& operator=(const TFont&) = delete;

  const std::wstring& Name() const { return name_; }
  void SetName(const std::wstring& name);
  // In pixels at 96 DPI.
  int Height() const { return height_; }
  void SetHeight(int height);
  int Size() const;
  void SetSize(int points);
  // The DPI the GDI font is made for.
  int Dpi() const { return dpi_; }
  void SetDpi(int dpi);
  // The height of the GDI font: Height or Size at Dpi.
  int PixelHeight() const;
  TColor Color() const { return color_; }
  void SetColor(TColor color);
  TFontStyles Style() const { return style_; }
  void SetStyle(TFontStyles style);
  BYTE Charset() const { return charset_; }
  void SetCharset(BYTE charset);

  // Takes every attribute of source, its DPI too unless the font is a canvas's that draws for
  // a DPI of its own; raises OnChange once when something differed.
  void Assign(const TFont& source);
  bool SameAs(const TFont& other) const;

  // The GDI font; owned by this object, valid until the next change.
  HFONT Handle() const;

  // Raised after any attribute changed.
  TNotifyEvent OnChange;

private:
  friend class TCanvas;
  void Changed();
  static int PixelHeightAt(int height, int points, int dpi);

  std::wstring name_ = L"MS Sans Serif";
  int height_ = -11;
  int points_ = 0; // the size set in points, 0 when set as a height
  int dpi_ = kDesignDpi;
  bool dpiFixed_ = false; // by the canvas that holds the font
  TColor color_ = clWindowText;
  TFontStyles style_;
  BYTE charset_ = DEFAULT_CHARSET;
  mutable TGdiObject handle_;
  // The canvas that has this font selected puts its DC's own font back before the handle goes.
  std::function<void()> releasing_;
};
