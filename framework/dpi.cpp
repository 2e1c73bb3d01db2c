#include "framework/dpi.h"

#include <mutex>
#include <optional>

#include "framework/scoped_handle.h"

namespace fw {

namespace {

// DPI_AWARENESS_CONTEXT values and MONITOR_DPI_TYPE / PROCESS_DPI_AWARENESS members, by
// number: the headers offer them only to programs that require a newer system.
const HANDLE kContextPerMonitor = reinterpret_cast<HANDLE>(-3);
const HANDLE kContextPerMonitorV2 = reinterpret_cast<HANDLE>(-4);
constexpr int kEffectiveDpi = 0;
constexpr int kProcessPerMonitorAware = 2;

template <class F>
F User32Function(const char* name) {
  return reinterpret_cast<F>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("user32.dll"), name)));
}

template <class F>
F ShcoreFunction(const char* name) {
  // Loaded once and kept for the process's life.
  static HMODULE shcore = LoadLibraryA("shcore.dll");
  if (!shcore) return nullptr;
  return reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(shcore, name)));
}

int ScreenDpi() {
  ScopedGetDc dc(nullptr);
  const int dpi = dc.get() ? GetDeviceCaps(dc.get(), LOGPIXELSX) : 0;
  return dpi > 0 ? dpi : kDesignDpi;
}

struct KeptFonts {
  std::mutex mutex;
  std::optional<LOGFONTA> menu;
};
KeptFonts& Kept() {
  static auto* kept = new KeptFonts;  // outlives static teardown
  return *kept;
}

}  // namespace

LOGFONTA SystemMenuFont() {
  KeptFonts& kept = Kept();
  std::lock_guard lock(kept.mutex);
  if (!kept.menu) {
    NONCLIENTMETRICSA metrics{};
    metrics.cbSize = sizeof metrics;
    if (!SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) {
      LOGFONTA fallback{};
      GetObjectA(GetStockObject(DEFAULT_GUI_FONT), sizeof fallback, &fallback);
      return fallback;  // not kept: the next call asks again
    }
    kept.menu = metrics.lfMenuFont;
  }
  return *kept.menu;
}

void ForgetSystemFonts() {
  KeptFonts& kept = Kept();
  std::lock_guard lock(kept.mutex);
  kept.menu.reset();
}

int SystemDpi() {
  static const auto get = User32Function<UINT(WINAPI*)()>("GetDpiForSystem");
  if (get) {
    if (const UINT dpi = get()) return static_cast<int>(dpi);
  }
  return ScreenDpi();
}

int WindowDpi(HWND hwnd) {
  static const auto get = User32Function<UINT(WINAPI*)(HWND)>("GetDpiForWindow");
  if (get && hwnd) {
    if (const UINT dpi = get(hwnd)) return static_cast<int>(dpi);
  }
  return ScreenDpi();
}

int SystemMetricForDpi(int index, int dpi) {
  static const auto get = User32Function<int(WINAPI*)(int, UINT)>("GetSystemMetricsForDpi");
  if (get && dpi > 0) return get(index, static_cast<UINT>(dpi));
  return ScaleForDpi(GetSystemMetrics(index), dpi, SystemDpi());
}

int MonitorDpi(HMONITOR monitor) {
  static const auto get =
      ShcoreFunction<HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*)>("GetDpiForMonitor");
  UINT x = 0, y = 0;
  if (get && monitor && SUCCEEDED(get(monitor, kEffectiveDpi, &x, &y)) && x)
    return static_cast<int>(x);
  return SystemDpi();
}

int DpiAtPoint(POINT screen_point) {
  return MonitorDpi(MonitorFromPoint(screen_point, MONITOR_DEFAULTTONEAREST));
}

TDpiAwareness CurrentDpiAwareness() {
  static const auto thread_context =
      User32Function<HANDLE(WINAPI*)()>("GetThreadDpiAwarenessContext");
  static const auto awareness_of =
      User32Function<int(WINAPI*)(HANDLE)>("GetAwarenessFromDpiAwarenessContext");
  static const auto equal =
      User32Function<BOOL(WINAPI*)(HANDLE, HANDLE)>("AreDpiAwarenessContextsEqual");
  if (thread_context && awareness_of) {
    HANDLE context = thread_context();
    if (equal && equal(context, kContextPerMonitorV2)) return TDpiAwareness::PerMonitorV2;
    switch (awareness_of(context)) {
      case 2:
        return TDpiAwareness::PerMonitor;
      case 1:
        return TDpiAwareness::System;
      default:
        return TDpiAwareness::Unaware;
    }
  }
  static const auto process_awareness =
      ShcoreFunction<HRESULT(WINAPI*)(HANDLE, int*)>("GetProcessDpiAwareness");
  if (int value = 0; process_awareness && SUCCEEDED(process_awareness(nullptr, &value)))
    return value >= kProcessPerMonitorAware ? TDpiAwareness::PerMonitor
           : value == 1                     ? TDpiAwareness::System
                                            : TDpiAwareness::Unaware;
  return IsProcessDPIAware() ? TDpiAwareness::System : TDpiAwareness::Unaware;
}

TDpiAwareness MakeProcessDpiAware() {
  // Each setter fails once the awareness is decided (by a manifest or an earlier call);
  // a system may also refuse a context it does not know (version 2): the next one is tried.
  static const auto set_context =
      User32Function<BOOL(WINAPI*)(HANDLE)>("SetProcessDpiAwarenessContext");
  static const auto set_awareness = ShcoreFunction<HRESULT(WINAPI*)(int)>("SetProcessDpiAwareness");
  if (CurrentDpiAwareness() != TDpiAwareness::Unaware) return CurrentDpiAwareness();
  if (set_context && (set_context(kContextPerMonitorV2) || set_context(kContextPerMonitor)))
    return CurrentDpiAwareness();
  if (set_awareness && SUCCEEDED(set_awareness(kProcessPerMonitorAware)))
    return CurrentDpiAwareness();
  SetProcessDPIAware();
  return CurrentDpiAwareness();
}

}  // namespace fw
