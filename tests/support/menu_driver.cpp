#include "tests/support/menu_driver.h"

#include <algorithm>
#include <map>
#include <string_view>

#include "tests/support/fw_test.h"

namespace fwtest {

namespace {
std::map<UINT_PTR, MenuDriver*>& Drivers() {
  static std::map<UINT_PTR, MenuDriver*> drivers;
  return drivers;
}

void SendKey(WORD vk, bool up) {
  INPUT input{};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = vk;
  input.ki.wScan = WORD(MapVirtualKeyA(vk, 0));
  input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
  SendInput(1, &input, sizeof input);
}

BOOL CALLBACK CollectMenu(HWND hwnd, LPARAM lparam) {
  char name[32] = {};
  GetClassNameA(hwnd, name, sizeof name);
  if (std::string_view(name) == "#32768" && IsWindowVisible(hwnd) && OfThisProgram(hwnd))
    reinterpret_cast<std::vector<HWND>*>(lparam)->push_back(hwnd);
  return TRUE;
}
}  // namespace

void KeyDown(WORD vk) { SendKey(vk, false); }
void KeyUp(WORD vk) { SendKey(vk, true); }
void TapKey(WORD vk) {
  SendKey(vk, false);
  SendKey(vk, true);
}

void MoveMouse(int x, int y) {
  SetCursorPos(x, y);
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi.dx = x * 65535 / std::max(1, GetSystemMetrics(SM_CXSCREEN) - 1);
  input.mi.dy = y * 65535 / std::max(1, GetSystemMetrics(SM_CYSCREEN) - 1);
  input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
  SendInput(1, &input, sizeof input);
}

void ClickAt(int x, int y, bool right) {
  MoveMouse(x, y);
  INPUT input[2] = {};
  input[0].type = input[1].type = INPUT_MOUSE;
  input[0].mi.dwFlags = right ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_LEFTDOWN;
  input[1].mi.dwFlags = right ? MOUSEEVENTF_RIGHTUP : MOUSEEVENTF_LEFTUP;
  SendInput(2, input, sizeof input[0]);
}

std::vector<HWND> VisibleMenuWindows() {
  std::vector<HWND> menus;
  EnumWindows(CollectMenu, reinterpret_cast<LPARAM>(&menus));
  return menus;
}

MenuDriver::MenuDriver(std::vector<Step> steps, int interval_ms, int give_up_ms)
    : steps_(std::move(steps)), last_progress_(GetTickCount()), give_up_ms_(give_up_ms) {
  timer_ = SetTimer(nullptr, 0, UINT(interval_ms), OnTick);
  Drivers()[timer_] = this;
}

MenuDriver::~MenuDriver() {
  if (timer_) {
    KillTimer(nullptr, timer_);
    Drivers().erase(timer_);
  }
}

void CALLBACK MenuDriver::OnTick(HWND, UINT, UINT_PTR id, DWORD) {
  auto it = Drivers().find(id);
  if (it != Drivers().end()) it->second->Tick();
}

void MenuDriver::Tick() {
  const std::vector<HWND> menus = VisibleMenuWindows();
  for (HWND m : menus) {
    if (std::find(seen_.begin(), seen_.end(), m) == seen_.end()) seen_.push_back(m);
  }
  const bool stalled = GetTickCount() - last_progress_ > DWORD(give_up_ms_);
  if (next_ >= steps_.size() || stalled) {
    if (!menus.empty()) EndMenu();
    if (!finished_ && (menus.empty() || stalled)) finished_ = true;
    return;
  }
  if (menus.empty()) return;
  last_progress_ = GetTickCount();
  steps_[next_++](menus.front());
}

}  // namespace fwtest
