#pragma once
// TImageList: a comctl32 image list of equally sized images, owned.
#include <windows.h>
#include <commctrl.h>

#include "framework/graphics.h"
#include "framework/scoped_handle.h"

namespace fw {

struct ImageListTraits {
  using Handle = HIMAGELIST;
  static constexpr HandleKind kKind = HandleKind::ImageList;
  static void Close(HIMAGELIST h) { ImageList_Destroy(h); }
};
using ScopedImageList = ScopedHandle<ImageListTraits>;

class TImageList : public TPersistent {
 public:
  TImageList(int width = 16, int height = 16);

  int Width() const { return width_; }
  int Height() const { return height_; }
  // Empties the list and sets the image size.
  void SetSize(int width, int height);
  int Count() const;
  HIMAGELIST Handle() const { return list_.get(); }

  // Adds the bitmap cut into images of Width() pixels; pixels of the mask colour become
  // transparent. Returns the first new index, or -1.
  int AddMasked(TBitmap& bitmap, TColor mask_color);
  // Adds the bitmap with an optional monochrome mask.
  int Add(TBitmap& image, TBitmap* mask);
  // Loads a bitmap resource as images of Width() pixels, masked by mask_color.
  int AddResource(HINSTANCE instance, const std::string& name, TColor mask_color);
  void Draw(TCanvas& canvas, int x, int y, int index, bool enabled = true);
  void Clear();

 private:
  int width_, height_;
  ScopedImageList list_;
};

}  // namespace fw
