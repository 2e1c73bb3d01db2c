// Progress fill and chunks, track bar thumbs and custom-draw answers, up-down halves.
#include "skin/controls/bar_geometry.h"

#include <gtest/gtest.h>

#include <climits>

namespace skin {
namespace {

TEST(ProgressGeometry, FillLength) {
  // 200 pixels, range 0-100, position 33: 66 pixels.
  EXPECT_EQ(ProgressFillLength(33, 0, 100, 200), 66);
  EXPECT_EQ(ProgressFillLength(0, 0, 100, 200), 0);
  EXPECT_EQ(ProgressFillLength(50, 0, 0, 200), 0);  // upper limit 0: only the trough
  EXPECT_EQ(ProgressFillLength(100, 0, 100, 200), 200);
  // The lower limit counts: 60 in 50..150 is a tenth.
  EXPECT_EQ(ProgressFillLength(60, 50, 150, 200), 20);
  EXPECT_EQ(ProgressFillLength(40, 50, 150, 200), 0);
  // Out of range and huge values stay inside the bar and do not overflow.
  EXPECT_EQ(ProgressFillLength(250, 0, 100, 200), 200);
  EXPECT_EQ(ProgressFillLength(INT_MAX - 1, INT_MIN, INT_MAX, 1000), 999);
  EXPECT_EQ(ProgressFillLength(10, 0, 100, 0), 0);
}

TEST(ProgressGeometry, FillRectFromTheLeftOrTheBottom) {
  EXPECT_EQ(ProgressFillRect({0, 0, 200, 16}, 66, false), (PixelRect{0, 0, 66, 16}));
  EXPECT_EQ(ProgressFillRect({0, 0, 16, 100}, 30, true), (PixelRect{0, 70, 16, 100}));
}

TEST(ProgressGeometry, Chunks) {
  const std::vector<int> offsets = ProgressChunkOffsets(25, 10);
  EXPECT_EQ(offsets, (std::vector<int>{0, 10, 20}));
  EXPECT_EQ(ProgressChunkOffsets(30, 10).size(), 4u);  // fw / cw + 1
  EXPECT_TRUE(ProgressChunkOffsets(0, 10).empty());
  EXPECT_TRUE(ProgressChunkOffsets(30, 0).empty());
  EXPECT_EQ(ProgressChunkOrigin({0, 0, 200, 17}, 3, 10), (std::pair<int, int>{3, 3}));
  // A chunk taller than the bar starts above it (truncating toward zero).
  EXPECT_EQ(ProgressChunkOrigin({0, 0, 200, 7}, 3, 10), (std::pair<int, int>{3, -1}));
}

TEST(TrackBarGeometry, ThumbImageChoice) {
  EXPECT_EQ(ChooseThumbImage(true, true, true), ThumbImage::kVert);
  EXPECT_EQ(ChooseThumbImage(false, true, true), ThumbImage::kHorz);
  EXPECT_EQ(ChooseThumbImage(true, false, true), ThumbImage::kHorz);
  EXPECT_EQ(ChooseThumbImage(false, true, false), ThumbImage::kNone);
  EXPECT_EQ(ChooseThumbImage(true, false, false), ThumbImage::kNone);
}

TEST(TrackBarGeometry, CustomDrawAnswers) {
  EXPECT_EQ(TrackBarCustomDraw(1, 0), (CustomDrawAnswer{0x20, false}));
  EXPECT_EQ(TrackBarCustomDraw(0x10001, 1), (CustomDrawAnswer{0, false}));  // tics
  EXPECT_EQ(TrackBarCustomDraw(0x10001, 3), (CustomDrawAnswer{0, false}));  // channel
  EXPECT_EQ(TrackBarCustomDraw(0x10001, 2), (CustomDrawAnswer{4, true}));   // thumb
  EXPECT_EQ(TrackBarCustomDraw(0x10002, 2), (CustomDrawAnswer{0, false}));  // post-paint
  EXPECT_EQ(TrackBarCustomDraw(2, 0), (CustomDrawAnswer{0, false}));
}

TEST(UpDownGeometry, Halves) {
  const UpDownLayout v = LayoutUpDown({0, 0, 16, 25}, false);
  EXPECT_EQ(v.first, (PixelRect{0, 0, 16, 12}));
  EXPECT_EQ(v.second, (PixelRect{0, 12, 16, 25}));
  EXPECT_EQ(v.split, 12);
  const UpDownLayout h = LayoutUpDown({0, 0, 31, 16}, true);
  EXPECT_EQ(h.first, (PixelRect{0, 0, 15, 16}));
  EXPECT_EQ(h.second, (PixelRect{15, 0, 31, 16}));
  // Embedded: one pixel inside; the split is where the buttons meet.
  const UpDownLayout e = LayoutUpDown({1, 1, 15, 21}, false);
  EXPECT_EQ(e.first, (PixelRect{1, 1, 15, 11}));
  EXPECT_EQ(e.split, 11);
}

TEST(UpDownGeometry, PressedHalfFollowsTheCursor) {
  const int split = 12;
  // Held with the cursor over the first button: first pressed, second normal.
  EXPECT_EQ(UpDownButtonState(0, true, true, true, 5, split), 2);
  EXPECT_EQ(UpDownButtonState(1, true, true, true, 5, split), 1);
  // Moved over the second half while held: the other way round.
  EXPECT_EQ(UpDownButtonState(0, true, true, true, 12, split), 1);
  EXPECT_EQ(UpDownButtonState(1, true, true, true, 12, split), 2);
  // Hot without the button down; disabled wins over everything.
  EXPECT_EQ(UpDownButtonState(1, true, false, true, 20, split), 4);
  EXPECT_EQ(UpDownButtonState(1, true, false, false, 20, split), 1);
  EXPECT_EQ(UpDownButtonState(0, false, true, true, 5, split), 3);
  EXPECT_EQ(UpDownFrame(2, 1), 6);
  EXPECT_EQ(UpDownFrame(4, 0), 4);
}

TEST(UpDownGeometry, GlyphCentredAndPlainArrows) {
  // Glyph image 8 frames of 7 x 4 in a 16 x 12 button.
  EXPECT_EQ(UpDownGlyphRect({0, 12, 16, 24}, 56, 4), (PixelRect{4, 16, 11, 20}));
  const ArrowShape up = PlainArrow(ArrowKind::kUp, {0, 0, 16, 12});
  ASSERT_EQ(up.segments.size(), 7u);
  EXPECT_EQ(up.segments[0].first, (ArrowPoint{8, 4}));  // 2 pixels above the centre
  EXPECT_TRUE(up.path.empty());
  const ArrowShape right = PlainArrow(ArrowKind::kRight, {16, 0, 32, 16});
  EXPECT_TRUE(right.segments.empty());
  ASSERT_EQ(right.path.size(), 5u);
  EXPECT_EQ(right.path[0], (ArrowPoint{24, 8}));
  EXPECT_EQ(right.path[3], (ArrowPoint{25, 8}));
}

}  // namespace
}  // namespace skin
