#pragma once
// Reading back what a window shows, for comparing it with a native composition.
#include <windows.h>

#include "skin/store/pixel_bitmap.h"

namespace fwtest {

// The pixels of part (window coordinates; the whole window when part is null) as the
// window's DC shows them, 32-bit.
skin::PixelBitmap ReadWindowPixels(HWND hwnd, const RECT* part = nullptr);
// The window's rectangle as the screen shows it: unlike a right-to-left window's own DC,
// the screen's is never mirrored. The window must be in front.
skin::PixelBitmap ReadScreenPixels(HWND hwnd);
// A rectangle of the screen (screen coordinates), 32-bit.
skin::PixelBitmap ReadScreenPixels(const RECT& screen_rect);

// Pixels of expected (placed at x0, y0 in shown) that differ from shown in RGB; pixels of
// expected that are magenta are skipped when skip_magenta is set, pixels outside shown
// count as different.
int CountDifferences(const skin::PixelBitmap& shown, int x0, int y0,
                     const skin::PixelBitmap& expected, bool skip_magenta = false);

}  // namespace fwtest
