#include "skin/store/icon_key.h"

namespace skin {

namespace {
constexpr uint32_t kKey = 0xFF00FF;
}

PixelBitmap IconOnMagentaKey(const PixelBitmap& colour, const PixelBitmap& mask) {
  const int w = colour.Width(), h = colour.Height();
  if (colour.Empty() || colour.Format() != PixelFormat::kBgra32 ||
      mask.Format() != PixelFormat::kBgra32 || mask.Width() != w || mask.Height() != h)
    return {};
  bool has_alpha = false;
  for (int y = 0; y < h && !has_alpha; ++y) {
    const uint8_t* row = colour.ScanLine(y);
    for (int x = 0; x < w; ++x) {
      if (row[4 * x + 3] != 0) {
        has_alpha = true;
        break;
      }
    }
  }
  PixelBitmap out(w, h, PixelFormat::kBgr24);
  for (int y = 0; y < h; ++y) {
    const uint8_t* row = colour.ScanLine(y);
    for (int x = 0; x < w; ++x) {
      const bool shown =
          has_alpha ? row[4 * x + 3] >= 128 : (mask.Pixel(x, y) & 0xFFFFFF) != 0xFFFFFF;
      uint32_t c = colour.Pixel(x, y) & 0xFFFFFF;
      if (!shown) {
        c = kKey;
      } else if (c == kKey) {
        c = 0xFE00FF;
      }
      out.SetPixel(x, y, c);
    }
  }
  return out;
}

}  // namespace skin
