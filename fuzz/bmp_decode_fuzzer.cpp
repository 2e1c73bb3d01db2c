// Decodes arbitrary bytes as a bitmap file: no crash, no read outside the input, no
// allocation beyond the decoder's limits; a success gives a consistent bitmap that
// survives an encode/decode round trip.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "skin/store/bmp_codec.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
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
