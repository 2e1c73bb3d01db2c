#include "skin/form/caption_layout.h"

#include <algorithm>

namespace skin {

CaptionCommand CommandForAction(int action) {
  switch (action) {
    case kActionClose:
      return CaptionCommand::kClose;
    case kActionMaximize:
    case kActionMaximizeAlt:
      return CaptionCommand::kToggleMaximize;
    case kActionMinimize:
    case kActionMinimizeAlt:
      return CaptionCommand::kToggleMinimize;
    case kActionSystemMenu:
    case kActionIconMenu:
    case kActionOwnMenu:
      return CaptionCommand::kSystemMenu;
    case kActionMdiMinimize:
    case kActionMdiMinimizeAlt:
      return CaptionCommand::kMdiMinimize;
    case kActionMdiRestore:
    case kActionMdiRestoreAlt:
      return CaptionCommand::kMdiRestore;
    case kActionMdiClose:
    case kActionMdiCloseAlt:
      return CaptionCommand::kMdiClose;
    default:
      return CaptionCommand::kForward;
  }
}

bool ShowsWindowIcon(int action) {
  return action == kActionSystemMenu || action == kActionIconMenu;
}

bool VisibilityHolds(int code, bool second, int action, const CaptionWindowState& s) {
  if (code >= 200 && code <= 2000) return true;
  switch (code) {
    case 0:
      if (second) return true;
      return !s.frame_plain && (action != kActionClose || s.system_menu);
    case 1:
      return s.maximized;
    case 2:
      return !s.maximized;
    case 3:
      return s.active;
    case 4:
      return !s.active;
    case 6:
      return second ? s.maximize_box : s.maximize_box && s.system_menu;
    case 7:
      return !s.maximize_box;
    case 8:
      return second ? s.minimize_box : s.minimize_box && s.system_menu;
    case 9:
      return !s.minimize_box;
    case kVisibilityMenuRow:
      // The second condition takes the value of the first, which is this same test.
      return s.mdi_child_maximized_row;
    default:
      // 5, 10, 11 and every code outside the table: never.
      return false;
  }
}

bool CaptionButtonVisible(int action, int visibility, int visibility1,
                          const CaptionWindowState& state) {
  bool visible = VisibilityHolds(visibility, false, action, state) &&
                 VisibilityHolds(visibility1, true, action, state);
  if (action == kActionMaximize && !state.maximize_box) visible = false;
  if (action == kActionMinimize && !state.minimize_box) visible = false;
  return visible;
}

PixelRect PlaceCaptionButton(int align, int x, int y, int width, int height,
                             const CaptionPlacement& p) {
  // In 64 bits: the offsets come from the skin and may be any integer.
  int64_t left = 0, top = 0;
  switch (align) {
    case 0:
      left = x;
      top = y;
      break;
    case 1:
      left = int64_t(p.window_width) - x;
      top = y;
      break;
    case 2:
    case 8:
      left = int64_t(p.title_text.left) - width - x;
      top = y;
      break;
    case 3:
    case 9:
      left = int64_t(p.title_text.right) + x;
      top = y;
      break;
    case kAlignMenuRow:
      top = (int64_t(p.menu_height) - height) / 2 + p.border_top;
      left = p.right_to_left ? int64_t(x) + p.menu_bar_left_width + p.border_left
                             : int64_t(p.window_width) - x - p.border_right - p.menu_bar_left_width;
      break;
    default:
      break;
  }
  const int l = ClampCoordinate(left), t = ClampCoordinate(top);
  return {l, t, ClampCoordinate(int64_t(l) + width), ClampCoordinate(int64_t(t) + height)};
}

int CaptionFrameWidth(int image_width, int frame_count) {
  return image_width / std::max(frame_count, 1);
}

int LayoutCaptionButtonRow(const std::vector<CaptionButtonSpec>& buttons,
                           const CaptionWindowState& state, const CaptionPlacement& placement,
                           std::vector<bool>& visible, std::vector<PixelRect>& bounds) {
  visible.resize(buttons.size(), false);
  bounds.resize(buttons.size());
  int right_edge = 0;
  for (size_t i = 0; i < buttons.size(); ++i) {
    const CaptionButtonSpec& b = buttons[i];
    visible[i] = CaptionButtonVisible(b.action, b.visibility, b.visibility1, state);
    if (!visible[i] || b.image_width <= 0 || b.image_height <= 0) continue;
    const int w = CaptionFrameWidth(b.image_width, b.frame_count);
    bounds[i] = PlaceCaptionButton(b.align, b.x, b.y, w, b.image_height, placement);
    if (b.align == 1) right_edge = std::max(right_edge, bounds[i].left);
  }
  return right_edge;
}

int RestingFrame(bool active, int frame_count) {
  if (frame_count < 4) return 1;
  return active ? 1 : 4;
}

int StateFrame(int button_state, bool menu_row) {
  switch (button_state) {
    case 2:
      return 2;
    case 3:
      return menu_row ? 4 : 3;
    default:
      return 1;
  }
}

int HitCodeForAction(int action) {
  switch (CommandForAction(action)) {
    case CaptionCommand::kClose:
      return kHitClose;
    case CaptionCommand::kToggleMaximize:
      return kHitMaxButton;
    case CaptionCommand::kToggleMinimize:
      return kHitMinButton;
    default:
      return 0;
  }
}

int CaptionButtonIndexAt(const std::vector<CaptionHitEntry>& buttons, int x, int y) {
  for (size_t i = 0; i < buttons.size(); ++i) {
    const CaptionHitEntry& b = buttons[i];
    if (!b.visible || b.action < 0) continue;
    if (x >= b.bounds.left && x < b.bounds.right && y >= b.bounds.top && y < b.bounds.bottom)
      return static_cast<int>(i);
  }
  return -1;
}

MaximizedPlacement MaximizedWindowPlacement(const PixelRect& monitor, const PixelRect& work,
                                            int border_left, int border_right, int border_bottom) {
  return {work.left - monitor.left - border_left, work.top - monitor.top,
          work.Width() + border_left + border_right, work.Height() + border_bottom};
}

}  // namespace skin
