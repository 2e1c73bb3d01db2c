#pragma once
// A bitmap in memory with direct scan-line access, laid out as a top-down Windows DIB
// (rows padded to 4 bytes, blue-green-red byte order), so the Windows side can hand the
// whole buffer to GDI in one copy.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace skin {

enum class PixelFormat : uint8_t { kBgr24 = 24, kBgra32 = 32 };

// A colour in COLORREF layout: red in the low byte, then green, then blue.
constexpr uint32_t Rgb(uint8_t r, uint8_t g, uint8_t b) {
  return uint32_t(r) | (uint32_t(g) << 8) | (uint32_t(b) << 16);
}

class PixelBitmap {
 public:
  PixelBitmap() = default;
  PixelBitmap(int width, int height, PixelFormat format = PixelFormat::kBgr24);

  int Width() const { return width_; }
  int Height() const { return height_; }
  PixelFormat Format() const { return format_; }
  int BitsPerPixel() const { return static_cast<int>(format_); }
  int BytesPerPixel() const { return BitsPerPixel() / 8; }
  bool Empty() const { return width_ <= 0 || height_ <= 0; }
  // Bytes from one row to the next (a multiple of 4, as in a DIB).
  size_t Stride() const { return stride_; }
  static size_t StrideFor(int width, PixelFormat format);

  // Row 0 is the top row.
  uint8_t* ScanLine(int y) { return pixels_.data() + size_t(y) * stride_; }
  const uint8_t* ScanLine(int y) const { return pixels_.data() + size_t(y) * stride_; }
  uint8_t* Data() { return pixels_.data(); }
  const uint8_t* Data() const { return pixels_.data(); }
  size_t SizeInBytes() const { return pixels_.size(); }

  // Pixel access in COLORREF layout (alpha ignored); no bounds checks beyond asserts.
  uint32_t Pixel(int x, int y) const;
  void SetPixel(int x, int y, uint32_t colour);
  void Fill(uint32_t colour);

  // Resizes to width x height (contents become zero) or to nothing.
  void Reset(int width, int height, PixelFormat format);
  void Clear() { Reset(0, 0, format_); }
  // The same picture in another pixel format (32-bit pixels get alpha 0).
  PixelBitmap Converted(PixelFormat format) const;

  friend bool operator==(const PixelBitmap& a, const PixelBitmap& b);

 private:
  int width_ = 0;
  int height_ = 0;
  PixelFormat format_ = PixelFormat::kBgr24;
  size_t stride_ = 0;
  std::vector<uint8_t> pixels_;
};

}  // namespace skin
