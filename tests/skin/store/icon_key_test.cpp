// The window icon keyed on magenta: alpha icons by their alpha, others by their mask.
#include "skin/store/icon_key.h"

#include <gtest/gtest.h>

namespace skin {
namespace {

void SetBgra(PixelBitmap& p, int x, int y, uint8_t b, uint8_t g, uint8_t r, uint8_t a) {
  uint8_t* px = p.ScanLine(y) + 4 * x;
  px[0] = b;
  px[1] = g;
  px[2] = r;
  px[3] = a;
}

TEST(IconOnMagentaKey, AlphaDecidesAndEdgesKeepTheirOwnColour) {
  PixelBitmap colour(3, 1, PixelFormat::kBgra32), mask(3, 1, PixelFormat::kBgra32);
  mask.Fill(0);  // the mask says opaque everywhere: alpha wins
  SetBgra(colour, 0, 0, 0x10, 0x20, 0x30, 255);
  SetBgra(colour, 1, 0, 0x40, 0x50, 0x60, 128);  // a soft edge: shown, not blended
  SetBgra(colour, 2, 0, 0x70, 0x80, 0x90, 127);
  const PixelBitmap out = IconOnMagentaKey(colour, mask);
  ASSERT_EQ(out.Width(), 3);
  EXPECT_EQ(out.Pixel(0, 0), 0x102030u);
  EXPECT_EQ(out.Pixel(1, 0), 0x405060u);
  EXPECT_EQ(out.Pixel(2, 0), 0xFF00FFu);
}

TEST(IconOnMagentaKey, WithoutAlphaTheMaskDecidesAndRealMagentaStaysVisible) {
  PixelBitmap colour(3, 1, PixelFormat::kBgra32), mask(3, 1, PixelFormat::kBgra32);
  SetBgra(colour, 0, 0, 0x10, 0x20, 0x30, 0);
  SetBgra(colour, 1, 0, 0xFF, 0x00, 0xFF, 0);
  SetBgra(colour, 2, 0, 0x70, 0x80, 0x90, 0);
  mask.SetPixel(0, 0, 0);
  mask.SetPixel(1, 0, 0);
  mask.SetPixel(2, 0, 0xFFFFFF);
  const PixelBitmap out = IconOnMagentaKey(colour, mask);
  EXPECT_EQ(out.Pixel(0, 0), 0x102030u);
  EXPECT_NE(out.Pixel(1, 0), 0xFF00FFu);
  EXPECT_EQ(out.Pixel(2, 0), 0xFF00FFu);
}

TEST(IconOnMagentaKey, MismatchedOrWrongFormatsGiveNothing) {
  EXPECT_TRUE(IconOnMagentaKey(PixelBitmap(2, 2, PixelFormat::kBgra32),
                               PixelBitmap(2, 3, PixelFormat::kBgra32))
                  .Empty());
  EXPECT_TRUE(IconOnMagentaKey(PixelBitmap(2, 2), PixelBitmap(2, 2)).Empty());
  EXPECT_TRUE(IconOnMagentaKey(PixelBitmap(), PixelBitmap()).Empty());
}

}  // namespace
}  // namespace skin
