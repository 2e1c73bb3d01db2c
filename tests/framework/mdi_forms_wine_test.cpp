// MDI forms of the framework: a frame and its children from stored descriptions (FormStyle),
// the MDI client, the Window menu listing the children, tiling, cascading, moving between
// children (also with Ctrl+F6 through the application's message handling) and closing.
#include <windows.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "framework/application.h"
#include "framework/forms.h"
#include "framework/menus.h"
#include "framework/std_controls.h"
#include "tests/support/fw_test.h"

namespace {

constexpr char kFrameDescription[] = R"(object Frame1: TForm
  Left = 60
  Top = 60
  Width = 640
  Height = 480
  Caption = 'Frame'
  FormStyle = fsMDIForm
  Menu = FrameMenu
  Position = poDesigned
  WindowMenu = WindowItem
  object FrameMenu: TMainMenu
    object FileItem: TMenuItem
      Caption = '&File'
      object NewItem: TMenuItem
        Caption = '&New'
      end
    end
    object WindowItem: TMenuItem
      Caption = '&Window'
      object TileItem: TMenuItem
        Caption = '&Tile'
      end
    end
  end
end
)";

std::string ChildDescription(int n) {
  return "object Child" + std::to_string(n) +
         R"(: TForm
  Caption = 'Child )" +
         std::to_string(n) + R"('
  ClientWidth = 200
  ClientHeight = 120
  FormStyle = fsMDIChild
  object Edit1: TEdit
    Left = 8
    Top = 8
    Width = 120
    Height = 21
  end
end
)";
}

std::string MenuText(HMENU menu, int position) {
  char text[128] = {};
  GetMenuStringA(menu, static_cast<UINT>(position), text, sizeof text, MF_BYPOSITION);
  return text;
}

RECT BoundsInClient(HWND window) {
  RECT r{};
  GetWindowRect(window, &r);
  MapWindowPoints(nullptr, GetParent(window), reinterpret_cast<POINT*>(&r), 2);
  return r;
}

class MdiFormsTest : public fwtest::ApplicationTest {
 protected:
  void SetUp() override {
    ApplicationTest::SetUp();
    fw::RegisterMenuClasses();
    frame_ = std::make_unique<fw::TForm>(&App());
    frame_->ReadDescription(kFrameDescription);
    frame_->Show();
    fwtest::PumpFor(30);
  }
  void TearDown() override {
    children_.clear();
    frame_.reset();
    ApplicationTest::TearDown();
  }
  fw::TForm* NewChild() {
    auto child = std::make_unique<fw::TForm>(&App());
    child->ReadDescription(ChildDescription(++made_));
    child->Show();
    children_.push_back(std::move(child));
    return children_.back().get();
  }
  HMENU WindowMenuHandle() { return frame_->WindowMenu()->Handle(); }

  std::unique_ptr<fw::TForm> frame_;
  std::vector<std::unique_ptr<fw::TForm>> children_;
  int made_ = 0;
};

TEST_F(MdiFormsTest, FrameAndChildrenFromDescriptions) {
  ASSERT_EQ(frame_->FormStyle(), fw::fsMDIForm);
  HWND client = frame_->ClientHandle();
  ASSERT_NE(client, nullptr);
  char name[32] = {};
  GetClassNameA(client, name, sizeof name);
  EXPECT_STREQ(name, "MDIClient");
  EXPECT_EQ(GetParent(client), frame_->Handle());
  // The client fills the frame's client area.
  RECT frame_client{}, bounds = BoundsInClient(client);
  GetClientRect(frame_->Handle(), &frame_client);
  EXPECT_EQ(bounds.right - bounds.left, frame_client.right);
  EXPECT_EQ(bounds.bottom - bounds.top, frame_client.bottom);
  EXPECT_EQ(GetMenu(frame_->Handle()), frame_->Menu()->Handle());

  fw::TForm* a = NewChild();
  fw::TForm* b = NewChild();
  EXPECT_EQ(a->FormStyle(), fw::fsMDIChild);
  EXPECT_EQ(GetParent(b->Handle()), client);
  EXPECT_TRUE(GetWindowLongA(b->Handle(), GWL_EXSTYLE) & WS_EX_MDICHILD);
  EXPECT_TRUE(IsWindowVisible(b->Handle()));
  EXPECT_EQ(frame_->MDIChildCount(), 2);
  EXPECT_EQ(frame_->ActiveMDIChild(), b);
  // The children's own controls are there, and the client area is the description's.
  RECT r{};
  GetClientRect(a->Handle(), &r);
  EXPECT_EQ(r.right, 200);
  EXPECT_EQ(r.bottom, 120);
  EXPECT_TRUE(IsWindow(dynamic_cast<fw::TEdit*>(a->FindComponent("Edit1"))->Handle()));

  // The Window menu lists the children after its own item, the active one checked.
  HMENU window = WindowMenuHandle();
  std::vector<std::string> texts;
  for (int i = 0; i < GetMenuItemCount(window); ++i) texts.push_back(MenuText(window, i));
  EXPECT_THAT(texts, testing::Contains(testing::HasSubstr("Child 1")));
  EXPECT_THAT(texts, testing::Contains(testing::HasSubstr("Child 2")));
  const UINT id_b = static_cast<UINT>(GetWindowLongPtrA(b->Handle(), GWLP_ID));
  EXPECT_GE(id_b, fw::kFirstMdiChildId);
  EXPECT_TRUE(GetMenuState(window, id_b, MF_BYCOMMAND) & MF_CHECKED);

  // Choosing a child's entry activates it (the frame's default handling).
  const UINT id_a = static_cast<UINT>(GetWindowLongPtrA(a->Handle(), GWLP_ID));
  SendMessageA(frame_->Handle(), WM_COMMAND, id_a, 0);
  EXPECT_EQ(frame_->ActiveMDIChild(), a);
}

TEST_F(MdiFormsTest, TileCascadeNextAndPrevious) {
  std::vector<fw::TForm*> c = {NewChild(), NewChild(), NewChild()};
  frame_->SetTileMode(fw::tbVertical);
  frame_->Tile();
  fwtest::PumpFor(20);
  // Side by side: no two children overlap, and together they span the client's width.
  RECT client{};
  GetClientRect(frame_->ClientHandle(), &client);
  int width = 0;
  for (size_t i = 0; i < c.size(); ++i) {
    const RECT ri = BoundsInClient(c[i]->Handle());
    width += ri.right - ri.left;
    for (size_t k = i + 1; k < c.size(); ++k) {
      RECT rk = BoundsInClient(c[k]->Handle()), both{};
      EXPECT_FALSE(IntersectRect(&both, &ri, &rk)) << i << " and " << k;
    }
  }
  EXPECT_NEAR(width, client.right, 3);

  frame_->Cascade();
  fwtest::PumpFor(20);
  // Overlapping, each further down and to the right than the one behind it.
  std::vector<RECT> r;
  for (fw::TForm* f : c) r.push_back(BoundsInClient(f->Handle()));
  RECT both{};
  EXPECT_TRUE(IntersectRect(&both, &r[0], &r[1]));
  EXPECT_NE(r[0].left, r[1].left);
  EXPECT_NE(r[0].top, r[1].top);

  fw::TCustomForm* active = frame_->ActiveMDIChild();
  frame_->Next();
  EXPECT_NE(frame_->ActiveMDIChild(), active);
  frame_->Previous();
  EXPECT_EQ(frame_->ActiveMDIChild(), active);

  // Icons in a row at the bottom.
  for (fw::TForm* f : c) ShowWindow(f->Handle(), SW_MINIMIZE);
  frame_->ArrangeIcons();
  fwtest::PumpFor(20);
  const RECT i0 = BoundsInClient(c[0]->Handle()), i1 = BoundsInClient(c[1]->Handle());
  EXPECT_EQ(i0.top, i1.top);
  EXPECT_NE(i0.left, i1.left);
}

TEST_F(MdiFormsTest, CtrlF6GoesToTheNextChildThroughTheMessageLoop) {
  NewChild();
  NewChild();
  fwtest::PumpFor(50);
  SetForegroundWindow(frame_->Handle());
  fw::TCustomForm* active = frame_->ActiveMDIChild();
  ASSERT_NE(active, nullptr);
  INPUT keys[4] = {};
  for (INPUT& k : keys) k.type = INPUT_KEYBOARD;
  keys[0].ki.wVk = VK_CONTROL;
  keys[1].ki.wVk = VK_F6;
  keys[2].ki.wVk = VK_F6;
  keys[2].ki.dwFlags = KEYEVENTF_KEYUP;
  keys[3].ki.wVk = VK_CONTROL;
  keys[3].ki.dwFlags = KEYEVENTF_KEYUP;
  SendInput(4, keys, sizeof(INPUT));
  const DWORD end = GetTickCount() + 2000;
  while (GetTickCount() < end && frame_->ActiveMDIChild() == active) {
    App().ProcessMessages();
    Sleep(10);
  }
  EXPECT_NE(frame_->ActiveMDIChild(), active);
}

TEST_F(MdiFormsTest, ClosingAChildEndsItsWindowAndItsMenuEntry) {
  fw::TForm* a = NewChild();
  fw::TForm* b = NewChild();
  HWND hb = b->Handle();
  const int entries = GetMenuItemCount(WindowMenuHandle());
  b->Close();  // an MDI child's default close action ends its window
  EXPECT_FALSE(IsWindow(hb));
  EXPECT_FALSE(b->HandleAllocated());
  EXPECT_EQ(frame_->MDIChildCount(), 1);
  EXPECT_EQ(frame_->ActiveMDIChild(), a);
  EXPECT_EQ(GetMenuItemCount(WindowMenuHandle()), entries - 1);
  // Freeing the object of a live child ends its window through the client too.
  HWND ha = a->Handle();
  children_.clear();
  EXPECT_FALSE(IsWindow(ha));
  EXPECT_EQ(frame_->MDIChildCount(), 0);
  EXPECT_EQ(frame_->ActiveMDIChild(), nullptr);
}

TEST_F(MdiFormsTest, FreeingTheFrameTakesTheChildWindowsAlong) {
  fw::TForm* a = NewChild();
  HWND client = frame_->ClientHandle();
  frame_.reset();
  EXPECT_FALSE(IsWindow(client));
  EXPECT_FALSE(a->HandleAllocated());
  // A child without a frame cannot make its window.
  auto orphan = std::make_unique<fw::TForm>(&App());
  orphan->ReadDescription(ChildDescription(99));
  EXPECT_THROW(orphan->HandleNeeded(), fw::EOSError);
}

}  // namespace
