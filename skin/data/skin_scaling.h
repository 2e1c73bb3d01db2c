#pragma once
// A whole skin at another screen resolution. Skins are drawn for 96 DPI; a display at 120,
// 144 or 192 DPI gets a copy of the definition in which every length (fixed edges,
// caption-button offsets, the title's text geometry, the font height) is scaled and every
// image is redrawn frame by frame at the scaled size, so all geometry derived from the
// definition follows without knowing about the resolution.
//
// Images keep their nine-grid: within each frame the corners are scaled as wholes to the
// scaled fixed edges and the edges and centre to the rest, so composing the scaled element
// at a scaled size lays it out as the base composed at the base size, scaled. Pixels are
// area-averaged (an exact replication at whole factors) and the magenta colour key stays
// exact: a scaled pixel is the key when the source pixel under its centre is, and else a
// mean of the non-key source pixels under it only.
#include <cstdint>
#include <vector>

#include "skin/data/skin_definition.h"
#include "skin/manager/element_compose.h"

namespace skin {

// kBaseDpi, kMinSkinDpi and kMaxSkinDpi come with the definition (skin_definition.h):
// ScaleSkinDefinition brings any resolution into kMinSkinDpi..kMaxSkinDpi (SkinScalingDpi).

// The pixels one scaled definition may hold, as many as reading may deliver; images past it
// come back empty. Real skins hold a few hundred thousand pixels, some millions at 384 DPI.
inline constexpr int64_t kScaledPixelBudget = ReaderImageFetcher::kPixelBudget;

// value * dpi / 96 rounded to nearest (halves away from zero), in 64 bits, clamped to
// +-kCoordinateLimit; dpi below 1 counts as 96.
int ScaleLength(int value, int dpi);
// ScaleLength of each edge.
Margins ScaleMargins(const Margins& margins, int dpi);
// The resolution ScaleSkinDefinition actually scales to: dpi below 1 counts as 96, the rest
// is clamped to kMinSkinDpi..kMaxSkinDpi. Geometry the engine scales itself next to a
// scaled definition uses the same value.
int SkinScalingDpi(int dpi);

// The fixed edges of one axis scaled: ScaleLength of both, except that when the base frame
// of `frame_length` keeps a middle between them (start + end < frame_length) and rounding
// would close it in the scaled frame (ScaleLength(frame_length)), the larger edge gives up
// the pixels needed to keep a middle of one pixel. Only fractional factors below 1.5 and
// downscaling can need that.
struct EdgePair {
  int start = 0, end = 0;
  friend bool operator==(const EdgePair&, const EdgePair&) = default;
};
EdgePair ScaleEdges(int start, int end, int frame_length, int dpi);

// How an element image is cut: `frame_count` equal frames (a count below 1 counts as 1)
// laid out as `layout`, each a nine-grid with `margins` (all 0: the frame scales whole).
struct ImageGrid {
  int frame_count = 1;
  FrameLayout layout = FrameLayout::kSideBySide;
  Margins margins;
};

// `source` cut as `grid` says, with every frame scaled to frame_width x frame_height and
// its nine-grid cut at `dest_margins`: the result is frame_count scaled frames laid out
// the same way and nothing else (columns or rows past the last whole source frame, which
// no frame shows, are dropped). Empty when the source or a frame is empty or the result
// would exceed kScaledPixelBudget.
PixelBitmap ScaleElementImage(const PixelBitmap& source, const ImageGrid& grid, int frame_width,
                              int frame_height, const Margins& dest_margins);

// A deep copy: every record and bitmap; empty slots stay empty; the colour scheme and the
// name are copied.
SkinDefinition CopySkinDefinition(const SkinDefinition& source);

// The definition at SkinScalingDpi(dpi) (96 gives a copy). Scaled: every record's fixed
// edges (LeftWidth, TopHeight, RightWidth, BottomHeight; by ScaleEdges against the frame
// of the image they cut), every image (Image, Image2, CheckImage, RadioImage), the caption
// buttons' Xcoord and Ycoord, the title's text geometry (TextShift, TextShiftVert,
// TextRightClip in its edges), FontHeight, TXTBackleft and TXTBackRight. Colours,
// switches, frame counts, actions, alignments and names stay.
SkinDefinition ScaleSkinDefinition(const SkinDefinition& base, int dpi);

// The same with art drawn for `drawn_dpi`: `drawn` is the definition read from the same
// definition text with each image name mapped to its "@<drawn_dpi>" entry (see
// ReaderImageFetcher), empty where there is none. Each image is taken from the drawn art
// when that holds exactly the base image's frames at drawn_dpi (frame sizes by
// ScaleLength, as the base image would be scaled), rescaled to `dpi` when the two differ;
// drawn art of any other size does not fit and is ignored. Everything else, and every
// image without fitting art, scales from the base. At 96 DPI the base is copied.
SkinDefinition ScaleSkinDefinition(const SkinDefinition& base, int dpi, const SkinDefinition* drawn,
                                   int drawn_dpi);

// Which of a package's drawn resolutions (DrawnDpis) serves `dpi` best: the same one, else
// the smallest above it (drawn detail shrinks better than base art grows), else 0 (none:
// scale the base).
int ChooseDrawnDpi(const std::vector<int>& drawn_dpis, int dpi);

}  // namespace skin
