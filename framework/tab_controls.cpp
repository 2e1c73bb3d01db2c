#include "framework/tab_controls.h"

#include <commctrl.h>

#include <algorithm>

#include "framework/comctrls.h"

namespace fw {

const std::vector<std::string> kTabPositionNames = {"tpTop", "tpBottom", "tpLeft", "tpRight"};

// ---- TCustomTabControl --------------------------------------------------------------------

const TClassInfo& TCustomTabControl::StaticClassInfo() {
  static const TClassInfo info =
      DescribeClass<TCustomTabControl, TWinControl>("TCustomTabControl", [](auto& c) {
        c.Bool("MultiLine", &TCustomTabControl::MultiLine, &TCustomTabControl::SetMultiLine);
        c.Enum("TabPosition", kTabPositionNames, &TCustomTabControl::TabPosition,
               &TCustomTabControl::SetTabPosition);
        c.Event("OnChange", &TCustomTabControl::OnChange);
      });
  return info;
}

TCustomTabControl::TCustomTabControl(TComponent* owner) : TWinControl(owner) {
  width_ = 289;
  height_ = 193;
  parent_color_ = true;
  color_ = clBtnFace;
  SetTabStop(true);
}

int TCustomTabControl::TabIndex() const {
  if (HandleAllocated())
    return static_cast<int>(
        SendMessageA(const_cast<TCustomTabControl*>(this)->Handle(), TCM_GETCURSEL, 0, 0));
  return tab_index_;
}

void TCustomTabControl::SetTabIndex(int index) {
  // A description may give the index before the tabs; windows get only valid ones.
  if (HandleAllocated() && (index < -1 || index >= static_cast<int>(TabTexts().size()))) index = -1;
  tab_index_ = index;
  if (HandleAllocated()) SendMessageA(Handle(), TCM_SETCURSEL, static_cast<WPARAM>(index), 0);
  TabChanged();
}

void TCustomTabControl::SetTabPosition(TTabPosition v) {
  if (v == tab_position_) return;
  tab_index_ = TabIndex();
  tab_position_ = v;
  RecreateWnd(*this);
}

void TCustomTabControl::SetMultiLine(bool v) {
  if (v == multi_line_) return;
  tab_index_ = TabIndex();
  multi_line_ = v;
  RecreateWnd(*this);
}

RECT TCustomTabControl::DisplayRect() {
  RECT r{0, 0, width_, height_};
  if (!HandleAllocated()) return r;
  GetClientRect(Handle(), &r);
  SendMessageA(Handle(), TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&r));
  return r;
}

RECT TCustomTabControl::TabRect(int index) {
  RECT r{};
  if (HandleAllocated())
    SendMessageA(Handle(), TCM_GETITEMRECT, static_cast<WPARAM>(index),
                 reinterpret_cast<LPARAM>(&r));
  return r;
}

void TCustomTabControl::CreateParams(TCreateParams& params) {
  InitCommonControlClasses();
  TWinControl::CreateParams(params);
  params.superclass = WC_TABCONTROLA;
  params.style |= WS_CLIPCHILDREN;
  if (multi_line_) params.style |= TCS_MULTILINE;
  switch (tab_position_) {
    case tpTop:
      break;
    case tpBottom:
      params.style |= TCS_BOTTOM;
      break;
    case tpLeft:
      params.style |= TCS_VERTICAL | TCS_MULTILINE;
      break;
    case tpRight:
      params.style |= TCS_VERTICAL | TCS_RIGHT | TCS_MULTILINE;
      break;
  }
}

void TCustomTabControl::UpdateTabs() {
  if (!HandleAllocated()) return;
  HWND hwnd = Handle();
  SendMessageA(hwnd, TCM_DELETEALLITEMS, 0, 0);
  const std::vector<std::string> texts = TabTexts();
  for (size_t i = 0; i < texts.size(); ++i) {
    TCITEMA item{};
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<char*>(texts[i].c_str());
    SendMessageA(hwnd, TCM_INSERTITEMA, i, reinterpret_cast<LPARAM>(&item));
  }
  if (tab_index_ >= static_cast<int>(texts.size())) tab_index_ = -1;
  SendMessageA(hwnd, TCM_SETCURSEL, static_cast<WPARAM>(tab_index_), 0);
}

void TCustomTabControl::CreateHandleDone() { UpdateTabs(); }

void TCustomTabControl::WndProc(TMessage& message) {
  if (message.Msg == CN_NOTIFY && reinterpret_cast<NMHDR*>(message.LParam)->code == TCN_SELCHANGE) {
    tab_index_ = TabIndex();
    TabChanged();
    if (OnChange) OnChange(this);
    return;
  }
  TWinControl::WndProc(message);
}

// ---- TTabControl --------------------------------------------------------------------------

const TClassInfo& TTabControl::StaticClassInfo() {
  static const TClassInfo info =
      DescribeClass<TTabControl, TCustomTabControl>("TTabControl", [](auto& c) {
        c.StringList("Tabs.Strings", &TTabControl::Tabs, &TTabControl::SetTabs);
        c.Integer("TabIndex", &TTabControl::TabIndex, &TTabControl::SetTabIndex);
      });
  return info;
}

TTabControl::TTabControl(TComponent* owner) : TCustomTabControl(owner) {}

void TTabControl::SetTabs(const TStringList& tabs) {
  tab_index_ = TabIndex();
  tabs_ = tabs;
  UpdateTabs();
}

// ---- TTabSheet ----------------------------------------------------------------------------

const TClassInfo& TTabSheet::StaticClassInfo() {
  static const TClassInfo info = DescribeClass<TTabSheet, TWinControl>("TTabSheet", [](auto&) {});
  return info;
}

TTabSheet::TTabSheet(TComponent* owner) : TWinControl(owner) {
  parent_color_ = true;
  color_ = clBtnFace;
  visible_ = false;  // the page control shows the selected page
}

TTabSheet::~TTabSheet() {
  // While the page control itself is being destroyed it is no TPageControl any more.
  if (TPageControl* pages = PageControl()) pages->RemovePage(this);
}

TPageControl* TTabSheet::PageControl() const { return dynamic_cast<TPageControl*>(parent_); }

int TTabSheet::PageIndex() const {
  TPageControl* pages = PageControl();
  if (!pages) return -1;
  auto it = std::find(pages->pages_.begin(), pages->pages_.end(), this);
  return it == pages->pages_.end() ? -1 : static_cast<int>(it - pages->pages_.begin());
}

void TTabSheet::SetParent(TWinControl* parent) {
  if (parent == parent_) return;
  if (TPageControl* old = PageControl()) old->RemovePage(this);
  TWinControl::SetParent(parent);
  if (TPageControl* pages = PageControl()) pages->InsertPage(this);
}

void TTabSheet::CreateParams(TCreateParams& params) {
  TWinControl::CreateParams(params);
  params.style |= WS_CLIPCHILDREN;
}

void TTabSheet::TextChanged() {
  if (TPageControl* pages = PageControl()) pages->UpdateTabs();
}

// ---- TPageControl -------------------------------------------------------------------------

const TClassInfo& TPageControl::StaticClassInfo() {
  static const TClassInfo info =
      DescribeClass<TPageControl, TCustomTabControl>("TPageControl", [](auto& c) {
        c.Reference(
            "ActivePage",
            [](const TPageControl& p) {
              TTabSheet* page = p.ActivePage();
              return page ? page->Name() : p.active_page_name_;
            },
            [](TPageControl& p, const std::string& name) {
              p.active_page_name_ = name;
              if (!p.IsLoading()) p.Loaded();
            });
      });
  return info;
}

TPageControl::TPageControl(TComponent* owner) : TCustomTabControl(owner) {}

TTabSheet* TPageControl::ActivePage() const {
  const int index = TabIndex();
  return index >= 0 && index < PageCount() ? pages_[static_cast<size_t>(index)] : nullptr;
}

void TPageControl::SetActivePage(TTabSheet* page) {
  auto it = std::find(pages_.begin(), pages_.end(), page);
  SetTabIndex(it == pages_.end() ? -1 : static_cast<int>(it - pages_.begin()));
}

void TPageControl::Loaded() {
  TCustomTabControl::Loaded();
  if (!active_page_name_.empty() && Owner()) {
    auto* page = dynamic_cast<TTabSheet*>(Owner()->FindComponent(active_page_name_));
    if (!page || page->PageControl() != this)
      throw EReadError("ActivePage: no page named " + active_page_name_);
    active_page_name_.clear();
    SetActivePage(page);
  } else if (tab_index_ < 0 && !pages_.empty()) {
    SetTabIndex(0);
  }
}

std::vector<std::string> TPageControl::TabTexts() const {
  std::vector<std::string> texts;
  for (TTabSheet* page : pages_) texts.push_back(page->Caption());
  return texts;
}

void TPageControl::InsertPage(TTabSheet* page) {
  pages_.push_back(page);
  UpdateTabs();
  if (tab_index_ < 0 && !IsLoading()) {
    SetTabIndex(0);
  } else {
    TabChanged();
  }
}

void TPageControl::RemovePage(TTabSheet* page) {
  const int index = page->PageIndex();
  if (index < 0) return;
  const int active = TabIndex();
  pages_.erase(pages_.begin() + index);
  if (active >= PageCount())
    tab_index_ = PageCount() - 1;
  else
    tab_index_ = active;
  UpdateTabs();
  TabChanged();
}

void TPageControl::TabChanged() {
  LayoutPages();
  const int active = TabIndex();
  for (int i = 0; i < PageCount(); ++i) {
    if (i != active) pages_[static_cast<size_t>(i)]->SetVisible(false);
  }
  if (active >= 0 && active < PageCount()) {
    TTabSheet* page = pages_[static_cast<size_t>(active)];
    page->SetVisible(true);
    if (page->HandleAllocated()) BringWindowToTop(page->Handle());
  }
}

void TPageControl::LayoutPages() {
  if (!HandleAllocated()) return;
  const RECT r = DisplayRect();
  for (TTabSheet* page : pages_) page->SetBounds(r.left, r.top, r.right - r.left, r.bottom - r.top);
}

void TPageControl::CreateHandleDone() {
  TCustomTabControl::CreateHandleDone();
  TabChanged();
}

void TPageControl::WndProc(TMessage& message) {
  TCustomTabControl::WndProc(message);
  if (message.Msg == WM_SIZE) LayoutPages();
}

void RegisterTabControlClasses() {
  for (const TClassInfo* info : {&TTabControl::StaticClassInfo(), &TPageControl::StaticClassInfo(),
                                 &TTabSheet::StaticClassInfo()})
    RegisterComponentClass(*info);
}

}  // namespace fw
