#pragma once
// Common controls (comctl32) under framework class names: progress bar, track bar, up-down
// and status bar, superclassing "msctls_progress32", "msctls_trackbar32", "msctls_updown32"
// and "msctls_statusbar32"; and the scroll bar (system "SCROLLBAR"). Tab and page controls
// are in tab_controls.h. Properties whose window style is fixed at creation recreate the
// window when they change on a window that exists.
#include <string>
#include <vector>

#include "framework/controls.h"
#include "framework/std_controls.h"
#include "framework/tab_controls.h"

namespace fw {

// Registers the comctl32 window classes once (InitCommonControlsEx).
void InitCommonControlClasses();

enum TScrollBarKind { sbHorizontal, sbVertical };

// Makes the control's window again (after a change of a style fixed at creation), keeping
// its text; nothing happens while there is no window.
void RecreateWnd(TWinControl& control);

// A control with a position in a range (Min, Max, Position), kept while there is no window.
class TRangeControl : public TWinControl {
  FW_CLASS_INFO()
 public:
  explicit TRangeControl(TComponent* owner) : TWinControl(owner) {}
  int Min() const { return min_; }
  void SetMin(int v);
  int Max() const { return max_; }
  void SetMax(int v);
  int Position() const;
  void SetPosition(int v);

  TNotifyEvent OnChange;

 protected:
  void CreateHandleDone() override { ApplyRange(); }
  virtual void ApplyRange() {}
  virtual int WindowPosition() const { return position_; }
  int min_ = 0, max_ = 100, position_ = 0;
};

enum TProgressBarOrientation { pbHorizontal, pbVertical };

class TProgressBar : public TRangeControl {
  FW_CLASS_INFO()
 public:
  explicit TProgressBar(TComponent* owner);
  TProgressBarOrientation Orientation() const { return orientation_; }
  void SetOrientation(TProgressBarOrientation v);
  // A continuous bar instead of blocks.
  bool Smooth() const { return smooth_; }
  void SetSmooth(bool v);
  int Step() const { return step_; }
  void SetStep(int v) { step_ = v; }
  void StepIt() { SetPosition(Position() + step_ > max_ ? min_ : Position() + step_); }

 protected:
  void CreateParams(TCreateParams& params) override;
  void ApplyRange() override;
  int WindowPosition() const override;

 private:
  TProgressBarOrientation orientation_ = pbHorizontal;
  bool smooth_ = false;
  int step_ = 10;
};

enum TTrackBarOrientation { trHorizontal, trVertical };
enum TTickStyle { tsNone, tsAuto, tsManual };
enum TTickMark { tmBottomRight, tmTopLeft, tmBoth };

class TTrackBar : public TRangeControl {
  FW_CLASS_INFO()
 public:
  explicit TTrackBar(TComponent* owner);
  TTrackBarOrientation Orientation() const { return orientation_; }
  void SetOrientation(TTrackBarOrientation v);
  TTickStyle TickStyle() const { return tick_style_; }
  void SetTickStyle(TTickStyle v);
  TTickMark TickMarks() const { return tick_marks_; }
  void SetTickMarks(TTickMark v);
  int Frequency() const { return frequency_; }
  void SetFrequency(int v);
  int PageSize() const { return page_size_; }
  void SetPageSize(int v);

 protected:
  void CreateParams(TCreateParams& params) override;
  void ApplyRange() override;
  int WindowPosition() const override;
  void WndProc(TMessage& message) override;

 private:
  TTrackBarOrientation orientation_ = trHorizontal;
  TTickStyle tick_style_ = tsAuto;
  TTickMark tick_marks_ = tmBottomRight;
  int frequency_ = 1;
  int page_size_ = 2;
};

enum TUDOrientation { udHorizontal, udVertical };
enum TUDAlignButton { udLeft, udRight };

// Arrow buttons that step Position; with an Associate (a control on the same parent, named in
// a description), the up-down sits at that control's edge and shows the position in it.
class TUpDown : public TRangeControl {
  FW_CLASS_INFO()
 public:
  explicit TUpDown(TComponent* owner);
  ~TUpDown() override;
  TWinControl* Associate() const { return associate_; }
  void SetAssociate(TWinControl* control);
  TUDOrientation Orientation() const { return orientation_; }
  void SetOrientation(TUDOrientation v);
  TUDAlignButton AlignButton() const { return align_button_; }
  void SetAlignButton(TUDAlignButton v) { align_button_ = v; }
  bool Wrap() const { return wrap_; }
  void SetWrap(bool v) { wrap_ = v; }
  int Increment() const { return increment_; }
  void SetIncrement(int v);

  void Loaded() override;
  void Notification(TComponent* component, TOperation operation) override;

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateHandleDone() override;
  void ApplyRange() override;
  int WindowPosition() const override;
  void WndProc(TMessage& message) override;

 private:
  friend struct UpDownAssociateProperty;
  TWinControl* associate_ = nullptr;
  std::string associate_name_;  // from a description, resolved in Loaded
  TUDOrientation orientation_ = udVertical;
  TUDAlignButton align_button_ = udRight;
  bool wrap_ = false;
  int increment_ = 1;
};

class TScrollBar : public TRangeControl {
  FW_CLASS_INFO()
 public:
  explicit TScrollBar(TComponent* owner);
  TScrollBarKind Kind() const { return kind_; }
  void SetKind(TScrollBarKind v);
  // The thumb's share of the range (0 for a square thumb).
  int PageSize() const { return page_size_; }
  void SetPageSize(int v);
  int SmallChange() const { return small_change_; }
  void SetSmallChange(int v) { small_change_ = v; }
  int LargeChange() const { return large_change_; }
  void SetLargeChange(int v) { large_change_ = v; }

 protected:
  void CreateParams(TCreateParams& params) override;
  void ApplyRange() override;
  int WindowPosition() const override;
  void WndProc(TMessage& message) override;

 private:
  TScrollBarKind kind_ = sbHorizontal;
  int page_size_ = 0;
  int small_change_ = 1;
  int large_change_ = 1;
};

class TStatusBar;
enum TStatusPanelBevel { pbNone, pbLowered, pbRaised };

// One panel of a status bar. In a description it is an object nested in its bar:
//   object StatusPanel1: TStatusPanel  Width = 120  Text = 'Ready'  end
class TStatusPanel : public TComponent {
  FW_CLASS_INFO()
  friend class TStatusBar;

 public:
  explicit TStatusPanel(TComponent* owner) : TComponent(owner) {}
  ~TStatusPanel() override;
  TStatusBar* StatusBar() const { return bar_; }
  void SetStatusBar(TStatusBar* bar);
  TComponent* ParentComponent() const override;
  void SetParentComponent(TComponent* parent) override;

  const std::string& Text() const { return text_; }
  void SetText(const std::string& text);
  int Width() const { return width_; }
  void SetWidth(int v);
  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment v);
  TStatusPanelBevel Bevel() const { return bevel_; }
  void SetBevel(TStatusPanelBevel v);
  // Right-to-left reading order for the text.
  bool RightToLeft() const { return right_to_left_; }
  void SetRightToLeft(bool v);

 private:
  void Changed();
  TStatusBar* bar_ = nullptr;
  std::string text_;
  int width_ = 50;
  TAlignment alignment_ = taLeftJustify;
  TStatusPanelBevel bevel_ = pbLowered;
  bool right_to_left_ = false;
  DpiLength width_dpi_;
};

// A status bar with panels, or one simple panel showing SimpleText while SimplePanel is set.
class TStatusBar : public TWinControl {
  FW_CLASS_INFO()
 public:
  explicit TStatusBar(TComponent* owner);
  ~TStatusBar() override;
  const std::string& SimpleText() const { return simple_text_; }
  void SetSimpleText(const std::string& text);
  bool SimplePanel() const { return simple_panel_; }
  void SetSimplePanel(bool v);
  bool SizeGrip() const { return size_grip_; }
  void SetSizeGrip(bool v);
  const std::vector<TStatusPanel*>& Panels() const { return panels_; }
  // A new panel owned by the bar's owner, appended.
  TStatusPanel* AddPanel(const std::string& text, int width);
  // The window's rectangle of panel i (SB_GETRECT), or an empty one.
  RECT PanelRect(int index);
  // The window's own text is the first panel's: the caption is kept apart from it.
  std::string GetText() const override { return text_; }
  void SetText(const std::string& text) override { text_ = text; }
  // The panels' widths are pixels too: they follow the bar.
  void ChangeScale(int to_dpi, int from_dpi) override;

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateHandleDone() override { UpdatePanels(); }

 private:
  friend class TStatusPanel;
  void UpdatePanels();
  std::string simple_text_;
  bool simple_panel_ = false;
  bool size_grip_ = true;
  std::vector<TStatusPanel*> panels_;
};

// Registers the classes of this file and of the other common-control families.
void RegisterCommonControlClasses();

}  // namespace fw
