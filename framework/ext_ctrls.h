#pragma once
// Containers and framework-drawn choosers: TRadioGroup (a group box that makes one radio
// button per item), TScrollBox (a container that scrolls its controls with its own scroll
// bars) and TTabSet (old-style tabs hanging from a top edge, with a scroll button).
#include <vector>

#include "framework/comctrls.h"
#include "framework/control_layout.h"
#include "framework/std_controls.h"

namespace fw {

// The group's buttons are owned by the group and are its only controls; they are made again
// whenever Items change. Clicking one sets ItemIndex and fires the group's OnClick.
class TCustomRadioGroup : public TCustomGroupBox {
  FW_CLASS_INFO()
 public:
  explicit TCustomRadioGroup(TComponent* owner);
  const TStringList& Items() const { return items_; }
  void SetItems(const TStringList& items);
  int ItemIndex() const { return item_index_; }
  void SetItemIndex(int index);
  int Columns() const { return columns_; }
  void SetColumns(int v);
  int ButtonCount() const { return static_cast<int>(buttons_.size()); }
  TRadioButton* Buttons(int index) const { return buttons_.at(static_cast<size_t>(index)); }

 protected:
  void BoundsChanged() override { ArrangeButtons(); }
  void FontChanged() override;
  void CreateHandleDone() override { ArrangeButtons(); }

 private:
  void MakeButtons();
  void ArrangeButtons();
  void ButtonClicked(TObject* sender);
  TStringList items_;
  int item_index_ = -1;
  int columns_ = 1;
  std::vector<TRadioButton*> buttons_;
};

class TRadioGroup : public TCustomRadioGroup {
  FW_CLASS_INFO()
 public:
  explicit TRadioGroup(TComponent* owner) : TCustomRadioGroup(owner) {}
};

enum TBorderStyle { bsNoBorder, bsSingleBorder };

// A window that scrolls its controls: the scroll range is the extent of the controls
// (at their unscrolled places) beyond the client area.
class TScrollingWinControl : public TWinControl {
  FW_CLASS_INFO()
 public:
  explicit TScrollingWinControl(TComponent* owner);
  bool AutoScroll() const { return auto_scroll_; }
  void SetAutoScroll(bool v);
  int HorzPosition() const { return scroll_x_; }
  int VertPosition() const { return scroll_y_; }
  // Scrolls to the positions (clamped to the range) and moves the controls with them.
  void ScrollTo(int x, int y);
  // The extent of the controls, unscrolled.
  SIZE ContentSize() const;
  void UpdateScrollBars();

 protected:
  void CreateWnd() override;
  void WndProc(TMessage& message) override;

 private:
  void Scroll(int bar, int request);
  bool auto_scroll_ = true;
  int scroll_x_ = 0, scroll_y_ = 0;
  bool updating_ = false;
};

class TScrollBox : public TScrollingWinControl {
  FW_CLASS_INFO()
 public:
  explicit TScrollBox(TComponent* owner);
  TBorderStyle BorderStyle() const { return border_style_; }
  void SetBorderStyle(TBorderStyle v);

 protected:
  void CreateParams(TCreateParams& params) override;

 private:
  TBorderStyle border_style_ = bsSingleBorder;
};

// Old-style tabs: the selected tab joins the top edge; tabs that do not fit between the
// margins are left out, and the scroll button (a horizontal up-down, the tab set's first
// owned component) moves FirstIndex.
class TTabSet : public TCustomControl {
  FW_CLASS_INFO()
 public:
  explicit TTabSet(TComponent* owner);
  const TStringList& Tabs() const { return tabs_; }
  void SetTabs(const TStringList& tabs);
  int TabIndex() const { return tab_index_; }
  void SetTabIndex(int index);
  int FirstIndex() const { return first_index_; }
  void SetFirstIndex(int index);
  int StartMargin() const { return start_margin_; }
  void SetStartMargin(int v);
  int EndMargin() const { return end_margin_; }
  void SetEndMargin(int v);
  TUpDown* Scroller() const { return scroller_; }
  // Tab rectangles as painted (empty for tabs not shown).
  std::vector<LayoutRect> TabRects();
  // The tab at a client point, or -1.
  int TabAt(POINT p);

  TNotifyEvent OnChange;

 protected:
  void Paint() override;
  void WndProc(TMessage& message) override;
  void BoundsChanged() override { UpdateScroller(); }

 private:
  std::vector<int> TextWidths();
  void UpdateScroller();
  TStringList tabs_;
  int tab_index_ = -1;
  int first_index_ = 0;
  int start_margin_ = 5;
  int end_margin_ = 5;
  TUpDown* scroller_ = nullptr;
};

void RegisterExtControlClasses();

}  // namespace fw
