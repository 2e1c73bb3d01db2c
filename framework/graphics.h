#pragma once
// GDI wrappers: fonts, brushes and pens whose handles are made on demand and remade after a
// change, a canvas that draws on any DC, and bitmaps (device-dependent or DIB sections).
#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "framework/colors.h"
#include "framework/object.h"
#include "framework/scoped_handle.h"

namespace fw {

// The RGB value of a colour; system colour references are looked up with GetSysColor.
COLORREF ColorToRGB(TColor color);

// Font styles (bits of TFont::Style).
constexpr uint32_t fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8;
extern const std::vector<std::string>
    kFontStyleNames;  // fsBold, fsItalic, fsUnderline, fsStrikeOut

class TFont : public TPersistent {
 public:
  TFont() = default;
  void Assign(const TFont& other);

  const std::string& Name() const { return name_; }
  void SetName(const std::string& name);
  // Negative: character height in pixels (the cell height without internal leading).
  int Height() const { return height_; }
  void SetHeight(int height);
  // Points at 96 pixels per inch.
  int Size() const;
  void SetSize(int points);
  TColor Color() const { return color_; }
  void SetColor(TColor color);
  uint32_t Style() const { return style_; }
  void SetStyle(uint32_t style);
  int Charset() const { return charset_; }
  void SetCharset(int charset);

  HFONT Handle();  // made on demand; owned by the font
  std::function<void()> OnChange;

  bool SameAs(const TFont& other) const;

 private:
  void Changed();
  std::string name_ = "MS Sans Serif";
  int height_ = -11;
  TColor color_ = clWindowText;
  uint32_t style_ = 0;
  int charset_ = DEFAULT_CHARSET;
  ScopedFont handle_;
};

enum TBrushStyle { bsSolid, bsClear };

class TBrush : public TPersistent {
 public:
  TColor Color() const { return color_; }
  void SetColor(TColor color);
  TBrushStyle Style() const { return style_; }
  void SetStyle(TBrushStyle style);
  HBRUSH Handle();  // a null brush for bsClear
  std::function<void()> OnChange;

 private:
  TColor color_ = clWhite;
  TBrushStyle style_ = bsSolid;
  ScopedBrush handle_;
};

class TPen : public TPersistent {
 public:
  TColor Color() const { return color_; }
  void SetColor(TColor color);
  int Width() const { return width_; }
  void SetWidth(int width);
  HPEN Handle();
  std::function<void()> OnChange;

 private:
  TColor color_ = clBlack;
  int width_ = 1;
  ScopedPen handle_;
};

class TBitmap;

// Draws on a DC it does not own. Its font, brush and pen are selected into the DC when
// first used and deselected when the DC is unbound (SetHandle(nullptr) or destruction).
class TCanvas : public TPersistent {
 public:
  TCanvas();
  ~TCanvas() override;

  HDC Handle() const { return dc_; }
  void SetHandle(HDC dc);

  TFont& Font() { return font_; }
  TBrush& Brush() { return brush_; }
  TPen& Pen() { return pen_; }

  void FillRect(const RECT& rect);
  void FrameRect(const RECT& rect);
  void Rectangle(const RECT& rect);
  void MoveTo(int x, int y);
  void LineTo(int x, int y);
  void TextOut(int x, int y, const std::string& text);
  // Text clipped to rect, drawn at (x, y).
  void TextRect(const RECT& rect, int x, int y, const std::string& text);
  SIZE TextExtent(const std::string& text);
  int TextWidth(const std::string& text) { return TextExtent(text).cx; }
  int TextHeight(const std::string& text) { return TextExtent(text).cy; }
  int DrawText(const std::string& text, RECT& rect, UINT format);
  void Draw(int x, int y, TBitmap& bitmap);
  void StretchDraw(const RECT& rect, TBitmap& bitmap);
  void CopyRect(const RECT& dest, TCanvas& source, const RECT& source_rect);
  COLORREF Pixel(int x, int y) const { return GetPixel(dc_, x, y); }
  void SetPixel(int x, int y, TColor color) { ::SetPixel(dc_, x, y, ColorToRGB(color)); }

 private:
  void RequireFont();
  void RequireBrush();
  void RequirePen();
  void Deselect();

  HDC dc_ = nullptr;
  TFont font_;
  TBrush brush_;
  TPen pen_;
  HGDIOBJ old_font_ = nullptr, old_brush_ = nullptr, old_pen_ = nullptr;
  bool font_selected_ = false, brush_selected_ = false, pen_selected_ = false;
};

enum TPixelFormat { pfDevice, pf1bit, pf24bit, pf32bit };

// A bitmap with a canvas. pf24bit and pf32bit bitmaps are top-down DIB sections whose rows
// ScanLine gives (blue, green, red[, unused] bytes; rows padded to 4 bytes), laid out as a
// skin::PixelBitmap of the same format, so pixels copy over row by row.
class TBitmap : public TPersistent {
 public:
  TBitmap() = default;
  ~TBitmap() override;

  int Width() const { return width_; }
  int Height() const { return height_; }
  bool Empty() const { return width_ <= 0 || height_ <= 0; }
  // Keeps the top-left part of the picture; new area is white.
  void SetSize(int width, int height);
  void SetWidth(int w) { SetSize(w, height_); }
  void SetHeight(int h) { SetSize(width_, h); }
  TPixelFormat PixelFormat() const { return format_; }
  void SetPixelFormat(TPixelFormat format);

  HBITMAP Handle() const { return bitmap_.get(); }
  // Takes ownership of a bitmap (its size and format are read from it).
  void SetHandle(HBITMAP bitmap);
  // Gives the bitmap away and leaves this one empty.
  HBITMAP ReleaseHandle();
  TCanvas& Canvas();

  // Row y of a DIB bitmap (pf24bit/pf32bit), row 0 at the top; nullptr otherwise.
  uint8_t* ScanLine(int y);
  size_t Stride() const;

  void Assign(const TBitmap& other);
  void LoadFromResourceName(HINSTANCE instance, const std::string& name);
  void FreeImage() { SetHandle(nullptr); }

  TColor TransparentColor = clNone;

 private:
  void Recreate(int width, int height, TPixelFormat format);
  void ReleaseCanvas();

  int width_ = 0, height_ = 0;
  TPixelFormat format_ = pfDevice;
  ScopedBitmap bitmap_;
  uint8_t* bits_ = nullptr;
  ScopedMemoryDc dc_;
  HGDIOBJ old_bitmap_ = nullptr;
  std::unique_ptr<TCanvas> canvas_;
};

}  // namespace fw
