#pragma once
// The build's metallic skin in a skin data component of its own (not active: nothing is
// attached by the manager), for tests that attach skinners by hand.
#include <memory>
#include <string>

#include "skin/controls/scroll_bar_geometry.h"
#include "skin/data/skin_data.h"
#include "skin/manager/element_compose.h"
#include "tests/skin/data/skin_data_test_util.h"

namespace skintest {

inline std::unique_ptr<skin::TSkinData> LoadMetallic() {
  auto data = std::make_unique<skin::TSkinData>(nullptr);
  data->SetStoreBytes(ReadBytes(PackagePath("metallic.skn")));
  EXPECT_TRUE(data->LoadFromStore());
  return data;
}

// One frame of an element strip stretched onto `dest` at `target`, transparent on magenta.
inline void PutFrame(skin::PixelBitmap& dest, const skin::PixelRect& target,
                     const skin::PixelBitmap& strip, int frame, int frames) {
  if (target.Empty()) return;
  skin::TransparentCopy(dest, target, skin::ComposeElementFrame(target, strip, frame, frames));
}

// A nine-slice frame of an element onto `dest` at `target`, transparent when trans.
inline void PutElement(skin::PixelBitmap& dest, const skin::PixelRect& target,
                       const skin::TDataSkinObject& e, int frame, int frames, bool tile) {
  if (target.Empty()) return;
  const skin::Margins m{e.LeftWidth, e.TopHeight, e.RightWidth, e.BottomHeight};
  skin::PixelBitmap part =
      skin::ComposeElement(skin::PixelRect{0, 0, target.Width(), target.Height()}, e.Image, m,
                           frame, frames, tile, false);
  if (e.Trans == 1) {
    skin::TransparentCopy(dest, target, part);
  } else {
    skin::StretchCopy(part, {0, 0, part.Width(), part.Height()}, dest, target);
  }
}

// A bar as the skin draws it: the artwork 16 pixels thick, stretched to `thick`.
inline skin::PixelBitmap ExpectedBar(const skin::TSkinData& d, bool vertical, int length, int thick,
                                     int arrow, const skin::ThumbMetrics* m, int pressed) {
  using skin::PixelRect;
  const int ww = vertical ? 16 : length, wh = vertical ? length : 16;
  skin::PixelBitmap work(ww, wh);
  work.Fill(Resolve(d.ScrollbarColour));
  auto along = [&](int from, int to) {
    return vertical ? PixelRect{0, from, 16, to} : PixelRect{from, 0, to, 16};
  };
  const skin::TDataSkinObject& shaft = vertical ? *d.VertScroll : *d.HorzScroll;
  PutElement(work, along(arrow, length - arrow), shaft, 1, 4, shaft.Tile != 0);
  const int al = skin::DrawnArrowLength(length, arrow);
  const int first = vertical ? (pressed == skin::kPartUpArrow ? 10 : 9)
                             : (pressed == skin::kPartLeftArrow ? 2 : 1);
  const int second = vertical ? (pressed == skin::kPartDownArrow ? 14 : 13)
                              : (pressed == skin::kPartRightArrow ? 6 : 5);
  PutFrame(work, along(0, al), d.Scrollbar->Image, first, 23);
  PutFrame(work, along(length - al, length), d.Scrollbar->Image, second, 23);
  const skin::TDataSkinObject& thumb = vertical ? *d.VertScrollThumb : *d.HorzScrollThumb;
  if (m) {
    if (auto span = skin::DrawnThumb(*m, al)) {
      const bool down = pressed == (vertical ? skin::kPartVertThumb : skin::kPartHorzThumb);
      PutElement(work, along(span->start, span->start + span->length), thumb, down ? 2 : 1,
                 thumb.FrameCount > 0 ? thumb.FrameCount : 3, false);
    }
  }
  skin::PixelBitmap out(vertical ? thick : length, vertical ? length : thick);
  skin::StretchCopy(work, {0, 0, ww, wh}, out, {0, 0, out.Width(), out.Height()});
  return out;
}

}  // namespace skintest
