#pragma once
// Driving a program of another process through skinrun: finding its windows, asking whether
// the engine skins them, typing into it and talking to the engine inside it.
#include <windows.h>

#include <string>

namespace fwtest {

// A visible top-level window of the class (of the process, when process_id is not 0).
HWND FindVisible(const char* class_name, DWORD process_id);
// The window answers the engine's query: it is skinned.
bool Skinned(HWND window);
// Each character as its key (with Shift where the layout needs it), through SendInput.
void TypeText(const std::string& text);
// Starts skinrun.exe (from `skinrun_dir`) with the arguments; false when it cannot start.
bool StartSkinrun(const char* skinrun_dir, const std::string& arguments,
                  PROCESS_INFORMATION& process);
// skinrun's exit status once it ends by itself within timeout_ms (ended otherwise, and a
// test failure); its handles are closed.
DWORD SkinrunExitCode(PROCESS_INFORMATION& skinrun, DWORD timeout_ms);
// Clicks the button of a dialog (the "save changes?" box's IDNO, say) with the mouse.
void ClickDialogButton(HWND dialog, int id);

// The engine's control message inside a program started by skinrun: a switch to a built-in
// skin, and a stop whose answer (the engine's live objects afterwards, or -1 when none came
// in `timeout_ms`) comes back to a window of this process.
void SwitchBuiltInSkin(DWORD thread_id, int index);
long StopEngine(DWORD thread_id, int timeout_ms);

}  // namespace fwtest
