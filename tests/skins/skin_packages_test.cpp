// Checks of the skin packages the build draws and packs (skins/): read through the
// engine's own package loader, every element slot is filled, frames are counted and sized
// as the painters cut them, the caption buttons fit the title bar without overlapping,
// magenta appears only where a painter treats it as transparent, and the art drawn for
// 192 DPI fits the 96-DPI art it stands in for.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "skin/data/skin_definition.h"
#include "skin/data/skin_scaling.h"
#include "skin/store/skin_reporter.h"

namespace {

using skin::PixelBitmap;
using skin::SkinDefinition;
using skin::TDataSkinObject;
using skin::TDataSkinSysButton;

constexpr uint32_t kMagenta = 0x00FF00FF;
// Colours at or above this are references to system colours, not RGB values.
constexpr uint32_t kSystemColour = 0xFF000000;

struct LoadedSkin {
  SkinDefinition definition;
  std::string error;
  std::vector<std::string> image_problems;
  std::vector<skin::DrawnDefinition> drawn;
  bool ok = false;
};

const LoadedSkin& Load(const std::string& path) {
  static std::map<std::string, std::unique_ptr<LoadedSkin>> cache;
  auto& slot = cache[path];
  if (!slot) {
    slot = std::make_unique<LoadedSkin>();
    std::ifstream in(path, std::ios::binary);
    std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), {});
    if (bytes.empty()) {
      slot->error = "cannot read " + path;
    } else {
      skin::RecordingSkinReporter reporter;
      slot->ok = skin::LoadSkinPackage(bytes, slot->definition, reporter, &slot->error,
                                       &slot->image_problems, &slot->drawn);
    }
  }
  return *slot;
}

int CountMagenta(const PixelBitmap& image) {
  int n = 0;
  for (int y = 0; y < image.Height(); ++y)
    for (int x = 0; x < image.Width(); ++x) n += image.Pixel(x, y) == kMagenta;
  return n;
}

// How the painters cut an element: frame count, layout, and (for the elements whose size
// does not depend on the theme) the size of one frame.
struct Layout {
  int frames;
  bool stacked;
  int frame_width = 0;  // 0: theme-dependent, checked elsewhere
  int frame_height = 0;
};

const std::map<std::string, Layout>& ExpectedLayouts() {
  static const std::map<std::string, Layout> layouts = {
      {"LeftStrip", {2, false}},
      {"RightStrip", {2, false}},
      {"TopStrip", {2, true}},
      {"BottomStrip", {2, true}},
      {"Title", {2, true, 16, 0}},
      {"Buttons", {5, false, 24, 24}},
      {"Progress", {2, false, 16, 16}},
      {"MenuBarElement", {2, true, 32, 20}},
      {"GroupBoxEdge", {2, false, 16, 16}},
      {"Toolbars", {5, false, 22, 22}},
      {"Tabs", {5, false, 24, 22}},
      {"StatusBarEdges", {3, false, 12, 12}},
      {"ComboButton", {4, false, 17, 20}},
      {"SunkEdge", {4, false, 16, 16}},
      {"ExtraImages", {5, false, 12, 12}},
      {"Headerbar", {5, false, 20, 20}},
      {"MenuItem", {5, false, 24, 18}},
      {"MenuBackground", {1, false, 32, 32}},
      {"Scrollbar", {23, false, 16, 16}},
      {"HorzScroll", {4, false, 16, 16}},
      {"VertScroll", {4, false, 16, 16}},
      {"HorzScrollThumb", {3, false, 16, 16}},
      {"VertScrollThumb", {3, false, 16, 16}},
      {"TrackbarThumbHorz", {5, false, 11, 21}},
      {"TrackbarThumbVert", {5, false, 21, 11}},
      {"TrackbarThumbLeft", {5, false, 21, 11}},
      {"TrackbarThumbRight", {5, false, 21, 11}},
      {"TrackbarThumbUp", {5, false, 11, 21}},
      {"TrackbarThumbDown", {5, false, 11, 21}},
      {"UpDownHorz", {8, false, 10, 16}},
      {"UpDownVert", {8, false, 16, 10}},
  };
  return layouts;
}

// Elements whose painters always key out magenta, whatever their Trans value; and those
// that are copied opaquely whatever it says.
bool AlwaysKeyed(const std::string& slot) {
  return slot == "Title" || slot == "Progress" || slot == "ComboButton" || slot == "ExtraImages" ||
         slot == "Scrollbar" || slot.rfind("TrackbarThumb", 0) == 0 || slot.rfind("UpDown", 0) == 0;
}
bool NeverKeyed(const std::string& slot) {
  return slot == "Headerbar" || slot == "StatusBarEdges" || slot == "MenuBackground" ||
         slot == "MenuBarElement";
}

class BuiltSkin : public testing::TestWithParam<const char*> {
 protected:
  const SkinDefinition& Skin() {
    const LoadedSkin& loaded = Load(GetParam());
    EXPECT_TRUE(loaded.ok) << loaded.error;
    return loaded.definition;
  }
  int BorderTop() { return Skin().TopStrip->Image.Height() / Skin().TopStrip->FrameCount; }
  int BorderLeft() { return Skin().LeftStrip->Image.Width() / Skin().LeftStrip->FrameCount; }
  int BorderRight() { return Skin().RightStrip->Image.Width() / Skin().RightStrip->FrameCount; }
};

TEST_P(BuiltSkin, LoadsWithEveryBitmapDecoded) {
  const LoadedSkin& loaded = Load(GetParam());
  ASSERT_TRUE(loaded.ok) << loaded.error;
  EXPECT_TRUE(loaded.image_problems.empty()) << loaded.image_problems.front();
  EXPECT_FALSE(loaded.definition.SkinName.empty());
}

TEST_P(BuiltSkin, EverySlotIsFilledWithTheFramesItsPainterCuts) {
  const auto slots = skin::ListSlots(Skin());
  ASSERT_EQ(slots.size(), ExpectedLayouts().size());
  for (const skin::SlotView& slot : slots) {
    SCOPED_TRACE(slot.name);
    ASSERT_NE(slot.record, nullptr);
    const PixelBitmap& image = slot.record->Image;
    ASSERT_FALSE(image.Empty());
    const Layout& want = ExpectedLayouts().at(slot.name);
    EXPECT_EQ(slot.record->FrameCount, want.frames);
    int along = want.stacked ? image.Height() : image.Width();
    EXPECT_EQ(along % want.frames, 0) << "frames do not divide the image evenly";
    int fw = want.stacked ? image.Width() : image.Width() / want.frames;
    int fh = want.stacked ? image.Height() / want.frames : image.Height();
    if (want.frame_width) {
      EXPECT_EQ(fw, want.frame_width);
    }
    if (want.frame_height) {
      EXPECT_EQ(fh, want.frame_height);
    }
    // Fixed edges must leave a middle to stretch (the title's edge fields carry the
    // caption geometry instead; its plate ends are checked below).
    if (slot.record != Skin().Title.get()) {
      EXPECT_LT(slot.record->LeftWidth + slot.record->RightWidth, fw);
      EXPECT_LE(slot.record->TopHeight + slot.record->BottomHeight, fh);
    }
  }
  const SkinDefinition& d = Skin();
  EXPECT_LT(d.Title->TXTBackleft + d.Title->TXTBackRight, d.Title->Image.Width());
  EXPECT_FALSE(d.Progress->Image2.Empty());     // the chunk
  EXPECT_FALSE(d.Tabs->Image2.Empty());         // the page border
  EXPECT_FALSE(d.ComboButton->Image2.Empty());  // the mirrored copy
  EXPECT_FALSE(d.UpDownHorz->Image2.Empty());   // glyphs
  EXPECT_FALSE(d.UpDownVert->Image2.Empty());
  EXPECT_EQ(d.UpDownHorz->Image2.Width() % 8, 0);
  EXPECT_EQ(d.UpDownVert->Image2.Width() % 8, 0);
  EXPECT_EQ(d.Buttons->CheckButtonFrame, 4);
  EXPECT_EQ(d.Buttons->RadioButtonFrame, 4);
  EXPECT_EQ(d.Buttons->CheckImage.Width(), 4 * 13);
  EXPECT_EQ(d.Buttons->RadioImage.Width(), 4 * 13);
  EXPECT_EQ(d.Buttons->CheckImage.Height(), 13);
}

TEST_P(BuiltSkin, FrameStripsMeetAsOneFrame) {
  const SkinDefinition& d = Skin();
  const int top = BorderTop(), left = BorderLeft(), right = BorderRight();
  const int bottom = d.BottomStrip->Image.Height() / d.BottomStrip->FrameCount;
  EXPECT_GE(top, 20);
  EXPECT_EQ(left, right);
  EXPECT_EQ(left, bottom);
  // The side strips' fixed top part is exactly the title bar and their fixed bottom part
  // the bottom border, so their title rows line up with the top strip.
  for (const auto* side : {d.LeftStrip.get(), d.RightStrip.get()}) {
    EXPECT_EQ(side->TopHeight, top);
    EXPECT_EQ(side->BottomHeight, bottom);
    EXPECT_GT(side->Image.Height(), top + bottom);
  }
  // The title text plate is as high as the title bar.
  EXPECT_EQ(d.Title->Image.Height() / 2, top);
  for (const auto* strip :
       {d.LeftStrip.get(), d.RightStrip.get(), d.TopStrip.get(), d.BottomStrip.get()})
    EXPECT_EQ(strip->Tile, 1) << strip->Name << ": the middle is stretched";
  // The title row where a side strip meets the top strip has the same colour on both.
  const PixelBitmap& l = d.LeftStrip->Image;
  const PixelBitmap& t = d.TopStrip->Image;
  EXPECT_EQ(l.Pixel(left - 1, top / 2), t.Pixel(t.Width() / 2, top / 2));
}

TEST_P(BuiltSkin, MagentaOnlyWhereItIsDrawnTransparent) {
  const SkinDefinition& d = Skin();
  for (const skin::SlotView& slot : skin::ListSlots(d)) {
    const std::string name = slot.name;
    SCOPED_TRACE(name);
    const TDataSkinObject& r = *slot.record;
    if (name.find("Strip") != std::string::npos) continue;  // below
    bool keyed = !NeverKeyed(name) && (AlwaysKeyed(name) || r.Trans != 0);
    if (!keyed) {
      EXPECT_EQ(CountMagenta(r.Image), 0);
    }
  }
  EXPECT_EQ(CountMagenta(d.Tabs->Image2), 0) << "the page border is drawn opaque";

  // Strips: magenta only in the rounded outer top corners, inside the fixed parts, so
  // stretching never smears it and the region stays a rounded rectangle.
  const int left = BorderLeft();
  const int corner = 8;
  EXPECT_EQ(CountMagenta(d.BottomStrip->Image), 0);
  for (const auto* side : {d.LeftStrip.get(), d.RightStrip.get()}) {
    const PixelBitmap& img = side->Image;
    const int fw = img.Width() / side->FrameCount;
    for (int y = 0; y < img.Height(); ++y)
      for (int x = 0; x < img.Width(); ++x)
        if (img.Pixel(x, y) == kMagenta) {
          ASSERT_LT(y, corner) << side->Name << " at " << x << "," << y;
          ASSERT_LT(y, side->TopHeight);
        }
    bool is_left = side == d.LeftStrip.get();
    for (int f = 0; f < side->FrameCount; ++f)
      EXPECT_EQ(img.Pixel(f * fw + (is_left ? 0 : fw - 1), 0), kMagenta)
          << side->Name << " frame " << f + 1 << ": the outer corner is rounded";
  }
  const PixelBitmap& t = d.TopStrip->Image;
  const int fh = t.Height() / d.TopStrip->FrameCount;
  for (int y = 0; y < t.Height(); ++y)
    for (int x = 0; x < t.Width(); ++x)
      if (t.Pixel(x, y) == kMagenta) {
        ASSERT_LT(y % fh, corner) << "top strip at " << x << "," << y;
        ASSERT_TRUE(x < d.TopStrip->LeftWidth || x >= t.Width() - d.TopStrip->RightWidth)
            << "top strip at " << x << "," << y;
        ASSERT_LT(std::min(x, t.Width() - 1 - x), corner - left);
      }
}

TEST_P(BuiltSkin, CarriesArtDrawnFor192DpiThatTheScalingTakes) {
  const LoadedSkin& loaded = Load(GetParam());
  ASSERT_EQ(loaded.drawn.size(), 1u);
  ASSERT_EQ(loaded.drawn[0].dpi, 192);
  const SkinDefinition& base = loaded.definition;
  const SkinDefinition& drawn = loaded.drawn[0].definition;
  // Every drawn image is exactly the scaled size, so the scaling takes it as it is.
  const SkinDefinition taken = skin::ScaleSkinDefinition(base, 192, &drawn, 192);
  const auto taken_slots = skin::ListSlots(taken), drawn_slots = skin::ListSlots(drawn);
  ASSERT_EQ(taken_slots.size(), drawn_slots.size());
  for (size_t i = 0; i < taken_slots.size(); ++i) {
    SCOPED_TRACE(taken_slots[i].name);
    ASSERT_FALSE(drawn_slots[i].record->Image.Empty());
    EXPECT_TRUE(taken_slots[i].record->Image == drawn_slots[i].record->Image);
  }
  EXPECT_TRUE(taken.Buttons->RadioImage == drawn.Buttons->RadioImage);
  EXPECT_TRUE(taken.SysButtons[0]->Image == drawn.SysButtons[0]->Image);

  // The window's shape is the same: the drawn strips and the title plate key out the
  // corners where the base scaled by two does, give or take a pixel along the (smoother)
  // arc, which may also run along a frame's edge.
  const SkinDefinition scaled = skin::ScaleSkinDefinition(base, 192);
  const auto scaled_slots = skin::ListSlots(scaled);
  for (size_t i = 0; i < scaled_slots.size(); ++i) {
    const std::string name = scaled_slots[i].name;
    if (name != "LeftStrip" && name != "RightStrip" && name != "TopStrip" && name != "Title")
      continue;
    SCOPED_TRACE(name);
    const PixelBitmap& want = scaled_slots[i].record->Image;
    const PixelBitmap& got = drawn_slots[i].record->Image;
    ASSERT_EQ(got.Width(), want.Width());
    ASSERT_EQ(got.Height(), want.Height());
    const bool stacked = name == "TopStrip" || name == "Title";
    const int frames = scaled_slots[i].record->FrameCount;
    const int fw = stacked ? want.Width() : want.Width() / frames;
    const int fh = stacked ? want.Height() / frames : want.Height();
    auto key = [&](int x, int y) { return want.Pixel(x, y) == kMagenta; };
    int differing = 0;
    for (int y = 0; y < got.Height(); ++y)
      for (int x = 0; x < got.Width(); ++x) {
        if ((got.Pixel(x, y) == kMagenta) == key(x, y)) continue;
        ++differing;
        bool near_outline = false;
        for (int dy = -1; dy <= 1; ++dy)
          for (int dx = -1; dx <= 1; ++dx) {
            int nx = x + dx, ny = y + dy;
            bool same_frame = nx >= x / fw * fw && nx < (x / fw + 1) * fw && ny >= y / fh * fh &&
                              ny < (y / fh + 1) * fh;
            near_outline |= !same_frame || key(nx, ny) != key(x, y);
          }
        EXPECT_TRUE(near_outline) << "key differs at " << x << "," << y;
      }
    EXPECT_LT(differing, CountMagenta(want) / 2 + 8);
  }
}

// The buttons a window shows, by the visibility codes these skins use.
struct WindowKind {
  bool maximize_box, minimize_box, system_menu, maximized;
};
bool CodeHolds(int code, bool first, const WindowKind& w) {
  switch (code) {
    case 0:
      return true;  // an edged frame (every captioned window here)
    case 1:
      return w.maximized;
    case 2:
      return !w.maximized;
    case 6:
      return w.maximize_box && (w.system_menu || !first);
    case 8:
      return w.minimize_box && (w.system_menu || !first);
    case 100:
      return false;
    default:
      return code >= 200 && code <= 2000;
  }
}
std::vector<const TDataSkinSysButton*> Visible(const SkinDefinition& d, const WindowKind& w) {
  std::vector<const TDataSkinSysButton*> out;
  for (const auto& b : d.SysButtons) {
    bool v = CodeHolds(b->Visibility, true, w) && CodeHolds(b->Visibility1, false, w);
    if (b->Action == 0 && b->Visibility == 0) v = v && w.system_menu;
    if (b->Action == 1 && !w.maximize_box) v = false;
    if (b->Action == 2 && !w.minimize_box) v = false;
    if (v) out.push_back(b.get());
  }
  return out;
}

// A load at 96 DPI expands the package only up to the last entry it reads.
TEST_P(BuiltSkin, DrawnArtComesAfterEveryOtherEntry) {
  std::ifstream in(GetParam(), std::ios::binary);
  const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), {});
  skin::TSkinReader reader;
  ASSERT_TRUE(reader.Load(bytes));
  const std::vector<std::string>& names = reader.Directory();
  const auto first_drawn = std::find_if(
      names.begin(), names.end(), [](const std::string& n) { return skin::DrawnDpiOf(n) > 0; });
  ASSERT_NE(first_drawn, names.end());
  for (auto it = first_drawn; it != names.end(); ++it) EXPECT_GT(skin::DrawnDpiOf(*it), 0) << *it;
}

TEST_P(BuiltSkin, CaptionButtonsFitTheTitleBarAndNeverOverlap) {
  const SkinDefinition& d = Skin();
  ASSERT_EQ(d.SysButtons.size(), 7u + 3u);
  std::vector<int> actions;
  for (size_t i = 0; i < 7; ++i) actions.push_back(d.SysButtons[i]->Action);
  EXPECT_EQ(actions, (std::vector<int>{0, 1, 1, 2, 3, 31, 30}));

  const int top = BorderTop(), right = BorderRight(), left = BorderLeft();
  int widest_reach = 0;
  for (size_t i = 0; i < 7; ++i) {
    const TDataSkinSysButton& b = *d.SysButtons[i];
    SCOPED_TRACE(b.Name);
    if (b.Action == 3) {
      // The window icon: the engine draws the window's own 16 x 16 icon there.
      EXPECT_TRUE(b.Image.Empty());
      EXPECT_EQ(b.Align, 0);
      EXPECT_GE(b.Xcoord, left);
      EXPECT_LE(b.Xcoord + 16, left + d.Title->LeftWidth) << "icon runs into the caption";
      EXPECT_GE(b.Ycoord, 1);
      EXPECT_LE(b.Ycoord + 16, top - 1);
      continue;
    }
    ASSERT_EQ(b.FrameCount, 4) << "normal, pressed, hot, inactive";
    ASSERT_EQ(b.Image.Width() % 4, 0);
    const int w = b.Image.Width() / 4, h = b.Image.Height();
    EXPECT_EQ(b.Align, 1);
    EXPECT_GE(b.Ycoord, 1);
    EXPECT_LE(b.Ycoord + h, top - 1) << "button covers the title's lower edge";
    EXPECT_GE(b.Xcoord - w, right) << "button covers the right border";
    widest_reach = std::max(widest_reach, b.Xcoord);
  }
  // The caption text stops before the leftmost caption button.
  EXPECT_GE(d.Title->RightWidth, widest_reach - right);

  // For every kind of window, the visible buttons do not overlap.
  for (int bits = 0; bits < 16; ++bits) {
    WindowKind kind{bool(bits & 1), bool(bits & 2), bool(bits & 4), bool(bits & 8)};
    auto shown = Visible(d, kind);
    for (size_t i = 0; i < shown.size(); ++i)
      for (size_t j = i + 1; j < shown.size(); ++j) {
        const auto *a = shown[i], *b = shown[j];
        if (a->Align != 1 || b->Align != 1) continue;
        int aw = a->Image.Width() / a->FrameCount, bw = b->Image.Width() / b->FrameCount;
        bool apart = a->Xcoord - aw >= b->Xcoord || b->Xcoord - bw >= a->Xcoord;
        EXPECT_TRUE(apart) << a->Name << " overlaps " << b->Name << " (window kind " << bits << ")";
      }
  }

  // The maximized MDI child's buttons: 16 x 14 each, four frames, in a row.
  const std::vector<int> mdi_x = {60, 40, 20};
  for (size_t i = 0; i < 3; ++i) {
    const TDataSkinSysButton& b = *d.SysButtons[7 + i];
    EXPECT_EQ(b.Image.Width(), 4 * 16);
    EXPECT_EQ(b.Image.Height(), 14);
    EXPECT_EQ(b.Xcoord, mdi_x[i]);
  }
}

TEST_P(BuiltSkin, TheCalculatorWindowShowsOnlyTheIconAndClose) {
  // A single, non-resizable border with a system menu and neither maximize nor minimize.
  auto shown = Visible(Skin(), {false, false, true, false});
  std::vector<int> actions;
  for (const auto* b : shown) actions.push_back(b->Action);
  EXPECT_EQ(actions, (std::vector<int>{0, 3}));
  // A full application window shows all of them but restore.
  shown = Visible(Skin(), {true, true, true, false});
  actions.clear();
  for (const auto* b : shown) actions.push_back(b->Action);
  EXPECT_EQ(actions, (std::vector<int>{0, 1, 2, 3, 31, 30}));
}

TEST_P(BuiltSkin, GivesEveryNamedColourAndItsExtraColours) {
  const SkinDefinition& d = Skin();
  const skin::Colour named[] = {
      d.WindowText,     d.TitleTextActive, d.TitleTextNoActive, d.ButtonFace,
      d.ButtonText,     d.ButtonHilight,   d.Buttonlight,       d.ButtonShadow,
      d.ButtonDkShadow, d.HilightText,     d.Hilight,           d.MenubarColour,
      d.MenuBarText,    d.MenuText,        d.MenuColour,        d.ScrollbarColour};
  for (skin::Colour c : named) EXPECT_LT(c, kSystemColour);
  EXPECT_EQ(d.ExtraColours.size(), 2u);
  EXPECT_NE(d.Title->ActiveText, skin::kColourNone);
  EXPECT_NE(d.Title->InActiveText, skin::kColourNone);
  EXPECT_EQ(d.Title->FontHeight, 14);
  // Disabled menu text (ButtonShadow) must stay readable on the menu.
  auto luma = [](skin::Colour c) {
    return (int(c & 0xFF) * 3 + int((c >> 8) & 0xFF) * 6 + int((c >> 16) & 0xFF)) / 10;
  };
  EXPECT_GE(std::abs(luma(d.ButtonShadow) - luma(d.MenuColour)), 60);
  EXPECT_GE(std::abs(luma(d.MenuText) - luma(d.MenuColour)), 120);
  EXPECT_GE(std::abs(luma(d.TitleTextActive) - luma(d.TopStrip->Image.Pixel(20, BorderTop() / 2))),
            100);
}

INSTANTIATE_TEST_SUITE_P(Skins, BuiltSkin,
                         testing::Values(DEFAULT_SKIN_PACKAGE, SECOND_SKIN_PACKAGE));

TEST(SecondSkin, IsClearlyDifferentFromTheDefault) {
  const LoadedSkin& a = Load(DEFAULT_SKIN_PACKAGE);
  const LoadedSkin& b = Load(SECOND_SKIN_PACKAGE);
  ASSERT_TRUE(a.ok && b.ok);
  EXPECT_EQ(a.definition.SkinName, "Metallic");
  EXPECT_EQ(b.definition.SkinName, "Dark");
  EXPECT_NE(a.definition.ButtonFace, b.definition.ButtonFace);
  EXPECT_NE(a.definition.TopStrip->Image.Height(), b.definition.TopStrip->Image.Height());
  const PixelBitmap& ta = a.definition.TopStrip->Image;
  const PixelBitmap& tb = b.definition.TopStrip->Image;
  auto luma = [](uint32_t c) { return int(c & 0xFF) + int((c >> 8) & 0xFF) + int(c >> 16); };
  EXPECT_GT(luma(ta.Pixel(20, 10)) - luma(tb.Pixel(20, 10)), 300) << "light against dark";
}

}  // namespace
