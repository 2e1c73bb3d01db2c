#pragma once
// Caption buttons: the hot-object protocol of the non-client area (TNCObject), the caption
// buttons bound to the skin's caption-button elements (TWinSysButton) and the skinned
// system menu. (First outline: the classes the form controller holds.)
#include <windows.h>

namespace skin {

class TSkinForm;
class TDataSkinSysButton;

class TNCObject {
 public:
  virtual ~TNCObject() = default;
  virtual void MouseDown() {}
  virtual void MouseUp() {}
  virtual void MouseHover() {}
  virtual void MouseLeave() {}
  virtual void Draw() {}

  TSkinForm* Controller = nullptr;
  RECT Bounds{};
  bool Visible = false;
  int ButtonState = 1;
};

class TWinSysButton : public TNCObject {
 public:
  TDataSkinSysButton* Element = nullptr;
};

class TSkinSystemMenu {
 public:
  virtual ~TSkinSystemMenu() = default;
};

}  // namespace skin
