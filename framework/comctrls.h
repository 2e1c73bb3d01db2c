#pragma once
// Common controls (comctl32) under framework class names: progress bar, track bar, up-down,
// status bar and tab control, superclassing "msctls_progress32", "msctls_trackbar32",
// "msctls_updown32", "msctls_statusbar32" and "SysTabControl32"; and the scroll bar
// (system "SCROLLBAR"). First cut: the properties a description sets; more as they are needed.
#include "framework/controls.h"

namespace fw {

// Registers the comctl32 window classes once (InitCommonControlsEx).
void InitCommonControlClasses();

enum TScrollBarKind { sbHorizontal, sbVertical };

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

class TProgressBar : public TRangeControl {
  FW_CLASS_INFO()
 public:
  explicit TProgressBar(TComponent* owner);

 protected:
  void CreateParams(TCreateParams& params) override;
  void ApplyRange() override;
  int WindowPosition() const override;
};

class TTrackBar : public TRangeControl {
  FW_CLASS_INFO()
 public:
  explicit TTrackBar(TComponent* owner);
  TScrollBarKind Orientation() const { return orientation_; }
  void SetOrientation(TScrollBarKind v) { orientation_ = v; }

 protected:
  void CreateParams(TCreateParams& params) override;
  void ApplyRange() override;
  int WindowPosition() const override;
  void WndProc(TMessage& message) override;

 private:
  TScrollBarKind orientation_ = sbHorizontal;
};

class TUpDown : public TRangeControl {
  FW_CLASS_INFO()
 public:
  explicit TUpDown(TComponent* owner);

 protected:
  void CreateParams(TCreateParams& params) override;
  void ApplyRange() override;
  int WindowPosition() const override;
};

class TScrollBar : public TRangeControl {
  FW_CLASS_INFO()
 public:
  explicit TScrollBar(TComponent* owner);
  TScrollBarKind Kind() const { return kind_; }
  void SetKind(TScrollBarKind v) { kind_ = v; }

 protected:
  void CreateParams(TCreateParams& params) override;
  void ApplyRange() override;
  int WindowPosition() const override;
  void WndProc(TMessage& message) override;

 private:
  TScrollBarKind kind_ = sbHorizontal;
};

class TStatusBar : public TWinControl {
  FW_CLASS_INFO()
 public:
  explicit TStatusBar(TComponent* owner);
  const std::string& SimpleText() const { return simple_text_; }
  void SetSimpleText(const std::string& text);
  bool SizeGrip() const { return size_grip_; }
  void SetSizeGrip(bool v) { size_grip_ = v; }

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateHandleDone() override { SetSimpleText(simple_text_); }

 private:
  std::string simple_text_;
  bool size_grip_ = true;
};

class TTabControl : public TWinControl {
  FW_CLASS_INFO()
 public:
  explicit TTabControl(TComponent* owner);
  const TStringList& Tabs() const { return tabs_; }
  void SetTabs(const TStringList& tabs);
  int TabIndex() const;
  void SetTabIndex(int index);

  TNotifyEvent OnChange;

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateHandleDone() override;
  void WndProc(TMessage& message) override;

 private:
  TStringList tabs_;
  int tab_index_ = -1;
};

// Registers the classes of this file.
void RegisterCommonControlClasses();

}  // namespace fw
