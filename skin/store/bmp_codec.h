#pragma once
// Windows bitmap files (.bmp) to and from PixelBitmap.
//
// Decoding accepts the formats skin authors' tools write: BITMAPCOREHEADER and
// BITMAPINFOHEADER (and its longer V4/V5 forms), 1, 4 and 8 bits per pixel with a palette,
// 16 bits (5-5-5 or bit fields such as 5-6-5), 24 and 32 bits, bottom-up and top-down rows,
// RLE8 and RLE4. The result is 24-bit (PixelFormat::kBgr24), except for 32-bit sources,
// which keep their fourth byte in a PixelFormat::kBgra32 bitmap.
//
// A skin file is untrusted input: every size, count and offset is checked against the
// bytes actually present and against the limits below before anything is allocated.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "skin/store/pixel_bitmap.h"

namespace skin {

// Largest accepted width or height, and largest accepted number of pixels; a skin image
// is a few hundred pixels wide, so these only keep a hostile file from exhausting memory.
constexpr int kMaxBmpDimension = 16384;
constexpr int64_t kMaxBmpPixels = int64_t(1) << 24;

// Encodes as a bottom-up BI_RGB file with a BITMAPINFOHEADER: 24 bits per pixel for a
// kBgr24 bitmap, 32 for kBgra32 (the fourth byte written as held). An empty bitmap gives
// an empty vector (a bitmap file cannot be 0 pixels wide).
std::vector<uint8_t> EncodeBmp(const PixelBitmap& bitmap);

// Decodes a whole bitmap file. On success `out` holds the picture and true is returned;
// on failure `out` is empty, false is returned and *error (if given) says why.
bool DecodeBmp(std::span<const uint8_t> bytes, PixelBitmap& out, std::string* error);

}  // namespace skin
