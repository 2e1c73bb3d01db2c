// Geometry of framework-drawn controls and the checks on bitmap files from descriptions.
#include "framework/control_layout.h"
#include "framework/dib_file.h"
#include "framework/dpi_scale.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace {

using fw::LayoutRect;

TEST(PlaceGlyphAndCaption, CentresGlyphAndCaptionTogetherWithAutomaticMargin) {
  // 100 wide: glyph 16 + spacing 4 + caption 40 = 60, centred: margin 20.
  const auto p =
      fw::PlaceGlyphAndCaption({0, 0, 100, 30}, {16, 16}, {40, 13}, fw::blGlyphLeft, -1, 4);
  EXPECT_EQ(p.glyph, (LayoutRect{20, 7, 36, 23}));
  EXPECT_EQ(p.caption, (LayoutRect{40, 8, 80, 21}));
  // Glyph on the right: the same block mirrored.
  const auto r =
      fw::PlaceGlyphAndCaption({0, 0, 100, 30}, {16, 16}, {40, 13}, fw::blGlyphRight, -1, 4);
  EXPECT_EQ(r.glyph, (LayoutRect{64, 7, 80, 23}));
  EXPECT_EQ(r.caption, (LayoutRect{20, 8, 60, 21}));
}

TEST(PlaceGlyphAndCaption, FixedMarginAndAutomaticSpacingShareTheRest) {
  // Margin 5 from the top; spacing (60 - 5 - 20 - 13) / 2 = 11.
  const auto p =
      fw::PlaceGlyphAndCaption({10, 10, 90, 70}, {20, 20}, {30, 13}, fw::blGlyphTop, 5, -1);
  EXPECT_EQ(p.glyph, (LayoutRect{40, 15, 60, 35}));
  EXPECT_EQ(p.caption, (LayoutRect{35, 46, 65, 59}));
  // Both automatic: three equal gaps.
  const auto q =
      fw::PlaceGlyphAndCaption({0, 0, 90, 20}, {15, 15}, {45, 10}, fw::blGlyphLeft, -1, -1);
  EXPECT_EQ(q.glyph.left, 10);
  EXPECT_EQ(q.caption.left, 35);
  // Bottom layout puts the glyph below the caption, margin from the bottom edge.
  const auto b =
      fw::PlaceGlyphAndCaption({0, 0, 40, 60}, {16, 16}, {30, 13}, fw::blGlyphBottom, 4, 2);
  EXPECT_EQ(b.glyph, (LayoutRect{12, 40, 28, 56}));
  EXPECT_EQ(b.caption.bottom, 38);
}

TEST(PlaceGlyphAndCaption, MissingGlyphOrCaptionNeedsNoSpacing) {
  const auto text_only =
      fw::PlaceGlyphAndCaption({0, 0, 100, 20}, {0, 0}, {40, 10}, fw::blGlyphLeft, 8, 4);
  EXPECT_EQ(text_only.caption, (LayoutRect{30, 5, 70, 15}));  // centred, margin ignored
  EXPECT_EQ(text_only.glyph, LayoutRect{});
  const auto glyph_only =
      fw::PlaceGlyphAndCaption({0, 0, 100, 20}, {16, 16}, {0, 0}, fw::blGlyphLeft, -1, 4);
  EXPECT_EQ(glyph_only.glyph, (LayoutRect{42, 2, 58, 18}));
  EXPECT_EQ(glyph_only.caption, LayoutRect{});
  // A block wider than the button starts left of its edge rather than being squeezed.
  const auto wide =
      fw::PlaceGlyphAndCaption({0, 0, 30, 20}, {16, 16}, {40, 10}, fw::blGlyphLeft, -1, 4);
  EXPECT_EQ(wide.glyph.Width(), 16);
  EXPECT_EQ(wide.caption.Width(), 40);
  EXPECT_LT(wide.glyph.left, 0);
}

TEST(RadioItemRect, FillsColumnByColumn) {
  const LayoutRect area{0, 20, 200, 80};
  // 5 items in 2 columns: 3 rows of 20; items 0-2 left, 3-4 right.
  EXPECT_EQ(fw::RadioItemRect(area, 5, 2, 0), (LayoutRect{0, 20, 100, 40}));
  EXPECT_EQ(fw::RadioItemRect(area, 5, 2, 2), (LayoutRect{0, 60, 100, 80}));
  EXPECT_EQ(fw::RadioItemRect(area, 5, 2, 3), (LayoutRect{100, 20, 200, 40}));
  EXPECT_EQ(fw::RadioItemRect(area, 5, 2, 4), (LayoutRect{100, 40, 200, 60}));
  // More columns than items: one row, one item a column.
  EXPECT_EQ(fw::RadioItemRect(area, 2, 8, 1), (LayoutRect{100, 20, 200, 80}));
  // Out of range: empty.
  EXPECT_EQ(fw::RadioItemRect(area, 2, 1, 2), LayoutRect{});
  EXPECT_EQ(fw::RadioItemRect(area, 0, 1, 0), LayoutRect{});
  EXPECT_EQ(fw::RadioItemRect(area, 3, 0, 0).Width(), 200);  // columns below 1 count as 1
}

TEST(TabSetTabRects, LeavesOutTabsThatDoNotFitAndTriesLaterOnes) {
  // Width 100, margins 5: room up to 95. Tabs are text + 9 wide; a tab fits when its
  // left + text + 9 (21 with the scroll button) is at most 95.
  const std::vector<int> widths{20, 60, 10};
  const auto rects = fw::TabSetTabRects(widths, 0, 5, 5, 100, 20, false);
  EXPECT_EQ(rects[0], (LayoutRect{5, 0, 34, 20}));
  EXPECT_EQ(rects[1], LayoutRect{});  // 34 + 60 + 9 > 95
  EXPECT_EQ(rects[2], (LayoutRect{34, 0, 53, 20}));
  // With the scroll button each tab needs 12 more pixels of room.
  const auto with_button = fw::TabSetTabRects({20, 50}, 0, 5, 5, 100, 20, true);
  EXPECT_EQ(with_button[0].Width(), 29);
  EXPECT_EQ(with_button[1], LayoutRect{});  // 34 + 50 + 21 > 95
  const auto without = fw::TabSetTabRects({20, 50}, 0, 5, 5, 100, 20, false);
  EXPECT_EQ(without[1], (LayoutRect{34, 0, 93, 20}));
  // Tabs before the first visible one are not shown; the first shown starts at the margin.
  const auto scrolled = fw::TabSetTabRects({20, 30, 40}, 1, 5, 5, 200, 20, true);
  EXPECT_EQ(scrolled[0], LayoutRect{});
  EXPECT_EQ(scrolled[1].left, 5);
  EXPECT_EQ(scrolled[2].left, 44);
}

TEST(ScrollLimits, ContentBeyondTheClientOnly) {
  EXPECT_EQ(fw::ScrollLimit(500, 200), 300);
  EXPECT_EQ(fw::ScrollLimit(100, 200), 0);
  EXPECT_EQ(fw::ClampScrollPosition(-5, 500, 200), 0);
  EXPECT_EQ(fw::ClampScrollPosition(120, 500, 200), 120);
  EXPECT_EQ(fw::ClampScrollPosition(400, 500, 200), 300);
  EXPECT_EQ(fw::ClampScrollPosition(50, 100, 200), 0);
}

TEST(AlignControls, EdgesTakeTheirStripsInOrderAndTheClientTheRest) {
  using fw::LayoutRect;
  const std::vector<fw::AlignedControl> controls = {
      {fw::alBottom, {0, 474, 640, 496}},  // a status bar, where the client ended before
      {fw::alTop, {0, 30, 100, 60}},       // the second toolbar
      {fw::alTop, {0, 0, 100, 26}},        // the first toolbar
      {fw::alLeft, {0, 0, 120, 10}},      {fw::alClient, {5, 5, 6, 6}}, {fw::alNone, {7, 8, 9, 10}},
      {fw::alRight, {0, 0, 1000, 10}},  // wider than the room left
  };
  const auto placed = fw::AlignControls({0, 0, 640, 516}, controls);
  EXPECT_EQ(placed[0], (LayoutRect{0, 494, 640, 516}));
  EXPECT_EQ(placed[2], (LayoutRect{0, 0, 640, 26}));
  EXPECT_EQ(placed[1], (LayoutRect{0, 26, 640, 56}));
  EXPECT_EQ(placed[3], (LayoutRect{0, 56, 120, 494}));
  EXPECT_EQ(placed[6], (LayoutRect{120, 56, 640, 494}));
  EXPECT_EQ(placed[4], (LayoutRect{120, 56, 120, 494}));  // nothing left: empty, not inverted
  EXPECT_EQ(placed[5], (LayoutRect{7, 8, 9, 10}));
}

std::vector<uint8_t> SmallBitmapFile() {
  // 3 x 2, 24 bits: rows padded to 12 bytes.
  std::vector<std::vector<uint8_t>> rows{{1, 2, 3, 4, 5, 6, 7, 8, 9}, {10, 11, 12, 13, 14, 15}};
  return fw::MakeDibFile24(3, 2, rows);
}

TEST(DpiScale, RoundsToTheNearestPixelAndComesBackWithoutDrift) {
  EXPECT_EQ(fw::ScaleForDpi(1, 144, 96), 2);  // 1.5: halves away from zero
  EXPECT_EQ(fw::ScaleForDpi(-15, 144, 96), -23);
  EXPECT_EQ(fw::ScaleForDpi(-15, 120, 96), -19);  // -18.75
  EXPECT_EQ(fw::ScaleForDpi(7, 96, 0), 7);
  // Down first and back: 1 at 144 dpi is 0.67 at 96, rounded 1, which would come back as 2.
  fw::DpiLength length;
  int v = 1;
  for (int i = 0; i < 100; ++i) {
    v = length.Rescale(v, 144, 96);
    EXPECT_EQ(v, 1);
    v = length.Rescale(v, 96, 144);
    EXPECT_EQ(v, 1);
  }
  // Changed by someone else meanwhile: scaled from the new value.
  EXPECT_EQ(length.Rescale(10, 144, 96), 7);
  EXPECT_EQ(length.Rescale(7, 96, 144), 10);
}

TEST(DibFile, MadeFilesPassTheCheckWithTheirLayout) {
  const auto file = SmallBitmapFile();
  ASSERT_EQ(file.size(), 14u + 40u + 2 * 12u);
  fw::DibFileLayout layout;
  std::string error;
  ASSERT_TRUE(fw::CheckDibFile(file.data(), file.size(), layout, error)) << error;
  EXPECT_EQ(layout.width, 3);
  EXPECT_EQ(layout.height, 2);
  EXPECT_EQ(layout.bit_count, 24);
  EXPECT_EQ(layout.bits_offset, 54u);
  EXPECT_EQ(layout.image_size, 24u);
  // Bottom-up: the file's first row is the picture's last, padded with zeros.
  EXPECT_THAT(std::vector<uint8_t>(file.begin() + 54, file.begin() + 66),
              testing::ElementsAre(10, 11, 12, 13, 14, 15, 0, 0, 0, 0, 0, 0));
  EXPECT_EQ(file[66], 1);
}

TEST(DibFile, DamagedFilesAreRefusedWithAReason) {
  fw::DibFileLayout layout;
  std::string error;
  const auto good = SmallBitmapFile();
  auto check = [&](std::vector<uint8_t> bytes) {
    error.clear();
    const bool ok = fw::CheckDibFile(bytes.data(), bytes.size(), layout, error);
    EXPECT_FALSE(ok);
    EXPECT_FALSE(error.empty());
    return error;
  };
  auto patch32 = [](std::vector<uint8_t> b, size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) b[at + size_t(i)] = static_cast<uint8_t>(v >> (8 * i));
    return b;
  };
  EXPECT_EQ(check({}), "too short for a bitmap file");
  auto no_mark = good;
  no_mark[0] = 'X';
  EXPECT_EQ(check(no_mark), "no bitmap file mark");
  // Truncated pixel rows, and an offset past the end.
  EXPECT_EQ(check(std::vector<uint8_t>(good.begin(), good.end() - 1)),
            "pixel rows outside the file");
  EXPECT_EQ(check(patch32(good, 10, 0xFFFFFFF0u)), "pixel rows outside the file");
  // Dimensions that would ask for a huge allocation, zero or negative widths.
  EXPECT_EQ(check(patch32(good, 18, 100000)), "bad dimensions");
  EXPECT_EQ(check(patch32(good, 18, 0)), "bad dimensions");
  EXPECT_EQ(check(patch32(good, 22, 0x80000000u)), "bad dimensions");
  // A header size that runs past the file.
  EXPECT_EQ(check(patch32(good, 14, 0x7FFFFFFF)), "bad header size");
  // Compression and odd bit counts.
  EXPECT_EQ(check(patch32(good, 30, 1)), "compressed or multi-plane bitmaps are not supported");
  auto odd_bits = good;
  odd_bits[28] = 7;
  EXPECT_EQ(check(odd_bits), "unsupported bits per pixel");
  // A palette that the offset leaves no room for.
  auto paletted = good;
  paletted[28] = 8;
  EXPECT_EQ(check(paletted), "pixel rows outside the file");
}

}  // namespace
