#pragma once
// TSkinControl: the base of every control skinner. A skinner sits in front of one child
// control's window procedure, lets the control's own procedure run and then paints skin
// pictures over the control's window. It keeps the little state the drawing needs (hot,
// pressed, focused, enabled, caption).
//
// A skinner is attached in one of three ways:
//   AttachControl         a windowed framework control, through its window-procedure
//                         property (fw::WindowProcOverride);
//   AttachHandle          a bare window (dialog controls, foreign classes), by replacing
//                         GWL_WNDPROC (fw::WindowSubclass);
//   AttachGraphicControl  a windowless framework control, through its window-procedure
//                         property; the skinner has no window handle.
// Every message then goes through SkinWndProc: BeforeMessage decides whether the control's
// own procedure runs (CallDefault), AfterMessage reacts to what it did. Detach gives back
// exactly what was replaced; when somebody else hooked the same window after us, the
// subclassing objects keep forwarding until the chain above them is unwound, so nobody is
// cut off.
//
// A skinner is owned by the form controller (TSkinForm) that made it; the controller keeps
// it in its Skinners list, tells it about skin changes and detaches and frees it when
// skinning ends. The family skinners (buttons, edits, scroll bars, ...) derive from it.
//
// Lifetime: the control's own procedure (and a drag loop) may free the skinner; it follows
// the rule of framework/lifetime.h. The framework control it serves may be freed first
// (a radio group's Items reset frees its buttons): the skinner hears of it through the
// framework's free notification and forgets the control.
#include <windows.h>
#include <commctrl.h>

#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "framework/component.h"
#include "framework/controls.h"
#include "framework/graphics.h"
#include "framework/lifetime.h"
#include "framework/window_subclass.h"
#include "skin/controls/skinner_kind.h"
#include "skin/data/skin_elements.h"
#include "skin/manager/element_compose.h"
#include "skin/store/pixel_bitmap.h"

namespace fw {
class TImageList;
}

namespace skin {

class TSkinData;
class TSkinForm;
class TDataSkinObject;
struct SkinDefinition;

// Framework notifications a skinner reacts to (sent through the window procedure).
constexpr UINT CM_SKIN_ENABLEDCHANGED = fw::CM_ENABLEDCHANGED;
constexpr UINT CM_SKIN_MOUSEENTER = 0xB013;
constexpr UINT CM_SKIN_MOUSELEAVE = 0xB014;
constexpr UINT CM_SKIN_RELEASE = 0xB021;

// FState bits.
constexpr uint8_t kStateHot = 1;
constexpr uint8_t kStatePressed = 2;

// The third form of DrawStripFrame: a DC drawn on through the skinner's shared canvas.
struct OnSharedCanvas {
  HDC dc;
};

class TSkinControl : public fw::TComponent, public fw::Watchable {
  FW_CLASS_INFO()
 public:
  explicit TSkinControl(fw::TComponent* owner);
  ~TSkinControl() override;

  // ---- attaching (exactly one per skinner) ----
  // Ignored when already attached. Registers the skinner with its owning form controller.
  virtual void AttachControl(fw::TWinControl* control, TSkinData* skin_data, bool recolor,
                             fw::TCanvas* canvas);
  // Subclasses the window; the caller enters the skinner in Skinners where it should be.
  virtual void AttachHandle(HWND handle, TSkinData* skin_data, fw::TCanvas* canvas);
  // Gives back what the attach replaced (twice is harmless); the colour comes back too
  // unless the form controller is being torn down.
  virtual void Detach();
  // True: the control's own procedure runs, then AfterMessage. False: the skinner handled
  // the message completely and set its result.
  virtual bool BeforeMessage(fw::TMessage& message);
  // The base repaints the frame on focus, enabling and text changes, paints the skin
  // after WM_PAINT, detaches on WM_NCDESTROY and keeps the hot state (and the form
  // controller's hot skinner) from the framework's mouse-enter and mouse-leave.
  virtual void AfterMessage(fw::TMessage& message);
  // Paints the skin over the whole window (borders included) into dc, or into the
  // window's DC when dc is 0. Errors while drawing are swallowed.
  virtual void PaintSkin(HDC dc);
  // Draws the skin for a window of rect's size (rect at the origin); the base draws nothing.
  virtual void DrawSkin(HDC dc, const RECT& rect);
  // The skin data changed: recolour and repaint.
  virtual void SkinChanged();
  // The scroll-bar skinner's attach: a control's own scroll bars. The base attaches
  // through the window-procedure property like AttachControl, without recolouring.
  virtual void AttachScrollBars(fw::TWinControl* control, TSkinData* skin_data,
                                bool handle_thumb_drag, fw::TCanvas* canvas);

  // A spin button inside an edit (the edit skinner says so after attaching it); only the
  // up-down skinner draws differently then.
  virtual void SetEmbedded(bool) {}

  // A windowless control: its window-procedure property is replaced; FHandle stays 0 and
  // FAttached false. Registers the skinner with the form controller.
  void AttachGraphicControl(fw::TGraphicControl* control, TSkinData* skin_data,
                            fw::TCanvas* canvas);

  // ---- dispatching ----
  void SkinWndProc(fw::TMessage& message);
  // The procedure the attach replaced, with this message (its result lands in message).
  void CallDefault(fw::TMessage& message);

  // ---- helpers for the families ----
  // Sends the framework's mouse-leave notification to the window, or through the
  // windowless control's window-procedure property.
  void SendMouseLeave();
  // Invalidates the whole window (without erasing) and updates it, so that the skin paints
  // again; nothing for a window without a parent or whose rectangle cannot be read.
  void RedrawFrame();
  // Fills rect with a solid brush of the skin's ButtonFace.
  void FillFace(HDC dc, const RECT& rect);
  // Answers WM_PAINT by drawing the whole control: the DC in wParam, or BeginPaint.
  void PaintClient(fw::TMessage& message);
  // Answers a WM_PAINT without a DC in one step: the control's own procedure paints into
  // an off-screen bitmap, the skin is drawn over it there, and the picture reaches the
  // screen at once, so the system's look never shows before the skin's. False (nothing
  // done) for a WM_PAINT that brings its DC, a window with a border, one with child windows
  // it does not clip or with windowless children; the skin then paints after the control
  // as before.
  bool PaintInOneStep(fw::TMessage& message);

  // Frame frame_index (from 1) of frame_count of the element, nine-slice composed to rect,
  // transparent on magenta when the element's Trans is 1. Nothing for a missing element,
  // an empty image or an inverted rectangle.
  void DrawSkinElement(HDC dc, const RECT& rect, int frame_count, int frame_index,
                       const TDataSkinObject* element);
  // The same frame composed onto the process-wide scratch bitmap at (0, 0), over a
  // ButtonFace background (the scratch bitmap grows to rect's size when smaller).
  void DrawElementToScratch(const RECT& rect, const TDataSkinObject* element, bool trans,
                            int frame_count, int frame_index);
  // One frame of a strip of frame_count frames side by side, stretched to rect, drawn
  // transparent on magenta; onto a DC, a canvas, or a DC through the shared canvas.
  void DrawStripFrame(HDC dc, const RECT& rect, int frame_count, int frame_index,
                      const PixelBitmap& strip);
  void DrawStripFrame(fw::TCanvas& canvas, const RECT& rect, int frame_count, int frame_index,
                      const PixelBitmap& strip);
  void DrawStripFrame(OnSharedCanvas target, const RECT& rect, int frame_count, int frame_index,
                      const PixelBitmap& strip);
  // A caption centred vertically (one pixel above true centre) and horizontally for
  // DT_CENTER, otherwise aligned by format; in the button-shadow colour when disabled.
  static void DrawCaption(fw::TCanvas& canvas, const RECT& rect, UINT format, bool enabled,
                          const std::string& text);
  // An image of the list and a caption, placed left (0), centred (1) or right (2).
  void DrawImageCaption(fw::TCanvas& canvas, const RECT& rect, int alignment,
                        const std::string& text, int image_index, fw::TImageList* image_list);
  // The same with a bare image list (a common control's own, e.g. TCM_GETIMAGELIST).
  void DrawImageCaption(fw::TCanvas& canvas, const RECT& rect, int alignment,
                        const std::string& text, int image_index, HIMAGELIST image_list);

  // The owning form controller, or nullptr when the owner is something else.
  TSkinForm* OwnerForm() const;
  // The skin at the window's DPI (the form controller's), or the skin data's own.
  const SkinDefinition& Skin() const;
  bool Hot() const { return (FState & kStateHot) != 0; }
  bool Pressed() const { return (FState & kStatePressed) != 0; }
  // The window procedure or property in place of the control's own while attached.
  bool Hooked() const { return subclass_.Installed() || override_.Installed(); }

  // ---- state ----
  uint8_t FState = 0;
  fw::TCanvas* FCanvas = nullptr;
  bool FEnabled = false;
  bool FFocused = false;
  std::string FCaption;
  WNDPROC FWndProcInstance = nullptr;  // the stub AttachHandle put in GWL_WNDPROC
  WNDPROC FOldWndProc = nullptr;       // what it replaced
  TSkinData* FSkinData = nullptr;
  HWND FHandle = nullptr;
  fw::TWndMethod FOldWindowProc;  // the window-procedure property value replaced
  fw::TWinControl* FControl = nullptr;
  RECT FWindowRect{};
  fw::TGraphicControl* FGraphicControl = nullptr;
  bool FRecolor = false;
  fw::TColor FSavedColor = 0;
  bool FAttached = false;

  void Notification(fw::TComponent* component, fw::TOperation operation) override;

 protected:
  // The window text through WM_GETTEXT (at most 1000 characters).
  static std::string ReadCaption(HWND hwnd);
  COLORREF FaceColor() const;

 private:
  static LRESULT HandleEntry(void* self, HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam);
  void HookProperty(fw::TControl* control);
  fw::TComponent* NotifyTarget();

  fw::WindowSubclass subclass_;
  fw::WindowProcOverride override_;
  // What CallDefault passes on to after Detach ran inside a message (kept until the
  // skinner goes).
  fw::TWndMethod forward_method_;
  WNDPROC forward_proc_ = nullptr;
  bool graphic_gone_ = false;  // the windowless control is being freed
  bool recolored_ = false;     // the control's colour was switched and not yet given back
};

// The thread's focus window. Asking the system costs a round trip to the window server, so
// while a FocusSnapshot lives (a pass attaching a form's skinners, which moves no focus)
// the window read when it began is answered instead.
HWND FocusedWindow();
class FocusSnapshot {
 public:
  FocusSnapshot();
  ~FocusSnapshot();
  FocusSnapshot(const FocusSnapshot&) = delete;
  FocusSnapshot& operator=(const FocusSnapshot&) = delete;

 private:
  HWND focus_;
  FocusSnapshot* outer_;
};

// While one lives, the skinners attached in the pass do not invalidate their windows one by
// one (a round trip to the window server each): the batch invalidates the window it was
// given and all its descendants with one call when it ends, if anything was attached.
class InvalidationBatch {
 public:
  explicit InvalidationBatch(HWND root);
  ~InvalidationBatch();
  InvalidationBatch(const InvalidationBatch&) = delete;
  InvalidationBatch& operator=(const InvalidationBatch&) = delete;
  // True when a batch of this thread takes the invalidation of `control` on itself: the
  // control is the batch's window or lies inside it (found through the framework's
  // parents, which asks the system nothing).
  static bool Defer(fw::TWinControl* control);

 private:
  HWND root_;
  bool pending_ = false;
  InvalidationBatch* outer_;
};

// Makes skinners of a kind; the classification asks for one per decision. Kinds without
// a maker attach nothing (the classification is still recorded). The registry starts
// with the built-in families' makers (StandardSkinnerMakers).
using SkinnerMaker = TSkinControl* (*)(fw::TComponent* owner);
using SkinnerMakerTable = std::array<SkinnerMaker, static_cast<size_t>(SkinnerKind::Count)>;
inline size_t KindIndex(SkinnerKind kind) { return static_cast<size_t>(kind); }
// An element with a picture to draw.
inline bool HasImage(const TDataSkinObject* e) { return e && !e->Image.Empty(); }
// The nine-slice margins of an element.
inline Margins MarginsOf(const TDataSkinObject& e) {
  return {e.LeftWidth, e.TopHeight, e.RightWidth, e.BottomHeight};
}

// The maker of a skinner class: table[KindIndex(kind)] = &MakeSkinner<TSkinButton>.
template <class T>
TSkinControl* MakeSkinner(fw::TComponent* owner) {
  return new T(owner);
}
void RegisterSkinnerMaker(SkinnerKind kind, SkinnerMaker maker);  // nullptr removes
SkinnerMaker FindSkinnerMaker(SkinnerKind kind);
// Puts the built-in makers back (for tests that registered their own).
void RestoreStandardSkinnerMakers();

}  // namespace skin
