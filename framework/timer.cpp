#include "framework/timer.h"

#include <map>

#include "framework/application.h"

namespace fw {

namespace {

std::map<UINT_PTR, TTimer*>& Timers() {
  static std::map<UINT_PTR, TTimer*> timers;
  return timers;
}

LRESULT CALLBACK UtilityProcedure(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam) {
  if (msg == WM_TIMER) {
    auto it = Timers().find(wparam);
    if (it != Timers().end() && it->second->OnTimer) {
      try {
        it->second->OnTimer(it->second);
      } catch (...) {
        if (TApplication* app = Application()) app->HandleException(std::current_exception());
      }
    }
    return 0;
  }
  return DefWindowProcA(hwnd, msg, wparam, lparam);
}

// One hidden window for all timers, made when the first timer starts; a timer's id is its
// object's address.
ScopedWindow& UtilityWindowHandle() {
  static ScopedWindow window;
  return window;
}

HWND UtilityWindow() {
  ScopedWindow& window = UtilityWindowHandle();
  if (!window) {
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = UtilityProcedure;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "TTimerWindow";
    RegisterClassExA(&wc);
    window.reset(CreateWindowExA(0, "TTimerWindow", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                 GetModuleHandleA(nullptr), nullptr));
  }
  return window.get();
}

}  // namespace

const TClassInfo& TTimer::StaticClassInfo() {
  static const TClassInfo info = DescribeClass<TTimer, TComponent>("TTimer", [](auto& c) {
    c.Bool("Enabled", &TTimer::Enabled, &TTimer::SetEnabled);
    c.Integer("Interval", &TTimer::Interval, &TTimer::SetInterval);
    c.Event("OnTimer", &TTimer::OnTimer);
  });
  return info;
}

TTimer::TTimer(TComponent* owner) : TTimer(owner, true) {}

TTimer::TTimer(TComponent* owner, bool enabled) : TComponent(owner), enabled_(enabled) { Update(); }

TTimer::~TTimer() {
  timer_.Reset();
  Timers().erase(reinterpret_cast<UINT_PTR>(this));
}

void TTimer::SetEnabled(bool v) {
  enabled_ = v;
  Update();
}

void TTimer::SetInterval(int32_t ms) {
  interval_ = ms < 0 ? 0 : static_cast<UINT>(ms);
  Update();
}

void TTimer::Loaded() {
  TComponent::Loaded();
  Update();
}

void TTimer::Update() {
  timer_.Reset();
  const auto id = reinterpret_cast<UINT_PTR>(this);
  Timers().erase(id);
  // Not while a description is being read: it starts in Loaded.
  if (!enabled_ || interval_ == 0 || IsLoading()) return;
  Timers()[id] = this;
  timer_ = ScopedTimer(UtilityWindow(), id, interval_);
}

bool FreeTimerWindow() {
  if (!Timers().empty()) return false;
  if (UtilityWindowHandle()) {
    UtilityWindowHandle().reset();
    UnregisterClassA("TTimerWindow", GetModuleHandleA(nullptr));
  }
  return true;
}

}  // namespace fw
