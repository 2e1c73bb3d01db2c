// A form with a full menu, declared in a description: a main menu of several drop-downs
// (a sub-menu, checked and radio items, images, shortcuts, a disabled item, separators, a
// default item) and a popup menu, skinned with the calculator's skin. Every kind of item is
// drawn by the skinned drawing when its drop-down opens. With MENU_SCREENSHOT set to a
// path, the open drop-down is saved there as a BMP for a person to look at.
#include <windows.h>

#include <cstdlib>
#include <fstream>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "framework/forms.h"
#include "framework/image_list.h"
#include "framework/menus.h"
#include "framework/std_controls.h"
#include "skin/data/skin_data.h"
#include "skin/form/skin_form.h"
#include "skin/manager/element_painting.h"
#include "skin/manager/menu_bar.h"
#include "skin/manager/popup_menu.h"
#include "skin/manager/skin_manager.h"
#include "skin/store/bmp_codec.h"
#include "tests/support/fw_test.h"
#include "tests/support/window_pixels.h"
#include "tests/support/menu_driver.h"

namespace {

class TMenuTestForm : public fw::TForm {
  FW_CLASS_INFO()
 public:
  explicit TMenuTestForm(fw::TComponent* owner) : TForm(owner) {}
  void Clicked(fw::TObject* sender) { clicks.push_back(static_cast<fw::TMenuItem*>(sender)); }
  fw::TMainMenu* MainMenu1 = nullptr;
  fw::TPopupMenu* PopupMenu1 = nullptr;
  fw::TMenuItem* File1 = nullptr;
  std::vector<fw::TMenuItem*> clicks;
};

const fw::TClassInfo& TMenuTestForm::StaticClassInfo() {
  static const fw::TClassInfo info =
      fw::DescribeClass<TMenuTestForm, fw::TForm>("TMenuTestForm", [](auto& c) {
        c.Field("MainMenu1", &TMenuTestForm::MainMenu1);
        c.Field("PopupMenu1", &TMenuTestForm::PopupMenu1);
        c.Field("File1", &TMenuTestForm::File1);
        c.Method("Clicked", &TMenuTestForm::Clicked);
      });
  return info;
}

constexpr const char* kForm = R"(
object MenuTestForm: TMenuTestForm
  Left = 160
  Top = 140
  ClientWidth = 420
  ClientHeight = 240
  Caption = 'Menu test'
  Menu = MainMenu1
  PopupMenu = PopupMenu1
  object MainMenu1: TMainMenu
    object File1: TMenuItem
      Caption = '&File'
      object New1: TMenuItem
        Caption = '&New'
        ShortCut = 16462
        ImageIndex = 0
        Default = True
        OnClick = Clicked
      end
      object Open1: TMenuItem
        Caption = '&Open...'
        ShortCut = 16463
        ImageIndex = 1
      end
      object Recent1: TMenuItem
        Caption = '&Recent'
        object One1: TMenuItem
          Caption = 'one.txt'
        end
        object Two1: TMenuItem
          Caption = 'two.txt'
        end
      end
      object N1: TMenuItem
        Caption = '-'
      end
      object Print1: TMenuItem
        Caption = '&Print'
        Enabled = False
      end
      object N2: TMenuItem
        Caption = '-'
      end
      object Exit1: TMenuItem
        Caption = 'E&xit'
        ShortCut = 32883
      end
    end
    object View1: TMenuItem
      Caption = '&View'
      object Toolbar1: TMenuItem
        Caption = '&Toolbar'
        Checked = True
        AutoCheck = True
      end
      object Status1: TMenuItem
        Caption = '&Status bar'
        Checked = True
        ImageIndex = 2
      end
      object N3: TMenuItem
        Caption = '-'
      end
      object Small1: TMenuItem
        Caption = '&Small'
        RadioItem = True
        Checked = True
      end
      object Large1: TMenuItem
        Caption = '&Large'
        RadioItem = True
      end
    end
    object Help1: TMenuItem
      Caption = '&Help'
      object About1: TMenuItem
        Caption = '&About'
        ShortCut = 112
      end
    end
  end
  object PopupMenu1: TPopupMenu
    object Cut1: TMenuItem
      Caption = 'Cu&t'
      ShortCut = 16472
    end
    object Copy1: TMenuItem
      Caption = '&Copy'
      ShortCut = 16451
    end
  end
end
)";

void DrawGlyphs(fw::TBitmap& strip) {
  strip.SetPixelFormat(fw::pf24bit);
  strip.SetSize(48, 16);
  const fw::TColor colours[] = {fw::clNavy, fw::clGreen, fw::clMaroon};
  for (int i = 0; i < 3; ++i) {
    strip.Canvas().Brush().SetColor(fw::clFuchsia);
    strip.Canvas().FillRect({i * 16, 0, i * 16 + 16, 16});
    strip.Canvas().Brush().SetColor(colours[i]);
    strip.Canvas().FillRect({i * 16 + 3, 3, i * 16 + 13, 13});
  }
}

void SaveScreen(const RECT& r, const char* path) {
  const std::vector<uint8_t> bytes = skin::EncodeBmp(fwtest::ReadScreenPixels(r));
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

class MenuTestFormTest : public fwtest::ApplicationTest {
 protected:
  void SetUp() override {
    ApplicationTest::SetUp();
    fw::RegisterComponentClass(TMenuTestForm::StaticClassInfo());
    data_ = new skin::TSkinData(nullptr);
    data_->SetSkinFile(std::string(SKIN_PACKAGE_DIR) + "/metallic.skn");
    ASSERT_FALSE(data_->NoSkinLoaded);
    skin::TSkinManage* manager = skin::CreateSkinManager();
    manager->AddSkinData(data_);
    manager->InstallHook();
    manager->Active = true;
    images_ = std::make_unique<fw::TImageList>(16, 16);
    fw::TBitmap glyphs;
    DrawGlyphs(glyphs);
    images_->AddMasked(glyphs, fw::clFuchsia);
    form_ = new TMenuTestForm(&App());
    form_->ReadDescription(kForm);
    form_->MainMenu1->SetImages(images_.get());
    form_->Show();
    SetForegroundWindow(form_->Handle());
    fwtest::PumpUntil(
        [&] {
          controller_ = skin::SkinFormOfWindow(form_->Handle());
          return controller_ && controller_->LifeState == skin::LifeReady;
        },
        3000);
    ASSERT_NE(controller_, nullptr);
    ASSERT_NE(controller_->MenuBar, nullptr);
    RedrawWindow(form_->Handle(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
    fwtest::PumpFor(50);
  }
  void TearDown() override {
    delete form_;
    images_.reset();
    skin::SkinManager->RemoveSkinData(data_);
    skin::FreeSkinManager();
    delete data_;
    ApplicationTest::TearDown();
  }
  skin::TSkinData* data_ = nullptr;
  std::unique_ptr<fw::TImageList> images_;
  TMenuTestForm* form_ = nullptr;
  skin::TSkinForm* controller_ = nullptr;
};

TEST_F(MenuTestFormTest, EveryItemOfTheOpenDropDownIsDrawnWithTheSkin) {
  skin::TSkinMenuBar& bar = *controller_->MenuBar;
  ASSERT_EQ(bar.ButtonCount(), 3);
  RECT window;
  GetWindowRect(form_->Handle(), &window);
  const RECT& b = bar.Button(0)->Bounds;
  HBITMAP frame = nullptr;
  HMENU learned = nullptr;
  RECT menu_rect{};
  {
    fwtest::MenuDriver driver({[](HWND) {},
                               [&](HWND menu) {
                                 for (skin::TSkinPopupMenu* p : skin::SkinManager->Popups) {
                                   if (p->Window() != menu) continue;
                                   frame = p->FrameBitmap();
                                   learned = p->Menu();
                                 }
                                 GetWindowRect(menu, &menu_rect);
                                 RECT shot{window.left, window.top,
                                           std::max(window.right, menu_rect.right),
                                           std::max(window.bottom, menu_rect.bottom)};
                                 if (const char* path = std::getenv("MENU_SCREENSHOT"))
                                   SaveScreen(shot, path);
                               },
                               [](HWND) { fwtest::TapKey(VK_ESCAPE); }},
                              150, 3000);
    fwtest::ClickAt(window.left + (b.left + b.right) / 2, window.top + (b.top + b.bottom) / 2);
    fwtest::PumpUntil([&] { return driver.Finished(); }, 6000);
  }
  EXPECT_NE(frame, nullptr);
  EXPECT_EQ(learned, form_->File1->Handle());
  EXPECT_GT(menu_rect.bottom - menu_rect.top, 7 * 12);
  // Every entry of the drop-down and of its sub-menu was switched to owner drawing.
  for (HMENU m : {form_->File1->Handle(), form_->File1->Items(2)->Handle()}) {
    for (int i = 0; i < GetMenuItemCount(m); ++i) {
      MENUITEMINFOA mii{};
      mii.cbSize = sizeof mii;
      mii.fMask = MIIM_FTYPE;
      GetMenuItemInfoA(m, UINT(i), TRUE, &mii);
      EXPECT_TRUE(mii.fType & MFT_OWNERDRAW) << i;
    }
  }
  EXPECT_TRUE(skin::SkinManager->Popups.empty());
}

}  // namespace
