// Reads arbitrary text as a whole skin definition. Image keys name bitmaps whose sizes
// follow from the name, so frame counts, MDI cutting and the combo mirror see odd shapes;
// the definition is then scaled to a resolution that follows from the input's size.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "skin/data/skin_definition.h"
#include "skin/data/skin_scaling.h"

namespace {

class ShapedImages : public skin::ImageFetcher {
 public:
  void FetchBitmap(skin::PixelBitmap& target, std::string_view name) override {
    const std::string_view entry = skin::ImageEntryName(name);
    if (entry.empty() || entry.size() == 4) {  // refused, or just ".bmp": not found
      target.Clear();
      return;
    }
    uint32_t h = 2166136261u;
    for (char c : entry) h = (h ^ uint8_t(c)) * 16777619u;
    const int width = 1 + int(h % 200), height = 1 + int((h >> 8) % 40);
    target.Reset(width, height,
                 (h >> 16) & 1 ? skin::PixelFormat::kBgra32 : skin::PixelFormat::kBgr24);
    target.Fill(h);
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const skin::IniFile ini(std::string_view(reinterpret_cast<const char*>(data), size));
  ShapedImages images;
  skin::SkinDefinition d;
  skin::ReadSkinDefinition(ini, images, d);
  if (!d.LeftStrip || !d.RightStrip || !d.TopStrip || !d.BottomStrip || !d.Title || !d.Buttons)
    std::abort();
  if (d.SysButtons.size() < 3 || d.Buttons->RadioButtonFrame == 0) std::abort();
  for (const auto& b : d.SysButtons)
    if (!b) std::abort();
  if (d.ComboButton && !d.ComboButton->Image.Empty() &&
      (d.ComboButton->Image2.Width() != d.ComboButton->Image.Width() ||
       d.ComboButton->Image2.Format() != skin::PixelFormat::kBgr24))
    std::abort();
  // Scaled to a resolution the input picks, the caption buttons stay and frames stay whole.
  // At the skin's own resolution the art stays as drawn, frames cut unevenly or not.
  const skin::SkinDefinition scaled = skin::ScaleSkinDefinition(d, int(size % 400));
  if (scaled.SysButtons.size() != d.SysButtons.size()) std::abort();
  if (scaled.Dpi != d.Dpi)
    for (const auto& b : scaled.SysButtons)
      if (b->FrameCount > 0 && b->Image.Width() % b->FrameCount != 0) std::abort();
  // Reading again into the same definition must work too.
  skin::ReadSkinDefinition(ini, images, d);
  return 0;
}
