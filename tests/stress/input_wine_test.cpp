// Real input is never lost on skinned controls: a thousand characters typed as fast as
// SendInput delivers them into a skinned edit, and two hundred quick clicks on a skinned
// button, all arrive, exactly as on the same window without a skin.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/gallery/gallery_form.h"
#include "tests/stress/stress_support.h"
#include "tests/support/fw_test.h"

namespace {

constexpr int kCharacters = 1000;
constexpr int kClicks = 200;

class InputTest : public fwtest::ApplicationTest, public testing::WithParamInterface<bool> {
 protected:
  void SetUp() override {
    ApplicationTest::SetUp();
    form_ = App().CreateForm(&GalleryForm);
    form_->Show();
    fwtest::PumpFor(150);
    if (!GetParam()) {
      form_->UseNoSkin();
      fwtest::PumpFor(400);
    }
    SetForegroundWindow(form_->Handle());
    fwtest::PumpFor(50);
  }
  void TearDown() override {
    fwtest::PumpFor(300);
    GalleryForm = nullptr;
    ApplicationTest::TearDown();
  }
  void ShowPage(const char* name) {
    auto* page = dynamic_cast<fw::TTabSheet*>(form_->FindComponent(name));
    ASSERT_NE(page, nullptr);
    form_->PageControl1->SetActivePage(page);
    stress::RepaintAll(form_->Handle());
  }
  TGalleryForm* form_ = nullptr;
};

std::string TextOf(HWND hwnd) {
  std::vector<char> buffer(size_t(GetWindowTextLengthA(hwnd)) + 1);
  GetWindowTextA(hwnd, buffer.data(), int(buffer.size()));
  return buffer.data();
}

TEST_P(InputTest, ThousandTypedCharactersAllArrive) {
  ShowPage("EditsSheet");
  auto* edit = dynamic_cast<fw::TEdit*>(form_->FindComponent("Edit1"));
  ASSERT_NE(edit, nullptr);
  SetWindowTextA(edit->Handle(), "");
  SendMessageA(edit->Handle(), EM_SETLIMITTEXT, 0, 0);
  edit->SetFocus();
  fwtest::PumpFor(30);
  ASSERT_EQ(GetFocus(), edit->Handle());
  // Letters and digits, pressed and released, fifty keys per SendInput call.
  std::string expected;
  std::vector<INPUT> batch;
  for (int i = 0; i < kCharacters; ++i) {
    const int k = i % 36;
    const WORD vk = WORD(k < 26 ? 'A' + k : '0' + (k - 26));
    expected += char(k < 26 ? 'a' + k : '0' + (k - 26));
    INPUT down{}, up{};
    down.type = up.type = INPUT_KEYBOARD;
    down.ki.wVk = up.ki.wVk = vk;
    up.ki.dwFlags = KEYEVENTF_KEYUP;
    batch.push_back(down);
    batch.push_back(up);
    if (batch.size() == 100 || i == kCharacters - 1) {
      ASSERT_EQ(SendInput(UINT(batch.size()), batch.data(), sizeof(INPUT)), batch.size());
      batch.clear();
      // Dispatch a little between bursts, as a busy program does.
      MSG msg;
      while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
      }
    }
  }
  fwtest::PumpUntil([&] { return int(TextOf(edit->Handle()).size()) >= kCharacters; }, 10000);
  fwtest::PumpFor(50);
  EXPECT_EQ(TextOf(edit->Handle()), expected);
}

TEST_P(InputTest, TwoHundredQuickClicksAllArrive) {
  ShowPage("ButtonsSheet");
  auto* button = dynamic_cast<fw::TButton*>(form_->FindComponent("Button1"));
  ASSERT_NE(button, nullptr);
  const int before = form_->Clicks();
  POINT centre{button->Width() / 2, button->Height() / 2};
  ClientToScreen(button->Handle(), &centre);
  SetCursorPos(centre.x, centre.y);
  fwtest::PumpFor(30);
  // Ten clicks per SendInput call, dispatching between calls: faster than any user.
  for (int i = 0; i < kClicks; i += 10) {
    INPUT inputs[20] = {};
    for (int k = 0; k < 20; ++k) {
      inputs[k].type = INPUT_MOUSE;
      inputs[k].mi.dwFlags = k % 2 ? MOUSEEVENTF_LEFTUP : MOUSEEVENTF_LEFTDOWN;
    }
    ASSERT_EQ(SendInput(20, inputs, sizeof(INPUT)), 20u);
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
  }
  fwtest::PumpUntil([&] { return form_->Clicks() - before >= kClicks; }, 10000);
  fwtest::PumpFor(50);
  EXPECT_EQ(form_->Clicks() - before, kClicks);
}

INSTANTIATE_TEST_SUITE_P(SkinnedAndPlain, InputTest, testing::Bool(),
                         [](const testing::TestParamInfo<bool>& info) {
                           return info.param ? std::string("Skinned") : std::string("Unskinned");
                         });

}  // namespace
