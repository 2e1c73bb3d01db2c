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

// Calls fn(slot, member) for every slot but the caption buttons.
template <class Fn>
void ForEachSlot(Fn&& fn) {
  fn(Slot::kLeftStrip, &SkinDefinition::LeftStrip);
  fn(Slot::kRightStrip, &SkinDefinition::RightStrip);
  fn(Slot::kTopStrip, &SkinDefinition::TopStrip);
  fn(Slot::kBottomStrip, &SkinDefinition::BottomStrip);
  fn(Slot::kTitle, &SkinDefinition::Title);
  fn(Slot::kButtons, &SkinDefinition::Buttons);
  fn(Slot::kProgress, &SkinDefinition::Progress);
  fn(Slot::kMenuBar, &SkinDefinition::MenuBarElement);
  fn(Slot::kPlain, &SkinDefinition::GroupBoxEdge);
  fn(Slot::kPlain, &SkinDefinition::Toolbars);
  fn(Slot::kTabs, &SkinDefinition::Tabs);
  fn(Slot::kPlain, &SkinDefinition::StatusBarEdges);
  fn(Slot::kComboButton, &SkinDefinition::ComboButton);
  fn(Slot::kPlain, &SkinDefinition::SunkEdge);
  fn(Slot::kWholeFrames, &SkinDefinition::ExtraImages);
  fn(Slot::kPlain, &SkinDefinition::Headerbar);
  fn(Slot::kPlain, &SkinDefinition::MenuItem);
  fn(Slot::kPlain, &SkinDefinition::MenuBackground);
  fn(Slot::kWholeFrames, &SkinDefinition::Scrollbar);
  fn(Slot::kPlain, &SkinDefinition::HorzScroll);
  fn(Slot::kPlain, &SkinDefinition::VertScroll);
  fn(Slot::kPlain, &SkinDefinition::HorzScrollThumb);
  fn(Slot::kPlain, &SkinDefinition::VertScrollThumb);
  fn(Slot::kWholeFrames, &SkinDefinition::TrackbarThumbHorz);
  fn(Slot::kWholeFrames, &SkinDefinition::TrackbarThumbVert);
  fn(Slot::kWholeFrames, &SkinDefinition::TrackbarThumbLeft);
  fn(Slot::kWholeFrames, &SkinDefinition::TrackbarThumbRight);
  fn(Slot::kWholeFrames, &SkinDefinition::TrackbarThumbUp);
  fn(Slot::kWholeFrames, &SkinDefinition::TrackbarThumbDown);
  fn(Slot::kWholeFrames, &SkinDefinition::UpDownHorz);
  fn(Slot::kWholeFrames, &SkinDefinition::UpDownVert);
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

// Scales records of a definition to one resolution, within kScaledPixelBudget for all of
// them. With art drawn for another resolution (a record of a definition read with that
// art, set per record), an image is taken from the art where it has exactly the base
// image's layout at that resolution.
class Scaler {
 public:
  Scaler(int dpi, int drawn_dpi) : dpi_(dpi), drawn_dpi_(drawn_dpi) {}

  void SetArt(const TDataSkinObject* art) { art_ = art; }

  // Scales `image` (a copy of a base image) cut as `grid`, from `drawn` instead when that
  // fits; returns the scaled margins.
  Margins Scale(PixelBitmap& image, const ImageGrid& grid, const PixelBitmap* drawn) {
    const PixelRect f = FrameRect(image.Width(), image.Height(), 1, grid.frame_count, grid.layout);
    const Margins to = EdgesAt(grid.margins, f, dpi_);
    const int w = ScaleLength(f.Width(), dpi_), h = ScaleLength(f.Height(), dpi_);
    if (drawn && Fits(*drawn, grid, f)) {
      const ImageGrid from{grid.frame_count, grid.layout, EdgesAt(grid.margins, f, drawn_dpi_)};
      image = ScaleImage(*drawn, from, w, h, to, budget_);
    } else {
      image = ScaleImage(image, grid, w, h, to, budget_);
    }
    return to;
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
        CutByEdges(strip, strip.FrameCount, layout);
        Scale(strip.Image2, {strip.FrameCount, layout, base}, Art(&TDataSkinBorder::Image2));
        break;
      }
      case Slot::kTitle: {
        // The edges carry the caption text geometry; the text background's fixed ends are
        // TXTBackleft and TXTBackRight, its frames stacked.
        auto& title = static_cast<TDataSkinTitle&>(e);
        EdgesOnly(title);
        const Margins ends = Scale(
            title.Image, {title.FrameCount, stacked, {title.TXTBackleft, 0, title.TXTBackRight, 0}},
            Art(&TDataSkinObject::Image));
        title.TXTBackleft = ends.left;
        title.TXTBackRight = ends.right;
        title.FontHeight = ScaleLength(title.FontHeight, dpi_);
        break;
      }
      case Slot::kButtons: {
        auto& buttons = static_cast<TDataSkinButton&>(e);
        CutByEdges(buttons, buttons.FrameCount, side);
        Whole(buttons.CheckImage, buttons.CheckButtonFrame, Art(&TDataSkinButton::CheckImage));
        Whole(buttons.RadioImage, buttons.RadioButtonFrame, Art(&TDataSkinButton::RadioImage));
        break;
      }
      case Slot::kProgress: {
        // Style 1 draws the whole image as one frame under the chunks (the second image).
        auto& progress = static_cast<TDataSkinBorder&>(e);
        CutByEdges(progress, progress.Style == 1 ? 1 : progress.FrameCount, side);
        Whole(progress.Image2, 1, Art(&TDataSkinBorder::Image2));
        break;
      }
      case Slot::kMenuBar:
        CutByEdges(e, e.FrameCount, stacked);
        break;
      case Slot::kTabs: {
        auto& tabs = static_cast<TDataSkinBorder&>(e);
        CutByEdges(tabs, tabs.FrameCount, side);
        Scale(tabs.Image2, {1, side, kTabBorderMargins}, Art(&TDataSkinBorder::Image2));
        break;
      }
      case Slot::kComboButton: {
        // The second image is the first mirrored, as the reader derives it.
        auto& combo = static_cast<TDataSkinBorder&>(e);
        EdgesOnly(combo);
        Whole(combo.Image, combo.FrameCount, Art(&TDataSkinObject::Image));
        if (!combo.Image2.Empty()) {
          combo.Image2 = combo.Image.Converted(PixelFormat::kBgr24);
          MirrorHorizontally(combo.Image2);
        }
        break;
      }
      case Slot::kWholeFrames:
        EdgesOnly(e);
        Whole(e.Image, e.FrameCount, Art(&TDataSkinObject::Image));
        if (auto* border = dynamic_cast<TDataSkinBorder*>(&e))
          Whole(border->Image2, e.FrameCount, Art(&TDataSkinBorder::Image2));
        break;
      case Slot::kPlain:
        CutByEdges(e, e.FrameCount, side);
        break;
    }
  }

  void CaptionButton(TDataSkinSysButton& b) {
    EdgesOnly(b);
    Whole(b.Image, b.FrameCount, Art(&TDataSkinObject::Image));
    b.Xcoord = ScaleLength(b.Xcoord, dpi_);
    b.Ycoord = ScaleLength(b.Ycoord, dpi_);
  }

 private:
  static Margins EdgesAt(const Margins& m, const PixelRect& frame, int dpi) {
    const EdgePair h = ScaleEdges(m.left, m.right, frame.Width(), dpi);
    const EdgePair v = ScaleEdges(m.top, m.bottom, frame.Height(), dpi);
    return {h.start, v.start, h.end, v.end};
  }

  // Drawn art fits when it is the base image's frames at the art's resolution, exactly.
  bool Fits(const PixelBitmap& drawn, const ImageGrid& grid, const PixelRect& frame) const {
    if (drawn.Empty() || frame.Empty()) return false;
    const int64_t count = std::max(grid.frame_count, 1);
    const int64_t w = ScaleLength(frame.Width(), drawn_dpi_);
    const int64_t h = ScaleLength(frame.Height(), drawn_dpi_);
    const bool stacked = grid.layout == FrameLayout::kStacked;
    return drawn.Width() == (stacked ? w : w * count) &&
           drawn.Height() == (stacked ? h * count : h);
  }

  template <class R>
  const PixelBitmap* Art(PixelBitmap R::*member) const {
    const auto* record = dynamic_cast<const R*>(art_);
    return record ? &(record->*member) : nullptr;
  }

  static void SetRecordMargins(TDataSkinObject& e, const Margins& m) {
    e.LeftWidth = m.left;
    e.TopHeight = m.top;
    e.RightWidth = m.right;
    e.BottomHeight = m.bottom;
  }

  // A record whose Image is cut by its own fixed edges.
  void CutByEdges(TDataSkinObject& e, int frames, FrameLayout layout) {
    SetRecordMargins(
        e, Scale(e.Image, {frames, layout, RecordMargins(e)}, Art(&TDataSkinObject::Image)));
  }

  // A record whose images are drawn whole frame by whole frame: its edges cut nothing.
  void EdgesOnly(TDataSkinObject& e) { SetRecordMargins(e, ScaleMargins(RecordMargins(e), dpi_)); }

  void Whole(PixelBitmap& image, int frames, const PixelBitmap* drawn) {
    Scale(image, {frames, FrameLayout::kSideBySide, {}}, drawn);
  }

  int dpi_, drawn_dpi_;
  const TDataSkinObject* art_ = nullptr;
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
  copy.Dpi = source.Dpi;
  ForEachSlot([&](Slot, auto member) { copy.*member = CopyRecord(source.*member); });
  copy.SysButtons.reserve(source.SysButtons.size());
  for (const auto& b : source.SysButtons) copy.SysButtons.push_back(CopyRecord(b));
  return copy;
}

SkinDefinition ScaleSkinDefinition(const SkinDefinition& base, int dpi) {
  return ScaleSkinDefinition(base, dpi, nullptr, 0);
}

SkinDefinition ScaleSkinDefinition(const SkinDefinition& base, int dpi, const SkinDefinition* drawn,
                                   int drawn_dpi) {
  dpi = SkinScalingDpi(dpi);
  if (dpi == kBaseDpi) return CopySkinDefinition(base);
  if (drawn_dpi < 1) drawn = nullptr;
  SkinDefinition scaled;
  static_cast<ColourScheme&>(scaled) = base;
  scaled.SkinName = base.SkinName;
  scaled.Dpi = dpi;
  // Record by record, so that no more than one base record is held twice at a time.
  Scaler scaler(dpi, SkinScalingDpi(drawn_dpi));
  ForEachSlot([&](Slot slot, auto member) {
    auto& to = scaled.*member;
    to = CopyRecord(base.*member);
    if (!to) return;
    scaler.SetArt(drawn ? (drawn->*member).get() : nullptr);
    scaler.Record(slot, *to);
  });
  scaled.SysButtons.reserve(base.SysButtons.size());
  for (size_t i = 0; i < base.SysButtons.size(); ++i) {
    scaled.SysButtons.push_back(CopyRecord(base.SysButtons[i]));
    if (!scaled.SysButtons.back()) continue;
    scaler.SetArt(drawn && i < drawn->SysButtons.size() ? drawn->SysButtons[i].get() : nullptr);
    scaler.CaptionButton(*scaled.SysButtons.back());
  }
  return scaled;
}

int ChooseDrawnDpi(const std::vector<int>& drawn_dpis, int dpi) {
  dpi = SkinScalingDpi(dpi);
  if (std::find(drawn_dpis.begin(), drawn_dpis.end(), dpi) != drawn_dpis.end()) return dpi;
  int best = 0;
  for (int d : drawn_dpis)
    if (d > dpi && (best == 0 || d < best)) best = d;
  return best;
}

}  // namespace skin
