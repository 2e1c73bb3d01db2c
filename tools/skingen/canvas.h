#pragma once
// A small RGB raster for drawing skin art: solid fills, gradients, bevels, rounded
// shapes with hard (key-colour friendly) edges, and crisp pixel glyphs. Everything is
// integer and deterministic, so the same source always yields the same bitmaps.
//
// Art is drawn in design units, the pixels of the 96-DPI art. A canvas has an integer
// scale, the device pixels per unit: lines, rectangles, offsets and glyph dots cover
// whole units (a one-unit line is `scale` pixels wide), while gradients, arcs and
// distances are computed per device pixel, so art drawn at scale 2 is the 96-DPI art at
// twice the resolution rather than the same art enlarged.
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

// Distance class of a pixel to a rounded rectangle's outline: outside (-2), on the
// outline ring (ring 0), on the ring just inside it (ring 1), and so on.
int RingOf(const Rect& r, int radius, unsigned corners, int x, int y);

// Device pixels per design unit (192 DPI art is drawn at 2).
struct Scale {
  int factor = 1;
};

// Everything below takes design units unless it says device pixels.
class Canvas {
 public:
  Canvas() = default;
  Canvas(Scale scale, int width, int height, Colour fill = kMagenta);

  Scale GetScale() const { return {scale_}; }
  int Width() const { return width_ / scale_; }
  int Height() const { return height_ / scale_; }

  // Device pixels: the canvas is PixelWidth() x PixelHeight().
  int PixelWidth() const { return width_; }
  int PixelHeight() const { return height_; }
  bool InPixels(int px, int py) const { return px >= 0 && py >= 0 && px < width_ && py < height_; }
  Colour Pixel(int px, int py) const { return pixels_[size_t(py) * width_ + px]; }
  // Writes outside the canvas are ignored, so shapes may be clipped freely.
  void SetPixel(int px, int py, Colour c);
  // The design unit a device pixel lies in.
  int Unit(int p) const { return p / scale_; }
  // The device pixels of a design rectangle.
  Rect Pixels(const Rect& r) const {
    return {r.x * scale_, r.y * scale_, r.w * scale_, r.h * scale_};
  }
  // RingOf for the device pixel (px, py) against the design rectangle r and radius, the
  // arc computed at device resolution; rings are counted in design units (ring 0 is the
  // outline, `scale` pixels thick).
  int Ring(const Rect& r, int radius, unsigned corners, int px, int py) const;

  // The top-left device pixel of the unit (x, y).
  Colour At(int x, int y) const { return Pixel(x * scale_, y * scale_); }
  // Fills the unit (x, y).
  void Set(int x, int y, Colour c);

  void Fill(Colour c) { FillRect({0, 0, Width(), Height()}, c); }
  void FillRect(const Rect& r, Colour c);
  void FrameRect(const Rect& r, Colour c);
  void HLine(int x0, int x1, int y, Colour c);  // x0..x1 inclusive
  void VLine(int x, int y0, int y1, Colour c);  // y0..y1 inclusive
  // Gradient from top to bottom (or left to right) over r, a colour per device row
  // (column).
  void VGradient(const Rect& r, std::initializer_list<Stop> stops);
  void HGradient(const Rect& r, std::initializer_list<Stop> stops);
  // Fine horizontal streaks: each device row of r is lightened or darkened by up to
  // `amount`, from a hash of (row + seed). Rows stay uniform, so the result stretches
  // horizontally without artefacts.
  void BrushRows(const Rect& r, int amount, uint32_t seed);
  // The same with vertical streaks (uniform columns).
  void BrushColumns(const Rect& r, int amount, uint32_t seed);
  // A one-unit raised (light top-left, dark bottom-right) or sunken bevel on r's edge.
  void Bevel(const Rect& r, Colour top_left, Colour bottom_right);
  // Everything outside the rounded rectangle becomes magenta (hard edge, no blending).
  void CutCorners(const Rect& r, int radius, unsigned corners);
  // Colours ring 0 (outline) of the rounded rectangle.
  void RoundOutline(const Rect& r, int radius, unsigned corners, Colour c);
  // Copies src's rectangle s to (dx, dy); magenta pixels of src are skipped when keyed.
  // Both canvases have the same scale.
  void Blit(const Canvas& src, const Rect& s, int dx, int dy, bool keyed = false);
  void Blit(const Canvas& src, int dx, int dy, bool keyed = false) {
    Blit(src, {0, 0, src.Width(), src.Height()}, dx, dy, keyed);
  }
  Canvas Crop(const Rect& r) const;
  // Rows in reverse order / columns in reverse order.
  Canvas FlippedVertically() const;
  Canvas FlippedHorizontally() const;
  // Turned a quarter clockwise.
  Canvas RotatedClockwise() const;

  skin::PixelBitmap ToPixelBitmap() const;

 private:
  int scale_ = 1;
  int width_ = 0;  // in device pixels
  int height_ = 0;
  std::vector<Colour> pixels_;
};

// A glyph drawn from a picture: '#' is ink, '+' the secondary ink, anything else is left.
struct Glyph {
  std::vector<std::string> rows;
  int Width() const { return rows.empty() ? 0 : int(rows[0].size()); }
  int Height() const { return int(rows.size()); }
};
// Draws the glyph with its top-left at (x, y), a unit per dot; `shadow`, when set, is drawn
// one unit down under ink dots first (an engraved look).
void DrawGlyph(Canvas& c, const Glyph& g, int x, int y, Colour ink, Colour ink2,
               const Colour* shadow = nullptr);
// Centred in r (rounded towards the top-left).
void DrawGlyphCentred(Canvas& c, const Glyph& g, const Rect& r, Colour ink, Colour ink2,
                      const Colour* shadow = nullptr, int dx = 0, int dy = 0);

// Frames placed side by side (or stacked) into one strip, at the frames' scale.
Canvas SideBySide(const std::vector<Canvas>& frames);
Canvas Stacked(const std::vector<Canvas>& frames);

}  // namespace skingen
