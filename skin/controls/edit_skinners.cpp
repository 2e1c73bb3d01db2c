#include "skin/controls/edit_skinners.h"

#include <algorithm>
#include <cstring>

#include "framework/dpi.h"
#include "framework/scoped_handle.h"
#include "skin/controls/scroll_bar_geometry.h"
#include "skin/data/skin_data.h"
#include "skin/form/skin_form.h"
#include "skin/manager/element_painting.h"

namespace skin {

namespace {

RECT AtOrigin(const RECT& r) { return {0, 0, r.right - r.left, r.bottom - r.top}; }

COLORREF SchemeColour(const TSkinData* data, Colour colour, int system_index) {
  if (!data) return GetSysColor(system_index);
  return fw::ColorToRGB(static_cast<fw::TColor>(colour));
}

void FrameWith(HDC dc, const RECT& r, COLORREF colour) {
  fw::ScopedBrush brush(CreateSolidBrush(colour));
  if (brush) FrameRect(dc, &r, brush.get());
}

bool IsSpinButtonClass(HWND hwnd) {
  char name[101] = {};
  GetClassNameA(hwnd, name, 100);
  return std::strcmp(name, "msctls_updown32") == 0 || std::strcmp(name, "TSpinButton") == 0;
}

}  // namespace

void DrawEditFrame(HWND hwnd, HDC dc, const RECT& rect, COLORREF shadow) {
  RECT client{};
  if (!GetClientRect(hwnd, &client)) return;
  const int w = rect.right - rect.left, h = rect.bottom - rect.top;
  if (client.right == w || client.bottom == h) return;  // no border
  FrameWith(dc, rect, shadow);
  RECT inner = rect;
  InflateRect(&inner, -1, -1);
  FrameWith(dc, inner, RGB(255, 255, 255));
}

// ---- TSkinEdit ----

const fw::TClassInfo& TSkinEdit::StaticClassInfo() {
  static const fw::TClassInfo info =
      fw::DescribeClass<TSkinEdit, TSkinControl>("TSkinEdit", [](auto&) {});
  return info;
}

namespace {

// True when the skin's two-pixel frame is all of the window's non-client area: no scroll
// bars, and an edge of two pixels all round (the system's edges of an edit are the same on
// the left and the right).
bool FrameIsWholeNonClient(HWND hwnd) {
  if (GetWindowLongPtrA(hwnd, GWL_STYLE) & (WS_VSCROLL | WS_HSCROLL)) return false;
  RECT window{}, client{};
  if (!GetWindowRect(hwnd, &window) || !GetClientRect(hwnd, &client)) return false;
  POINT origin{0, 0};
  ClientToScreen(hwnd, &origin);
  return origin.y - window.top == 2 && window.right - window.left == client.right + 4 &&
         window.bottom - window.top == client.bottom + 4;
}

}  // namespace

bool TSkinEdit::BeforeMessage(fw::TMessage& message) {
  if (message.Msg != WM_NCPAINT || !FHandle || !FrameIsWholeNonClient(FHandle)) return true;
  // The skin's frame instead of the system's sunken edge, which would show first.
  PaintSkin(nullptr);
  message.Result = 0;
  return false;
}

void TSkinEdit::AfterMessage(fw::TMessage& message) {
  switch (message.Msg) {
    case WM_PAINT:
      // A paint into somebody else's DC (a double-buffered parent) is not ours to frame.
      if (message.WParam == 0) PaintSkin(nullptr);
      break;
    case WM_NCPAINT:
      // The default procedure has just drawn its frame (one the skin's does not cover).
      PaintSkin(nullptr);
      break;
    case WM_PRINT:
      PrintFrame(reinterpret_cast<HDC>(message.WParam));
      break;
    default:
      TSkinControl::AfterMessage(message);
      break;
  }
}

void TSkinEdit::FindUpDown() {
  if (FUpDown || !FHandle) return;
  for (HWND child = GetTopWindow(FHandle); child; child = GetWindow(child, GW_HWNDNEXT)) {
    if (!IsSpinButtonClass(child)) continue;
    SkinnerMaker maker = FindSkinnerMaker(SkinnerKind::UpDown);
    if (!maker) return;
    TSkinControl* up_down = maker(Owner() ? Owner() : this);
    if (!up_down) return;
    up_down->AttachHandle(child, FSkinData, FCanvas);
    up_down->SetEmbedded(true);
    FUpDown = up_down;
    return;
  }
}

void TSkinEdit::DrawSkin(HDC dc, const RECT& rect) {
  FindUpDown();
  const COLORREF shadow =
      SchemeColour(FSkinData, FSkinData ? FSkinData->ButtonShadow : 0, COLOR_BTNSHADOW);
  DrawEditFrame(FHandle, dc, rect, shadow);
}

void TSkinEdit::PrintFrame(HDC dc) {
  RECT window{};
  if (!FHandle || !GetWindowRect(FHandle, &window)) return;
  FWindowRect = window;
  const RECT rect = AtOrigin(window);
  fw::ScopedGetDc taken = dc ? fw::ScopedGetDc::None() : fw::ScopedGetDc::Window(FHandle);
  HDC target = dc ? dc : taken.get();
  if (!target) return;
  RECT client{};
  if (!GetClientRect(FHandle, &client)) return;
  if (client.right + 2 >= rect.right || client.bottom + 2 >= rect.bottom) return;
  if (FCanvas) FCanvas->SetHandle(target);
  RECT inner = rect;
  InflateRect(&inner, -1, -1);
  FrameRect(target, &inner, static_cast<HBRUSH>(GetCurrentObject(target, OBJ_BRUSH)));
  FrameWith(target, rect,
            SchemeColour(FSkinData, FSkinData ? FSkinData->ButtonShadow : 0, COLOR_BTNSHADOW));
  if (FCanvas) FCanvas->SetHandle(nullptr);
}

// ---- TSkinComBox ----

const fw::TClassInfo& TSkinComBox::StaticClassInfo() {
  static const fw::TClassInfo info =
      fw::DescribeClass<TSkinComBox, TSkinControl>("TSkinComBox", [](auto&) {});
  return info;
}

bool TSkinComBox::BeforeMessage(fw::TMessage& message) {
  // A simple combo box keeps its own look: nothing goes over it.
  if (message.Msg != WM_PAINT || !FHandle ||
      (GetWindowLongPtrA(FHandle, GWL_STYLE) & 3) == CBS_SIMPLE)
    return true;
  return !PaintInOneStep(message);
}

void TSkinComBox::AfterMessage(fw::TMessage& message) {
  switch (message.Msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      FState |= kStatePressed;
      PaintSkin(nullptr);
      break;
    case WM_LBUTTONUP:
      FState &= static_cast<uint8_t>(~kStatePressed);
      PaintSkin(nullptr);
      break;
    case CM_SKIN_MOUSEENTER:
      // The combo box keeps its hot state to itself: it never becomes the form's hot skinner.
      if (FEnabled) {
        FState |= kStateHot;
        PaintSkin(nullptr);
      }
      break;
    case CM_SKIN_MOUSELEAVE:
      if (FEnabled) {
        FState &= static_cast<uint8_t>(~kStateHot);
        PaintSkin(nullptr);
      }
      break;
    case WM_COMMAND:
      // The edit of a drop-down combo box has the focus, not the combo box itself.
      if (HIWORD(message.WParam) == EN_SETFOCUS || HIWORD(message.WParam) == EN_KILLFOCUS)
        PaintSkin(nullptr);
      break;
    case WM_CAPTURECHANGED:
      // A list closed by a click elsewhere never sends the button-up here.
      if (Pressed()) {
        FState &= static_cast<uint8_t>(~kStatePressed);
        PaintSkin(nullptr);
      }
      break;
    default:
      TSkinControl::AfterMessage(message);
      break;
  }
}

void TSkinComBox::DrawSkin(HDC dc, const RECT& rect) {
  if (!FSkinData) return;
  const TDataSkinBorder* button = Skin().ComboButton.get();
  const TDataSkinObject* edge = Skin().SunkEdge.get();
  if (!button || button->Image.Empty() || !edge || edge->Image.Empty()) return;
  FStyle = static_cast<uint32_t>(GetWindowLongPtrA(FHandle, GWL_STYLE));
  FExStyle = static_cast<uint32_t>(GetWindowLongPtrA(FHandle, GWL_EXSTYLE));
  // A simple combo box is an edit over a list, with no button: it keeps its own look.
  if ((FStyle & 3) == CBS_SIMPLE) return;
  const HWND focus = GetFocus();
  FFocused = focus && (focus == FHandle || IsChild(FHandle, focus));
  FEnabled = (FStyle & WS_DISABLED) == 0;
  const int n = ComboFrame(Pressed(), Hot(), FFocused, FEnabled);
  const int a = fw::WindowSystemMetric(FHandle, SM_CXHSCROLL);
  const int w = rect.right - rect.left, h = rect.bottom - rect.top;
  const bool left = (FExStyle & WS_EX_LEFTSCROLLBAR) != 0;
  const ComboLayout layout = LayoutCombo(w, h, a, left);
  const PixelBitmap& strip = left && !button->Image2.Empty() ? button->Image2 : button->Image;

  const int saved = SaveDC(dc);
  ExcludeClipRect(dc, rect.left + layout.text.left, rect.top + layout.text.top,
                  rect.left + layout.text.right, rect.top + layout.text.bottom);
  DrawSkinElement(dc, rect, edge->FrameCount > 0 ? edge->FrameCount : 4, n, edge);
  const RECT button_rect = ToRect(layout.button.Offset(rect.left, rect.top));
  DrawStripFrame(OnSharedCanvas{dc}, button_rect, button->FrameCount > 0 ? button->FrameCount : 4,
                 n, strip);
  if (const TDataSkinObject* glyphs = Skin().ExtraImages.get(); glyphs && !glyphs->Image.Empty()) {
    const int frames = glyphs->FrameCount > 0 ? glyphs->FrameCount : 5;
    const PixelRect glyph =
        CentreGlyph(layout.glyph_area, glyphs->Image.Width() / frames, glyphs->Image.Height());
    DrawStripFrame(OnSharedCanvas{dc}, ToRect(glyph.Offset(rect.left, rect.top)), frames, n,
                   glyphs->Image);
  }
  RestoreDC(dc, saved);
}

void AddEditSkinnerMakers(SkinnerMakerTable& table) {
  table[KindIndex(SkinnerKind::Edit)] = &MakeSkinner<TSkinEdit>;
  table[KindIndex(SkinnerKind::ComBox)] = &MakeSkinner<TSkinComBox>;
}

}  // namespace skin
