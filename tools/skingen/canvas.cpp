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

Canvas::Canvas(Scale scale, int width, int height, Colour fill)
    : scale_(std::max(1, scale.factor)),
      width_(std::max(0, width) * scale_),
      height_(std::max(0, height) * scale_),
      pixels_(size_t(width_) * height_, fill) {}

void Canvas::SetPixel(int px, int py, Colour c) {
  if (InPixels(px, py)) pixels_[size_t(py) * width_ + px] = c;
}

int Canvas::Ring(const Rect& r, int radius, unsigned corners, int px, int py) const {
  int ring = RingOf(Pixels(r), radius * scale_, corners, px, py);
  return ring < 0 ? ring : ring / scale_;
}

void Canvas::Set(int x, int y, Colour c) { FillRect({x, y, 1, 1}, c); }

void Canvas::FillRect(const Rect& r, Colour c) {
  const Rect p = Pixels(r);
  for (int py = std::max(0, p.y); py < std::min(height_, p.Bottom()); ++py)
    for (int px = std::max(0, p.x); px < std::min(width_, p.Right()); ++px)
      pixels_[size_t(py) * width_ + px] = c;
}

void Canvas::FrameRect(const Rect& r, Colour c) {
  if (r.w <= 0 || r.h <= 0) return;
  HLine(r.x, r.Right() - 1, r.y, c);
  HLine(r.x, r.Right() - 1, r.Bottom() - 1, c);
  VLine(r.x, r.y, r.Bottom() - 1, c);
  VLine(r.Right() - 1, r.y, r.Bottom() - 1, c);
}

void Canvas::HLine(int x0, int x1, int y, Colour c) { FillRect({x0, y, x1 - x0 + 1, 1}, c); }

void Canvas::VLine(int x, int y0, int y1, Colour c) { FillRect({x, y0, 1, y1 - y0 + 1}, c); }

void Canvas::VGradient(const Rect& r, std::initializer_list<Stop> stops) {
  const Rect p = Pixels(r);
  for (int py = p.y; py < p.Bottom(); ++py) {
    int t = p.h <= 1 ? 0 : (py - p.y) * 256 / (p.h - 1);
    Colour c = GradientAt(stops, t);
    for (int px = p.x; px < p.Right(); ++px) SetPixel(px, py, c);
  }
}

void Canvas::HGradient(const Rect& r, std::initializer_list<Stop> stops) {
  const Rect p = Pixels(r);
  for (int px = p.x; px < p.Right(); ++px) {
    int t = p.w <= 1 ? 0 : (px - p.x) * 256 / (p.w - 1);
    Colour c = GradientAt(stops, t);
    for (int py = p.y; py < p.Bottom(); ++py) SetPixel(px, py, c);
  }
}

void Canvas::BrushRows(const Rect& r, int amount, uint32_t seed) {
  const Rect p = Pixels(r);
  for (int py = p.y; py < p.Bottom(); ++py) {
    int d = Noise(uint32_t(py) * 2654435761U + seed, amount);
    for (int px = p.x; px < p.Right(); ++px)
      if (InPixels(px, py)) SetPixel(px, py, Shade(Pixel(px, py), d));
  }
}

void Canvas::BrushColumns(const Rect& r, int amount, uint32_t seed) {
  const Rect p = Pixels(r);
  for (int px = p.x; px < p.Right(); ++px) {
    int d = Noise(uint32_t(px) * 2246822519U + seed, amount);
    for (int py = p.y; py < p.Bottom(); ++py)
      if (InPixels(px, py)) SetPixel(px, py, Shade(Pixel(px, py), d));
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
  const Rect p = Pixels(r);
  for (int py = p.y; py < p.Bottom(); ++py)
    for (int px = p.x; px < p.Right(); ++px)
      if (Ring(r, radius, corners, px, py) == -2) SetPixel(px, py, kMagenta);
}

void Canvas::RoundOutline(const Rect& r, int radius, unsigned corners, Colour c) {
  const Rect p = Pixels(r);
  for (int py = p.y; py < p.Bottom(); ++py)
    for (int px = p.x; px < p.Right(); ++px)
      if (Ring(r, radius, corners, px, py) == 0) SetPixel(px, py, c);
}

void Canvas::Blit(const Canvas& src, const Rect& s, int dx, int dy, bool keyed) {
  const Rect p = src.Pixels(s);
  const int ox = dx * scale_, oy = dy * scale_;
  for (int y = 0; y < p.h; ++y)
    for (int x = 0; x < p.w; ++x) {
      if (!src.InPixels(p.x + x, p.y + y)) continue;
      Colour c = src.Pixel(p.x + x, p.y + y);
      if (keyed && c == kMagenta) continue;
      SetPixel(ox + x, oy + y, c);
    }
}

Canvas Canvas::Crop(const Rect& r) const {
  Canvas out(GetScale(), r.w, r.h);
  out.Blit(*this, r, 0, 0);
  return out;
}

Canvas Canvas::FlippedVertically() const {
  Canvas out(GetScale(), Width(), Height());
  for (int y = 0; y < height_; ++y)
    for (int x = 0; x < width_; ++x) out.SetPixel(x, height_ - 1 - y, Pixel(x, y));
  return out;
}

Canvas Canvas::FlippedHorizontally() const {
  Canvas out(GetScale(), Width(), Height());
  for (int y = 0; y < height_; ++y)
    for (int x = 0; x < width_; ++x) out.SetPixel(width_ - 1 - x, y, Pixel(x, y));
  return out;
}

Canvas Canvas::RotatedClockwise() const {
  Canvas out(GetScale(), Height(), Width());
  for (int y = 0; y < height_; ++y)
    for (int x = 0; x < width_; ++x) out.SetPixel(height_ - 1 - y, x, Pixel(x, y));
  return out;
}

skin::PixelBitmap Canvas::ToPixelBitmap() const {
  skin::PixelBitmap bmp(width_, height_, skin::PixelFormat::kBgr24);
  for (int y = 0; y < height_; ++y)
    for (int x = 0; x < width_; ++x) {
      Colour c = Pixel(x, y);
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
  Canvas out(frames[0].GetScale(), w * int(frames.size()), h);
  for (size_t i = 0; i < frames.size(); ++i) out.Blit(frames[i], int(i) * w, 0);
  return out;
}

Canvas Stacked(const std::vector<Canvas>& frames) {
  if (frames.empty()) return {};
  int w = frames[0].Width(), h = frames[0].Height();
  Canvas out(frames[0].GetScale(), w, h * int(frames.size()));
  for (size_t i = 0; i < frames.size(); ++i) out.Blit(frames[i], 0, int(i) * h);
  return out;
}

}  // namespace skingen
