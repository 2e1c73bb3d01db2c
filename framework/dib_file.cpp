#include "framework/dib_file.h"

#include <algorithm>

namespace fw {

namespace {

uint32_t U32(const uint8_t* p) {
  return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}
uint16_t U16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }
void Put32(std::vector<uint8_t>& out, uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}
void Put16(std::vector<uint8_t>& out, uint16_t v) {
  out.push_back(static_cast<uint8_t>(v));
  out.push_back(static_cast<uint8_t>(v >> 8));
}

constexpr size_t kFileHeader = 14;
constexpr size_t kInfoHeader = 40;

}  // namespace

bool CheckDibFile(const uint8_t* data, size_t size, DibFileLayout& layout, std::string& error) {
  if (!data || size < kFileHeader + kInfoHeader) {
    error = "too short for a bitmap file";
    return false;
  }
  if (data[0] != 'B' || data[1] != 'M') {
    error = "no bitmap file mark";
    return false;
  }
  const uint32_t bits_offset = U32(data + 10);
  const uint32_t header_size = U32(data + kFileHeader);
  if (header_size < kInfoHeader || header_size > size - kFileHeader) {
    error = "bad header size";
    return false;
  }
  const auto width = static_cast<int32_t>(U32(data + 18));
  const auto height = static_cast<int32_t>(U32(data + 22));
  const uint16_t planes = U16(data + 26);
  const uint16_t bit_count = U16(data + 28);
  const uint32_t compression = U32(data + 30);
  uint32_t colours_used = U32(data + 46);
  if (width <= 0 || width > kMaxDibSide || height == 0 || height < -kMaxDibSide ||
      height > kMaxDibSide) {
    error = "bad dimensions";
    return false;
  }
  if (planes != 1 || compression != 0 /*BI_RGB*/) {
    error = "compressed or multi-plane bitmaps are not supported";
    return false;
  }
  if (bit_count != 1 && bit_count != 4 && bit_count != 8 && bit_count != 24 && bit_count != 32) {
    error = "unsupported bits per pixel";
    return false;
  }
  const uint32_t max_colours = bit_count <= 8 ? (1u << bit_count) : 0;
  if (colours_used == 0 || colours_used > max_colours) colours_used = max_colours;
  const size_t palette_end = kFileHeader + header_size + size_t(colours_used) * 4;
  const size_t stride = ((size_t(width) * bit_count + 31) / 32) * 4;
  const size_t rows = static_cast<size_t>(height < 0 ? -int64_t(height) : height);
  const size_t image_size = stride * rows;
  if (bits_offset < palette_end || bits_offset > size || size - bits_offset < image_size) {
    error = "pixel rows outside the file";
    return false;
  }
  layout.info_offset = kFileHeader;
  layout.bits_offset = bits_offset;
  layout.width = width;
  layout.height = height;
  layout.bit_count = bit_count;
  layout.image_size = image_size;
  return true;
}

std::vector<uint8_t> MakeDibFile24(int32_t width, int32_t height,
                                   const std::vector<std::vector<uint8_t>>& rows) {
  width = std::max(width, 0);
  height = std::max(height, 0);
  const size_t stride = ((size_t(width) * 24 + 31) / 32) * 4;
  const size_t image_size = stride * size_t(height);
  std::vector<uint8_t> out;
  out.reserve(kFileHeader + kInfoHeader + image_size);
  out.push_back('B');
  out.push_back('M');
  Put32(out, static_cast<uint32_t>(kFileHeader + kInfoHeader + image_size));
  Put32(out, 0);
  Put32(out, kFileHeader + kInfoHeader);
  Put32(out, kInfoHeader);
  Put32(out, static_cast<uint32_t>(width));
  Put32(out, static_cast<uint32_t>(height));  // bottom-up
  Put16(out, 1);
  Put16(out, 24);
  Put32(out, 0);
  Put32(out, static_cast<uint32_t>(image_size));
  Put32(out, 2835);
  Put32(out, 2835);
  Put32(out, 0);
  Put32(out, 0);
  for (int32_t y = height - 1; y >= 0; --y) {
    const size_t start = out.size();
    if (static_cast<size_t>(y) < rows.size()) {
      const auto& row = rows[static_cast<size_t>(y)];
      out.insert(out.end(), row.begin(), row.begin() + std::min(row.size(), size_t(width) * 3));
    }
    out.resize(start + stride, 0);
  }
  return out;
}

}  // namespace fw
