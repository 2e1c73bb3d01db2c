#pragma once
// The whole native composition of a skinned window from one skin definition, as the
// Windows side paints it: the frame metrics, the four border pieces, the title bar with its
// caption text background and caption buttons, the window region's opaque runs, the hit
// tests, the sizes the frame asks for, and every element slot composed at the sizes and
// frames its skinner draws (nine-slice, three-slice, whole frame, tiled and stretched,
// keyed copies and masks). Used by the paint fuzzer and the hostile-skin tests; it must
// finish, within bounded memory, for any definition.
#include <cstdint>

#include "skin/data/skin_definition.h"

namespace stress {

struct WindowShape {
  int width = 0, height = 0;  // the window rectangle's size (may be 0 or negative)
  bool active = true;
  bool maximized = false;
  bool right_to_left = false;
  bool popup = false;
  bool frameless = false;
  bool menu_bar = false;
  int caption_length = 12;
};

struct PaintTotals {
  int64_t pixels = 0;       // pixels of all composed bitmaps
  int64_t region_runs = 0;  // opaque runs of the region edges
  int visible_buttons = 0;  // caption buttons laid out
  uint32_t checksum = 0;    // of the composed pixels, so nothing is optimised away
};

PaintTotals PaintWholeWindow(const skin::SkinDefinition& skin, const WindowShape& shape);

}  // namespace stress
