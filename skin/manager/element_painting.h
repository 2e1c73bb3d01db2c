#pragma once
// Painting skin elements onto device contexts. Every skinned surface is drawn through
// these routines.
//
// Element images are portable PixelBitmaps. Composition (nine-slice, three-slice, a whole
// stretched frame) is done by element_compose.h on pixel bitmaps and the result goes to
// GDI in one copy, as a DIB section of the same pixel format, whose bytes are the pixel
// bitmap's bytes (both are top-down DIB rows). So a composed element has the same pixels
// natively and on Windows. Only what needs a device context is done by GDI here: blits
// onto the target, the colour-key transparent blit, regions, tiling onto a canvas, and
// DrawElementDirect, which stretches the border pieces straight onto the target DC with
// StretchBlt in COLORONCOLOR mode (element_compose.h picks the same source pixels).
// Nothing is cached: the images are small and a DIB section is made per call.
//
// All GDI objects are held in fw:: scoped handles. After GDI has drawn into a DIB
// section, GdiFlush() must run before its bits are read (ReadDibPixels does it).
#include <windows.h>

#include <memory>

#include "framework/scoped_handle.h"
#include "skin/manager/element_compose.h"
#include "skin/store/pixel_bitmap.h"

namespace skin {

inline PixelRect ToPixelRect(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }
inline RECT ToRect(const PixelRect& r) { return {r.left, r.top, r.right, r.bottom}; }
// A RECT holding a skin element record's LeftWidth, TopHeight, RightWidth, BottomHeight.
inline Margins ToMargins(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }

// A top-down DIB section and its pixel memory.
struct DibSection {
  fw::ScopedBitmap bitmap;
  uint8_t* bits = nullptr;
  int width = 0;
  int height = 0;
  PixelFormat format = PixelFormat::kBgra32;

  explicit operator bool() const { return bool(bitmap); }
  size_t Stride() const { return PixelBitmap::StrideFor(width, format); }
};

// A new DIB section (contents zero); empty when the size is not positive or GDI refuses.
DibSection CreateDibSection(int width, int height, PixelFormat format = PixelFormat::kBgra32);
// A DIB section holding a copy of `pixels`, in the same format (one memcpy).
DibSection DibFromPixels(const PixelBitmap& pixels);
// The pixels of a DIB section (after GdiFlush).
PixelBitmap ReadDibPixels(const DibSection& dib);
// The pixels of any bitmap (DIB section or device-dependent), read with GetDIBits as
// 32 bits per pixel; empty when the handle is not a bitmap.
PixelBitmap ReadBitmapPixels(HBITMAP bitmap);

// The nine-slice image of frame `frame_index` of `frame_count` as a new bitmap of the
// target's size (a DIB section in the source's format), or an empty handle for an
// inverted, empty or oversized target. The caller owns it.
fw::ScopedBitmap ComposeElement(const RECT& target, const PixelBitmap& source,
                                const Margins& margins, int frame_index, int frame_count, bool tile,
                                bool stacked);

// Paints the composed image at the target rectangle: transparent on magenta when `trans`
// is set, otherwise copied (SRCCOPY). Nothing for an inverted target.
void DrawElement(HDC dc, const RECT& target, const PixelBitmap& source, const Margins& margins,
                 int frame_index, int frame_count, bool trans, bool tile, bool stacked);

// Stretches the eight border pieces straight onto `dc` (its stretch mode is set to
// COLORONCOLOR and left so); the centre of the target is left untouched.
void DrawElementDirect(HDC dc, const RECT& target, const PixelBitmap& source,
                       const Margins& margins, int frame_index, int frame_count, bool stacked);

// A three-slice horizontal strip (only margins.left and margins.right are used) at the
// target: transparent on magenta when `trans` is set, otherwise copied. A middle width of
// zero or less draws no middle tiles.
void DrawHorzElement(HDC dc, const RECT& target, const PixelBitmap& source, const Margins& margins,
                     int frame_index, int frame_count, bool trans, bool stacked);

// One whole frame (frames side by side) stretched to the target, transparent on magenta
// when `trans` is set.
void DrawElementFrame(HDC dc, const RECT& target, const PixelBitmap& source, int frame_index,
                      int frame_count, bool trans);

// Repeats `source_rect` of `source` over the target with BitBlt, tiles whole (the last
// column and row run past the target). Nothing when the source rectangle is empty or not
// inside the bitmap.
void TileBitmap(HDC dc, const RECT& target, const PixelBitmap& source, const RECT& source_rect);

// How DrawTransparent keeps the key pixels:
// - kCopyOpaque copies only the opaque pixels: one BitBlt per block of OpaqueBlocks when
//   there are at most kMaxOpaqueBlocks of them (one BitBlt when there is no key pixel),
//   otherwise one AlphaBlend of a copy whose key pixels have alpha 0 and all others 255,
//   which mixes no pixel; on a right-to-left DC, MaskBlt, which mirrors the image whole.
// - kMaskBlt: one MaskBlt through a monochrome mask.
// - kInvertMaskInvert: SRCINVERT, SRCAND with the mask, SRCINVERT (the Windows 9x family,
//   which has neither MaskBlt nor AlphaBlend).
enum class TransparentMethod : uint8_t { kAuto, kCopyOpaque, kMaskBlt, kInvertMaskInvert };
inline constexpr size_t kMaxOpaqueBlocks = 64;
// kCopyOpaque when GetVersion's high bit is clear (NT family), else kInvertMaskInvert.
TransparentMethod PlatformTransparentMethod();

// Copies the bitmap (from its origin) to the target's top-left corner, at most the
// target's width and height and never more than the bitmap has, leaving the destination
// unchanged where the bitmap has the key colour. Nothing for an inverted target.
void DrawTransparent(HDC dc, const RECT& target, const PixelBitmap& bitmap,
                     COLORREF key = kMagentaKey,
                     TransparentMethod method = TransparentMethod::kAuto);
void DrawTransparent(HDC dc, const RECT& target, HBITMAP bitmap, COLORREF key = kMagentaKey,
                     TransparentMethod method = TransparentMethod::kAuto);

// A region covering every pixel of the bitmap whose colour is not in the key range
// (KeyRange::From), shifted by the offsets. Rectangles are gathered in a buffer that grows
// by 500 and turned into a region every 2,000 (ExtCreateRegion, united with RGN_OR). The
// caller owns the region; a bitmap without opaque pixels gives an empty region. The
// bitmap is only read: 24- and 32-bit pixels are scanned as they are.
fw::ScopedRegion RegionFromBitmap(const PixelBitmap& bitmap, int x_offset, int y_offset,
                                  COLORREF key = kMagentaKey, int red_tolerance = 1,
                                  int green_tolerance = 1, int blue_tolerance = 1);
fw::ScopedRegion RegionFromBitmap(HBITMAP bitmap, int x_offset, int y_offset,
                                  COLORREF key = kMagentaKey, int red_tolerance = 1,
                                  int green_tolerance = 1, int blue_tolerance = 1);

// The plain GDI way of composing an element, for comparison: the nine pieces stretched
// with StretchBlt (COLORONCOLOR) onto a 32-bit memory bitmap of the target's size, the
// tiled centre with TileBitmap. Gives the same pixels as ComposeElement.
PixelBitmap ComposeElementWithGdi(const RECT& target, const PixelBitmap& source,
                                  const Margins& margins, int frame_index, int frame_count,
                                  bool tile, bool stacked);

// A composed image kept ready to be put down many times at its own size: its pixels in a
// DIB section selected into a memory DC and, when it is transparent, its magenta mask.
// Empty (puts down nothing) when the image is empty or GDI refuses.
class PreparedImage {
 public:
  PreparedImage(const PixelBitmap& image, bool trans);
  PreparedImage(const PreparedImage&) = delete;
  PreparedImage& operator=(const PreparedImage&) = delete;
  ~PreparedImage();

  int Width() const { return dib_.width; }
  int Height() const { return dib_.height; }
  // As PutDown of the composed image: transparent on magenta or copied, at (x, y).
  void PutDown(HDC dc, int x, int y) const;

 private:
  fw::ScopedMemoryDc dc_;
  DibSection dib_;
  fw::ScopedBitmap mask_;
  std::unique_ptr<fw::ScopedSelectObject> selection_;  // released first: puts the old bitmap back
};

// Gives an off-screen DC the mirroring of the DC its picture is copied to. A picture drawn
// into a plain memory DC and copied into a right-to-left DC is flipped whole, its text read
// backwards; drawn into a memory DC mirrored the same way, the copy keeps it as drawn, so
// the layout and the art come out mirrored while text reads normally. Both DCs then take
// the same logical coordinates. The off-screen DC's bitmap must be selected first: its
// width is the mirror's axis. For an off-screen DC that only ever draws for `target`.
void MirrorLike(HDC offscreen, HDC target);

// MirrorLike for the life of the object; the previous layout comes back at the end.
class ScopedLayoutLike {
 public:
  ScopedLayoutLike(HDC offscreen, HDC target);
  ScopedLayoutLike(const ScopedLayoutLike&) = delete;
  ScopedLayoutLike& operator=(const ScopedLayoutLike&) = delete;
  ~ScopedLayoutLike();

 private:
  HDC dc_ = nullptr;
  DWORD old_ = 0;
};

// The process-wide off-screen surface painters reuse when they need a temporary bitmap of
// changing size: a 32-bit DIB section selected into its own memory DC, whose stretch mode
// is COLORONCOLOR.
class ScratchSurface {
 public:
  ScratchSurface();
  ScratchSurface(const ScratchSurface&) = delete;
  ScratchSurface& operator=(const ScratchSurface&) = delete;
  ~ScratchSurface();

  // Makes the surface width x height (at least 1 x 1); a new size gets a new bitmap whose
  // contents are zero, the same size keeps the contents. False when GDI refuses.
  bool SetSize(int width, int height);
  HDC Dc() const { return dc_.get(); }
  HBITMAP Bitmap() const { return dib_.bitmap.get(); }
  int Width() const { return dib_.width; }
  int Height() const { return dib_.height; }
  // The pixels, top-down 32-bit rows (call GdiFlush() after GDI drawing, before reading).
  uint8_t* Bits() const { return dib_.bits; }
  size_t Stride() const { return dib_.Stride(); }

 private:
  fw::ScopedMemoryDc dc_;
  DibSection dib_;
  std::unique_ptr<fw::ScopedSelectObject> selection_;  // released first: puts the old bitmap back
};

// The process-wide ScratchBitmap: null before CreateScratchBitmap and after
// FreeScratchBitmap, and painters draw nothing then.
ScratchSurface* ScratchBitmap();
void CreateScratchBitmap();
void FreeScratchBitmap();

}  // namespace skin
