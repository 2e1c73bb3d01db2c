#include "skin/manager/menu_item_layout.h"

#include <algorithm>

namespace skin {

int MenuGlyphSide(bool has_image_list, int image_list_width, bool checked) {
  int side = has_image_list ? image_list_width : 16;
  if (checked && side < 16) side = 16;
  return side;
}

PixelRect MenuGlyphBox(const MenuItemLayoutInput& in) {
  const int shift = in.has_item_element ? in.left_width : 0;
  PixelRect box;
  box.top = in.item.top + 1;
  if (in.right_to_left) {
    box.right = in.item.right - 1 - shift;
    box.left = box.right - in.glyph_side;
    if (in.separator) box.left = box.right = in.item.right;
  } else {
    box.left = in.item.left + 1 + shift;
    box.right = box.left + in.glyph_side;
    if (in.separator) box.left = box.right = 0;
  }
  box.bottom = in.separator ? box.top : box.top + in.glyph_side;
  return box;
}

PixelRect MenuCaptionArea(const MenuItemLayoutInput& in, const PixelRect& glyph_box) {
  if (in.right_to_left)
    return {in.item.left + 1, in.item.top, glyph_box.left - kGlyphCaptionGap, in.item.bottom};
  return {glyph_box.right + kGlyphCaptionGap, in.item.top, in.item.right - 1, in.item.bottom};
}

PixelRect CentredCaption(const PixelRect& area, const PixelRect& measured, bool right_to_left) {
  PixelRect r = measured;
  const int dy = (area.Height() - measured.Height()) / 2;
  r.top += dy;
  r.bottom += dy;
  if (right_to_left) {
    r.left = area.left;
    r.right = area.right;
  }
  return r;
}

PixelRect MenuShortcutArea(const PixelRect& centred_caption, const PixelRect& remembered_area,
                           bool right_to_left) {
  PixelRect r = centred_caption;
  if (right_to_left) {
    r.left = remembered_area.left + kShortcutInset;
  } else {
    r.left = centred_caption.right;
    r.right = remembered_area.right - kShortcutInset;
  }
  return r;
}

std::pair<int, int> CheckMarkOrigin(const PixelRect& glyph_box, int mark_width, int mark_height) {
  return {glyph_box.left + (glyph_box.Width() - mark_width) / 2 + 1,
          glyph_box.top + (glyph_box.Height() - mark_height) / 2 + 1};
}

PixelRect SeparatorLineRect(const PixelRect& caption_area) {
  return caption_area.Offset(0, kSeparatorLineOffset);
}

int MenuItemExtraWidth(bool has_item_element, int left_width, bool has_image_list) {
  return (has_item_element ? left_width : 0) + (has_image_list ? 10 : 35);
}

int PopupItemExtraWidth(bool has_item_element, int left_width, bool has_image_list) {
  return (has_item_element ? left_width : 0) + (has_image_list ? 12 : 35);
}

int ForeignItemWidth(int text_width, bool has_item_element, int left_width) {
  return text_width + 26 + (has_item_element ? left_width : 0);
}

int ForeignItemHeight(int given_height, bool caption_empty, bool windows_9x) {
  const int height = caption_empty ? 8 : given_height + 4;
  return windows_9x ? height + 4 : height;
}

Colour MenuTextColour(const ColourScheme& colours, bool enabled, bool selected) {
  if (enabled) return selected ? colours.HilightText : colours.MenuText;
  if (colours.ButtonShadow == colours.MenuText) return SystemColour(kSysGrayText);
  return colours.ButtonShadow;
}

std::vector<SliceBlit> SeparatorPieces(int width, int height, int bitmap_width, int bitmap_height,
                                       int left_width, int right_width) {
  std::vector<SliceBlit> pieces;
  const int fw = bitmap_width / kMenuItemFrames;
  if (fw <= 0 || bitmap_height <= 0 || width <= 0 || height <= 0) return pieces;
  const int x0 = fw * (kMenuItemSeparatorFrame - 1);
  const int y0 = height < bitmap_height ? bitmap_height - height : 0;
  const PixelRect frame{x0, 0, x0 + fw, bitmap_height};
  auto add = [&](SlicePiece kind, int dl, int dr, int sl, int sr) {
    const PixelRect dest{dl, 0, dr, height};
    const PixelRect source{sl, y0, sr, bitmap_height};
    if (dest.Empty() || source.Empty() || !frame.Contains(source)) return;
    pieces.push_back({kind, dest, source});
  };
  add(SlicePiece::kLeft, 0, left_width, x0, x0 + left_width);
  add(SlicePiece::kRight, width - right_width, width, x0 + fw - right_width, x0 + fw);
  add(SlicePiece::kCentre, left_width, width - right_width, x0 + left_width, x0 + fw - right_width);
  return pieces;
}

std::vector<PixelRect> PopupBorderRing(int width, int height) {
  std::vector<PixelRect> ring;
  if (width <= 0 || height <= 0) return ring;
  const int b = kPopupBorder;
  auto add = [&](PixelRect r) {
    r.left = std::clamp(r.left, 0, width);
    r.right = std::clamp(r.right, 0, width);
    r.top = std::clamp(r.top, 0, height);
    r.bottom = std::clamp(r.bottom, 0, height);
    if (!r.Empty()) ring.push_back(r);
  };
  add({0, 0, width, b});
  add({0, height - b, width, height});
  add({0, b, b, height - b});
  add({width - b, b, width, height - b});
  return ring;
}

}  // namespace skin
