#include "skin/manager/element_compose.h"

#include <algorithm>
#include <cstring>

namespace skin {

namespace {

PixelRect Intersect(const PixelRect& a, const PixelRect& b) {
  return {std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
          std::min(a.bottom, b.bottom)};
}

PixelRect Bounds(const PixelBitmap& bitmap) { return {0, 0, bitmap.Width(), bitmap.Height()}; }

// Copies one pixel between formats; 24-bit pixels become 32-bit ones with alpha 0.
inline void CopyPixel(uint8_t* dst, int dst_bpp, const uint8_t* src, int src_bpp) {
  if (dst_bpp == src_bpp) {
    std::memcpy(dst, src, size_t(dst_bpp));
  } else {
    std::memcpy(dst, src, 3);
    if (dst_bpp == 4) dst[3] = 0;
  }
}

bool UsableSource(const PixelBitmap& source, const PixelRect& rect) {
  return !rect.Empty() && Bounds(source).Contains(rect);
}

bool FitsComposeLimit(const PixelRect& target) {
  return !target.Empty() && target.Width() <= kMaxComposeSide && target.Height() <= kMaxComposeSide;
}

PixelFormat ResultFormat(const PixelBitmap& source) {
  return source.Empty() ? PixelFormat::kBgr24 : source.Format();
}

}  // namespace

PixelRect FrameRect(int bitmap_width, int bitmap_height, int frame_index, int frame_count,
                    FrameLayout layout) {
  bitmap_width = std::max(bitmap_width, 0);
  bitmap_height = std::max(bitmap_height, 0);
  const int count = std::max(frame_count, 1);
  const int k = std::clamp(frame_index, 1, count);
  if (layout == FrameLayout::kSideBySide) {
    const int fw = bitmap_width / count;
    return {(k - 1) * fw, 0, k * fw, bitmap_height};
  }
  const int fh = bitmap_height / count;
  return {0, (k - 1) * fh, bitmap_width, k * fh};
}

int StretchSourceIndex(int i, int source_length, int dest_length, StretchAxis axis) {
  const int64_t s = source_length, d = dest_length, n = i;
  if (s <= d) return int(((2 * n + 1) * s + 2 * d - 1) / (2 * d) - 1);
  if (axis == StretchAxis::kVertical) return n == 0 ? 0 : int((2 * s * n - d) / (2 * d) + 1);
  // Wine's horizontal shrink keeps the last source pixel of each destination pixel, but a
  // one-pixel-wide destination ends one source pixel early.
  if (d == 1) return int(s - 2);
  return int(std::min(s - 1, (2 * s * (n + 1) - d) / (2 * d)));
}

std::vector<int> StretchIndices(int source_length, int dest_length, StretchAxis axis) {
  std::vector<int> indices(size_t(std::max(dest_length, 0)));
  if (source_length <= 0) return {};
  for (int i = 0; i < dest_length; ++i)
    indices[size_t(i)] = StretchSourceIndex(i, source_length, dest_length, axis);
  return indices;
}

Margins EffectiveMargins(int target_width, int target_height, const Margins& margins) {
  Margins m{std::max(margins.left, 0), std::max(margins.top, 0), std::max(margins.right, 0),
            std::max(margins.bottom, 0)};
  if (int64_t(target_width) < int64_t(m.left) + m.right) m.left = m.right = 0;
  if (int64_t(target_height) < int64_t(m.top) + m.bottom) m.top = m.bottom = 0;
  return m;
}

std::vector<SliceBlit> NineSlicePieces(int target_width, int target_height, const PixelRect& frame,
                                       const Margins& margins, bool with_centre) {
  const Margins m = EffectiveMargins(target_width, target_height, margins);
  const int W = target_width, H = target_height;
  const int x0 = frame.left, y0 = frame.top, fw = frame.Width(), fh = frame.Height();
  const int l = m.left, t = m.top, r = m.right, b = m.bottom;

  std::vector<SliceBlit> pieces;
  pieces.reserve(9);
  auto add = [&](bool wanted, SlicePiece piece, PixelRect dest, PixelRect source) {
    if (!wanted || dest.Empty() || source.Empty() || !frame.Contains(source)) return;
    pieces.push_back({piece, dest, source});
  };
  add(l > 0 && t > 0, SlicePiece::kTopLeft, {0, 0, l, t}, {x0, y0, x0 + l, y0 + t});
  add(l > 0 && b > 0, SlicePiece::kBottomLeft, {0, H - b, l, H},
      {x0, y0 + fh - b, x0 + l, y0 + fh});
  add(r > 0 && t > 0, SlicePiece::kTopRight, {W - r, 0, W, t}, {x0 + fw - r, y0, x0 + fw, y0 + t});
  add(l > 0, SlicePiece::kLeft, {0, t, l, H - b}, {x0, y0 + t, x0 + l, y0 + fh - b});
  add(t > 0, SlicePiece::kTop, {l, 0, W - r, t}, {x0 + l, y0, x0 + fw - r, y0 + t});
  add(with_centre, SlicePiece::kCentre, {l, t, W - r, H - b},
      {x0 + l, y0 + t, x0 + fw - r, y0 + fh - b});
  add(r > 0 && b > 0, SlicePiece::kBottomRight, {W - r, H - b, W, H},
      {x0 + fw - r, y0 + fh - b, x0 + fw, y0 + fh});
  add(r > 0, SlicePiece::kRight, {W - r, t, W, H - b}, {x0 + fw - r, y0 + t, x0 + fw, y0 + fh - b});
  add(b > 0, SlicePiece::kBottom, {l, H - b, W - r, H},
      {x0 + l, y0 + fh - b, x0 + fw - r, y0 + fh});
  return pieces;
}

std::vector<SliceBlit> HorzStripPieces(int target_width, int target_height, const PixelRect& frame,
                                       int left, int right) {
  const int W = target_width, H = target_height;
  const int x0 = frame.left, y0 = frame.top, fw = frame.Width(), fh = frame.Height();
  // An end wider than the frame takes no pixels from it (its source is not inside the
  // frame); limiting it to one pixel more keeps the sums below from overflowing.
  left = std::clamp(left, 0, std::max(fw, 0) + 1);
  right = std::clamp(right, 0, std::max(fw, 0) + 1);

  std::vector<SliceBlit> pieces;
  auto add = [&](SlicePiece piece, PixelRect dest, PixelRect source) {
    if (dest.Empty() || source.Empty() || !frame.Contains(source)) return;
    pieces.push_back({piece, dest, source});
  };
  if (left > 0) add(SlicePiece::kLeft, {0, 0, left, H}, {x0, y0, x0 + left, y0 + fh});
  // A middle of zero width or less would never advance: draw no middle tiles then.
  const int middle = fw - left - right;
  if (middle > 0) {
    const PixelRect source{x0 + left, y0, x0 + left + middle, y0 + fh};
    for (int x = left; x < W - right; x += middle)
      add(SlicePiece::kCentre, {x, 0, x + middle, H}, source);
  }
  if (right > 0)
    add(SlicePiece::kRight, {W - right, 0, W, H}, {x0 + fw - right, y0, x0 + fw, y0 + fh});
  return pieces;
}

std::vector<std::pair<int, int>> TileOrigins(const PixelRect& target, int tile_width,
                                             int tile_height) {
  std::vector<std::pair<int, int>> origins;
  if (tile_width <= 0 || tile_height <= 0) return origins;
  for (int64_t x = target.left; x < target.right; x += tile_width)
    for (int64_t y = target.top; y < target.bottom; y += tile_height)
      origins.emplace_back(int(x), int(y));
  return origins;
}

bool StretchCopy(const PixelBitmap& source, const PixelRect& source_rect, PixelBitmap& dest,
                 const PixelRect& dest_rect) {
  if (dest_rect.Empty() || !UsableSource(source, source_rect)) return false;
  const PixelRect visible = Intersect(dest_rect, Bounds(dest));
  if (visible.Empty()) return true;

  const int dw = dest_rect.Width(), dh = dest_rect.Height();
  const int sw = source_rect.Width(), sh = source_rect.Height();
  const int src_bpp = source.BytesPerPixel(), dst_bpp = dest.BytesPerPixel();
  // Byte offsets of the source columns for the visible destination columns.
  std::vector<size_t> columns(size_t(visible.Width()));
  for (int x = visible.left; x < visible.right; ++x) {
    const int sx =
        source_rect.left + StretchSourceIndex(x - dest_rect.left, sw, dw, StretchAxis::kHorizontal);
    columns[size_t(x - visible.left)] = size_t(sx) * size_t(src_bpp);
  }
  for (int y = visible.top; y < visible.bottom; ++y) {
    const int sy =
        source_rect.top + StretchSourceIndex(y - dest_rect.top, sh, dh, StretchAxis::kVertical);
    const uint8_t* src_row = source.ScanLine(sy);
    uint8_t* dst = dest.ScanLine(y) + size_t(visible.left) * size_t(dst_bpp);
    if (src_bpp == 4 && dst_bpp == 4) {
      for (size_t offset : columns) {
        std::memcpy(dst, src_row + offset, 4);
        dst += 4;
      }
    } else {
      for (size_t offset : columns) {
        CopyPixel(dst, dst_bpp, src_row + offset, src_bpp);
        dst += dst_bpp;
      }
    }
  }
  return true;
}

void TileCopy(const PixelBitmap& source, const PixelRect& source_rect, PixelBitmap& dest,
              const PixelRect& target, const PixelRect* clip) {
  if (!UsableSource(source, source_rect) || target.Empty()) return;
  const int w = source_rect.Width(), h = source_rect.Height();
  // Whole tiles cover the target rounded up to a multiple of the tile size.
  const int64_t columns = (int64_t(target.Width()) + w - 1) / w;
  const int64_t rows = (int64_t(target.Height()) + h - 1) / h;
  PixelRect covered{target.left, target.top,
                    int(std::min<int64_t>(target.left + columns * w, INT32_MAX)),
                    int(std::min<int64_t>(target.top + rows * h, INT32_MAX))};
  covered = Intersect(covered, Bounds(dest));
  if (clip) covered = Intersect(covered, *clip);
  if (covered.Empty()) return;

  const int src_bpp = source.BytesPerPixel(), dst_bpp = dest.BytesPerPixel();
  for (int y = covered.top; y < covered.bottom; ++y) {
    const uint8_t* src_row = source.ScanLine(source_rect.top + (y - target.top) % h);
    uint8_t* dst = dest.ScanLine(y) + size_t(covered.left) * size_t(dst_bpp);
    int sx = (covered.left - target.left) % w;
    if (src_bpp == dst_bpp) {
      // Whole spans of the tile row at a time.
      for (int x = covered.left; x < covered.right;) {
        const int n = std::min(w - sx, covered.right - x);
        std::memcpy(dst, src_row + size_t(source_rect.left + sx) * size_t(src_bpp),
                    size_t(n) * size_t(src_bpp));
        dst += size_t(n) * size_t(dst_bpp);
        x += n;
        sx = 0;
      }
      continue;
    }
    for (int x = covered.left; x < covered.right; ++x) {
      CopyPixel(dst, dst_bpp, src_row + size_t(source_rect.left + sx) * size_t(src_bpp), src_bpp);
      dst += dst_bpp;
      if (++sx == w) sx = 0;
    }
  }
}

void ComposeElementOnto(PixelBitmap& dest, const PixelRect& target, const PixelBitmap& source,
                        const Margins& margins, int frame_index, int frame_count, bool tile,
                        bool stacked, bool with_centre) {
  if (target.Empty() || source.Empty()) return;
  const PixelRect frame = FrameRect(source.Width(), source.Height(), frame_index, frame_count,
                                    stacked ? FrameLayout::kStacked : FrameLayout::kSideBySide);
  for (const SliceBlit& p :
       NineSlicePieces(target.Width(), target.Height(), frame, margins, with_centre)) {
    const PixelRect dest_rect = p.dest.Offset(target.left, target.top);
    if (p.piece == SlicePiece::kCentre && tile) {
      // Tiles running past the centre are covered by the right and bottom pieces drawn
      // after it, or end at the target's edge.
      TileCopy(source, p.source, dest, dest_rect, &target);
    } else {
      StretchCopy(source, p.source, dest, dest_rect);
    }
  }
}

PixelBitmap ComposeElement(const PixelRect& target, const PixelBitmap& source,
                           const Margins& margins, int frame_index, int frame_count, bool tile,
                           bool stacked) {
  if (!FitsComposeLimit(target)) return PixelBitmap();
  PixelBitmap result(target.Width(), target.Height(), ResultFormat(source));
  ComposeElementOnto(result, Bounds(result), source, margins, frame_index, frame_count, tile,
                     stacked, true);
  return result;
}

PixelBitmap ComposeHorzStrip(const PixelRect& target, const PixelBitmap& source,
                             const Margins& margins, int frame_index, int frame_count,
                             bool stacked) {
  if (!FitsComposeLimit(target)) return PixelBitmap();
  PixelBitmap result(target.Width(), target.Height(), ResultFormat(source));
  if (source.Empty()) return result;
  const PixelRect frame = FrameRect(source.Width(), source.Height(), frame_index, frame_count,
                                    stacked ? FrameLayout::kStacked : FrameLayout::kSideBySide);
  for (const SliceBlit& p :
       HorzStripPieces(result.Width(), result.Height(), frame, margins.left, margins.right))
    StretchCopy(source, p.source, result, p.dest);
  return result;
}

PixelBitmap ComposeElementFrame(const PixelRect& target, const PixelBitmap& source, int frame_index,
                                int frame_count) {
  if (!FitsComposeLimit(target)) return PixelBitmap();
  PixelBitmap result(target.Width(), target.Height(), ResultFormat(source));
  if (source.Empty()) return result;
  const PixelRect frame = FrameRect(source.Width(), source.Height(), frame_index, frame_count,
                                    FrameLayout::kSideBySide);
  StretchCopy(source, frame, result, Bounds(result));
  return result;
}

void TransparentCopy(PixelBitmap& dest, const PixelRect& target, const PixelBitmap& source,
                     uint32_t key) {
  if (target.Empty()) return;
  const int w = std::min(target.Width(), source.Width());
  const int h = std::min(target.Height(), source.Height());
  const PixelRect placed{target.left, target.top, target.left + w, target.top + h};
  const PixelRect visible = Intersect(placed, Bounds(dest));
  if (visible.Empty()) return;
  const uint8_t kr = uint8_t(key), kg = uint8_t(key >> 8), kb = uint8_t(key >> 16);
  const int src_bpp = source.BytesPerPixel(), dst_bpp = dest.BytesPerPixel();
  for (int y = visible.top; y < visible.bottom; ++y) {
    const uint8_t* src =
        source.ScanLine(y - target.top) + size_t(visible.left - target.left) * size_t(src_bpp);
    uint8_t* dst = dest.ScanLine(y) + size_t(visible.left) * size_t(dst_bpp);
    for (int x = visible.left; x < visible.right; ++x, src += src_bpp, dst += dst_bpp)
      if (src[0] != kb || src[1] != kg || src[2] != kr) CopyPixel(dst, dst_bpp, src, src_bpp);
  }
}

size_t KeyMaskStride(int width, int row_alignment) {
  const size_t a = size_t(std::max(row_alignment, 1));
  const size_t bytes = (size_t(std::max(width, 0)) + 7) / 8;
  return (bytes + a - 1) / a * a;
}

std::vector<uint8_t> KeyMask(const PixelBitmap& source, uint32_t key, int row_alignment) {
  const size_t stride = KeyMaskStride(source.Width(), row_alignment);
  std::vector<uint8_t> mask(stride * size_t(source.Height()), 0);
  const uint8_t kr = uint8_t(key), kg = uint8_t(key >> 8), kb = uint8_t(key >> 16);
  const int bpp = source.BytesPerPixel();
  for (int y = 0; y < source.Height(); ++y) {
    const uint8_t* p = source.ScanLine(y);
    uint8_t* row = mask.data() + size_t(y) * stride;
    for (int x = 0; x < source.Width(); ++x, p += bpp)
      if (p[0] == kb && p[1] == kg && p[2] == kr) row[x >> 3] |= uint8_t(0x80u >> (x & 7));
  }
  return mask;
}

KeyRange KeyRange::From(uint32_t key, int red_tolerance, int green_tolerance, int blue_tolerance) {
  auto high = [](uint8_t value, int tolerance) {
    return uint8_t(std::min(255, int(value) + std::max(tolerance, 0)));
  };
  const uint8_t r = uint8_t(key), g = uint8_t(key >> 8), b = uint8_t(key >> 16);
  return {r, high(r, red_tolerance), g, high(g, green_tolerance), b, high(b, blue_tolerance)};
}

void ForEachOpaqueRun(const PixelBitmap& bitmap, const KeyRange& key,
                      const std::function<void(int, int, int)>& run) {
  const int bpp = bitmap.BytesPerPixel(), w = bitmap.Width();
  for (int y = 0; y < bitmap.Height(); ++y) {
    const uint8_t* row = bitmap.ScanLine(y);
    int x = 0;
    while (x < w) {
      while (x < w && key.Contains(row[x * bpp + 2], row[x * bpp + 1], row[x * bpp])) ++x;
      if (x == w) break;
      const int start = x;
      while (x < w && !key.Contains(row[x * bpp + 2], row[x * bpp + 1], row[x * bpp])) ++x;
      run(start, x, y);
    }
  }
}

std::vector<PixelRect> OpaqueRuns(const PixelBitmap& bitmap, int x_offset, int y_offset,
                                  uint32_t key, int red_tolerance, int green_tolerance,
                                  int blue_tolerance) {
  std::vector<PixelRect> runs;
  ForEachOpaqueRun(
      bitmap, KeyRange::From(key, red_tolerance, green_tolerance, blue_tolerance),
      [&](int x_begin, int x_end, int y) {
        runs.push_back({x_begin + x_offset, y + y_offset, x_end + x_offset, y + y_offset + 1});
      });
  return runs;
}

bool OpaqueBlocks(const PixelBitmap& bitmap, uint32_t key, size_t max_blocks,
                  std::vector<PixelRect>& blocks) {
  blocks.clear();
  const int bpp = bitmap.BytesPerPixel(), w = bitmap.Width();
  const uint32_t key_bgr = ((key & 0xFFu) << 16) | (key & 0xFF00u) | ((key >> 16) & 0xFFu);
  auto is_key = [&](const uint8_t* p) {
    return (uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16)) == key_bgr;
  };
  std::vector<std::pair<int, int>> runs, previous;
  size_t first_open = 0;  // the blocks of the previous row's runs start here
  for (int y = 0; y < bitmap.Height(); ++y) {
    runs.clear();
    const uint8_t* row = bitmap.ScanLine(y);
    for (int x = 0; x < w;) {
      while (x < w && is_key(row + size_t(x) * bpp)) ++x;
      if (x == w) break;
      const int start = x;
      while (x < w && !is_key(row + size_t(x) * bpp)) ++x;
      runs.emplace_back(start, x);
    }
    if (y > 0 && runs == previous) {
      for (size_t i = first_open; i < blocks.size(); ++i) blocks[i].bottom = y + 1;
      continue;
    }
    if (blocks.size() + runs.size() > max_blocks) {
      blocks.clear();
      return false;
    }
    first_open = blocks.size();
    for (const auto& [begin, end] : runs) blocks.push_back({begin, y, end, y + 1});
    previous.swap(runs);
  }
  return true;
}

}  // namespace skin
