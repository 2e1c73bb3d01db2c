#include "skin/data/skin_scaling.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <vector>

#include "skin/store/bitmap_ops.h"

namespace skin {

namespace {

int64_t RoundedScale(int64_t value, int dpi) {
  // |value| < 2^31 and dpi < 2^31: the product fits in 64 bits.
  const int64_t p = value * dpi;
  return p >= 0 ? (p + kBaseDpi / 2) / kBaseDpi : -((-p + kBaseDpi / 2) / kBaseDpi);
}

// ---------------------------------------------------------------------------------------
// One axis of a frame: for every destination pixel the source pixels under it, each with
// its overlap as an integer weight, and the source pixel under its centre.

struct Tap {
  int source;
  int64_t weight;
};

struct Sample {
  size_t first_tap = 0, tap_count = 0;
  int centre = 0;
};

struct Axis {
  std::vector<Sample> samples;
  std::vector<Tap> taps;
};

// Destination [d0, d1) shows source [s0, s1) stretched. Measured in 1/(d1-d0) of a source
// pixel, destination pixel i covers [i*m, (i+1)*m) past s0 and source pixel j covers
// [j*n, (j+1)*n), so the overlaps are exact integers. A piece without source pixels
// repeats the one at s0.
void AddPiece(Axis& axis, int d0, int d1, int s0, int s1, int source_length) {
  const int64_t n = int64_t(d1) - d0, m = int64_t(s1) - s0;
  for (int64_t i = 0; i < n; ++i) {
    Sample sample;
    sample.first_tap = axis.taps.size();
    if (m <= 0) {
      sample.centre = std::clamp(s0, 0, source_length - 1);
      axis.taps.push_back({sample.centre, 1});
    } else {
      const int64_t begin = i * m, end = begin + m;
      for (int64_t j = begin / n; j * n < end; ++j)
        axis.taps.push_back({int(s0 + j), std::min(end, (j + 1) * n) - std::max(begin, j * n)});
      sample.centre = int(s0 + (2 * i + 1) * m / (2 * n));
    }
    sample.tap_count = axis.taps.size() - sample.first_tap;
    axis.samples.push_back(sample);
  }
}

// The three pieces of a nine-grid axis: the fixed start, the middle and the fixed end, cut
// once in the source frame and once in the destination frame. Negative edges count as 0
// and edges are cut back to fit their frame, so the pieces always meet exactly.
Axis BuildAxis(int source_length, int source_start, int source_end, int dest_length, int dest_start,
               int dest_end) {
  auto cut = [](int length, int start, int end) {
    const int a = std::clamp(start, 0, length);
    const int b = std::clamp(end, 0, length - a);
    return std::array<int, 4>{0, a, length - b, length};
  };
  const std::array<int, 4> s = cut(source_length, source_start, source_end);
  const std::array<int, 4> d = cut(dest_length, dest_start, dest_end);
  Axis axis;
  axis.samples.reserve(size_t(dest_length));
  for (size_t k = 0; k < 3; ++k) AddPiece(axis, d[k], d[k + 1], s[k], s[k + 1], source_length);
  return axis;
}

bool IsKey(const uint8_t* p) {
  return p[0] == uint8_t(kMagentaKey >> 16) && p[1] == uint8_t(kMagentaKey >> 8) &&
         p[2] == uint8_t(kMagentaKey);
}

// One frame: source frame at (sx, sy) onto the destination frame at (dx, dy).
void ScaleFrame(const PixelBitmap& source, int sx, int sy, PixelBitmap& dest, int dx, int dy,
                const Axis& ax, const Axis& ay) {
  const int bpp = source.BytesPerPixel();
  for (size_t y = 0; y < ay.samples.size(); ++y) {
    const Sample& row = ay.samples[y];
    uint8_t* out = dest.ScanLine(dy + int(y)) + size_t(dx) * size_t(bpp);
    for (const Sample& column : ax.samples) {
      const uint8_t* centre =
          source.ScanLine(sy + row.centre) + size_t(sx + column.centre) * size_t(bpp);
      if (IsKey(centre) || (row.tap_count == 1 && column.tap_count == 1)) {
        std::memcpy(out, centre, size_t(bpp));
        out += bpp;
        continue;
      }
      // The mean of the non-key pixels under this one; the centre pixel is one of them.
      int64_t sums[4] = {0, 0, 0, 0};
      int64_t total = 0;
      for (size_t r = row.first_tap; r < row.first_tap + row.tap_count; ++r) {
        const Tap& ty = ay.taps[r];
        const uint8_t* line = source.ScanLine(sy + ty.source);
        for (size_t c = column.first_tap; c < column.first_tap + column.tap_count; ++c) {
          const Tap& tx = ax.taps[c];
          const uint8_t* p = line + size_t(sx + tx.source) * size_t(bpp);
          if (IsKey(p)) continue;
          const int64_t w = tx.weight * ty.weight;
          for (int k = 0; k < bpp; ++k) sums[k] += w * p[k];
          total += w;
        }
      }
      for (int k = 0; k < bpp; ++k) out[k] = uint8_t((sums[k] + total / 2) / total);
      // Non-key colours can average to the key itself: keep the centre pixel then.
      if (IsKey(out)) std::memcpy(out, centre, size_t(bpp));
      out += bpp;
    }
  }
}

PixelBitmap ScaleImage(const PixelBitmap& source, const ImageGrid& grid, int frame_width,
                       int frame_height, const Margins& to, int64_t& budget) {
  if (source.Empty() || frame_width <= 0 || frame_height <= 0) return {};
  const bool stacked = grid.layout == FrameLayout::kStacked;
  const int count = std::max(grid.frame_count, 1);
  const PixelRect first = FrameRect(source.Width(), source.Height(), 1, count, grid.layout);
  if (first.Empty()) return {};
  const int64_t width = stacked ? frame_width : int64_t(frame_width) * count;
  const int64_t height = stacked ? int64_t(frame_height) * count : frame_height;
  if (width > kCoordinateLimit || height > kCoordinateLimit || width * height > budget) return {};
  budget -= width * height;

  const Margins& from = grid.margins;
  const Axis ax = BuildAxis(first.Width(), from.left, from.right, frame_width, to.left, to.right);
  const Axis ay = BuildAxis(first.Height(), from.top, from.bottom, frame_height, to.top, to.bottom);
  PixelBitmap result(int(width), int(height), source.Format());
  for (int k = 1; k <= count; ++k) {
    const PixelRect f = FrameRect(source.Width(), source.Height(), k, count, grid.layout);
    const int dx = stacked ? 0 : (k - 1) * frame_width;
    const int dy = stacked ? (k - 1) * frame_height : 0;
    ScaleFrame(source, f.left, f.top, result, dx, dy, ax, ay);
  }
  return result;
}

// ---------------------------------------------------------------------------------------
// Walking the slots of two definitions side by side.

enum class Slot : uint8_t {
  kLeftStrip,
  kRightStrip,
  kTopStrip,
  kBottomStrip,
  kTitle,
  kButtons,
  kProgress,
  kMenuBar,
  kTabs,
  kComboButton,
  kWholeFrames,  // drawn one whole frame at a time: the fixed edges cut nothing
  kPlain,        // frames side by side, nine-grids cut by the record's fixed edges
};

template <class Fn>
void ForEachSlot(SkinDefinition& to, const SkinDefinition& from, Fn&& fn) {
  fn(Slot::kLeftStrip, to.LeftStrip, from.LeftStrip);
  fn(Slot::kRightStrip, to.RightStrip, from.RightStrip);
  fn(Slot::kTopStrip, to.TopStrip, from.TopStrip);
  fn(Slot::kBottomStrip, to.BottomStrip, from.BottomStrip);
  fn(Slot::kTitle, to.Title, from.Title);
  fn(Slot::kButtons, to.Buttons, from.Buttons);
  fn(Slot::kProgress, to.Progress, from.Progress);
  fn(Slot::kMenuBar, to.MenuBarElement, from.MenuBarElement);
  fn(Slot::kPlain, to.GroupBoxEdge, from.GroupBoxEdge);
  fn(Slot::kPlain, to.Toolbars, from.Toolbars);
  fn(Slot::kTabs, to.Tabs, from.Tabs);
  fn(Slot::kPlain, to.StatusBarEdges, from.StatusBarEdges);
  fn(Slot::kComboButton, to.ComboButton, from.ComboButton);
  fn(Slot::kPlain, to.SunkEdge, from.SunkEdge);
  fn(Slot::kWholeFrames, to.ExtraImages, from.ExtraImages);
  fn(Slot::kPlain, to.Headerbar, from.Headerbar);
  fn(Slot::kPlain, to.MenuItem, from.MenuItem);
  fn(Slot::kPlain, to.MenuBackground, from.MenuBackground);
  fn(Slot::kWholeFrames, to.Scrollbar, from.Scrollbar);
  fn(Slot::kPlain, to.HorzScroll, from.HorzScroll);
  fn(Slot::kPlain, to.VertScroll, from.VertScroll);
  fn(Slot::kPlain, to.HorzScrollThumb, from.HorzScrollThumb);
  fn(Slot::kPlain, to.VertScrollThumb, from.VertScrollThumb);
  fn(Slot::kWholeFrames, to.TrackbarThumbHorz, from.TrackbarThumbHorz);
  fn(Slot::kWholeFrames, to.TrackbarThumbVert, from.TrackbarThumbVert);
  fn(Slot::kWholeFrames, to.TrackbarThumbLeft, from.TrackbarThumbLeft);
  fn(Slot::kWholeFrames, to.TrackbarThumbRight, from.TrackbarThumbRight);
  fn(Slot::kWholeFrames, to.TrackbarThumbUp, from.TrackbarThumbUp);
  fn(Slot::kWholeFrames, to.TrackbarThumbDown, from.TrackbarThumbDown);
  fn(Slot::kWholeFrames, to.UpDownHorz, from.UpDownHorz);
  fn(Slot::kWholeFrames, to.UpDownVert, from.UpDownVert);
}

template <class T>
std::unique_ptr<T> CopyRecord(const std::unique_ptr<T>& record) {
  return record ? std::make_unique<T>(*record) : nullptr;
}

// The tab skinner draws the tab border (Tabs' second image) with these fixed edges.
constexpr Margins kTabBorderMargins{4, 5, 4, 4};

Margins RecordMargins(const TDataSkinObject& e) {
  return {e.LeftWidth, e.TopHeight, e.RightWidth, e.BottomHeight};
}

// Scales the records of one definition; `budget` is what is left of kScaledPixelBudget.
class Scaler {
 public:
  explicit Scaler(int dpi) : dpi_(dpi) {}

  // Scales the images of `e` (a copy of a base record) cut as `grid` and the margins of the
  // grid; returns the scaled margins (cut against the image's frame).
  Margins Scale(PixelBitmap& image, const ImageGrid& grid) {
    const PixelRect f = FrameRect(image.Width(), image.Height(), 1, grid.frame_count, grid.layout);
    const Margins& m = grid.margins;
    const EdgePair h = ScaleEdges(m.left, m.right, f.Width(), dpi_);
    const EdgePair v = ScaleEdges(m.top, m.bottom, f.Height(), dpi_);
    const Margins to{h.start, v.start, h.end, v.end};
    image = ScaleImage(image, grid, ScaleLength(f.Width(), dpi_), ScaleLength(f.Height(), dpi_), to,
                       budget_);
    return to;
  }

  void SetRecordMargins(TDataSkinObject& e, const Margins& m) {
    e.LeftWidth = m.left;
    e.TopHeight = m.top;
    e.RightWidth = m.right;
    e.BottomHeight = m.bottom;
  }

  // A record whose Image is cut by its own fixed edges.
  void ScaleCutByEdges(TDataSkinObject& e, int frames, FrameLayout layout) {
    SetRecordMargins(e, Scale(e.Image, {frames, layout, RecordMargins(e)}));
  }

  // A record whose images are drawn whole frame by whole frame.
  void ScaleEdgesOnly(TDataSkinObject& e) {
    SetRecordMargins(e, ScaleMargins(RecordMargins(e), dpi_));
  }

  void Whole(PixelBitmap& image, int frames) {
    Scale(image, {frames, FrameLayout::kSideBySide, {}});
  }

  void Record(Slot slot, TDataSkinObject& e) {
    const FrameLayout side = FrameLayout::kSideBySide, stacked = FrameLayout::kStacked;
    switch (slot) {
      case Slot::kLeftStrip:
      case Slot::kRightStrip:
      case Slot::kTopStrip:
      case Slot::kBottomStrip: {
        auto& strip = static_cast<TDataSkinBorder&>(e);
        const FrameLayout layout =
            slot == Slot::kTopStrip || slot == Slot::kBottomStrip ? stacked : side;
        const Margins base = RecordMargins(strip);
        ScaleCutByEdges(strip, strip.FrameCount, layout);
        Scale(strip.Image2, {strip.FrameCount, layout, base});
        break;
      }
      case Slot::kTitle: {
        // The edges carry the caption text geometry; the text background's fixed ends are
        // TXTBackleft and TXTBackRight, its frames stacked.
        auto& title = static_cast<TDataSkinTitle&>(e);
        ScaleEdgesOnly(title);
        const Margins ends =
            Scale(title.Image,
                  {title.FrameCount, stacked, {title.TXTBackleft, 0, title.TXTBackRight, 0}});
        title.TXTBackleft = ends.left;
        title.TXTBackRight = ends.right;
        title.FontHeight = ScaleLength(title.FontHeight, dpi_);
        break;
      }
      case Slot::kButtons: {
        auto& buttons = static_cast<TDataSkinButton&>(e);
        ScaleCutByEdges(buttons, buttons.FrameCount, side);
        Whole(buttons.CheckImage, buttons.CheckButtonFrame);
        Whole(buttons.RadioImage, buttons.RadioButtonFrame);
        break;
      }
      case Slot::kProgress: {
        // Style 1 draws the whole image as one frame under the chunks (the second image).
        auto& progress = static_cast<TDataSkinBorder&>(e);
        ScaleCutByEdges(progress, progress.Style == 1 ? 1 : progress.FrameCount, side);
        Whole(progress.Image2, 1);
        break;
      }
      case Slot::kMenuBar:
        ScaleCutByEdges(e, e.FrameCount, stacked);
        break;
      case Slot::kTabs: {
        auto& tabs = static_cast<TDataSkinBorder&>(e);
        ScaleCutByEdges(tabs, tabs.FrameCount, side);
        Scale(tabs.Image2, {1, side, kTabBorderMargins});
        break;
      }
      case Slot::kComboButton: {
        // The second image is the first mirrored, as the reader derives it.
        auto& combo = static_cast<TDataSkinBorder&>(e);
        ScaleEdgesOnly(combo);
        Whole(combo.Image, combo.FrameCount);
        if (!combo.Image2.Empty()) {
          combo.Image2 = combo.Image.Converted(PixelFormat::kBgr24);
          MirrorHorizontally(combo.Image2);
        }
        break;
      }
      case Slot::kWholeFrames:
        ScaleEdgesOnly(e);
        Whole(e.Image, e.FrameCount);
        if (auto* border = dynamic_cast<TDataSkinBorder*>(&e)) Whole(border->Image2, e.FrameCount);
        break;
      case Slot::kPlain:
        ScaleCutByEdges(e, e.FrameCount, side);
        break;
    }
  }

  void CaptionButton(TDataSkinSysButton& b) {
    ScaleEdgesOnly(b);
    Whole(b.Image, b.FrameCount);
    b.Xcoord = ScaleLength(b.Xcoord, dpi_);
    b.Ycoord = ScaleLength(b.Ycoord, dpi_);
  }

 private:
  int dpi_;
  int64_t budget_ = kScaledPixelBudget;
};

}  // namespace

int ScaleLength(int value, int dpi) {
  if (dpi < 1) dpi = kBaseDpi;
  return ClampCoordinate(RoundedScale(value, dpi));
}

Margins ScaleMargins(const Margins& m, int dpi) {
  return {ScaleLength(m.left, dpi), ScaleLength(m.top, dpi), ScaleLength(m.right, dpi),
          ScaleLength(m.bottom, dpi)};
}

int SkinScalingDpi(int dpi) {
  return dpi < 1 ? kBaseDpi : std::clamp(dpi, kMinSkinDpi, kMaxSkinDpi);
}

EdgePair ScaleEdges(int start, int end, int frame_length, int dpi) {
  EdgePair e{ScaleLength(start, dpi), ScaleLength(end, dpi)};
  const int64_t frame = ScaleLength(frame_length, dpi);
  if (start < 0 || end < 0 || int64_t(start) + end >= frame_length) return e;
  int64_t excess = int64_t(e.start) + e.end - (frame - 1);
  if (excess <= 0 || frame < 1) return e;
  int& larger = e.start >= e.end ? e.start : e.end;
  int& smaller = e.start >= e.end ? e.end : e.start;
  const int64_t from_larger = std::min<int64_t>(excess, larger);
  larger -= int(from_larger);
  smaller -= int(std::min<int64_t>(excess - from_larger, smaller));
  return e;
}

PixelBitmap ScaleElementImage(const PixelBitmap& source, const ImageGrid& grid, int frame_width,
                              int frame_height, const Margins& dest_margins) {
  int64_t budget = kScaledPixelBudget;
  return ScaleImage(source, grid, frame_width, frame_height, dest_margins, budget);
}

SkinDefinition CopySkinDefinition(const SkinDefinition& source) {
  SkinDefinition copy;
  static_cast<ColourScheme&>(copy) = source;
  copy.SkinName = source.SkinName;
  ForEachSlot(copy, source, [](Slot, auto& to, const auto& from) { to = CopyRecord(from); });
  copy.SysButtons.reserve(source.SysButtons.size());
  for (const auto& b : source.SysButtons) copy.SysButtons.push_back(CopyRecord(b));
  return copy;
}

SkinDefinition ScaleSkinDefinition(const SkinDefinition& base, int dpi) {
  dpi = SkinScalingDpi(dpi);
  if (dpi == kBaseDpi) return CopySkinDefinition(base);
  SkinDefinition scaled;
  static_cast<ColourScheme&>(scaled) = base;
  scaled.SkinName = base.SkinName;
  // Record by record, so that no more than one base record is held twice at a time.
  Scaler scaler(dpi);
  ForEachSlot(scaled, base, [&](Slot slot, auto& to, const auto& from) {
    to = CopyRecord(from);
    if (to) scaler.Record(slot, *to);
  });
  scaled.SysButtons.reserve(base.SysButtons.size());
  for (const auto& b : base.SysButtons) {
    scaled.SysButtons.push_back(CopyRecord(b));
    if (b) scaler.CaptionButton(*scaled.SysButtons.back());
  }
  return scaled;
}

}  // namespace skin
