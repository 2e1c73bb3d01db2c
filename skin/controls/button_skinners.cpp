#include "skin/controls/button_skinners.h"

#include <windowsx.h>

#include <algorithm>

#include "framework/buttons.h"
#include "framework/scoped_handle.h"
#include "skin/data/skin_data.h"
#include "skin/form/skin_form.h"
#include "skin/manager/element_painting.h"

namespace skin {

namespace {

constexpr int kLeavePollMs = 100;

COLORREF Resolve(Colour colour) { return fw::ColorToRGB(static_cast<fw::TColor>(colour)); }

// The canvas font made like a font handle (a bare window's WM_GETFONT); the system font
// when the window has none, as the system draws it then.
void AssignFontFromHandle(fw::TFont& font, HFONT handle) {
  if (!handle) handle = static_cast<HFONT>(GetStockObject(SYSTEM_FONT));
  LOGFONTA lf{};
  if (GetObjectA(handle, sizeof lf, &lf) != sizeof lf) return;
  font.SetName(lf.lfFaceName);
  font.SetHeight(lf.lfHeight);
  font.SetCharset(lf.lfCharSet);
  uint32_t style = 0;
  if (lf.lfWeight >= FW_BOLD) style |= fw::fsBold;
  if (lf.lfItalic) style |= fw::fsItalic;
  if (lf.lfUnderline) style |= fw::fsUnderline;
  if (lf.lfStrikeOut) style |= fw::fsStrikeOut;
  font.SetStyle(style);
}

RECT Local(const RECT& r) { return {0, 0, r.right - r.left, r.bottom - r.top}; }

// A caption at a laid-out place: transparent, in the canvas font's colour, or in the
// button-shadow colour when disabled.
void DrawLaidOutCaption(fw::TCanvas& canvas, const GlyphCaptionLayout& layout, ButtonSize text,
                        const std::string& caption, bool enabled) {
  if (caption.empty()) return;
  RECT r{layout.text.x, layout.text.y, layout.text.x + text.cx, layout.text.y + text.cy};
  canvas.Brush().SetStyle(fw::bsClear);
  canvas.Font().SetStyle(0);
  if (!enabled) canvas.Font().SetColor(static_cast<fw::TColor>(GetSysColor(COLOR_BTNSHADOW)));
  SetBkMode(canvas.Handle(), TRANSPARENT);
  canvas.DrawText(caption, r, static_cast<UINT>(layout.align));
}

}  // namespace

// ---- TSkinButton --------------------------------------------------------------------------

const fw::TClassInfo& TSkinButton::StaticClassInfo() {
  static const fw::TClassInfo info =
      fw::DescribeClass<TSkinButton, TSkinControl>("TSkinButton", [](auto&) {});
  return info;
}

TSkinButton::TSkinButton(fw::TComponent* owner)
    : TSkinControl(owner), FBuffer(std::make_unique<fw::TBitmap>()) {
  FBuffer->SetPixelFormat(fw::pf32bit);
}

TSkinButton::~TSkinButton() = default;

const TDataSkinObject* TSkinButton::ButtonElement() const {
  if (!FSkinData || !Skin().Buttons || Skin().Buttons->Image.Empty()) return nullptr;
  return Skin().Buttons.get();
}

bool TSkinButton::BeforeMessage(fw::TMessage& message) {
  // With no button picture in the skin there is nothing to draw the button with: it paints
  // and clicks as it does unskinned.
  if (!ButtonElement()) return true;
  switch (message.Msg) {
    case WM_PAINT:
      PaintClient(message);
      return false;
    case WM_ERASEBKGND:
      message.Result = 1;
      return false;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      // The control never sees the press, so it never clicks by itself.
      if (FHandle && GetFocus() != FHandle) SetFocus(FHandle);
      FState |= kStatePressed;
      PaintSkin(nullptr);
      message.Result = 0;
      return false;
    default:
      return true;
  }
}

void TSkinButton::AfterMessage(fw::TMessage& message) {
  TSkinForm* form = OwnerForm();
  switch (message.Msg) {
    case WM_KEYDOWN:
      if (message.WParam == VK_SPACE) {
        key_press_ = true;
        FState |= kStatePressed;
        RedrawFrame();
      }
      break;
    case WM_KEYUP:
      if (message.WParam == VK_SPACE) {
        // The click for the space key comes from the control's own procedure.
        key_press_ = false;
        FState &= static_cast<uint8_t>(~kStatePressed);
        RedrawFrame();
      }
      break;
    case WM_MOUSEMOVE:
      if (!Hot()) {
        FState |= kStateHot;
        if (form && form->HotSkinner && form->HotSkinner != this)
          form->HotSkinner->SendMouseLeave();
        if (!form || form->HotSkinner != this) {
          RedrawFrame();
          if (form) form->SetHotSkinner(this);
        }
      }
      break;
    case WM_LBUTTONUP:
      // While the space key holds the button down, the control's own procedure takes
      // this release as its click.
      if (!Pressed() || key_press_) break;
      FState &= static_cast<uint8_t>(~kStatePressed);
      RedrawFrame();
      ClickButton();  // last: the handler may free this skinner
      break;
    case WM_KILLFOCUS:
      // The control drops a key press when it loses the focus, without a click.
      if (key_press_) {
        key_press_ = false;
        FState &= static_cast<uint8_t>(~kStatePressed);
      }
      TSkinControl::AfterMessage(message);
      break;
    case CM_SKIN_MOUSEENTER:
      if (FEnabled) {
        FState |= kStateHot;
        RedrawFrame();
        if (form) form->SetHotSkinner(this);
      }
      break;
    case CM_SKIN_MOUSELEAVE:
      if (FEnabled) {
        FState &= static_cast<uint8_t>(~(kStateHot | kStatePressed));
        RedrawFrame();
        if (form && form->HotSkinner == this) form->HotSkinner = nullptr;
      }
      break;
    case BM_SETSTATE:
    case BM_SETSTYLE:
    case WM_UPDATEUISTATE:
      // The system button paints itself at once on these (not through WM_PAINT).
      RedrawFrame();
      break;
    default:
      TSkinControl::AfterMessage(message);
      break;
  }
}

void TSkinButton::ClickButton() {
  if (FControl) {
    FControl->Click();
    return;
  }
  if (!FHandle) return;
  if (HWND parent = GetParent(FHandle)) {
    PostMessageA(parent, WM_COMMAND,
                 MAKEWPARAM(static_cast<WORD>(GetDlgCtrlID(FHandle)), BN_CLICKED),
                 reinterpret_cast<LPARAM>(FHandle));
  }
}

void TSkinButton::RefreshState() {
  if (!FHandle) return;
  FFocused = GetFocus() == FHandle;
  FEnabled = (GetWindowLongPtrA(FHandle, GWL_STYLE) & WS_DISABLED) == 0;
  FCaption = ReadCaption(FHandle);
  if (FCaption.empty() && FControl) FCaption = FControl->Caption();
}

int TSkinButton::CurrentFrame() {
  RefreshState();
  return PushButtonFrame({FEnabled, Pressed(), Hot(), FFocused, false});
}

COLORREF TSkinButton::CaptionColour(int frame) const {
  if (frame == kButtonFrameDisabled) return GetSysColor(COLOR_BTNSHADOW);
  if (!FSkinData) return GetSysColor(COLOR_BTNTEXT);
  Colour colour = FSkinData->ButtonText;
  if (const TDataSkinButton* e = Skin().Buttons.get()) {
    if (frame == kButtonFrameNormal) colour = e->NormalColour2;
    if (frame == kButtonFrameHot) colour = e->MouseOverColour2;
    if (frame == kButtonFramePressed) colour = e->PressedColour2;
  }
  if (colour == kColourNone) colour = FSkinData->ButtonText;
  return Resolve(colour);
}

fw::TCanvas* TSkinButton::PrepareBuffer(HDC target, const RECT& rect, int frame_count, int frame) {
  const RECT local = Local(rect);
  if (local.right <= 0 || local.bottom <= 0) return nullptr;
  if (FBuffer->Width() != local.right || FBuffer->Height() != local.bottom)
    FBuffer->SetSize(local.right, local.bottom);
  fw::TCanvas& canvas = FBuffer->Canvas();
  if (!canvas.Handle()) return nullptr;
  MirrorLike(canvas.Handle(), target);
  FillFace(canvas.Handle(), local);
  DrawSkinElement(canvas.Handle(), local, frame_count, frame, ButtonElement());
  return &canvas;
}

void TSkinButton::DrawSkin(HDC dc, const RECT& rect) {
  if (!ButtonElement()) return;
  const int frame = CurrentFrame();
  fw::TCanvas* canvas = PrepareBuffer(dc, rect, kButtonFrames, frame);
  if (!canvas) return;
  AssignFontFromHandle(canvas->Font(),
                       reinterpret_cast<HFONT>(SendMessageA(FHandle, WM_GETFONT, 0, 0)));
  canvas->Font().SetColor(static_cast<fw::TColor>(CaptionColour(frame)));
  const RECT local = Local(rect);
  DrawCaption(*canvas, local, DT_CENTER, FEnabled, FCaption);
  BitBlt(dc, rect.left, rect.top, local.right, local.bottom, canvas->Handle(), 0, 0, SRCCOPY);
}

// ---- TSkinBitButton -----------------------------------------------------------------------

const fw::TClassInfo& TSkinBitButton::StaticClassInfo() {
  static const fw::TClassInfo info =
      fw::DescribeClass<TSkinBitButton, TSkinButton>("TSkinBitButton", [](auto&) {});
  return info;
}

ButtonSize TSkinBitButton::CaptionExtent(fw::TCanvas& canvas, const std::string& caption) {
  if (caption.empty()) return {};
  RECT r{0, 0, 0, 0};
  canvas.DrawText(caption, r, DT_CALCRECT);
  return {r.right - r.left, r.bottom - r.top};
}

void TSkinBitButton::DrawGlyphFrame(HDC dc, int x, int y, fw::TBitmap& glyph, int glyph_count,
                                    int frame) {
  const ButtonSize size = GlyphPictureSize(glyph.Width(), glyph.Height(), glyph_count);
  if (size.cx <= 0 || size.cy <= 0) return;
  const int k = std::clamp(frame, 1, GlyphPictureCount(glyph_count));
  HDC source = glyph.Canvas().Handle();
  if (!source) return;
  const int source_x = (k - 1) * size.cx;
  DibSection picture = CreateDibSection(size.cx, size.cy);
  if (!picture) return;
  {
    fw::ScopedMemoryDc memory(CreateCompatibleDC(dc));
    fw::ScopedSelectObject select(memory.get(), picture.bitmap.get());
    BitBlt(memory.get(), 0, 0, size.cx, size.cy, source, source_x, 0, SRCCOPY);
  }
  GdiFlush();
  const PixelBitmap pixels = ReadDibPixels(picture);
  // The picture's own top-left pixel is its transparent colour.
  const uint32_t key = pixels.Pixel(0, 0) & 0xFFFFFF;
  DrawTransparent(dc, {x, y, x + size.cx, y + size.cy}, pixels, key);
}

void TSkinBitButton::DrawSkin(HDC dc, const RECT& rect) {
  auto* bit = dynamic_cast<fw::TBitBtn*>(FControl);
  if (!bit) {
    TSkinButton::DrawSkin(dc, rect);
    return;
  }
  const TDataSkinObject* element = ButtonElement();
  if (!element) return;
  RefreshState();
  // The framework control's own focus and enabled state.
  FFocused = bit->Focused();
  FEnabled = bit->Enabled();
  const int frame = PushButtonFrame({FEnabled, Pressed(), Hot(), FFocused, false});
  const int frame_count = element->FrameCount > 0 ? element->FrameCount : kButtonFrames;
  fw::TCanvas* canvas = PrepareBuffer(dc, rect, frame_count, frame);
  if (!canvas) return;
  canvas->Font().Assign(bit->Font());
  canvas->Font().SetStyle(0);
  canvas->Font().SetColor(static_cast<fw::TColor>(CaptionColour(frame)));
  RECT client{};
  GetClientRect(FHandle, &client);
  fw::TButtonGlyph& glyph = bit->DrawnGlyph();
  const ButtonSize glyph_size =
      GlyphPictureSize(glyph.Bitmap().Width(), glyph.Bitmap().Height(), glyph.NumGlyphs());
  const ButtonSize text_size = CaptionExtent(*canvas, FCaption);
  const GlyphCaptionLayout layout =
      LayOutGlyphCaption({client.right, client.bottom}, glyph_size, text_size,
                         static_cast<GlyphSide>(bit->Layout()), bit->Margin(), bit->Spacing());
  if (!glyph.Empty())
    DrawGlyphFrame(canvas->Handle(), layout.glyph.x, layout.glyph.y, glyph.Bitmap(),
                   glyph.NumGlyphs(), 1);
  DrawLaidOutCaption(*canvas, layout, text_size, FCaption, FEnabled);
  const RECT local = Local(rect);
  BitBlt(dc, rect.left, rect.top, local.right, local.bottom, canvas->Handle(), 0, 0, SRCCOPY);
}

// ---- TSkinSpeedButton ---------------------------------------------------------------------

const fw::TClassInfo& TSkinSpeedButton::StaticClassInfo() {
  static const fw::TClassInfo info =
      fw::DescribeClass<TSkinSpeedButton, TSkinBitButton>("TSkinSpeedButton", [](auto&) {});
  return info;
}

TSkinSpeedButton::TSkinSpeedButton(fw::TComponent* owner) : TSkinBitButton(owner) {}

TSkinSpeedButton::~TSkinSpeedButton() { leave_poll_.reset(); }

fw::TSpeedButton* TSkinSpeedButton::Speed() const {
  return dynamic_cast<fw::TSpeedButton*>(FGraphicControl);
}

void TSkinSpeedButton::Detach() {
  if (leave_poll_) leave_poll_->SetEnabled(false);
  TSkinControl::Detach();
}

RECT TSkinSpeedButton::ScreenRect() const {
  RECT r{};
  if (!FGraphicControl) return r;
  fw::TWinControl* parent = FGraphicControl->Parent();
  if (!parent || !parent->HandleAllocated()) return r;
  r = FGraphicControl->BoundsRect();
  MapWindowPoints(parent->Handle(), HWND_DESKTOP, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

ButtonLook TSkinSpeedButton::SpeedLook() {
  ButtonLook look;
  if (!FGraphicControl) return look;
  fw::TSpeedButton* speed = Speed();
  look.enabled = FGraphicControl->Enabled();
  FEnabled = look.enabled;
  // The framework's press follows the cursor while the button is held.
  look.pressed = Pressed() || (speed && speed->Pressed());
  look.hot = Hot();
  look.down = speed && speed->Down();
  return look;
}

int TSkinSpeedButton::CurrentSpeedFrame() { return SpeedButtonFrame(SpeedLook()); }

bool TSkinSpeedButton::BeforeMessage(fw::TMessage& message) {
  switch (message.Msg) {
    case WM_PAINT: {
      HDC dc = reinterpret_cast<HDC>(message.WParam);
      if (dc && FGraphicControl) {
        fw::TCanvas canvas;
        canvas.SetHandle(dc);
        DrawSpeedButton(canvas, FGraphicControl->ClientRect());
        canvas.SetHandle(nullptr);
      }
      message.Result = 1;
      return false;
    }
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
      // The control's own press and latch logic runs first.
      const fw::LifeWatch alive = Watch();
      CallDefault(message);
      if (!alive) return false;
      FState |= kStatePressed;
      PaintSkin(nullptr);
      return false;
    }
    default:
      return true;
  }
}

void TSkinSpeedButton::EnterHot() {
  if (!FGraphicControl) return;
  FState |= kStateHot;
  if (TSkinForm* form = OwnerForm()) {
    if (form->HotSkinner && form->HotSkinner != this) form->HotSkinner->SendMouseLeave();
    form->SetHotSkinner(this);
  }
  if (!leave_poll_) {
    leave_poll_ = std::make_unique<fw::TTimer>(nullptr);
    leave_poll_->SetEnabled(false);
    leave_poll_->SetInterval(kLeavePollMs);
    leave_poll_->OnTimer = [this](fw::TObject*) { PollCursor(); };
  }
  leave_poll_->SetEnabled(true);
  PaintSkin(nullptr);
}

void TSkinSpeedButton::LeaveHot() {
  FState &= static_cast<uint8_t>(~(kStateHot | kStatePressed));
  if (leave_poll_) leave_poll_->SetEnabled(false);
  if (TSkinForm* form = OwnerForm(); form && form->HotSkinner == this) form->HotSkinner = nullptr;
  if (FGraphicControl && FGraphicControl->Visible()) PaintSkin(nullptr);
}

void TSkinSpeedButton::PollCursor() {
  POINT cursor{};
  if (!FGraphicControl || !GetCursorPos(&cursor)) return;
  const RECT r = ScreenRect();
  fw::TWinControl* parent = FGraphicControl->Parent();
  const bool over = PtInRect(&r, cursor) && parent && parent->HandleAllocated() &&
                    WindowFromPoint(cursor) == parent->Handle();
  if (!over) FGraphicControl->Perform(CM_SKIN_MOUSELEAVE);
}

void TSkinSpeedButton::AfterMessage(fw::TMessage& message) {
  switch (message.Msg) {
    case WM_NCDESTROY:
    case CM_SKIN_RELEASE:
      Detach();
      break;
    case WM_KEYDOWN:
      if (message.WParam == VK_SPACE) {
        FState |= kStatePressed;
        PaintSkin(nullptr);
      }
      break;
    case WM_KEYUP:
    case WM_LBUTTONUP:
      if (message.Msg == WM_LBUTTONUP || message.WParam == VK_SPACE) {
        FState &= static_cast<uint8_t>(~kStatePressed);
        PaintSkin(nullptr);
      }
      break;
    case CM_SKIN_MOUSEENTER:
      EnterHot();
      break;
    case CM_SKIN_MOUSELEAVE:
      LeaveHot();
      break;
    case WM_MOUSEMOVE: {
      // The parent forwards moves while it holds the mouse for a press, also from outside.
      const POINT p{GET_X_LPARAM(message.LParam), GET_Y_LPARAM(message.LParam)};
      const bool inside = FGraphicControl && p.x >= 0 && p.y >= 0 &&
                          p.x < FGraphicControl->Width() && p.y < FGraphicControl->Height();
      if (inside && !Hot()) EnterHot();
      if (!inside && Hot()) LeaveHot();
      if (inside && Hot() && Pressed()) PaintSkin(nullptr);
      break;
    }
    default:
      TSkinButton::AfterMessage(message);
      break;
  }
}

void TSkinSpeedButton::PaintSkin(HDC dc) {
  if (!FGraphicControl || !Hooked()) return;
  const RECT client = FGraphicControl->ClientRect();
  if (dc) {
    fw::TCanvas canvas;
    canvas.SetHandle(dc);
    DrawSpeedButton(canvas, client);
    canvas.SetHandle(nullptr);
    return;
  }
  fw::TWinControl* parent = FGraphicControl->Parent();
  if (!parent || !parent->HandleAllocated() || !FGraphicControl->Visible()) return;
  // Painting on the parent, in the control's own coordinates.
  fw::ScopedGetDc parent_dc(parent->Handle());
  if (!parent_dc.get()) return;
  const RECT bounds = FGraphicControl->BoundsRect();
  const int saved = SaveDC(parent_dc.get());
  SetViewportOrgEx(parent_dc.get(), bounds.left, bounds.top, nullptr);
  IntersectClipRect(parent_dc.get(), 0, 0, client.right, client.bottom);
  fw::TCanvas canvas;
  canvas.SetHandle(parent_dc.get());
  try {
    DrawSpeedButton(canvas, client);
  } catch (...) {
    // The control keeps what its parent painted last.
  }
  canvas.SetHandle(nullptr);
  RestoreDC(parent_dc.get(), saved);
}

void TSkinSpeedButton::DrawSpeedButton(fw::TCanvas& canvas, const RECT& rect) {
  const TDataSkinObject* element = ButtonElement();
  ScratchSurface* scratch = ScratchBitmap();
  if (!element || !scratch || !FGraphicControl) return;
  const RECT local = Local(rect);
  if (local.right <= 0 || local.bottom <= 0) return;
  FWindowRect = ScreenRect();
  fw::TSpeedButton* speed = Speed();
  const ButtonLook look = SpeedLook();
  const int frame = SpeedButtonFrame(look);
  const int frame_count = element->FrameCount > 0 ? element->FrameCount : kButtonFrames;
  if (scratch->Width() < local.right || scratch->Height() < local.bottom) {
    if (!scratch->SetSize(std::max(scratch->Width(), static_cast<int>(local.right)),
                          std::max(scratch->Height(), static_cast<int>(local.bottom))))
      return;
  }
  const ScopedLayoutLike mirrored(scratch->Dc(), canvas.Handle());
  if (speed && speed->Flat() && frame == kButtonFrameNormal) {
    // A flat button at rest shows only the face; the skin's frame comes with the mouse.
    FillFace(scratch->Dc(), local);
  } else {
    DrawElementToScratch(local, element, element->Trans == 1, frame_count, frame);
  }
  fw::TCanvas face;
  face.SetHandle(scratch->Dc());
  face.Font().Assign(FGraphicControl->Font());
  face.Font().SetColor(static_cast<fw::TColor>(CaptionColour(frame)));
  const std::string caption = FGraphicControl->Caption();
  if (speed && !speed->ButtonGlyph().Empty()) {
    fw::TButtonGlyph& glyph = speed->ButtonGlyph();
    const ButtonSize glyph_size =
        GlyphPictureSize(glyph.Bitmap().Width(), glyph.Bitmap().Height(), glyph.NumGlyphs());
    const ButtonSize text_size = CaptionExtent(face, caption);
    const GlyphCaptionLayout layout = LayOutGlyphCaption(
        {local.right, local.bottom}, glyph_size, text_size, static_cast<GlyphSide>(speed->Layout()),
        speed->Margin(), speed->Spacing(), true);
    DrawGlyphFrame(scratch->Dc(), layout.glyph.x, layout.glyph.y, glyph.Bitmap(), glyph.NumGlyphs(),
                   SpeedGlyphFrame(look, glyph.NumGlyphs()));
    DrawLaidOutCaption(face, layout, text_size, caption, look.enabled);
  } else {
    DrawCaption(face, local, DT_CENTER, look.enabled, caption);
  }
  face.SetHandle(nullptr);
  BitBlt(canvas.Handle(), rect.left, rect.top, local.right, local.bottom, scratch->Dc(), 0, 0,
         SRCCOPY);
}

void AddButtonSkinnerMakers(SkinnerMakerTable& table) {
  table[KindIndex(SkinnerKind::Button)] = &MakeSkinner<TSkinButton>;
  table[KindIndex(SkinnerKind::BitButton)] = &MakeSkinner<TSkinBitButton>;
  table[KindIndex(SkinnerKind::SpeedButton)] = &MakeSkinner<TSkinSpeedButton>;
}

}  // namespace skin
