#include "skin/controls/scroll_bar_geometry.h"

#include <algorithm>
#include <limits>

namespace skin {

int32_t MulDiv32(int32_t a, int32_t b, int32_t c) {
  if (c == 0) return -1;
  const int64_t product = static_cast<int64_t>(a) * b;
  const bool negative = (product < 0) != (c < 0);
  const uint64_t magnitude = static_cast<uint64_t>(product < 0 ? -product : product);
  const uint64_t divisor = static_cast<uint64_t>(c < 0 ? -static_cast<int64_t>(c) : c);
  const uint64_t quotient = (magnitude + divisor / 2) / divisor;
  if (quotient > static_cast<uint64_t>(std::numeric_limits<int32_t>::max())) return -1;
  return negative ? -static_cast<int32_t>(quotient) : static_cast<int32_t>(quotient);
}

ScrollBarsLayout LayoutScrollBars(int window_width, int window_height, int client_width,
                                  int client_height, bool has_horz, bool has_vert,
                                  bool left_scroll_bar, int bar_size) {
  ScrollBarsLayout l;
  const int w = window_width, h = window_height, b = bar_size;
  int e = 0;
  if (has_vert) {
    e = (w - client_width - b) / 2;
  } else if (has_horz) {
    e = (h - client_height - b) / 2;
  }
  l.border = e;
  l.arrow = b;
  if (has_horz && has_vert) {
    if (left_scroll_bar) {
      l.horz = {e + b, h - e - b, w - e, h - e};
      l.vert = {e, e, e + b, h - e - b};
      l.size_box = {e, h - e - b, e + b, h - e};
    } else {
      l.horz = {e, h - e - b, w - e - b, h - e};
      l.vert = {w - e - b, e, w - e, h - e - b};
      l.size_box = {w - e - b, h - e - b, w - e, h - e};
    }
  } else if (has_horz) {
    l.horz = {e, h - e - b, w - e, h - e};
  } else if (has_vert) {
    l.vert =
        left_scroll_bar ? PixelRect{e, e, e + b, h - e} : PixelRect{w - e - b, e, w - e, h - e};
  }
  return l;
}

int32_t MinThumbLength(int32_t arrow, bool windows95_family) {
  return windows95_family ? arrow / 2 : 8;
}

std::optional<ThumbMetrics> CalcThumb(int32_t bar_length, int32_t arrow, const ScrollRange& r,
                                      int32_t min_thumb, int32_t square_thumb) {
  const int32_t range = r.max - r.min;
  if (range <= 0) return std::nullopt;
  // Counted as the system's own bars count: the range has both ends, and with a page the
  // last position is max - page + 1. So the thumb shows where the system's would, and a
  // drag ends on the position the system's drag would.
  ThumbMetrics m;
  m.arrow = arrow;
  m.track = bar_length - 2 * arrow;
  const int32_t t = m.track;
  int32_t l = r.page > 0 ? std::max(MulDiv32(r.page, t, range + 1), min_thumb) : square_thumb;
  l = std::min(l, t);
  int32_t p = 0;
  if (r.page > range) {
    // Everything is shown: the thumb fills the track less one pixel, at the start.
    l -= 1;
  } else {
    p = MulDiv32(r.pos - r.min, t - l, range - std::max(r.page - 1, 0));
  }
  p = std::clamp(p, 0, std::max(0, t - l));
  m.thumb_length = l;
  m.thumb_pos = p;
  return m;
}

std::optional<ThumbMetrics> CalcControlThumb(int32_t bar_length, int32_t arrow,
                                             const ScrollRange& r, int32_t min_thumb,
                                             int32_t square_thumb) {
  const int32_t range = r.max - r.min;
  if (range < 0) return std::nullopt;
  ThumbMetrics m;
  m.arrow = arrow;
  m.track = bar_length - 2 * arrow;
  const int32_t t = m.track;
  int32_t l = r.page > 0 ? std::max(MulDiv32(r.page, t, range + 1), min_thumb) : square_thumb;
  l = std::min(l, t);
  int32_t p = 0;
  if (r.page == range + 1) {
    l -= 1;
  } else {
    p = MulDiv32(r.pos - r.min, t - l, range - r.page + 1);
  }
  p = std::clamp(p, 0, std::max(0, t - l));
  m.thumb_length = l;
  m.thumb_pos = p;
  return m;
}

int32_t DrawnArrowLength(int32_t bar_length, int32_t arrow) {
  return bar_length < 2 * arrow ? bar_length / 2 : arrow;
}

std::optional<ThumbSpan> DrawnThumb(const ThumbMetrics& m, int32_t arrow_length) {
  if (m.track < m.thumb_length || m.thumb_length <= 0) return std::nullopt;
  const int32_t pos = std::clamp(m.thumb_pos, 0, m.track - m.thumb_length);
  return ThumbSpan{arrow_length + pos, m.thumb_length};
}

int HitTestBar(int32_t offset, const ThumbMetrics& m) {
  const int32_t a = m.arrow, p = m.thumb_pos, l = m.thumb_length, t = m.track;
  if (offset < a) return kScrollLineUp;
  if (offset < a + p) return kScrollPageUp;
  if (offset < a + p + l) return kScrollThumbTrack;
  if (offset < a + t) return kScrollPageDown;
  if (offset < 2 * a + t) return kScrollLineDown;
  return -1;
}

DragResult DragPosition(int32_t start_thumb_pos, int32_t moved, const ThumbMetrics& m,
                        const ScrollRange& r) {
  DragResult d;
  int32_t n = std::max(0, start_thumb_pos + moved);
  const int32_t range = r.max - r.min;
  int32_t position = r.min;
  if (r.page > 0) {
    // The inverse of where CalcThumb puts the thumb: the travel of the thumb covers the
    // positions min .. max - page + 1, as on the system's own bars.
    const int32_t span = m.track - m.thumb_length;
    n = std::min(n, std::max(0, span));
    if (span > 0) position = MulDiv32(n, range - r.page + 1, span) + r.min;
    // The end of the range: the last position at which a whole page is still shown.
    if (position >= r.max - r.page) position = r.max - r.page + 1;
  } else {
    const int32_t span = m.track - m.thumb_length;
    n = std::min(n, std::max(0, span));
    if (span > 0) position = MulDiv32(n, range, span) + r.min;
    position = std::min(position, r.max);
  }
  d.thumb_pos = n;
  d.position = std::max(position, r.min);
  return d;
}

ComboLayout LayoutCombo(int w, int h, int a, bool left_scroll_bar) {
  ComboLayout c;
  c.mirrored = left_scroll_bar;
  if (left_scroll_bar) {
    c.text = {a + 4, 2, w - 2, h - 2};
    c.button = {0, 0, a + 2, h};
    c.glyph_area = {2, 0, a + 2, h};
  } else {
    c.text = {2, 2, w - a - 4, h - 2};
    c.button = {w - a - 2, 0, w, h};
    c.glyph_area = {w - a - 2, 0, w - 2, h};
  }
  return c;
}

PixelRect CentreGlyph(const PixelRect& area, int glyph_width, int glyph_height) {
  const int left = area.left + (area.Width() - glyph_width) / 2;
  const int top = area.top + (area.Height() - glyph_height) / 2;
  return {left, top, left + glyph_width, top + glyph_height};
}

int ComboFrame(bool pressed, bool hot, bool focused, bool enabled) {
  if (pressed) return 2;
  if (hot || focused) return 4;
  return enabled ? 1 : 3;
}

}  // namespace skin
