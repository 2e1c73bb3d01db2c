#pragma once
// The look of one skin as a table of numbers: geometry of the frame and the colours of
// every surface. The art code draws the same shapes for every theme; a new skin is a new
// row in the theme table (theme.cpp) plus its INI definition under skins/<name>/.
#include <string>
#include <vector>

#include "tools/skingen/canvas.h"

namespace skingen {

// One surface in its four looks.
struct Face {
  Colour top, bottom;  // gradient of the face
  Colour outline;      // outermost ring
  Colour light;        // highlight just inside the outline (top and left)
  Colour glyph;        // glyph ink on this face
};

struct Theme {
  std::string name;

  // Frame geometry: title-bar height, border width (left, right and bottom alike),
  // radius of the rounded top corners.
  int title_height = 26;
  int border = 4;
  int corner_radius = 6;
  // Caption buttons: size of one frame.
  int caption_w = 20;
  int caption_h = 18;
  int caption_radius = 3;
  // Height of the brushed streaks (per-row lightness jitter).
  int brush = 3;

  // Frame, active and inactive.
  Colour title_top, title_mid, title_bottom, title_highlight;
  Colour title_top_inactive, title_bottom_inactive, title_highlight_inactive;
  Colour outline, outline_inactive;
  Colour border_face, border_face_inactive;
  Colour border_light, border_light_inactive;
  Colour inner_line, inner_line_inactive;
  // Recessed plate behind the caption text (relative shading of the title gradient).
  int plate_shade = -14;

  // Caption buttons.
  Face caption_normal, caption_hot, caption_pressed, caption_inactive;
  Face close_hot, close_pressed;  // the close button warns in its own colour
  bool engrave = true;            // light shadow under dark glyphs
  Colour engrave_colour;

  // Controls.
  Face button_normal, button_hot, button_pressed, button_disabled;
  Colour focus;       // ring of a hot or focused button
  Colour accent_top;  // progress fill, selected menu item, checked marks
  Colour accent_bottom;
  Colour accent_text;  // text and glyph on the accent
  Colour face;         // ButtonFace of the scheme
  Colour shadow;       // ButtonShadow
  Colour dark_shadow;  // ButtonDkShadow
  Colour window;       // edit and list background
  Colour text;         // ButtonText / WindowText
  Colour menu, menu_text;
  Colour track;  // scroll shafts and progress troughs
};

// The theme table, in the order `skingen --list` shows it.
const std::vector<Theme>& Themes();
// The named theme or nullptr.
const Theme* FindTheme(const std::string& name);

}  // namespace skingen
