#include "skin/controls/skin_control.h"

#include <algorithm>
#include <array>
#include <commctrl.h>

#include "framework/image_list.h"
#include "framework/scoped_handle.h"
#include "skin/data/skin_data.h"
#include "skin/controls/offscreen.h"
#include "skin/controls/standard_skinners.h"
#include "skin/form/control_discovery.h"
#include "skin/form/skin_form.h"
#include "skin/manager/element_painting.h"

namespace skin {

namespace {

SkinnerMakerTable& Makers() {
  static SkinnerMakerTable makers = StandardSkinnerMakers();
  return makers;
}

bool Inverted(const RECT& r) { return r.right < r.left || r.bottom < r.top; }

RECT AtOrigin(const RECT& r) { return {0, 0, r.right - r.left, r.bottom - r.top}; }

}  // namespace

namespace {
thread_local FocusSnapshot* g_focus_snapshot = nullptr;
thread_local HWND g_snapshot_focus = nullptr;
}  // namespace

FocusSnapshot::FocusSnapshot() : focus_(GetFocus()), outer_(g_focus_snapshot) {
  g_focus_snapshot = this;
  g_snapshot_focus = focus_;
}

FocusSnapshot::~FocusSnapshot() {
  g_focus_snapshot = outer_;
  g_snapshot_focus = outer_ ? outer_->focus_ : nullptr;
}

HWND FocusedWindow() { return g_focus_snapshot ? g_snapshot_focus : GetFocus(); }

namespace {
thread_local InvalidationBatch* g_invalidation_batch = nullptr;
}  // namespace

InvalidationBatch::InvalidationBatch(HWND root) : root_(root), outer_(g_invalidation_batch) {
  g_invalidation_batch = this;
}

InvalidationBatch::~InvalidationBatch() {
  g_invalidation_batch = outer_;
  if (pending_ && IsWindow(root_))
    RedrawWindow(root_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

bool InvalidationBatch::Defer(fw::TWinControl* control) {
  InvalidationBatch* batch = g_invalidation_batch;
  if (!batch || !batch->root_) return false;
  for (fw::TWinControl* c = control; c; c = c->Parent()) {
    if (c->HandleAllocated() && c->Handle() == batch->root_) {
      batch->pending_ = true;
      return true;
    }
  }
  return false;
}

void RegisterSkinnerMaker(SkinnerKind kind, SkinnerMaker maker) {
  if (kind >= SkinnerKind::Count) return;
  Makers()[static_cast<size_t>(kind)] = maker;
}

SkinnerMaker FindSkinnerMaker(SkinnerKind kind) {
  if (kind >= SkinnerKind::Count) return nullptr;
  return Makers()[static_cast<size_t>(kind)];
}

void RestoreStandardSkinnerMakers() { Makers() = StandardSkinnerMakers(); }

const fw::TClassInfo& TSkinControl::StaticClassInfo() {
  static const fw::TClassInfo info =
      fw::DescribeClass<TSkinControl, fw::TComponent>("TSkinControl", [](auto&) {});
  return info;
}

TSkinControl::TSkinControl(fw::TComponent* owner) : fw::TComponent(owner) {}

TSkinControl::~TSkinControl() {
  EndLife();
  Detach();
  TSkinForm* form = OwnerForm();
  if (form && form->HotSkinner == this) form->HotSkinner = nullptr;
}

TSkinForm* TSkinControl::OwnerForm() const { return dynamic_cast<TSkinForm*>(Owner()); }

const SkinDefinition& TSkinControl::Skin() const {
  if (const TSkinForm* form = OwnerForm(); form && form->SkinData == FSkinData) return form->Skin();
  static const SkinDefinition kNoSkin;
  return FSkinData ? *FSkinData : kNoSkin;
}

// ---- attaching ----

void TSkinControl::HookProperty(fw::TControl* control) {
  FOldWindowProc = control->WindowProc();
  forward_method_ = FOldWindowProc;
  override_.Install(control, fw::TWndMethod::Of<&TSkinControl::SkinWndProc>(this));
}

void TSkinControl::AttachControl(fw::TWinControl* control, TSkinData* skin_data, bool recolor,
                                 fw::TCanvas* canvas) {
  if (FAttached || !control) return;
  FRecolor = recolor;
  FSkinData = skin_data;
  FCanvas = canvas;
  FControl = control;
  FHandle = control->Handle();
  HookProperty(control);
  // Freed before the skinner, the control tells it (Notification) and is forgotten.
  control->FreeNotification(this);
  // Painting through an off-screen bitmap, where the framework offers it.
  SetEnumPropertyByName(*control, "DoubleBuffered", "True");
  if (TSkinForm* form = OwnerForm()) form->RegisterSkinner(this);
  FFocused = FocusedWindow() == FHandle;
  FEnabled = (GetWindowLongPtrA(FHandle, GWL_STYLE) & WS_DISABLED) == 0;
  FCaption = ReadCaption(FHandle);
  if (FRecolor) {
    FSavedColor = control->Color();
    control->SetColor(static_cast<fw::TColor>(FaceColor()));
    recolored_ = true;
  }
  if (!InvalidationBatch::Defer(control)) control->Invalidate();
  FAttached = true;
}

void TSkinControl::AttachScrollBars(fw::TWinControl* control, TSkinData* skin_data, bool,
                                    fw::TCanvas* canvas) {
  AttachControl(control, skin_data, false, canvas);
}

void TSkinControl::AttachHandle(HWND handle, TSkinData* skin_data, fw::TCanvas* canvas) {
  FSkinData = skin_data;
  FCanvas = canvas;
  FHandle = handle;
  FEnabled = true;
  FCaption = ReadCaption(handle);
  if (subclass_.Install(handle, &TSkinControl::HandleEntry, this)) {
    FWndProcInstance = subclass_.StubProc();
    FOldWndProc = subclass_.OldProc();
    forward_proc_ = FOldWndProc;
  }
  FAttached = true;
}

void TSkinControl::AttachGraphicControl(fw::TGraphicControl* control, TSkinData* skin_data,
                                        fw::TCanvas* canvas) {
  if (!control) return;
  FSkinData = skin_data;
  FCanvas = canvas;
  FGraphicControl = control;
  graphic_gone_ = false;
  HookProperty(control);
  // The controller hears of the control's freeing and frees this skinner then.
  control->FreeNotification(NotifyTarget());
  if (TSkinForm* form = OwnerForm()) form->RegisterSkinner(this);
}

fw::TComponent* TSkinControl::NotifyTarget() {
  if (TSkinForm* form = OwnerForm()) return form;
  return this;
}

void TSkinControl::Notification(fw::TComponent* component, fw::TOperation operation) {
  fw::TComponent::Notification(component, operation);
  if (operation == fw::opRemove && component && component == FControl) {
    // The control is being freed (its window is gone already): its colour is not given
    // back, and nothing reaches it after this.
    override_.Abandon();
    FOldWindowProc = fw::TWndMethod();
    forward_method_ = fw::TWndMethod();
    FControl = nullptr;
    recolored_ = false;
    FRecolor = false;
    return;
  }
  if (operation == fw::opRemove && component && component == FGraphicControl && !graphic_gone_) {
    // The control's own parts are gone already: nothing of it is touched.
    graphic_gone_ = true;
    override_.Abandon();
    FOldWindowProc = fw::TWndMethod();
  }
}

void TSkinControl::Detach() {
  if (FOldWindowProc) {
    override_.Restore();
    FOldWindowProc = fw::TWndMethod();
  }
  if (FWndProcInstance) {
    subclass_.Restore();
    FWndProcInstance = nullptr;
  }
  if (FGraphicControl && !graphic_gone_) {
    FGraphicControl->RemoveFreeNotification(NotifyTarget());
  }
  if (recolored_ && FControl && !FControl->IsDestroying()) {
    TSkinForm* form = OwnerForm();
    const bool tearing_down = form && form->LifeState == LifeClosing;
    if (!tearing_down) FControl->SetColor(FSavedColor);
  }
  recolored_ = false;
}

// ---- dispatching ----

LRESULT TSkinControl::HandleEntry(void* self, HWND, UINT msg, WPARAM wparam, LPARAM lparam) {
  auto* skinner = static_cast<TSkinControl*>(self);
  fw::TMessage message{msg, wparam, lparam, 0};
  try {
    skinner->SkinWndProc(message);
  } catch (...) {
    // Nothing may unwind through the system's message dispatch.
  }
  return message.Result;
}

void TSkinControl::SkinWndProc(fw::TMessage& message) {
  const fw::LifeWatch alive = Watch();
  const HWND hwnd = FHandle;
  if (!BeforeMessage(message)) return;
  if (!alive) return;
  CallDefault(message);
  // The control's procedure may have destroyed the window or freed this skinner.
  if (!alive) return;
  if (hwnd && !IsWindow(hwnd)) return;
  AfterMessage(message);
}

void TSkinControl::CallDefault(fw::TMessage& message) {
  if (FOldWindowProc) {
    FOldWindowProc(message);
  } else if (FOldWndProc && FWndProcInstance) {
    message.Result =
        CallWindowProcA(FOldWndProc, FHandle, message.Msg, message.WParam, message.LParam);
  } else if (forward_method_) {
    forward_method_(message);
  } else if (forward_proc_ && IsWindow(FHandle)) {
    message.Result =
        CallWindowProcA(forward_proc_, FHandle, message.Msg, message.WParam, message.LParam);
  }
}

bool TSkinControl::BeforeMessage(fw::TMessage&) { return true; }

void TSkinControl::AfterMessage(fw::TMessage& message) {
  switch (message.Msg) {
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_ENABLE:
    case CM_SKIN_ENABLEDCHANGED:
      if (message.Msg == WM_SETFOCUS || message.Msg == WM_KILLFOCUS)
        FFocused = FHandle && GetFocus() == FHandle;
      if (FHandle && (message.Msg == WM_ENABLE || message.Msg == CM_SKIN_ENABLEDCHANGED))
        FEnabled = (GetWindowLongPtrA(FHandle, GWL_STYLE) & WS_DISABLED) == 0;
      RedrawFrame();
      break;
    case WM_SETTEXT:
      FCaption = message.LParam ? reinterpret_cast<const char*>(message.LParam) : "";
      RedrawFrame();
      break;
    case WM_PAINT:
      PaintSkin(reinterpret_cast<HDC>(message.WParam));
      break;
    case WM_NCDESTROY:
      Detach();
      break;
    case CM_SKIN_MOUSEENTER:
      FState |= kStateHot;
      if (TSkinForm* form = OwnerForm()) form->SetHotSkinner(this);
      break;
    case CM_SKIN_MOUSELEAVE:
      FState &= static_cast<uint8_t>(~kStateHot);
      if (TSkinForm* form = OwnerForm(); form && form->HotSkinner == this)
        form->HotSkinner = nullptr;
      break;
    default:
      break;
  }
}

// ---- painting ----

void TSkinControl::PaintSkin(HDC dc) {
  RECT window{};
  if (!FHandle || !GetWindowRect(FHandle, &window)) return;
  FWindowRect = window;
  const RECT rect = AtOrigin(window);
  fw::ScopedGetDc taken = dc ? fw::ScopedGetDc::None() : fw::ScopedGetDc::Window(FHandle);
  HDC target = dc ? dc : taken.get();
  if (!target) return;
  try {
    DrawSkin(target, rect);
  } catch (...) {
    // The control keeps the look its own procedure painted.
  }
}

void TSkinControl::PaintClient(fw::TMessage& message) {
  HDC dc = reinterpret_cast<HDC>(message.WParam);
  PAINTSTRUCT ps{};
  const bool began = dc == nullptr;
  if (began) dc = BeginPaint(FHandle, &ps);
  RECT window{};
  if (dc && GetWindowRect(FHandle, &window)) {
    FWindowRect = window;
    try {
      DrawSkin(dc, AtOrigin(window));
    } catch (...) {
    }
  }
  if (began) EndPaint(FHandle, &ps);
  message.Result = 0;
}

bool TSkinControl::PaintInOneStep(fw::TMessage& message) {
  if (message.Msg != WM_PAINT || message.WParam || !FHandle) return false;
  RECT window{}, client{};
  if (!GetWindowRect(FHandle, &window) || !GetClientRect(FHandle, &client)) return false;
  const RECT rect = AtOrigin(window);
  if (client.right != rect.right || client.bottom != rect.bottom) return false;
  // The picture covers the whole window: children must be clipped out of the paint DC.
  if (!(GetWindowLongPtrA(FHandle, GWL_STYLE) & WS_CLIPCHILDREN) && GetWindow(FHandle, GW_CHILD))
    return false;
  // Windowless children paint straight onto the window after the control's own paint.
  if (FControl) {
    for (fw::TControl* c : FControl->ControlList())
      if (!dynamic_cast<fw::TWinControl*>(c)) return false;
  }
  // Made before the paint begins: without it the control paints as before.
  OffscreenBitmap buffer(rect.right, rect.bottom);
  if (!buffer) return false;
  const fw::LifeWatch alive = Watch();
  const HWND hwnd = FHandle;
  PAINTSTRUCT ps{};
  HDC dc = BeginPaint(hwnd, &ps);
  if (!dc) return false;
  MirrorLike(buffer.Dc(), dc);
  fw::TMessage paint{WM_PAINT, reinterpret_cast<WPARAM>(buffer.Dc()), 0, 0};
  CallDefault(paint);
  if (alive && IsWindow(hwnd)) {
    FWindowRect = window;
    try {
      DrawSkin(buffer.Dc(), rect);
    } catch (...) {
      // The control's own look stays.
    }
    BitBlt(dc, 0, 0, rect.right, rect.bottom, buffer.Dc(), 0, 0, SRCCOPY);
  }
  EndPaint(hwnd, &ps);
  message.Result = 0;
  return true;
}

void TSkinControl::DrawSkin(HDC, const RECT&) {}

void TSkinControl::SkinChanged() {
  if (FRecolor && FControl) FControl->SetColor(static_cast<fw::TColor>(FaceColor()));
  if (FHandle) {
    InvalidateRect(FHandle, nullptr, TRUE);
  } else if (FGraphicControl && !graphic_gone_) {
    FGraphicControl->Invalidate();
  }
}

void TSkinControl::SendMouseLeave() {
  if (FHandle) {
    SendMessageA(FHandle, CM_SKIN_MOUSELEAVE, 0, 0);
  } else if (FGraphicControl && !graphic_gone_ && override_.Installed()) {
    // A windowless control hears of the mouse leaving only from its skinner's owner.
    FGraphicControl->Perform(CM_SKIN_MOUSELEAVE);
  }
}

void TSkinControl::RedrawFrame() {
  if (!FHandle) return;
  HWND parent = GetParent(FHandle);
  RECT r{};
  if (!GetWindowRect(FHandle, &r)) return;
  r = AtOrigin(r);
  if (!parent) return;
  InvalidateRect(FHandle, &r, FALSE);
  UpdateWindow(FHandle);
}

COLORREF TSkinControl::FaceColor() const {
  if (!FSkinData) return GetSysColor(COLOR_BTNFACE);
  return static_cast<COLORREF>(FSkinData->ButtonFace);
}

void TSkinControl::FillFace(HDC dc, const RECT& rect) {
  fw::ScopedBrush brush(CreateSolidBrush(fw::ColorToRGB(static_cast<fw::TColor>(FaceColor()))));
  if (brush) FillRect(dc, &rect, brush.get());
}

std::string TSkinControl::ReadCaption(HWND hwnd) {
  char buffer[1001] = {};
  if (!hwnd) return {};
  SendMessageA(hwnd, WM_GETTEXT, 1000, reinterpret_cast<LPARAM>(buffer));
  buffer[1000] = 0;
  return buffer;
}

// ---- shared drawing ----

void TSkinControl::DrawSkinElement(HDC dc, const RECT& rect, int frame_count, int frame_index,
                                   const TDataSkinObject* element) {
  if (Inverted(rect) || !element || element->Image.Empty()) return;
  const Margins margins{element->LeftWidth, element->TopHeight, element->RightWidth,
                        element->BottomHeight};
  DrawElement(dc, rect, element->Image, margins, frame_index, frame_count, element->Trans == 1,
              element->Tile != 0, false);
}

void TSkinControl::DrawElementToScratch(const RECT& rect, const TDataSkinObject* element,
                                        bool trans, int frame_count, int frame_index) {
  ScratchSurface* scratch = ScratchBitmap();
  if (!scratch || Inverted(rect) || !element || element->Image.Empty()) return;
  const RECT local = AtOrigin(rect);
  if (scratch->Width() < local.right || scratch->Height() < local.bottom) {
    if (!scratch->SetSize(std::max<int>(scratch->Width(), local.right),
                          std::max<int>(scratch->Height(), local.bottom)))
      return;
  }
  FillFace(scratch->Dc(), local);
  const Margins margins{element->LeftWidth, element->TopHeight, element->RightWidth,
                        element->BottomHeight};
  DrawElement(scratch->Dc(), local, element->Image, margins, frame_index, frame_count, trans,
              element->Tile != 0, false);
}

void TSkinControl::DrawStripFrame(HDC dc, const RECT& rect, int frame_count, int frame_index,
                                  const PixelBitmap& strip) {
  if (!dc || Inverted(rect) || strip.Empty()) return;
  DrawElementFrame(dc, rect, strip, frame_index, frame_count, true);
}

void TSkinControl::DrawStripFrame(fw::TCanvas& canvas, const RECT& rect, int frame_count,
                                  int frame_index, const PixelBitmap& strip) {
  DrawStripFrame(canvas.Handle(), rect, frame_count, frame_index, strip);
}

void TSkinControl::DrawStripFrame(OnSharedCanvas target, const RECT& rect, int frame_count,
                                  int frame_index, const PixelBitmap& strip) {
  if (!FCanvas) {
    DrawStripFrame(target.dc, rect, frame_count, frame_index, strip);
    return;
  }
  FCanvas->SetHandle(target.dc);
  DrawStripFrame(*FCanvas, rect, frame_count, frame_index, strip);
  FCanvas->SetHandle(nullptr);
}

void TSkinControl::DrawCaption(fw::TCanvas& canvas, const RECT& rect, UINT format, bool enabled,
                               const std::string& text) {
  canvas.Brush().SetStyle(fw::bsClear);
  canvas.Font().SetStyle(0);
  RECT measured = rect;
  canvas.DrawText(text, measured, format | DT_EXPANDTABS | DT_NOCLIP | DT_CALCRECT);
  const int text_height = measured.bottom - measured.top;
  const int text_width = measured.right - measured.left;
  OffsetRect(&measured, 0, ((rect.bottom - rect.top) - text_height) / 2 - 1);
  if (format == DT_CENTER) {
    OffsetRect(&measured, ((rect.right - rect.left) - text_width) / 2, 0);
  } else {
    measured.left = rect.left;
    measured.right = rect.right;
  }
  if (!enabled) SetTextColor(canvas.Handle(), GetSysColor(COLOR_BTNSHADOW));
  SetBkMode(canvas.Handle(), TRANSPARENT);
  canvas.DrawText(text, measured, format | DT_EXPANDTABS);
}

void TSkinControl::DrawImageCaption(fw::TCanvas& canvas, const RECT& rect, int alignment,
                                    const std::string& text, int image_index,
                                    fw::TImageList* image_list) {
  DrawImageCaption(canvas, rect, alignment, text, image_index,
                   image_list ? image_list->Handle() : nullptr);
}

void TSkinControl::DrawImageCaption(fw::TCanvas& canvas, const RECT& rect, int alignment,
                                    const std::string& text, int image_index,
                                    HIMAGELIST image_list) {
  constexpr UINT kItemFormat = DT_CENTER | DT_SINGLELINE | DT_EXPANDTABS;  // 0x61
  int image_w = 0, image_h = 0;
  const bool has_image = image_index != -1 && image_list;
  if (has_image) ImageList_GetIconSize(image_list, &image_w, &image_h);
  canvas.Brush().SetStyle(fw::bsClear);
  canvas.Font().SetStyle(0);
  int text_w = 0, text_h = 0;
  if (!text.empty()) {
    RECT measured = rect;
    canvas.DrawText(text, measured, DT_CALCRECT | DT_NOCLIP | kItemFormat);
    text_w = measured.right - measured.left;
    text_h = measured.bottom - measured.top;
  }
  const int width = rect.right - rect.left;
  const int height = rect.bottom - rect.top;
  int x = 2;
  if (alignment == 1) x = (width - image_w - text_w) / 2;
  if (alignment == 2) x = width - image_w - text_w - 2;
  x += rect.left;
  if (has_image) {
    ImageList_Draw(image_list, image_index, canvas.Handle(), x, rect.top + (height - image_h) / 2,
                   ILD_TRANSPARENT);
  }
  if (text.empty()) return;
  RECT text_rect{x + image_w + 1, rect.top + (height - text_h) / 2, 0, 0};
  text_rect.right = text_rect.left + text_w;
  text_rect.bottom = text_rect.top + text_h;
  if (!FEnabled) SetTextColor(canvas.Handle(), GetSysColor(COLOR_BTNSHADOW));
  SetBkMode(canvas.Handle(), TRANSPARENT);
  canvas.DrawText(text, text_rect, kItemFormat);
}

}  // namespace skin
