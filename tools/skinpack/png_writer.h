#pragma once
// A small PNG encoder for preview sheets: 8-bit RGB, no filtering, the image data held in
// stored (uncompressed) deflate blocks. Files come out larger than a compressing encoder's
// but every viewer reads them.
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "skin/store/pixel_bitmap.h"

namespace skinpack {

// CRC-32 as PNG chunks use it (polynomial 0xEDB88320, initial and final complement).
uint32_t Crc32(std::span<const uint8_t> data, uint32_t crc = 0);
// Adler-32 of a zlib stream.
uint32_t Adler32(std::span<const uint8_t> data, uint32_t adler = 1);

// The PNG file of `image` (24- or 32-bit; alpha is dropped). Empty for an empty image.
std::vector<uint8_t> EncodePng(const skin::PixelBitmap& image);
// Writes EncodePng(image) to `path`; false with *error on failure.
bool WritePng(const std::string& path, const skin::PixelBitmap& image, std::string* error);

}  // namespace skinpack
