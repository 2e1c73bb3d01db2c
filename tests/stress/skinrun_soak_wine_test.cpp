// The foreign-program soak: Wine's notepad and wordpad, each started through skinrun and
// driven at random for SKINRUN_SOAK_SECONDS (default 600) with real input: menus opened and
// closed, the find, open and about dialogs, typing (every key must arrive), resizing,
// maximizing and restoring, and the built-in skins switched. Neither program may crash or
// stop answering; at the end the engine is stopped inside the running program, must report
// no live objects and leave the program unskinned, and the program closes through its
// "save changes?" box. Not part of `make test`; `make soak` runs it and it prints what it did.
#include <windows.h>

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "tests/support/foreign_program.h"
#include "tests/support/fw_test.h"
#include "tests/support/menu_driver.h"

namespace {

int SoakSeconds() {
  const char* text = std::getenv("SKINRUN_SOAK_SECONDS");
  const int n = text ? std::atoi(text) : 0;
  return n > 0 ? n : 600;
}

struct Program {
  const char* command;
  const char* window_class;
  const char* edit_class;  // the child that takes the typed text
  char font_menu;          // the drop-down that holds "Font..."
  bool font_last;          // as its last item (else its first)
};

enum Action { kMenu, kType, kFind, kOpen, kFont, kAbout, kResize, kMaximize, kSkin, kActionCount };
const char* const kActionNames[kActionCount] = {"menus",        "typing",       "find dialogs",
                                                "open dialogs", "font dialogs", "about boxes",
                                                "resizes",      "maximizes",    "skin switches"};

bool Responsive(HWND window) {
  DWORD_PTR ignored = 0;
  return SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 10000, &ignored) != 0;
}

LRESULT TextLength(HWND edit) {
  DWORD_PTR length = 0;
  SendMessageTimeoutA(edit, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 5000, &length);
  return static_cast<LRESULT>(length);
}

void Chord(WORD modifier, WORD key) {
  fwtest::KeyDown(modifier);
  fwtest::TapKey(key);
  fwtest::PumpFor(50);
  fwtest::KeyUp(modifier);
}

// A dialog of the program appears, is looked at and closed; false when none came.
bool ShowAndCloseDialog(DWORD pid, HWND main, int* skinned) {
  HWND dialog = nullptr;
  if (!fwtest::PumpUntil([&] { return (dialog = fwtest::FindVisible("#32770", pid)); }, 4000))
    return false;
  if (fwtest::PumpUntil([&] { return fwtest::Skinned(dialog); }, 2000)) ++*skinned;
  fwtest::PumpFor(100);
  PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
  if (!fwtest::PumpUntil([&] { return !IsWindowVisible(dialog); }, 3000))
    PostMessageA(dialog, WM_CLOSE, 0, 0);
  fwtest::PumpUntil([&] { return !IsWindowVisible(dialog); }, 3000);
  SetForegroundWindow(main);
  return true;
}

void Soak(const Program& program) {
  PROCESS_INFORMATION skinrun{};
  ASSERT_TRUE(fwtest::StartSkinrun(SKINRUN_DIR, program.command, skinrun));
  HWND main = nullptr;
  ASSERT_TRUE(fwtest::PumpUntil(
      [&] {
        return (main = fwtest::FindVisible(program.window_class, 0)) && fwtest::Skinned(main);
      },
      20000));
  DWORD pid = 0;
  const DWORD thread = GetWindowThreadProcessId(main, &pid);
  HWND edit = FindWindowExA(main, nullptr, program.edit_class, nullptr);
  ASSERT_TRUE(edit) << program.edit_class;
  std::array<int, kActionCount> counts{}, missing{};  // missing: dialogs that never came
  int dialogs_skinned = 0, keys = 0, keys_lost = 0;
  srand(7);
  const DWORD end = GetTickCount() + static_cast<DWORD>(SoakSeconds()) * 1000;
  while (GetTickCount() < end) {
    ASSERT_EQ(WaitForSingleObject(skinrun.hProcess, 0), WAIT_TIMEOUT)
        << program.command << " ended";
    ASSERT_TRUE(Responsive(main)) << program.command << " stopped answering";
    SetForegroundWindow(main);
    fwtest::PumpFor(30);
    const auto action = static_cast<Action>(rand() % kActionCount);
    ++counts[action];
    switch (action) {
      case kMenu: {
        static const char kMenus[] = "FEVH";
        fwtest::KeyDown(VK_MENU);
        fwtest::TapKey(kMenus[rand() % 4]);
        fwtest::PumpFor(50);
        fwtest::KeyUp(VK_MENU);
        fwtest::PumpUntil([&] { return fwtest::FindVisible("#32768", pid) != nullptr; }, 2000);
        for (int i = rand() % 4; i > 0; --i) fwtest::TapKey(rand() % 2 ? VK_DOWN : VK_RIGHT);
        fwtest::PumpFor(100);
        fwtest::TapKey(VK_ESCAPE);
        fwtest::TapKey(VK_ESCAPE);
        fwtest::PumpUntil([&] { return !fwtest::FindVisible("#32768", pid); }, 2000);
        break;
      }
      case kType: {
        const LRESULT before = TextLength(edit);
        std::string text;
        for (int i = 5 + rand() % 30; i > 0; --i)
          text += "abcdefghijklmnopqrstuvwxyz0123456789 ,."[rand() % 39];
        fwtest::TypeText(text);
        keys += static_cast<int>(text.size());
        const LRESULT want = before + static_cast<LRESULT>(text.size());
        if (!fwtest::PumpUntil([&] { return TextLength(edit) >= want; }, 3000))
          keys_lost += static_cast<int>(want - TextLength(edit));
        break;
      }
      case kFind:
        Chord(VK_CONTROL, 'F');
        if (!ShowAndCloseDialog(pid, main, &dialogs_skinned)) ++missing[action];
        break;
      case kOpen:
        Chord(VK_CONTROL, 'O');
        if (!ShowAndCloseDialog(pid, main, &dialogs_skinned)) ++missing[action];
        break;
      case kFont:  // the font common dialog
        Chord(VK_MENU, static_cast<WORD>(program.font_menu));
        fwtest::PumpUntil([&] { return fwtest::FindVisible("#32768", pid) != nullptr; }, 2000);
        if (program.font_last) fwtest::TapKey(VK_UP);
        fwtest::TapKey(VK_RETURN);
        if (!ShowAndCloseDialog(pid, main, &dialogs_skinned)) ++missing[action];
        break;
      case kAbout:
        Chord(VK_MENU, 'H');
        fwtest::PumpUntil([&] { return fwtest::FindVisible("#32768", pid) != nullptr; }, 2000);
        fwtest::TapKey(VK_UP);  // the last item of the help menu: "About"
        fwtest::TapKey(VK_RETURN);
        if (!ShowAndCloseDialog(pid, main, &dialogs_skinned)) ++missing[action];
        break;
      case kResize:
        PostMessageA(main, WM_SYSCOMMAND, SC_RESTORE, 0);
        SetWindowPos(main, nullptr, rand() % 200, rand() % 150, 300 + rand() % 500,
                     200 + rand() % 400, SWP_NOZORDER | SWP_NOACTIVATE);
        break;
      case kMaximize:
        PostMessageA(main, WM_SYSCOMMAND, rand() % 2 ? SC_MAXIMIZE : SC_RESTORE, 0);
        break;
      case kSkin:
        fwtest::SwitchBuiltInSkin(thread, rand() % 2);
        break;
      default:
        break;
    }
    fwtest::PumpFor(50);
  }
  std::printf("%s: ", program.command);
  for (int i = 0; i < kActionCount; ++i) {
    std::printf("%s %d, ", kActionNames[i], counts[i]);
    if (missing[i]) std::printf("(%d of them never came), ", missing[i]);
  }
  std::printf("dialogs skinned %d, keys %d (lost %d)\n", dialogs_skinned, keys, keys_lost);
  EXPECT_EQ(keys_lost, 0);

  // The engine stops inside the running program and gives everything back.
  const long live = fwtest::StopEngine(thread, 10000);
  std::printf("%s: live objects after the stop %ld\n", program.command, live);
  EXPECT_EQ(live, 0);
  EXPECT_FALSE(fwtest::Skinned(main));
  EXPECT_TRUE(Responsive(main));

  PostMessageA(main, WM_CLOSE, 0, 0);
  HWND box = nullptr;
  if (fwtest::PumpUntil([&] { return (box = fwtest::FindVisible("#32770", pid)); }, 5000))
    fwtest::ClickDialogButton(box, IDNO);
  fwtest::SkinrunExitCode(skinrun, 15000);
}

TEST(SkinrunSoak, Notepad) { Soak({"notepad.exe", "Notepad", "Edit", 'E', true}); }

TEST(SkinrunSoak, Wordpad) {
  Soak({"\"C:\\Program Files\\Windows NT\\Accessories\\wordpad.exe\"", "WORDPADTOP", "RichEdit20W",
        'O', false});
}

}  // namespace
