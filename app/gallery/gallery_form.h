// The gallery's form: every kind of framework control on the pages of a page control, under
// its own skin data component, with buttons, a main menu and a popup menu that switch
// between the built-in skins, a skin file, and no skin.
#pragma once

#include <string>

#include "framework/buttons.h"
#include "framework/comctrls.h"
#include "framework/date_time_picker.h"
#include "framework/ext_ctrls.h"
#include "framework/forms.h"
#include "framework/list_view.h"
#include "framework/menus.h"
#include "framework/rich_edit.h"
#include "framework/std_controls.h"
#include "framework/tool_bar.h"
#include "skin/data/skin_data.h"

class TMdiFrameForm;

// The built-in skins, embedded as RCDATA resources.
inline constexpr const char* kMetallicSkinResource = "SKIN_METALLIC";
inline constexpr const char* kDarkSkinResource = "SKIN_DARK";

class TGalleryForm : public fw::TForm {
  FW_CLASS_INFO()
 public:
  explicit TGalleryForm(fw::TComponent* owner);
  ~TGalleryForm() override;
  void Notification(fw::TComponent* component, fw::TOperation operation) override;

  // Loads a built-in skin by resource name into SkinData1 and applies it; false when the
  // program has no such resource or the package holds no skin.
  bool UseBuiltInSkin(const char* resource, const std::string& name);
  // Loads a skin file; false when it holds no skin.
  bool UseSkinFile(const std::string& path);
  void UseNoSkin();
  // Mirrors the form (and everything on it) for right-to-left reading; the window is made
  // again with the mirrored layout.
  void SetRightToLeft(bool v);
  bool RightToLeft() const { return right_to_left_; }
  int Clicks() const { return clicks_; }

  fw::TLabel* SkinLabel = nullptr;
  fw::TButton* MetallicButton = nullptr;
  fw::TButton* DarkButton = nullptr;
  fw::TButton* SkinFileButton = nullptr;
  fw::TButton* NoSkinButton = nullptr;
  fw::TButton* MessageButton = nullptr;
  fw::TButton* DialogButton = nullptr;
  fw::TCheckBox* RightToLeftCheck = nullptr;
  fw::TPageControl* PageControl1 = nullptr;
  fw::TBitBtn* BitBtnGlyph = nullptr;
  fw::TBitBtn* BitBtnRight = nullptr;
  fw::TSpeedButton* SpeedLeft = nullptr;
  fw::TSpeedButton* SpeedCentre = nullptr;
  fw::TSpeedButton* SpeedRight = nullptr;
  fw::TLabel* ClickLabel = nullptr;
  fw::TScrollBar* ScrollBarH = nullptr;
  fw::TScrollBar* ScrollBarV = nullptr;
  fw::TLabel* ScrollLabel = nullptr;
  fw::TProgressBar* ProgressBar1 = nullptr;
  fw::TTrackBar* TrackBar1 = nullptr;
  fw::TPanel* Panel1 = nullptr;
  fw::TStatusBar* StatusBar1 = nullptr;
  fw::TStatusPanel* SkinPanel = nullptr;
  fw::TStatusPanel* PagePanel = nullptr;
  skin::TSkinData* SkinData1 = nullptr;
  fw::TMainMenu* MainMenu1 = nullptr;
  fw::TMenuItem* RightToLeftItem = nullptr;
  fw::TPopupMenu* PopupMenu1 = nullptr;

  void GalleryFormCreate(fw::TObject* sender);
  void MetallicButtonClick(fw::TObject* sender);
  void DarkButtonClick(fw::TObject* sender);
  void SkinFileButtonClick(fw::TObject* sender);
  void NoSkinButtonClick(fw::TObject* sender);
  void MessageButtonClick(fw::TObject* sender);
  void DialogButtonClick(fw::TObject* sender);
  void RightToLeftCheckClick(fw::TObject* sender);
  void RightToLeftItemClick(fw::TObject* sender);
  // The menu bar's top-level command item: the page after the active one.
  void NextPageItemClick(fw::TObject* sender);
  void PageControl1Change(fw::TObject* sender);
  void CountClick(fw::TObject* sender);
  void ScrollBarHChange(fw::TObject* sender);
  void TrackBar1Change(fw::TObject* sender);
  void MdiItemClick(fw::TObject* sender);
  // The MDI window, made the first time it is asked for; shown.
  TMdiFrameForm* ShowMdiWindow();
  TMdiFrameForm* MdiWindow() const { return mdi_window_; }

 protected:
  void CreateParams(fw::TCreateParams& params) override;
  void WndProc(fw::TMessage& message) override;

 private:
  void ShowSkinName(const std::string& name);
  bool right_to_left_ = false;
  TMdiFrameForm* mdi_window_ = nullptr;  // owned by the application
  int clicks_ = 0;
};

// Draws the gallery's glyphs: two pictures side by side (up and disabled) of the given size.
void DrawGalleryGlyph(fw::TBitmap& bitmap, int size, fw::TColor colour, int shape);

extern TGalleryForm* GalleryForm;
