#include "skin/form/frame_geometry.h"

#include <algorithm>

#include "skin/data/skin_definition.h"
#include "skin/data/skin_scaling.h"

namespace skin {

namespace {

int FrameExtent(const TDataSkinObject* strip, bool stacked, int dpi) {
  if (!strip) return 0;
  const int count = std::max(strip->FrameCount, 1);
  const int extent = stacked ? strip->Image.Height() : strip->Image.Width();
  return std::min(extent / count, ScaleLength(kMaxFrameBorder, dpi));
}

}  // namespace

PixelBitmap ComposeFramePiece(const TDataSkinBorder* strip, FrameStrip side, int width, int height,
                              bool active) {
  if (!strip || width <= 0 || height <= 0) return {};
  const bool stacked = side == FrameStrip::kTop || side == FrameStrip::kBottom;
  const int frame = (active || strip->FrameCount <= 1) ? 1 : 2;
  const Margins margins{strip->LeftWidth, strip->TopHeight, strip->RightWidth, strip->BottomHeight};
  return ComposeElement(PixelRect{0, 0, width, height}, strip->Image, margins, frame,
                        strip->FrameCount, strip->Tile != 1, stacked);
}

FrameMetrics FrameMetricsFromSkin(const SkinDefinition& skin, bool frameless) {
  FrameMetrics m;
  m.dpi = skin.Dpi;
  if (frameless) return m;
  m.border_top = FrameExtent(skin.TopStrip.get(), true, skin.Dpi);
  m.border_left = FrameExtent(skin.LeftStrip.get(), false, skin.Dpi);
  m.border_right = FrameExtent(skin.RightStrip.get(), false, skin.Dpi);
  m.border_bottom = FrameExtent(skin.BottomStrip.get(), true, skin.Dpi);
  return m;
}

PixelRect ClientRectForWindow(const PixelRect& window, const FrameMetrics& m) {
  return {ClampCoordinate(int64_t(window.left) + m.border_left),
          ClampCoordinate(int64_t(window.top) + m.border_top + m.menu_height),
          ClampCoordinate(int64_t(window.right) - m.border_right),
          ClampCoordinate(int64_t(window.bottom) - m.border_bottom)};
}

int FrameHitTest(int window_y, const FrameMetrics& m) {
  if (window_y > m.border_top) return kHitMenu;
  if (window_y > ScaleLength(4, m.dpi) - 1) return kHitCaption;
  return kHitNowhere;
}

PixelRect PlaceCaptionText(const PixelRect& title, int text_width, int text_height,
                           const CaptionTextLayout& layout) {
  // In 64 bits: the shifts, clips and background ends come from the skin.
  const int64_t w = int64_t(text_width) + layout.back_left + layout.back_right;
  const int64_t h = text_height;
  const int64_t room = int64_t(title.right) - title.left;
  int64_t dx = 0;
  if (layout.right_to_left) {
    dx = room - layout.text_right_clip - w;
  } else {
    switch (layout.alignment) {
      case 0:
        dx = layout.text_shift;
        break;
      case 1:
        dx = (room - w) / 2;
        break;
      case 2:
        dx = room - layout.text_right_clip - w;
        break;
      default:
        dx = 0;
        break;
    }
  }
  const int64_t dy = ((int64_t(title.bottom) - title.top) - h) / 2 + layout.text_shift_vert / 2;
  const int64_t left = title.left + dx, top = title.top + dy;
  int64_t right = left + w;
  if (!layout.popup) {
    right = std::min<int64_t>(right, int64_t(title.right) - layout.text_right_clip);
  } else {
    right =
        std::max<int64_t>(right, int64_t(layout.right_buttons_edge) - ScaleLength(5, layout.dpi));
  }
  return {ClampCoordinate(left), ClampCoordinate(top), ClampCoordinate(right),
          ClampCoordinate(top + h)};
}

FrameSize WindowSizeForClient(int client_width, int client_height, const FrameMetrics& m) {
  return {ClampCoordinate(int64_t(client_width) + m.border_left + m.border_right),
          ClampCoordinate(int64_t(client_height) + m.border_top + m.border_bottom + m.menu_height)};
}

int DialogWidthForCaption(int caption_length, int blank_width, const FrameMetrics& m,
                          const CaptionTextLayout& layout) {
  return ClampCoordinate((int64_t(caption_length) + 7) * blank_width + m.border_left +
                         m.border_right + layout.text_shift + layout.text_right_clip +
                         layout.back_left + layout.back_right);
}

int DialogChildShift(int width, int needed) {
  return width < needed ? int((int64_t(needed) - width) / 2) : 0;
}

FrameSize RestoredWindowSize(int width, int height, const FrameMetrics& m, int system_dx,
                             int system_dy) {
  return {ClampCoordinate(int64_t(width) - (int64_t(m.border_left) + m.border_right - system_dx)),
          ClampCoordinate(int64_t(height) -
                          (int64_t(m.border_top) + m.menu_height + m.border_bottom - system_dy))};
}

RegionPlan PlanWindowRegion(int width, int height, const FrameMetrics& m,
                            const StripTransparency& trans, bool frameless,
                            bool title_cache_empty) {
  RegionPlan plan;
  const int w = width, h = height;
  if (!trans.left && !trans.right && !trans.top && !trans.bottom) {
    plan.whole_window = true;
    plan.inner = {0, 0, w, h};
    return plan;
  }
  plan.inner = {m.border_left, m.border_top, w - m.border_right, h - m.border_bottom};
  if (frameless) return plan;
  plan.edges = true;
  plan.left.rect = {0, 0, m.border_left, h};
  if (trans.left && h > 1) plan.left.source = EdgeSource::kPaintedPiece;
  plan.right.rect = {w - m.border_right, 0, w, h};
  if (trans.right && h > 1) plan.right.source = EdgeSource::kPaintedPiece;
  plan.bottom.rect = {m.border_left, h - m.border_bottom, w - m.border_right, h};
  if (trans.bottom && m.border_bottom >= 2) plan.bottom.source = EdgeSource::kPaintedPiece;
  plan.top.rect = {m.border_left, 0, w - m.border_right, m.border_top};
  const int piece_w = w - m.border_left - m.border_right;
  if (trans.top && m.border_top > 1 && piece_w > 0 && m.border_top > 0) {
    plan.top.source = title_cache_empty ? EdgeSource::kPaintedPiece : EdgeSource::kTitleCache;
  }
  return plan;
}

}  // namespace skin
