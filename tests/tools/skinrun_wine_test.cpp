// skin_engine.dll in this process (start, switch, stop, counts) and skinrun driving Wine's
// notepad: skinned, a menu, a dialog, typed text, closed through its "save changes?" box.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>

#include "skin/engine/skin_engine.h"
#include "tests/support/foreign_program.h"
#include "tests/support/fw_test.h"
#include "tests/support/menu_driver.h"
#include "tools/skinrun/command_line.h"

namespace {

struct Engine {
  HMODULE dll = LoadLibraryA(SKINRUN_DIR "\\skin_engine.dll");
  template <typename F>
  F Get(const char* name) {
    return reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(dll, name)));
  }
  decltype(&SkinEngineStart) start = Get<decltype(&SkinEngineStart)>("SkinEngineStart");
  decltype(&SkinEngineSwitch) swap = Get<decltype(&SkinEngineSwitch)>("SkinEngineSwitch");
  decltype(&SkinEngineStop) stop = Get<decltype(&SkinEngineStop)>("SkinEngineStop");
  decltype(&SkinEngineLastError) error = Get<decltype(&SkinEngineLastError)>("SkinEngineLastError");
  decltype(&SkinEngineLiveObjects) live =
      Get<decltype(&SkinEngineLiveObjects)>("SkinEngineLiveObjects");
};

// A window of no framework: a plain overlapped window with a menu, an edit and a button.
HWND CreatePlainWindow() {
  HMENU bar = CreateMenu();
  HMENU file = CreatePopupMenu();
  AppendMenuA(file, MF_STRING, 100, "&Open");
  AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(file), "&File");
  WNDCLASSA plain{};
  plain.lpfnWndProc = &DefWindowProcA;
  plain.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  plain.lpszClassName = "PlainWindow";
  RegisterClassA(&plain);
  HWND window = CreateWindowExA(0, "PlainWindow", "Plain", WS_OVERLAPPEDWINDOW, 100, 100, 400, 300,
                                nullptr, bar, nullptr, nullptr);
  CreateWindowExA(WS_EX_CLIENTEDGE, "Edit", "text", WS_CHILD | WS_VISIBLE, 10, 10, 200, 24, window,
                  nullptr, nullptr, nullptr);
  CreateWindowExA(0, "Button", "OK", WS_CHILD | WS_VISIBLE, 10, 50, 80, 26, window, nullptr,
                  nullptr, nullptr);
  // A container of the program's own with a control inside, and a status bar of two parts.
  HWND box = CreateWindowExA(0, "Static", "", WS_CHILD | WS_VISIBLE, 10, 90, 220, 40, window,
                             nullptr, nullptr, nullptr);
  CreateWindowExA(0, "Edit", "inner", WS_CHILD | WS_VISIBLE, 4, 4, 150, 24, box, nullptr, nullptr,
                  nullptr);
  InitCommonControls();
  HWND status = CreateWindowExA(0, STATUSCLASSNAMEA, "", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, window,
                                nullptr, nullptr, nullptr);
  HWND progress = CreateWindowExA(0, PROGRESS_CLASSA, "", WS_CHILD | WS_VISIBLE, 240, 10, 140, 18,
                                  window, nullptr, nullptr, nullptr);
  SendMessageA(progress, PBM_SETPOS, 40, 0);
  const int parts[] = {120, -1};
  SendMessageA(status, SB_SETPARTS, 2, reinterpret_cast<LPARAM>(parts));
  SendMessageA(status, SB_SETTEXTA, 1, reinterpret_cast<LPARAM>("part two"));
  return window;
}

TEST(SkinEngineDll, StartsSwitchesAndStopsInAPlainProgramEndingAtItsStartCounts) {
  Engine engine;
  ASSERT_TRUE(engine.dll && engine.start && engine.swap && engine.stop && engine.live);
  EXPECT_EQ(engine.start(SKIN_DIR "\\missing.skn"), 0);
  EXPECT_NE(std::string(engine.error()).find("missing.skn"), std::string::npos);
  const long start_objects = engine.live();
  HWND window = CreatePlainWindow();
  const LONG_PTR own_proc = GetWindowLongPtrA(window, GWLP_WNDPROC);
  HWND inner = GetTopWindow(FindWindowExA(window, nullptr, "Static", nullptr));
  HWND status = FindWindowExA(window, nullptr, STATUSCLASSNAMEA, nullptr);
  const LONG_PTR inner_proc = GetWindowLongPtrA(inner, GWLP_WNDPROC);
  const LONG_PTR status_proc = GetWindowLongPtrA(status, GWLP_WNDPROC);
  HWND progress = FindWindowExA(window, nullptr, PROGRESS_CLASSA, nullptr);
  const LONG_PTR progress_proc = GetWindowLongPtrA(progress, GWLP_WNDPROC);
  ShowWindow(window, SW_SHOW);
  for (int round = 0; round < 10; ++round) {
    ASSERT_EQ(engine.start(round % 2 ? SKIN_DIR "\\dark.skn" : nullptr), 1) << engine.error();
    fwtest::PumpFor(50);
    EXPECT_TRUE(fwtest::Skinned(window)) << "round " << round;
    EXPECT_NE(GetWindowLongPtrA(inner, GWLP_WNDPROC), inner_proc);  // found inside the box
    EXPECT_NE(GetWindowLongPtrA(status, GWLP_WNDPROC), status_proc);
    EXPECT_NE(GetWindowLongPtrA(progress, GWLP_WNDPROC), progress_proc);
    // A file that is no package leaves the running skin in place.
    EXPECT_EQ(engine.swap(SKINRUN_DIR "\\skinrun.exe"), 0);
    EXPECT_EQ(engine.swap(round % 2 ? nullptr : SKIN_DIR "\\dark.skn"), 1) << engine.error();
    fwtest::PumpFor(50);
    EXPECT_TRUE(fwtest::Skinned(window));
    engine.stop();
    EXPECT_FALSE(fwtest::Skinned(window));
    EXPECT_EQ(GetWindowLongPtrA(window, GWLP_WNDPROC), own_proc);
    EXPECT_EQ(GetWindowLongPtrA(inner, GWLP_WNDPROC), inner_proc);
    EXPECT_EQ(GetWindowLongPtrA(status, GWLP_WNDPROC), status_proc);
    EXPECT_EQ(GetWindowLongPtrA(progress, GWLP_WNDPROC), progress_proc);
    fwtest::PumpFor(20);
    EXPECT_EQ(engine.live(), start_objects) << "round " << round;
  }
  HMENU bar = GetMenu(window);
  DestroyWindow(window);
  DestroyMenu(bar);
}

TEST(Skinrun, QuotesArgumentsAsTheRuntimeReadsThem) {
  EXPECT_EQ(skinrun::JoinCommandLine({"a b", "plain", "", "q\"t", "end\\", "c:\\x y\\"}),
            "\"a b\" plain \"\" \"q\\\"t\" end\\ \"c:\\x y\\\\\"");
}

// skinrun's exit status and its first line of stderr.
DWORD RunSkinrun(std::string arguments, std::string* error_line) {
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  HANDLE read = nullptr, write = nullptr;
  CreatePipe(&read, &write, &inherit, 0);
  SetHandleInformation(read, HANDLE_FLAG_INHERIT, 0);
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdError = startup.hStdOutput = write;
  PROCESS_INFORMATION process{};
  std::string line = "\"" SKINRUN_DIR "\\skinrun.exe\" " + arguments;
  if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup,
                      &process))
    return 999;
  CloseHandle(write);
  std::string output;
  char buffer[256];
  DWORD n = 0;
  while (ReadFile(read, buffer, sizeof buffer, &n, nullptr) && n) output.append(buffer, n);
  CloseHandle(read);
  WaitForSingleObject(process.hProcess, 10000);
  DWORD code = 999;
  GetExitCodeProcess(process.hProcess, &code);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  *error_line = output.substr(0, output.find_first_of("\r\n"));
  return code;
}

TEST(Skinrun, SaysInOneLineWhatItCannotSkinAndStillRunsTheProgram) {
  std::string line;
  EXPECT_EQ(RunSkinrun("no-such-program.exe", &line), 1u);
  EXPECT_EQ(line, "skinrun: no-such-program.exe: program not found");
  // A console program runs, unskinned: its own exit code is replaced by 1.
  EXPECT_EQ(RunSkinrun("cmd.exe /c exit 7", &line), 1u);
  EXPECT_NE(line.find("not a GUI program; running it unskinned"), std::string::npos) << line;
  EXPECT_EQ(RunSkinrun("", &line), 2u);
  EXPECT_NE(line.find("usage: skinrun"), std::string::npos);
}

TEST(Skinrun, SkinsAWindowMadeOnAThreadTheProgramStartsLater) {
  PROCESS_INFORMATION skinrun{};
  ASSERT_TRUE(
      fwtest::StartSkinrun(SKINRUN_DIR, TOOLS_TEST_DIR "\\later_thread_window.exe", skinrun));
  HWND window = nullptr;
  EXPECT_TRUE(fwtest::PumpUntil(
      [&] {
        return (window = fwtest::FindVisible("LaterThreadWindow", 0)) && fwtest::Skinned(window);
      },
      15000));
  if (window) PostMessageA(window, WM_CLOSE, 0, 0);
  EXPECT_EQ(fwtest::SkinrunExitCode(skinrun, 10000), 5u);
}

TEST(Skinrun, SkinsNotepadThroughAMenuADialogTypingAndItsSaveChangesBox) {
  PROCESS_INFORMATION skinrun{};
  ASSERT_TRUE(fwtest::StartSkinrun(SKINRUN_DIR, "notepad.exe", skinrun));
  HWND notepad = nullptr;
  EXPECT_TRUE(fwtest::PumpUntil(
      [&] { return (notepad = fwtest::FindVisible("Notepad", 0)) && fwtest::Skinned(notepad); },
      15000));
  DWORD notepad_pid = 0;
  if (notepad) GetWindowThreadProcessId(notepad, &notepad_pid);
  HWND edit = notepad ? FindWindowExA(notepad, nullptr, "Edit", nullptr) : nullptr;
  ASSERT_TRUE(edit);
  SetForegroundWindow(notepad);
  fwtest::PumpUntil([&] { return GetForegroundWindow() == notepad; }, 2000);

  // The File menu, opened from the keyboard: a skinned popup.
  fwtest::KeyDown(VK_MENU);
  fwtest::TapKey('F');
  fwtest::PumpFor(100);
  fwtest::KeyUp(VK_MENU);
  HWND menu = nullptr;
  EXPECT_TRUE(
      fwtest::PumpUntil([&] { return (menu = fwtest::FindVisible("#32768", notepad_pid)); }));
  EXPECT_TRUE(menu && fwtest::Skinned(menu));
  fwtest::TapKey(VK_ESCAPE);
  fwtest::TapKey(VK_ESCAPE);
  EXPECT_TRUE(fwtest::PumpUntil([&] { return !fwtest::FindVisible("#32768", notepad_pid); }));

  const std::string text = "Skinned notepad types 1234567890, all of it, and keeps it.";
  SetForegroundWindow(notepad);
  fwtest::TypeText(text);
  char typed[256] = {};
  EXPECT_TRUE(fwtest::PumpUntil([&] {
    SendMessageTimeoutA(edit, WM_GETTEXT, sizeof typed, reinterpret_cast<LPARAM>(typed),
                        SMTO_ABORTIFHUNG, 2000, nullptr);
    return text == typed;
  }));
  EXPECT_EQ(std::string(typed), text);

  // The find dialog (Ctrl+F), skinned, closed with Escape.
  fwtest::KeyDown(VK_CONTROL);
  fwtest::TapKey('F');
  fwtest::KeyUp(VK_CONTROL);
  HWND find = nullptr;
  EXPECT_TRUE(
      fwtest::PumpUntil([&] { return (find = fwtest::FindVisible("#32770", notepad_pid)); }));
  if (find) {
    EXPECT_TRUE(fwtest::PumpUntil([&] { return fwtest::Skinned(find); }));
    PostMessageA(find, WM_COMMAND, IDCANCEL, 0);
    EXPECT_TRUE(fwtest::PumpUntil([&] { return !IsWindowVisible(find); }));
  }

  // Closing asks to save the typed text, in a skinned box; "Cancel" keeps notepad open.
  PostMessageA(notepad, WM_CLOSE, 0, 0);
  HWND box = nullptr;
  EXPECT_TRUE(
      fwtest::PumpUntil([&] { return (box = fwtest::FindVisible("#32770", notepad_pid)); }));
  if (box) {
    EXPECT_TRUE(fwtest::PumpUntil([&] { return fwtest::Skinned(box); }));
    fwtest::ClickDialogButton(box, IDCANCEL);
    EXPECT_TRUE(fwtest::PumpUntil([&] { return !IsWindow(box); }));
  }

  // Another skin, then the engine stopped with notepad running on, unskinned: everything
  // the engine made inside notepad is given back.
  const DWORD thread = GetWindowThreadProcessId(notepad, nullptr);
  fwtest::SwitchBuiltInSkin(thread, 1);
  fwtest::PumpFor(300);
  EXPECT_TRUE(fwtest::Skinned(notepad));
  EXPECT_EQ(fwtest::StopEngine(thread, 5000), 0);
  EXPECT_FALSE(fwtest::Skinned(notepad));

  // Now unskinned, the same box; "No" ends notepad.
  PostMessageA(notepad, WM_CLOSE, 0, 0);
  box = nullptr;
  EXPECT_TRUE(
      fwtest::PumpUntil([&] { return (box = fwtest::FindVisible("#32770", notepad_pid)); }));
  if (box) fwtest::ClickDialogButton(box, IDNO);
  EXPECT_EQ(fwtest::SkinrunExitCode(skinrun, 10000), 0u);
}

}  // namespace
