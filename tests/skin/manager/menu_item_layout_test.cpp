// Geometry and colour rules of skinned menu items and of the popup border ring.
#include "skin/manager/menu_item_layout.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace skin {
namespace {

using testing::ElementsAre;

TEST(MenuGlyph, SideComesFromTheImageListAndCheckedItemsGetRoomForTheMark) {
  EXPECT_EQ(MenuGlyphSide(false, 0, false), 16);
  EXPECT_EQ(MenuGlyphSide(true, 20, false), 20);
  EXPECT_EQ(MenuGlyphSide(true, 12, false), 12);
  EXPECT_EQ(MenuGlyphSide(true, 12, true), 16);
  EXPECT_EQ(MenuGlyphSide(true, 24, true), 24);
}

TEST(MenuGlyph, BoxShiftsByLeftWidthOnlyWithTheElementAndMirrors) {
  MenuItemLayoutInput in;
  in.item = {10, 20, 110, 40};
  in.glyph_side = 16;
  in.left_width = 7;
  EXPECT_EQ(MenuGlyphBox(in), (PixelRect{11, 21, 27, 37}));  // no element: LeftWidth ignored
  in.has_item_element = true;
  EXPECT_EQ(MenuGlyphBox(in), (PixelRect{18, 21, 34, 37}));
  in.right_to_left = true;
  EXPECT_EQ(MenuGlyphBox(in), (PixelRect{86, 21, 102, 37}));
  in.separator = true;
  EXPECT_EQ(MenuGlyphBox(in).left, 110);
  EXPECT_EQ(MenuGlyphBox(in).right, 110);
  in.right_to_left = false;
  EXPECT_EQ(MenuGlyphBox(in).left, 0);
  EXPECT_EQ(MenuGlyphBox(in).right, 0);
}

TEST(MenuCaption, AreaCentringAndShortcutColumnLeftToRight) {
  MenuItemLayoutInput in;
  in.item = {0, 0, 200, 23};
  const PixelRect glyph = MenuGlyphBox(in);
  const PixelRect area = MenuCaptionArea(in, glyph);
  EXPECT_EQ(area, (PixelRect{20, 0, 199, 23}));
  // DT_CALCRECT leaves the text's extent: 60 wide, 13 high.
  const PixelRect measured{20, 0, 80, 13};
  const PixelRect centred = CentredCaption(area, measured, false);
  EXPECT_EQ(centred, (PixelRect{20, 5, 80, 18}));
  EXPECT_EQ(MenuShortcutArea(centred, area, false), (PixelRect{80, 5, 189, 18}));
  // An odd difference rounds down.
  EXPECT_EQ(CentredCaption({0, 0, 10, 20}, {0, 0, 10, 13}, false).top, 3);
}

TEST(MenuCaption, MirroredLayoutPutsTheShortcutTenPixelsInFromTheLeft) {
  MenuItemLayoutInput in;
  in.item = {0, 0, 200, 23};
  in.right_to_left = true;
  const PixelRect glyph = MenuGlyphBox(in);
  EXPECT_EQ(glyph, (PixelRect{183, 1, 199, 17}));
  const PixelRect area = MenuCaptionArea(in, glyph);
  EXPECT_EQ(area, (PixelRect{1, 0, 180, 23}));
  const PixelRect centred = CentredCaption(area, {120, 0, 180, 13}, true);
  EXPECT_EQ(centred, (PixelRect{1, 5, 180, 18}));  // remembered edges restored
  EXPECT_EQ(MenuShortcutArea(centred, area, true), (PixelRect{11, 5, 180, 18}));
}

TEST(MenuCaption, CheckMarkIsCentredOnePixelRightAndDown) {
  EXPECT_EQ(CheckMarkOrigin({1, 1, 17, 17}, 13, 13), std::make_pair(3, 3));
  EXPECT_EQ(CheckMarkOrigin({5, 2, 21, 18}, 16, 16), std::make_pair(6, 3));
}

TEST(MenuSeparator, LineRunsFromXThreeFourPixelsDown) {
  MenuItemLayoutInput in;
  in.item = {0, 0, 150, 9};
  in.separator = true;
  const PixelRect area = MenuCaptionArea(in, MenuGlyphBox(in));
  EXPECT_EQ(SeparatorLineRect(area), (PixelRect{3, 4, 149, 13}));
}

TEST(MenuMeasure, SkinWideningAndForeignItems) {
  EXPECT_EQ(MenuItemExtraWidth(true, 6, true), 16);
  EXPECT_EQ(MenuItemExtraWidth(true, 6, false), 41);
  EXPECT_EQ(MenuItemExtraWidth(false, 6, false), 35);
  EXPECT_EQ(PopupItemExtraWidth(true, 6, true), 18);
  EXPECT_EQ(PopupItemExtraWidth(false, 6, true), 12);
  EXPECT_EQ(ForeignItemWidth(50, false, 9), 76);
  EXPECT_EQ(ForeignItemWidth(50, true, 9), 85);
  EXPECT_EQ(ForeignItemHeight(15, false, false), 19);
  EXPECT_EQ(ForeignItemHeight(15, true, false), 8);
  EXPECT_EQ(ForeignItemHeight(15, true, true), 12);
  EXPECT_EQ(ForeignItemHeight(15, false, true), 23);
}

TEST(MenuText, ColourByStateAndTheGreyFallback) {
  ColourScheme c;
  c.MenuText = RgbColour(1, 2, 3);
  c.HilightText = RgbColour(4, 5, 6);
  c.ButtonShadow = RgbColour(7, 8, 9);
  EXPECT_EQ(MenuTextColour(c, true, false), c.MenuText);
  EXPECT_EQ(MenuTextColour(c, true, true), c.HilightText);
  EXPECT_EQ(MenuTextColour(c, false, true), c.ButtonShadow);
  c.ButtonShadow = c.MenuText;
  EXPECT_EQ(MenuTextColour(c, false, false), SystemColour(kSysGrayText));
  EXPECT_EQ(MenuTextColour(c, true, false), c.MenuText);
}

TEST(MenuSeparator, PiecesComeFromFrameTwoBottomRowsWhenTheItemIsLow) {
  // Five frames of 20 x 12; item 100 x 8, LeftWidth 4, RightWidth 5.
  const auto pieces = SeparatorPieces(100, 8, 100, 12, 4, 5);
  ASSERT_EQ(pieces.size(), 3u);
  EXPECT_EQ(pieces[0], (SliceBlit{SlicePiece::kLeft, {0, 0, 4, 8}, {20, 4, 24, 12}}));
  EXPECT_EQ(pieces[1], (SliceBlit{SlicePiece::kRight, {95, 0, 100, 8}, {35, 4, 40, 12}}));
  EXPECT_EQ(pieces[2], (SliceBlit{SlicePiece::kCentre, {4, 0, 95, 8}, {24, 4, 35, 12}}));
  // A taller item takes every row, stretched.
  const auto tall = SeparatorPieces(100, 30, 100, 12, 0, 0);
  ASSERT_EQ(tall.size(), 1u);
  EXPECT_EQ(tall[0], (SliceBlit{SlicePiece::kCentre, {0, 0, 100, 30}, {20, 0, 40, 12}}));
}

TEST(MenuSeparator, BadSizesGiveNoPiecesInsteadOfReadingOutsideTheFrame) {
  EXPECT_TRUE(SeparatorPieces(100, 8, 4, 12, 0, 0).empty());  // narrower than five frames
  EXPECT_TRUE(SeparatorPieces(0, 8, 100, 12, 0, 0).empty());
  EXPECT_TRUE(SeparatorPieces(100, 8, 100, 0, 0, 0).empty());
  // Margins wider than the frame: the edge pieces would leave the frame and are dropped.
  const auto wide = SeparatorPieces(100, 8, 100, 12, 30, 30);
  EXPECT_TRUE(wide.empty());
}

TEST(PopupRing, ThreePixelsOnEverySideWithoutOverlap) {
  EXPECT_THAT(PopupBorderRing(50, 40),
              ElementsAre(PixelRect{0, 0, 50, 3}, PixelRect{0, 37, 50, 40}, PixelRect{0, 3, 3, 37},
                          PixelRect{47, 3, 50, 37}));
  int covered = 0;
  for (const PixelRect& r : PopupBorderRing(50, 40)) covered += r.Width() * r.Height();
  EXPECT_EQ(covered, 50 * 40 - 44 * 34);
  // A tiny window: pieces are clipped to it, never outside.
  for (const PixelRect& r : PopupBorderRing(4, 4)) {
    EXPECT_GE(r.left, 0);
    EXPECT_LE(r.right, 4);
    EXPECT_GE(r.top, 0);
    EXPECT_LE(r.bottom, 4);
  }
  EXPECT_TRUE(PopupBorderRing(0, 10).empty());
}

}  // namespace
}  // namespace skin
