#pragma once
// Check boxes and radio buttons (TSkinCheckBox, TSkinRadioButton).
//
// The control paints itself (caption, focus rectangle, background); after each paint the
// skinner puts the skin's check or radio image over the place where the system draws its
// box. Framework check boxes and radio buttons are attached by control (their background
// takes the skin's ButtonFace), bare "button" windows with check or radio styles by
// handle. The system button paints its box at once on several messages (a click, a check
// change, a focus change) without a WM_PAINT; the skinner repaints the whole window after
// each of them, so the system box never stays on the screen.
#include "skin/controls/button_layout.h"
#include "skin/controls/skin_control.h"

namespace skin {

class TSkinCheckBox : public TSkinControl {
  FW_CLASS_INFO()
 public:
  using TSkinControl::TSkinControl;
  bool BeforeMessage(fw::TMessage& message) override;
  void AfterMessage(fw::TMessage& message) override;
  void DrawSkin(HDC dc, const RECT& rect) override;

  // The frame of the check strip the control shows now (1 to 4).
  int CurrentFrame() const;
  // Where the image goes in a window of rect's size (empty without an image).
  PixelRect ImageRect(const RECT& rect) const;
};

class TSkinRadioButton : public TSkinControl {
  FW_CLASS_INFO()
 public:
  using TSkinControl::TSkinControl;
  bool BeforeMessage(fw::TMessage& message) override;
  void AfterMessage(fw::TMessage& message) override;
  void DrawSkin(HDC dc, const RECT& rect) override;

  int CurrentFrame() const;
  PixelRect ImageRect(const RECT& rect) const;
};

// The framework's exit notification (the focus left the control), and the notification
// the family also repaints on.
constexpr UINT CM_SKIN_EXIT = 0xB01B;
constexpr UINT CM_SKIN_BOXREPAINT = 0xB0D0;

// Enters the makers of this family's skinner kinds in the table.
void AddCheckSkinnerMakers(SkinnerMakerTable& table);

}  // namespace skin
