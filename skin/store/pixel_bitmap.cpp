#include "skin/store/pixel_bitmap.h"

#include <cassert>
#include <cstring>

namespace skin {

PixelBitmap::PixelBitmap(int width, int height, PixelFormat format) {
  Reset(width, height, format);
}

size_t PixelBitmap::StrideFor(int width, PixelFormat format) {
  if (width <= 0) return 0;
  return (size_t(width) * (static_cast<int>(format) / 8) + 3) & ~size_t(3);
}

void PixelBitmap::Reset(int width, int height, PixelFormat format) {
  format_ = format;
  if (width <= 0 || height <= 0) {
    width_ = height_ = 0;
    stride_ = 0;
    pixels_.clear();
    pixels_.shrink_to_fit();
    return;
  }
  width_ = width;
  height_ = height;
  stride_ = StrideFor(width, format);
  pixels_.assign(stride_ * size_t(height), 0);
}

uint32_t PixelBitmap::Pixel(int x, int y) const {
  assert(x >= 0 && x < width_ && y >= 0 && y < height_);
  const uint8_t* p = ScanLine(y) + size_t(x) * BytesPerPixel();
  return Rgb(p[2], p[1], p[0]);
}

void PixelBitmap::SetPixel(int x, int y, uint32_t colour) {
  assert(x >= 0 && x < width_ && y >= 0 && y < height_);
  uint8_t* p = ScanLine(y) + size_t(x) * BytesPerPixel();
  p[0] = uint8_t(colour >> 16);
  p[1] = uint8_t(colour >> 8);
  p[2] = uint8_t(colour);
}

void PixelBitmap::Fill(uint32_t colour) {
  if (width_ <= 0 || height_ <= 0) return;
  // Colour bytes only: a 32-bit bitmap keeps each pixel's fourth byte, as SetPixel does.
  const uint8_t bgr[3] = {uint8_t(colour >> 16), uint8_t(colour >> 8), uint8_t(colour)};
  const int bpp = BytesPerPixel();
  const size_t row_bytes = size_t(width_) * bpp;
  for (int y = 0; y < height_; ++y) {
    uint8_t* row = ScanLine(y);
    if (bpp == 3 && y > 0) {
      std::memcpy(row, ScanLine(0), row_bytes);
      continue;
    }
    for (size_t i = 0; i < row_bytes; i += bpp) std::memcpy(row + i, bgr, 3);
  }
}

PixelBitmap PixelBitmap::Converted(PixelFormat format) const {
  PixelBitmap out(width_, height_, format);
  const int in_bpp = BytesPerPixel(), out_bpp = out.BytesPerPixel();
  for (int y = 0; y < height_; ++y) {
    const uint8_t* src = ScanLine(y);
    uint8_t* dst = out.ScanLine(y);
    for (int x = 0; x < width_; ++x) std::memcpy(dst + x * out_bpp, src + x * in_bpp, 3);
  }
  return out;
}

bool operator==(const PixelBitmap& a, const PixelBitmap& b) {
  if (a.width_ != b.width_ || a.height_ != b.height_ || a.format_ != b.format_) return false;
  const size_t row = size_t(a.width_) * a.BytesPerPixel();
  for (int y = 0; y < a.height_; ++y)
    if (std::memcmp(a.ScanLine(y), b.ScanLine(y), row) != 0) return false;
  return true;
}

}  // namespace skin
