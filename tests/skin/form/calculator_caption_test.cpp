// The calculator form skinned as the program starts it: its caption shows exactly the
// buttons its styles allow.
#include <gtest/gtest.h>

#include <vector>

#include "app/main_form.h"
#include "framework/application.h"
#include "skin/data/skin_data.h"
#include "skin/form/caption_buttons.h"
#include "skin/form/skin_form.h"
#include "skin/manager/skin_manager.h"
#include "tests/support/fw_test.h"

namespace {

class CalculatorCaptionTest : public fwtest::ApplicationTest {
 protected:
  void SetUp() override {
    skin::FreeSkinManager();
    ApplicationTest::SetUp();
  }
  void TearDown() override {
    ApplicationTest::TearDown();
    skin::FreeSkinManager();
  }
};

TEST_F(CalculatorCaptionTest, OnlyCloseAndIconShowNoMaximizeOrMinimize) {
  App().Initialize();
  TForm1* form = nullptr;
  App().CreateForm(&form);
  ASSERT_NE(form, nullptr);
  form->Show();
  skin::TSkinForm* controller = nullptr;
  ASSERT_TRUE(fwtest::PumpUntil(
      [&] {
        controller = skin::SkinFormOfWindow(form->Handle());
        return controller && controller->LifeState == skin::LifeReady;
      },
      5000));
  fwtest::PumpFor(200);
  EXPECT_EQ(controller->CaptionIcons & (skin::kIconMaximize | skin::kIconMinimize), 0);
  controller->LayoutCaptionButtons();
  std::vector<int> actions;
  for (skin::TWinSysButton* b : controller->CaptionButtons)
    if (b->Visible) actions.push_back(b->Element->Action);
  EXPECT_EQ(actions, (std::vector<int>{0, 3}));
  // The system answers no maximize or minimize button anywhere on the caption.
  RECT w{};
  GetWindowRect(form->Handle(), &w);
  for (int x = w.left; x < w.right; x += 2) {
    const LRESULT hit = SendMessageA(form->Handle(), WM_NCHITTEST, 0,
                                     MAKELPARAM(x, w.top + controller->BorderTop / 2));
    EXPECT_NE(hit, HTMAXBUTTON) << x;
    EXPECT_NE(hit, HTMINBUTTON) << x;
  }
  delete form;
}

}  // namespace
