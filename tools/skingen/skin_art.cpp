#include "tools/skingen/skin_art.h"

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <string>

namespace skingen {

namespace {

// ---------------------------------------------------------------------------------------
// Glyphs. '#' is ink, '+' a secondary ink (used for the size grip's highlight).

const Glyph kClose = {{
    "##....##",
    "###..###",
    ".######.",
    "..####..",
    "..####..",
    ".######.",
    "###..###",
    "##....##",
}};
const Glyph kMaximize = {{
    "#########",
    "#########",
    "#.......#",
    "#.......#",
    "#.......#",
    "#.......#",
    "#.......#",
    "#########",
}};
const Glyph kRestore = {{
    "...######",
    "...######",
    "...#....#",
    "######..#",
    "######..#",
    "#....####",
    "#....#...",
    "######...",
}};
const Glyph kMinimize = {{
    "........",
    "........",
    "........",
    "........",
    "........",
    "........",
    "########",
    "########",
}};
const Glyph kHelp = {{
    ".####.",
    "##..##",
    "....##",
    "...##.",
    "..##..",
    "..##..",
    "......",
    "..##..",
}};
const Glyph kRollUp = {{
    "#########",
    "#########",
    ".........",
    "....#....",
    "...###...",
    "..#####..",
    ".###.###.",
    "###...###",
}};
const Glyph kSmallClose = {{
    "##...##",
    "###.###",
    ".#####.",
    "..###..",
    ".#####.",
    "###.###",
    "##...##",
}};
const Glyph kSmallRestore = {{
    "..#####",
    "..#####",
    "..#...#",
    "#####.#",
    "#####.#",
    "#...###",
    "#####..",
}};
const Glyph kSmallMinimize = {{
    ".......",
    ".......",
    ".......",
    ".......",
    ".......",
    "######.",
    "######.",
}};
const Glyph kArrowUp = {{
    "...#...",
    "..###..",
    ".#####.",
    "#######",
}};
const Glyph kArrowDown = {{
    "#######",
    ".#####.",
    "..###..",
    "...#...",
}};
const Glyph kArrowLeft = {{
    "...#",
    "..##",
    ".###",
    "####",
    ".###",
    "..##",
    "...#",
}};
const Glyph kArrowRight = {{
    "#...",
    "##..",
    "###.",
    "####",
    "###.",
    "##..",
    "#...",
}};
const Glyph kCheckMark = {{
    "......#",
    ".....##",
    "#...###",
    "##.###.",
    "#####..",
    ".###...",
    "..#....",
}};
const Glyph kRadioDot = {{
    ".###.",
    "#####",
    "#####",
    "#####",
    ".###.",
}};
const Glyph kSizeGrip = {{
    ".........#.",
    "........#+.",
    ".......#+..",
    "......#+.#.",
    ".....#+.#+.",
    "....#+.#+..",
    "...#+.#+.#.",
    "..#+.#+.#+.",
    ".#+.#+.#+..",
    "...........",
}};

// ---------------------------------------------------------------------------------------
// Shared surfaces.

// A rounded face in r: gradient, outline ring, highlight ring (top half light, bottom
// half slightly darker), the rest of the canvas inside r untouched and outside the
// corners magenta.
void DrawFace(Canvas& c, const Rect& r, int radius, const Face& f, bool sunken = false) {
  const Rect p = c.Pixels(r);
  for (int y = p.y; y < p.Bottom(); ++y) {
    int t = p.h <= 1 ? 0 : (y - p.y) * 256 / (p.h - 1);
    Colour body = GradientAt({{0, f.top}, {256, f.bottom}}, t);
    for (int x = p.x; x < p.Right(); ++x) {
      int ring = c.Ring(r, radius, kAll, x, y);
      if (ring == -2) {
        c.SetPixel(x, y, kMagenta);
      } else if (ring == 0) {
        c.SetPixel(x, y, f.outline);
      } else if (ring == 1) {
        bool upper = (y - p.y) < p.h / 2;
        if (sunken)
          c.SetPixel(x, y, upper ? Mix(body, f.outline, 90) : body);
        else
          c.SetPixel(x, y, upper ? f.light : Mix(body, f.outline, 40));
      } else {
        c.SetPixel(x, y, body);
      }
    }
  }
}

// A convex face whose shape is given by a predicate on device pixels (track-bar thumbs):
// gradient along the given axis, a one-unit outline on the shape's boundary, a one-unit
// highlight next to it on the top and left.
void DrawShape(Canvas& c, const std::function<bool(int, int)>& inside, const Face& f,
               bool horizontal_gradient) {
  const int w = c.PixelWidth(), h = c.PixelHeight(), d = c.GetScale().factor;
  auto in = [&](int x, int y) { return x >= 0 && y >= 0 && x < w && y < h && inside(x, y); };
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      if (!in(x, y)) {
        c.SetPixel(x, y, kMagenta);
        continue;
      }
      int t = horizontal_gradient ? x * 256 / std::max(1, w - 1) : y * 256 / std::max(1, h - 1);
      Colour body = GradientAt({{0, f.top}, {256, f.bottom}}, t);
      bool edge = !in(x - d, y) || !in(x + d, y) || !in(x, y - d) || !in(x, y + d);
      bool lit = !in(x - 2 * d, y) || !in(x, y - 2 * d);
      c.SetPixel(x, y, edge ? f.outline : lit ? f.light : body);
    }
}

// ---------------------------------------------------------------------------------------
// Frame.

struct FrameColours {
  Colour top, mid, bottom, highlight, outline, face, light, inner;
};

FrameColours FrameFor(const Theme& t, bool active) {
  if (active)
    return {t.title_top, t.title_mid,   t.title_bottom, t.title_highlight,
            t.outline,   t.border_face, t.border_light, t.inner_line};
  Colour mid = Mix(t.title_top_inactive, t.title_bottom_inactive, 128);
  return {t.title_top_inactive,    mid,
          t.title_bottom_inactive, t.title_highlight_inactive,
          t.outline_inactive,      t.border_face_inactive,
          t.border_light_inactive, t.inner_line_inactive};
}

// The colour of the title gradient on device row y at scale d (before the caption's
// furniture).
Colour TitleRow(const Theme& t, const FrameColours& k, int y, int d) {
  int tt = y * 256 / std::max(1, t.title_height * d - 1);
  // A soft sheen: light at the top, a slight step below the middle, darker at the foot.
  return GradientAt({{0, k.top}, {118, k.mid}, {132, Shade(k.mid, -9)}, {256, k.bottom}}, tt);
}

constexpr uint32_t kBrushSeed = 0x5eed;

// The brushed title gradient over the title rows of c, the whole width.
void PaintTitle(Canvas& c, const Theme& t, const FrameColours& k) {
  const int d = c.GetScale().factor;
  for (int y = 0; y < t.title_height * d; ++y) {
    const Colour row = TitleRow(t, k, y, d);
    for (int x = 0; x < c.PixelWidth(); ++x) c.SetPixel(x, y, row);
  }
  c.BrushRows({0, 0, c.Width(), t.title_height}, t.brush, kBrushSeed);
}

// A whole window frame of w x h (client area included, left unpainted), from which the
// four strips are cut, so that they meet without seams.
Canvas RenderFrame(const Theme& t, Scale sc, int w, int h, bool active) {
  const FrameColours k = FrameFor(t, active);
  const int T = t.title_height, B = t.border, R = t.corner_radius, d = sc.factor;
  Canvas c(sc, w, h, k.face);
  PaintTitle(c, t, k);

  // Sides and bottom below the title: highlight, face, inner line; the right and bottom
  // edges carry a shadow instead of the highlight.
  Colour edge_shadow = Mix(k.face, k.inner, 110);
  for (int y = T; y < h; ++y) {
    c.Set(1, y, k.light);
    c.Set(w - 2, y, edge_shadow);
    c.Set(B - 1, y, k.inner);
    c.Set(w - B, y, k.inner);
  }
  c.HLine(1, w - 2, h - 2, edge_shadow);
  c.HLine(B - 1, w - B, h - B, k.inner);
  c.Set(1, h - 2, k.light);
  // The title's lower edge continues the inner line round the client area.
  c.HLine(B - 1, w - B, T - 1, k.inner);
  if (B > 2) {
    for (int unit : {B - 1, w - B})
      for (int y = (T - 1) * d; y < T * d; ++y)
        for (int x = unit * d; x < (unit + 1) * d; ++x)
          c.SetPixel(x, y, Mix(TitleRow(t, k, y, d), k.inner, 128));
  }

  // Title edges: highlight on the top row and the left column, shade on the right.
  Rect whole{0, 0, w, h};
  for (int y = 0; y < (T - 1) * d; ++y)
    for (int x = 0; x < w * d; ++x) {
      int ring = c.Ring(whole, R, kTop, x, y);
      if (ring != 1) continue;
      const Colour here = c.Pixel(x, y);
      if (c.Unit(x) >= w - R || (c.Unit(x) == w - 2 && y >= R * d))
        c.SetPixel(x, y, y < R * d ? Mix(k.highlight, here, 128) : Shade(here, -16));
      else
        c.SetPixel(x, y, k.highlight);
    }
  c.RoundOutline(whole, R, kTop, k.outline);
  c.CutCorners(whole, R, kTop);
  return c;
}

// The caption text plate: two frames stacked (active, inactive), each width x title
// height; a recessed, slightly darker band with rounded ends, magenta around it.
Canvas RenderTextPlate(const Theme& t, Scale sc, int ends) {
  const int T = t.title_height, width = 2 * ends + 4;
  std::vector<Canvas> frames;
  for (bool active : {true, false}) {
    const FrameColours k = FrameFor(t, active);
    Canvas f(sc, width, T);
    Rect plate{0, 4, width, T - 8};
    Canvas title(sc, width, T);
    PaintTitle(title, t, k);
    const Rect p = f.Pixels(plate);
    for (int y = p.y; y < p.Bottom(); ++y)
      for (int x = p.x; x < p.Right(); ++x) {
        int ring = f.Ring(plate, 3, kAll, x, y);
        if (ring == -2) continue;
        Colour base = Shade(title.Pixel(x, y), t.plate_shade);
        if (ring == 0) {
          bool upper = y < p.y + p.h / 2;
          base = upper ? Mix(base, k.outline, 110) : Mix(base, k.highlight, 150);
        } else if (ring == 1 && f.Unit(y) == plate.y + 1) {
          base = Mix(base, k.outline, 40);
        }
        f.SetPixel(x, y, base);
      }
    frames.push_back(f);
  }
  return Stacked(frames);
}

// ---------------------------------------------------------------------------------------
// Caption buttons.

enum class CaptionKind { kPlain, kClose };

// Frames: 1 normal, 2 pressed, 3 hot, 4 inactive window.
Canvas RenderCaptionButton(const Theme& t, Scale sc, const Glyph& g, CaptionKind kind, int w,
                           int h) {
  const Face* faces[4] = {&t.caption_normal, &t.caption_pressed, &t.caption_hot,
                          &t.caption_inactive};
  if (kind == CaptionKind::kClose) {
    faces[1] = &t.close_pressed;
    faces[2] = &t.close_hot;
  }
  std::vector<Canvas> frames;
  for (int i = 0; i < 4; ++i) {
    const Face& f = *faces[i];
    Canvas c(sc, w, h);
    DrawFace(c, {0, 0, w, h}, t.caption_radius, f, i == 1);
    int shift = i == 1 ? 1 : 0;
    bool engrave = t.engrave && f.glyph.r < 128 && i != 1;
    DrawGlyphCentred(c, g, {0, 0, w, h}, f.glyph, f.glyph, engrave ? &t.engrave_colour : nullptr,
                     shift, shift);
    frames.push_back(c);
  }
  return SideBySide(frames);
}

// The three buttons of a maximized MDI child, four frames each (normal, pressed, unused,
// hot), in the order minimize, restore, close.
Canvas RenderMdiButtons(const Theme& t, Scale sc) {
  const int w = 16, h = 14;
  std::vector<Canvas> frames;
  for (const Glyph* g : {&kSmallMinimize, &kSmallRestore, &kSmallClose}) {
    const Face* faces[4] = {&t.caption_normal, &t.caption_pressed, &t.caption_normal,
                            &t.caption_hot};
    if (g == &kSmallClose) faces[1] = &t.close_pressed, faces[3] = &t.close_hot;
    for (int i = 0; i < 4; ++i) {
      Canvas c(sc, w, h);
      DrawFace(c, {0, 0, w, h}, 2, *faces[i], i == 1);
      int shift = i == 1 ? 1 : 0;
      DrawGlyphCentred(c, *g, {0, 0, w, h}, faces[i]->glyph, faces[i]->glyph, nullptr, shift,
                       shift);
      frames.push_back(c);
    }
  }
  return SideBySide(frames);
}

// ---------------------------------------------------------------------------------------
// Controls.

// Push buttons: 1 normal, 2 pressed, 3 disabled, 4 hot or focused, 5 default (unused).
Canvas RenderPushButton(const Theme& t, Scale sc) {
  const int s = 24;
  Face hot = t.button_hot;
  Face def = t.button_normal;
  def.outline = t.focus;
  std::vector<Canvas> frames;
  const Face* faces[] = {&t.button_normal, &t.button_pressed, &t.button_disabled, &hot, &def};
  for (const Face* f : faces) {
    Canvas c(sc, s, s);
    DrawFace(c, {0, 0, s, s}, 2, *f, f == &t.button_pressed);
    if (f == &hot) c.RoundOutline({1, 1, s - 2, s - 2}, 1, kAll, Mix(t.focus, hot.light, 140));
    frames.push_back(c);
  }
  return SideBySide(frames);
}

// Check boxes and radio buttons: 1 off, 2 on, 3 off disabled, 4 on disabled.
Canvas RenderCheck(const Theme& t, Scale sc, bool radio) {
  const int s = 13;
  std::vector<Canvas> frames;
  for (int i = 0; i < 4; ++i) {
    bool on = i == 1 || i == 3, disabled = i >= 2;
    Face f;
    f.top = disabled ? t.face : Mix(t.window, t.track, 60);
    f.bottom = disabled ? t.face : t.window;
    // On a dark face the box is outlined in a light grey, on a light face in a dark one.
    Colour edge = t.text.r > 128 ? Mix(t.face, t.text, 100) : t.dark_shadow;
    f.outline = disabled ? Mix(edge, t.face, 128) : edge;
    f.light = disabled ? t.face : Mix(t.window, t.shadow, 70);
    Canvas c(sc, s, s);
    DrawFace(c, {0, 0, s, s}, radio ? 6 : 2, f, true);
    Colour ink = disabled ? t.shadow : t.accent_bottom;
    if (on) DrawGlyphCentred(c, radio ? kRadioDot : kCheckMark, {0, 0, s, s}, ink, ink);
    frames.push_back(c);
  }
  return SideBySide(frames);
}

Face TrackFace(const Theme& t) {
  return {Mix(t.track, t.dark_shadow, 40), Mix(t.track, t.window, 60), t.shadow,
          Mix(t.track, t.dark_shadow, 60), t.text};
}

Face AccentFace(const Theme& t) {
  return {t.accent_top, t.accent_bottom, Mix(t.accent_bottom, t.dark_shadow, 120),
          Mix(t.accent_top, {255, 255, 255}, 120), t.accent_text};
}

// Progress: 1 trough, 2 filled part; and the chunk of the chunk style.
Canvas RenderProgress(const Theme& t, Scale sc) {
  Canvas trough(sc, 16, 16), fill(sc, 16, 16);
  DrawFace(trough, {0, 0, 16, 16}, 2, TrackFace(t), true);
  DrawFace(fill, {0, 0, 16, 16}, 2, AccentFace(t));
  return SideBySide({trough, fill});
}

Canvas RenderChunk(const Theme& t, Scale sc) {
  Canvas c(sc, 8, 10);
  DrawFace(c, {0, 0, 6, 10}, 1, AccentFace(t));
  return c;  // the two columns on the right stay magenta: gaps between chunks
}

// Group box edge: 1 normal, 2 disabled; an etched line, transparent inside.
Canvas RenderGroupBox(const Theme& t, Scale sc) {
  std::vector<Canvas> frames;
  for (bool enabled : {true, false}) {
    Canvas c(sc, 16, 16);
    Colour dark = enabled ? t.shadow : Mix(t.shadow, t.face, 128);
    Colour lite = Mix(t.face, {255, 255, 255}, enabled ? 160 : 80);
    // Etched: a light ring offset by one pixel under the dark one.
    c.RoundOutline({1, 1, 15, 15}, 3, kAll, lite);
    c.RoundOutline({0, 0, 15, 15}, 3, kAll, dark);
    frames.push_back(c);
  }
  return SideBySide(frames);
}

// Toolbar buttons: 1 normal (flat), 2 pressed, 3 disabled (flat), 4 hot, 5 checked.
Canvas RenderToolbar(const Theme& t, Scale sc) {
  const int s = 22;
  std::vector<Canvas> frames;
  for (int i = 0; i < 5; ++i) {
    Canvas c(sc, s, s, t.face);
    if (i == 1) DrawFace(c, {0, 0, s, s}, 2, t.button_pressed, true);
    if (i == 3) DrawFace(c, {0, 0, s, s}, 2, t.button_hot);
    if (i == 4) {
      Face f = t.button_pressed;
      f.top = Mix(f.top, t.window, 140);
      f.bottom = Mix(f.bottom, t.window, 140);
      DrawFace(c, {0, 0, s, s}, 2, f, true);
    }
    if (i == 0 || i == 2) c.Fill(t.face);
    frames.push_back(c);
  }
  return SideBySide(frames);
}

// Tabs: 1 normal, 2 focused or selected, 3 hot, 4 disabled, 5 normal; rounded top corners.
Canvas RenderTabs(const Theme& t, Scale sc) {
  const int w = 24, h = 22;
  std::vector<Canvas> frames;
  Face selected = t.button_hot;
  selected.top = t.window;
  selected.bottom = t.face;
  selected.outline = t.shadow;
  Face normal = t.button_normal;
  normal.bottom = Mix(normal.bottom, t.shadow, 40);
  normal.outline = t.shadow;
  Face hot = t.button_hot;
  hot.outline = t.shadow;
  const Face* faces[] = {&normal, &selected, &hot, &t.button_disabled, &normal};
  for (const Face* f : faces) {
    Canvas c(sc, w, h);
    // Drawn taller than the frame so that the bottom ring falls off the edge: tabs are
    // open towards the page.
    Canvas tall(sc, w, h + 2);
    DrawFace(tall, {0, 0, w, h + 2}, 3, *f);
    c.Blit(tall, {0, 0, w, h}, 0, 0);
    if (f != &selected) c.HLine(0, w - 1, h - 1, t.shadow);
    // Only the top corners are rounded.
    const Rect foot = c.Pixels({0, h - 4, w, 4});
    for (int y = foot.y; y < foot.Bottom(); ++y)
      for (int x = foot.x; x < foot.Right(); ++x)
        if (c.Pixel(x, y) == kMagenta)
          c.SetPixel(x, y, (c.Unit(x) == 0 || c.Unit(x) == w - 1) ? t.shadow : f->bottom);
    frames.push_back(c);
  }
  return SideBySide(frames);
}

// The page border around a tab control's page (one frame, margins 4, 5, 4, 4).
Canvas RenderTabBorder(const Theme& t, Scale sc) {
  Canvas c(sc, 16, 16, t.face);
  c.FrameRect({0, 0, 16, 16}, t.shadow);
  c.Bevel({1, 1, 14, 14}, Mix(t.face, t.window, 160), Mix(t.face, t.shadow, 90));
  return c;
}

// Status bar panels: 1 lowered, 2 raised, 3 no bevel.
Canvas RenderStatusEdges(const Theme& t, Scale sc) {
  const int s = 12;
  Colour lite = Mix(t.face, t.window, 180), dark = t.shadow;
  Canvas lowered(sc, s, s, t.face), raised(sc, s, s, t.face), flat(sc, s, s, t.face);
  lowered.Bevel({0, 0, s, s}, dark, lite);
  raised.Bevel({0, 0, s, s}, lite, dark);
  return SideBySide({lowered, raised, flat});
}

// Sunken frame of a combo box: 1 normal, 2 pressed, 3 disabled, 4 hot or focused.
Canvas RenderSunkEdge(const Theme& t, Scale sc) {
  const int s = 16;
  std::vector<Canvas> frames;
  for (int i = 0; i < 4; ++i) {
    Colour outline = i == 3 ? t.focus : i == 2 ? Mix(t.shadow, t.face, 128) : t.shadow;
    Colour fill = i == 2 ? t.face : t.window;
    Canvas c(sc, s, s, fill);
    c.FrameRect({0, 0, s, s}, outline);
    c.HLine(1, s - 2, 1, Mix(fill, t.shadow, 70));
    c.VLine(1, 1, s - 2, Mix(fill, t.shadow, 70));
    frames.push_back(c);
  }
  return SideBySide(frames);
}

// Drop-down button of a combo box: 1 normal, 2 pressed, 3 disabled, 4 hot; inset by one
// transparent pixel so the sunken frame stays visible around it.
Canvas RenderComboButton(const Theme& t, Scale sc) {
  const int w = 17, h = 20;
  std::vector<Canvas> frames;
  for (const Face* f : {&t.button_normal, &t.button_pressed, &t.button_disabled, &t.button_hot}) {
    Canvas c(sc, w, h);
    DrawFace(c, {1, 1, w - 2, h - 2}, 2, *f, f == &t.button_pressed);
    frames.push_back(c);
  }
  return SideBySide(frames);
}

// Arrow glyphs for combo buttons (1 normal, 2 pressed, 3 disabled, 4 hot) and the status
// bar's size grip (5).
Canvas RenderExtraImages(const Theme& t, Scale sc) {
  const int s = 12;
  std::vector<Canvas> frames;
  Colour inks[4] = {
      t.button_normal.glyph.r || t.button_normal.glyph.g ? t.button_normal.glyph : t.dark_shadow,
      t.dark_shadow, t.button_disabled.glyph, t.focus};
  if (t.text.r > 128) inks[0] = inks[1] = t.text;
  for (int i = 0; i < 4; ++i) {
    Canvas c(sc, s, s);
    int shift = i == 1 ? 1 : 0;
    DrawGlyphCentred(c, kArrowDown, {0, 0, s, s}, inks[i], inks[i], nullptr, shift, shift);
    frames.push_back(c);
  }
  Canvas grip(sc, s, s);
  DrawGlyph(grip, kSizeGrip, s - kSizeGrip.Width(), s - kSizeGrip.Height(), t.shadow,
            Mix(t.face, {255, 255, 255}, 180));
  frames.push_back(grip);
  return SideBySide(frames);
}

// Header items: 1 normal, 2 pressed, 3 hot, 4 and 5 normal.
Canvas RenderHeader(const Theme& t, Scale sc) {
  const int s = 20;
  std::vector<Canvas> frames;
  for (int i = 0; i < 5; ++i) {
    const Face& f = i == 1 ? t.button_pressed : i == 2 ? t.button_hot : t.button_normal;
    Canvas c(sc, s, s);
    c.VGradient({0, 0, s, s}, {{0, f.top}, {256, f.bottom}});
    c.HLine(0, s - 1, 0, f.light);
    c.HLine(0, s - 1, s - 1, t.shadow);
    c.VLine(s - 1, 2, s - 3, t.shadow);
    c.VLine(0, 2, s - 3, f.light);
    frames.push_back(c);
  }
  return SideBySide(frames);
}

// Menu item faces: 1 normal (transparent, the popup background shows), 2 separator,
// 3 unused, 4 selected, 5 unused.
Canvas RenderMenuItem(const Theme& t, Scale sc) {
  const int w = 24, h = 18;
  Canvas plain(sc, w, h);
  Canvas separator(sc, w, h);
  separator.HLine(3, w - 4, 13, Mix(t.menu, t.shadow, 170));
  separator.HLine(3, w - 4, 14, Mix(t.menu, {255, 255, 255}, 200));
  Canvas selected(sc, w, h);
  DrawFace(selected, {1, 0, w - 2, h}, 2, AccentFace(t));
  return SideBySide({plain, separator, plain, selected, plain});
}

// Popup menu frame: a three-pixel ring (outline, highlight, menu colour) around the
// menu's face.
Canvas RenderMenuBackground(const Theme& t, Scale sc) {
  const int s = 32;
  Canvas c(sc, s, s, t.menu);
  c.FrameRect({0, 0, s, s}, t.dark_shadow);
  c.Bevel({1, 1, s - 2, s - 2}, Mix(t.menu, {255, 255, 255}, 180), Mix(t.menu, t.shadow, 100));
  return c;
}

// Menu bar: two frames stacked (active, inactive); uniform columns, so the middle tiles
// without seams.
Canvas RenderMenuBar(const Theme& t, Scale sc) {
  const int w = 32, h = 20;
  std::vector<Canvas> frames;
  for (bool active : {true, false}) {
    Colour top = active ? Mix(t.face, t.window, 90) : t.face;
    Colour bottom = active ? Mix(t.face, t.shadow, 50) : Mix(t.face, t.shadow, 20);
    Canvas c(sc, w, h);
    c.VGradient({0, 0, w, h}, {{0, top}, {256, bottom}});
    c.HLine(0, w - 1, 0, Mix(top, t.window, 160));
    c.HLine(0, w - 1, h - 1, Mix(t.face, t.shadow, 170));
    frames.push_back(c);
  }
  return Stacked(frames);
}

// Scroll bar arrows and parts, 23 frames of 16 x 16:
//   1-4 left arrow, 5-8 right arrow, 9-12 up arrow, 13-16 down arrow, each group normal,
//   pressed, hot, disabled; 17, 18 horizontal thumb normal and pressed; 19, 20 vertical
//   thumb normal and pressed; 21 size box; 22 horizontal shaft; 23 vertical shaft.
Canvas RenderScrollbar(const Theme& t, Scale sc, const Canvas& hthumb, const Canvas& vthumb,
                       const Canvas& hshaft, const Canvas& vshaft) {
  const int s = 16;
  std::vector<Canvas> frames;
  Colour ink = t.text.r > 128 ? t.text : t.dark_shadow;
  for (const Glyph* g : {&kArrowLeft, &kArrowRight, &kArrowUp, &kArrowDown}) {
    const Face* faces[4] = {&t.button_normal, &t.button_pressed, &t.button_hot, &t.button_disabled};
    for (int i = 0; i < 4; ++i) {
      Canvas c(sc, s, s);
      DrawFace(c, {0, 0, s, s}, 2, *faces[i], i == 1);
      Colour gi = i == 3 ? t.button_disabled.glyph : ink;
      int shift = i == 1 ? 1 : 0;
      DrawGlyphCentred(c, *g, {0, 0, s, s}, gi, gi, nullptr, shift, shift);
      frames.push_back(c);
    }
  }
  frames.push_back(hthumb.Crop({0, 0, s, s}));
  frames.push_back(hthumb.Crop({s, 0, s, s}));
  frames.push_back(vthumb.Crop({0, 0, s, s}));
  frames.push_back(vthumb.Crop({s, 0, s, s}));
  frames.push_back(Canvas(sc, s, s, t.face));
  frames.push_back(hshaft.Crop({0, 0, s, s}));
  frames.push_back(vshaft.Crop({0, 0, s, s}));
  return SideBySide(frames);
}

// Shafts: 4 frames (normal, pressed, hot, disabled), a recessed groove.
Canvas RenderShaft(const Theme& t, Scale sc, bool vertical) {
  const int s = 16;
  std::vector<Canvas> frames;
  for (int i = 0; i < 4; ++i) {
    Colour base = i == 1 ? Mix(t.track, t.shadow, 60) : i == 3 ? t.face : t.track;
    Canvas c(sc, s, s, base);
    Colour dark = Mix(base, t.shadow, 120), lite = Mix(base, t.window, 120);
    if (vertical) {
      c.HGradient({0, 0, s, s}, {{0, Mix(base, t.shadow, 50)}, {128, base}, {256, base}});
      c.VLine(0, 0, s - 1, dark);
      c.VLine(s - 1, 0, s - 1, lite);
    } else {
      c.VGradient({0, 0, s, s}, {{0, Mix(base, t.shadow, 50)}, {128, base}, {256, base}});
      c.HLine(0, s - 1, 0, dark);
      c.HLine(0, s - 1, s - 1, lite);
    }
    frames.push_back(c);
  }
  return SideBySide(frames);
}

// Thumbs: 3 frames (normal, pressed or dragged, hot); rounded ends inside the fixed
// margins, a gradient across the bar so the middle stretches cleanly.
Canvas RenderThumb(const Theme& t, Scale sc, bool vertical) {
  const int s = 16;
  std::vector<Canvas> frames;
  for (const Face* f : {&t.button_normal, &t.button_pressed, &t.button_hot}) {
    Canvas c(sc, s, s);
    if (vertical) {
      Canvas turned(sc, s, s);
      DrawFace(turned, {1, 0, s - 2, s}, 3, *f, f == &t.button_pressed);
      // A horizontal thumb turned a quarter, with the light kept on the left.
      c = turned.RotatedClockwise().FlippedHorizontally();
    } else {
      DrawFace(c, {0, 1, s, s - 2}, 3, *f, f == &t.button_pressed);
    }
    frames.push_back(c);
  }
  return SideBySide(frames);
}

// Track-bar thumbs, 5 frames each: 1 normal, 2 the face the skinner draws, 3 pressed,
// 4 hot, 5 disabled. `point` is the side the pointer faces: 0 none, 1 down, 2 up,
// 3 left, 4 right.
Canvas RenderTrackThumb(const Theme& t, Scale sc, int w, int h, int point) {
  std::vector<Canvas> frames;
  for (const Face* f :
       {&t.button_normal, &t.button_normal, &t.button_pressed, &t.button_hot, &t.button_disabled}) {
    Canvas c(sc, w, h);
    // In device pixels: the pointer's edges run at 45 degrees whatever the scale.
    const int d = sc.factor, W = w * d, H = h * d;
    auto inside = [&](int x, int y) {
      const int p = 5 * d;  // length of the pointer
      switch (point) {
        case 1:
          return y < H - p || std::abs(2 * x - (W - 1)) <= 2 * (H - 1 - y) + 1;
        case 2:
          return y >= p || std::abs(2 * x - (W - 1)) <= 2 * y + 1;
        case 3:
          return x >= p || std::abs(2 * y - (H - 1)) <= 2 * x + 1;
        case 4:
          return x < W - p || std::abs(2 * y - (H - 1)) <= 2 * (W - 1 - x) + 1;
        default: {
          bool corner = (x < d || x >= W - d) && (y < d || y >= H - d);
          return !corner;
        }
      }
    };
    DrawShape(c, inside, *f, w > h);
    frames.push_back(c);
  }
  return SideBySide(frames);
}

// Up-down buttons: 8 frames (first button normal, pressed, disabled, hot; then the
// second button), and the glyph strip with the same frame order.
Canvas RenderUpDown(const Theme& t, Scale sc, bool horizontal) {
  const int w = horizontal ? 10 : 16, h = horizontal ? 16 : 10;
  std::vector<Canvas> frames;
  for (int b = 0; b < 2; ++b)
    for (const Face* f : {&t.button_normal, &t.button_pressed, &t.button_disabled, &t.button_hot}) {
      Canvas c(sc, w, h);
      DrawFace(c, {0, 0, w, h}, 1, *f, f == &t.button_pressed);
      frames.push_back(c);
    }
  return SideBySide(frames);
}

Canvas RenderUpDownGlyphs(const Theme& t, Scale sc, bool horizontal) {
  const Glyph& first = horizontal ? kArrowLeft : kArrowUp;
  const Glyph& second = horizontal ? kArrowRight : kArrowDown;
  Colour ink = t.text.r > 128 ? t.text : t.dark_shadow;
  Colour inks[4] = {ink, ink, t.button_disabled.glyph, t.focus};
  std::vector<Canvas> frames;
  for (const Glyph* g : {&first, &second})
    for (int i = 0; i < 4; ++i) {
      Canvas c(sc, g->Width(), g->Height());
      DrawGlyph(c, *g, 0, 0, inks[i], inks[i]);
      frames.push_back(c);
    }
  return SideBySide(frames);
}

}  // namespace

std::vector<SkinImage> RenderSkin(const Theme& t, Scale sc) {
  std::vector<SkinImage> out;
  const int B = t.border, T = t.title_height;
  const int w = 2 * B + kStripLength, h = T + kSideMiddle + B;

  // Frame strips: the sides hold their frames side by side, top and bottom stacked.
  Canvas active = RenderFrame(t, sc, w, h, true), inactive = RenderFrame(t, sc, w, h, false);
  auto sides = [&](Rect r) { return SideBySide({active.Crop(r), inactive.Crop(r)}); };
  auto rows = [&](Rect r) { return Stacked({active.Crop(r), inactive.Crop(r)}); };
  out.push_back({"left.bmp", sides({0, 0, B, h})});
  out.push_back({"right.bmp", sides({w - B, 0, B, h})});
  out.push_back({"top.bmp", rows({B, 0, kStripLength, T})});
  out.push_back({"bottom.bmp", rows({B, h - B, kStripLength, B})});
  out.push_back({"textback.bmp", RenderTextPlate(t, sc, 6)});
  out.push_back({"menubar.bmp", RenderMenuBar(t, sc)});

  const int cw = t.caption_w, ch = t.caption_h;
  out.push_back({"close.bmp", RenderCaptionButton(t, sc, kClose, CaptionKind::kClose, cw, ch)});
  out.push_back(
      {"maximize.bmp", RenderCaptionButton(t, sc, kMaximize, CaptionKind::kPlain, cw, ch)});
  out.push_back({"restore.bmp", RenderCaptionButton(t, sc, kRestore, CaptionKind::kPlain, cw, ch)});
  out.push_back(
      {"minimize.bmp", RenderCaptionButton(t, sc, kMinimize, CaptionKind::kPlain, cw, ch)});
  out.push_back({"help.bmp", RenderCaptionButton(t, sc, kHelp, CaptionKind::kPlain, cw, ch)});
  out.push_back({"rollup.bmp", RenderCaptionButton(t, sc, kRollUp, CaptionKind::kPlain, cw, ch)});
  out.push_back({"mdicontrols.bmp", RenderMdiButtons(t, sc)});

  out.push_back({"button.bmp", RenderPushButton(t, sc)});
  out.push_back({"check.bmp", RenderCheck(t, sc, false)});
  out.push_back({"radio.bmp", RenderCheck(t, sc, true)});
  out.push_back({"progress.bmp", RenderProgress(t, sc)});
  out.push_back({"chunk.bmp", RenderChunk(t, sc)});
  out.push_back({"groupbox.bmp", RenderGroupBox(t, sc)});
  out.push_back({"toolbar.bmp", RenderToolbar(t, sc)});
  out.push_back({"tabs.bmp", RenderTabs(t, sc)});
  out.push_back({"tabborder.bmp", RenderTabBorder(t, sc)});
  out.push_back({"statusbar.bmp", RenderStatusEdges(t, sc)});
  out.push_back({"combobutton.bmp", RenderComboButton(t, sc)});
  out.push_back({"sunkedge.bmp", RenderSunkEdge(t, sc)});
  out.push_back({"extra.bmp", RenderExtraImages(t, sc)});
  out.push_back({"header.bmp", RenderHeader(t, sc)});
  out.push_back({"menuitem.bmp", RenderMenuItem(t, sc)});
  out.push_back({"menuback.bmp", RenderMenuBackground(t, sc)});

  Canvas hthumb = RenderThumb(t, sc, false), vthumb = RenderThumb(t, sc, true);
  Canvas hshaft = RenderShaft(t, sc, false), vshaft = RenderShaft(t, sc, true);
  out.push_back({"scrollbar.bmp", RenderScrollbar(t, sc, hthumb, vthumb, hshaft, vshaft)});
  out.push_back({"hscroll.bmp", hshaft});
  out.push_back({"vscroll.bmp", vshaft});
  out.push_back({"hthumb.bmp", hthumb});
  out.push_back({"vthumb.bmp", vthumb});

  out.push_back({"track_horz.bmp", RenderTrackThumb(t, sc, 11, 21, 0)});
  out.push_back({"track_vert.bmp", RenderTrackThumb(t, sc, 21, 11, 0)});
  out.push_back({"track_left.bmp", RenderTrackThumb(t, sc, 21, 11, 3)});
  out.push_back({"track_right.bmp", RenderTrackThumb(t, sc, 21, 11, 4)});
  out.push_back({"track_up.bmp", RenderTrackThumb(t, sc, 11, 21, 2)});
  out.push_back({"track_down.bmp", RenderTrackThumb(t, sc, 11, 21, 1)});

  out.push_back({"updown_horz.bmp", RenderUpDown(t, sc, true)});
  out.push_back({"updown_horz_glyph.bmp", RenderUpDownGlyphs(t, sc, true)});
  out.push_back({"updown_vert.bmp", RenderUpDown(t, sc, false)});
  out.push_back({"updown_vert_glyph.bmp", RenderUpDownGlyphs(t, sc, false)});
  if (sc.factor > 1) {
    const std::string suffix = "@" + std::to_string(96 * sc.factor) + ".bmp";
    for (SkinImage& image : out) image.file.replace(image.file.size() - 4, 4, suffix);
  }
  return out;
}

}  // namespace skingen
