// Popup menu skinning on real menu windows under the skin manager's hook: the frame ring,
// printing, the pending popup that learns its menu from the first item drawn, a skin
// without "MenuBackground", the query answer while switched off, and many openings of an
// edit box's own context menu ending where they started.
#include <windows.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "framework/handle_counts.h"
#include "framework/menus.h"
#include "framework/std_controls.h"
#include "framework/window_subclass.h"
#include "skin/manager/element_compose.h"
#include "skin/manager/element_painting.h"
#include "skin/manager/menu_item_drawing.h"
#include "skin/manager/menu_item_layout.h"
#include "skin/manager/popup_menu.h"
#include "skin/manager/skin_manager.h"
#include "tests/skin/manager/menu_drawing_test_skin.h"
#include "tests/support/fw_test.h"
#include "tests/support/menu_driver.h"

namespace {

using skin::PixelBitmap;
using skin::PixelRect;

// The window's pixels as the screen shows them.
PixelBitmap WindowPixels(HWND window) {
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

PixelBitmap Background(int w, int h) {
  return skin::ComposeElement(PixelRect{0, 0, w, h}, menutest::MenuBackgroundImage(), {3, 3, 3, 3},
                              1, 1, false, false);
}

// Ring pixels of `actual` that differ from the composed background.
int RingDifferences(const PixelBitmap& actual) {
  const PixelBitmap expected = Background(actual.Width(), actual.Height());
  int n = 0;
  for (const PixelRect& piece : skin::PopupBorderRing(actual.Width(), actual.Height()))
    for (int y = piece.top; y < piece.bottom; ++y)
      for (int x = piece.left; x < piece.right; ++x)
        if ((actual.Pixel(x, y) & 0xFFFFFF) != (expected.Pixel(x, y) & 0xFFFFFF)) ++n;
  return n;
}

skin::TSkinPopupMenu* PopupOf(HWND window) {
  for (skin::TSkinPopupMenu* p : skin::SkinManager->Popups)
    if (p->Window() == window) return p;
  return nullptr;
}

LRESULT CALLBACK EndMenuFilter(int code, WPARAM wparam, LPARAM lparam) {
  if (code == MSGF_MENU) EndMenu();
  return CallNextHookEx(nullptr, code, wparam, lparam);
}

class PopupMenuTest : public fwtest::ApplicationTest {
 protected:
  void SetUp() override {
    ApplicationTest::SetUp();
    data_ = std::make_unique<skin::TSkinData>(nullptr);
    menutest::FillMenuSkin(*data_);
    // Test forms keep the system frame; only menus are skinned here.
    data_->OnFormSkin = [](fw::TObject*, const std::string&, bool& do_skin) { do_skin = false; };
    skin::TSkinManage* manager = skin::CreateSkinManager();
    manager->AddSkinData(data_.get());
    manager->InstallHook();
    manager->Active = true;
    menu_ = std::make_unique<fw::TPopupMenu>(nullptr);
    for (const char* caption : {"&Copy", "-", "&Paste", "Select &all"}) {
      auto* item = new fw::TMenuItem(nullptr);
      item->SetCaption(caption);
      menu_->Items()->Add(item);
    }
  }
  void TearDown() override {
    menu_.reset();
    skin::SkinManager->RemoveSkinData(data_.get());
    skin::FreeSkinManager();
    data_.reset();
    ApplicationTest::TearDown();
  }
  // Shows the popup, runs `step` once inside its loop, then closes it.
  void WithOpenMenu(const std::function<void(HWND)>& step) {
    fwtest::MenuDriver driver({[](HWND) {}, step, [](HWND) { fwtest::TapKey(VK_ESCAPE); }});
    menu_->Popup(200, 150);
    EXPECT_GE(driver.StepsRun(), 2);
  }
  std::unique_ptr<skin::TSkinData> data_;
  std::unique_ptr<fw::TPopupMenu> menu_;
};

TEST_F(PopupMenuTest, BorderIsThreePixelsOfTheMenuBackgroundAndTheSkinnerGoesWithTheWindow) {
  HWND seen = nullptr;
  WithOpenMenu([&](HWND window) {
    seen = window;
    EXPECT_EQ(SendMessageA(window, skin::WM_SKINQUERY, 0, 0), 1);
    skin::TSkinPopupMenu* popup = PopupOf(window);
    ASSERT_NE(popup, nullptr);
    EXPECT_TRUE(popup->Attached());
    EXPECT_NE(popup->FrameBitmap(), nullptr);
    EXPECT_EQ(RingDifferences(WindowPixels(window)), 0);
    // The kept image is the whole composed background at window size.
    const PixelBitmap kept = skin::ReadBitmapPixels(popup->FrameBitmap());
    RECT r;
    GetWindowRect(window, &r);
    ASSERT_EQ(kept.Width(), r.right - r.left);
    EXPECT_EQ(kept.Pixel(kept.Width() / 2, kept.Height() / 2) & 0xFFFFFF,
              Background(kept.Width(), kept.Height()).Pixel(kept.Width() / 2, kept.Height() / 2) &
                  0xFFFFFF);
  });
  EXPECT_NE(seen, nullptr);
  EXPECT_TRUE(skin::SkinManager->Popups.empty());
  EXPECT_EQ(skin::PendingPopup, nullptr);
}

TEST_F(PopupMenuTest, PrintingShowsTheSkinImageAroundTheItems) {
  WithOpenMenu([&](HWND window) {
    RECT r;
    GetWindowRect(window, &r);
    const int w = r.right - r.left, h = r.bottom - r.top;
    skin::DibSection dib = skin::CreateDibSection(w, h);
    fw::ScopedMemoryDc dc(CreateCompatibleDC(nullptr));
    {
      fw::ScopedSelectObject select(dc.get(), dib.bitmap.get());
      SendMessageA(window, WM_PRINT, reinterpret_cast<WPARAM>(dc.get()),
                   PRF_NONCLIENT | PRF_CLIENT | PRF_ERASEBKGND | PRF_CHILDREN);
      // The clipping region and background mode are given back.
      EXPECT_EQ(GetBkMode(dc.get()), OPAQUE);
      HRGN clip = CreateRectRgn(0, 0, 0, 0);
      EXPECT_EQ(GetClipRgn(dc.get(), clip), 0);
      DeleteObject(clip);
    }
    GdiFlush();
    EXPECT_EQ(RingDifferences(skin::ReadDibPixels(dib)), 0);
  });
}

TEST_F(PopupMenuTest, FirstItemDrawnAfterTheFramePaintGivesThePopupItsMenu) {
  std::vector<RECT> rects;
  std::vector<HBITMAP> backgrounds;
  for (int i = 0; i < menu_->Items()->Count(); ++i) {
    fw::TMenuItem* item = menu_->Items()->Items(i);
    item->OnAdvancedDrawItem = [&, item](fw::TObject*, fw::TCanvas& canvas, const RECT& rect,
                                         UINT state) {
      skin::DrawMenuItem(*data_, *item, canvas, (state & ODS_SELECTED) != 0, rect);
      rects.push_back(rect);
      backgrounds.push_back(skin::MenuBackgroundFor(menu_->Handle()));
    };
    item->OnMeasureItem = [&, item](fw::TObject*, fw::TCanvas& canvas, int& w, int& h) {
      item->DefaultMeasureItem(canvas, w, h);
      skin::MeasurePopupMenuItem(*data_, *item, canvas, w);
    };
  }
  WithOpenMenu([&](HWND window) {
    skin::TSkinPopupMenu* popup = PopupOf(window);
    ASSERT_NE(popup, nullptr);
    EXPECT_EQ(popup->Menu(), menu_->Handle());
    EXPECT_EQ(skin::PendingPopup, nullptr);
    ASSERT_FALSE(backgrounds.empty());
    EXPECT_NE(backgrounds.front(), nullptr);  // the very first item already had the image
    // The separator (the second item) shows the frame image where its strip is magenta.
    ASSERT_GE(rects.size(), 2u);
    const RECT sep = rects[1];
    const PixelBitmap px = WindowPixels(window);
    const PixelBitmap image = skin::ReadBitmapPixels(popup->FrameBitmap());
    POINT origin{0, 0};
    ClientToScreen(window, &origin);
    RECT wr;
    GetWindowRect(window, &wr);
    const int ox = origin.x - wr.left, oy = origin.y - wr.top;
    const int x = sep.left + 1, y = sep.top;  // strip column 1, top row: magenta
    EXPECT_EQ(px.Pixel(ox + x, oy + y) & 0xFFFFFF,
              image.Pixel(x + skin::kPopupBorder, y + skin::kPopupBorder) & 0xFFFFFF);
  });
}

TEST_F(PopupMenuTest, SkinWithoutMenuBackgroundLeavesMenusNative) {
  data_->MenuBackground->Image = PixelBitmap();
  WithOpenMenu([&](HWND window) {
    skin::TSkinPopupMenu* popup = PopupOf(window);
    ASSERT_NE(popup, nullptr);
    EXPECT_FALSE(popup->CanPaint());
    EXPECT_EQ(popup->FrameBitmap(), nullptr);
    EXPECT_EQ(skin::PendingPopup, nullptr);
    EXPECT_GT(RingDifferences(WindowPixels(window)), 0);
  });
}

TEST_F(PopupMenuTest, AnswersTheQueryWhileTheManagerIsSwitchedOff) {
  WithOpenMenu([&](HWND window) {
    skin::SkinManager->Active = false;
    EXPECT_EQ(SendMessageA(window, skin::WM_SKINQUERY, 0, 0), 1);
    // The manager does not attach a second skinner.
    skin::SkinManager->Active = true;
    skin::SkinManager->SkinPopup(window);
    int count = 0;
    for (skin::TSkinPopupMenu* p : skin::SkinManager->Popups) count += p->Window() == window;
    EXPECT_EQ(count, 1);
  });
}

TEST_F(PopupMenuTest, ThousandEditContextMenusLeaveNoSkinnerNorHandle) {
  auto* form = new fw::TForm(&App());
  form->SetBounds(100, 100, 300, 200);
  auto* edit = new fw::TEdit(form);
  edit->SetParent(form);
  edit->SetBounds(10, 10, 200, 24);
  form->Show();
  fwtest::PumpFor(30);
  HWND hwnd = edit->Handle();
  // The edit box's own menu, opened and closed once so that lazily made objects exist.
  auto open_once = [&] {
    // The menu loop's first message reaches the filter hook, which ends the menu.
    fw::ScopedHook hook(
        SetWindowsHookExA(WH_MSGFILTER, EndMenuFilter, nullptr, GetCurrentThreadId()));
    PostMessageA(hwnd, WM_NULL, 0, 0);
    SendMessageA(hwnd, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(hwnd), MAKELPARAM(150, 130));
  };
  open_once();
  fwtest::PumpFor(20);
  const fw::HandleSnapshot before = fw::LiveHandleSnapshot();
  const long stubs = fw::WindowSubclass::LiveStubs();
  int skinned = 0;
  for (int i = 0; i < 1000; ++i) {
    open_once();
    skinned += skin::SkinManager->Popups.empty() ? 0 : 1;
  }
  fwtest::PumpFor(20);
  EXPECT_EQ(skinned, 0);  // each skinner was gone by the time the menu call returned
  EXPECT_TRUE(skin::SkinManager->Popups.empty());
  EXPECT_EQ(fw::LiveHandleSnapshot().DifferenceFrom(before), "");
  EXPECT_EQ(fw::WindowSubclass::LiveStubs(), stubs);
  delete form;
}

TEST_F(PopupMenuTest, RealRightClickOpensTheEditContextMenuSkinned) {
  auto* form = new fw::TForm(&App());
  form->SetBounds(100, 100, 300, 200);
  auto* edit = new fw::TEdit(form);
  edit->SetParent(form);
  edit->SetBounds(10, 10, 200, 24);
  form->Show();
  SetForegroundWindow(form->Handle());
  fwtest::PumpFor(50);
  RECT er;
  GetWindowRect(edit->Handle(), &er);
  int ring_differences = -1;
  bool queried = false;
  {
    fwtest::MenuDriver driver({[&](HWND window) {
                                 queried = SendMessageA(window, skin::WM_SKINQUERY, 0, 0) == 1;
                                 ring_differences = RingDifferences(WindowPixels(window));
                               },
                               [](HWND) { fwtest::TapKey(VK_ESCAPE); }});
    fwtest::ClickAt(er.left + 20, er.top + 8, true);
    fwtest::PumpUntil([&] { return driver.Finished(); }, 5000);
  }
  EXPECT_TRUE(queried);
  EXPECT_EQ(ring_differences, 0);
  EXPECT_TRUE(skin::SkinManager->Popups.empty());
  delete form;
}

}  // namespace
