// The engine's C interface (skin_engine.h). One TSkinData without an owner form serves
// every window of the thread as its main-form component; the manager's own WH_CBT hook
// then attaches windows as they are activated and popup menus as they are created, the
// same way it does in a framework program.
//
// DllMain only keeps the module handle and, at process end, lets go of the engine without
// freeing it (the windows are gone; nothing may call into user32 from there). The engine
// pins the DLL in the process once it starts: a window procedure it installed must never
// point into an unloaded module.
#define SKIN_ENGINE_BUILD
#include "skin/engine/skin_engine.h"

#include <atomic>
#include <cstdint>
#include <cstring>
#include <exception>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "framework/handle_counts.h"
#include "framework/scoped_handle.h"
#include "framework/timer.h"
#include "skin/data/skin_data.h"
#include "skin/form/skin_form.h"
#include "skin/manager/skin_manager.h"
#include "skin/store/skin_reporter.h"

namespace {

HMODULE g_module = nullptr;
// The running engine's component, or nullptr. Not an object with a destructor: at process
// end it is abandoned, not freed.
skin::TSkinData* g_data = nullptr;
// The thread running the engine (read by the hooks of the program's other threads).
std::atomic<DWORD> g_thread{0};
std::string g_error;
// A hook procedure started the engine once in this process (or tried to); hooks of several
// threads race for it.
std::atomic<bool> g_hook_started{false};
// When a later thread last looked for a window of its own to start with (GetTickCount).
std::atomic<DWORD> g_last_window_look{0};
// Control messages wait here until no menu or move loop runs (SkinEngineMessageProc).
bool g_stop_requested = false;
HWND g_stop_reply = nullptr;
int g_switch_requested = -1;  // a built-in skin's number
// The engine's message hook on its thread (see KeyHookProc). Abandoned at process end.
fw::ScopedHook* g_key_hook = nullptr;

// Alt+letter in a program that is not built on the framework: the system's default
// handling tracks its own menu bar from the focused child without telling the frame, so the
// skinned menu bar takes the key before the message is dispatched.
LRESULT CALLBACK KeyHookProc(int code, WPARAM wparam, LPARAM lparam) {
  auto* msg = reinterpret_cast<MSG*>(lparam);
  if (code >= 0 && wparam == PM_REMOVE && msg->message == WM_SYSCHAR &&
      (HIWORD(msg->lParam) & KF_ALTDOWN) && skin::SkinManager) {
    try {
      skin::TSkinForm* form = skin::SkinManager->FindForm(GetAncestor(msg->hwnd, GA_ROOT));
      if (form && !form->Form && form->OpenMenuByKey(static_cast<char>(msg->wParam)))
        msg->message = WM_NULL;
    } catch (...) {
      skin::ReportCaughtFault("skin engine key hook");
    }
  }
  return CallNextHookEx(nullptr, code, wparam, lparam);
}

// What the engine reports goes into the last-error text; nothing is shown in the host's
// windows.
class EngineReporter final : public skin::SkinReporter {
 public:
  void ShowMessage(std::string_view text) override { g_error.assign(text); }
  void ReportFault(std::string_view where, std::string_view what) override {
    g_error = std::string(where) + ": " + std::string(what);
  }
} g_reporter;

int Fail(std::string text) {
  g_error = std::move(text);
  return 0;
}

void PinModule() {
  HMODULE pinned = nullptr;
  GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_PIN,
                     reinterpret_cast<LPCSTR>(&PinModule), &pinned);
}

// The built-in skins, by name and by number.
constexpr const char* kBuiltInNames[] = {"metallic", "dark"};
constexpr const char* kBuiltInResources[] = {"SKIN_METALLIC", "SKIN_DARK"};
constexpr int kBuiltInCount = 2;

int BuiltInIndex(const char* skin) {
  if (!skin || !*skin) return 0;
  for (int i = 0; i < kBuiltInCount; ++i)
    if (!std::strcmp(skin, kBuiltInNames[i])) return i;
  return -1;
}

std::optional<std::vector<uint8_t>> BuiltInSkin(int index) {
  HRSRC resource =
      FindResourceA(g_module, kBuiltInResources[index], MAKEINTRESOURCEA(10) /*RT_RCDATA*/);
  HGLOBAL loaded = resource ? LoadResource(g_module, resource) : nullptr;
  const void* bytes = loaded ? LockResource(loaded) : nullptr;
  if (!bytes) {
    g_error = std::string("the built-in skin ") + kBuiltInNames[index] + " is missing";
    return std::nullopt;
  }
  const auto* first = static_cast<const uint8_t*>(bytes);
  return std::vector<uint8_t>(first, first + SizeofResource(g_module, resource));
}

// The package a skin names (a built-in name, or a file); nothing with g_error set when it
// cannot be read.
std::optional<std::vector<uint8_t>> PackageBytes(const char* skin) {
  if (const int index = BuiltInIndex(skin); index >= 0) return BuiltInSkin(index);
  std::optional<std::vector<uint8_t>> bytes = skin::ReadSkinFile(skin);
  if (!bytes) g_error = std::string(skin) + ": cannot be read (or larger than 64 MiB)";
  return bytes;
}

// Why a package does not load, in one line.
std::string PackageFault(const std::vector<uint8_t>& bytes) {
  skin::SkinDefinition probe;
  skin::NullSkinReporter quiet;
  std::string error;
  if (skin::LoadSkinPackage(bytes, probe, quiet, &error)) return "the skin could not be loaded";
  return error.empty() ? "not a skin package" : error;
}

BOOL CALLBACK CollectTopLevel(HWND window, LPARAM list) {
  if (IsWindowVisible(window) && !(GetWindowLongA(window, GWL_STYLE) & WS_CHILD))
    reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
  return TRUE;
}

int StartWith(std::vector<uint8_t> bytes) {
  if (g_data) return Fail("the skin engine is already running");
  g_error.clear();
  skin::TSkinData::SetReporter(&g_reporter);
  auto* data = new skin::TSkinData(nullptr);
  data->SetStoreBytes(std::move(bytes));
  if (!data->LoadFromStore()) {
    const std::string fault = PackageFault(data->StoreBytes());
    delete data;
    return Fail(fault);
  }
  PinModule();
  g_data = data;
  g_thread = GetCurrentThreadId();
  data->SetActive(true);
  data->Loaded();  // the manager, its hook for this thread, Active
  g_key_hook = new fw::ScopedHook(
      SetWindowsHookExA(WH_GETMESSAGE, &KeyHookProc, nullptr, GetCurrentThreadId()));
  // Windows shown before the start are skinned now; later ones when they are activated.
  std::vector<HWND> shown;
  EnumThreadWindows(g_thread, &CollectTopLevel, reinterpret_cast<LPARAM>(&shown));
  if (skin::SkinManager && !shown.empty()) {
    if (skin::SkinManager->StartCount == 0) skin::SkinManager->StartCount = 1;
    for (HWND window : shown) skin::SkinManager->AttachWindow(window);
  }
  return 1;
}

// A loop that the engine's windows take part in is running (a menu, a move or size loop,
// the manager's own work): stopping now would pull skinners out from under it.
bool BusyBelow() {
  skin::TSkinManage* manager = skin::SkinManager;
  if (manager && (manager->RunningActions() || !manager->Popups.empty())) return true;
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  return GetGUIThreadInfo(GetCurrentThreadId(), &info) &&
         (info.flags & (GUI_INMENUMODE | GUI_INMOVESIZE | GUI_POPUPMENUMODE));
}

void StopNow() {
  skin::TSkinData* data = g_data;
  skin::TSkinManage* manager = skin::SkinManager;
  if (!data) return;
  g_stop_requested = false;
  if (manager) {
    // Before the first activation this only switches Active off; otherwise the unskin
    // waits as a pending action, carried out here rather than on the timer.
    data->SetActive(false);
    manager->RunPendingAction();
  }
  g_data = nullptr;
  delete g_key_hook;
  g_key_hook = nullptr;
  delete data;  // forgets the component; windows without a form object let go quietly
  skin::FreeSkinManager();
  fw::FreeTimerWindow();
  skin::TSkinData::SetReporter(nullptr);
}

BOOL CALLBACK FindCaptionedWindow(HWND window, LPARAM found) {
  if (IsWindowVisible(window) &&
      (GetWindowLongA(window, GWL_STYLE) & (WS_CHILD | WS_CAPTION)) == WS_CAPTION) {
    *reinterpret_cast<bool*>(found) = true;
    return FALSE;
  }
  return TRUE;
}

bool ThreadShowsCaptionedWindow() {
  bool found = false;
  EnumThreadWindows(GetCurrentThreadId(), &FindCaptionedWindow, reinterpret_cast<LPARAM>(&found));
  return found;
}

// The skin named by SKIN_ENGINE_SKIN (the built-in metallic one when it is unset). A skin
// that does not load leaves the program unskinned; the controlling process has checked the
// file before.
void StartFromEnvironment() {
  char skin[MAX_PATH] = {};
  const DWORD n = GetEnvironmentVariableA("SKIN_ENGINE_SKIN", skin, sizeof skin);
  SkinEngineStart(n > 0 && n < sizeof skin ? skin : nullptr);
}

}  // namespace

extern "C" {

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
  if (reason == DLL_PROCESS_ATTACH) {
    g_module = instance;
    DisableThreadLibraryCalls(instance);
  } else if (reason == DLL_PROCESS_DETACH && reserved) {
    // The process is ending: its windows are gone and its other DLLs may be too. The
    // engine is abandoned rather than freed, so the static clean-up finds no manager.
    g_data = nullptr;
    g_key_hook = nullptr;
    skin::SkinManager = nullptr;
  }
  return TRUE;
}

int __cdecl SkinEngineStart(const char* path) {
  try {
    std::optional<std::vector<uint8_t>> bytes = PackageBytes(path);
    return bytes ? StartWith(std::move(*bytes)) : 0;
  } catch (const std::exception& e) {
    return Fail(std::string("skin engine start: ") + e.what());
  }
}

int __cdecl SkinEngineStartPackage(const void* bytes, unsigned size) {
  if (!bytes || !size) return Fail("no skin package given");
  try {
    const auto* first = static_cast<const uint8_t*>(bytes);
    return StartWith(std::vector<uint8_t>(first, first + size));
  } catch (const std::exception& e) {
    return Fail(std::string("skin engine start: ") + e.what());
  }
}

int __cdecl SkinEngineSwitch(const char* path) {
  if (!g_data) return Fail("the skin engine is not running");
  if (GetCurrentThreadId() != g_thread) return Fail("not called from the skinned thread");
  try {
    std::optional<std::vector<uint8_t>> bytes = PackageBytes(path);
    if (!bytes) return 0;
    // Checked before the running skin is touched: a package that does not load leaves it.
    skin::SkinDefinition probe;
    skin::NullSkinReporter quiet;
    std::string error;
    if (!skin::LoadSkinPackage(*bytes, probe, quiet, &error))
      return Fail(error.empty() ? "not a skin package" : error);
    g_error.clear();
    g_data->SetStoreBytes(std::move(*bytes));
    if (!g_data->LoadFromStore()) return Fail("the skin could not be loaded");
    g_data->ApplyNewSkin();
    if (skin::SkinManager && !skin::SkinManager->RunningActions())
      skin::SkinManager->RunPendingAction();
    return 1;
  } catch (const std::exception& e) {
    return Fail(std::string("skin switch: ") + e.what());
  }
}

void __cdecl SkinEngineStop(void) {
  if (g_data && GetCurrentThreadId() != g_thread) {
    g_error = "not called from the skinned thread";
    return;
  }
  try {
    StopNow();
  } catch (...) {
    skin::ReportCaughtFault("skin engine stop");
  }
}

int __cdecl SkinEngineRunning(void) { return g_data ? 1 : 0; }

const char* __cdecl SkinEngineLastError(void) { return g_error.c_str(); }

long __cdecl SkinEngineLiveObjects(void) {
  long total = 0;
  for (int kind = 0; kind < fw::kHandleKindCount; ++kind)
    total += fw::LiveHandles(static_cast<fw::HandleKind>(kind));
  return total;
}

UINT __cdecl SkinEngineControlMessage(void) {
  static const UINT message = RegisterWindowMessageA("SkinEngineControl");
  return message;
}

LRESULT CALLBACK SkinEngineCbtProc(int code, WPARAM wparam, LPARAM lparam) {
  if (code >= 0 && !g_hook_started.exchange(true)) StartFromEnvironment();
  // The engine's own hook, installed just now, sees the thread's later window events.
  return CallNextHookEx(nullptr, code, wparam, lparam);
}

LRESULT CALLBACK SkinEngineThreadCbtProc(int code, WPARAM wparam, LPARAM lparam) {
  if (code == HCBT_ACTIVATE && !g_hook_started.exchange(true)) StartFromEnvironment();
  return CallNextHookEx(nullptr, code, wparam, lparam);
}

LRESULT CALLBACK SkinEngineThreadMessageProc(int code, WPARAM wparam, LPARAM lparam) {
  if (code >= 0 && !g_hook_started.load()) {
    // Looked at most every 100 ms: a thread with hidden windows only takes many messages.
    const DWORD now = GetTickCount();
    if (now - g_last_window_look.exchange(now) >= 100 && ThreadShowsCaptionedWindow() &&
        !g_hook_started.exchange(true))
      StartFromEnvironment();
  }
  return SkinEngineMessageProc(code, wparam, lparam);
}

LRESULT CALLBACK SkinEngineMessageProc(int code, WPARAM wparam, LPARAM lparam) {
  if (code >= 0 && wparam == PM_REMOVE && GetCurrentThreadId() != g_thread) {
    // A control message sent to every thread of the program: only the engine's takes it.
    auto* msg = reinterpret_cast<MSG*>(lparam);
    if (msg->hwnd == nullptr && msg->message == SkinEngineControlMessage()) msg->message = WM_NULL;
  }
  if (code >= 0 && wparam == PM_REMOVE && GetCurrentThreadId() == g_thread && g_data) {
    auto* msg = reinterpret_cast<MSG*>(lparam);
    if (msg->hwnd == nullptr && msg->message == SkinEngineControlMessage()) {
      if (msg->wParam == SKIN_ENGINE_STOP) {
        g_stop_requested = true;
        g_stop_reply = reinterpret_cast<HWND>(msg->lParam);
      } else if (msg->wParam == SKIN_ENGINE_SWITCH && msg->lParam >= 0 &&
                 msg->lParam < kBuiltInCount) {
        g_switch_requested = static_cast<int>(msg->lParam);
      }
      msg->message = WM_NULL;
    }
    if ((g_stop_requested || g_switch_requested >= 0) && !BusyBelow()) {
      if (g_switch_requested >= 0) {
        const int index = std::exchange(g_switch_requested, -1);
        SkinEngineSwitch(kBuiltInNames[index]);
      }
      if (g_stop_requested) {
        const HWND reply = std::exchange(g_stop_reply, nullptr);
        SkinEngineStop();
        if (reply)
          PostMessageA(reply, SkinEngineControlMessage(), SKIN_ENGINE_STOPPED,
                       SkinEngineLiveObjects());
      }
    }
  }
  return CallNextHookEx(nullptr, code, wparam, lparam);
}

}  // extern "C"
