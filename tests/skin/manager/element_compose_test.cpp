// Pixel tests of element composition: every source pixel carries its own coordinates
// (red = x, green = y), so a check names exactly which source pixel landed where.
#include "skin/manager/element_compose.h"

#include <gtest/gtest.h>

#include <climits>

#include <utility>
#include <vector>

namespace skin {
namespace {

constexpr uint8_t kMarkBlue = 7;

PixelBitmap Coordinates(int w, int h, PixelFormat format = PixelFormat::kBgr24) {
  PixelBitmap b(w, h, format);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) b.SetPixel(x, y, Rgb(uint8_t(x), uint8_t(y), kMarkBlue));
  return b;
}

uint32_t At(int x, int y) { return Rgb(uint8_t(x), uint8_t(y), kMarkBlue); }

// ---------------------------------------------------------------------------------------
// Frame geometry

TEST(FrameGeometry, SideBySideAndStackedFramesUseIntegerDivision) {
  // Five frames side by side in 100 pixels: frame 4 is columns 60 to 79.
  EXPECT_EQ(FrameRect(100, 20, 4, 5, FrameLayout::kSideBySide), (PixelRect{60, 0, 80, 20}));
  EXPECT_EQ(FrameRect(103, 20, 1, 5, FrameLayout::kSideBySide), (PixelRect{0, 0, 20, 20}));
  EXPECT_EQ(FrameRect(30, 62, 2, 3, FrameLayout::kStacked), (PixelRect{0, 20, 30, 40}));
}

TEST(FrameGeometry, OutOfRangeCountsAndIndexesStayInsideTheBitmap) {
  EXPECT_EQ(FrameRect(40, 10, 1, 0, FrameLayout::kSideBySide), (PixelRect{0, 0, 40, 10}));
  EXPECT_EQ(FrameRect(40, 10, 9, 4, FrameLayout::kSideBySide), (PixelRect{30, 0, 40, 10}));
  EXPECT_EQ(FrameRect(40, 10, -3, 4, FrameLayout::kSideBySide), (PixelRect{0, 0, 10, 10}));
  EXPECT_TRUE(FrameRect(3, 10, 2, 4, FrameLayout::kSideBySide).Empty());
}

// ---------------------------------------------------------------------------------------
// Nearest-neighbour source choice (the rows were read back from StretchBlt under Wine)

TEST(StretchMapping, MatchesRowsReadBackFromStretchBlt) {
  using V = std::vector<int>;
  const auto h = StretchAxis::kHorizontal, v = StretchAxis::kVertical;
  EXPECT_EQ(StretchIndices(2, 3, h), (V{0, 0, 1}));  // a tie goes to the lower pixel
  EXPECT_EQ(StretchIndices(4, 9, h), (V{0, 0, 1, 1, 1, 2, 2, 3, 3}));
  EXPECT_EQ(StretchIndices(3, 15, v), (V{0, 0, 0, 0, 0, 1, 1, 1, 1, 1, 2, 2, 2, 2, 2}));
  EXPECT_EQ(StretchIndices(3, 2, h), (V{1, 2}));  // shrinking: last pixel across...
  EXPECT_EQ(StretchIndices(3, 2, v), (V{0, 2}));  // ...first pixel down
  EXPECT_EQ(StretchIndices(4, 3, v), (V{0, 1, 3}));
  EXPECT_EQ(StretchIndices(7, 1, h), (V{5}));  // one column wide: the last but one
  EXPECT_EQ(StretchIndices(2, 1, h), (V{0}));
  EXPECT_EQ(StretchIndices(7, 1, v), (V{0}));
  EXPECT_EQ(StretchIndices(1, 1, h), (V{0}));
  const V row25to40 = {0,  0,  1,  2,  2,  3,  4,  4,  5,  5,  6,  7,  7,  8,
                       9,  9,  10, 10, 11, 12, 12, 13, 14, 14, 15, 15, 16, 17,
                       17, 18, 19, 19, 20, 20, 21, 22, 22, 23, 24, 24};
  EXPECT_EQ(StretchIndices(25, 40, h), row25to40);
}

TEST(StretchMapping, StaysInRangeRisesMonotonicallyAndIsIdentityAtEqualLengths) {
  for (StretchAxis axis : {StretchAxis::kHorizontal, StretchAxis::kVertical}) {
    for (int s = 1; s <= 70; ++s) {
      for (int d = 1; d <= 70; ++d) {
        const std::vector<int> idx = StretchIndices(s, d, axis);
        ASSERT_EQ(idx.size(), size_t(d));
        for (int i = 0; i < d; ++i) {
          ASSERT_GE(idx[i], 0) << s << "->" << d;
          ASSERT_LT(idx[i], s) << s << "->" << d;
          if (i > 0) {
            ASSERT_GE(idx[i], idx[i - 1]) << s << "->" << d;
          }
          if (s == d) {
            ASSERT_EQ(idx[i], i);
          }
        }
        // Enlarging shows every source pixel.
        if (s <= d) {
          ASSERT_EQ(idx.back(), s - 1);
        }
      }
    }
  }
}

// ---------------------------------------------------------------------------------------
// Nine-slice pieces: order, margin dropping and unusable sources

TEST(NineSlicePieces, ListsTheNinePiecesInDrawingOrder) {
  const auto pieces = NineSlicePieces(50, 40, {10, 0, 30, 20}, {3, 4, 5, 6});
  ASSERT_EQ(pieces.size(), 9u);
  const std::vector<SliceBlit> expected = {
      {SlicePiece::kTopLeft, {0, 0, 3, 4}, {10, 0, 13, 4}},
      {SlicePiece::kBottomLeft, {0, 34, 3, 40}, {10, 14, 13, 20}},
      {SlicePiece::kTopRight, {45, 0, 50, 4}, {25, 0, 30, 4}},
      {SlicePiece::kLeft, {0, 4, 3, 34}, {10, 4, 13, 14}},
      {SlicePiece::kTop, {3, 0, 45, 4}, {13, 0, 25, 4}},
      {SlicePiece::kCentre, {3, 4, 45, 34}, {13, 4, 25, 14}},
      {SlicePiece::kBottomRight, {45, 34, 50, 40}, {25, 14, 30, 20}},
      {SlicePiece::kRight, {45, 4, 50, 34}, {25, 4, 30, 14}},
      {SlicePiece::kBottom, {3, 34, 45, 40}, {13, 14, 25, 20}},
  };
  EXPECT_EQ(pieces, expected);
}

TEST(NineSlicePieces, MarginsThatDoNotFitAreDroppedPairwise) {
  // Too narrow for left + right: only the vertical margins remain.
  EXPECT_EQ(EffectiveMargins(9, 40, {5, 6, 5, 7}), (Margins{0, 6, 0, 7}));
  EXPECT_EQ(EffectiveMargins(10, 12, {5, 6, 5, 7}), (Margins{5, 0, 5, 0}));
  EXPECT_EQ(EffectiveMargins(10, 13, {5, 6, 5, 7}), (Margins{5, 6, 5, 7}));
  EXPECT_EQ(EffectiveMargins(30, 30, {-2, 3, 4, -1}), (Margins{0, 3, 4, 0}));

  // Only the top and bottom strips and the centre are left when left/right drop out.
  const auto pieces = NineSlicePieces(9, 40, {0, 0, 20, 20}, {5, 6, 5, 7});
  std::vector<SlicePiece> kinds;
  for (const SliceBlit& p : pieces) kinds.push_back(p.piece);
  EXPECT_EQ(kinds,
            (std::vector<SlicePiece>{SlicePiece::kTop, SlicePiece::kCentre, SlicePiece::kBottom}));
}

TEST(NineSlicePieces, LeavesOutPiecesWithoutAUsableSource) {
  // Margins 8 + 8 on a 10-pixel frame: the centre's source would be inverted and the
  // right pieces would read left of the frame.
  const auto pieces = NineSlicePieces(60, 60, {0, 0, 10, 10}, {8, 8, 8, 8});
  for (const SliceBlit& p : pieces) {
    EXPECT_NE(p.piece, SlicePiece::kCentre);
    EXPECT_FALSE(p.source.Empty());
    EXPECT_TRUE((PixelRect{0, 0, 10, 10}).Contains(p.source));
  }
  // A centre exactly as wide as the target's margins has no destination.
  for (const SliceBlit& p : NineSlicePieces(10, 10, {0, 0, 10, 10}, {5, 5, 5, 5}))
    EXPECT_NE(p.piece, SlicePiece::kCentre);
  // Nor do the edges: only the four corners are left.
  EXPECT_EQ(NineSlicePieces(10, 10, {0, 0, 10, 10}, {5, 5, 5, 5}, false).size(), 4u);
}

// ---------------------------------------------------------------------------------------
// ComposeElement pixels

TEST(ComposeElement, SmallTargetDropsAllMarginsAndStretchesTheWholeFrame) {
  const PixelBitmap src = Coordinates(40, 20);  // two frames side by side, 20 x 20
  const PixelBitmap out = ComposeElement({0, 0, 10, 10}, src, {8, 8, 8, 8}, 2, 2, false, false);
  ASSERT_EQ(out.Width(), 10);
  ASSERT_EQ(out.Height(), 10);
  const auto xs = StretchIndices(20, 10, StretchAxis::kHorizontal);
  const auto ys = StretchIndices(20, 10, StretchAxis::kVertical);
  for (int y = 0; y < 10; ++y)
    for (int x = 0; x < 10; ++x) ASSERT_EQ(out.Pixel(x, y), At(20 + xs[x], ys[y])) << x << "," << y;
}

TEST(ComposeElement, FittingMarginsCopyTheCornersOneToOne) {
  const PixelBitmap src = Coordinates(20, 20);
  const PixelBitmap out = ComposeElement({0, 0, 10, 10}, src, {4, 4, 4, 4}, 1, 1, false, false);
  for (int y = 0; y < 4; ++y) {
    for (int x = 0; x < 4; ++x) {
      EXPECT_EQ(out.Pixel(x, y), At(x, y));
      EXPECT_EQ(out.Pixel(6 + x, y), At(16 + x, y));
      EXPECT_EQ(out.Pixel(x, 6 + y), At(x, 16 + y));
      EXPECT_EQ(out.Pixel(6 + x, 6 + y), At(16 + x, 16 + y));
    }
  }
  // The 12-pixel middle of the source is shrunk into the 2-pixel middle of the target.
  const auto xs = StretchIndices(12, 2, StretchAxis::kHorizontal);
  const auto ys = StretchIndices(12, 2, StretchAxis::kVertical);
  EXPECT_EQ(out.Pixel(4, 0), At(4 + xs[0], 0));
  EXPECT_EQ(out.Pixel(5, 5), At(4 + xs[1], 4 + ys[1]));
  EXPECT_EQ(out.Pixel(0, 5), At(0, 4 + ys[1]));
}

TEST(ComposeElement, StackedFramesReadTheRightBand) {
  const PixelBitmap src = Coordinates(12, 36);  // three stacked frames of 12 x 12
  const PixelBitmap out = ComposeElement({5, 5, 17, 17}, src, {2, 2, 2, 2}, 3, 3, false, true);
  for (int y = 0; y < 12; ++y)
    for (int x = 0; x < 12; ++x) ASSERT_EQ(out.Pixel(x, y), At(x, 24 + y));
}

TEST(ComposeElement, TiledCentreOverrunIsCoveredByTheRightEdge) {
  // Frame 16 wide, margins 3 and 3: a 10-pixel source centre. Target 31 wide: the centre
  // is 25 pixels, filled by three tiles; the third runs 5 pixels into the right edge.
  const PixelBitmap src = Coordinates(16, 8);
  const PixelBitmap out = ComposeElement({0, 0, 31, 8}, src, {3, 2, 3, 2}, 1, 1, true, false);
  for (int x = 3; x < 28; ++x) EXPECT_EQ(out.Pixel(x, 4), At(3 + (x - 3) % 10, 4)) << x;
  for (int x = 28; x < 31; ++x) EXPECT_EQ(out.Pixel(x, 4), At(x - 28 + 13, 4)) << x;
  // The tiles' overrun into the bottom margin is covered by the bottom edge.
  for (int x = 3; x < 28; ++x)
    EXPECT_EQ(out.Pixel(x, 7),
              At(StretchSourceIndex(x - 3, 10, 25, StretchAxis::kHorizontal) + 3, 7));
}

TEST(ComposeElement, TiledCentreWithoutRightMarginEndsAtTheBitmapEdge) {
  const PixelBitmap src = Coordinates(10, 4);
  const PixelBitmap out = ComposeElement({0, 0, 25, 9}, src, {0, 0, 0, 0}, 1, 1, true, false);
  for (int y = 0; y < 9; ++y)
    for (int x = 0; x < 25; ++x) ASSERT_EQ(out.Pixel(x, y), At(x % 10, y % 4));
}

TEST(ComposeElement, InvertedEmptyOrHugeTargetsComposeNothing) {
  const PixelBitmap src = Coordinates(10, 10);
  EXPECT_TRUE(ComposeElement({5, 5, 4, 9}, src, {}, 1, 1, false, false).Empty());
  EXPECT_TRUE(ComposeElement({5, 5, 5, 9}, src, {}, 1, 1, false, false).Empty());
  EXPECT_TRUE(ComposeElement({0, 0, kMaxComposeSide + 1, 2}, src, {}, 1, 1, false, false).Empty());
  // An empty source gives a black bitmap of the target's size.
  const PixelBitmap black = ComposeElement({0, 0, 3, 2}, PixelBitmap(), {}, 1, 1, false, false);
  ASSERT_EQ(black.Width(), 3);
  EXPECT_EQ(black.Pixel(2, 1), 0u);
}

TEST(ComposeElement, DrawingWithoutCentreLeavesTheCentreUntouched) {
  const PixelBitmap src = Coordinates(12, 12);
  PixelBitmap dest(30, 30, PixelFormat::kBgra32);
  dest.Fill(Rgb(1, 2, 3));
  ComposeElementOnto(dest, {5, 5, 25, 25}, src, {3, 3, 3, 3}, 1, 1, false, false, false);
  for (int y = 0; y < 30; ++y) {
    for (int x = 0; x < 30; ++x) {
      const bool centre = x >= 8 && x < 22 && y >= 8 && y < 22;
      const bool outside = x < 5 || x >= 25 || y < 5 || y >= 25;
      if (centre || outside)
        ASSERT_EQ(dest.Pixel(x, y), Rgb(1, 2, 3)) << x << "," << y;
      else
        ASSERT_NE(dest.Pixel(x, y), Rgb(1, 2, 3)) << x << "," << y;
    }
  }
  EXPECT_EQ(dest.Pixel(5, 5), At(0, 0));
  EXPECT_EQ(dest.Pixel(24, 24), At(11, 11));
}

// ---------------------------------------------------------------------------------------
// Three-slice strip, whole frame, tiling

TEST(HorzStrip, LeftMiddleTilesAndRightEnd) {
  // Frame 10 wide (2 stacked frames of 10 x 4), ends 2 and 3: the middle tile is 5 wide.
  const PixelBitmap src = Coordinates(10, 8);
  const PixelBitmap out = ComposeHorzStrip({0, 0, 18, 4}, src, {2, 99, 3, 99}, 2, 2, true);
  const int expected_columns[18] = {0, 1, 2, 3, 4, 5, 6, 2, 3, 4, 5, 6, 2, 3, 4, 7, 8, 9};
  for (int x = 0; x < 18; ++x)
    for (int y = 0; y < 4; ++y) ASSERT_EQ(out.Pixel(x, y), At(expected_columns[x], 4 + y)) << x;
}

TEST(HorzStrip, MiddleOfZeroOrLessDrawsNoTiles) {
  const PixelBitmap src = Coordinates(10, 4);
  auto kinds = [&](int left, int right) {
    std::vector<SlicePiece> k;
    for (const SliceBlit& p : HorzStripPieces(40, 4, {0, 0, 10, 4}, left, right))
      k.push_back(p.piece);
    return k;
  };
  EXPECT_EQ(kinds(5, 5), (std::vector<SlicePiece>{SlicePiece::kLeft, SlicePiece::kRight}));
  EXPECT_EQ(kinds(7, 6), (std::vector<SlicePiece>{SlicePiece::kLeft, SlicePiece::kRight}));
  const PixelBitmap out = ComposeHorzStrip({0, 0, 40, 4}, src, {5, 0, 5, 0}, 1, 1, false);
  EXPECT_EQ(out.Pixel(20, 1), 0u);  // no middle: left black
  EXPECT_EQ(out.Pixel(4, 1), At(4, 1));
  EXPECT_EQ(out.Pixel(35, 1), At(5, 1));
}

TEST(HorzStrip, EndsWiderThanTheFrameTakeNothingWhateverTheirSize) {
  // Ends as large as an integer gets: no piece reads outside the frame, nothing overflows.
  for (int end : {11, 1000, INT_MAX}) {
    EXPECT_TRUE(HorzStripPieces(40, 4, {0, 0, 10, 4}, end, end).empty()) << end;
    const auto left_only = HorzStripPieces(40, 4, {0, 0, 10, 4}, 3, end);
    ASSERT_EQ(left_only.size(), 1u) << end;
    EXPECT_EQ(left_only[0].piece, SlicePiece::kLeft);
  }
  const PixelBitmap src = Coordinates(10, 4);
  const PixelBitmap out =
      ComposeHorzStrip({0, 0, 40, 4}, src, {INT_MAX, 0, INT_MIN, 0}, 1, 1, false);
  EXPECT_EQ(out.Width(), 40);
}

TEST(HorzStrip, StretchesEveryPieceToTheFullHeight) {
  const PixelBitmap src = Coordinates(9, 3);
  const PixelBitmap out = ComposeHorzStrip({0, 0, 9, 7}, src, {3, 0, 3, 0}, 1, 1, false);
  const auto ys = StretchIndices(3, 7, StretchAxis::kVertical);
  for (int y = 0; y < 7; ++y)
    for (int x = 0; x < 9; ++x) ASSERT_EQ(out.Pixel(x, y), At(x, ys[y]));
}

TEST(ElementFrame, StretchesOneWholeFrame) {
  const PixelBitmap src = Coordinates(60, 10);  // four frames of 15 x 10
  const PixelBitmap out = ComposeElementFrame({3, 3, 33, 8}, src, 3, 4);
  const auto xs = StretchIndices(15, 30, StretchAxis::kHorizontal);
  const auto ys = StretchIndices(10, 5, StretchAxis::kVertical);
  for (int y = 0; y < 5; ++y)
    for (int x = 0; x < 30; ++x) ASSERT_EQ(out.Pixel(x, y), At(30 + xs[x], ys[y]));
}

TEST(Tiling, OriginsRunPastTheTargetAndNeedAPositiveTile) {
  const auto origins = TileOrigins({2, 1, 27, 12}, 10, 6);
  const std::vector<std::pair<int, int>> expected = {{2, 1},  {2, 7},  {12, 1},
                                                     {12, 7}, {22, 1}, {22, 7}};
  EXPECT_EQ(origins, expected);
  EXPECT_TRUE(TileOrigins({0, 0, 10, 10}, 0, 5).empty());
  EXPECT_TRUE(TileOrigins({0, 0, 10, 10}, -1, 5).empty());
  EXPECT_TRUE(TileOrigins({10, 0, 0, 10}, 3, 3).empty());
}

TEST(Tiling, CopiesAcrossPixelFormatsAndClips) {
  const PixelBitmap src24 = Coordinates(9, 5);
  const PixelBitmap src32 = src24.Converted(PixelFormat::kBgra32);
  PixelBitmap a(30, 12, PixelFormat::kBgra32), b(30, 12, PixelFormat::kBgra32);
  TileCopy(src24, {1, 1, 5, 4}, a, {2, 1, 20, 9});
  TileCopy(src32, {1, 1, 5, 4}, b, {2, 1, 20, 9});
  EXPECT_EQ(a, b);
  EXPECT_EQ(a.Pixel(2, 1), At(1, 1));
  EXPECT_EQ(a.Pixel(21, 9), At(4, 3));  // the last tile ends past the target, at x 22, y 10
  EXPECT_EQ(a.Pixel(22, 9), 0u);
  EXPECT_EQ(a.Pixel(3, 10), 0u);

  PixelBitmap clipped(30, 12, PixelFormat::kBgra32);
  const PixelRect clip{0, 0, 21, 8};
  TileCopy(src24, {1, 1, 5, 4}, clipped, {2, 1, 20, 9}, &clip);
  EXPECT_EQ(clipped.Pixel(20, 7), At(3, 1));
  EXPECT_EQ(clipped.Pixel(21, 7), 0u);
  EXPECT_EQ(clipped.Pixel(20, 8), 0u);
}

// ---------------------------------------------------------------------------------------
// Transparency and masks

TEST(Transparency, LeavesExactlyTheMagentaPixelsUnpainted) {
  PixelBitmap src(6, 3);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 6; ++x)
      src.SetPixel(x, y, (x + y) % 3 == 0 ? kMagentaKey : Rgb(uint8_t(10 * x), uint8_t(y), 0));
  src.SetPixel(5, 2, Rgb(255, 1, 255));  // near magenta is not the key
  PixelBitmap dest(10, 5, PixelFormat::kBgra32);
  dest.Fill(Rgb(9, 9, 9));
  TransparentCopy(dest, {2, 1, 8, 4}, src);
  for (int y = 0; y < 5; ++y) {
    for (int x = 0; x < 10; ++x) {
      const bool inside = x >= 2 && x < 8 && y >= 1 && y < 4;
      const uint32_t s = inside ? src.Pixel(x - 2, y - 1) : 0;
      const uint32_t want = (!inside || s == kMagentaKey) ? Rgb(9, 9, 9) : s;
      ASSERT_EQ(dest.Pixel(x, y), want) << x << "," << y;
    }
  }
}

TEST(Transparency, CopiesNoMoreThanTheTargetAndTheBitmapsAllow) {
  const PixelBitmap src = Coordinates(4, 4);
  PixelBitmap dest(6, 6);
  TransparentCopy(dest, {4, 4, 20, 20}, src);  // runs off the destination
  EXPECT_EQ(dest.Pixel(5, 5), At(1, 1));
  PixelBitmap small(6, 6);
  TransparentCopy(small, {0, 0, 2, 3}, src);  // smaller target
  EXPECT_EQ(small.Pixel(1, 2), At(1, 2));
  EXPECT_EQ(small.Pixel(2, 2), 0u);
  EXPECT_EQ(small.Pixel(1, 3), 0u);
}

TEST(Transparency, KeyMaskSetsBitsOnlyAtKeyPixelsAndPadsRows) {
  PixelBitmap src(10, 2, PixelFormat::kBgra32);
  src.SetPixel(0, 0, kMagentaKey);
  src.SetPixel(9, 0, kMagentaKey);
  src.SetPixel(3, 1, kMagentaKey);
  EXPECT_EQ(KeyMaskStride(10, 2), 2u);
  EXPECT_EQ(KeyMaskStride(17, 2), 4u);
  EXPECT_EQ(KeyMaskStride(10, 4), 4u);
  const auto mask = KeyMask(src, kMagentaKey, 2);
  EXPECT_EQ(mask, (std::vector<uint8_t>{0x80, 0x40, 0x10, 0x00}));
}

// ---------------------------------------------------------------------------------------
// Opaque runs of a region

TEST(OpaqueRuns, MagentaLeftHalfLeavesTheRightHalfShifted) {
  PixelBitmap b(8, 3);
  b.Fill(Rgb(20, 30, 40));
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 4; ++x) b.SetPixel(x, y, kMagentaKey);
  const auto runs = OpaqueRuns(b, 100, 50, kMagentaKey, 1, 1, 1);
  const std::vector<PixelRect> expected = {
      {104, 50, 108, 51}, {104, 51, 108, 52}, {104, 52, 108, 53}};
  EXPECT_EQ(runs, expected);
}

TEST(OpaqueRuns, ToleranceCountsUpwardOnEveryChannelAtOnce) {
  PixelBitmap b(6, 1, PixelFormat::kBgra32);
  b.SetPixel(0, 0, Rgb(255, 1, 255));  // green within tolerance: key
  b.SetPixel(1, 0, Rgb(255, 2, 255));  // green outside: opaque
  b.SetPixel(2, 0, Rgb(254, 0, 255));  // red below the key: opaque
  b.SetPixel(3, 0, kMagentaKey);
  b.SetPixel(4, 0, Rgb(0, 0, 255));  // only blue matches: opaque
  b.SetPixel(5, 0, kMagentaKey);
  EXPECT_EQ(OpaqueRuns(b, 0, 0, kMagentaKey, 1, 1, 1),
            (std::vector<PixelRect>{{1, 0, 3, 1}, {4, 0, 5, 1}}));
  EXPECT_EQ(OpaqueRuns(b, 0, 0, kMagentaKey, 0, 0, 0),
            (std::vector<PixelRect>{{0, 0, 3, 1}, {4, 0, 5, 1}}));
  const KeyRange r = KeyRange::From(Rgb(250, 0, 255), 10, -4, 1);
  EXPECT_EQ(r.red_high, 255);
  EXPECT_EQ(r.green_high, 0);
  EXPECT_EQ(r.blue_high, 255);
}

TEST(OpaqueBlocks, CoverExactlyTheOpaquePixelsJoiningRowsThatAreAlike) {
  PixelBitmap b(20, 12, PixelFormat::kBgra32);
  b.Fill(Rgb(9, 9, 9));
  for (int y = 0; y < 12; ++y) b.SetPixel(y < 6 ? 3 : 15, y, kMagentaKey);
  b.SetPixel(7, 11, Rgb(255, 1, 255));  // near the key: opaque
  std::vector<PixelRect> blocks;
  ASSERT_TRUE(OpaqueBlocks(b, kMagentaKey, 100, blocks));
  EXPECT_EQ(blocks,
            (std::vector<PixelRect>{{0, 0, 3, 6}, {4, 0, 20, 6}, {0, 6, 15, 12}, {16, 6, 20, 12}}));
  EXPECT_FALSE(OpaqueBlocks(b, kMagentaKey, 3, blocks));
  EXPECT_TRUE(blocks.empty());
}

TEST(OpaqueRuns, WorksOnOneRowAndOnEmptyBitmaps) {
  PixelBitmap row(5, 1);
  row.SetPixel(2, 0, kMagentaKey);
  EXPECT_EQ(OpaqueRuns(row, 0, 0, kMagentaKey, 1, 1, 1),
            (std::vector<PixelRect>{{0, 0, 2, 1}, {3, 0, 5, 1}}));
  EXPECT_TRUE(OpaqueRuns(PixelBitmap(), 0, 0, kMagentaKey, 1, 1, 1).empty());
}

}  // namespace
}  // namespace skin
