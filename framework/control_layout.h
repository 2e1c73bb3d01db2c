#pragma once
// Geometry of framework-drawn controls, as pure functions of sizes: where a button puts its
// glyph and caption, where a radio group puts its buttons, which tabs of a tab set fit and
// where, how far a scrolling container may scroll, and where aligned controls go.
#include <vector>

namespace fw {

struct LayoutRect {
  int left = 0, top = 0, right = 0, bottom = 0;
  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
  friend bool operator==(const LayoutRect&, const LayoutRect&) = default;
};

struct LayoutSize {
  int cx = 0, cy = 0;
};

// Where the glyph sits relative to the caption.
enum TButtonLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };

struct GlyphPlacement {
  LayoutRect glyph;    // empty (zero size) without a glyph
  LayoutRect caption;  // empty (zero size) without a caption
};

// Places a glyph and a caption in a button's client rectangle. margin is the gap between
// the edge named by layout and the glyph, -1 for centring the glyph and caption together;
// spacing is the gap between glyph and caption, -1 for an equal share of the free room
// (between margin, glyph, caption and the far edge). The cross axis is always centred.
// Without a glyph or without a caption there is no spacing.
GlyphPlacement PlaceGlyphAndCaption(LayoutRect client, LayoutSize glyph, LayoutSize caption,
                                    TButtonLayout layout, int margin, int spacing);

// The rectangle of button `index` of `count` buttons in `columns` columns (at least 1),
// filled column by column, inside `area` (a radio group's client less its caption line).
// Rows share the area's height equally; a count of 0 gives an empty rectangle.
LayoutRect RadioItemRect(LayoutRect area, int count, int columns, int index);

// Old-style tab set: tabs from first_visible on, left to right from start_margin, each
// text_width + 9 wide; a tab fits when its right edge plus the extra room (12 more while
// the scroll button shows) stays within width - end_margin. A tab that does not fit is left
// out and later ones are still tried. Result: one rectangle per tab, empty for tabs not
// shown (and for those before first_visible).
std::vector<LayoutRect> TabSetTabRects(const std::vector<int>& text_widths, int first_visible,
                                       int start_margin, int end_margin, int width, int height,
                                       bool scroller_visible);

// How far a container can scroll along one axis: content beyond the client, never negative.
int ScrollLimit(int content_extent, int client_extent);
// A requested scroll position clamped to 0 .. ScrollLimit.
int ClampScrollPosition(int position, int content_extent, int client_extent);

// Which edge of its parent's client area a control keeps to (alNone: none, it keeps its
// bounds; alClient: it fills what the others leave).
enum TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient };

struct AlignedControl {
  TAlign align = alNone;
  LayoutRect bounds;  // where the control is now
};

// Where aligned controls go in `client`. Top-aligned ones take the top of the room left,
// the whole width across, each at its own height, nearest the top first; then bottom-,
// left- and right-aligned ones in the same way from their edges (left and right ones over
// the height the top and bottom ones leave); client-aligned ones fill what remains. A
// control keeps its order among those of its edge (by its current position, ties in list
// order); room running out leaves controls empty, never inverted. alNone keeps its bounds.
std::vector<LayoutRect> AlignControls(LayoutRect client,
                                      const std::vector<AlignedControl>& controls);

}  // namespace fw
