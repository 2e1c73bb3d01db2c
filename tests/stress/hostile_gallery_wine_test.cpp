// Hundreds of hostile skins loaded one after another into the gallery form: each is
// applied, every page is shown and painted, the popup menu is opened and closed, a message
// box is shown, a button is clicked with real input and the window is resized. Nothing may
// crash, every click must arrive, and once the form is back on its own skin every handle
// count is where it started.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "app/gallery/gallery_form.h"
#include "skin/manager/skin_manager.h"
#include "tests/stress/hostile_skins.h"
#include "tests/stress/stress_support.h"
#include "tests/support/fw_test.h"
#include "tests/support/menu_driver.h"

namespace {

int SkinCount() {
  const char* text = std::getenv("STRESS_HOSTILE_SKINS");
  const int n = text ? std::atoi(text) : 0;
  return n > 0 ? n : 200;
}

class HostileGalleryTest : public fwtest::ApplicationTest {
 protected:
  void SetUp() override {
    ApplicationTest::SetUp();
    form_ = App().CreateForm(&GalleryForm);
    form_->Show();
    fwtest::PumpFor(150);
  }
  void TearDown() override {
    GalleryForm = nullptr;
    ApplicationTest::TearDown();
  }
  void ShowEveryPage() {
    fw::TPageControl* pages = form_->PageControl1;
    for (int i = pages->PageCount() - 1; i >= 0; --i) {
      pages->SetActivePage(pages->Pages(i));
      stress::RepaintAll(form_->Handle());
      ASSERT_EQ(pages->ActivePage(), pages->Pages(i));
      ASSERT_TRUE(IsWindowVisible(pages->Pages(i)->Handle()));
    }
  }
  void OpenAndCloseThePopupMenu() {
    fwtest::MenuDriver driver(
        {[](HWND) { fwtest::TapKey(VK_DOWN); }, [](HWND) { fwtest::TapKey(VK_ESCAPE); }}, 15, 1500);
    form_->PopupMenu1->Popup(200, 200);
    EXPECT_FALSE(driver.MenusSeen().empty());
    EXPECT_TRUE(fwtest::VisibleMenuWindows().empty());
  }
  TGalleryForm* form_ = nullptr;
};

TEST_F(HostileGalleryTest, EverySkinPaintsEveryPageAndTheFormStaysUsable) {
  const int skins = SkinCount();
  fw::TButton* button = dynamic_cast<fw::TButton*>(form_->FindComponent("Button1"));
  ASSERT_NE(button, nullptr);
  int clicks = form_->Clicks();
  // Everything the form is put through on each skin.
  DWORD phase[4] = {};
  auto round = [&] {
    DWORD t = GetTickCount();
    ShowEveryPage();
    phase[0] += GetTickCount() - t;
    t = GetTickCount();
    if (HasFatalFailure()) return;
    {
      fwtest::MessageBoxRecorder boxes;
      App().MessageBox("A message box on a hostile skin.", "Hostile");
      ASSERT_EQ(boxes.Boxes().size(), 1u);
      EXPECT_EQ(boxes.Boxes()[0].caption, "Hostile");
    }
    phase[1] += GetTickCount() - t;
    t = GetTickCount();
    OpenAndCloseThePopupMenu();
    phase[2] += GetTickCount() - t;
    t = GetTickCount();
    // The first page holds the button; a real click must reach it.
    form_->PageControl1->SetActivePage(form_->PageControl1->Pages(0));
    fwtest::ClickAt(button->Handle(), {10, 10});
    ++clicks;
    phase[3] += GetTickCount() - t;
    RECT window{}, target{};
    GetWindowRect(form_->Handle(), &window);
    GetWindowRect(button->Handle(), &target);
    ASSERT_EQ(form_->Clicks(), clicks)
        << "window " << window.left << "," << window.top << " - " << window.right << ","
        << window.bottom << ", button at " << target.left << "," << target.top;
  };
  // One round unskinned, one on a hostile skin and one on the form's own first, so that
  // what the engine and the framework make once (scratch bitmaps, glyphs, the menus'
  // windows, the image lists of the bitmap buttons' glyphs, which paint themselves where a
  // skin has no button picture) is counted in the start values.
  form_->UseNoSkin();
  stress::RunPendingNow();
  round();
  ASSERT_TRUE(stress::ApplyPackage(*form_->SkinData1, stress::HostileSkinPackage(9999)));
  round();
  ASSERT_TRUE(form_->UseBuiltInSkin(kMetallicSkinResource, "metallic"));
  stress::RunPendingNow();
  round();
  if (HasFatalFailure()) return;
  const fw::HandleSnapshot start = fwtest::QuietHandleSnapshot();
  const DWORD t0 = GetTickCount();

  for (int seed = 0; seed < skins; ++seed) {
    SCOPED_TRACE("seed " + std::to_string(seed));
    // A few skins carry the huge bitmap; the others stay quick to load.
    ASSERT_TRUE(stress::ApplyPackage(*form_->SkinData1,
                                     stress::HostileSkinPackage(uint32_t(seed), seed % 50 == 7)));
    ASSERT_TRUE(IsWindow(form_->Handle()));
    if (seed % 3 == 0) {
      // Resizing makes the frame, its region and the caption buttons anew.
      form_->SetBounds(40 + seed % 7, 30, 560 + seed % 90, 420 + seed % 60);
    }
    round();
    if (HasFatalFailure()) return;
  }
  RecordProperty("hostile_skins", skins);
  RecordProperty("hostile_ms", static_cast<int>(GetTickCount() - t0));
  std::printf("%d hostile skins in %lu ms (pages %lu, message boxes %lu, menus %lu, clicks %lu)\n",
              skins, GetTickCount() - t0, phase[0], phase[1], phase[2], phase[3]);

  form_->SetBounds(40, 30, 560, 420);
  ASSERT_TRUE(form_->UseBuiltInSkin(kMetallicSkinResource, "metallic"));
  stress::RunPendingNow();
  round();
  EXPECT_EQ(fwtest::SettledHandleDifference(start), "");
  EXPECT_TRUE(stress::ClientShowsSomething(form_->PageControl1->ActivePage()->Handle()));
  fwtest::PumpFor(300);
}

}  // namespace
