#include "framework/comctrls.h"

#include "framework/buttons.h"
#include "framework/date_time_picker.h"
#include "framework/ext_ctrls.h"
#include "framework/list_view.h"
#include "framework/rich_edit.h"
#include "framework/tool_bar.h"

#include <commctrl.h>

#include <algorithm>

namespace fw {

namespace {
const std::vector<std::string> kScrollBarKindNames = {"sbHorizontal", "sbVertical"};
const std::vector<std::string> kProgressOrientationNames = {"pbHorizontal", "pbVertical"};
const std::vector<std::string> kTrackOrientationNames = {"trHorizontal", "trVertical"};
const std::vector<std::string> kTickStyleNames = {"tsNone", "tsAuto", "tsManual"};
const std::vector<std::string> kTickMarkNames = {"tmBottomRight", "tmTopLeft", "tmBoth"};
const std::vector<std::string> kUpDownOrientationNames = {"udHorizontal", "udVertical"};
const std::vector<std::string> kAlignButtonNames = {"udLeft", "udRight"};
const std::vector<std::string> kPanelBevelNames = {"pbNone", "pbLowered", "pbRaised"};
}  // namespace

void RecreateWnd(TWinControl& control) {
  if (!control.HandleAllocated()) return;
  control.DestroyHandle();
  control.HandleNeeded();
}

void InitCommonControlClasses() {
  static const bool done = [] {
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES | ICC_BAR_CLASSES | ICC_TAB_CLASSES |
                                             ICC_PROGRESS_CLASS | ICC_UPDOWN_CLASS |
                                             ICC_LISTVIEW_CLASSES | ICC_DATE_CLASSES};
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

// ---- progress bar ---------------------------------------------------------------------------

const TClassInfo& TProgressBar::StaticClassInfo() {
  static const TClassInfo info =
      DescribeClass<TProgressBar, TRangeControl>("TProgressBar", [](auto& c) {
        c.Enum("Orientation", kProgressOrientationNames, &TProgressBar::Orientation,
               &TProgressBar::SetOrientation);
        c.Bool("Smooth", &TProgressBar::Smooth, &TProgressBar::SetSmooth);
        c.Integer("Step", &TProgressBar::Step, &TProgressBar::SetStep);
      });
  return info;
}
TProgressBar::TProgressBar(TComponent* owner) : TRangeControl(owner) {
  width_ = 150;
  height_ = 16;
}
void TProgressBar::SetOrientation(TProgressBarOrientation v) {
  if (v == orientation_) return;
  orientation_ = v;
  position_ = Position();
  RecreateWnd(*this);
}
void TProgressBar::SetSmooth(bool v) {
  if (v == smooth_) return;
  smooth_ = v;
  position_ = Position();
  RecreateWnd(*this);
}
void TProgressBar::CreateParams(TCreateParams& params) {
  InitCommonControlClasses();
  TRangeControl::CreateParams(params);
  params.superclass = PROGRESS_CLASSA;
  if (orientation_ == pbVertical) params.style |= PBS_VERTICAL;
  if (smooth_) params.style |= PBS_SMOOTH;
}
void TProgressBar::ApplyRange() {
  SendMessageA(Handle(), PBM_SETRANGE32, static_cast<WPARAM>(min_), max_);
  SendMessageA(Handle(), PBM_SETPOS, static_cast<WPARAM>(position_), 0);
}
int TProgressBar::WindowPosition() const {
  return static_cast<int>(
      SendMessageA(const_cast<TProgressBar*>(this)->Handle(), PBM_GETPOS, 0, 0));
}

// ---- track bar ----------------------------------------------------------------------------

const TClassInfo& TTrackBar::StaticClassInfo() {
  static const TClassInfo info = DescribeClass<TTrackBar, TRangeControl>("TTrackBar", [](auto& c) {
    c.Integer("Frequency", &TTrackBar::Frequency, &TTrackBar::SetFrequency);
    c.Enum("Orientation", kTrackOrientationNames, &TTrackBar::Orientation,
           &TTrackBar::SetOrientation);
    c.Integer("PageSize", &TTrackBar::PageSize, &TTrackBar::SetPageSize);
    c.Enum("TickMarks", kTickMarkNames, &TTrackBar::TickMarks, &TTrackBar::SetTickMarks);
    c.Enum("TickStyle", kTickStyleNames, &TTrackBar::TickStyle, &TTrackBar::SetTickStyle);
  });
  return info;
}
TTrackBar::TTrackBar(TComponent* owner) : TRangeControl(owner) {
  width_ = 150;
  height_ = 45;
  max_ = 10;
  // The bar's background is the colour its parent answers for it.
  parent_color_ = true;
  color_ = clBtnFace;
  SetTabStop(true);
}
void TTrackBar::SetOrientation(TTrackBarOrientation v) {
  if (v == orientation_) return;
  orientation_ = v;
  position_ = Position();
  RecreateWnd(*this);
}
void TTrackBar::SetTickStyle(TTickStyle v) {
  if (v == tick_style_) return;
  tick_style_ = v;
  position_ = Position();
  RecreateWnd(*this);
}
void TTrackBar::SetTickMarks(TTickMark v) {
  if (v == tick_marks_) return;
  tick_marks_ = v;
  position_ = Position();
  RecreateWnd(*this);
}
void TTrackBar::SetFrequency(int v) {
  frequency_ = v;
  if (HandleAllocated()) SendMessageA(Handle(), TBM_SETTICFREQ, static_cast<WPARAM>(v), 0);
}
void TTrackBar::SetPageSize(int v) {
  page_size_ = v;
  if (HandleAllocated()) SendMessageA(Handle(), TBM_SETPAGESIZE, 0, v);
}
void TTrackBar::CreateParams(TCreateParams& params) {
  InitCommonControlClasses();
  TRangeControl::CreateParams(params);
  params.superclass = TRACKBAR_CLASSA;
  params.style |= orientation_ == trVertical ? TBS_VERT : TBS_HORZ;
  if (tick_style_ == tsNone) params.style |= TBS_NOTICKS;
  if (tick_style_ == tsAuto) params.style |= TBS_AUTOTICKS;
  if (tick_marks_ == tmTopLeft) params.style |= TBS_TOP;  // TBS_LEFT for vertical bars
  if (tick_marks_ == tmBoth) params.style |= TBS_BOTH;
}
void TTrackBar::ApplyRange() {
  SendMessageA(Handle(), TBM_SETRANGEMIN, FALSE, min_);
  SendMessageA(Handle(), TBM_SETRANGEMAX, FALSE, max_);
  SendMessageA(Handle(), TBM_SETTICFREQ, static_cast<WPARAM>(frequency_), 0);
  SendMessageA(Handle(), TBM_SETPAGESIZE, 0, page_size_);
  SendMessageA(Handle(), TBM_SETPOS, TRUE, position_);
}
int TTrackBar::WindowPosition() const {
  return static_cast<int>(SendMessageA(const_cast<TTrackBar*>(this)->Handle(), TBM_GETPOS, 0, 0));
}
void TTrackBar::WndProc(TMessage& message) {
  if (message.Msg == CN_HSCROLL || message.Msg == CN_VSCROLL) {
    const int now = WindowPosition();
    if (now != position_) {
      position_ = now;
      if (OnChange) OnChange(this);
    }
    return;
  }
  TRangeControl::WndProc(message);
}

// ---- up-down ------------------------------------------------------------------------------

const TClassInfo& TUpDown::StaticClassInfo() {
  static const TClassInfo info = DescribeClass<TUpDown, TRangeControl>("TUpDown", [](auto& c) {
    c.Enum("AlignButton", kAlignButtonNames, &TUpDown::AlignButton, &TUpDown::SetAlignButton);
    c.Reference(
        "Associate",
        [](const TUpDown& u) { return u.associate_ ? u.associate_->Name() : u.associate_name_; },
        [](TUpDown& u, const std::string& name) {
          u.associate_name_ = name;
          if (!u.IsLoading()) u.Loaded();
        });
    c.Integer("Increment", &TUpDown::Increment, &TUpDown::SetIncrement);
    c.Enum("Orientation", kUpDownOrientationNames, &TUpDown::Orientation, &TUpDown::SetOrientation);
    c.Bool("Wrap", &TUpDown::Wrap, &TUpDown::SetWrap);
  });
  return info;
}
TUpDown::TUpDown(TComponent* owner) : TRangeControl(owner) {
  width_ = 17;
  height_ = 25;
  parent_color_ = true;
  color_ = clBtnFace;
}
TUpDown::~TUpDown() {
  if (associate_) associate_->RemoveFreeNotification(this);
}
void TUpDown::Loaded() {
  TRangeControl::Loaded();
  if (associate_name_.empty() || !Owner()) return;
  auto* control = dynamic_cast<TWinControl*>(Owner()->FindComponent(associate_name_));
  if (!control) throw EReadError("Associate: no control named " + associate_name_);
  associate_name_.clear();
  SetAssociate(control);
}
void TUpDown::Notification(TComponent* component, TOperation operation) {
  TRangeControl::Notification(component, operation);
  if (operation == opRemove && component == associate_) associate_ = nullptr;
}
void TUpDown::SetAssociate(TWinControl* control) {
  if (control == this) control = nullptr;
  if (associate_) associate_->RemoveFreeNotification(this);
  associate_ = control;
  if (associate_) associate_->FreeNotification(this);
  if (HandleAllocated()) {
    HWND buddy = associate_ ? associate_->Handle() : nullptr;
    SendMessageA(Handle(), UDM_SETBUDDY, reinterpret_cast<WPARAM>(buddy), 0);
    if (associate_) {
      // The up-down moved itself beside the buddy: keep the bounds in step.
      RECT r;
      GetWindowRect(Handle(), &r);
      MapWindowPoints(nullptr, GetParent(Handle()), reinterpret_cast<POINT*>(&r), 2);
      TControl::SetBounds(r.left, r.top, r.right - r.left, r.bottom - r.top);
      ApplyRange();
    }
  }
}
void TUpDown::SetOrientation(TUDOrientation v) {
  if (v == orientation_) return;
  orientation_ = v;
  position_ = Position();
  RecreateWnd(*this);
}
void TUpDown::SetIncrement(int v) {
  increment_ = v;
  if (HandleAllocated()) {
    UDACCEL accel{0, static_cast<UINT>(std::max(v, 1))};
    SendMessageA(Handle(), UDM_SETACCEL, 1, reinterpret_cast<LPARAM>(&accel));
  }
}
void TUpDown::CreateParams(TCreateParams& params) {
  InitCommonControlClasses();
  TRangeControl::CreateParams(params);
  params.superclass = UPDOWN_CLASSA;
  params.style |= UDS_ARROWKEYS | UDS_SETBUDDYINT | UDS_NOTHOUSANDS;
  if (associate_) params.style |= align_button_ == udLeft ? UDS_ALIGNLEFT : UDS_ALIGNRIGHT;
  if (orientation_ == udHorizontal) params.style |= UDS_HORZ;
  if (wrap_) params.style |= UDS_WRAP;
}
void TUpDown::CreateHandleDone() {
  TRangeControl::CreateHandleDone();
  SetIncrement(increment_);
  if (associate_) SetAssociate(associate_);
}
void TUpDown::ApplyRange() {
  SendMessageA(Handle(), UDM_SETRANGE32, static_cast<WPARAM>(min_), max_);
  SendMessageA(Handle(), UDM_SETPOS32, 0, position_);
}
int TUpDown::WindowPosition() const {
  return static_cast<int>(SendMessageA(const_cast<TUpDown*>(this)->Handle(), UDM_GETPOS32, 0, 0));
}
void TUpDown::WndProc(TMessage& message) {
  // The up-down tells its parent of every step with a scroll message (SB_THUMBPOSITION).
  if ((message.Msg == CN_HSCROLL || message.Msg == CN_VSCROLL) &&
      LOWORD(message.WParam) == SB_THUMBPOSITION) {
    position_ = WindowPosition();
    if (OnChange) OnChange(this);
    Click();
    return;
  }
  TRangeControl::WndProc(message);
}

// ---- scroll bar ---------------------------------------------------------------------------

const TClassInfo& TScrollBar::StaticClassInfo() {
  static const TClassInfo info =
      DescribeClass<TScrollBar, TRangeControl>("TScrollBar", [](auto& c) {
        c.Enum("Kind", kScrollBarKindNames, &TScrollBar::Kind, &TScrollBar::SetKind);
        c.Integer("LargeChange", &TScrollBar::LargeChange, &TScrollBar::SetLargeChange);
        c.Integer("PageSize", &TScrollBar::PageSize, &TScrollBar::SetPageSize);
        c.Integer("SmallChange", &TScrollBar::SmallChange, &TScrollBar::SetSmallChange);
      });
  return info;
}
TScrollBar::TScrollBar(TComponent* owner) : TRangeControl(owner) {
  width_ = 121;
  height_ = 17;
  SetTabStop(true);
}
void TScrollBar::SetKind(TScrollBarKind v) {
  if (v == kind_) return;
  kind_ = v;
  position_ = Position();
  RecreateWnd(*this);
}
void TScrollBar::SetPageSize(int v) {
  page_size_ = std::max(v, 0);
  if (HandleAllocated()) ApplyRange();
}
void TScrollBar::CreateParams(TCreateParams& params) {
  TRangeControl::CreateParams(params);
  params.superclass = "SCROLLBAR";
  params.style |= kind_ == sbVertical ? SBS_VERT : SBS_HORZ;
}
void TScrollBar::ApplyRange() {
  // With a page, the system's range runs to Max + PageSize - 1 so that the thumb's top can
  // reach Max.
  const int top = page_size_ > 0 ? max_ + page_size_ - 1 : max_;
  SCROLLINFO si{sizeof si, SIF_RANGE | SIF_POS | SIF_PAGE, min_,
                top,       static_cast<UINT>(page_size_),  position_,
                0};
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
        pos -= small_change_;
        break;
      case SB_LINEDOWN:
        pos += small_change_;
        break;
      case SB_PAGEUP:
        pos -= large_change_;
        break;
      case SB_PAGEDOWN:
        pos += large_change_;
        break;
      case SB_THUMBTRACK:
      case SB_THUMBPOSITION: {
        // The 32-bit track position; the message carries only 16 bits.
        SCROLLINFO si{sizeof si, SIF_TRACKPOS, 0, 0, 0, 0, 0};
        GetScrollInfo(Handle(), SB_CTL, &si);
        pos = si.nTrackPos;
        break;
      }
      case SB_TOP:
        pos = min_;
        break;
      case SB_BOTTOM:
        pos = max_;
        break;
      default:
        return;
    }
    pos = std::clamp(pos, min_, max_);
    const bool changed = pos != position_;
    position_ = pos;
    ApplyRange();
    if (changed && OnChange) OnChange(this);
    return;
  }
  TRangeControl::WndProc(message);
}

// ---- status bar ---------------------------------------------------------------------------

const TClassInfo& TStatusPanel::StaticClassInfo() {
  static const TClassInfo info =
      DescribeClass<TStatusPanel, TComponent>("TStatusPanel", [](auto& c) {
        c.Enum("Alignment", kAlignmentNames, &TStatusPanel::Alignment, &TStatusPanel::SetAlignment);
        c.Enum("Bevel", kPanelBevelNames, &TStatusPanel::Bevel, &TStatusPanel::SetBevel);
        c.Bool("RightToLeft", &TStatusPanel::RightToLeft, &TStatusPanel::SetRightToLeft);
        c.String("Text", &TStatusPanel::Text, &TStatusPanel::SetText);
        c.Integer("Width", &TStatusPanel::Width, &TStatusPanel::SetWidth);
      });
  return info;
}
TStatusPanel::~TStatusPanel() { SetStatusBar(nullptr); }
void TStatusPanel::SetStatusBar(TStatusBar* bar) {
  if (bar == bar_) return;
  if (bar_) {
    std::erase(bar_->panels_, this);
    bar_->UpdatePanels();
  }
  bar_ = bar;
  if (bar_) {
    bar_->panels_.push_back(this);
    bar_->UpdatePanels();
  }
}
TComponent* TStatusPanel::ParentComponent() const { return bar_; }
void TStatusPanel::SetParentComponent(TComponent* parent) {
  SetStatusBar(dynamic_cast<TStatusBar*>(parent));
}
void TStatusPanel::Changed() {
  if (bar_) bar_->UpdatePanels();
}
void TStatusPanel::SetText(const std::string& text) {
  text_ = text;
  Changed();
}
void TStatusBar::ChangeScale(int to_dpi, int from_dpi) {
  TWinControl::ChangeScale(to_dpi, from_dpi);
  for (TStatusPanel* p : panels_) p->width_ = p->width_dpi_.Rescale(p->width_, from_dpi, to_dpi);
  UpdatePanels();
}

void TStatusPanel::SetWidth(int v) {
  width_ = v;
  Changed();
}
void TStatusPanel::SetAlignment(TAlignment v) {
  alignment_ = v;
  Changed();
}
void TStatusPanel::SetBevel(TStatusPanelBevel v) {
  bevel_ = v;
  Changed();
}
void TStatusPanel::SetRightToLeft(bool v) {
  right_to_left_ = v;
  Changed();
}

const TClassInfo& TStatusBar::StaticClassInfo() {
  static const TClassInfo info = DescribeClass<TStatusBar, TWinControl>("TStatusBar", [](auto& c) {
    c.Bool("SimplePanel", &TStatusBar::SimplePanel, &TStatusBar::SetSimplePanel);
    c.String("SimpleText", &TStatusBar::SimpleText, &TStatusBar::SetSimpleText);
    c.Bool("SizeGrip", &TStatusBar::SizeGrip, &TStatusBar::SetSizeGrip);
  });
  return info;
}
TStatusBar::TStatusBar(TComponent* owner) : TWinControl(owner) {
  height_ = 19;
  align_ = alBottom;  // a status bar keeps to the bottom of its window
  color_ = clBtnFace;
}
TStatusBar::~TStatusBar() {
  // Panels belong to the owner; they only forget the bar.
  for (TStatusPanel* panel : std::vector<TStatusPanel*>(panels_)) panel->bar_ = nullptr;
  panels_.clear();
}
TStatusPanel* TStatusBar::AddPanel(const std::string& text, int width) {
  auto* panel = new TStatusPanel(Owner());
  panel->SetText(text);
  panel->SetWidth(width);
  panel->SetStatusBar(this);
  return panel;
}
void TStatusBar::SetSimpleText(const std::string& text) {
  simple_text_ = text;
  if (HandleAllocated())
    SendMessageA(Handle(), SB_SETTEXTA, SB_SIMPLEID, reinterpret_cast<LPARAM>(text.c_str()));
}
void TStatusBar::SetSimplePanel(bool v) {
  simple_panel_ = v;
  if (HandleAllocated()) UpdatePanels();
}
void TStatusBar::SetSizeGrip(bool v) {
  if (v == size_grip_) return;
  size_grip_ = v;
  RecreateWnd(*this);
}
RECT TStatusBar::PanelRect(int index) {
  RECT r{};
  if (HandleAllocated())
    SendMessageA(Handle(), SB_GETRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&r));
  return r;
}
void TStatusBar::UpdatePanels() {
  if (!HandleAllocated()) return;
  HWND hwnd = Handle();
  SendMessageA(hwnd, SB_SIMPLE, simple_panel_ || panels_.empty(), 0);
  if (!panels_.empty()) {
    // SB_SETPARTS takes right edges; the last panel runs to the bar's end.
    std::vector<int> edges;
    int x = 0;
    for (size_t i = 0; i < panels_.size(); ++i) {
      x += panels_[i]->Width();
      edges.push_back(i + 1 == panels_.size() ? -1 : x);
    }
    SendMessageA(hwnd, SB_SETPARTS, edges.size(), reinterpret_cast<LPARAM>(edges.data()));
    for (size_t i = 0; i < panels_.size(); ++i) {
      const TStatusPanel& panel = *panels_[i];
      // The status bar aligns text by tab characters: one before centres, two right-align.
      std::string text = panel.Text();
      if (panel.Alignment() == taCenter) text = "\t" + text;
      if (panel.Alignment() == taRightJustify) text = "\t\t" + text;
      WPARAM type = i;
      if (panel.Bevel() == pbNone) type |= SBT_NOBORDERS;
      if (panel.Bevel() == pbRaised) type |= SBT_POPOUT;
      if (panel.RightToLeft()) type |= SBT_RTLREADING;
      SendMessageA(hwnd, SB_SETTEXTA, type, reinterpret_cast<LPARAM>(text.c_str()));
    }
  }
  SendMessageA(hwnd, SB_SETTEXTA, SB_SIMPLEID, reinterpret_cast<LPARAM>(simple_text_.c_str()));
}
void TStatusBar::CreateParams(TCreateParams& params) {
  InitCommonControlClasses();
  TWinControl::CreateParams(params);
  params.superclass = STATUSCLASSNAMEA;
  params.style |= CCS_NOPARENTALIGN | CCS_NORESIZE | (size_grip_ ? SBARS_SIZEGRIP : 0);
}

void RegisterCommonControlClasses() {
  for (const TClassInfo* info : {&TProgressBar::StaticClassInfo(), &TTrackBar::StaticClassInfo(),
                                 &TUpDown::StaticClassInfo(), &TScrollBar::StaticClassInfo(),
                                 &TStatusBar::StaticClassInfo(), &TStatusPanel::StaticClassInfo()})
    RegisterComponentClass(*info);
  RegisterTabControlClasses();
  RegisterButtonClasses();
  RegisterExtControlClasses();
  RegisterListViewClasses();
  RegisterToolBarClasses();
  RegisterRichEditClasses();
  RegisterDateTimePickerClasses();
}

}  // namespace fw
