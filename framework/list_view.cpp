#include "framework/list_view.h"

#include <commctrl.h>

#include "framework/comctrls.h"

namespace fw {

namespace {

const std::vector<std::string> kViewStyleNames = {"vsIcon", "vsSmallIcon", "vsList", "vsReport"};

std::vector<std::string> SplitItem(const std::string& line) {
  std::vector<std::string> parts;
  size_t start = 0;
  for (;;) {
    const size_t bar = line.find('|', start);
    parts.push_back(line.substr(start, bar == std::string::npos ? std::string::npos : bar - start));
    if (bar == std::string::npos) break;
    start = bar + 1;
  }
  return parts;
}

}  // namespace

// ---- TListColumn --------------------------------------------------------------------------

const TClassInfo& TListColumn::StaticClassInfo() {
  static const TClassInfo info = DescribeClass<TListColumn, TComponent>("TListColumn", [](auto& c) {
    c.Enum("Alignment", kAlignmentNames, &TListColumn::Alignment, &TListColumn::SetAlignment);
    c.String("Caption", &TListColumn::Caption, &TListColumn::SetCaption);
    c.Integer("Width", &TListColumn::Width, &TListColumn::SetWidth);
  });
  return info;
}

TListColumn::~TListColumn() { SetListView(nullptr); }

void TListColumn::SetListView(TCustomListView* list_view) {
  if (list_view == list_view_) return;
  if (list_view_) {
    std::erase(list_view_->columns_, this);
    list_view_->UpdateColumns();
  }
  list_view_ = list_view;
  if (list_view_) {
    list_view_->columns_.push_back(this);
    list_view_->UpdateColumns();
  }
}

TComponent* TListColumn::ParentComponent() const { return list_view_; }
void TListColumn::SetParentComponent(TComponent* parent) {
  SetListView(dynamic_cast<TCustomListView*>(parent));
}
void TListColumn::Changed() {
  if (list_view_) list_view_->UpdateColumns();
}
void TListColumn::SetCaption(const std::string& text) {
  caption_ = text;
  Changed();
}
void TCustomListView::ChangeScale(int to_dpi, int from_dpi) {
  TWinControl::ChangeScale(to_dpi, from_dpi);
  for (size_t i = 0; i < columns_.size(); ++i) {
    TListColumn* c = columns_[i];
    // A width the user dragged counts from where it is.
    const int shown = HandleAllocated() && view_style_ == vsReport
                          ? static_cast<int>(SendMessageA(Handle(), LVM_GETCOLUMNWIDTH, i, 0))
                          : c->width_;
    c->SetWidth(c->width_dpi_.Rescale(shown > 0 ? shown : c->width_, from_dpi, to_dpi));
  }
}

void TListColumn::SetWidth(int v) {
  width_ = v;
  Changed();
}
void TListColumn::SetAlignment(TAlignment v) {
  alignment_ = v;
  Changed();
}

// ---- TCustomListView ----------------------------------------------------------------------

const TClassInfo& TCustomListView::StaticClassInfo() {
  static const TClassInfo info =
      DescribeClass<TCustomListView, TWinControl>("TCustomListView", [](auto& c) {
        c.Bool("GridLines", &TCustomListView::GridLines, &TCustomListView::SetGridLines);
        c.StringList("Items.Strings", &TCustomListView::Items, &TCustomListView::SetItems);
        c.Integer("ItemIndex", &TCustomListView::ItemIndex, &TCustomListView::SetItemIndex);
        c.Bool("RowSelect", &TCustomListView::RowSelect, &TCustomListView::SetRowSelect);
        c.Enum("ViewStyle", kViewStyleNames, &TCustomListView::ViewStyle,
               &TCustomListView::SetViewStyle);
        c.Event("OnChange", &TCustomListView::OnChange);
      });
  return info;
}

const TClassInfo& TListView::StaticClassInfo() {
  static const TClassInfo info =
      DescribeClass<TListView, TCustomListView>("TListView", [](auto&) {});
  return info;
}

TCustomListView::TCustomListView(TComponent* owner) : TWinControl(owner) {
  width_ = 250;
  height_ = 150;
  color_ = clWindow;
  SetTabStop(true);
}

TCustomListView::~TCustomListView() {
  // Columns belong to the owner; they only forget the list view.
  for (TListColumn* column : columns_) column->list_view_ = nullptr;
  columns_.clear();
}

TListColumn* TCustomListView::AddColumn(const std::string& caption, int width) {
  auto* column = new TListColumn(Owner());
  column->SetCaption(caption);
  column->SetWidth(width);
  column->SetListView(this);
  return column;
}

void TCustomListView::SetViewStyle(TViewStyle v) {
  view_style_ = v;
  if (!HandleAllocated()) return;
  static const DWORD kViews[] = {LVS_ICON, LVS_SMALLICON, LVS_LIST, LVS_REPORT};
  LONG style = GetWindowLongA(Handle(), GWL_STYLE);
  SetWindowLongA(Handle(), GWL_STYLE, (style & ~LVS_TYPEMASK) | kViews[v]);
  Invalidate();
}

void TCustomListView::SetRowSelect(bool v) {
  row_select_ = v;
  UpdateExtendedStyle();
}

void TCustomListView::SetGridLines(bool v) {
  grid_lines_ = v;
  UpdateExtendedStyle();
}

void TCustomListView::UpdateExtendedStyle() {
  if (!HandleAllocated()) return;
  const DWORD ex = (row_select_ ? LVS_EX_FULLROWSELECT : 0) | (grid_lines_ ? LVS_EX_GRIDLINES : 0);
  SendMessageA(Handle(), LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES, ex);
}

void TCustomListView::SetItems(const TStringList& items) {
  items_ = items;
  UpdateItems();
}

int TCustomListView::ItemIndex() const {
  if (!HandleAllocated()) return item_index_;
  return static_cast<int>(SendMessageA(const_cast<TCustomListView*>(this)->Handle(),
                                       LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

void TCustomListView::SetItemIndex(int index) {
  item_index_ = index;
  if (!HandleAllocated()) return;
  LVITEMA clear{};
  clear.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  SendMessageA(Handle(), LVM_SETITEMSTATE, static_cast<WPARAM>(-1),
               reinterpret_cast<LPARAM>(&clear));
  if (index < 0) return;
  LVITEMA select{};
  select.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  select.state = LVIS_SELECTED | LVIS_FOCUSED;
  SendMessageA(Handle(), LVM_SETITEMSTATE, static_cast<WPARAM>(index),
               reinterpret_cast<LPARAM>(&select));
}

HWND TCustomListView::HeaderHandle() {
  if (!HandleAllocated()) return nullptr;
  return reinterpret_cast<HWND>(SendMessageA(Handle(), LVM_GETHEADER, 0, 0));
}

void TCustomListView::UpdateColumns() {
  if (!HandleAllocated()) return;
  HWND hwnd = Handle();
  while (SendMessageA(hwnd, LVM_DELETECOLUMN, 0, 0)) {
  }
  for (size_t i = 0; i < columns_.size(); ++i) {
    const TListColumn& column = *columns_[i];
    LVCOLUMNA lvc{};
    lvc.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT | LVCF_SUBITEM;
    lvc.fmt = column.Alignment() == taRightJustify ? LVCFMT_RIGHT
              : column.Alignment() == taCenter     ? LVCFMT_CENTER
                                                   : LVCFMT_LEFT;
    lvc.cx = column.Width();
    lvc.pszText = const_cast<char*>(column.Caption().c_str());
    lvc.iSubItem = static_cast<int>(i);
    SendMessageA(hwnd, LVM_INSERTCOLUMNA, i, reinterpret_cast<LPARAM>(&lvc));
  }
}

void TCustomListView::UpdateItems() {
  if (!HandleAllocated()) return;
  HWND hwnd = Handle();
  SendMessageA(hwnd, LVM_DELETEALLITEMS, 0, 0);
  for (int i = 0; i < items_.Count(); ++i) {
    const std::vector<std::string> parts = SplitItem(items_[i]);
    LVITEMA item{};
    item.mask = LVIF_TEXT;
    item.iItem = i;
    item.pszText = const_cast<char*>(parts[0].c_str());
    SendMessageA(hwnd, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
    for (size_t s = 1; s < parts.size(); ++s) {
      LVITEMA sub{};
      sub.iSubItem = static_cast<int>(s);
      sub.pszText = const_cast<char*>(parts[s].c_str());
      SendMessageA(hwnd, LVM_SETITEMTEXTA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&sub));
    }
  }
}

void TCustomListView::CreateParams(TCreateParams& params) {
  InitCommonControlClasses();
  TWinControl::CreateParams(params);
  params.superclass = WC_LISTVIEWA;
  static const DWORD kViews[] = {LVS_ICON, LVS_SMALLICON, LVS_LIST, LVS_REPORT};
  params.style |= kViews[view_style_] | LVS_SINGLESEL | LVS_SHOWSELALWAYS;
  params.ex_style |= WS_EX_CLIENTEDGE;
}

void TCustomListView::CreateHandleDone() {
  UpdateExtendedStyle();
  UpdateColumns();
  UpdateItems();
  SetItemIndex(item_index_);
}

void TCustomListView::WndProc(TMessage& message) {
  if (message.Msg == CN_NOTIFY) {
    const auto* header = reinterpret_cast<const NMHDR*>(message.LParam);
    if (header->code == LVN_ITEMCHANGED) {
      const auto* change = reinterpret_cast<const NMLISTVIEW*>(message.LParam);
      if ((change->uChanged & LVIF_STATE) &&
          ((change->uNewState ^ change->uOldState) & LVIS_SELECTED)) {
        item_index_ = ItemIndex();
        if (OnChange) OnChange(this);
      }
      message.Result = 0;
      return;
    }
  }
  TWinControl::WndProc(message);
}

void RegisterListViewClasses() {
  for (const TClassInfo* info : {&TListView::StaticClassInfo(), &TListColumn::StaticClassInfo()})
    RegisterComponentClass(*info);
}

}  // namespace fw
