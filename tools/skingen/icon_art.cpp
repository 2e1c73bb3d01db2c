#include "tools/skingen/icon_art.h"

#include <algorithm>
#include <cmath>

#include "tools/skingen/icon_canvas.h"
#include "tools/skingen/theme.h"

namespace skingen {

namespace {

// Proportions are given on a 16-unit grid and snapped to whole pixels of the real size.
struct Grid {
  int size;
  double Snap(double units) const { return std::round(units * size / 16.0); }
  Box At(double x, double y, double w, double h) const {
    const double left = Snap(x), top = Snap(y);
    return {left, top, Snap(x + w) - left, Snap(y + h) - top};
  }
  // Line widths: one pixel up to 40, then growing with the size.
  double Stroke() const { return std::max(1.0, std::round(size / 40.0)); }
};

// A face with a gradient and an outline ring.
void Outlined(IconCanvas& c, const Box& b, double radius, double stroke, const Face& face) {
  c.FillRound(b, radius, {{0, face.top}, {256, face.bottom}});
  c.StrokeRound(b, radius, stroke, face.outline);
}

// One digit of a seven-segment display in box b.
void Digit(IconCanvas& c, const Box& b, int digit, double width, Colour ink) {
  // Segments a (top), b, c (right, top to bottom), d (bottom), e, f (left), g (middle).
  static constexpr unsigned kSegments[10] = {0x3F, 0x06, 0x5B, 0x4F, 0x66,
                                             0x6D, 0x7D, 0x07, 0x7F, 0x6F};
  const double l = b.x + width / 2, r = b.Right() - width / 2;
  const double t = b.y + width / 2, m = b.y + b.h / 2, d = b.Bottom() - width / 2;
  const double ends[7][4] = {{l, t, r, t}, {r, t, r, m}, {r, m, r, d}, {l, d, r, d},
                             {l, m, l, d}, {l, t, l, m}, {l, m, r, m}};
  for (int s = 0; s < 7; ++s)
    if (kSegments[digit] & (1u << s))
      c.Line(ends[s][0], ends[s][1], ends[s][2], ends[s][3], width, ink);
}

// A calculator: a brushed-metal body, a dark display and a grid of keys, the last one in
// the skin's accent colour.
void DrawCalculator(IconCanvas& c, const Theme& t) {
  const int s = c.Size();
  const Grid g{s};
  const double stroke = g.Stroke();
  const double top = std::floor(s / 32.0);
  const Box body{g.Snap(2), top, s - 2 * g.Snap(2), s - 2 * top};
  const double radius = g.Snap(2) * 0.9;
  if (s >= 48)
    c.FillRound({body.x + stroke, body.y + 2 * stroke, body.w, body.h}, radius, Colour{0, 0, 0},
                56);
  c.FillRound(body, radius, {{0, t.title_top}, {128, t.title_mid}, {256, t.title_bottom}});
  c.StrokeRound(body, radius, stroke, t.outline);
  const Box inner = body.Inset(stroke);
  if (s >= 24) c.StrokeRound(inner, radius - stroke, stroke, t.title_highlight, 150);

  const Box content = inner.Inset(g.Snap(1));
  const double display_h = std::round(content.h / 4);
  const Box display{content.x, content.y, content.w, display_h};
  const Colour lcd_top{38, 48, 62}, lcd_bottom{70, 86, 106}, lcd_ink{178, 222, 255};
  const double display_r = s < 32 ? 0 : stroke * 1.5;
  c.FillRound(display, display_r, {{0, lcd_top}, {256, lcd_bottom}});
  const double margin = std::max(1.0, std::round(display_h / 5));
  if (s < 40) {
    // Too small for digits: a short bright bar at the right reads as a number.
    const double bar_h = std::max(1.0, std::round(display_h / 3));
    const double bar_w = std::round(display.w / 2);
    c.FillRound({display.Right() - margin - bar_w, display.y + std::floor((display_h - bar_h) / 2),
                 bar_w, bar_h},
                0, lcd_ink);
  } else {
    // 120, right-aligned.
    const double digit_h = display_h - 2 * margin - 2 * stroke;
    const double digit_w = std::round(digit_h * 0.55), gap = std::round(digit_h * 0.3);
    const double width = std::max(1.5, digit_h / 7);
    double x = display.Right() - margin - stroke - digit_w;
    for (int digit : {0, 2, 1}) {
      Digit(c, {x, display.y + margin + stroke, digit_w, digit_h}, digit, width, lcd_ink);
      x -= digit_w + gap;
    }
  }

  const int columns = s <= 32 ? 3 : 4;
  const double gap = std::max(1.0, std::round(s / 24.0));
  const double keys_top = display.Bottom() + std::max(1.0, std::round(content.h / 12));
  const double key_w = std::floor((content.w - (columns - 1) * gap) / columns);
  const double key_h = std::floor((content.Bottom() - keys_top - (columns - 1) * gap) / columns);
  const double left =
      content.x + std::floor((content.w - columns * key_w - (columns - 1) * gap) / 2);
  const Face accent{t.accent_top, t.accent_bottom, Shade(t.accent_bottom, -40), {}, {}};
  for (int row = 0; row < columns; ++row)
    for (int col = 0; col < columns; ++col) {
      const Box key{left + col * (key_w + gap), keys_top + row * (key_h + gap), key_w, key_h};
      const bool last = row == columns - 1 && col == columns - 1;
      if (s < 32) {
        c.FillRound(key, 0, last ? t.accent_bottom : t.dark_shadow);
      } else {
        Outlined(c, key, std::max(1.0, key_w / 6), stroke, last ? accent : t.button_normal);
      }
    }
}

// A window with a few controls: a blue title bar, a check box with its label, a
// progress bar and a push button.
void DrawGallery(IconCanvas& c, const Theme& t) {
  const int s = c.Size();
  const Grid g{s};
  const double stroke = g.Stroke();
  const Box window = g.At(0, 1, 16, 14);
  const double radius = s < 24 ? 1 : g.Snap(1.5);
  if (s >= 48)
    c.FillRound({window.x + stroke, window.y + 2 * stroke, window.w - stroke, window.h - stroke},
                radius, Colour{0, 0, 0}, 56);
  c.FillRound(window, radius, t.face);
  const Box inner = window.Inset(stroke);
  const Box title{inner.x, inner.y, inner.w, g.Snap(4) - inner.y};
  c.FillRound(title, 0, {{0, t.accent_top}, {256, t.accent_bottom}});
  c.StrokeRound(window, radius, stroke, t.outline);
  if (s >= 24) {
    // The close button at the title bar's right end.
    const double b = title.h - 2 * std::max(1.0, std::round(title.h / 5));
    Outlined(c, {title.Right() - (title.h - b) / 2 - b, title.y + (title.h - b) / 2, b, b},
             std::max(0.0, b / 5), stroke, t.close_hot);
  }

  // Check box (checked) and its label.
  const Box check = g.At(2, 5.5, 3.5, 3.5);
  c.FillRound(check, 0, t.window);
  c.StrokeRound(check, 0, stroke, t.dark_shadow);
  if (s < 32) {
    c.FillRound(check.Inset(stroke + (s < 24 ? 0 : 1)), 0, t.accent_bottom);
  } else {
    const Box k = check.Inset(check.w / 4);
    const double w = std::max(1.5, check.w / 7);
    c.Line(k.x, k.y + k.h * 0.55, k.x + k.w * 0.4, k.Bottom(), w, t.accent_bottom);
    c.Line(k.x + k.w * 0.4, k.Bottom(), k.Right(), k.y, w, t.accent_bottom);
  }
  const double text_h = std::max(1.0, g.Snap(1));
  c.FillRound(
      {g.Snap(7), check.y + std::floor((check.h - text_h) / 2), g.Snap(14) - g.Snap(7), text_h},
      text_h / 2, t.shadow);

  // Progress bar, two thirds full.
  const Box trough = g.At(2, 10.5, 6.5, 2);
  c.FillRound(trough, 0, t.track);
  c.FillRound({trough.x, trough.y, std::round(trough.w * 2 / 3), trough.h}, 0,
              {{0, t.accent_top}, {256, t.accent_bottom}});
  if (s >= 32) c.StrokeRound(trough, 0, stroke, t.shadow);

  // Push button.
  const Box button = g.At(9.5, 10, 4.5, 3);
  Outlined(c, button, s < 24 ? 0 : std::max(1.0, button.h / 5), stroke, t.button_normal);
}

}  // namespace

const std::vector<std::string>& IconNames() {
  static const std::vector<std::string> names = {"calc", "gallery"};
  return names;
}

skin::PixelBitmap DrawIcon(const std::string& name, int size) {
  const Theme* theme = FindTheme("metallic");
  if (!theme || size < 1) return {};
  IconCanvas canvas(size);
  if (name == "calc")
    DrawCalculator(canvas, *theme);
  else if (name == "gallery")
    DrawGallery(canvas, *theme);
  else
    return {};
  return canvas.ToPixelBitmap();
}

}  // namespace skingen
