#pragma once
// TSkinPopupMenu: the skinner of one popup-menu window ("#32768"). (First outline: the
// manager's bookkeeping view; the frame painting comes with the skinned menus.)
#include <windows.h>

namespace skin {

class TSkinData;

class TSkinPopupMenu {
 public:
  TSkinPopupMenu() = default;
  TSkinPopupMenu(const TSkinPopupMenu&) = delete;
  TSkinPopupMenu& operator=(const TSkinPopupMenu&) = delete;
  virtual ~TSkinPopupMenu() = default;

  void Attach(HWND window, TSkinData* data, HMENU menu) {
    window_ = window;
    data_ = data;
    menu_ = menu;
  }
  void Detach() {}
  HWND Window() const { return window_; }
  HMENU Menu() const { return menu_; }
  void SetMenu(HMENU menu) { menu_ = menu; }
  HBITMAP FrameBitmap() const { return nullptr; }

 private:
  HWND window_ = nullptr;
  TSkinData* data_ = nullptr;
  HMENU menu_ = nullptr;
};

}  // namespace skin
