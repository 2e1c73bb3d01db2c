#pragma once
// Geometry of the skinned menu bar as pure functions: where the first button starts, the
// button rectangles from their caption widths, and which button the arrow keys move to.
#include <vector>

#include "skin/manager/element_compose.h"

namespace skin {

// The first button's offset from the bar's leading edge: with a "menuBar" element
// TileLeftMenu + 4 (left to right) or TileRightMenu + 8 (right to left), but 12 when the
// bar is narrower than that; without the element 6.
int MenuBarFirstOffset(bool has_element, int tile_left, int tile_right, bool right_to_left,
                       int bar_width);

// Button rectangles in bar-local coordinates (top 0, bottom bar height - 1): each is its
// caption width + 10 wide (0 for an empty caption), laid out from x0 rightwards, or from
// bar width - x0 leftwards when right to left. Every button is laid out, empty or not.
std::vector<PixelRect> LayoutMenuBarButtons(const std::vector<int>& caption_widths, int bar_width,
                                            int bar_height, int x0, bool right_to_left);

// The neighbour the arrow keys move to, by position only: the previous one (from 0 to the
// last) or the next one (from the last to 0); -1 for an empty bar.
int MenuBarNeighbour(int index, int count, bool forward);

}  // namespace skin
