#include "skin/store/bmp_codec.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>

namespace skin {

namespace {

constexpr uint32_t kBiRgb = 0;
constexpr uint32_t kBiRle8 = 1;
constexpr uint32_t kBiRle4 = 2;
constexpr uint32_t kBiBitfields = 3;
constexpr uint32_t kBiAlphaBitfields = 6;

constexpr size_t kFileHeaderSize = 14;
constexpr size_t kCoreHeaderSize = 12;
constexpr size_t kInfoHeaderSize = 40;

uint16_t ReadU16(const uint8_t* p) { return uint16_t(p[0] | (p[1] << 8)); }
uint32_t ReadU32(const uint8_t* p) {
  return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24);
}
void PutU16(std::vector<uint8_t>& v, size_t at, uint16_t x) {
  v[at] = uint8_t(x);
  v[at + 1] = uint8_t(x >> 8);
}
void PutU32(std::vector<uint8_t>& v, size_t at, uint32_t x) {
  for (int i = 0; i < 4; ++i) v[at + i] = uint8_t(x >> (8 * i));
}

// One colour channel of a bit-field pixel: where it sits and how wide it is.
struct Channel {
  uint32_t mask = 0;
  int shift = 0;
  int bits = 0;

  explicit Channel(uint32_t m = 0) : mask(m) {
    if (m == 0) return;
    shift = std::countr_zero(m);
    bits = 32 - std::countl_zero(m) - shift;
  }
  // The channel's value scaled to 0..255 (narrow channels repeat their top bits, so that
  // 5-bit 31 becomes 255 and 0 stays 0).
  uint8_t Extract(uint32_t pixel) const {
    if (bits == 0) return 0;
    uint32_t v = (pixel & mask) >> shift;
    if (bits >= 8) return uint8_t(v >> (bits - 8));
    uint32_t out = 0;
    int filled = 0;
    while (filled < 8) {
      out = (out << bits) | v;
      filled += bits;
    }
    return uint8_t(out >> (filled - 8));
  }
};

struct Header {
  int width = 0;
  int height = 0;  // always positive here; `top_down` carries the sign
  bool top_down = false;
  int bpp = 0;
  uint32_t compression = kBiRgb;
  uint32_t colours_used = 0;
  size_t header_size = 0;
  bool core = false;
  Channel red, green, blue, alpha;
  bool has_alpha_mask = false;
};

class Decoder {
 public:
  Decoder(std::span<const uint8_t> bytes, PixelBitmap& out) : bytes_(bytes), out_(out) {}

  bool Run() {
    if (!ReadHeaders()) return false;
    if (!ReadPalette()) return false;
    if (!LocatePixels()) return false;
    const PixelFormat format = h_.bpp == 32 ? PixelFormat::kBgra32 : PixelFormat::kBgr24;
    out_.Reset(h_.width, h_.height, format);
    if (h_.compression == kBiRle8 || h_.compression == kBiRle4) return DecodeRle();
    DecodeUncompressed();
    return true;
  }

  const std::string& error() const { return error_; }

 private:
  bool Fail(const char* text) {
    error_ = text;
    return false;
  }

  bool ReadHeaders() {
    const size_t size = bytes_.size();
    if (size < kFileHeaderSize + 4) return Fail("file too short for a bitmap header");
    const uint8_t* p = bytes_.data();
    if (p[0] != 'B' || p[1] != 'M') return Fail("not a bitmap file (no \"BM\" mark)");
    pixel_offset_ = ReadU32(p + 10);
    const uint32_t header_size = ReadU32(p + kFileHeaderSize);
    const uint8_t* ih = p + kFileHeaderSize;
    int64_t width = 0, height = 0;
    if (header_size == kCoreHeaderSize) {
      if (size < kFileHeaderSize + kCoreHeaderSize) return Fail("truncated bitmap header");
      h_.core = true;
      width = ReadU16(ih + 4);
      height = ReadU16(ih + 6);
      h_.bpp = ReadU16(ih + 10);
      if (h_.bpp != 1 && h_.bpp != 4 && h_.bpp != 8 && h_.bpp != 24)
        return Fail("unsupported bits per pixel");
    } else if (header_size >= kInfoHeaderSize && header_size <= 1024) {
      if (size < kFileHeaderSize + header_size) return Fail("truncated bitmap header");
      width = int32_t(ReadU32(ih + 4));
      height = int32_t(ReadU32(ih + 8));
      h_.bpp = ReadU16(ih + 14);
      h_.compression = ReadU32(ih + 16);
      h_.colours_used = ReadU32(ih + 32);
    } else {
      return Fail("unknown bitmap header size");
    }
    h_.header_size = header_size;
    if (height < 0) {
      h_.top_down = true;
      height = -height;
    }
    if (width <= 0 || height <= 0) return Fail("bitmap has no pixels");
    if (width > kMaxBmpDimension || height > kMaxBmpDimension || width * height > kMaxBmpPixels)
      return Fail("bitmap dimensions too large");
    h_.width = int(width);
    h_.height = int(height);

    switch (h_.bpp) {
      case 1:
      case 4:
      case 8:
      case 16:
      case 24:
      case 32:
        break;
      default:
        return Fail("unsupported bits per pixel");
    }
    masks_end_ = kFileHeaderSize + header_size;
    switch (h_.compression) {
      case kBiRgb:
        if (h_.bpp == 16) {
          h_.red = Channel(0x7C00), h_.green = Channel(0x03E0), h_.blue = Channel(0x001F);
        }
        break;
      case kBiRle8:
        if (h_.bpp != 8) return Fail("RLE8 needs 8 bits per pixel");
        break;
      case kBiRle4:
        if (h_.bpp != 4) return Fail("RLE4 needs 4 bits per pixel");
        break;
      case kBiBitfields:
      case kBiAlphaBitfields: {
        if (h_.bpp != 16 && h_.bpp != 32) return Fail("bit fields need 16 or 32 bits per pixel");
        // A plain BITMAPINFOHEADER is followed by the masks; longer headers hold them.
        const size_t mask_count = h_.compression == kBiAlphaBitfields ? 4 : 3;
        size_t masks_at = kFileHeaderSize + kInfoHeaderSize;
        if (header_size < kInfoHeaderSize + 4 * mask_count) {
          masks_end_ = masks_at + 4 * mask_count;
          if (masks_end_ > size) return Fail("bit-field masks past the end of the file");
        }
        h_.red = Channel(ReadU32(p + masks_at));
        h_.green = Channel(ReadU32(p + masks_at + 4));
        h_.blue = Channel(ReadU32(p + masks_at + 8));
        if (mask_count == 4 || header_size >= kInfoHeaderSize + 16) {
          h_.alpha = Channel(ReadU32(p + masks_at + 12));
          h_.has_alpha_mask = true;
        }
        break;
      }
      default:
        return Fail("unsupported compression");
    }
    if (h_.top_down && (h_.compression == kBiRle8 || h_.compression == kBiRle4))
      return Fail("top-down bitmaps cannot be RLE-compressed");
    return true;
  }

  bool ReadPalette() {
    palette_end_ = masks_end_;
    if (h_.bpp > 8) return true;
    const size_t entry = h_.core ? 3 : 4;
    const size_t start = masks_end_;
    size_t count = size_t(1) << h_.bpp;
    if (h_.colours_used != 0 && h_.colours_used < count) count = h_.colours_used;
    // A writer that stores fewer entries says so through the pixel offset.
    if (pixel_offset_ >= start && (pixel_offset_ - start) / entry < count)
      count = (pixel_offset_ - start) / entry;
    if (start + count * entry > bytes_.size()) return Fail("palette past the end of the file");
    palette_ = {};
    for (size_t i = 0; i < count; ++i) {
      const uint8_t* e = bytes_.data() + start + i * entry;
      palette_[i] = {e[0], e[1], e[2]};
    }
    palette_end_ = start + count * entry;
    return true;
  }

  bool LocatePixels() {
    if (pixel_offset_ == 0) pixel_offset_ = uint32_t(palette_end_);
    if (pixel_offset_ < palette_end_) return Fail("pixel data offset inside the headers");
    if (pixel_offset_ > bytes_.size()) return Fail("pixel data offset past the end of the file");
    if (h_.compression == kBiRle8 || h_.compression == kBiRle4) return true;
    const uint64_t row = ((uint64_t(h_.width) * h_.bpp + 31) / 32) * 4;
    if (row * uint64_t(h_.height) > bytes_.size() - pixel_offset_)
      return Fail("pixel data truncated");
    src_stride_ = size_t(row);
    return true;
  }

  uint8_t* Dest(int x, int file_row) {
    const int y = h_.top_down ? file_row : h_.height - 1 - file_row;
    return out_.ScanLine(y) + size_t(x) * out_.BytesPerPixel();
  }

  void PutIndex(uint8_t* d, unsigned index) {
    // An index beyond the stored palette reads as black (entries past it are zero).
    const auto& c = palette_[index & 255];
    d[0] = c[0], d[1] = c[1], d[2] = c[2];
  }

  void DecodeUncompressed() {
    for (int r = 0; r < h_.height; ++r) {
      const uint8_t* s = bytes_.data() + pixel_offset_ + size_t(r) * src_stride_;
      uint8_t* d = Dest(0, r);
      switch (h_.bpp) {
        case 1:
        case 4:
        case 8: {
          const int per_byte = 8 / h_.bpp;
          const unsigned mask = (1u << h_.bpp) - 1;
          for (int x = 0; x < h_.width; ++x, d += 3) {
            const int shift = 8 - h_.bpp * (x % per_byte + 1);
            PutIndex(d, (s[x / per_byte] >> shift) & mask);
          }
          break;
        }
        case 16:
          for (int x = 0; x < h_.width; ++x, d += 3) {
            const uint32_t px = ReadU16(s + 2 * x);
            d[0] = h_.blue.Extract(px), d[1] = h_.green.Extract(px), d[2] = h_.red.Extract(px);
          }
          break;
        case 24:
          std::memcpy(d, s, size_t(h_.width) * 3);
          break;
        case 32:
          if (h_.compression == kBiRgb) {
            std::memcpy(d, s, size_t(h_.width) * 4);
          } else {
            for (int x = 0; x < h_.width; ++x, d += 4) {
              const uint32_t px = ReadU32(s + 4 * x);
              d[0] = h_.blue.Extract(px), d[1] = h_.green.Extract(px), d[2] = h_.red.Extract(px);
              d[3] = h_.has_alpha_mask ? h_.alpha.Extract(px) : 0;
            }
          }
          break;
      }
    }
  }

  // RLE rows run bottom-up. Pixels the stream skips (deltas, early line or bitmap ends)
  // stay black; runs past the right edge are clipped.
  bool DecodeRle() {
    const bool four = h_.compression == kBiRle4;
    const uint8_t* p = bytes_.data() + pixel_offset_;
    const uint8_t* end = bytes_.data() + bytes_.size();
    int x = 0, row = 0;
    auto put = [&](unsigned index) {
      if (x < h_.width && row < h_.height) PutIndex(Dest(x, row), index);
      ++x;
    };
    while (row < h_.height) {
      if (end - p < 2) {
        out_.Clear();
        return Fail("RLE data truncated");
      }
      const unsigned count = p[0], value = p[1];
      p += 2;
      if (count > 0) {
        for (unsigned i = 0; i < count && x < h_.width; ++i)
          put(four ? ((i & 1) ? value & 15 : value >> 4) : value);
        continue;
      }
      if (value == 0) {  // end of line
        x = 0;
        ++row;
      } else if (value == 1) {  // end of bitmap
        return true;
      } else if (value == 2) {  // delta
        if (end - p < 2) {
          out_.Clear();
          return Fail("RLE data truncated");
        }
        x = std::min(x + p[0], h_.width);
        row += p[1];
        p += 2;
      } else {  // absolute run of `value` pixels, padded to a 16-bit boundary
        const size_t bytes = four ? (value + 1) / 2 : value;
        const size_t padded = (bytes + 1) & ~size_t(1);
        if (size_t(end - p) < bytes) {
          out_.Clear();
          return Fail("RLE data truncated");
        }
        for (unsigned i = 0; i < value && x < h_.width; ++i)
          put(four ? ((i & 1) ? p[i / 2] & 15 : p[i / 2] >> 4) : p[i]);
        p += std::min(padded, size_t(end - p));
      }
    }
    return true;
  }

  std::span<const uint8_t> bytes_;
  PixelBitmap& out_;
  std::string error_;
  Header h_;
  uint32_t pixel_offset_ = 0;
  size_t masks_end_ = 0;
  size_t palette_end_ = 0;
  size_t src_stride_ = 0;
  std::array<std::array<uint8_t, 3>, 256> palette_{};
};

}  // namespace

std::vector<uint8_t> EncodeBmp(const PixelBitmap& bitmap) {
  if (bitmap.Empty()) return {};
  const int bpp = bitmap.BitsPerPixel();
  const size_t row = PixelBitmap::StrideFor(bitmap.Width(), bitmap.Format());
  const size_t image = row * size_t(bitmap.Height());
  const size_t offset = kFileHeaderSize + kInfoHeaderSize;
  std::vector<uint8_t> out(offset + image, 0);
  out[0] = 'B';
  out[1] = 'M';
  PutU32(out, 2, uint32_t(out.size()));
  PutU32(out, 10, uint32_t(offset));
  PutU32(out, 14, uint32_t(kInfoHeaderSize));
  PutU32(out, 18, uint32_t(bitmap.Width()));
  PutU32(out, 22, uint32_t(bitmap.Height()));
  PutU16(out, 26, 1);
  PutU16(out, 28, uint16_t(bpp));
  PutU32(out, 30, kBiRgb);
  PutU32(out, 34, uint32_t(image));
  PutU32(out, 38, 2835);  // 72 dpi
  PutU32(out, 42, 2835);
  const size_t used = size_t(bitmap.Width()) * bitmap.BytesPerPixel();
  for (int y = 0; y < bitmap.Height(); ++y)
    std::memcpy(out.data() + offset + size_t(bitmap.Height() - 1 - y) * row, bitmap.ScanLine(y),
                used);
  return out;
}

bool DecodeBmp(std::span<const uint8_t> bytes, PixelBitmap& out, std::string* error) {
  Decoder decoder(bytes, out);
  if (decoder.Run()) return true;
  out.Clear();
  if (error) *error = decoder.error();
  return false;
}

}  // namespace skin
