#include "framework/std_controls.h"

#include <algorithm>

#include "framework/application.h"
#include "framework/comctrls.h"
#include "framework/forms.h"
#include "framework/menus.h"
#include "framework/timer.h"

namespace fw {

namespace {
const std::vector<std::string> kScrollStyleNames = {"ssNone", "ssHorizontal", "ssVertical",
                                                    "ssBoth"};
const std::vector<std::string> kComboStyleNames = {"csDropDown", "csSimple", "csDropDownList"};
const std::vector<std::string> kBevelNames = {"bvNone", "bvLowered", "bvRaised"};
const std::vector<std::string> kCheckBoxStateNames = {"cbUnchecked", "cbChecked", "cbGrayed"};
}  // namespace

// ---- TLabel -------------------------------------------------------------------------------

const TClassInfo& TLabel::StaticClassInfo() {
  static const TClassInfo info = DescribeClass<TLabel, TGraphicControl>("TLabel", [](auto& c) {
    c.Enum("Alignment", kAlignmentNames, &TLabel::Alignment, &TLabel::SetAlignment);
    c.Bool("AutoSize", &TLabel::AutoSize, &TLabel::SetAutoSize);
    c.Bool("ShowAccelChar", &TLabel::ShowAccelChar, &TLabel::SetShowAccelChar);
    c.Bool("Transparent", &TLabel::Transparent, &TLabel::SetTransparent);
    c.Bool("WordWrap", &TLabel::WordWrap, &TLabel::SetWordWrap);
  });
  return info;
}

TLabel::TLabel(TComponent* owner) : TGraphicControl(owner) {
  width_ = 65;
  height_ = 17;
}

void TLabel::SetAutoSize(bool v) {
  auto_size_ = v;
  AdjustBounds();
}
void TLabel::SetAlignment(TAlignment v) {
  alignment_ = v;
  Invalidate();
}
void TLabel::SetTransparent(bool v) {
  transparent_ = v;
  Invalidate();
}
void TLabel::SetWordWrap(bool v) {
  word_wrap_ = v;
  AdjustBounds();
  Invalidate();
}
void TLabel::SetShowAccelChar(bool v) {
  show_accel_char_ = v;
  AdjustBounds();
  Invalidate();
}

void TLabel::Loaded() {
  TGraphicControl::Loaded();
  AdjustBounds();
}

void TLabel::FontChanged() {
  TGraphicControl::FontChanged();
  AdjustBounds();
}

UINT TLabel::DrawTextFormat() const {
  UINT format = DT_EXPANDTABS | (word_wrap_ ? DT_WORDBREAK : 0);
  if (alignment_ == taRightJustify) format |= DT_RIGHT;
  if (alignment_ == taCenter) format |= DT_CENTER;
  if (!show_accel_char_) format |= DT_NOPREFIX;
  return format;
}

void TLabel::AdjustBounds() {
  if (!auto_size_ || IsLoading()) return;
  ScopedGetDc screen(nullptr);
  TCanvas canvas;
  canvas.SetHandle(screen.get());
  canvas.Font().Assign(font_);
  RECT r{0, 0, word_wrap_ ? width_ : 0, 0};
  std::string text = Caption();
  if (text.empty()) text = " ";
  canvas.DrawText(text, r, DrawTextFormat() | DT_CALCRECT);
  canvas.SetHandle(nullptr);
  int left = left_;
  if (alignment_ == taRightJustify) left += width_ - r.right;
  if (alignment_ == taCenter) left += (width_ - r.right) / 2;
  SetBounds(left, top_, r.right, r.bottom);
}

void TLabel::Paint() {
  TCanvas& canvas = Canvas();
  RECT r = ClientRect();
  if (!transparent_) {
    canvas.Brush().SetColor(color_);
    canvas.Brush().SetStyle(bsSolid);
    canvas.FillRect(r);
  }
  canvas.Brush().SetStyle(bsClear);
  if (!enabled_) {
    // Disabled text: embossed as the system draws it.
    OffsetRect(&r, 1, 1);
    canvas.Font().SetColor(clBtnHighlight);
    canvas.DrawText(Caption(), r, DrawTextFormat());
    OffsetRect(&r, -1, -1);
    canvas.Font().SetColor(clBtnShadow);
  }
  canvas.DrawText(Caption(), r, DrawTextFormat());
}

// ---- buttons ------------------------------------------------------------------------------

const TClassInfo& TButtonControl::StaticClassInfo() {
  static const TClassInfo info =
      DescribeClass<TButtonControl, TWinControl>("TButtonControl", [](auto&) {});
  return info;
}

TButtonControl::TButtonControl(TComponent* owner) : TWinControl(owner) {
  parent_color_ = true;
  color_ = clBtnFace;
  SetTabStop(true);
}

const TClassInfo& TButton::StaticClassInfo() {
  static const TClassInfo info = DescribeClass<TButton, TButtonControl>("TButton", [](auto& c) {
    c.Bool("Cancel", &TButton::Cancel, &TButton::SetCancel);
    c.Bool("Default", &TButton::Default, &TButton::SetDefault);
    c.Integer("ModalResult", &TButton::ModalResult, &TButton::SetModalResult);
  });
  return info;
}

TButton::TButton(TComponent* owner) : TButtonControl(owner) {
  width_ = 75;
  height_ = 25;
}

void TButton::SetDefault(bool v) {
  default_ = v;
  // An owner-drawn button (a bitmap button) keeps its style and draws the default frame.
  if (HandleAllocated() && (GetWindowLongA(Handle(), GWL_STYLE) & BS_TYPEMASK) != BS_OWNERDRAW)
    SendMessageA(Handle(), BM_SETSTYLE, v ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, 1);
  Invalidate();
}

void TButton::Click() {
  if (modal_result_ != mrNone) {
    if (TCustomForm* form = ParentForm()) form->SetModalResult(modal_result_);
  }
  TButtonControl::Click();
}

void TButton::CreateParams(TCreateParams& params) {
  TButtonControl::CreateParams(params);
  params.superclass = "BUTTON";
  params.style |= default_ ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
}

void TButton::WndProc(TMessage& message) {
  if (message.Msg == CN_COMMAND && HIWORD(message.WParam) == BN_CLICKED) {
    Click();
    return;
  }
  // Enter on the focused button clicks it (outside a dialog nobody else does). Modifier
  // keys leave it to the window.
  if (message.Msg == WM_KEYDOWN && message.WParam == VK_RETURN &&
      !(GetKeyState(VK_CONTROL) & 0x8000) && !(GetKeyState(VK_MENU) & 0x8000) &&
      !(GetKeyState(VK_SHIFT) & 0x8000)) {
    Click();
    message.Result = 0;
    return;
  }
  TButtonControl::WndProc(message);
}

const TClassInfo& TCustomCheckBox::StaticClassInfo() {
  static const TClassInfo info =
      DescribeClass<TCustomCheckBox, TButtonControl>("TCustomCheckBox", [](auto& c) {
        c.Enum("Alignment", kAlignmentNames, &TCustomCheckBox::Alignment,
               &TCustomCheckBox::SetAlignment);
        c.Bool("AllowGrayed", &TCustomCheckBox::AllowGrayed, &TCustomCheckBox::SetAllowGrayed);
        c.Bool("Checked", &TCustomCheckBox::Checked, &TCustomCheckBox::SetChecked);
        c.Enum("State", kCheckBoxStateNames, &TCustomCheckBox::State, &TCustomCheckBox::SetState);
      });
  return info;
}

const TClassInfo& TCheckBox::StaticClassInfo() {
  static const TClassInfo info =
      DescribeClass<TCheckBox, TCustomCheckBox>("TCheckBox", [](auto&) {});
  return info;
}

TCustomCheckBox::TCustomCheckBox(TComponent* owner) : TButtonControl(owner) {
  width_ = 97;
  height_ = 17;
}

TCheckBoxState TCustomCheckBox::State() const {
  if (!HandleAllocated()) return state_;
  const LRESULT check =
      SendMessageA(const_cast<TCustomCheckBox*>(this)->Handle(), BM_GETCHECK, 0, 0);
  return check == BST_CHECKED ? cbChecked : check == BST_INDETERMINATE ? cbGrayed : cbUnchecked;
}

void TCustomCheckBox::SetState(TCheckBoxState v) {
  // A grayed state set in code is kept even without AllowGrayed (only clicks skip it).
  state_ = v;
  if (HandleAllocated()) {
    const WPARAM check = v == cbChecked  ? BST_CHECKED
                         : v == cbGrayed ? BST_INDETERMINATE
                                         : BST_UNCHECKED;
    SendMessageA(Handle(), BM_SETCHECK, check, 0);
  }
}

DWORD TCustomCheckBox::ButtonStyle() const {
  return (allow_grayed_ ? BS_AUTO3STATE : BS_AUTOCHECKBOX) |
         (alignment_ == taLeftJustify ? BS_LEFTTEXT : 0);
}

void TCustomCheckBox::SetAllowGrayed(bool v) {
  allow_grayed_ = v;
  if (HandleAllocated()) SendMessageA(Handle(), BM_SETSTYLE, ButtonStyle() & BS_TYPEMASK, TRUE);
}

void TCustomCheckBox::SetAlignment(TAlignment v) {
  alignment_ = v;
  if (!HandleAllocated()) return;
  LONG style = GetWindowLongA(Handle(), GWL_STYLE);
  style = v == taLeftJustify ? (style | BS_LEFTTEXT) : (style & ~BS_LEFTTEXT);
  SetWindowLongA(Handle(), GWL_STYLE, style);
  Invalidate();
}

void TCustomCheckBox::CreateParams(TCreateParams& params) {
  TButtonControl::CreateParams(params);
  params.superclass = "BUTTON";
  params.style |= ButtonStyle();
}

void TCustomCheckBox::CreateHandleDone() { SetState(state_); }

void TCustomCheckBox::WndProc(TMessage& message) {
  if (message.Msg == CN_COMMAND && HIWORD(message.WParam) == BN_CLICKED) {
    state_ = State();
    Click();
    return;
  }
  TButtonControl::WndProc(message);
}

const TClassInfo& TRadioButton::StaticClassInfo() {
  static const TClassInfo info = DescribeClass<TRadioButton, TButtonControl>(
      "TRadioButton",
      [](auto& c) { c.Bool("Checked", &TRadioButton::Checked, &TRadioButton::SetChecked); });
  return info;
}

TRadioButton::TRadioButton(TComponent* owner) : TButtonControl(owner) {
  width_ = 113;
  height_ = 17;
}

bool TRadioButton::Checked() const {
  if (HandleAllocated())
    return SendMessageA(const_cast<TRadioButton*>(this)->Handle(), BM_GETCHECK, 0, 0) ==
           BST_CHECKED;
  return checked_;
}

void TRadioButton::SetChecked(bool v) {
  checked_ = v;
  if (HandleAllocated()) SendMessageA(Handle(), BM_SETCHECK, v ? BST_CHECKED : BST_UNCHECKED, 0);
  // Siblings are unchecked by the framework, not by dialog-style grouping.
  if (v && parent_) {
    for (TControl* c : parent_->ControlList()) {
      if (auto* other = dynamic_cast<TRadioButton*>(c); other && other != this && other->checked_)
        other->SetChecked(false);
    }
  }
}

void TRadioButton::CreateParams(TCreateParams& params) {
  TButtonControl::CreateParams(params);
  params.superclass = "BUTTON";
  params.style |= BS_RADIOBUTTON;
}

void TRadioButton::CreateHandleDone() { SetChecked(checked_); }

void TRadioButton::WndProc(TMessage& message) {
  if (message.Msg == CN_COMMAND && HIWORD(message.WParam) == BN_CLICKED) {
    SetChecked(true);
    Click();
    return;
  }
  TButtonControl::WndProc(message);
}

// ---- edits --------------------------------------------------------------------------------

const TClassInfo& TCustomEdit::StaticClassInfo() {
  static const TClassInfo info =
      DescribeClass<TCustomEdit, TWinControl>("TCustomEdit", [](auto& c) {
        c.Integer("MaxLength", &TCustomEdit::MaxLength, &TCustomEdit::SetMaxLength);
        c.Bool("ReadOnly", &TCustomEdit::ReadOnly, &TCustomEdit::SetReadOnly);
        c.String("Text", &TControl::Text, &TControl::SetTextProperty);
        c.Event("OnChange", &TCustomEdit::OnChange);
      });
  return info;
}

const TClassInfo& TEdit::StaticClassInfo() {
  static const TClassInfo info = DescribeClass<TEdit, TCustomEdit>("TEdit", [](auto&) {});
  return info;
}

TCustomEdit::TCustomEdit(TComponent* owner) : TWinControl(owner) {
  width_ = 121;
  height_ = 25;
  color_ = clWindow;
  SetTabStop(true);
}

void TCustomEdit::SetReadOnly(bool v) {
  read_only_ = v;
  if (HandleAllocated()) SendMessageA(Handle(), EM_SETREADONLY, v, 0);
}

void TCustomEdit::SetMaxLength(int v) {
  max_length_ = v;
  if (HandleAllocated()) SendMessageA(Handle(), EM_LIMITTEXT, static_cast<WPARAM>(v), 0);
}

void TCustomEdit::SelectAll() {
  if (HandleAllocated()) SendMessageA(Handle(), EM_SETSEL, 0, -1);
}

void TCustomEdit::CreateParams(TCreateParams& params) {
  TWinControl::CreateParams(params);
  params.superclass = "EDIT";
  params.style |= ES_AUTOHSCROLL | (read_only_ ? ES_READONLY : 0);
  params.ex_style |= WS_EX_CLIENTEDGE;
}

void TCustomEdit::CreateHandleDone() {
  if (max_length_) SetMaxLength(max_length_);
}

void TCustomEdit::WndProc(TMessage& message) {
  if (message.Msg == CN_COMMAND && HIWORD(message.WParam) == EN_CHANGE) {
    if (OnChange && !IsLoading()) OnChange(this);
    return;
  }
  TWinControl::WndProc(message);
}

const TClassInfo& TCustomMemo::StaticClassInfo() {
  static const TClassInfo info =
      DescribeClass<TCustomMemo, TCustomEdit>("TCustomMemo", [](auto& c) {
        c.StringList("Lines.Strings", &TCustomMemo::Lines, &TCustomMemo::SetLines);
        c.Enum("ScrollBars", kScrollStyleNames, &TCustomMemo::ScrollBars,
               &TCustomMemo::SetScrollBars);
        c.Bool("WantReturns", &TCustomMemo::WantReturns, &TCustomMemo::SetWantReturns);
        c.Bool("WordWrap", &TCustomMemo::WordWrap, &TCustomMemo::SetWordWrap);
      });
  return info;
}

const TClassInfo& TMemo::StaticClassInfo() {
  static const TClassInfo info = DescribeClass<TMemo, TCustomMemo>("TMemo", [](auto&) {});
  return info;
}

TCustomMemo::TCustomMemo(TComponent* owner) : TCustomEdit(owner) {
  width_ = 185;
  height_ = 89;
}

TStringList TCustomMemo::Lines() const {
  TStringList lines;
  lines.SetText(GetText());
  return lines;
}

void TCustomMemo::SetLines(const TStringList& lines) {
  std::string text = lines.Text();
  // The last line has no line break after it in the window.
  if (text.size() >= 2) text.resize(text.size() - 2);
  SetText(text);
}

void TCustomMemo::CreateParams(TCreateParams& params) {
  TCustomEdit::CreateParams(params);
  params.style &= ~ES_AUTOHSCROLL;
  params.style |= ES_MULTILINE | ES_AUTOVSCROLL | (want_returns_ ? ES_WANTRETURN : 0);
  if (!word_wrap_ || scroll_bars_ == ssHorizontal || scroll_bars_ == ssBoth)
    params.style |= ES_AUTOHSCROLL;
  if (scroll_bars_ == ssHorizontal || scroll_bars_ == ssBoth) params.style |= WS_HSCROLL;
  if (scroll_bars_ == ssVertical || scroll_bars_ == ssBoth) params.style |= WS_VSCROLL;
}

// ---- combo box ----------------------------------------------------------------------------

const TClassInfo& TCustomComboBox::StaticClassInfo() {
  static const TClassInfo info =
      DescribeClass<TCustomComboBox, TWinControl>("TCustomComboBox", [](auto& c) {
        c.Integer("DropDownCount", &TCustomComboBox::DropDownCount,
                  &TCustomComboBox::SetDropDownCount);
        c.Integer("ItemIndex", &TCustomComboBox::ItemIndex, &TCustomComboBox::SetItemIndex);
        c.StringList("Items.Strings", &TCustomComboBox::Items, &TCustomComboBox::SetItems);
        c.Enum("Style", kComboStyleNames, &TCustomComboBox::Style, &TCustomComboBox::SetStyle);
        c.String("Text", &TControl::Text, &TControl::SetTextProperty);
        c.Event("OnChange", &TCustomComboBox::OnChange);
      });
  return info;
}

const TClassInfo& TComboBox::StaticClassInfo() {
  static const TClassInfo info =
      DescribeClass<TComboBox, TCustomComboBox>("TComboBox", [](auto&) {});
  return info;
}

TCustomComboBox::TCustomComboBox(TComponent* owner) : TWinControl(owner) {
  width_ = 145;
  height_ = 24;
  color_ = clWindow;
  SetTabStop(true);
}

void TCustomComboBox::SetItems(const TStringList& items) {
  items_ = items;
  if (HandleAllocated()) {
    SendMessageA(Handle(), CB_RESETCONTENT, 0, 0);
    for (const auto& item : items_.Lines())
      SendMessageA(Handle(), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
  }
}

int TCustomComboBox::ItemIndex() const {
  if (HandleAllocated())
    return static_cast<int>(
        SendMessageA(const_cast<TCustomComboBox*>(this)->Handle(), CB_GETCURSEL, 0, 0));
  return item_index_;
}

void TCustomComboBox::SetItemIndex(int index) {
  item_index_ = index;
  if (HandleAllocated()) SendMessageA(Handle(), CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

void TCustomComboBox::SetStyle(TComboBoxStyle v) {
  if (v == style_) return;
  if (HandleAllocated()) {
    // The style of a combo box is fixed when its window is made: make a new one.
    item_index_ = ItemIndex();
    const std::string text = GetText();
    style_ = v;
    DestroyHandle();
    text_ = text;
    HandleNeeded();
    return;
  }
  style_ = v;
}

std::string TCustomComboBox::GetText() const {
  if (!HandleAllocated() && style_ == csDropDownList)
    return item_index_ >= 0 && item_index_ < items_.Count() ? items_[item_index_] : std::string();
  return TWinControl::GetText();
}

void TCustomComboBox::SetText(const std::string& text) {
  // A drop-down list has no edit: its text is the item that is selected.
  if (style_ == csDropDownList) {
    const int index = items_.IndexOf(text);
    text_ = index >= 0 ? items_[index] : std::string();
    SetItemIndex(index);
    return;
  }
  TWinControl::SetText(text);
}

void TCustomComboBox::CreateParams(TCreateParams& params) {
  TWinControl::CreateParams(params);
  params.superclass = "COMBOBOX";
  // Its edit (and a simple combo box's list) are clipped out of its own painting.
  params.style |= WS_VSCROLL | CBS_AUTOHSCROLL | WS_CLIPCHILDREN;
  params.style |= style_ == csSimple         ? CBS_SIMPLE
                  : style_ == csDropDownList ? CBS_DROPDOWNLIST
                                             : CBS_DROPDOWN;
  // A drop-down combo box's window height is the room its list gets when dropped down.
  if (style_ != csSimple) params.height = height_ + std::max(drop_down_count_, 1) * 16;
}

void TCustomComboBox::CreateHandleDone() {
  const std::string text = text_;
  SetItems(items_);
  if (item_index_ < 0 && style_ == csDropDownList && !text.empty())
    item_index_ = items_.IndexOf(text);
  SetItemIndex(item_index_);
  // Filling the list empties the edit: an edit's own text comes back.
  if (item_index_ < 0 && style_ != csDropDownList && !text.empty())
    SetWindowTextA(Handle(), text.c_str());
}

void TCustomComboBox::WndProc(TMessage& message) {
  // A simple combo box's list may end above the window's bottom: the rest shows the parent.
  if (message.Msg == WM_ERASEBKGND && style_ == csSimple && parent_) {
    RECT client;
    GetClientRect(Handle(), &client);
    FillRect(reinterpret_cast<HDC>(message.WParam), &client, parent_->BrushHandle());
    message.Result = 1;
    return;
  }
  if (message.Msg == CN_COMMAND &&
      (HIWORD(message.WParam) == CBN_SELCHANGE || HIWORD(message.WParam) == CBN_EDITCHANGE)) {
    item_index_ = ItemIndex();
    if (OnChange) OnChange(this);
    return;
  }
  TWinControl::WndProc(message);
}

// ---- list box -----------------------------------------------------------------------------

const TClassInfo& TCustomListBox::StaticClassInfo() {
  static const TClassInfo info =
      DescribeClass<TCustomListBox, TWinControl>("TCustomListBox", [](auto& c) {
        c.Bool("IntegralHeight", &TCustomListBox::IntegralHeight,
               &TCustomListBox::SetIntegralHeight);
        c.Integer("ItemIndex", &TCustomListBox::ItemIndex, &TCustomListBox::SetItemIndex);
        c.StringList("Items.Strings", &TCustomListBox::Items, &TCustomListBox::SetItems);
        c.Bool("Sorted", &TCustomListBox::Sorted, &TCustomListBox::SetSorted);
        c.Event("OnDblClick", &TCustomListBox::OnDblClick);
      });
  return info;
}

const TClassInfo& TListBox::StaticClassInfo() {
  static const TClassInfo info = DescribeClass<TListBox, TCustomListBox>("TListBox", [](auto&) {});
  return info;
}

TCustomListBox::TCustomListBox(TComponent* owner) : TWinControl(owner) {
  width_ = 121;
  height_ = 97;
  color_ = clWindow;
  SetTabStop(true);
}

void TCustomListBox::SetItems(const TStringList& items) {
  items_ = items;
  if (HandleAllocated()) {
    SendMessageA(Handle(), LB_RESETCONTENT, 0, 0);
    for (const auto& item : items_.Lines())
      SendMessageA(Handle(), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
  }
}

int TCustomListBox::ItemIndex() const {
  if (HandleAllocated())
    return static_cast<int>(
        SendMessageA(const_cast<TCustomListBox*>(this)->Handle(), LB_GETCURSEL, 0, 0));
  return item_index_;
}

void TCustomListBox::SetItemIndex(int index) {
  item_index_ = index;
  if (HandleAllocated()) SendMessageA(Handle(), LB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

void TCustomListBox::CreateParams(TCreateParams& params) {
  TWinControl::CreateParams(params);
  params.superclass = "LISTBOX";
  params.style |= WS_VSCROLL | LBS_NOTIFY | (sorted_ ? LBS_SORT : 0) |
                  (integral_height_ ? 0 : LBS_NOINTEGRALHEIGHT);
  params.ex_style |= WS_EX_CLIENTEDGE;
}

void TCustomListBox::CreateHandleDone() {
  SetItems(items_);
  SetItemIndex(item_index_);
}

void TCustomListBox::WndProc(TMessage& message) {
  if (message.Msg == CN_COMMAND) {
    if (HIWORD(message.WParam) == LBN_SELCHANGE) {
      item_index_ = ItemIndex();
      Click();
      return;
    }
    if (HIWORD(message.WParam) == LBN_DBLCLK) {
      if (OnDblClick) OnDblClick(this);
      return;
    }
  }
  TWinControl::WndProc(message);
}

// ---- group box and panel ------------------------------------------------------------------

const TClassInfo& TCustomGroupBox::StaticClassInfo() {
  static const TClassInfo info =
      DescribeClass<TCustomGroupBox, TCustomControl>("TCustomGroupBox", [](auto&) {});
  return info;
}

const TClassInfo& TGroupBox::StaticClassInfo() {
  static const TClassInfo info =
      DescribeClass<TGroupBox, TCustomGroupBox>("TGroupBox", [](auto&) {});
  return info;
}

TCustomGroupBox::TCustomGroupBox(TComponent* owner) : TCustomControl(owner) {
  width_ = 185;
  height_ = 105;
  parent_color_ = true;
  color_ = clBtnFace;
}

RECT TCustomGroupBox::ContentRect() {
  ScopedGetDc screen(nullptr);
  TCanvas canvas;
  canvas.SetHandle(screen.get());
  canvas.Font().Assign(font_);
  const int text_height = canvas.TextHeight("0");
  canvas.SetHandle(nullptr);
  return {2, text_height + 2, std::max(width_ - 2, 2), std::max(height_ - 2, text_height + 2)};
}

void TCustomGroupBox::Paint() {
  TCanvas& canvas = Canvas();
  const int text_height = canvas.TextHeight("0");
  RECT frame{0, text_height / 2, width_, height_};
  DrawEdge(canvas.Handle(), &frame, EDGE_ETCHED, BF_RECT);
  const std::string caption = Caption();
  if (!caption.empty()) {
    RECT r{8, 0, 0, text_height};
    canvas.Brush().SetColor(color_);
    canvas.DrawText(caption, r, DT_SINGLELINE | DT_CALCRECT);
    canvas.DrawText(caption, r, DT_SINGLELINE);
  }
}

const TClassInfo& TCustomPanel::StaticClassInfo() {
  static const TClassInfo info =
      DescribeClass<TCustomPanel, TCustomControl>("TCustomPanel", [](auto& c) {
        c.Enum("Alignment", kAlignmentNames, &TCustomPanel::Alignment, &TCustomPanel::SetAlignment);
        c.Enum("BevelInner", kBevelNames, &TCustomPanel::BevelInner, &TCustomPanel::SetBevelInner);
        c.Enum("BevelOuter", kBevelNames, &TCustomPanel::BevelOuter, &TCustomPanel::SetBevelOuter);
      });
  return info;
}

const TClassInfo& TPanel::StaticClassInfo() {
  static const TClassInfo info = DescribeClass<TPanel, TCustomPanel>("TPanel", [](auto&) {});
  return info;
}

TCustomPanel::TCustomPanel(TComponent* owner) : TCustomControl(owner) {
  width_ = 185;
  height_ = 41;
  parent_color_ = true;
  color_ = clBtnFace;
}

void TCustomPanel::SetBevelOuter(TBevelCut v) {
  bevel_outer_ = v;
  Invalidate();
}
void TCustomPanel::SetBevelInner(TBevelCut v) {
  bevel_inner_ = v;
  Invalidate();
}
void TCustomPanel::SetAlignment(TAlignment v) {
  alignment_ = v;
  Invalidate();
}

void TCustomPanel::Paint() {
  TCanvas& canvas = Canvas();
  RECT r = ClientRect();
  if (bevel_outer_ != bvNone)
    DrawEdge(canvas.Handle(), &r, bevel_outer_ == bvRaised ? BDR_RAISEDOUTER : BDR_SUNKENOUTER,
             BF_RECT | BF_ADJUST);
  if (bevel_inner_ != bvNone)
    DrawEdge(canvas.Handle(), &r, bevel_inner_ == bvRaised ? BDR_RAISEDINNER : BDR_SUNKENINNER,
             BF_RECT | BF_ADJUST);
  canvas.Brush().SetStyle(bsClear);
  UINT format = DT_SINGLELINE | DT_VCENTER;
  if (alignment_ == taCenter) format |= DT_CENTER;
  if (alignment_ == taRightJustify) format |= DT_RIGHT;
  canvas.DrawText(Caption(), r, format);
}

void RegisterStandardClasses() {
  for (const TClassInfo* info :
       {&TForm::StaticClassInfo(), &TLabel::StaticClassInfo(), &TButton::StaticClassInfo(),
        &TCheckBox::StaticClassInfo(), &TRadioButton::StaticClassInfo(), &TEdit::StaticClassInfo(),
        &TMemo::StaticClassInfo(), &TComboBox::StaticClassInfo(), &TListBox::StaticClassInfo(),
        &TGroupBox::StaticClassInfo(), &TPanel::StaticClassInfo(), &TTimer::StaticClassInfo()})
    RegisterComponentClass(*info);
  RegisterCommonControlClasses();
  RegisterMenuClasses();
}

}  // namespace fw
