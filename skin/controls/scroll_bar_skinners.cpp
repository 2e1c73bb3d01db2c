#include "skin/controls/scroll_bar_skinners.h"

#include <windowsx.h>

#include "framework/comctrls.h"
#include "framework/dpi.h"
#include "framework/scoped_handle.h"
#include "framework/std_controls.h"
#include "skin/controls/edit_skinners.h"
#include "skin/data/skin_data.h"
#include "skin/manager/element_painting.h"

namespace skin {

namespace {

// The artwork's thickness: every bar is drawn this thick and stretched to the real one.
constexpr int kArtThickness = 16;
constexpr int kMaxBarSize = 10000;

RECT AtOrigin(const RECT& r) { return {0, 0, r.right - r.left, r.bottom - r.top}; }

COLORREF Rgb(Colour colour) { return fw::ColorToRGB(static_cast<fw::TColor>(colour)); }

bool Usable(const TDataSkinObject* e) { return e && !e->Image.Empty(); }

bool WindowsNineFiveFamily() { return (GetVersion() & 0x80000000u) != 0; }

int32_t PressedFromRequest(int request, bool vertical) {
  switch (request) {
    case SB_LINEUP:
      return vertical ? kPartUpArrow : kPartLeftArrow;
    case SB_LINEDOWN:
      return vertical ? kPartDownArrow : kPartRightArrow;
    case SB_THUMBTRACK:
      return vertical ? kPartVertThumb : kPartHorzThumb;
    default:
      return kPartNone;
  }
}

// Messages after which a scroll bar control may have drawn itself straight onto the screen
// (its own tracking, focus, hover and key handling paint without WM_PAINT).
bool BarControlDrawsItself(UINT msg) {
  switch (msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_LBUTTONUP:
    case WM_MOUSEMOVE:
    case WM_MOUSELEAVE:
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_ENABLE:
    case WM_TIMER:
    case SBM_SETPOS:
    case SBM_SETRANGE:
    case SBM_SETRANGEREDRAW:
    case SBM_ENABLE_ARROWS:
    case SBM_SETSCROLLINFO:
      return true;
    default:
      return false;
  }
}

// A scroll bar window's own information as one bar (the control's range counts both ends).
std::optional<ThumbMetrics> ControlThumb(HWND window, int length, int arrow,
                                         const ScrollRange& range) {
  return CalcControlThumb(length, arrow, range, MinThumbLength(arrow, WindowsNineFiveFamily()),
                          fw::WindowSystemMetric(window, SM_CXHTHUMB));
}

}  // namespace

void DrawSkinBar(HDC dc, const RECT& bar, const SkinDefinition& data, bool vertical, int arrow,
                 const ThumbMetrics* metrics, int pressed) {
  const TDataSkinObject* arrows = data.Scrollbar.get();
  if (!dc || !Usable(arrows)) return;
  const int length = vertical ? bar.bottom - bar.top : bar.right - bar.left;
  const int work_w = vertical ? kArtThickness : length;
  const int work_h = vertical ? length : kArtThickness;
  if (length <= 0 || length > kMaxBarSize) return;
  const int thick = vertical ? bar.right - bar.left : bar.bottom - bar.top;
  if (thick <= 0 || thick > kMaxBarSize) return;
  DibSection work = CreateDibSection(work_w, work_h);
  if (!work) return;
  fw::ScopedMemoryDc mdc(CreateCompatibleDC(dc));
  if (!mdc) return;
  fw::ScopedSelectObject select(mdc.get(), work.bitmap.get());
  SetStretchBltMode(mdc.get(), COLORONCOLOR);
  const RECT all{0, 0, work_w, work_h};
  {
    fw::ScopedBrush background(CreateSolidBrush(Rgb(data.ScrollbarColour)));
    if (background) FillRect(mdc.get(), &all, background.get());
  }
  auto along = [&](int from, int to) {
    return vertical ? RECT{0, from, kArtThickness, to} : RECT{from, 0, to, kArtThickness};
  };
  const TDataSkinObject* shaft = vertical ? data.VertScroll.get() : data.HorzScroll.get();
  if (Usable(shaft) && length - arrow > arrow) {
    DrawElement(mdc.get(), along(arrow, length - arrow), shaft->Image, MarginsOf(*shaft), 1, 4,
                shaft->Trans == 1, shaft->Tile != 0, false);
  }
  const int arrow_length = DrawnArrowLength(length, arrow);
  const int first =
      vertical ? (pressed == kPartUpArrow ? 10 : 9) : (pressed == kPartLeftArrow ? 2 : 1);
  const int second =
      vertical ? (pressed == kPartDownArrow ? 14 : 13) : (pressed == kPartRightArrow ? 6 : 5);
  if (arrow_length > 0) {
    DrawElementFrame(mdc.get(), along(0, arrow_length), arrows->Image, first, 23, true);
    DrawElementFrame(mdc.get(), along(length - arrow_length, length), arrows->Image, second, 23,
                     true);
  }
  const TDataSkinObject* thumb = vertical ? data.VertScrollThumb.get() : data.HorzScrollThumb.get();
  if (metrics && Usable(thumb)) {
    if (const std::optional<ThumbSpan> span = DrawnThumb(*metrics, arrow_length)) {
      const bool down = pressed == (vertical ? kPartVertThumb : kPartHorzThumb);
      DrawElement(mdc.get(), along(span->start, span->start + span->length), thumb->Image,
                  MarginsOf(*thumb), down ? 2 : 1, thumb->FrameCount > 0 ? thumb->FrameCount : 3,
                  thumb->Trans == 1, false, false);
    }
  }
  const int old_mode = SetStretchBltMode(dc, COLORONCOLOR);
  StretchBlt(dc, bar.left, bar.top, bar.right - bar.left, bar.bottom - bar.top, mdc.get(), 0, 0,
             work_w, work_h, SRCCOPY);
  if (old_mode) SetStretchBltMode(dc, old_mode);
}

// ---- TSkinScrollBar ----

const fw::TClassInfo& TSkinScrollBar::StaticClassInfo() {
  static const fw::TClassInfo info =
      fw::DescribeClass<TSkinScrollBar, TSkinControl>("TSkinScrollBar", [](auto&) {});
  return info;
}

void TSkinScrollBar::AttachScrollBars(fw::TWinControl* control, TSkinData* skin_data,
                                      bool handle_thumb_drag, fw::TCanvas* canvas) {
  if (FAttached || !control) return;
  is_edit_ = dynamic_cast<fw::TCustomEdit*>(control) != nullptr;
  AttachControl(control, skin_data, false, canvas);
  StartBars(handle_thumb_drag);
}

void TSkinScrollBar::AttachHandle(HWND handle, TSkinData* skin_data, fw::TCanvas* canvas) {
  if (FAttached || !handle) return;
  char name[16] = {};
  GetClassNameA(handle, name, sizeof name);
  is_edit_ = lstrcmpiA(name, "Edit") == 0;
  TSkinControl::AttachHandle(handle, skin_data, canvas);
  FEnabled = IsWindowEnabled(handle) != FALSE;
  // A bare window's bars are dragged as a memo's are: the skin's thumb follows the mouse.
  StartBars(/*handle_thumb_drag=*/true);
}

void TSkinScrollBar::StartBars(bool handle_thumb_drag) {
  FTracking = FInVScroll = FInHScroll = false;
  FHorzInfo.cbSize = FVertInfo.cbSize = sizeof(SCROLLINFO);
  FHandleThumbDrag = handle_thumb_drag;
  if (FHandle) {
    SetWindowPos(
        FHandle, nullptr, 0, 0, 0, 0,
        SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOREDRAW | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  }
}

bool TSkinScrollBar::BeforeMessage(fw::TMessage& message) {
  switch (message.Msg) {
    case WM_NCMOUSEMOVE:
      // Hover over the bars would make the default procedure draw its own arrows.
      if (message.WParam == HTHSCROLL || message.WParam == HTVSCROLL) {
        message.Result = 0;
        return false;
      }
      return true;
    case WM_NCLBUTTONDOWN:
      if (FHandleThumbDrag && HandleBarClick(message)) {
        message.Result = 0;
        return false;
      }
      return true;
    case WM_HSCROLL:
    case WM_VSCROLL: {
      const bool vertical = message.Msg == WM_VSCROLL;
      FPressedPart = PressedFromRequest(LOWORD(message.WParam), vertical);
      bool& in_scroll = vertical ? FInVScroll : FInHScroll;
      in_scroll = true;
      const fw::LifeWatch alive = Watch();
      CallDefault(message);
      if (!alive) return false;
      (vertical ? FInVScroll : FInHScroll) = false;
      if (IsWindow(FHandle)) PaintSkin(nullptr);
      return false;
    }
    default:
      return true;
  }
}

void TSkinScrollBar::AfterMessage(fw::TMessage& message) {
  switch (message.Msg) {
    case WM_NCPAINT:
    case WM_PAINT:
    case WM_NCMOUSELEAVE:  // the default procedure may redraw a bar it thought hot
      // Through the window's DC: the bars lie outside any client DC handed in.
      PaintSkin(nullptr);
      return;
    case WM_PRINT:
      PaintSkin(reinterpret_cast<HDC>(message.WParam));
      return;
    case WM_NCCALCSIZE:
    case WM_NCHITTEST:
    case WM_SETCURSOR:
    case WM_GETTEXT:
    case WM_GETTEXTLENGTH:
    case WM_GETDLGCODE:
    case WM_WINDOWPOSCHANGING:
    case WM_DESTROY:
    case WM_NCDESTROY:
      TSkinControl::AfterMessage(message);
      return;
    default:
      TSkinControl::AfterMessage(message);
      if (Hooked()) RepaintIfScrolled();
      return;
  }
}

TSkinScrollBar::Shown TSkinScrollBar::ReadShown() const {
  Shown s;
  s.style = static_cast<uint32_t>(GetWindowLongPtrA(FHandle, GWL_STYLE)) &
            (WS_HSCROLL | WS_VSCROLL | WS_DISABLED);
  auto read = [&](int bar, ScrollRange& r) {
    SCROLLINFO si{sizeof si, SIF_RANGE | SIF_PAGE | SIF_POS, 0, 0, 0, 0, 0};
    if (GetScrollInfo(FHandle, bar, &si))
      r = {si.nMin, si.nMax, static_cast<int32_t>(si.nPage), si.nPos};
  };
  if (s.style & WS_HSCROLL) read(SB_HORZ, s.horz);
  if (s.style & WS_VSCROLL) read(SB_VERT, s.vert);
  return s;
}

void TSkinScrollBar::RepaintIfScrolled() {
  if (painting_ || FTracking || !FHandle) return;
  if (!(ReadShown() == shown_)) PaintSkin(nullptr);
}

void TSkinScrollBar::LayoutBars(const RECT& rect) {
  RECT client{};
  GetClientRect(FHandle, &client);
  const int b = fw::WindowSystemMetric(FHandle, SM_CXHSCROLL);
  const bool horz = (FStyle & WS_HSCROLL) || FInHScroll;
  const bool vert = (FStyle & WS_VSCROLL) || FInVScroll;
  const ScrollBarsLayout l =
      LayoutScrollBars(rect.right - rect.left, rect.bottom - rect.top, client.right, client.bottom,
                       horz, vert, (FExStyle & WS_EX_LEFTSCROLLBAR) != 0, b);
  FHorzBarRect = ToRect(l.horz);
  FVertBarRect = ToRect(l.vert);
  FSizeBoxRect = ToRect(l.size_box);
  FHorzMetrics.arrow = FVertMetrics.arrow = b;
}

void TSkinScrollBar::CalcThumb(const RECT& bar_rect, int bar) {
  if (FTracking) return;
  const int a = fw::WindowSystemMetric(FHandle, SM_CXHSCROLL);
  const int length = bar == 1 ? bar_rect.bottom - bar_rect.top : bar_rect.right - bar_rect.left;
  SCROLLINFO si{sizeof si, SIF_RANGE | SIF_PAGE | SIF_POS | SIF_TRACKPOS, 0, 0, 0, 0, 0};
  if (!GetScrollInfo(FHandle, bar == 1 ? SB_VERT : SB_HORZ, &si)) return;
  const std::optional<ThumbMetrics> m = skin::CalcThumb(
      length, a, {si.nMin, si.nMax, static_cast<int32_t>(si.nPage), si.nPos},
      MinThumbLength(a, WindowsNineFiveFamily()), fw::WindowSystemMetric(FHandle, SM_CXHTHUMB));
  if (!m) return;
  (bar == 1 ? FVertInfo : FHorzInfo) = si;
  (bar == 1 ? FVertMetrics : FHorzMetrics) = *m;
}

int TSkinScrollBar::HitTestBar(int offset, int bar) const {
  return skin::HitTestBar(offset, bar == 1 ? FVertMetrics : FHorzMetrics);
}

void TSkinScrollBar::DrawSkin(HDC dc, const RECT& rect) {
  painting_ = true;
  struct Reset {
    bool& flag;
    ~Reset() { flag = false; }
  } reset{painting_};
  shown_ = ReadShown();
  if (is_edit_ && FSkinData) DrawEditFrame(FHandle, dc, rect, Rgb(FSkinData->ButtonShadow));
  if (!FSkinData || !Usable(Skin().Scrollbar.get())) return;
  FStyle = static_cast<uint32_t>(GetWindowLongPtrA(FHandle, GWL_STYLE));
  FExStyle = static_cast<uint32_t>(GetWindowLongPtrA(FHandle, GWL_EXSTYLE));
  const bool horz = (FStyle & WS_HSCROLL) || FInHScroll;
  const bool vert = (FStyle & WS_VSCROLL) || FInVScroll;
  if (!horz && !vert) return;
  LayoutBars(rect);
  if (horz && !IsRectEmpty(&FHorzBarRect)) DrawBar(dc, FHorzBarRect, false);
  if (vert && !IsRectEmpty(&FVertBarRect)) DrawBar(dc, FVertBarRect, true);
  if (horz && vert && !IsRectEmpty(&FSizeBoxRect)) FillFace(dc, FSizeBoxRect);
}

void TSkinScrollBar::DrawBar(HDC dc, const RECT& bar_rect, bool vertical) {
  if (vertical ? FInVScroll : FInHScroll) return;
  CalcThumb(bar_rect, vertical ? 1 : 0);
  const ThumbMetrics& m = vertical ? FVertMetrics : FHorzMetrics;
  DrawSkinBar(dc, bar_rect, Skin(), vertical, fw::WindowSystemMetric(FHandle, SM_CXHSCROLL), &m,
              FPressedPart);
}

bool TSkinScrollBar::HandleBarClick(fw::TMessage& message) {
  if (message.WParam != HTHSCROLL && message.WParam != HTVSCROLL) return false;
  const bool vertical = message.WParam == HTVSCROLL;
  POINT pt{GET_X_LPARAM(message.LParam), GET_Y_LPARAM(message.LParam)};
  drag_start_ = pt;
  ScreenToClient(FHandle, &pt);
  // The metrics of the bar as it is now, not as it was last painted.
  RECT window{};
  if (!GetWindowRect(FHandle, &window)) return false;
  FStyle = static_cast<uint32_t>(GetWindowLongPtrA(FHandle, GWL_STYLE));
  FExStyle = static_cast<uint32_t>(GetWindowLongPtrA(FHandle, GWL_EXSTYLE));
  LayoutBars(AtOrigin(window));
  const int bar = vertical ? 1 : 0;
  CalcThumb(vertical ? FVertBarRect : FHorzBarRect, bar);
  if (HitTestBar(vertical ? pt.y : pt.x, bar) != kScrollThumbTrack) return false;
  FPressedPart = vertical ? kPartVertThumb : kPartHorzThumb;
  PaintSkin(nullptr);
  TrackThumb(bar, vertical ? WM_VSCROLL : WM_HSCROLL);
  return true;
}

void TSkinScrollBar::TrackThumb(int bar, UINT scroll_message) {
  const HWND hwnd = FHandle;
  const fw::LifeWatch alive = Watch();
  FTracking = true;
  // Measured from where the button went down and, below, from where each move happened:
  // the cursor may be ahead of the messages still queued.
  POINT start = drag_start_;
  ThumbMetrics& m = bar == 1 ? FVertMetrics : FHorzMetrics;
  SCROLLINFO& info = bar == 1 ? FVertInfo : FHorzInfo;
  const int32_t p0 = m.thumb_pos;
  const ScrollRange range{info.nMin, info.nMax, static_cast<int32_t>(info.nPage), info.nPos};
  int32_t position = info.nPos;
  // With the capture every mouse message of the drag comes to this thread, also from
  // outside the control.
  SetCapture(hwnd);
  const int button = GetSystemMetrics(SM_SWAPBUTTON) ? VK_RBUTTON : VK_LBUTTON;
  // However the drag ends (the button released, WM_QUIT, the skinner freed by a message
  // it dispatched), the capture goes and a control that still exists hears the final
  // position and the end of scrolling, as from the system's own drag. Nothing of the
  // skinner is touched once it is gone.
  bool told = false;
  auto finish = [&] {
    if (alive) FTracking = false;
    if (!told && IsWindow(hwnd)) {
      told = true;
      SendMessageA(hwnd, scroll_message, MAKEWPARAM(SB_THUMBPOSITION, MessagePosition(position)),
                   0);
      PostMessageA(hwnd, scroll_message, SB_ENDSCROLL, 0);
    }
    if (GetCapture() == hwnd) ReleaseCapture();
  };
  while (FTracking) {
    MSG msg;
    if (!PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (!IsWindow(hwnd)) break;
      // A button released where no window of ours hears of it (another program took the
      // capture) still ends the drag.
      if (!(GetAsyncKeyState(button) & 0x8000)) break;
      // Wait for input instead of spinning: the drag need not keep a processor busy.
      MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
      continue;
    }
    if (msg.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(msg.wParam));
      break;
    }
    if (msg.message == WM_LBUTTONUP || msg.message == WM_NCLBUTTONUP) break;
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
    if (!alive || !IsWindow(hwnd)) break;
    if (msg.message != WM_MOUSEMOVE && msg.message != WM_NCMOUSEMOVE) continue;
    const POINT now = msg.pt;
    const DragResult d = DragPosition(p0, bar == 1 ? now.y - start.y : now.x - start.x, m, range);
    if (d.position != position) {
      info.fMask = SIF_POS;
      info.nPos = info.nTrackPos = d.position;
      m.thumb_pos = d.thumb_pos;
      SetScrollInfo(hwnd, bar == 1 ? SB_VERT : SB_HORZ, &info, FALSE);
      position = d.position;
      SendMessageA(hwnd, scroll_message, MAKEWPARAM(SB_THUMBTRACK, MessagePosition(position)), 0);
      if (!alive) break;
    } else if (d.thumb_pos != m.thumb_pos) {
      m.thumb_pos = d.thumb_pos;
      PaintSkin(nullptr);
    }
  }
  finish();
}

// ---- TSkinSizer ----

const fw::TClassInfo& TSkinSizer::StaticClassInfo() {
  static const fw::TClassInfo info =
      fw::DescribeClass<TSkinSizer, TSkinControl>("TSkinSizer", [](auto&) {});
  return info;
}

bool TSkinSizer::IsSizeBox() const {
  const auto style = static_cast<uint32_t>(GetWindowLongPtrA(FHandle, GWL_STYLE));
  return (style & (SBS_SIZEBOX | SBS_SIZEGRIP)) != 0;
}

bool TSkinSizer::BeforeMessage(fw::TMessage& message) {
  if (IsSizeBox()) {
    if (message.Msg == WM_PAINT) {
      PaintClient(message);
      return false;
    }
    if (message.Msg == WM_ERASEBKGND) {
      message.Result = 1;
      return false;
    }
    return true;
  }
  // A real bar: it paints itself, the skin goes over it afterwards.
  if (BarControlDrawsItself(message.Msg)) {
    const fw::LifeWatch alive = Watch();
    CallDefault(message);
    if (alive && IsWindow(FHandle)) PaintSkin(nullptr);
    return false;
  }
  return true;
}

void TSkinSizer::DrawSkin(HDC dc, const RECT& rect) {
  if (!FSkinData) return;
  if (IsSizeBox()) {
    fw::ScopedBrush shadow(CreateSolidBrush(Rgb(FSkinData->ButtonShadow)));
    if (shadow) FrameRect(dc, &rect, shadow.get());
    return;
  }
  const bool vertical = (GetWindowLongPtrA(FHandle, GWL_STYLE) & SBS_VERT) != 0;
  SCROLLINFO si{sizeof si, SIF_RANGE | SIF_PAGE | SIF_POS, 0, 0, 0, 0, 0};
  GetScrollInfo(FHandle, SB_CTL, &si);
  const int a = fw::WindowSystemMetric(FHandle, SM_CXHSCROLL);
  const int length = vertical ? rect.bottom - rect.top : rect.right - rect.left;
  const std::optional<ThumbMetrics> m =
      ControlThumb(FHandle, length, a, {si.nMin, si.nMax, static_cast<int32_t>(si.nPage), si.nPos});
  DrawSkinBar(dc, rect, Skin(), vertical, a, m ? &*m : nullptr, kPartNone);
}

// ---- TSkinScControl ----

const fw::TClassInfo& TSkinScControl::StaticClassInfo() {
  static const fw::TClassInfo info =
      fw::DescribeClass<TSkinScControl, TSkinControl>("TSkinScControl", [](auto&) {});
  return info;
}

bool TSkinScControl::BeforeMessage(fw::TMessage& message) {
  const UINT msg = message.Msg;
  if (msg == WM_NCMOUSEMOVE && (message.WParam == HTHSCROLL || message.WParam == HTVSCROLL)) {
    message.Result = 0;
    return false;
  }
  const bool notification = msg == fw::CN_HSCROLL || msg == fw::CN_VSCROLL;
  if (notification)
    FPressedPart = PressedFromRequest(LOWORD(message.WParam), msg == fw::CN_VSCROLL);
  if (notification || BarControlDrawsItself(msg)) {
    const fw::LifeWatch alive = Watch();
    CallDefault(message);
    if (alive && IsWindow(FHandle)) PaintSkin(nullptr);
    return false;
  }
  return true;
}

void TSkinScControl::DrawSkin(HDC dc, const RECT& rect) {
  auto* bar = dynamic_cast<fw::TScrollBar*>(FControl);
  if (!bar || !FSkinData || !Usable(Skin().Scrollbar.get())) return;
  const bool vertical = bar->Kind() == fw::sbVertical;
  const int a = fw::WindowSystemMetric(FHandle, SM_CXHSCROLL);
  const int length = vertical ? rect.bottom - rect.top : rect.right - rect.left;
  if (const std::optional<ThumbMetrics> m = ControlThumb(
          FHandle, length, a, {bar->Min(), bar->Max(), bar->PageSize(), bar->Position()}))
    FMetrics = *m;
  DrawSkinBar(dc, rect, Skin(), vertical, a, &FMetrics, FPressedPart);
}

void AddScrollBarSkinnerMakers(SkinnerMakerTable& table) {
  table[KindIndex(SkinnerKind::ScrollBar)] = &MakeSkinner<TSkinScrollBar>;
  table[KindIndex(SkinnerKind::ScControl)] = &MakeSkinner<TSkinScControl>;
  table[KindIndex(SkinnerKind::Sizer)] = &MakeSkinner<TSkinSizer>;
}

}  // namespace skin
