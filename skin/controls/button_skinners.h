#pragma once
// Push buttons, bitmap buttons and speed buttons (TSkinButton, TSkinBitButton, TSkinSpeedButton).
//
// All three draw the whole button from the skin's Buttons element (frame 1 normal, 2
// pressed, 3 disabled, 4 hot or focused) and keep the control's own painting from the
// screen. A push button never sees its mouse press: the skinner keeps the press, draws it,
// and clicks the button itself on the release (the framework button's Click, with its
// modal result; a bare window's parent gets BN_CLICKED), so a press released outside
// gives no click. The space key stays with the control's own procedure, which clicks on
// its release; the skinner only draws the press.
//
// A speed button has no window: its parent paints it and forwards its mouse messages. The
// skinner paints it through the parent, lets the framework keep its press, latch and
// click logic, and tracks the mouse leaving it by polling the cursor while it is hot.
#include <memory>

#include "framework/graphics.h"
#include "framework/timer.h"
#include "skin/controls/button_layout.h"
#include "skin/controls/skin_control.h"

namespace fw {
class TBitBtn;
class TSpeedButton;
}  // namespace fw

namespace skin {

class TDataSkinObject;

class TSkinButton : public TSkinControl {
  FW_CLASS_INFO()
 public:
  explicit TSkinButton(fw::TComponent* owner);
  ~TSkinButton() override;

  bool BeforeMessage(fw::TMessage& message) override;
  void AfterMessage(fw::TMessage& message) override;
  void DrawSkin(HDC dc, const RECT& rect) override;

  // The off-screen bitmap the button is drawn into before one copy to the screen.
  std::unique_ptr<fw::TBitmap> FBuffer;

  // The frame of the Buttons element the button shows now (refreshes focus, enabling and
  // caption as a paint does).
  int CurrentFrame();

 protected:
  // The caption colour of a state frame: the element's per-state colour, ButtonText
  // where the skin gives none, the button-shadow colour for the disabled frame.
  COLORREF CaptionColour(int frame) const;
  // Refreshes FFocused, FEnabled and FCaption from the window.
  void RefreshState();
  // Clicks as the user's release does: the framework control's Click, or BN_CLICKED to a
  // bare window's parent.
  void ClickButton();
  // The Buttons element when it can be drawn, else nullptr.
  const TDataSkinObject* ButtonElement() const;
  // Sizes FBuffer, mirrored like `target`, and gives it the face colour and frame `frame`
  // of frame_count.
  fw::TCanvas* PrepareBuffer(HDC target, const RECT& rect, int frame_count, int frame);

 private:
  bool key_press_ = false;  // the space key holds the button down
};

class TSkinBitButton : public TSkinButton {
  FW_CLASS_INFO()
 public:
  using TSkinButton::TSkinButton;
  void DrawSkin(HDC dc, const RECT& rect) override;

 protected:
  // Frame `frame` (from 1) of a glyph of glyph_count pictures at (x, y), transparent on
  // the colour of that picture's top-left pixel.
  static void DrawGlyphFrame(HDC dc, int x, int y, fw::TBitmap& glyph, int glyph_count, int frame);
  // The caption's extent as DrawText measures it (0 x 0 for an empty caption).
  static ButtonSize CaptionExtent(fw::TCanvas& canvas, const std::string& caption);
};

class TSkinSpeedButton : public TSkinBitButton {
  FW_CLASS_INFO()
 public:
  explicit TSkinSpeedButton(fw::TComponent* owner);
  ~TSkinSpeedButton() override;

  void Detach() override;
  bool BeforeMessage(fw::TMessage& message) override;
  void AfterMessage(fw::TMessage& message) override;
  // Paints the button at once onto its parent's window.
  void PaintSkin(HDC dc) override;

  // Draws the whole button into rect of the canvas (the control's client rectangle in the
  // canvas's coordinates).
  void DrawSpeedButton(fw::TCanvas& canvas, const RECT& rect);
  // The state frame and the glyph picture it shows now.
  int CurrentSpeedFrame();
  bool Tracking() const { return leave_poll_ && leave_poll_->Enabled(); }

 private:
  fw::TSpeedButton* Speed() const;
  ButtonLook SpeedLook();
  // The control's rectangle on the screen (empty when it has no parent window).
  RECT ScreenRect() const;
  void EnterHot();
  void LeaveHot();
  void PollCursor();

  // Polls the cursor while the button is hot: a windowless control hears of no leave.
  std::unique_ptr<fw::TTimer> leave_poll_;
};

// Enters the makers of this family's skinner kinds in the table.
void AddButtonSkinnerMakers(SkinnerMakerTable& table);

}  // namespace skin
