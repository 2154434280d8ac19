#pragma once
#include "ui/Bitmap.h"

#include <cstdint>
#include <functional>
#include <map>
#include <vector>

// The frames a fading control has drawn, by fade levels. A fade shows the same few frames every
// time (hover in steps of 10, press in steps of 25), so each is drawn once and kept until the
// control's look changes; a fade step then costs a copy instead of a drawing with text.
class TFxFrameCache {
public:
  // The key of a frame: the hover and press levels it shows.
  static int Key(int hoverLevel, int pressLevel) {
    return (hoverLevel + 100) * 256 + pressLevel + 100;
  }

  // Forgets every frame: something they show has changed.
  void Clear() { frames_.clear(); }
  // Puts the frame of key into image (the control's size), drawing it with draw (into image)
  // the first time.
  void Show(TBitmap& image, int key, const std::function<void()>& draw);
  // Copies the frame of key, at the look's size, to canvas through image. The frames are
  // forgotten first when the look or the font differs from those of the last paint (shown and
  // shownFont, which then take the new ones).
  template <typename Look>
  void Paint(TCanvas& canvas, TBitmap& image, int key, const std::function<void()>& draw,
             const Look& look, Look& shown, const TFont& font, TFont& shownFont) {
    if (!(look == shown) || !font.SameAs(shownFont)) {
      Clear();
      shown = look;
      shownFont.Assign(font);
    }
    image.SetSize(look.Width, look.Height);
    Show(image, key, draw);
    ::BitBlt(canvas.Handle(), 0, 0, look.Width, look.Height, image.Canvas().Handle(), 0, 0,
             SRCCOPY);
  }

private:
  std::map<int, std::vector<uint8_t>> frames_;
};
