#include "skin/manager/menu_bar.h"

#include <algorithm>
#include <cctype>

#include "framework/scoped_handle.h"
#include "skin/data/skin_data.h"
#include "skin/form/caption_layout.h"
#include "skin/form/skin_form.h"
#include "skin/manager/element_painting.h"
#include "skin/manager/menu_bar_layout.h"
#include "skin/manager/menu_item_drawing.h"
#include "skin/manager/popup_menu.h"
#include "skin/manager/skin_manager.h"

namespace skin {

namespace {

// Tracking state shared by OpenDropDown and the filter hook. The form and the bar may be
// freed while the drop-down is open: they are used only while their watches say alive.
struct Tracking {
  TSkinForm* form = nullptr;
  TSkinMenuBar* bar = nullptr;
  fw::LifeWatch form_alive, bar_alive;
  int open_index = -1;
  fw::ScopedHook hook;
  POINT last_cursor{};
  bool down_posted = false;
  bool switching = false;
};
Tracking& State() {
  static Tracking state;
  return state;
}

// Every entry of the menu and of its sub-menus becomes owner-drawn. Only the type flags
// are changed (MIIM_FTYPE), so the entries keep their texts for foreign-item drawing; each
// entry changed is added to `changed`, to be given its type back.
void MakeOwnerDrawn(HMENU menu, std::vector<std::pair<HMENU, UINT>>& changed, int depth = 0) {
  if (!menu || depth > 16) return;
  const int count = GetMenuItemCount(menu);
  for (int i = 0; i < count; ++i) {
    MENUITEMINFOA mii{};
    mii.cbSize = sizeof mii;
    mii.fMask = MIIM_FTYPE | MIIM_SUBMENU;
    if (!GetMenuItemInfoA(menu, UINT(i), TRUE, &mii)) continue;
    if (!(mii.fType & MFT_OWNERDRAW)) {
      mii.fMask = MIIM_FTYPE;
      mii.fType |= MFT_OWNERDRAW;
      if (SetMenuItemInfoA(menu, UINT(i), TRUE, &mii)) changed.emplace_back(menu, UINT(i));
    }
    if (mii.hSubMenu) MakeOwnerDrawn(mii.hSubMenu, changed, depth + 1);
  }
}

}  // namespace

void TMenuBtn::Draw() {
  if (Bar) Bar->PaintButton(*this);
}

TSkinMenuBar::TSkinMenuBar(TSkinData* data, TSkinForm* controller, fw::TMenu* menu)
    : menu_(menu), data_(data), controller_(controller) {}

const SkinDefinition& TSkinMenuBar::Skin() const {
  return controller_ ? controller_->Skin() : *data_;
}

TSkinMenuBar::~TSkinMenuBar() {
  EndLife();
  // A bar freed under its open drop-down takes the drop-down with it.
  if (State().bar == this) {
    if (State().open_index >= 0) EndMenu();
    State().bar = nullptr;
    State().bar_alive = {};
  }
  ClearButtons();
  RestoreItemTypes();
}

void TSkinMenuBar::RestoreItemTypes() {
  // A menu object draws its own items again once unskinned; the entries of a window
  // without one would be left owner-drawn with nobody to draw them.
  if (!menu_) {
    for (const auto& [menu, position] : owner_drawn_) {
      if (!IsMenu(menu)) continue;
      MENUITEMINFOA mii{};
      mii.cbSize = sizeof mii;
      mii.fMask = MIIM_FTYPE;
      if (!GetMenuItemInfoA(menu, position, TRUE, &mii) || !(mii.fType & MFT_OWNERDRAW)) continue;
      mii.fType &= ~UINT(MFT_OWNERDRAW);
      SetMenuItemInfoA(menu, position, TRUE, &mii);
    }
  }
  owner_drawn_.clear();
}

void TSkinMenuBar::ClearButtons() {
  // A button under the mouse is the controller's hot object: it must not outlive the bar.
  if (controller_) {
    for (const auto& b : buttons_) {
      if (controller_->HotObject == b.get()) controller_->HotObject = nullptr;
      if (controller_->PressedObject == b.get()) controller_->PressedObject = nullptr;
    }
  }
  buttons_.clear();
}

int TSkinMenuBar::OpenIndex() { return State().open_index; }
TSkinForm* TSkinMenuBar::TrackingForm() { return State().form_alive ? State().form : nullptr; }

std::unique_ptr<TMenuBtn> TSkinMenuBar::NewButton(int index) {
  auto button = std::make_unique<TMenuBtn>();
  button->Bar = this;
  button->SkinData = data_;
  button->Controller = controller_;
  button->Index = index;
  button->Visible = true;
  return button;
}

void TSkinMenuBar::DetachNativeMenu() {
  if (!controller_ || !GetMenu(controller_->Handle)) return;
  // The window keeps its size, so its client grows by the native bar's rows; the frame
  // fitted at the start of skinning gives them back.
  RECT before{}, after{};
  GetClientRect(controller_->Handle, &before);
  SetMenu(controller_->Handle, nullptr);
  GetClientRect(controller_->Handle, &after);
  if (controller_->LifeState == LifeAttached)
    controller_->RemovedMenuHeight += std::max(0L, after.bottom - before.bottom);
}

std::unique_ptr<TMenuBtn> TSkinMenuBar::ButtonFromNativeItem(int i) {
  char text[81] = {};
  MENUITEMINFOA mii{};
  mii.cbSize = sizeof mii;
  mii.fMask = MIIM_STATE | MIIM_ID | MIIM_SUBMENU | MIIM_TYPE;
  mii.dwTypeData = text;
  mii.cch = sizeof text - 1;
  GetMenuItemInfoA(menu_handle_, UINT(i), TRUE, &mii);
  auto button = NewButton(i);
  button->SubMenu = mii.hSubMenu;
  button->Enabled = (mii.fState & (MFS_GRAYED | MFS_DISABLED)) == 0;
  button->CommandId = mii.wID;
  if (!(mii.fType & (MFT_OWNERDRAW | MFT_BITMAP | MFT_SEPARATOR))) button->Caption = text;
  return button;
}

void TSkinMenuBar::BuildFromMenuHandle() {
  if (HMENU current = GetMenu(controller_->Handle)) menu_handle_ = current;
  if (!menu_handle_) return;
  ClearButtons();
  const int count = GetMenuItemCount(menu_handle_);
  if (count <= 0) return;  // no items: the window keeps its native menu
  for (int i = 0; i < count; ++i) {
    auto button = ButtonFromNativeItem(i);
    // Owner-drawn entries carry no text: the menu object knows the item.
    if (button->Caption.empty() && menu_ && menu_->Items()->Count() > i) {
      fw::TMenuItem* item = menu_->Items()->Items(i);
      item->UpdateFromAction();
      button->Caption = item->Caption();
      button->Enabled = item->Enabled();
      button->CommandId = GetMenuItemID(menu_handle_, i);
      button->SubMenu = item->Count() > 0 ? item->Handle() : nullptr;
    }
    buttons_.push_back(std::move(button));
  }
  DetachNativeMenu();
}

void TSkinMenuBar::BuildFromMenuObject() {
  if (HMENU current = GetMenu(controller_->Handle)) menu_handle_ = current;
  ClearButtons();
  if (menu_) {
    for (int i = 0; i < menu_->Items()->Count(); ++i) {
      fw::TMenuItem* item = menu_->Items()->Items(i);
      item->UpdateFromAction();
      // A hidden item is not in the native bar either.
      if (!item->Visible()) continue;
      auto button = NewButton(static_cast<int>(buttons_.size()));
      button->Caption = item->Caption();
      button->Enabled = item->Enabled();
      button->Visible = item->Visible();
      button->CommandId = item->Command();
      button->SubMenu = item->Count() > 0 ? item->Handle() : nullptr;
      buttons_.push_back(std::move(button));
    }
  }
  DetachNativeMenu();
  controller_->HotObject = nullptr;
}

void TSkinMenuBar::BuildFromMdiMenu(HMENU menu) {
  if (menu) menu_handle_ = menu;
  if (!menu_handle_) return;
  ClearButtons();
  const int count = GetMenuItemCount(menu_handle_);
  if (count <= 0) return;
  for (int i = 0; i < count; ++i) {
    auto button = ButtonFromNativeItem(i);
    if (button->Caption.empty() && menu_) {
      // The last top-level item of that command wins.
      for (int k = 0; k < menu_->Items()->Count(); ++k) {
        fw::TMenuItem* item = menu_->Items()->Items(k);
        if (item->Command() == button->CommandId) button->Caption = item->Caption();
      }
    }
    buttons_.push_back(std::move(button));
  }
  DetachNativeMenu();
}

void TSkinMenuBar::DrawCaption(HDC dc, const TMenuBtn& button, const RECT& text_rect) {
  SetBkMode(dc, TRANSPARENT);
  // A disabled caption ends in the system's button-shadow colour.
  SetTextColor(dc,
               button.Enabled ? ResolveColour(data_->MenuBarText) : GetSysColor(COLOR_BTNSHADOW));
  RECT r = text_rect;
  DrawTextA(dc, button.Caption.c_str(), int(button.Caption.size()), &r,
            DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_EXPANDTABS);
}

void TSkinMenuBar::PaintBar(HDC dc, const RECT& bar) {
  const int w = bar.right - bar.left, h = bar.bottom - bar.top;
  if (w <= 0 || h <= 0) return;
  fw::TBitmap surface;
  surface.SetPixelFormat(fw::pf32bit);
  surface.SetSize(w, h);
  HDC sdc = surface.Canvas().Handle();
  const ScopedLayoutLike mirrored(sdc, dc);
  const RECT local{0, 0, w, h};
  const TDataSkinObject* e = Skin().MenuBarElement.get();
  const bool has_element = e && !e->Image.Empty();
  if (has_element) {
    const int frame = controller_->IsActive ? 1 : 2;
    const Margins margins{e->LeftWidth, 0, e->RightWidth, 0};
    if (e->Tile == 1) {
      DrawElement(sdc, local, e->Image, margins, frame, 2, false, false, true);
    } else {
      DrawHorzElement(sdc, local, e->Image, margins, frame, 2, false, true);
    }
  } else {
    fw::ScopedBrush brush(CreateSolidBrush(ResolveColour(data_->MenubarColour)));
    FillRect(sdc, &local, brush.get());
  }
  bar_rect_ = bar;
  background_.Assign(surface);

  fw::TCanvas& canvas = surface.Canvas();
  UseMenuFont(canvas, Skin().Dpi);
  const std::vector<PixelRect> rects = ButtonRects(canvas, w, h);
  fw::ScopedSelectObject font(sdc, canvas.Font().Handle());
  for (size_t i = 0; i < buttons_.size(); ++i) {
    const RECT text = ToRect(rects[i]);
    DrawCaption(sdc, *buttons_[i], text);
    buttons_[i]->Bounds = {text.left + bar.left, text.top + bar.top, text.right + bar.left,
                           text.bottom + bar.top};
  }
  PaintMdiChildButtons(surface);
  BitBlt(dc, bar.left, bar.top, w, h, sdc, 0, 0, SRCCOPY);
}

std::vector<PixelRect> TSkinMenuBar::ButtonRects(fw::TCanvas& canvas, int w, int h) const {
  const bool rtl = menu_ && menu_->IsRightToLeft();
  const TDataSkinObject* e = Skin().MenuBarElement.get();
  const bool has_element = e && !e->Image.Empty();
  const int x0 =
      MenuBarFirstOffset(has_element, e ? e->LeftWidth : 1, e ? e->RightWidth : 1, rtl, w);
  std::vector<int> widths;
  for (const auto& b : buttons_) widths.push_back(canvas.TextWidth(b->Caption));
  return LayoutMenuBarButtons(widths, w, h, x0, rtl);
}

void TSkinMenuBar::EnsureButtonBounds() {
  if (buttons_.empty()) return;
  for (const auto& b : buttons_)
    if (!IsRectEmpty(&b->Bounds)) return;
  if (IsRectEmpty(&bar_rect_)) {
    // Not painted yet: the bar's place in the frame as the frame paint will put it.
    const TSkinForm& f = *controller_;
    RECT window{};
    GetWindowRect(f.Handle, &window);
    bar_rect_ = {f.BorderLeft, f.BorderTop, window.right - window.left - f.BorderRight,
                 f.BorderTop + f.MenuHeight};
  }
  const int w = bar_rect_.right - bar_rect_.left, h = bar_rect_.bottom - bar_rect_.top;
  if (w <= 0 || h <= 0) return;
  fw::TBitmap measure;
  measure.SetSize(1, 1);
  UseMenuFont(measure.Canvas(), Skin().Dpi);
  const std::vector<PixelRect> rects = ButtonRects(measure.Canvas(), w, h);
  for (size_t i = 0; i < buttons_.size(); ++i) {
    const RECT text = ToRect(rects[i]);
    buttons_[i]->Bounds = {text.left + bar_rect_.left, text.top + bar_rect_.top,
                           text.right + bar_rect_.left, text.bottom + bar_rect_.top};
  }
}

void TSkinMenuBar::PaintMdiChildButtons(fw::TBitmap& surface) {
  TSkinForm& f = *controller_;
  if (f.MdiKind != MdiFrame || !f.ActiveMdiChildMaximized()) return;
  // The frame's caption buttons of the menu-bar row act on the maximised child; the title
  // bar's layout placed them in window coordinates, the bar surface starts at the borders.
  for (TWinSysButton* button : f.CaptionButtons) {
    const TDataSkinSysButton* e = button->Element;
    if (!e || e->Visibility != kVisibilityMenuRow || e->Image.Empty()) continue;
    RECT r = button->Bounds;
    OffsetRect(&r, -f.BorderLeft, -f.BorderTop);
    // The bar under the button, kept for its state changes: drawn straight onto the
    // window, a state must not show the frame drawn before through its transparent pixels.
    button->Background = PartOfBitmap(surface, r);
    DrawElementFrame(surface.Canvas().Handle(), r, e->Image, 1, e->FrameCount, true);
  }
  GdiFlush();
  if (SkinManager && !SkinManager->MdiMaximized) SkinManager->SetMdiMax(true);
}

void TSkinMenuBar::PaintButton(TMenuBtn& button) {
  if (background_.Empty()) return;
  fw::ScopedGetDc dc = fw::ScopedGetDc::Window(controller_->Handle);
  if (!dc.get()) return;
  const RECT& b = button.Bounds;
  const int bw = b.right - b.left;
  const int bh = bar_rect_.bottom - bar_rect_.top;
  {
    const ScopedLayoutLike mirrored(background_.Canvas().Handle(), dc.get());
    BitBlt(dc.get(), b.left, bar_rect_.top, bw, bh, background_.Canvas().Handle(),
           b.left - bar_rect_.left, 0, SRCCOPY);
  }
  if (button.ButtonState == 2 || button.ButtonState == 3) {  // pressed or hot
    fw::ScopedBrush frame(CreateSolidBrush(ResolveColour(data_->ButtonHilight)));
    FrameRect(dc.get(), &b, frame.get());
  }
  fw::TCanvas canvas;
  canvas.SetHandle(dc.get());
  UseMenuFont(canvas, Skin().Dpi);
  fw::ScopedSelectObject font(dc.get(), canvas.Font().Handle());
  DrawCaption(dc.get(), button, b);
  canvas.SetHandle(nullptr);
}

TMenuBtn* TSkinMenuBar::ButtonAt(POINT p) const {
  for (const auto& b : buttons_) {
    if (!b->Caption.empty() && PtInRect(&b->Bounds, p)) return b.get();
  }
  return nullptr;
}

TMenuBtn* TSkinMenuBar::FindAccelButton(char key) const {
  const char wanted = char(std::toupper(static_cast<unsigned char>(key)));
  if (!wanted) return nullptr;
  for (const auto& b : buttons_) {
    if (b->Enabled && fw::AcceleratorOf(b->Caption) == wanted) return b.get();
  }
  return nullptr;
}

bool TSkinMenuBar::RightToLeft() const { return menu_ && menu_->IsRightToLeft(); }

TMenuBtn* TSkinMenuBar::NextDropDown(int index, bool forward) const {
  const int count = ButtonCount();
  for (int step = 0; step < count; ++step) {
    index = MenuBarNeighbour(index, count, forward);
    TMenuBtn* b = Button(index);
    if (b && b->Enabled && b->SubMenu && !b->Caption.empty()) return b;
  }
  return nullptr;
}

TSkinMenuBar::OpenMenuState TSkinMenuBar::OpenMenuOf(HMENU drop_down) {
  OpenMenuState state;
  // The menu windows are top-level windows; the first visible one of this thread in the
  // z-order is the innermost open menu.
  HWND window = nullptr;
  while ((window = FindWindowExA(nullptr, window, "#32768", nullptr)) != nullptr) {
    if (IsWindowVisible(window) &&
        GetWindowThreadProcessId(window, nullptr) == GetCurrentThreadId())
      break;
  }
  if (!window) return state;
  auto menu = reinterpret_cast<HMENU>(SendMessageA(window, MN_GETHMENU, 0, 0));
  if (!menu) return state;
  state.in_submenu = menu != drop_down;
  const int count = GetMenuItemCount(menu);
  for (int i = 0; i < count; ++i) {
    const UINT item_state = GetMenuState(menu, UINT(i), MF_BYPOSITION);
    if (item_state == UINT(-1) || !(item_state & MF_HILITE)) continue;
    state.selected_has_submenu =
        GetSubMenu(menu, i) != nullptr && !(item_state & (MF_GRAYED | MF_DISABLED));
    break;
  }
  return state;
}

void TSkinMenuBar::SwitchToButton(TMenuBtn* button) {
  if (!button) return;
  EnsureButtonBounds();
  RECT window;
  GetWindowRect(controller_->Handle, &window);
  const int x = button->Bounds.left + window.left + 1;
  const int y = button->Bounds.top + window.top + 1;
  PostMessageA(controller_->Handle, WM_NCLBUTTONDOWN, 1, MAKELPARAM(x, y));
  // Windows closes the open drop-down when its loop meets the click outside it; Wine's
  // menu loop dispatches a posted non-client click without closing, so the drop-down is
  // ended here and the click opens the other one once the loop has returned.
  if (State().open_index >= 0) EndMenu();
}

void TSkinMenuBar::RunKeyboardMode() {
  TMenuBtn* first = NextDropDown(ButtonCount() - 1, true);
  if (!first || State().open_index >= 0) return;
  EnsureButtonBounds();
  HWND hwnd = controller_->Handle;
  const fw::LifeWatch alive = Watch();
  int index = first->Index;
  // The highlighted button may be rebuilt by anything dispatched below: it is looked up
  // by its index every time.
  auto show = [&](int state) {
    if (TMenuBtn* b = Button(index)) {
      b->ButtonState = state;
      PaintButton(*b);
    }
  };
  show(3);
  TMenuBtn* open = nullptr;
  bool alt_down = false;  // the menu key pressed again: the mode ends when it comes up
  bool done = false;
  MSG msg;
  while (!done) {
    if (GetActiveWindow() != hwnd) break;
    const BOOL got = GetMessageA(&msg, nullptr, 0, 0);
    if (got <= 0) {
      if (got == 0) PostQuitMessage(static_cast<int>(msg.wParam));
      break;
    }
    switch (msg.message) {
      case WM_KEYDOWN:
      case WM_SYSKEYDOWN:
        switch (msg.wParam) {
          case VK_LEFT:
          case VK_RIGHT:
            if (TMenuBtn* next = NextDropDown(index, (msg.wParam == VK_RIGHT) != RightToLeft())) {
              show(1);
              index = next->Index;
              show(3);
            }
            break;
          case VK_DOWN:
          case VK_UP:
          case VK_RETURN:
            open = Button(index);
            done = true;
            break;
          case VK_ESCAPE:
          case VK_F10:
            done = true;
            break;
          case VK_MENU:
            alt_down = true;
            break;
          default:
            TranslateMessage(&msg);  // a letter comes as a character message next
            break;
        }
        continue;
      case WM_KEYUP:
      case WM_SYSKEYUP:
        if (msg.wParam == VK_MENU && alt_down) done = true;
        continue;
      case WM_CHAR:
      case WM_SYSCHAR:
        if (TMenuBtn* b = FindAccelButton(static_cast<char>(msg.wParam))) {
          open = b;
          done = true;
        } else {
          MessageBeep(0);
        }
        continue;
      case WM_LBUTTONDOWN:
      case WM_RBUTTONDOWN:
      case WM_MBUTTONDOWN:
      case WM_NCLBUTTONDOWN:
      case WM_NCRBUTTONDOWN:
        done = true;  // the click goes on to where it was made
        break;
      default:
        break;
    }
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
    // What was dispatched may have ended the window, this bar or its controller.
    if (!alive || !IsWindow(hwnd)) return;
  }
  if (!alive) return;
  show(1);
  if (open && open->Enabled && open->SubMenu) SwitchToButton(open);
}

bool TSkinMenuBar::HandleNcLButtonDown(POINT window_point) {
  EnsureButtonBounds();
  TMenuBtn* button = ButtonAt(window_point);
  if (!button) return false;
  // A disabled item takes the click and does nothing, as on the native bar.
  if (button->Enabled) OpenDropDown(button);
  return true;
}

bool TSkinMenuBar::OpenDropDown(TMenuBtn* button) {
  HWND hwnd = controller_->Handle;
  if (!button->Enabled) return button->SubMenu != nullptr;
  // A form's menu object runs the item's click for its command; for another program a
  // drop-down's id is no command of its (the system gives the submenu's handle there), and
  // only an item without a drop-down sends one, as on the native bar.
  if (controller_->Form || !button->SubMenu) PostMessageA(hwnd, WM_COMMAND, button->CommandId, 0);
  if (!button->SubMenu) return false;
  Tracking& t = State();
  t.open_index = button->Index;
  t.form = controller_;
  t.bar = this;
  t.form_alive = controller_->Watch();
  t.bar_alive = Watch();
  RECT window;
  GetWindowRect(hwnd, &window);
  MakeOwnerDrawn(button->SubMenu, owner_drawn_);
  controller_->PopupPending = true;
  controller_->TrackedMenu = button->SubMenu;
  t.switching = false;
  t.down_posted = false;
  GetCursorPos(&t.last_cursor);
  if (!t.hook)
    t.hook.reset(SetWindowsHookExA(WH_MSGFILTER, &TSkinMenuBar::MenuFilterHook, nullptr,
                                   GetCurrentThreadId()));
  if (button->Enabled) {
    button->ButtonState = 2;
    PaintButton(*button);
    // The menu loop runs the manager's timer and posted messages: a skin switch, a menu
    // change that rebuilds the buttons or the window's end may free the button, this bar
    // and the controller (framework/lifetime.h).
    const fw::LifeWatch bar_alive = Watch();
    const fw::LifeWatch button_alive = button->Watch();
    TSkinForm* controller = controller_;
    const fw::LifeWatch controller_alive = controller->Watch();
    // A window without a form object fills and enables its drop-downs on the menu
    // notifications, as it does for its native bar; a form's menu objects need none.
    const UINT notify = controller->Form ? TPM_NONOTIFY : 0;
    TrackPopupMenu(button->SubMenu, notify | TPM_RIGHTBUTTON, button->Bounds.left + window.left,
                   button->Bounds.bottom + window.top, 0, hwnd, nullptr);
    EndTracking();
    if (controller_alive) controller->PopupPending = false;
    if (!bar_alive) return true;
    if (button_alive) {
      button->ButtonState = 1;
      PaintButton(*button);
    }
    return true;
  }
  EndTracking();
  controller_->PopupPending = false;
  return true;
}

void TSkinMenuBar::EndTracking() {
  Tracking& t = State();
  t.hook.reset();
  t.open_index = -1;
  t.down_posted = false;
  t.form = nullptr;
  t.bar = nullptr;
  t.form_alive = {};
  t.bar_alive = {};
}

LRESULT CALLBACK TSkinMenuBar::MenuFilterHook(int code, WPARAM wparam, LPARAM lparam) {
  Tracking& t = State();
  auto* msg = reinterpret_cast<MSG*>(lparam);
  const bool tracking = code == MSGF_MENU && msg && t.bar_alive && t.form_alive;
  // In a right-to-left menu the arrow keys change places.
  if (tracking && t.bar->RightToLeft() &&
      (msg->message == WM_KEYDOWN || msg->message == WM_KEYUP)) {
    if (msg->wParam == VK_LEFT) {
      msg->wParam = VK_RIGHT;
    } else if (msg->wParam == VK_RIGHT) {
      msg->wParam = VK_LEFT;
    }
  }
  const LRESULT next = CallNextHookEx(t.hook.get(), code, wparam, lparam);
  // The next hook may have run anything: the watches are asked again.
  if (next != 0 || code != MSGF_MENU || !msg || !t.bar_alive || !t.form_alive) return next;
  try {
    FollowMenuMessage(*msg);
  } catch (...) {
    ReportCaughtFault("menu bar message filter");
  }
  return next;
}

void TSkinMenuBar::FollowMenuMessage(const MSG& msg) {
  Tracking& t = State();
  TSkinMenuBar* bar = t.bar;
  if (!t.down_posted) {
    t.down_posted = true;
    PostMessageA(msg.hwnd, WM_KEYDOWN, VK_DOWN, 0);  // selects the first item
  }
  TMenuBtn* target = nullptr;
  switch (msg.message) {
    case WM_KEYDOWN:
      if (msg.wParam == VK_RETURN || msg.wParam == VK_ESCAPE) {
        t.switching = false;
      } else if (msg.wParam == VK_LEFT || msg.wParam == VK_RIGHT) {
        // Left closes an open submenu and Right opens the selected item's one (the menu
        // loop does both); otherwise they go to the previous or next drop-down.
        const OpenMenuState open = OpenMenuOf(t.form->TrackedMenu);
        const bool forward = msg.wParam == VK_RIGHT;
        if (forward ? !open.selected_has_submenu : !open.in_submenu)
          target = bar->NextDropDown(t.open_index, forward);
      }
      break;
    case WM_SYSKEYDOWN:
      if (msg.wParam == VK_MENU) t.form->PopupPending = false;
      return;
    case WM_MENUSELECT: {
      const UINT flags = HIWORD(msg.wParam);
      if (flags == 0xFFFF && msg.lParam == 0) {
        if (!t.switching) t.form->PopupPending = false;
        return;
      }
      t.switching = false;
      break;
    }
    case WM_MOUSEMOVE: {
      if (msg.pt.x != t.last_cursor.x || msg.pt.y != t.last_cursor.y) {
        target = bar->ButtonAt(t.form->ScreenToFramePoint(msg.pt));
        t.last_cursor = msg.pt;
        // Over an item without a drop-down the open one closes and the item is only
        // selected: a command runs on a click, never on the mouse passing over it.
        if (target && target->Index != t.open_index && target->Enabled && !target->SubMenu) {
          EndMenu();
          return;
        }
        if (target && (!target->Enabled || !target->SubMenu)) target = nullptr;
      }
      break;
    }
    default:
      break;
  }
  if (target && target->Index != t.open_index) {
    t.switching = true;
    bar->SwitchToButton(target);
  }
}

bool TSkinMenuBar::DrawItem(DRAWITEMSTRUCT& dis) {
  if (dis.CtlType != ODT_MENU) return false;
  HMENU menu = reinterpret_cast<HMENU>(dis.hwndItem);
  if (PendingPopup) {
    PendingPopup->SetMenu(menu);
    PendingPopup = nullptr;
  }
  fw::TCanvas canvas;
  canvas.SetHandle(dis.hDC);
  UseMenuFont(canvas, Skin().Dpi);
  const bool selected = (dis.itemState & ODS_SELECTED) != 0;
  fw::TMenuItem* item = menu_ ? menu_->FindItem(dis.itemID, fw::TMenu::fkCommand) : nullptr;
  if (item) {
    DrawMenuItem(Skin(), *item, canvas, selected, dis.rcItem, menu_);
  } else {
    std::unique_ptr<fw::TMenuItem> temporary = ForeignMenuItem(menu, dis.itemID);
    DrawForeignMenuItem(Skin(), menu, *temporary, selected, dis.rcItem, canvas);
  }
  canvas.SetHandle(nullptr);
  return true;
}

bool TSkinMenuBar::MeasureItem(MEASUREITEMSTRUCT& mis) {
  if (mis.CtlType != ODT_MENU) return false;
  int w = int(mis.itemWidth), h = int(mis.itemHeight);
  fw::TMenuItem* item = menu_ ? menu_->FindItem(mis.itemID, fw::TMenu::fkCommand) : nullptr;
  if (item) {
    fw::ScopedGetDc dc = fw::ScopedGetDc::Window(controller_->Handle);
    fw::TCanvas canvas;
    canvas.SetHandle(dc.get());
    UseMenuFont(canvas, Skin().Dpi);
    MeasureMenuItem(Skin(), *item, canvas, w, h);
    canvas.SetHandle(nullptr);
  } else {
    MeasureForeignMenuItem(Skin(), controller_->Handle, controller_->TrackedMenu, mis.itemID, w, h);
  }
  mis.itemWidth = UINT(std::max(w, 0));
  mis.itemHeight = UINT(std::max(h, 0));
  return true;
}

}  // namespace skin
