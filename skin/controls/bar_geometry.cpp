#include "skin/controls/bar_geometry.h"

#include <algorithm>

namespace skin {

int ProgressFillLength(int64_t pos, int64_t low, int64_t high, int length) {
  if (length <= 0 || high <= low || pos <= low) return 0;
  if (pos >= high) return length;
  // Both factors fit in 33 bits, so the product cannot overflow 64 bits.
  const int64_t filled = (pos - low) * length / (high - low);
  return static_cast<int>(std::clamp<int64_t>(filled, 0, length));
}

PixelRect ProgressFillRect(const PixelRect& bar, int fill_length, bool vertical) {
  if (vertical) return {bar.left, bar.bottom - fill_length, bar.right, bar.bottom};
  return {bar.left, bar.top, bar.left + fill_length, bar.bottom};
}

std::vector<int> ProgressChunkOffsets(int fill_width, int chunk_width) {
  std::vector<int> offsets;
  if (fill_width <= 0 || chunk_width <= 0) return offsets;
  const int count = fill_width / chunk_width + 1;
  offsets.reserve(static_cast<size_t>(count));
  for (int i = 0; i < count; ++i) offsets.push_back(i * chunk_width);
  return offsets;
}

std::pair<int, int> ProgressChunkOrigin(const PixelRect& bar, int left_width, int chunk_height) {
  return {bar.left + left_width, bar.top + (bar.Height() - chunk_height) / 2};
}

ThumbImage ChooseThumbImage(bool vertical, bool has_vert, bool has_horz) {
  if (vertical && has_vert) return ThumbImage::kVert;
  if (has_horz) return ThumbImage::kHorz;
  return ThumbImage::kNone;
}

CustomDrawAnswer TrackBarCustomDraw(uint32_t draw_stage, uintptr_t item_spec) {
  constexpr uint32_t kPrePaint = 1, kItemPrePaint = 0x10001;
  constexpr uint32_t kNotifyItemDraw = 0x20, kSkipDefault = 4;
  constexpr uintptr_t kThumb = 2;
  if (draw_stage == kPrePaint) return {kNotifyItemDraw, false};
  if (draw_stage == kItemPrePaint && item_spec == kThumb) return {kSkipDefault, true};
  return {0, false};
}

UpDownLayout LayoutUpDown(const PixelRect& c, bool horizontal) {
  UpDownLayout l;
  l.horizontal = horizontal;
  if (horizontal) {
    const int half = c.Width() / 2;
    l.first = {c.left, c.top, c.left + half, c.bottom};
    l.second = {c.left + half, c.top, c.right, c.bottom};
    l.split = c.left + half;
  } else {
    const int half = c.Height() / 2;
    l.first = {c.left, c.top, c.right, c.top + half};
    l.second = {c.left, c.top + half, c.right, c.bottom};
    l.split = c.top + half;
  }
  return l;
}

int UpDownButtonState(int button, bool enabled, bool pressed, bool hot, int cursor, int split) {
  if (!enabled) return 3;
  const bool other_side = button == 0 ? cursor >= split : cursor < split;
  if (other_side) return 1;
  if (pressed) return 2;
  if (hot) return 4;
  return 1;
}

PixelRect UpDownGlyphRect(const PixelRect& b, int glyph_image_width, int glyph_height) {
  const int fw = glyph_image_width / 8;
  const int left = b.left + (b.Width() - fw) / 2;
  const int top = b.top + (b.Height() - glyph_height) / 2;
  return {left, top, left + fw, top + glyph_height};
}

ArrowShape PlainArrow(ArrowKind kind, const PixelRect& b) {
  const int x = b.left + b.Width() / 2;
  int y = b.top + b.Height() / 2;
  ArrowShape s;
  auto seg = [&](int x1, int y1, int x2, int y2) { s.segments.push_back({{x1, y1}, {x2, y2}}); };
  switch (kind) {
    case ArrowKind::kUp:
      y -= 2;
      seg(x, y, x, y - 1);
      seg(x + 1, y + 1, x + 4, y + 4);
      seg(x, y + 1, x + 3, y + 4);
      seg(x, y + 2, x + 2, y + 4);
      seg(x - 1, y + 1, x - 4, y + 4);
      seg(x, y + 2, x - 3, y + 4);
      seg(x, y + 1, x - 2, y + 4);
      break;
    case ArrowKind::kDown:
      y -= 2;
      seg(x, y + 3, x, y + 4);
      seg(x + 1, y + 2, x + 4, y - 1);
      seg(x, y + 2, x + 3, y - 1);
      seg(x, y + 1, x + 2, y);
      seg(x - 1, y + 2, x - 4, y - 1);
      seg(x, y + 2, x - 3, y - 1);
      seg(x, y + 1, x - 2, y);
      break;
    case ArrowKind::kLeft:
      s.path = {{x, y}, {x + 1, y + 2}, {x + 1, y - 2}, {x - 1, y}, {x + 1, y + 2}};
      break;
    case ArrowKind::kRight:
      s.path = {{x, y}, {x - 1, y + 2}, {x - 1, y - 2}, {x + 1, y}, {x - 1, y + 2}};
      break;
  }
  return s;
}

}  // namespace skin
