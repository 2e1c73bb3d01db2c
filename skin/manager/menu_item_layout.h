#pragma once
// Geometry and colour choices of skinned menu items, as pure functions: where the glyph,
// the caption and the shortcut of an item go, how much the skin widens an item, which
// pieces of the "MenuItem" image make a separator, which colour a caption takes, and the
// border ring of a popup menu window. The drawing code (menu_item_drawing.h) gathers the
// inputs and applies the results.
#include <vector>

#include "skin/data/colour_scheme.h"
#include "skin/manager/element_compose.h"

namespace skin {

// Item rectangles lie this far inside the popup window's frame image (its border ring).
inline constexpr int kPopupBorder = 3;
// Gap between the glyph box and the caption.
inline constexpr int kGlyphCaptionGap = 3;
// The shortcut column ends this far left of the caption area's right edge (or, mirrored,
// starts this far right of its left edge).
inline constexpr int kShortcutInset = 10;
// A separator's etched line runs along the top of a rectangle this far below the item top.
inline constexpr int kSeparatorLineOffset = 4;
// Frames of the "MenuItem" element: five side by side.
inline constexpr int kMenuItemFrames = 5;
inline constexpr int kMenuItemNormalFrame = 1;
inline constexpr int kMenuItemSeparatorFrame = 2;
inline constexpr int kMenuItemSelectedFrame = 4;
// The system's grey-text colour index (COLOR_GRAYTEXT).
inline constexpr int kSysGrayText = 17;

// The side of the square glyph box: the image list's width, or 16 without one; a checked
// item gets at least 16 (room for the check mark).
int MenuGlyphSide(bool has_image_list, int image_list_width, bool checked);

// Inputs of an item's layout; rectangles are in the coordinates the item is drawn in.
struct MenuItemLayoutInput {
  PixelRect item;
  int glyph_side = 16;
  bool has_item_element = false;  // the skin has a "MenuItem" element
  int left_width = 0;             // its LeftWidth (ignored without the element)
  bool separator = false;
  bool right_to_left = false;
};

// The glyph box: left to right at (item left + 1 + LeftWidth, item top + 1), G square;
// mirrored its right edge at item right - 1 - LeftWidth. A separator's box collapses to
// zero width at x = 0 (left to right) or at the item's right edge (mirrored), top as usual.
PixelRect MenuGlyphBox(const MenuItemLayoutInput& in);

// The caption area before measuring: from glyph right + 3 to item right - 1 (mirrored:
// item left + 1 to glyph left - 3), the item's full height.
PixelRect MenuCaptionArea(const MenuItemLayoutInput& in, const PixelRect& glyph_box);

// The caption area after measuring: `measured` is the area as the measuring call left it
// (left to right its right edge becomes the text's end); it moves down by (area height -
// measured height) / 2. Mirrored, the remembered left and right edges are restored.
PixelRect CentredCaption(const PixelRect& area, const PixelRect& measured, bool right_to_left);

// The shortcut's area from the centred caption: left to right from the caption text's end
// to the remembered right edge - 10; mirrored from the remembered left edge + 10 to its
// right edge.
PixelRect MenuShortcutArea(const PixelRect& centred_caption, const PixelRect& remembered_area,
                           bool right_to_left);

// Where a check-mark bitmap of the given size goes in the glyph box: centred, one pixel
// right and down.
std::pair<int, int> CheckMarkOrigin(const PixelRect& glyph_box, int mark_width, int mark_height);

// The rectangle whose top edge carries a separator's etched line.
PixelRect SeparatorLineRect(const PixelRect& caption_area);

// Widening by the skin. An item measured through its menu item object: + LeftWidth (with
// the element), then + 10 with an image list or + 35 without. An item of a popup-menu
// component or of the skinned system menu: + LeftWidth, then + 12 or + 35.
int MenuItemExtraWidth(bool has_item_element, int left_width, bool has_image_list);
int PopupItemExtraWidth(bool has_item_element, int left_width, bool has_image_list);
// An item known only by its menu handle: text width + 26 (+ LeftWidth with the element);
// height + 4 with a caption, exactly 8 without, and 4 more on the Windows 9x family.
int ForeignItemWidth(int text_width, bool has_item_element, int left_width);
int ForeignItemHeight(int given_height, bool caption_empty, bool windows_9x);

// The caption colour: HilightText for an enabled selected item, MenuText for an enabled
// one, ButtonShadow for a disabled one, unless ButtonShadow equals MenuText, then the
// system grey-text colour.
Colour MenuTextColour(const ColourScheme& colours, bool enabled, bool selected);

// The pieces of a separator drawn from frame 2 of the "MenuItem" image (bitmap_width x
// bitmap_height, five frames side by side) over an item of width x height: the left piece
// (LeftWidth), the right piece (RightWidth) and the stretched middle, all the item's full
// height, from the bottom `height` rows of the frame when the item is lower than the
// bitmap, else from all rows. Pieces that would be empty or reach outside the frame are
// left out.
std::vector<SliceBlit> SeparatorPieces(int width, int height, int bitmap_width, int bitmap_height,
                                       int left_width, int right_width);

// The border ring of a popup menu window of width x height: the top 3 rows and the bottom
// 3 rows over the full width, then the left and right 3 columns between them. Empty pieces
// are left out (a window lower or narrower than 6 pixels gets overlapping pieces clipped to
// the window).
std::vector<PixelRect> PopupBorderRing(int width, int height);

}  // namespace skin
