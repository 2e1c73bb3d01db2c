#pragma once
// A square RGBA raster for icons. Shapes are composited over what is there with their
// coverage of each pixel as opacity, so edges off the pixel grid come out anti-aliased and
// edges on it stay crisp: a shape laid on whole pixels covers each pixel fully or not at all.
#include <initializer_list>
#include <vector>

#include "skin/store/pixel_bitmap.h"
#include "tools/skingen/canvas.h"

namespace skingen {

// A rectangle in pixel units; (0, 0) is the top-left corner of the top-left pixel.
struct Box {
  double x = 0, y = 0, w = 0, h = 0;
  double Right() const { return x + w; }
  double Bottom() const { return y + h; }
  Box Inset(double d) const { return {x + d, y + d, w - 2 * d, h - 2 * d}; }
};

class IconCanvas {
 public:
  explicit IconCanvas(int size);
  int Size() const { return size_; }

  // Fills the rounded rectangle with a top-to-bottom gradient (one stop: a solid colour)
  // at `opacity` (0..256 as in Mix).
  void FillRound(const Box& b, double radius, std::initializer_list<Stop> stops, int opacity = 256);
  void FillRound(const Box& b, double radius, Colour c, int opacity = 256) {
    FillRound(b, radius, {{0, c}}, opacity);
  }
  // A ring of `width` just inside the rounded rectangle's edge.
  void StrokeRound(const Box& b, double radius, double width, Colour c, int opacity = 256);
  // A straight stroke of `width` from (x0, y0) to (x1, y1) with round ends.
  void Line(double x0, double y0, double x1, double y1, double width, Colour c, int opacity = 256);
  // The disc of radius r around (cx, cy).
  void Disc(double cx, double cy, double r, Colour c, int opacity = 256);

  // 32-bit pixels with straight alpha.
  skin::PixelBitmap ToPixelBitmap() const;

 private:
  struct Premultiplied {
    double r = 0, g = 0, b = 0, a = 0;
  };
  // Composites colour(y) over every pixel by its coverage (`inside` sampled on a 4 x 4 grid
  // per pixel) within the pixel range of `bounds`.
  template <typename Inside, typename ColourAt>
  void Paint(const Box& bounds, Inside inside, ColourAt colour, int opacity);

  int size_;
  std::vector<Premultiplied> pixels_;
};

}  // namespace skingen
