// Caption-button visibility, placement, frames and hit testing, without a window.
#include "skin/form/caption_layout.h"

#include <gtest/gtest.h>

#include <climits>

namespace skin {
namespace {

CaptionWindowState AllBoxes() {
  CaptionWindowState s;
  s.maximize_box = s.minimize_box = s.system_menu = true;
  return s;
}

TEST(CaptionVisibility, FirstAndSecondConditionsOfEveryCode) {
  CaptionWindowState s = AllBoxes();
  // Code 0: the first condition needs a frame other than plain; the close button also
  // needs a system menu. The second condition always holds.
  EXPECT_TRUE(VisibilityHolds(0, false, kActionClose, s));
  s.frame_plain = true;
  EXPECT_FALSE(VisibilityHolds(0, false, kActionMaximize, s));
  EXPECT_TRUE(VisibilityHolds(0, true, kActionMaximize, s));
  s.frame_plain = false;
  s.system_menu = false;
  EXPECT_FALSE(VisibilityHolds(0, false, kActionClose, s));
  EXPECT_TRUE(VisibilityHolds(0, false, kActionMinimize, s));
  EXPECT_TRUE(VisibilityHolds(0, true, kActionClose, s));

  s = AllBoxes();
  for (bool second : {false, true}) {
    s.maximized = true;
    EXPECT_TRUE(VisibilityHolds(1, second, 1, s));
    EXPECT_FALSE(VisibilityHolds(2, second, 1, s));
    s.maximized = false;
    EXPECT_FALSE(VisibilityHolds(1, second, 1, s));
    EXPECT_TRUE(VisibilityHolds(2, second, 1, s));
    s.active = true;
    EXPECT_TRUE(VisibilityHolds(3, second, 1, s));
    EXPECT_FALSE(VisibilityHolds(4, second, 1, s));
    s.active = false;
    EXPECT_FALSE(VisibilityHolds(3, second, 1, s));
    EXPECT_TRUE(VisibilityHolds(4, second, 1, s));
    s.active = true;
  }
  // Codes 6 and 8: the first condition also needs a system menu, the second does not.
  s = AllBoxes();
  s.system_menu = false;
  EXPECT_FALSE(VisibilityHolds(6, false, 1, s));
  EXPECT_TRUE(VisibilityHolds(6, true, 1, s));
  EXPECT_FALSE(VisibilityHolds(8, false, 2, s));
  EXPECT_TRUE(VisibilityHolds(8, true, 2, s));
  EXPECT_FALSE(VisibilityHolds(7, false, 1, s));
  EXPECT_FALSE(VisibilityHolds(9, true, 1, s));
  s.maximize_box = s.minimize_box = false;
  EXPECT_FALSE(VisibilityHolds(6, true, 1, s));
  EXPECT_FALSE(VisibilityHolds(8, true, 2, s));
  EXPECT_TRUE(VisibilityHolds(7, false, 1, s));
  EXPECT_TRUE(VisibilityHolds(7, true, 1, s));
  EXPECT_TRUE(VisibilityHolds(9, false, 1, s));
  EXPECT_TRUE(VisibilityHolds(9, true, 1, s));
}

TEST(CaptionVisibility, MenuRowRangesAndNeverCodes) {
  CaptionWindowState s = AllBoxes();
  for (bool second : {false, true}) {
    s.mdi_child_maximized_row = false;
    EXPECT_FALSE(VisibilityHolds(100, second, 7, s));
    s.mdi_child_maximized_row = true;
    EXPECT_TRUE(VisibilityHolds(100, second, 7, s));
    for (int code : {200, 201, 1000, 2000})
      EXPECT_TRUE(VisibilityHolds(code, second, 0, s)) << code;
    for (int code : {-1, -200, 5, 10, 11, 12, 50, 99, 101, 150, 199, 2001, 1 << 30})
      EXPECT_FALSE(VisibilityHolds(code, second, 0, s)) << code;
  }
}

TEST(CaptionVisibility, BoxOverrideHidesMaximizeAndMinimizeButtonsWhateverTheCodes) {
  CaptionWindowState s = AllBoxes();
  EXPECT_TRUE(CaptionButtonVisible(kActionMaximize, 200, 200, s));
  EXPECT_TRUE(CaptionButtonVisible(kActionMinimize, 200, 200, s));
  s.maximize_box = false;
  EXPECT_FALSE(CaptionButtonVisible(kActionMaximize, 200, 200, s));
  EXPECT_TRUE(CaptionButtonVisible(kActionMinimize, 200, 200, s));
  // The override is for actions 1 and 2 only; the alternative codes follow their codes.
  EXPECT_TRUE(CaptionButtonVisible(kActionMaximizeAlt, 200, 200, s));
  s.minimize_box = false;
  EXPECT_FALSE(CaptionButtonVisible(kActionMinimize, 200, 200, s));
  EXPECT_TRUE(CaptionButtonVisible(kActionClose, 200, 200, s));
  // Both conditions must hold.
  s = AllBoxes();
  EXPECT_FALSE(CaptionButtonVisible(kActionClose, 200, 5, s));
  EXPECT_FALSE(CaptionButtonVisible(kActionClose, 5, 200, s));
}

// The default skin's buttons on a calculator-like window (system menu only) and on a
// window with every box.
TEST(CaptionVisibility, DefaultSkinButtonsFollowTheWindowsBoxes) {
  struct B {
    int action, v, v1;
  };
  const B close{0, 0, 0}, maximize{1, 2, 6}, restore{1, 1, 6}, minimize{2, 8, 8}, icon{3, 0, 0},
      rollup{31, 2, 6}, help{30, 6, 6};
  const auto shown = [](const B& b, const CaptionWindowState& s) {
    return CaptionButtonVisible(b.action, b.v, b.v1, s);
  };
  CaptionWindowState calc;
  calc.system_menu = true;
  EXPECT_TRUE(shown(close, calc));
  EXPECT_TRUE(shown(icon, calc));
  for (const B& b : {maximize, restore, minimize, rollup, help}) EXPECT_FALSE(shown(b, calc));

  CaptionWindowState all = AllBoxes();
  EXPECT_TRUE(shown(maximize, all));
  EXPECT_FALSE(shown(restore, all));
  EXPECT_TRUE(shown(minimize, all));
  all.maximized = true;
  EXPECT_FALSE(shown(maximize, all));
  EXPECT_TRUE(shown(restore, all));
  EXPECT_FALSE(shown(rollup, all));
  EXPECT_TRUE(shown(help, all));
}

TEST(CaptionPlacementTest, EveryAlignmentCode) {
  CaptionPlacement p;
  p.window_width = 300;
  p.title_text = {40, 2, 140, 20};
  p.border_left = 4;
  p.border_top = 24;
  p.border_right = 6;
  p.menu_height = 19;
  p.menu_bar_left_width = 3;
  EXPECT_EQ(PlaceCaptionButton(0, 8, 5, 16, 16, p), (PixelRect{8, 5, 24, 21}));
  EXPECT_EQ(PlaceCaptionButton(1, 27, 4, 20, 18, p), (PixelRect{273, 4, 293, 22}));
  for (int align : {2, 8})
    EXPECT_EQ(PlaceCaptionButton(align, 3, 4, 20, 18, p), (PixelRect{17, 4, 37, 22}));
  for (int align : {3, 9})
    EXPECT_EQ(PlaceCaptionButton(align, 3, 4, 20, 18, p), (PixelRect{143, 4, 163, 22}));
  // The menu row: centred in it (truncating), from the right edge less the border and the
  // menu element's left part.
  EXPECT_EQ(PlaceCaptionButton(100, 20, 0, 16, 14, p), (PixelRect{271, 26, 287, 40}));
  p.right_to_left = true;
  EXPECT_EQ(PlaceCaptionButton(100, 20, 0, 16, 14, p), (PixelRect{27, 26, 43, 40}));
  // A button taller than the row goes up (the division truncates towards zero).
  EXPECT_EQ(PlaceCaptionButton(100, 20, 0, 16, 22, p).top, 24 + (19 - 22) / 2);
  for (int align : {-1, 4, 7, 10, 99, 101})
    EXPECT_EQ(PlaceCaptionButton(align, 20, 7, 16, 14, p), (PixelRect{0, 0, 16, 14})) << align;
}

TEST(CaptionLayoutRow, RightEdgeImagesAndInvisibleButtonsKeepTheirBounds) {
  CaptionWindowState s = AllBoxes();
  CaptionPlacement p;
  p.window_width = 200;
  std::vector<CaptionButtonSpec> buttons(4);
  buttons[0] = {0, 1, 27, 4, 0, 0, 80, 18, 4};  // close, 20 x 18
  buttons[1] = {1, 1, 49, 4, 2, 6, 80, 18, 4};  // maximize
  buttons[2] = {1, 1, 49, 4, 1, 6, 60, 18, 3};  // restore (hidden while not maximized)
  buttons[3] = {3, 0, 8, 5, 0, 0, 0, 0, 1};     // no image: visible, never placed
  std::vector<bool> visible;
  std::vector<PixelRect> bounds;
  EXPECT_EQ(LayoutCaptionButtonRow(buttons, s, p, visible, bounds), 200 - 27);  // the largest
  EXPECT_EQ(visible, (std::vector<bool>{true, true, false, true}));
  EXPECT_EQ(bounds[0], (PixelRect{173, 4, 193, 22}));
  EXPECT_EQ(bounds[1], (PixelRect{151, 4, 171, 22}));
  EXPECT_EQ(bounds[2], PixelRect{});
  EXPECT_EQ(bounds[3], PixelRect{});

  s.maximized = true;
  p.window_width = 400;
  EXPECT_EQ(LayoutCaptionButtonRow(buttons, s, p, visible, bounds), 400 - 27);
  EXPECT_EQ(visible, (std::vector<bool>{true, false, true, true}));
  EXPECT_EQ(bounds[1], (PixelRect{151, 4, 171, 22}));  // kept from before
  EXPECT_EQ(bounds[2], (PixelRect{351, 4, 371, 22}));

  // Without right-aligned buttons the edge is 0; a zero frame count counts as one frame.
  std::vector<CaptionButtonSpec> left_only{{0, 0, 5, 5, 0, 0, 30, 10, 0}};
  EXPECT_EQ(LayoutCaptionButtonRow(left_only, s, p, visible, bounds), 0);
  EXPECT_EQ(bounds, (std::vector<PixelRect>{{5, 5, 35, 15}}));
}

TEST(CaptionFrames, RestingAndStateFrames) {
  EXPECT_EQ(RestingFrame(true, 4), 1);
  EXPECT_EQ(RestingFrame(false, 4), 4);
  EXPECT_EQ(RestingFrame(false, 5), 4);
  EXPECT_EQ(RestingFrame(false, 3), 1);
  EXPECT_EQ(RestingFrame(false, 1), 1);
  EXPECT_EQ(StateFrame(1, false), 1);
  EXPECT_EQ(StateFrame(2, false), 2);
  EXPECT_EQ(StateFrame(3, false), 3);
  EXPECT_EQ(StateFrame(3, true), 4);
  EXPECT_EQ(StateFrame(2, true), 2);
  EXPECT_EQ(StateFrame(0, false), 1);
  EXPECT_EQ(StateFrame(7, true), 1);
}

TEST(CaptionActions, CommandsHitCodesAndIcons) {
  EXPECT_EQ(CommandForAction(0), CaptionCommand::kClose);
  for (int a : {1, 22}) EXPECT_EQ(CommandForAction(a), CaptionCommand::kToggleMaximize);
  for (int a : {2, 23}) EXPECT_EQ(CommandForAction(a), CaptionCommand::kToggleMinimize);
  for (int a : {3, 11, 12}) EXPECT_EQ(CommandForAction(a), CaptionCommand::kSystemMenu);
  for (int a : {7, 60}) EXPECT_EQ(CommandForAction(a), CaptionCommand::kMdiMinimize);
  for (int a : {8, 61}) EXPECT_EQ(CommandForAction(a), CaptionCommand::kMdiRestore);
  for (int a : {9, 62}) EXPECT_EQ(CommandForAction(a), CaptionCommand::kMdiClose);
  for (int a : {-1, 4, 5, 6, 10, 13, 21, 24, 30, 31, 59, 63, 100})
    EXPECT_EQ(CommandForAction(a), CaptionCommand::kForward) << a;
  EXPECT_EQ(HitCodeForAction(0), 20);
  EXPECT_EQ(HitCodeForAction(1), 9);
  EXPECT_EQ(HitCodeForAction(22), 9);
  EXPECT_EQ(HitCodeForAction(2), 8);
  EXPECT_EQ(HitCodeForAction(23), 8);
  for (int a : {-1, 3, 7, 8, 9, 31}) EXPECT_EQ(HitCodeForAction(a), 0) << a;
  EXPECT_TRUE(ShowsWindowIcon(3));
  EXPECT_TRUE(ShowsWindowIcon(11));
  EXPECT_FALSE(ShowsWindowIcon(12));
  EXPECT_FALSE(ShowsWindowIcon(0));
}

TEST(CaptionHitTest, FirstVisibleNonNegativeButtonContainingThePoint) {
  std::vector<CaptionHitEntry> b{
      {false, 0, {0, 0, 20, 20}},  // invisible
      {true, -1, {0, 0, 20, 20}},  // inert
      {true, 1, {10, 0, 30, 20}},
      {true, 2, {10, 0, 30, 20}},  // hidden behind the one before
  };
  EXPECT_EQ(CaptionButtonIndexAt(b, 5, 5), -1);
  EXPECT_EQ(CaptionButtonIndexAt(b, 10, 0), 2);
  EXPECT_EQ(CaptionButtonIndexAt(b, 29, 19), 2);
  EXPECT_EQ(CaptionButtonIndexAt(b, 30, 5), -1);  // right and bottom are exclusive
  EXPECT_EQ(CaptionButtonIndexAt(b, 15, 20), -1);
  b[2].visible = false;
  EXPECT_EQ(CaptionButtonIndexAt(b, 15, 5), 3);
  EXPECT_EQ(CaptionButtonIndexAt({}, 0, 0), -1);
}

TEST(CaptionMaximize, ClientFillsTheWorkAreaWithSideAndBottomBordersOutside) {
  const PixelRect monitor{0, 0, 1024, 768};
  EXPECT_EQ(MaximizedWindowPlacement(monitor, monitor, 4, 6, 5),
            (MaximizedPlacement{-4, 0, 1034, 773}));
  // A work area short of a task bar at the top, on a monitor right of the primary one.
  const PixelRect second{1024, 0, 2048, 768};
  EXPECT_EQ(MaximizedWindowPlacement(second, {1024, 30, 2048, 768}, 4, 6, 5),
            (MaximizedPlacement{-4, 30, 1034, 743}));
}

}  // namespace
}  // namespace skin

namespace skin {
namespace {

// Coordinates from a skin may be any integer: placement saturates instead of overflowing.
TEST(CaptionPlacementTest, ExtremeOffsetsSaturateWithinTheCoordinateLimit) {
  CaptionPlacement p;
  p.window_width = 300;
  p.title_text = {30, 2, 120, 20};
  p.menu_height = 19;
  p.border_top = 24;
  for (int align : {0, 1, 2, 3, 8, 9, kAlignMenuRow}) {
    for (int x : {INT_MIN, INT_MAX}) {
      for (int y : {INT_MIN, INT_MAX}) {
        const PixelRect r = PlaceCaptionButton(align, x, y, 22, 16, p);
        EXPECT_GE(r.left, -kCoordinateLimit) << align;
        EXPECT_LE(r.right, kCoordinateLimit) << align;
        EXPECT_GE(r.top, -kCoordinateLimit) << align;
        EXPECT_LE(r.bottom, kCoordinateLimit) << align;
        EXPECT_FALSE(r.Inverted()) << align;
      }
    }
  }
  // Far right is still right of the window, far left still left of it.
  EXPECT_GT(PlaceCaptionButton(0, INT_MAX, 0, 22, 16, p).left, 300);
  EXPECT_LT(PlaceCaptionButton(1, INT_MAX, 0, 22, 16, p).right, 0);
  // Ordinary offsets are unchanged.
  EXPECT_EQ(PlaceCaptionButton(1, 28, 4, 22, 16, p), (PixelRect{272, 4, 294, 20}));
}

}  // namespace
}  // namespace skin
