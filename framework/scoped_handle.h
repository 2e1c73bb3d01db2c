#pragma once
// Owning wrappers for GDI and USER handles: one template, one traits type per kind.
// Copy is deleted, move transfers ownership, release() hands the handle over (for
// example to SetWindowRgn, which takes ownership of the region).
#include <windows.h>

#include <utility>

namespace fw {

template <typename Traits>
class ScopedHandle {
 public:
  using Handle = typename Traits::Handle;

  ScopedHandle() = default;
  explicit ScopedHandle(Handle h) : handle_(h) {}
  ScopedHandle(const ScopedHandle&) = delete;
  ScopedHandle& operator=(const ScopedHandle&) = delete;
  ScopedHandle(ScopedHandle&& other) noexcept : handle_(other.release()) {}
  ScopedHandle& operator=(ScopedHandle&& other) noexcept {
    reset(other.release());
    return *this;
  }
  ~ScopedHandle() { reset(); }

  Handle get() const { return handle_; }
  explicit operator bool() const { return handle_ != nullptr; }
  Handle release() { return std::exchange(handle_, nullptr); }
  void reset(Handle h = nullptr) {
    if (handle_ && handle_ != h) Traits::Close(handle_);
    handle_ = h;
  }

 private:
  Handle handle_ = nullptr;
};

template <typename T>
struct GdiObjectTraits {
  using Handle = T;
  static void Close(T h) { DeleteObject(h); }
};

using ScopedBitmap = ScopedHandle<GdiObjectTraits<HBITMAP>>;
using ScopedBrush = ScopedHandle<GdiObjectTraits<HBRUSH>>;
using ScopedPen = ScopedHandle<GdiObjectTraits<HPEN>>;
using ScopedFont = ScopedHandle<GdiObjectTraits<HFONT>>;
using ScopedRegion = ScopedHandle<GdiObjectTraits<HRGN>>;

struct MemoryDcTraits {
  using Handle = HDC;
  static void Close(HDC h) { DeleteDC(h); }
};
// A DC from CreateCompatibleDC.
using ScopedMemoryDc = ScopedHandle<MemoryDcTraits>;

struct HookTraits {
  using Handle = HHOOK;
  static void Close(HHOOK h) { UnhookWindowsHookEx(h); }
};
using ScopedHook = ScopedHandle<HookTraits>;

struct IconTraits {
  using Handle = HICON;
  static void Close(HICON h) { DestroyIcon(h); }
};
using ScopedIcon = ScopedHandle<IconTraits>;

struct MenuTraits {
  using Handle = HMENU;
  static void Close(HMENU h) { DestroyMenu(h); }
};
using ScopedMenu = ScopedHandle<MenuTraits>;

// A window's DC from GetDC (or the screen's, for a null window), released on scope exit.
class ScopedGetDc {
 public:
  explicit ScopedGetDc(HWND hwnd) : hwnd_(hwnd), dc_(GetDC(hwnd)) {}
  ScopedGetDc(const ScopedGetDc&) = delete;
  ScopedGetDc& operator=(const ScopedGetDc&) = delete;
  ~ScopedGetDc() {
    if (dc_) ReleaseDC(hwnd_, dc_);
  }
  HDC get() const { return dc_; }

 private:
  HWND hwnd_;
  HDC dc_;
};

// Selects an object into a DC for the scope's time and puts the previous one back.
class ScopedSelectObject {
 public:
  ScopedSelectObject(HDC dc, HGDIOBJ object) : dc_(dc), old_(SelectObject(dc, object)) {}
  ScopedSelectObject(const ScopedSelectObject&) = delete;
  ScopedSelectObject& operator=(const ScopedSelectObject&) = delete;
  ~ScopedSelectObject() {
    if (old_ && old_ != HGDI_ERROR) SelectObject(dc_, old_);
  }

 private:
  HDC dc_;
  HGDIOBJ old_;
};

}  // namespace fw

namespace fw {

struct WindowTraits {
  using Handle = HWND;
  static void Close(HWND h) { DestroyWindow(h); }
};
// A window the owner destroys (hidden utility windows).
using ScopedWindow = ScopedHandle<WindowTraits>;

// A timer of a window, killed on scope exit.
class ScopedTimer {
 public:
  ScopedTimer() = default;
  ScopedTimer(HWND hwnd, UINT_PTR id, UINT interval)
      : hwnd_(hwnd), id_(SetTimer(hwnd, id, interval, nullptr)) {}
  ScopedTimer(const ScopedTimer&) = delete;
  ScopedTimer& operator=(const ScopedTimer&) = delete;
  ScopedTimer(ScopedTimer&& other) noexcept
      : hwnd_(other.hwnd_), id_(std::exchange(other.id_, 0)) {}
  ScopedTimer& operator=(ScopedTimer&& other) noexcept {
    Reset();
    hwnd_ = other.hwnd_;
    id_ = std::exchange(other.id_, 0);
    return *this;
  }
  ~ScopedTimer() { Reset(); }
  explicit operator bool() const { return id_ != 0; }
  void Reset() {
    if (id_) KillTimer(hwnd_, id_);
    id_ = 0;
  }

 private:
  HWND hwnd_ = nullptr;
  UINT_PTR id_ = 0;
};

}  // namespace fw
