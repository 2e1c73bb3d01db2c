#include "framework/graphics.h"

#include <algorithm>
#include <cstring>

#include "framework/exception.h"

namespace fw {

COLORREF ColorToRGB(TColor color) {
  if (IsSystemColor(color)) return GetSysColor(SystemColorIndex(color));
  return static_cast<COLORREF>(color) & 0xFFFFFF;
}

const std::vector<std::string> kFontStyleNames = {"fsBold", "fsItalic", "fsUnderline",
                                                  "fsStrikeOut"};

// ---- TFont --------------------------------------------------------------------------------

void TFont::Assign(const TFont& other) {
  if (&other == this || SameAs(other)) return;
  name_ = other.name_;
  height_ = other.height_;
  color_ = other.color_;
  style_ = other.style_;
  charset_ = other.charset_;
  Changed();
}

bool TFont::SameAs(const TFont& o) const {
  return name_ == o.name_ && height_ == o.height_ && color_ == o.color_ && style_ == o.style_ &&
         charset_ == o.charset_;
}

void TFont::SetName(const std::string& name) {
  if (name == name_) return;
  name_ = name;
  Changed();
}
void TFont::SetHeight(int height) {
  if (height == height_) return;
  height_ = height;
  Changed();
}
int TFont::Size() const { return -MulDiv(height_, 72, 96); }
void TFont::SetSize(int points) { SetHeight(-MulDiv(points, 96, 72)); }
void TFont::SetColor(TColor color) {
  if (color == color_) return;
  color_ = color;
  // The colour is the DC's text colour, not part of the font: the handle stays.
  if (OnChange) OnChange();
}
void TFont::SetStyle(uint32_t style) {
  if (style == style_) return;
  style_ = style;
  Changed();
}
void TFont::SetCharset(int charset) {
  if (charset == charset_) return;
  charset_ = charset;
  Changed();
}

void TFont::Changed() {
  handle_.reset();
  if (OnChange) OnChange();
}

HFONT TFont::Handle() {
  if (!handle_) {
    LOGFONTA lf{};
    lf.lfHeight = height_;
    lf.lfWeight = (style_ & fsBold) ? FW_BOLD : FW_NORMAL;
    lf.lfItalic = (style_ & fsItalic) ? 1 : 0;
    lf.lfUnderline = (style_ & fsUnderline) ? 1 : 0;
    lf.lfStrikeOut = (style_ & fsStrikeOut) ? 1 : 0;
    lf.lfCharSet = static_cast<BYTE>(charset_);
    lf.lfOutPrecision = OUT_DEFAULT_PRECIS;
    lf.lfClipPrecision = CLIP_DEFAULT_PRECIS;
    lf.lfQuality = DEFAULT_QUALITY;
    lf.lfPitchAndFamily = DEFAULT_PITCH;
    std::strncpy(lf.lfFaceName, name_.c_str(), LF_FACESIZE - 1);
    handle_.reset(CreateFontIndirectA(&lf));
  }
  return handle_.get();
}

// ---- TBrush, TPen -------------------------------------------------------------------------

void TBrush::SetColor(TColor color) {
  if (color == color_) return;
  color_ = color;
  handle_.reset();
  if (OnChange) OnChange();
}
void TBrush::SetStyle(TBrushStyle style) {
  if (style == style_) return;
  style_ = style;
  handle_.reset();
  if (OnChange) OnChange();
}
HBRUSH TBrush::Handle() {
  if (style_ == bsClear) return static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
  if (!handle_) handle_.reset(CreateSolidBrush(ColorToRGB(color_)));
  return handle_.get();
}

void TPen::SetColor(TColor color) {
  if (color == color_) return;
  color_ = color;
  handle_.reset();
  if (OnChange) OnChange();
}
void TPen::SetWidth(int width) {
  if (width == width_) return;
  width_ = width;
  handle_.reset();
  if (OnChange) OnChange();
}
HPEN TPen::Handle() {
  if (!handle_) handle_.reset(CreatePen(PS_SOLID, width_, ColorToRGB(color_)));
  return handle_.get();
}

// ---- TCanvas ------------------------------------------------------------------------------

TCanvas::TCanvas() {
  // A changed tool is selected again before its next use (its old handle is then gone,
  // so it must leave the DC first).
  font_.OnChange = [this] {
    if (font_selected_) SelectObject(dc_, old_font_), font_selected_ = false;
  };
  brush_.OnChange = [this] {
    if (brush_selected_) SelectObject(dc_, old_brush_), brush_selected_ = false;
  };
  pen_.OnChange = [this] {
    if (pen_selected_) SelectObject(dc_, old_pen_), pen_selected_ = false;
  };
}

TCanvas::~TCanvas() { Deselect(); }

void TCanvas::Deselect() {
  if (!dc_) return;
  if (font_selected_) SelectObject(dc_, old_font_);
  if (brush_selected_) SelectObject(dc_, old_brush_);
  if (pen_selected_) SelectObject(dc_, old_pen_);
  font_selected_ = brush_selected_ = pen_selected_ = false;
}

void TCanvas::SetHandle(HDC dc) {
  if (dc == dc_) return;
  Deselect();
  dc_ = dc;
}

void TCanvas::RequireFont() {
  if (font_selected_ || !dc_) return;
  old_font_ = SelectObject(dc_, font_.Handle());
  font_selected_ = true;
  SetTextColor(dc_, ColorToRGB(font_.Color()));
}
void TCanvas::RequireBrush() {
  if (!dc_) return;
  if (!brush_selected_) {
    old_brush_ = SelectObject(dc_, brush_.Handle());
    brush_selected_ = true;
  }
  SetBkColor(dc_, ColorToRGB(brush_.Color()));
  SetBkMode(dc_, brush_.Style() == bsClear ? TRANSPARENT : OPAQUE);
}
void TCanvas::RequirePen() {
  if (pen_selected_ || !dc_) return;
  old_pen_ = SelectObject(dc_, pen_.Handle());
  pen_selected_ = true;
}

void TCanvas::FillRect(const RECT& rect) {
  if (brush_.Style() != bsClear) ::FillRect(dc_, &rect, brush_.Handle());
}
void TCanvas::FrameRect(const RECT& rect) { ::FrameRect(dc_, &rect, brush_.Handle()); }
void TCanvas::Rectangle(const RECT& r) {
  RequirePen();
  RequireBrush();
  ::Rectangle(dc_, r.left, r.top, r.right, r.bottom);
}
void TCanvas::MoveTo(int x, int y) { MoveToEx(dc_, x, y, nullptr); }
void TCanvas::LineTo(int x, int y) {
  RequirePen();
  ::LineTo(dc_, x, y);
}
void TCanvas::TextOut(int x, int y, const std::string& text) {
  RequireFont();
  RequireBrush();
  ::TextOutA(dc_, x, y, text.data(), static_cast<int>(text.size()));
}
void TCanvas::TextRect(const RECT& rect, int x, int y, const std::string& text) {
  RequireFont();
  RequireBrush();
  const UINT options = ETO_CLIPPED | (brush_.Style() == bsClear ? 0 : ETO_OPAQUE);
  ExtTextOutA(dc_, x, y, options, &rect, text.data(), static_cast<UINT>(text.size()), nullptr);
}
SIZE TCanvas::TextExtent(const std::string& text) {
  RequireFont();
  SIZE size{};
  GetTextExtentPoint32A(dc_, text.data(), static_cast<int>(text.size()), &size);
  return size;
}
int TCanvas::DrawText(const std::string& text, RECT& rect, UINT format) {
  RequireFont();
  RequireBrush();
  return ::DrawTextA(dc_, text.data(), static_cast<int>(text.size()), &rect, format);
}
void TCanvas::Draw(int x, int y, TBitmap& bitmap) {
  if (bitmap.Empty()) return;
  BitBlt(dc_, x, y, bitmap.Width(), bitmap.Height(), bitmap.Canvas().Handle(), 0, 0, SRCCOPY);
}
void TCanvas::StretchDraw(const RECT& r, TBitmap& bitmap) {
  if (bitmap.Empty()) return;
  SetStretchBltMode(dc_, COLORONCOLOR);
  StretchBlt(dc_, r.left, r.top, r.right - r.left, r.bottom - r.top, bitmap.Canvas().Handle(), 0, 0,
             bitmap.Width(), bitmap.Height(), SRCCOPY);
}
void TCanvas::CopyRect(const RECT& d, TCanvas& source, const RECT& s) {
  SetStretchBltMode(dc_, COLORONCOLOR);
  StretchBlt(dc_, d.left, d.top, d.right - d.left, d.bottom - d.top, source.Handle(), s.left, s.top,
             s.right - s.left, s.bottom - s.top, SRCCOPY);
}

// ---- TBitmap ------------------------------------------------------------------------------

TBitmap::~TBitmap() { ReleaseCanvas(); }

void TBitmap::ReleaseCanvas() {
  if (canvas_) canvas_->SetHandle(nullptr);
  if (dc_ && old_bitmap_) SelectObject(dc_.get(), old_bitmap_);
  old_bitmap_ = nullptr;
}

TCanvas& TBitmap::Canvas() {
  if (!canvas_) canvas_ = std::make_unique<TCanvas>();
  if (!dc_) dc_.reset(CreateCompatibleDC(nullptr));
  if (!old_bitmap_ && bitmap_) {
    old_bitmap_ = SelectObject(dc_.get(), bitmap_.get());
  }
  canvas_->SetHandle(dc_.get());
  return *canvas_;
}

void TBitmap::Recreate(int width, int height, TPixelFormat format) {
  width = std::max(width, 0);
  height = std::max(height, 0);
  ScopedBitmap fresh;
  uint8_t* bits = nullptr;
  if (width > 0 && height > 0) {
    if (format == pf24bit || format == pf32bit) {
      BITMAPINFO bi{};
      bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
      bi.bmiHeader.biWidth = width;
      bi.bmiHeader.biHeight = -height;  // top-down
      bi.bmiHeader.biPlanes = 1;
      bi.bmiHeader.biBitCount = format == pf24bit ? 24 : 32;
      bi.bmiHeader.biCompression = BI_RGB;
      void* p = nullptr;
      // Colours given in the header need no screen DC (a costly one to get under Wine).
      fresh.reset(CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &p, nullptr, 0));
      bits = static_cast<uint8_t*>(p);
    } else if (format == pf1bit) {
      fresh.reset(CreateBitmap(width, height, 1, 1, nullptr));
    } else {
      ScopedGetDc screen(nullptr);
      fresh.reset(CreateCompatibleBitmap(screen.get(), width, height));
    }
    if (!fresh)
      throw EOSError("Out of system resources (bitmap " + std::to_string(width) + "x" +
                     std::to_string(height) + ")");
    // White background, then the old picture's top-left part.
    ScopedMemoryDc dc(CreateCompatibleDC(nullptr));
    ScopedSelectObject select(dc.get(), fresh.get());
    PatBlt(dc.get(), 0, 0, width, height, WHITENESS);
    if (bitmap_) {
      ReleaseCanvas();
      ScopedMemoryDc old_dc(CreateCompatibleDC(nullptr));
      ScopedSelectObject old_select(old_dc.get(), bitmap_.get());
      BitBlt(dc.get(), 0, 0, std::min(width, width_), std::min(height, height_), old_dc.get(), 0, 0,
             SRCCOPY);
    }
  }
  ReleaseCanvas();
  bitmap_ = std::move(fresh);
  bits_ = bits;
  width_ = bitmap_ ? width : 0;
  height_ = bitmap_ ? height : 0;
  format_ = format;
}

void TBitmap::SetSize(int width, int height) {
  if (width == width_ && height == height_ && bitmap_) return;
  Recreate(width, height, format_);
}

void TBitmap::SetPixelFormat(TPixelFormat format) {
  if (format == format_) return;
  Recreate(width_, height_, format);
}

void TBitmap::SetHandle(HBITMAP bitmap) {
  ReleaseCanvas();
  bitmap_.reset(bitmap);
  bits_ = nullptr;
  width_ = height_ = 0;
  format_ = pfDevice;
  if (!bitmap) return;
  DIBSECTION ds{};
  if (GetObjectA(bitmap, sizeof ds, &ds) == sizeof ds) {
    width_ = ds.dsBm.bmWidth;
    height_ = std::abs(ds.dsBm.bmHeight);
    format_ = ds.dsBm.bmBitsPixel == 32 ? pf32bit : ds.dsBm.bmBitsPixel == 24 ? pf24bit : pfDevice;
    // Only top-down sections expose rows in ScanLine order.
    bits_ = ds.dsBmih.biHeight < 0 && format_ != pfDevice ? static_cast<uint8_t*>(ds.dsBm.bmBits)
                                                          : nullptr;
    if (!bits_ && format_ != pfDevice) {
      // A bottom-up section: convert to our top-down layout.
      ScopedBitmap keep(bitmap_.release());
      const int w = width_, h = height_;
      const TPixelFormat f = format_;
      width_ = height_ = 0;
      Recreate(w, h, f);
      ScopedMemoryDc src(CreateCompatibleDC(nullptr));
      ScopedSelectObject sel(src.get(), keep.get());
      BitBlt(Canvas().Handle(), 0, 0, w, h, src.get(), 0, 0, SRCCOPY);
      ReleaseCanvas();
    }
  } else {
    BITMAP bm{};
    GetObjectA(bitmap, sizeof bm, &bm);
    width_ = bm.bmWidth;
    height_ = bm.bmHeight;
    format_ = bm.bmBitsPixel == 1 ? pf1bit : pfDevice;
  }
}

HBITMAP TBitmap::ReleaseHandle() {
  ReleaseCanvas();
  width_ = height_ = 0;
  bits_ = nullptr;
  return bitmap_.release();
}

uint8_t* TBitmap::ScanLine(int y) {
  if (!bits_ || y < 0 || y >= height_) return nullptr;
  GdiFlush();
  return bits_ + static_cast<size_t>(y) * Stride();
}

size_t TBitmap::Stride() const {
  const int bpp = format_ == pf32bit ? 32 : format_ == pf24bit ? 24 : 0;
  return ((static_cast<size_t>(width_) * bpp + 31) / 32) * 4;
}

void TBitmap::Assign(const TBitmap& other) {
  if (&other == this) return;
  ReleaseCanvas();
  bitmap_.reset();
  width_ = height_ = 0;
  Recreate(other.width_, other.height_, other.format_);
  if (!other.bitmap_ || !bitmap_) return;
  ScopedMemoryDc src(CreateCompatibleDC(nullptr));
  HGDIOBJ old = SelectObject(src.get(), other.bitmap_.get());
  BitBlt(Canvas().Handle(), 0, 0, width_, height_, src.get(), 0, 0, SRCCOPY);
  // The other bitmap may be selected into its own canvas's DC; then this select failed
  // and its DC is the source to use, unmirrored for the copy so that the pixels come over
  // as they are stored.
  if (!old) {
    TBitmap& o = const_cast<TBitmap&>(other);
    HDC source = o.Canvas().Handle();
    const DWORD layout = GetLayout(source);
    if (layout != GDI_ERROR && layout != 0) SetLayout(source, 0);
    BitBlt(Canvas().Handle(), 0, 0, width_, height_, source, 0, 0, SRCCOPY);
    if (layout != GDI_ERROR && layout != 0) SetLayout(source, layout);
  } else {
    SelectObject(src.get(), old);
  }
  TransparentColor = other.TransparentColor;
}

void TBitmap::LoadFromResourceName(HINSTANCE instance, const std::string& name) {
  HBITMAP loaded = static_cast<HBITMAP>(
      LoadImageA(instance, name.c_str(), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
  if (!loaded) throw EReadError("Bitmap resource " + name + " not found");
  SetHandle(loaded);
}

}  // namespace fw
