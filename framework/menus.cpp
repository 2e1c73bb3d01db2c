#include "framework/menus.h"

#include <algorithm>
#include <cctype>

#include "framework/application.h"
#include "framework/dpi.h"
#include "framework/forms.h"
#include "framework/image_list.h"

namespace fw {

const std::vector<std::string> kBiDiModeNames = {"bdLeftToRight", "bdRightToLeft"};

namespace {

// Command identifiers in use, index = identifier. 0 is never handed out, and the range
// stays below the system commands (0xF000 and up).
constexpr UINT kFirstCommand = 1, kLastCommand = 0xEFFF;
std::vector<bool>& CommandsInUse() {
  static std::vector<bool> used(kLastCommand + 1, false);
  return used;
}
UINT AllocateCommand() {
  auto& used = CommandsInUse();
  for (UINT id = kFirstCommand; id <= kLastCommand; ++id) {
    if (!used[id]) {
      used[id] = true;
      return id;
    }
  }
  return 0;  // all taken: the item gets no command and cannot be chosen
}
void ReleaseCommand(UINT id) {
  if (id >= kFirstCommand && id <= kLastCommand) CommandsInUse()[id] = false;
}

std::string KeyName(UINT key) {
  if ((key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z')) return std::string(1, char(key));
  if (key >= VK_F1 && key <= VK_F24) return "F" + std::to_string(key - VK_F1 + 1);
  switch (key) {
    case VK_BACK:
      return "BkSp";
    case VK_TAB:
      return "Tab";
    case VK_RETURN:
      return "Enter";
    case VK_ESCAPE:
      return "Esc";
    case VK_SPACE:
      return "Space";
    case VK_PRIOR:
      return "PgUp";
    case VK_NEXT:
      return "PgDn";
    case VK_END:
      return "End";
    case VK_HOME:
      return "Home";
    case VK_LEFT:
      return "Left";
    case VK_UP:
      return "Up";
    case VK_RIGHT:
      return "Right";
    case VK_DOWN:
      return "Down";
    case VK_INSERT:
      return "Ins";
    case VK_DELETE:
      return "Del";
    default:
      break;
  }
  return {};
}

}  // namespace

std::string ShortCutToText(TShortCut shortcut) {
  const std::string key = KeyName(shortcut & 0xFF);
  if (key.empty()) return {};
  std::string text;
  if (shortcut & scShift) text += "Shift+";
  if (shortcut & scCtrl) text += "Ctrl+";
  if (shortcut & scAlt) text += "Alt+";
  return text + key;
}

TShortCut ShortCutFromKey(WPARAM key) {
  TShortCut s = TShortCut(key & 0xFF);
  if (GetKeyState(VK_SHIFT) & 0x8000) s |= scShift;
  if (GetKeyState(VK_CONTROL) & 0x8000) s |= scCtrl;
  if (GetKeyState(VK_MENU) & 0x8000) s |= scAlt;
  return s;
}

char AcceleratorOf(const std::string& caption) {
  for (size_t i = 0; i + 1 < caption.size(); ++i) {
    if (caption[i] != '&') continue;
    if (caption[i + 1] == '&') {
      ++i;  // a literal ampersand
      continue;
    }
    return char(std::toupper(static_cast<unsigned char>(caption[i + 1])));
  }
  return 0;
}

std::string StripAccelerator(const std::string& caption) {
  std::string out;
  for (size_t i = 0; i < caption.size(); ++i) {
    if (caption[i] != '&') {
      out += caption[i];
    } else if (i + 1 < caption.size() && caption[i + 1] == '&') {
      out += '&';
      ++i;
    }
  }
  return out;
}

// ---- TAction ------------------------------------------------------------------------------

const TClassInfo& TAction::StaticClassInfo() {
  static const TClassInfo info = DescribeClass<TAction, TComponent>("TAction", [](auto& c) {
    c.String(
        "Caption", [](const TAction& a) { return a.Caption; },
        [](TAction& a, const std::string& v) { a.Caption = v; });
    c.Bool(
        "Checked", [](const TAction& a) { return a.Checked; },
        [](TAction& a, bool v) { a.Checked = v; });
    c.Bool(
        "Enabled", [](const TAction& a) { return a.Enabled; },
        [](TAction& a, bool v) { a.Enabled = v; });
    c.Integer(
        "ImageIndex", [](const TAction& a) { return a.ImageIndex; },
        [](TAction& a, int v) { a.ImageIndex = v; });
    c.Integer(
        "ShortCut", [](const TAction& a) { return int(a.ShortCut); },
        [](TAction& a, int v) { a.ShortCut = TShortCut(v); });
    c.Bool(
        "Visible", [](const TAction& a) { return a.Visible; },
        [](TAction& a, bool v) { a.Visible = v; });
    c.Event("OnExecute", &TAction::OnExecute);
    c.Event("OnUpdate", &TAction::OnUpdate);
  });
  return info;
}

bool TAction::Update() {
  if (!OnUpdate) return false;
  OnUpdate(this);
  return true;
}

bool TAction::Execute() {
  Update();
  if (!Enabled || !OnExecute) return false;
  OnExecute(this);
  return true;
}

// ---- TMenuItem ----------------------------------------------------------------------------

const TClassInfo& TMenuItem::StaticClassInfo() {
  static const TClassInfo info = DescribeClass<TMenuItem, TComponent>("TMenuItem", [](auto& c) {
    c.template Component<TAction>("Action", &TMenuItem::Action, &TMenuItem::SetAction);
    c.Bool("AutoCheck", &TMenuItem::AutoCheck, &TMenuItem::SetAutoCheck);
    c.String("Caption", &TMenuItem::Caption, &TMenuItem::SetCaption);
    c.Bool("Checked", &TMenuItem::Checked, &TMenuItem::SetChecked);
    c.Bool("Default", &TMenuItem::Default, &TMenuItem::SetDefault);
    c.Bool("Enabled", &TMenuItem::Enabled, &TMenuItem::SetEnabled);
    c.Integer("GroupIndex", &TMenuItem::GroupIndex, &TMenuItem::SetGroupIndex);
    c.Integer("ImageIndex", &TMenuItem::ImageIndex, &TMenuItem::SetImageIndex);
    c.Bool("RadioItem", &TMenuItem::RadioItem, &TMenuItem::SetRadioItem);
    c.Integer(
        "ShortCut", [](const TMenuItem& m) { return int(m.ShortCut()); },
        [](TMenuItem& m, int v) { m.SetShortCut(TShortCut(v)); });
    c.Bool("Visible", &TMenuItem::Visible, &TMenuItem::SetVisible);
    c.Event("OnClick", &TMenuItem::OnClick);
    c.Event("OnAdvancedDrawItem", &TMenuItem::OnAdvancedDrawItem);
    c.Event("OnMeasureItem", &TMenuItem::OnMeasureItem);
  });
  return info;
}

TMenuItem::TMenuItem(TComponent* owner) : TComponent(owner), command_(AllocateCommand()) {}

TMenuItem::~TMenuItem() {
  if (parent_) parent_->Remove(this);
  // Take the entries out first, so destroying this handle never destroys a sub-item's.
  if (handle_) {
    while (GetMenuItemCount(handle_.get()) > 0) RemoveMenu(handle_.get(), 0, MF_BYPOSITION);
  }
  clearing_ = true;
  while (!items_.empty()) delete items_.back();
  ReleaseCommand(command_);
}

TComponent* TMenuItem::ParentComponent() const {
  if (!parent_) return nullptr;
  if (parent_->menu_) return parent_->menu_;
  return parent_;
}

void TMenuItem::SetParentComponent(TComponent* parent) {
  if (auto* menu = dynamic_cast<TMenu*>(parent)) {
    menu->Items()->Add(this);
  } else if (auto* item = dynamic_cast<TMenuItem*>(parent)) {
    item->Add(this);
  }
}

void TMenuItem::Notification(TComponent* component, TOperation operation) {
  TComponent::Notification(component, operation);
  if (operation == opRemove && component == action_) action_ = nullptr;
}

TMenu* TMenuItem::GetParentMenu() const {
  const TMenuItem* item = this;
  while (item->parent_) item = item->parent_;
  return item->menu_;
}

TImageList* TMenuItem::GetImageList() const {
  TMenu* menu = GetParentMenu();
  return menu ? menu->Images() : nullptr;
}

void TMenuItem::Changed() { Rebuild(parent_ ? parent_ : this, nullptr); }

void TMenuItem::ItemsChanged() { Rebuild(this, parent_); }

void TMenuItem::Rebuild(TMenuItem* first, TMenuItem* second) {
  TMenuItem* root = this;
  while (root->parent_) root = root->parent_;
  if (root->menu_) {
    root->menu_->RebuildAround(first, second);
  } else {
    first->RebuildHandle(false);
    if (second) second->RebuildHandle(false);
  }
}

void TMenuItem::SetCaption(const std::string& caption) {
  if (caption == caption_) return;
  caption_ = caption;
  Changed();
}

void TMenuItem::SetChecked(bool checked) {
  if (checked == checked_) return;
  checked_ = checked;
  // Checking a radio item unchecks the others of its group.
  if (checked && radio_item_ && parent_) {
    for (TMenuItem* sibling : parent_->items_) {
      if (sibling != this && sibling->radio_item_ && sibling->group_index_ == group_index_)
        sibling->checked_ = false;
    }
  }
  Changed();
}

void TMenuItem::SetDefault(bool value) {
  if (value == default_) return;
  default_ = value;
  // One default item per menu.
  if (value && parent_) {
    for (TMenuItem* sibling : parent_->items_) {
      if (sibling != this) sibling->default_ = false;
    }
  }
  Changed();
}

void TMenuItem::SetEnabled(bool enabled) {
  if (enabled == enabled_) return;
  enabled_ = enabled;
  Changed();
}

void TMenuItem::SetVisible(bool visible) {
  if (visible == visible_) return;
  visible_ = visible;
  Changed();
}

void TMenuItem::SetRadioItem(bool value) {
  if (value == radio_item_) return;
  radio_item_ = value;
  Changed();
}

void TMenuItem::SetImageIndex(int index) {
  if (index == image_index_) return;
  image_index_ = index;
  Changed();
}

void TMenuItem::SetShortCut(TShortCut shortcut) {
  if (shortcut == shortcut_) return;
  shortcut_ = shortcut;
  Changed();
}

void TMenuItem::SetAction(TAction* action) {
  if (action == action_) return;
  if (action_) action_->RemoveFreeNotification(this);
  action_ = action;
  if (action_) {
    action_->FreeNotification(this);
    if (!IsLoading()) UpdateFromAction();
  }
}

void TMenuItem::UpdateFromAction() {
  if (!action_) return;
  action_->Update();
  bool changed = false;
  auto take = [&changed](auto& field, const auto& value) {
    if (field != value) {
      field = value;
      changed = true;
    }
  };
  if (!action_->Caption.empty()) take(caption_, action_->Caption);
  take(enabled_, action_->Enabled);
  take(checked_, action_->Checked);
  take(visible_, action_->Visible);
  take(image_index_, action_->ImageIndex);
  take(shortcut_, action_->ShortCut);
  if (changed) Changed();
}

int TMenuItem::IndexOf(const TMenuItem* item) const {
  auto it = std::find(items_.begin(), items_.end(), item);
  return it == items_.end() ? -1 : int(it - items_.begin());
}

void TMenuItem::Add(TMenuItem* item) { Insert(Count(), item); }

void TMenuItem::Insert(int index, TMenuItem* item) {
  if (!item || item == this) throw Exception("Cannot insert a menu item into itself");
  if (item->parent_) throw Exception("Menu item " + item->Name() + " is already in a menu");
  for (TMenuItem* p = this; p; p = p->parent_) {
    if (p == item) throw Exception("Cannot insert a menu item into its own sub-items");
  }
  index = std::clamp(index, 0, Count());
  items_.insert(items_.begin() + index, item);
  item->parent_ = this;
  ItemsChanged();
}

void TMenuItem::Remove(TMenuItem* item) {
  auto it = std::find(items_.begin(), items_.end(), item);
  if (it == items_.end()) return;
  items_.erase(it);
  item->parent_ = nullptr;
  if (!clearing_) ItemsChanged();
}

void TMenuItem::Clear() {
  if (handle_) {
    while (GetMenuItemCount(handle_.get()) > 0) RemoveMenu(handle_.get(), 0, MF_BYPOSITION);
  }
  clearing_ = true;
  while (!items_.empty()) delete items_.back();
  clearing_ = false;
  ItemsChanged();
}

HMENU TMenuItem::Handle() {
  if (!handle_) {
    const bool bar = menu_ && menu_->IsMenuBar();
    if (!menu_ && items_.empty()) return nullptr;
    handle_.reset(bar ? CreateMenu() : CreatePopupMenu());
    RebuildHandle();
  }
  return handle_.get();
}

bool TMenuItem::IsOwnerDraw() const {
  if (OnAdvancedDrawItem || OnMeasureItem) return true;
  TMenu* menu = GetParentMenu();
  if (!menu) return false;
  // Menu-bar entries keep their text; their drop-downs are what gets drawn.
  if (menu->IsMenuBar() && parent_ && parent_->menu_) return menu->OwnerDraw();
  return menu->OwnerDraw() || menu->Images() != nullptr;
}

void TMenuItem::RebuildHandle(bool deep) {
  if (!handle_) return;
  HMENU menu = handle_.get();
  // RemoveMenu leaves sub-menus alive: each belongs to its item.
  while (GetMenuItemCount(menu) > 0) RemoveMenu(menu, 0, MF_BYPOSITION);
  TMenu* parent_menu = GetParentMenu();
  const bool right_to_left = parent_menu && parent_menu->IsRightToLeft();
  UINT position = 0;
  for (TMenuItem* item : items_) {
    if (!item->visible_) continue;
    MENUITEMINFOA mii{};
    mii.cbSize = sizeof mii;
    mii.fMask = MIIM_ID | MIIM_STATE | MIIM_FTYPE | MIIM_DATA | MIIM_SUBMENU;
    mii.wID = item->command_;
    mii.dwItemData = reinterpret_cast<ULONG_PTR>(item);
    if (!item->enabled_) mii.fState |= MFS_GRAYED;
    if (item->checked_) mii.fState |= MFS_CHECKED;
    if (item->default_) mii.fState |= MFS_DEFAULT;
    if (item->radio_item_) mii.fType |= MFT_RADIOCHECK;
    if (right_to_left) mii.fType |= MFT_RIGHTORDER;
    std::string text;
    if (item->IsOwnerDraw()) {
      mii.fType |= MFT_OWNERDRAW;
    } else if (item->IsLine()) {
      mii.fType |= MFT_SEPARATOR;
    } else {
      text = item->caption_;
      if (item->shortcut_ != scNone && !(parent_menu && parent_menu->IsMenuBar() && !parent_))
        text += "\t" + item->ShortCutText();
      mii.fMask |= MIIM_STRING;
      mii.dwTypeData = text.data();
      mii.cch = UINT(text.size());
    }
    if (!item->items_.empty()) {
      const bool existed = item->HasHandle();
      mii.hSubMenu = item->Handle();  // a new handle is built with its entries
      if (existed && deep) item->RebuildHandle();
    }
    InsertMenuItemA(menu, position++, TRUE, &mii);
  }
}

void TMenuItem::Click() {
  if (auto_check_) SetChecked(radio_item_ ? true : !checked_);
  if (OnClick) {
    OnClick(this);
  } else if (action_) {
    action_->Execute();
  }
}

void TMenuItem::DrawItem(TCanvas& canvas, const RECT& rect, TOwnerDrawState state) {
  if (OnAdvancedDrawItem) {
    OnAdvancedDrawItem(this, canvas, rect, state);
  } else {
    DefaultDrawItem(canvas, rect, state);
  }
}

void TMenuItem::MeasureItem(TCanvas& canvas, int& width, int& height) {
  if (OnMeasureItem) {
    OnMeasureItem(this, canvas, width, height);
  } else {
    DefaultMeasureItem(canvas, width, height);
  }
}

void TMenuItem::DefaultMeasureItem(TCanvas& canvas, int& width, int& height) {
  if (IsLine()) {
    width = 0;
    height = 7;
    return;
  }
  TImageList* images = GetImageList();
  const int glyph = images ? images->Width() : 16;
  const int glyph_height = images ? images->Height() : 16;
  const SIZE text = canvas.TextExtent(StripAccelerator(caption_.empty() ? " " : caption_));
  width = 2 + glyph + 8 + text.cx + 8;
  if (shortcut_ != scNone) width += 16 + canvas.TextWidth(ShortCutText());
  height = std::max<int>(text.cy + 4, glyph_height + 3);
}

void TMenuItem::DefaultDrawItem(TCanvas& canvas, const RECT& rect, TOwnerDrawState state) {
  const bool selected = (state & ODS_SELECTED) != 0;
  HDC dc = canvas.Handle();
  canvas.Brush().SetStyle(bsSolid);
  canvas.Brush().SetColor(selected ? clHighlight : clMenu);
  canvas.FillRect(rect);
  if (IsLine()) {
    RECT line{rect.left, rect.top + (rect.bottom - rect.top) / 2 - 1, rect.right, rect.bottom};
    DrawEdge(dc, &line, EDGE_ETCHED, BF_TOP);
    return;
  }
  TMenu* menu = GetParentMenu();
  const bool rtl = menu && menu->IsRightToLeft();
  TImageList* images = GetImageList();
  const int glyph = images ? images->Width() : 16;
  RECT box = rtl ? RECT{rect.right - 1 - glyph, rect.top + 1, rect.right - 1, rect.top + 1 + glyph}
                 : RECT{rect.left + 1, rect.top + 1, rect.left + 1 + glyph, rect.top + 1 + glyph};
  if (images && image_index_ >= 0 && image_index_ < images->Count()) {
    if (checked_) DrawEdge(dc, &box, BDR_SUNKENOUTER, BF_RECT);
    images->Draw(canvas, box.left, box.top, image_index_, enabled_);
  } else if (checked_) {
    RECT mark = box;
    DrawFrameControl(dc, &mark, DFC_MENU, radio_item_ ? DFCS_MENUBULLET : DFCS_MENUCHECK);
  }
  canvas.Brush().SetStyle(bsClear);
  canvas.Font().SetStyle(default_ ? fsBold : 0);
  canvas.Font().SetColor(!enabled_ ? clGrayText : selected ? clHighlightText : clMenuText);
  RECT text = rect;
  if (rtl) {
    text.left += 10;
    text.right = box.left - 8;
  } else {
    text.left = box.right + 8;
    text.right -= 10;
  }
  canvas.DrawText(caption_, text,
                  DT_SINGLELINE | DT_VCENTER | DT_EXPANDTABS | (rtl ? DT_RIGHT : DT_LEFT));
  if (shortcut_ != scNone)
    canvas.DrawText(ShortCutText(), text, DT_SINGLELINE | DT_VCENTER | (rtl ? DT_LEFT : DT_RIGHT));
  canvas.Font().SetStyle(0);
}

// ---- TMenu --------------------------------------------------------------------------------

const TClassInfo& TMenu::StaticClassInfo() {
  static const TClassInfo info = DescribeClass<TMenu, TComponent>("TMenu", [](auto& c) {
    c.Enum("BiDiMode", kBiDiModeNames, &TMenu::BiDiMode, &TMenu::SetBiDiMode);
    c.Bool("OwnerDraw", &TMenu::OwnerDraw, &TMenu::SetOwnerDraw);
  });
  return info;
}

TMenu::TMenu(TComponent* owner) : TComponent(owner), items_(new TMenuItem(nullptr)) {
  items_->menu_ = this;
}

TMenu::~TMenu() { delete items_; }

void TMenu::Loaded() {
  TComponent::Loaded();
  Rebuild();
}

void TMenu::Notification(TComponent* component, TOperation operation) {
  TComponent::Notification(component, operation);
}

void TMenu::SetImages(TImageList* images) {
  if (images == images_) return;
  images_ = images;
  Rebuild();
}

void TMenu::SetOwnerDraw(bool value) {
  if (value == owner_draw_) return;
  owner_draw_ = value;
  Rebuild();
}

void TMenu::SetBiDiMode(TBiDiMode mode) {
  if (mode == bidi_mode_) return;
  bidi_mode_ = mode;
  Rebuild();
}

void TMenu::Rebuild() {
  if (IsLoading() || IsDestroying() || rebuilding_) return;
  rebuilding_ = true;
  items_->RebuildHandle();
  rebuilding_ = false;
  if (items_->HasHandle()) MenuChanged();
}

void TMenu::RebuildAround(TMenuItem* first, TMenuItem* second) {
  if (IsLoading() || IsDestroying() || rebuilding_) return;
  rebuilding_ = true;
  first->RebuildHandle(false);
  if (second) second->RebuildHandle(false);
  rebuilding_ = false;
  if (items_->HasHandle()) MenuChanged();
}

namespace {
TMenuItem* FindIn(TMenuItem* parent, UINT_PTR value, TMenu::TFindKind kind) {
  for (int i = 0; i < parent->Count(); ++i) {
    TMenuItem* item = parent->Items(i);
    switch (kind) {
      case TMenu::fkCommand:
        if (item->Command() == value) return item;
        break;
      case TMenu::fkHandle:
        if (item->HasHandle() && reinterpret_cast<UINT_PTR>(item->Handle()) == value) return item;
        break;
      case TMenu::fkShortCut:
        if (item->ShortCut() != scNone && item->ShortCut() == value) return item;
        break;
    }
    if (TMenuItem* found = FindIn(item, value, kind)) return found;
  }
  return nullptr;
}
}  // namespace

TMenuItem* TMenu::FindItem(UINT_PTR value, TFindKind kind) const {
  return FindIn(items_, value, kind);
}

bool TMenu::DispatchCommand(UINT command) {
  TMenuItem* item = command ? FindItem(command, fkCommand) : nullptr;
  if (!item) return false;
  item->Click();
  return true;
}

bool TMenu::IsShortCut(TShortCut shortcut) {
  TMenuItem* item = FindItem(shortcut, fkShortCut);
  if (!item) return false;
  item->UpdateFromAction();
  for (TMenuItem* p = item; p; p = p->Parent()) {
    if (!p->Enabled() || !p->Visible()) return false;
  }
  item->Click();
  return true;
}

namespace {
// Measured and drawn in the same font (the system's for menus), so an item's text fits.
void UseSystemMenuFont(TCanvas& canvas) {
  const LOGFONTA font = SystemMenuFont();
  canvas.Font().SetName(font.lfFaceName);
  canvas.Font().SetHeight(font.lfHeight);
  canvas.Font().SetCharset(font.lfCharSet);
}
}  // namespace

bool TMenu::DispatchDrawItem(DRAWITEMSTRUCT& dis) {
  if (dis.CtlType != ODT_MENU) return false;
  TMenuItem* item = FindItem(dis.itemID, fkCommand);
  if (!item) return false;
  item->UpdateFromAction();
  TCanvas canvas;
  canvas.SetHandle(dis.hDC);
  UseSystemMenuFont(canvas);
  item->DrawItem(canvas, dis.rcItem, dis.itemState);
  canvas.SetHandle(nullptr);
  return true;
}

bool TMenu::DispatchMeasureItem(MEASUREITEMSTRUCT& mis) {
  if (mis.CtlType != ODT_MENU) return false;
  TMenuItem* item = FindItem(mis.itemID, fkCommand);
  if (!item) return false;
  // A memory DC measures text as the screen does, for a fraction of a screen DC's cost.
  ScopedMemoryDc measuring(CreateCompatibleDC(nullptr));
  TCanvas canvas;
  canvas.SetHandle(measuring.get());
  UseSystemMenuFont(canvas);
  int width = int(mis.itemWidth), height = int(mis.itemHeight);
  item->MeasureItem(canvas, width, height);
  mis.itemWidth = UINT(std::max(width, 0));
  mis.itemHeight = UINT(std::max(height, 0));
  canvas.SetHandle(nullptr);
  return true;
}

// ---- TMainMenu ----------------------------------------------------------------------------

const TClassInfo& TMainMenu::StaticClassInfo() {
  static const TClassInfo info = DescribeClass<TMainMenu, TMenu>("TMainMenu", [](auto&) {});
  return info;
}

void TMainMenu::MenuChanged() {
  // Sent to the window, not performed, so that a subclass of the window sees it as well.
  if (form_ && form_->HandleAllocated()) SendMessageA(form_->Handle(), CM_MENUCHANGED, 0, 0);
}

// ---- TPopupMenu ---------------------------------------------------------------------------

namespace {
std::vector<TPopupMenu*>& LivePopups() {
  static std::vector<TPopupMenu*> list;
  return list;
}

LRESULT CALLBACK PopupWindowProc(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam) {
  try {
    switch (msg) {
      case WM_INITMENUPOPUP:
      case WM_SETTINGCHANGE:
        ForgetSystemFonts();
        break;
      case WM_COMMAND:
        if (HIWORD(wparam) == 0 && lparam == 0) {
          const auto list = LivePopups();
          for (TPopupMenu* menu : list) {
            if (menu->DispatchCommand(LOWORD(wparam))) return 0;
          }
        }
        break;
      case WM_DRAWITEM:
        for (TPopupMenu* menu : LivePopups()) {
          if (menu->DispatchDrawItem(*reinterpret_cast<DRAWITEMSTRUCT*>(lparam))) return TRUE;
        }
        break;
      case WM_MEASUREITEM:
        for (TPopupMenu* menu : LivePopups()) {
          if (menu->DispatchMeasureItem(*reinterpret_cast<MEASUREITEMSTRUCT*>(lparam))) return TRUE;
        }
        break;
      default:
        break;
    }
  } catch (...) {
    if (TApplication* app = Application()) app->HandleException(std::current_exception());
    return 0;
  }
  return DefWindowProcA(hwnd, msg, wparam, lparam);
}
}  // namespace

const TClassInfo& TPopupMenu::StaticClassInfo() {
  static const TClassInfo info = DescribeClass<TPopupMenu, TMenu>("TPopupMenu", [](auto& c) {
    c.Bool("AutoPopup", &TPopupMenu::AutoPopup, &TPopupMenu::SetAutoPopup);
    c.Event("OnPopup", &TPopupMenu::OnPopup);
  });
  return info;
}

TPopupMenu::TPopupMenu(TComponent* owner) : TMenu(owner) { LivePopups().push_back(this); }

TPopupMenu::~TPopupMenu() { std::erase(LivePopups(), this); }

const std::vector<TPopupMenu*>& TPopupMenu::PopupList() { return LivePopups(); }

HWND TPopupMenu::PopupWindow() {
  static ScopedWindow window = [] {
    WNDCLASSA wc{};
    wc.lpfnWndProc = PopupWindowProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "FwPopupMenuOwner";
    RegisterClassA(&wc);
    return ScopedWindow(CreateWindowExA(WS_EX_TOOLWINDOW, wc.lpszClassName, "", WS_POPUP, 0, 0, 0,
                                        0, nullptr, nullptr, wc.hInstance, nullptr));
  }();
  return window.get();
}

void TPopupMenu::Popup(int x, int y) {
  if (OnPopup) OnPopup(this);
  for (int i = 0; i < Items()->Count(); ++i) Items()->Items(i)->UpdateFromAction();
  // Entries are rebuilt each time: draw handlers given to the items since the last showing
  // make them owner-drawn.
  Rebuild();
  HMENU menu = Handle();
  UINT flags = TPM_RIGHTBUTTON | (IsRightToLeft() ? TPM_RIGHTALIGN : TPM_LEFTALIGN);
  TrackPopupMenu(menu, flags, x, y, 0, PopupWindow(), nullptr);
}

void RegisterMenuClasses() {
  for (const TClassInfo* info : {&TMainMenu::StaticClassInfo(), &TPopupMenu::StaticClassInfo(),
                                 &TMenuItem::StaticClassInfo(), &TAction::StaticClassInfo()})
    RegisterComponentClass(*info);
}

}  // namespace fw
