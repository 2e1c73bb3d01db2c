#pragma once
// Geometry of the skinned buttons and check boxes as pure functions: which frame of the
// skin's strips a state shows, where a bitmap or speed button puts its glyph and caption,
// and where the check or radio image goes over the system's box. The skinners gather the
// sizes and states from their windows and draw what these functions answer.
#include <cstdint>

#include "skin/manager/element_compose.h"

namespace skin {

struct ButtonSize {
  int cx = 0, cy = 0;
  friend bool operator==(const ButtonSize&, const ButtonSize&) = default;
};

struct ButtonPoint {
  int x = 0, y = 0;
  friend bool operator==(const ButtonPoint&, const ButtonPoint&) = default;
};

// Where the glyph sits relative to the caption (the framework's layout order).
enum class GlyphSide : uint8_t { kLeft, kRight, kTop, kBottom };

// The caption's alignment, with DrawText's values (DT_LEFT 0, DT_CENTER 1, DT_RIGHT 2).
enum class CaptionAlign : uint32_t { kLeft = 0, kCenter = 1, kRight = 2 };

// The state a push button is drawn in.
struct ButtonLook {
  bool enabled = true;
  bool pressed = false;
  bool hot = false;
  bool focused = false;
  bool down = false;  // a speed button latched down
};

// Frames of the skin's Buttons strip (numbered from 1).
inline constexpr int kButtonFrameNormal = 1;
inline constexpr int kButtonFramePressed = 2;
inline constexpr int kButtonFrameDisabled = 3;
inline constexpr int kButtonFrameHot = 4;
inline constexpr int kButtonFrames = 5;

// Disabled wins over pressed, pressed over hot or focused, those over normal.
int PushButtonFrame(const ButtonLook& look);
// As PushButtonFrame (focus does not count), except that a latched-down button is drawn
// pressed, even when disabled.
int SpeedButtonFrame(const ButtonLook& look);
// The picture of a speed button's glyph: 2 disabled, 3 pressed, else 1; 1 when the glyph
// has fewer pictures than that.
int SpeedGlyphFrame(const ButtonLook& look, int glyph_count);

// The number of pictures in a glyph: the low 7 bits of the count, at least 1.
int GlyphPictureCount(int glyph_count);
// One picture of a glyph bitmap of the given size (zero without a bitmap).
ButtonSize GlyphPictureSize(int bitmap_width, int bitmap_height, int glyph_count);

struct GlyphCaptionLayout {
  ButtonPoint glyph;  // top-left of the glyph, in client coordinates
  ButtonPoint text;   // top-left of the caption's rectangle (its size is the caption's)
  CaptionAlign align = CaptionAlign::kLeft;
  int margin = 0;   // as resolved
  int spacing = 0;  // as resolved
  friend bool operator==(const GlyphCaptionLayout&, const GlyphCaptionLayout&) = default;
};

// Lays out a glyph and a caption in a client area of `client`'s size. margin is the gap
// between the side the glyph is on and the glyph, -1 for automatic; spacing is the gap
// between glyph and caption, -1 for automatic; without a caption or without a glyph the
// spacing is 0. Automatic margin and spacing share the free room in three; an automatic
// margin with a given spacing centres the pair (one pixel further in for a speed
// button); a given margin with automatic spacing puts the caption in the middle of the
// room left after the glyph. The cross axis is centred. Divisions truncate toward zero.
GlyphCaptionLayout LayOutGlyphCaption(ButtonSize client, ButtonSize glyph, ButtonSize text,
                                      GlyphSide side, int margin, int spacing,
                                      bool speed_button = false);

// Frames of the check and radio strips (numbered from 1).
inline constexpr int kCheckFrameUnchecked = 1;
inline constexpr int kCheckFrameChecked = 2;
inline constexpr int kCheckFrameUncheckedDisabled = 3;
inline constexpr int kCheckFrameCheckedDisabled = 4;

// 2 checked, else 1; plus 2 when disabled. The third state of a check box is frame 4,
// enabled or not.
int CheckBoxFrame(bool checked, bool disabled, bool indeterminate);
int RadioButtonFrame(bool checked, bool disabled);

// The width the system gives its check box or radio circle.
inline constexpr int kSystemBoxWidth = 14;

// Where the check or radio image of image_width x image_height goes in a control of
// rectangle `control`: centred vertically, and centred in the system box's width (14 pixels
// at 96 DPI) at the left (or, with the box on the right, at the right) edge; a wider image
// starts at the left edge (or ends one pixel inside the right edge).
PixelRect CheckImageRect(const PixelRect& control, int image_width, int image_height,
                         bool box_on_right, int box_width = kSystemBoxWidth);

// The width of one frame of a strip of frame_count frames side by side (a count below 1
// counts as 1).
int StripFrameWidth(int strip_width, int frame_count);

}  // namespace skin
