#pragma once
// Tabs, old-style tab sets, list headers and status bars (TSkinTab, TSkinTab31,
// TSkinHeader, TSkinListView, TSkinStatusBar).
#include "skin/controls/scroll_bar_skinners.h"
#include "skin/controls/skin_control.h"
#include "skin/store/pixel_bitmap.h"

namespace skin {

class TSkinUpDown;

// The tab strip and page border of a "SysTabControl32" window (page and tab controls), in
// any of the four tab positions. The control paints first; the skin then paints the strip
// (drawn unrotated off-screen, rotated into place for side tabs) and the border pieces
// over it, leaving the page inside as the control drew it. The control's scroll arrows get
// their own up-down skinner and are never painted over.
class TSkinTab : public TSkinControl {
  FW_CLASS_INFO()
 public:
  using TSkinControl::TSkinControl;
  void AttachHandle(HWND handle, TSkinData* skin_data, fw::TCanvas* canvas) override;
  bool BeforeMessage(fw::TMessage& message) override;
  void AfterMessage(fw::TMessage& message) override;
  void DrawSkin(HDC dc, const RECT& rect) override;
  void SkinChanged() override;
  void Notification(fw::TComponent* component, fw::TOperation operation) override;

  uint8_t FTabPosition = 0;  // 0 top, 1 bottom, 2 left, 3 right
  PixelBitmap FTabImage;     // the Tabs image, flipped for bottom tabs
  PixelBitmap FBorderImage;  // the border image, flipped or rotated for the position
  TSkinUpDown* FUpDown = nullptr;

 private:
  void PrepareImages();
  void FindScrollArrows();
};

// The framework's old-style tab set: tabs hanging from the top edge (the Tabs image
// flipped), left out when they do not fit between the margins; its scroll button gets a
// horizontal up-down skinner.
class TSkinTab31 : public TSkinControl {
  FW_CLASS_INFO()
 public:
  using TSkinControl::TSkinControl;
  void AttachControl(fw::TWinControl* control, TSkinData* skin_data, bool recolor,
                     fw::TCanvas* canvas) override;
  bool BeforeMessage(fw::TMessage& message) override;
  void DrawSkin(HDC dc, const RECT& rect) override;
  void SkinChanged() override;
  void Notification(fw::TComponent* component, fw::TOperation operation) override;

  PixelBitmap FTabImage;
  TSkinUpDown* FUpDown = nullptr;
  fw::TWinControl* FScroller = nullptr;

 private:
  void PrepareImage();
};

// Column headers (header controls, also a list view's) from frame 1 of Headerbar, with
// each item's image and text; the part right of the last item shows the same frame.
class TSkinHeader : public TSkinControl {
  FW_CLASS_INFO()
 public:
  using TSkinControl::TSkinControl;
  // Also enters the skinner in the form controller's list.
  void AttachHandle(HWND handle, TSkinData* skin_data, fw::TCanvas* canvas) override;
  bool BeforeMessage(fw::TMessage& message) override;
  void DrawSkin(HDC dc, const RECT& rect) override;
};

// A list view: its scroll bars drawn from the skin as the scroll-bar skinner draws them,
// and a header skinner for its header control.
class TSkinListView : public TSkinScrollBar {
  FW_CLASS_INFO()
 public:
  using TSkinScrollBar::TSkinScrollBar;
  void AttachControl(fw::TWinControl* control, TSkinData* skin_data, bool recolor,
                     fw::TCanvas* canvas) override;
  void AttachHandle(HWND handle, TSkinData* skin_data, fw::TCanvas* canvas) override;
  void Notification(fw::TComponent* component, fw::TOperation operation) override;

  TSkinHeader* FHeader = nullptr;

 private:
  // A header skinner for the list view's header control, owned by the form controller.
  void AttachHeader(TSkinData* skin_data, fw::TCanvas* canvas);
  bool attaching_ = false;
};

// A framework status bar painted completely: panels (or the one simple panel) from
// StatusBarEdges (lowered, raised, flat) or as plain bevels, their texts, and the size grip
// from frame 5 of ExtraImages.
class TSkinStatusBar : public TSkinControl {
  FW_CLASS_INFO()
 public:
  using TSkinControl::TSkinControl;
  bool BeforeMessage(fw::TMessage& message) override;
  void AfterMessage(fw::TMessage& message) override;
  void DrawSkin(HDC dc, const RECT& rect) override;
};

// Enters the makers of this family's skinner kinds in the table.
void AddTabSkinnerMakers(SkinnerMakerTable& table);

}  // namespace skin
