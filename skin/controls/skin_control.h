#pragma once
// TSkinControl: the base of every control skinner. (First outline: the form controller's
// view of a skinner; the full base with its attach operations, dispatcher and shared
// drawing routines replaces it.)
#include <windows.h>

#include "framework/component.h"
#include "framework/controls.h"

namespace skin {

class TSkinData;

class TSkinControl : public fw::TComponent {
  FW_CLASS_INFO()
 public:
  explicit TSkinControl(fw::TComponent* owner);
  // Gives back everything the skinner replaced.
  virtual void Detach() {}
  // The skin changed: repaint from the new elements.
  virtual void SkinChanged() {}
  // The mouse left without a message (hover poll, deactivation).
  void SendMouseLeave() {}

  HWND FHandle = nullptr;
  fw::TWinControl* FControl = nullptr;
  fw::TGraphicControl* FGraphicControl = nullptr;
  TSkinData* FSkinData = nullptr;
  RECT FWindowRect{};
};

}  // namespace skin
