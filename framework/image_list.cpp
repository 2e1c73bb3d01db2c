#include "framework/image_list.h"

namespace fw {

TImageList::TImageList(int width, int height) : width_(width), height_(height) {
  SetSize(width, height);
}

void TImageList::SetSize(int width, int height) {
  width_ = width;
  height_ = height;
  list_.reset(ImageList_Create(width, height, ILC_COLOR24 | ILC_MASK, 4, 4));
}

int TImageList::Count() const { return list_ ? ImageList_GetImageCount(list_.get()) : 0; }

int TImageList::AddMasked(TBitmap& bitmap, TColor mask_color) {
  if (!list_ || bitmap.Empty()) return -1;
  // ImageList_AddMasked changes the bitmap it is given: hand it a copy.
  TBitmap copy;
  copy.Assign(bitmap);
  HBITMAP h = copy.ReleaseHandle();
  ScopedBitmap owned(h);
  return ImageList_AddMasked(list_.get(), owned.get(), ColorToRGB(mask_color));
}

int TImageList::Add(TBitmap& image, TBitmap* mask) {
  if (!list_ || image.Empty()) return -1;
  TBitmap copy;
  copy.Assign(image);
  ScopedBitmap owned(copy.ReleaseHandle());
  TBitmap mask_copy;
  ScopedBitmap owned_mask;
  if (mask) {
    mask_copy.Assign(*mask);
    owned_mask.reset(mask_copy.ReleaseHandle());
  }
  return ImageList_Add(list_.get(), owned.get(), owned_mask.get());
}

int TImageList::AddResource(HINSTANCE instance, const std::string& name, TColor mask_color) {
  TBitmap bitmap;
  bitmap.LoadFromResourceName(instance, name);
  return AddMasked(bitmap, mask_color);
}

void TImageList::Draw(TCanvas& canvas, int x, int y, int index, bool enabled) {
  if (!list_ || index < 0 || index >= Count()) return;
  ImageList_DrawEx(list_.get(), index, canvas.Handle(), x, y, 0, 0, CLR_NONE, CLR_DEFAULT,
                   enabled ? ILD_TRANSPARENT : (ILD_TRANSPARENT | ILD_BLEND50));
}

void TImageList::Clear() {
  if (list_) ImageList_RemoveAll(list_.get());
}

}  // namespace fw
