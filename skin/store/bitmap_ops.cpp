#include "skin/store/bitmap_ops.h"

#include <cstring>
#include <utility>
#include <vector>

namespace skin {

namespace {

bool Is24(const PixelBitmap& b) { return b.Format() == PixelFormat::kBgr24; }

// Builds the turned picture row by row: new row r, pixel c is taken from old pixel
// `source(r, c)`.
template <typename Source>
void Turn(PixelBitmap& bitmap, Source source) {
  const int old_w = bitmap.Width(), old_h = bitmap.Height();
  PixelBitmap turned(old_h, old_w, PixelFormat::kBgr24);
  for (int r = 0; r < old_w; ++r) {
    uint8_t* dst = turned.ScanLine(r);
    for (int c = 0; c < old_h; ++c) {
      const auto [x, y] = source(r, c);
      std::memcpy(dst + size_t(c) * 3, bitmap.ScanLine(y) + size_t(x) * 3, 3);
    }
  }
  bitmap = std::move(turned);
}

}  // namespace

bool MirrorHorizontally(PixelBitmap& bitmap) {
  if (!Is24(bitmap)) return false;
  const int w = bitmap.Width();
  std::vector<uint8_t> row(size_t(w) * 3);
  for (int y = 0; y < bitmap.Height(); ++y) {
    uint8_t* line = bitmap.ScanLine(y);
    std::memcpy(row.data(), line, row.size());
    for (int x = 0; x < w; ++x) std::memcpy(line + size_t(x) * 3, &row[size_t(w - 1 - x) * 3], 3);
  }
  return true;
}

bool FlipVertically(PixelBitmap& bitmap) {
  if (!Is24(bitmap)) return false;
  const size_t bytes = size_t(bitmap.Width()) * 3;
  std::vector<uint8_t> row(bytes);
  for (int top = 0, bottom = bitmap.Height() - 1; top < bottom; ++top, --bottom) {
    std::memcpy(row.data(), bitmap.ScanLine(top), bytes);
    std::memcpy(bitmap.ScanLine(top), bitmap.ScanLine(bottom), bytes);
    std::memcpy(bitmap.ScanLine(bottom), row.data(), bytes);
  }
  return true;
}

bool RotateLeft(PixelBitmap& bitmap) {
  if (!Is24(bitmap)) return false;
  if (bitmap.Empty()) return true;
  const int old_w = bitmap.Width();
  // New row r is old column old_w - 1 - r, read from top to bottom.
  Turn(bitmap, [old_w](int r, int c) { return std::pair{old_w - 1 - r, c}; });
  return true;
}

bool RotateRight(PixelBitmap& bitmap) {
  if (!Is24(bitmap)) return false;
  if (bitmap.Empty()) return true;
  const int old_h = bitmap.Height();
  // New row r is old column r, read from bottom to top.
  Turn(bitmap, [old_h](int r, int c) { return std::pair{r, old_h - 1 - c}; });
  return true;
}

}  // namespace skin
