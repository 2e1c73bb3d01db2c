#pragma once
// Progress bars, track bars, up-down controls and boxes (TSkinProgress,
// TSkinTrackBar, TSkinUpDown, TSkinBox).
#include "skin/controls/skin_control.h"

namespace skin {

// Paints progress bars completely from the Progress element: the trough (frame 1 of 2)
// and the filled part (frame 2), or with Style 1 a row of chunk images. Vertical bars fill
// from the bottom; the range's lower limit counts.
class TSkinProgress : public TSkinControl {
  FW_CLASS_INFO()
 public:
  using TSkinControl::TSkinControl;
  bool BeforeMessage(fw::TMessage& message) override;
  void AfterMessage(fw::TMessage& message) override;
  void DrawSkin(HDC dc, const RECT& rect) override;

 private:
  void DrawChunks(HDC dc, const RECT& rect);
  bool HasElement() const;
};

// Replaces a track bar's thumb through its custom-draw notifications (reflected to the
// control by the framework); channel and tics stay as the control draws them.
class TSkinTrackBar : public TSkinControl {
  FW_CLASS_INFO()
 public:
  using TSkinControl::TSkinControl;
  bool BeforeMessage(fw::TMessage& message) override;

 private:
  void DrawThumb(HDC dc);
};

// Draws the two buttons of an up-down control from UpDownVert or UpDownHorz (frames 1-4
// the first button, 5-8 the second: normal, pressed, disabled, hot) with their glyphs, or
// plain rectangles and arrows without a glyph image. The control's own procedure still
// handles the mouse (pressing, repeating, notifying).
class TSkinUpDown : public TSkinControl {
  FW_CLASS_INFO()
 public:
  using TSkinControl::TSkinControl;
  bool BeforeMessage(fw::TMessage& message) override;
  void AfterMessage(fw::TMessage& message) override;
  void DrawSkin(HDC dc, const RECT& rect) override;
  void SetEmbedded(bool embedded) override { FEmbedded = embedded; }

  // Set for a spin button inside an edit: the buttons are drawn one pixel inside.
  bool FEmbedded = false;
  // Set by the tab set skinner: left and right buttons even without UDS_HORZ.
  bool FHorizontal = false;

 private:
  bool Horizontal() const;
  // Which button the cursor is over along the layout axis (0 or 1).
  int CursorSide() const;
  int painted_side_ = -1;
};

// Panels, group boxes, radio groups, navigators and tool bars: the box only recolours its
// control with the skin's face colour (and gives the colour back); its window procedure is
// not replaced. A bare window attached by handle has its background erased in the face
// colour instead.
class TSkinBox : public TSkinControl {
  FW_CLASS_INFO()
 public:
  using TSkinControl::TSkinControl;
  ~TSkinBox() override;
  void AttachControl(fw::TWinControl* control, TSkinData* skin_data, bool recolor,
                     fw::TCanvas* canvas) override;
  void Detach() override;
  bool BeforeMessage(fw::TMessage& message) override;
  void AfterMessage(fw::TMessage&) override {}
  void Notification(fw::TComponent* component, fw::TOperation operation) override;

 private:
  bool box_recolored_ = false;
};

// Enters the makers of this family's skinner kinds in the table.
void AddBarSkinnerMakers(SkinnerMakerTable& table);

}  // namespace skin
