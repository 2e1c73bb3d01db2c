#pragma once
// In-place transformations of a 24-bit bitmap, done once per element copy (a mirrored
// combo button, tabs along the bottom or the sides), never per paint.
//
// Each operation needs a PixelFormat::kBgr24 bitmap: for any other format it returns false
// and leaves the bitmap untouched (callers convert a copy first). Empty bitmaps are fine.
#include "skin/store/pixel_bitmap.h"

namespace skin {

// The pixel at (x, y) moves to (width - 1 - x, y).
bool MirrorHorizontally(PixelBitmap& bitmap);
// Row y moves to row height - 1 - y.
bool FlipVertically(PixelBitmap& bitmap);
// 90 degrees counter-clockwise: width and height swap; (x, y) goes to (y, old width - 1 - x).
bool RotateLeft(PixelBitmap& bitmap);
// 90 degrees clockwise: width and height swap; (x, y) goes to (old height - 1 - y, x).
bool RotateRight(PixelBitmap& bitmap);

}  // namespace skin
