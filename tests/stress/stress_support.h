#pragma once
// Steps the stress tests under Wine share: loading a package into a form's skin data and
// applying it at once, repainting a window with all its children.
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "skin/data/skin_data.h"

namespace stress {

// Carries out the manager's pending deferred action now (instead of on its next tick) and
// dispatches what that posted.
void RunPendingNow();

// Puts `package` into the skin data's store, loads it and applies it (switching the
// component on when it is off), as a program does when it changes skins; the deferred
// rebuild runs at once. False when the package held no skin.
bool ApplyPackage(skin::TSkinData& data, std::vector<uint8_t> package);

// Invalidates the window, its frame and all its children and paints them now.
void RepaintAll(HWND window);

// True when the window's client area, read back from the screen, is not all one colour.
bool ClientShowsSomething(HWND window);

}  // namespace stress
