#pragma once
// TSkinForm: the skinned-form controller of one top-level window. It replaces the system's
// border, title bar, caption buttons and menu bar with pictures cut from the skin's
// border, title and caption-button elements, keeps the client area the size it was,
// shapes the window with a region where the border pictures are transparent, and gives
// everything back when skinning ends. It owns the window's control skinners, its menu bar,
// its caption buttons and its skinned system menu.
//
// The controller's operations live in several files, by what they do:
//   skin_form.cpp          construction, attach and detach, metrics, painting, region
//   form_messages.cpp      the window procedures (FrameWindowProc, FormWindowProc)
//   caption_buttons.cpp    caption buttons, their mouse handling and the system menu
//   control_discovery.cpp  the walk over child controls and their classification
//   mdi_client.cpp         the MDI client of an MDI frame (MdiClientWindowProc)
// The pure geometry (client rectangle, hit test, caption text placement, fitting) is in
// frame_geometry.h and is tested without a window.
//
// Lifetime: a controller is freed by the manager (unskin, a skin data's end, the purge
// after its window's end), and that may happen inside any loop that runs below one of its
// methods: the old window procedure, the system menu, a menu-bar drop-down. The
// controller, its menu bar, caption buttons, system menu and skinners follow the rule of
// framework/lifetime.h: each method checks its watches after such a call.
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "framework/component.h"
#include "framework/controls.h"
#include "framework/graphics.h"
#include "framework/lifetime.h"
#include "framework/scoped_handle.h"
#include "framework/timer.h"
#include "framework/window_subclass.h"
#include "skin/form/control_discovery.h"
#include "skin/form/frame_geometry.h"

namespace fw {
class TCustomForm;
}

namespace skin {

class TSkinData;
class TSkinControl;
class TSkinMenuBar;
class TNCObject;
class TWinSysButton;
class TSkinSystemMenu;

// Private messages of the skinned frame.
constexpr UINT WM_SKINREAPPLY = 0x3401;
constexpr UINT WM_SKINREPAINT = 0x3502;

enum TMdiKind : uint8_t { MdiNone = 0, MdiFrame = 1, MdiChild = 2 };
enum TFrameKind : uint8_t { FrameEdged = 0, FrameNone = 2, FramePlain = 3 };
enum TShowState : uint8_t { ShowNormal = 0, ShowMaximized = 1, ShowMinimized = 2 };
enum TLifeState : int32_t {
  LifeAttached = 0,
  LifeReady = 1,
  LifeReskinning = 3,
  LifeClosing = 4,
  LifeFitting = 5,
  LifeClosed = 6
};
// CaptionIcons bits.
constexpr uint8_t kIconMaximize = 1;
constexpr uint8_t kIconMinimize = 2;
constexpr uint8_t kIconSystemMenu = 8;

// Which frame strip a border piece is cut from.
enum TStripSide : int { StripLeft = 1, StripRight = 2, StripTop = 3, StripBottom = 4 };

class TSkinForm : public fw::TComponent, public fw::Watchable {
  FW_CLASS_INFO()

 public:
  explicit TSkinForm(fw::TComponent* owner);
  ~TSkinForm() override;

  // ---- attach and detach (skin_form.cpp) ----
  void AttachToForm(TSkinData* data, fw::TCustomForm* form);
  void AttachToWindow(TSkinData* data);
  void DetachAndRestore();
  void DetachQuietly();
  void DetachPlain();
  void Notification(fw::TComponent* component, fw::TOperation operation) override;

  // ---- frame (skin_form.cpp) ----
  void LoadFrameMetrics();
  void ClearCaptionButtons();
  void ReapplySkin();
  void SetCaptionStyles(bool on);
  void RecalcFrame();
  // Resizes the window so that its client keeps its size inside the skin's frame. `redraw`
  // false leaves all repainting to the caller, which must invalidate the whole window.
  void FitWindowToFrame(bool refresh_client, bool redraw = true);
  void PaintFrame(HDC dc);
  void PaintBorderPiece(TStripSide side, const RECT& rect, HDC dc);
  void PaintTitleBar(HDC dc);
  void PaintTitleText(HDC dc, const RECT& title);
  // Builds the window region for the window's size and sets it. `redraw` false is for
  // callers that repaint the whole window themselves right after: under Wine a region set
  // with a redraw costs a round of frame messages and a repaint of its own (about ten times
  // the region's making), and at attach and skin switch that repaint came twice.
  void UpdateWindowRegion(bool redraw = true);
  void RemoveWindowRegion();
  void UpdateShowState();
  void LoadCaptionFont();
  void LoadWindowIcon();
  // The frame metrics as one value (the geometry functions take it).
  FrameMetrics Metrics() const;
  bool FrameSkinned() const;  // xcMainMenu is in the skin data's SkinControls
  bool Subclassed() const { return frame_subclass_.Installed(); }
  // The form's popup menus switched to the skinned item drawing, or back (menu seam).
  void SkinFormPopupMenus(bool on);
  // Alt+key for the skinned menu bar: opens the drop-down whose caption has the key as its
  // accelerator; false when there is none. Framework forms get the key as their dialog
  // char; for other windows the engine's message hook or the key-menu command calls this.
  bool OpenMenuByKey(char key);

  // ---- control skinners (control_discovery.cpp) ----
  bool RegisterSkinner(TSkinControl* skinner);
  TSkinControl* FindSkinnerByHandle(HWND hwnd) const;
  void FreeSkinners();
  // Classifies every component owned by the container and attaches its skinner.
  void SkinFormControls(fw::TComponent* container);
  // For windows without a form object (message boxes, common dialogs).
  void SkinChildWindows();
  // True when the child is a container to walk into (ChildWindowClassification).
  bool SkinChildWindow(HWND child);
  // A skinner serves the component already, or it waits for its window on a preview form.
  bool IsAlreadySkinned(fw::TComponent* component) const;
  // Carries out the Skin3rd mapping of the class (upper-case name); true when a mapping
  // line decided, whether or not a skinner was made.
  bool ApplyMappedKind(const std::string& upper_name, fw::TComponent* component);
  // Does what a classification says for the component: property and colour changes, the
  // children's skinners, the component's own skinner, the walk into what it owns.
  void CarryOutClassification(const Classification& decision, fw::TComponent* component);
  // A new skinner of the kind, attached as `mode` says; nullptr when the kind has no
  // maker or the component cannot take it.
  TSkinControl* AttachSkinner(SkinnerKind kind, AttachMode mode, fw::TComponent* component,
                              bool recolor, bool listed, bool handle_thumb_drag);
  // Every decision the walks made, in order (what each control got, and by which row).
  std::vector<ClassifiedControl> Classified;
  // Controls drawn on the skin's face colour whose text had the default colour take the
  // skin's text colour (again after a skin change); RestoreTextColours gives back what each
  // had, unless the application changed it meanwhile.
  void ApplyTextColours();
  // A child's text drawn on the skin's face: transparent, in the skin's text colour.
  void PrepareFaceText(HDC dc);
  void RestoreTextColours();
  struct TextColourRecord {
    fw::TControl* control;
    fw::TColor saved;
    bool saved_parent_font;
    fw::TColor applied;
    // Text on a background of its own (an edit's window colour): it keeps its colour, held
    // against the parent font's new colour.
    bool own_background = false;
  };
  std::vector<TextColourRecord> TextColours;

  // ---- caption buttons and system menu (caption_buttons.cpp) ----
  void BuildCaptionButtons();
  bool EvaluateButtonVisibility(int index);
  void LayoutCaptionButtons();
  void DrawCaptionButtons(HDC dc);
  void DrawCaptionButton(TWinSysButton* button, int state);
  TWinSysButton* CaptionButtonAt(POINT window_point) const;
  POINT ScreenToFramePoint(POINT screen_point) const;
  void RunCaptionAction(int screen_x, int screen_y);
  void ToggleMaximize();
  void ToggleMinimize();
  void RestoreWindow();
  void MdiChildCommand(UINT command);
  bool ActiveMdiChildMaximized() const;
  void BuildSystemPopup();
  HMENU NativeSystemMenuHandle();  // the window's own system menu, made on first use
  // Shows the window menu; `by_button` for a click on the system-menu button, the only
  // click whose double closes the window.
  void ShowSystemMenu(POINT screen_point, bool by_button);
  // The hover timer runs only while a frame object or a formless window's skinner is hot:
  // it notices the pointer leaving without a mouse message. It stops itself when nothing
  // is left to watch, so an idle window keeps no timer.
  void HoverPoll();
  void WatchHover();
  // Makes `skinner` the hot control (or none) and watches for the pointer leaving it.
  void SetHotSkinner(TSkinControl* skinner);
  // WM_NCMOUSEMOVE, WM_NCLBUTTONDOWN, WM_NCLBUTTONUP, WM_NCLBUTTONDBLCLK, WM_NCRBUTTONDOWN:
  // true when handled (the message then does not reach the old procedure).
  bool HandleNcMouse(fw::TMessage& message);
  // The caption button action under a window point as a hit-test code (HTCLOSE,
  // HTMAXBUTTON, HTMINBUTTON) or 0.
  LRESULT CaptionButtonHitCode(POINT window_point) const;

  // ---- window procedures (form_messages.cpp) ----
  LRESULT FrameWindowProc(UINT msg, WPARAM wparam, LPARAM lparam);
  void FormWindowProc(fw::TMessage& message);
  LRESULT CallDefault(UINT msg, WPARAM wparam, LPARAM lparam);
  // ---- the MDI client of an MDI frame (mdi_client.cpp) ----
  LRESULT MdiClientWindowProc(UINT msg, WPARAM wparam, LPARAM lparam);
  bool MdiClientHooked() const { return mdi_client_subclass_.Installed(); }

  // The caption font, or the default GUI font when the system gave none.
  HFONT CaptionFontHandle() const;
  // The title element's caption text geometry with this window's direction and style.
  CaptionTextLayout TextLayout() const;

  // ---- scale (skin_form.cpp) ----
  // The skin at this window's DPI: the skin data itself at 96 DPI, else its scaled copy.
  // Everything the frame and its skinners draw or measure is read from here.
  const SkinDefinition& Skin() const;
  // Takes `dpi` as the window's scale (the skin scaled to it); the caller refreshes.
  void UseDpi(int dpi);
  // A length of the system's metrics (given at the system DPI) at this window's DPI.
  int SystemLength(int value) const;
  // WM_DPICHANGED: the new scale for the frame, the skinners and the menu bar; the window
  // takes the suggested rectangle (the form's own handler places it, for other windows
  // the frame does) and the frame is rebuilt there.
  void ChangeDpi(int dpi, const RECT* suggested);

  // ---- state ----
  HWND Handle = nullptr;
  fw::TCustomForm* Form = nullptr;
  TSkinData* SkinData = nullptr;
  int Dpi = 96;
  std::shared_ptr<const SkinDefinition> ScaledSkin;  // empty at 96 DPI
  std::unique_ptr<fw::TTimer> HoverTimer;
  fw::ScopedFont CaptionFont;  // empty when the system gave no caption font
  std::string CaptionPrefix = "  ";
  std::string CaptionText;
  std::string ClassName;
  bool SavedMenuUpdate = true;
  RECT ClientRect{};
  DWORD LastSysMenuClick = 0;
  int DoubleClickTime = 0;
  int BlankWidth = 0;
  int BorderLeft = 0, BorderTop = 0, BorderRight = 0, BorderBottom = 0;
  RECT WindowRect{};
  RECT TitleTextRect{};
  RECT SystemFrameSize{};
  int MenuHeight = 0;
  // Rows the client grew by when the native menu bar was taken away before skinning began.
  int RemovedMenuHeight = 0;
  bool PopupPending = false;
  bool RightToLeft = false;
  bool Sizeable = false;
  std::unique_ptr<TSkinSystemMenu> SystemPopup;
  HWND MdiClientWindow = nullptr;
  HWND NewMdiChild = nullptr;
  HMENU NativeMenu = nullptr;
  HMENU NativeSystemMenu = nullptr;
  HMENU TrackedMenu = nullptr;
  fw::TColor SavedFormColor = fw::clBtnFace;
  DWORD Style = 0;
  int RightButtonsEdge = 0;
  TNCObject* HotObject = nullptr;
  // The object a left press in the non-client area began on; only its own release runs it.
  TNCObject* PressedObject = nullptr;
  bool RegionApplied = false;
  HRGN WindowRegion = nullptr;  // owned by the window once applied; never deleted here
  fw::TCanvas Canvas1, Canvas2;
  std::unique_ptr<TSkinMenuBar> MenuBar;
  std::vector<TWinSysButton*> CaptionButtons;
  fw::TBitmap IconBitmap;
  fw::TBitmap TitleCache;
  std::vector<TSkinControl*> Skinners;
  int WindowWidth = 0, WindowHeight = 0;
  int RegionWidth = 0, RegionHeight = 0;
  bool IsActive = true;
  TMdiKind MdiKind = MdiNone;
  TFrameKind FrameKind = FramePlain;
  uint8_t CaptionIcons = 0;
  TShowState ShowState = ShowNormal;
  TLifeState LifeState = LifeAttached;
  TSkinControl* HotSkinner = nullptr;

 private:
  static LRESULT FrameProcEntry(void* self, HWND, UINT msg, WPARAM wparam, LPARAM lparam);
  void FindMdiClient();
  void HookMdiClient();
  static LRESULT MdiClientProcEntry(void* self, HWND, UINT msg, WPARAM wparam, LPARAM lparam);
  void ComputeKinds();
  void StartSkinning();  // WM_SKINSTART
  void UnhookMdiClient();
  void RestoreFormWindowProc();
  LRESULT OnSize(UINT msg, WPARAM wparam, LPARAM lparam);
  void OnGetMinMaxInfo(LPARAM lparam);
  bool OnSysCommand(WPARAM wparam, LPARAM lparam);
  LRESULT OnNcCalcSize(WPARAM wparam, LPARAM lparam);
  LRESULT OnNcHitTest(LPARAM lparam);
  LRESULT OnNcPaint(WPARAM wparam);
  LRESULT OnNcActivate(WPARAM wparam);
  bool IsMdiChildNotNormal() const { return MdiKind == MdiChild && ShowState != ShowNormal; }

  fw::WindowSubclass frame_subclass_;
  fw::WindowProcOverride form_proc_;
  fw::WindowSubclass mdi_client_subclass_;
};

// The manager's Forms entry for a window, or nullptr (for tests and the skinners).
TSkinForm* SkinFormOfWindow(HWND hwnd);

}  // namespace skin
