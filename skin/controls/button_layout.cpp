#include "skin/controls/button_layout.h"

#include <algorithm>

namespace skin {

int PushButtonFrame(const ButtonLook& look) {
  if (!look.enabled) return kButtonFrameDisabled;
  if (look.pressed) return kButtonFramePressed;
  if (look.hot || look.focused) return kButtonFrameHot;
  return kButtonFrameNormal;
}

int SpeedButtonFrame(const ButtonLook& look) {
  if (look.down) return kButtonFramePressed;
  ButtonLook unfocused = look;
  unfocused.focused = false;
  return PushButtonFrame(unfocused);
}

int SpeedGlyphFrame(const ButtonLook& look, int glyph_count) {
  int frame = 1;
  if (!look.enabled) {
    frame = 2;
  } else if (look.pressed) {
    frame = 3;
  }
  return GlyphPictureCount(glyph_count) < frame ? 1 : frame;
}

int GlyphPictureCount(int glyph_count) { return std::max(glyph_count & 0x7F, 1); }

ButtonSize GlyphPictureSize(int bitmap_width, int bitmap_height, int glyph_count) {
  if (bitmap_width <= 0 || bitmap_height <= 0) return {};
  return {bitmap_width / GlyphPictureCount(glyph_count), bitmap_height};
}

GlyphCaptionLayout LayOutGlyphCaption(ButtonSize client, ButtonSize glyph, ButtonSize text,
                                      GlyphSide side, int margin, int spacing, bool speed_button) {
  GlyphCaptionLayout out;
  const bool across = side == GlyphSide::kLeft || side == GlyphSide::kRight;
  // The cross axis: both centred, the odd pixel going below (or to the right).
  if (across) {
    out.glyph.y = (client.cy - glyph.cy + 1) / 2;
    out.text.y = (client.cy - text.cy + 1) / 2;
  } else {
    out.glyph.x = (client.cx - glyph.cx + 1) / 2;
    out.text.x = (client.cx - text.cx + 1) / 2;
  }
  if (text.cx == 0 || glyph.cx == 0) spacing = 0;
  const int room = across ? client.cx : client.cy;
  const int g = across ? glyph.cx : glyph.cy;
  const int t = across ? text.cx : text.cy;
  if (margin == -1 && spacing == -1) {
    margin = (room - g - t) / 3;
    spacing = margin;
  } else if (margin == -1) {
    margin = (room - (g + spacing + t)) / 2 + (speed_button ? 1 : 0);
  } else if (spacing == -1) {
    spacing = ((room - (margin + g)) - t) / 2;
  }
  out.margin = margin;
  out.spacing = spacing;
  switch (side) {
    case GlyphSide::kLeft:
      out.glyph.x = margin;
      out.text.x = margin + g + spacing;
      out.align = CaptionAlign::kLeft;
      break;
    case GlyphSide::kRight:
      out.glyph.x = room - margin - g;
      out.text.x = out.glyph.x - spacing - t;
      out.align = CaptionAlign::kRight;
      break;
    case GlyphSide::kTop:
      out.glyph.y = margin;
      out.text.y = margin + g + spacing;
      out.align = CaptionAlign::kCenter;
      break;
    case GlyphSide::kBottom:
      out.glyph.y = room - margin - g;
      out.text.y = out.glyph.y - spacing - t;
      out.align = CaptionAlign::kCenter;
      break;
  }
  return out;
}

int CheckBoxFrame(bool checked, bool disabled, bool indeterminate) {
  if (indeterminate) return kCheckFrameCheckedDisabled;
  return RadioButtonFrame(checked, disabled);
}

int RadioButtonFrame(bool checked, bool disabled) {
  return (checked ? kCheckFrameChecked : kCheckFrameUnchecked) + (disabled ? 2 : 0);
}

PixelRect CheckImageRect(const PixelRect& control, int image_width, int image_height,
                         bool box_on_right, int box_width) {
  PixelRect r;
  r.top = control.top + (control.Height() - image_height) / 2;
  r.bottom = r.top + image_height;
  const bool fits = image_width <= box_width;
  if (box_on_right) {
    r.right = fits ? control.right - (box_width - image_width) / 2 : control.right - 1;
    r.left = r.right - image_width;
  } else {
    r.left = fits ? control.left + (box_width - image_width) / 2 : control.left;
    r.right = r.left + image_width;
  }
  return r;
}

int StripFrameWidth(int strip_width, int frame_count) {
  return std::max(strip_width, 0) / std::max(frame_count, 1);
}

}  // namespace skin
