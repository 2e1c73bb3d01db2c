#pragma once
// Windows icon files (.ico): a directory of square images, each stored as a 32-bit DIB
// (blue, green, red, alpha; rows bottom-up) followed by its one-bit AND mask, which marks
// the fully transparent pixels for drawers that ignore alpha.
#include <cstdint>
#include <vector>

#include "skin/store/pixel_bitmap.h"

namespace skingen {

// The .ico file of `images`, in the order given: each a square 32-bit bitmap (straight,
// not premultiplied, alpha) of 1 to 256 pixels. Empty when an image does not qualify or
// there is none.
std::vector<uint8_t> EncodeIco(const std::vector<skin::PixelBitmap>& images);

}  // namespace skingen
