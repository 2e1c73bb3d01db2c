#include "tools/skingen/icon_canvas.h"

#include <algorithm>
#include <cmath>

namespace skingen {

namespace {

constexpr int kSamples = 4;  // per pixel and axis

bool InsideRound(const Box& b, double radius, double x, double y) {
  if (x < b.x || y < b.y || x >= b.Right() || y >= b.Bottom()) return false;
  const double r = std::min({radius, b.w / 2, b.h / 2});
  if (r <= 0) return true;
  const double cx = std::clamp(x, b.x + r, b.Right() - r);
  const double cy = std::clamp(y, b.y + r, b.Bottom() - r);
  return (x - cx) * (x - cx) + (y - cy) * (y - cy) <= r * r;
}

}  // namespace

IconCanvas::IconCanvas(int size) : size_(std::max(0, size)), pixels_(size_t(size_) * size_) {}

template <typename Inside, typename ColourAt>
void IconCanvas::Paint(const Box& bounds, Inside inside, ColourAt colour, int opacity) {
  const int x0 = std::max(0, int(std::floor(bounds.x)));
  const int y0 = std::max(0, int(std::floor(bounds.y)));
  const int x1 = std::min(size_, int(std::ceil(bounds.Right())));
  const int y1 = std::min(size_, int(std::ceil(bounds.Bottom())));
  const double strength = std::clamp(opacity, 0, 256) / 256.0;
  for (int y = y0; y < y1; ++y) {
    const Colour c = colour(y + 0.5);
    for (int x = x0; x < x1; ++x) {
      int hits = 0;
      for (int sy = 0; sy < kSamples; ++sy)
        for (int sx = 0; sx < kSamples; ++sx)
          hits += inside(x + (sx + 0.5) / kSamples, y + (sy + 0.5) / kSamples) ? 1 : 0;
      if (!hits) continue;
      const double a = strength * hits / (kSamples * kSamples);
      Premultiplied& p = pixels_[size_t(y) * size_ + x];
      p.r = c.r / 255.0 * a + p.r * (1 - a);
      p.g = c.g / 255.0 * a + p.g * (1 - a);
      p.b = c.b / 255.0 * a + p.b * (1 - a);
      p.a = a + p.a * (1 - a);
    }
  }
}

void IconCanvas::FillRound(const Box& b, double radius, std::initializer_list<Stop> stops,
                           int opacity) {
  // The gradient's colour at the centre line of row y.
  auto colour = [&](double y) {
    return GradientAt(stops, b.h <= 1 ? 0 : int(std::lround((y - b.y - 0.5) * 256 / (b.h - 1))));
  };
  Paint(
      b, [&](double x, double y) { return InsideRound(b, radius, x, y); }, colour, opacity);
}

void IconCanvas::StrokeRound(const Box& b, double radius, double width, Colour c, int opacity) {
  const Box inner = b.Inset(width);
  const double inner_radius = std::max(0.0, radius - width);
  Paint(
      b,
      [&](double x, double y) {
        return InsideRound(b, radius, x, y) && !InsideRound(inner, inner_radius, x, y);
      },
      [&](double) { return c; }, opacity);
}

void IconCanvas::Line(double x0, double y0, double x1, double y1, double width, Colour c,
                      int opacity) {
  const double r = width / 2, dx = x1 - x0, dy = y1 - y0;
  const double length2 = std::max(1e-9, dx * dx + dy * dy);
  const Box bounds{std::min(x0, x1) - r, std::min(y0, y1) - r, std::abs(dx) + width,
                   std::abs(dy) + width};
  Paint(
      bounds,
      [&](double x, double y) {
        const double t = std::clamp(((x - x0) * dx + (y - y0) * dy) / length2, 0.0, 1.0);
        const double ex = x - (x0 + t * dx), ey = y - (y0 + t * dy);
        return ex * ex + ey * ey <= r * r;
      },
      [&](double) { return c; }, opacity);
}

void IconCanvas::Disc(double cx, double cy, double r, Colour c, int opacity) {
  FillRound({cx - r, cy - r, 2 * r, 2 * r}, r, c, opacity);
}

skin::PixelBitmap IconCanvas::ToPixelBitmap() const {
  skin::PixelBitmap out(size_, size_, skin::PixelFormat::kBgra32);
  for (int y = 0; y < size_; ++y) {
    uint8_t* row = out.ScanLine(y);
    for (int x = 0; x < size_; ++x) {
      const Premultiplied& p = pixels_[size_t(y) * size_ + x];
      const int alpha = int(std::lround(p.a * 255));
      uint8_t* q = row + size_t(x) * 4;
      auto channel = [&](double v) {
        return uint8_t(alpha ? std::clamp(int(std::lround(v / p.a * 255)), 0, 255) : 0);
      };
      q[0] = channel(p.b);
      q[1] = channel(p.g);
      q[2] = channel(p.r);
      q[3] = uint8_t(alpha);
    }
  }
  return out;
}

}  // namespace skingen
