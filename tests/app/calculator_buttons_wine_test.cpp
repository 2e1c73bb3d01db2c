// The calculator's three buttons, skinned as the program skins them, driven by real mouse
// and keyboard input: each click computes once, Enter on a focused button computes once,
// and an empty input still answers with its one message box.
#include <windows.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

#include "app/calculator.h"
#include "app/main_form.h"
#include "framework/application.h"
#include "skin/controls/button_skinners.h"
#include "skin/form/skin_form.h"
#include "skin/manager/skin_manager.h"
#include "tests/support/fw_test.h"

namespace {

using testing::ElementsAre;

std::string AnsiText(HWND hwnd) {
  char buffer[512] = {};
  GetWindowTextA(hwnd, buffer, sizeof buffer);
  return buffer;
}

class CalculatorButtonsTest : public fwtest::ApplicationTest {
 protected:
  void SetUp() override {
    ApplicationTest::SetUp();
    App().Initialize();
    App().SetTitle(calc::gbk::kTitle);
    App().CreateForm(&Form1);
    form_ = Form1;
    form_->Show();
    fwtest::PumpUntil([&] {
      controller_ = skin::SkinManager ? skin::SkinManager->FindForm(form_->Handle()) : nullptr;
      return controller_ && controller_->LifeState == skin::LifeReady;
    });
    SetForegroundWindow(form_->Handle());
    fwtest::PumpFor(60);
    // Count the clicks that reach the form's handlers.
    for (fw::TButton* b : {form_->Button1, form_->Button2, form_->Button3}) {
      auto handler = b->OnClick;
      b->OnClick = [this, handler](fw::TObject* sender) {
        ++clicks_;
        handler(sender);
      };
    }
  }
  void TearDown() override {
    delete form_;
    Form1 = nullptr;
    ApplicationTest::TearDown();
  }
  skin::TSkinButton* SkinnerOf(fw::TButton* button) {
    if (!controller_) return nullptr;
    for (skin::TSkinControl* s : controller_->Skinners)
      if (s->FControl == button) return dynamic_cast<skin::TSkinButton*>(s);
    return nullptr;
  }
  void Type(fw::TEdit* edit, const char* text) {
    for (const char* c = text; *c; ++c)
      SendMessageA(edit->Handle(), WM_CHAR, static_cast<unsigned char>(*c), 1);
  }
  void ClickOn(fw::TButton* button) {
    RECT r{};
    GetClientRect(button->Handle(), &r);
    fwtest::ClickAt(button->Handle(), {r.right / 2, r.bottom / 2});
  }

  TForm1* form_ = nullptr;
  skin::TSkinForm* controller_ = nullptr;
  int clicks_ = 0;
};

TEST_F(CalculatorButtonsTest, RealClicksAndEnterComputeOnceEach) {
  for (fw::TButton* b : {form_->Button1, form_->Button2, form_->Button3})
    ASSERT_NE(SkinnerOf(b), nullptr) << b->Name();
  Type(form_->Edit1, "5");
  ClickOn(form_->Button1);
  EXPECT_EQ(clicks_, 1);
  EXPECT_EQ(AnsiText(form_->Memo1->Handle()), "5!= 120");
  Type(form_->Edit2, "5");
  Type(form_->Edit3, "2");
  ClickOn(form_->Button3);
  EXPECT_EQ(clicks_, 2);
  EXPECT_EQ(AnsiText(form_->Memo2->Handle()), "C(5,2)= 10");
  // The button keeps the focus the click gave it: Enter computes once more.
  EXPECT_EQ(GetFocus(), form_->Button3->Handle());
  fwtest::PressKey(VK_RETURN);
  EXPECT_EQ(clicks_, 3);
  // Space too.
  form_->Button2->SetFocus();
  fwtest::PumpFor(30);
  fwtest::PressKey(VK_SPACE);
  EXPECT_EQ(clicks_, 4);
  EXPECT_EQ(AnsiText(form_->Memo2->Handle()), "P(5,2)= 20");
}

TEST_F(CalculatorButtonsTest, AnEmptyInputStillGivesItsOneMessage) {
  fwtest::MessageBoxRecorder boxes;
  ClickOn(form_->Button1);
  fwtest::PumpUntil([&] { return !boxes.Boxes().empty(); }, 2000);
  fwtest::PumpFor(100);
  EXPECT_EQ(clicks_, 1);
  EXPECT_EQ(boxes.Boxes().size(), 1u);
  EXPECT_EQ(AnsiText(form_->Memo1->Handle()), "");
}

}  // namespace
