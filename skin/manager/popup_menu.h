#pragma once
// TSkinPopupMenu: the skinner of one popup-menu window ("#32768": drop-downs of the skinned
// menu bar, context menus, the skinned system menu). It subclasses the window and replaces
// its border with the outer 3-pixel ring of the skin's "MenuBackground" element composed at
// the window's size, keeps that whole image so that owner-drawn items can cut their
// backgrounds out of it (PopupBackground), and paints it when the menu is printed into a
// bitmap for its opening animation (WM_PRINT).
//
// The skin manager creates one when its hook sees a menu window being created and frees it
// when the window is destroyed; a skinner whose window gets WM_DESTROY first detaches
// itself there.
//
// Wine draws a popup menu's border inside the client area, during WM_PAINT (its menu
// windows have no non-client border), so on Wine the ring painted at WM_NCPAINT would be
// painted over; the ring is therefore painted again after the menu's own WM_PAINT. On
// Windows the border is non-client and the second paint repaints the same pixels.
#include <windows.h>

#include <memory>

#include "framework/scoped_handle.h"
#include "framework/window_subclass.h"

namespace skin {

class TSkinData;
struct SkinDefinition;

class TSkinPopupMenu {
 public:
  TSkinPopupMenu() = default;
  TSkinPopupMenu(const TSkinPopupMenu&) = delete;
  TSkinPopupMenu& operator=(const TSkinPopupMenu&) = delete;
  // Frees the frame image; a window still subclassed gets its procedure back through the
  // subclass object (a no-op when the window is gone).
  virtual ~TSkinPopupMenu();

  // Stores the three and subclasses the window; the menu handle is usually not known yet.
  void Attach(HWND window, TSkinData* data, HMENU menu);
  // Puts the old window procedure back and drops the frame image; safe to call twice.
  void Detach();
  bool Attached() const { return subclass_.Installed(); }

  HWND Window() const { return window_; }
  TSkinData* SkinData() const { return data_; }
  // The skin at the menu window's DPI (data_ itself at 96).
  const SkinDefinition& Skin() const;
  HMENU Menu() const { return menu_; }
  void SetMenu(HMENU menu) { menu_ = menu; }
  // The composed "MenuBackground" image at window size from the last frame paint; nullptr
  // before the first paint and after detaching.
  HBITMAP FrameBitmap() const { return frame_image_.get(); }

  // The skin has a loaded "MenuBackground" element with a bitmap.
  bool CanPaint() const;

  LRESULT WindowProc(UINT msg, WPARAM wparam, LPARAM lparam);

 private:
  static LRESULT ProcEntry(void* self, HWND, UINT msg, WPARAM wparam, LPARAM lparam);
  // Composes the frame image at the window's size, unless the image of the last call is of
  // that size and from the same element picture; false when there is no image.
  bool ComposeFrameImage();
  void PaintFrame();
  LRESULT PrintMenu(HDC dc, LPARAM flags);
  void BecomePendingIfUnknown();

  fw::WindowSubclass subclass_;
  HWND window_ = nullptr;
  TSkinData* data_ = nullptr;
  std::shared_ptr<const SkinDefinition> scaled_;  // empty at 96 DPI
  fw::ScopedBitmap frame_image_;
  // What frame_image_ was composed from: the window size and the element's picture.
  SIZE frame_size_{};
  const void* frame_source_ = nullptr;
  HMENU menu_ = nullptr;
};

// The popup skinner that painted its frame without knowing its menu handle; the first menu
// item drawn afterwards gives it one (menu_item_drawing.h). Empty most of the time.
extern TSkinPopupMenu* PendingPopup;

}  // namespace skin
