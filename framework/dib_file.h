#pragma once
// Bitmap files (BITMAPFILEHEADER, BITMAPINFOHEADER, palette, pixel rows) as they travel in
// descriptions ("Glyph.Data"): checked before Windows is given any of their bytes, since a
// description read from disk is untrusted.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace fw {

struct DibFileLayout {
  size_t info_offset = 0;  // the BITMAPINFOHEADER (14)
  size_t bits_offset = 0;  // the first pixel row
  int32_t width = 0;
  int32_t height = 0;  // negative for top-down rows
  int bit_count = 0;
  size_t image_size = 0;  // bytes of pixel rows
};

// Largest width or height accepted (a glyph or toolbar image, not a photograph).
inline constexpr int32_t kMaxDibSide = 4096;

// Checks an uncompressed 1, 4, 8, 24 or 32 bits-per-pixel bitmap file; on failure returns
// false and says why in error.
bool CheckDibFile(const uint8_t* data, size_t size, DibFileLayout& layout, std::string& error);

// A bitmap file of bottom-up 24-bit rows: rows[y] is row y from the top, width * 3 bytes
// (blue, green, red), padded to 4 bytes in the file.
std::vector<uint8_t> MakeDibFile24(int32_t width, int32_t height,
                                   const std::vector<std::vector<uint8_t>>& rows);

}  // namespace fw
