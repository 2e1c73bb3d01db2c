// Geometry of the skinned menu bar.
#include "skin/manager/menu_bar_layout.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace skin {
namespace {

using testing::ElementsAre;

TEST(MenuBarLayout, FirstOffsetByDirectionElementAndNarrowBars) {
  EXPECT_EQ(MenuBarFirstOffset(true, 1, 1, false, 300), 5);
  EXPECT_EQ(MenuBarFirstOffset(true, 3, 7, true, 300), 15);
  EXPECT_EQ(MenuBarFirstOffset(true, 20, 1, false, 10), 12);  // narrower than x0
  EXPECT_EQ(MenuBarFirstOffset(false, 20, 20, true, 300), 6);
}

TEST(MenuBarLayout, ButtonsAreCaptionPlusTenAndEmptyOnesTakeNoRoom) {
  EXPECT_THAT(
      LayoutMenuBarButtons({20, 0, 30}, 300, 19, 5, false),
      ElementsAre(PixelRect{5, 0, 35, 18}, PixelRect{35, 0, 35, 18}, PixelRect{35, 0, 75, 18}));
  // Right to left the first button ends x0 in from the right edge.
  EXPECT_THAT(LayoutMenuBarButtons({20, 30}, 300, 19, 15, true),
              ElementsAre(PixelRect{255, 0, 285, 18}, PixelRect{215, 0, 255, 18}));
  EXPECT_TRUE(LayoutMenuBarButtons({}, 300, 19, 5, false).empty());
}

TEST(MenuBarLayout, ArrowNeighboursWrapAround) {
  EXPECT_EQ(MenuBarNeighbour(2, 3, true), 0);
  EXPECT_EQ(MenuBarNeighbour(0, 3, false), 2);
  EXPECT_EQ(MenuBarNeighbour(1, 3, true), 2);
  EXPECT_EQ(MenuBarNeighbour(1, 3, false), 0);
  EXPECT_EQ(MenuBarNeighbour(0, 1, true), 0);
  EXPECT_EQ(MenuBarNeighbour(0, 0, true), -1);
  // A bar that shrank under its open drop-down.
  EXPECT_EQ(MenuBarNeighbour(5, 3, false), 2);
  EXPECT_EQ(MenuBarNeighbour(5, 3, true), 0);
}

}  // namespace
}  // namespace skin
