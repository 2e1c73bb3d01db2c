#pragma once
// Geometry of the progress, track bar and up-down skinners, as pure functions: how much of
// a progress bar is filled and where its chunks go, which thumb picture a track bar gets
// and how its custom-draw notifications are answered, and the two halves of an up-down
// with the state each shows.
#include <cstdint>
#include <utility>
#include <vector>

#include "skin/manager/element_compose.h"

namespace skin {

// ---- progress bars ----

// The filled length of a bar `length` pixels long at `pos` in [low, high]: (pos - low) x
// length / (high - low), computed without overflow and kept inside 0..length. 0 when the
// range is empty or the position is at or below its start.
int ProgressFillLength(int64_t pos, int64_t low, int64_t high, int length);

// The filled part of the bar: from the left for a horizontal bar, from the bottom for a
// vertical one.
PixelRect ProgressFillRect(const PixelRect& bar, int fill_length, bool vertical);

// Chunks of chunk_width side by side over fill_width: the x offsets 0, cw, 2 cw, ...
// (fill_width / cw + 1 of them; none when either is not positive).
std::vector<int> ProgressChunkOffsets(int fill_width, int chunk_width);
// The row of chunks starts at the bar's left plus the element's LeftWidth, vertically
// centred (truncating toward zero).
std::pair<int, int> ProgressChunkOrigin(const PixelRect& bar, int left_width, int chunk_height);

// ---- track bars ----

enum class ThumbImage : uint8_t { kNone, kHorz, kVert };
// The TrackbarThumbVert picture for a vertical bar when the skin has it, otherwise the
// TrackbarThumbHorz one when the skin has that, otherwise none (a plain rectangle).
ThumbImage ChooseThumbImage(bool vertical, bool has_vert, bool has_horz);

// The answer to a track bar's NM_CUSTOMDRAW: the result, and whether the skin draws the
// thumb now.
struct CustomDrawAnswer {
  uint32_t result = 0;
  bool draw_thumb = false;
  friend bool operator==(const CustomDrawAnswer&, const CustomDrawAnswer&) = default;
};
CustomDrawAnswer TrackBarCustomDraw(uint32_t draw_stage, uintptr_t item_spec);

// ---- up-down controls ----

// The two buttons: up and down (vertical) or left and right (horizontal), split at `half`
// (client coordinates along the layout axis).
struct UpDownLayout {
  PixelRect first, second;
  int split = 0;
  bool horizontal = false;
};
UpDownLayout LayoutUpDown(const PixelRect& client, bool horizontal);

// The state a button shows (1 normal, 2 pressed, 3 disabled, 4 hot): disabled when the
// control is; normal when the cursor coordinate along the axis is on the other button's
// side of the split; else pressed while held, hot while the cursor is over the control.
int UpDownButtonState(int button, bool enabled, bool pressed, bool hot, int cursor, int split);

// The frame of the 8-frame image: state + 4 x button (first 0, second 1).
inline int UpDownFrame(int state, int button) { return state + 4 * button; }

// A glyph frame (glyph image width / 8 wide, its full height) centred in the button.
PixelRect UpDownGlyphRect(const PixelRect& button, int glyph_image_width, int glyph_height);

// The plain arrow of a button without a glyph image: line segments (from the first point
// up to, not including, the second) for up and down, a closed path for left and right.
enum class ArrowKind : uint8_t { kUp, kDown, kLeft, kRight };
struct ArrowPoint {
  int x = 0, y = 0;
  friend bool operator==(const ArrowPoint&, const ArrowPoint&) = default;
};
struct ArrowShape {
  std::vector<std::pair<ArrowPoint, ArrowPoint>> segments;  // up and down
  std::vector<ArrowPoint> path;                             // left and right
};
// The arrow centred in the button (up and down arrows sit 2 pixels higher).
ArrowShape PlainArrow(ArrowKind kind, const PixelRect& button);

}  // namespace skin
