#include "skin/manager/popup_menu.h"

#include "framework/dpi.h"

#include "skin/data/skin_data.h"
#include "skin/manager/element_painting.h"
#include "skin/manager/menu_item_layout.h"
#include "skin/manager/skin_manager.h"

namespace skin {

TSkinPopupMenu* PendingPopup = nullptr;

TSkinPopupMenu::~TSkinPopupMenu() {
  if (PendingPopup == this) PendingPopup = nullptr;
}

void TSkinPopupMenu::Attach(HWND window, TSkinData* data, HMENU menu) {
  window_ = window;
  data_ = data;
  // A menu opens: its items are drawn in the menu font of the moment (a program not built
  // on the framework has no framework window to drop the kept copy when settings change).
  fw::ForgetSystemFonts();
  // The menu window's monitor decides its scale (a skin loaded while it is open leaves
  // this copy alone).
  scaled_ = data ? data->ScaledFor(fw::WindowDpi(window)) : nullptr;
  menu_ = menu;
  subclass_.Install(window, &TSkinPopupMenu::ProcEntry, this);
}

void TSkinPopupMenu::Detach() {
  if (!subclass_.Installed()) return;
  subclass_.Restore();
  frame_image_.reset();
  if (PendingPopup == this) PendingPopup = nullptr;
}

const SkinDefinition& TSkinPopupMenu::Skin() const {
  if (scaled_) return *scaled_;
  return *data_;
}

bool TSkinPopupMenu::CanPaint() const {
  return data_ && !data_->NoSkinLoaded && Skin().MenuBackground &&
         !Skin().MenuBackground->Image.Empty();
}

LRESULT TSkinPopupMenu::ProcEntry(void* self, HWND, UINT msg, WPARAM wparam, LPARAM lparam) {
  return static_cast<TSkinPopupMenu*>(self)->WindowProc(msg, wparam, lparam);
}

void TSkinPopupMenu::BecomePendingIfUnknown() {
  if (!menu_) PendingPopup = this;
}

LRESULT TSkinPopupMenu::WindowProc(UINT msg, WPARAM wparam, LPARAM lparam) {
  // Answered even while skinning is off, so no second skinner is ever attached.
  if (msg == WM_SKINQUERY) return 1;
  if (!SkinManager || !SkinManager->Active) return subclass_.CallOld(msg, wparam, lparam);
  switch (msg) {
    case WM_DESTROY: {
      // Detach first: the subclass object forgets the window, the message still goes on.
      const WNDPROC old = subclass_.OldProc();
      HWND window = window_;
      Detach();
      return CallWindowProcA(old, window, msg, wparam, lparam);
    }
    case WM_NCPAINT:
      if (!CanPaint()) break;
      PaintFrame();
      return 0;  // the system's border is never drawn
    case WM_PAINT: {
      if (!CanPaint()) break;
      const LRESULT result = subclass_.CallOld(msg, wparam, lparam);
      if (frame_image_) PaintFrame();
      return result;
    }
    case WM_PRINT:
      if (!CanPaint()) break;
      return PrintMenu(reinterpret_cast<HDC>(wparam), lparam);
    default:
      break;
  }
  return subclass_.CallOld(msg, wparam, lparam);
}

bool TSkinPopupMenu::ComposeFrameImage() {
  RECT r;
  if (!GetWindowRect(window_, &r)) return false;
  const TDataSkinObject& e = *Skin().MenuBackground;
  const RECT local{0, 0, r.right - r.left, r.bottom - r.top};
  // A menu paints its frame at WM_NCPAINT and after each WM_PAINT, and its items cut their
  // backgrounds out of the same image: one composition serves them all.
  const SIZE size{local.right, local.bottom};
  if (frame_image_ && size.cx == frame_size_.cx && size.cy == frame_size_.cy &&
      frame_source_ == e.Image.Data())
    return true;
  frame_size_ = size;
  frame_source_ = e.Image.Data();
  frame_image_ =
      ComposeElement(local, e.Image, {e.LeftWidth, e.TopHeight, e.RightWidth, e.BottomHeight}, 1, 1,
                     e.Tile != 0, false);
  return bool(frame_image_);
}

void TSkinPopupMenu::PaintFrame() {
  fw::ScopedGetDc dc = fw::ScopedGetDc::Window(window_);
  if (!dc.get() || !ComposeFrameImage()) return;
  BecomePendingIfUnknown();
  fw::ScopedMemoryDc source(CreateCompatibleDC(dc.get()));
  fw::ScopedSelectObject select(source.get(), frame_image_.get());
  BITMAP info{};
  GetObjectA(frame_image_.get(), sizeof info, &info);
  for (const PixelRect& piece : PopupBorderRing(info.bmWidth, info.bmHeight)) {
    BitBlt(dc.get(), piece.left, piece.top, piece.Width(), piece.Height(), source.get(), piece.left,
           piece.top, SRCCOPY);
  }
}

LRESULT TSkinPopupMenu::PrintMenu(HDC dc, LPARAM flags) {
  BecomePendingIfUnknown();
  RECT r;
  GetWindowRect(window_, &r);
  const int w = r.right - r.left, h = r.bottom - r.top;
  if (ComposeFrameImage()) {
    fw::ScopedMemoryDc source(CreateCompatibleDC(dc));
    fw::ScopedSelectObject select(source.get(), frame_image_.get());
    BitBlt(dc, 0, 0, w, h, source.get(), 0, 0, SRCCOPY);
  }
  // The items are rendered over the image, inside the border only.
  fw::ScopedRegion inner(
      CreateRectRgn(kPopupBorder, kPopupBorder, w - kPopupBorder, h - kPopupBorder));
  const int old_mode = SetBkMode(dc, TRANSPARENT);
  SelectClipRgn(dc, inner.get());
  const LRESULT result = subclass_.CallOld(WM_PRINT, reinterpret_cast<WPARAM>(dc), flags);
  SelectClipRgn(dc, nullptr);
  SetBkMode(dc, old_mode);
  return result;
}

}  // namespace skin
