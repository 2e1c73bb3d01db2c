#include "framework/ext_ctrls.h"

#include <windowsx.h>

#include <algorithm>

namespace fw {

namespace {
const std::vector<std::string> kBorderStyleNames = {"bsNone", "bsSingle"};
}

// ---- TCustomRadioGroup --------------------------------------------------------------------

const TClassInfo& TCustomRadioGroup::StaticClassInfo() {
  static const TClassInfo info =
      DescribeClass<TCustomRadioGroup, TCustomGroupBox>("TCustomRadioGroup", [](auto& c) {
        c.Integer("Columns", &TCustomRadioGroup::Columns, &TCustomRadioGroup::SetColumns);
        c.StringList("Items.Strings", &TCustomRadioGroup::Items, &TCustomRadioGroup::SetItems);
        c.Integer("ItemIndex", &TCustomRadioGroup::ItemIndex, &TCustomRadioGroup::SetItemIndex);
      });
  return info;
}

const TClassInfo& TRadioGroup::StaticClassInfo() {
  static const TClassInfo info =
      DescribeClass<TRadioGroup, TCustomRadioGroup>("TRadioGroup", [](auto&) {});
  return info;
}

TCustomRadioGroup::TCustomRadioGroup(TComponent* owner) : TCustomGroupBox(owner) {}

void TCustomRadioGroup::SetItems(const TStringList& items) {
  items_ = items;
  MakeButtons();
}

void TCustomRadioGroup::SetItemIndex(int index) {
  // Kept as given while a description is read: the items may come later.
  if (!IsLoading() && (index < -1 || index >= items_.Count())) index = -1;
  item_index_ = index;
  for (size_t i = 0; i < buttons_.size(); ++i) {
    if (static_cast<int>(i) == index) {
      buttons_[i]->SetChecked(true);
    } else if (buttons_[i]->Checked()) {
      buttons_[i]->SetChecked(false);
    }
  }
}

void TCustomRadioGroup::SetColumns(int v) {
  columns_ = std::clamp(v, 1, 16);
  ArrangeButtons();
}

void TCustomRadioGroup::FontChanged() {
  TCustomGroupBox::FontChanged();
  ArrangeButtons();
}

void TCustomRadioGroup::MakeButtons() {
  for (TRadioButton* button : buttons_) delete button;
  buttons_.clear();
  for (int i = 0; i < items_.Count(); ++i) {
    auto* button = new TRadioButton(this);
    button->SetCaption(items_[i]);
    button->SetTag(i);
    button->OnClick = TNotifyEvent([this](TObject* sender) { ButtonClicked(sender); });
    buttons_.push_back(button);
  }
  ArrangeButtons();
  for (TRadioButton* button : buttons_) button->SetParent(this);
  if (!IsLoading() && item_index_ >= items_.Count()) item_index_ = -1;
  if (item_index_ >= 0 && item_index_ < ButtonCount())
    buttons_[size_t(item_index_)]->SetChecked(true);
}

void TCustomRadioGroup::ArrangeButtons() {
  if (buttons_.empty()) return;
  const RECT content = ContentRect();
  const LayoutRect area{content.left + 6, content.top, content.right - 2, content.bottom - 2};
  for (size_t i = 0; i < buttons_.size(); ++i) {
    const LayoutRect cell = RadioItemRect(area, ButtonCount(), columns_, static_cast<int>(i));
    const int h = std::min(cell.Height(), std::max(17, -font_.Height() + 6));
    buttons_[i]->SetBounds(cell.left, cell.top + (cell.Height() - h) / 2, cell.Width(), h);
  }
}

void TCustomRadioGroup::ButtonClicked(TObject* sender) {
  auto it = std::find(buttons_.begin(), buttons_.end(), sender);
  if (it == buttons_.end()) return;
  item_index_ = static_cast<int>(it - buttons_.begin());
  Click();
}

// ---- TScrollingWinControl -----------------------------------------------------------------

const TClassInfo& TScrollingWinControl::StaticClassInfo() {
  static const TClassInfo info =
      DescribeClass<TScrollingWinControl, TWinControl>("TScrollingWinControl", [](auto& c) {
        c.Bool("AutoScroll", &TScrollingWinControl::AutoScroll,
               &TScrollingWinControl::SetAutoScroll);
      });
  return info;
}

TScrollingWinControl::TScrollingWinControl(TComponent* owner) : TWinControl(owner) {}

void TScrollingWinControl::SetAutoScroll(bool v) {
  auto_scroll_ = v;
  if (!v) ScrollTo(0, 0);
  UpdateScrollBars();
}

SIZE TScrollingWinControl::ContentSize() const {
  SIZE size{0, 0};
  for (TControl* c : ControlList()) {
    if (!c->Visible()) continue;
    size.cx = std::max<LONG>(size.cx, c->Left() + c->Width() + scroll_x_);
    size.cy = std::max<LONG>(size.cy, c->Top() + c->Height() + scroll_y_);
  }
  return size;
}

void TScrollingWinControl::ScrollTo(int x, int y) {
  const SIZE content = ContentSize();
  RECT client{0, 0, width_, height_};
  if (HandleAllocated()) GetClientRect(Handle(), &client);
  x = ClampScrollPosition(x, content.cx, client.right);
  y = ClampScrollPosition(y, content.cy, client.bottom);
  const int dx = x - scroll_x_, dy = y - scroll_y_;
  if (dx == 0 && dy == 0) return;
  scroll_x_ = x;
  scroll_y_ = y;
  for (TControl* c : std::vector<TControl*>(ControlList()))
    c->SetBounds(c->Left() - dx, c->Top() - dy, c->Width(), c->Height());
  if (HandleAllocated()) {
    SetScrollPos(Handle(), SB_HORZ, scroll_x_, TRUE);
    SetScrollPos(Handle(), SB_VERT, scroll_y_, TRUE);
    InvalidateRect(Handle(), nullptr, TRUE);
  }
}

void TScrollingWinControl::UpdateScrollBars() {
  if (!HandleAllocated() || updating_) return;
  updating_ = true;
  // Showing one bar narrows the client, which may call for the other: twice is enough.
  for (int pass = 0; pass < 2; ++pass) {
    const SIZE content = ContentSize();
    RECT client;
    GetClientRect(Handle(), &client);
    const bool horz = auto_scroll_ && content.cx > client.right;
    const bool vert = auto_scroll_ && content.cy > client.bottom;
    SCROLLINFO h{sizeof h,
                 SIF_RANGE | SIF_PAGE | SIF_POS,
                 0,
                 horz ? content.cx - 1 : 0,
                 horz ? static_cast<UINT>(client.right) : 0,
                 scroll_x_,
                 0};
    SCROLLINFO v{sizeof v,
                 SIF_RANGE | SIF_PAGE | SIF_POS,
                 0,
                 vert ? content.cy - 1 : 0,
                 vert ? static_cast<UINT>(client.bottom) : 0,
                 scroll_y_,
                 0};
    SetScrollInfo(Handle(), SB_HORZ, &h, TRUE);
    SetScrollInfo(Handle(), SB_VERT, &v, TRUE);
  }
  updating_ = false;
  ScrollTo(scroll_x_, scroll_y_);  // a grown client may need less scrolling
}

void TScrollingWinControl::CreateWnd() {
  TWinControl::CreateWnd();
  UpdateScrollBars();
}

void TScrollingWinControl::Scroll(int bar, int request) {
  RECT client;
  GetClientRect(Handle(), &client);
  const int page = bar == SB_HORZ ? client.right : client.bottom;
  int pos = bar == SB_HORZ ? scroll_x_ : scroll_y_;
  switch (request) {
    case SB_LINEUP:
      pos -= 8;
      break;
    case SB_LINEDOWN:
      pos += 8;
      break;
    case SB_PAGEUP:
      pos -= page;
      break;
    case SB_PAGEDOWN:
      pos += page;
      break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: {
      SCROLLINFO si{sizeof si, SIF_TRACKPOS, 0, 0, 0, 0, 0};
      GetScrollInfo(Handle(), bar, &si);
      pos = si.nTrackPos;
      break;
    }
    case SB_TOP:
      pos = 0;
      break;
    case SB_BOTTOM:
      pos = 1 << 20;
      break;
    default:
      return;
  }
  if (bar == SB_HORZ) {
    ScrollTo(pos, scroll_y_);
  } else {
    ScrollTo(scroll_x_, pos);
  }
}

void TScrollingWinControl::WndProc(TMessage& message) {
  switch (message.Msg) {
    case WM_HSCROLL:
    case WM_VSCROLL:
      // The window's own bars (a child control's bar sends its handle in lParam).
      if (message.LParam == 0) {
        Scroll(message.Msg == WM_HSCROLL ? SB_HORZ : SB_VERT, LOWORD(message.WParam));
        message.Result = 0;
        return;
      }
      break;
    case WM_MOUSEWHEEL: {
      const int notches = GET_WHEEL_DELTA_WPARAM(message.WParam) / WHEEL_DELTA;
      ScrollTo(scroll_x_, scroll_y_ - notches * 24);
      message.Result = 0;
      return;
    }
    case WM_SIZE:
      TWinControl::WndProc(message);
      UpdateScrollBars();
      return;
    default:
      break;
  }
  TWinControl::WndProc(message);
}

const TClassInfo& TScrollBox::StaticClassInfo() {
  static const TClassInfo info =
      DescribeClass<TScrollBox, TScrollingWinControl>("TScrollBox", [](auto& c) {
        c.Enum("BorderStyle", kBorderStyleNames, &TScrollBox::BorderStyle,
               &TScrollBox::SetBorderStyle);
      });
  return info;
}

TScrollBox::TScrollBox(TComponent* owner) : TScrollingWinControl(owner) {
  width_ = 185;
  height_ = 41;
  parent_color_ = true;
  color_ = clBtnFace;
}

void TScrollBox::SetBorderStyle(TBorderStyle v) {
  if (v == border_style_) return;
  border_style_ = v;
  RecreateWnd(*this);
}

void TScrollBox::CreateParams(TCreateParams& params) {
  TScrollingWinControl::CreateParams(params);
  params.style |= WS_CLIPCHILDREN;
  if (border_style_ == bsSingleBorder) params.ex_style |= WS_EX_CLIENTEDGE;
}

// ---- TTabSet ------------------------------------------------------------------------------

const TClassInfo& TTabSet::StaticClassInfo() {
  static const TClassInfo info = DescribeClass<TTabSet, TCustomControl>("TTabSet", [](auto& c) {
    c.Integer("EndMargin", &TTabSet::EndMargin, &TTabSet::SetEndMargin);
    c.Integer("StartMargin", &TTabSet::StartMargin, &TTabSet::SetStartMargin);
    c.StringList("Tabs.Strings", &TTabSet::Tabs, &TTabSet::SetTabs);
    c.Integer("TabIndex", &TTabSet::TabIndex, &TTabSet::SetTabIndex);
    c.Event("OnChange", &TTabSet::OnChange);
  });
  return info;
}

TTabSet::TTabSet(TComponent* owner) : TCustomControl(owner) {
  width_ = 185;
  height_ = 21;
  parent_color_ = true;
  color_ = clBtnFace;
  SetTabStop(true);
  // The scroll button: the first component the tab set owns.
  scroller_ = new TUpDown(this);
  scroller_->SetOrientation(udHorizontal);
  scroller_->SetVisible(false);
  scroller_->SetParent(this);
  scroller_->OnChange = TNotifyEvent([this](TObject*) { SetFirstIndex(scroller_->Position()); });
  UpdateScroller();
}

void TTabSet::SetTabs(const TStringList& tabs) {
  tabs_ = tabs;
  if (!IsLoading() && tab_index_ >= tabs_.Count()) tab_index_ = tabs_.Count() - 1;
  first_index_ = std::clamp(first_index_, 0, std::max(tabs_.Count() - 1, 0));
  UpdateScroller();
  Invalidate();
}

void TTabSet::SetTabIndex(int index) {
  if (!IsLoading() && (index < -1 || index >= tabs_.Count())) return;
  if (index == tab_index_) return;
  tab_index_ = index;
  Invalidate();
}

void TTabSet::SetFirstIndex(int index) {
  index = std::clamp(index, 0, std::max(tabs_.Count() - 1, 0));
  if (index == first_index_) return;
  first_index_ = index;
  UpdateScroller();
  Invalidate();
}

void TTabSet::SetStartMargin(int v) {
  start_margin_ = v;
  UpdateScroller();
  Invalidate();
}

void TTabSet::SetEndMargin(int v) {
  end_margin_ = v;
  UpdateScroller();
  Invalidate();
}

std::vector<int> TTabSet::TextWidths() {
  ScopedGetDc screen(nullptr);
  TCanvas canvas;
  canvas.SetHandle(screen.get());
  canvas.Font().Assign(font_);
  std::vector<int> widths;
  for (const auto& tab : tabs_.Lines()) widths.push_back(canvas.TextWidth(tab));
  canvas.SetHandle(nullptr);
  return widths;
}

std::vector<LayoutRect> TTabSet::TabRects() {
  return TabSetTabRects(TextWidths(), first_index_, start_margin_, end_margin_, width_, height_,
                        scroller_ && scroller_->Visible());
}

int TTabSet::TabAt(POINT p) {
  const std::vector<LayoutRect> rects = TabRects();
  for (size_t i = 0; i < rects.size(); ++i) {
    const LayoutRect& r = rects[i];
    if (r.Width() > 0 && p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom)
      return static_cast<int>(i);
  }
  return -1;
}

void TTabSet::UpdateScroller() {
  if (!scroller_) return;
  // The button shows when the tabs from the first one do not all fit without it.
  const std::vector<LayoutRect> all =
      TabSetTabRects(TextWidths(), 0, start_margin_, end_margin_, width_, height_, false);
  const bool all_fit =
      std::all_of(all.begin(), all.end(), [](const LayoutRect& r) { return r.Width() > 0; });
  const bool show = !all_fit || first_index_ > 0;
  const int w = 2 * std::max(height_ - 4, 8);
  scroller_->SetBounds(width_ - w - 1, 2, w, std::max(height_ - 4, 8));
  scroller_->SetMin(0);
  scroller_->SetMax(std::max(tabs_.Count() - 1, 0));
  scroller_->SetPosition(first_index_);
  scroller_->SetVisible(show);
}

void TTabSet::Paint() {
  TCanvas& canvas = Canvas();
  const RECT client = ClientRect();
  canvas.Brush().SetColor(color_);
  canvas.FillRect(client);
  // The edge the tabs hang from.
  canvas.Pen().SetColor(clBtnShadow);
  canvas.MoveTo(0, 0);
  canvas.LineTo(client.right, 0);
  const std::vector<LayoutRect> rects = TabRects();
  for (size_t i = 0; i < rects.size(); ++i) {
    const LayoutRect& r = rects[i];
    if (r.Width() <= 0) continue;
    const bool selected = static_cast<int>(i) == tab_index_;
    const int bottom = r.bottom - 2;
    POINT shape[4] = {{r.left, 0}, {r.left + 3, bottom}, {r.right - 3, bottom}, {r.right, 0}};
    canvas.Brush().SetColor(selected ? clWindow : clBtnFace);
    canvas.Pen().SetColor(clWindowFrame);
    {
      ScopedSelectObject brush(canvas.Handle(), canvas.Brush().Handle());
      ScopedSelectObject pen(canvas.Handle(), canvas.Pen().Handle());
      Polygon(canvas.Handle(), shape, 4);
    }
    if (selected) {
      // The selected tab joins the edge.
      canvas.Pen().SetColor(clWindow);
      canvas.MoveTo(r.left + 1, 0);
      canvas.LineTo(r.right, 0);
    }
    RECT text{r.left, 0, r.right, bottom};
    canvas.Brush().SetStyle(bsClear);
    canvas.Font().SetColor(enabled_ ? clBtnText : clGrayText);
    canvas.DrawText(tabs_[static_cast<int>(i)], text, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    canvas.Brush().SetStyle(bsSolid);
  }
}

void TTabSet::WndProc(TMessage& message) {
  if (message.Msg == WM_LBUTTONDOWN) {
    const int index = TabAt({GET_X_LPARAM(message.LParam), GET_Y_LPARAM(message.LParam)});
    if (index >= 0 && index != tab_index_) {
      SetTabIndex(index);
      if (OnChange) OnChange(this);
    }
    if (CanFocus()) SetFocus();
  }
  TCustomControl::WndProc(message);
}

void RegisterExtControlClasses() {
  for (const TClassInfo* info : {&TRadioGroup::StaticClassInfo(), &TScrollBox::StaticClassInfo(),
                                 &TTabSet::StaticClassInfo()})
    RegisterComponentClass(*info);
}

}  // namespace fw
