#pragma once
// TToolBar on the common control "ToolbarWindow32", with TToolButton children: each tool
// button is a windowless control whose place the tool bar window decides; the window draws
// the buttons and reports their clicks, which reach the tool button's OnClick.
#include <vector>

#include "framework/controls.h"

namespace fw {

class TToolBar;

enum TToolButtonStyle { tbsButton, tbsCheck, tbsSeparator, tbsDivider };

class TToolButton : public TGraphicControl {
  FW_CLASS_INFO()
 public:
  explicit TToolButton(TComponent* owner);
  ~TToolButton() override;
  TToolBar* ToolBar() const;
  void SetParent(TWinControl* parent) override;
  TToolButtonStyle Style() const { return style_; }
  void SetStyle(TToolButtonStyle v);
  // A check button that is latched.
  bool Down() const;
  void SetDown(bool v);
  // Check buttons next to each other with Grouped latch one at a time.
  bool Grouped() const { return grouped_; }
  void SetGrouped(bool v);
  // Position among the tool bar's buttons, or -1.
  int Index() const;

 protected:
  void TextChanged() override;
  void EnabledChanged() override;

 private:
  friend class TToolBar;
  TToolButtonStyle style_ = tbsButton;
  bool down_ = false;
  bool grouped_ = false;
};

class TToolBar : public TWinControl {
  FW_CLASS_INFO()
 public:
  explicit TToolBar(TComponent* owner);
  ~TToolBar() override;
  bool Flat() const { return flat_; }
  void SetFlat(bool v);
  bool ShowCaptions() const { return show_captions_; }
  void SetShowCaptions(bool v);
  int ButtonWidth() const { return button_width_; }
  void SetButtonWidth(int v);
  int ButtonHeight() const { return button_height_; }
  void SetButtonHeight(int v);
  int ButtonCount() const { return static_cast<int>(buttons_.size()); }
  TToolButton* Buttons(int index) const { return buttons_.at(static_cast<size_t>(index)); }
  // Makes the window's buttons again from the tool buttons.
  void RebuildButtons();
  // The buttons' size follows the bar.
  void ChangeScale(int to_dpi, int from_dpi) override;

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateHandleDone() override { RebuildButtons(); }
  void WndProc(TMessage& message) override;

 private:
  friend class TToolButton;
  std::vector<TToolButton*> buttons_;
  bool flat_ = false;
  bool show_captions_ = true;
  int button_width_ = 23;
  int button_height_ = 22;
  DpiLength button_width_dpi_, button_height_dpi_;
};

void RegisterToolBarClasses();

}  // namespace fw
