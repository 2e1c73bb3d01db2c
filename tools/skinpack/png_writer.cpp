#include "tools/skinpack/png_writer.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdio>
#include <cstring>

namespace skinpack {

namespace {

const std::array<uint32_t, 256>& CrcTable() {
  static const std::array<uint32_t, 256> table = [] {
    std::array<uint32_t, 256> t{};
    for (uint32_t n = 0; n < 256; ++n) {
      uint32_t c = n;
      for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
      t[n] = c;
    }
    return t;
  }();
  return table;
}

void PutBigEndian(std::vector<uint8_t>& out, uint32_t v) {
  out.push_back(uint8_t(v >> 24));
  out.push_back(uint8_t(v >> 16));
  out.push_back(uint8_t(v >> 8));
  out.push_back(uint8_t(v));
}

void PutChunk(std::vector<uint8_t>& out, const char type[5], std::span<const uint8_t> body) {
  PutBigEndian(out, uint32_t(body.size()));
  const size_t type_at = out.size();
  out.insert(out.end(), type, type + 4);
  out.insert(out.end(), body.begin(), body.end());
  PutBigEndian(out, Crc32(std::span<const uint8_t>(out.data() + type_at, 4 + body.size())));
}

}  // namespace

uint32_t Crc32(std::span<const uint8_t> data, uint32_t crc) {
  const auto& table = CrcTable();
  crc = ~crc;
  for (uint8_t b : data) crc = table[(crc ^ b) & 0xFF] ^ (crc >> 8);
  return ~crc;
}

uint32_t Adler32(std::span<const uint8_t> data, uint32_t adler) {
  uint32_t a = adler & 0xFFFF, b = adler >> 16;
  // 5552 bytes is the most that can be summed before the 32-bit sums must be reduced.
  size_t i = 0;
  while (i < data.size()) {
    const size_t end = std::min(data.size(), i + 5552);
    for (; i < end; ++i) {
      a += data[i];
      b += a;
    }
    a %= 65521;
    b %= 65521;
  }
  return (b << 16) | a;
}

std::vector<uint8_t> EncodePng(const skin::PixelBitmap& image) {
  if (image.Empty()) return {};
  const int w = image.Width(), h = image.Height(), bpp = image.BytesPerPixel();

  // Raw scan lines: filter byte 0 (none), then red, green, blue.
  std::vector<uint8_t> raw;
  raw.reserve(size_t(h) * (1 + size_t(w) * 3));
  for (int y = 0; y < h; ++y) {
    raw.push_back(0);
    const uint8_t* p = image.ScanLine(y);
    for (int x = 0; x < w; ++x, p += bpp) {
      raw.push_back(p[2]);
      raw.push_back(p[1]);
      raw.push_back(p[0]);
    }
  }

  // zlib stream of stored deflate blocks (at most 65,535 bytes each).
  std::vector<uint8_t> z = {0x78, 0x01};
  size_t at = 0;
  do {
    const size_t n = std::min<size_t>(65535, raw.size() - at);
    const bool last = at + n == raw.size();
    z.push_back(last ? 1 : 0);
    z.push_back(uint8_t(n));
    z.push_back(uint8_t(n >> 8));
    z.push_back(uint8_t(~n));
    z.push_back(uint8_t(~n >> 8));
    z.insert(z.end(), raw.begin() + ptrdiff_t(at), raw.begin() + ptrdiff_t(at + n));
    at += n;
  } while (at < raw.size());
  PutBigEndian(z, Adler32(raw));

  std::vector<uint8_t> png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  std::vector<uint8_t> header;
  PutBigEndian(header, uint32_t(w));
  PutBigEndian(header, uint32_t(h));
  header.insert(header.end(), {8, 2, 0, 0, 0});  // 8 bits, RGB, deflate, no filter, no interlace
  PutChunk(png, "IHDR", header);
  PutChunk(png, "IDAT", z);
  PutChunk(png, "IEND", {});
  return png;
}

bool WritePng(const std::string& path, const skin::PixelBitmap& image, std::string* error) {
  const std::vector<uint8_t> png = EncodePng(image);
  if (png.empty()) {
    if (error) *error = "nothing to write (empty image)";
    return false;
  }
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) {
    if (error) *error = std::strerror(errno);
    return false;
  }
  const bool ok = std::fwrite(png.data(), 1, png.size(), f) == png.size();
  const bool closed = std::fclose(f) == 0;
  if (!ok || !closed) {
    if (error) *error = "write failed";
    return false;
  }
  return true;
}

}  // namespace skinpack
