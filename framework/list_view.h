#pragma once
// TListView on the common control "SysListView32": items with sub-items, shown as icons,
// a list, or (vsReport) rows under a header of columns.
//
// In a description, columns are objects nested in the list view
//   object ListColumn1: TListColumn  Caption = 'Name'  Width = 120  end
// and items are the lines of "Items.Strings", sub-items separated by '|' ("a.txt|12 KB").
#include <string>
#include <vector>

#include "framework/controls.h"
#include "framework/std_controls.h"

namespace fw {

class TCustomListView;

class TListColumn : public TComponent {
  FW_CLASS_INFO()
 public:
  explicit TListColumn(TComponent* owner) : TComponent(owner) {}
  ~TListColumn() override;
  TCustomListView* ListView() const { return list_view_; }
  void SetListView(TCustomListView* list_view);
  TComponent* ParentComponent() const override;
  void SetParentComponent(TComponent* parent) override;

  const std::string& Caption() const { return caption_; }
  void SetCaption(const std::string& text);
  int Width() const { return width_; }
  void SetWidth(int v);
  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment v);

 private:
  friend class TCustomListView;
  void Changed();
  TCustomListView* list_view_ = nullptr;
  std::string caption_;
  int width_ = 50;
  TAlignment alignment_ = taLeftJustify;
  DpiLength width_dpi_;
};

enum TViewStyle { vsIcon, vsSmallIcon, vsList, vsReport };

class TCustomListView : public TWinControl {
  FW_CLASS_INFO()
 public:
  explicit TCustomListView(TComponent* owner);
  ~TCustomListView() override;
  TViewStyle ViewStyle() const { return view_style_; }
  void SetViewStyle(TViewStyle v);
  bool RowSelect() const { return row_select_; }
  void SetRowSelect(bool v);
  bool GridLines() const { return grid_lines_; }
  void SetGridLines(bool v);
  const std::vector<TListColumn*>& Columns() const { return columns_; }
  // A new column owned by the list view's owner, appended.
  TListColumn* AddColumn(const std::string& caption, int width);
  // Each line an item; sub-items after '|'.
  const TStringList& Items() const { return items_; }
  void SetItems(const TStringList& items);
  // The selected item, or -1.
  int ItemIndex() const;
  void SetItemIndex(int index);
  // The header control of the report view (nullptr before the window exists).
  HWND HeaderHandle();
  // The columns' widths (as the user left them) follow the control.
  void ChangeScale(int to_dpi, int from_dpi) override;

  TNotifyEvent OnChange;

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateHandleDone() override;
  void WndProc(TMessage& message) override;

 private:
  friend class TListColumn;
  void UpdateColumns();
  void UpdateItems();
  void UpdateExtendedStyle();
  TViewStyle view_style_ = vsIcon;
  bool row_select_ = false;
  bool grid_lines_ = false;
  std::vector<TListColumn*> columns_;
  TStringList items_;
  int item_index_ = -1;
};

class TListView : public TCustomListView {
  FW_CLASS_INFO()
 public:
  explicit TListView(TComponent* owner) : TCustomListView(owner) {}
};

void RegisterListViewClasses();

}  // namespace fw
