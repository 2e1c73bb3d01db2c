#include "skin/form/skin_form.h"

#include <algorithm>
#include <cstring>

#include "framework/application.h"
#include "framework/forms.h"
#include "framework/menus.h"
#include "skin/controls/skin_control.h"
#include "skin/data/skin_data.h"
#include "skin/data/skin_scaling.h"
#include "skin/form/caption_buttons.h"
#include "skin/form/dwm_frame.h"
#include "framework/dpi.h"
#include "skin/manager/element_painting.h"
#include "skin/manager/engine_phases.h"
#include "skin/manager/menu_bar.h"
#include "skin/manager/skin_manager.h"
#include "skin/store/icon_key.h"

namespace skin {

namespace {

COLORREF ColourOr(Colour colour, int system_index) {
  if (colour == kColourNone) return GetSysColor(system_index);
  return fw::ColorToRGB(static_cast<fw::TColor>(colour));
}

std::string WindowText(HWND hwnd) {
  char text[1000] = {};
  LRESULT n = SendMessageA(hwnd, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
  return std::string(text, n > 0 ? std::min<size_t>(static_cast<size_t>(n), sizeof text - 1) : 0);
}

const TDataSkinBorder* StripOf(const SkinDefinition* data, TStripSide side) {
  if (!data) return nullptr;
  switch (side) {
    case StripLeft:
      return data->LeftStrip.get();
    case StripRight:
      return data->RightStrip.get();
    case StripTop:
      return data->TopStrip.get();
    case StripBottom:
      return data->BottomStrip.get();
  }
  return nullptr;
}

FrameStrip ToFrameStrip(TStripSide side) {
  switch (side) {
    case StripLeft:
      return FrameStrip::kLeft;
    case StripRight:
      return FrameStrip::kRight;
    case StripTop:
      return FrameStrip::kTop;
    case StripBottom:
      break;
  }
  return FrameStrip::kBottom;
}

// Copies a rectangle of a 32-bit top-down DIB bitmap into a pixel bitmap; a rectangle
// not wholly inside the bitmap gives an empty one.
PixelBitmap CopyFromBitmap(fw::TBitmap& bitmap, const PixelRect& rect) {
  if (bitmap.PixelFormat() != fw::pf32bit || rect.left < 0 || rect.top < 0 ||
      rect.right > bitmap.Width() || rect.bottom > bitmap.Height() || rect.Width() <= 0 ||
      rect.Height() <= 0)
    return {};
  PixelBitmap out(rect.Width(), rect.Height(), PixelFormat::kBgra32);
  for (int y = 0; y < rect.Height(); ++y) {
    const uint8_t* row = bitmap.ScanLine(rect.top + y);
    if (!row) break;
    std::memcpy(out.ScanLine(y), row + size_t(rect.left) * 4, size_t(rect.Width()) * 4);
  }
  return out;
}

}  // namespace

const fw::TClassInfo& TSkinForm::StaticClassInfo() {
  static const fw::TClassInfo info =
      fw::DescribeClass<TSkinForm, fw::TComponent>("TSkinForm", [](auto&) {});
  return info;
}

TSkinForm::TSkinForm(fw::TComponent* owner) : fw::TComponent(owner) {
  DoubleClickTime = static_cast<int>(GetDoubleClickTime());
  TitleCache.SetPixelFormat(fw::pf32bit);
  IconBitmap.SetPixelFormat(fw::pf32bit);
}

TSkinForm::~TSkinForm() {
  FreeSkinners();
  ClearCaptionButtons();
  // A controller freed while still attached (its form went first) lets go quietly.
  form_proc_.Restore();
  frame_subclass_.Restore();
  UnhookMdiClient();
  HoverTimer.reset();
  MenuBar.reset();
  SystemPopup.reset();
  if (SkinManager) SkinManager->RemoveForm(this);
}

bool TSkinForm::FrameSkinned() const {
  return SkinData && SkinData->SkinControls.Contains(xcMainMenu);
}

const SkinDefinition& TSkinForm::Skin() const {
  if (ScaledSkin) return *ScaledSkin;
  static const SkinDefinition kNoSkin;
  return SkinData ? *SkinData : kNoSkin;
}

void TSkinForm::UseDpi(int dpi) {
  Dpi = dpi > 0 ? dpi : kBaseDpi;
  ScaledSkin = SkinData ? SkinData->ScaledFor(Dpi) : nullptr;
}

int TSkinForm::SystemLength(int value) const {
  return fw::ScaleForDpi(value, Dpi, fw::SystemDpi());
}

void TSkinForm::ChangeDpi(int dpi, const RECT* suggested) {
  UseDpi(dpi);
  if (SystemPopup) SystemPopup->SetDpi(Dpi);
  LoadCaptionFont();
  LoadWindowIcon();
  if (MenuBar) MenuHeight = SystemLength(GetSystemMetrics(SM_CYMENU));
  LoadFrameMetrics();
  if (!suggested || Form) return;  // a form places itself on the rectangle
  SetWindowPos(Handle, nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
               suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
}

FrameMetrics TSkinForm::Metrics() const {
  return {BorderLeft, BorderTop, BorderRight, BorderBottom, MenuHeight, Skin().Dpi};
}

void TSkinForm::Notification(fw::TComponent* component, fw::TOperation operation) {
  fw::TComponent::Notification(component, operation);
  if (operation != fw::opRemove) return;
  for (auto it = Skinners.begin(); it != Skinners.end(); ++it) {
    TSkinControl* skinner = *it;
    if (skinner->FGraphicControl && skinner->FGraphicControl == component) {
      Skinners.erase(it);
      if (HotSkinner == skinner) HotSkinner = nullptr;
      delete skinner;
      return;
    }
  }
}

// ---- attaching ----

void TSkinForm::AttachToForm(TSkinData* data, fw::TCustomForm* form) {
  Form = form;
  SkinData = data;
  if (FrameSkinned())
    form_proc_.Install(form, fw::TWndMethod::Of<&TSkinForm::FormWindowProc>(this));
  AttachToWindow(data);
  SavedFormColor = form->Color();
  form->SetColor(static_cast<fw::TColor>(data->ButtonFace));
  if (FrameSkinned()) SkinFormPopupMenus(true);
}

void TSkinForm::AttachToWindow(TSkinData* data) {
  if (Subclassed()) return;
  SkinData = data;
  UseDpi(fw::WindowDpi(Handle));
  // Made stopped: the first hover starts it (a running timer needs the timers' window,
  // which takes a window creation at start-up otherwise).
  HoverTimer = std::make_unique<fw::TTimer>(nullptr, false);
  HoverTimer->SetInterval(250);
  HoverTimer->OnTimer = [this](fw::TObject*) { HoverPoll(); };
  LoadCaptionFont();
  Style = static_cast<DWORD>(GetWindowLongA(Handle, GWL_STYLE));
  const DWORD ex_style = static_cast<DWORD>(GetWindowLongA(Handle, GWL_EXSTYLE));
  RightToLeft = (ex_style & WS_EX_LEFTSCROLLBAR) != 0;
  // A window's own copy of the system menu is made by its first GetSystemMenu, which takes
  // milliseconds: with WS_SYSMENU it is asked for only when the system's menu is shown.
  NativeSystemMenu = (Style & WS_SYSMENU) ? nullptr : GetSystemMenu(Handle, FALSE);
  LoadWindowIcon();
  CaptionText = WindowText(Handle);
  ClassName = WindowClassName(Handle);
  GetClientRect(Handle, &ClientRect);
  RECT window{};
  GetWindowRect(Handle, &window);
  SystemFrameSize = {0, 0, (window.right - window.left) - (ClientRect.right - ClientRect.left),
                     (window.bottom - window.top) - (ClientRect.bottom - ClientRect.top)};
  CaptionIcons = 0;
  if ((Style & WS_SYSMENU) || NativeSystemMenu) CaptionIcons |= kIconSystemMenu;
  if (Style & WS_MINIMIZEBOX) CaptionIcons |= kIconMinimize;
  if (Style & WS_MAXIMIZEBOX) CaptionIcons |= kIconMaximize;
  BuildSystemPopup();
  UpdateShowState();
  Sizeable = (Style & WS_THICKFRAME) != 0;
  FindMdiClient();
  if (ex_style & WS_EX_MDICHILD) MdiKind = MdiChild;
  ComputeKinds();
  if (MdiKind == MdiFrame) {
    SavedMenuUpdate = data->MenuUpdate;
    HookMdiClient();
  }
  if (FrameSkinned()) {
    NativeMenu = GetMenu(Handle);
    if (NativeMenu && MdiKind != MdiChild) {
      MenuBar = std::make_unique<TSkinMenuBar>(data, this, Form ? Form->Menu() : nullptr);
      MenuHeight = SystemLength(GetSystemMetrics(SM_CYMENU));
      MenuBar->BuildFromMenuHandle();
    }
    const bool keep_styles = (MdiKind == MdiChild && SkinManager && SkinManager->MdiMaximized) ||
                             ShowState == ShowMinimized;
    if (!keep_styles) SetCaptionStyles(false);
    if (!(Style & WS_CHILD)) TakeOverDwmFrame(Handle);
    LoadFrameMetrics();
  }
  frame_subclass_.Install(Handle, &TSkinForm::FrameProcEntry, this);
  if (Form) {
    SkinFormControls(Form);
    ApplyTextColours();
  } else {
    SkinChildWindows();
  }
  InvalidateRect(Handle, nullptr, TRUE);
}

void TSkinForm::ComputeKinds() {
  const DWORD ex_style = static_cast<DWORD>(GetWindowLongA(Handle, GWL_EXSTYLE));
  FrameKind = FramePlain;
  if ((Style & WS_POPUP) && (Style & WS_CAPTION) != WS_CAPTION) {
    FrameKind = FrameNone;
  } else if ((ex_style & WS_EX_WINDOWEDGE) || (Style & WS_THICKFRAME)) {
    FrameKind = FrameEdged;
  }
}

void TSkinForm::FindMdiClient() {
  MdiKind = MdiNone;
  for (HWND child = GetTopWindow(Handle); child; child = GetWindow(child, GW_HWNDNEXT)) {
    if (WindowClassName(child) == "MDIClient") {
      MdiKind = MdiFrame;
      MdiClientWindow = child;
      if (SkinManager) SkinManager->MdiClient = child;
      return;
    }
  }
}

void TSkinForm::LoadCaptionFont() {
  CaptionFont.reset();
  // The size of the record before Windows Vista added a field: every version answers it.
  NONCLIENTMETRICSA metrics{};
  metrics.cbSize = 340;
  if (SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, 340, &metrics, 0)) {
    metrics.lfCaptionFont.lfHeight = SystemLength(metrics.lfCaptionFont.lfHeight);
    CaptionFont.reset(CreateFontIndirectA(&metrics.lfCaptionFont));
  }
}

HFONT TSkinForm::CaptionFontHandle() const {
  return CaptionFont ? CaptionFont.get() : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

void TSkinForm::LoadWindowIcon() {
  const int cx = SystemLength(GetSystemMetrics(SM_CXSMICON));
  const int cy = SystemLength(GetSystemMetrics(SM_CYSMICON));
  IconBitmap.SetPixelFormat(fw::pf32bit);
  IconBitmap.SetSize(cx, cy);
  fw::TCanvas& canvas = IconBitmap.Canvas();
  canvas.Brush().SetColor(fw::clFuchsia);
  canvas.FillRect({0, 0, cx, cy});
  auto icon = reinterpret_cast<HICON>(SendMessageA(Handle, WM_GETICON, ICON_SMALL, 0));
  if (!icon) icon = reinterpret_cast<HICON>(SendMessageA(Handle, WM_GETICON, ICON_BIG, 0));
  // A window that never had WM_SETICON still shows its class icon in the system frame.
  if (!icon) icon = reinterpret_cast<HICON>(GetClassLongPtrA(Handle, GCLP_HICONSM));
  if (!icon) icon = reinterpret_cast<HICON>(GetClassLongPtrA(Handle, GCLP_HICON));
  if (icon) {
    fw::ScopedIcon copy(
        static_cast<HICON>(CopyImage(icon, IMAGE_ICON, cx, cy, LR_COPYFROMRESOURCE)));
    if (!copy) copy.reset(static_cast<HICON>(CopyImage(icon, IMAGE_ICON, cx, cy, 0)));
    HICON shown = copy ? copy.get() : icon;
    // Keyed from the icon's own colour and mask: drawing it over magenta would blend its
    // soft edges into the key and leave a pink fringe.
    ICONINFO info{};
    if (GetIconInfo(shown, &info)) {
      fw::ScopedBitmap colour(info.hbmColor), mask(info.hbmMask);
      const PixelBitmap keyed =
          colour ? IconOnMagentaKey(ReadBitmapPixels(colour.get()), ReadBitmapPixels(mask.get()))
                 : PixelBitmap();
      if (keyed.Width() == cx && keyed.Height() == cy) {
        DibSection dib = DibFromPixels(keyed);
        fw::ScopedMemoryDc source(CreateCompatibleDC(canvas.Handle()));
        fw::ScopedSelectObject select(source.get(), dib.bitmap.get());
        BitBlt(canvas.Handle(), 0, 0, cx, cy, source.get(), 0, 0, SRCCOPY);
        return;
      }
    }
    DrawIconEx(canvas.Handle(), 0, 0, shown, cx, cy, 0, nullptr, DI_NORMAL);
    return;
  }
  if (!SkinData) return;
  fw::TBitmap* source = &SkinData->DefaultIcon();
  if (source->Empty() && SkinManager) {
    for (TSkinData* other : SkinManager->SkinDatas)
      if (other->SkinFormtype == sfMainform && !other->DefaultIcon().Empty())
        source = &other->DefaultIcon();
  }
  if (!source->Empty()) IconBitmap.Assign(*source);
}

// ---- metrics and fitting ----

void TSkinForm::LoadFrameMetrics() {
  if (!SkinData || SkinData->NoSkinLoaded) return;
  const FrameMetrics m = FrameMetricsFromSkin(Skin(), FrameKind == FrameNone);
  BorderLeft = m.border_left;
  BorderTop = m.border_top;
  BorderRight = m.border_right;
  BorderBottom = m.border_bottom;
  if (FrameKind == FrameNone) MenuHeight = 0;
  ClearCaptionButtons();
  BuildCaptionButtons();
}

void TSkinForm::ClearCaptionButtons() {
  HotObject = nullptr;
  PressedObject = nullptr;
  for (TWinSysButton* button : CaptionButtons) delete button;
  CaptionButtons.clear();
}

void TSkinForm::SetCaptionStyles(bool on) {
  if (!on && MdiKind == MdiChild && SkinManager && SkinManager->MdiMaximized) return;
  const DWORD style = static_cast<DWORD>(GetWindowLongA(Handle, GWL_STYLE));
  DWORD wanted = style;
  if (on) {
    if (CaptionIcons & kIconSystemMenu) wanted |= WS_SYSMENU;
    if (CaptionIcons & kIconMinimize) wanted |= WS_MINIMIZEBOX;
    if (CaptionIcons & kIconMaximize) wanted |= WS_MAXIMIZEBOX;
  } else {
    wanted &= ~static_cast<DWORD>(WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX);
  }
  // Rewriting an unchanged style would still send WM_STYLECHANGING/WM_STYLECHANGED.
  if (wanted != style) SetWindowLongA(Handle, GWL_STYLE, static_cast<LONG>(wanted));
}

void TSkinForm::RecalcFrame() {
  SetWindowPos(Handle, nullptr, 0, 0, 0, 0,
               SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

void TSkinForm::UpdateShowState() {
  WINDOWPLACEMENT placement{};
  placement.length = sizeof placement;
  if (!GetWindowPlacement(Handle, &placement)) return;
  switch (placement.showCmd) {
    case SW_SHOWMINIMIZED:
    case SW_MINIMIZE:
    case SW_SHOWMINNOACTIVE:
      ShowState = ShowMinimized;
      break;
    case SW_SHOWMAXIMIZED:
      ShowState = ShowMaximized;
      break;
    default:
      ShowState = ShowNormal;
      break;
  }
}

CaptionTextLayout TSkinForm::TextLayout() const {
  CaptionTextLayout layout;
  if (SkinData && Skin().Title) {
    const TDataSkinTitle& title = *Skin().Title;
    layout.text_shift = title.LeftWidth;
    layout.text_shift_vert = title.TopHeight;
    layout.text_right_clip = title.RightWidth;
    layout.alignment = title.TextAlignment;
    layout.back_left = title.TXTBackleft;
    layout.back_right = title.TXTBackRight;
  }
  layout.right_to_left = RightToLeft;
  layout.popup = (Style & WS_POPUP) != 0;
  layout.right_buttons_edge = RightButtonsEdge;
  layout.dpi = Skin().Dpi;
  return layout;
}

void TSkinForm::FitWindowToFrame(bool refresh_client, bool redraw) {
  const PhaseTimer timer(EnginePhase::FitFrame);
  if (ShowState == ShowMaximized) {
    RecalcFrame();
    return;
  }
  int width = (ClientRect.right - ClientRect.left) + BorderLeft + BorderRight;
  if (refresh_client) GetClientRect(Handle, &ClientRect);
  const FrameSize size = WindowSizeForClient(ClientRect.right - ClientRect.left,
                                             ClientRect.bottom - ClientRect.top, Metrics());
  if (ClassName == "TMessageForm" || ClassName == "#32770") {
    {
      fw::ScopedGetDc dc = fw::ScopedGetDc::Window(Handle);
      fw::ScopedSelectObject font(dc.get(), CaptionFontHandle());
      SIZE blank{};
      GetTextExtentPoint32A(dc.get(), " ", 1, &blank);
      BlankWidth = blank.cx;
    }
    CaptionText = WindowText(Handle);
    const int needed = DialogWidthForCaption(static_cast<int>(CaptionText.size()), BlankWidth,
                                             Metrics(), TextLayout());
    const int shift = DialogChildShift(width, needed);
    if (shift > 0 || width < needed) {
      // The children are gathered first: moving one must not change the walk. Their
      // z-order is their tab order, so it is kept.
      std::vector<HWND> children;
      for (HWND c = GetTopWindow(Handle); c; c = GetWindow(c, GW_HWNDNEXT)) children.push_back(c);
      for (HWND c : children) {
        RECT r{};
        GetWindowRect(c, &r);
        MapWindowPoints(nullptr, Handle, reinterpret_cast<POINT*>(&r), 2);
        SetWindowPos(c, nullptr, r.left + shift, r.top, r.right - r.left, r.bottom - r.top,
                     SWP_NOOWNERZORDER | SWP_NOSENDCHANGING | SWP_NOZORDER | SWP_NOACTIVATE);
      }
      width = needed;
    }
  }
  HWND window = Handle;
  RECT before{};
  GetWindowRect(window, &before);
  SetWindowPos(window, nullptr, 0, 0, width, size.height,
               SWP_NOMOVE | SWP_NOZORDER | SWP_FRAMECHANGED | (redraw ? 0 : SWP_NOREDRAW));
  // What the smaller window uncovers of the windows behind it is theirs to repaint (this
  // controller may be gone by now: only the window handle is used).
  RECT after{};
  if (redraw || !GetWindowRect(window, &after)) return;
  fw::ScopedRegion uncovered(CreateRectRgnIndirect(&before));
  fw::ScopedRegion kept(CreateRectRgnIndirect(&after));
  if (CombineRgn(uncovered.get(), uncovered.get(), kept.get(), RGN_DIFF) > NULLREGION)
    RedrawWindow(GetDesktopWindow(), nullptr, uncovered.get(),
                 RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

// ---- painting ----

void TSkinForm::PaintFrame(HDC dc) {
  if (!ScratchBitmap()) return;
  if (LifeState != LifeReady && LifeState != LifeReskinning) return;
  if (FrameKind == FrameNone || IsMdiChildNotNormal()) return;
  fw::ScopedGetDc own = dc ? fw::ScopedGetDc::None() : fw::ScopedGetDc::Window(Handle);
  if (!dc) dc = own.get();
  if (!dc) return;
  // The client sets an MDI frame's text itself ("Frame - [Child]" while a child is
  // maximised), past the window procedures.
  if (MdiKind == MdiFrame) CaptionText = WindowText(Handle);
  try {
    GetWindowRect(Handle, &WindowRect);
    WindowWidth = WindowRect.right - WindowRect.left;
    WindowHeight = WindowRect.bottom - WindowRect.top;
    const int w = WindowWidth, h = WindowHeight;
    PaintBorderPiece(StripLeft, {0, 0, BorderLeft, h}, dc);
    PaintBorderPiece(StripRight, {w - BorderRight, 0, w, h}, dc);
    PaintBorderPiece(StripBottom, {BorderLeft, h - BorderBottom, w - BorderRight, h}, dc);
    PaintTitleBar(dc);
    if (MenuBar)
      MenuBar->PaintBar(dc, {BorderLeft, BorderTop, w - BorderRight, BorderTop + MenuHeight});
  } catch (...) {
    // A failure while painting leaves what was painted; the frame is painted again later.
  }
  HotObject = nullptr;
}

void TSkinForm::PaintBorderPiece(TStripSide side, const RECT& rect, HDC dc) {
  const int width = rect.right - rect.left, height = rect.bottom - rect.top;
  if (width < 0 || height < 0) return;
  const PixelBitmap piece =
      ComposeFramePiece(StripOf(&Skin(), side), ToFrameStrip(side), width, height, IsActive);
  if (piece.Empty()) return;
  DibSection dib = DibFromPixels(piece);
  if (!dib) return;
  fw::ScopedMemoryDc source(CreateCompatibleDC(dc));
  fw::ScopedSelectObject select(source.get(), dib.bitmap.get());
  BitBlt(dc, rect.left, rect.top, width, height, source.get(), 0, 0, SRCCOPY);
}

void TSkinForm::PaintTitleBar(HDC dc) {
  const int w = WindowWidth;
  if (w <= 0 || BorderTop <= 0) return;
  TitleCache.SetPixelFormat(fw::pf32bit);
  TitleCache.SetSize(w, BorderTop);
  HDC cache = TitleCache.Canvas().Handle();
  const ScopedLayoutLike mirrored(cache, dc);
  BitBlt(cache, 0, 0, w, BorderTop, dc, 0, 0, SRCCOPY);
  const RECT title{BorderLeft, 0, w - BorderRight, BorderTop};
  PaintBorderPiece(StripTop, title, cache);
  PaintTitleText(cache, title);
  LayoutCaptionButtons();
  DrawCaptionButtons(cache);
  BitBlt(dc, 0, 0, w, BorderTop, cache, 0, 0, SRCCOPY);
  SetBkMode(dc, OPAQUE);
}

void TSkinForm::PaintTitleText(HDC dc, const RECT& r) {
  UINT flags = DT_SINGLELINE | DT_END_ELLIPSIS;
  if (RightToLeft) flags |= DT_RIGHT;
  fw::ScopedSelectObject font(dc, CaptionFontHandle());
  const int old_mode = SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, IsActive ? ColourOr(SkinData->TitleTextActive, COLOR_CAPTIONTEXT)
                            : ColourOr(SkinData->TitleTextNoActive, COLOR_INACTIVECAPTIONTEXT));
  const std::string measured = CaptionPrefix + " " + CaptionText;
  RECT t = r;
  DrawTextA(dc, measured.c_str(), static_cast<int>(measured.size()), &t, DT_CALCRECT | DT_NOCLIP);
  const PixelRect placed =
      PlaceCaptionText(ToPixelRect(r), t.right - t.left, t.bottom - t.top, TextLayout());
  TitleTextRect = ToRect(placed);
  const TDataSkinTitle* title = Skin().Title.get();
  if (title && !title->Image.Empty()) {
    DrawHorzElement(dc, {placed.left, r.top, placed.right, r.bottom}, title->Image,
                    Margins{title->TXTBackleft, 0, title->TXTBackRight, 0}, IsActive ? 1 : 2, 2,
                    /*trans=*/true, /*stacked=*/true);
  }
  RECT text = TitleTextRect;
  text.left += title ? title->TXTBackleft : 0;
  text.right -= title ? title->TXTBackRight : 0;
  const std::string drawn = CaptionPrefix + CaptionText;
  DrawTextA(dc, drawn.c_str(), static_cast<int>(drawn.size()), &text, flags);
  SetBkMode(dc, old_mode);
}

// ---- region ----

void TSkinForm::UpdateWindowRegion(bool redraw) {
  const PhaseTimer timer(EnginePhase::Region);
  RECT window{};
  GetWindowRect(Handle, &window);
  const int w = window.right - window.left, h = window.bottom - window.top;
  if (w <= 0 || h <= 0 || !SkinData) return;
  if (IsMdiChildNotNormal()) return;
  if (w == RegionWidth && h == RegionHeight && MdiKind != MdiChild && LifeState != LifeReskinning)
    return;
  RegionApplied = false;
  const auto trans = [](const TDataSkinBorder* s) { return s && s->Trans == 1; };
  const StripTransparency transparency{trans(Skin().LeftStrip.get()),
                                       trans(Skin().RightStrip.get()), trans(Skin().TopStrip.get()),
                                       trans(Skin().BottomStrip.get())};
  // A strip whose Trans is neither 0 nor 1 still counts as not all-opaque.
  const auto any = [](const TDataSkinBorder* s) { return s && s->Trans != 0; };
  const bool all_opaque = !any(Skin().LeftStrip.get()) && !any(Skin().RightStrip.get()) &&
                          !any(Skin().TopStrip.get()) && !any(Skin().BottomStrip.get());
  // The title cache is the title bar of the last frame paint: the window may have changed
  // size since (hidden, SWP_NOREDRAW, frame painting off); the top edge is then composed.
  const bool title_cache_current = TitleCache.Width() == w && TitleCache.Height() == BorderTop;
  const RegionPlan plan =
      PlanWindowRegion(w, h, Metrics(), transparency, FrameKind == FrameNone, !title_cache_current);
  if (all_opaque) {
    fw::ScopedRegion whole(CreateRectRgn(0, 0, w, h));
    WindowRegion = whole.get();
    SetWindowRgn(Handle, whole.release(), redraw);
    RegionApplied = true;
    return;
  }
  RegionWidth = w;
  RegionHeight = h;
  fw::ScopedRegion region(
      CreateRectRgn(plan.inner.left, plan.inner.top, plan.inner.right, plan.inner.bottom));
  if (plan.edges) {
    const auto edge = [&](const RegionEdge& e, TStripSide side) {
      if (e.source == EdgeSource::kRectangle || e.rect.Empty()) {
        return fw::ScopedRegion(
            CreateRectRgn(e.rect.left, e.rect.top, e.rect.right, e.rect.bottom));
      }
      PixelBitmap piece = e.source == EdgeSource::kTitleCache
                              ? CopyFromBitmap(TitleCache, e.rect)
                              : ComposeFramePiece(StripOf(SkinData, side), ToFrameStrip(side),
                                                  e.rect.Width(), e.rect.Height(), IsActive);
      return RegionFromBitmap(piece, e.rect.left, e.rect.top);
    };
    fw::ScopedRegion left = edge(plan.left, StripLeft);
    fw::ScopedRegion right = edge(plan.right, StripRight);
    fw::ScopedRegion top = edge(plan.top, StripTop);
    fw::ScopedRegion bottom = edge(plan.bottom, StripBottom);
    if (left && right) CombineRgn(left.get(), left.get(), right.get(), RGN_OR);
    if (top && bottom) CombineRgn(top.get(), top.get(), bottom.get(), RGN_OR);
    if (left && top) CombineRgn(left.get(), left.get(), top.get(), RGN_OR);
    if (left) CombineRgn(region.get(), region.get(), left.get(), RGN_OR);
  }
  WindowRegion = region.get();
  SetWindowRgn(Handle, region.release(), redraw);
  RegionApplied = true;
}

void TSkinForm::RemoveWindowRegion() {
  if (!RegionApplied) return;
  TitleCache.SetSize(0, 0);
  SetWindowRgn(Handle, nullptr, FALSE);
  WindowRegion = nullptr;
  RegionApplied = false;
}

// ---- skin changes ----

void TSkinForm::ReapplySkin() {
  UseDpi(Dpi);  // the new skin at this window's scale
  if (Form && SkinData) {
    const auto face = static_cast<fw::TColor>(SkinData->ButtonFace);
    Form->SetColor(face);
    for (fw::TComponent* c : Form->ComponentList())
      if (auto* f = dynamic_cast<fw::TCustomForm*>(c)) f->SetColor(face);
    // The list-kind controls take the new face colour as their background.
    for (const ClassifiedControl& record : Classified) {
      HWND window = reinterpret_cast<HWND>(record.face_window);
      if (!window || !IsWindow(window)) continue;
      if (fw::TWinControl* control = fw::TWinControl::FromHandle(window)) {
        control->SetColor(face);
        control->Invalidate();
      }
    }
  }
  for (size_t i = 0; i < Skinners.size(); ++i) Skinners[i]->SkinChanged();
  ApplyTextColours();
  LifeState = LifeReskinning;
  if (FrameSkinned()) {
    if (Form) SkinFormPopupMenus(true);
    // The region and the title cache belong to the old skin: build both anew even when the
    // window keeps its size (no WM_SIZE comes then).
    TitleCache.SetSize(0, 0);
    RegionWidth = RegionHeight = 0;
    FitWindowToFrame(true);
    LifeState = LifeReady;
    UpdateWindowRegion(false);  // repainted whole on the next line
    RedrawWindow(Handle, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_ALLCHILDREN);
  }
  LifeState = LifeReady;
}

// ---- detaching ----

void TSkinForm::RestoreFormWindowProc() { form_proc_.Restore(); }

void TSkinForm::UnhookMdiClient() { mdi_client_subclass_.Restore(); }

void TSkinForm::DetachAndRestore() {
  if (!FrameSkinned()) {
    DetachPlain();
    return;
  }
  SystemPopup.reset();
  if (HoverTimer) HoverTimer->SetEnabled(false);
  if (!Subclassed()) return;
  RestoreFormWindowProc();
  frame_subclass_.Restore();
  FreeSkinners();
  if (Form) {
    SkinFormPopupMenus(false);
    if (LifeState != LifeClosing) {
      Form->SetColor(SavedFormColor);
      RestoreTextColours();
    }
  }
  SetCaptionStyles(true);
  if (!(Style & WS_CHILD)) GiveBackDwmFrame(Handle);
  if (MenuBar) {
    SetMenu(Handle, MenuBar->MenuHandle());
    MenuBar.reset();
  }
  UnhookMdiClient();
  TitleCache.SetSize(0, 0);
  RECT window{};
  GetWindowRect(Handle, &window);
  POINT position{window.left, window.top};
  if (MdiKind == MdiChild && SkinManager && SkinManager->MdiClient)
    ScreenToClient(SkinManager->MdiClient, &position);
  const bool child = (GetWindowLongA(Handle, GWL_STYLE) & WS_CHILD) != 0;
  if (LifeState != LifeClosing && (MdiKind == MdiChild || !child)) {
    const FrameSize size =
        RestoredWindowSize(window.right - window.left, window.bottom - window.top, Metrics(),
                           SystemFrameSize.right, SystemFrameSize.bottom);
    SetWindowPos(Handle, nullptr, position.x, position.y, size.width, size.height,
                 SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  }
  SetWindowRgn(Handle, nullptr, TRUE);
  WindowRegion = nullptr;
  RegionApplied = false;
}

void TSkinForm::DetachQuietly() {
  if (!FrameSkinned()) {
    DetachPlain();
    return;
  }
  SystemPopup.reset();
  if (HoverTimer) HoverTimer->SetEnabled(false);
  if (!Subclassed()) return;
  RestoreFormWindowProc();
  frame_subclass_.Restore();
  FreeSkinners();
  MenuBar.reset();
  TitleCache.SetSize(0, 0);
}

void TSkinForm::DetachPlain() {
  if (HoverTimer) HoverTimer->SetEnabled(false);
  FreeSkinners();
  if (Form) {
    SkinFormPopupMenus(false);
    if (LifeState != LifeClosing) {
      Form->SetColor(SavedFormColor);
      RestoreTextColours();
    }
  }
  if (Subclassed()) frame_subclass_.Restore();
  UnhookMdiClient();
  if (Form) {
    for (fw::TComponent* c : Form->ComponentList())
      if (auto* control = dynamic_cast<fw::TControl*>(c)) control->Invalidate();
  }
  if (LifeState != LifeClosing && IsWindow(Handle)) {
    // Minimising and restoring makes the window repaint itself completely.
    ShowWindow(Handle, SW_MINIMIZE);
    ShowWindow(Handle, SW_RESTORE);
  }
}

TSkinForm* SkinFormOfWindow(HWND hwnd) {
  return SkinManager ? SkinManager->FindForm(hwnd) : nullptr;
}

}  // namespace skin
