#include "framework/control_layout.h"

#include <algorithm>

namespace fw {

namespace {

LayoutRect At(int x, int y, int cx, int cy) { return {x, y, x + cx, y + cy}; }

}  // namespace

GlyphPlacement PlaceGlyphAndCaption(LayoutRect client, LayoutSize glyph, LayoutSize caption,
                                    TButtonLayout layout, int margin, int spacing) {
  const bool has_glyph = glyph.cx > 0 && glyph.cy > 0;
  const bool has_caption = caption.cx > 0 && caption.cy > 0;
  if (!has_glyph) glyph = {};
  if (!has_caption) caption = {};
  const bool horizontal = layout == blGlyphLeft || layout == blGlyphRight;
  // Along the main axis.
  const int room = horizontal ? client.Width() : client.Height();
  const int g = horizontal ? glyph.cx : glyph.cy;
  const int t = horizontal ? caption.cx : caption.cy;
  const bool both = has_glyph && has_caption;
  if (!both) spacing = 0;
  if (margin < 0) {
    if (spacing < 0) {
      spacing = (room - g - t) / 3;
      margin = spacing;
    } else {
      margin = (room - g - spacing - t) / 2;
    }
  } else if (spacing < 0) {
    spacing = (room - margin - g - t) / 2;
  }
  // A glyph-less button centres its caption whatever the margin says.
  if (!has_glyph) margin = (room - t) / 2;

  int glyph_pos, caption_pos;
  const bool glyph_first = layout == blGlyphLeft || layout == blGlyphTop;
  if (glyph_first) {
    glyph_pos = margin;
    caption_pos = margin + g + spacing;
  } else {
    glyph_pos = room - margin - g;
    caption_pos = glyph_pos - spacing - t;
    if (!has_glyph) caption_pos = margin;
  }

  GlyphPlacement out;
  if (horizontal) {
    const int h = client.Height();
    if (has_glyph)
      out.glyph = At(client.left + glyph_pos, client.top + (h - glyph.cy) / 2, glyph.cx, glyph.cy);
    if (has_caption)
      out.caption =
          At(client.left + caption_pos, client.top + (h - caption.cy) / 2, caption.cx, caption.cy);
  } else {
    const int w = client.Width();
    if (has_glyph)
      out.glyph = At(client.left + (w - glyph.cx) / 2, client.top + glyph_pos, glyph.cx, glyph.cy);
    if (has_caption)
      out.caption =
          At(client.left + (w - caption.cx) / 2, client.top + caption_pos, caption.cx, caption.cy);
  }
  return out;
}

LayoutRect RadioItemRect(LayoutRect area, int count, int columns, int index) {
  if (count <= 0 || index < 0 || index >= count) return {};
  columns = std::clamp(columns, 1, count);
  const int rows = (count + columns - 1) / columns;
  const int column = index / rows;
  const int row = index % rows;
  const int column_width = area.Width() / columns;
  const int row_height = area.Height() / rows;
  const int left = area.left + column * column_width;
  const int top = area.top + row * row_height;
  return {left, top, left + column_width, top + row_height};
}

std::vector<LayoutRect> TabSetTabRects(const std::vector<int>& text_widths, int first_visible,
                                       int start_margin, int end_margin, int width, int height,
                                       bool scroller_visible) {
  std::vector<LayoutRect> rects(text_widths.size());
  const int available = width - end_margin;
  const int extra = scroller_visible ? 21 : 9;
  int x = start_margin;
  for (size_t i = static_cast<size_t>(std::max(first_visible, 0)); i < text_widths.size(); ++i) {
    const int tw = std::max(text_widths[i], 0);
    if (available < x + tw + extra) continue;
    rects[i] = {x, 0, x + tw + 9, height};
    x += tw + 9;
  }
  return rects;
}

int ScrollLimit(int content_extent, int client_extent) {
  return std::max(content_extent - client_extent, 0);
}

int ClampScrollPosition(int position, int content_extent, int client_extent) {
  return std::clamp(position, 0, ScrollLimit(content_extent, client_extent));
}

std::vector<LayoutRect> AlignControls(LayoutRect client,
                                      const std::vector<AlignedControl>& controls) {
  std::vector<LayoutRect> placed(controls.size());
  for (size_t i = 0; i < controls.size(); ++i) placed[i] = controls[i].bounds;
  LayoutRect room = client;
  // The controls of one edge, nearest to that edge first.
  const auto edge = [&](TAlign align, auto nearer) {
    std::vector<size_t> order;
    for (size_t i = 0; i < controls.size(); ++i)
      if (controls[i].align == align) order.push_back(i);
    std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) {
      return nearer(controls[a].bounds, controls[b].bounds);
    });
    return order;
  };
  for (size_t i : edge(alTop, [](auto&a, auto&b) { return a.top < b.top; })) {
    const int h = std::clamp(controls[i].bounds.Height(), 0, room.Height());
    placed[i] = {room.left, room.top, room.right, room.top + h};
    room.top += h;
  }
  for (size_t i : edge(alBottom, [](auto&a, auto&b) { return a.bottom > b.bottom; })) {
    const int h = std::clamp(controls[i].bounds.Height(), 0, room.Height());
    placed[i] = {room.left, room.bottom - h, room.right, room.bottom};
    room.bottom -= h;
  }
  for (size_t i : edge(alLeft, [](auto&a, auto&b) { return a.left < b.left; })) {
    const int w = std::clamp(controls[i].bounds.Width(), 0, room.Width());
    placed[i] = {room.left, room.top, room.left + w, room.bottom};
    room.left += w;
  }
  for (size_t i : edge(alRight, [](auto&a, auto&b) { return a.right > b.right; })) {
    const int w = std::clamp(controls[i].bounds.Width(), 0, room.Width());
    placed[i] = {room.right - w, room.top, room.right, room.bottom};
    room.right -= w;
  }
  for (size_t i = 0; i < controls.size(); ++i)
    if (controls[i].align == alClient) placed[i] = room;
  return placed;
}

}  // namespace fw
