#pragma once
// Edit boxes, memos and combo boxes (TSkinEdit, TSkinComBox). Both let the control paint
// first and then paint over its border only; the text area is never touched.
#include "skin/controls/skin_control.h"

namespace skin {

// The flat two-line frame of a skinned edit: the window's outer pixel in `shadow`, the next
// one white. Nothing for a window without a border (client as wide or as high as the window).
void DrawEditFrame(HWND hwnd, HDC dc, const RECT& rect, COLORREF shadow);

// Replaces the sunken border of an edit or memo with a flat frame, and gives a spin button
// inside the edit its own skinner.
class TSkinEdit : public TSkinControl {
  FW_CLASS_INFO()
 public:
  using TSkinControl::TSkinControl;
  bool BeforeMessage(fw::TMessage& message) override;
  void AfterMessage(fw::TMessage& message) override;
  void DrawSkin(HDC dc, const RECT& rect) override;
  // WM_PRINT: the control printed into another DC (dc 0: the window's DC).
  void PrintFrame(HDC dc);

  // The skinner made for an embedded spin button (owned by the form controller).
  TSkinControl* FUpDown = nullptr;

 private:
  void FindUpDown();
};

// Drop-down combo boxes: the skin's sunken edge, drop-down button and arrow.
class TSkinComBox : public TSkinControl {
  FW_CLASS_INFO()
 public:
  using TSkinControl::TSkinControl;
  bool BeforeMessage(fw::TMessage& message) override;
  void AfterMessage(fw::TMessage& message) override;
  void DrawSkin(HDC dc, const RECT& rect) override;

  uint32_t FStyle = 0;
  uint32_t FExStyle = 0;
};

// Enters the makers of this family's skinner kinds in the table.
void AddEditSkinnerMakers(SkinnerMakerTable& table);

}  // namespace skin
