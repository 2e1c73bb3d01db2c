#pragma once
// Small drawing helpers the item skinners (tabs, headers, status bars, bars) share: an
// off-screen 32-bit bitmap with its own memory DC, skin colours as RGB, and a canvas font
// copied from a window's font.
#include <windows.h>

#include <memory>

#include "framework/graphics.h"
#include "framework/scoped_handle.h"
#include "skin/data/colour_scheme.h"
#include "skin/manager/element_painting.h"

namespace skin {

// A width x height DIB section selected into a memory DC of its own; empty (no DC) for a
// size that is not positive or when GDI refuses. Given the DC the picture goes to, the
// memory DC is mirrored like it (MirrorLike), so that text drawn into it reads normally
// in a right-to-left window.
class OffscreenBitmap {
 public:
  OffscreenBitmap(int width, int height, HDC like = nullptr) {
    if (width <= 0 || height <= 0) return;
    dib_ = CreateDibSection(width, height);
    if (!dib_) return;
    dc_.reset(CreateCompatibleDC(nullptr));
    if (!dc_) return;
    select_ = std::make_unique<fw::ScopedSelectObject>(dc_.get(), dib_.bitmap.get());
    MirrorLike(dc_.get(), like);
  }
  OffscreenBitmap(const OffscreenBitmap&) = delete;
  OffscreenBitmap& operator=(const OffscreenBitmap&) = delete;
  ~OffscreenBitmap() { select_.reset(); }  // the bitmap leaves the DC before either goes

  explicit operator bool() const { return select_ != nullptr; }
  HDC Dc() const { return dc_.get(); }
  int Width() const { return dib_.width; }
  int Height() const { return dib_.height; }
  // The pixels (GdiFlush first).
  PixelBitmap Pixels() const { return ReadDibPixels(dib_); }
  // Replaces the picture with `pixels` (which must be of the same size and 32-bit).
  void Load(const PixelBitmap& pixels);

 private:
  fw::ScopedMemoryDc dc_;
  DibSection dib_;
  std::unique_ptr<fw::ScopedSelectObject> select_;
};

inline void OffscreenBitmap::Load(const PixelBitmap& pixels) {
  if (!select_ || pixels.Width() != dib_.width || pixels.Height() != dib_.height) return;
  const PixelBitmap same =
      pixels.Format() == PixelFormat::kBgra32 ? pixels : pixels.Converted(PixelFormat::kBgra32);
  GdiFlush();
  for (int y = 0; y < dib_.height; ++y) {
    memcpy(dib_.bits + size_t(y) * dib_.Stride(), same.ScanLine(y), dib_.Stride());
  }
}

// A skin colour (RGB or system colour reference) as an RGB value.
inline COLORREF SkinRgb(Colour c) { return fw::ColorToRGB(static_cast<fw::TColor>(c)); }

inline void FillSolid(HDC dc, const RECT& r, COLORREF colour) {
  fw::ScopedBrush brush(CreateSolidBrush(colour));
  if (brush) FillRect(dc, &r, brush.get());
}

// The canvas font made like the window's font (WM_GETFONT; the system font when the
// window has none).
inline void AssignWindowFont(fw::TFont& font, HWND hwnd) {
  HFONT handle = reinterpret_cast<HFONT>(SendMessageA(hwnd, WM_GETFONT, 0, 0));
  if (!handle) handle = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  LOGFONTA lf{};
  if (!GetObjectA(handle, sizeof lf, &lf)) return;
  font.SetName(lf.lfFaceName);
  font.SetHeight(lf.lfHeight);
  font.SetCharset(lf.lfCharSet);
  uint32_t style = 0;
  if (lf.lfWeight >= FW_BOLD) style |= fw::fsBold;
  if (lf.lfItalic) style |= fw::fsItalic;
  if (lf.lfUnderline) style |= fw::fsUnderline;
  if (lf.lfStrikeOut) style |= fw::fsStrikeOut;
  font.SetStyle(style);
}

}  // namespace skin
