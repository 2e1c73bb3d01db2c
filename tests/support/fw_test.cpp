#include "tests/support/fw_test.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <malloc.h>
#include <mutex>
#include <set>
#include <thread>

#include "framework/scoped_handle.h"

namespace fwtest {

void RecordBox(HWND box);

namespace {

thread_local MessageBoxRecorder* g_recorder = nullptr;
fw::ScopedHook g_hook;

std::string WindowText(HWND hwnd) {
  char buffer[2048] = {};
  GetWindowTextA(hwnd, buffer, sizeof buffer);
  return buffer;
}

std::string ClassOf(HWND hwnd) {
  char buffer[100] = {};
  GetClassNameA(hwnd, buffer, sizeof buffer);
  return buffer;
}

// A message box's parts: the static with id 0xFFFF holds the text; buttons are children
// of class "Button"; an SS_ICON static shows the icon.
RecordedBox Describe(HWND box) {
  RecordedBox r;
  r.caption = WindowText(box);
  GetWindowRect(box, &r.rect);
  for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    // The box's template has every button; its own visibility does not matter (it may be
    // read while hidden).
    if (!(GetWindowLongA(child, GWL_STYLE) & WS_VISIBLE)) continue;
    const std::string cls = ClassOf(child);
    if (_stricmp(cls.c_str(), "Button") == 0) {
      r.buttons.push_back(WindowText(child));
    } else if (_stricmp(cls.c_str(), "Static") == 0) {
      if (GetDlgCtrlID(child) == 0xFFFF) {
        r.text = WindowText(child);
      } else if ((GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) {
        // The template always has the icon static; it shows an icon only when asked to.
        r.has_icon = r.has_icon || SendMessageA(child, STM_GETICON, 0, 0) != 0;
      }
    }
  }
  if (fw::TApplication* app = fw::Application();
      app && app->MainForm() && app->MainForm()->HandleAllocated())
    r.owner_disabled = !IsWindowEnabled(app->MainForm()->Handle());
  return r;
}

// Boxes activated and not yet recorded. Activation comes before the box has laid itself
// out (text, buttons, position), so the recording waits for a timer tick, which the box's
// own message loop dispatches once it runs.
thread_local std::vector<HWND> g_pending;

void CALLBACK RecordPending(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  std::vector<HWND> boxes = std::move(g_pending);
  g_pending.clear();
  for (HWND box : boxes) {
    if (IsWindow(box)) RecordBox(box);
  }
}

LRESULT CALLBACK CbtHook(int code, WPARAM wparam, LPARAM lparam) {
  if (code == HCBT_ACTIVATE) {
    HWND hwnd = reinterpret_cast<HWND>(wparam);
    if (OfThisProgram(hwnd) && ClassOf(hwnd) == "#32770" &&
        std::find(g_pending.begin(), g_pending.end(), hwnd) == g_pending.end()) {
      g_pending.push_back(hwnd);
      SetTimer(nullptr, 0, 10, RecordPending);
    }
  }
  return CallNextHookEx(nullptr, code, wparam, lparam);
}

std::atomic<long long> g_deadline_ms{0};
std::mutex g_name_mutex;
std::string g_test_name;

long long NowMs() {
  return std::chrono::duration_cast<std::chrono::milliseconds>(
             std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

int WatchdogSeconds() {
  const char* value = std::getenv("FW_TEST_WATCHDOG");
  const int seconds = value ? std::atoi(value) : 0;
  return seconds > 0 ? seconds : 30;
}

class WatchdogListener : public testing::EmptyTestEventListener {
  void OnTestStart(const testing::TestInfo& info) override {
    {
      std::lock_guard lock(g_name_mutex);
      g_test_name = std::string(info.test_suite_name()) + "." + info.name();
    }
    g_deadline_ms = NowMs() + WatchdogSeconds() * 1000LL;
  }
  void OnTestEnd(const testing::TestInfo&) override { g_deadline_ms = 0; }
};

std::string HeapName(HANDLE heap) {
  if (heap == reinterpret_cast<HANDLE>(_get_heap_handle()))
    return "the C runtime heap (new, delete, malloc, free)";
  if (heap == GetProcessHeap()) return "the process heap";
  char name[40];
  std::snprintf(name, sizeof name, "heap %p", heap);
  return name;
}

// A damaged heap stays damaged until its overwritten block is reused, so each heap fails
// only the first test after which it is found damaged.
class HeapCheckListener : public testing::EmptyTestEventListener {
  void OnTestEnd(const testing::TestInfo&) override {
    for (const std::string& heap : DamagedHeaps()) {
      if (!reported_.insert(heap).second) continue;
      ADD_FAILURE() << heap << " is damaged after this test: a block was written after it "
                    << "was freed, or past its end (HeapValidate fails; later tests of this "
                    << "program no longer check this heap)";
    }
  }
  std::set<std::string> reported_;
};

}  // namespace

std::vector<std::string> DamagedHeaps() {
  std::vector<HANDLE> heaps(64);
  for (;;) {
    const DWORD count = GetProcessHeaps(static_cast<DWORD>(heaps.size()), heaps.data());
    const bool fits = count <= heaps.size();
    heaps.resize(count);
    if (fits) break;
  }
  std::vector<std::string> damaged;
  for (HANDLE heap : heaps) {
    if (!HeapValidate(heap, 0, nullptr)) damaged.push_back(HeapName(heap));
  }
  return damaged;
}

bool OfThisProgram(HWND window) {
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  return process == GetCurrentProcessId();
}

void RecordBox(HWND box) {
  RecordedBox r = Describe(box);
  // Close it once its message loop runs: the default button (OK for MB_OK).
  const LRESULT def = SendMessageA(box, DM_GETDEFID, 0, 0);
  const WPARAM id = HIWORD(def) == DC_HASDEFID ? LOWORD(def) : IDOK;
  PostMessageA(box, WM_COMMAND, id, 0);
  if (g_recorder) {
    g_recorder->boxes_.push_back(std::move(r));
  } else {
    ADD_FAILURE() << "unexpected message box \"" << r.caption << "\": " << r.text;
  }
}

MessageBoxRecorder::MessageBoxRecorder() : previous_(g_recorder) { g_recorder = this; }
MessageBoxRecorder::~MessageBoxRecorder() { g_recorder = previous_; }

std::vector<std::string> MessageBoxRecorder::Texts() const {
  std::vector<std::string> texts;
  for (const auto& b : boxes_) texts.push_back(b.text);
  return texts;
}

namespace {

// True when the cursor had to move.
bool ParkCursor() {
  const POINT corner{GetSystemMetrics(SM_CXSCREEN) - 1, GetSystemMetrics(SM_CYSCREEN) - 1};
  POINT cursor{};
  GetCursorPos(&cursor);
  if (cursor.x == corner.x && cursor.y == corner.y) return false;
  SetCursorPos(corner.x, corner.y);
  return true;
}

}  // namespace

double ContrastRatio(COLORREF a, COLORREF b) {
  const auto luminance = [](COLORREF c) {
    const auto channel = [](int v) {
      const double s = v / 255.0;
      return s <= 0.03928 ? s / 12.92 : std::pow((s + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(GetRValue(c)) + 0.7152 * channel(GetGValue(c)) +
           0.0722 * channel(GetBValue(c));
  };
  const double la = luminance(a), lb = luminance(b);
  return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

fw::HandleSnapshot QuietHandleSnapshot() {
  // Past one hover poll, which lets go of what the cursor left.
  if (ParkCursor()) PumpFor(300);
  return fw::LiveHandleSnapshot();
}

std::string SettledHandleDifference(const fw::HandleSnapshot& start) {
  ParkCursor();
  std::string difference;
  PumpUntil(
      [&] {
        difference = fw::LiveHandleSnapshot().DifferenceFrom(start);
        return difference.empty();
      },
      1500);
  return difference;
}

bool PumpUntil(const std::function<bool()>& condition, int timeout_ms) {
  const long long end = NowMs() + timeout_ms;
  for (;;) {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
    if (condition()) return true;
    const long long left = end - NowMs();
    if (left <= 0) return condition();
    MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(std::min(left, 20LL)),
                              QS_ALLINPUT);
  }
}

void PumpFor(int milliseconds) {
  PumpUntil([] { return false; }, milliseconds);
}

namespace {
void SendAndDispatch(INPUT* inputs, UINT count) {
  SendInput(count, inputs, sizeof(INPUT));
  // Input goes through the system's queue (under Wine, through the X server): wait a little
  // for it to arrive, then dispatch what it caused.
  PumpFor(60);
}
}  // namespace

void ClickAt(HWND hwnd, POINT client_point) {
  HWND top = GetAncestor(hwnd, GA_ROOT);
  if (top && GetForegroundWindow() != top) {
    SetForegroundWindow(top);
    PumpFor(30);
  }
  POINT screen = client_point;
  ClientToScreen(hwnd, &screen);
  SetCursorPos(screen.x, screen.y);
  PumpFor(20);
  INPUT inputs[2] = {};
  inputs[0].type = inputs[1].type = INPUT_MOUSE;
  inputs[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
  inputs[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
  SendAndDispatch(inputs, 2);
}

void PressKey(WORD virtual_key) {
  INPUT inputs[2] = {};
  inputs[0].type = inputs[1].type = INPUT_KEYBOARD;
  inputs[0].ki.wVk = inputs[1].ki.wVk = virtual_key;
  inputs[1].ki.dwFlags = KEYEVENTF_KEYUP;
  SendAndDispatch(inputs, 2);
}

void InstallTestGuards() {
  g_hook.reset(SetWindowsHookExA(WH_CBT, CbtHook, nullptr, GetCurrentThreadId()));
  testing::UnitTest::GetInstance()->listeners().Append(new WatchdogListener);
  testing::UnitTest::GetInstance()->listeners().Append(new HeapCheckListener);
  std::thread([] {
    for (;;) {
      std::this_thread::sleep_for(std::chrono::milliseconds(200));
      const long long deadline = g_deadline_ms;
      if (deadline && NowMs() > deadline) {
        std::lock_guard lock(g_name_mutex);
        std::fprintf(stderr, "watchdog: %s still running after %d s; ending the process\n",
                     g_test_name.c_str(), WatchdogSeconds());
        std::fflush(stderr);
        TerminateProcess(GetCurrentProcess(), 3);
      }
    }
  }).detach();
}

void EndProcess(int result) {
  std::fflush(stdout);
  std::fflush(stderr);
  TerminateProcess(GetCurrentProcess(), static_cast<UINT>(result));
  std::_Exit(result);
}

}  // namespace fwtest
