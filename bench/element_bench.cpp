// Element painting figures: composing a 1024 x 768 nine-slice frame and building a region
// from a 1024-pixel-wide title strip with transparent corners. The same source builds
// natively (portable composition and run extraction) and for Windows, where it also times
// the painting layer (DIB section result, HRGN) and the plain GDI way: nine StretchBlt
// calls onto a memory DC, and a region united rectangle by rectangle.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>

#include "skin/manager/element_compose.h"
#ifdef _WIN32
#include "skin/manager/element_painting.h"
#endif

namespace {

using Clock = std::chrono::steady_clock;

// Runs `work` repeatedly for about half a second (at least 3 times) and prints the mean.
void Measure(const char* what, const std::function<void()>& work) {
  work();  // warm up
  int runs = 0;
  const auto start = Clock::now();
  auto elapsed = Clock::duration::zero();
  while (runs < 3 || elapsed < std::chrono::milliseconds(500)) {
    work();
    ++runs;
    elapsed = Clock::now() - start;
  }
  const double us = std::chrono::duration<double, std::micro>(elapsed).count() / runs;
  std::printf("  %-58s %10.1f us  (%d runs)\n", what, us, runs);
}

// A frame element: 3 frames of 96 x 96 side by side, with a distinct pixel pattern.
skin::PixelBitmap FrameElement() {
  skin::PixelBitmap b(288, 96, skin::PixelFormat::kBgra32);
  for (int y = 0; y < b.Height(); ++y)
    for (int x = 0; x < b.Width(); ++x)
      b.SetPixel(x, y, skin::Rgb(uint8_t(x * 7), uint8_t(y * 5), uint8_t((x ^ y) * 3)));
  return b;
}

#ifdef _WIN32
// The same frames with rounded corners (radius 8) in the magenta key, as a transparent
// element has them.
skin::PixelBitmap KeyedFrameElement() {
  skin::PixelBitmap b = FrameElement();
  for (int frame = 0; frame < 3; ++frame)
    for (int y = 0; y < 8; ++y)
      for (int x = 0; x < 8; ++x)
        if ((8 - x) * (8 - x) + (8 - y) * (8 - y) > 64)
          for (int cx : {frame * 96 + x, frame * 96 + 95 - x})
            for (int cy : {y, 95 - y}) b.SetPixel(cx, cy, skin::kMagentaKey);
  return b;
}

#endif

// A 1024 x 30 title strip whose rounded top corners (radius 8) are magenta, with a few
// magenta notches along its top edge.
skin::PixelBitmap TitleStrip() {
  skin::PixelBitmap b(1024, 30, skin::PixelFormat::kBgra32);
  b.Fill(skin::Rgb(90, 110, 160));
  for (int y = 0; y < 8; ++y) {
    for (int x = 0; x < 8; ++x) {
      const int dx = 8 - x, dy = 8 - y;
      if (dx * dx + dy * dy > 64) {
        b.SetPixel(x, y, skin::kMagentaKey);
        b.SetPixel(1023 - x, y, skin::kMagentaKey);
      }
    }
  }
  for (int x = 40; x < 1000; x += 24) b.SetPixel(x, 0, skin::kMagentaKey);
  return b;
}

}  // namespace

int main() {
  const skin::PixelBitmap element = FrameElement();
  const skin::Margins margins{10, 28, 10, 6};
  const skin::PixelRect target{0, 0, 1024, 768};
  const skin::PixelBitmap title = TitleStrip();

#ifdef _WIN32
  std::printf("element_bench (Windows build)\n");
#else
  std::printf("element_bench (native build)\n");
#endif
  std::printf("nine-slice 1024x768 from frame 2 of 3 (96x96), margins 10/28/10/6:\n");
  Measure("portable ComposeElement, centre stretched", [&] {
    skin::PixelBitmap out = skin::ComposeElement(target, element, margins, 2, 3, false, false);
  });
  Measure("portable ComposeElement, centre tiled", [&] {
    skin::PixelBitmap out = skin::ComposeElement(target, element, margins, 2, 3, true, false);
  });

  skin::PixelBitmap reused(1024, 768, skin::PixelFormat::kBgra32);
  Measure("portable ComposeElementOnto a reused bitmap, stretched", [&] {
    skin::ComposeElementOnto(reused, target, element, margins, 2, 3, false, false, true);
  });

  std::printf("region of a 1024x30 title strip with transparent corners:\n");
  size_t runs = 0;
  Measure("portable OpaqueRuns",
          [&] { runs = skin::OpaqueRuns(title, 0, 0, skin::kMagentaKey, 1, 1, 1).size(); });
  std::printf("  (%zu rectangles)\n", runs);

#ifdef _WIN32
  const RECT rect{0, 0, 1024, 768};
  std::printf("painting layer (GDI under this system):\n");
  Measure("ComposeElement -> DIB section bitmap", [&] {
    fw::ScopedBitmap out = skin::ComposeElement(rect, element, margins, 2, 3, false, false);
  });
  {
    // The plain GDI way: source and target stay selected; only the nine StretchBlt calls
    // (and the flush that makes GDI finish them) are timed.
    skin::DibSection source = skin::DibFromPixels(element);
    skin::DibSection result = skin::CreateDibSection(1024, 768);
    fw::ScopedMemoryDc source_dc(CreateCompatibleDC(nullptr)),
        result_dc(CreateCompatibleDC(nullptr));
    fw::ScopedSelectObject s1(source_dc.get(), source.bitmap.get());
    fw::ScopedSelectObject s2(result_dc.get(), result.bitmap.get());
    SetStretchBltMode(result_dc.get(), COLORONCOLOR);
    const skin::PixelRect frame = skin::FrameRect(288, 96, 2, 3, skin::FrameLayout::kSideBySide);
    const auto pieces = skin::NineSlicePieces(1024, 768, frame, margins, true);
    Measure("plain GDI: nine StretchBlt calls on a memory DC", [&] {
      for (const skin::SliceBlit& p : pieces)
        StretchBlt(result_dc.get(), p.dest.left, p.dest.top, p.dest.Width(), p.dest.Height(),
                   source_dc.get(), p.source.left, p.source.top, p.source.Width(),
                   p.source.Height(), SRCCOPY);
      GdiFlush();
    });
    Measure("DrawElement onto a memory DC (compose + BitBlt)", [&] {
      skin::DrawElement(result_dc.get(), rect, element, margins, 2, 3, false, false, false);
      GdiFlush();
    });
    const skin::PixelBitmap keyed = KeyedFrameElement();
    Measure("DrawElement transparent, no key pixels (compose + BitBlt)", [&] {
      skin::DrawElement(result_dc.get(), rect, element, margins, 2, 3, true, false, false);
      GdiFlush();
    });
    Measure("DrawElement transparent, keyed corners (compose + opaque blocks)", [&] {
      skin::DrawElement(result_dc.get(), rect, keyed, margins, 2, 3, true, false, false);
      GdiFlush();
    });
    const skin::PixelBitmap composed =
        skin::ComposeElement(skin::PixelRect{0, 0, 1024, 768}, keyed, margins, 2, 3, false, false);
    Measure("  the same composed image with MaskBlt (the older way)", [&] {
      skin::DrawTransparent(result_dc.get(), rect, composed, skin::kMagentaKey,
                            skin::TransparentMethod::kMaskBlt);
      GdiFlush();
    });
    Measure("  the same composed image, its opaque blocks copied", [&] {
      skin::DrawTransparent(result_dc.get(), rect, composed, skin::kMagentaKey,
                            skin::TransparentMethod::kCopyOpaque);
      GdiFlush();
    });
  }
  Measure("RegionFromBitmap (batched ExtCreateRegion)",
          [&] { fw::ScopedRegion r = skin::RegionFromBitmap(title, 0, 0); });
  const auto rects = skin::OpaqueRuns(title, 0, 0, skin::kMagentaKey, 1, 1, 1);
  Measure("plain GDI: CombineRgn per rectangle", [&] {
    fw::ScopedRegion r(CreateRectRgn(0, 0, 0, 0));
    for (const skin::PixelRect& q : rects) {
      fw::ScopedRegion one(CreateRectRgn(q.left, q.top, q.right, q.bottom));
      CombineRgn(r.get(), r.get(), one.get(), RGN_OR);
    }
  });
#endif
  return 0;
}
