// Opening a 30-item drop-down to its first complete paint, skinned (owner-drawn items, the
// skinned frame) and unskinned (the system's menu), under the skin manager's hook. Each
// opening starts with TrackPopupMenu and ends when the menu window has finished its first
// WM_PAINT (seen by a subclass of the menu window, the outermost); the menu is then ended.
// The timed openings run without message hooks: under Wine each hooked message costs round
// trips to the window server, more for the skinned menu, whose items send messages of their
// own. Separate openings with hooks then show where the time goes. Run it in a Wine session:
//   scripts/wine-session.sh $PWD/build/wineprefix wine build/win32/bench/menu_bench.exe [N]
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <cstdlib>
#include <string>
#include <vector>

#include "framework/application.h"
#include "framework/menus.h"
#include "framework/scoped_handle.h"
#include "framework/window_subclass.h"
#include "skin/data/skin_data.h"
#include "skin/manager/menu_item_drawing.h"
#include "skin/manager/skin_manager.h"
#include "tests/skin/manager/menu_drawing_test_skin.h"

namespace {

LARGE_INTEGER g_start, g_frequency;
double g_elapsed_ms = -1;
// Time spent in the skinned item drawing and measuring, over all openings.
double g_draw_ms = 0, g_measure_ms = 0;

double MsSince(const LARGE_INTEGER& t0) {
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  return double(now.QuadPart - t0.QuadPart) * 1000.0 / double(g_frequency.QuadPart);
}

// Time inside the menu window's procedure, per message (inclusive of what it sends on),
// summed over the measured openings: where a skinned opening spends its time.
std::map<UINT, double>* g_by_message = nullptr;
std::vector<std::pair<UINT, LARGE_INTEGER>> g_open_calls;
// The menu window of the opening under way (a class name is itself a server request).
HWND g_menu_window = nullptr;
fw::WindowSubclass g_menu_subclass;

bool IsMenuWindow(HWND hwnd) { return hwnd && hwnd == g_menu_window; }

LRESULT MenuWindowProc(void*, HWND, UINT msg, WPARAM wparam, LPARAM lparam) {
  if (msg == WM_NCDESTROY) g_menu_window = nullptr;
  const LRESULT result = g_menu_subclass.CallOld(msg, wparam, lparam);
  if (msg == WM_PAINT && g_elapsed_ms < 0) {
    g_elapsed_ms = MsSince(g_start);
    PostMessageA(g_menu_subclass.Window(), WM_KEYDOWN, VK_ESCAPE, 0);
  }
  return result;
}

// Installed before the skin manager's hook, so it runs after it: the bench's subclass of
// the menu window is put over the engine's.
LRESULT CALLBACK CreationHook(int code, WPARAM wparam, LPARAM lparam) {
  if (code == HCBT_CREATEWND) {
    auto hwnd = reinterpret_cast<HWND>(wparam);
    char name[16] = {};
    GetClassNameA(hwnd, name, sizeof name);
    if (std::string(name) == "#32768") {
      g_menu_window = hwnd;
      g_menu_subclass.Restore();  // a menu window that was never destroyed
      g_menu_subclass.Install(hwnd, &MenuWindowProc, nullptr);
    }
  }
  return CallNextHookEx(nullptr, code, wparam, lparam);
}

LRESULT CALLBACK BeforeMessage(int code, WPARAM wparam, LPARAM lparam) {
  auto* info = reinterpret_cast<CWPSTRUCT*>(lparam);
  if (code == HC_ACTION && g_by_message && IsMenuWindow(info->hwnd)) {
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    g_open_calls.push_back({info->message, now});
  }
  return CallNextHookEx(nullptr, code, wparam, lparam);
}

LRESULT CALLBACK AfterMessage(int code, WPARAM wparam, LPARAM lparam) {
  auto* info = reinterpret_cast<CWPRETSTRUCT*>(lparam);
  if (code == HC_ACTION && g_by_message && IsMenuWindow(info->hwnd) && !g_open_calls.empty() &&
      g_open_calls.back().first == info->message) {
    (*g_by_message)[info->message] += MsSince(g_open_calls.back().second);
    g_open_calls.pop_back();
  }
  return CallNextHookEx(nullptr, code, wparam, lparam);
}

// Median of `rounds` openings, in milliseconds.
double Measure(fw::TPopupMenu& menu, int rounds, std::map<UINT, double>* by_message = nullptr) {
  std::vector<double> times;
  g_by_message = by_message;
  // The message hooks only where the time per message is asked for.
  fw::ScopedHook after(
      by_message ? SetWindowsHookExA(WH_CALLWNDPROCRET, AfterMessage, nullptr, GetCurrentThreadId())
                 : nullptr);
  fw::ScopedHook before(
      by_message ? SetWindowsHookExA(WH_CALLWNDPROC, BeforeMessage, nullptr, GetCurrentThreadId())
                 : nullptr);
  for (int i = 0; i < rounds; ++i) {
    g_open_calls.clear();
    g_elapsed_ms = -1;
    QueryPerformanceCounter(&g_start);
    menu.Popup(100, 100);
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
    if (g_elapsed_ms >= 0) times.push_back(g_elapsed_ms);
  }
  g_by_message = nullptr;
  if (times.empty()) return -1;
  std::sort(times.begin(), times.end());
  return times[times.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 30;
  QueryPerformanceFrequency(&g_frequency);
  fw::TApplication app;
  skin::TSkinData data(nullptr);
  menutest::FillMenuSkin(data);
  fw::ScopedHook creation(SetWindowsHookExA(WH_CBT, CreationHook, nullptr, GetCurrentThreadId()));
  skin::TSkinManage* manager = skin::CreateSkinManager();
  manager->AddSkinData(&data);
  manager->InstallHook();

  fw::TPopupMenu plain(nullptr), skinned(nullptr);
  for (int i = 0; i < 30; ++i) {
    const std::string caption = i % 7 == 6 ? "-" : "Item number " + std::to_string(i + 1);
    for (fw::TPopupMenu* menu : {&plain, &skinned}) {
      auto* item = new fw::TMenuItem(nullptr);
      item->SetCaption(caption);
      if (i % 5 == 0) item->SetShortCut(fw::ShortCut('A' + i % 26, fw::scCtrl));
      item->SetChecked(i % 4 == 1);
      menu->Items()->Add(item);
    }
  }
  for (int i = 0; i < skinned.Items()->Count(); ++i) {
    fw::TMenuItem* item = skinned.Items()->Items(i);
    item->OnAdvancedDrawItem = [&data, item](fw::TObject*, fw::TCanvas& canvas, const RECT& rect,
                                             UINT state) {
      LARGE_INTEGER t0;
      QueryPerformanceCounter(&t0);
      skin::DrawMenuItem(data, *item, canvas, (state & ODS_SELECTED) != 0, rect);
      g_draw_ms += MsSince(t0);
    };
    item->OnMeasureItem = [&data, item](fw::TObject*, fw::TCanvas& canvas, int& w, int& h) {
      LARGE_INTEGER t0;
      QueryPerformanceCounter(&t0);
      item->DefaultMeasureItem(canvas, w, h);
      skin::MeasurePopupMenuItem(data, *item, canvas, w);
      g_measure_ms += MsSince(t0);
    };
  }

  manager->Active = false;
  Measure(plain, 3);  // warm-up
  std::map<UINT, double> plain_messages, skinned_messages;
  const double unskinned = Measure(plain, rounds);
  Measure(plain, rounds, &plain_messages);
  manager->Active = true;
  Measure(skinned, 3);
  g_draw_ms = g_measure_ms = 0;
  const double with_skin = Measure(skinned, rounds);
  const double draw_ms = g_draw_ms, measure_ms = g_measure_ms;
  Measure(skinned, rounds, &skinned_messages);
  std::printf("30-item drop-down, open to first complete paint (median of %d):\n", rounds);
  std::printf("  unskinned  %8.2f ms\n", unskinned);
  std::printf("  skinned    %8.2f ms\n", with_skin);
  if (unskinned > 0) std::printf("  ratio      %8.2f x\n", with_skin / unskinned);
  std::printf("  of which, per skinned opening: item drawing %.2f ms, measuring %.2f ms\n",
              draw_ms / rounds, measure_ms / rounds);
  std::printf(
      "  time in the menu window's procedure per opening, with message hooks on (unskinned /"
      " skinned):\n");
  std::map<UINT, double> all = plain_messages;
  for (const auto& [message, ms] : skinned_messages) all[message] += 0;
  for (const auto& [message, ms] : all) {
    const double a = plain_messages[message] / rounds, b = skinned_messages[message] / rounds;
    if (a >= 0.05 || b >= 0.05)
      std::printf("    message 0x%04x  %7.2f ms  %7.2f ms\n", message, a, b);
  }
  manager->RemoveSkinData(&data);
  skin::FreeSkinManager();
  return 0;
}
