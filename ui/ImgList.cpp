#include "ui/ImgList.h"

#include "ui/Bitmap.h"
#include "ui/Canvas.h"
#include "ui/Exception.h"

TImageList::TImageList(TComponent* owner, int width, int height)
    : TComponent(owner), width_(width), height_(height) {
  Create();
}

void TImageList::Create() {
  list_.Reset(ImageList_Create(width_, height_, ILC_COLOR24 | ILC_MASK, 4, 4));
  if (!list_) throw EOutOfResources("Failed to create the image list");
}

void TImageList::SetSize(int width, int height) {
  if (width == width_ && height == height_) return;
  width_ = width;
  height_ = height;
  Create();
}

int TImageList::Count() const {
  return ImageList_GetImageCount(list_.Get());
}

int TImageList::Add(const TBitmap& image) {
  TGdiObject copy = image.CopyHandle();
  if (!copy) return -1;
  return ImageList_Add(list_.Get(), static_cast<HBITMAP>(copy.Get()), nullptr);
}

int TImageList::AddMasked(const TBitmap& image, TColor maskColor) {
  TGdiObject copy = image.CopyHandle();
  if (!copy) return -1;
  return ImageList_AddMasked(list_.Get(), static_cast<HBITMAP>(copy.Get()), ColorToRGB(maskColor));
}

int TImageList::AddIcon(HICON icon) {
  return icon ? ImageList_AddIcon(list_.Get(), icon) : -1;
}

void TImageList::Delete(int index) {
  if (index < 0 || index >= Count())
    throw EListError("List index out of bounds (" + std::to_string(index) + ")");
  ImageList_Remove(list_.Get(), index);
}

void TImageList::Clear() {
  ImageList_RemoveAll(list_.Get());
}

void TImageList::Draw(TCanvas& canvas, int x, int y, int index, bool enabled) const {
  if (index < 0 || index >= Count()) return;
  HDC dc = canvas.Handle();
  if (enabled) {
    ImageList_Draw(list_.Get(), index, dc, x, y, ILD_TRANSPARENT);
    return;
  }
  IMAGELISTDRAWPARAMS params{};
  params.cbSize = sizeof params;
  params.himl = list_.Get();
  params.i = index;
  params.hdcDst = dc;
  params.x = x;
  params.y = y;
  params.rgbBk = CLR_NONE;
  params.rgbFg = CLR_DEFAULT;
  params.fStyle = ILD_TRANSPARENT;
  params.fState = ILS_SATURATE;
  ImageList_DrawIndirect(&params);
}
