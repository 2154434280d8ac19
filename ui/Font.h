#pragma once
#include "ui/Classes.h"
#include "ui/Color.h"
#include "ui/Handles.h"
#include "ui/Set.h"

#include <windows.h>

#include <cstdint>
#include <string>

enum TFontStyle : uint8_t { fsBold, fsItalic, fsUnderline, fsStrikeOut };
using TFontStyles = TSet<TFontStyle, uint8_t>;

// A logical font: name, height, colour and style, with its GDI font made on first use and
// remade after a change. Height < 0 is the character height in pixels (the usual form);
// Size is in points at the screen's resolution. The default is the classic Windows dialog
// font, MS Sans Serif 8 point (height -11) in clWindowText.
class TFont : public TObject {
public:
  TFont() = default;
  // Copies the attributes, not the handle or the event.
  TFont(const TFont& other);
  TFont& operator=(const TFont&) = delete;

  const std::wstring& Name() const { return name_; }
  void SetName(const std::wstring& name);
  int Height() const { return height_; }
  void SetHeight(int height);
  int Size() const;
  void SetSize(int points);
  TColor Color() const { return color_; }
  void SetColor(TColor color);
  TFontStyles Style() const { return style_; }
  void SetStyle(TFontStyles style);
  BYTE Charset() const { return charset_; }
  void SetCharset(BYTE charset);

  // Takes every attribute of source; raises OnChange once when something differed.
  void Assign(const TFont& source);
  bool SameAs(const TFont& other) const;

  // The GDI font; owned by this object, valid until the next change.
  HFONT Handle() const;

  // Raised after any attribute changed.
  TNotifyEvent OnChange;

  // Pixels per logical inch of the screen.
  static int PixelsPerInch();

private:
  friend class TCanvas;
  void Changed();

  std::wstring name_ = L"MS Sans Serif";
  int height_ = -11;
  TColor color_ = clWindowText;
  TFontStyles style_;
  BYTE charset_ = DEFAULT_CHARSET;
  mutable TGdiObject handle_;
  // The canvas that has this font selected puts its DC's own font back before the handle goes.
  std::function<void()> releasing_;
};
