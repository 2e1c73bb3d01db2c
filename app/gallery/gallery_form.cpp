#include "app/gallery/gallery_form.h"

#include <commdlg.h>

#include <cstring>

#include "app/gallery/mdi_forms.h"
#include "framework/application.h"

TGalleryForm* GalleryForm = nullptr;

namespace {

// Posted to the form so that its window is made again outside the click that asked for it
// (the clicked check box is one of the windows that go).
constexpr UINT kRecreateMessage = WM_APP + 1;

std::vector<uint8_t> ResourceBytes(const char* name) {
  HMODULE module = GetModuleHandleA(nullptr);
  HRSRC resource = FindResourceA(module, name, MAKEINTRESOURCEA(10) /*RT_RCDATA*/);
  if (!resource) return {};
  HGLOBAL loaded = LoadResource(module, resource);
  const void* data = loaded ? LockResource(loaded) : nullptr;
  const DWORD size = SizeofResource(module, resource);
  if (!data || size == 0) return {};
  std::vector<uint8_t> bytes(size);
  std::memcpy(bytes.data(), data, size);
  return bytes;
}

}  // namespace

const fw::TClassInfo& TGalleryForm::StaticClassInfo() {
  static const fw::TClassInfo info =
      fw::DescribeClass<TGalleryForm, fw::TForm>("TGalleryForm", [](auto& c) {
        c.Field("SkinLabel", &TGalleryForm::SkinLabel);
        c.Field("MetallicButton", &TGalleryForm::MetallicButton);
        c.Field("DarkButton", &TGalleryForm::DarkButton);
        c.Field("SkinFileButton", &TGalleryForm::SkinFileButton);
        c.Field("NoSkinButton", &TGalleryForm::NoSkinButton);
        c.Field("MessageButton", &TGalleryForm::MessageButton);
        c.Field("DialogButton", &TGalleryForm::DialogButton);
        c.Field("RightToLeftCheck", &TGalleryForm::RightToLeftCheck);
        c.Field("PageControl1", &TGalleryForm::PageControl1);
        c.Field("BitBtnGlyph", &TGalleryForm::BitBtnGlyph);
        c.Field("BitBtnRight", &TGalleryForm::BitBtnRight);
        c.Field("SpeedLeft", &TGalleryForm::SpeedLeft);
        c.Field("SpeedCentre", &TGalleryForm::SpeedCentre);
        c.Field("SpeedRight", &TGalleryForm::SpeedRight);
        c.Field("ClickLabel", &TGalleryForm::ClickLabel);
        c.Field("ScrollBarH", &TGalleryForm::ScrollBarH);
        c.Field("ScrollBarV", &TGalleryForm::ScrollBarV);
        c.Field("ScrollLabel", &TGalleryForm::ScrollLabel);
        c.Field("ProgressBar1", &TGalleryForm::ProgressBar1);
        c.Field("TrackBar1", &TGalleryForm::TrackBar1);
        c.Field("Panel1", &TGalleryForm::Panel1);
        c.Field("StatusBar1", &TGalleryForm::StatusBar1);
        c.Field("SkinPanel", &TGalleryForm::SkinPanel);
        c.Field("PagePanel", &TGalleryForm::PagePanel);
        c.Field("SkinData1", &TGalleryForm::SkinData1);
        c.Field("MainMenu1", &TGalleryForm::MainMenu1);
        c.Field("RightToLeftItem", &TGalleryForm::RightToLeftItem);
        c.Field("PopupMenu1", &TGalleryForm::PopupMenu1);
        c.Method("GalleryFormCreate", &TGalleryForm::GalleryFormCreate);
        c.Method("MetallicButtonClick", &TGalleryForm::MetallicButtonClick);
        c.Method("DarkButtonClick", &TGalleryForm::DarkButtonClick);
        c.Method("SkinFileButtonClick", &TGalleryForm::SkinFileButtonClick);
        c.Method("NoSkinButtonClick", &TGalleryForm::NoSkinButtonClick);
        c.Method("MessageButtonClick", &TGalleryForm::MessageButtonClick);
        c.Method("DialogButtonClick", &TGalleryForm::DialogButtonClick);
        c.Method("RightToLeftCheckClick", &TGalleryForm::RightToLeftCheckClick);
        c.Method("RightToLeftItemClick", &TGalleryForm::RightToLeftItemClick);
        c.Method("PageControl1Change", &TGalleryForm::PageControl1Change);
        c.Method("CountClick", &TGalleryForm::CountClick);
        c.Method("ScrollBarHChange", &TGalleryForm::ScrollBarHChange);
        c.Method("TrackBar1Change", &TGalleryForm::TrackBar1Change);
        c.Method("MdiItemClick", &TGalleryForm::MdiItemClick);
        c.Method("NextPageItemClick", &TGalleryForm::NextPageItemClick);
      });
  return info;
}

TGalleryForm::TGalleryForm(fw::TComponent* owner) : fw::TForm(owner) {
  skin::RegisterSkinDataClass();
}

TGalleryForm::~TGalleryForm() {
  // The MDI window is drawn with this form's skin data: it goes first.
  delete mdi_window_;
  mdi_window_ = nullptr;
}

void TGalleryForm::Notification(fw::TComponent* component, fw::TOperation operation) {
  fw::TForm::Notification(component, operation);
  if (operation == fw::opRemove && component == mdi_window_) mdi_window_ = nullptr;
}

void DrawGalleryGlyph(fw::TBitmap& bitmap, int size, fw::TColor colour, int shape) {
  bitmap.SetPixelFormat(fw::pf24bit);
  bitmap.SetSize(2 * size, size);
  fw::TCanvas& c = bitmap.Canvas();
  c.Brush().SetColor(fw::clFuchsia);  // the bottom-left pixel: transparent
  c.FillRect({0, 0, 2 * size, size});
  for (int picture = 0; picture < 2; ++picture) {
    const int x = picture * size;
    c.Brush().SetColor(picture == 0 ? colour : fw::clGray);
    c.Pen().SetColor(picture == 0 ? fw::clBlack : fw::clSilver);
    const int m = size / 5;
    fw::ScopedSelectObject brush(c.Handle(), c.Brush().Handle());
    fw::ScopedSelectObject pen(c.Handle(), c.Pen().Handle());
    switch (shape % 3) {
      case 0:
        Ellipse(c.Handle(), x + m, m, x + size - m, size - m);
        break;
      case 1:
        Rectangle(c.Handle(), x + m, m, x + size - m, size - m);
        break;
      default: {
        POINT triangle[3] = {{x + size / 2, m}, {x + size - m, size - m}, {x + m, size - m}};
        Polygon(c.Handle(), triangle, 3);
        break;
      }
    }
  }
}

void TGalleryForm::GalleryFormCreate(fw::TObject*) {
  DrawGalleryGlyph(BitBtnGlyph->Glyph(), 20, fw::clYellow, 0);
  BitBtnGlyph->GlyphChanged();
  DrawGalleryGlyph(BitBtnRight->Glyph(), 16, fw::clAqua, 1);
  BitBtnRight->GlyphChanged();
  fw::TSpeedButton* speed[] = {SpeedLeft, SpeedCentre, SpeedRight};
  const fw::TColor colours[] = {fw::clRed, fw::clLime, fw::clBlue};
  for (int i = 0; i < 3; ++i) {
    DrawGalleryGlyph(speed[i]->Glyph(), 16, colours[i], i);
    speed[i]->GlyphChanged();
  }
}

void TGalleryForm::ShowSkinName(const std::string& name) {
  if (SkinPanel) SkinPanel->SetText("Skin: " + name);
}

bool TGalleryForm::UseBuiltInSkin(const char* resource, const std::string& name) {
  std::vector<uint8_t> bytes = ResourceBytes(resource);
  if (bytes.empty()) return false;
  SkinData1->SetStoreBytes(std::move(bytes));
  if (!SkinData1->LoadFromStore()) return false;
  if (SkinData1->Active()) {
    SkinData1->ApplyNewSkin();
  } else {
    SkinData1->SetActive(true);
  }
  ShowSkinName(name);
  return true;
}

bool TGalleryForm::UseSkinFile(const std::string& path) {
  const bool was_active = SkinData1->Active();
  SkinData1->SetSkinFile(path);  // reads, loads and applies the file's skin
  if (SkinData1->NoSkinLoaded) return false;
  if (!was_active) SkinData1->SetActive(true);
  const size_t slash = path.find_last_of("\\/");
  ShowSkinName(slash == std::string::npos ? path : path.substr(slash + 1));
  return true;
}

void TGalleryForm::UseNoSkin() {
  SkinData1->SetActive(false);
  ShowSkinName("none");
}

void TGalleryForm::MetallicButtonClick(fw::TObject*) {
  UseBuiltInSkin(kMetallicSkinResource, "metallic");
}

void TGalleryForm::DarkButtonClick(fw::TObject*) { UseBuiltInSkin(kDarkSkinResource, "dark"); }

void TGalleryForm::SkinFileButtonClick(fw::TObject*) {
  char path[MAX_PATH] = {};
  OPENFILENAMEA ofn{};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = Handle();
  ofn.lpstrFilter = "Skin files (*.skn)\0*.skn\0All files (*.*)\0*.*\0";
  ofn.lpstrFile = path;
  ofn.nMaxFile = sizeof path;
  ofn.lpstrTitle = "Choose a skin file";
  ofn.Flags = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY;
  if (!GetOpenFileNameA(&ofn)) return;
  if (!UseSkinFile(path))
    fw::Application()->MessageBox(std::string("No skin could be read from ") + path);
}

void TGalleryForm::NoSkinButtonClick(fw::TObject*) { UseNoSkin(); }

void TGalleryForm::MessageButtonClick(fw::TObject*) {
  fw::Application()->MessageBox("A message box, drawn with the form's skin.", "Gallery",
                                MB_OK | MB_ICONINFORMATION);
}

void TGalleryForm::DialogButtonClick(fw::TObject*) {
  static COLORREF custom[16] = {};
  CHOOSECOLORA cc{};
  cc.lStructSize = sizeof cc;
  cc.hwndOwner = Handle();
  cc.rgbResult = fw::ColorToRGB(Panel1->Color());
  cc.lpCustColors = custom;
  cc.Flags = CC_RGBINIT;
  if (ChooseColorA(&cc)) Panel1->SetColor(static_cast<fw::TColor>(cc.rgbResult));
}

void TGalleryForm::RightToLeftCheckClick(fw::TObject*) {
  if (RightToLeftCheck->Checked() != right_to_left_) PostMessageA(Handle(), kRecreateMessage, 0, 0);
}

void TGalleryForm::NextPageItemClick(fw::TObject*) {
  const int count = PageControl1->PageCount();
  if (count > 0) PageControl1->SetActivePageIndex((PageControl1->ActivePageIndex() + 1) % count);
}

void TGalleryForm::RightToLeftItemClick(fw::TObject*) {
  RightToLeftCheck->SetChecked(!right_to_left_);
  PostMessageA(Handle(), kRecreateMessage, 0, 0);
}

void TGalleryForm::SetRightToLeft(bool v) {
  if (v == right_to_left_) return;
  right_to_left_ = v;
  RightToLeftCheck->SetChecked(v);
  if (RightToLeftItem) RightToLeftItem->SetChecked(v);
  if (!HandleAllocated()) return;
  const bool visible = Visible();
  DestroyHandle();
  HandleNeeded();
  if (visible) {
    ShowWindow(Handle(), SW_SHOW);
    BringToFront();
  }
}

void TGalleryForm::CreateParams(fw::TCreateParams& params) {
  fw::TForm::CreateParams(params);
  // Children of a mirrored window are mirrored too.
  if (right_to_left_) params.ex_style |= WS_EX_LAYOUTRTL;
}

void TGalleryForm::WndProc(fw::TMessage& message) {
  if (message.Msg == kRecreateMessage) {
    SetRightToLeft(RightToLeftCheck->Checked());
    message.Result = 0;
    return;
  }
  fw::TForm::WndProc(message);
}

void TGalleryForm::PageControl1Change(fw::TObject*) {
  if (fw::TTabSheet* page = PageControl1->ActivePage(); page && PagePanel)
    PagePanel->SetText(page->Caption());
}

void TGalleryForm::CountClick(fw::TObject*) {
  ++clicks_;
  ClickLabel->SetCaption("Clicks: " + std::to_string(clicks_));
}

void TGalleryForm::ScrollBarHChange(fw::TObject* sender) {
  auto* bar = static_cast<fw::TScrollBar*>(sender);
  ScrollLabel->SetCaption("Position: " + std::to_string(bar->Position()));
}

void TGalleryForm::TrackBar1Change(fw::TObject*) {
  ProgressBar1->SetPosition(TrackBar1->Position());
}

void TGalleryForm::MdiItemClick(fw::TObject*) { ShowMdiWindow(); }

TMdiFrameForm* TGalleryForm::ShowMdiWindow() {
  if (!mdi_window_) {
    // Owned by the application, so the skin manager finds it among its forms; the gallery's
    // skin data skins it and its children.
    fw::TComponent* owner = fw::Application();
    auto* frame = new TMdiFrameForm(owner ? owner : this);
    try {
      frame->ReadDescriptionResource();
    } catch (...) {
      delete frame;
      throw;
    }
    mdi_window_ = frame;
    frame->FreeNotification(this);
  }
  mdi_window_->Show();
  return mdi_window_;
}
