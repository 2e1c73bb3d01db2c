#include "skin/manager/menu_bar_layout.h"

namespace skin {

int MenuBarFirstOffset(bool has_element, int tile_left, int tile_right, bool right_to_left,
                       int bar_width) {
  if (!has_element) return 6;
  const int x0 = right_to_left ? tile_right + 8 : tile_left + 4;
  return bar_width < x0 ? 12 : x0;
}

std::vector<PixelRect> LayoutMenuBarButtons(const std::vector<int>& caption_widths, int bar_width,
                                            int bar_height, int x0, bool right_to_left) {
  std::vector<PixelRect> rects;
  rects.reserve(caption_widths.size());
  int x = right_to_left ? bar_width - x0 : x0;
  for (int w : caption_widths) {
    const int width = w > 0 ? w + 10 : w;
    if (right_to_left) {
      rects.push_back({x - width, 0, x, bar_height - 1});
      x -= width;
    } else {
      rects.push_back({x, 0, x + width, bar_height - 1});
      x += width;
    }
  }
  return rects;
}

int MenuBarNeighbour(int index, int count, bool forward) {
  if (count <= 0) return -1;
  // The bar may have shrunk under an open drop-down: from past the end the previous button
  // is the last one and the next is the first.
  if (index >= count) return forward ? 0 : count - 1;
  if (forward) return index + 1 >= count ? 0 : index + 1;
  return index <= 0 ? count - 1 : index - 1;
}

}  // namespace skin
