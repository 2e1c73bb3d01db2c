#pragma once
// TTimer: fires OnTimer every Interval milliseconds while Enabled, through the thread's
// message loop (a timer on a hidden message-only window shared by all timers).
#include "framework/component.h"
#include "framework/scoped_handle.h"

namespace fw {

class TTimer : public TComponent {
  FW_CLASS_INFO()
 public:
  explicit TTimer(TComponent* owner);
  // A timer that starts stopped (`enabled` false) makes no window and no system timer until
  // it is first enabled.
  TTimer(TComponent* owner, bool enabled);
  ~TTimer() override;

  bool Enabled() const { return enabled_; }
  void SetEnabled(bool v);
  int32_t Interval() const { return static_cast<int32_t>(interval_); }
  void SetInterval(int32_t ms);

  TNotifyEvent OnTimer;
  void Loaded() override;

 private:
  void Update();
  bool enabled_ = true;
  UINT interval_ = 1000;
  ScopedTimer timer_;
};

// Destroys the hidden window that delivers every timer's ticks, when no timer is left
// (true then); the next timer makes it again. For code that must leave nothing behind in a
// process it does not own (the engine's DLL when it stops).
bool FreeTimerWindow();

}  // namespace fw
