#pragma once
// Forms: top-level windows whose controls come from a stored description. The window class
// of a form is its class name ("TForm1"). A form's description is read from the RCDATA
// resource named after its class (ReadDescriptionResource) or from text.
#include <string_view>

#include "framework/controls.h"

namespace fw {

enum TFormBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
enum TBorderIcon : uint32_t { biSystemMenu = 1, biMinimize = 2, biMaximize = 4, biHelp = 8 };
enum TPosition {
  poDesigned,
  poDefault,
  poDefaultPosOnly,
  poDefaultSizeOnly,
  poScreenCenter,
  poDesktopCenter,
  poMainFormCenter,
  poOwnerFormCenter
};
enum TCloseAction { caNone, caHide, caFree, caMinimize };
// fsMDIForm: an MDI frame, whose client area is an MDI client window holding the MDI
// children; fsMDIChild: a window inside the MDI client of the application's MDI frame.
enum TFormStyle { fsNormal, fsMDIChild, fsMDIForm, fsStayOnTop };
enum TTileMode { tbHorizontal, tbVertical };
// Identifier of the first MDI child; the Window menu lists the children from it on.
constexpr UINT kFirstMdiChildId = 0xFF00;
using TCloseEvent = TEvent<void(TObject* sender, TCloseAction& action)>;

class TMainMenu;
class TMenuItem;

class TCustomForm : public TWinControl {
  FW_CLASS_INFO()
 public:
  explicit TCustomForm(TComponent* owner);
  ~TCustomForm() override;

  // Reads the description from the RCDATA resource named ClassName() in the program.
  void ReadDescriptionResource();
  void ReadDescription(std::string_view text);

  TFormBorderStyle BorderStyle() const { return border_style_; }
  void SetBorderStyle(TFormBorderStyle style);
  uint32_t BorderIcons() const { return border_icons_; }
  void SetBorderIcons(uint32_t icons);
  TPosition Position() const { return position_; }
  void SetPosition(TPosition position) { position_ = position; }
  int ClientWidth() const override;
  int ClientHeight() const override;
  void SetClientWidth(int width) override;
  void SetClientHeight(int height) override;
  // The resolution the form's layout is at: the one it was designed at (stored in the
  // description), and once a Scaled form has a window, the one of its monitor.
  int PixelsPerInch() const { return pixels_per_inch_; }
  void SetPixelsPerInch(int v) { pixels_per_inch_ = v; }
  // A Scaled form (the default) is laid out for its monitor's resolution when its window is
  // made and again whenever the window moves to another (WM_DPICHANGED); otherwise it
  // keeps the design pixels everywhere.
  bool Scaled() const { return scaled_; }
  void SetScaled(bool v) { scaled_ = v; }
  void ChangeScale(int to_dpi, int from_dpi) override;
  int TextHeight() const { return text_height_; }
  void SetTextHeight(int v) { text_height_ = v; }
  bool KeyPreview() const { return key_preview_; }
  void SetKeyPreview(bool v) { key_preview_ = v; }

  // The control that has (or gets, when the form is activated) the focus.
  TWinControl* ActiveControl() const { return active_control_; }
  void SetActiveControl(TWinControl* control);
  // A control of this form received the focus.
  void ActiveControlChanged(TWinControl* control) { active_control_ = control; }

  // The form's menu bar; put on the window when it exists, taken off before it goes.
  TMainMenu* Menu() const { return menu_; }
  void SetMenu(TMainMenu* menu);
  // A key press that is a shortcut of the menu clicks its item; true then.
  bool IsShortCut(WPARAM key);

  // ---- MDI ----
  TFormStyle FormStyle() const { return form_style_; }
  // Takes effect when the window is made (set it in the description or before).
  void SetFormStyle(TFormStyle style);
  // The drop-down of the frame's menu under which the MDI client lists the children.
  TMenuItem* WindowMenu() const { return window_menu_; }
  void SetWindowMenu(TMenuItem* item);
  // The MDI client window of an MDI frame (made with the frame's window), or nullptr.
  HWND ClientHandle() const { return client_handle_; }
  TTileMode TileMode() const { return tile_mode_; }
  void SetTileMode(TTileMode mode) { tile_mode_ = mode; }
  // The frame's MDI children in the client's order (top first), and the active one.
  int MDIChildCount() const;
  TCustomForm* MDIChildren(int index) const;
  TCustomForm* ActiveMDIChild() const;
  // Arrangements of the children: side by side (TileMode), overlapping, minimised icons
  // in a row; and activating the next or the previous child (Ctrl+F6, Ctrl+Shift+F6).
  void Tile();
  void Cascade();
  void ArrangeIcons();
  void Next();
  void Previous();
  // The MDI frame a child of this style goes into: the owner when it is an MDI frame,
  // else the application's main form when it is one, else the application's first.
  TCustomForm* MdiFrame() const;

  void Show();
  void Close();
  // Shows the form with the application's other forms disabled and handles messages until
  // ModalResult is set (by a button with a modal result, or mrCancel when the form is
  // closed); then hides it and answers the result (mrNone when the application quits).
  int ShowModal();
  int ModalResult() const { return modal_result_; }
  void SetModalResult(int v) { modal_result_ = v; }
  bool Modal() const { return modal_; }
  void BringToFront();

  TNotifyEvent OnCreate;
  TNotifyEvent OnShow;
  TNotifyEvent OnDestroy;
  TCloseEvent OnClose;

  void Loaded() override;
  void Notification(TComponent* component, TOperation operation) override;

 protected:
  void CreateParams(TCreateParams& params) override;
  void AdjustCreateParams(TCreateParams& params) override;
  void WndProc(TMessage& message) override;
  void VisibleChanged() override;
  void CreateHandleDone() override;
  void CreateWnd() override;
  HWND CreateWindowHandle(const TCreateParams& params, const std::string& caption) override;
  void DestroyWindowHandle(HWND hwnd) override;
  void DefaultHandler(TMessage& message) override;

 private:
  void ClientSizeToWindow();
  // Scales a Scaled form's new window to its monitor's resolution (keeping its frame).
  void ScaleToWindowDpi();
  // The window went to a monitor of another resolution; `suggested` is where it goes.
  void DpiChanged(int dpi, const RECT& suggested);
  void CreateMdiClient();
  // Puts the menu on the window: SetMenu, or WM_MDISETMENU for an MDI frame.
  void ShowMenuOnWindow();
  TFormStyle form_style_ = fsNormal;
  TMenuItem* window_menu_ = nullptr;
  HWND client_handle_ = nullptr;
  TTileMode tile_mode_ = tbHorizontal;
  TFormBorderStyle border_style_ = bsSizeable;
  uint32_t border_icons_ = biSystemMenu | biMinimize | biMaximize;
  TPosition position_ = poDefaultPosOnly;
  int client_width_ = -1, client_height_ = -1;  // requested before the window exists
  int pixels_per_inch_ = kDesignDpi;
  bool scaled_ = true;
  int text_height_ = 13;
  bool key_preview_ = false;
  TWinControl* active_control_ = nullptr;
  int modal_result_ = 0;
  bool modal_ = false;
  TMainMenu* menu_ = nullptr;
};

class TForm : public TCustomForm {
  FW_CLASS_INFO()
 public:
  explicit TForm(TComponent* owner) : TCustomForm(owner) {}
};

extern const std::vector<std::string> kBorderStyleNames;
extern const std::vector<std::string> kBorderIconNames;
extern const std::vector<std::string> kPositionNames;
extern const std::vector<std::string> kFormStyleNames;
extern const std::vector<std::string> kTileModeNames;

}  // namespace fw
