#pragma once
// Tab controls on the common control "SysTabControl32": TTabControl (a strip of tabs named by
// Tabs over one client area) and TPageControl (one TTabSheet page per tab; the selected
// page shows, the others hide). Both are TCustomTabControl.
#include <string>
#include <vector>

#include "framework/controls.h"

namespace fw {

enum TTabPosition { tpTop, tpBottom, tpLeft, tpRight };

class TCustomTabControl : public TWinControl {
  FW_CLASS_INFO()
 public:
  explicit TCustomTabControl(TComponent* owner);
  int TabIndex() const;
  void SetTabIndex(int index);
  // Tabs at the left or right run vertically and need several rows: MultiLine is implied.
  TTabPosition TabPosition() const { return tab_position_; }
  void SetTabPosition(TTabPosition v);
  bool MultiLine() const { return multi_line_; }
  void SetMultiLine(bool v);
  // The part of the client area inside the tabs and the page border.
  RECT DisplayRect();
  // The rectangle of tab i in client coordinates (TCM_GETITEMRECT), or an empty one.
  RECT TabRect(int index);

  TNotifyEvent OnChange;

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateHandleDone() override;
  void WndProc(TMessage& message) override;
  // The tab texts the window shows.
  virtual std::vector<std::string> TabTexts() const = 0;
  // The selection moved to tab_index_ (by a click or in code).
  virtual void TabChanged() {}
  void UpdateTabs();

  int tab_index_ = -1;

 private:
  TTabPosition tab_position_ = tpTop;
  bool multi_line_ = false;
};

class TTabControl : public TCustomTabControl {
  FW_CLASS_INFO()
 public:
  explicit TTabControl(TComponent* owner);
  const TStringList& Tabs() const { return tabs_; }
  void SetTabs(const TStringList& tabs);

 protected:
  std::vector<std::string> TabTexts() const override { return tabs_.Lines(); }

 private:
  TStringList tabs_;
};

class TPageControl;

// A page of a page control: a framework-drawn container whose Caption is its tab's text.
class TTabSheet : public TWinControl {
  FW_CLASS_INFO()
 public:
  explicit TTabSheet(TComponent* owner);
  ~TTabSheet() override;
  TPageControl* PageControl() const;
  void SetParent(TWinControl* parent) override;
  // Position among the page control's pages, or -1.
  int PageIndex() const;

 protected:
  void CreateParams(TCreateParams& params) override;
  void TextChanged() override;
};

class TPageControl : public TCustomTabControl {
  FW_CLASS_INFO()
 public:
  explicit TPageControl(TComponent* owner);
  int PageCount() const { return static_cast<int>(pages_.size()); }
  TTabSheet* Pages(int index) const { return pages_.at(static_cast<size_t>(index)); }
  TTabSheet* ActivePage() const;
  void SetActivePage(TTabSheet* page);
  int ActivePageIndex() const { return TabIndex(); }
  void SetActivePageIndex(int index) { SetTabIndex(index); }

  void Loaded() override;

 protected:
  std::vector<std::string> TabTexts() const override;
  void TabChanged() override;
  void CreateHandleDone() override;
  void WndProc(TMessage& message) override;

 private:
  friend class TTabSheet;
  void InsertPage(TTabSheet* page);
  void RemovePage(TTabSheet* page);
  void LayoutPages();
  std::vector<TTabSheet*> pages_;
  std::string active_page_name_;  // from a description, resolved in Loaded
};

extern const std::vector<std::string> kTabPositionNames;

void RegisterTabControlClasses();

}  // namespace fw
