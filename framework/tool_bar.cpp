#include "framework/tool_bar.h"

#include <commctrl.h>

#include <algorithm>

#include "framework/comctrls.h"

namespace fw {

namespace {
const std::vector<std::string> kToolButtonStyleNames = {"tbsButton", "tbsCheck", "tbsSeparator",
                                                        "tbsDivider"};
// Command identifiers of the window's buttons: index + kFirstCommand.
constexpr int kFirstCommand = 1;
}  // namespace

// ---- TToolButton --------------------------------------------------------------------------

const TClassInfo& TToolButton::StaticClassInfo() {
  static const TClassInfo info =
      DescribeClass<TToolButton, TGraphicControl>("TToolButton", [](auto& c) {
        c.Bool("Down", &TToolButton::Down, &TToolButton::SetDown);
        c.Bool("Grouped", &TToolButton::Grouped, &TToolButton::SetGrouped);
        c.Enum("Style", kToolButtonStyleNames, &TToolButton::Style, &TToolButton::SetStyle);
      });
  return info;
}

TToolButton::TToolButton(TComponent* owner) : TGraphicControl(owner) {
  width_ = 23;
  height_ = 22;
}

TToolButton::~TToolButton() {
  // While the tool bar itself is being destroyed it is no TToolBar any more.
  if (TToolBar* bar = ToolBar()) {
    std::erase(bar->buttons_, this);
    bar->RebuildButtons();
  }
}

TToolBar* TToolButton::ToolBar() const { return dynamic_cast<TToolBar*>(parent_); }

int TToolButton::Index() const {
  TToolBar* bar = ToolBar();
  if (!bar) return -1;
  auto it = std::find(bar->buttons_.begin(), bar->buttons_.end(), this);
  return it == bar->buttons_.end() ? -1 : static_cast<int>(it - bar->buttons_.begin());
}

void TToolButton::SetParent(TWinControl* parent) {
  if (parent == parent_) return;
  if (TToolBar* old = ToolBar()) {
    std::erase(old->buttons_, this);
    old->RebuildButtons();
  }
  TGraphicControl::SetParent(parent);
  if (TToolBar* bar = ToolBar()) {
    bar->buttons_.push_back(this);
    bar->RebuildButtons();
  }
}

void TToolButton::SetStyle(TToolButtonStyle v) {
  style_ = v;
  if (TToolBar* bar = ToolBar()) bar->RebuildButtons();
}

bool TToolButton::Down() const {
  TToolBar* bar = ToolBar();
  const int index = Index();
  if (bar && bar->HandleAllocated() && index >= 0)
    return SendMessageA(bar->Handle(), TB_ISBUTTONCHECKED, WPARAM(index + kFirstCommand), 0) != 0;
  return down_;
}

void TToolButton::SetDown(bool v) {
  down_ = v;
  TToolBar* bar = ToolBar();
  const int index = Index();
  if (bar && bar->HandleAllocated() && index >= 0)
    SendMessageA(bar->Handle(), TB_CHECKBUTTON, WPARAM(index + kFirstCommand), MAKELPARAM(v, 0));
}

void TToolButton::SetGrouped(bool v) {
  grouped_ = v;
  if (TToolBar* bar = ToolBar()) bar->RebuildButtons();
}

void TToolButton::TextChanged() {
  if (TToolBar* bar = ToolBar()) bar->RebuildButtons();
}

void TToolButton::EnabledChanged() {
  TToolBar* bar = ToolBar();
  const int index = Index();
  if (bar && bar->HandleAllocated() && index >= 0)
    SendMessageA(bar->Handle(), TB_ENABLEBUTTON, WPARAM(index + kFirstCommand),
                 MAKELPARAM(enabled_, 0));
}

// ---- TToolBar -----------------------------------------------------------------------------

const TClassInfo& TToolBar::StaticClassInfo() {
  static const TClassInfo info = DescribeClass<TToolBar, TWinControl>("TToolBar", [](auto& c) {
    c.Integer("ButtonHeight", &TToolBar::ButtonHeight, &TToolBar::SetButtonHeight);
    c.Integer("ButtonWidth", &TToolBar::ButtonWidth, &TToolBar::SetButtonWidth);
    c.Bool("Flat", &TToolBar::Flat, &TToolBar::SetFlat);
    c.Bool("ShowCaptions", &TToolBar::ShowCaptions, &TToolBar::SetShowCaptions);
  });
  return info;
}

TToolBar::TToolBar(TComponent* owner) : TWinControl(owner) {
  width_ = 150;
  height_ = 29;
  parent_color_ = true;
  color_ = clBtnFace;
}

TToolBar::~TToolBar() {
  // The buttons go with the children; they need not tell this bar.
  for (TToolButton* button : buttons_) button->down_ = false;
  buttons_.clear();
}

void TToolBar::SetFlat(bool v) {
  flat_ = v;
  if (!HandleAllocated()) return;
  LONG style = GetWindowLongA(Handle(), GWL_STYLE);
  SetWindowLongA(Handle(), GWL_STYLE, v ? (style | TBSTYLE_FLAT) : (style & ~TBSTYLE_FLAT));
  Invalidate();
}

void TToolBar::SetShowCaptions(bool v) {
  show_captions_ = v;
  RebuildButtons();
}

void TToolBar::ChangeScale(int to_dpi, int from_dpi) {
  TWinControl::ChangeScale(to_dpi, from_dpi);
  button_width_ = button_width_dpi_.Rescale(button_width_, from_dpi, to_dpi);
  button_height_ = button_height_dpi_.Rescale(button_height_, from_dpi, to_dpi);
  RebuildButtons();
}

void TToolBar::SetButtonWidth(int v) {
  button_width_ = v;
  RebuildButtons();
}

void TToolBar::SetButtonHeight(int v) {
  button_height_ = v;
  RebuildButtons();
}

void TToolBar::RebuildButtons() {
  if (!HandleAllocated()) return;
  HWND hwnd = Handle();
  while (SendMessageA(hwnd, TB_DELETEBUTTON, 0, 0)) {
  }
  SendMessageA(hwnd, TB_SETBITMAPSIZE, 0, MAKELPARAM(0, 0));
  for (size_t i = 0; i < buttons_.size(); ++i) {
    TToolButton& b = *buttons_[i];
    const std::string caption = b.Caption();
    TBBUTTON tb{};
    tb.iBitmap = I_IMAGENONE;
    tb.idCommand = static_cast<int>(i) + kFirstCommand;
    tb.fsState =
        static_cast<BYTE>((b.Enabled() ? TBSTATE_ENABLED : 0) | (b.down_ ? TBSTATE_CHECKED : 0));
    switch (b.style_) {
      case tbsButton:
        tb.fsStyle = BTNS_BUTTON;
        break;
      case tbsCheck:
        tb.fsStyle = static_cast<BYTE>(b.grouped_ ? BTNS_CHECKGROUP : BTNS_CHECK);
        break;
      case tbsSeparator:
      case tbsDivider:
        tb.fsStyle = BTNS_SEP;
        tb.iBitmap = 6;  // a separator's width
        break;
    }
    // The window keeps its own copy of the text.
    tb.iString =
        show_captions_ && b.style_ < tbsSeparator ? reinterpret_cast<INT_PTR>(caption.c_str()) : -1;
    SendMessageA(hwnd, TB_ADDBUTTONSA, 1, reinterpret_cast<LPARAM>(&tb));
  }
  SendMessageA(hwnd, TB_SETBUTTONSIZE, 0, MAKELPARAM(button_width_, button_height_));
  // The tool buttons' bounds follow the window's layout.
  for (size_t i = 0; i < buttons_.size(); ++i) {
    RECT r{};
    if (SendMessageA(hwnd, TB_GETITEMRECT, i, reinterpret_cast<LPARAM>(&r)))
      buttons_[i]->TControl::SetBounds(r.left, r.top, r.right - r.left, r.bottom - r.top);
  }
  Invalidate();
}

void TToolBar::CreateParams(TCreateParams& params) {
  InitCommonControlClasses();
  TWinControl::CreateParams(params);
  params.superclass = TOOLBARCLASSNAMEA;
  params.style |= CCS_NOPARENTALIGN | CCS_NORESIZE | CCS_NODIVIDER | TBSTYLE_WRAPABLE |
                  (flat_ ? TBSTYLE_FLAT : 0);
}

void TToolBar::WndProc(TMessage& message) {
  // The window itself hit-tests and paints its buttons: the tool buttons, though
  // windowless children, get neither mouse messages nor a paint of their own.
  if ((message.Msg >= WM_MOUSEFIRST && message.Msg <= WM_MOUSELAST) || message.Msg == WM_PAINT) {
    DefaultHandler(message);
    return;
  }
  if (message.Msg == CN_COMMAND) {
    const int index = static_cast<int>(LOWORD(message.WParam)) - kFirstCommand;
    if (index >= 0 && index < ButtonCount()) {
      TToolButton* button = buttons_[static_cast<size_t>(index)];
      button->down_ = button->Down();
      // A latched button of a group releases the others of its group.
      if (button->style_ == tbsCheck) {
        for (TToolButton* other : buttons_) other->down_ = other->Down();
      }
      button->Click();
    }
    message.Result = 0;
    return;
  }
  TWinControl::WndProc(message);
}

void RegisterToolBarClasses() {
  for (const TClassInfo* info : {&TToolBar::StaticClassInfo(), &TToolButton::StaticClassInfo()})
    RegisterComponentClass(*info);
}

}  // namespace fw
