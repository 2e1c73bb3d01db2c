#include "skin/manager/element_painting.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace skin {

namespace {

constexpr DWORD kDestinationUnchanged = 0x00AA0029;

bool Inverted(const RECT& r) { return r.right < r.left || r.bottom < r.top; }

// A memory DC with a bitmap selected for the object's lifetime.
class SelectedDc {
 public:
  explicit SelectedDc(HBITMAP bitmap)
      : dc_(CreateCompatibleDC(nullptr)), selection_(dc_.get(), bitmap) {}
  HDC get() const { return dc_.get(); }
  explicit operator bool() const { return bool(dc_); }

 private:
  fw::ScopedMemoryDc dc_;
  fw::ScopedSelectObject selection_;
};

// Puts a composed bitmap down at the target's origin: transparent on magenta or copied.
void PutDown(HDC dc, const RECT& target, const PixelBitmap& image, bool trans) {
  if (image.Empty()) return;
  if (trans) {
    DrawTransparent(dc, target, image, kMagentaKey);
    return;
  }
  DibSection dib = DibFromPixels(image);
  if (!dib) return;
  SelectedDc source(dib.bitmap.get());
  BitBlt(dc, target.left, target.top, image.Width(), image.Height(), source.get(), 0, 0, SRCCOPY);
}

// Stretches `pieces` of the bitmap selected into `source_dc` onto `dc`, each moved by
// (dx, dy); a tiled centre is repeated with TileBitmap instead.
void PaintPieces(HDC dc, int dx, int dy, HDC source_dc, const PixelBitmap& source,
                 const std::vector<SliceBlit>& pieces, bool tile_centre) {
  SetStretchBltMode(dc, COLORONCOLOR);
  for (const SliceBlit& p : pieces) {
    const PixelRect d = p.dest.Offset(dx, dy);
    if (p.piece == SlicePiece::kCentre && tile_centre) {
      TileBitmap(dc, ToRect(d), source, ToRect(p.source));
      continue;
    }
    StretchBlt(dc, d.left, d.top, d.Width(), d.Height(), source_dc, p.source.left, p.source.top,
               p.source.Width(), p.source.Height(), SRCCOPY);
  }
}

PixelRect SourceFrame(const PixelBitmap& source, int frame_index, int frame_count, bool stacked) {
  return FrameRect(source.Width(), source.Height(), frame_index, frame_count,
                   stacked ? FrameLayout::kStacked : FrameLayout::kSideBySide);
}

// Copies `width` x `height` of the bitmap selected into `source_dc` to the target's
// origin, keeping the destination where `mask` (a monochrome bitmap) has set bits.
void BlitThroughMask(HDC dc, const RECT& target, int width, int height, HDC source_dc, HBITMAP mask,
                     TransparentMethod method) {
  if (method == TransparentMethod::kAuto) method = PlatformTransparentMethod();
  if (method == TransparentMethod::kMaskBlt) {
    // Mask bits set (key pixels) take the foreground operation, which leaves the
    // destination; clear bits take the background operation, SRCCOPY.
    MaskBlt(dc, target.left, target.top, width, height, source_dc, 0, 0, mask, 0, 0,
            MAKEROP4(kDestinationUnchanged, SRCCOPY));
    return;
  }
  // dst ^ src, then AND with the mask shown as white (set) or black (clear), then ^ src:
  // key pixels give dst back, the others src.
  SelectedDc mask_dc(mask);
  const COLORREF old_background = SetBkColor(dc, RGB(255, 255, 255));
  const COLORREF old_text = SetTextColor(dc, RGB(0, 0, 0));
  BitBlt(dc, target.left, target.top, width, height, source_dc, 0, 0, SRCINVERT);
  BitBlt(dc, target.left, target.top, width, height, mask_dc.get(), 0, 0, SRCAND);
  BitBlt(dc, target.left, target.top, width, height, source_dc, 0, 0, SRCINVERT);
  SetBkColor(dc, old_background);
  SetTextColor(dc, old_text);
}

// A 32-bit premultiplied copy of the pixels for AlphaBlend: key pixels all zero (fully
// transparent), every other pixel its colour with alpha 255.
DibSection KeyedAlphaDib(const PixelBitmap& pixels, COLORREF key) {
  DibSection dib = CreateDibSection(pixels.Width(), pixels.Height(), PixelFormat::kBgra32);
  if (!dib) return dib;
  const uint32_t key_bgr = (key & 0x0000FF00u) | ((key & 0xFFu) << 16) | ((key >> 16) & 0xFFu);
  const int bpp = pixels.BytesPerPixel(), w = pixels.Width();
  auto* out = reinterpret_cast<uint32_t*>(dib.bits);
  for (int y = 0; y < pixels.Height(); ++y) {
    const uint8_t* p = pixels.ScanLine(y);
    for (int x = 0; x < w; ++x, p += bpp) {
      const uint32_t bgr = uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16);
      *out++ = bgr == key_bgr ? 0u : (bgr | 0xFF000000u);
    }
  }
  return dib;
}

fw::ScopedBitmap MonochromeMask(const PixelBitmap& pixels, COLORREF key) {
  // CreateBitmap rows are padded to 16 bits.
  const std::vector<uint8_t> bits = KeyMask(pixels, key, 2);
  return fw::ScopedBitmap(CreateBitmap(pixels.Width(), pixels.Height(), 1, 1, bits.data()));
}

}  // namespace

// ---------------------------------------------------------------------------------------
// Pixel bitmaps and DIB sections

DibSection CreateDibSection(int width, int height, PixelFormat format) {
  DibSection dib;
  if (width <= 0 || height <= 0) return dib;
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top-down, as PixelBitmap
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = WORD(static_cast<int>(format));
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  dib.bitmap.reset(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!dib.bitmap || !bits) return DibSection();
  dib.bits = static_cast<uint8_t*>(bits);
  dib.width = width;
  dib.height = height;
  dib.format = format;
  return dib;
}

DibSection DibFromPixels(const PixelBitmap& pixels) {
  DibSection dib = CreateDibSection(pixels.Width(), pixels.Height(), pixels.Format());
  if (dib) std::memcpy(dib.bits, pixels.Data(), pixels.SizeInBytes());
  return dib;
}

PixelBitmap ReadDibPixels(const DibSection& dib) {
  PixelBitmap pixels(dib.width, dib.height, dib.format);
  if (!dib || pixels.Empty()) return pixels;
  GdiFlush();
  std::memcpy(pixels.Data(), dib.bits, pixels.SizeInBytes());
  return pixels;
}

PixelBitmap ReadBitmapPixels(HBITMAP bitmap) {
  BITMAP info = {};
  if (!bitmap || GetObject(bitmap, sizeof(info), &info) == 0) return PixelBitmap();
  PixelBitmap pixels(info.bmWidth, std::abs(info.bmHeight), PixelFormat::kBgra32);
  if (pixels.Empty()) return pixels;
  BITMAPINFO request = {};
  request.bmiHeader.biSize = sizeof(request.bmiHeader);
  request.bmiHeader.biWidth = pixels.Width();
  request.bmiHeader.biHeight = -pixels.Height();
  request.bmiHeader.biPlanes = 1;
  request.bmiHeader.biBitCount = 32;
  request.bmiHeader.biCompression = BI_RGB;
  GdiFlush();
  fw::ScopedGetDc screen(nullptr);
  if (GetDIBits(screen.get(), bitmap, 0, UINT(pixels.Height()), pixels.Data(), &request,
                DIB_RGB_COLORS) == 0)
    return PixelBitmap();
  return pixels;
}

// ---------------------------------------------------------------------------------------
// Element painting

fw::ScopedBitmap ComposeElement(const RECT& target, const PixelBitmap& source,
                                const Margins& margins, int frame_index, int frame_count, bool tile,
                                bool stacked) {
  const PixelBitmap image =
      ComposeElement(ToPixelRect(target), source, margins, frame_index, frame_count, tile, stacked);
  return std::move(DibFromPixels(image).bitmap);
}

void DrawElement(HDC dc, const RECT& target, const PixelBitmap& source, const Margins& margins,
                 int frame_index, int frame_count, bool trans, bool tile, bool stacked) {
  if (Inverted(target)) return;
  PutDown(
      dc, target,
      ComposeElement(ToPixelRect(target), source, margins, frame_index, frame_count, tile, stacked),
      trans);
}

void DrawElementDirect(HDC dc, const RECT& target, const PixelBitmap& source,
                       const Margins& margins, int frame_index, int frame_count, bool stacked) {
  if (Inverted(target) || source.Empty()) return;
  const PixelRect frame = SourceFrame(source, frame_index, frame_count, stacked);
  const std::vector<SliceBlit> pieces =
      NineSlicePieces(target.right - target.left, target.bottom - target.top, frame, margins,
                      /*with_centre=*/false);
  DibSection dib = DibFromPixels(source);
  if (!dib) return;
  SelectedDc source_dc(dib.bitmap.get());
  PaintPieces(dc, target.left, target.top, source_dc.get(), source, pieces, false);
}

void DrawHorzElement(HDC dc, const RECT& target, const PixelBitmap& source, const Margins& margins,
                     int frame_index, int frame_count, bool trans, bool stacked) {
  if (Inverted(target)) return;
  PutDown(dc, target,
          ComposeHorzStrip(ToPixelRect(target), source, margins, frame_index, frame_count, stacked),
          trans);
}

void DrawElementFrame(HDC dc, const RECT& target, const PixelBitmap& source, int frame_index,
                      int frame_count, bool trans) {
  if (Inverted(target)) return;
  PutDown(dc, target, ComposeElementFrame(ToPixelRect(target), source, frame_index, frame_count),
          trans);
}

void TileBitmap(HDC dc, const RECT& target, const PixelBitmap& source, const RECT& source_rect) {
  const PixelRect from = ToPixelRect(source_rect);
  const int w = from.Width(), h = from.Height();
  if (w <= 0 || h <= 0 || !PixelRect{0, 0, source.Width(), source.Height()}.Contains(from)) return;
  PixelBitmap tile(w, h, source.Format());
  StretchCopy(source, from, tile, {0, 0, w, h});  // same size: a plain copy
  DibSection dib = DibFromPixels(tile);
  if (!dib) return;
  SelectedDc tile_dc(dib.bitmap.get());
  for (int64_t x = target.left; x < target.right; x += w)
    for (int64_t y = target.top; y < target.bottom; y += h)
      BitBlt(dc, int(x), int(y), w, h, tile_dc.get(), 0, 0, SRCCOPY);
}

// ---------------------------------------------------------------------------------------
// Transparency

TransparentMethod PlatformTransparentMethod() {
  static const TransparentMethod method = (GetVersion() & 0x80000000u) != 0
                                              ? TransparentMethod::kInvertMaskInvert
                                              : TransparentMethod::kCopyOpaque;
  return method;
}

void DrawTransparent(HDC dc, const RECT& target, const PixelBitmap& bitmap, COLORREF key,
                     TransparentMethod method) {
  if (Inverted(target) || bitmap.Empty()) return;
  const int w = std::min<int>(target.right - target.left, bitmap.Width());
  const int h = std::min<int>(target.bottom - target.top, bitmap.Height());
  if (w <= 0 || h <= 0) return;
  if (method == TransparentMethod::kAuto) method = PlatformTransparentMethod();
  if (method == TransparentMethod::kCopyOpaque && (GetLayout(dc) & LAYOUT_RTL) == 0) {
    std::vector<PixelRect> blocks;
    if (OpaqueBlocks(bitmap, key, kMaxOpaqueBlocks, blocks)) {
      if (blocks.empty()) return;
      DibSection dib = DibFromPixels(bitmap);
      if (!dib) return;
      SelectedDc source_dc(dib.bitmap.get());
      for (PixelRect b : blocks) {
        b.right = std::min(b.right, w);
        b.bottom = std::min(b.bottom, h);
        if (b.Empty()) continue;
        BitBlt(dc, target.left + b.left, target.top + b.top, b.Width(), b.Height(), source_dc.get(),
               b.left, b.top, SRCCOPY);
      }
      return;
    }
    DibSection keyed = KeyedAlphaDib(bitmap, key);
    if (!keyed) return;
    SelectedDc source_dc(keyed.bitmap.get());
    const BLENDFUNCTION blend = {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    GdiAlphaBlend(dc, target.left, target.top, w, h, source_dc.get(), 0, 0, w, h, blend);
    return;
  }
  if (method == TransparentMethod::kCopyOpaque) method = TransparentMethod::kMaskBlt;
  DibSection dib = DibFromPixels(bitmap);
  fw::ScopedBitmap mask = MonochromeMask(bitmap, key);
  if (!dib || !mask) return;
  SelectedDc source_dc(dib.bitmap.get());
  BlitThroughMask(dc, target, w, h, source_dc.get(), mask.get(), method);
}

void DrawTransparent(HDC dc, const RECT& target, HBITMAP bitmap, COLORREF key,
                     TransparentMethod method) {
  if (Inverted(target) || !bitmap) return;
  // Through a 32-bit copy of the pixels, which gives the mask too: the bitmap may still be
  // selected into its own DC (an off-screen canvas), where it cannot be selected again.
  DrawTransparent(dc, target, ReadBitmapPixels(bitmap), key, method);
}

// ---------------------------------------------------------------------------------------
// Regions

namespace {

// Rectangles for ExtCreateRegion, gathered in a buffer that grows 500 at a time and
// turned into a region every 2,000.
class RegionBuilder {
 public:
  static constexpr size_t kGrowth = 500;
  static constexpr size_t kBatch = 2000;

  void Add(const RECT& r) {
    if (count_ == capacity_) Grow();
    Rects()[count_++] = r;
    RECT& bound = Header()->rcBound;
    if (count_ == 1) {
      bound = r;
    } else {
      bound.left = std::min(bound.left, r.left);
      bound.top = std::min(bound.top, r.top);
      bound.right = std::max(bound.right, r.right);
      bound.bottom = std::max(bound.bottom, r.bottom);
    }
    if (count_ == kBatch) Flush();
  }

  fw::ScopedRegion Finish() {
    Flush();
    if (!region_) region_.reset(CreateRectRgn(0, 0, 0, 0));
    return std::move(region_);
  }

 private:
  RGNDATAHEADER* Header() { return reinterpret_cast<RGNDATAHEADER*>(buffer_.data()); }
  RECT* Rects() { return reinterpret_cast<RECT*>(buffer_.data() + sizeof(RGNDATAHEADER)); }

  void Grow() {
    capacity_ += kGrowth;
    buffer_.resize(sizeof(RGNDATAHEADER) + capacity_ * sizeof(RECT));
  }

  void Flush() {
    if (count_ == 0) return;
    RGNDATAHEADER* h = Header();
    h->dwSize = sizeof(RGNDATAHEADER);
    h->iType = RDH_RECTANGLES;
    h->nCount = DWORD(count_);
    h->nRgnSize = DWORD(count_ * sizeof(RECT));
    fw::ScopedRegion batch(ExtCreateRegion(nullptr,
                                           DWORD(sizeof(RGNDATAHEADER) + count_ * sizeof(RECT)),
                                           reinterpret_cast<const RGNDATA*>(buffer_.data())));
    if (!region_)
      region_ = std::move(batch);
    else if (batch)
      CombineRgn(region_.get(), region_.get(), batch.get(), RGN_OR);
    count_ = 0;
    h->rcBound = RECT{0, 0, 0, 0};
  }

  std::vector<uint8_t> buffer_ = std::vector<uint8_t>(sizeof(RGNDATAHEADER));
  size_t capacity_ = 0;
  size_t count_ = 0;
  fw::ScopedRegion region_;
};

}  // namespace

fw::ScopedRegion RegionFromBitmap(const PixelBitmap& bitmap, int x_offset, int y_offset,
                                  COLORREF key, int red_tolerance, int green_tolerance,
                                  int blue_tolerance) {
  RegionBuilder builder;
  ForEachOpaqueRun(
      bitmap, KeyRange::From(key, red_tolerance, green_tolerance, blue_tolerance),
      [&](int x_begin, int x_end, int y) {
        builder.Add(RECT{x_begin + x_offset, y + y_offset, x_end + x_offset, y + y_offset + 1});
      });
  return builder.Finish();
}

fw::ScopedRegion RegionFromBitmap(HBITMAP bitmap, int x_offset, int y_offset, COLORREF key,
                                  int red_tolerance, int green_tolerance, int blue_tolerance) {
  return RegionFromBitmap(ReadBitmapPixels(bitmap), x_offset, y_offset, key, red_tolerance,
                          green_tolerance, blue_tolerance);
}

// ---------------------------------------------------------------------------------------
// The plain GDI composition

PixelBitmap ComposeElementWithGdi(const RECT& target, const PixelBitmap& source,
                                  const Margins& margins, int frame_index, int frame_count,
                                  bool tile, bool stacked) {
  const int w = target.right - target.left, h = target.bottom - target.top;
  DibSection result = CreateDibSection(w, h, PixelFormat::kBgra32);
  if (!result) return PixelBitmap();
  if (!source.Empty()) {
    DibSection dib = DibFromPixels(source);
    SelectedDc source_dc(dib.bitmap.get());
    SelectedDc result_dc(result.bitmap.get());
    const PixelRect frame = SourceFrame(source, frame_index, frame_count, stacked);
    PaintPieces(result_dc.get(), 0, 0, source_dc.get(), source,
                NineSlicePieces(w, h, frame, margins, true), tile);
  }
  return ReadDibPixels(result);
}

// ---------------------------------------------------------------------------------------
// ScratchBitmap

PreparedImage::PreparedImage(const PixelBitmap& image, bool trans)
    : dc_(CreateCompatibleDC(nullptr)), dib_(DibFromPixels(image)) {
  if (!dc_ || !dib_) {
    dib_ = DibSection();
    return;
  }
  if (trans) {
    mask_ = MonochromeMask(image, kMagentaKey);
    if (!mask_) {
      dib_ = DibSection();
      return;
    }
  }
  selection_ = std::make_unique<fw::ScopedSelectObject>(dc_.get(), dib_.bitmap.get());
}

PreparedImage::~PreparedImage() = default;

void PreparedImage::PutDown(HDC dc, int x, int y) const {
  if (!dib_) return;
  const RECT target{x, y, x + dib_.width, y + dib_.height};
  if (mask_) {
    BlitThroughMask(dc, target, dib_.width, dib_.height, dc_.get(), mask_.get(),
                    TransparentMethod::kAuto);
    return;
  }
  BitBlt(dc, x, y, dib_.width, dib_.height, dc_.get(), 0, 0, SRCCOPY);
}

void MirrorLike(HDC offscreen, HDC target) {
  if (!offscreen || !target) return;
  const DWORD wanted = GetLayout(target) & LAYOUT_RTL;
  const DWORD old = GetLayout(offscreen);
  // Set again while mirrored: the axis is taken from the bitmap selected now.
  if (old == GDI_ERROR || (old == 0 && wanted == 0)) return;
  SetLayout(offscreen, (old & ~LAYOUT_RTL) | wanted);
}

ScopedLayoutLike::ScopedLayoutLike(HDC offscreen, HDC target) {
  if (!offscreen || !target) return;
  const DWORD old = GetLayout(offscreen);
  if (old == GDI_ERROR || (old == 0 && (GetLayout(target) & LAYOUT_RTL) == 0)) return;
  dc_ = offscreen;
  old_ = old;
  MirrorLike(offscreen, target);
}

ScopedLayoutLike::~ScopedLayoutLike() {
  if (dc_) SetLayout(dc_, old_);
}

ScratchSurface::ScratchSurface() : dc_(CreateCompatibleDC(nullptr)) {
  if (dc_) SetStretchBltMode(dc_.get(), COLORONCOLOR);
  SetSize(1, 1);
}

ScratchSurface::~ScratchSurface() = default;

bool ScratchSurface::SetSize(int width, int height) {
  width = std::max(width, 1);
  height = std::max(height, 1);
  if (dib_ && dib_.width == width && dib_.height == height) return true;
  if (!dc_) return false;
  DibSection fresh = CreateDibSection(width, height, PixelFormat::kBgra32);
  if (!fresh) return false;
  selection_.reset();  // the old bitmap leaves the DC before it is deleted
  dib_ = std::move(fresh);
  selection_ = std::make_unique<fw::ScopedSelectObject>(dc_.get(), dib_.bitmap.get());
  return true;
}

namespace {
// A plain pointer, not an object with a destructor: the manager frees the surface from its
// own static shutdown, which may run after this file's statics are gone.
ScratchSurface* scratch_surface = nullptr;
}  // namespace

ScratchSurface* ScratchBitmap() { return scratch_surface; }

void CreateScratchBitmap() {
  if (!scratch_surface) scratch_surface = new ScratchSurface();
}

void FreeScratchBitmap() {
  delete scratch_surface;
  scratch_surface = nullptr;
}

}  // namespace skin
