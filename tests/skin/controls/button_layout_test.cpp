// The skinned buttons' and check boxes' geometry without a window: state frames, glyph and
// caption layout, and where the check image goes.
#include "skin/controls/button_layout.h"

#include <gtest/gtest.h>

namespace skin {
namespace {

ButtonLook Look(bool enabled, bool pressed, bool hot, bool focused, bool down = false) {
  return {enabled, pressed, hot, focused, down};
}

TEST(ButtonFrames, DisabledThenPressedThenHotOrFocusedThenNormal) {
  EXPECT_EQ(PushButtonFrame(Look(true, false, false, false)), kButtonFrameNormal);
  EXPECT_EQ(PushButtonFrame(Look(true, false, true, false)), kButtonFrameHot);
  // Focus alone shows the hot frame.
  EXPECT_EQ(PushButtonFrame(Look(true, false, false, true)), kButtonFrameHot);
  EXPECT_EQ(PushButtonFrame(Look(true, true, true, true)), kButtonFramePressed);
  // Disabled wins over everything, even hot and pressed.
  EXPECT_EQ(PushButtonFrame(Look(false, true, true, true)), kButtonFrameDisabled);
  EXPECT_EQ(PushButtonFrame(Look(false, false, true, false)), kButtonFrameDisabled);
}

TEST(ButtonFrames, SpeedButtonLatchedDownWinsEvenOverDisabledAndFocusDoesNotCount) {
  EXPECT_EQ(SpeedButtonFrame(Look(true, false, false, true)), kButtonFrameNormal);
  EXPECT_EQ(SpeedButtonFrame(Look(true, false, true, false)), kButtonFrameHot);
  EXPECT_EQ(SpeedButtonFrame(Look(false, true, true, false)), kButtonFrameDisabled);
  EXPECT_EQ(SpeedButtonFrame(Look(true, false, false, false, true)), kButtonFramePressed);
  EXPECT_EQ(SpeedButtonFrame(Look(false, false, false, false, true)), kButtonFramePressed);
}

TEST(ButtonFrames, SpeedGlyphPictureByStateFallsBackToTheFirst) {
  // Normal 1, disabled 2, pressed 3, hot 1.
  EXPECT_EQ(SpeedGlyphFrame(Look(true, false, false, false), 4), 1);
  EXPECT_EQ(SpeedGlyphFrame(Look(false, true, false, false), 4), 2);
  EXPECT_EQ(SpeedGlyphFrame(Look(true, true, true, false), 4), 3);
  EXPECT_EQ(SpeedGlyphFrame(Look(true, false, true, false), 4), 1);
  // A glyph of one picture uses it in every state; two pictures have no pressed one.
  for (const ButtonLook& look : {Look(true, false, false, false), Look(false, false, false, false),
                                 Look(true, true, true, false), Look(true, false, true, false)})
    EXPECT_EQ(SpeedGlyphFrame(look, 1), 1);
  EXPECT_EQ(SpeedGlyphFrame(Look(false, false, false, false), 2), 2);
  EXPECT_EQ(SpeedGlyphFrame(Look(true, true, false, false), 2), 1);
}

TEST(GlyphPictures, LowSevenBitsOfTheCountAndNeverZero) {
  EXPECT_EQ(GlyphPictureCount(4), 4);
  EXPECT_EQ(GlyphPictureCount(0x84), 4);
  // A count of 0 (or whose low bits are 0) would divide by zero: one picture.
  EXPECT_EQ(GlyphPictureCount(0), 1);
  EXPECT_EQ(GlyphPictureCount(0x80), 1);
  EXPECT_EQ(GlyphPictureCount(-1), 0x7F);
  EXPECT_EQ(GlyphPictureSize(64, 16, 4), (ButtonSize{16, 16}));
  EXPECT_EQ(GlyphPictureSize(64, 16, 0), (ButtonSize{64, 16}));
  EXPECT_EQ(GlyphPictureSize(0, 16, 2), (ButtonSize{}));
}

TEST(GlyphCaptionLayout, AutomaticMarginAndSpacingShareTheRoomInThree) {
  // Client 75 wide, glyph 16, text 30: (75 - 46) / 3 = 9; glyph at 9, text at 34.
  const GlyphCaptionLayout l =
      LayOutGlyphCaption({75, 25}, {16, 16}, {30, 13}, GlyphSide::kLeft, -1, -1);
  EXPECT_EQ(l.margin, 9);
  EXPECT_EQ(l.spacing, 9);
  EXPECT_EQ(l.glyph, (ButtonPoint{9, 5}));  // (25 - 16 + 1) / 2
  EXPECT_EQ(l.text, (ButtonPoint{34, 6}));  // (25 - 13 + 1) / 2
  EXPECT_EQ(l.align, CaptionAlign::kLeft);
  // The same on the right: glyph at 75 - 9 - 16 = 50, text ends 9 before it.
  const GlyphCaptionLayout r =
      LayOutGlyphCaption({75, 25}, {16, 16}, {30, 13}, GlyphSide::kRight, -1, -1);
  EXPECT_EQ(r.glyph.x, 50);
  EXPECT_EQ(r.text.x, 11);
  EXPECT_EQ(r.align, CaptionAlign::kRight);
}

TEST(GlyphCaptionLayout, GivenSpacingCentresThePairOnePixelFurtherForSpeedButtons) {
  const GlyphCaptionLayout b =
      LayOutGlyphCaption({75, 25}, {16, 16}, {30, 13}, GlyphSide::kLeft, -1, 4);
  EXPECT_EQ(b.margin, 12);  // (75 - 50) / 2
  EXPECT_EQ(b.glyph.x, 12);
  EXPECT_EQ(b.text.x, 32);
  const GlyphCaptionLayout s =
      LayOutGlyphCaption({75, 25}, {16, 16}, {30, 13}, GlyphSide::kLeft, -1, 4, true);
  EXPECT_EQ(s.margin, 13);
  EXPECT_EQ(s.text.x, 33);
}

TEST(GlyphCaptionLayout, GivenMarginPutsTheCaptionInTheMiddleOfWhatIsLeft) {
  const GlyphCaptionLayout l =
      LayOutGlyphCaption({75, 25}, {16, 16}, {30, 13}, GlyphSide::kLeft, 2, -1);
  EXPECT_EQ(l.spacing, 13);  // ((75 - 18) - 30) / 2
  EXPECT_EQ(l.glyph.x, 2);
  EXPECT_EQ(l.text.x, 31);
  // Both given: taken as they are.
  const GlyphCaptionLayout g =
      LayOutGlyphCaption({75, 25}, {16, 16}, {30, 13}, GlyphSide::kLeft, 3, 5);
  EXPECT_EQ(g.glyph.x, 3);
  EXPECT_EQ(g.text.x, 24);
}

TEST(GlyphCaptionLayout, TopAndBottomWorkAlongTheHeightAndCentreAcross) {
  const GlyphCaptionLayout t =
      LayOutGlyphCaption({60, 50}, {16, 16}, {30, 13}, GlyphSide::kTop, -1, -1);
  EXPECT_EQ(t.margin, 7);                    // (50 - 29) / 3
  EXPECT_EQ(t.glyph, (ButtonPoint{22, 7}));  // (60 - 16 + 1) / 2
  EXPECT_EQ(t.text, (ButtonPoint{15, 30}));  // (60 - 30 + 1) / 2, 7 + 16 + 7
  EXPECT_EQ(t.align, CaptionAlign::kCenter);
  const GlyphCaptionLayout b =
      LayOutGlyphCaption({60, 50}, {16, 16}, {30, 13}, GlyphSide::kBottom, -1, -1);
  EXPECT_EQ(b.glyph.y, 27);  // 50 - 7 - 16
  EXPECT_EQ(b.text.y, 7);    // 27 - 7 - 13
  EXPECT_EQ(b.align, CaptionAlign::kCenter);
}

TEST(GlyphCaptionLayout, WithoutCaptionOrGlyphThereIsNoSpacing) {
  // The glyph alone is centred (spacing 0, so the given-spacing rule applies).
  const GlyphCaptionLayout g =
      LayOutGlyphCaption({75, 25}, {16, 16}, {0, 0}, GlyphSide::kLeft, -1, -1);
  EXPECT_EQ(g.spacing, 0);
  EXPECT_EQ(g.glyph.x, 29);  // (75 - 16) / 2
  const GlyphCaptionLayout t =
      LayOutGlyphCaption({75, 25}, {0, 0}, {30, 13}, GlyphSide::kLeft, -1, 6);
  EXPECT_EQ(t.spacing, 0);
  EXPECT_EQ(t.text.x, 22);  // (75 - 30) / 2
  // Too little room: negative margins come out as they are (drawing clips them).
  const GlyphCaptionLayout n =
      LayOutGlyphCaption({20, 10}, {16, 16}, {30, 13}, GlyphSide::kLeft, -1, -1);
  EXPECT_EQ(n.margin, -8);   // (20 - 46) / 3, truncated toward zero
  EXPECT_EQ(n.glyph.y, -2);  // (10 - 16 + 1) / 2
}

TEST(CheckFrames, CheckedAndDisabledAndTheThirdState) {
  EXPECT_EQ(CheckBoxFrame(false, false, false), 1);
  EXPECT_EQ(CheckBoxFrame(true, false, false), 2);
  EXPECT_EQ(CheckBoxFrame(false, true, false), 3);
  EXPECT_EQ(CheckBoxFrame(true, true, false), 4);
  EXPECT_EQ(CheckBoxFrame(false, false, true), 4);
  EXPECT_EQ(CheckBoxFrame(false, true, true), 4);
  EXPECT_EQ(RadioButtonFrame(false, false), 1);
  EXPECT_EQ(RadioButtonFrame(true, false), 2);
  EXPECT_EQ(RadioButtonFrame(false, true), 3);
  EXPECT_EQ(RadioButtonFrame(true, true), 4);
}

TEST(CheckImagePlace, TwelveThirteenAndSixteenPixelImages) {
  const PixelRect control{0, 0, 100, 17};
  // 13 pixels on the left: (14 - 13) / 2 = 0, so x 0 to 13; vertically (17 - 13) / 2 = 2.
  EXPECT_EQ(CheckImageRect(control, 13, 13, false), (PixelRect{0, 2, 13, 15}));
  EXPECT_EQ(CheckImageRect(control, 12, 12, false), (PixelRect{1, 2, 13, 14}));
  // Wider than the system box: from the left edge.
  EXPECT_EQ(CheckImageRect(control, 16, 16, false), (PixelRect{0, 0, 16, 16}));
  // On the right: a 16-pixel image ends at 99 and starts at 83.
  EXPECT_EQ(CheckImageRect(control, 16, 16, true), (PixelRect{83, 0, 99, 16}));
  EXPECT_EQ(CheckImageRect(control, 13, 13, true), (PixelRect{87, 2, 100, 15}));
  EXPECT_EQ(CheckImageRect(control, 12, 12, true), (PixelRect{87, 2, 99, 14}));
  // A control lower than the image: the image starts above it.
  EXPECT_EQ(CheckImageRect({5, 10, 50, 20}, 13, 13, false), (PixelRect{5, 9, 18, 22}));
}

TEST(CheckImagePlace, StripFrameWidthNeverDividesByZero) {
  EXPECT_EQ(StripFrameWidth(52, 4), 13);
  EXPECT_EQ(StripFrameWidth(52, 0), 52);
  EXPECT_EQ(StripFrameWidth(52, -3), 52);
  EXPECT_EQ(StripFrameWidth(-5, 4), 0);
}

}  // namespace
}  // namespace skin
