// Menus on real menu handles: entries built from items and kept in step, forms with a menu
// bar, owner drawing, commands, shortcuts, context menus opened by real input, and menus
// declared in descriptions.
#include <windows.h>
#include <commctrl.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "framework/application.h"
#include "framework/form_reader.h"
#include "framework/image_list.h"
#include "framework/menus.h"
#include "framework/std_controls.h"
#include "tests/support/fw_test.h"
#include "tests/support/menu_driver.h"

namespace {

using testing::ElementsAre;

class TMenuForm : public fw::TForm {
  FW_CLASS_INFO()
 public:
  explicit TMenuForm(fw::TComponent* owner) : TForm(owner) {}
  void ItemClick(fw::TObject* sender) { clicks.push_back(static_cast<fw::TMenuItem*>(sender)); }
  fw::TMainMenu* MainMenu1 = nullptr;
  fw::TPopupMenu* PopupMenu1 = nullptr;
  fw::TMenuItem* Open1 = nullptr;
  fw::TPanel* Panel1 = nullptr;
  std::vector<fw::TMenuItem*> clicks;
};

const fw::TClassInfo& TMenuForm::StaticClassInfo() {
  static const fw::TClassInfo info =
      fw::DescribeClass<TMenuForm, fw::TForm>("TMenuForm", [](auto& c) {
        c.Field("MainMenu1", &TMenuForm::MainMenu1);
        c.Field("PopupMenu1", &TMenuForm::PopupMenu1);
        c.Field("Open1", &TMenuForm::Open1);
        c.Field("Panel1", &TMenuForm::Panel1);
        c.Method("ItemClick", &TMenuForm::ItemClick);
      });
  return info;
}

// The popup menu is referred to before it is declared, as a designer writes it.
constexpr const char* kDescription = R"(
object MenuForm: TMenuForm
  Left = 120
  Top = 120
  ClientWidth = 300
  ClientHeight = 200
  Menu = MainMenu1
  Caption = 'Menus'
  object Panel1: TPanel
    Left = 20
    Top = 20
    Width = 200
    Height = 120
    PopupMenu = PopupMenu1
  end
  object MainMenu1: TMainMenu
    object File1: TMenuItem
      Caption = '&File'
      object Open1: TMenuItem
        Caption = '&Open...'
        ShortCut = 16463
        Default = True
        OnClick = ItemClick
      end
      object N1: TMenuItem
        Caption = '-'
      end
      object Exit1: TMenuItem
        Caption = 'E&xit'
        Enabled = False
      end
    end
    object View1: TMenuItem
      Caption = '&View'
      object Small1: TMenuItem
        Caption = '&Small'
        RadioItem = True
        AutoCheck = True
        Checked = True
      end
      object Large1: TMenuItem
        Caption = '&Large'
        RadioItem = True
        AutoCheck = True
        OnClick = ItemClick
      end
    end
  end
  object PopupMenu1: TPopupMenu
    object Copy1: TMenuItem
      Caption = '&Copy'
      OnClick = ItemClick
    end
    object Paste1: TMenuItem
      Caption = '&Paste'
      OnClick = ItemClick
    end
  end
end
)";

struct Entry {
  std::string text;
  UINT state = 0, type = 0, id = 0;
  HMENU sub = nullptr;
};

Entry EntryAt(HMENU menu, UINT position) {
  char text[128] = {};
  MENUITEMINFOA mii{};
  mii.cbSize = sizeof mii;
  mii.fMask = MIIM_STATE | MIIM_FTYPE | MIIM_ID | MIIM_SUBMENU | MIIM_STRING;
  mii.dwTypeData = text;
  mii.cch = sizeof text;
  EXPECT_TRUE(GetMenuItemInfoA(menu, position, TRUE, &mii));
  return {text, mii.fState, mii.fType, mii.wID, mii.hSubMenu};
}

int g_menu_changed = 0;
LRESULT CALLBACK MenuChangedSpy(HWND h, UINT msg, WPARAM w, LPARAM l, UINT_PTR, DWORD_PTR) {
  if (msg == fw::CM_MENUCHANGED) ++g_menu_changed;
  return DefSubclassProc(h, msg, w, l);
}

class MenusTest : public fwtest::ApplicationTest {
 protected:
  void SetUp() override {
    ApplicationTest::SetUp();
    fw::RegisterComponentClass(TMenuForm::StaticClassInfo());
    form_ = new TMenuForm(&App());
    form_->ReadDescription(kDescription);
  }
  TMenuForm* form_ = nullptr;
};

TEST(ShortCutText, NamesModifiersAndKeys) {
  EXPECT_EQ(fw::ShortCutToText(fw::ShortCut('O', fw::scCtrl)), "Ctrl+O");
  EXPECT_EQ(fw::ShortCutToText(fw::ShortCut(VK_F4, fw::scShift)), "Shift+F4");
  EXPECT_EQ(fw::ShortCutToText(fw::ShortCut(VK_RETURN, fw::scAlt)), "Alt+Enter");
  EXPECT_EQ(fw::ShortCutToText(fw::ShortCut('S', fw::scShift | fw::scCtrl)), "Shift+Ctrl+S");
  EXPECT_EQ(fw::ShortCutToText(VK_DELETE), "Del");
  EXPECT_EQ(fw::ShortCutToText(fw::scNone), "");
  EXPECT_EQ(fw::ShortCutToText(fw::ShortCut(VK_LWIN, fw::scCtrl)), "");  // no name: no text
}

TEST(Accelerators, MarkerDoubledMarkerAndNone) {
  EXPECT_EQ(fw::AcceleratorOf("&File"), 'F');
  EXPECT_EQ(fw::AcceleratorOf("Save &as"), 'A');
  EXPECT_EQ(fw::AcceleratorOf("Fish && Chips"), 0);
  EXPECT_EQ(fw::AcceleratorOf("&&&x"), 'X');
  EXPECT_EQ(fw::AcceleratorOf("trailing&"), 0);
  EXPECT_EQ(fw::AcceleratorOf(""), 0);
  EXPECT_EQ(fw::StripAccelerator("&File"), "File");
  EXPECT_EQ(fw::StripAccelerator("Fish && Chips"), "Fish & Chips");
  EXPECT_EQ(fw::StripAccelerator("end&"), "end");
}

TEST_F(MenusTest, DescriptionBuildsTheNativeMenuBar) {
  ASSERT_NE(form_->MainMenu1, nullptr);
  EXPECT_EQ(form_->Menu(), form_->MainMenu1);
  EXPECT_EQ(form_->Panel1->PopupMenu(), form_->PopupMenu1);  // forward reference resolved
  form_->Show();
  HMENU bar = GetMenu(form_->Handle());
  ASSERT_EQ(bar, form_->MainMenu1->Handle());
  ASSERT_EQ(GetMenuItemCount(bar), 2);
  const Entry file = EntryAt(bar, 0);
  EXPECT_EQ(file.text, "&File");
  ASSERT_NE(file.sub, nullptr);
  EXPECT_EQ(file.sub, form_->MainMenu1->Items()->Items(0)->Handle());
  ASSERT_EQ(GetMenuItemCount(file.sub), 3);
  const Entry open = EntryAt(file.sub, 0);
  EXPECT_EQ(open.text, "&Open...\tCtrl+O");
  EXPECT_EQ(open.id, form_->Open1->Command());
  EXPECT_TRUE(open.state & MFS_DEFAULT);
  EXPECT_TRUE(EntryAt(file.sub, 1).type & MFT_SEPARATOR);
  EXPECT_TRUE(EntryAt(file.sub, 2).state & MFS_GRAYED);
  const Entry small = EntryAt(EntryAt(bar, 1).sub, 0);
  EXPECT_TRUE(small.type & MFT_RADIOCHECK);
  EXPECT_TRUE(small.state & MFS_CHECKED);
  // The client area is what the description asked for, below the menu bar.
  RECT client;
  GetClientRect(form_->Handle(), &client);
  EXPECT_EQ(client.bottom, 200);
}

TEST_F(MenusTest, ChangesKeepHandlesAndReachTheWindowAsMenuChanged) {
  form_->Show();
  HWND hwnd = form_->Handle();
  g_menu_changed = 0;
  SUBCLASSPROC spy = MenuChangedSpy;
  ASSERT_TRUE(SetWindowSubclass(hwnd, spy, 1, 0));
  HMENU bar = GetMenu(hwnd);
  fw::TMenuItem* file = form_->MainMenu1->Items()->Items(0);
  HMENU file_menu = file->Handle();

  form_->Open1->SetCaption("&Open file...");
  EXPECT_EQ(g_menu_changed, 1);
  EXPECT_EQ(GetMenu(hwnd), bar);
  EXPECT_EQ(file->Handle(), file_menu);
  EXPECT_EQ(EntryAt(file_menu, 0).text, "&Open file...\tCtrl+O");
  form_->Open1->SetCaption("&Open file...");  // no change, no notification
  EXPECT_EQ(g_menu_changed, 1);

  auto* added = new fw::TMenuItem(form_);
  added->SetCaption("&Recent");
  file->Insert(1, added);
  EXPECT_EQ(GetMenuItemCount(file_menu), 4);
  EXPECT_EQ(EntryAt(file_menu, 1).text, "&Recent");
  added->SetVisible(false);
  EXPECT_EQ(GetMenuItemCount(file_menu), 3);
  // A sub-item of its own gives the new item a popup handle; freeing it takes the entry
  // out and destroys that handle, and nothing else.
  added->SetVisible(true);
  auto* inner = new fw::TMenuItem(form_);
  inner->SetCaption("one.txt");
  added->Add(inner);
  HMENU recent = added->Handle();
  ASSERT_NE(recent, nullptr);
  EXPECT_EQ(EntryAt(file_menu, 1).sub, recent);
  delete added;
  EXPECT_FALSE(IsMenu(recent));
  EXPECT_TRUE(IsMenu(file_menu));
  EXPECT_EQ(GetMenuItemCount(file_menu), 3);
  EXPECT_GE(g_menu_changed, 5);
  // A change in the bar leaves the entries of the drop-downs alone: one may be open, and
  // rebuilding it would take its items from under the open menu.
  AppendMenuA(file_menu, MF_STRING, 999, "native");
  form_->MainMenu1->Items()->Items(0)->SetCaption("&Files");
  EXPECT_EQ(EntryAt(bar, 0).text, "&Files");
  EXPECT_EQ(GetMenuItemCount(file_menu), 4);
  RemoveWindowSubclass(hwnd, spy, 1);
}

TEST_F(MenusTest, CommandsClickItemsAndRadioGroupsFollow) {
  form_->Show();
  HWND hwnd = form_->Handle();
  fw::TMenuItem* view = form_->MainMenu1->Items()->Items(1);
  fw::TMenuItem* small = view->Items(0);
  fw::TMenuItem* large = view->Items(1);
  PostMessageA(hwnd, WM_COMMAND, large->Command(), 0);
  PostMessageA(hwnd, WM_COMMAND, form_->Open1->Command(), 0);
  fwtest::PumpFor(50);
  EXPECT_THAT(form_->clicks, ElementsAre(large, form_->Open1));
  EXPECT_TRUE(large->Checked());
  EXPECT_FALSE(small->Checked());
  EXPECT_TRUE(EntryAt(view->Handle(), 1).state & MFS_CHECKED);
  EXPECT_FALSE(EntryAt(view->Handle(), 0).state & MFS_CHECKED);
  // A command nobody owns is passed on without effect.
  SendMessageA(hwnd, WM_COMMAND, 0xEF00, 0);
  EXPECT_EQ(form_->clicks.size(), 2u);
}

TEST_F(MenusTest, ActionsUpdateItemsAndRunOnClick) {
  auto* action = new fw::TAction(form_);
  int executed = 0;
  action->Caption = "&Save";
  action->ShortCut = fw::ShortCut('S', fw::scCtrl);
  action->OnUpdate = [&](fw::TObject*) { action->Enabled = executed == 0; };
  action->OnExecute = [&](fw::TObject*) { ++executed; };
  auto* save = new fw::TMenuItem(form_);
  form_->MainMenu1->Items()->Items(0)->Add(save);
  save->SetAction(action);
  EXPECT_EQ(save->Caption(), "&Save");
  EXPECT_TRUE(save->Enabled());
  save->Click();
  EXPECT_EQ(executed, 1);
  save->UpdateFromAction();
  EXPECT_FALSE(save->Enabled());
  save->Click();  // disabled action: nothing runs
  EXPECT_EQ(executed, 1);
  delete action;
  EXPECT_EQ(save->Action(), nullptr);
}

TEST_F(MenusTest, OwnerDrawnItemsGoToTheirHandlers) {
  fw::TImageList images(16, 16);
  form_->MainMenu1->SetImages(&images);
  form_->Show();
  HWND hwnd = form_->Handle();
  HMENU file_menu = form_->MainMenu1->Items()->Items(0)->Handle();
  EXPECT_TRUE(EntryAt(file_menu, 0).type & MFT_OWNERDRAW);
  EXPECT_FALSE(EntryAt(GetMenu(hwnd), 0).type & MFT_OWNERDRAW);  // bar entries keep text

  int measured = 0;
  std::vector<UINT> drawn_states;
  form_->Open1->OnMeasureItem = [&](fw::TObject*, fw::TCanvas&, int& w, int& h) {
    ++measured;
    w = 123;
    h = 21;
  };
  form_->Open1->OnAdvancedDrawItem = [&](fw::TObject*, fw::TCanvas&, const RECT&, UINT state) {
    drawn_states.push_back(state);
  };
  MEASUREITEMSTRUCT mis{ODT_MENU, 0, form_->Open1->Command(), 0, 0, 0};
  EXPECT_TRUE(SendMessageA(hwnd, WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&mis)));
  EXPECT_EQ(measured, 1);
  EXPECT_EQ(mis.itemWidth, 123u);
  EXPECT_EQ(mis.itemHeight, 21u);

  fw::ScopedGetDc screen(nullptr);
  DRAWITEMSTRUCT dis{};
  dis.CtlType = ODT_MENU;
  dis.itemID = form_->Open1->Command();
  dis.itemState = ODS_SELECTED;
  dis.hDC = screen.get();
  dis.rcItem = {0, 0, 100, 20};
  SendMessageA(hwnd, WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&dis));
  EXPECT_THAT(drawn_states, ElementsAre(UINT(ODS_SELECTED)));

  // Without handlers the standard measurement leaves room for glyph, caption and shortcut.
  fw::TMenuItem* exit = form_->MainMenu1->Items()->Items(0)->Items(2);
  MEASUREITEMSTRUCT standard{ODT_MENU, 0, exit->Command(), 0, 0, 0};
  SendMessageA(hwnd, WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&standard));
  EXPECT_GT(standard.itemWidth, 16u + 20u);
  EXPECT_GE(standard.itemHeight, 16u);
  form_->MainMenu1->SetImages(nullptr);
}

TEST_F(MenusTest, ShortcutThroughTheMessageLoopClicksTheItem) {
  form_->Show();
  SetForegroundWindow(form_->Handle());
  fwtest::PumpFor(50);
  fwtest::KeyDown(VK_CONTROL);
  fwtest::TapKey('O');
  fwtest::KeyUp(VK_CONTROL);
  // Through the application's loop (PumpUntil would dispatch the keys past it).
  const DWORD end = GetTickCount() + 2000;
  while (form_->clicks.empty() && GetTickCount() < end) {
    App().ProcessMessages();
    Sleep(10);
  }
  const bool clicked = !form_->clicks.empty();
  ASSERT_TRUE(clicked);
  EXPECT_EQ(form_->clicks[0], form_->Open1);
}

TEST_F(MenusTest, RightClickAndShiftF10OpenTheControlsPopupMenu) {
  form_->Show();
  SetForegroundWindow(form_->Handle());
  fwtest::PumpFor(50);
  RECT panel;
  GetWindowRect(form_->Panel1->Handle(), &panel);
  fw::TMenuItem* paste = form_->PopupMenu1->Items()->Items(1);

  std::vector<RECT> opened_at;
  auto record = [&](HWND menu) {
    RECT r;
    GetWindowRect(menu, &r);
    opened_at.push_back(r);
  };
  {
    fwtest::MenuDriver driver({record, [](HWND) { fwtest::TapKey(VK_DOWN); },
                               [](HWND) { fwtest::TapKey(VK_DOWN); },
                               [](HWND) { fwtest::TapKey(VK_RETURN); }});
    fwtest::ClickAt(panel.left + 30, panel.top + 40, true);
    fwtest::PumpUntil([&] { return driver.Finished() || !form_->clicks.empty(); }, 4000);
  }
  fwtest::PumpFor(50);
  ASSERT_EQ(opened_at.size(), 1u);
  EXPECT_EQ(opened_at[0].left, panel.left + 30);
  EXPECT_EQ(opened_at[0].top, panel.top + 40);
  EXPECT_THAT(form_->clicks, ElementsAre(paste));
  EXPECT_EQ(form_->PopupMenu1->PopupComponent(), form_->Panel1);

  // From the keyboard the menu opens at the control's centre.
  form_->Panel1->SetFocus();
  {
    fwtest::MenuDriver driver({record, [](HWND) { fwtest::TapKey(VK_ESCAPE); }});
    fwtest::KeyDown(VK_SHIFT);
    fwtest::TapKey(VK_F10);
    fwtest::KeyUp(VK_SHIFT);
    fwtest::PumpUntil([&] { return driver.Finished(); }, 4000);
  }
  ASSERT_EQ(opened_at.size(), 2u);
  EXPECT_EQ(opened_at[1].left, (panel.left + panel.right) / 2);
  EXPECT_EQ(opened_at[1].top, (panel.top + panel.bottom) / 2);
  EXPECT_EQ(form_->clicks.size(), 1u);
}

TEST_F(MenusTest, FreedMenusAreForgottenByTheirUsers) {
  form_->Show();
  HWND hwnd = form_->Handle();
  delete form_->PopupMenu1;
  EXPECT_EQ(form_->Panel1->PopupMenu(), nullptr);
  delete form_->MainMenu1;
  EXPECT_EQ(form_->Menu(), nullptr);
  EXPECT_EQ(GetMenu(hwnd), nullptr);
}

TEST(MenuDescriptions, UnknownOrWrongReferencesAreReadErrors) {
  fw::TApplication app;
  fw::RegisterComponentClass(TMenuForm::StaticClassInfo());
  auto read = [&](const char* text) {
    TMenuForm form(&app);
    form.ReadDescription(text);
  };
  EXPECT_THROW(read("object F: TMenuForm\n  Menu = Missing1\nend\n"), fw::EReadError);
  EXPECT_THROW(read("object F: TMenuForm\n  Menu = P\n  object P: TPopupMenu\n  end\nend\n"),
               fw::EReadError);
  EXPECT_NO_THROW(read("object F: TMenuForm\n  Menu = nil\nend\n"));
}

}  // namespace
