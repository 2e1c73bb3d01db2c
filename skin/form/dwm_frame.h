#pragma once
// The desktop window manager's part of a skinned frame. On Windows Vista and later the
// compositor may draw a non-client frame and shadow of its own, and Windows 11 rounds the
// corners of top-level windows: either would show around or cut into the skin's shape.
// While a window is skinned both are switched off (non-client rendering disabled, corners
// not rounded); when it is unskinned both go back to the system's choice.
//
// dwmapi.dll is loaded at the first use and its function found by name, so the program
// starts where it is missing; the calls then do nothing (as under Wine). Tests replace the
// function to see what is asked.
#include <windows.h>

namespace skin {

using DwmSetWindowAttributeFn = HRESULT(WINAPI*)(HWND, DWORD, LPCVOID, DWORD);

// The attribute setter in use: dwmapi's DwmSetWindowAttribute, or nullptr where there is
// none. SetDwmAttributeSetter replaces it (nullptr: back to dwmapi's) and returns the old one.
DwmSetWindowAttributeFn DwmAttributeSetter();
DwmSetWindowAttributeFn SetDwmAttributeSetter(DwmSetWindowAttributeFn setter);

// The attributes and values used (dwmapi.h names them; older SDKs lack the corner ones).
inline constexpr DWORD kDwmNcRenderingPolicy = 2;        // DWMWA_NCRENDERING_POLICY
inline constexpr DWORD kDwmWindowCornerPreference = 33;  // DWMWA_WINDOW_CORNER_PREFERENCE
inline constexpr DWORD kDwmNcRenderingUseWindowStyle = 0;
inline constexpr DWORD kDwmNcRenderingDisabled = 1;
inline constexpr DWORD kDwmCornerDefault = 0;
inline constexpr DWORD kDwmCornerDoNotRound = 1;

// The skin's region is the window's only shape / the system's frame and corners again.
void TakeOverDwmFrame(HWND window);
void GiveBackDwmFrame(HWND window);

}  // namespace skin
