#include "framework/buttons.h"

#include <windowsx.h>

#include <algorithm>

#include "framework/dib_file.h"

namespace fw {

const std::vector<std::string> kButtonLayoutNames = {"blGlyphLeft", "blGlyphRight", "blGlyphTop",
                                                     "blGlyphBottom"};

namespace {

const std::vector<std::string> kBitBtnKindNames = {"bkCustom", "bkOK",     "bkCancel", "bkHelp",
                                                   "bkYes",    "bkNo",     "bkClose",  "bkAbort",
                                                   "bkRetry",  "bkIgnore", "bkAll"};

struct KindInfo {
  const char* caption;
  int modal_result;
};
const KindInfo kKinds[] = {{"", mrNone},          {"OK", mrOk},       {"Cancel", mrCancel},
                           {"&Help", mrNone},     {"&Yes", mrYes},    {"&No", mrNo},
                           {"&Close", mrClose},   {"Abort", mrAbort}, {"&Retry", mrRetry},
                           {"&Ignore", mrIgnore}, {"&All", mrAll}};

// The stock picture of a kind: 18 x 18, drawn with GDI on a magenta-keyed background (the
// bottom-left pixel stays magenta, so it is the transparent colour).
void DrawKindGlyph(TBitBtnKind kind, TBitmap& bitmap) {
  bitmap.FreeImage();
  if (kind == bkCustom) return;
  bitmap.SetPixelFormat(pf24bit);
  bitmap.SetSize(18, 18);
  TCanvas& c = bitmap.Canvas();
  c.Brush().SetColor(clFuchsia);
  c.FillRect({0, 0, 18, 18});
  c.Pen().SetWidth(3);
  auto line = [&](TColor colour, int x0, int y0, int x1, int y1) {
    c.Pen().SetColor(colour);
    c.MoveTo(x0, y0);
    c.LineTo(x1, y1);
  };
  switch (kind) {
    case bkOK:
    case bkYes:
    case bkAll:
      line(clGreen, 3, 9, 7, 13);
      line(clGreen, 7, 13, 15, 4);
      break;
    case bkCancel:
    case bkNo:
    case bkAbort:
    case bkClose:
      line(clRed, 4, 4, 14, 14);
      line(clRed, 14, 4, 4, 14);
      break;
    default: {
      // Help, retry, ignore: a blue disc with the caption's letter.
      c.Pen().SetWidth(1);
      c.Pen().SetColor(clNavy);
      c.Brush().SetColor(clBlue);
      {
        ScopedSelectObject brush(c.Handle(), c.Brush().Handle());
        ScopedSelectObject pen(c.Handle(), c.Pen().Handle());
        Ellipse(c.Handle(), 1, 1, 17, 17);
      }
      c.Font().SetColor(clWhite);
      c.Font().SetStyle(fsBold);
      c.Brush().SetStyle(bsClear);
      RECT r{1, 1, 17, 17};
      const char letter[2] = {kind == bkHelp ? '?' : kind == bkRetry ? 'R' : 'I', 0};
      c.DrawText(letter, r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
      break;
    }
  }
  c.Pen().SetWidth(1);
}

LayoutRect ToLayout(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }

// The caption's size as DrawText would draw it (accelerator prefixes do not count).
LayoutSize CaptionSize(TCanvas& canvas, const std::string& caption) {
  if (caption.empty()) return {};
  RECT r{0, 0, 0, 0};
  canvas.DrawText(caption, r, DT_SINGLELINE | DT_CALCRECT);
  return {r.right - r.left, r.bottom - r.top};
}

void DrawGlyphAndCaption(TCanvas& canvas, RECT client, TButtonGlyph& glyph,
                         const std::string& caption, TButtonLayout layout, int margin, int spacing,
                         TButtonState state, bool enabled) {
  const GlyphPlacement place = PlaceGlyphAndCaption(
      ToLayout(client), glyph.PictureSize(), CaptionSize(canvas, caption), layout, margin, spacing);
  if (!glyph.Empty()) glyph.Draw(canvas, place.glyph.left, place.glyph.top, state);
  if (caption.empty()) return;
  canvas.Brush().SetStyle(bsClear);
  RECT r{place.caption.left, place.caption.top, place.caption.right, place.caption.bottom};
  if (!enabled) {
    // Disabled text: embossed as the system draws it.
    OffsetRect(&r, 1, 1);
    canvas.Font().SetColor(clBtnHighlight);
    canvas.DrawText(caption, r, DT_SINGLELINE);
    OffsetRect(&r, -1, -1);
    canvas.Font().SetColor(clBtnShadow);
  }
  canvas.DrawText(caption, r, DT_SINGLELINE);
}

}  // namespace

// ---- TButtonGlyph -------------------------------------------------------------------------

void TButtonGlyph::SetNumGlyphs(int n) {
  num_glyphs_ = std::clamp(n, 1, 4);
  images_.reset();
}

LayoutSize TButtonGlyph::PictureSize() const {
  if (bitmap_.Empty()) return {};
  return {bitmap_.Width() / num_glyphs_, bitmap_.Height()};
}

void TButtonGlyph::Draw(TCanvas& canvas, int x, int y, TButtonState state) {
  if (bitmap_.Empty()) return;
  const LayoutSize size = PictureSize();
  if (size.cx <= 0) return;
  if (!images_) {
    images_ = std::make_unique<TImageList>(size.cx, size.cy);
    TBitmap& source = bitmap_;
    const COLORREF key = source.Canvas().Pixel(0, source.Height() - 1);
    images_->AddMasked(source, static_cast<TColor>(key));
  }
  int index = static_cast<int>(state);
  // A glyph without a disabled picture is drawn faded; other missing pictures use the first.
  const bool fade = state == bsDisabled && index >= images_->Count();
  if (index >= images_->Count()) index = 0;
  images_->Draw(canvas, x, y, index, !fade);
}

void TButtonGlyph::ReadData(TStream& stream) {
  const int32_t count = stream.ReadInt32();
  if (count < 0 || count > stream.Remaining())
    throw EReadError("Glyph.Data: the byte count runs past the block");
  std::vector<uint8_t> bytes(static_cast<size_t>(count));
  if (count > 0) stream.ReadBuffer(bytes.data(), bytes.size());
  bitmap_.FreeImage();
  images_.reset();
  if (bytes.empty()) return;
  DibFileLayout layout;
  std::string error;
  if (!CheckDibFile(bytes.data(), bytes.size(), layout, error))
    throw EReadError("Glyph.Data: " + error);
  const auto* info = reinterpret_cast<const BITMAPINFO*>(bytes.data() + layout.info_offset);
  ScopedGetDc screen(nullptr);
  HBITMAP bitmap = CreateDIBitmap(screen.get(), &info->bmiHeader, CBM_INIT,
                                  bytes.data() + layout.bits_offset, info, DIB_RGB_COLORS);
  if (!bitmap) throw EReadError("Glyph.Data: the bitmap cannot be made");
  bitmap_.SetHandle(bitmap);
}

void TButtonGlyph::WriteData(TStream& stream) const {
  std::vector<uint8_t> file;
  if (!bitmap_.Empty()) {
    // Rows of 24-bit pixels, read back from the bitmap.
    const int w = bitmap_.Width(), h = bitmap_.Height();
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = w;
    bi.bmiHeader.biHeight = -h;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 24;
    const size_t stride = ((size_t(w) * 24 + 31) / 32) * 4;
    std::vector<uint8_t> pixels(stride * size_t(h));
    ScopedGetDc screen(nullptr);
    GetDIBits(screen.get(), bitmap_.Handle(), 0, static_cast<UINT>(h), pixels.data(), &bi,
              DIB_RGB_COLORS);
    std::vector<std::vector<uint8_t>> rows(static_cast<size_t>(h));
    for (int y = 0; y < h; ++y)
      rows[size_t(y)].assign(pixels.begin() + ptrdiff_t(stride * size_t(y)),
                             pixels.begin() + ptrdiff_t(stride * size_t(y) + size_t(w) * 3));
    file = MakeDibFile24(w, h, rows);
  }
  stream.WriteInt32(static_cast<int32_t>(file.size()));
  if (!file.empty()) stream.WriteBuffer(file.data(), file.size());
}

// ---- TBitBtn ------------------------------------------------------------------------------

const TClassInfo& TBitBtn::StaticClassInfo() {
  static const TClassInfo info = DescribeClass<TBitBtn, TButton>("TBitBtn", [](auto& c) {
    c.Enum("Kind", kBitBtnKindNames, &TBitBtn::Kind, &TBitBtn::SetKind);
    c.Enum("Layout", kButtonLayoutNames, &TBitBtn::Layout, &TBitBtn::SetLayout);
    c.Integer("Margin", &TBitBtn::Margin, &TBitBtn::SetMargin);
    c.Integer("NumGlyphs", &TBitBtn::NumGlyphs, &TBitBtn::SetNumGlyphs);
    c.Integer("Spacing", &TBitBtn::Spacing, &TBitBtn::SetSpacing);
  });
  return info;
}

TBitBtn::TBitBtn(TComponent* owner) : TButton(owner) {}

void TBitBtn::GlyphChanged() {
  glyph_.Changed();
  Invalidate();
}

void TBitBtn::SetGlyph(const TBitmap& bitmap) {
  glyph_.Bitmap().Assign(bitmap);
  GlyphChanged();
}

void TBitBtn::SetNumGlyphs(int n) {
  glyph_.SetNumGlyphs(n);
  Invalidate();
}

void TBitBtn::SetKind(TBitBtnKind kind) {
  if (kind == kind_) return;
  const std::string old_caption = kKinds[kind_].caption;
  kind_ = kind;
  DrawKindGlyph(kind, kind_glyph_.Bitmap());
  kind_glyph_.Changed();
  if (kind != bkCustom) {
    SetModalResult(kKinds[kind].modal_result);
    // A caption of the user's own stays.
    if (Caption().empty() || Caption() == old_caption) SetCaption(kKinds[kind].caption);
  }
  Invalidate();
}

void TBitBtn::SetLayout(TButtonLayout v) {
  layout_ = v;
  Invalidate();
}
void TBitBtn::SetMargin(int v) {
  margin_ = v;
  Invalidate();
}
void TBitBtn::SetSpacing(int v) {
  spacing_ = v;
  Invalidate();
}

void TBitBtn::DefineProperties(TFiler& filer) {
  TButton::DefineProperties(filer);
  filer.DefineBinaryProperty(
      "Glyph.Data", [this](TStream& s) { glyph_.ReadData(s); },
      [this](TStream& s) { glyph_.WriteData(s); }, !glyph_.Empty());
}

void TBitBtn::CreateParams(TCreateParams& params) {
  TButton::CreateParams(params);
  params.style &= ~(BS_DEFPUSHBUTTON | BS_PUSHBUTTON);
  params.style |= BS_OWNERDRAW;
}

void TBitBtn::DrawItem(const DRAWITEMSTRUCT& item) {
  TCanvas canvas;
  canvas.SetHandle(item.hDC);
  canvas.Font().Assign(font_);
  RECT r = item.rcItem;
  const bool pressed = (item.itemState & ODS_SELECTED) != 0;
  const bool focused = (item.itemState & ODS_FOCUS) != 0;
  const bool enabled = (item.itemState & ODS_DISABLED) == 0;
  if (focused || Default()) {
    // The default (or focused) button has a dark outer frame.
    canvas.Brush().SetColor(clWindowFrame);
    canvas.FrameRect(r);
    InflateRect(&r, -1, -1);
  }
  DrawFrameControl(item.hDC, &r, DFC_BUTTON, DFCS_BUTTONPUSH | (pressed ? DFCS_PUSHED : 0));
  RECT content = r;
  InflateRect(&content, -2, -2);
  if (pressed) OffsetRect(&content, 1, 1);
  const TButtonState state = !enabled ? bsDisabled : pressed ? bsDown : bsUp;
  DrawGlyphAndCaption(canvas, content, DrawnGlyph(), Caption(), layout_, margin_, spacing_, state,
                      enabled);
  if (focused) {
    RECT f = r;
    InflateRect(&f, -3, -3);
    DrawFocusRect(item.hDC, &f);
  }
  canvas.SetHandle(nullptr);
}

void TBitBtn::WndProc(TMessage& message) {
  if (message.Msg == CN_DRAWITEM) {
    DrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(message.LParam));
    message.Result = TRUE;
    return;
  }
  // An owner-drawn button: a double click is two clicks.
  if (message.Msg == WM_LBUTTONDBLCLK) message.Msg = WM_LBUTTONDOWN;
  TButton::WndProc(message);
}

// ---- TSpeedButton -------------------------------------------------------------------------

const TClassInfo& TSpeedButton::StaticClassInfo() {
  static const TClassInfo info =
      DescribeClass<TSpeedButton, TGraphicControl>("TSpeedButton", [](auto& c) {
        c.Bool("AllowAllUp", &TSpeedButton::AllowAllUp, &TSpeedButton::SetAllowAllUp);
        c.Integer("GroupIndex", &TSpeedButton::GroupIndex, &TSpeedButton::SetGroupIndex);
        c.Bool("Down", &TSpeedButton::Down, &TSpeedButton::SetDown);
        c.Bool("Flat", &TSpeedButton::Flat, &TSpeedButton::SetFlat);
        c.Enum("Layout", kButtonLayoutNames, &TSpeedButton::Layout, &TSpeedButton::SetLayout);
        c.Integer("Margin", &TSpeedButton::Margin, &TSpeedButton::SetMargin);
        c.Integer("NumGlyphs", &TSpeedButton::NumGlyphs, &TSpeedButton::SetNumGlyphs);
        c.Integer("Spacing", &TSpeedButton::Spacing, &TSpeedButton::SetSpacing);
      });
  return info;
}

TSpeedButton::TSpeedButton(TComponent* owner) : TGraphicControl(owner) {
  width_ = 23;
  height_ = 22;
}

void TSpeedButton::GlyphChanged() {
  glyph_.Changed();
  Invalidate();
}
void TSpeedButton::SetGlyph(const TBitmap& bitmap) {
  glyph_.Bitmap().Assign(bitmap);
  GlyphChanged();
}
void TSpeedButton::SetNumGlyphs(int n) {
  glyph_.SetNumGlyphs(n);
  Invalidate();
}

void TSpeedButton::SetGroupIndex(int v) {
  group_index_ = v;
  if (v == 0) down_ = false;
  UpdateExclusive();
  Invalidate();
}

void TSpeedButton::SetDown(bool v) {
  // Only grouped buttons latch; a latched button of a group without AllowAllUp stays down
  // until another one of the group goes down. (While a description is read the group may
  // not be known yet, so the value is taken as given.)
  if (group_index_ == 0 && !IsLoading()) v = false;
  if (v == down_) return;
  if (down_ && !allow_all_up_ && !IsLoading()) return;
  down_ = v;
  if (v) UpdateExclusive();
  Invalidate();
}

void TSpeedButton::SetAllowAllUp(bool v) {
  allow_all_up_ = v;
  if (!parent_ || group_index_ == 0) return;
  for (TControl* c : parent_->ControlList()) {
    if (auto* other = dynamic_cast<TSpeedButton*>(c);
        other && other != this && other->group_index_ == group_index_)
      other->allow_all_up_ = v;
  }
}

void TSpeedButton::UpdateExclusive() {
  if (!down_ || group_index_ == 0 || !parent_) return;
  for (TControl* c : parent_->ControlList()) {
    if (auto* other = dynamic_cast<TSpeedButton*>(c);
        other && other != this && other->group_index_ == group_index_ && other->down_) {
      other->down_ = false;
      other->Invalidate();
    }
  }
}

void TSpeedButton::SetFlat(bool v) {
  flat_ = v;
  Invalidate();
}
void TSpeedButton::SetLayout(TButtonLayout v) {
  layout_ = v;
  Invalidate();
}
void TSpeedButton::SetMargin(int v) {
  margin_ = v;
  Invalidate();
}
void TSpeedButton::SetSpacing(int v) {
  spacing_ = v;
  Invalidate();
}

TButtonState TSpeedButton::State() const {
  if (!enabled_) return bsDisabled;
  if (pressed_) return bsDown;
  if (down_) return bsExclusive;
  return bsUp;
}

void TSpeedButton::DefineProperties(TFiler& filer) {
  TGraphicControl::DefineProperties(filer);
  filer.DefineBinaryProperty(
      "Glyph.Data", [this](TStream& s) { glyph_.ReadData(s); },
      [this](TStream& s) { glyph_.WriteData(s); }, !glyph_.Empty());
}

void TSpeedButton::WndProc(TMessage& message) {
  const POINT p{GET_X_LPARAM(message.LParam), GET_Y_LPARAM(message.LParam)};
  const bool inside = p.x >= 0 && p.y >= 0 && p.x < width_ && p.y < height_;
  switch (message.Msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      if (!enabled_) return;
      tracking_ = true;
      pressed_ = true;
      Repaint();
      return;
    case WM_MOUSEMOVE:
      if (tracking_ && inside != pressed_) {
        pressed_ = inside;
        Repaint();
      }
      return;
    case WM_LBUTTONUP: {
      if (!std::exchange(tracking_, false)) return;
      pressed_ = false;
      if (inside) {
        if (group_index_ != 0) {
          if (!down_) {
            SetDown(true);
          } else if (allow_all_up_) {
            SetDown(false);
          }
        }
        Repaint();
        Click();
      } else {
        Repaint();
      }
      return;
    }
    default:
      TGraphicControl::WndProc(message);
  }
}

void TSpeedButton::Paint() {
  TCanvas& canvas = Canvas();
  RECT r = ClientRect();
  const bool sunk = pressed_ || down_;
  canvas.Brush().SetColor(color_);
  canvas.Brush().SetStyle(bsSolid);
  if (flat_) {
    canvas.FillRect(r);
    if (sunk) DrawEdge(canvas.Handle(), &r, BDR_SUNKENOUTER, BF_RECT);
  } else {
    DrawFrameControl(canvas.Handle(), &r, DFC_BUTTON, DFCS_BUTTONPUSH | (sunk ? DFCS_PUSHED : 0));
  }
  InflateRect(&r, -2, -2);
  if (sunk) OffsetRect(&r, 1, 1);
  DrawGlyphAndCaption(canvas, r, glyph_, Caption(), layout_, margin_, spacing_, State(), enabled_);
}

void RegisterButtonClasses() {
  for (const TClassInfo* info : {&TBitBtn::StaticClassInfo(), &TSpeedButton::StaticClassInfo()})
    RegisterComponentClass(*info);
}

}  // namespace fw
