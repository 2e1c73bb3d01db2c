// A program whose main thread makes no window: its one window lives on a thread it starts.
// Ends with status 5 when that window is closed.
#include <windows.h>

namespace {

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_DESTROY) PostQuitMessage(0);
  return DefWindowProcA(window, message, wparam, lparam);
}

DWORD WINAPI WindowThread(void*) {
  WNDCLASSA window_class{};
  window_class.lpfnWndProc = &WindowProc;
  window_class.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  window_class.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
  window_class.lpszClassName = "LaterThreadWindow";
  RegisterClassA(&window_class);
  HWND window = CreateWindowExA(0, "LaterThreadWindow", "Later thread", WS_OVERLAPPEDWINDOW, 120,
                                120, 360, 240, nullptr, nullptr, nullptr, nullptr);
  CreateWindowExA(0, "Button", "OK", WS_CHILD | WS_VISIBLE, 10, 10, 80, 26, window, nullptr,
                  nullptr, nullptr);
  ShowWindow(window, SW_SHOW);
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  return 0;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  HANDLE thread = CreateThread(nullptr, 0, &WindowThread, nullptr, 0, nullptr);
  if (!thread) return 1;
  WaitForSingleObject(thread, INFINITE);
  CloseHandle(thread);
  return 5;
}
