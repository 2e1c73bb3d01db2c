// The soak: the skinned calculator driven at random for a long time (STRESS_SOAK_SECONDS,
// default 600): skin switches between the built-in and hostile skins, skinning switched
// off and on, message boxes, the edit box's context menu and the system menu, resizing,
// maximizing, minimizing and restoring, numbers typed with the keyboard and computed, and
// an MDI window beside it whose children are made, maximized, tiled, cascaded and closed.
// At the end every handle count is at its start value, no key typed was lost and 170!
// still comes out right. Not part of `make test`; `make soak` runs it and it prints its
// figures.
#include <windows.h>

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "app/calculator.h"
#include "app/gallery/mdi_forms.h"
#include "app/main_form.h"
#include "framework/application.h"
#include "skin/data/skin_data.h"
#include "tests/skin/data/skin_data_test_util.h"
#include "tests/stress/hostile_skins.h"
#include "tests/stress/stress_support.h"
#include "tests/support/fw_test.h"
#include "tests/support/menu_driver.h"

namespace {

int SoakSeconds() {
  const char* text = std::getenv("STRESS_SOAK_SECONDS");
  const int n = text ? std::atoi(text) : 0;
  return n > 0 ? n : 600;
}

std::string AnsiText(HWND hwnd) {
  char buffer[512] = {};
  GetWindowTextA(hwnd, buffer, sizeof buffer);
  return buffer;
}

enum Action {
  kSwitchSkin,
  kHostileSkin,
  kToggleActive,
  kMessageBox,
  kContextMenu,
  kSystemMenu,
  kResize,
  kMaximize,
  kMinimize,
  kCompute,
  kType,
  kMdi,
  kActionCount
};
const char* const kActionNames[kActionCount] = {"skin switches", "hostile skins", "Active toggles",
                                                "message boxes", "context menus", "system menus",
                                                "resizes",       "maximizes",     "minimizes",
                                                "computations",  "typed numbers", "MDI actions"};

class SoakTest : public fwtest::ApplicationTest {
 protected:
  void SetUp() override {
    ApplicationTest::SetUp();
    App().Initialize();
    App().SetTitle(calc::gbk::kTitle);
    App().CreateForm(&Form1);
    form_ = Form1;
    form_->Show();
    frame_ = new TMdiFrameForm(&App());
    frame_->ReadDescriptionResource();
    frame_->SetBounds(300, 200, 420, 320);
    frame_->Show();
    fwtest::PumpFor(100);
    packages_ = {skintest::ReadBytes(skintest::PackagePath("metallic.skn")),
                 skintest::ReadBytes(skintest::PackagePath("dark.skn"))};
  }
  void TearDown() override {
    delete frame_;
    delete form_;
    Form1 = nullptr;
    ApplicationTest::TearDown();
  }
  void Compute(int n) {
    SetWindowTextA(form_->Edit1->Handle(), std::to_string(n).c_str());
    SendMessageA(form_->Button1->Handle(), BM_CLICK, 0, 0);
  }
  void CloseMenuWith(const std::function<void()>& open) {
    fwtest::MenuDriver driver(
        {[](HWND) { fwtest::TapKey(VK_DOWN); }, [](HWND) { fwtest::TapKey(VK_ESCAPE); }}, 20, 1500);
    open();
    fwtest::PumpFor(10);
  }

  // Types `digits` into the calculator's edit box with the keyboard; true when the box
  // then holds exactly them.
  bool Type(const std::string& digits) {
    HWND hwnd = form_->Handle(), edit = form_->Edit1->Handle();
    if (IsIconic(hwnd)) ShowWindow(hwnd, SW_RESTORE);
    SetForegroundWindow(hwnd);
    SetFocus(edit);
    SendMessageA(edit, EM_SETSEL, 0, -1);
    fwtest::TapKey(VK_DELETE);
    for (char c : digits) fwtest::TapKey(WORD(c));
    fwtest::PumpUntil([&] { return AnsiText(edit) == digits; }, 1000);
    return AnsiText(edit) == digits;
  }
  // One of the MDI window's own commands, chosen by `pick`.
  void MdiAction(int pick) {
    if (!IsWindowVisible(frame_->Handle())) frame_->Show();
    fw::TCustomForm* active = frame_->ActiveMDIChild();
    switch (pick) {
      case 0:
      case 1:
        if (frame_->MDIChildCount() < 6) frame_->NewChild();
        break;
      case 2:
        if (active) active->Close();
        break;
      case 3:
        if (active)
          SendMessageA(frame_->ClientHandle(), WM_MDIMAXIMIZE, WPARAM(active->Handle()), 0);
        break;
      case 4:
        frame_->Tile();
        break;
      case 5:
        frame_->Cascade();
        break;
      default:
        frame_->Next();
        break;
    }
  }
  void CloseMdiChildren() {
    while (fw::TCustomForm* child = frame_->ActiveMDIChild()) {
      child->Close();
      fwtest::PumpFor(5);
    }
    frame_->FreeClosedChildren();
  }

  TForm1* form_ = nullptr;
  TMdiFrameForm* frame_ = nullptr;
  std::vector<std::vector<uint8_t>> packages_;
};

TEST_F(SoakTest, RandomUseForAWhileLeavesNothingBehind) {
  skin::TSkinData& data = *form_->SkinData1;
  HWND hwnd = form_->Handle();
  // One round of everything first, so what the engine makes once is in the start values.
  ASSERT_TRUE(stress::ApplyPackage(data, stress::HostileSkinPackage(4242, false)));
  ASSERT_TRUE(stress::ApplyPackage(data, packages_[0]));
  Compute(5);
  for (int pick : {0, 3, 0, 4, 5, 6, 2}) MdiAction(pick);
  CloseMdiChildren();
  // The closed children's purge runs on the manager's timer: done before the start values.
  fwtest::PumpFor(400);
  stress::RunPendingNow();
  const fw::HandleSnapshot start = fwtest::QuietHandleSnapshot();

  uint64_t state = 0x5EED;
  auto next = [&](int n) {
    state = state * 6364136223846793005ull + 1442695040888963407ull;
    return int((state >> 33) % uint64_t(n));
  };
  std::array<int, kActionCount> done{};
  int wrong_results = 0, lost_typing = 0;
  const DWORD t0 = GetTickCount();
  const DWORD limit = DWORD(SoakSeconds()) * 1000;
  const bool trace = std::getenv("STRESS_SOAK_TRACE") != nullptr;
  while (GetTickCount() - t0 < limit) {
    const auto action = Action(next(kActionCount));
    if (trace) std::fprintf(stderr, "%s\n", kActionNames[action]);
    switch (action) {
      case kSwitchSkin:
        ASSERT_TRUE(stress::ApplyPackage(data, packages_[size_t(next(2))]));
        break;
      case kHostileSkin:
        ASSERT_TRUE(stress::ApplyPackage(
            data, stress::HostileSkinPackage(uint32_t(next(100000)), next(40) == 0)));
        break;
      case kToggleActive:
        data.SetActive(!data.Active());
        stress::RunPendingNow();
        break;
      case kMessageBox: {
        fwtest::MessageBoxRecorder boxes;
        App().MessageBox("soak", "Soak");
        EXPECT_EQ(boxes.Boxes().size(), 1u);
        break;
      }
      case kContextMenu:
        CloseMenuWith([&] {
          POINT p{20, 10};
          ClientToScreen(form_->Edit1->Handle(), &p);
          SendMessageA(form_->Edit1->Handle(), WM_CONTEXTMENU, WPARAM(form_->Edit1->Handle()),
                       MAKELPARAM(p.x, p.y));
        });
        break;
      case kSystemMenu:
        CloseMenuWith([&] {
          RECT r{};
          GetWindowRect(hwnd, &r);
          TrackPopupMenu(GetSystemMenu(hwnd, FALSE), TPM_LEFTALIGN, r.left + 10, r.top + 30, 0,
                         hwnd, nullptr);
        });
        break;
      case kResize:
        ShowWindow(hwnd, SW_RESTORE);
        SetWindowPos(hwnd, nullptr, 20 + next(200), 20 + next(100), 200 + next(600),
                     150 + next(500), SWP_NOZORDER);
        break;
      case kMaximize:
        ShowWindow(hwnd, SW_MAXIMIZE);
        break;
      case kMinimize:
        ShowWindow(hwnd, SW_MINIMIZE);
        fwtest::PumpFor(5);
        ShowWindow(hwnd, SW_RESTORE);
        break;
      case kCompute: {
        const int n = 1 + next(20);
        Compute(n);
        const std::string memo = AnsiText(form_->Memo1->Handle());
        if (memo != calc::FactorialClick(std::to_string(n)).text) ++wrong_results;
        break;
      }
      case kType: {
        const std::string digits = std::to_string(1 + next(170));
        if (!Type(digits)) {
          ++lost_typing;
          break;
        }
        SendMessageA(form_->Button1->Handle(), BM_CLICK, 0, 0);
        if (AnsiText(form_->Memo1->Handle()) != calc::FactorialClick(digits).text) ++wrong_results;
        break;
      }
      case kMdi:
        MdiAction(next(7));
        break;
      default:
        break;
    }
    ++done[action];
    ASSERT_TRUE(IsWindow(hwnd));
    stress::RepaintAll(hwnd);
    fwtest::PumpFor(next(3) * 5);
  }
  const DWORD elapsed = GetTickCount() - t0;

  ShowWindow(hwnd, SW_RESTORE);
  CloseMdiChildren();
  ASSERT_TRUE(stress::ApplyPackage(data, packages_[0]));
  if (!data.Active()) {
    data.SetActive(true);
    stress::RunPendingNow();
  }
  fwtest::PumpFor(300);
  Compute(170);
  EXPECT_EQ(AnsiText(form_->Memo1->Handle()), "170!= 7.25741561530799E306");
  EXPECT_EQ(wrong_results, 0);
  EXPECT_EQ(lost_typing, 0);
  const std::string difference = fwtest::SettledHandleDifference(start);
  EXPECT_EQ(difference, "");

  int total = 0;
  std::printf("soak: %lu ms\n", elapsed);
  for (int a = 0; a < kActionCount; ++a) {
    std::printf("  %-15s %d\n", kActionNames[a], done[a]);
    total += done[a];
  }
  std::printf("  %-15s %d\n  %-15s %d\n  handle counts: %s\n", "actions", total, "lost typing",
              lost_typing, difference.empty() ? "at their start values" : difference.c_str());
  RecordProperty("soak_actions", total);
}

}  // namespace
