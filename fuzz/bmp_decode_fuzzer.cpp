// Decodes arbitrary bytes as a bitmap file: no crash, no read outside the input, no
// allocation beyond the decoder's limits; a success gives a consistent bitmap that
// survives an encode/decode round trip.
// Images within the decoder's limits but above a million pixels are skipped: a few bytes of
// run-length code can state one, and filling it took nearly all the run's time. Those sizes
// have their own unit tests; sizes beyond the limits still go to the decoder.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "skin/store/bmp_codec.h"

namespace {

int32_t Little(const uint8_t* p, int bytes) {
  uint32_t v = 0;
  for (int i = 0; i < bytes; ++i) v |= uint32_t(p[i]) << (8 * i);
  return bytes == 2 ? int32_t(int16_t(v)) : int32_t(v);
}

// True when the header states an image the decoder would allocate whole that is larger
// than a million pixels.
bool LargeButAllowed(const uint8_t* data, size_t size) {
  if (size < 26) return false;
  const bool core = Little(data + 14, 4) == 12;
  const int64_t w = std::abs(int64_t(core ? Little(data + 18, 2) & 0xFFFF : Little(data + 18, 4)));
  const int64_t h = std::abs(int64_t(core ? Little(data + 20, 2) : Little(data + 22, 4)));
  return w <= skin::kMaxBmpDimension && h <= skin::kMaxBmpDimension && w * h > (1 << 20);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (LargeButAllowed(data, size)) return 0;
  skin::PixelBitmap bitmap;
  std::string error;
  if (!skin::DecodeBmp({data, size}, bitmap, &error)) {
    if (!bitmap.Empty() || error.empty()) std::abort();
    return 0;
  }
  if (bitmap.Empty() || bitmap.Width() > skin::kMaxBmpDimension ||
      bitmap.Height() > skin::kMaxBmpDimension)
    std::abort();
  skin::PixelBitmap again;
  if (!skin::DecodeBmp(skin::EncodeBmp(bitmap), again, &error) || !(again == bitmap)) std::abort();
  return 0;
}
