#pragma once
// TSkinMenuBar: the skinned menu bar of a form controller. It reads the top-level items of
// the window's menu into a row of buttons (TMenuBtn), takes the native bar off the window
// (SetMenu with no menu) and is painted by the controller as a strip of the non-client
// area under the title bar. A click on a button opens its drop-down with TrackPopupMenu,
// its items switched to owner drawing (menu_item_drawing.h); while it is open a
// WH_MSGFILTER hook moves between drop-downs with the mouse and the Left and Right keys.
// Geometry is in menu_bar_layout.h.
//
// Lifetime: the bar, its buttons and its controller can all be freed while a drop-down is
// tracked (a skin switch on the manager's timer, a menu change that rebuilds the buttons,
// the window's end); they follow the rule of framework/lifetime.h, and the tracking state
// holds watches, not bare pointers.
#include <windows.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "framework/graphics.h"
#include "framework/lifetime.h"
#include "framework/menus.h"
#include "skin/form/caption_buttons.h"

namespace skin {

class TSkinForm;
class TSkinData;
struct SkinDefinition;
class TSkinMenuBar;

// One top-level item of the bar. Of the non-client object's operations it overrides only
// the painting.
class TMenuBtn : public TNCObject {
 public:
  void Draw() override;

  TSkinMenuBar* Bar = nullptr;
  TSkinData* SkinData = nullptr;
  int Index = 0;
  std::string Caption;  // with its "&" accelerator marker
  bool Enabled = true;
  HMENU SubMenu = nullptr;
  UINT CommandId = 0;
};

class TSkinMenuBar : public fw::Watchable {
 public:
  // `menu` is the form's main-menu object, or nullptr for a window without form object.
  TSkinMenuBar(TSkinData* data, TSkinForm* controller, fw::TMenu* menu);
  TSkinMenuBar(const TSkinMenuBar&) = delete;
  // The skin at the window's DPI (the controller's).
  const SkinDefinition& Skin() const;
  TSkinMenuBar& operator=(const TSkinMenuBar&) = delete;
  virtual ~TSkinMenuBar();

  // Rebuild the buttons from the window's menu handle, from the menu object, or from an
  // MDI frame menu; each takes the native menu off the window.
  void BuildFromMenuHandle();
  void BuildFromMenuObject();
  void BuildFromMdiMenu(HMENU menu);

  // Lays out and paints the bar at `bar` (window coordinates) into `dc`.
  void PaintBar(HDC dc, const RECT& bar);
  // Gives freshly built buttons their places on the last painted bar, for a key or a click
  // that comes before the next paint (a program changing its menu while it is shown).
  void EnsureButtonBounds();
  // Repaints one button from the kept background (its state decides the frame).
  void PaintButton(TMenuBtn& button);
  // The first button with a caption under a window-relative point, or nullptr.
  TMenuBtn* ButtonAt(POINT window_point) const;
  // Posts the button's command and, for an item with sub-items, tracks its drop-down until
  // it closes; false for an item without sub-items.
  bool OpenDropDown(TMenuBtn* button);
  // Makes the form open another button's drop-down (a click one pixel inside it).
  void SwitchToButton(TMenuBtn* button);
  // The enabled button with a drop-down before or after `index`, going round; nullptr
  // when there is none. The keys move only between drop-downs.
  TMenuBtn* NextDropDown(int index, bool forward) const;
  // The bar reads right to left (its menu object says so, or the window's layout).
  bool RightToLeft() const;
  // The enabled button whose caption has that accelerator (case-insensitive), or nullptr.
  TMenuBtn* FindAccelButton(char key) const;
  // The menu key pressed and released alone (or F10): as on the native bar, the first
  // drop-down's button is highlighted and the keys work the bar (Left and Right move,
  // Down, Up, Return or an accelerator open, Escape or the menu key leave) in a loop of
  // its own until a drop-down is opened or the mode ends. Anything the loop dispatches may
  // free the bar and its controller.
  void RunKeyboardMode();
  // The controller's non-client left click: opens the button under the point; true then.
  bool HandleNcLButtonDown(POINT window_point);

  // Owner-drawn items of the bar's drop-downs (WM_DRAWITEM / WM_MEASUREITEM with
  // ODT_MENU); true when drawn or measured.
  bool DrawItem(DRAWITEMSTRUCT& dis);
  bool MeasureItem(MEASUREITEMSTRUCT& mis);

  HMENU MenuHandle() const { return menu_handle_; }
  void SetMenuHandle(HMENU menu) { menu_handle_ = menu; }
  fw::TMenu* Menu() const { return menu_; }
  int ButtonCount() const { return static_cast<int>(buttons_.size()); }
  // The button at an index, or nullptr for an index outside the bar.
  TMenuBtn* Button(int index) const {
    return index >= 0 && index < ButtonCount() ? buttons_[static_cast<size_t>(index)].get()
                                               : nullptr;
  }
  const RECT& BarRect() const { return bar_rect_; }
  TSkinForm* Controller() const { return controller_; }

  // The drop-down tracking state (one at a time, process-wide).
  static int OpenIndex();
  static TSkinForm* TrackingForm();

 private:
  static LRESULT CALLBACK MenuFilterHook(int code, WPARAM wparam, LPARAM lparam);
  // The innermost open menu of the thread, from its window: whether it is a submenu of the
  // drop-down, and whether its selected item opens a submenu.
  struct OpenMenuState {
    bool in_submenu = false;
    bool selected_has_submenu = false;
  };
  static OpenMenuState OpenMenuOf(HMENU drop_down);
  // What the filter hook does with a message of the open drop-down's loop.
  static void FollowMenuMessage(const MSG& msg);
  // Clears the tracking state once a drop-down closed.
  static void EndTracking();
  std::unique_ptr<TMenuBtn> NewButton(int index);
  // A button for entry `index` of the shown menu handle: its text, state, command, sub-menu.
  std::unique_ptr<TMenuBtn> ButtonFromNativeItem(int index);
  void DetachNativeMenu();
  void ClearButtons();
  // Gives the entries made owner-drawn for the drop-downs their type back.
  void RestoreItemTypes();
  void DrawCaption(HDC dc, const TMenuBtn& button, const RECT& text_rect);
  // An MDI frame with a maximised active child: that child's buttons, drawn into the bar.
  void PaintMdiChildButtons(fw::TBitmap& surface);

  std::vector<std::unique_ptr<TMenuBtn>> buttons_;
  fw::TMenu* menu_;
  RECT bar_rect_{};
  // The buttons' text rectangles on a bar of w x h (canvas: the menu font selected).
  std::vector<PixelRect> ButtonRects(fw::TCanvas& canvas, int w, int h) const;
  TSkinData* data_;
  TSkinForm* controller_;
  fw::TBitmap background_;
  HMENU menu_handle_ = nullptr;
  std::vector<std::pair<HMENU, UINT>> owner_drawn_;  // entries made owner-drawn: menu, position
};

}  // namespace skin
