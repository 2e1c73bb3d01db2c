#include "tests/stress/paint_path.h"

#include <algorithm>
#include <climits>
#include <vector>

#include "skin/form/caption_layout.h"
#include "skin/form/frame_geometry.h"
#include "skin/manager/element_compose.h"
#include "skin/manager/menu_bar_layout.h"
#include "skin/manager/menu_item_layout.h"

namespace stress {

namespace {

using skin::Margins;
using skin::PixelBitmap;
using skin::PixelRect;

// Composed sizes are capped so that one run stays quick; the frame's own pieces are not.
constexpr int kElementSideCap = 512;
// Elements are composed at window-derived sizes up to this side.
constexpr int kControlSideCap = 96;
// Caption buttons composed as elements (the title bar draws every one).
constexpr int kButtonElements = 6;

class Painter {
 public:
  Painter(const skin::SkinDefinition& skin, const WindowShape& shape) : s_(skin), w_(shape) {}

  PaintTotals Run() {
    metrics_ = skin::FrameMetricsFromSkin(s_, w_.frameless);
    if (w_.menu_bar) metrics_.menu_height = 19;
    Frame();
    TitleBar();
    Region();
    Geometry();
    Elements();
    Menus();
    return totals_;
  }

 private:
  void Count(const PixelBitmap& b) {
    if (b.Empty()) return;
    totals_.pixels += int64_t(b.Width()) * b.Height();
    // A sample of the pixels: the corners and the middle.
    const int xs[] = {0, b.Width() / 2, b.Width() - 1};
    const int ys[] = {0, b.Height() / 2, b.Height() - 1};
    for (int y : ys)
      for (int x : xs) totals_.checksum = totals_.checksum * 31 + b.Pixel(x, y);
  }

  const skin::TDataSkinBorder* Strip(skin::FrameStrip side) const {
    switch (side) {
      case skin::FrameStrip::kLeft:
        return s_.LeftStrip.get();
      case skin::FrameStrip::kRight:
        return s_.RightStrip.get();
      case skin::FrameStrip::kTop:
        return s_.TopStrip.get();
      default:
        return s_.BottomStrip.get();
    }
  }

  // The border pieces, in the rectangles the frame paints them into.
  void Frame() {
    const int w = w_.width, h = w_.height;
    const auto& m = metrics_;
    struct Piece {
      skin::FrameStrip side;
      PixelRect rect;
    };
    const Piece pieces[] = {
        {skin::FrameStrip::kLeft, {0, 0, m.border_left, h}},
        {skin::FrameStrip::kRight, {w - m.border_right, 0, w, h}},
        {skin::FrameStrip::kBottom, {m.border_left, h - m.border_bottom, w - m.border_right, h}},
    };
    for (const Piece& p : pieces) {
      if (p.rect.Inverted()) continue;
      for (bool active : {true, false})
        Count(skin::ComposeFramePiece(Strip(p.side), p.side, p.rect.Width(), p.rect.Height(),
                                      active));
    }
  }

  // The title bar as PaintTitleBar makes it: the top strip's piece between the side
  // borders, the caption text background, then the caption buttons keyed over it.
  void TitleBar() {
    const int w = w_.width;
    if (w <= 0 || metrics_.border_top <= 0) return;
    const int top = metrics_.border_top;
    if (int64_t(w) * top > (int64_t(1) << 26)) return;  // the DIB the frame would refuse
    PixelBitmap cache(w, top, skin::PixelFormat::kBgra32);
    const PixelRect title{metrics_.border_left, 0, w - metrics_.border_right, top};
    if (!title.Inverted()) {
      const PixelBitmap piece = skin::ComposeFramePiece(s_.TopStrip.get(), skin::FrameStrip::kTop,
                                                        title.Width(), title.Height(), w_.active);
      skin::TransparentCopy(cache, title, piece, 0xFFFFFFFF);  // (no pixel matches)
    }

    skin::CaptionTextLayout layout;
    const skin::TDataSkinTitle& t = *s_.Title;
    layout.text_shift = t.LeftWidth;
    layout.text_shift_vert = t.TopHeight;
    layout.text_right_clip = t.RightWidth;
    layout.alignment = t.TextAlignment;
    layout.back_left = t.TXTBackleft;
    layout.back_right = t.TXTBackRight;
    layout.right_to_left = w_.right_to_left;
    layout.popup = w_.popup;
    const int text_width = 7 * std::max(w_.caption_length, 0);
    const int text_height = std::clamp(t.FontHeight, 0, 4096);
    layout.right_buttons_edge = Buttons(title, PixelRect{}, nullptr);
    const PixelRect text = skin::PlaceCaptionText(title, text_width, text_height, layout);
    if (!t.Image.Empty() && !text.Inverted()) {
      const PixelRect back{text.left, title.top, text.right, title.bottom};
      const PixelRect sized{0, 0, std::min(back.Width(), kElementSideCap * 8), back.Height()};
      const PixelBitmap strip = skin::ComposeHorzStrip(
          sized, t.Image, Margins{t.TXTBackleft, 0, t.TXTBackRight, 0}, w_.active ? 1 : 2, 2, true);
      skin::TransparentCopy(cache, back, strip);
      Count(strip);
    }
    Buttons(title, text, &cache);
    Count(cache);
    title_cache_ = std::move(cache);
  }

  // Lays out the caption buttons for a caption text at `text` and draws their resting
  // frames into `cache` (when given); returns the right-aligned buttons' edge.
  int Buttons(const PixelRect& title, const PixelRect& text, PixelBitmap* cache) {
    (void)title;
    std::vector<skin::CaptionButtonSpec> specs;
    for (const auto& b : s_.SysButtons) {
      if (!b) continue;
      skin::CaptionButtonSpec spec;
      spec.action = b->Action;
      spec.align = b->Align;
      spec.x = b->Xcoord;
      spec.y = b->Ycoord;
      spec.visibility = b->Visibility;
      spec.visibility1 = b->Visibility1;
      spec.image_width = b->Image.Width();
      spec.image_height = b->Image.Height();
      spec.frame_count = b->FrameCount;
      specs.push_back(spec);
    }
    skin::CaptionWindowState state;
    state.maximized = w_.maximized;
    state.active = w_.active;
    state.maximize_box = state.minimize_box = state.system_menu = true;
    state.mdi_child_maximized_row = w_.menu_bar && w_.maximized;
    skin::CaptionPlacement placement;
    placement.window_width = w_.width;
    placement.title_text = text;
    placement.border_left = metrics_.border_left;
    placement.border_top = metrics_.border_top;
    placement.border_right = metrics_.border_right;
    placement.menu_height = metrics_.menu_height;
    placement.menu_bar_left_width = s_.MenuBarElement ? s_.MenuBarElement->LeftWidth : 0;
    placement.right_to_left = w_.right_to_left;
    std::vector<bool> visible;
    std::vector<PixelRect> bounds;
    const int edge = skin::LayoutCaptionButtonRow(specs, state, placement, visible, bounds);
    if (!cache) return edge;

    std::vector<skin::CaptionHitEntry> hits;
    size_t i = 0;
    for (const auto& b : s_.SysButtons) {
      if (!b) continue;
      const size_t k = i++;
      hits.push_back({visible[k], b->Action, bounds[k]});
      if (!visible[k] || b->Image.Empty() || b->Visibility == skin::kVisibilityMenuRow) continue;
      ++totals_.visible_buttons;
      const PixelRect r = bounds[k];
      if (r.Inverted()) continue;
      const int frame = skin::RestingFrame(w_.active, b->FrameCount);
      for (int state_code : {0, 1, 2, 3, 7}) (void)skin::StateFrame(state_code, false);
      // The frame drawn at the button's size (DrawFrameIntoBitmap clips it to the cache).
      const PixelRect sized{0, 0, std::min(r.Width(), kElementSideCap),
                            std::min(r.Height(), kElementSideCap)};
      const PixelBitmap face = skin::ComposeElementFrame(sized, b->Image, frame, b->FrameCount);
      skin::TransparentCopy(*cache, r, face);
      Count(face);
      (void)skin::CommandForAction(b->Action);
      (void)skin::HitCodeForAction(b->Action);
      (void)skin::ShowsWindowIcon(b->Action);
    }
    // Hit tests over the title bar and around it.
    for (int y : {-1, 0, 3, metrics_.border_top / 2, metrics_.border_top})
      for (int x : {-1, 0, w_.width / 2, w_.width - 1, w_.width})
        (void)skin::CaptionButtonIndexAt(hits, x, y);
    return edge;
  }

  void Region() {
    const auto trans = [](const skin::TDataSkinBorder* s) { return s && s->Trans == 1; };
    const skin::StripTransparency transparency{trans(s_.LeftStrip.get()),
                                               trans(s_.RightStrip.get()), trans(s_.TopStrip.get()),
                                               trans(s_.BottomStrip.get())};
    const skin::RegionPlan plan = skin::PlanWindowRegion(
        w_.width, w_.height, metrics_, transparency, w_.frameless, title_cache_.Empty());
    if (!plan.edges) return;
    const std::pair<const skin::RegionEdge*, skin::FrameStrip> edges[] = {
        {&plan.left, skin::FrameStrip::kLeft},
        {&plan.right, skin::FrameStrip::kRight},
        {&plan.top, skin::FrameStrip::kTop},
        {&plan.bottom, skin::FrameStrip::kBottom}};
    for (const auto& [e, side] : edges) {
      if (e->source == skin::EdgeSource::kRectangle || e->rect.Empty()) continue;
      PixelBitmap piece;
      if (e->source == skin::EdgeSource::kTitleCache) {
        piece = title_cache_;
      } else {
        piece = skin::ComposeFramePiece(Strip(side), side, e->rect.Width(), e->rect.Height(),
                                        w_.active);
      }
      totals_.region_runs += int64_t(
          skin::OpaqueRuns(piece, e->rect.left, e->rect.top, skin::kMagentaKey, 0, 0, 0).size());
    }
  }

  // What the frame's message handlers compute from the metrics.
  void Geometry() {
    const PixelRect window{0, 0, w_.width, w_.height};
    (void)skin::ClientRectForWindow(window, metrics_);
    for (int y : {-1, 0, 3, 4, metrics_.border_top, metrics_.border_top + 1})
      (void)skin::FrameHitTest(y, metrics_);
    (void)skin::WindowSizeForClient(w_.width, w_.height, metrics_);
    (void)skin::RestoredWindowSize(w_.width, w_.height, metrics_, 8, 30);
    skin::CaptionTextLayout layout;
    layout.text_shift = s_.Title->LeftWidth;
    layout.text_right_clip = s_.Title->RightWidth;
    layout.back_left = s_.Title->TXTBackleft;
    layout.back_right = s_.Title->TXTBackRight;
    const int needed = skin::DialogWidthForCaption(w_.caption_length, 4, metrics_, layout);
    (void)skin::DialogChildShift(w_.width, needed);
    (void)skin::MaximizedWindowPlacement({0, 0, 1024, 768}, {0, 0, 1024, 740}, metrics_.border_left,
                                         metrics_.border_right, metrics_.border_bottom);
  }

  // One element image at the sizes and frames a skinner draws it.
  void Element(const skin::TDataSkinObject& e, const PixelBitmap& image, int frame_count) {
    if (image.Empty()) return;
    const Margins margins{e.LeftWidth, e.TopHeight, e.RightWidth, e.BottomHeight};
    const int cw = std::clamp(w_.width / 3, 0, kControlSideCap);
    const int ch = std::clamp(w_.height / 3, 0, kControlSideCap);
    const PixelRect sizes[] = {{0, 0, 1, 1}, {0, 0, 75, 23}, {0, 0, cw, ch}, {5, 5, 3, 3}};
    // The first frame, the last, and one past it (clamped by the composition).
    const int last = std::max(frame_count, 1);
    const int frames[] = {1, last, int(std::min<int64_t>(int64_t(last) + 1, INT_MAX))};
    const bool tile = e.Tile != 1;
    for (const PixelRect& size : sizes)
      for (int frame : frames)
        Count(skin::ComposeElement(size, image, margins, frame, frame_count, tile, false));
    // The other ways of drawing, at a control's size.
    const PixelRect control = sizes[1];
    Count(skin::ComposeElement(control, image, margins, last, frame_count, !tile, true));
    Count(skin::ComposeHorzStrip(control, image, margins, last, frame_count, true));
    Count(skin::ComposeHorzStrip(sizes[2], image, margins, 1, frame_count, false));
    Count(skin::ComposeElementFrame(control, image, last, frame_count));
    const PixelBitmap nine =
        skin::ComposeElement(control, image, margins, 1, frame_count, tile, false);
    PixelBitmap canvas(nine.Width() + 4, nine.Height() + 4, skin::PixelFormat::kBgra32);
    skin::ComposeElementOnto(canvas, {2, 2, 2 + nine.Width(), 2 + nine.Height()}, image, margins, 1,
                             frame_count, tile, false, false);
    skin::TransparentCopy(canvas, {-3, 1, nine.Width(), nine.Height() + 9}, nine);
    (void)skin::KeyMask(nine, skin::kMagentaKey, 2);
    totals_.region_runs +=
        int64_t(skin::OpaqueRuns(nine, 0, 0, skin::kMagentaKey, e.Trans, e.Style, 3).size());
    // A target past the compose limit gives nothing, quickly.
    Count(skin::ComposeElement({0, 0, skin::kMaxComposeSide + 1, 2}, image, margins, 1, frame_count,
                               true, false));
  }

  void Elements() {
    for (const skin::SlotView& slot : skin::ListSlots(s_)) {
      if (!slot.record) continue;
      const skin::TDataSkinObject& e = *slot.record;
      Element(e, e.Image, e.FrameCount);
      if (auto* border = dynamic_cast<const skin::TDataSkinBorder*>(&e))
        Element(e, border->Image2, e.FrameCount);
    }
    const skin::TDataSkinButton& b = *s_.Buttons;
    Element(b, b.CheckImage, b.CheckButtonFrame);
    Element(b, b.RadioImage, b.RadioButtonFrame);
    int composed = 0;
    for (const auto& sys : s_.SysButtons)
      if (sys && !sys->Image.Empty() && composed++ < kButtonElements)
        Element(*sys, sys->Image, sys->FrameCount);
  }

  void Menus() {
    const skin::TDataSkinObject* bar = s_.MenuBarElement.get();
    const int bar_width = std::max(w_.width - metrics_.border_left - metrics_.border_right, 0);
    const int x0 = skin::MenuBarFirstOffset(bar != nullptr, bar ? bar->LeftWidth : 0,
                                            bar ? bar->RightWidth : 0, w_.right_to_left, bar_width);
    (void)skin::LayoutMenuBarButtons({0, 20, 35, 400}, bar_width, 19, x0, w_.right_to_left);
    if (bar && !bar->Image.Empty()) {
      const PixelRect row{0, 0, std::min(bar_width, kElementSideCap * 4), 19};
      Count(skin::ComposeHorzStrip(row, bar->Image, {bar->LeftWidth, 0, bar->RightWidth, 0}, 1, 2,
                                   true));
    }
    if (const skin::TDataSkinObject* item = s_.MenuItem.get()) {
      for (const skin::SliceBlit& p :
           skin::SeparatorPieces(std::min(w_.width, kElementSideCap), 8, item->Image.Width(),
                                 item->Image.Height(), item->LeftWidth, item->RightWidth))
        totals_.pixels += int64_t(std::max(p.dest.Width(), 0)) * std::max(p.dest.Height(), 0);
      (void)skin::MenuItemExtraWidth(true, item->LeftWidth, false);
      (void)skin::PopupItemExtraWidth(true, item->LeftWidth, true);
      (void)skin::ForeignItemWidth(w_.caption_length * 7, true, item->LeftWidth);
    }
    (void)skin::PopupBorderRing(std::min(w_.width, 4096), std::min(w_.height, 4096));
  }

  const skin::SkinDefinition& s_;
  WindowShape w_;
  skin::FrameMetrics metrics_;
  PixelBitmap title_cache_;
  PaintTotals totals_;
};

}  // namespace

PaintTotals PaintWholeWindow(const skin::SkinDefinition& skin, const WindowShape& shape) {
  return Painter(skin, shape).Run();
}

}  // namespace stress
