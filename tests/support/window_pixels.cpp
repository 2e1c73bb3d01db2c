#include "tests/support/window_pixels.h"

#include "framework/scoped_handle.h"
#include "skin/manager/element_painting.h"

namespace fwtest {

skin::PixelBitmap ReadWindowPixels(HWND hwnd, const RECT* part) {
  RECT r{};
  if (part) {
    r = *part;
  } else {
    RECT w{};
    GetWindowRect(hwnd, &w);
    r = {0, 0, w.right - w.left, w.bottom - w.top};
  }
  const int w = r.right - r.left, h = r.bottom - r.top;
  if (w <= 0 || h <= 0) return {};
  skin::DibSection dib = skin::CreateDibSection(w, h);
  fw::ScopedMemoryDc dc(CreateCompatibleDC(nullptr));
  fw::ScopedSelectObject select(dc.get(), dib.bitmap.get());
  fw::ScopedGetDc window = fw::ScopedGetDc::Window(hwnd);
  BitBlt(dc.get(), 0, 0, w, h, window.get(), r.left, r.top, SRCCOPY);
  GdiFlush();
  return skin::ReadDibPixels(dib);
}

skin::PixelBitmap ReadScreenPixels(HWND hwnd) {
  RECT r{};
  GetWindowRect(hwnd, &r);
  return ReadScreenPixels(r);
}

skin::PixelBitmap ReadScreenPixels(const RECT& r) {
  const int w = r.right - r.left, h = r.bottom - r.top;
  if (w <= 0 || h <= 0) return {};
  skin::DibSection dib = skin::CreateDibSection(w, h);
  fw::ScopedMemoryDc dc(CreateCompatibleDC(nullptr));
  fw::ScopedSelectObject select(dc.get(), dib.bitmap.get());
  fw::ScopedGetDc screen(nullptr);
  BitBlt(dc.get(), 0, 0, w, h, screen.get(), r.left, r.top, SRCCOPY);
  GdiFlush();
  return skin::ReadDibPixels(dib);
}

int CountDifferences(const skin::PixelBitmap& shown, int x0, int y0,
                     const skin::PixelBitmap& expected, bool skip_magenta) {
  int n = 0;
  for (int y = 0; y < expected.Height(); ++y) {
    for (int x = 0; x < expected.Width(); ++x) {
      const uint32_t e = expected.Pixel(x, y) & 0xFFFFFF;
      if (skip_magenta && e == 0xFF00FF) continue;
      const int sx = x0 + x, sy = y0 + y;
      if (sx < 0 || sy < 0 || sx >= shown.Width() || sy >= shown.Height()) {
        ++n;
        continue;
      }
      n += (shown.Pixel(sx, sy) & 0xFFFFFF) != e;
    }
  }
  return n;
}

}  // namespace fwtest
