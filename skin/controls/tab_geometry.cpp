#include "skin/controls/tab_geometry.h"

#include <algorithm>

namespace skin {

TabSide TabSideFromStyle(uint32_t style) {
  const bool bottom = (style & 0x2u) != 0;
  const bool vertical = (style & 0x80u) != 0;
  if (bottom && vertical) return TabSide::kRight;
  if (bottom) return TabSide::kBottom;
  if (vertical) return TabSide::kLeft;
  return TabSide::kTop;
}

PixelRect PageBorderRect(const PixelRect& display, TabSide side) {
  PixelRect d{display.left - 4, display.top - 4, display.right + 4, display.bottom + 4};
  switch (side) {
    case TabSide::kTop:
      d.top += 1;
      break;
    case TabSide::kBottom:
      d.bottom -= 1;
      break;
    case TabSide::kLeft:
      d.left += 1;
      break;
    case TabSide::kRight:
      d.right -= 1;
      break;
  }
  return d;
}

PixelRect TabStripArea(const PixelRect& border, int width, int height, TabSide side) {
  switch (side) {
    case TabSide::kTop:
      return {0, 0, width, border.top};
    case TabSide::kBottom:
      return {0, border.bottom, width, height};
    case TabSide::kLeft:
      return {0, 0, border.left, height};
    case TabSide::kRight:
      return {border.right, 0, width, height};
  }
  return {};
}

StripSize TabStripBitmapSize(const PixelRect& strip, TabSide side) {
  if (side == TabSide::kLeft || side == TabSide::kRight) return {strip.Height(), strip.Width()};
  return {strip.Width(), strip.Height()};
}

PixelRect TabItemInStrip(const PixelRect& item, const PixelRect& border, int strip_width,
                         int window_width, TabSide side) {
  switch (side) {
    case TabSide::kTop:
      return item.Offset(0, 1);
    case TabSide::kBottom:
      return item.Offset(0, -(border.bottom + 1));
    case TabSide::kLeft:
      return {strip_width - item.bottom, item.left, strip_width - item.top, item.right};
    case TabSide::kRight:
      return {item.top - 1, window_width - item.right, item.bottom - 1, window_width - item.left};
  }
  return item;
}

std::vector<TabSetSlot> LayoutTabSet(const std::vector<int>& text_widths, int first_index,
                                     int start_margin, int end_margin, int width, int height,
                                     bool scroller_visible) {
  std::vector<TabSetSlot> slots;
  if (first_index < 0) first_index = 0;
  const int available = width - end_margin;
  const int room = kTabSetTabPadding + (scroller_visible ? kTabSetScrollerRoom : 0);
  int x = start_margin;
  for (size_t i = static_cast<size_t>(first_index); i < text_widths.size(); ++i) {
    const int tw = std::max(0, text_widths[i]);
    if (available < x + tw + room) continue;
    slots.push_back({static_cast<int>(i), {x, 0, x + tw + kTabSetTabPadding, height}});
    x += tw + kTabSetTabPadding;
  }
  return slots;
}

int HeaderAlignment(uint32_t format) {
  const uint32_t low = format & 0xFFu;
  if (low & 0x1u) return 2;  // HDF_RIGHT
  if (low & 0x2u) return 1;  // HDF_CENTER
  return 0;
}

int HeaderImageIndex(uint32_t format, int image) {
  constexpr uint32_t kHdfImage = 0x0800, kHdfOwnerDraw = 0x8000;
  return (format & (kHdfImage | kHdfOwnerDraw)) ? image : -1;
}

PixelRect HeaderRest(int items_right, const PixelRect& header) {
  if (items_right >= header.right) return {};
  return {std::max(items_right, header.left), header.top, header.right, header.bottom};
}

int PanelFrame(PanelBevel bevel) {
  switch (bevel) {
    case PanelBevel::kLowered:
      return 1;
    case PanelBevel::kRaised:
      return 2;
    case PanelBevel::kNone:
      break;
  }
  return 3;
}

PanelAlign PanelAlignment(PanelAlign align, bool right_to_left) {
  if (!right_to_left) return align;
  if (align == PanelAlign::kLeft) return PanelAlign::kRight;
  if (align == PanelAlign::kRight) return PanelAlign::kLeft;
  return align;
}

unsigned PanelTextFormat(PanelAlign align) {
  switch (align) {
    case PanelAlign::kRight:
      return 2;  // DT_RIGHT
    case PanelAlign::kCentre:
      return 1;  // DT_CENTER
    case PanelAlign::kLeft:
      break;
  }
  return 0;  // DT_LEFT
}

PixelRect PanelTextRect(const PixelRect& panel) {
  return {panel.left + 2, panel.top, panel.right - 2, panel.bottom};
}

std::vector<PixelRect> StatusPanelRects(std::vector<PixelRect> reported, int bar_width) {
  if (!reported.empty()) reported.back().right = bar_width;
  return reported;
}

PixelRect SizeGripRect(int bar_width, int bar_height, int image_width, int image_height,
                       int frame_count) {
  if (frame_count < 1) frame_count = 1;
  const int frame_width = image_width / frame_count;
  if (frame_width <= 0 || image_height <= 0) return {};
  const int right = bar_width - 1, bottom = bar_height - 1;
  return {right - frame_width, bottom - image_height, right, bottom};
}

}  // namespace skin
