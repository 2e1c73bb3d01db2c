// The skinned frame's geometry without a window: client rectangle, hit-test rows, caption
// text placement, fitting and widening sizes, region edges, border pieces.
#include "skin/form/frame_geometry.h"

#include <gtest/gtest.h>

#include <climits>

#include "skin/data/skin_definition.h"

namespace skin {
namespace {

constexpr FrameMetrics kMetrics{4, 24, 5, 6, 0};

TEST(FrameGeometry, ClientRectangleIsTheWindowLessTheBordersAndTheMenuRow) {
  EXPECT_EQ(ClientRectForWindow({100, 50, 700, 450}, kMetrics), (PixelRect{104, 74, 695, 444}));
  FrameMetrics with_menu = kMetrics;
  with_menu.menu_height = 19;
  EXPECT_EQ(ClientRectForWindow({0, 0, 200, 100}, with_menu), (PixelRect{4, 43, 195, 94}));
  // A window smaller than its frame gives an inverted client rectangle, as the system does.
  EXPECT_TRUE(ClientRectForWindow({0, 0, 6, 20}, kMetrics).Inverted());
}

TEST(FrameGeometry, HitTestRows) {
  EXPECT_EQ(FrameHitTest(0, kMetrics), kHitNowhere);
  EXPECT_EQ(FrameHitTest(3, kMetrics), kHitNowhere);
  EXPECT_EQ(FrameHitTest(4, kMetrics), kHitCaption);
  EXPECT_EQ(FrameHitTest(24, kMetrics), kHitCaption);
  EXPECT_EQ(FrameHitTest(25, kMetrics), kHitMenu);
  // A title lower than the four top rows: below it is already the menu row.
  FrameMetrics thin{2, 2, 2, 2, 0};
  EXPECT_EQ(FrameHitTest(3, thin), kHitMenu);
}

TEST(FrameGeometry, CaptionTextPlacementForEveryAlignment) {
  const PixelRect title{4, 0, 404, 24};  // 400 wide
  CaptionTextLayout layout;
  layout.text_shift = 10;
  layout.text_shift_vert = 5;
  layout.text_right_clip = 30;
  layout.back_left = 6;
  layout.back_right = 8;
  // Measured 100 x 14; the background adds 14 to the width: w = 114.
  layout.alignment = 0;
  EXPECT_EQ(PlaceCaptionText(title, 100, 14, layout), (PixelRect{14, 7, 128, 21}));
  layout.alignment = 1;  // (400 - 114) / 2 = 143
  EXPECT_EQ(PlaceCaptionText(title, 100, 14, layout), (PixelRect{147, 7, 261, 21}));
  layout.alignment = 2;  // 400 - 30 - 114 = 256
  EXPECT_EQ(PlaceCaptionText(title, 100, 14, layout), (PixelRect{260, 7, 374, 21}));
  for (int other : {3, -1, 77}) {
    layout.alignment = other;
    EXPECT_EQ(PlaceCaptionText(title, 100, 14, layout).left, 4) << other;
  }
  // Right to left places the text at the right whatever the alignment.
  layout.right_to_left = true;
  layout.alignment = 0;
  EXPECT_EQ(PlaceCaptionText(title, 100, 14, layout).left, 260);
}

TEST(FrameGeometry, CaptionTextRightLimit) {
  const PixelRect title{0, 0, 200, 20};
  CaptionTextLayout layout;
  layout.text_right_clip = 20;
  // A long caption is cut at the right clip of an ordinary window...
  EXPECT_EQ(PlaceCaptionText(title, 500, 10, layout).right, 180);
  // ...while a popup's text reaches at least to just before the right-aligned buttons.
  layout.popup = true;
  layout.right_buttons_edge = 150;
  EXPECT_EQ(PlaceCaptionText(title, 50, 10, layout).right, 145);
  EXPECT_EQ(PlaceCaptionText(title, 500, 10, layout).right, 500);
  // The vertical shift halves and truncates towards zero, negative too.
  layout.popup = false;
  layout.text_shift_vert = -3;
  EXPECT_EQ(PlaceCaptionText(title, 10, 11, layout).top, (20 - 11) / 2 + (-3) / 2);
}

TEST(FrameGeometry, FittingAndRestoringKeepTheClientSize) {
  FrameMetrics m = kMetrics;
  m.menu_height = 19;
  const FrameSize fitted = WindowSizeForClient(574, 336, m);
  EXPECT_EQ(fitted, (FrameSize{583, 385}));
  // Back under a system frame of 6 x 25 the client area is 574 x 336 again.
  EXPECT_EQ(RestoredWindowSize(fitted.width, fitted.height, m, 6, 25), (FrameSize{580, 361}));
}

TEST(FrameGeometry, DialogWideningForALongCaption) {
  CaptionTextLayout layout;
  layout.text_shift = 10;
  layout.text_right_clip = 30;
  layout.back_left = 6;
  layout.back_right = 8;
  // (20 + 7) blanks of 4 pixels, the borders 9 and the margins 54.
  EXPECT_EQ(DialogWidthForCaption(20, 4, kMetrics, layout), 27 * 4 + 9 + 54);
  EXPECT_EQ(DialogChildShift(120, 171), 25);  // half of 51, truncated
  EXPECT_EQ(DialogChildShift(171, 171), 0);
  EXPECT_EQ(DialogChildShift(300, 171), 0);
}

TEST(FrameGeometry, RegionEdgesFollowTheStripsTransparency) {
  const FrameMetrics m = kMetrics;
  RegionPlan opaque = PlanWindowRegion(300, 200, m, {}, false, true);
  EXPECT_TRUE(opaque.whole_window);
  EXPECT_EQ(opaque.inner, (PixelRect{0, 0, 300, 200}));

  RegionPlan all = PlanWindowRegion(300, 200, m, {true, true, true, true}, false, true);
  EXPECT_FALSE(all.whole_window);
  EXPECT_EQ(all.inner, (PixelRect{4, 24, 295, 194}));
  EXPECT_EQ(all.left.source, EdgeSource::kPaintedPiece);
  EXPECT_EQ(all.left.rect, (PixelRect{0, 0, 4, 200}));
  EXPECT_EQ(all.right.rect, (PixelRect{295, 0, 300, 200}));
  EXPECT_EQ(all.bottom.rect, (PixelRect{4, 194, 295, 200}));
  EXPECT_EQ(all.top.rect, (PixelRect{4, 0, 295, 24}));
  EXPECT_EQ(all.top.source, EdgeSource::kPaintedPiece);
  // Once the title bar has been composed, its picture decides the top edge.
  EXPECT_EQ(PlanWindowRegion(300, 200, m, {true, true, true, true}, false, false).top.source,
            EdgeSource::kTitleCache);

  // Only one transparent strip: the others are plain rectangles.
  RegionPlan left_only = PlanWindowRegion(300, 200, m, {true, false, false, false}, false, true);
  EXPECT_EQ(left_only.left.source, EdgeSource::kPaintedPiece);
  EXPECT_EQ(left_only.right.source, EdgeSource::kRectangle);
  EXPECT_EQ(left_only.top.source, EdgeSource::kRectangle);

  // A bottom border under 2 pixels, a 1-pixel title, a window 1 pixel high or too narrow for
  // the title piece: rectangles.
  FrameMetrics thin{4, 1, 5, 1, 0};
  RegionPlan t = PlanWindowRegion(300, 200, thin, {true, true, true, true}, false, true);
  EXPECT_EQ(t.bottom.source, EdgeSource::kRectangle);
  EXPECT_EQ(t.top.source, EdgeSource::kRectangle);
  EXPECT_EQ(PlanWindowRegion(300, 1, m, {true, true, true, true}, false, true).left.source,
            EdgeSource::kRectangle);
  EXPECT_EQ(PlanWindowRegion(9, 200, m, {true, true, true, true}, false, true).top.source,
            EdgeSource::kRectangle);

  // A frameless window keeps only the inner rectangle.
  RegionPlan none = PlanWindowRegion(300, 200, m, {true, true, true, true}, true, true);
  EXPECT_FALSE(none.edges);
}

TEST(FrameGeometry, MetricsFromTheStripsFrames) {
  SkinDefinition skin;
  skin.TopStrip = std::make_unique<TDataSkinBorder>("Top");
  skin.TopStrip->Image = PixelBitmap(50, 60);
  skin.TopStrip->FrameCount = 2;
  skin.LeftStrip = std::make_unique<TDataSkinBorder>("Left");
  skin.LeftStrip->Image = PixelBitmap(12, 40);
  skin.LeftStrip->FrameCount = 3;
  skin.RightStrip = std::make_unique<TDataSkinBorder>("Right");
  skin.RightStrip->Image = PixelBitmap(10, 40);
  skin.RightStrip->FrameCount = 0;  // counts as one frame, never a division by zero
  EXPECT_EQ(FrameMetricsFromSkin(skin, false), (FrameMetrics{4, 30, 10, 0, 0}));
  EXPECT_EQ(FrameMetricsFromSkin(skin, true), FrameMetrics{});
}

TEST(FrameGeometry, BorderPiecesTakeTheActiveOrInactiveFrame) {
  TDataSkinBorder strip("Top");
  strip.Image = PixelBitmap(4, 4, PixelFormat::kBgr24);
  for (int x = 0; x < 4; ++x) {
    strip.Image.SetPixel(x, 0, 0x0000FF);
    strip.Image.SetPixel(x, 1, 0x0000FF);
    strip.Image.SetPixel(x, 2, 0x00FF00);
    strip.Image.SetPixel(x, 3, 0x00FF00);
  }
  strip.FrameCount = 2;
  strip.Tile = 1;
  EXPECT_EQ(ComposeFramePiece(&strip, FrameStrip::kTop, 8, 2, true).Pixel(5, 1), 0x0000FFu);
  EXPECT_EQ(ComposeFramePiece(&strip, FrameStrip::kTop, 8, 2, false).Pixel(5, 1), 0x00FF00u);
  strip.FrameCount = 1;  // a single frame serves both looks
  EXPECT_EQ(ComposeFramePiece(&strip, FrameStrip::kTop, 8, 2, false).Pixel(0, 0), 0x0000FFu);
  EXPECT_TRUE(ComposeFramePiece(nullptr, FrameStrip::kTop, 8, 2, true).Empty());
  EXPECT_TRUE(ComposeFramePiece(&strip, FrameStrip::kTop, 0, 2, true).Empty());
}

}  // namespace
}  // namespace skin

namespace skin {
namespace {

// The skin's text shifts, clips and background ends may be any integer: the results
// saturate within the coordinate limit instead of overflowing.
TEST(FrameGeometry, ExtremeSkinValuesSaturate) {
  for (int v : {INT_MIN, INT_MAX}) {
    for (int alignment : {0, 1, 2, 3}) {
      CaptionTextLayout layout;
      layout.text_shift = layout.text_shift_vert = layout.text_right_clip = v;
      layout.back_left = layout.back_right = v;
      layout.alignment = alignment;
      for (bool popup : {false, true}) {
        layout.popup = popup;
        layout.right_buttons_edge = v;
        const PixelRect t = PlaceCaptionText({4, 0, 300, 24}, INT_MAX, INT_MAX, layout);
        for (int edge : {t.left, t.top, t.right, t.bottom}) {
          EXPECT_GE(edge, -kCoordinateLimit);
          EXPECT_LE(edge, kCoordinateLimit);
        }
      }
    }
    const FrameMetrics m{v, v, v, v, 0};
    EXPECT_LE(DialogWidthForCaption(INT_MAX, INT_MAX, m, {v, v, v, 0, v, v}), kCoordinateLimit);
    EXPECT_GE(WindowSizeForClient(INT_MAX, INT_MIN, m).width, -kCoordinateLimit);
    EXPECT_LE(RestoredWindowSize(INT_MIN, INT_MAX, m, v, v).height, kCoordinateLimit);
    EXPECT_LE(ClientRectForWindow({INT_MIN, INT_MIN, INT_MAX, INT_MAX}, m).right, kCoordinateLimit);
  }
  EXPECT_EQ(DialogChildShift(INT_MIN, INT_MAX), INT_MAX);
  // Strips thousands of pixels large give borders of at most kMaxFrameBorder, so the
  // client area stays where the user can reach it.
  SkinDefinition huge;
  huge.LeftStrip->Image.Reset(2400, 10, PixelFormat::kBgr24);
  huge.LeftStrip->FrameCount = 1;
  huge.TopStrip->Image.Reset(10, 3000, PixelFormat::kBgr24);
  huge.TopStrip->FrameCount = 2;
  huge.RightStrip->Image.Reset(40, 10, PixelFormat::kBgr24);
  huge.RightStrip->FrameCount = 2;
  const FrameMetrics m = FrameMetricsFromSkin(huge, false);
  EXPECT_EQ(m.border_left, kMaxFrameBorder);
  EXPECT_EQ(m.border_top, kMaxFrameBorder);
  EXPECT_EQ(m.border_right, 20);
  // Ordinary values are unchanged.
  EXPECT_EQ(WindowSizeForClient(420, 260, kMetrics), (FrameSize{429, 290}));
}

}  // namespace
}  // namespace skin
