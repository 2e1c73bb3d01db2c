// screenshot.exe X Y W H OUT.bmp: saves a rectangle of the screen as Windows paints it
// (through the screen DC), as a 24-bit BMP. Under Wine on Xvfb, X-side captures of some
// windows (menus, dialog boxes) come out black; this reads what GDI drew.
//
// screenshot.exe --window TITLE OUT.bmp: waits (up to 20 s) for a visible top-level window
// titled TITLE, waits until its thread reads messages, gives it two seconds to paint, and
// saves it with 8 pixels of the desktop around it (what of that lies off the screen stays
// black). --class CLASS instead finds the window by its class name (for programs whose
// titles follow the language).
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "framework/scoped_handle.h"

namespace {

struct Search {
  const char* text;
  bool by_class;
  HWND found;
};

BOOL CALLBACK MatchWindow(HWND hwnd, LPARAM param) {
  auto* search = reinterpret_cast<Search*>(param);
  char title[512] = {};
  if (!IsWindowVisible(hwnd)) return TRUE;
  if (!(search->by_class ? GetClassNameA(hwnd, title, sizeof title)
                         : GetWindowTextA(hwnd, title, sizeof title)))
    return TRUE;
  if (std::strcmp(title, search->text) != 0) return TRUE;
  search->found = hwnd;
  return FALSE;
}

HWND WaitForWindow(const char* text, bool by_class) {
  for (int waited = 0; waited < 20000; waited += 100) {
    Search search{text, by_class, nullptr};
    EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&search));
    if (search.found) return search.found;
    Sleep(100);
  }
  return nullptr;
}

int Save(int x, int y, int w, int h, const char* path) {
  if (w <= 0 || h <= 0 || w > 16384 || h > 16384) {
    std::fprintf(stderr, "screenshot: bad size %d x %d\n", w, h);
    return 2;
  }
  fw::ScopedGetDc screen(nullptr);
  fw::ScopedMemoryDc dc(CreateCompatibleDC(screen.get()));
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = w;
  info.bmiHeader.biHeight = h;  // bottom-up, as a BMP file stores it
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  void* bits = nullptr;
  fw::ScopedBitmap bitmap(CreateDIBSection(screen.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!bitmap) return 1;
  const DWORD stride = (static_cast<DWORD>(w) * 3 + 3) & ~3u;
  const DWORD size = stride * static_cast<DWORD>(h);
  std::memset(bits, 0, size);
  // Only the part of the rectangle on the screen is copied; the rest stays black. Wine's
  // screen DC reads nothing at all for a source rectangle that reaches past the screen's
  // edge, so a window at the top-left corner, with the margin around it, came out black.
  const RECT asked{x, y, x + w, y + h};
  const RECT desktop{GetSystemMetrics(SM_XVIRTUALSCREEN), GetSystemMetrics(SM_YVIRTUALSCREEN),
                     GetSystemMetrics(SM_XVIRTUALSCREEN) + GetSystemMetrics(SM_CXVIRTUALSCREEN),
                     GetSystemMetrics(SM_YVIRTUALSCREEN) + GetSystemMetrics(SM_CYVIRTUALSCREEN)};
  RECT shown{};
  if (IntersectRect(&shown, &asked, &desktop)) {
    fw::ScopedSelectObject select(dc.get(), bitmap.get());
    BitBlt(dc.get(), shown.left - x, shown.top - y, shown.right - shown.left,
           shown.bottom - shown.top, screen.get(), shown.left, shown.top, SRCCOPY);
  }
  GdiFlush();
  BITMAPFILEHEADER file{};
  file.bfType = 0x4D42;
  file.bfOffBits = sizeof file + sizeof info.bmiHeader;
  file.bfSize = file.bfOffBits + size;
  FILE* out = std::fopen(path, "wb");
  if (!out) {
    std::fprintf(stderr, "screenshot: cannot write %s\n", path);
    return 1;
  }
  std::fwrite(&file, sizeof file, 1, out);
  std::fwrite(&info.bmiHeader, sizeof info.bmiHeader, 1, out);
  std::fwrite(bits, 1, size, out);
  std::fclose(out);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const bool by_class = argc == 4 && std::strcmp(argv[1], "--class") == 0;
  if (argc == 4 && (by_class || std::strcmp(argv[1], "--window") == 0)) {
    HWND window = WaitForWindow(argv[2], by_class);
    if (!window) {
      std::fprintf(stderr, "screenshot: no window titled \"%s\" came\n", argv[2]);
      return 1;
    }
    // The window's thread answers once it is past its start-up and reading its messages;
    // then it has two seconds to paint.
    DWORD_PTR answer = 0;
    SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 10000, &answer);
    Sleep(2000);
    RECT r{};
    GetWindowRect(window, &r);
    return Save(r.left - 8, r.top - 8, r.right - r.left + 16, r.bottom - r.top + 16, argv[3]);
  }
  if (argc != 6) {
    std::fprintf(stderr,
                 "usage: screenshot X Y W H OUT.bmp\n       screenshot --window TITLE OUT.bmp\n"
                 "       screenshot --class CLASS OUT.bmp\n");
    return 2;
  }
  return Save(std::atoi(argv[1]), std::atoi(argv[2]), std::atoi(argv[3]), std::atoi(argv[4]),
              argv[5]);
}
