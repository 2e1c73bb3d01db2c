// Scroll bar and combo box geometry: bar rectangles, thumb metrics, hit testing, the
// positions a thumb drag asks for, and the combo box's drop-down button.
#include "skin/controls/scroll_bar_geometry.h"

#include <gtest/gtest.h>

namespace skin {
namespace {

TEST(MulDiv32, RoundsHalfAwayFromZeroAndRefusesWhatDoesNotFit) {
  EXPECT_EQ(MulDiv32(180, 100, 200), 90);
  EXPECT_EQ(MulDiv32(179, 100, 200), 90);  // 89.5
  EXPECT_EQ(MulDiv32(-179, 100, 200), -90);
  EXPECT_EQ(MulDiv32(1, 1, 3), 0);
  EXPECT_EQ(MulDiv32(5, 7, 0), -1);
  EXPECT_EQ(MulDiv32(0x7FFFFFFF, 4, 2), -1);
  EXPECT_EQ(MulDiv32(0x7FFFFFFF, 0x7FFFFFFF, 0x7FFFFFFF), 0x7FFFFFFF);
}

TEST(LayoutScrollBars, BothBarsOfAMemoMeetInTheSizeBox) {
  const ScrollBarsLayout l = LayoutScrollBars(200, 100, 179, 79, true, true, false, 17);
  EXPECT_EQ(l.border, 2);
  EXPECT_EQ(l.horz, (PixelRect{2, 81, 181, 98}));
  EXPECT_EQ(l.vert, (PixelRect{181, 2, 198, 81}));
  EXPECT_EQ(l.size_box, (PixelRect{181, 81, 198, 98}));
}

TEST(LayoutScrollBars, LeftScrollBarAndSingleBars) {
  const ScrollBarsLayout both = LayoutScrollBars(200, 100, 179, 79, true, true, true, 17);
  EXPECT_EQ(both.horz, (PixelRect{19, 81, 198, 98}));
  EXPECT_EQ(both.vert, (PixelRect{2, 2, 19, 81}));
  EXPECT_EQ(both.size_box, (PixelRect{2, 81, 19, 98}));

  const ScrollBarsLayout vert = LayoutScrollBars(200, 100, 179, 96, false, true, false, 17);
  EXPECT_EQ(vert.vert, (PixelRect{181, 2, 198, 98}));
  EXPECT_TRUE(vert.horz.Empty());
  EXPECT_TRUE(vert.size_box.Empty());
  const ScrollBarsLayout left = LayoutScrollBars(200, 100, 179, 96, false, true, true, 17);
  EXPECT_EQ(left.vert, (PixelRect{2, 2, 19, 98}));

  // Only a horizontal bar: the border comes from the heights.
  const ScrollBarsLayout horz = LayoutScrollBars(200, 100, 196, 79, true, false, true, 17);
  EXPECT_EQ(horz.border, 2);
  EXPECT_EQ(horz.horz, (PixelRect{2, 81, 198, 98}));
  EXPECT_TRUE(horz.vert.Empty());
}

TEST(CalcThumb, PageSizedThumbAtItsPosition) {
  // Track 200 (bar 234, arrows 17), range 0..100 (101 positions), page 10: thumb 20 long,
  // travelling 180 pixels over the positions 0 .. 91.
  auto m = CalcThumb(234, 17, {0, 100, 10, 45}, 8, 17);
  ASSERT_TRUE(m);
  EXPECT_EQ(m->track, 200);
  EXPECT_EQ(m->thumb_length, 20);
  EXPECT_EQ(m->thumb_pos, 89);  // 45 * 180 / 91
  m = CalcThumb(234, 17, {0, 100, 10, 91}, 8, 17);
  EXPECT_EQ(m->thumb_pos, 180);
  m = CalcThumb(234, 17, {0, 100, 10, 500}, 8, 17);
  EXPECT_EQ(m->thumb_pos, 180);
}

TEST(CalcThumb, SmallPagesGetTheMinimumAndNoPageTheSquareThumb) {
  // A 1,000-line memo: the page share is a few pixels, the minimum wins.
  auto m = CalcThumb(234, 17, {0, 999, 10, 0}, 8, 17);
  EXPECT_EQ(m->thumb_length, 8);
  EXPECT_EQ(MinThumbLength(17, true), 8);
  EXPECT_EQ(MinThumbLength(20, true), 10);
  EXPECT_EQ(MinThumbLength(20, false), 8);
  m = CalcThumb(234, 17, {0, 100, 0, 50}, 8, 17);
  EXPECT_EQ(m->thumb_length, 17);
  EXPECT_EQ(m->thumb_pos, MulDiv32(50, 183, 100));
}

TEST(CalcThumb, AWholePageFillsTheTrackLessOnePixelAtTheStart) {
  auto m = CalcThumb(234, 17, {0, 99, 100, 30}, 8, 17);
  EXPECT_EQ(m->thumb_length, 199);
  EXPECT_EQ(m->thumb_pos, 0);
}

TEST(CalcThumb, EmptyRangeKeepsThePreviousMetrics) {
  EXPECT_FALSE(CalcThumb(234, 17, {0, 0, 0, 0}, 8, 17));
  EXPECT_FALSE(CalcThumb(234, 17, {10, 5, 1, 7}, 8, 17));
  // A page larger than the range does not put the thumb before the track.
  auto m = CalcThumb(234, 17, {0, 50, 80, 10}, 8, 17);
  EXPECT_EQ(m->thumb_length, 199);
  EXPECT_EQ(m->thumb_pos, 0);
}

TEST(CalcControlThumb, CountsBothEndsOfTheRange) {
  // A scroll bar control 0..100 with page 10: 101 positions.
  auto m = CalcControlThumb(334, 17, {0, 100, 10, 91}, 8, 17);
  EXPECT_EQ(m->track, 300);
  EXPECT_EQ(m->thumb_length, MulDiv32(10, 300, 101));
  EXPECT_EQ(m->thumb_pos, 300 - m->thumb_length);
  m = CalcControlThumb(334, 17, {0, 100, 101, 0}, 8, 17);
  EXPECT_EQ(m->thumb_length, 299);
  EXPECT_EQ(m->thumb_pos, 0);
  // max = min is still one position; max < min keeps the old metrics.
  EXPECT_TRUE(CalcControlThumb(334, 17, {5, 5, 0, 5}, 8, 17));
  EXPECT_FALSE(CalcControlThumb(334, 17, {6, 5, 0, 5}, 8, 17));
}

TEST(DrawnThumb, ShortBarsHalveTheArrowsAndHideTheThumb) {
  EXPECT_EQ(DrawnArrowLength(30, 17), 15);
  EXPECT_EQ(DrawnArrowLength(34, 17), 17);
  auto m = CalcThumb(30, 17, {0, 100, 10, 0}, 8, 17);
  ASSERT_TRUE(m);
  EXPECT_EQ(m->track, -4);  // no room between the arrows
  EXPECT_FALSE(DrawnThumb(*m, DrawnArrowLength(30, 17)));

  ThumbMetrics dragged{17, 200, 20, 195};  // a drag past the end of the track
  auto span = DrawnThumb(dragged, 17);
  ASSERT_TRUE(span);
  EXPECT_EQ(span->start, 17 + 180);
  EXPECT_EQ(span->length, 20);
}

TEST(HitTestBar, ArrowsPagesAndThumb) {
  const ThumbMetrics m{17, 200, 20, 50};
  EXPECT_EQ(HitTestBar(0, m), kScrollLineUp);
  EXPECT_EQ(HitTestBar(16, m), kScrollLineUp);
  EXPECT_EQ(HitTestBar(17, m), kScrollPageUp);
  EXPECT_EQ(HitTestBar(66, m), kScrollPageUp);
  EXPECT_EQ(HitTestBar(67, m), kScrollThumbTrack);
  EXPECT_EQ(HitTestBar(86, m), kScrollThumbTrack);
  EXPECT_EQ(HitTestBar(87, m), kScrollPageDown);
  EXPECT_EQ(HitTestBar(216, m), kScrollPageDown);
  EXPECT_EQ(HitTestBar(217, m), kScrollLineDown);
  EXPECT_EQ(HitTestBar(233, m), kScrollLineDown);
  EXPECT_EQ(HitTestBar(234, m), -1);
}

TEST(DragPosition, EndOfRangeRuleWithAPage) {
  const ThumbMetrics m{17, 200, 20, 0};
  const ScrollRange list{0, 100, 10, 0};
  DragResult d = DragPosition(0, 180, m, list);
  EXPECT_EQ(d.thumb_pos, 180);
  EXPECT_EQ(d.position, 91);
  d = DragPosition(0, 178, m, list);
  EXPECT_EQ(d.position, 91);  // MulDiv(178, 91, 180) = 90 >= max - page
  d = DragPosition(0, 90, m, list);
  EXPECT_EQ(d.position, 46);  // 45.5 rounds up
  // Beyond the track and before its start.
  d = DragPosition(150, 500, m, list);
  EXPECT_EQ(d.thumb_pos, 180);
  EXPECT_EQ(d.position, 91);
  d = DragPosition(10, -40, m, list);
  EXPECT_EQ(d.thumb_pos, 0);
  EXPECT_EQ(d.position, 0);
}

TEST(DragPosition, ADragLandsWhereTheThumbIsShown) {
  // A 1,000-line memo, 9 lines a page, track 112: every thumb position the drag reaches
  // gives a position whose thumb is drawn there again.
  const ScrollRange memo{0, 1000, 9, 0};
  const ThumbMetrics m = *CalcThumb(146, 17, memo, 8, 17);
  for (int n = 0; n <= m.track - m.thumb_length; ++n) {
    const DragResult d = DragPosition(0, n, m, memo);
    ScrollRange at = memo;
    at.pos = d.position;
    EXPECT_EQ(CalcThumb(146, 17, at, 8, 17)->thumb_pos, n) << n;
  }
}

TEST(DragPosition, WithoutAPageTheThumbTravelsTheTrackLessItsLength) {
  const ThumbMetrics m{17, 200, 17, 0};
  const ScrollRange r{10, 110, 0, 10};
  DragResult d = DragPosition(0, 183, m, r);
  EXPECT_EQ(d.thumb_pos, 183);
  EXPECT_EQ(d.position, 110);
  d = DragPosition(0, 400, m, r);
  EXPECT_EQ(d.thumb_pos, 183);
  EXPECT_EQ(d.position, 110);
  d = DragPosition(0, 0, m, r);
  EXPECT_EQ(d.position, 10);
  // No room to travel: the minimum, never a MulDiv failure.
  d = DragPosition(0, 30, ThumbMetrics{17, 17, 17, 0}, r);
  EXPECT_EQ(d.position, 10);
}

TEST(DragPosition, PositionsBeyondSixteenBitsAreTruncatedOnlyInMessages) {
  const ThumbMetrics m{17, 200, 8, 0};
  const ScrollRange big{0, 200000, 0, 0};
  const DragResult d = DragPosition(0, 96, m, big);
  EXPECT_EQ(d.position, MulDiv32(96, 200000, 192));  // 100000
  EXPECT_EQ(MessagePosition(d.position), 100000 & 0xFFFF);
  EXPECT_EQ(MessagePosition(65535), 65535);
  EXPECT_EQ(MessagePosition(65536), 0);
}

TEST(LayoutCombo, ButtonOnTheRightOrMirroredOnTheLeft) {
  const ComboLayout c = LayoutCombo(120, 21, 17, false);
  EXPECT_EQ(c.button, (PixelRect{101, 0, 120, 21}));
  EXPECT_EQ(c.glyph_area, (PixelRect{101, 0, 118, 21}));
  EXPECT_EQ(c.text, (PixelRect{2, 2, 99, 19}));
  EXPECT_FALSE(c.mirrored);
  const ComboLayout l = LayoutCombo(120, 21, 17, true);
  EXPECT_EQ(l.button, (PixelRect{0, 0, 19, 21}));
  EXPECT_EQ(l.glyph_area, (PixelRect{2, 0, 19, 21}));
  EXPECT_EQ(l.text, (PixelRect{21, 2, 118, 19}));
  EXPECT_TRUE(l.mirrored);
  // A glyph of 9 x 5 in the 17 x 21 area; a glyph wider than its area starts before it.
  EXPECT_EQ(CentreGlyph(c.glyph_area, 9, 5), (PixelRect{105, 8, 114, 13}));
  EXPECT_EQ(CentreGlyph({0, 0, 4, 4}, 7, 7), (PixelRect{-1, -1, 6, 6}));
}

TEST(ComboFrame, FocusAndHoverWinOverDisabled) {
  EXPECT_EQ(ComboFrame(false, false, false, true), 1);
  EXPECT_EQ(ComboFrame(true, true, true, false), 2);
  EXPECT_EQ(ComboFrame(false, true, false, true), 4);
  EXPECT_EQ(ComboFrame(false, false, true, false), 4);
  EXPECT_EQ(ComboFrame(false, false, false, false), 3);
}

}  // namespace
}  // namespace skin
