#pragma once
// Test input for the LZH codec, shared by its tests and its benchmark so that both work on
// the same streams.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <random>
#include <vector>

namespace lzh_test_input {

// Text-like runs, repeats at all distances, random noise and long runs of one byte: the
// mix a skin package (INI text plus bitmaps) has. The same seed gives the same bytes.
inline std::vector<uint8_t> MixedBytes(size_t n, uint32_t seed) {
  std::mt19937 rng(seed);
  static const char* const kWords[] = {"[Button]",    "LeftWidth=", "Tile=1",          "\r\n",
                                       "FrameCount=", "button.bmp", "Color=$00FF00FF "};
  std::vector<uint8_t> out;
  while (out.size() < n) {
    switch (rng() % 5) {
      case 0:
        for (const char* w = kWords[rng() % 7]; *w; ++w) out.push_back(uint8_t(*w));
        break;
      case 1:
        out.insert(out.end(), rng() % 200, uint8_t(rng()));
        break;
      case 2:
        for (int i = int(rng() % 40); i > 0; --i) out.push_back(uint8_t(rng()));
        break;
      default:
        if (out.size() > 8) {
          const size_t from = out.size() - 1 - rng() % std::min<size_t>(out.size() - 1, 5000);
          const size_t len = 3 + rng() % 80;
          for (size_t i = 0; i < len; ++i) out.push_back(out[from + i]);
        }
    }
  }
  out.resize(n);
  return out;
}

}  // namespace lzh_test_input
