#include "tools/skingen/ico_file.h"

namespace skingen {

namespace {

constexpr size_t kDirectorySize = 6;
constexpr size_t kEntrySize = 16;
constexpr size_t kInfoHeaderSize = 40;

void Put16(std::vector<uint8_t>& out, uint32_t v) {
  out.push_back(uint8_t(v));
  out.push_back(uint8_t(v >> 8));
}

void Put32(std::vector<uint8_t>& out, uint32_t v) {
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}

// Bytes of one row of the AND mask: one bit a pixel, rows padded to 32 bits.
size_t MaskStride(int size) { return size_t((size + 31) / 32) * 4; }

size_t ImageBytes(int size) {
  return kInfoHeaderSize + size_t(size) * size * 4 + MaskStride(size) * size;
}

void PutImage(std::vector<uint8_t>& out, const skin::PixelBitmap& image) {
  const int n = image.Width();
  // BITMAPINFOHEADER; the height counts the colour rows and the mask rows.
  Put32(out, uint32_t(kInfoHeaderSize));
  Put32(out, uint32_t(n));
  Put32(out, uint32_t(2 * n));
  Put16(out, 1);   // planes
  Put16(out, 32);  // bits per pixel
  Put32(out, 0);   // BI_RGB
  Put32(out, uint32_t(ImageBytes(n) - kInfoHeaderSize));
  for (int i = 0; i < 4; ++i) Put32(out, 0);  // resolution and palette: unused
  for (int y = n - 1; y >= 0; --y) {
    const uint8_t* row = image.ScanLine(y);
    out.insert(out.end(), row, row + size_t(n) * 4);
  }
  for (int y = n - 1; y >= 0; --y) {
    std::vector<uint8_t> mask(MaskStride(n), 0);
    const uint8_t* row = image.ScanLine(y);
    for (int x = 0; x < n; ++x)
      if (row[size_t(x) * 4 + 3] == 0) mask[size_t(x) / 8] |= uint8_t(0x80 >> (x % 8));
    out.insert(out.end(), mask.begin(), mask.end());
  }
}

}  // namespace

std::vector<uint8_t> EncodeIco(const std::vector<skin::PixelBitmap>& images) {
  if (images.empty() || images.size() > 0xFFFF) return {};
  for (const skin::PixelBitmap& image : images) {
    const int n = image.Width();
    if (n < 1 || n > 256 || image.Height() != n || image.Format() != skin::PixelFormat::kBgra32)
      return {};
  }
  std::vector<uint8_t> out;
  Put16(out, 0);  // reserved
  Put16(out, 1);  // an icon (2 would be a cursor)
  Put16(out, uint32_t(images.size()));
  size_t offset = kDirectorySize + kEntrySize * images.size();
  for (const skin::PixelBitmap& image : images) {
    const int n = image.Width();
    out.push_back(uint8_t(n == 256 ? 0 : n));  // 0 stands for 256
    out.push_back(uint8_t(n == 256 ? 0 : n));
    out.push_back(0);  // no palette
    out.push_back(0);
    Put16(out, 1);   // planes
    Put16(out, 32);  // bits per pixel
    Put32(out, uint32_t(ImageBytes(n)));
    Put32(out, uint32_t(offset));
    offset += ImageBytes(n);
  }
  for (const skin::PixelBitmap& image : images) PutImage(out, image);
  return out;
}

}  // namespace skingen
