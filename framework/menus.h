#pragma once
// Menus: TMenuItem trees under a TMainMenu (a form's menu bar) or a TPopupMenu (a context
// menu), kept in step with native menu handles.
//
// Every item has a command identifier, unique in the process, that its native entry
// carries (wID), so WM_COMMAND, WM_DRAWITEM and WM_MEASUREITEM find it again. An item with
// sub-items owns a popup menu handle; the menu's root item owns the top handle (a menu bar
// for TMainMenu, a popup for TPopupMenu). Any change to an item rebuilds the entries of the
// whole tree in place: handles stay the same, entries are removed and inserted again. A main
// menu then tells its form (CM_MENUCHANGED, sent to the window so that a subclass sees it
// too), whose default handling puts the menu back on the window and redraws the bar.
//
// Items are owner-drawn when the menu says so (OwnerDraw), when it has an image list, or
// when the item has a draw or measure handler; owner-drawn items are drawn by their
// handler, or in the framework's standard look.
//
// Descriptions declare menus as nested objects:
//   object MainMenu1: TMainMenu
//     object File1: TMenuItem
//       Caption = '&File'
//       object Open1: TMenuItem
//         Caption = '&Open...'
//         ShortCut = 16463           // Ctrl+O
//         OnClick = Open1Click
//       end
//     end
//   end
// and forms and controls refer to them by name (Menu = MainMenu1, PopupMenu = PopupMenu1).
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "framework/component.h"
#include "framework/graphics.h"
#include "framework/scoped_handle.h"

namespace fw {

class TMenu;
class TMenuItem;
class TImageList;
class TCustomForm;

// A shortcut: a virtual key in the low byte plus modifier bits.
using TShortCut = uint16_t;
constexpr TShortCut scShift = 0x2000, scCtrl = 0x4000, scAlt = 0x8000, scNone = 0;
constexpr TShortCut ShortCut(UINT key, TShortCut modifiers) {
  return TShortCut((key & 0xFF) | modifiers);
}
// "Ctrl+O", "Shift+F4", "Alt+Enter", "Del"; empty for scNone.
std::string ShortCutToText(TShortCut shortcut);
// The shortcut of a key press with the modifiers held now (GetKeyState).
TShortCut ShortCutFromKey(WPARAM key);

// The accelerator character of a caption ("&File" gives 'F', upper-cased); "&&" is a
// literal ampersand; 0 when there is none.
char AcceleratorOf(const std::string& caption);
// The caption without its accelerator markers ("&&" becomes "&").
std::string StripAccelerator(const std::string& caption);

// Owner-draw states handed to draw handlers (the ODS_ bits of DRAWITEMSTRUCT).
using TOwnerDrawState = UINT;

using TMenuDrawItemEvent =
    TEvent<void(TObject* sender, TCanvas& canvas, const RECT& rect, TOwnerDrawState state)>;
using TMenuMeasureItemEvent =
    TEvent<void(TObject* sender, TCanvas& canvas, int& width, int& height)>;

// A command object an item can follow: before an item is drawn the action is updated
// (OnUpdate) and the item takes its caption, enabled, checked, image and shortcut; a click
// on the item executes the action.
class TAction : public TComponent {
  FW_CLASS_INFO()
 public:
  explicit TAction(TComponent* owner) : TComponent(owner) {}

  std::string Caption;
  bool Enabled = true;
  bool Checked = false;
  bool Visible = true;
  int ImageIndex = -1;
  TShortCut ShortCut = scNone;
  TNotifyEvent OnExecute;
  TNotifyEvent OnUpdate;

  // Fires OnUpdate; true when a handler ran.
  bool Update();
  // Fires OnExecute when enabled; true when a handler ran.
  bool Execute();
};

enum TBiDiMode { bdLeftToRight, bdRightToLeft };
extern const std::vector<std::string> kBiDiModeNames;

class TMenuItem : public TComponent {
  FW_CLASS_INFO()
 public:
  explicit TMenuItem(TComponent* owner);
  ~TMenuItem() override;

  const std::string& Caption() const { return caption_; }
  void SetCaption(const std::string& caption);
  bool IsLine() const { return caption_ == "-"; }
  bool Checked() const { return checked_; }
  void SetChecked(bool checked);
  bool Default() const { return default_; }
  void SetDefault(bool value);
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled);
  bool Visible() const { return visible_; }
  void SetVisible(bool visible);
  bool RadioItem() const { return radio_item_; }
  void SetRadioItem(bool value);
  int GroupIndex() const { return group_index_; }
  void SetGroupIndex(int index) { group_index_ = index; }
  bool AutoCheck() const { return auto_check_; }
  void SetAutoCheck(bool value) { auto_check_ = value; }
  int ImageIndex() const { return image_index_; }
  void SetImageIndex(int index);
  TShortCut ShortCut() const { return shortcut_; }
  void SetShortCut(TShortCut shortcut);
  std::string ShortCutText() const { return ShortCutToText(shortcut_); }
  TAction* Action() const { return action_; }
  void SetAction(TAction* action);
  // Takes the action's state (after its update), if there is an action.
  void UpdateFromAction();

  // Sub-items.
  int Count() const { return static_cast<int>(items_.size()); }
  TMenuItem* Items(int index) const { return items_.at(static_cast<size_t>(index)); }
  int IndexOf(const TMenuItem* item) const;
  void Add(TMenuItem* item);
  void Insert(int index, TMenuItem* item);
  // Takes the item out (it is not freed).
  void Remove(TMenuItem* item);
  // Frees every sub-item.
  void Clear();
  TMenuItem* Parent() const { return parent_; }
  // Position among the parent's items, or -1.
  int MenuIndex() const { return parent_ ? parent_->IndexOf(this) : -1; }

  // The menu of this item (the root's), or nullptr for an item outside any menu.
  TMenu* GetParentMenu() const;
  // The parent menu's image list, or nullptr.
  TImageList* GetImageList() const;

  UINT Command() const { return command_; }
  // The popup menu handle of an item with sub-items (built on demand); nullptr otherwise.
  HMENU Handle();
  bool HasHandle() const { return bool(handle_); }

  // The owner-draw decision for this item's native entry.
  bool IsOwnerDraw() const;

  // OnClick, the action, auto-check and radio groups.
  virtual void Click();
  // Draws through the handler (OnAdvancedDrawItem), otherwise in the standard look.
  void DrawItem(TCanvas& canvas, const RECT& rect, TOwnerDrawState state);
  // Measures through the handler (OnMeasureItem), otherwise the standard measurement.
  void MeasureItem(TCanvas& canvas, int& width, int& height);
  // The standard look and measurement, without the handlers.
  void DefaultDrawItem(TCanvas& canvas, const RECT& rect, TOwnerDrawState state);
  void DefaultMeasureItem(TCanvas& canvas, int& width, int& height);

  TNotifyEvent OnClick;
  TMenuDrawItemEvent OnAdvancedDrawItem;
  TMenuMeasureItemEvent OnMeasureItem;

  TComponent* ParentComponent() const override;
  void SetParentComponent(TComponent* parent) override;
  void Notification(TComponent* component, TOperation operation) override;

 protected:
  friend class TMenu;
  // A change of this item rebuilds the native entries of the menu that holds it; a change
  // of its list of sub-items, those of its own sub-menu and of the menu that holds it.
  // Other menus keep their entries, so a change never takes the items from under an open
  // sub-menu.
  void Changed();
  void ItemsChanged();
  void Rebuild(TMenuItem* first, TMenuItem* second);
  // `deep`: sub-menus that exist already are rebuilt too (new ones always are).
  void RebuildHandle(bool deep = true);

  std::string caption_;
  bool checked_ = false, default_ = false, enabled_ = true, visible_ = true;
  bool radio_item_ = false, auto_check_ = false;
  int group_index_ = 0;
  int image_index_ = -1;
  TShortCut shortcut_ = scNone;
  TAction* action_ = nullptr;
  std::vector<TMenuItem*> items_;
  TMenuItem* parent_ = nullptr;
  TMenu* menu_ = nullptr;  // set on the root item only
  UINT command_ = 0;
  ScopedMenu handle_;
  bool clearing_ = false;
};

class TMenu : public TComponent {
  FW_CLASS_INFO()
 public:
  explicit TMenu(TComponent* owner);
  ~TMenu() override;

  // The root item; its sub-items are the menu's entries.
  TMenuItem* Items() const { return items_; }
  // The top native handle (built on demand).
  HMENU Handle() { return items_->Handle(); }

  TImageList* Images() const { return images_; }
  void SetImages(TImageList* images);
  bool OwnerDraw() const { return owner_draw_; }
  void SetOwnerDraw(bool value);
  TBiDiMode BiDiMode() const { return bidi_mode_; }
  void SetBiDiMode(TBiDiMode mode);
  bool IsRightToLeft() const { return bidi_mode_ == bdRightToLeft; }

  enum TFindKind { fkCommand, fkHandle, fkShortCut };
  // The item whose command, popup handle or shortcut is `value`, searched depth first.
  TMenuItem* FindItem(UINT_PTR value, TFindKind kind) const;
  // Clicks the item of that command; true when there is one.
  bool DispatchCommand(UINT command);
  // Clicks the enabled, visible item of that shortcut; true when there is one.
  bool IsShortCut(TShortCut shortcut);

  // Owner-draw notifications for items of this menu; true when the item was found.
  bool DispatchDrawItem(DRAWITEMSTRUCT& dis);
  bool DispatchMeasureItem(MEASUREITEMSTRUCT& mis);

  // Called after the native entries were rebuilt (the main menu tells its form).
  virtual void MenuChanged() {}
  // True for a menu bar (TMainMenu): the root handle is made with CreateMenu.
  virtual bool IsMenuBar() const { return false; }

  void Notification(TComponent* component, TOperation operation) override;
  void Loaded() override;

 protected:
  friend class TMenuItem;
  // Rebuilds the native entries (now, or after loading).
  void Rebuild();
  // Rebuilds only the menus of the changed items (TMenuItem::Changed); `second` may be null.
  void RebuildAround(TMenuItem* first, TMenuItem* second);

 private:
  TMenuItem* items_;
  TImageList* images_ = nullptr;
  bool owner_draw_ = false;
  TBiDiMode bidi_mode_ = bdLeftToRight;
  bool rebuilding_ = false;
};

class TMainMenu : public TMenu {
  FW_CLASS_INFO()
 public:
  explicit TMainMenu(TComponent* owner) : TMenu(owner) {}
  bool IsMenuBar() const override { return true; }
  void MenuChanged() override;
  // The form showing this menu (set by TCustomForm::SetMenu).
  TCustomForm* Form() const { return form_; }

 private:
  friend class TCustomForm;
  TCustomForm* form_ = nullptr;
};

class TPopupMenu : public TMenu {
  FW_CLASS_INFO()
 public:
  explicit TPopupMenu(TComponent* owner);
  ~TPopupMenu() override;

  bool AutoPopup() const { return auto_popup_; }
  void SetAutoPopup(bool value) { auto_popup_ = value; }
  // The control whose context menu this is while it shows.
  TComponent* PopupComponent() const { return popup_component_; }
  void SetPopupComponent(TComponent* component) { popup_component_ = component; }

  // Shows the menu at a screen point and returns when it closes; the chosen item's click
  // follows through the message loop (WM_COMMAND is posted).
  virtual void Popup(int x, int y);

  TNotifyEvent OnPopup;

  // The hidden window that owns every popup menu while it shows (it receives WM_COMMAND,
  // WM_DRAWITEM and WM_MEASUREITEM of their items).
  static HWND PopupWindow();
  // Every live popup menu, in creation order.
  static const std::vector<TPopupMenu*>& PopupList();

 private:
  bool auto_popup_ = true;
  TComponent* popup_component_ = nullptr;
};

// Registers TMainMenu, TPopupMenu, TMenuItem and TAction with the class registry.
void RegisterMenuClasses();

}  // namespace fw
