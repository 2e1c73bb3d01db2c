#pragma once
// Controls: TControl (position, text, font, colour, events, a replaceable window-procedure
// property), TGraphicControl (windowless, painted by its parent) and TWinControl (a window
// of a framework class).
//
// Messages reach a windowed control as follows: the window class's procedure (shared by all
// framework classes) finds the control, packs the message into a TMessage and calls the
// control's WindowProc property. By default that property is the control's own WndProc,
// which handles what the framework handles and passes the rest to DefaultHandler (the
// system class's procedure for superclassed controls, DefWindowProcA otherwise). A skinner
// saves WindowProc(), installs its own method with SetWindowProc, calls the saved one for
// what it does not handle, and puts it back when it lets go. Windowless controls get their
// messages from their parent through Perform, which goes through the same property.
//
// Window classes are registered under the framework class names ("TButton", "TEdit",
// "TForm1", ...), superclassing the system classes where a control wraps one.
//
// Notifications a parent receives for a child control (WM_COMMAND, WM_NOTIFY, WM_xSCROLL,
// WM_CTLCOLORxxx, WM_DRAWITEM, ...) are reflected to the child as CN_BASE + message.
// Exceptions escaping a handler are caught at the window procedure and shown by the
// application's standard error box.
#include <windows.h>

#include <string>
#include <vector>

#include "framework/component.h"
#include "framework/control_layout.h"
#include "framework/dpi_scale.h"
#include "framework/graphics.h"
#include "framework/scoped_handle.h"

namespace fw {

class TWinControl;
class TCustomForm;
class TPopupMenu;

// Framework notifications sent to controls (Perform).
constexpr UINT CM_BASE = 0xB000;
constexpr UINT CM_ACTIVATE = CM_BASE + 0;
constexpr UINT CM_DEACTIVATE = CM_BASE + 1;
constexpr UINT CM_DIALOGCHAR = CM_BASE + 6;  // wParam: a character that may be an accelerator
constexpr UINT CM_ENABLEDCHANGED = CM_BASE + 11;
constexpr UINT CM_COLORCHANGED = CM_BASE + 12;
constexpr UINT CM_FONTCHANGED = CM_BASE + 13;
constexpr UINT CM_PARENTCOLORCHANGED = CM_BASE + 15;
constexpr UINT CM_PARENTFONTCHANGED = CM_BASE + 16;
constexpr UINT CM_TEXTCHANGED = CM_BASE + 18;
constexpr UINT CM_MOUSEENTER = CM_BASE + 19;
constexpr UINT CM_MOUSELEAVE = CM_BASE + 20;
constexpr UINT CM_MENUCHANGED = CM_BASE + 21;
constexpr UINT CM_VISIBLECHANGED = CM_BASE + 23;
constexpr UINT CM_ENTER = CM_BASE + 26;
constexpr UINT CM_EXIT = CM_BASE + 27;
// Reflected notifications: CN_BASE + the parent's message (CN_COMMAND = 0xBD11, ...).
constexpr UINT CN_BASE = 0xBC00;
constexpr UINT CN_COMMAND = CN_BASE + WM_COMMAND;
constexpr UINT CN_NOTIFY = CN_BASE + WM_NOTIFY;
constexpr UINT CN_HSCROLL = CN_BASE + WM_HSCROLL;
constexpr UINT CN_VSCROLL = CN_BASE + WM_VSCROLL;
constexpr UINT CN_DRAWITEM = CN_BASE + WM_DRAWITEM;
constexpr UINT CN_MEASUREITEM = CN_BASE + WM_MEASUREITEM;
constexpr UINT CN_CTLCOLOREDIT = CN_BASE + WM_CTLCOLOREDIT;
constexpr UINT CN_CTLCOLORLISTBOX = CN_BASE + WM_CTLCOLORLISTBOX;
constexpr UINT CN_CTLCOLORBTN = CN_BASE + WM_CTLCOLORBTN;
constexpr UINT CN_CTLCOLORSTATIC = CN_BASE + WM_CTLCOLORSTATIC;
constexpr UINT CN_CTLCOLORSCROLLBAR = CN_BASE + WM_CTLCOLORSCROLLBAR;

// One window message as a window procedure property receives it; handlers set Result.
struct TMessage {
  UINT Msg = 0;
  WPARAM WParam = 0;
  LPARAM LParam = 0;
  LRESULT Result = 0;
};

// A method reference to a window procedure: an object and a member function, comparable
// and copyable, so it can be saved, replaced and given back.
//   saved_ = control->WindowProc();
//   control->SetWindowProc(TWndMethod::Of<&TMySkinner::SkinWndProc>(this));
//   ... saved_(message) ...
//   control->SetWindowProc(saved_);
class TWndMethod {
 public:
  TWndMethod() = default;
  template <auto Member, class C>
  static TWndMethod Of(C* object) {
    TWndMethod m;
    m.object_ = object;
    m.code_ = [](void* o, TMessage& message) { (static_cast<C*>(o)->*Member)(message); };
    return m;
  }
  void operator()(TMessage& message) const {
    if (code_) code_(object_, message);
  }
  explicit operator bool() const { return code_ != nullptr; }
  void* Object() const { return object_; }
  friend bool operator==(const TWndMethod& a, const TWndMethod& b) {
    return a.code_ == b.code_ && a.object_ == b.object_;
  }

 private:
  using Code = void (*)(void*, TMessage&);
  Code code_ = nullptr;
  void* object_ = nullptr;
};

using TKeyPressEvent = TEvent<void(TObject* sender, char& key)>;

// Modal results: what a button gives its form, what ShowModal answers.
constexpr int mrNone = 0, mrOk = 1, mrCancel = 2, mrAbort = 3, mrRetry = 4, mrIgnore = 5, mrYes = 6,
              mrNo = 7, mrAll = 8, mrClose = 11;

class TControl : public TComponent {
  FW_CLASS_INFO()
 public:
  explicit TControl(TComponent* owner);
  ~TControl() override;

  TWinControl* Parent() const { return parent_; }
  virtual void SetParent(TWinControl* parent);
  TComponent* ParentComponent() const override;
  void SetParentComponent(TComponent* parent) override;

  int Left() const { return left_; }
  int Top() const { return top_; }
  int Width() const { return width_; }
  int Height() const { return height_; }
  void SetLeft(int v) { SetBounds(v, top_, width_, height_); }
  void SetTop(int v) { SetBounds(left_, v, width_, height_); }
  void SetWidth(int v) { SetBounds(left_, top_, v, height_); }
  void SetHeight(int v) { SetBounds(left_, top_, width_, v); }
  virtual void SetBounds(int left, int top, int width, int height);
  RECT BoundsRect() const { return {left_, top_, left_ + width_, top_ + height_}; }
  virtual int ClientWidth() const { return width_; }
  virtual int ClientHeight() const { return height_; }
  virtual void SetClientWidth(int v) { SetWidth(v); }
  virtual void SetClientHeight(int v) { SetHeight(v); }
  RECT ClientRect() const { return {0, 0, ClientWidth(), ClientHeight()}; }
  // The edge of the parent's client area the control keeps to; the parent places it there
  // whenever its client size changes (see AlignControls in control_layout.h).
  TAlign Align() const { return align_; }
  void SetAlign(TAlign v);

  bool Visible() const { return visible_; }
  void SetVisible(bool visible);
  void Show() { SetVisible(true); }
  void Hide() { SetVisible(false); }
  bool Enabled() const { return enabled_; }
  virtual void SetEnabled(bool enabled);

  // The caption or text (8-bit ANSI).
  std::string Caption() const { return GetText(); }
  void SetCaption(const std::string& text) { SetText(text); }
  std::string Text() const { return GetText(); }
  void SetTextProperty(const std::string& text) { SetText(text); }
  virtual std::string GetText() const { return text_; }
  virtual void SetText(const std::string& text);

  TFont& Font() { return font_; }
  const TFont& Font() const { return font_; }
  void SetFont(const TFont& font) { font_.Assign(font); }
  bool ParentFont() const { return parent_font_; }
  void SetParentFont(bool v);
  TColor Color() const { return color_; }
  void SetColor(TColor color);
  bool ParentColor() const { return parent_color_; }
  void SetParentColor(bool v);

  // The window-procedure property (see the file comment).
  TWndMethod WindowProc() const { return window_proc_; }
  void SetWindowProc(TWndMethod method) { window_proc_ = method ? method : DefaultWindowProc(); }
  TWndMethod DefaultWindowProc() { return TWndMethod::Of<&TControl::WndProc>(this); }
  // Sends a message through WindowProc and returns its result.
  LRESULT Perform(UINT msg, WPARAM wparam = 0, LPARAM lparam = 0);

  // Fires OnClick.
  virtual void Click();
  virtual void Invalidate();
  void Repaint();

  // The form this control is on (the top-most parent that is a form), or nullptr.
  TCustomForm* ParentForm() const;

  // Takes the control's layout from one resolution to another: its bounds, then its own
  // font (one taken from the parent follows the parent's); windowed controls take their
  // children along. Lengths are scaled from where they were at the last unchanged scaling,
  // so changes back and forth do not drift.
  virtual void ChangeScale(int to_dpi, int from_dpi);

  // The context menu shown on a right click, Shift+F10 or the context-menu key.
  TPopupMenu* PopupMenu() const { return popup_menu_; }
  void SetPopupMenu(TPopupMenu* menu);
  void Notification(TComponent* component, TOperation operation) override;

  TNotifyEvent OnClick;

 protected:
  // The control's own message handling; the default window procedure.
  virtual void WndProc(TMessage& message);
  virtual void DefaultHandler(TMessage& message);
  virtual void FontChanged();
  virtual void ColorChanged();
  virtual void TextChanged() {}
  virtual void VisibleChanged();
  virtual void EnabledChanged();
  virtual void BoundsChanged() {}
  void ScaleBounds(int to_dpi, int from_dpi);
  void ScaleFont(int to_dpi, int from_dpi);
  // Called by a parent whose font or colour changed.
  void ParentFontChanged();
  void ParentColorChanged();

  TWinControl* parent_ = nullptr;
  int left_ = 0, top_ = 0, width_ = 0, height_ = 0;
  bool visible_ = true;
  bool enabled_ = true;
  TAlign align_ = alNone;
  std::string text_;
  TFont font_;
  bool parent_font_ = true;
  TColor color_ = clWindow;
  bool parent_color_ = false;

 private:
  friend class TWinControl;
  friend LRESULT CALLBACK FrameworkWindowProcedure(HWND, UINT, WPARAM, LPARAM);
  TWndMethod window_proc_;
  bool taking_parent_font_ = false;
  TPopupMenu* popup_menu_ = nullptr;
  struct DpiLayout {
    DpiLength left, top, width, height, font_height;
  } dpi_layout_;
};

// A control without a window: its parent paints it (WM_PAINT through Perform, with the
// parent's DC offset to the control's origin in wParam) and forwards mouse messages in
// the control's own coordinates.
class TGraphicControl : public TControl {
  FW_CLASS_INFO()
 public:
  explicit TGraphicControl(TComponent* owner);
  TCanvas& Canvas() { return canvas_; }
  void Invalidate() override;

 protected:
  void WndProc(TMessage& message) override;
  virtual void Paint() {}

 private:
  TCanvas canvas_;
  bool pressed_ = false;
};

// What CreateWnd passes to CreateWindowExA.
struct TCreateParams {
  std::string class_name;  // the framework class name, registered on first use
  std::string superclass;  // a system class to superclass ("BUTTON"), or empty
  DWORD style = 0;
  DWORD ex_style = 0;
  UINT class_style = CS_DBLCLKS;
  int x = 0, y = 0, width = 0, height = 0;
  HWND parent = nullptr;
};

class TWinControl : public TControl {
  FW_CLASS_INFO()
 public:
  explicit TWinControl(TComponent* owner);
  ~TWinControl() override;

  // The window, created (with the parent's) when first needed; throws EOSError on failure.
  HWND Handle();
  bool HandleAllocated() const { return handle_ != nullptr; }
  void HandleNeeded() { Handle(); }
  void DestroyHandle();

  // Child controls, windowed and windowless, in insertion order.
  int ControlCount() const { return static_cast<int>(controls_.size()); }
  TControl* Controls(int index) const { return controls_.at(static_cast<size_t>(index)); }
  const std::vector<TControl*>& ControlList() const { return controls_; }
  // The windowless child at a client point (the top-most), or nullptr.
  TControl* ControlAtPos(POINT point) const;

  int TabOrder() const { return tab_order_; }
  void SetTabOrder(int order) { tab_order_ = order; }
  bool TabStop() const { return tab_stop_; }
  void SetTabStop(bool v);
  bool CanFocus() const;
  bool Focused() const;
  void SetFocus();
  // Focus moves to the next (or previous) focusable control in tab order under this one.
  void SelectNext(TWinControl* current, bool forward);
  // Windowed children under this control that take focus, in tab order.
  std::vector<TWinControl*> TabList() const;

  std::string GetText() const override;
  void SetText(const std::string& text) override;
  void SetBounds(int left, int top, int width, int height) override;
  void Invalidate() override;
  // Puts the visible aligned children where their edges say, in the client area as it is
  // now: on every client size change, and when a child's alignment, bounds or visibility
  // changes or an aligned child leaves.
  void AlignControls();
  void Loaded() override;
  void ChangeScale(int to_dpi, int from_dpi) override;

  HBRUSH BrushHandle();

  TKeyPressEvent OnKeyPress;
  TNotifyEvent OnEnter;
  TNotifyEvent OnExit;

  // The framework control that owns a window, or nullptr.
  static TWinControl* FromHandle(HWND hwnd);

 protected:
  void WndProc(TMessage& message) override;
  void DefaultHandler(TMessage& message) override;
  virtual void CreateParams(TCreateParams& params);
  virtual void CreateWnd();
  // Makes the window itself (CreateWindowExA); MDI children ask their client instead.
  virtual HWND CreateWindowHandle(const TCreateParams& params, const std::string& caption);
  // Destroys the window itself (DestroyWindow); MDI children ask their client instead.
  virtual void DestroyWindowHandle(HWND hwnd);
  // After the window exists: font, text and children's windows.
  virtual void CreateHandleDone() {}
  // The window's own painting; controls painted by the framework override it.
  virtual void PaintWindow(HDC) {}
  // True for framework-drawn windows (forms, panels): erase and paint themselves.
  virtual bool PaintsItself() const { return superclass_proc_ == nullptr; }
  // WM_CHAR: OnKeyPress; returns false when the key was discarded.
  virtual bool DoKeyPress(char& key);
  void FontChanged() override;
  void ColorChanged() override;
  void VisibleChanged() override;
  void EnabledChanged() override;
  // Chooses the window position; forms centre themselves.
  virtual void AdjustCreateParams(TCreateParams&) {}
  // The children's layout, then the own font (ChangeScale without the own bounds).
  void ScaleContents(int to_dpi, int from_dpi);

 private:
  friend class TControl;
  friend LRESULT CALLBACK FrameworkWindowProcedure(HWND, UINT, WPARAM, LPARAM);
  void InsertControl(TControl* control);
  void RemoveControl(TControl* control);
  void AttachWindow(HWND hwnd);
  void DetachWindow();
  void PaintHandler(TMessage& message);
  void PaintControls(HDC dc);
  bool ReflectNotification(TMessage& message);
  bool ForwardMouse(TMessage& message);
  // WM_CONTEXTMENU: shows the popup menu of this control (or of the windowless child under
  // the point); false when there is none, so the message goes on.
  bool ContextPopup(TMessage& message);
  void TrackMouse(TMessage& message);

  HWND handle_ = nullptr;
  WNDPROC superclass_proc_ = nullptr;  // the system class's procedure, when superclassing
  std::vector<TControl*> controls_;
  int tab_order_ = -1;
  bool tab_stop_ = false;
  bool mouse_inside_ = false;
  bool aligning_ = false;
  TControl* mouse_capture_ = nullptr;  // windowless child that got the button press
  ScopedBrush brush_;
  TColor brush_color_ = clNone;
};

// A framework-drawn window with a canvas for painting (panels, group boxes).
class TCustomControl : public TWinControl {
  FW_CLASS_INFO()
 public:
  explicit TCustomControl(TComponent* owner);
  TCanvas& Canvas() { return canvas_; }

 protected:
  void PaintWindow(HDC dc) override;
  virtual void Paint() {}

 private:
  TCanvas canvas_;
};

// Enumeration and set names used by published properties.
extern const std::vector<std::string> kAlignmentNames;  // taLeftJustify, taRightJustify, taCenter

}  // namespace fw
