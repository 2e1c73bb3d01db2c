// Paints a whole skinned window natively from arbitrary input: the first five bytes give
// the window's width and height (16 bits each, little-endian, as signed values) and its
// state (active, maximized, right to left, popup, frameless, menu bar), the rest is the
// skin definition. Image keys name bitmaps whose size the name gives ("12x40.bmp" is 12
// pixels wide and 40 high) or, without one, follows from a hash of the name; names holding
// "key" are all magenta, the colour key.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "skin/data/skin_definition.h"
#include "skin/manager/element_compose.h"
#include "tests/stress/paint_path.h"

namespace {

constexpr int64_t kMaxImagePixels = int64_t(1) << 20;

class SizedImages : public skin::ImageFetcher {
 public:
  void FetchBitmap(skin::PixelBitmap& target, std::string_view name) override {
    const std::string_view entry = skin::ImageEntryName(name);
    if (entry.empty() || entry.size() == 4) {  // refused, or just ".bmp": not found
      target.Clear();
      return;
    }
    uint32_t h = 2166136261u;
    for (char c : entry) h = (h ^ uint8_t(c)) * 16777619u;
    int width = 1 + int(h % 120), height = 1 + int((h >> 8) % 40);
    const size_t x = entry.find('x');
    if (x != std::string_view::npos && x > 0) {
      size_t a = x;
      while (a > 0 && entry[a - 1] >= '0' && entry[a - 1] <= '9') --a;
      size_t b = x + 1;
      while (b < entry.size() && entry[b] >= '0' && entry[b] <= '9') ++b;
      if (a < x && b > x + 1 && x - a <= 5 && b - x - 1 <= 5) {
        width = std::atoi(std::string(entry.substr(a, x - a)).c_str());
        height = std::atoi(std::string(entry.substr(x + 1, b - x - 1)).c_str());
      }
    }
    width = std::clamp(width, 0, 4096);
    height = std::clamp(height, 0, 4096);
    if (int64_t(width) * height > kMaxImagePixels)
      height = int(kMaxImagePixels / std::max(width, 1));
    target.Reset(width, height,
                 (h >> 16) & 1 ? skin::PixelFormat::kBgra32 : skin::PixelFormat::kBgr24);
    if (target.Empty()) return;
    if (entry.find("key") != std::string_view::npos) {
      target.Fill(skin::kMagentaKey);
      return;
    }
    // Stripes with magenta holes, so keyed copies and regions see both.
    for (int y = 0; y < target.Height(); y += 1 + int(h % 3))
      for (int px = 0; px < target.Width(); px += 1 + int((h >> 4) % 5))
        target.SetPixel(px, y, (px + y) % 4 == 0 ? skin::kMagentaKey : (h ^ uint32_t(px * 7919)));
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 5) return 0;
  stress::WindowShape shape;
  shape.width = int16_t(data[0] | (data[1] << 8));
  shape.height = int16_t(data[2] | (data[3] << 8));
  // Wide windows are real, but keep one run quick: beyond 4096 the pieces only grow.
  shape.width = std::clamp(shape.width, -64, 4096);
  shape.height = std::clamp(shape.height, -64, 4096);
  const uint8_t flags = data[4];
  shape.active = !(flags & 1);
  shape.maximized = flags & 2;
  shape.right_to_left = flags & 4;
  shape.popup = flags & 8;
  shape.frameless = flags & 16;
  shape.menu_bar = flags & 32;
  shape.caption_length = (flags >> 6) * 20;

  const skin::IniFile ini(std::string_view(reinterpret_cast<const char*>(data + 5), size - 5));
  SizedImages images;
  skin::SkinDefinition definition;
  skin::ReadSkinDefinition(ini, images, definition);
  const stress::PaintTotals totals = stress::PaintWholeWindow(definition, shape);
  if (totals.pixels < 0 || totals.region_runs < 0) std::abort();
  return 0;
}
