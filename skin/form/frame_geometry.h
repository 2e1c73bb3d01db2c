#pragma once
// The geometry of a skinned frame as pure functions: what the frame's window procedure
// answers for the client rectangle and the hit test, where the caption text goes, how big
// the window must be for its client area to keep its size inside the skin frame, how much
// a message box is widened for its caption, and how each edge of the window region is
// made. The window procedures gather the inputs and apply the results; tests call these
// directly.
#include <cstdint>

#include "skin/manager/element_compose.h"

namespace skin {

struct SkinDefinition;
class TDataSkinBorder;

// The widths of the skinned frame; BorderTop is the title-bar height.
struct FrameMetrics {
  int border_left = 0, border_top = 0, border_right = 0, border_bottom = 0;
  int menu_height = 0;  // the menu-bar row under the title, 0 without a menu bar
  int dpi = 96;         // the scale the skin is drawn at (its fixed offsets follow it)
  friend bool operator==(const FrameMetrics&, const FrameMetrics&) = default;
};

// The border widths the skin's frame strips give: the top and bottom strips' frame heights
// and the left and right strips' frame widths (frames stacked vertically for top and
// bottom, side by side for left and right; a frame count below 1 counts as 1). A missing
// strip gives 0. `frameless` (a popup without a full caption) gives all zeros. Each border
// is at most kMaxFrameBorder (scaled to the skin's DPI): a skin's strips may be any size, and a
// border of thousands of pixels would push the client area (and every control on it) off the
// screen; the strip is then composed to the capped size like any other.
inline constexpr int kMaxFrameBorder = 256;
FrameMetrics FrameMetricsFromSkin(const SkinDefinition& skin, bool frameless);

// Which frame strip a border piece is cut from.
enum class FrameStrip : uint8_t { kLeft, kRight, kTop, kBottom };

// One border piece of width x height cut from a frame strip: frame 1 (the active look)
// when `active` or when the strip has a single frame, else frame 2; the top and bottom
// strips hold their frames stacked, the left and right ones side by side; the centre is
// stretched when the strip's Tile is 1 and tiled otherwise. Empty for a missing strip or
// a piece of no area. The same pixels the frame paints on Windows.
PixelBitmap ComposeFramePiece(const TDataSkinBorder* strip, FrameStrip side, int width, int height,
                              bool active);

// The client rectangle for a proposed window rectangle (WM_NCCALCSIZE).
PixelRect ClientRectForWindow(const PixelRect& window, const FrameMetrics& m);

// Hit-test codes the frame answers itself (the Windows values).
inline constexpr int kHitNowhere = 0;
inline constexpr int kHitCaption = 2;
inline constexpr int kHitMenu = 5;

// Where the old window procedure found nothing: the top four pixel rows (at 96 DPI; scaled
// to the metrics' DPI) stay nowhere, the
// rest of the title bar is caption, and below the title height is the menu row.
int FrameHitTest(int window_y, const FrameMetrics& m);

// The inputs of the caption text placement, from the title element and the window.
struct CaptionTextLayout {
  int text_shift = 0;       // "TextShift": left offset for alignment 0
  int text_shift_vert = 0;  // "TextShiftVert": half of it moves the text down
  int text_right_clip = 0;  // "TextRightClip": kept free at the right end
  int alignment = 0;        // "TextAlignment": 0 left, 1 centre, 2 right, others left edge
  int back_left = 0;        // "TXTBackleft": fixed left part of the text background
  int back_right = 0;       // "TXTBackRight": fixed right part of the text background
  bool right_to_left = false;
  bool popup = false;          // WS_POPUP: the text may run up to the right buttons
  int right_buttons_edge = 0;  // largest left edge of the right-aligned caption buttons
  int dpi = 96;                // the scale of the skin's lengths
};

// Where the caption text background goes in the title rectangle, for a measured text of
// text_width x text_height (measured with one blank more than is drawn). The text itself
// is drawn inside it, back_left and back_right in from its ends. Computed without overflow
// for any skin values; the edges are kept within +-kCoordinateLimit.
PixelRect PlaceCaptionText(const PixelRect& title, int text_width, int text_height,
                           const CaptionTextLayout& layout);

// The window size that keeps a client area of client_width x client_height inside the
// skin frame.
struct FrameSize {
  int width = 0, height = 0;
  friend bool operator==(const FrameSize&, const FrameSize&) = default;
};
FrameSize WindowSizeForClient(int client_width, int client_height, const FrameMetrics& m);

// The width a message box or dialog needs for its caption: (caption length + 7) blanks,
// the borders and the title's text margins (at most kCoordinateLimit, however large the
// skin's margins are).
int DialogWidthForCaption(int caption_length, int blank_width, const FrameMetrics& m,
                          const CaptionTextLayout& layout);
// How far the children move right when a dialog is widened from width to needed: half the
// widening (truncated), or 0 when it is not widened.
int DialogChildShift(int width, int needed);

// The window size that gives the client area back its size under the system frame when
// the skin lets go: system_dx and system_dy are the system frame's total width and height.
FrameSize RestoredWindowSize(int width, int height, const FrameMetrics& m, int system_dx,
                             int system_dy);

// How one edge of the window region is made.
enum class EdgeSource : uint8_t {
  kRectangle,     // the plain rectangle
  kPaintedPiece,  // the border piece painted and scanned for its opaque pixels
  kTitleCache,    // the composed title bar (caption buttons included) scanned instead
};
struct RegionEdge {
  EdgeSource source = EdgeSource::kRectangle;
  PixelRect rect;  // where the edge sits in the window (also the piece's size)
};
struct RegionPlan {
  bool whole_window = false;  // all four strips opaque: the region is the window rectangle
  PixelRect inner;            // the area inside the borders
  bool edges = false;         // false for a frameless window: only the inner rectangle
  RegionEdge left, right, top, bottom;
};
// Which strips have Trans 1, in the order left, right, top, bottom.
struct StripTransparency {
  bool left = false, right = false, top = false, bottom = false;
};
RegionPlan PlanWindowRegion(int width, int height, const FrameMetrics& m,
                            const StripTransparency& trans, bool frameless, bool title_cache_empty);

}  // namespace skin
