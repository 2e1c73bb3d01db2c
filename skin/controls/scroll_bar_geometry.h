#pragma once
// Geometry of skinned scroll bars and combo boxes, as pure functions of sizes, styles and
// scroll information: where the bars, the size box, the arrows and the thumb go, which
// part a click hits, the position a thumb drag asks for, and the drop-down button of a
// combo box. The skinners gather the inputs from the window and apply the results.
#include <cstdint>
#include <optional>

#include "skin/manager/element_compose.h"

namespace skin {

// Scroll request codes (the low word of WM_HSCROLL / WM_VSCROLL).
inline constexpr int kScrollLineUp = 0;
inline constexpr int kScrollLineDown = 1;
inline constexpr int kScrollPageUp = 2;
inline constexpr int kScrollPageDown = 3;
inline constexpr int kScrollThumbPosition = 4;
inline constexpr int kScrollThumbTrack = 5;
inline constexpr int kScrollEnd = 8;

// Pressed parts of a skinned scroll bar (FPressedPart).
enum PressedPart : int32_t {
  kPartNone = 0,
  kPartLeftArrow = 1,
  kPartRightArrow = 2,
  kPartUpArrow = 3,
  kPartDownArrow = 4,
  kPartHorzThumb = 5,
  kPartVertThumb = 6,
};

// MulDiv as Windows does it: a * b / c in 64 bits, rounded half away from zero; -1 when c is
// 0 or the result does not fit 32 bits.
int32_t MulDiv32(int32_t a, int32_t b, int32_t c);

// The non-client scroll bars of a window, in window coordinates at the origin.
struct ScrollBarsLayout {
  int border = 0;  // e: the window's edge around the bars
  int arrow = 0;   // b: the arrow size of both bars (and their thickness)
  PixelRect horz;  // empty when there is no horizontal bar
  PixelRect vert;
  PixelRect size_box;  // where both bars meet; empty unless both are there
};
ScrollBarsLayout LayoutScrollBars(int window_width, int window_height, int client_width,
                                  int client_height, bool has_horz, bool has_vert,
                                  bool left_scroll_bar, int bar_size);

// Scroll information of one bar.
struct ScrollRange {
  int32_t min = 0, max = 0, page = 0, pos = 0;
  friend bool operator==(const ScrollRange&, const ScrollRange&) = default;
};

// Metrics of one bar along its length.
struct ThumbMetrics {
  int32_t arrow = 0;         // A: arrow length as laid out (b)
  int32_t track = 0;         // T: bar length less both arrows
  int32_t thumb_length = 0;  // L
  int32_t thumb_pos = 0;     // P: from the end of the first arrow
};

// The smallest thumb: half an arrow on the Windows 95 family, 8 pixels otherwise.
int32_t MinThumbLength(int32_t arrow, bool windows95_family);

// Thumb of a window's own bar. Nothing when max <= min: the caller keeps its previous
// metrics. Length page * T / (max - min + 1) but at least min_thumb, position
// (pos - min) * (T - L) / (max - min - page + 1), or / (max - min) without a page: where
// the system's own bar shows it.
// A page larger than the range fills the track less one pixel. square_thumb is the thumb of
// a bar without a page (SM_CXHTHUMB).
std::optional<ThumbMetrics> CalcThumb(int32_t bar_length, int32_t arrow, const ScrollRange& range,
                                      int32_t min_thumb, int32_t square_thumb);
// Thumb of a scroll bar control: its range counts both ends (max - min + 1). Nothing when
// max < min.
std::optional<ThumbMetrics> CalcControlThumb(int32_t bar_length, int32_t arrow,
                                             const ScrollRange& range, int32_t min_thumb,
                                             int32_t square_thumb);

// Length of each arrow as drawn: the arrow size, or half the bar when it is shorter than two
// arrows.
int32_t DrawnArrowLength(int32_t bar_length, int32_t arrow);
// Where the thumb is drawn along the bar (from its start), or nothing when the track is
// shorter than the thumb. A thumb position past the track's end (a drag near the end with a
// page) is drawn at the end, so the thumb never covers the second arrow.
struct ThumbSpan {
  int32_t start = 0, length = 0;
};
std::optional<ThumbSpan> DrawnThumb(const ThumbMetrics& metrics, int32_t arrow_length);

// The scroll request a click at offset (along the bar from its start) asks for: line up /
// down, page up / down, thumb track, or -1 beyond the bar.
int HitTestBar(int32_t offset, const ThumbMetrics& metrics);

// A thumb drag: where the thumb goes and the scroll position that asks for. With a page
// the thumb travels T - L pixels over min .. max - page + 1; a position reaching
// max - page becomes max - page + 1 (the end of the range). Without a page it travels
// T - L over min .. max.
struct DragResult {
  int32_t thumb_pos = 0;  // N
  int32_t position = 0;   // the full value, for SetScrollInfo
};
DragResult DragPosition(int32_t start_thumb_pos, int32_t moved, const ThumbMetrics& metrics,
                        const ScrollRange& range);
// The position as scroll messages carry it: its low 16 bits.
inline uint16_t MessagePosition(int32_t position) { return static_cast<uint16_t>(position); }

// The drop-down button of a combo box of width w and height h (window at the origin),
// button_width = SM_CXHSCROLL.
struct ComboLayout {
  PixelRect text;    // left out of the drawing (ExcludeClipRect)
  PixelRect button;  // the button strip's frame goes here, stretched
  PixelRect glyph_area;
  bool mirrored = false;  // the button is on the left and drawn from the mirrored strip
};
ComboLayout LayoutCombo(int width, int height, int button_width, bool left_scroll_bar);
// A glyph of the given size centred in the area (divisions truncate toward zero).
PixelRect CentreGlyph(const PixelRect& area, int glyph_width, int glyph_height);

// The frame of the combo box states: pressed 2, hot 4, focused 4, enabled 1, otherwise 3.
int ComboFrame(bool pressed, bool hot, bool focused, bool enabled);

}  // namespace skin
