#include "skin/controls/bar_skinners.h"

#include <commctrl.h>

#include <algorithm>

#include "skin/controls/bar_geometry.h"
#include "skin/controls/offscreen.h"
#include "skin/data/skin_data.h"
#include "skin/form/skin_form.h"
#include "skin/manager/element_painting.h"

namespace skin {

namespace {

LONG_PTR StyleOf(HWND hwnd) { return hwnd ? GetWindowLongPtrA(hwnd, GWL_STYLE) : 0; }

}  // namespace

// ---- progress bars ----

const fw::TClassInfo& TSkinProgress::StaticClassInfo() {
  static const fw::TClassInfo info =
      fw::DescribeClass<TSkinProgress, TSkinControl>("TSkinProgress", [](auto&) {});
  return info;
}

bool TSkinProgress::HasElement() const {
  if (!FSkinData || !HasImage(Skin().Progress.get())) return false;
  // The chunk style without a chunk image leaves the bar to the control.
  return Skin().Progress->Style != 1 || !Skin().Progress->Image2.Empty();
}

bool TSkinProgress::BeforeMessage(fw::TMessage& message) {
  switch (message.Msg) {
    case WM_PAINT:
      if (!HasElement()) return true;
      PaintClient(message);
      return false;
    case WM_ERASEBKGND:
      message.Result = 1;
      return false;
    default:
      return true;
  }
}

void TSkinProgress::AfterMessage(fw::TMessage& message) {
  switch (message.Msg) {
    case PBM_SETPOS:
    case PBM_DELTAPOS:
    case PBM_STEPIT:
    case PBM_SETRANGE:
    case PBM_SETRANGE32:
      // The control only invalidates; the new fill shows at once.
      if (FHandle && HasElement()) {
        InvalidateRect(FHandle, nullptr, FALSE);
        UpdateWindow(FHandle);
      }
      break;
    default:
      TSkinControl::AfterMessage(message);
      break;
  }
}

void TSkinProgress::DrawSkin(HDC dc, const RECT& rect) {
  if (!HasElement()) return;
  const TDataSkinBorder& e = *Skin().Progress;
  if (e.Style == 1) {
    DrawChunks(dc, rect);
    return;
  }
  const int w = rect.right - rect.left, h = rect.bottom - rect.top;
  OffscreenBitmap work(w, h);
  if (!work) return;
  const RECT local{0, 0, w, h};
  FillFace(work.Dc(), local);
  const bool tile = e.Tile != 0;
  DrawElement(work.Dc(), local, e.Image, MarginsOf(e), 1, 2, true, tile, false);
  const bool vertical = (StyleOf(FHandle) & PBS_VERTICAL) != 0;
  const int pos = static_cast<int>(SendMessageA(FHandle, PBM_GETPOS, 0, 0));
  const int high = static_cast<int>(SendMessageA(FHandle, PBM_GETRANGE, FALSE, 0));
  const int low = static_cast<int>(SendMessageA(FHandle, PBM_GETRANGE, TRUE, 0));
  const int fill = ProgressFillLength(pos, low, high, vertical ? h : w);
  if (fill > 0) {
    const PixelRect filled = ProgressFillRect({0, 0, w, h}, fill, vertical);
    DrawElement(work.Dc(), ToRect(filled), e.Image, MarginsOf(e), 2, 2, true, tile, false);
  }
  BitBlt(dc, rect.left, rect.top, w, h, work.Dc(), 0, 0, SRCCOPY);
}

void TSkinProgress::DrawChunks(HDC dc, const RECT& rect) {
  const TDataSkinBorder& e = *Skin().Progress;
  if (e.Image2.Empty()) return;
  const int w = rect.right - rect.left, h = rect.bottom - rect.top;
  OffscreenBitmap work(w, h);
  if (!work) return;
  const RECT local{0, 0, w, h};
  FillFace(work.Dc(), local);
  DrawElement(work.Dc(), local, e.Image, MarginsOf(e), 1, 1, true, e.Tile != 0, false);
  const bool vertical = (StyleOf(FHandle) & PBS_VERTICAL) != 0;
  const int pos = static_cast<int>(SendMessageA(FHandle, PBM_GETPOS, 0, 0));
  const int high = static_cast<int>(SendMessageA(FHandle, PBM_GETRANGE, FALSE, 0));
  const int low = static_cast<int>(SendMessageA(FHandle, PBM_GETRANGE, TRUE, 0));
  const PixelBitmap& chunk = e.Image2;
  const int cw = chunk.Width(), ch = chunk.Height();
  if (!vertical) {
    const int fill = ProgressFillLength(pos, low, high, w);
    const std::vector<int> offsets = ProgressChunkOffsets(fill, cw);
    if (!offsets.empty()) {
      // The row is cut at the filled width; the key colour shows the trough between chunks.
      PixelBitmap row(fill, ch, PixelFormat::kBgr24);
      row.Fill(kMagentaKey);
      for (int x : offsets) StretchCopy(chunk, {0, 0, cw, ch}, row, {x, 0, x + cw, ch});
      const auto [x0, y0] = ProgressChunkOrigin({0, 0, w, h}, e.LeftWidth, ch);
      DrawTransparent(work.Dc(), {x0, y0, x0 + fill, y0 + ch}, row);
    }
  } else {
    // Upright bars stack the chunks from the bottom, centred across.
    const int fill = ProgressFillLength(pos, low, high, h);
    const std::vector<int> offsets = ProgressChunkOffsets(fill, ch);
    if (!offsets.empty()) {
      PixelBitmap column(cw, fill, PixelFormat::kBgr24);
      column.Fill(kMagentaKey);
      for (int y : offsets)
        StretchCopy(chunk, {0, 0, cw, ch}, column, {0, fill - y - ch, cw, fill - y});
      const int x0 = (w - cw) / 2;
      const int y0 = h - e.BottomHeight - fill;
      DrawTransparent(work.Dc(), {x0, y0, x0 + cw, y0 + fill}, column);
    }
  }
  BitBlt(dc, rect.left, rect.top, w, h, work.Dc(), 0, 0, SRCCOPY);
}

// ---- track bars ----

const fw::TClassInfo& TSkinTrackBar::StaticClassInfo() {
  static const fw::TClassInfo info =
      fw::DescribeClass<TSkinTrackBar, TSkinControl>("TSkinTrackBar", [](auto&) {});
  return info;
}

bool TSkinTrackBar::BeforeMessage(fw::TMessage& message) {
  if (message.Msg == WM_ERASEBKGND) {
    message.Result = 1;
    return false;
  }
  if (message.Msg != WM_NOTIFY && message.Msg != fw::CN_NOTIFY) return true;
  const auto* header = reinterpret_cast<const NMHDR*>(message.LParam);
  // Only the track bar's own drawing (a tool tip of it notifies it too).
  if (!header || header->code != static_cast<UINT>(NM_CUSTOMDRAW) || header->hwndFrom != FHandle)
    return true;
  const auto* draw = reinterpret_cast<const NMCUSTOMDRAW*>(message.LParam);
  const CustomDrawAnswer answer = TrackBarCustomDraw(draw->dwDrawStage, draw->dwItemSpec);
  if (answer.draw_thumb) DrawThumb(draw->hdc);
  message.Result = static_cast<LRESULT>(answer.result);
  return false;
}

void TSkinTrackBar::DrawThumb(HDC dc) {
  if (!dc || !FHandle || !FSkinData) return;
  RECT thumb{};
  SendMessageA(FHandle, TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&thumb));
  const bool vertical = (StyleOf(FHandle) & TBS_VERT) != 0;
  const TDataSkinObject* vert = Skin().TrackbarThumbVert.get();
  const TDataSkinObject* horz = Skin().TrackbarThumbHorz.get();
  const ThumbImage choice = ChooseThumbImage(vertical, vert != nullptr, horz != nullptr);
  const TDataSkinObject* image = choice == ThumbImage::kVert   ? vert
                                 : choice == ThumbImage::kHorz ? horz
                                                               : nullptr;
  if (image && !image->Image.Empty()) {
    DrawStripFrame(dc, thumb, 5, 2, image->Image);
    return;
  }
  // No thumb picture: a rectangle round the thumb with the DC's own brush.
  fw::ScopedPen pen(CreatePen(PS_SOLID, 1, SkinRgb(FSkinData->ButtonShadow)));
  if (!pen) return;
  fw::ScopedSelectObject select(dc, pen.get());
  Rectangle(dc, thumb.left, thumb.top, thumb.right, thumb.bottom);
}

// ---- up-down controls ----

const fw::TClassInfo& TSkinUpDown::StaticClassInfo() {
  static const fw::TClassInfo info =
      fw::DescribeClass<TSkinUpDown, TSkinControl>("TSkinUpDown", [](auto&) {});
  return info;
}

bool TSkinUpDown::Horizontal() const { return FHorizontal || (StyleOf(FHandle) & UDS_HORZ) != 0; }

int TSkinUpDown::CursorSide() const {
  RECT c{};
  GetClientRect(FHandle, &c);
  if (FEmbedded) InflateRect(&c, -1, -1);
  POINT p{};
  GetCursorPos(&p);
  ScreenToClient(FHandle, &p);
  const UpDownLayout l = LayoutUpDown({c.left, c.top, c.right, c.bottom}, Horizontal());
  const int along = l.horizontal ? p.x : p.y;
  return along >= l.split ? 1 : 0;
}

bool TSkinUpDown::BeforeMessage(fw::TMessage& message) {
  switch (message.Msg) {
    case WM_PAINT:
      PaintClient(message);
      return false;
    case WM_ERASEBKGND:
      message.Result = 1;
      return false;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
      const fw::LifeWatch alive = Watch();
      CallDefault(message);
      if (!alive || !IsWindow(FHandle)) return false;
      FState |= kStatePressed;
      PaintSkin(nullptr);
      return false;
    }
    case WM_LBUTTONUP: {
      FState &= static_cast<uint8_t>(~kStatePressed);
      const fw::LifeWatch alive = Watch();
      CallDefault(message);
      if (!alive || !IsWindow(FHandle)) return false;
      PaintSkin(nullptr);
      return false;
    }
    default:
      return true;
  }
}

void TSkinUpDown::AfterMessage(fw::TMessage& message) {
  TSkinControl::AfterMessage(message);
  switch (message.Msg) {
    case WM_MOUSEMOVE: {
      // Windows attached by handle hear no framework mouse-enter: the move makes them hot,
      // and the form's hover timer ends it.
      if (!Hot()) {
        FState |= kStateHot;
        if (TSkinForm* form = OwnerForm()) form->SetHotSkinner(this);
        GetWindowRect(FHandle, &FWindowRect);
        painted_side_ = -1;
      }
      const int side = CursorSide();
      if (side != painted_side_) PaintSkin(nullptr);
      break;
    }
    case CM_SKIN_MOUSEENTER:
    case CM_SKIN_MOUSELEAVE:
    case WM_CAPTURECHANGED:
      PaintSkin(nullptr);
      break;
    default:
      break;
  }
}

void TSkinUpDown::DrawSkin(HDC dc, const RECT& rect) {
  if (!FHandle || !FSkinData) return;
  RECT client{};
  GetClientRect(FHandle, &client);
  OffscreenBitmap work(client.right, client.bottom);
  if (!work) return;
  HDC wdc = work.Dc();
  FillFace(wdc, client);
  RECT c = client;
  if (FEmbedded) InflateRect(&c, -1, -1);
  POINT p{};
  GetCursorPos(&p);
  ScreenToClient(FHandle, &p);
  const bool enabled = (StyleOf(FHandle) & WS_DISABLED) == 0;
  const UpDownLayout l = LayoutUpDown({c.left, c.top, c.right, c.bottom}, Horizontal());
  const int along = l.horizontal ? p.x : p.y;
  painted_side_ = along >= l.split ? 1 : 0;
  const TDataSkinBorder* e = l.horizontal ? Skin().UpDownHorz.get() : Skin().UpDownVert.get();
  const bool skinned = e && !e->Image.Empty() && !e->Image2.Empty();
  for (int button = 0; button < 2; ++button) {
    const PixelRect& b = button == 0 ? l.first : l.second;
    if (b.Empty()) continue;
    const int state = UpDownButtonState(button, enabled, Pressed(), Hot(), along, l.split);
    const RECT br = ToRect(b);
    if (skinned) {
      const int frame = UpDownFrame(state, button);
      DrawElementFrame(wdc, br, e->Image, frame, 8, true);
      const PixelRect g = UpDownGlyphRect(b, e->Image2.Width(), e->Image2.Height());
      if (!g.Empty()) DrawElementFrame(wdc, ToRect(g), e->Image2, frame, 8, true);
      continue;
    }
    const COLORREF ink = SkinRgb(FSkinData->ButtonDkShadow);
    const COLORREF fill =
        SkinRgb(state == 2 || state == 4 ? FSkinData->ButtonShadow : FSkinData->ButtonFace);
    fw::ScopedPen pen(CreatePen(PS_SOLID, 1, ink));
    fw::ScopedBrush brush(CreateSolidBrush(fill));
    if (!pen || !brush) continue;
    fw::ScopedSelectObject select_pen(wdc, pen.get());
    fw::ScopedSelectObject select_brush(wdc, brush.get());
    Rectangle(wdc, br.left, br.top, br.right, br.bottom);
    const ArrowKind kind = l.horizontal ? (button == 0 ? ArrowKind::kLeft : ArrowKind::kRight)
                                        : (button == 0 ? ArrowKind::kUp : ArrowKind::kDown);
    const ArrowShape arrow = PlainArrow(kind, b);
    for (const auto& [from, to] : arrow.segments) {
      MoveToEx(wdc, from.x, from.y, nullptr);
      LineTo(wdc, to.x, to.y);
    }
    if (!arrow.path.empty()) {
      std::vector<POINT> points;
      for (const ArrowPoint& a : arrow.path) points.push_back({a.x, a.y});
      Polyline(wdc, points.data(), static_cast<int>(points.size()));
    }
  }
  BitBlt(dc, rect.left, rect.top, client.right, client.bottom, wdc, 0, 0, SRCCOPY);
}

// ---- boxes ----

const fw::TClassInfo& TSkinBox::StaticClassInfo() {
  static const fw::TClassInfo info =
      fw::DescribeClass<TSkinBox, TSkinControl>("TSkinBox", [](auto&) {});
  return info;
}

TSkinBox::~TSkinBox() { TSkinBox::Detach(); }

void TSkinBox::AttachControl(fw::TWinControl* control, TSkinData* skin_data, bool recolor,
                             fw::TCanvas* canvas) {
  if (FAttached || !control) return;
  FRecolor = recolor;
  FSkinData = skin_data;
  FCanvas = canvas;
  FControl = control;
  FHandle = control->Handle();
  // The box never sees the control's messages, so it asks to hear of its freeing.
  control->FreeNotification(this);
  if (TSkinForm* form = OwnerForm()) form->RegisterSkinner(this);
  if (FRecolor) {
    FSavedColor = control->Color();
    control->SetColor(static_cast<fw::TColor>(FaceColor()));
    box_recolored_ = true;
  }
  FAttached = true;
}

bool TSkinBox::BeforeMessage(fw::TMessage& message) {
  // A bare window (a tool bar or rebar of another program) has no colour to set: its
  // background is filled with the face colour instead of the system's.
  if (message.Msg != WM_ERASEBKGND || FControl || !message.WParam) return true;
  RECT client{};
  GetClientRect(FHandle, &client);
  FillFace(reinterpret_cast<HDC>(message.WParam), client);
  message.Result = 1;
  return false;
}

void TSkinBox::Detach() {
  TSkinControl::Detach();
  if (box_recolored_ && FControl && !FControl->IsDestroying()) {
    TSkinForm* form = OwnerForm();
    const bool tearing_down = form && form->LifeState == LifeClosing;
    if (!tearing_down) FControl->SetColor(FSavedColor);
  }
  box_recolored_ = false;
  if (FControl) FControl->RemoveFreeNotification(this);
}

void TSkinBox::Notification(fw::TComponent* component, fw::TOperation operation) {
  TSkinControl::Notification(component, operation);
  if (operation == fw::opRemove && component == FControl) {
    box_recolored_ = false;
    FControl = nullptr;
    FHandle = nullptr;
  }
}

void AddBarSkinnerMakers(SkinnerMakerTable& table) {
  table[KindIndex(SkinnerKind::Progress)] = &MakeSkinner<TSkinProgress>;
  table[KindIndex(SkinnerKind::TrackBar)] = &MakeSkinner<TSkinTrackBar>;
  table[KindIndex(SkinnerKind::UpDown)] = &MakeSkinner<TSkinUpDown>;
  table[KindIndex(SkinnerKind::Box)] = &MakeSkinner<TSkinBox>;
}

}  // namespace skin
