// The calculator's edit boxes keep their own context menu, and on the skinned calculator it
// opens skinned: a real right click shows a menu window whose border is the skin's
// "MenuBackground", and a thousand openings leave no popup skinner and no handle behind.
#include <windows.h>

#include <gtest/gtest.h>

#include "app/calculator.h"
#include "app/main_form.h"
#include "framework/application.h"
#include "framework/handle_counts.h"
#include "framework/window_subclass.h"
#include "skin/data/skin_data.h"
#include "skin/manager/element_compose.h"
#include "skin/manager/element_painting.h"
#include "skin/manager/menu_item_layout.h"
#include "skin/manager/skin_manager.h"
#include "tests/support/fw_test.h"
#include "tests/support/menu_driver.h"

namespace {

skin::PixelBitmap WindowPixels(HWND window) {
  RECT r;
  GetWindowRect(window, &r);
  const int w = r.right - r.left, h = r.bottom - r.top;
  skin::DibSection dib = skin::CreateDibSection(w, h);
  fw::ScopedMemoryDc dc(CreateCompatibleDC(nullptr));
  {
    fw::ScopedSelectObject select(dc.get(), dib.bitmap.get());
    fw::ScopedGetDc window_dc = fw::ScopedGetDc::Window(window);
    BitBlt(dc.get(), 0, 0, w, h, window_dc.get(), 0, 0, SRCCOPY);
  }
  GdiFlush();
  return skin::ReadDibPixels(dib);
}

LRESULT CALLBACK EndMenuFilter(int code, WPARAM wparam, LPARAM lparam) {
  if (code == MSGF_MENU) EndMenu();
  return CallNextHookEx(nullptr, code, wparam, lparam);
}

class CalculatorMenusTest : public fwtest::ApplicationTest {
 protected:
  void SetUp() override {
    ApplicationTest::SetUp();
    App().Initialize();
    App().SetTitle(calc::gbk::kTitle);
    App().CreateForm(&Form1);
    Form1->Show();
    SetForegroundWindow(Form1->Handle());
    fwtest::PumpFor(400);  // the manager attaches on activation and starts on its message
  }
  void TearDown() override {
    delete Form1;
    Form1 = nullptr;
    ApplicationTest::TearDown();
  }
};

TEST_F(CalculatorMenusTest, RightClickOnAnEditBoxOpensItsMenuSkinned) {
  ASSERT_NE(skin::SkinManager, nullptr);
  const skin::TDataSkinObject* background = Form1->SkinData1->MenuBackground.get();
  ASSERT_NE(background, nullptr);
  RECT edit;
  GetWindowRect(Form1->Edit1->Handle(), &edit);
  int differences = -1;
  bool queried = false;
  {
    fwtest::MenuDriver driver(
        {[&](HWND menu) {
           queried = SendMessageA(menu, skin::WM_SKINQUERY, 0, 0) == 1;
           const skin::PixelBitmap px = WindowPixels(menu);
           const skin::PixelBitmap expected = skin::ComposeElement(
               skin::PixelRect{0, 0, px.Width(), px.Height()}, background->Image,
               {background->LeftWidth, background->TopHeight, background->RightWidth,
                background->BottomHeight},
               1, 1, background->Tile != 0, false);
           differences = 0;
           for (const skin::PixelRect& piece : skin::PopupBorderRing(px.Width(), px.Height()))
             for (int y = piece.top; y < piece.bottom; ++y)
               for (int x = piece.left; x < piece.right; ++x)
                 differences += (px.Pixel(x, y) & 0xFFFFFF) != (expected.Pixel(x, y) & 0xFFFFFF);
         },
         [](HWND) { fwtest::TapKey(VK_ESCAPE); }});
    fwtest::ClickAt(edit.left + 10, (edit.top + edit.bottom) / 2, true);
    fwtest::PumpUntil([&] { return driver.Finished(); }, 5000);
  }
  EXPECT_TRUE(queried);
  EXPECT_EQ(differences, 0);
  EXPECT_TRUE(skin::SkinManager->Popups.empty());
}

TEST_F(CalculatorMenusTest, AThousandOpeningsEndWithNoSkinnerAndNoHandleLeft) {
  HWND hwnd = Form1->Edit2->Handle();
  auto open_once = [&] {
    fw::ScopedHook hook(
        SetWindowsHookExA(WH_MSGFILTER, EndMenuFilter, nullptr, GetCurrentThreadId()));
    PostMessageA(hwnd, WM_NULL, 0, 0);
    SendMessageA(hwnd, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(hwnd), MAKELPARAM(300, 300));
  };
  open_once();
  fwtest::PumpFor(20);
  const fw::HandleSnapshot before = fw::LiveHandleSnapshot();
  const long stubs = fw::WindowSubclass::LiveStubs();
  for (int i = 0; i < 1000; ++i) open_once();
  fwtest::PumpFor(20);
  EXPECT_TRUE(skin::SkinManager->Popups.empty());
  EXPECT_EQ(fw::LiveHandleSnapshot().DifferenceFrom(before), "");
  EXPECT_EQ(fw::WindowSubclass::LiveStubs(), stubs);
}

}  // namespace
