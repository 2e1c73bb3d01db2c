#pragma once
// Driving menus from tests: real input (SendInput) and steps that run inside a menu's modal
// loop. A menu loop (TrackPopupMenu, a menu bar's drop-down) does not return until the
// menu closes, so whatever a test wants to do while it is open runs from a thread timer,
// which the loop dispatches.
//
//   fwtest::MenuDriver driver({
//       [](HWND menu) { fwtest::TapKey(VK_DOWN); },
//       [](HWND menu) { fwtest::TapKey(VK_RETURN); },
//   });
//   popup->Popup(100, 100);   // returns once the steps closed the menu
//
// Each step runs on a tick at which a visible menu window ("#32768") exists, one step per
// tick, given the top-most such window. When the steps are used up, or when no step could
// run for `give_up_ms`, any menu still open is ended (EndMenu), so no test hangs in a loop.
#include <windows.h>

#include <functional>
#include <vector>

namespace fwtest {

// Key and mouse input as a user makes it.
void KeyDown(WORD vk);
void KeyUp(WORD vk);
void TapKey(WORD vk);
// Moves the cursor to a screen point (SetCursorPos plus an absolute mouse move).
void MoveMouse(int x, int y);
void ClickAt(int x, int y, bool right = false);

// The visible menu windows, top-most first.
std::vector<HWND> VisibleMenuWindows();

class MenuDriver {
 public:
  using Step = std::function<void(HWND menu_window)>;
  explicit MenuDriver(std::vector<Step> steps, int interval_ms = 60, int give_up_ms = 3000);
  MenuDriver(const MenuDriver&) = delete;
  MenuDriver& operator=(const MenuDriver&) = delete;
  ~MenuDriver();

  // Steps that ran so far.
  int StepsRun() const { return next_; }
  // Every menu window seen during the drive, in the order first seen.
  const std::vector<HWND>& MenusSeen() const { return seen_; }
  bool Finished() const { return finished_; }

 private:
  static void CALLBACK OnTick(HWND, UINT, UINT_PTR id, DWORD);
  void Tick();

  std::vector<Step> steps_;
  size_t next_ = 0;
  std::vector<HWND> seen_;
  DWORD last_progress_;
  int give_up_ms_;
  UINT_PTR timer_ = 0;
  bool finished_ = false;
};

}  // namespace fwtest
