#include "framework/forms.h"

#include <vector>

#include "framework/application.h"
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
        c.Enum("Position", kPositionNames, &TCustomForm::Position, &TCustomForm::SetPosition);
        c.Integer("PixelsPerInch", &TCustomForm::PixelsPerInch, &TCustomForm::SetPixelsPerInch);
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
  if (OnCreate) OnCreate(this);
  if (visible_) VisibleChanged();
}

void TCustomForm::Notification(TComponent* component, TOperation operation) {
  TWinControl::Notification(component, operation);
  if (operation == opRemove && component == active_control_) active_control_ = nullptr;
  if (operation == opRemove && component == menu_) SetMenu(nullptr);
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
  if (HandleAllocated()) {
    ::SetMenu(Handle(), menu_ ? menu_->Handle() : nullptr);
    DrawMenuBar(Handle());
  }
}

bool TCustomForm::IsShortCut(WPARAM key) {
  return menu_ && menu_->IsShortCut(ShortCutFromKey(key));
}

void TCustomForm::CreateHandleDone() {
  TWinControl::CreateHandleDone();
  if (menu_) ::SetMenu(Handle(), menu_->Handle());
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
  if (HandleAllocated()) SetForegroundWindow(Handle());
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
  TCloseAction action = caHide;
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
      // Focus on the form itself goes on to its active control.
      if (active_control_ && active_control_->CanFocus() && active_control_->HandleAllocated()) {
        ::SetFocus(active_control_->Handle());
        return;
      }
      break;
    case CM_MENUCHANGED:
      // The menu's entries changed: the bar is put back on the window and redrawn.
      if (menu_ && HandleAllocated()) {
        ::SetMenu(Handle(), menu_->Handle());
        DrawMenuBar(Handle());
      }
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
    case CM_ENTER:
      break;
    default:
      break;
  }
  TWinControl::WndProc(message);
}

}  // namespace fw
