#pragma once
// Turning a skin element (one bitmap holding FrameCount equally sized frames, plus four
// fixed margins) into pixels of any size, on the portable PixelBitmap: frame geometry,
// nine-slice and three-slice composition, a whole stretched frame, tiling, a colour-key
// transparent copy, the monochrome key mask and the opaque runs a window region is built
// from. The Windows painting layer (element_painting.h) draws through these functions, so
// a composed element has the same pixels natively and on Windows.
//
// Stretching is nearest-neighbour with exactly the source-pixel choice of GDI's
// StretchBlt in COLORONCOLOR mode as Wine's DIB engine makes it (see StretchIndices);
// tests compare both pixel for pixel.
#include <algorithm>
#include <cstdint>
#include <functional>
#include <vector>

#include "skin/store/pixel_bitmap.h"

namespace skin {

// The colour key of every skin: magenta, RGB (255, 0, 255).
inline constexpr uint32_t kMagentaKey = 0x00FF00FF;

// Numbers from a skin are untrusted and may be anything a 32-bit integer holds. Geometry
// computed from them is done in 64 bits and brought back into +-kCoordinateLimit, far
// outside any window, so that later sums of a few such values cannot overflow.
inline constexpr int kCoordinateLimit = 1 << 28;
inline int ClampCoordinate(int64_t value) {
  return int(std::clamp<int64_t>(value, -kCoordinateLimit, kCoordinateLimit));
}

// A rectangle in pixels, right and bottom exclusive, like a Windows RECT.
struct PixelRect {
  int left = 0, top = 0, right = 0, bottom = 0;

  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
  bool Inverted() const { return right < left || bottom < top; }
  // True when the rectangle covers no pixel (inverted or zero-sized).
  bool Empty() const { return right <= left || bottom <= top; }
  bool Contains(const PixelRect& r) const {
    return r.left >= left && r.top >= top && r.right <= right && r.bottom <= bottom;
  }
  PixelRect Offset(int dx, int dy) const { return {left + dx, top + dy, right + dx, bottom + dy}; }
  friend bool operator==(const PixelRect&, const PixelRect&) = default;
};

// The fixed edges of an element: LeftWidth, TopHeight, RightWidth, BottomHeight.
struct Margins {
  int left = 0, top = 0, right = 0, bottom = 0;
  friend bool operator==(const Margins&, const Margins&) = default;
};

// How the frames of an element image are laid out.
enum class FrameLayout : uint8_t { kSideBySide, kStacked };

// Frame `frame_index` (counted from 1) of `frame_count` frames of a bitmap of the given
// size. Side by side a frame is width / count wide and the full height high; stacked, the
// full width wide and height / count high (integer division). A count below 1 counts as
// 1 and an index outside 1..count is clamped into it, so the rectangle always lies inside
// the bitmap (it is empty when the bitmap is narrower or lower than the frame count).
PixelRect FrameRect(int bitmap_width, int bitmap_height, int frame_index, int frame_count,
                    FrameLayout layout);

// Nearest-neighbour stretching as GDI's StretchBlt does it with COLORONCOLOR: the source
// offset (0 .. source_length-1) that destination offset i (0 .. dest_length-1) shows.
// Enlarging (source_length <= dest_length) both axes take the source pixel under the
// centre of the destination pixel, an exact tie going to the lower one. Shrinking, the
// destination pixel shows the last of its source pixels horizontally and the first one
// vertically; horizontally a one-pixel-wide destination shows the last but one.
// The lengths must be positive.
enum class StretchAxis : uint8_t { kHorizontal, kVertical };
int StretchSourceIndex(int i, int source_length, int dest_length, StretchAxis axis);
std::vector<int> StretchIndices(int source_length, int dest_length, StretchAxis axis);

// The nine pieces of a nine-slice composition, in drawing order.
enum class SlicePiece : uint8_t {
  kTopLeft,
  kBottomLeft,
  kTopRight,
  kLeft,
  kTop,
  kCentre,
  kBottomRight,
  kRight,
  kBottom,
};

// One piece: the source rectangle (inside the element image) is stretched onto the
// destination rectangle (relative to the target's top-left corner), or for a tiled centre
// repeated over it.
struct SliceBlit {
  SlicePiece piece;
  PixelRect dest;
  PixelRect source;
  friend bool operator==(const SliceBlit&, const SliceBlit&) = default;
};

// The margins actually used for a target of the given size: negative margins count as 0;
// when the width is less than left + right both become 0, when the height is less than
// top + bottom both become 0.
Margins EffectiveMargins(int target_width, int target_height, const Margins& margins);

// The pieces that compose `frame` (a rectangle of the element image) over a target of
// width x height, in the order top-left, bottom-left, top-right, left, top, centre,
// bottom-right, right, bottom, with the margins of EffectiveMargins. A corner is listed
// only when both its margins are positive, an edge only when its margin is; the centre is
// listed unless `with_centre` is false. Pieces that could not be drawn sensibly are left
// out: an empty destination, or a source that is empty, inverted or not inside the frame
// (margins that together exceed the frame).
std::vector<SliceBlit> NineSlicePieces(int target_width, int target_height, const PixelRect& frame,
                                       const Margins& margins, bool with_centre = true);

// The three pieces of a horizontal three-slice strip of width x height from `frame` with
// fixed left and right ends: the left end, then one middle piece per tile, then the right
// end (drawn last, so it covers an overrun of the last tile). Each piece is stretched to
// the full height. Middle tiles are frame width - left - right wide and start at x = left
// while x < width - right; when that middle width is 0 or less there are no middle tiles.
// Pieces with an empty destination or a source not inside the frame are left out.
std::vector<SliceBlit> HorzStripPieces(int target_width, int target_height, const PixelRect& frame,
                                       int left, int right);

// The top-left corners at which TileBitmap puts a tile of tile_width x tile_height over
// `target`: columns from target.left while x < target.right, rows from target.top while
// y < target.bottom; the last column and row run past the target. None when a tile side
// is not positive.
std::vector<std::pair<int, int>> TileOrigins(const PixelRect& target, int tile_width,
                                             int tile_height);

// Stretches `source_rect` of `source` onto `dest_rect` of `dest` (COLORONCOLOR choice of
// pixels, clipped to `dest`). Does nothing and returns false when either rectangle is
// empty or `source_rect` is not inside `source`. The formats may differ.
bool StretchCopy(const PixelBitmap& source, const PixelRect& source_rect, PixelBitmap& dest,
                 const PixelRect& dest_rect);

// Repeats `source_rect` of `source` over `target` of `dest` at the TileOrigins, each tile
// whole, clipped by `dest`'s edges and, when given, by `clip`. Does nothing when
// `source_rect` is empty or not inside `source`.
void TileCopy(const PixelBitmap& source, const PixelRect& source_rect, PixelBitmap& dest,
              const PixelRect& target, const PixelRect* clip = nullptr);

// Largest side of a composed bitmap; bigger targets compose to nothing.
inline constexpr int kMaxComposeSide = 16384;

// The nine-slice image of frame `frame_index` of `frame_count` over a bitmap of the
// target's size (same pixel format as `source`). The centre is tiled when `tile` is set,
// otherwise stretched. An inverted, empty or oversized target gives an empty bitmap.
// Parts of the result no piece covers stay black.
PixelBitmap ComposeElement(const PixelRect& target, const PixelBitmap& source,
                           const Margins& margins, int frame_index, int frame_count, bool tile,
                           bool stacked);

// Nine-slice drawing straight onto `dest` at `target`: with `with_centre` false only the
// eight border pieces are drawn and the centre of `target` is left untouched.
void ComposeElementOnto(PixelBitmap& dest, const PixelRect& target, const PixelBitmap& source,
                        const Margins& margins, int frame_index, int frame_count, bool tile,
                        bool stacked, bool with_centre);

// The horizontal three-slice strip of DrawHorzElement (only margins.left and
// margins.right are used) as a bitmap of the target's size.
PixelBitmap ComposeHorzStrip(const PixelRect& target, const PixelBitmap& source,
                             const Margins& margins, int frame_index, int frame_count,
                             bool stacked);

// One whole frame (frames side by side) stretched to the target's size, as
// DrawElementFrame draws it.
PixelBitmap ComposeElementFrame(const PixelRect& target, const PixelBitmap& source, int frame_index,
                                int frame_count);

// Copies `source` (from its origin) onto `dest` at target's top-left, at most target's
// width and height and never past either bitmap, leaving `dest` unchanged where the
// source pixel is `key` (compared on red, green and blue).
void TransparentCopy(PixelBitmap& dest, const PixelRect& target, const PixelBitmap& source,
                     uint32_t key = kMagentaKey);

// A monochrome mask of `source`: one bit per pixel, most significant bit leftmost, each
// row padded to a multiple of `row_alignment` bytes (2 for CreateBitmap, 4 for a DIB);
// a bit is set exactly where the pixel is `key`.
std::vector<uint8_t> KeyMask(const PixelBitmap& source, uint32_t key, int row_alignment);
size_t KeyMaskStride(int width, int row_alignment);

// The colours counted as transparent when a region is built: per channel from the key's
// value up to that value plus the channel's tolerance, capped at 255 (a negative
// tolerance counts as 0). A pixel is transparent only when all three channels are in.
struct KeyRange {
  uint8_t red_low, red_high, green_low, green_high, blue_low, blue_high;

  static KeyRange From(uint32_t key, int red_tolerance, int green_tolerance, int blue_tolerance);
  bool Contains(uint8_t r, uint8_t g, uint8_t b) const {
    return r >= red_low && r <= red_high && g >= green_low && g <= green_high && b >= blue_low &&
           b <= blue_high;
  }
};

// Calls `run(x_begin, x_end, y)` for every maximal horizontal run of pixels not in `key`,
// row by row from the top, left to right (x_end exclusive).
void ForEachOpaqueRun(const PixelBitmap& bitmap, const KeyRange& key,
                      const std::function<void(int, int, int)>& run);

// The rectangles of RegionFromBitmap: one per opaque run, one pixel high, shifted by the
// offsets, in scanning order.
std::vector<PixelRect> OpaqueRuns(const PixelBitmap& bitmap, int x_offset, int y_offset,
                                  uint32_t key, int red_tolerance, int green_tolerance,
                                  int blue_tolerance);

// The pixels of `bitmap` that are not exactly `key`, as rectangles that do not overlap: the
// opaque runs of each row, where consecutive rows have the same runs joined into one taller
// rectangle each. Gives up (false, `blocks` empty) once more than `max_blocks` are needed.
bool OpaqueBlocks(const PixelBitmap& bitmap, uint32_t key, size_t max_blocks,
                  std::vector<PixelRect>& blocks);

}  // namespace skin
