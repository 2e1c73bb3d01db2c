// Tab strip, tab set, header and status bar geometry.
#include "skin/controls/tab_geometry.h"

#include <gtest/gtest.h>

namespace skin {
namespace {

TEST(TabGeometry, SideFromStyleBits) {
  EXPECT_EQ(TabSideFromStyle(0), TabSide::kTop);
  EXPECT_EQ(TabSideFromStyle(0x2), TabSide::kBottom);
  EXPECT_EQ(TabSideFromStyle(0x80), TabSide::kLeft);
  EXPECT_EQ(TabSideFromStyle(0x82), TabSide::kRight);
  // Other style bits (WS_CHILD, TCS_MULTILINE) do not matter.
  EXPECT_EQ(TabSideFromStyle(0x40000000u | 0x200u | 0x2u), TabSide::kBottom);
}

TEST(TabGeometry, BorderIsDisplayEnlargedAndMovedTowardTheStrip) {
  const PixelRect display{4, 26, 196, 146};
  EXPECT_EQ(PageBorderRect(display, TabSide::kTop), (PixelRect{0, 23, 200, 150}));
  EXPECT_EQ(PageBorderRect(display, TabSide::kBottom), (PixelRect{0, 22, 200, 149}));
  EXPECT_EQ(PageBorderRect(display, TabSide::kLeft), (PixelRect{1, 22, 200, 150}));
  EXPECT_EQ(PageBorderRect(display, TabSide::kRight), (PixelRect{0, 22, 199, 150}));
}

TEST(TabGeometry, StripAreaLiesBesideTheBorderAndTurnsForSideTabs) {
  const PixelRect border{30, 23, 170, 130};
  const PixelRect top = TabStripArea(border, 200, 150, TabSide::kTop);
  EXPECT_EQ(top, (PixelRect{0, 0, 200, 23}));
  EXPECT_EQ(TabStripBitmapSize(top, TabSide::kTop), (StripSize{200, 23}));
  const PixelRect bottom = TabStripArea(border, 200, 150, TabSide::kBottom);
  EXPECT_EQ(bottom, (PixelRect{0, 130, 200, 150}));
  EXPECT_EQ(TabStripBitmapSize(bottom, TabSide::kBottom), (StripSize{200, 20}));
  const PixelRect left = TabStripArea(border, 200, 150, TabSide::kLeft);
  EXPECT_EQ(left, (PixelRect{0, 0, 30, 150}));
  EXPECT_EQ(TabStripBitmapSize(left, TabSide::kLeft), (StripSize{150, 30}));
  const PixelRect right = TabStripArea(border, 200, 150, TabSide::kRight);
  EXPECT_EQ(right, (PixelRect{170, 0, 200, 150}));
  EXPECT_EQ(TabStripBitmapSize(right, TabSide::kRight), (StripSize{150, 30}));
}

TEST(TabGeometry, ItemsMapIntoTheUnrotatedStrip) {
  const PixelRect item{2, 2, 60, 22};
  const PixelRect border{0, 23, 200, 150};
  EXPECT_EQ(TabItemInStrip(item, border, 200, 200, TabSide::kTop), (PixelRect{2, 3, 60, 23}));
  const PixelRect bottom_item{2, 130, 60, 150};
  EXPECT_EQ(TabItemInStrip(bottom_item, {0, 0, 200, 128}, 200, 200, TabSide::kBottom),
            (PixelRect{2, 1, 60, 21}));
  // Left tabs: the item's vertical extent runs right to left along the lying strip.
  const PixelRect left_item{2, 4, 24, 50};
  EXPECT_EQ(TabItemInStrip(left_item, {26, 0, 200, 150}, 150, 200, TabSide::kLeft),
            (PixelRect{100, 2, 146, 24}));
  const PixelRect right_item{176, 4, 198, 50};
  EXPECT_EQ(TabItemInStrip(right_item, {0, 0, 174, 150}, 150, 200, TabSide::kRight),
            (PixelRect{3, 2, 49, 24}));
}

TEST(TabSetLayout, TabsThatDoNotFitAreLeftOutAndLaterOnesStillTried) {
  // width 100, margins 5: room up to x + tw + 9 <= 95.
  const std::vector<TabSetSlot> slots = LayoutTabSet({30, 60, 20, 40}, 0, 5, 5, 100, 20, false);
  ASSERT_EQ(slots.size(), 2u);
  EXPECT_EQ(slots[0], (TabSetSlot{0, {5, 0, 44, 20}}));
  // 60 does not fit after 44 (44 + 69 > 95), 20 does (44 + 29 = 73), 40 not (73 + 49 > 95).
  EXPECT_EQ(slots[1], (TabSetSlot{2, {44, 0, 73, 20}}));
}

TEST(TabSetLayout, VisibleScrollButtonNeedsTwelveMorePixels) {
  // x + tw + 9 = 95 fits exactly without the button; with it the tab needs 107.
  EXPECT_EQ(LayoutTabSet({81}, 0, 5, 5, 100, 20, false).size(), 1u);
  EXPECT_TRUE(LayoutTabSet({81}, 0, 5, 5, 100, 20, true).empty());
  EXPECT_EQ(LayoutTabSet({69}, 0, 5, 5, 100, 20, true).size(), 1u);
  EXPECT_TRUE(LayoutTabSet({70}, 0, 5, 5, 100, 20, true).empty());
}

TEST(TabSetLayout, StartsAtTheFirstVisibleTab) {
  const std::vector<TabSetSlot> slots = LayoutTabSet({10, 10, 10}, 1, 5, 5, 200, 20, false);
  ASSERT_EQ(slots.size(), 2u);
  EXPECT_EQ(slots[0].index, 1);
  EXPECT_EQ(slots[0].rect.left, 5);
  EXPECT_TRUE(LayoutTabSet({10}, 3, 5, 5, 200, 20, false).empty());
  EXPECT_EQ(LayoutTabSet({10}, -4, 5, 5, 200, 20, false).size(), 1u);
}

TEST(HeaderGeometry, AlignmentImageAndRest) {
  EXPECT_EQ(HeaderAlignment(0x0000), 0);
  EXPECT_EQ(HeaderAlignment(0x4001), 2);  // HDF_STRING | HDF_RIGHT
  EXPECT_EQ(HeaderAlignment(0x4002), 1);  // HDF_STRING | HDF_CENTER
  EXPECT_EQ(HeaderImageIndex(0x4000, 3), -1);
  EXPECT_EQ(HeaderImageIndex(0x4800, 3), 3);
  EXPECT_EQ(HeaderImageIndex(0x8000, 2), 2);
  EXPECT_EQ(HeaderRest(150, {0, 0, 200, 18}), (PixelRect{150, 0, 200, 18}));
  EXPECT_TRUE(HeaderRest(200, {0, 0, 200, 18}).Empty());
  EXPECT_TRUE(HeaderRest(260, {0, 0, 200, 18}).Empty());
  EXPECT_EQ(HeaderRest(0, {0, 0, 200, 18}), (PixelRect{0, 0, 200, 18}));
}

TEST(StatusBarGeometry, PanelsFramesAlignmentAndText) {
  EXPECT_EQ(PanelFrame(PanelBevel::kLowered), 1);
  EXPECT_EQ(PanelFrame(PanelBevel::kRaised), 2);
  EXPECT_EQ(PanelFrame(PanelBevel::kNone), 3);
  EXPECT_EQ(PanelAlignment(PanelAlign::kLeft, true), PanelAlign::kRight);
  EXPECT_EQ(PanelAlignment(PanelAlign::kRight, true), PanelAlign::kLeft);
  EXPECT_EQ(PanelAlignment(PanelAlign::kCentre, true), PanelAlign::kCentre);
  EXPECT_EQ(PanelAlignment(PanelAlign::kRight, false), PanelAlign::kRight);
  EXPECT_EQ(PanelTextFormat(PanelAlign::kLeft), 0u);
  EXPECT_EQ(PanelTextFormat(PanelAlign::kRight), 2u);
  EXPECT_EQ(PanelTextFormat(PanelAlign::kCentre), 1u);
  EXPECT_EQ(PanelTextRect({10, 2, 60, 20}), (PixelRect{12, 2, 58, 20}));
  const auto rects = StatusPanelRects({{0, 2, 100, 20}, {102, 2, 180, 20}}, 300);
  ASSERT_EQ(rects.size(), 2u);
  EXPECT_EQ(rects[0].right, 100);
  EXPECT_EQ(rects[1], (PixelRect{102, 2, 300, 20}));
  EXPECT_TRUE(StatusPanelRects({}, 300).empty());
}

TEST(StatusBarGeometry, SizeGripSitsOnePixelInsideTheCorner) {
  // ExtraImages: 5 frames of 12 x 12.
  EXPECT_EQ(SizeGripRect(300, 20, 60, 12, 5), (PixelRect{287, 7, 299, 19}));
  EXPECT_TRUE(SizeGripRect(300, 20, 0, 0, 5).Empty());
  EXPECT_TRUE(SizeGripRect(300, 20, 4, 12, 5).Empty());  // narrower than its frame count
  EXPECT_EQ(SizeGripRect(300, 20, 12, 12, 0), (PixelRect{287, 7, 299, 19}));
}

}  // namespace
}  // namespace skin
