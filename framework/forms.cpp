#include "framework/forms.h"

#include <vector>

#include "framework/application.h"
#include "framework/dpi.h"
#include "framework/form_reader.h"
#include "framework/menus.h"

namespace fw {

const std::vector<std::string> kBorderStyleNames = {"bsNone",   "bsSingle",     "bsSizeable",
                                                    "bsDialog", "bsToolWindow", "bsSizeToolWin"};
const std::vector<std::string> kBorderIconNames = {"biSystemMenu", "biMinimize", "biMaximize",
                                                   "biHelp"};
const std::vector<std::string> kPositionNames = {
    "poDesigned",     "poDefault",       "poDefaultPosOnly", "poDefaultSizeOnly",
    "poScreenCenter", "poDesktopCenter", "poMainFormCenter", "poOwnerFormCenter"};
const std::vector<std::string> kFormStyleNames = {"fsNormal", "fsMDIChild", "fsMDIForm",
                                                  "fsStayOnTop"};
const std::vector<std::string> kTileModeNames = {"tbHorizontal", "tbVertical"};

const TClassInfo& TCustomForm::StaticClassInfo() {
  static const TClassInfo info =
      DescribeClass<TCustomForm, TWinControl>("TCustomForm", [](auto& c) {
        c.Set("BorderIcons", kBorderIconNames, &TCustomForm::BorderIcons,
              &TCustomForm::SetBorderIcons);
        c.Enum("BorderStyle", kBorderStyleNames, &TCustomForm::BorderStyle,
               &TCustomForm::SetBorderStyle);
        c.Integer("ClientHeight", &TCustomForm::ClientHeight, &TCustomForm::SetClientHeight);
        c.Integer("ClientWidth", &TCustomForm::ClientWidth, &TCustomForm::SetClientWidth);
        c.Bool("KeyPreview", &TCustomForm::KeyPreview, &TCustomForm::SetKeyPreview);
        c.template Component<TMainMenu>("Menu", &TCustomForm::Menu, &TCustomForm::SetMenu);
        c.Enum("FormStyle", kFormStyleNames, &TCustomForm::FormStyle, &TCustomForm::SetFormStyle);
        c.Enum("Position", kPositionNames, &TCustomForm::Position, &TCustomForm::SetPosition);
        c.Enum("TileMode", kTileModeNames, &TCustomForm::TileMode, &TCustomForm::SetTileMode);
        c.template Component<TMenuItem>("WindowMenu", &TCustomForm::WindowMenu,
                                        &TCustomForm::SetWindowMenu);
        c.Integer("PixelsPerInch", &TCustomForm::PixelsPerInch, &TCustomForm::SetPixelsPerInch);
        c.Bool("Scaled", &TCustomForm::Scaled, &TCustomForm::SetScaled);
        c.Integer("TextHeight", &TCustomForm::TextHeight, &TCustomForm::SetTextHeight);
        c.Event("OnCreate", &TCustomForm::OnCreate);
        c.Event("OnShow", &TCustomForm::OnShow);
        c.Event("OnDestroy", &TCustomForm::OnDestroy);
        c.Event("OnClose", &TCustomForm::OnClose);
      });
  return info;
}

const TClassInfo& TForm::StaticClassInfo() {
  static const TClassInfo info = DescribeClass<TForm, TCustomForm>("TForm", [](auto&) {});
  return info;
}

TCustomForm::TCustomForm(TComponent* owner) : TWinControl(owner) {
  visible_ = false;  // shown by Show or by the application's Run
  parent_font_ = false;
  color_ = clBtnFace;
  left_ = CW_USEDEFAULT;
  top_ = CW_USEDEFAULT;
  width_ = 320;
  height_ = 240;
  if (auto* app = dynamic_cast<TApplication*>(owner)) app->forms_.push_back(this);
}

TCustomForm::~TCustomForm() {
  if (OnDestroy) {
    try {
      OnDestroy(this);
    } catch (...) {
      if (TApplication* app = Application()) app->HandleException(std::current_exception());
    }
  }
  if (TApplication* app = Application()) {
    std::erase(app->forms_, this);
    if (app->main_form_ == this) app->main_form_ = nullptr;
  }
  DestroyHandle();
}

void TCustomForm::ReadDescriptionResource() {
  HMODULE module = GetModuleHandleA(nullptr);
  HRSRC resource = FindResourceA(module, ClassName().c_str(), MAKEINTRESOURCEA(10) /*RT_RCDATA*/);
  if (!resource) throw EReadError("Resource " + ClassName() + " not found");
  HGLOBAL loaded = LoadResource(module, resource);
  const void* data = loaded ? LockResource(loaded) : nullptr;
  if (!data) throw EReadError("Resource " + ClassName() + " cannot be loaded");
  ReadDescription(
      std::string_view(static_cast<const char*>(data), SizeofResource(module, resource)));
}

void TCustomForm::ReadDescription(std::string_view text) { ReadComponentFromText(*this, text); }

void TCustomForm::Loaded() {
  TWinControl::Loaded();
  // A window made while the description was read is scaled now that every control is in.
  if (HandleAllocated()) ScaleToWindowDpi();
  if (OnCreate) OnCreate(this);
  if (visible_) VisibleChanged();
}

void TCustomForm::Notification(TComponent* component, TOperation operation) {
  TWinControl::Notification(component, operation);
  if (operation == opRemove && component == active_control_) active_control_ = nullptr;
  if (operation == opRemove && component == menu_) SetMenu(nullptr);
  if (operation == opRemove && component == window_menu_) window_menu_ = nullptr;
}

void TCustomForm::SetMenu(TMainMenu* menu) {
  if (menu == menu_) return;
  if (menu_) {
    menu_->form_ = nullptr;
    menu_->RemoveFreeNotification(this);
  }
  if (menu && menu->form_) menu->form_->SetMenu(nullptr);
  menu_ = menu;
  if (menu_) {
    menu_->form_ = this;
    menu_->FreeNotification(this);
  }
  if (HandleAllocated()) ShowMenuOnWindow();
}

void TCustomForm::ShowMenuOnWindow() {
  HWND hwnd = Handle();
  HMENU menu = menu_ ? menu_->Handle() : nullptr;
  if (form_style_ == fsMDIForm && client_handle_ && menu) {
    // The client keeps its list of children under the Window menu of the new bar.
    HMENU window = window_menu_ && window_menu_->Count() > 0 ? window_menu_->Handle() : nullptr;
    SendMessageA(client_handle_, WM_MDISETMENU, reinterpret_cast<WPARAM>(menu),
                 reinterpret_cast<LPARAM>(window));
  } else {
    ::SetMenu(hwnd, menu);
  }
  DrawMenuBar(hwnd);
}

bool TCustomForm::IsShortCut(WPARAM key) {
  return menu_ && menu_->IsShortCut(ShortCutFromKey(key));
}

void TCustomForm::CreateHandleDone() {
  TWinControl::CreateHandleDone();
  // Before the children's windows are made, so that they are made at their scaled places.
  if (!IsLoading()) ScaleToWindowDpi();
  if (form_style_ == fsMDIForm) CreateMdiClient();
  if (menu_) ShowMenuOnWindow();
}

void TCustomForm::ChangeScale(int to_dpi, int from_dpi) {
  // The form's own size is its window's: ScaleToWindowDpi and DpiChanged set it.
  ScaleContents(to_dpi, from_dpi);
  pixels_per_inch_ = to_dpi;
}

void TCustomForm::ScaleToWindowDpi() {
  HWND hwnd = Handle();
  const int dpi = WindowDpi(hwnd);
  if (!scaled_ || dpi == pixels_per_inch_) return;
  // The client area is scaled; the frame stays as the window has it (a skin's or the
  // system's).
  RECT window, client;
  GetWindowRect(hwnd, &window);
  GetClientRect(hwnd, &client);
  const int from = pixels_per_inch_;
  ChangeScale(dpi, from);
  const int width =
      window.right - window.left - client.right + ScaleForDpi(client.right, dpi, from);
  const int height =
      window.bottom - window.top - client.bottom + ScaleForDpi(client.bottom, dpi, from);
  UINT flags = SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE;
  POINT place{window.left, window.top};
  if (position_ >= poScreenCenter && form_style_ != fsMDIChild) {
    place = {(GetSystemMetrics(SM_CXSCREEN) - width) / 2,
             (GetSystemMetrics(SM_CYSCREEN) - height) / 2};
    flags &= ~SWP_NOMOVE;
  }
  if (form_style_ == fsMDIChild) MapWindowPoints(nullptr, GetParent(hwnd), &place, 1);
  SetWindowPos(hwnd, nullptr, place.x, place.y, width, height, flags);
  // A window made again later takes the size it has now, not the stored client size.
  client_width_ = client_height_ = -1;
}

void TCustomForm::DpiChanged(int dpi, const RECT& suggested) {
  if (dpi != pixels_per_inch_) ChangeScale(dpi, pixels_per_inch_);
  SetWindowPos(Handle(), nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
               suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

void TCustomForm::SetBorderStyle(TFormBorderStyle style) { border_style_ = style; }
void TCustomForm::SetBorderIcons(uint32_t icons) { border_icons_ = icons; }

void TCustomForm::CreateParams(TCreateParams& params) {
  TWinControl::CreateParams(params);
  params.style &= ~(WS_CHILD | WS_VISIBLE | WS_TABSTOP);
  params.parent = nullptr;
  params.style |= WS_CLIPCHILDREN;
  switch (border_style_) {
    case bsNone:
      params.style |= WS_POPUP;
      break;
    case bsSingle:
    case bsToolWindow:
      params.style |= WS_CAPTION | WS_BORDER;
      break;
    case bsSizeable:
    case bsSizeToolWin:
      params.style |= WS_CAPTION | WS_THICKFRAME;
      break;
    case bsDialog:
      params.style |= WS_POPUP | WS_CAPTION | DS_MODALFRAME;
      params.ex_style |= WS_EX_DLGMODALFRAME;
      break;
  }
  if (border_style_ == bsToolWindow || border_style_ == bsSizeToolWin)
    params.ex_style |= WS_EX_TOOLWINDOW;
  if (form_style_ == fsStayOnTop) params.ex_style |= WS_EX_TOPMOST;
  if (form_style_ == fsMDIChild) {
    // Shown when made; the client of the MDI frame is the parent.
    params.style &= ~static_cast<DWORD>(WS_POPUP);
    params.style |= WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS;
    params.ex_style |= WS_EX_MDICHILD;
    TCustomForm* frame = MdiFrame();
    params.parent = frame ? frame->Handle() : nullptr;
    if (frame) params.parent = frame->ClientHandle();
  }
  if (border_style_ != bsNone) {
    if (border_icons_ & biSystemMenu) {
      params.style |= WS_SYSMENU;
      // Dialog frames have no minimise and maximise boxes.
      if (border_style_ != bsDialog && border_style_ != bsToolWindow &&
          border_style_ != bsSizeToolWin) {
        if (border_icons_ & biMinimize) params.style |= WS_MINIMIZEBOX;
        if (border_icons_ & biMaximize) params.style |= WS_MAXIMIZEBOX;
      }
      if (border_style_ == bsDialog && (border_icons_ & biHelp))
        params.ex_style |= WS_EX_CONTEXTHELP;
    }
  }
}

void TCustomForm::ClientSizeToWindow() {
  if (client_width_ < 0 && client_height_ < 0) return;
  TCreateParams params;
  CreateParams(params);
  RECT r{0, 0, client_width_ < 0 ? 0 : client_width_, client_height_ < 0 ? 0 : client_height_};
  AdjustWindowRectEx(&r, params.style, menu_ != nullptr, params.ex_style);
  if (client_width_ >= 0) width_ = r.right - r.left;
  if (client_height_ >= 0) height_ = r.bottom - r.top;
}

void TCustomForm::AdjustCreateParams(TCreateParams& params) {
  ClientSizeToWindow();
  params.width = width_;
  params.height = height_;
  params.x = left_;
  params.y = top_;
  switch (position_) {
    case poDefault:
      params.x = params.y = params.width = params.height = CW_USEDEFAULT;
      break;
    case poDefaultPosOnly:
      params.x = params.y = CW_USEDEFAULT;
      break;
    case poScreenCenter:
    case poDesktopCenter:
    case poMainFormCenter:
    case poOwnerFormCenter:
      params.x = (GetSystemMetrics(SM_CXSCREEN) - params.width) / 2;
      params.y = (GetSystemMetrics(SM_CYSCREEN) - params.height) / 2;
      break;
    default:
      break;
  }
}

int TCustomForm::ClientWidth() const {
  if (HandleAllocated()) {
    RECT r;
    GetClientRect(const_cast<TCustomForm*>(this)->Handle(), &r);
    return r.right;
  }
  return client_width_ >= 0 ? client_width_ : width_;
}

int TCustomForm::ClientHeight() const {
  if (HandleAllocated()) {
    RECT r;
    GetClientRect(const_cast<TCustomForm*>(this)->Handle(), &r);
    return r.bottom;
  }
  return client_height_ >= 0 ? client_height_ : height_;
}

void TCustomForm::SetClientWidth(int width) {
  if (HandleAllocated()) {
    SetWidth(width_ + width - ClientWidth());
  } else {
    client_width_ = width;
  }
}

void TCustomForm::SetClientHeight(int height) {
  if (HandleAllocated()) {
    SetHeight(height_ + height - ClientHeight());
  } else {
    client_height_ = height;
  }
}

void TCustomForm::SetActiveControl(TWinControl* control) {
  active_control_ = control;
  if (control && HandleAllocated() && GetActiveWindow() == Handle()) control->SetFocus();
}

void TCustomForm::Show() {
  SetVisible(true);
  BringToFront();
}

void TCustomForm::BringToFront() {
  if (!HandleAllocated()) return;
  if (form_style_ == fsMDIChild) {
    if (HWND client = GetParent(Handle()))
      SendMessageA(client, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(Handle()), 0);
    return;
  }
  SetForegroundWindow(Handle());
}

void TCustomForm::VisibleChanged() {
  if (IsLoading()) return;  // a description's Visible = True shows the form in Loaded
  if (visible_) {
    HWND hwnd = Handle();
    // The real window rectangle from now on.
    RECT r;
    GetWindowRect(hwnd, &r);
    left_ = r.left;
    top_ = r.top;
    width_ = r.right - r.left;
    height_ = r.bottom - r.top;
    client_width_ = client_height_ = -1;
    ShowWindow(hwnd, SW_SHOW);
    if (OnShow) OnShow(this);
    if (!active_control_) {
      auto list = TabList();
      for (TWinControl* c : list) {
        if (c->CanFocus()) {
          active_control_ = c;
          break;
        }
      }
    }
    if (active_control_) active_control_->SetFocus();
  } else if (HandleAllocated()) {
    ShowWindow(Handle(), SW_HIDE);
  }
}

void TCustomForm::Close() {
  // An MDI child cannot hide in its client: closing it ends its window.
  TCloseAction action = form_style_ == fsMDIChild ? caFree : caHide;
  TApplication* app = Application();
  if (OnClose) OnClose(this, action);
  if (action == caNone) return;
  if (modal_) {
    modal_result_ = mrCancel;  // ShowModal hides the form
    return;
  }
  if (app && app->MainForm() == this) {
    app->Terminate();
    return;
  }
  if (action == caHide) Hide();
  if (action == caMinimize && HandleAllocated()) ShowWindow(Handle(), SW_MINIMIZE);
  if (action == caFree) DestroyHandle();
}

int TCustomForm::ShowModal() {
  if (modal_ || Visible()) throw Exception("Cannot make a visible window modal");
  TApplication* app = Application();
  std::vector<HWND> disabled;
  if (app) {
    for (TCustomForm* form : app->Forms()) {
      if (form == this || !form->HandleAllocated() || !IsWindowEnabled(form->Handle())) continue;
      EnableWindow(form->Handle(), FALSE);
      disabled.push_back(form->Handle());
    }
  }
  modal_ = true;
  modal_result_ = mrNone;
  Show();
  MSG msg;
  while (modal_result_ == mrNone) {
    if (GetMessageA(&msg, nullptr, 0, 0) <= 0) {
      // The application quits: leave WM_QUIT for its own loop.
      PostQuitMessage(static_cast<int>(msg.wParam));
      break;
    }
    if (app) {
      app->ProcessMessage(msg);
    } else {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
  }
  modal_ = false;
  for (HWND hwnd : disabled) {
    if (IsWindow(hwnd)) EnableWindow(hwnd, TRUE);
  }
  Hide();
  return modal_result_;
}

void TCustomForm::WndProc(TMessage& message) {
  switch (message.Msg) {
    case WM_CLOSE:
      Close();
      message.Result = 0;
      return;
    case WM_ACTIVATE:
      TWinControl::WndProc(message);
      if (LOWORD(message.WParam) != WA_INACTIVE && active_control_ && active_control_->CanFocus())
        active_control_->SetFocus();
      return;
    case WM_SETFOCUS:
      // An MDI child becomes the client's active child when it gets the focus.
      if (form_style_ == fsMDIChild) DefaultHandler(message);
      // Focus on the form itself goes on to its active control.
      if (active_control_ && active_control_->CanFocus() && active_control_->HandleAllocated()) {
        ::SetFocus(active_control_->Handle());
        return;
      }
      break;
    case CM_MENUCHANGED:
      // The menu's entries changed: the bar is put back on the window and redrawn.
      if (menu_ && HandleAllocated()) ShowMenuOnWindow();
      message.Result = 0;
      return;
    case WM_COMMAND:
      if (message.LParam == 0 && HIWORD(message.WParam) == 0 && menu_ &&
          menu_->DispatchCommand(LOWORD(message.WParam))) {
        message.Result = 0;
        return;
      }
      break;
    case WM_DRAWITEM:
      if (menu_ && menu_->DispatchDrawItem(*reinterpret_cast<DRAWITEMSTRUCT*>(message.LParam))) {
        message.Result = TRUE;
        return;
      }
      break;
    case WM_MEASUREITEM:
      if (menu_ &&
          menu_->DispatchMeasureItem(*reinterpret_cast<MEASUREITEMSTRUCT*>(message.LParam))) {
        message.Result = TRUE;
        return;
      }
      break;
    case WM_INITMENUPOPUP:
      // Items that follow actions take their state before the drop-down shows.
      if (menu_) {
        if (TMenuItem* item = menu_->FindItem(message.WParam, TMenu::fkHandle)) {
          for (int i = 0; i < item->Count(); ++i) item->Items(i)->UpdateFromAction();
        }
      }
      break;
    case WM_DESTROY:
      // A window destroys its menu with itself; the menu belongs to its component.
      if (menu_ && GetMenu(Handle()) == menu_->Handle()) ::SetMenu(Handle(), nullptr);
      break;
    case WM_NCDESTROY:
      client_handle_ = nullptr;  // the MDI client went with its frame
      break;
    case WM_SIZE:
      if (form_style_ == fsMDIForm && client_handle_) {
        DefaultHandler(message);
        RECT client{};
        GetClientRect(Handle(), &client);
        MoveWindow(client_handle_, 0, 0, client.right, client.bottom, TRUE);
        return;
      }
      break;
    case WM_DPICHANGED:
      // The contents and the window's place; the frame is left to the default handling
      // (and to a skin that subclasses the window, which sees the message first).
      if (scaled_ && message.LParam)
        DpiChanged(LOWORD(message.WParam), *reinterpret_cast<const RECT*>(message.LParam));
      break;
    case CM_ENTER:
      break;
    default:
      break;
  }
  TWinControl::WndProc(message);
}

// ---- MDI -----------------------------------------------------------------------------------

void TCustomForm::SetFormStyle(TFormStyle style) { form_style_ = style; }

void TCustomForm::SetWindowMenu(TMenuItem* item) {
  if (item == window_menu_) return;
  if (window_menu_) window_menu_->RemoveFreeNotification(this);
  window_menu_ = item;
  if (window_menu_) window_menu_->FreeNotification(this);
  if (HandleAllocated() && form_style_ == fsMDIForm && menu_) ShowMenuOnWindow();
}

TCustomForm* TCustomForm::MdiFrame() const {
  if (auto* owner = dynamic_cast<TCustomForm*>(Owner()); owner && owner->form_style_ == fsMDIForm)
    return owner;
  TApplication* app = Application();
  if (!app) return nullptr;
  if (TCustomForm* main = app->MainForm(); main && main->form_style_ == fsMDIForm) return main;
  for (TCustomForm* form : app->Forms())
    if (form->form_style_ == fsMDIForm) return form;
  return nullptr;
}

void TCustomForm::CreateMdiClient() {
  CLIENTCREATESTRUCT ccs{};
  ccs.hWindowMenu = window_menu_ && window_menu_->Count() > 0 ? window_menu_->Handle() : nullptr;
  ccs.idFirstChild = kFirstMdiChildId;
  RECT client{};
  GetClientRect(Handle(), &client);
  client_handle_ = CreateWindowExA(
      WS_EX_CLIENTEDGE, "MDICLIENT", nullptr,
      WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS | WS_VSCROLL | WS_HSCROLL, 0, 0,
      client.right, client.bottom, Handle(), nullptr, GetModuleHandleA(nullptr), &ccs);
  if (!client_handle_)
    throw EOSError("Cannot create the MDI client (error " + std::to_string(GetLastError()) + ")");
}

void TCustomForm::CreateWnd() {
  TCustomForm* frame = form_style_ == fsMDIChild ? MdiFrame() : nullptr;
  TWinControl::CreateWnd();
  if (form_style_ != fsMDIChild) return;
  visible_ = true;  // made visible by its client
  // The client lists the new child in the Window menu; a skinned frame takes the child on
  // at this point, once its controls exist.
  if (frame && frame->ClientHandle()) {
    SendMessageA(frame->ClientHandle(), WM_MDIREFRESHMENU, 0, 0);
    DrawMenuBar(frame->Handle());
  }
}

HWND TCustomForm::CreateWindowHandle(const TCreateParams& params, const std::string& caption) {
  if (form_style_ != fsMDIChild) return TWinControl::CreateWindowHandle(params, caption);
  if (!params.parent) throw EOSError("No MDI frame for the MDI child " + Name());
  MDICREATESTRUCTA mcs{};
  mcs.szClass = params.class_name.c_str();
  mcs.szTitle = caption.c_str();
  mcs.hOwner = GetModuleHandleA(nullptr);
  mcs.x = params.x;
  mcs.y = params.y;
  mcs.cx = params.width;
  mcs.cy = params.height;
  mcs.style = params.style;
  return reinterpret_cast<HWND>(
      SendMessageA(params.parent, WM_MDICREATE, 0, reinterpret_cast<LPARAM>(&mcs)));
}

void TCustomForm::DestroyWindowHandle(HWND hwnd) {
  HWND client = form_style_ == fsMDIChild ? GetParent(hwnd) : nullptr;
  if (client && (GetWindowLongA(hwnd, GWL_EXSTYLE) & WS_EX_MDICHILD)) {
    SendMessageA(client, WM_MDIDESTROY, reinterpret_cast<WPARAM>(hwnd), 0);
    if (IsWindow(hwnd)) DestroyWindow(hwnd);
    return;
  }
  TWinControl::DestroyWindowHandle(hwnd);
  client_handle_ = nullptr;
}

void TCustomForm::DefaultHandler(TMessage& message) {
  if (!HandleAllocated() || message.Msg >= CM_BASE ||
      (form_style_ != fsMDIForm && form_style_ != fsMDIChild)) {
    TWinControl::DefaultHandler(message);
    return;
  }
  HWND hwnd = const_cast<TCustomForm*>(this)->Handle();
  message.Result =
      form_style_ == fsMDIForm
          ? DefFrameProcA(hwnd, client_handle_, message.Msg, message.WParam, message.LParam)
          : DefMDIChildProcA(hwnd, message.Msg, message.WParam, message.LParam);
}

int TCustomForm::MDIChildCount() const {
  int n = 0;
  while (MDIChildren(n)) ++n;
  return n;
}

TCustomForm* TCustomForm::MDIChildren(int index) const {
  if (!client_handle_ || index < 0) return nullptr;
  for (HWND w = GetWindow(client_handle_, GW_CHILD); w; w = GetWindow(w, GW_HWNDNEXT)) {
    if (!(GetWindowLongA(w, GWL_EXSTYLE) & WS_EX_MDICHILD)) continue;  // icon titles
    auto* form = dynamic_cast<TCustomForm*>(TWinControl::FromHandle(w));
    if (!form) continue;
    if (index-- == 0) return form;
  }
  return nullptr;
}

TCustomForm* TCustomForm::ActiveMDIChild() const {
  if (!client_handle_) return nullptr;
  auto active = reinterpret_cast<HWND>(SendMessageA(client_handle_, WM_MDIGETACTIVE, 0, 0));
  return dynamic_cast<TCustomForm*>(TWinControl::FromHandle(active));
}

void TCustomForm::Tile() {
  if (!client_handle_) return;
  SendMessageA(client_handle_, WM_MDITILE,
               tile_mode_ == tbHorizontal ? MDITILE_HORIZONTAL : MDITILE_VERTICAL, 0);
}

void TCustomForm::Cascade() {
  if (client_handle_) SendMessageA(client_handle_, WM_MDICASCADE, 0, 0);
}

void TCustomForm::ArrangeIcons() {
  if (client_handle_) SendMessageA(client_handle_, WM_MDIICONARRANGE, 0, 0);
}

void TCustomForm::Next() {
  if (client_handle_) SendMessageA(client_handle_, WM_MDINEXT, 0, 0);
}

void TCustomForm::Previous() {
  if (client_handle_) SendMessageA(client_handle_, WM_MDINEXT, 0, 1);
}

}  // namespace fw
