#pragma once
// A small RGB raster for drawing skin art: solid fills, gradients, bevels, rounded
// shapes with hard (key-colour friendly) edges, and crisp pixel glyphs. Everything is
// integer and deterministic, so the same source always yields the same bitmaps.
#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

#include "skin/store/pixel_bitmap.h"

namespace skingen {

struct Colour {
  uint8_t r = 0, g = 0, b = 0;
  friend bool operator==(const Colour&, const Colour&) = default;
};

// The transparency key of the skin engine.
constexpr Colour kMagenta{255, 0, 255};

// Linear mix: t = 0 gives a, t = 256 gives b.
Colour Mix(Colour a, Colour b, int t);
// Adds delta to every channel, clamped to 0..255.
Colour Shade(Colour c, int delta);

// One stop of a gradient: position 0..256 along the gradient and its colour.
struct Stop {
  int at;
  Colour colour;
};
// The colour of a multi-stop gradient at position t (0..256).
Colour GradientAt(std::initializer_list<Stop> stops, int t);

struct Rect {
  int x = 0, y = 0, w = 0, h = 0;
  int Right() const { return x + w; }
  int Bottom() const { return y + h; }
  Rect Inset(int d) const { return {x + d, y + d, w - 2 * d, h - 2 * d}; }
  bool Contains(int px, int py) const { return px >= x && py >= y && px < x + w && py < y + h; }
};

// Which corners of a rectangle are rounded.
enum Corners : unsigned {
  kTopLeft = 1,
  kTopRight = 2,
  kBottomLeft = 4,
  kBottomRight = 8,
  kTop = kTopLeft | kTopRight,
  kAll = 15,
};

// Distance class of a pixel to a rounded rectangle's outline: outside, on the outline
// ring (ring 0), on the ring just inside it (ring 1), ..., or deep inside (-1).
int RingOf(const Rect& r, int radius, unsigned corners, int x, int y);

class Canvas {
 public:
  Canvas() = default;
  Canvas(int width, int height, Colour fill = kMagenta);

  int Width() const { return width_; }
  int Height() const { return height_; }
  bool InBounds(int x, int y) const { return x >= 0 && y >= 0 && x < width_ && y < height_; }

  Colour At(int x, int y) const { return pixels_[size_t(y) * width_ + x]; }
  // Writes outside the canvas are ignored, so shapes may be clipped freely.
  void Set(int x, int y, Colour c);
  void Blend(int x, int y, Colour c, int t);  // t as in Mix

  void Fill(Colour c) { FillRect({0, 0, width_, height_}, c); }
  void FillRect(const Rect& r, Colour c);
  void FrameRect(const Rect& r, Colour c);
  void HLine(int x0, int x1, int y, Colour c);  // x0..x1 inclusive
  void VLine(int x, int y0, int y1, Colour c);  // y0..y1 inclusive
  // Gradient from top to bottom (or left to right) over r.
  void VGradient(const Rect& r, std::initializer_list<Stop> stops);
  void HGradient(const Rect& r, std::initializer_list<Stop> stops);
  // Fine horizontal streaks: each row of r is lightened or darkened by up to `amount`,
  // from a hash of (row + seed). Rows stay uniform, so the result stretches horizontally
  // without artefacts.
  void BrushRows(const Rect& r, int amount, uint32_t seed);
  // The same with vertical streaks (uniform columns).
  void BrushColumns(const Rect& r, int amount, uint32_t seed);
  // A one-pixel raised (light top-left, dark bottom-right) or sunken bevel on r's edge.
  void Bevel(const Rect& r, Colour top_left, Colour bottom_right);
  // Everything outside the rounded rectangle becomes magenta (hard edge, no blending).
  void CutCorners(const Rect& r, int radius, unsigned corners);
  // Colours ring 0 (outline) of the rounded rectangle.
  void RoundOutline(const Rect& r, int radius, unsigned corners, Colour c);
  // Copies src's rectangle s to (dx, dy); magenta pixels of src are skipped when keyed.
  void Blit(const Canvas& src, const Rect& s, int dx, int dy, bool keyed = false);
  void Blit(const Canvas& src, int dx, int dy, bool keyed = false) {
    Blit(src, {0, 0, src.width_, src.height_}, dx, dy, keyed);
  }
  Canvas Crop(const Rect& r) const;
  // Rows in reverse order / columns in reverse order.
  Canvas FlippedVertically() const;
  Canvas FlippedHorizontally() const;
  // Turned a quarter clockwise.
  Canvas RotatedClockwise() const;

  skin::PixelBitmap ToPixelBitmap() const;

 private:
  int width_ = 0;
  int height_ = 0;
  std::vector<Colour> pixels_;
};

// A glyph drawn from a picture: '#' is ink, '+' the secondary ink, anything else is left.
struct Glyph {
  std::vector<std::string> rows;
  int Width() const { return rows.empty() ? 0 : int(rows[0].size()); }
  int Height() const { return int(rows.size()); }
};
// Draws the glyph with its top-left at (x, y); `shadow`, when set, is drawn one pixel down
// under ink pixels first (an engraved look).
void DrawGlyph(Canvas& c, const Glyph& g, int x, int y, Colour ink, Colour ink2,
               const Colour* shadow = nullptr);
// Centred in r (rounded towards the top-left).
void DrawGlyphCentred(Canvas& c, const Glyph& g, const Rect& r, Colour ink, Colour ink2,
                      const Colour* shadow = nullptr, int dx = 0, int dy = 0);

// Frames placed side by side (or stacked) into one strip.
Canvas SideBySide(const std::vector<Canvas>& frames);
Canvas Stacked(const std::vector<Canvas>& frames);

}  // namespace skingen
