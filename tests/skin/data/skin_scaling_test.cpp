// A skin scaled to another resolution: the built-in skin's geometry scales, a keyed element
// keeps its key exact and where it belongs, whole factors replicate pixels, and no skin
// value makes the scaling crash or grow without bound.
#include "skin/data/skin_scaling.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "skin/form/frame_geometry.h"
#include "skin/store/bmp_codec.h"
#include "skin/store/package_writer.h"

namespace skin {
namespace {

const SkinDefinition& Metallic() {
  static const SkinDefinition* skin = [] {
    auto* d = new SkinDefinition;
    std::ifstream in(DEFAULT_SKIN_PACKAGE, std::ios::binary);
    const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), {});
    std::string error;
    RecordingSkinReporter reporter;
    EXPECT_TRUE(LoadSkinPackage(bytes, *d, reporter, &error)) << error;
    return d;
  }();
  return *skin;
}

TEST(SkinScaling, MetallicSkinGeometryScales) {
  const SkinDefinition& base = Metallic();
  const FrameMetrics m = FrameMetricsFromSkin(base, false);
  ASSERT_GT(m.border_top, 0);
  for (int dpi : {120, 144, 192}) {
    SCOPED_TRACE(dpi);
    const SkinDefinition scaled = ScaleSkinDefinition(base, dpi);
    auto s = [dpi](int v) { return ScaleLength(v, dpi); };
    EXPECT_EQ(FrameMetricsFromSkin(scaled, false),
              (FrameMetrics{s(m.border_left), s(m.border_top), s(m.border_right),
                            s(m.border_bottom), 0, dpi}));
    ASSERT_EQ(scaled.SysButtons.size(), base.SysButtons.size());
    for (size_t i = 0; i < base.SysButtons.size(); ++i) {
      const TDataSkinSysButton &b = *base.SysButtons[i], &c = *scaled.SysButtons[i];
      EXPECT_EQ(c.Xcoord, s(b.Xcoord));
      EXPECT_EQ(c.Ycoord, s(b.Ycoord));
      EXPECT_EQ(c.FrameCount, b.FrameCount);
      if (b.Image.Empty()) continue;
      EXPECT_EQ(c.Image.Width(), b.FrameCount * s(b.Image.Width() / b.FrameCount));
      EXPECT_EQ(c.Image.Height(), s(b.Image.Height()));
    }
    EXPECT_EQ(scaled.Title->FontHeight, s(base.Title->FontHeight));
    EXPECT_EQ(scaled.Title->LeftWidth, s(base.Title->LeftWidth));
    EXPECT_EQ(scaled.Buttons->CheckImage.Width(),
              base.Buttons->CheckButtonFrame *
                  s(base.Buttons->CheckImage.Width() / base.Buttons->CheckButtonFrame));
    EXPECT_EQ(scaled.SkinName, base.SkinName);
    EXPECT_EQ(scaled.ButtonFace, base.ButtonFace);
  }
  // At the base resolution: an independent copy with the same pixels.
  SkinDefinition copy = ScaleSkinDefinition(base, kBaseDpi);
  EXPECT_NE(copy.TopStrip.get(), base.TopStrip.get());
  EXPECT_TRUE(copy.TopStrip->Image == base.TopStrip->Image);
  EXPECT_TRUE(copy.SysButtons[0]->Image == base.SysButtons[0]->Image);
  EXPECT_EQ(bool(copy.Progress), bool(base.Progress));
}

// Two side-by-side 14 x 10 frames: a keyed outline (rounded corners, a hole in the middle
// of the top edge) around green shades. Every non-key pixel has no red and no blue, so a
// blend with the key would show in those channels.
TDataSkinObject KeyedElement() {
  TDataSkinObject e("MenuItem");
  e.LeftWidth = 4, e.TopHeight = 3, e.RightWidth = 5, e.BottomHeight = 3;
  e.FrameCount = 2;
  e.Trans = 1;
  e.Image.Reset(28, 10, PixelFormat::kBgr24);
  for (int y = 0; y < 10; ++y)
    for (int x = 0; x < 28; ++x) {
      const int fx = x % 14;
      const bool corner = (fx + y < 2) || (13 - fx + y < 2) || (fx + 9 - y < 2);
      const bool hole = y == 0 && (fx == 6 || fx == 7);
      e.Image.SetPixel(x, y, corner || hole ? kMagentaKey : Rgb(0, uint8_t(40 + 13 * fx + y), 0));
    }
  return e;
}

PixelBitmap ComposeItem(const SkinDefinition& d, int w, int h, bool tile) {
  const TDataSkinObject& e = *d.MenuItem;
  return ComposeElement({0, 0, w, h}, e.Image,
                        {e.LeftWidth, e.TopHeight, e.RightWidth, e.BottomHeight}, 2, 2, tile,
                        false);
}

TEST(SkinScaling, KeyedElementAtAFractionalScaleKeepsItsKeyExact) {
  SkinDefinition base;
  base.MenuItem = std::make_unique<TDataSkinObject>(KeyedElement());
  const SkinDefinition scaled = ScaleSkinDefinition(base, 144);
  EXPECT_EQ(scaled.MenuItem->Image.Width(), 2 * 21);
  EXPECT_EQ(scaled.MenuItem->RightWidth, 8);  // 7.5 rounded
  for (bool tile : {false, true}) {
    const PixelBitmap b = ComposeItem(base, 40, 16, tile);
    const PixelBitmap s = ComposeItem(scaled, 60, 24, tile);
    ASSERT_EQ(s.Width(), 60);
    for (int y = 0; y < s.Height(); ++y)
      for (int x = 0; x < s.Width(); ++x) {
        const uint32_t p = s.Pixel(x, y);
        const bool key = p == kMagentaKey;
        ASSERT_TRUE(key || (p & 0xFF00FF) == 0) << x << "," << y << " " << std::hex << p;
        // The base pixel under this one, or one next to it, is keyed alike.
        const int bx = (2 * x + 1) / 3, by = (2 * y + 1) / 3;
        bool alike = false;
        for (int dy = -1; dy <= 1; ++dy)
          for (int dx = -1; dx <= 1; ++dx) {
            const int cx = std::clamp(bx + dx, 0, 39), cy = std::clamp(by + dy, 0, 15);
            alike |= (b.Pixel(cx, cy) == kMagentaKey) == key;
          }
        EXPECT_TRUE(alike) << x << "," << y;
      }
  }
  // 1.25: rounding would leave the 1-pixel middle of a 2 + 1 + 2 frame no room.
  EXPECT_EQ(ScaleEdges(2, 2, 5, 120), (EdgePair{2, 3}));
  EXPECT_EQ(ScaleEdges(2, 3, 5, 120), (EdgePair{3, 4}));  // no middle to keep
}

// The composer samples pixel centres when it stretches, so a 2x composition replicates the
// base one exactly where the edges and middle stretch by whole factors (else within one
// pixel); here the middle is 5 x 4.
TEST(SkinScaling, WholeFactorReplicatesTheBaseComposition) {
  SkinDefinition base;
  base.MenuItem = std::make_unique<TDataSkinObject>(KeyedElement());
  const SkinDefinition scaled = ScaleSkinDefinition(base, 192);
  struct Case {
    int w, h;
    bool tile;
  };
  for (const Case& c : {Case{24, 18, true}, Case{34, 14, false}}) {
    const PixelBitmap b = ComposeItem(base, c.w, c.h, c.tile);
    const PixelBitmap s = ComposeItem(scaled, 2 * c.w, 2 * c.h, c.tile);
    for (int y = 0; y < s.Height(); ++y)
      for (int x = 0; x < s.Width(); ++x)
        ASSERT_EQ(s.Pixel(x, y), b.Pixel(x / 2, y / 2)) << x << "," << y << " tile " << c.tile;
  }
}

TEST(SkinScaling, HostileValuesStayBounded) {
  EXPECT_EQ(ScaleLength(INT_MAX, 192), kCoordinateLimit);
  EXPECT_EQ(ScaleLength(INT_MIN, INT_MAX), -kCoordinateLimit);
  EXPECT_EQ(ScaleLength(-3, 144), -5);  // halves away from zero, as +3 gives 5
  for (int dpi : {0, -5}) EXPECT_EQ(ScaleLength(77, dpi), 77);

  SkinDefinition base;
  auto odd = [](int w, int h, int frames, int margin) {
    auto e = std::make_unique<TDataSkinBorder>("x");
    e->Image.Reset(w, h, PixelFormat::kBgra32);
    e->Image.Fill(kMagentaKey);
    e->FrameCount = frames;
    e->LeftWidth = e->RightWidth = margin;
    e->TopHeight = -margin, e->BottomHeight = margin;
    return e;
  };
  base.TopStrip = odd(7, 5, 0, INT_MAX);
  base.LeftStrip = odd(3, 9, INT_MAX, INT_MIN);
  base.RightStrip = odd(1, 1, -5, 1);
  base.Tabs = odd(2000, 2000, 1, 3);  // at 384 DPI: 8000 x 8000, past the budget
  base.UpDownHorz = odd(16, 2, 8, 0);
  auto b = std::make_unique<TDataSkinSysButton>("BUTTON");
  b->FrameCount = INT_MIN, b->Xcoord = INT_MAX, b->Ycoord = INT_MIN;
  base.SysButtons.push_back(std::move(b));
  EXPECT_EQ(ScaleSkinDefinition(base, -5).TopStrip->LeftWidth, INT_MAX);  // a copy
  for (int dpi : {1, 100000, INT_MAX}) {
    SCOPED_TRACE(dpi);
    const SkinDefinition s = ScaleSkinDefinition(base, dpi);
    const int k = SkinScalingDpi(dpi);
    int64_t pixels = 0;
    for (const SlotView& slot : ListSlots(s))
      if (slot.record) pixels += int64_t(slot.record->Image.Width()) * slot.record->Image.Height();
    EXPECT_LE(pixels, kScaledPixelBudget);
    EXPECT_EQ(s.TopStrip->LeftWidth, ScaleLength(INT_MAX, k));
    EXPECT_EQ(s.TopStrip->Image.Height(), ScaleLength(5, k));
    EXPECT_EQ(s.LeftStrip->Image.Width(), 0);  // no frame a pixel wide
    EXPECT_EQ(s.UpDownHorz->Image.Width(), 8 * ScaleLength(2, k));
    EXPECT_EQ(s.SysButtons[0]->Xcoord, ScaleLength(INT_MAX, k));
    EXPECT_EQ(s.Tabs->Image.Empty(), k == kMaxSkinDpi);
  }
}

PixelBitmap Filled(int w, int h, uint32_t colour) {
  PixelBitmap b(w, h);
  b.Fill(colour);
  return b;
}

// A package with art drawn for 192 DPI next to the base art: the menu item's fits (five
// 12 x 8 frames), the sunk edge's does not (it is not four 8 x 8 frames).
TEST(SkinScaling, DrawnArtIsTakenWhereItFits) {
  const std::string ini =
      "[MenuItem]\nImage=item.bmp\nLeftWidth=2\nRightWidth=2\n"
      "[SunkEdge]\nImage=edge.bmp\n";
  const uint32_t base_colour = Rgb(10, 20, 30), drawn_colour = Rgb(200, 100, 50);
  const std::vector<PackageEntry> entries = {
      {"skin.ini", std::vector<uint8_t>(ini.begin(), ini.end())},
      {"item.bmp", EncodeBmp(Filled(30, 4, base_colour))},
      {"item@192.bmp", EncodeBmp(Filled(60, 8, drawn_colour))},
      {"edge.bmp", EncodeBmp(Filled(16, 4, base_colour))},
      {"edge@192.bmp", EncodeBmp(Filled(30, 8, drawn_colour))},
      {"odd@0192.bmp", EncodeBmp(Filled(1, 1, 0))},
  };
  SkinDefinition base;
  std::vector<DrawnDefinition> drawn;
  RecordingSkinReporter reporter;
  ASSERT_TRUE(LoadSkinPackage(WritePackage(entries), base, reporter, nullptr, nullptr, &drawn));
  ASSERT_EQ(drawn.size(), 1u);
  ASSERT_EQ(drawn[0].dpi, 192);
  EXPECT_EQ(ChooseDrawnDpi({192}, 144), 192);
  EXPECT_EQ(ChooseDrawnDpi({144, 192}, 120), 144);
  EXPECT_EQ(ChooseDrawnDpi({144}, 192), 0);
  for (int dpi : {192, 144}) {
    SCOPED_TRACE(dpi);
    const SkinDefinition s = ScaleSkinDefinition(base, dpi, &drawn[0].definition, 192);
    const PixelBitmap& item = s.MenuItem->Image;
    EXPECT_EQ(item.Width(), 5 * ScaleLength(6, dpi));
    EXPECT_EQ(item.Pixel(item.Width() - 1, item.Height() - 1), drawn_colour);
    EXPECT_EQ(s.MenuItem->LeftWidth, ScaleLength(2, dpi));
    EXPECT_EQ(s.SunkEdge->Image.Width(), 4 * ScaleLength(4, dpi));
    EXPECT_EQ(s.SunkEdge->Image.Pixel(0, 0), base_colour);
  }
}

}  // namespace
}  // namespace skin
