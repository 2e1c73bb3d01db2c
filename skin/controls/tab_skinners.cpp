#include "skin/controls/tab_skinners.h"

#include <commctrl.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "framework/comctrls.h"
#include "framework/ext_ctrls.h"
#include "skin/data/skin_scaling.h"
#include "skin/controls/bar_skinners.h"
#include "skin/controls/offscreen.h"
#include "skin/controls/tab_geometry.h"
#include "skin/data/skin_data.h"
#include "skin/form/skin_form.h"
#include "skin/manager/element_painting.h"
#include "skin/store/bitmap_ops.h"

namespace skin {

namespace {

PixelBitmap As24(const PixelBitmap& b) {
  return b.Format() == PixelFormat::kBgr24 ? b : b.Converted(PixelFormat::kBgr24);
}

// A helper skinner for a window inside the skinned control (scroll arrows): owned and
// listed by the form controller like the others, so it is detached and freed with them.
TSkinUpDown* MakeInnerUpDown(TSkinControl& outer, HWND hwnd, bool horizontal) {
  fw::TComponent* owner = outer.OwnerForm() ? outer.OwnerForm() : outer.Owner();
  auto* updown = new TSkinUpDown(owner);
  updown->FHorizontal = horizontal;
  updown->AttachHandle(hwnd, outer.FSkinData, outer.FCanvas);
  if (TSkinForm* form = outer.OwnerForm()) form->RegisterSkinner(updown);
  updown->FreeNotification(&outer);
  return updown;
}

}  // namespace

// ---- tab controls ----

const fw::TClassInfo& TSkinTab::StaticClassInfo() {
  static const fw::TClassInfo info =
      fw::DescribeClass<TSkinTab, TSkinControl>("TSkinTab", [](auto&) {});
  return info;
}

void TSkinTab::AttachHandle(HWND handle, TSkinData* skin_data, fw::TCanvas* canvas) {
  TSkinControl::AttachHandle(handle, skin_data, canvas);
  FFocused = GetFocus() == handle;
  FEnabled = (GetWindowLongPtrA(handle, GWL_STYLE) & WS_DISABLED) == 0;
  FCaption = ReadCaption(handle);
  PrepareImages();
  FindScrollArrows();
}

void TSkinTab::PrepareImages() {
  FTabPosition = static_cast<uint8_t>(
      TabSideFromStyle(static_cast<uint32_t>(GetWindowLongPtrA(FHandle, GWL_STYLE))));
  FTabImage.Clear();
  FBorderImage.Clear();
  const TDataSkinBorder* tabs = FSkinData ? Skin().Tabs.get() : nullptr;
  if (!HasImage(tabs)) return;
  // The tabs are drawn even when the skin has no border image; only the border is left out.
  FTabImage = As24(tabs->Image);
  if (!tabs->Image2.Empty()) FBorderImage = As24(tabs->Image2);
  switch (static_cast<TabSide>(FTabPosition)) {
    case TabSide::kBottom:
      FlipVertically(FTabImage);
      FlipVertically(FBorderImage);
      break;
    case TabSide::kLeft:
      RotateLeft(FBorderImage);
      break;
    case TabSide::kRight:
      RotateRight(FBorderImage);
      break;
    case TabSide::kTop:
      break;
  }
}

void TSkinTab::FindScrollArrows() {
  if (!FHandle) return;
  HWND arrows = FindWindowExA(FHandle, nullptr, "msctls_updown32", nullptr);
  if (!arrows) return;
  if (!FUpDown) {
    FUpDown = MakeInnerUpDown(*this, arrows, false);
  } else if (FUpDown->FHandle != arrows) {
    // The control made its arrows anew (they go when the tabs fit and come back).
    FUpDown->Detach();
    FUpDown->AttachHandle(arrows, FSkinData, FCanvas);
  }
}

void TSkinTab::Notification(fw::TComponent* component, fw::TOperation operation) {
  TSkinControl::Notification(component, operation);
  if (operation == fw::opRemove && component == FUpDown) FUpDown = nullptr;
}

bool TSkinTab::BeforeMessage(fw::TMessage& message) {
  if (message.Msg != WM_PAINT) return true;
  // The scroll arrows exist once the tabs are laid out, before any paint.
  FindScrollArrows();
  return !PaintInOneStep(message);
}

void TSkinTab::AfterMessage(fw::TMessage& message) {
  switch (message.Msg) {
    case WM_PAINT:
      FindScrollArrows();
      break;
    case WM_STYLECHANGED:
      PrepareImages();
      break;
    default:
      break;
  }
  TSkinControl::AfterMessage(message);
  switch (message.Msg) {
    case TCM_SETCURSEL:
    case TCM_SETCURFOCUS:
    case TCM_INSERTITEMA:
    case TCM_INSERTITEMW:
    case TCM_DELETEITEM:
    case TCM_DELETEALLITEMS:
    case TCM_SETITEMA:
    case TCM_SETITEMW:
      RedrawFrame();
      break;
    default:
      break;
  }
}

void TSkinTab::SkinChanged() {
  TSkinControl::SkinChanged();
  PrepareImages();
}

void TSkinTab::DrawSkin(HDC dc, const RECT& rect) {
  const TDataSkinBorder* tabs = FSkinData ? Skin().Tabs.get() : nullptr;
  if (!HasImage(tabs) || FTabImage.Empty()) return;
  const TabSide side = static_cast<TabSide>(FTabPosition);
  const int w = rect.right - rect.left, h = rect.bottom - rect.top;
  RECT display{0, 0, w, h};
  SendMessageA(FHandle, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&display));
  const PixelRect border = PageBorderRect(ToPixelRect(display), side);
  const PixelRect strip = TabStripArea(border, w, h, side);
  const StripSize size = TabStripBitmapSize(strip, side);

  // Side strips are turned through their pixels, which a mirrored DC would have flipped.
  const bool lying = side == TabSide::kLeft || side == TabSide::kRight;
  OffscreenBitmap bitmap(size.width, size.height, lying ? nullptr : dc);
  if (bitmap && !strip.Empty()) {
    HDC sdc = bitmap.Dc();
    FillSolid(sdc, {0, 0, size.width, size.height}, SkinRgb(FSkinData->ButtonFace));
    fw::TCanvas canvas;
    AssignWindowFont(canvas.Font(), FHandle);
    canvas.SetHandle(sdc);
    const int focused = static_cast<int>(SendMessageA(FHandle, TCM_GETCURFOCUS, 0, 0));
    HIMAGELIST images = reinterpret_cast<HIMAGELIST>(SendMessageA(FHandle, TCM_GETIMAGELIST, 0, 0));
    const int count = static_cast<int>(SendMessageA(FHandle, TCM_GETITEMCOUNT, 0, 0));
    const int frames = std::max(1, tabs->FrameCount);
    for (int i = 0; i < count; ++i) {
      char text[81] = {};
      TCITEMA item{};
      item.mask = TCIF_TEXT | TCIF_IMAGE | TCIF_STATE;
      item.pszText = text;
      item.cchTextMax = 80;
      item.iImage = -1;
      if (!SendMessageA(FHandle, TCM_GETITEMA, i, reinterpret_cast<LPARAM>(&item))) continue;
      RECT r{};
      if (!SendMessageA(FHandle, TCM_GETITEMRECT, i, reinterpret_cast<LPARAM>(&r))) continue;
      const PixelRect placed = TabItemInStrip(ToPixelRect(r), border, size.width, w, side);
      const int frame = i == focused ? 2 : 1;
      DrawElement(sdc, ToRect(placed), FTabImage, MarginsOf(*tabs), frame, frames, tabs->Trans == 1,
                  tabs->Tile != 0, false);
      canvas.Font().SetColor(
          static_cast<fw::TColor>(frame == 1 ? tabs->NormalColour2 : tabs->MouseOverColour2));
      DrawImageCaption(canvas, ToRect(placed), 1, text, item.iImage, images);
    }
    canvas.SetHandle(nullptr);

    // Side strips were drawn lying down; turn them into place.
    PixelBitmap pixels;
    if (side == TabSide::kLeft || side == TabSide::kRight) {
      pixels = bitmap.Pixels().Converted(PixelFormat::kBgr24);
      if (side == TabSide::kLeft) RotateLeft(pixels);
      if (side == TabSide::kRight) RotateRight(pixels);
    }
    DibSection rotated = pixels.Empty() ? DibSection{} : DibFromPixels(pixels);
    fw::ScopedMemoryDc rotated_dc(rotated ? CreateCompatibleDC(nullptr) : nullptr);
    std::unique_ptr<fw::ScopedSelectObject> rotated_select;
    HDC source = sdc;
    if (rotated && rotated_dc) {
      rotated_select =
          std::make_unique<fw::ScopedSelectObject>(rotated_dc.get(), rotated.bitmap.get());
      source = rotated_dc.get();
    }

    // The scroll arrows are a child window the strip would cover.
    const int saved = SaveDC(dc);
    HWND arrows = FUpDown ? FUpDown->FHandle : nullptr;
    if (arrows && IsWindow(arrows) && (GetWindowLongPtrA(arrows, GWL_STYLE) & WS_VISIBLE)) {
      RECT own{}, shown{};
      GetWindowRect(FHandle, &own);
      GetWindowRect(arrows, &shown);
      OffsetRect(&shown, -own.left, -own.top);
      ExcludeClipRect(dc, rect.left + shown.left, rect.top + shown.top, rect.left + shown.right,
                      rect.top + shown.bottom);
    }
    BitBlt(dc, rect.left + strip.left, rect.top + strip.top, strip.Width(), strip.Height(), source,
           0, 0, SRCCOPY);
    RestoreDC(dc, saved);
  }

  if (!FBorderImage.Empty()) {
    const RECT target = ToRect(border.Offset(rect.left, rect.top));
    DrawElementDirect(dc, target, FBorderImage, ScaleMargins({4, 5, 4, 4}, Skin().Dpi), 1, 1,
                      false);
  }
}

// ---- tab sets ----

const fw::TClassInfo& TSkinTab31::StaticClassInfo() {
  static const fw::TClassInfo info =
      fw::DescribeClass<TSkinTab31, TSkinControl>("TSkinTab31", [](auto&) {});
  return info;
}

void TSkinTab31::PrepareImage() {
  FTabImage.Clear();
  const TDataSkinBorder* tabs = FSkinData ? Skin().Tabs.get() : nullptr;
  if (!HasImage(tabs)) return;
  FTabImage = As24(tabs->Image);
  FlipVertically(FTabImage);
}

void TSkinTab31::AttachControl(fw::TWinControl* control, TSkinData* skin_data, bool recolor,
                               fw::TCanvas* canvas) {
  if (FAttached || !control) return;
  TSkinControl::AttachControl(control, skin_data, recolor, canvas);
  PrepareImage();
  const auto& owned = control->ComponentList();
  auto* scroller = owned.empty() ? nullptr : dynamic_cast<fw::TWinControl*>(owned.front());
  if (scroller && !FUpDown) {
    FScroller = scroller;
    scroller->FreeNotification(this);
    FUpDown = MakeInnerUpDown(*this, scroller->Handle(), true);
  }
}

void TSkinTab31::Notification(fw::TComponent* component, fw::TOperation operation) {
  TSkinControl::Notification(component, operation);
  if (operation != fw::opRemove) return;
  if (component == FUpDown) FUpDown = nullptr;
  if (component == FScroller) FScroller = nullptr;
}

void TSkinTab31::SkinChanged() {
  TSkinControl::SkinChanged();
  PrepareImage();
}

bool TSkinTab31::BeforeMessage(fw::TMessage& message) {
  switch (message.Msg) {
    case WM_PAINT:
      PaintClient(message);
      return true;
    case WM_ERASEBKGND:
      message.Result = 1;
      return false;
    default:
      return true;
  }
}

void TSkinTab31::DrawSkin(HDC dc, const RECT& rect) {
  const TDataSkinBorder* tabs = FSkinData ? Skin().Tabs.get() : nullptr;
  auto* set = dynamic_cast<fw::TTabSet*>(FControl);
  if (!HasImage(tabs) || FTabImage.Empty() || !set) return;
  const int w = rect.right - rect.left, h = rect.bottom - rect.top;
  OffscreenBitmap bitmap(w, h, dc);
  if (!bitmap) return;
  HDC bdc = bitmap.Dc();
  FillSolid(bdc, {0, 0, w, h}, SkinRgb(FSkinData->ButtonFace));
  fw::TCanvas canvas;
  canvas.Font().Assign(set->Font());
  canvas.SetHandle(bdc);
  const std::vector<std::string>& texts = set->Tabs().Lines();
  std::vector<int> widths;
  widths.reserve(texts.size());
  for (const std::string& t : texts) widths.push_back(canvas.TextWidth(t));
  const bool scroller_visible =
      FScroller && FScroller->HandleAllocated() && IsWindowVisible(FScroller->Handle());
  const std::vector<TabSetSlot> slots = LayoutTabSet(widths, set->FirstIndex(), set->StartMargin(),
                                                     set->EndMargin(), w, h, scroller_visible);
  const int frames = std::max(1, tabs->FrameCount);
  for (const TabSetSlot& slot : slots) {
    const bool selected = slot.index == set->TabIndex();
    const RECT r = ToRect(slot.rect);
    DrawElement(bdc, r, FTabImage, MarginsOf(*tabs), selected ? 2 : 1, frames, tabs->Trans == 1,
                tabs->Tile != 0, false);
    canvas.Font().SetColor(
        static_cast<fw::TColor>(selected ? tabs->MouseOverColour2 : tabs->NormalColour2));
    DrawCaption(canvas, r, DT_CENTER, true, texts[static_cast<size_t>(slot.index)]);
  }
  canvas.SetHandle(nullptr);
  // The scroll button is a child window; the copy leaves it alone.
  const int saved = SaveDC(dc);
  if (scroller_visible) {
    RECT own{}, shown{};
    GetWindowRect(FHandle, &own);
    GetWindowRect(FScroller->Handle(), &shown);
    OffsetRect(&shown, rect.left - own.left, rect.top - own.top);
    ExcludeClipRect(dc, shown.left, shown.top, shown.right, shown.bottom);
  }
  BitBlt(dc, rect.left, rect.top, w, h, bdc, 0, 0, SRCCOPY);
  RestoreDC(dc, saved);
}

// ---- headers ----

const fw::TClassInfo& TSkinHeader::StaticClassInfo() {
  static const fw::TClassInfo info =
      fw::DescribeClass<TSkinHeader, TSkinControl>("TSkinHeader", [](auto&) {});
  return info;
}

void TSkinHeader::AttachHandle(HWND handle, TSkinData* skin_data, fw::TCanvas* canvas) {
  TSkinControl::AttachHandle(handle, skin_data, canvas);
  if (TSkinForm* form = OwnerForm()) form->RegisterSkinner(this);
}

bool TSkinHeader::BeforeMessage(fw::TMessage& message) {
  if (message.Msg == WM_ERASEBKGND && FSkinData && HasImage(Skin().Headerbar.get())) {
    message.Result = 1;
    return false;
  }
  return true;
}

void TSkinHeader::DrawSkin(HDC dc, const RECT& rect) {
  const TDataSkinObject* bar = FSkinData ? Skin().Headerbar.get() : nullptr;
  if (!HasImage(bar)) return;
  const int w = rect.right - rect.left, h = rect.bottom - rect.top;
  OffscreenBitmap bitmap(w, h, dc);
  if (!bitmap) return;
  HDC bdc = bitmap.Dc();
  fw::TCanvas canvas;
  AssignWindowFont(canvas.Font(), FHandle);
  canvas.Font().SetColor(static_cast<fw::TColor>(bar->NormalColour2));
  canvas.SetHandle(bdc);
  SetBkMode(bdc, TRANSPARENT);
  HIMAGELIST images = reinterpret_cast<HIMAGELIST>(SendMessageA(FHandle, HDM_GETIMAGELIST, 0, 0));
  const int frames = std::max(1, bar->FrameCount);
  const int count = static_cast<int>(SendMessageA(FHandle, HDM_GETITEMCOUNT, 0, 0));
  int items_right = 0;
  for (int i = 0; i < count; ++i) {
    RECT r{};
    if (!SendMessageA(FHandle, HDM_GETITEMRECT, i, reinterpret_cast<LPARAM>(&r))) continue;
    items_right = std::max<int>(items_right, r.right);
    char text[202] = {};
    HDITEMA item{};
    item.mask = HDI_TEXT | HDI_FORMAT | HDI_IMAGE;
    item.pszText = text;
    item.cchTextMax = 201;
    if (!SendMessageA(FHandle, HDM_GETITEMA, i, reinterpret_cast<LPARAM>(&item))) continue;
    DrawElement(bdc, r, bar->Image, MarginsOf(*bar), 1, frames, false, bar->Tile != 0, false);
    if (!text[0]) continue;
    const auto format = static_cast<uint32_t>(item.fmt);
    DrawImageCaption(canvas, r, HeaderAlignment(format), text,
                     HeaderImageIndex(format, item.iImage), images);
  }
  const PixelRect rest = HeaderRest(items_right, {0, 0, w, h});
  if (!rest.Empty())
    DrawElement(bdc, ToRect(rest), bar->Image, MarginsOf(*bar), 1, frames, false, bar->Tile != 0,
                false);
  canvas.SetHandle(nullptr);
  BitBlt(dc, rect.left, rect.top, w, h, bdc, 0, 0, SRCCOPY);
}

// ---- list views ----

const fw::TClassInfo& TSkinListView::StaticClassInfo() {
  static const fw::TClassInfo info =
      fw::DescribeClass<TSkinListView, TSkinScrollBar>("TSkinListView", [](auto&) {});
  return info;
}

void TSkinListView::AttachControl(fw::TWinControl* control, TSkinData* skin_data, bool recolor,
                                  fw::TCanvas* canvas) {
  if (FAttached || !control) return;
  // The scroll-bar attach may come back here through the virtual AttachControl.
  if (attaching_) {
    TSkinScrollBar::AttachControl(control, skin_data, recolor, canvas);
    return;
  }
  attaching_ = true;
  // The list view's own bars are drawn and dragged like a memo's.
  AttachScrollBars(control, skin_data, /*handle_thumb_drag=*/true, canvas);
  attaching_ = false;
  AttachHeader(skin_data, canvas);
}

void TSkinListView::AttachHandle(HWND handle, TSkinData* skin_data, fw::TCanvas* canvas) {
  if (FAttached || !handle) return;
  TSkinScrollBar::AttachHandle(handle, skin_data, canvas);
  AttachHeader(skin_data, canvas);
}

void TSkinListView::AttachHeader(TSkinData* skin_data, fw::TCanvas* canvas) {
  HWND header = reinterpret_cast<HWND>(SendMessageA(FHandle, LVM_GETHEADER, 0, 0));
  if (!header || FHeader) return;
  fw::TComponent* owner = OwnerForm() ? OwnerForm() : Owner();
  FHeader = new TSkinHeader(owner);
  FHeader->AttachHandle(header, skin_data, canvas);
  FHeader->FreeNotification(this);
}

void TSkinListView::Notification(fw::TComponent* component, fw::TOperation operation) {
  TSkinScrollBar::Notification(component, operation);
  if (operation == fw::opRemove && component == FHeader) FHeader = nullptr;
}

// ---- status bars ----

const fw::TClassInfo& TSkinStatusBar::StaticClassInfo() {
  static const fw::TClassInfo info =
      fw::DescribeClass<TSkinStatusBar, TSkinControl>("TSkinStatusBar", [](auto&) {});
  return info;
}

bool TSkinStatusBar::BeforeMessage(fw::TMessage& message) {
  switch (message.Msg) {
    case WM_PAINT:
      PaintClient(message);
      return false;
    case WM_ERASEBKGND:
      message.Result = 1;
      return false;
    default:
      return true;
  }
}

void TSkinStatusBar::AfterMessage(fw::TMessage& message) {
  TSkinControl::AfterMessage(message);
  switch (message.Msg) {
    case SB_SETTEXTA:
    case SB_SETTEXTW:
    case SB_SETPARTS:
    case SB_SIMPLE:
      RedrawFrame();
      break;
    default:
      break;
  }
}

namespace {

struct PanelToDraw {
  PixelRect rect;
  std::string text;
  PanelAlign align = PanelAlign::kLeft;
  PanelBevel bevel = PanelBevel::kLowered;
};

PanelAlign AlignOf(fw::TAlignment a) {
  if (a == fw::taRightJustify) return PanelAlign::kRight;
  if (a == fw::taCenter) return PanelAlign::kCentre;
  return PanelAlign::kLeft;
}

PanelBevel BevelOf(fw::TStatusPanelBevel b) {
  if (b == fw::pbNone) return PanelBevel::kNone;
  if (b == fw::pbRaised) return PanelBevel::kRaised;
  return PanelBevel::kLowered;
}

void PlainBevel(HDC dc, const RECT& r, PanelBevel bevel) {
  if (bevel == PanelBevel::kNone) return;
  const COLORREF shadow = GetSysColor(COLOR_BTNSHADOW);
  const COLORREF light = GetSysColor(COLOR_BTNHIGHLIGHT);
  const COLORREF top_left = bevel == PanelBevel::kLowered ? shadow : light;
  const COLORREF bottom_right = bevel == PanelBevel::kLowered ? light : shadow;
  FillSolid(dc, {r.left, r.top, r.right, r.top + 1}, top_left);
  FillSolid(dc, {r.left, r.top, r.left + 1, r.bottom}, top_left);
  FillSolid(dc, {r.left, r.bottom - 1, r.right, r.bottom}, bottom_right);
  FillSolid(dc, {r.right - 1, r.top, r.right, r.bottom}, bottom_right);
}

}  // namespace

void TSkinStatusBar::DrawSkin(HDC dc, const RECT& rect) {
  if (!FSkinData || !FHandle) return;
  const int w = rect.right - rect.left, h = rect.bottom - rect.top;
  OffscreenBitmap bitmap(w, h, dc);
  if (!bitmap) return;
  HDC bdc = bitmap.Dc();
  FillSolid(bdc, {0, 0, w, h}, SkinRgb(FSkinData->ButtonFace));
  const TDataSkinObject* edges = Skin().StatusBarEdges.get();
  fw::TCanvas canvas;
  AssignWindowFont(canvas.Font(), FHandle);
  canvas.Font().SetStyle(0);
  if (edges) canvas.Font().SetColor(static_cast<fw::TColor>(edges->NormalColour2));
  canvas.SetHandle(bdc);

  std::vector<PanelToDraw> panels;
  auto* bar = dynamic_cast<fw::TStatusBar*>(FControl);
  const int native_parts =
      bar ? 0
          : static_cast<int>(std::clamp<LRESULT>(SendMessageA(FHandle, SB_GETPARTS, 0, 0), 0, 256));
  if (!bar && native_parts > 0 && !SendMessageA(FHandle, SB_ISSIMPLE, 0, 0)) {
    // A status bar of another program: its parts and texts as the control keeps them.
    std::vector<PixelRect> reported;
    for (int i = 0; i < native_parts; ++i) {
      RECT r{};
      SendMessageA(FHandle, SB_GETRECT, i, reinterpret_cast<LPARAM>(&r));
      reported.push_back(ToPixelRect(r));
    }
    reported = StatusPanelRects(std::move(reported), w);
    for (int i = 0; i < native_parts; ++i) {
      const size_t length = LOWORD(SendMessageA(FHandle, SB_GETTEXTLENGTHA, i, 0));
      std::string text(length + 1, '\0');
      SendMessageA(FHandle, SB_GETTEXTA, i, reinterpret_cast<LPARAM>(text.data()));
      text.resize(std::strlen(text.c_str()));
      panels.push_back(
          {reported[static_cast<size_t>(i)], text, PanelAlign::kLeft, PanelBevel::kLowered});
    }
  } else if (!bar || bar->SimplePanel() || bar->Panels().empty()) {
    panels.push_back({{0, 0, w, h},
                      bar ? bar->SimpleText() : FCaption,
                      PanelAlign::kLeft,
                      PanelBevel::kLowered});
  } else {
    std::vector<PixelRect> reported;
    for (size_t i = 0; i < bar->Panels().size(); ++i) {
      RECT r{};
      SendMessageA(FHandle, SB_GETRECT, i, reinterpret_cast<LPARAM>(&r));
      reported.push_back(ToPixelRect(r));
    }
    reported = StatusPanelRects(std::move(reported), w);
    for (size_t i = 0; i < bar->Panels().size(); ++i) {
      const fw::TStatusPanel* p = bar->Panels()[i];
      panels.push_back({reported[i], p->Text(),
                        PanelAlignment(AlignOf(p->Alignment()), p->RightToLeft()),
                        BevelOf(p->Bevel())});
    }
  }

  const bool skinned = HasImage(edges);
  for (const PanelToDraw& p : panels) {
    const RECT r = ToRect(p.rect);
    if (skinned) {
      DrawElement(bdc, r, edges->Image, MarginsOf(*edges), PanelFrame(p.bevel), 3, false,
                  edges->Tile != 0, false);
    } else {
      PlainBevel(bdc, r, p.bevel);
    }
    DrawCaption(canvas, ToRect(PanelTextRect(p.rect)), PanelTextFormat(p.align), true,
                p.text.empty() ? std::string(" ") : p.text);
  }
  canvas.SetHandle(nullptr);

  const TDataSkinObject* extra = Skin().ExtraImages.get();
  if ((GetWindowLongPtrA(FHandle, GWL_STYLE) & SBARS_SIZEGRIP) && HasImage(extra)) {
    const int frames = std::max(1, extra->FrameCount);
    const PixelRect grip = SizeGripRect(w, h, extra->Image.Width(), extra->Image.Height(), frames);
    if (!grip.Empty()) DrawStripFrame(bdc, ToRect(grip), frames, std::min(5, frames), extra->Image);
  }
  BitBlt(dc, rect.left, rect.top, w, h, bdc, 0, 0, SRCCOPY);
}

void AddTabSkinnerMakers(SkinnerMakerTable& table) {
  table[KindIndex(SkinnerKind::Tab)] = &MakeSkinner<TSkinTab>;
  table[KindIndex(SkinnerKind::Tab31)] = &MakeSkinner<TSkinTab31>;
  table[KindIndex(SkinnerKind::ListView)] = &MakeSkinner<TSkinListView>;
  table[KindIndex(SkinnerKind::Header)] = &MakeSkinner<TSkinHeader>;
  table[KindIndex(SkinnerKind::StatusBar)] = &MakeSkinner<TSkinStatusBar>;
}

}  // namespace skin
