// The skinned menu bar on a form that the skin manager skins: building from the menu,
// keyboard access (Alt alone, F10, Alt+letter, the same letter with Shift), moving between
// open drop-downs with Left and Right, Escape, a click on an item without sub-items, menu
// changes with MenuUpdate on and off, and the form's popup menus handed to the skinned
// drawing and back.
#include <windows.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "framework/forms.h"
#include "framework/menus.h"
#include "framework/std_controls.h"
#include "skin/data/skin_data.h"
#include "skin/form/skin_form.h"
#include "skin/manager/menu_bar.h"
#include "skin/manager/skin_manager.h"
#include "tests/skin/manager/menu_drawing_test_skin.h"
#include "tests/support/fw_test.h"
#include "tests/support/menu_driver.h"

namespace {

using testing::ElementsAre;

fw::TMenuItem* AddItem(fw::TComponent* owner, fw::TMenuItem* parent, const char* caption) {
  auto* item = new fw::TMenuItem(owner);
  item->SetCaption(caption);
  parent->Add(item);
  return item;
}

int g_enter_menu_loop = 0;
LRESULT CALLBACK CountMenuLoops(int code, WPARAM wparam, LPARAM lparam) {
  auto* cwp = reinterpret_cast<CWPSTRUCT*>(lparam);
  if (code == HC_ACTION && cwp->message == WM_ENTERMENULOOP) ++g_enter_menu_loop;
  return CallNextHookEx(nullptr, code, wparam, lparam);
}

class MenuBarTest : public fwtest::ApplicationTest {
 protected:
  void SetUp() override {
    ApplicationTest::SetUp();
    data_ = new skin::TSkinData(nullptr);
    data_->SetSkinFile(std::string(SKIN_PACKAGE_DIR) + "/metallic.skn");
    ASSERT_FALSE(data_->NoSkinLoaded);
    skin::TSkinManage* manager = skin::CreateSkinManager();
    manager->AddSkinData(data_);
    manager->InstallHook();
    manager->Active = true;

    form_ = new fw::TForm(&App());
    form_->SetBounds(150, 150, 420, 260);
    form_->SetCaption("Menus");
    menu_ = new fw::TMainMenu(form_);
    fw::TMenuItem* root = menu_->Items();
    file_ = AddItem(form_, root, "&File");
    open_ = AddItem(form_, file_, "&Open");
    AddItem(form_, file_, "-");
    AddItem(form_, file_, "E&xit");
    edit_ = AddItem(form_, root, "&Edit");
    AddItem(form_, edit_, "&Copy");
    special_ = AddItem(form_, edit_, "Paste &special");
    AddItem(form_, special_, "&Text");
    tools_ = AddItem(form_, root, "&Tools");
    AddItem(form_, tools_, "&Options");
    tools_->SetEnabled(false);
    help_ = AddItem(form_, root, "&Help");
    help_->OnClick = [this](fw::TObject*) { ++help_clicks_; };
    window_ = AddItem(form_, root, "&Window");
    AddItem(form_, window_, "&Cascade");
    quit_ = AddItem(form_, root, "&Quit");
    quit_->OnClick = [this](fw::TObject*) { ++quit_clicks_; };
    quit_->SetEnabled(false);
    popup_ = new fw::TPopupMenu(form_);
    AddItem(form_, popup_->Items(), "&Undo");
    form_->SetMenu(menu_);
    // Records the framework notifications the form itself receives.
    saved_proc_ = form_->WindowProc();
    form_->SetWindowProc(fw::TWndMethod::Of<&MenuBarTest::FormProc>(this));
    form_->Show();
    SetForegroundWindow(form_->Handle());
    controller_ = nullptr;
    fwtest::PumpUntil(
        [&] {
          controller_ = skin::SkinFormOfWindow(form_->Handle());
          return controller_ && controller_->LifeState == skin::LifeReady;
        },
        3000);
    ASSERT_NE(controller_, nullptr);
    ASSERT_NE(controller_->MenuBar, nullptr);
    RedrawWindow(form_->Handle(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
    Pump(50);
  }
  void TearDown() override {
    if (form_) form_->SetWindowProc(saved_proc_);
    delete form_;
    skin::SkinManager->RemoveSkinData(data_);
    skin::FreeSkinManager();
    delete data_;
    ApplicationTest::TearDown();
  }
  void FormProc(fw::TMessage& message) {
    if (message.Msg == fw::CM_DIALOGCHAR) dialog_chars_.push_back(char(message.WParam));
    saved_proc_(message);
  }
  // Through the application's loop, so Alt+letter becomes a dialog character.
  void Pump(int ms) {
    const DWORD end = GetTickCount() + DWORD(ms);
    while (GetTickCount() < end) {
      App().ProcessMessages();
      Sleep(5);
    }
  }
  skin::TSkinMenuBar& Bar() { return *controller_->MenuBar; }
  POINT ButtonCentre(int index) {
    RECT window;
    GetWindowRect(form_->Handle(), &window);
    const RECT& b = Bar().Button(index)->Bounds;
    return {window.left + (b.left + b.right) / 2, window.top + (b.top + b.bottom) / 2};
  }

  skin::TSkinData* data_ = nullptr;
  fw::TForm* form_ = nullptr;
  fw::TMainMenu* menu_ = nullptr;
  fw::TPopupMenu* popup_ = nullptr;
  fw::TMenuItem *file_ = nullptr, *open_ = nullptr, *edit_ = nullptr, *tools_ = nullptr,
                *help_ = nullptr, *window_ = nullptr, *special_ = nullptr, *quit_ = nullptr;
  skin::TSkinForm* controller_ = nullptr;
  fw::TWndMethod saved_proc_;
  std::vector<char> dialog_chars_;
  int help_clicks_ = 0;
  int quit_clicks_ = 0;
};

TEST_F(MenuBarTest, BarIsBuiltFromTheMenuAndTheNativeBarIsGone) {
  EXPECT_EQ(GetMenu(form_->Handle()), nullptr);
  EXPECT_EQ(Bar().MenuHandle(), menu_->Handle());
  ASSERT_EQ(Bar().ButtonCount(), 6);
  EXPECT_EQ(Bar().Button(0)->Caption, "&File");
  EXPECT_EQ(Bar().Button(0)->SubMenu, file_->Handle());
  EXPECT_FALSE(Bar().Button(2)->Enabled);
  EXPECT_EQ(Bar().Button(3)->SubMenu, nullptr);
  // Painted: buttons lie in the bar strip, left to right, one after the other.
  const RECT bar = Bar().BarRect();
  EXPECT_GT(bar.bottom, bar.top);
  for (int i = 0; i < 5; ++i) {
    const RECT& b = Bar().Button(i)->Bounds;
    EXPECT_GE(b.top, bar.top);
    EXPECT_LE(b.bottom, bar.bottom);
    if (i > 0) {
      EXPECT_EQ(b.left, Bar().Button(i - 1)->Bounds.right);
    }
  }
  EXPECT_EQ(Bar().ButtonAt({Bar().Button(1)->Bounds.left + 2, Bar().Button(1)->Bounds.top + 2}),
            Bar().Button(1));
  EXPECT_EQ(Bar().FindAccelButton('e'), Bar().Button(1));
  EXPECT_EQ(Bar().FindAccelButton('T'), nullptr);  // disabled
  // The form's popup menu is drawn by the skin while attached.
  EXPECT_TRUE(bool(popup_->Items()->Items(0)->OnAdvancedDrawItem));
}

// The keys are all queued before any is handled: the bar's keyboard mode runs inside the
// handling of the menu key's release, as the system's menu loop would.
TEST_F(MenuBarTest, AltAloneAndF10WorkTheSkinnedBarWithoutTheSystemMenuLoop) {
  fw::ScopedHook hook(
      SetWindowsHookExA(WH_CALLWNDPROC, CountMenuLoops, nullptr, GetCurrentThreadId()));
  g_enter_menu_loop = 0;
  {
    fwtest::MenuDriver safety({}, 60, 500);  // ends any menu that would open
    fwtest::TapKey(VK_MENU);
    fwtest::TapKey(VK_ESCAPE);
    fwtest::TapKey(VK_F10);
    fwtest::TapKey(VK_MENU);  // the menu key again leaves the mode
    Pump(300);
    EXPECT_TRUE(safety.MenusSeen().empty());
  }
  EXPECT_EQ(g_enter_menu_loop, 0);
  EXPECT_EQ(Bar().Button(0)->ButtonState, 1);
  // Right goes from the first drop-down to the next, Down opens it.
  std::vector<int> open_index;
  {
    fwtest::MenuDriver driver({[&](HWND) { open_index.push_back(skin::TSkinMenuBar::OpenIndex()); },
                               [](HWND) { fwtest::TapKey(VK_ESCAPE); }});
    fwtest::TapKey(VK_MENU);
    fwtest::TapKey(VK_RIGHT);
    fwtest::TapKey(VK_DOWN);
    const DWORD end = GetTickCount() + 3000;
    while (!driver.Finished() && GetTickCount() < end) Pump(20);
  }
  EXPECT_THAT(open_index, ElementsAre(1));
  // The system command itself is answered without the old procedure.
  PostMessageA(form_->Handle(), WM_KEYDOWN, VK_ESCAPE, 0);
  EXPECT_EQ(SendMessageA(form_->Handle(), WM_SYSCOMMAND, SC_KEYMENU, 0), 1);
  EXPECT_EQ(SendMessageA(form_->Handle(), WM_SYSCOMMAND, SC_KEYMENU, 'f'), 1);
}

TEST_F(MenuBarTest, AltLetterOpensThatDropDownAndShiftAltLetterReachesTheForm) {
  std::vector<int> open_index;
  std::vector<HMENU> tracked;
  {
    fwtest::MenuDriver driver({[&](HWND) {
                                 open_index.push_back(skin::TSkinMenuBar::OpenIndex());
                                 tracked.push_back(controller_->TrackedMenu);
                               },
                               [](HWND) { fwtest::TapKey(VK_ESCAPE); }});
    fwtest::KeyDown(VK_MENU);
    fwtest::TapKey('E');
    fwtest::KeyUp(VK_MENU);
    const DWORD end = GetTickCount() + 3000;
    while (!driver.Finished() && GetTickCount() < end) Pump(20);
  }
  EXPECT_THAT(open_index, ElementsAre(1));
  EXPECT_THAT(tracked, ElementsAre(edit_->Handle()));
  EXPECT_EQ(skin::TSkinMenuBar::OpenIndex(), -1);
  EXPECT_TRUE(dialog_chars_.empty());  // taken by the bar

  // With Shift also held the character goes to the form's own handling, and no drop-down.
  fwtest::MenuDriver safety({}, 60, 500);
  fwtest::KeyDown(VK_MENU);
  fwtest::KeyDown(VK_SHIFT);
  fwtest::TapKey('E');
  fwtest::KeyUp(VK_SHIFT);
  fwtest::KeyUp(VK_MENU);
  Pump(300);
  ASSERT_EQ(dialog_chars_.size(), 1u);
  EXPECT_EQ(toupper(dialog_chars_[0]), 'E');
  EXPECT_TRUE(safety.MenusSeen().empty());
}

// A form owned by a form has a skinned bar of its own, and Alt+letter opens its drop-down.
TEST_F(MenuBarTest, AltLetterOpensTheDropDownOfAnOwnedForm) {
  auto* owned = new fw::TForm(form_);
  owned->SetPosition(fw::poDesigned);
  owned->SetBounds(200, 200, 300, 200);
  auto* menu = new fw::TMainMenu(owned);
  fw::TMenuItem* go = AddItem(owned, menu->Items(), "&Go");
  AddItem(owned, go, "&Home");
  owned->SetMenu(menu);
  owned->Show();
  SetForegroundWindow(owned->Handle());
  skin::TSkinForm* controller = nullptr;
  ASSERT_TRUE(fwtest::PumpUntil([&] {
    controller = skin::SkinFormOfWindow(owned->Handle());
    return controller && controller->LifeState == skin::LifeReady && controller->MenuBar;
  }));
  std::vector<HMENU> tracked;
  {
    fwtest::MenuDriver driver({[&](HWND) { tracked.push_back(controller->TrackedMenu); },
                               [](HWND) { fwtest::TapKey(VK_ESCAPE); }});
    fwtest::KeyDown(VK_MENU);
    fwtest::TapKey('G');
    fwtest::KeyUp(VK_MENU);
    const DWORD end = GetTickCount() + 3000;
    while (!driver.Finished() && GetTickCount() < end) Pump(20);
  }
  EXPECT_THAT(tracked, ElementsAre(go->Handle()));
}

TEST_F(MenuBarTest, LeftAndRightMoveBetweenDropDownsAndEscapeCloses) {
  std::vector<int> seen;
  auto record = [&](HWND) { seen.push_back(skin::TSkinMenuBar::OpenIndex()); };
  {
    fwtest::MenuDriver driver(
        {record, [](HWND) { fwtest::TapKey(VK_RIGHT); }, record,
         [](HWND) { fwtest::TapKey(VK_LEFT); }, record, [](HWND) { fwtest::TapKey(VK_LEFT); },
         record, [](HWND) { fwtest::TapKey(VK_RIGHT); }, record,
         [](HWND) { fwtest::TapKey(VK_ESCAPE); }},
        120, 3000);
    const POINT file = ButtonCentre(0);
    fwtest::ClickAt(file.x, file.y);
    const DWORD end = GetTickCount() + 8000;
    while (!driver.Finished() && GetTickCount() < end) Pump(20);
  }
  // File, Edit, File, Window (wrapped), File (wrapped).
  EXPECT_THAT(seen, ElementsAre(0, 1, 0, 4, 0));
  EXPECT_EQ(skin::TSkinMenuBar::OpenIndex(), -1);
  EXPECT_TRUE(fwtest::VisibleMenuWindows().empty());
  // The drop-down items were switched to owner drawing for the skin.
  MENUITEMINFOA mii{};
  mii.cbSize = sizeof mii;
  mii.fMask = MIIM_FTYPE;
  GetMenuItemInfoA(file_->Handle(), 0, TRUE, &mii);
  EXPECT_TRUE(mii.fType & MFT_OWNERDRAW);
}

TEST_F(MenuBarTest, ClickOnAnItemWithoutSubItemsRunsItsCommand) {
  fwtest::MenuDriver safety({}, 60, 500);
  const POINT help = ButtonCentre(3);
  fwtest::ClickAt(help.x, help.y);
  Pump(300);
  EXPECT_EQ(help_clicks_, 1);
  EXPECT_TRUE(safety.MenusSeen().empty());
}

// While a drop-down is open, the mouse passing onto a command item closes the drop-down
// and Right skips it (and the disabled Tools): neither runs a command. A disabled item
// never runs, clicked either.
TEST_F(MenuBarTest, CommandItemsRunOnlyWhenClickedAndEnabled) {
  std::vector<int> seen;
  {
    fwtest::MenuDriver driver({[&](HWND) { fwtest::TapKey(VK_RIGHT); },
                               [&](HWND) { seen.push_back(skin::TSkinMenuBar::OpenIndex()); },
                               [&](HWND) {
                                 const POINT help = ButtonCentre(3);
                                 fwtest::MoveMouse(help.x, help.y);
                               }},
                              120, 600);
    const POINT edit = ButtonCentre(1);
    fwtest::ClickAt(edit.x, edit.y);
    const DWORD end = GetTickCount() + 5000;
    while (!driver.Finished() && GetTickCount() < end) Pump(20);
  }
  Pump(300);
  EXPECT_THAT(seen, ElementsAre(4));  // from Edit past Tools and Help to Window
  EXPECT_TRUE(fwtest::VisibleMenuWindows().empty());
  EXPECT_EQ(help_clicks_, 0);
  fwtest::MenuDriver safety({}, 60, 500);
  const POINT quit = ButtonCentre(5);
  fwtest::ClickAt(quit.x, quit.y);
  Pump(300);
  EXPECT_EQ(quit_clicks_, 0);
}

// Right on an item with a submenu opens it and Left closes it again; the drop-down stays.
TEST_F(MenuBarTest, RightOpensTheSubmenuAndLeftClosesIt) {
  std::vector<std::pair<int, size_t>> seen;
  const auto record = [&](HWND) {
    seen.push_back({skin::TSkinMenuBar::OpenIndex(), fwtest::VisibleMenuWindows().size()});
  };
  {
    fwtest::MenuDriver driver(
        {[](HWND) { fwtest::TapKey(VK_DOWN); },  // Paste special
         [](HWND) { fwtest::TapKey(VK_RIGHT); }, record, [](HWND) { fwtest::TapKey(VK_LEFT); },
         record, [](HWND) { fwtest::TapKey(VK_ESCAPE); }},
        150, 3000);
    const POINT edit = ButtonCentre(1);
    fwtest::ClickAt(edit.x, edit.y);
    const DWORD end = GetTickCount() + 8000;
    while (!driver.Finished() && GetTickCount() < end) Pump(20);
  }
  EXPECT_THAT(seen, ElementsAre(std::pair<int, size_t>{1, 2}, std::pair<int, size_t>{1, 1}));
  EXPECT_TRUE(fwtest::VisibleMenuWindows().empty());
}

// In a right-to-left menu the arrow keys change places: Left goes to the next drop-down.
TEST_F(MenuBarTest, RightToLeftSwapsLeftAndRight) {
  menu_->SetBiDiMode(fw::bdRightToLeft);
  RedrawWindow(form_->Handle(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
  Pump(50);
  std::vector<int> seen;
  {
    fwtest::MenuDriver driver({[](HWND) { fwtest::TapKey(VK_LEFT); },
                               [&](HWND) { seen.push_back(skin::TSkinMenuBar::OpenIndex()); },
                               [](HWND) { fwtest::TapKey(VK_ESCAPE); }},
                              150, 3000);
    const POINT file = ButtonCentre(0);
    fwtest::ClickAt(file.x, file.y);
    const DWORD end = GetTickCount() + 6000;
    while (!driver.Finished() && GetTickCount() < end) Pump(20);
  }
  EXPECT_THAT(seen, ElementsAre(1));
  menu_->SetBiDiMode(fw::bdLeftToRight);
}

// A window without a form object gets its drop-down entries back as they were when it is
// unskinned: owner-drawn, nobody would draw them any more.
TEST_F(MenuBarTest, ABareWindowsEntriesGetTheirTypeBack) {
  HMENU bar = CreateMenu();
  HMENU drop_down = CreatePopupMenu();
  AppendMenuA(drop_down, MF_STRING, 101, "&First");
  AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(drop_down), "&Bare");
  HWND hwnd = CreateWindowExA(0, "STATIC", "bare", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 200, 200, 300,
                              200, nullptr, bar, nullptr, nullptr);
  SetForegroundWindow(hwnd);
  skin::TSkinForm* controller = nullptr;
  fwtest::PumpUntil([&] {
    controller = skin::SkinFormOfWindow(hwnd);
    return controller && controller->LifeState == skin::LifeReady;
  });
  ASSERT_TRUE(controller && controller->MenuBar);
  {
    fwtest::MenuDriver driver({[](HWND) { fwtest::TapKey(VK_ESCAPE); }}, 100, 1000);
    controller->MenuBar->OpenDropDown(controller->MenuBar->Button(0));
  }
  const auto owner_drawn = [&] {
    MENUITEMINFOA mii{};
    mii.cbSize = sizeof mii;
    mii.fMask = MIIM_FTYPE;
    GetMenuItemInfoA(drop_down, 0, TRUE, &mii);
    return (mii.fType & MFT_OWNERDRAW) != 0;
  };
  EXPECT_TRUE(owner_drawn());
  controller->DetachAndRestore();
  skin::SkinManager->RemoveForm(controller);
  delete controller;
  EXPECT_FALSE(owner_drawn());
  EXPECT_EQ(GetMenu(hwnd), bar);
  DestroyWindow(hwnd);
}

TEST_F(MenuBarTest, ItemsUnderTheMouseAreHotAndLetGoWhenItLeaves) {
  // The hot look is the button-highlight frame around the item.
  const auto frame_pixel = [&](int index) {
    const RECT& b = Bar().Button(index)->Bounds;
    HDC dc = GetWindowDC(form_->Handle());
    const COLORREF c = GetPixel(dc, b.left, (b.top + b.bottom) / 2);
    ReleaseDC(form_->Handle(), dc);
    return c;
  };
  const COLORREF hilight = skin::ResolveColour(data_->ButtonHilight);
  const COLORREF resting = frame_pixel(1);
  const auto move_to = [&](POINT p) {
    SetCursorPos(p.x, p.y);
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dwFlags = MOUSEEVENTF_MOVE;
    SendInput(1, &in, sizeof in);
    Pump(80);
  };
  move_to(ButtonCentre(1));
  EXPECT_EQ(controller_->HotObject, Bar().Button(1));
  EXPECT_EQ(frame_pixel(1), hilight);
  move_to(ButtonCentre(0));
  EXPECT_EQ(controller_->HotObject, Bar().Button(0));
  EXPECT_EQ(frame_pixel(1), resting);
  // Off the window: the hover poll lets the item go.
  RECT window;
  GetWindowRect(form_->Handle(), &window);
  move_to({window.right + 40, window.bottom + 40});
  Pump(400);
  EXPECT_EQ(controller_->HotObject, nullptr);
  EXPECT_NE(frame_pixel(0), hilight);
  // Rebuilding the bar while an item is hot leaves no dangling hot object.
  move_to(ButtonCentre(2));
  Bar().BuildFromMenuObject();
  EXPECT_EQ(controller_->HotObject, nullptr);
}

TEST_F(MenuBarTest, MenuChangesReachTheBarWhenMenuUpdateIsOn) {
  file_->SetCaption("&Files");
  EXPECT_EQ(Bar().Button(0)->Caption, "&Files");
  EXPECT_EQ(GetMenu(form_->Handle()), nullptr);
  AddItem(form_, menu_->Items(), "&Extra");
  EXPECT_EQ(Bar().ButtonCount(), 7);

  data_->MenuUpdate = false;
  file_->SetCaption("&Archive");
  EXPECT_EQ(Bar().Button(0)->Caption, "&Files");  // the bar keeps what it had
  data_->MenuUpdate = true;
}

TEST_F(MenuBarTest, DetachingGivesTheMenuAndThePopupHandlersBack) {
  controller_->DetachAndRestore();
  EXPECT_EQ(GetMenu(form_->Handle()), menu_->Handle());
  EXPECT_FALSE(bool(popup_->Items()->Items(0)->OnAdvancedDrawItem));
  EXPECT_FALSE(bool(popup_->Items()->Items(0)->OnMeasureItem));
}

}  // namespace
