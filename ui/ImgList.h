#pragma once
#include "ui/Classes.h"
#include "ui/Color.h"
#include "ui/Handles.h"

#include <windows.h>

#include <commctrl.h>

class TBitmap;
class TCanvas;

// A list of equally sized images (a system image list, freed with the component).
class TImageList : public TComponent {
public:
  explicit TImageList(TComponent* owner, int width = 16, int height = 16);

  int Width() const { return width_; }
  int Height() const { return height_; }
  // Changing the size empties the list.
  void SetSize(int width, int height);
  int Count() const;

  // Each answers the index of the (first) new image, or -1 when the list refused it.
  // A bitmap wider than Width adds one image per Width-wide strip.
  int Add(const TBitmap& image);
  // Pixels of maskColor become transparent.
  int AddMasked(const TBitmap& image, TColor maskColor);
  // The list keeps its own copy of the icon.
  int AddIcon(HICON icon);
  void Delete(int index);
  void Clear();

  // Draws image index with its top-left corner at (x, y); a disabled image is drawn greyed.
  void Draw(TCanvas& canvas, int x, int y, int index, bool enabled = true) const;
  HIMAGELIST Handle() const { return list_.Get(); }

private:
  void Create();

  int width_, height_;
  TImageListHandle list_;
};
