#include "skin/store/bitmap_ops.h"

#include <gtest/gtest.h>

namespace skin {
namespace {

// Every pixel distinct, so that any misplaced pixel shows.
PixelBitmap Numbered(int w, int h) {
  PixelBitmap b(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) b.SetPixel(x, y, Rgb(uint8_t(x), uint8_t(y), uint8_t(x * 7 + y)));
  return b;
}

TEST(BitmapOps, EachOperationMovesPixelsAsDescribed) {
  const PixelBitmap src = Numbered(5, 3);
  PixelBitmap m = src, f = src, l = src, r = src;
  ASSERT_TRUE(MirrorHorizontally(m));
  ASSERT_TRUE(FlipVertically(f));
  ASSERT_TRUE(RotateLeft(l));
  ASSERT_TRUE(RotateRight(r));
  ASSERT_EQ(l.Width(), 3);
  ASSERT_EQ(l.Height(), 5);
  ASSERT_EQ(r.Width(), 3);
  ASSERT_EQ(r.Height(), 5);
  for (int y = 0; y < 3; ++y) {
    for (int x = 0; x < 5; ++x) {
      const uint32_t c = src.Pixel(x, y);
      EXPECT_EQ(m.Pixel(4 - x, y), c);
      EXPECT_EQ(f.Pixel(x, 2 - y), c);
      EXPECT_EQ(l.Pixel(y, 4 - x), c);
      EXPECT_EQ(r.Pixel(2 - y, x), c);
    }
  }
}

TEST(BitmapOps, InversePairsGiveTheImageBack) {
  const PixelBitmap src = Numbered(64, 18);
  PixelBitmap b = src;
  MirrorHorizontally(b);
  EXPECT_FALSE(b == src);
  MirrorHorizontally(b);
  EXPECT_EQ(b, src);
  FlipVertically(b);
  FlipVertically(b);
  EXPECT_EQ(b, src);
  RotateLeft(b);
  RotateRight(b);
  EXPECT_EQ(b, src);
  for (int i = 0; i < 4; ++i) RotateRight(b);
  EXPECT_EQ(b, src);
}

TEST(BitmapOps, RotatingNinetyByNineteenTakesTheRightCorner) {
  const PixelBitmap src = Numbered(90, 19);
  PixelBitmap l = src, r = src;
  RotateLeft(l);
  RotateRight(r);
  EXPECT_EQ(l.Width(), 19);
  EXPECT_EQ(l.Height(), 90);
  EXPECT_EQ(l.Pixel(0, 0), src.Pixel(89, 0));  // old top-right
  EXPECT_EQ(r.Pixel(0, 0), src.Pixel(0, 18));  // old bottom-left
  // The new rows are padded to 4 bytes like any DIB row.
  EXPECT_EQ(l.Stride(), 60u);
}

TEST(BitmapOps, OnePixelAndEmptyBitmapsAreUnchanged) {
  const PixelBitmap one = Numbered(1, 1);
  for (auto op : {MirrorHorizontally, FlipVertically, RotateLeft, RotateRight}) {
    PixelBitmap b = one;
    EXPECT_TRUE(op(b));
    EXPECT_EQ(b, one);
    PixelBitmap empty;
    EXPECT_TRUE(op(empty));
    EXPECT_TRUE(empty.Empty());
  }
}

TEST(BitmapOps, RefuseOtherThanTwentyFourBits) {
  PixelBitmap b(4, 2, PixelFormat::kBgra32);
  b.SetPixel(0, 0, Rgb(1, 2, 3));
  const PixelBitmap before = b;
  for (auto op : {MirrorHorizontally, FlipVertically, RotateLeft, RotateRight}) {
    EXPECT_FALSE(op(b));
    EXPECT_EQ(b, before);
  }
}

}  // namespace
}  // namespace skin
