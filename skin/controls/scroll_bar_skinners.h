#pragma once
// A control's own scroll bars, stand-alone scroll bars and scrolling containers
// (TSkinScrollBar, TSkinSizer, TSkinScControl).
//
// Every bar is drawn the same way: its artwork (shaft, two arrows, thumb) is composed
// 16 pixels thick into a work bitmap as long as the bar and stretched onto the bar in one
// blit. The geometry comes from scroll_bar_geometry.h.
#include "skin/controls/scroll_bar_geometry.h"
#include "skin/controls/skin_control.h"

namespace skin {

// One bar from the skin data's scroll bar elements. metrics is the thumb (none: no thumb);
// pressed is an FPressedPart code. Nothing without the Scrollbar element or for a bar of
// absurd size.
void DrawSkinBar(HDC dc, const RECT& bar, const SkinDefinition& data, bool vertical, int arrow,
                 const ThumbMetrics* metrics, int pressed);

// The standard non-client bars (WS_HSCROLL, WS_VSCROLL) of scrolling controls, the size
// box where they meet, and, when asked, dragging their thumbs.
class TSkinScrollBar : public TSkinControl {
  FW_CLASS_INFO()
 public:
  using TSkinControl::TSkinControl;
  void AttachScrollBars(fw::TWinControl* control, TSkinData* skin_data, bool handle_thumb_drag,
                        fw::TCanvas* canvas) override;
  // A window without a framework control (a list box, tree view or rich edit of a program
  // we did not write), subclassed; its thumb is dragged by the skinner.
  void AttachHandle(HWND handle, TSkinData* skin_data, fw::TCanvas* canvas) override;
  bool BeforeMessage(fw::TMessage& message) override;
  void AfterMessage(fw::TMessage& message) override;
  void DrawSkin(HDC dc, const RECT& rect) override;

  // Lays out both bars and the size box for a window of rect's size.
  void LayoutBars(const RECT& rect);
  // The thumb of bar 0 (horizontal) or 1 (vertical) from the control's scroll information;
  // kept as it is while a drag runs or the range is empty.
  void CalcThumb(const RECT& bar_rect, int bar);
  // The scroll request code a click at offset along the bar asks for (-1: beyond it).
  int HitTestBar(int offset, int bar) const;
  // WM_NCLBUTTONDOWN on a bar: true when the click was on the thumb and has been dragged.
  bool HandleBarClick(fw::TMessage& message);
  // The drag loop of a thumb; ends at a button-up anywhere in the thread.
  void TrackThumb(int bar, UINT scroll_message);

  int32_t FPressedPart = kPartNone;
  uint32_t FStyle = 0;
  uint32_t FExStyle = 0;
  RECT FSizeBoxRect{};
  bool FTracking = false;
  bool FHandleThumbDrag = false;
  bool FInVScroll = false;
  bool FInHScroll = false;
  SCROLLINFO FHorzInfo{};
  SCROLLINFO FVertInfo{};
  RECT FHorzBarRect{};
  RECT FVertBarRect{};
  ThumbMetrics FHorzMetrics{};
  ThumbMetrics FVertMetrics{};

 private:
  // After either attach: the bars' state, and the frame recalculated round them.
  void StartBars(bool handle_thumb_drag);
  void DrawBar(HDC dc, const RECT& bar_rect, bool vertical);
  // Repaints when the bars changed behind our back (wheel, keys, selecting, EM_ messages).
  void RepaintIfScrolled();
  struct Shown {
    uint32_t style = 0;
    ScrollRange horz, vert;
    friend bool operator==(const Shown&, const Shown&) = default;
  };
  Shown ReadShown() const;
  Shown shown_{};
  POINT drag_start_{};    // the screen point of the button-down on the thumb
  bool is_edit_ = false;  // a memo: the flat edit frame goes round the bars
  bool painting_ = false;
};

// Bare windows of the "scrollbar" class: a size box gets a one-pixel frame instead of its
// own drawing; a real bar is drawn from the skin after its own painting.
class TSkinSizer : public TSkinControl {
  FW_CLASS_INFO()
 public:
  using TSkinControl::TSkinControl;
  bool BeforeMessage(fw::TMessage& message) override;
  void DrawSkin(HDC dc, const RECT& rect) override;

 private:
  bool IsSizeBox() const;
};

// A framework scroll bar control, drawn from the skin over its own painting.
class TSkinScControl : public TSkinControl {
  FW_CLASS_INFO()
 public:
  using TSkinControl::TSkinControl;
  bool BeforeMessage(fw::TMessage& message) override;
  void DrawSkin(HDC dc, const RECT& rect) override;

  int32_t FPressedPart = kPartNone;
  ThumbMetrics FMetrics{};
};

// Enters the makers of this family's skinner kinds in the table.
void AddScrollBarSkinnerMakers(SkinnerMakerTable& table);

}  // namespace skin
