#pragma once
// Owning wrappers for GDI and USER handles: one template, one traits type per kind.
// Copy is deleted, move transfers ownership, release() hands the handle over (for
// example to SetWindowRgn, which takes ownership of the region).
//
// Every wrapper counts the handles it holds, per kind, so that tests can check that a
// long run ends with as many live objects as it started with (Wine's GetGuiResources
// always answers 0). A handle handed over with release() no longer counts: its new
// owner (the window, for a region) frees it.
#include <windows.h>

#include <utility>

#include "framework/handle_counts.h"

namespace fw {

template <typename Traits>
class ScopedHandle {
 public:
  using Handle = typename Traits::Handle;

  ScopedHandle() = default;
  explicit ScopedHandle(Handle h) : handle_(h) {
    if (h) CountHandle(Traits::kKind, +1);
  }
  ScopedHandle(const ScopedHandle&) = delete;
  ScopedHandle& operator=(const ScopedHandle&) = delete;
  // Ownership moves; the count stays as it is.
  ScopedHandle(ScopedHandle&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
  ScopedHandle& operator=(ScopedHandle&& other) noexcept {
    reset(other.release());
    return *this;
  }
  ~ScopedHandle() { reset(); }

  Handle get() const { return handle_; }
  explicit operator bool() const { return handle_ != nullptr; }
  Handle release() {
    if (handle_) CountHandle(Traits::kKind, -1);
    return std::exchange(handle_, nullptr);
  }
  void reset(Handle h = nullptr) {
    if (handle_ == h) return;
    if (handle_) {
      Traits::Close(handle_);
      CountHandle(Traits::kKind, -1);
    }
    handle_ = h;
    if (h) CountHandle(Traits::kKind, +1);
  }

 private:
  Handle handle_ = nullptr;
};

template <typename T, HandleKind K>
struct GdiObjectTraits {
  using Handle = T;
  static constexpr HandleKind kKind = K;
  static void Close(T h) { DeleteObject(h); }
};

using ScopedBitmap = ScopedHandle<GdiObjectTraits<HBITMAP, HandleKind::Bitmap>>;
using ScopedBrush = ScopedHandle<GdiObjectTraits<HBRUSH, HandleKind::Brush>>;
using ScopedPen = ScopedHandle<GdiObjectTraits<HPEN, HandleKind::Pen>>;
using ScopedFont = ScopedHandle<GdiObjectTraits<HFONT, HandleKind::Font>>;
using ScopedRegion = ScopedHandle<GdiObjectTraits<HRGN, HandleKind::Region>>;

struct MemoryDcTraits {
  using Handle = HDC;
  static constexpr HandleKind kKind = HandleKind::MemoryDc;
  static void Close(HDC h) { DeleteDC(h); }
};
// A DC from CreateCompatibleDC.
using ScopedMemoryDc = ScopedHandle<MemoryDcTraits>;

struct HookTraits {
  using Handle = HHOOK;
  static constexpr HandleKind kKind = HandleKind::Hook;
  static void Close(HHOOK h) { UnhookWindowsHookEx(h); }
};
using ScopedHook = ScopedHandle<HookTraits>;

struct IconTraits {
  using Handle = HICON;
  static constexpr HandleKind kKind = HandleKind::Icon;
  static void Close(HICON h) { DestroyIcon(h); }
};
using ScopedIcon = ScopedHandle<IconTraits>;

struct MenuTraits {
  using Handle = HMENU;
  static constexpr HandleKind kKind = HandleKind::Menu;
  static void Close(HMENU h) { DestroyMenu(h); }
};
using ScopedMenu = ScopedHandle<MenuTraits>;

// A window's DC from GetDC (or the screen's, for a null window), released on scope exit.
class ScopedGetDc {
 public:
  explicit ScopedGetDc(HWND hwnd) : ScopedGetDc(hwnd, GetDC(hwnd)) {}
  ScopedGetDc(const ScopedGetDc&) = delete;
  ScopedGetDc& operator=(const ScopedGetDc&) = delete;
  ~ScopedGetDc() {
    if (dc_) {
      ReleaseDC(hwnd_, dc_);
      CountHandle(HandleKind::WindowDc, -1);
    }
  }
  HDC get() const { return dc_; }

  // The whole window's DC (GetWindowDC), or one from GetDCEx.
  static ScopedGetDc Window(HWND hwnd) { return ScopedGetDc(hwnd, GetWindowDC(hwnd)); }
  static ScopedGetDc Ex(HWND hwnd, HRGN clip, DWORD flags) {
    return ScopedGetDc(hwnd, GetDCEx(hwnd, clip, flags));
  }
  // Holds nothing (for a caller that was given a DC).
  static ScopedGetDc None() { return ScopedGetDc(nullptr, nullptr); }
  ScopedGetDc(ScopedGetDc&& other) noexcept
      : hwnd_(other.hwnd_), dc_(std::exchange(other.dc_, nullptr)) {}

 private:
  ScopedGetDc(HWND hwnd, HDC dc) : hwnd_(hwnd), dc_(dc) {
    if (dc_) CountHandle(HandleKind::WindowDc, +1);
  }
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
  static constexpr HandleKind kKind = HandleKind::Window;
  static void Close(HWND h) { DestroyWindow(h); }
};
// A window the owner destroys (hidden utility windows).
using ScopedWindow = ScopedHandle<WindowTraits>;

// A timer of a window, killed on scope exit.
class ScopedTimer {
 public:
  ScopedTimer() = default;
  ScopedTimer(HWND hwnd, UINT_PTR id, UINT interval)
      : hwnd_(hwnd), id_(SetTimer(hwnd, id, interval, nullptr)) {
    if (id_) CountHandle(HandleKind::Timer, +1);
  }
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
    if (id_) {
      KillTimer(hwnd_, id_);
      CountHandle(HandleKind::Timer, -1);
    }
    id_ = 0;
  }

 private:
  HWND hwnd_ = nullptr;
  UINT_PTR id_ = 0;
};

}  // namespace fw
