#pragma once
// TSkinMenuBar: the skinned menu bar a form controller shows in its non-client area.
// (First outline: the controller's view of it.)
#include <windows.h>

namespace skin {

class TSkinForm;
class TSkinData;

class TSkinMenuBar {
 public:
  virtual ~TSkinMenuBar() = default;
  // The menu the bar shows.
  HMENU MenuHandle() const { return menu_; }
  void PaintBar(HDC, const RECT&) {}

 private:
  HMENU menu_ = nullptr;
};

}  // namespace skin
