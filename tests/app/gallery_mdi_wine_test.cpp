// The gallery's MDI window as a user meets it: opened from the gallery's menu, skinned with
// the gallery's skin, children made from its menu, one maximised and the others reached
// from it, tiled and cascaded, and the maximised child closed with the button in the
// frame's menu bar (a real click).
#include <windows.h>

#include <gtest/gtest.h>

#include "app/gallery/gallery_form.h"
#include "app/gallery/mdi_forms.h"
#include "skin/form/caption_buttons.h"
#include "skin/form/caption_layout.h"
#include "skin/form/skin_form.h"
#include "skin/manager/skin_manager.h"
#include "tests/support/fw_test.h"

namespace {

using skin::SkinManager;

class GalleryMdiTest : public fwtest::ApplicationTest {
 protected:
  void SetUp() override {
    ApplicationTest::SetUp();
    form_ = App().CreateForm(&GalleryForm);
    form_->Show();
    ASSERT_TRUE(fwtest::PumpUntil([&] { return Ready(form_->Handle()); }));
  }
  void TearDown() override {
    GalleryForm = nullptr;
    ApplicationTest::TearDown();
    skin::FreeSkinManager();
  }
  static skin::TSkinForm* Ready(HWND hwnd) {
    skin::TSkinForm* c = SkinManager ? SkinManager->FindForm(hwnd) : nullptr;
    return c && c->LifeState == skin::LifeReady ? c : nullptr;
  }
  TGalleryForm* form_ = nullptr;
};

TEST_F(GalleryMdiTest, ChildrenMaximisedSwitchedTiledCascadedAndClosedFromTheMenuBar) {
  // From the gallery's Dialogs menu.
  fw::TMenuItem* item = dynamic_cast<fw::TMenuItem*>(form_->FindComponent("MdiItem"));
  ASSERT_NE(item, nullptr);
  item->Click();
  TMdiFrameForm* frame = form_->MdiWindow();
  ASSERT_NE(frame, nullptr);
  EXPECT_EQ(frame->FormStyle(), fw::fsMDIForm);
  skin::TSkinForm* fc = nullptr;
  ASSERT_TRUE(fwtest::PumpUntil([&] { return (fc = Ready(frame->Handle())) != nullptr; }));
  EXPECT_EQ(fc->MdiKind, skin::MdiFrame);
  EXPECT_EQ(fc->SkinData, form_->SkinData1);

  // Three children from File > New child, each skinned.
  fw::TMenuItem* new_child = dynamic_cast<fw::TMenuItem*>(frame->FindComponent("NewChildItem"));
  ASSERT_NE(new_child, nullptr);
  for (int i = 0; i < 3; ++i) new_child->Click();
  ASSERT_EQ(frame->MDIChildCount(), 3);
  for (int i = 0; i < 3; ++i) {
    HWND child = frame->MDIChildren(i)->Handle();
    EXPECT_TRUE(fwtest::PumpUntil([&] { return Ready(child) != nullptr; })) << i;
  }
  fwtest::PumpFor(50);

  // Maximise the active one; the next child comes maximised too.
  fw::TCustomForm* first = frame->ActiveMDIChild();
  SendMessageA(frame->ClientHandle(), WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(first->Handle()), 0);
  ASSERT_TRUE(fwtest::PumpUntil([&] { return SkinManager->MdiMaximized; }));
  frame->Next();
  fwtest::PumpFor(50);
  fw::TCustomForm* second = frame->ActiveMDIChild();
  EXPECT_NE(second, first);
  EXPECT_TRUE(IsZoomed(second->Handle()));
  EXPECT_TRUE(SkinManager->MdiMaximized);

  // Tile and cascade from the Window menu: the maximised look goes first.
  dynamic_cast<fw::TMenuItem*>(frame->FindComponent("TileItem"))->Click();
  EXPECT_FALSE(SkinManager->MdiMaximized);
  fwtest::PumpFor(50);
  for (int i = 0; i < 3; ++i) EXPECT_FALSE(IsZoomed(frame->MDIChildren(i)->Handle()));
  dynamic_cast<fw::TMenuItem*>(frame->FindComponent("CascadeItem"))->Click();
  fwtest::PumpFor(50);

  // Maximised again, the child is closed with the close button in the frame's menu bar.
  fw::TCustomForm* active = frame->ActiveMDIChild();
  HWND closing = active->Handle();
  SendMessageA(frame->ClientHandle(), WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(closing), 0);
  ASSERT_TRUE(fwtest::PumpUntil([&] { return SkinManager->MdiMaximized; }));
  fwtest::PumpFor(100);
  skin::TWinSysButton* close = nullptr;
  for (skin::TWinSysButton* b : fc->CaptionButtons)
    if (b->Element && b->Element->Visibility == skin::kVisibilityMenuRow &&
        (b->Element->Action == 9 || b->Element->Action == 62))
      close = b;
  ASSERT_NE(close, nullptr);
  ASSERT_TRUE(close->Visible) << "menu height " << fc->MenuHeight << ", active child maximised "
                              << fc->ActiveMdiChildMaximized();
  // Bounds are window coordinates; the click takes client coordinates.
  RECT window{};
  GetWindowRect(frame->Handle(), &window);
  POINT at{window.left + (close->Bounds.left + close->Bounds.right) / 2,
           window.top + (close->Bounds.top + close->Bounds.bottom) / 2};
  ScreenToClient(frame->Handle(), &at);
  fwtest::ClickAt(frame->Handle(), at);
  EXPECT_TRUE(fwtest::PumpUntil([&] { return !IsWindow(closing); }));
  EXPECT_EQ(frame->MDIChildCount(), 2);

  // Closing the frame hides it with its children; it opens again.
  frame->Close();
  EXPECT_FALSE(IsWindowVisible(frame->Handle()));
  item->Click();
  EXPECT_TRUE(IsWindowVisible(frame->Handle()));
  EXPECT_EQ(frame->MDIChildCount(), 2);
}

// Several children closed at once are all freed when the next one is made.
TEST_F(GalleryMdiTest, ClosedChildrenAreFreedTogether) {
  TMdiFrameForm* frame = form_->ShowMdiWindow();
  for (int i = 0; i < 4; ++i) frame->NewChild();
  ASSERT_EQ(frame->MDIChildCount(), 4);
  for (int i = 0; i < 3; ++i) frame->ActiveMDIChild()->Close();
  fwtest::PumpFor(20);
  EXPECT_EQ(frame->MDIChildCount(), 1);
  frame->NewChild();
  EXPECT_EQ(frame->MDIChildCount(), 2);
  frame->FreeClosedChildren();
  EXPECT_EQ(frame->MDIChildCount(), 2);
}

}  // namespace
