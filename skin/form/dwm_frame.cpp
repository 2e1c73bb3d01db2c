#include "skin/form/dwm_frame.h"

namespace skin {

namespace {

DwmSetWindowAttributeFn g_setter = nullptr;  // a test's replacement

DwmSetWindowAttributeFn SystemSetter() {
  // Loaded once for the process and never freed, like the system's own DLLs.
  static const DwmSetWindowAttributeFn setter = [] {
    HMODULE dwm = LoadLibraryA("dwmapi.dll");
    FARPROC found = dwm ? GetProcAddress(dwm, "DwmSetWindowAttribute") : nullptr;
    return reinterpret_cast<DwmSetWindowAttributeFn>(reinterpret_cast<void*>(found));
  }();
  return setter;
}

void SetAttribute(HWND window, DWORD attribute, DWORD value) {
  if (DwmSetWindowAttributeFn setter = DwmAttributeSetter())
    setter(window, attribute, &value, sizeof value);  // refused on older systems: no matter
}

}  // namespace

DwmSetWindowAttributeFn DwmAttributeSetter() { return g_setter ? g_setter : SystemSetter(); }

DwmSetWindowAttributeFn SetDwmAttributeSetter(DwmSetWindowAttributeFn setter) {
  const DwmSetWindowAttributeFn old = DwmAttributeSetter();
  g_setter = setter;
  return old;
}

void TakeOverDwmFrame(HWND window) {
  SetAttribute(window, kDwmNcRenderingPolicy, kDwmNcRenderingDisabled);
  SetAttribute(window, kDwmWindowCornerPreference, kDwmCornerDoNotRound);
}

void GiveBackDwmFrame(HWND window) {
  SetAttribute(window, kDwmNcRenderingPolicy, kDwmNcRenderingUseWindowStyle);
  SetAttribute(window, kDwmWindowCornerPreference, kDwmCornerDefault);
}

}  // namespace skin
