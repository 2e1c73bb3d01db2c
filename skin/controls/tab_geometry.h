#pragma once
// Geometry of the tab, tab set, header and status bar skinners, as pure functions of
// rectangles, sizes and style bits. The skinners gather the inputs from their windows and
// draw where these functions say.
#include <cstdint>
#include <vector>

#include "skin/manager/element_compose.h"

namespace skin {

// Where a tab control's tabs are.
enum class TabSide : uint8_t { kTop = 0, kBottom = 1, kLeft = 2, kRight = 3 };

// From the tab control's style: TCS_BOTTOM (2) with TCS_VERTICAL (0x80) is right,
// TCS_BOTTOM alone bottom, TCS_VERTICAL alone left, neither top.
TabSide TabSideFromStyle(uint32_t style);

// The page border rectangle: the display rectangle (TCM_ADJUSTRECT of the window
// rectangle) enlarged by 4 on every side and moved one pixel toward the strip.
PixelRect PageBorderRect(const PixelRect& display, TabSide side);

// The part of a width x height window the tab strip is drawn in, beside the border.
PixelRect TabStripArea(const PixelRect& border, int width, int height, TabSide side);

// The strip is drawn unrotated: for left and right tabs its bitmap is the strip area
// turned a quarter (width and height swapped) and rotated into place afterwards.
struct StripSize {
  int width = 0, height = 0;
  friend bool operator==(const StripSize&, const StripSize&) = default;
};
StripSize TabStripBitmapSize(const PixelRect& strip, TabSide side);

// A tab's rectangle (client coordinates) in the unrotated strip bitmap. strip_width is the
// strip bitmap's width, window_width the tab control's.
PixelRect TabItemInStrip(const PixelRect& item, const PixelRect& border, int strip_width,
                         int window_width, TabSide side);

// ---- old-style tab sets ----

// A tab of a tab set that is shown, and where.
struct TabSetSlot {
  int index = 0;
  PixelRect rect;
  friend bool operator==(const TabSetSlot&, const TabSetSlot&) = default;
};

// The room a tab needs beyond its text: 9 pixels, and 12 more while the scroll button shows.
inline constexpr int kTabSetTabPadding = 9;
inline constexpr int kTabSetScrollerRoom = 12;

// The tabs shown, from first_index on: a tab fits when width - end_margin leaves room for
// its text plus the padding after x (x starts at start_margin and grows by each shown tab);
// a tab that does not fit is left out and later ones are still tried. A first_index
// outside the tabs shows none.
std::vector<TabSetSlot> LayoutTabSet(const std::vector<int>& text_widths, int first_index,
                                     int start_margin, int end_margin, int width, int height,
                                     bool scroller_visible);

// ---- headers ----

// Alignment of a header item's text from its format: 0 left, 1 centre, 2 right
// (HDF_RIGHT 1, HDF_CENTER 2 in the low byte).
int HeaderAlignment(uint32_t format);
// The item's image index, or -1 when the format has neither HDF_IMAGE nor HDF_OWNERDRAW.
int HeaderImageIndex(uint32_t format, int image);
// The part of the header right of the last item, empty when the items reach the edge.
PixelRect HeaderRest(int items_right, const PixelRect& header);

// ---- status bars ----

// Bevels and alignments as the framework names them.
enum class PanelBevel : uint8_t { kNone = 0, kLowered = 1, kRaised = 2 };
enum class PanelAlign : uint8_t { kLeft = 0, kRight = 1, kCentre = 2 };

// The StatusBarEdges frame of a bevel: lowered 1, raised 2, none 3.
int PanelFrame(PanelBevel bevel);
// A right-to-left panel swaps left and right.
PanelAlign PanelAlignment(PanelAlign align, bool right_to_left);
// DrawText's format for the alignment: DT_LEFT 0, DT_RIGHT 2, DT_CENTER 1.
unsigned PanelTextFormat(PanelAlign align);
// The panel rectangle narrowed by 2 on the left and right for the text.
PixelRect PanelTextRect(const PixelRect& panel);
// Panel rectangles as the bar reports them, the last one reaching the bar's right edge.
std::vector<PixelRect> StatusPanelRects(std::vector<PixelRect> reported, int bar_width);
// The size grip: one frame (image width / frame count wide, image height high) whose
// bottom-right corner is one pixel inside the bar's. Empty without an image.
PixelRect SizeGripRect(int bar_width, int bar_height, int image_width, int image_height,
                       int frame_count);

}  // namespace skin
