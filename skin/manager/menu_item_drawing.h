#pragma once
// Measuring and drawing one owner-drawn menu item with a skin: menu-bar drop-downs, menus
// of windows without a form object (items known only by menu handle), the form's popup
// menus and the skinned system menu.
//
// Every item is painted off screen into a bitmap at least its size (shared by the items
// of open popups, see ReleaseSharedMenuItemSurface) and copied to the
// menu's device context in one step. Its background is cut from the frame image that the
// popup skinner (popup_menu.h) composed for the menu window, 3 pixels in (the border), so
// items blend with the skinned frame; without such an image the background is MenuColour.
// The face comes from the "MenuItem" element (frame 1 normal, 4 selected, 2 the separator
// strip); a skin without that element gets the plain look: MenuColour, or Hilight when
// selected. Geometry and colour rules are the pure functions of menu_item_layout.h.
#include <windows.h>

#include <memory>
#include <string>

#include "framework/graphics.h"
#include "framework/menus.h"

namespace skin {

class TSkinData;
struct SkinDefinition;

// Frees the surface the items of open popup menus share; called when the last skinned
// popup closes and when the manager goes.
void ReleaseSharedMenuItemSurface();

// Gives the canvas the system's menu font.
void UseMenuFont(fw::TCanvas& canvas, int dpi);

// The frame image of the popup skinner showing `menu` (the manager's PopupBackground).
HBITMAP MenuBackgroundFor(HMENU menu);

// An item of the form's menu (measured through its menu item object): the item's standard
// measurement plus the skin's widening.
void MeasureMenuItem(const SkinDefinition& data, fw::TMenuItem& item, fw::TCanvas& canvas,
                     int& width, int& height);
// An item of a popup-menu component or of the skinned system menu: the skin's widening only,
// on top of what was measured already.
void MeasurePopupMenuItem(const SkinDefinition& data, fw::TMenuItem& item, fw::TCanvas& canvas,
                          int& width);
// An item known only by its command in `dropdown` (the drop-down last opened from the bar),
// measured from its text with the menu font on the window's DC.
void MeasureForeignMenuItem(const SkinDefinition& data, HWND window, HMENU dropdown, UINT command,
                            int& width, int& height);

// The skinned face of an item of a menu object (the plain look without "MenuItem").
// `bar_menu` is the menu of the form's menu bar, used when the item belongs to no menu.
void DrawMenuItem(const SkinDefinition& data, fw::TMenuItem& item, fw::TCanvas& canvas,
                  bool selected, const RECT& rect, fw::TMenu* bar_menu = nullptr);
// An item known only by menu handle (a temporary item, see ForeignMenuItem): background
// from the frame image of `menu`, the face drawn for separators too (their line then comes
// from the etched edge).
void DrawForeignMenuItem(const SkinDefinition& data, HMENU menu, fw::TMenuItem& item, bool selected,
                         const RECT& rect, fw::TCanvas& canvas);
void DrawPlainMenuItem(const SkinDefinition& data, fw::TMenuItem& item, fw::TCanvas& canvas,
                       bool selected, const RECT& rect, fw::TMenu* bar_menu = nullptr);
// The separator strip from frame 2 of "MenuItem", magenta transparent, over `rect`.
void DrawMenuSeparator(const SkinDefinition& data, fw::TCanvas& canvas, const RECT& rect);
// Glyph or check mark, caption and shortcut.
void DrawItemContents(const SkinDefinition& data, fw::TMenuItem& item, fw::TCanvas& canvas,
                      bool selected, const RECT& rect, fw::TMenu* bar_menu = nullptr);
// One caption, shortcut or separator line; with DT_CALCRECT `rect` becomes the text's
// extent.
void DrawMenuText(const SkinDefinition& data, fw::TMenuItem& item, fw::TCanvas& canvas,
                  std::string text, UINT flags, bool selected, RECT& rect);

// A temporary item for the entry of `command` in `menu`: its text (at most 80 characters;
// "-" when empty), enabled unless grayed or disabled, checked. Not in any menu.
std::unique_ptr<fw::TMenuItem> ForeignMenuItem(HMENU menu, UINT command);

}  // namespace skin
