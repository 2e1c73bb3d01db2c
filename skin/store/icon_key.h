#pragma once
// A window icon as a picture on the magenta transparency key, as the title bar draws it.
#include "skin/store/pixel_bitmap.h"

namespace skin {

// From an icon's colour image and its AND mask, both 32-bit and of the same size (as read
// back from the icon's bitmaps). When the colour image has an alpha channel (some pixel's
// alpha is not 0), a pixel shows when its alpha is at least half, in its own colour (icon
// colour is straight, not premultiplied, so edges keep their hue instead of blending into
// the key); otherwise the mask decides (white: transparent). A shown pixel that is exactly
// magenta moves one step off it so that it stays visible. Empty when the sizes differ.
PixelBitmap IconOnMagentaKey(const PixelBitmap& colour, const PixelBitmap& mask);

}  // namespace skin
