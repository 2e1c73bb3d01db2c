#include "framework/comctrls.h"

#include <commctrl.h>

#include <algorithm>

namespace fw {

namespace {
const std::vector<std::string> kScrollBarKindNames = {"sbHorizontal", "sbVertical"};
}

void InitCommonControlClasses() {
  static const bool done = [] {
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES | ICC_BAR_CLASSES | ICC_TAB_CLASSES |
                                             ICC_PROGRESS_CLASS | ICC_UPDOWN_CLASS};
    return InitCommonControlsEx(&icc) != FALSE;
  }();
  (void)done;
}

// ---- TRangeControl ------------------------------------------------------------------------

const TClassInfo& TRangeControl::StaticClassInfo() {
  static const TClassInfo info =
      DescribeClass<TRangeControl, TWinControl>("TRangeControl", [](auto& c) {
        c.Integer("Max", &TRangeControl::Max, &TRangeControl::SetMax);
        c.Integer("Min", &TRangeControl::Min, &TRangeControl::SetMin);
        c.Integer("Position", &TRangeControl::Position, &TRangeControl::SetPosition);
        c.Event("OnChange", &TRangeControl::OnChange);
      });
  return info;
}

void TRangeControl::SetMin(int v) {
  min_ = v;
  if (HandleAllocated()) ApplyRange();
}
void TRangeControl::SetMax(int v) {
  max_ = v;
  if (HandleAllocated()) ApplyRange();
}
int TRangeControl::Position() const { return HandleAllocated() ? WindowPosition() : position_; }
void TRangeControl::SetPosition(int v) {
  position_ = v;
  if (HandleAllocated()) ApplyRange();
}

// ---- progress bar, track bar, up-down, scroll bar -----------------------------------------

const TClassInfo& TProgressBar::StaticClassInfo() {
  static const TClassInfo info =
      DescribeClass<TProgressBar, TRangeControl>("TProgressBar", [](auto&) {});
  return info;
}
TProgressBar::TProgressBar(TComponent* owner) : TRangeControl(owner) {
  width_ = 150;
  height_ = 16;
}
void TProgressBar::CreateParams(TCreateParams& params) {
  InitCommonControlClasses();
  TRangeControl::CreateParams(params);
  params.superclass = PROGRESS_CLASSA;
}
void TProgressBar::ApplyRange() {
  SendMessageA(Handle(), PBM_SETRANGE32, static_cast<WPARAM>(min_), max_);
  SendMessageA(Handle(), PBM_SETPOS, static_cast<WPARAM>(position_), 0);
}
int TProgressBar::WindowPosition() const {
  return static_cast<int>(
      SendMessageA(const_cast<TProgressBar*>(this)->Handle(), PBM_GETPOS, 0, 0));
}

const TClassInfo& TTrackBar::StaticClassInfo() {
  static const TClassInfo info = DescribeClass<TTrackBar, TRangeControl>("TTrackBar", [](auto& c) {
    c.Enum("Orientation", kScrollBarKindNames, &TTrackBar::Orientation, &TTrackBar::SetOrientation);
  });
  return info;
}
TTrackBar::TTrackBar(TComponent* owner) : TRangeControl(owner) {
  width_ = 150;
  height_ = 45;
  max_ = 10;
  SetTabStop(true);
}
void TTrackBar::CreateParams(TCreateParams& params) {
  InitCommonControlClasses();
  TRangeControl::CreateParams(params);
  params.superclass = TRACKBAR_CLASSA;
  params.style |= TBS_AUTOTICKS | (orientation_ == sbVertical ? TBS_VERT : TBS_HORZ);
}
void TTrackBar::ApplyRange() {
  SendMessageA(Handle(), TBM_SETRANGEMIN, FALSE, min_);
  SendMessageA(Handle(), TBM_SETRANGEMAX, FALSE, max_);
  SendMessageA(Handle(), TBM_SETPOS, TRUE, position_);
}
int TTrackBar::WindowPosition() const {
  return static_cast<int>(SendMessageA(const_cast<TTrackBar*>(this)->Handle(), TBM_GETPOS, 0, 0));
}
void TTrackBar::WndProc(TMessage& message) {
  if (message.Msg == CN_HSCROLL || message.Msg == CN_VSCROLL) {
    position_ = WindowPosition();
    if (OnChange) OnChange(this);
    return;
  }
  TRangeControl::WndProc(message);
}

const TClassInfo& TUpDown::StaticClassInfo() {
  static const TClassInfo info = DescribeClass<TUpDown, TRangeControl>("TUpDown", [](auto&) {});
  return info;
}
TUpDown::TUpDown(TComponent* owner) : TRangeControl(owner) {
  width_ = 17;
  height_ = 25;
}
void TUpDown::CreateParams(TCreateParams& params) {
  InitCommonControlClasses();
  TRangeControl::CreateParams(params);
  params.superclass = UPDOWN_CLASSA;
  params.style |= UDS_ARROWKEYS;
}
void TUpDown::ApplyRange() {
  SendMessageA(Handle(), UDM_SETRANGE32, static_cast<WPARAM>(min_), max_);
  SendMessageA(Handle(), UDM_SETPOS32, 0, position_);
}
int TUpDown::WindowPosition() const {
  return static_cast<int>(SendMessageA(const_cast<TUpDown*>(this)->Handle(), UDM_GETPOS32, 0, 0));
}

const TClassInfo& TScrollBar::StaticClassInfo() {
  static const TClassInfo info =
      DescribeClass<TScrollBar, TRangeControl>("TScrollBar", [](auto& c) {
        c.Enum("Kind", kScrollBarKindNames, &TScrollBar::Kind, &TScrollBar::SetKind);
      });
  return info;
}
TScrollBar::TScrollBar(TComponent* owner) : TRangeControl(owner) {
  width_ = 121;
  height_ = 17;
  SetTabStop(true);
}
void TScrollBar::CreateParams(TCreateParams& params) {
  TRangeControl::CreateParams(params);
  params.superclass = "SCROLLBAR";
  params.style |= kind_ == sbVertical ? SBS_VERT : SBS_HORZ;
}
void TScrollBar::ApplyRange() {
  SCROLLINFO si{sizeof si, SIF_RANGE | SIF_POS, min_, max_, 0, position_, 0};
  SetScrollInfo(Handle(), SB_CTL, &si, TRUE);
}
int TScrollBar::WindowPosition() const {
  SCROLLINFO si{sizeof si, SIF_POS, 0, 0, 0, 0, 0};
  GetScrollInfo(const_cast<TScrollBar*>(this)->Handle(), SB_CTL, &si);
  return si.nPos;
}
void TScrollBar::WndProc(TMessage& message) {
  if (message.Msg == CN_HSCROLL || message.Msg == CN_VSCROLL) {
    // The bar moves only when told: follow the request like a scroll bar user would.
    int pos = WindowPosition();
    switch (LOWORD(message.WParam)) {
      case SB_LINEUP:
        --pos;
        break;
      case SB_LINEDOWN:
        ++pos;
        break;
      case SB_PAGEUP:
        pos -= 10;
        break;
      case SB_PAGEDOWN:
        pos += 10;
        break;
      case SB_THUMBTRACK:
      case SB_THUMBPOSITION:
        pos = static_cast<short>(HIWORD(message.WParam));
        break;
      case SB_TOP:
        pos = min_;
        break;
      case SB_BOTTOM:
        pos = max_;
        break;
      default:
        return;
    }
    position_ = std::clamp(pos, min_, max_);
    ApplyRange();
    if (OnChange) OnChange(this);
    return;
  }
  TRangeControl::WndProc(message);
}

// ---- status bar and tab control -----------------------------------------------------------

const TClassInfo& TStatusBar::StaticClassInfo() {
  static const TClassInfo info = DescribeClass<TStatusBar, TWinControl>("TStatusBar", [](auto& c) {
    c.String("SimpleText", &TStatusBar::SimpleText, &TStatusBar::SetSimpleText);
    c.Bool("SizeGrip", &TStatusBar::SizeGrip, &TStatusBar::SetSizeGrip);
  });
  return info;
}
TStatusBar::TStatusBar(TComponent* owner) : TWinControl(owner) {
  height_ = 19;
  color_ = clBtnFace;
}
void TStatusBar::SetSimpleText(const std::string& text) {
  simple_text_ = text;
  if (HandleAllocated())
    SendMessageA(Handle(), SB_SETTEXTA, 0, reinterpret_cast<LPARAM>(text.c_str()));
}
void TStatusBar::CreateParams(TCreateParams& params) {
  InitCommonControlClasses();
  TWinControl::CreateParams(params);
  params.superclass = STATUSCLASSNAMEA;
  params.style |= CCS_BOTTOM | (size_grip_ ? SBARS_SIZEGRIP : 0);
}

const TClassInfo& TTabControl::StaticClassInfo() {
  static const TClassInfo info =
      DescribeClass<TTabControl, TWinControl>("TTabControl", [](auto& c) {
        c.Integer("TabIndex", &TTabControl::TabIndex, &TTabControl::SetTabIndex);
        c.StringList("Tabs.Strings", &TTabControl::Tabs, &TTabControl::SetTabs);
        c.Event("OnChange", &TTabControl::OnChange);
      });
  return info;
}
TTabControl::TTabControl(TComponent* owner) : TWinControl(owner) {
  width_ = 289;
  height_ = 193;
  SetTabStop(true);
}
void TTabControl::SetTabs(const TStringList& tabs) {
  tabs_ = tabs;
  if (!HandleAllocated()) return;
  SendMessageA(Handle(), TCM_DELETEALLITEMS, 0, 0);
  for (int i = 0; i < tabs_.Count(); ++i) {
    TCITEMA item{};
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<char*>(tabs_[i].c_str());
    SendMessageA(Handle(), TCM_INSERTITEMA, static_cast<WPARAM>(i),
                 reinterpret_cast<LPARAM>(&item));
  }
}
int TTabControl::TabIndex() const {
  if (HandleAllocated())
    return static_cast<int>(
        SendMessageA(const_cast<TTabControl*>(this)->Handle(), TCM_GETCURSEL, 0, 0));
  return tab_index_;
}
void TTabControl::SetTabIndex(int index) {
  tab_index_ = index;
  if (HandleAllocated()) SendMessageA(Handle(), TCM_SETCURSEL, static_cast<WPARAM>(index), 0);
}
void TTabControl::CreateParams(TCreateParams& params) {
  InitCommonControlClasses();
  TWinControl::CreateParams(params);
  params.superclass = WC_TABCONTROLA;
  params.style |= WS_CLIPCHILDREN;
}
void TTabControl::CreateHandleDone() {
  SetTabs(tabs_);
  SetTabIndex(tab_index_);
}
void TTabControl::WndProc(TMessage& message) {
  if (message.Msg == CN_NOTIFY && reinterpret_cast<NMHDR*>(message.LParam)->code == TCN_SELCHANGE) {
    tab_index_ = TabIndex();
    if (OnChange) OnChange(this);
    return;
  }
  TWinControl::WndProc(message);
}

void RegisterCommonControlClasses() {
  for (const TClassInfo* info : {&TProgressBar::StaticClassInfo(), &TTrackBar::StaticClassInfo(),
                                 &TUpDown::StaticClassInfo(), &TScrollBar::StaticClassInfo(),
                                 &TStatusBar::StaticClassInfo(), &TTabControl::StaticClassInfo()})
    RegisterComponentClass(*info);
}

}  // namespace fw
