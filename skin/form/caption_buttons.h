#pragma once
// Caption buttons: the hot-object protocol of the non-client area (TNCObject), the caption
// buttons bound to the skin's caption-button elements (TWinSysButton) and the skinned
// system menu (TSkinSystemMenu). The form controller owns all three; the pure layout they
// follow is in caption_layout.h.
#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "framework/graphics.h"
#include "framework/lifetime.h"
#include "framework/menus.h"
#include "framework/scoped_handle.h"
#include "skin/manager/element_painting.h"

namespace fw {
class TImageList;
}

namespace skin {

class TSkinForm;
class TSkinData;
class TDataSkinSysButton;

// One hot spot of the non-client area. At most one object of a window is hot or pressed:
// the controller's HotObject. Freed with the caption buttons or the menu bar, also while a
// menu of theirs is open (framework/lifetime.h).
class TNCObject : public fw::Watchable {
 public:
  virtual ~TNCObject() = default;
  // Pressed: the previous hot object lets go, this one becomes hot and draws pressed.
  virtual void MouseDown();
  // Released over the object: it draws hot again and stays the hot object.
  virtual void MouseUp();
  // The mouse came over the object.
  virtual void MouseHover();
  // The mouse left (or the hover poll found it gone): back to the normal look.
  virtual void MouseLeave();
  virtual void Draw() {}

  TSkinForm* Controller = nullptr;
  RECT Bounds{};  // window coordinates
  bool Visible = false;
  int ButtonState = 1;  // 1 normal, 2 pressed, 3 hot
};

// A caption button bound to one caption-button element of the skin data.
class TWinSysButton : public TNCObject {
 public:
  void Draw() override;

  TDataSkinSysButton* Element = nullptr;  // owned by the skin data
  // The title bar under the button as it was before the buttons were drawn into the
  // title cache, so a state drawn straight onto the window starts from the same
  // background (a state frame with more transparent pixels than the resting one must
  // not show the resting frame through).
  PixelBitmap Background;
};

// The skinned system menu: the window commands as items with the skin data's menu glyphs.
// Each showing builds a popup menu from the items (their enabled state as it is then),
// drawn and measured by the skinned menu item drawing when the menu has skin data, and
// runs the handler of the chosen item. It can be freed while it is shown (its controller
// detaches on a skin switch): Popup follows the rule of framework/lifetime.h.
class TSkinSystemMenu : public fw::Watchable {
 public:
  struct Item {
    std::string caption;
    int tag = 0;     // also the image index; 100 marks the separator
    int image = -1;  // index into the glyphs, -1 for none
    fw::TShortCut shortcut = fw::scNone;
    bool enabled = true;
    bool separator = false;
    std::function<void()> on_click;
  };

  TSkinSystemMenu() = default;
  TSkinSystemMenu(const TSkinSystemMenu&) = delete;
  TSkinSystemMenu& operator=(const TSkinSystemMenu&) = delete;
  // Freed while shown, it ends the menu loop.
  ~TSkinSystemMenu();

  void SetGlyphs(fw::TImageList* glyphs) { glyphs_ = glyphs; }
  void SetSkinData(TSkinData* data) { data_ = data; }
  // The DPI the menu is drawn at (its window's).
  void SetDpi(int dpi) { dpi_ = dpi; }
  void Add(Item item) { items_.push_back(std::move(item)); }
  const std::vector<Item>& Items() const { return items_; }
  Item* FindByTag(int tag);
  void SetEnabled(int tag, bool enabled);

  // Shows the menu at a screen point and runs the chosen item's handler. Returns the tag
  // of the chosen item, -1 when the menu was dismissed.
  int Popup(HWND owner, POINT screen_point);
  // The native menu while it is shown (between building and the end of tracking), else 0.
  // Its entries are in the order of Items().
  HMENU ShownMenu() const { return shown_; }

 private:
  fw::TImageList* glyphs_ = nullptr;  // owned by the skin data
  TSkinData* data_ = nullptr;
  int dpi_ = 96;
  std::vector<Item> items_;
  HMENU shown_ = nullptr;
};

// Where a maximized skinned window goes (WM_GETMINMAXINFO): its client area fills the work
// area of its monitor, the side and bottom borders lie outside it. Leaves the record alone
// for a window whose frame is not live, an MDI child or a frameless window.
void AdjustMaximizedPlacement(const TSkinForm& form, MINMAXINFO& info);

// The pixels of a 32-bit bitmap (empty for an empty or device-dependent one).
PixelBitmap PixelsOfBitmap(fw::TBitmap& bitmap);
// The part of a 32-bit bitmap under `rect`; empty when the rectangle is not inside it.
PixelBitmap PartOfBitmap(fw::TBitmap& bitmap, const RECT& rect);

}  // namespace skin
