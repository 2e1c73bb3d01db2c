#pragma once
// A small skin for menu tests, made in code so that every expected pixel is known: a
// "MenuItem" strip of five 20 x 16 frames (each a gradient of its own colour, frame 2 a
// grey line on magenta) and a "MenuBackground" of 24 x 24 with a 3-pixel ring.
#include <memory>

#include "skin/data/skin_data.h"
#include "skin/manager/element_compose.h"

namespace menutest {

inline constexpr uint32_t kMenuColour = skin::RgbColour(200, 210, 220);
inline constexpr uint32_t kHilight = skin::RgbColour(10, 20, 120);
inline constexpr uint32_t kMenuText = skin::RgbColour(0, 0, 0);
inline constexpr uint32_t kHilightText = skin::RgbColour(255, 255, 0);
inline constexpr uint32_t kButtonShadow = skin::RgbColour(150, 0, 0);
inline constexpr uint32_t kSeparatorGrey = skin::RgbColour(60, 60, 60);

inline skin::PixelBitmap MenuItemStrip() {
  skin::PixelBitmap image(100, 16, skin::PixelFormat::kBgr24);
  for (int y = 0; y < 16; ++y) {
    for (int x = 0; x < 100; ++x) {
      const int frame = x / 20, fx = x % 20;
      uint32_t c;
      if (frame == 1) {
        c = (y >= 11 && y <= 12 && fx >= 2 && fx < 18) ? kSeparatorGrey : skin::kMagentaKey;
      } else {
        c = skin::RgbColour(40 * frame + fx, 100 + 5 * y, 30 + 40 * frame);
      }
      image.SetPixel(x, y, c);
    }
  }
  return image;
}

inline skin::PixelBitmap MenuBackgroundImage() {
  skin::PixelBitmap image(24, 24, skin::PixelFormat::kBgr24);
  for (int y = 0; y < 24; ++y)
    for (int x = 0; x < 24; ++x) {
      const bool ring = x < 3 || y < 3 || x >= 21 || y >= 21;
      image.SetPixel(
          x, y,
          ring ? skin::RgbColour(90 + x, 20, 160 + y) : skin::RgbColour(230, 240 - x, 200 + y));
    }
  return image;
}

// Fills the colours and elements of `data` and marks it loaded.
inline void FillMenuSkin(skin::TSkinData& data, bool with_item = true,
                         bool with_background = true) {
  data.MenuColour = kMenuColour;
  data.Hilight = kHilight;
  data.MenuText = kMenuText;
  data.HilightText = kHilightText;
  data.ButtonShadow = kButtonShadow;
  data.MenuItem.reset();
  data.MenuBackground.reset();
  if (with_item) {
    data.MenuItem = std::make_unique<skin::TDataSkinObject>("MenuItem");
    data.MenuItem->Image = MenuItemStrip();
    data.MenuItem->FrameCount = 5;
    data.MenuItem->LeftWidth = 4;
    data.MenuItem->RightWidth = 4;
  }
  if (with_background) {
    data.MenuBackground = std::make_unique<skin::TDataSkinObject>("MenuBackground");
    data.MenuBackground->Image = MenuBackgroundImage();
    data.MenuBackground->FrameCount = 1;
    data.MenuBackground->LeftWidth = data.MenuBackground->TopHeight = 3;
    data.MenuBackground->RightWidth = data.MenuBackground->BottomHeight = 3;
  }
  data.NoSkinLoaded = false;
}

}  // namespace menutest
