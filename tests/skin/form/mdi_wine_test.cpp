// A skinned MDI frame and its children under Wine: children skinned through the client
// once it refreshed its menu, the maximised child (system client rectangle, no painting of
// its own, its buttons in the frame's menu bar), tiling and cascading, the frame's menu bar
// when the last child goes, SetMdiMax with the value it holds, and the handle counts and
// manager lists of 500 children made and closed.
#include <windows.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "framework/form_reader.h"
#include "framework/forms.h"
#include "framework/handle_counts.h"
#include "framework/menus.h"
#include "framework/std_controls.h"
#include "skin/data/skin_data.h"
#include "skin/form/caption_buttons.h"
#include "skin/form/caption_layout.h"
#include "skin/form/frame_geometry.h"
#include "skin/form/skin_form.h"
#include "skin/manager/menu_bar.h"
#include "skin/manager/skin_manager.h"
#include "tests/skin/data/skin_data_test_util.h"
#include "tests/support/fw_test.h"
#include "tests/support/window_pixels.h"

namespace {

using skin::SkinManager;
using skin::TSkinData;
using skin::TSkinForm;

// An MDI child made straight through the client, without the framework.
LRESULT CALLBACK PlainChildProc(HWND h, UINT m, WPARAM w, LPARAM l) {
  return DefMDIChildProcA(h, m, w, l);
}

class MdiTest : public fwtest::ApplicationTest {
 protected:
  void SetUp() override {
    ApplicationTest::SetUp();
    skin::RegisterSkinDataClass();
    fw::RegisterMenuClasses();
    const std::vector<uint8_t> package = skintest::ReadBytes(skintest::PackagePath("metallic.skn"));
    ASSERT_FALSE(package.empty());
    frame_ = std::make_unique<fw::TForm>(&App());
    fw::TForm& f = *frame_;
    f.SetFormStyle(fw::fsMDIForm);
    f.SetBorderStyle(fw::bsSizeable);
    f.SetPosition(fw::poDesigned);
    f.SetBounds(40, 40, 700, 520);
    f.SetCaption("Frame");
    menu_ = new fw::TMainMenu(&f);
    fw::TMenuItem* file = Item(menu_->Items(), "&File");
    Item(file, "&New");
    window_ = Item(menu_->Items(), "&Window");
    Item(window_, "&Tile");
    // Left out of the native menu, and out of the bar built from the menu object.
    fw::TMenuItem* hidden = Item(menu_->Items(), "&Hidden");
    Item(hidden, "&Nothing");
    hidden->SetVisible(false);
    f.SetMenu(menu_);
    f.SetWindowMenu(window_);

    const uint32_t n = static_cast<uint32_t>(package.size());
    std::vector<uint8_t> block(4 + package.size());
    for (int i = 0; i < 4; ++i) block[i] = static_cast<uint8_t>(n >> (8 * i));
    std::memcpy(block.data() + 4, package.data(), n);
    fw::FormObject skin_object{"SkinData1",
                               "TSkinData",
                               {{"Active", fw::FormValue::Ident("True"), 0},
                                {"SkinStream", fw::FormValue::Binary(block), 0}},
                               {},
                               0};
    fw::ReadComponent(f, fw::FormObject{"MdiFrame", "TForm", {}, {skin_object}, 0});
    data_ = dynamic_cast<TSkinData*>(f.FindComponent("SkinData1"));
    ASSERT_NE(data_, nullptr);
    f.Show();
    ASSERT_TRUE(fwtest::PumpUntil([&] {
      frame_controller_ = SkinManager ? SkinManager->FindForm(f.Handle()) : nullptr;
      return frame_controller_ && frame_controller_->LifeState == skin::LifeReady;
    }));
    fwtest::PumpFor(30);
    client_ = f.ClientHandle();
    ASSERT_NE(client_, nullptr);
  }
  void TearDown() override {
    children_.clear();
    frame_.reset();
    ApplicationTest::TearDown();
  }

  static fw::TMenuItem* Item(fw::TMenuItem* parent, const std::string& caption) {
    auto* item = new fw::TMenuItem(parent->Owner() ? parent->Owner() : nullptr);
    item->SetCaption(caption);
    parent->Add(item);
    return item;
  }

  // A child owned by the application (the manager finds its form object there).
  fw::TForm* NewChild(bool with_controls = true) {
    auto child = std::make_unique<fw::TForm>(&App());
    child->SetFormStyle(fw::fsMDIChild);
    child->SetPosition(fw::poDefaultPosOnly);
    child->SetClientWidth(240);
    child->SetClientHeight(140);
    child->SetCaption("Child " + std::to_string(++made_));
    if (with_controls) {
      auto* button = new fw::TButton(child.get());
      button->SetParent(child.get());
      button->SetBounds(10, 10, 90, 25);
      button->SetCaption("Button");
      auto* edit = new fw::TEdit(child.get());
      edit->SetParent(child.get());
      edit->SetBounds(10, 50, 150, 21);
    }
    child->Show();
    children_.push_back(std::move(child));
    return children_.back().get();
  }
  static TSkinForm* ControllerOf(fw::TForm* form) { return SkinManager->FindForm(form->Handle()); }
  // Waits until the child's controller has started and the posted messages are handled.
  TSkinForm* Started(fw::TForm* child) {
    TSkinForm* c = nullptr;
    EXPECT_TRUE(fwtest::PumpUntil([&] {
      c = ControllerOf(child);
      return c && c->LifeState == skin::LifeReady;
    }));
    fwtest::PumpFor(20);
    return c;
  }
  static SIZE ClientSize(HWND h) {
    RECT r{};
    GetClientRect(h, &r);
    return {r.right, r.bottom};
  }
  static SIZE WindowSize(HWND h) {
    RECT r{};
    GetWindowRect(h, &r);
    return {r.right - r.left, r.bottom - r.top};
  }
  // The frame's caption buttons of the menu-bar row (the maximised child's buttons).
  std::vector<skin::TWinSysButton*> MenuRowButtons() const {
    std::vector<skin::TWinSysButton*> out;
    for (skin::TWinSysButton* b : frame_controller_->CaptionButtons)
      if (b->Element && b->Element->Visibility == skin::kVisibilityMenuRow) out.push_back(b);
    return out;
  }

  std::unique_ptr<fw::TForm> frame_;
  std::vector<std::unique_ptr<fw::TForm>> children_;
  fw::TMainMenu* menu_ = nullptr;
  fw::TMenuItem* window_ = nullptr;
  TSkinData* data_ = nullptr;
  TSkinForm* frame_controller_ = nullptr;
  HWND client_ = nullptr;
  int made_ = 0;
  skintest::FreshManager fresh_manager_;
};

TEST_F(MdiTest, TheFrameTakesItsClientAndMenu) {
  EXPECT_EQ(frame_controller_->MdiKind, skin::MdiFrame);
  EXPECT_EQ(frame_controller_->MdiClientWindow, client_);
  EXPECT_EQ(SkinManager->MdiClient, client_);
  EXPECT_TRUE(frame_controller_->MdiClientHooked());
  ASSERT_NE(frame_controller_->MenuBar, nullptr);
  EXPECT_EQ(GetMenu(frame_->Handle()), nullptr);  // the skinned bar took the native menu
  EXPECT_EQ(frame_controller_->MenuBar->ButtonCount(), 2);
  // The client's scroll bars are not drawn on the skinned frame.
  SetWindowPos(client_, nullptr, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
  EXPECT_FALSE(GetWindowLongA(client_, GWL_STYLE) & (WS_HSCROLL | WS_VSCROLL));
}

TEST_F(MdiTest, ChildIsSkinnedOnceTheClientRefreshedItsMenuAndTheFrameRepaints) {
  // Made through the framework: WM_MDICREATE, then WM_MDIREFRESHMENU once its controls
  // exist; it is attached then, and the frame is asked to repaint.
  fw::TForm* child = NewChild();
  HWND hwnd = child->Handle();
  TSkinForm* c = ControllerOf(child);
  ASSERT_NE(c, nullptr);
  EXPECT_EQ(c->MdiKind, skin::MdiChild);
  EXPECT_EQ(c->Form, child);
  EXPECT_EQ(frame_controller_->NewMdiChild, nullptr);
  MSG repaint{};
  EXPECT_TRUE(PeekMessageA(&repaint, frame_->Handle(), skin::WM_SKINREPAINT, skin::WM_SKINREPAINT,
                           PM_NOREMOVE));
  EXPECT_FALSE(data_->MenuUpdate);  // the frame's own menu changes wait while it has children
  ASSERT_EQ(Started(child), c);
  // The child keeps its client area inside the skinned frame.
  EXPECT_EQ(ClientSize(hwnd).cx, 240);
  EXPECT_EQ(ClientSize(hwnd).cy, 140);
  EXPECT_EQ(WindowSize(hwnd).cx, 240 + c->BorderLeft + c->BorderRight);
  EXPECT_EQ(WindowSize(hwnd).cy, 140 + c->BorderTop + c->BorderBottom);
  EXPECT_EQ(c->MenuBar, nullptr);
  EXPECT_FALSE(c->Classified.empty());  // its controls were walked

  // A child made straight through the client waits for the refresh.
  WNDCLASSA wc{};
  wc.lpfnWndProc = &PlainChildProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = "PlainMdiChild";
  RegisterClassA(&wc);
  MDICREATESTRUCTA mcs{};
  mcs.szClass = "PlainMdiChild";
  mcs.szTitle = "Plain";
  mcs.x = mcs.y = 20;
  mcs.cx = 200;
  mcs.cy = 120;
  mcs.style = WS_CHILD | WS_CAPTION | WS_THICKFRAME | WS_SYSMENU;  // hidden: no refresh yet
  HWND plain = reinterpret_cast<HWND>(
      SendMessageA(client_, WM_MDICREATE, 0, reinterpret_cast<LPARAM>(&mcs)));
  ASSERT_NE(plain, nullptr);
  EXPECT_EQ(frame_controller_->NewMdiChild, plain);
  EXPECT_EQ(SkinManager->FindForm(plain), nullptr);
  // Activation does not attach an MDI child either.
  EXPECT_FALSE(SkinManager->AttachWindow(plain));
  SendMessageA(client_, WM_MDIREFRESHMENU, 0, 0);
  TSkinForm* pc = SkinManager->FindForm(plain);
  ASSERT_NE(pc, nullptr);
  EXPECT_EQ(pc->Form, nullptr);
  EXPECT_EQ(frame_controller_->NewMdiChild, nullptr);
  SendMessageA(client_, WM_MDIDESTROY, reinterpret_cast<WPARAM>(plain), 0);
  EXPECT_FALSE(IsWindow(plain));
  UnregisterClassA("PlainMdiChild", GetModuleHandleA(nullptr));
}

TEST_F(MdiTest, MaximizedChildKeepsTheSystemClientAreaAndIsPaintedAgainWhenRestored) {
  fw::TForm* other = NewChild();
  fw::TForm* child = NewChild();
  TSkinForm* c = Started(child);
  ASSERT_NE(c, nullptr);
  Started(other);
  HWND hwnd = child->Handle();
  EXPECT_TRUE(c->RegionApplied);
  for (skin::TWinSysButton* b : MenuRowButtons()) EXPECT_FALSE(b->Visible);

  SendMessageA(client_, WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(hwnd), 0);
  ASSERT_TRUE(fwtest::PumpUntil([&] { return SkinManager->MdiMaximized; }));
  fwtest::PumpFor(30);
  EXPECT_TRUE(IsZoomed(hwnd));
  EXPECT_EQ(c->ShowState, skin::ShowMaximized);
  EXPECT_TRUE(frame_controller_->ActiveMdiChildMaximized());
  // The system's client rectangle: the whole client of the MDI client, the caption and
  // borders outside it; no region of the skin's, the system's caption buttons back.
  const SIZE inner = ClientSize(client_);
  EXPECT_EQ(ClientSize(hwnd).cx, inner.cx);
  EXPECT_EQ(ClientSize(hwnd).cy, inner.cy);
  EXPECT_FALSE(c->RegionApplied);
  EXPECT_TRUE(GetWindowLongA(hwnd, GWL_STYLE) & WS_SYSMENU);
  // The child does not paint its frame while maximised: a paint request leaves the pixels.
  const int w = WindowSize(hwnd).cx;
  RECT strip{0, 0, w, 4};
  fw::ScopedGetDc dc = fw::ScopedGetDc::Window(hwnd);
  const skin::PixelBitmap before = fwtest::ReadWindowPixels(hwnd, &strip);
  c->PaintFrame(dc.get());
  EXPECT_EQ(fwtest::CountDifferences(fwtest::ReadWindowPixels(hwnd, &strip), 0, 0, before), 0);
  // The maximised child's buttons are in the frame's menu bar.
  const std::vector<skin::TWinSysButton*> row = MenuRowButtons();
  ASSERT_EQ(row.size(), 3u);
  for (skin::TWinSysButton* b : row) {
    EXPECT_TRUE(b->Visible);
    EXPECT_GE(b->Bounds.top, frame_controller_->BorderTop);
    EXPECT_LE(b->Bounds.bottom, frame_controller_->BorderTop + frame_controller_->MenuHeight);
    // Hot and back at rest, drawn on the bar under it: as the bar painted it.
    const skin::PixelBitmap rest = fwtest::ReadWindowPixels(frame_->Handle(), &b->Bounds);
    b->MouseHover();
    b->MouseLeave();
    EXPECT_EQ(fwtest::CountDifferences(fwtest::ReadWindowPixels(frame_->Handle(), &b->Bounds), 0, 0,
                                       rest),
              0);
  }

  // Restored: the skin's frame again, painted.
  SendMessageA(client_, WM_MDIRESTORE, reinterpret_cast<WPARAM>(hwnd), 0);
  ASSERT_TRUE(
      fwtest::PumpUntil([&] { return c->ShowState == skin::ShowNormal && c->RegionApplied; }));
  fwtest::PumpFor(50);
  EXPECT_FALSE(SkinManager->MdiMaximized);
  EXPECT_EQ(ClientSize(hwnd).cx, 240);
  EXPECT_EQ(ClientSize(hwnd).cy, 140);
  EXPECT_FALSE(GetWindowLongA(hwnd, GWL_STYLE) & (WS_SYSMENU | WS_MAXIMIZEBOX));
  const SIZE size = WindowSize(hwnd);
  RECT bottom{c->BorderLeft, size.cy - c->BorderBottom, size.cx - c->BorderRight, size.cy};
  const skin::PixelBitmap expected =
      skin::ComposeFramePiece(data_->BottomStrip.get(), skin::FrameStrip::kBottom,
                              bottom.right - bottom.left, c->BorderBottom, c->IsActive);
  ASSERT_FALSE(expected.Empty());
  EXPECT_EQ(fwtest::CountDifferences(fwtest::ReadWindowPixels(hwnd, &bottom), 0, 0, expected, true),
            0);
  for (skin::TWinSysButton* b : MenuRowButtons()) EXPECT_FALSE(b->Visible);
}

TEST_F(MdiTest, MenuBarButtonsActOnTheMaximizedChild) {
  fw::TForm* child = NewChild();
  TSkinForm* c = Started(child);
  ASSERT_NE(c, nullptr);
  SendMessageA(client_, WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(child->Handle()), 0);
  ASSERT_TRUE(fwtest::PumpUntil([&] { return SkinManager->MdiMaximized; }));
  // Restore (action 8) through the frame's button.
  frame_controller_->MdiChildCommand(SC_RESTORE);
  fwtest::PumpFor(30);
  EXPECT_FALSE(IsZoomed(child->Handle()));
  EXPECT_FALSE(SkinManager->MdiMaximized);
  // Close (action 9) on the maximised child.
  SendMessageA(client_, WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(child->Handle()), 0);
  ASSERT_TRUE(fwtest::PumpUntil([&] { return SkinManager->MdiMaximized; }));
  HWND hwnd = child->Handle();
  frame_controller_->MdiChildCommand(SC_CLOSE);
  fwtest::PumpFor(30);
  EXPECT_FALSE(IsWindow(hwnd));
  EXPECT_FALSE(SkinManager->MdiMaximized);
}

TEST_F(MdiTest, TilingOrCascadingMaximizedChildrenSwitchesTheMaximizedStateOffFirst) {
  std::vector<fw::TForm*> c = {NewChild(), NewChild(), NewChild()};
  for (fw::TForm* f : c) Started(f);
  for (bool tile : {false, true}) {
    SendMessageA(client_, WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(c[1]->Handle()), 0);
    ASSERT_TRUE(fwtest::PumpUntil([&] { return SkinManager->MdiMaximized; }));
    if (tile) {
      frame_->Tile();
    } else {
      frame_->Cascade();
    }
    EXPECT_FALSE(SkinManager->MdiMaximized);
    fwtest::PumpFor(50);
    for (fw::TForm* f : c) {
      EXPECT_FALSE(IsZoomed(f->Handle()));
      TSkinForm* sc = ControllerOf(f);
      ASSERT_NE(sc, nullptr);
      EXPECT_EQ(sc->ShowState, skin::ShowNormal);
      EXPECT_TRUE(sc->RegionApplied);
    }
  }
  // The state goes off before the client arranges anything, whatever the children show.
  SkinManager->MdiMaximized = true;
  SendMessageA(client_, WM_MDICASCADE, 0, 0);
  EXPECT_FALSE(SkinManager->MdiMaximized);
}

TEST_F(MdiTest, ClosingTheLastChildRestoresTheMenuBarFromTheMenuObject) {
  fw::TForm* a = NewChild();
  fw::TForm* b = NewChild();
  Started(a);
  Started(b);
  skin::TSkinMenuBar* bar = frame_controller_->MenuBar.get();
  ASSERT_NE(bar, nullptr);
  EXPECT_EQ(bar->ButtonCount(), 2);  // from the native menu, without the hidden item
  b->Close();
  EXPECT_EQ(bar->ButtonCount(), 2);  // a child is left
  EXPECT_FALSE(data_->MenuUpdate);
  a->Close();
  // From the menu object: every visible item, as in the native bar.
  ASSERT_EQ(bar->ButtonCount(), 2);
  EXPECT_EQ(bar->Button(0)->Caption, "&File");
  EXPECT_EQ(bar->Button(1)->Caption, "&Window");
  EXPECT_EQ(bar->Button(0)->SubMenu, menu_->Items()->Items(0)->Handle());
  EXPECT_TRUE(data_->MenuUpdate);  // as it was when the frame was attached
  EXPECT_EQ(GetMenu(frame_->Handle()), nullptr);
  EXPECT_EQ(SkinManager->CountMdiChildren(), 0);
}

TEST_F(MdiTest, SetMdiMaxWithTheValueHeldTouchesNothing) {
  fw::TForm* child = NewChild();
  TSkinForm* c = Started(child);
  ASSERT_NE(c, nullptr);
  ASSERT_FALSE(SkinManager->MdiMaximized);
  HWND hwnd = child->Handle();
  // States that a real switch would change.
  c->ShowState = skin::ShowMaximized;
  const LONG style = GetWindowLongA(hwnd, GWL_STYLE);
  SkinManager->SetMdiMax(false);
  EXPECT_EQ(c->ShowState, skin::ShowMaximized);
  EXPECT_TRUE(c->RegionApplied);
  EXPECT_EQ(GetWindowLongA(hwnd, GWL_STYLE), style);
  c->ShowState = skin::ShowNormal;

  SkinManager->SetMdiMax(true);
  EXPECT_FALSE(c->RegionApplied);
  EXPECT_TRUE(GetWindowLongA(hwnd, GWL_STYLE) & WS_SYSMENU);
  SetWindowLongA(hwnd, GWL_STYLE, GetWindowLongA(hwnd, GWL_STYLE) & ~WS_SYSMENU);
  c->RegionApplied = true;
  SkinManager->SetMdiMax(true);
  EXPECT_TRUE(c->RegionApplied);
  EXPECT_FALSE(GetWindowLongA(hwnd, GWL_STYLE) & WS_SYSMENU);
  c->RegionApplied = false;
  SkinManager->SetMdiMax(false);
  EXPECT_TRUE(c->RegionApplied);
}

TEST_F(MdiTest, FiveHundredChildrenLeaveTheCountsAndListsAsTheyWere) {
  // One child first, so every lazily made shared object exists before the snapshot.
  NewChild();
  Started(children_.back().get());
  children_.clear();
  // The purge of the closed controller.
  ASSERT_TRUE(fwtest::PumpUntil([&] { return SkinManager->Forms.size() == 1; }));
  fwtest::PumpUntil([] { return !SkinManager->Timer.Enabled(); });
  fwtest::PumpFor(20);
  const fw::HandleSnapshot start = fwtest::QuietHandleSnapshot();
  const size_t forms = SkinManager->Forms.size(), popups = SkinManager->Popups.size(),
               datas = SkinManager->SkinDatas.size();
  ASSERT_EQ(forms, 1u);
  const size_t app_forms = App().Forms().size();
  const DWORD t0 = GetTickCount();
  for (int round = 0; round < 10; ++round) {
    for (int i = 0; i < 50; ++i) NewChild(i % 2 == 0);
    fwtest::PumpFor(20);
    EXPECT_EQ(SkinManager->CountMdiChildren(), 50);
    if (round == 4) {
      SendMessageA(client_, WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(children_[7]->Handle()), 0);
      fwtest::PumpFor(20);
      frame_->Tile();
    }
    // Half closed through the client as the user would, half freed.
    for (size_t i = 0; i < children_.size(); i += 2) children_[i]->Close();
    children_.clear();
    EXPECT_EQ(SkinManager->CountMdiChildren(), 0);
    EXPECT_TRUE(fwtest::PumpUntil([&] { return SkinManager->Forms.size() == forms; }))
        << "round " << round;
  }
  RecordProperty("children_ms", static_cast<int>(GetTickCount() - t0));
  EXPECT_FALSE(SkinManager->MdiMaximized);
  EXPECT_EQ(SkinManager->Popups.size(), popups);
  EXPECT_EQ(SkinManager->SkinDatas.size(), datas);
  EXPECT_EQ(App().Forms().size(), app_forms);
  EXPECT_EQ(fwtest::SettledHandleDifference(start), "");
  EXPECT_EQ(frame_controller_->MenuBar->ButtonCount(), 2);
}

}  // namespace
