#include "tests/support/foreign_program.h"

#include <cstring>

#include <gtest/gtest.h>

#include "tests/support/fw_test.h"
#include "tests/support/menu_driver.h"

namespace fwtest {

namespace {

constexpr UINT kSkinQuery = 0x3504;  // answered 1 by every skinned window

struct Search {
  const char* name;
  DWORD pid;
  HWND found;
};

BOOL CALLBACK MatchWindow(HWND w, LPARAM p) {
  auto* s = reinterpret_cast<Search*>(p);
  char name[64] = {};
  GetClassNameA(w, name, sizeof name);
  DWORD pid = 0;
  GetWindowThreadProcessId(w, &pid);
  if (IsWindowVisible(w) && !std::strcmp(name, s->name) && (!s->pid || pid == s->pid)) {
    s->found = w;
    return FALSE;
  }
  return TRUE;
}

UINT ControlMessage() {
  static const UINT message = RegisterWindowMessageA("SkinEngineControl");
  return message;
}

}  // namespace

HWND FindVisible(const char* class_name, DWORD process_id) {
  Search search{class_name, process_id, nullptr};
  EnumWindows(&MatchWindow, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

bool Skinned(HWND window) {
  DWORD_PTR answer = 0;
  return SendMessageTimeoutA(window, kSkinQuery, 0, 0, SMTO_ABORTIFHUNG, 2000, &answer) &&
         answer == 1;
}

void TypeText(const std::string& text) {
  for (char c : text) {
    const SHORT key = VkKeyScanA(c);
    if (key == -1) continue;
    if (key & 0x100) KeyDown(VK_SHIFT);
    TapKey(LOBYTE(key));
    if (key & 0x100) KeyUp(VK_SHIFT);
  }
}

bool StartSkinrun(const char* skinrun_dir, const std::string& arguments,
                  PROCESS_INFORMATION& process) {
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  std::string line = "\"" + std::string(skinrun_dir) + "\\skinrun.exe\" " + arguments;
  return CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process);
}

DWORD SkinrunExitCode(PROCESS_INFORMATION& skinrun, DWORD timeout_ms) {
  EXPECT_EQ(WaitForSingleObject(skinrun.hProcess, timeout_ms), WAIT_OBJECT_0);
  DWORD code = 999;
  GetExitCodeProcess(skinrun.hProcess, &code);
  if (code == STILL_ACTIVE) TerminateProcess(skinrun.hProcess, 1);
  CloseHandle(skinrun.hThread);
  CloseHandle(skinrun.hProcess);
  return code;
}

void ClickDialogButton(HWND dialog, int id) {
  RECT r{};
  GetWindowRect(GetDlgItem(dialog, id), &r);
  SetForegroundWindow(dialog);
  ClickAt((r.left + r.right) / 2, (r.top + r.bottom) / 2);
}

void SwitchBuiltInSkin(DWORD thread_id, int index) {
  PostThreadMessageA(thread_id, ControlMessage(), 2 /*switch*/, index);
}

namespace {
long g_stop_answer = -1;

LRESULT CALLBACK ReplyProc(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam) {
  if (msg == ControlMessage() && wparam == 3 /*stopped*/) g_stop_answer = static_cast<long>(lparam);
  return DefWindowProcA(hwnd, msg, wparam, lparam);
}
}  // namespace

long StopEngine(DWORD thread_id, int timeout_ms) {
  WNDCLASSA reply_class{};
  reply_class.lpfnWndProc = &ReplyProc;
  reply_class.lpszClassName = "SkinEngineReply";
  RegisterClassA(&reply_class);
  HWND reply = CreateWindowExA(0, "SkinEngineReply", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                               nullptr, nullptr);
  g_stop_answer = -1;
  PostThreadMessageA(thread_id, ControlMessage(), 1 /*stop*/, reinterpret_cast<LPARAM>(reply));
  PumpUntil([] { return g_stop_answer >= 0; }, timeout_ms);
  DestroyWindow(reply);
  return g_stop_answer;
}

}  // namespace fwtest
