// Caption buttons and the skinned system menu: the buttons are made from the skin data's
// caption-button elements, laid out and drawn into the title cache with every full frame
// paint, drawn straight onto the window when their state changes, and act on release.
#include "skin/form/caption_buttons.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>
#include <cstring>

#include "framework/image_list.h"
#include "framework/menus.h"
#include "skin/controls/skin_control.h"
#include "skin/data/skin_data.h"
#include "skin/form/caption_layout.h"
#include "skin/form/skin_form.h"
#include "skin/manager/menu_bar.h"
#include "skin/manager/menu_item_drawing.h"
#include "skin/manager/skin_manager.h"

namespace skin {

namespace {

bool InRect(const RECT& r, POINT p) {
  return p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom;
}

// The skinned menu bar's item under a window point: it is hot-tracked like a caption button.
TNCObject* MenuBarObjectAt(const TSkinForm& form, POINT point) {
  return form.MenuBar ? form.MenuBar->ButtonAt(point) : nullptr;
}

}  // namespace

PixelBitmap PartOfBitmap(fw::TBitmap& bitmap, const RECT& rect) {
  if (bitmap.PixelFormat() != fw::pf32bit || rect.left < 0 || rect.top < 0 ||
      rect.right > bitmap.Width() || rect.bottom > bitmap.Height() || rect.right <= rect.left ||
      rect.bottom <= rect.top)
    return {};
  PixelBitmap out(rect.right - rect.left, rect.bottom - rect.top, PixelFormat::kBgra32);
  for (int y = 0; y < out.Height(); ++y) {
    const uint8_t* row = bitmap.ScanLine(rect.top + y);
    if (!row) return {};
    std::memcpy(out.ScanLine(y), row + size_t(rect.left) * 4, size_t(out.Width()) * 4);
  }
  return out;
}

namespace {

// Draws one frame of a strip, stretched to `target` and transparent on magenta, straight
// into the pixels of a 32-bit bitmap: the same pixels DrawElementFrame gives, without a
// DIB section, mask and blit per button on every frame paint.
void DrawFrameIntoBitmap(fw::TBitmap& bitmap, const RECT& target, const PixelBitmap& strip,
                         int frame, int frames) {
  const int w = target.right - target.left, h = target.bottom - target.top;
  if (w <= 0 || h <= 0) return;
  const PixelBitmap composed = ComposeElementFrame({0, 0, w, h}, strip, frame, frames);
  if (composed.Empty()) return;
  for (int y = 0; y < h; ++y) {
    const int dy = target.top + y;
    if (dy < 0 || dy >= bitmap.Height()) continue;
    uint8_t* row = bitmap.ScanLine(dy);
    if (!row) return;
    for (int x = 0; x < w; ++x) {
      const int dx = target.left + x;
      if (dx < 0 || dx >= bitmap.Width()) continue;
      const uint32_t c = composed.Pixel(x, y) & 0xFFFFFF;
      if (c == kMagentaKey) continue;
      uint8_t* p = row + size_t(dx) * 4;
      p[0] = static_cast<uint8_t>(c >> 16);  // blue
      p[1] = static_cast<uint8_t>(c >> 8);   // green
      p[2] = static_cast<uint8_t>(c);        // red
    }
  }
}

}  // namespace

PixelBitmap PixelsOfBitmap(fw::TBitmap& bitmap) {
  if (bitmap.Empty()) return {};
  if (bitmap.PixelFormat() != fw::pf32bit) return ReadBitmapPixels(bitmap.Handle());
  GdiFlush();
  return PartOfBitmap(bitmap, {0, 0, bitmap.Width(), bitmap.Height()});
}

// ---- the hot-object protocol ----

void TNCObject::MouseDown() {
  if (Controller->HotObject && Controller->HotObject != this) Controller->HotObject->MouseLeave();
  if (!Visible) return;
  Controller->HotObject = this;
  Controller->WatchHover();
  ButtonState = 2;
  Draw();
}

void TNCObject::MouseUp() {
  if (!Visible) return;
  ButtonState = 3;
  Draw();
}

void TNCObject::MouseHover() {
  if (Controller->HotObject == this) return;
  if (Controller->HotObject) Controller->HotObject->MouseLeave();
  if (!Visible) return;
  Controller->HotObject = this;
  Controller->WatchHover();
  ButtonState = 3;
  Draw();
}

void TNCObject::MouseLeave() {
  if (!Visible) return;
  Controller->HotObject = nullptr;
  ButtonState = 1;
  Draw();
}

void TWinSysButton::Draw() { Controller->DrawCaptionButton(this, ButtonState); }

// ---- the system menu ----

TSkinSystemMenu::Item* TSkinSystemMenu::FindByTag(int tag) {
  for (Item& item : items_)
    if (item.tag == tag) return &item;
  return nullptr;
}

TSkinSystemMenu::~TSkinSystemMenu() {
  EndLife();
  if (shown_) EndMenu();
}

void TSkinSystemMenu::SetEnabled(int tag, bool enabled) {
  if (Item* item = FindByTag(tag)) item->enabled = enabled;
}

int TSkinSystemMenu::Popup(HWND, POINT p) {
  // A popup-menu object for this showing only: its owner window sends the items' measure
  // and draw requests to it, and the choice comes back here rather than as a command.
  fw::TPopupMenu menu(nullptr);
  menu.SetImages(glyphs_);
  TSkinData* data = data_;
  // The skin at the menu's scale, held for the whole showing (a skin loaded meanwhile
  // leaves this copy alone).
  const std::shared_ptr<const SkinDefinition> scaled = data ? data->ScaledFor(dpi_) : nullptr;
  // Drawing asks the watch: freed while open, this menu's skin data may be gone too.
  const fw::LifeWatch alive = Watch();
  std::vector<std::pair<fw::TMenuItem*, int>> entries;
  for (const Item& item : items_) {
    auto* entry = new fw::TMenuItem(&menu);
    entry->SetCaption(item.separator ? "-" : item.caption);
    if (!item.separator) {
      entry->SetEnabled(item.enabled);
      entry->SetShortCut(item.shortcut);
      if (glyphs_ && item.image >= 0 && item.image < glyphs_->Count())
        entry->SetImageIndex(item.image);
    }
    if (data) {
      entry->OnAdvancedDrawItem = [data, scaled, entry, alive](fw::TObject*, fw::TCanvas& canvas,
                                                               const RECT& rect,
                                                               fw::TOwnerDrawState state) {
        if (alive)
          DrawMenuItem(scaled ? *scaled : *data, *entry, canvas, (state & ODS_SELECTED) != 0, rect);
      };
      entry->OnMeasureItem = [data, scaled, entry, alive](fw::TObject*, fw::TCanvas& canvas, int& w,
                                                          int& h) {
        entry->DefaultMeasureItem(canvas, w, h);
        if (alive) MeasurePopupMenuItem(scaled ? *scaled : *data, *entry, canvas, w);
      };
    }
    menu.Items()->Add(entry);
    entries.emplace_back(entry, item.tag);
  }
  shown_ = menu.Handle();
  if (!shown_) return -1;
  // The controller may detach and free this menu while it is open (framework/lifetime.h);
  // the destructor then ends the menu loop.
  const UINT chosen =
      static_cast<UINT>(TrackPopupMenu(shown_, TPM_RIGHTBUTTON | TPM_RETURNCMD | TPM_NONOTIFY, p.x,
                                       p.y, 0, fw::TPopupMenu::PopupWindow(), nullptr));
  if (!alive) return -1;
  shown_ = nullptr;
  int tag = -1;
  for (const auto& [entry, entry_tag] : entries)
    if (chosen != 0 && entry->Command() == chosen) tag = entry_tag;
  Item* item = tag >= 0 ? FindByTag(tag) : nullptr;
  if (!item || !item->enabled || item->separator) return -1;
  // The handler may end the window and with it this menu: nothing is touched after it.
  std::function<void()> handler = item->on_click;
  if (handler) handler();
  return tag;
}

// ---- buttons of the controller ----

void TSkinForm::BuildCaptionButtons() {
  if (!SkinData) return;
  for (const auto& element : Skin().SysButtons) {
    auto* button = new TWinSysButton;
    button->Controller = this;
    button->Element = element.get();
    if (ShowsWindowIcon(element->Action)) {
      // The elements are shared by every window of the skin data: the first window
      // skinned lends its icon to later windows that have none.
      if (element->Image.Empty()) element->Image = PixelsOfBitmap(IconBitmap);
      if (SkinData->DefaultIcon().Empty() && !IconBitmap.Empty())
        SkinData->DefaultIcon().Assign(IconBitmap);
      element->FrameCount = 1;
    }
    CaptionButtons.push_back(button);
  }
}

namespace {

CaptionWindowState WindowStateOf(const TSkinForm& f) {
  CaptionWindowState s;
  s.frame_plain = f.FrameKind == FramePlain;
  s.maximized = f.ShowState == ShowMaximized;
  s.active = f.IsActive;
  s.maximize_box = (f.CaptionIcons & kIconMaximize) != 0;
  s.minimize_box = (f.CaptionIcons & kIconMinimize) != 0;
  s.system_menu = (f.CaptionIcons & kIconSystemMenu) != 0;
  s.mdi_child_maximized_row = f.MenuHeight > 0 && f.ActiveMdiChildMaximized();
  return s;
}

}  // namespace

bool TSkinForm::EvaluateButtonVisibility(int index) {
  if (index < 0 || index >= static_cast<int>(CaptionButtons.size())) return false;
  TWinSysButton* button = CaptionButtons[index];
  const TDataSkinSysButton* e = button->Element;
  button->Visible =
      e && CaptionButtonVisible(e->Action, e->Visibility, e->Visibility1, WindowStateOf(*this));
  return button->Visible;
}

void TSkinForm::LayoutCaptionButtons() {
  RightButtonsEdge = 0;
  CaptionPlacement placement;
  placement.window_width = WindowWidth;
  placement.title_text = ToPixelRect(TitleTextRect);
  placement.border_left = BorderLeft;
  placement.border_top = BorderTop;
  placement.border_right = BorderRight;
  placement.menu_height = MenuHeight;
  placement.menu_bar_left_width =
      SkinData && Skin().MenuBarElement ? Skin().MenuBarElement->LeftWidth : 0;
  placement.right_to_left = RightToLeft;
  for (int i = 0; i < static_cast<int>(CaptionButtons.size()); ++i) {
    TWinSysButton* button = CaptionButtons[i];
    if (!EvaluateButtonVisibility(i)) continue;
    const TDataSkinSysButton& e = *button->Element;
    if (e.Image.Empty()) continue;
    const int w = CaptionFrameWidth(e.Image.Width(), e.FrameCount);
    button->Bounds =
        ToRect(PlaceCaptionButton(e.Align, e.Xcoord, e.Ycoord, w, e.Image.Height(), placement));
    if (e.Align == 1) RightButtonsEdge = std::max<int>(RightButtonsEdge, button->Bounds.left);
  }
}

void TSkinForm::DrawCaptionButtons(HDC dc) {
  GdiFlush();
  // Into the title cache the frames go straight into its pixels; any other DC through GDI.
  const bool into_cache = TitleCache.PixelFormat() == fw::pf32bit && !TitleCache.Empty() &&
                          dc == TitleCache.Canvas().Handle();
  // Pixels go straight into a right-to-left cache where its DC's mirroring puts them.
  const bool mirrored = into_cache && (GetLayout(dc) & LAYOUT_RTL) != 0;
  const auto stored = [&](const RECT& r) {
    const int w = TitleCache.Width();
    return mirrored ? RECT{w - r.right, r.top, w - r.left, r.bottom} : r;
  };
  const auto draw = [&](const RECT& r, const PixelBitmap& strip, int frame, int frames) {
    if (into_cache) {
      DrawFrameIntoBitmap(TitleCache, stored(r), strip, frame, frames);
    } else {
      DrawElementFrame(dc, r, strip, frame, frames, true);
      GdiFlush();
    }
  };
  const PixelBitmap icon = PixelsOfBitmap(IconBitmap);
  for (int i = 0; i < static_cast<int>(CaptionButtons.size()); ++i) {
    TWinSysButton* button = CaptionButtons[i];
    const TDataSkinSysButton& e = *button->Element;
    if (!EvaluateButtonVisibility(i) || e.Image.Empty()) continue;
    // The menu-bar row's buttons are drawn by the menu bar.
    if (e.Visibility == kVisibilityMenuRow) continue;
    // The background is taken before this button is drawn; buttons placed over each
    // other take the earlier ones along, as the resting title bar shows them.
    button->Background = PartOfBitmap(TitleCache, stored(button->Bounds));
    if (ShowsWindowIcon(e.Action)) {
      if (!icon.Empty()) draw(button->Bounds, icon, 1, 1);
    } else {
      draw(button->Bounds, e.Image, RestingFrame(IsActive, e.FrameCount), e.FrameCount);
    }
  }
}

void TSkinForm::DrawCaptionButton(TWinSysButton* button, int state) {
  if (!button || !button->Element || !Handle || !ScratchBitmap()) return;
  if (LifeState != LifeReady && LifeState != LifeReskinning) return;
  if (ShowState == ShowMinimized || (MdiKind == MdiChild && ShowState != ShowNormal)) return;
  const TDataSkinSysButton& e = *button->Element;
  const bool icon = ShowsWindowIcon(e.Action);
  const PixelBitmap icon_pixels = icon ? PixelsOfBitmap(IconBitmap) : PixelBitmap();
  const PixelBitmap& strip = icon ? icon_pixels : e.Image;
  if (strip.Empty()) return;
  const int frame = icon ? 1 : StateFrame(state, e.Visibility == kVisibilityMenuRow);
  const int frames = icon ? 1 : e.FrameCount;
  fw::ScopedGetDc dc = fw::ScopedGetDc::Window(Handle);
  if (!dc.get()) return;
  const RECT& b = button->Bounds;
  const int w = b.right - b.left, h = b.bottom - b.top;
  if (button->Background.Width() == w && button->Background.Height() == h) {
    // Composed off-screen on the saved background and copied in one step.
    DibSection dib = DibFromPixels(button->Background);
    if (!dib) return;
    fw::ScopedMemoryDc memory(CreateCompatibleDC(dc.get()));
    fw::ScopedSelectObject select(memory.get(), dib.bitmap.get());
    DrawElementFrame(memory.get(), {0, 0, w, h}, strip, frame, frames, true);
    // The saved background is as the screen shows it, and the frame keeps its orientation
    // as in the resting title bar: copied unflipped into a right-to-left window.
    const DWORD keep = (GetLayout(dc.get()) & LAYOUT_RTL) ? NOMIRRORBITMAP : 0;
    BitBlt(dc.get(), b.left, b.top, w, h, memory.get(), 0, 0, SRCCOPY | keep);
  } else {
    DrawElementFrame(dc.get(), b, strip, frame, frames, true);
  }
}

TWinSysButton* TSkinForm::CaptionButtonAt(POINT p) const {
  std::vector<CaptionHitEntry> entries;
  entries.reserve(CaptionButtons.size());
  for (const TWinSysButton* b : CaptionButtons)
    entries.push_back({b->Visible, b->Element ? b->Element->Action : -1, ToPixelRect(b->Bounds)});
  const int index = CaptionButtonIndexAt(entries, p.x, p.y);
  return index < 0 ? nullptr : CaptionButtons[index];
}

POINT TSkinForm::ScreenToFramePoint(POINT p) const {
  ScreenToClient(Handle, &p);
  if (ShowState != ShowMinimized) {
    p.x += BorderLeft;
    p.y += BorderTop + MenuHeight;
  }
  return p;
}

LRESULT TSkinForm::CaptionButtonHitCode(POINT window_point) const {
  const TWinSysButton* button = CaptionButtonAt(window_point);
  return button ? HitCodeForAction(button->Element->Action) : 0;
}

// ---- actions ----

void TSkinForm::RunCaptionAction(int screen_x, int screen_y) {
  auto* button = dynamic_cast<TWinSysButton*>(HotObject);
  if (!button || !button->Element) return;
  const int action = button->Element->Action;
  switch (CommandForAction(action)) {
    case CaptionCommand::kClose:
      if (HoverTimer) HoverTimer->SetEnabled(false);
      PostMessageA(Handle, WM_CLOSE, 0, 0);
      break;
    case CaptionCommand::kToggleMaximize:
      ToggleMaximize();
      break;
    case CaptionCommand::kToggleMinimize:
      ToggleMinimize();
      break;
    case CaptionCommand::kSystemMenu:
      ShowSystemMenu({screen_x + 1, screen_y + 1}, /*by_button=*/true);
      break;
    case CaptionCommand::kMdiMinimize:
      MdiChildCommand(SC_MINIMIZE);
      break;
    case CaptionCommand::kMdiRestore:
      MdiChildCommand(SC_RESTORE);
      break;
    case CaptionCommand::kMdiClose:
      MdiChildCommand(SC_CLOSE);
      break;
    case CaptionCommand::kForward:
      PostMessageA(Handle, WM_SKINQUERY, static_cast<WPARAM>(action), 0);
      break;
  }
}

void TSkinForm::ToggleMaximize() {
  if (ShowState == ShowMaximized) {
    RestoreWindow();
    return;
  }
  ShowState = ShowMaximized;
  PostMessageA(Handle, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
  HotObject = nullptr;
}

void TSkinForm::ToggleMinimize() {
  if (ShowState == ShowMinimized) {
    RestoreWindow();
    return;
  }
  ShowState = ShowMinimized;
  PostMessageA(Handle, WM_SYSCOMMAND, SC_MINIMIZE, 0);
}

void TSkinForm::RestoreWindow() {
  ShowState = ShowNormal;
  PostMessageA(Handle, WM_SYSCOMMAND, SC_RESTORE, 0);
}

namespace {

// The MDI client's active child and whether it is maximized; nullptr without one.
HWND ActiveMdiChild(HWND client, bool* maximized) {
  BOOL zoomed = FALSE;
  auto child = reinterpret_cast<HWND>(
      SendMessageA(client, WM_MDIGETACTIVE, 0, reinterpret_cast<LPARAM>(&zoomed)));
  if (maximized) *maximized = child && zoomed;
  return child;
}

}  // namespace

void TSkinForm::MdiChildCommand(UINT command) {
  if (MdiKind != MdiFrame || !MdiClientWindow) return;
  HWND child = ActiveMdiChild(MdiClientWindow, nullptr);
  if (!child) return;
  SendMessageA(child, WM_SYSCOMMAND, command, 0);
  if (SkinManager && SkinManager->MdiMaximized && !ActiveMdiChildMaximized())
    SkinManager->SetMdiMax(false);
}

bool TSkinForm::ActiveMdiChildMaximized() const {
  if (MdiKind != MdiFrame || !MdiClientWindow) return false;
  bool maximized = false;
  return ActiveMdiChild(MdiClientWindow, &maximized) && maximized;
}

// ---- system menu ----

void TSkinForm::BuildSystemPopup() {
  SystemPopup = std::make_unique<TSkinSystemMenu>();
  if (SkinData) {
    SystemPopup->SetGlyphs(SkinData->MenuGlyphs());
    SystemPopup->SetSkinData(SkinData);
  }
  const auto add = [this](const char* caption, int tag, std::function<void()> on_click) {
    TSkinSystemMenu::Item item;
    item.caption = caption;
    item.tag = tag;
    item.image = tag;
    item.on_click = std::move(on_click);
    SystemPopup->Add(std::move(item));
  };
  add(" Restore ", 0, [this] { RestoreWindow(); });
  if (CaptionIcons & kIconMaximize) add(" Maximize ", 1, [this] { ToggleMaximize(); });
  if (CaptionIcons & kIconMinimize) add(" Minimize ", 2, [this] { ToggleMinimize(); });
  TSkinSystemMenu::Item separator;
  separator.caption = "-";
  separator.tag = 100;
  separator.separator = true;
  SystemPopup->Add(std::move(separator));
  add(" Close ", 3, [this] {
    if (HoverTimer) HoverTimer->SetEnabled(false);
    PostMessageA(Handle, WM_CLOSE, 0, 0);
  });
  SystemPopup->FindByTag(3)->shortcut = fw::ShortCut(VK_F4, fw::scShift);
}

namespace {

// The menu loop ends on a click outside the menu and leaves that click in the queue; when
// it was the second click of a double click on the system-menu button, it is found here.
bool TakeSecondClickOn(const TSkinForm& form, const TWinSysButton* button) {
  if (!button) return false;
  MSG msg{};
  const bool client =
      PeekMessageA(&msg, form.Handle, WM_LBUTTONDOWN, WM_LBUTTONDBLCLK, PM_NOREMOVE);
  if (!client &&
      !PeekMessageA(&msg, form.Handle, WM_NCLBUTTONDOWN, WM_NCLBUTTONDBLCLK, PM_NOREMOVE))
    return false;
  if (msg.message == WM_LBUTTONUP || msg.message == WM_NCLBUTTONUP) return false;
  if (form.CaptionButtonAt(form.ScreenToFramePoint(msg.pt)) != button) return false;
  PeekMessageA(&msg, form.Handle, msg.message, msg.message, PM_REMOVE);
  return true;
}

}  // namespace

HMENU TSkinForm::NativeSystemMenuHandle() {
  if (NativeSystemMenu || !(CaptionIcons & kIconSystemMenu)) return NativeSystemMenu;
  // The system makes a window's copy of its menu only while the window has WS_SYSMENU,
  // which the skinned caption takes away: it is lent back for the call.
  // The style changes reach the window's procedures, which may end this controller.
  HWND window = Handle;
  const fw::LifeWatch alive = Watch();
  const DWORD style = static_cast<DWORD>(GetWindowLongA(window, GWL_STYLE));
  if (!(style & WS_SYSMENU)) SetWindowLongA(window, GWL_STYLE, LONG(style | WS_SYSMENU));
  HMENU menu = GetSystemMenu(window, FALSE);
  if (!(style & WS_SYSMENU)) SetWindowLongA(window, GWL_STYLE, LONG(style));
  if (alive) NativeSystemMenu = menu;
  return menu;
}

void TSkinForm::ShowSystemMenu(POINT screen_point, bool by_button) {
  if (SystemPopup) {
    SystemPopup->SetEnabled(0, ShowState != ShowNormal);
    SystemPopup->SetEnabled(1, ShowState != ShowMaximized);
    SystemPopup->SetEnabled(2, ShowState != ShowMinimized);
  }
  const auto close = [this] {
    if (HoverTimer) HoverTimer->SetEnabled(false);
    HotObject = nullptr;
    PostMessageA(Handle, WM_CLOSE, 0, 0);
  };
  // Only two left clicks on the system-menu button make the double click that closes.
  if (by_button) {
    const DWORD now = GetTickCount();
    if (now - LastSysMenuClick <= static_cast<DWORD>(DoubleClickTime)) {
      close();
      return;
    }
    LastSysMenuClick = now;
  }
  const auto* menu_button = dynamic_cast<const TWinSysButton*>(HotObject);
  const bool skinned = SkinData && SkinData->SkinControls.Contains(xcSystemMenu) &&
                       MdiKind != MdiChild && SystemPopup;
  HWND window = Handle;
  // The window, this controller and the button may all go while the menu is open.
  const fw::LifeWatch alive = Watch();
  const fw::LifeWatch button_alive = menu_button ? menu_button->Watch() : fw::LifeWatch();
  if (skinned) {
    SystemPopup->SetDpi(Dpi);
    if (SystemPopup->Popup(window, screen_point) >= 0) return;
  } else {
    // The choice arrives as WM_COMMAND, which the frame turns into WM_SYSCOMMAND.
    HMENU native = NativeSystemMenuHandle();
    if (native)
      TrackPopupMenu(native, TPM_RIGHTBUTTON, screen_point.x, screen_point.y, 0, window, nullptr);
  }
  if (!alive || !IsWindow(window)) return;
  if (by_button && menu_button && button_alive && TakeSecondClickOn(*this, menu_button) &&
      GetTickCount() - LastSysMenuClick <= static_cast<DWORD>(DoubleClickTime))
    close();
}

// ---- mouse ----

void TSkinForm::HoverPoll() {
  if (PopupPending) return;
  POINT cursor{};
  if (HotObject && GetCursorPos(&cursor)) {
    if (!InRect(HotObject->Bounds, ScreenToFramePoint(cursor))) HotObject->MouseLeave();
  }
  if (!Form && HotSkinner && GetCursorPos(&cursor)) {
    if (!InRect(HotSkinner->FWindowRect, cursor)) {
      HotSkinner->SendMouseLeave();
      HotSkinner = nullptr;
    }
  }
  if (HoverTimer && !HotObject && (Form || !HotSkinner)) HoverTimer->SetEnabled(false);
}

void TSkinForm::WatchHover() {
  if (HoverTimer && IsActive && (HotObject || (!Form && HotSkinner))) HoverTimer->SetEnabled(true);
}

void TSkinForm::SetHotSkinner(TSkinControl* skinner) {
  HotSkinner = skinner;
  WatchHover();
}

bool TSkinForm::HandleNcMouse(fw::TMessage& message) {
  const POINT screen{GET_X_LPARAM(message.LParam), GET_Y_LPARAM(message.LParam)};
  const POINT point = ScreenToFramePoint(screen);
  TWinSysButton* button = CaptionButtonAt(point);
  TNCObject* object = button ? button : MenuBarObjectAt(*this, point);
  message.Result = 0;
  switch (message.Msg) {
    case WM_NCMOUSEMOVE:
      // An inactive window's frame does not react to the mouse passing over it.
      if (!IsActive) return true;
      if (object) {
        object->MouseHover();
        return true;
      }
      if (HotObject) HotObject->MouseLeave();
      return false;
    case WM_NCLBUTTONDOWN:
      PressedObject = object;
      if (object) {
        if (!IsActive) SetForegroundWindow(Handle);
        object->MouseDown();
        return true;
      }
      if (ShowState == ShowMaximized && message.WParam == HTCAPTION && IsActive) {
        // A maximized window is not dragged by its caption.
        message.Result = CallDefault(WM_NCLBUTTONDOWN, HTMENU, message.LParam);
        return true;
      }
      return false;
    case WM_NCLBUTTONUP: {
      // Only a press that began on the button runs it, as with the system's buttons.
      const bool pressed_here = object && object == PressedObject;
      PressedObject = nullptr;
      if (!object) return false;
      if (button && button == HotObject && pressed_here) {
        button->MouseUp();
        RunCaptionAction(screen.x, screen.y);
      }
      return true;
    }
    case WM_NCLBUTTONDBLCLK:
      // The second press of a quick double click on a caption button presses it again
      // (the system turns it into a double click), so a quick second click on the icon
      // still reaches the system menu's double-click close, and one on a button still
      // works that button rather than the frame.
      PressedObject = object;
      if (object) {
        if (!IsActive) SetForegroundWindow(Handle);
        object->MouseDown();
        return true;
      }
      if (ShowState != ShowNormal) {
        RestoreWindow();
      } else if (CaptionIcons & kIconMaximize) {
        ToggleMaximize();
      }
      return true;
    case WM_NCRBUTTONDOWN:
      if (message.WParam == HTCAPTION && MdiKind != MdiChild) {
        ShowSystemMenu(screen, /*by_button=*/false);
        return true;
      }
      return false;
    default:
      return false;
  }
}

// ---- maximizing ----

void AdjustMaximizedPlacement(const TSkinForm& form, MINMAXINFO& info) {
  if (!form.FrameSkinned() || form.FrameKind == FrameNone || form.MdiKind == MdiChild) return;
  if (form.LifeState != LifeReady && form.LifeState != LifeReskinning) return;
  HMONITOR monitor = MonitorFromWindow(form.Handle, MONITOR_DEFAULTTONEAREST);
  MONITORINFO mi{};
  mi.cbSize = sizeof mi;
  if (!monitor || !GetMonitorInfoA(monitor, &mi)) return;
  const MaximizedPlacement p =
      MaximizedWindowPlacement(ToPixelRect(mi.rcMonitor), ToPixelRect(mi.rcWork), form.BorderLeft,
                               form.BorderRight, form.BorderBottom);
  info.ptMaxPosition = {p.x, p.y};
  info.ptMaxSize = {p.width, p.height};
  info.ptMaxTrackSize.x = std::max<LONG>(info.ptMaxTrackSize.x, p.width);
  info.ptMaxTrackSize.y = std::max<LONG>(info.ptMaxTrackSize.y, p.height);
}

}  // namespace skin
