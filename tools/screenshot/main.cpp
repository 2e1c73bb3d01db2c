// screenshot.exe X Y W H OUT.bmp: saves a rectangle of the screen as Windows paints it
// (through the screen DC), as a 24-bit BMP. Under Wine on Xvfb, X-side captures of some
// windows (menus, dialog boxes) come out black; this reads what GDI drew.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

#include "framework/scoped_handle.h"

int main(int argc, char** argv) {
  if (argc != 6) {
    std::fprintf(stderr, "usage: screenshot X Y W H OUT.bmp\n");
    return 2;
  }
  const int x = std::atoi(argv[1]), y = std::atoi(argv[2]);
  const int w = std::atoi(argv[3]), h = std::atoi(argv[4]);
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
  {
    fw::ScopedSelectObject select(dc.get(), bitmap.get());
    BitBlt(dc.get(), 0, 0, w, h, screen.get(), x, y, SRCCOPY);
  }
  GdiFlush();
  const DWORD stride = (static_cast<DWORD>(w) * 3 + 3) & ~3u;
  const DWORD size = stride * static_cast<DWORD>(h);
  BITMAPFILEHEADER file{};
  file.bfType = 0x4D42;
  file.bfOffBits = sizeof file + sizeof info.bmiHeader;
  file.bfSize = file.bfOffBits + size;
  FILE* out = std::fopen(argv[5], "wb");
  if (!out) {
    std::fprintf(stderr, "screenshot: cannot write %s\n", argv[5]);
    return 1;
  }
  std::fwrite(&file, sizeof file, 1, out);
  std::fwrite(&info.bmiHeader, sizeof info.bmiHeader, 1, out);
  std::fwrite(bits, 1, size, out);
  std::fclose(out);
  return 0;
}
