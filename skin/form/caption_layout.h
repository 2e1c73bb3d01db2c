#pragma once
// The caption buttons of a skinned title bar as pure functions: which buttons a window in
// a given state shows (the two visibility codes of each button and the box override),
// where each alignment code places a button, the right-aligned buttons' left edge, which
// frame of a button strip a state draws, which button a point hits and what hit-test code
// the window answers there. The form controller gathers the window's state and applies
// the results; tests call these directly.
#include <vector>

#include "skin/manager/element_compose.h"

namespace skin {

// Caption-button action codes with a meaning of their own.
inline constexpr int kActionClose = 0;
inline constexpr int kActionMaximize = 1;
inline constexpr int kActionMinimize = 2;
inline constexpr int kActionSystemMenu = 3;
inline constexpr int kActionIconMenu = 11;  // system menu, drawn with the window icon
inline constexpr int kActionOwnMenu = 12;   // system menu, drawn with its own bitmap
inline constexpr int kActionMaximizeAlt = 22;
inline constexpr int kActionMinimizeAlt = 23;
inline constexpr int kActionMdiMinimize = 7;
inline constexpr int kActionMdiRestore = 8;
inline constexpr int kActionMdiClose = 9;
inline constexpr int kActionMdiMinimizeAlt = 60;
inline constexpr int kActionMdiRestoreAlt = 61;
inline constexpr int kActionMdiCloseAlt = 62;

// Alignment code of the buttons in the menu-bar row (the MDI child buttons), which is also
// their visibility code.
inline constexpr int kAlignMenuRow = 100;
inline constexpr int kVisibilityMenuRow = 100;

// What a caption-button action does on release.
enum class CaptionCommand : uint8_t {
  kClose,
  kToggleMaximize,
  kToggleMinimize,
  kSystemMenu,
  kMdiMinimize,
  kMdiRestore,
  kMdiClose,
  kForward,  // posted to the window as WM_SKINQUERY with the action code
};
CaptionCommand CommandForAction(int action);

// True for the actions whose button shows the window icon instead of its own strip.
bool ShowsWindowIcon(int action);

// The window state the visibility codes test.
struct CaptionWindowState {
  bool frame_plain = false;  // FrameKind is FramePlain
  bool maximized = false;    // ShowState is ShowMaximized
  bool active = true;        // IsActive
  bool maximize_box = false;
  bool minimize_box = false;
  bool system_menu = false;
  // An MDI frame whose active child is maximized, with a menu-bar row (MenuHeight > 0).
  bool mdi_child_maximized_row = false;
};

// One visibility condition: `code` from "Visibility" (second false) or "Visibility1"
// (second true) for a button of the given action.
bool VisibilityHolds(int code, bool second, int action, const CaptionWindowState& state);

// Both conditions, then a maximize button is hidden without a maximize box and a
// minimize button without a minimize box.
bool CaptionButtonVisible(int action, int visibility, int visibility1,
                          const CaptionWindowState& state);

// Where the alignment codes measure from.
struct CaptionPlacement {
  int window_width = 0;
  PixelRect title_text;  // TitleTextRect of the last caption text paint
  int border_left = 0, border_top = 0, border_right = 0;
  int menu_height = 0;
  int menu_bar_left_width = 0;  // LeftWidth of the skin's menu-bar element, 0 without one
  bool right_to_left = false;
};

// The rectangle of a button of width x height with the given alignment and offsets. The
// edges are kept within +-kCoordinateLimit whatever the offsets are.
PixelRect PlaceCaptionButton(int align, int x, int y, int width, int height,
                             const CaptionPlacement& placement);

// One button as the layout sees it.
struct CaptionButtonSpec {
  int action = 0;
  int align = 0;
  int x = 0, y = 0;
  int visibility = 0, visibility1 = 0;
  int image_width = 0, image_height = 0;  // of the whole strip; 0 when it has no image
  int frame_count = 1;
};

// The width of one frame of a strip (a frame count below 1 counts as 1).
int CaptionFrameWidth(int image_width, int frame_count);

// Lays out the buttons in array order: visible (into `visible`) and placed (into `bounds`)
// when they have an image; invisible buttons and buttons without an image keep their
// previous bounds. `visible` and `bounds` are resized to the number of buttons (new
// entries empty). Returns RightButtonsEdge: the largest left edge among the placed
// right-aligned (align 1) buttons, 0 when there is none.
int LayoutCaptionButtonRow(const std::vector<CaptionButtonSpec>& buttons,
                           const CaptionWindowState& state, const CaptionPlacement& placement,
                           std::vector<bool>& visible, std::vector<PixelRect>& bounds);

// The frame a button draws in the title bar at rest: 1 for an active window, 4 for an
// inactive one, 1 whenever the strip has fewer than four frames.
int RestingFrame(bool active, int frame_count);

// The frame a button state draws (1 normal, 2 pressed, 3 hot); a button of the menu-bar
// row draws frame 4 when hot. Out-of-range states draw frame 1.
int StateFrame(int button_state, bool menu_row);

// The hit-test code a caption button of the given action answers (HTCLOSE, HTMAXBUTTON,
// HTMINBUTTON as Windows numbers them), 0 for every other action.
inline constexpr int kHitMinButton = 8;
inline constexpr int kHitMaxButton = 9;
inline constexpr int kHitClose = 20;
int HitCodeForAction(int action);

// What hit testing needs of one button.
struct CaptionHitEntry {
  bool visible = false;
  int action = 0;
  PixelRect bounds;
};
// The index of the first visible button with an action of 0 or more whose bounds contain
// the point, or -1.
int CaptionButtonIndexAt(const std::vector<CaptionHitEntry>& buttons, int x, int y);

// Where a maximized skinned window goes: its client area (with the menu row) fills the
// work area, the side and bottom borders lie outside it as the system's sizing borders
// do, and the title bar stays inside at the top. Coordinates relative to the monitor's
// top-left corner, as WM_GETMINMAXINFO wants them.
struct MaximizedPlacement {
  int x = 0, y = 0, width = 0, height = 0;
  friend bool operator==(const MaximizedPlacement&, const MaximizedPlacement&) = default;
};
MaximizedPlacement MaximizedWindowPlacement(const PixelRect& monitor, const PixelRect& work,
                                            int border_left, int border_right, int border_bottom);

}  // namespace skin
