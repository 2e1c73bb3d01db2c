// Painting onto real device contexts: GDI's results are compared byte for byte with the
// portable composition, and regions are probed with PtInRegion.
#include "skin/manager/element_painting.h"

#include <gtest/gtest.h>

#include <cstring>
#include <optional>
#include <random>
#include <vector>

namespace skin {
namespace {

constexpr uint32_t kBackground = 0x00123456;

PixelBitmap Coordinates(int w, int h, PixelFormat format = PixelFormat::kBgr24) {
  PixelBitmap b(w, h, format);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) b.SetPixel(x, y, Rgb(uint8_t(x), uint8_t(y), 7));
  return b;
}

// A 32-bit DIB section selected into a memory DC, filled with one colour.
class Canvas {
 public:
  Canvas(int w, int h, uint32_t fill = kBackground)
      : dib_(CreateDibSection(w, h)), dc_(CreateCompatibleDC(nullptr)) {
    select_.emplace(dc_.get(), dib_.bitmap.get());
    PixelBitmap filled(w, h, PixelFormat::kBgra32);
    filled.Fill(fill);
    std::memcpy(dib_.bits, filled.Data(), filled.SizeInBytes());
  }
  HDC dc() const { return dc_.get(); }
  PixelBitmap Pixels() const { return ReadDibPixels(dib_); }

 private:
  DibSection dib_;
  fw::ScopedMemoryDc dc_;
  std::optional<fw::ScopedSelectObject> select_;
};

PixelBitmap Filled(int w, int h, uint32_t colour = kBackground) {
  PixelBitmap b(w, h, PixelFormat::kBgra32);
  b.Fill(colour);
  return b;
}

// What a DrawXxx call should leave: `image` put down at the target's origin, keyed or not.
void PutDown(PixelBitmap& dest, const PixelRect& target, const PixelBitmap& image, bool trans) {
  if (trans) {
    TransparentCopy(dest, target, image, kMagentaKey);
    return;
  }
  for (int y = 0; y < image.Height(); ++y)
    for (int x = 0; x < image.Width(); ++x)
      if (target.left + x < dest.Width() && target.top + y < dest.Height())
        dest.SetPixel(target.left + x, target.top + y, image.Pixel(x, y));
}

// Compares colours only (the alpha byte of 32-bit pixels is not part of the picture).
void ExpectSamePicture(const PixelBitmap& got, const PixelBitmap& want, const char* what) {
  ASSERT_EQ(got.Width(), want.Width()) << what;
  ASSERT_EQ(got.Height(), want.Height()) << what;
  for (int y = 0; y < want.Height(); ++y)
    for (int x = 0; x < want.Width(); ++x)
      ASSERT_EQ(got.Pixel(x, y), want.Pixel(x, y)) << what << " at " << x << "," << y;
}

// ---------------------------------------------------------------------------------------
// The portable stretch picks the pixels StretchBlt picks

TEST(StretchBltAgreement, EverySourceChoiceMatchesStretchBlt) {
  constexpr int kMax = 48;
  PixelBitmap row(kMax, 1, PixelFormat::kBgra32), column(1, kMax, PixelFormat::kBgra32);
  for (int i = 0; i < kMax; ++i) {
    row.SetPixel(i, 0, Rgb(uint8_t(i), 0, 0));
    column.SetPixel(0, i, Rgb(uint8_t(i), 0, 0));
  }
  DibSection row_dib = DibFromPixels(row), column_dib = DibFromPixels(column);
  fw::ScopedMemoryDc row_dc(CreateCompatibleDC(nullptr)), column_dc(CreateCompatibleDC(nullptr));
  fw::ScopedSelectObject row_sel(row_dc.get(), row_dib.bitmap.get());
  fw::ScopedSelectObject column_sel(column_dc.get(), column_dib.bitmap.get());
  for (int s = 1; s <= kMax; ++s) {
    for (int d = 1; d <= kMax; ++d) {
      Canvas across(kMax, 1), down(1, kMax);
      SetStretchBltMode(across.dc(), COLORONCOLOR);
      SetStretchBltMode(down.dc(), COLORONCOLOR);
      StretchBlt(across.dc(), 0, 0, d, 1, row_dc.get(), 0, 0, s, 1, SRCCOPY);
      StretchBlt(down.dc(), 0, 0, 1, d, column_dc.get(), 0, 0, 1, s, SRCCOPY);
      const PixelBitmap a = across.Pixels(), b = down.Pixels();
      for (int i = 0; i < d; ++i) {
        ASSERT_EQ(a.Pixel(i, 0) & 0xFF,
                  uint32_t(StretchSourceIndex(i, s, d, StretchAxis::kHorizontal)))
            << s << "->" << d << " at " << i;
        ASSERT_EQ(b.Pixel(0, i) & 0xFF,
                  uint32_t(StretchSourceIndex(i, s, d, StretchAxis::kVertical)))
            << s << "->" << d << " at " << i;
      }
    }
  }
}

// ---------------------------------------------------------------------------------------
// ComposeElement, natively and the plain GDI way

struct ComposeCase {
  int src_w, src_h;
  PixelFormat format;
  Margins margins;
  int frame, frames;
  bool tile, stacked;
  int w, h;
};

TEST(ComposeAgreement, PortableCompositionEqualsNineStretchBlts) {
  const ComposeCase cases[] = {
      {20, 20, PixelFormat::kBgr24, {4, 4, 4, 4}, 1, 1, false, false, 10, 10},
      {20, 20, PixelFormat::kBgr24, {8, 8, 8, 8}, 1, 1, false, false, 10, 10},  // all dropped
      {100, 30, PixelFormat::kBgra32, {3, 5, 6, 2}, 4, 5, false, false, 97, 41},
      {100, 30, PixelFormat::kBgra32, {3, 5, 6, 2}, 4, 5, true, false, 97, 41},
      {16, 8, PixelFormat::kBgr24, {3, 2, 3, 2}, 1, 1, true, false, 31, 8},  // three tiles
      {24, 72, PixelFormat::kBgr24, {5, 7, 5, 7}, 2, 3, false, true, 300, 17},
      {24, 72, PixelFormat::kBgra32, {5, 7, 5, 7}, 3, 3, true, true, 13, 260},
      {33, 33, PixelFormat::kBgr24, {0, 0, 0, 0}, 1, 1, false, false, 7, 5},  // shrink
      {33, 33, PixelFormat::kBgr24, {10, 0, 12, 0}, 1, 1, false, false, 1, 1},
      {40, 10, PixelFormat::kBgr24, {15, 2, 15, 2}, 1, 2, false, false, 64, 30},  // margins > frame
      {61, 47, PixelFormat::kBgra32, {9, 9, 9, 9}, 1, 1, false, false, 1024, 768},
  };
  for (const ComposeCase& c : cases) {
    const PixelBitmap src = Coordinates(c.src_w, c.src_h, c.format);
    const RECT target{3, 4, 3 + c.w, 4 + c.h};
    const PixelBitmap portable =
        ComposeElement(ToPixelRect(target), src, c.margins, c.frame, c.frames, c.tile, c.stacked);
    const PixelBitmap gdi =
        ComposeElementWithGdi(target, src, c.margins, c.frame, c.frames, c.tile, c.stacked);
    ExpectSamePicture(gdi, portable, "nine StretchBlts");
    fw::ScopedBitmap composed =
        ComposeElement(target, src, c.margins, c.frame, c.frames, c.tile, c.stacked);
    ExpectSamePicture(ReadBitmapPixels(composed.get()), portable, "ComposeElement bitmap");
  }
}

TEST(ComposeAgreement, InvertedTargetsGiveNoBitmapAndDrawNothing) {
  const PixelBitmap src = Coordinates(10, 10);
  EXPECT_FALSE(ComposeElement(RECT{5, 5, 4, 8}, src, {}, 1, 1, false, false));
  Canvas canvas(12, 12);
  DrawElement(canvas.dc(), RECT{8, 2, 3, 9}, src, {}, 1, 1, false, false, false);
  DrawHorzElement(canvas.dc(), RECT{2, 8, 9, 3}, src, {2, 0, 2, 0}, 1, 1, false, false);
  DrawElementFrame(canvas.dc(), RECT{8, 8, 2, 2}, src, 1, 1, true);
  DrawTransparent(canvas.dc(), RECT{8, 8, 2, 12}, src);
  ExpectSamePicture(canvas.Pixels(), Filled(12, 12), "untouched");
}

// ---------------------------------------------------------------------------------------
// Drawing onto a device context equals composing and copying natively

TEST(DrawOntoDc, DrawElementAndTheStripAndFrameMatchThePortableResult) {
  PixelBitmap src = Coordinates(60, 24);
  for (int x = 0; x < 60; x += 7) src.SetPixel(x, 3, kMagentaKey);  // some key pixels
  const RECT target{5, 6, 75, 36};
  const PixelRect t = ToPixelRect(target);
  for (bool trans : {false, true}) {
    Canvas canvas(90, 50);
    DrawElement(canvas.dc(), target, src, {4, 5, 6, 3}, 2, 3, trans, true, false);
    PixelBitmap want = Filled(90, 50);
    const PixelBitmap composed = ComposeElement(t, src, {4, 5, 6, 3}, 2, 3, true, false);
    PutDown(want, t, composed, trans);
    ExpectSamePicture(canvas.Pixels(), want, trans ? "DrawElement trans" : "DrawElement");

    Canvas strip_canvas(90, 50);
    DrawHorzElement(strip_canvas.dc(), target, src, {3, 0, 4, 0}, 2, 2, trans, true);
    PixelBitmap strip_want = Filled(90, 50);
    PutDown(strip_want, t, ComposeHorzStrip(t, src, {3, 0, 4, 0}, 2, 2, true), trans);
    ExpectSamePicture(strip_canvas.Pixels(), strip_want, "DrawHorzElement");

    Canvas frame_canvas(90, 50);
    DrawElementFrame(frame_canvas.dc(), target, src, 3, 4, trans);
    PixelBitmap frame_want = Filled(90, 50);
    PutDown(frame_want, t, ComposeElementFrame(t, src, 3, 4), trans);
    ExpectSamePicture(frame_canvas.Pixels(), frame_want, "DrawElementFrame");
  }
}

TEST(DrawOntoDc, DrawElementDirectLeavesTheCentreUntouched) {
  const PixelBitmap src = Coordinates(36, 12);  // three frames of 12 x 12
  // Fully inside, and hanging off the canvas's right and bottom edges.
  for (const RECT target : {RECT{4, 5, 44, 30}, RECT{30, 20, 70, 61}}) {
    Canvas canvas(50, 40);
    DrawElementDirect(canvas.dc(), target, src, {3, 4, 2, 5}, 2, 3, false);
    PixelBitmap want = Filled(50, 40);
    ComposeElementOnto(want, ToPixelRect(target), src, {3, 4, 2, 5}, 2, 3, false, false, false);
    const PixelBitmap got = canvas.Pixels();
    ExpectSamePicture(got, want, "DrawElementDirect");
    for (int y = target.top + 4; y < std::min<int>(target.bottom - 5, 40); ++y)
      for (int x = target.left + 3; x < std::min<int>(target.right - 2, 50); ++x)
        ASSERT_EQ(got.Pixel(x, y), kBackground) << x << "," << y;
    EXPECT_EQ(GetStretchBltMode(canvas.dc()), COLORONCOLOR);
  }
}

TEST(DrawOntoDc, DrawElementDirectOnAWindowDcMatchesThePortableResult) {
  WNDCLASSA wc = {};
  wc.lpfnWndProc = DefWindowProcA;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = "ElementPaintingTestWindow";
  RegisterClassA(&wc);  // no background brush: nothing repaints what the test draws
  HWND window = CreateWindowExA(WS_EX_TOPMOST, wc.lpszClassName, "", WS_POPUP | WS_VISIBLE, 0, 0,
                                64, 48, nullptr, nullptr, wc.hInstance, nullptr);
  ASSERT_NE(window, nullptr);
  UpdateWindow(window);
  const PixelBitmap src = Coordinates(36, 12);
  const RECT target{6, 5, 58, 44};
  PixelBitmap want = Filled(64, 48);
  ComposeElementOnto(want, ToPixelRect(target), src, {3, 4, 2, 5}, 2, 3, false, false, false);
  PixelBitmap got;
  {
    fw::ScopedGetDc dc(window);
    fw::ScopedBrush fill(CreateSolidBrush(kBackground));
    const RECT all{0, 0, 64, 48};
    FillRect(dc.get(), &all, fill.get());
    DrawElementDirect(dc.get(), target, src, {3, 4, 2, 5}, 2, 3, false);
    Canvas copy(64, 48, 0);
    BitBlt(copy.dc(), 0, 0, 64, 48, dc.get(), 0, 0, SRCCOPY);
    got = copy.Pixels();
  }
  DestroyWindow(window);
  ExpectSamePicture(got, want, "window DC");
}

TEST(DrawOntoDc, TileBitmapDrawsWholeTilesPastTheTarget) {
  const PixelBitmap src = Coordinates(20, 20);
  Canvas canvas(40, 30);
  TileBitmap(canvas.dc(), RECT{3, 2, 26, 15}, src, RECT{5, 6, 15, 12});
  PixelBitmap want = Filled(40, 30);
  TileCopy(src, {5, 6, 15, 12}, want, {3, 2, 26, 15});
  ExpectSamePicture(canvas.Pixels(), want, "TileBitmap");
  EXPECT_EQ(want.Pixel(32, 13), Rgb(14, 11, 7));  // the last tile runs to x 33, y 14

  Canvas untouched(10, 10);
  TileBitmap(untouched.dc(), RECT{0, 0, 10, 10}, src, RECT{5, 5, 5, 9});
  TileBitmap(untouched.dc(), RECT{0, 0, 10, 10}, src, RECT{15, 0, 25, 5});  // off the bitmap
  ExpectSamePicture(untouched.Pixels(), Filled(10, 10), "no tiles");
}

// ---------------------------------------------------------------------------------------
// DrawTransparent on both platform paths

TEST(DrawTransparentPaths, LeaveExactlyTheMagentaPixelsOnBothPaths) {
  std::mt19937 random(5);
  // Key pixels all over (AlphaBlend on the first path) and in three rows only (blocks).
  for (int variant = 0; variant < 4; ++variant) {
    const PixelFormat format = variant % 2 ? PixelFormat::kBgra32 : PixelFormat::kBgr24;
    PixelBitmap src(37, 23, format);
    for (int y = 0; y < 23; ++y)
      for (int x = 0; x < 37; ++x)
        src.SetPixel(x, y,
                     random() % 3 == 0 && (variant < 2 || y % 10 == 0) ? kMagentaKey
                                                                       : (random() & 0xFFFFFF));
    src.SetPixel(1, 1, Rgb(255, 0, 254));  // one off the key: painted
    DibSection as_gdi = DibFromPixels(src);
    for (TransparentMethod method : {TransparentMethod::kCopyOpaque, TransparentMethod::kMaskBlt,
                                     TransparentMethod::kInvertMaskInvert}) {
      for (int overload = 0; overload < 2; ++overload) {
        Canvas canvas(50, 30);
        const RECT target{6, 4, 6 + 60, 4 + 20};  // wider than the bitmap, lower than it
        if (overload == 0) {
          DrawTransparent(canvas.dc(), target, src, kMagentaKey, method);
        } else {
          // A GDI bitmap still selected into its own canvas, as an off-screen cache is.
          fw::ScopedMemoryDc own_dc(CreateCompatibleDC(nullptr));
          fw::ScopedSelectObject selected(own_dc.get(), as_gdi.bitmap.get());
          DrawTransparent(canvas.dc(), target, as_gdi.bitmap.get(), kMagentaKey, method);
        }
        const PixelBitmap got = canvas.Pixels();
        for (int y = 0; y < 30; ++y) {
          for (int x = 0; x < 50; ++x) {
            const bool covered = x >= 6 && x < 6 + 37 && y >= 4 && y < 4 + 20;
            const uint32_t want = covered && src.Pixel(x - 6, y - 4) != kMagentaKey
                                      ? src.Pixel(x - 6, y - 4)
                                      : kBackground;
            ASSERT_EQ(got.Pixel(x, y), want) << x << "," << y << " method " << int(method);
          }
        }
      }
    }
  }
  EXPECT_EQ(PlatformTransparentMethod(), (GetVersion() & 0x80000000u)
                                             ? TransparentMethod::kInvertMaskInvert
                                             : TransparentMethod::kCopyOpaque);
}

// ---------------------------------------------------------------------------------------
// RegionFromBitmap, probed with PtInRegion

void ExpectRegionMatchesKeyPixels(HRGN region, const PixelBitmap& b, int dx, int dy) {
  ASSERT_NE(region, nullptr);
  for (int y = -1; y <= b.Height(); ++y) {
    for (int x = -1; x <= b.Width(); ++x) {
      const bool inside = x >= 0 && y >= 0 && x < b.Width() && y < b.Height();
      const uint32_t c = inside ? b.Pixel(x, y) : 0;
      // Key magenta with tolerance 1: red 255, green 0..1, blue 255.
      const bool key = (c & 0xFF) == 255 && ((c >> 8) & 0xFF) <= 1 && ((c >> 16) & 0xFF) == 255;
      ASSERT_EQ(PtInRegion(region, x + dx, y + dy) != 0, inside && !key) << x << "," << y;
    }
  }
}

TEST(RegionFromBitmapTest, MagentaLeftHalfGivesTheRightHalfShifted) {
  PixelBitmap b(40, 12);
  b.Fill(Rgb(1, 2, 3));
  for (int y = 0; y < 12; ++y)
    for (int x = 0; x < 20; ++x) b.SetPixel(x, y, kMagentaKey);
  fw::ScopedRegion region = RegionFromBitmap(b, 7, -3);
  ExpectRegionMatchesKeyPixels(region.get(), b, 7, -3);
  RECT box;
  ASSERT_EQ(GetRgnBox(region.get(), &box), SIMPLEREGION);
  EXPECT_EQ(box.left, 27);
  EXPECT_EQ(box.top, -3);
  EXPECT_EQ(box.right, 47);
  EXPECT_EQ(box.bottom, 9);
}

TEST(RegionFromBitmapTest, ManyRunsOverSeveralBatchesAndTolerance) {
  // Random pixels: about 4,700 runs, so two batches of 2,000 and a remainder are united.
  std::mt19937 random(11);
  PixelBitmap b(160, 120, PixelFormat::kBgra32);
  const uint32_t palette[] = {kMagentaKey, Rgb(255, 1, 255), Rgb(255, 2, 255), Rgb(0, 0, 0),
                              Rgb(254, 0, 255)};
  for (int y = 0; y < 120; ++y)
    for (int x = 0; x < 160; ++x) b.SetPixel(x, y, palette[random() % 5]);
  const auto runs = OpaqueRuns(b, 0, 0, kMagentaKey, 1, 1, 1);
  ASSERT_GT(runs.size(), 2000u * 2);
  fw::ScopedRegion region = RegionFromBitmap(b, -5, 9);
  ExpectRegionMatchesKeyPixels(region.get(), b, -5, 9);

  // Through a GDI bitmap handle the same region comes out.
  DibSection dib = DibFromPixels(b);
  fw::ScopedRegion from_handle = RegionFromBitmap(dib.bitmap.get(), -5, 9);
  EXPECT_TRUE(EqualRgn(region.get(), from_handle.get()));
}

TEST(RegionFromBitmapTest, OneRowAndAllKeyBitmaps) {
  PixelBitmap row(9, 1);
  row.Fill(Rgb(9, 9, 9));
  row.SetPixel(4, 0, kMagentaKey);
  fw::ScopedRegion r = RegionFromBitmap(row, 0, 0);
  ExpectRegionMatchesKeyPixels(r.get(), row, 0, 0);

  PixelBitmap all(8, 8);
  all.Fill(kMagentaKey);
  fw::ScopedRegion empty = RegionFromBitmap(all, 0, 0);
  ASSERT_TRUE(empty);
  RECT box;
  EXPECT_EQ(GetRgnBox(empty.get(), &box), NULLREGION);
}

// ---------------------------------------------------------------------------------------
// ScratchBitmap

TEST(ScratchBitmapTest, LivesBetweenCreateAndFreeAndStretchesWithColorOnColor) {
  FreeScratchBitmap();
  EXPECT_EQ(ScratchBitmap(), nullptr);
  CreateScratchBitmap();
  ScratchSurface* scratch = ScratchBitmap();
  ASSERT_NE(scratch, nullptr);
  EXPECT_EQ(GetStretchBltMode(scratch->Dc()), COLORONCOLOR);
  ASSERT_TRUE(scratch->SetSize(120, 30));
  EXPECT_EQ(scratch->Width(), 120);
  EXPECT_EQ(GetCurrentObject(scratch->Dc(), OBJ_BITMAP), scratch->Bitmap());
  const PixelBitmap src = Coordinates(30, 10);
  DrawElement(scratch->Dc(), RECT{0, 0, 120, 30}, src, {3, 3, 3, 3}, 1, 1, false, false, false);
  GdiFlush();
  EXPECT_EQ(scratch->Bits()[0], 7);  // blue of source pixel (0, 0)
  ASSERT_TRUE(scratch->SetSize(0, -4));
  EXPECT_EQ(scratch->Width(), 1);
  EXPECT_EQ(GetStretchBltMode(scratch->Dc()), COLORONCOLOR);
  CreateScratchBitmap();  // a second start keeps the surface
  EXPECT_EQ(ScratchBitmap(), scratch);
  FreeScratchBitmap();
  EXPECT_EQ(ScratchBitmap(), nullptr);
}

}  // namespace
}  // namespace skin
