#include "tools/skingen/canvas.h"

#include <algorithm>
#include <cmath>

namespace skingen {

namespace {

uint8_t Clamp(int v) { return uint8_t(std::clamp(v, 0, 255)); }

// A small integer hash (deterministic on every platform).
uint32_t Hash(uint32_t v) {
  v ^= v >> 16;
  v *= 0x7feb352dU;
  v ^= v >> 15;
  v *= 0x846ca68bU;
  v ^= v >> 16;
  return v;
}

int Noise(uint32_t v, int amount) {
  if (amount <= 0) return 0;
  return int(Hash(v) % uint32_t(2 * amount + 1)) - amount;
}

}  // namespace

Colour Mix(Colour a, Colour b, int t) {
  t = std::clamp(t, 0, 256);
  auto m = [t](int x, int y) { return Clamp(x + ((y - x) * t) / 256); };
  return {m(a.r, b.r), m(a.g, b.g), m(a.b, b.b)};
}

Colour Shade(Colour c, int delta) {
  return {Clamp(c.r + delta), Clamp(c.g + delta), Clamp(c.b + delta)};
}

Colour GradientAt(std::initializer_list<Stop> stops, int t) {
  const Stop* prev = stops.begin();
  if (t <= prev->at) return prev->colour;
  for (const Stop* s = stops.begin() + 1; s != stops.end(); ++s) {
    if (t <= s->at) {
      int span = std::max(1, s->at - prev->at);
      return Mix(prev->colour, s->colour, (t - prev->at) * 256 / span);
    }
    prev = s;
  }
  return prev->colour;
}

int RingOf(const Rect& r, int radius, unsigned corners, int x, int y) {
  if (!r.Contains(x, y)) return -2;
  int left = x - r.x, top = y - r.y, right = r.Right() - 1 - x, bottom = r.Bottom() - 1 - y;
  // Inside a rounded corner's square the distance to the arc decides.
  auto corner = [&](bool on, int dx, int dy) -> int {
    if (!on || dx >= radius || dy >= radius) return -3;
    double cx = radius - (dx + 0.5), cy = radius - (dy + 0.5);
    double inner = radius - std::sqrt(cx * cx + cy * cy);
    if (inner < 0) return -2;
    return int(std::floor(inner));
  };
  int c = -3;
  if (left < radius && top < radius) c = corner(corners & kTopLeft, left, top);
  if (right < radius && top < radius) c = corner(corners & kTopRight, right, top);
  if (left < radius && bottom < radius) c = corner(corners & kBottomLeft, left, bottom);
  if (right < radius && bottom < radius) c = corner(corners & kBottomRight, right, bottom);
  if (c != -3) return c;
  return std::min({left, top, right, bottom});
}

Canvas::Canvas(int width, int height, Colour fill)
    : width_(std::max(0, width)),
      height_(std::max(0, height)),
      pixels_(size_t(width_) * height_, fill) {}

void Canvas::Set(int x, int y, Colour c) {
  if (InBounds(x, y)) pixels_[size_t(y) * width_ + x] = c;
}

void Canvas::Blend(int x, int y, Colour c, int t) {
  if (InBounds(x, y)) Set(x, y, Mix(At(x, y), c, t));
}

void Canvas::FillRect(const Rect& r, Colour c) {
  for (int y = r.y; y < r.Bottom(); ++y)
    for (int x = r.x; x < r.Right(); ++x) Set(x, y, c);
}

void Canvas::FrameRect(const Rect& r, Colour c) {
  if (r.w <= 0 || r.h <= 0) return;
  HLine(r.x, r.Right() - 1, r.y, c);
  HLine(r.x, r.Right() - 1, r.Bottom() - 1, c);
  VLine(r.x, r.y, r.Bottom() - 1, c);
  VLine(r.Right() - 1, r.y, r.Bottom() - 1, c);
}

void Canvas::HLine(int x0, int x1, int y, Colour c) {
  for (int x = x0; x <= x1; ++x) Set(x, y, c);
}

void Canvas::VLine(int x, int y0, int y1, Colour c) {
  for (int y = y0; y <= y1; ++y) Set(x, y, c);
}

void Canvas::VGradient(const Rect& r, std::initializer_list<Stop> stops) {
  for (int y = r.y; y < r.Bottom(); ++y) {
    int t = r.h <= 1 ? 0 : (y - r.y) * 256 / (r.h - 1);
    HLine(r.x, r.Right() - 1, y, GradientAt(stops, t));
  }
}

void Canvas::HGradient(const Rect& r, std::initializer_list<Stop> stops) {
  for (int x = r.x; x < r.Right(); ++x) {
    int t = r.w <= 1 ? 0 : (x - r.x) * 256 / (r.w - 1);
    VLine(x, r.y, r.Bottom() - 1, GradientAt(stops, t));
  }
}

void Canvas::BrushRows(const Rect& r, int amount, uint32_t seed) {
  for (int y = r.y; y < r.Bottom(); ++y) {
    int d = Noise(uint32_t(y) * 2654435761U + seed, amount);
    for (int x = r.x; x < r.Right(); ++x)
      if (InBounds(x, y)) Set(x, y, Shade(At(x, y), d));
  }
}

void Canvas::BrushColumns(const Rect& r, int amount, uint32_t seed) {
  for (int x = r.x; x < r.Right(); ++x) {
    int d = Noise(uint32_t(x) * 2246822519U + seed, amount);
    for (int y = r.y; y < r.Bottom(); ++y)
      if (InBounds(x, y)) Set(x, y, Shade(At(x, y), d));
  }
}

void Canvas::Bevel(const Rect& r, Colour top_left, Colour bottom_right) {
  if (r.w <= 0 || r.h <= 0) return;
  HLine(r.x, r.Right() - 1, r.y, top_left);
  VLine(r.x, r.y, r.Bottom() - 1, top_left);
  HLine(r.x, r.Right() - 1, r.Bottom() - 1, bottom_right);
  VLine(r.Right() - 1, r.y, r.Bottom() - 1, bottom_right);
}

void Canvas::CutCorners(const Rect& r, int radius, unsigned corners) {
  for (int y = r.y; y < r.Bottom(); ++y)
    for (int x = r.x; x < r.Right(); ++x)
      if (RingOf(r, radius, corners, x, y) == -2) Set(x, y, kMagenta);
}

void Canvas::RoundOutline(const Rect& r, int radius, unsigned corners, Colour c) {
  for (int y = r.y; y < r.Bottom(); ++y)
    for (int x = r.x; x < r.Right(); ++x)
      if (RingOf(r, radius, corners, x, y) == 0) Set(x, y, c);
}

void Canvas::Blit(const Canvas& src, const Rect& s, int dx, int dy, bool keyed) {
  for (int y = 0; y < s.h; ++y)
    for (int x = 0; x < s.w; ++x) {
      if (!src.InBounds(s.x + x, s.y + y)) continue;
      Colour c = src.At(s.x + x, s.y + y);
      if (keyed && c == kMagenta) continue;
      Set(dx + x, dy + y, c);
    }
}

Canvas Canvas::Crop(const Rect& r) const {
  Canvas out(r.w, r.h);
  out.Blit(*this, r, 0, 0);
  return out;
}

Canvas Canvas::FlippedVertically() const {
  Canvas out(width_, height_);
  for (int y = 0; y < height_; ++y)
    for (int x = 0; x < width_; ++x) out.Set(x, height_ - 1 - y, At(x, y));
  return out;
}

Canvas Canvas::FlippedHorizontally() const {
  Canvas out(width_, height_);
  for (int y = 0; y < height_; ++y)
    for (int x = 0; x < width_; ++x) out.Set(width_ - 1 - x, y, At(x, y));
  return out;
}

Canvas Canvas::RotatedClockwise() const {
  Canvas out(height_, width_);
  for (int y = 0; y < height_; ++y)
    for (int x = 0; x < width_; ++x) out.Set(height_ - 1 - y, x, At(x, y));
  return out;
}

skin::PixelBitmap Canvas::ToPixelBitmap() const {
  skin::PixelBitmap bmp(width_, height_, skin::PixelFormat::kBgr24);
  for (int y = 0; y < height_; ++y)
    for (int x = 0; x < width_; ++x) {
      Colour c = At(x, y);
      bmp.SetPixel(x, y, skin::Rgb(c.r, c.g, c.b));
    }
  return bmp;
}

void DrawGlyph(Canvas& c, const Glyph& g, int x, int y, Colour ink, Colour ink2,
               const Colour* shadow) {
  if (shadow) {
    for (int gy = 0; gy < g.Height(); ++gy)
      for (int gx = 0; gx < g.Width(); ++gx)
        if (g.rows[gy][gx] == '#' || g.rows[gy][gx] == '+') c.Set(x + gx, y + gy + 1, *shadow);
  }
  for (int gy = 0; gy < g.Height(); ++gy)
    for (int gx = 0; gx < g.Width(); ++gx) {
      char p = g.rows[gy][gx];
      if (p == '#') c.Set(x + gx, y + gy, ink);
      if (p == '+') c.Set(x + gx, y + gy, ink2);
    }
}

void DrawGlyphCentred(Canvas& c, const Glyph& g, const Rect& r, Colour ink, Colour ink2,
                      const Colour* shadow, int dx, int dy) {
  int x = r.x + (r.w - g.Width()) / 2 + dx;
  int y = r.y + (r.h - g.Height()) / 2 + dy;
  DrawGlyph(c, g, x, y, ink, ink2, shadow);
}

Canvas SideBySide(const std::vector<Canvas>& frames) {
  if (frames.empty()) return {};
  int w = frames[0].Width(), h = frames[0].Height();
  Canvas out(w * int(frames.size()), h);
  for (size_t i = 0; i < frames.size(); ++i) out.Blit(frames[i], int(i) * w, 0);
  return out;
}

Canvas Stacked(const std::vector<Canvas>& frames) {
  if (frames.empty()) return {};
  int w = frames[0].Width(), h = frames[0].Height();
  Canvas out(w, h * int(frames.size()));
  for (size_t i = 0; i < frames.size(); ++i) out.Blit(frames[i], 0, int(i) * h);
  return out;
}

}  // namespace skingen
