// Windows the engine did not make for itself, and windows that go away at the worst
// moment: a window of a class the engine does not know, a form some other library
// subclassed before the skin attached (and that library letting go out of order), a
// common dialog, a window destroyed from inside its own painting while skinned, and a
// form destroyed while the manager's deferred action is pending. Each ends with the window
// (or the program) working and every handle count where it started.
#include <windows.h>
#include <commdlg.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "framework/form_reader.h"
#include "framework/forms.h"
#include "framework/handle_counts.h"
#include "framework/std_controls.h"
#include "skin/data/skin_data.h"
#include "skin/form/skin_form.h"
#include "skin/manager/skin_manager.h"
#include "tests/skin/data/skin_data_test_util.h"
#include "tests/stress/hostile_skins.h"
#include "tests/stress/stress_support.h"
#include "tests/support/fw_test.h"

namespace {

using skin::SkinManager;
using skin::TSkinData;

// ---- a window procedure of "another library" ----
WNDPROC g_other_saved = nullptr;
int g_other_messages = 0;
constexpr UINT kPing = WM_APP + 17;

LRESULT CALLBACK OtherLibraryProc(HWND h, UINT m, WPARAM w, LPARAM l) {
  ++g_other_messages;
  if (m == kPing) return 4242;
  return CallWindowProcA(g_other_saved, h, m, w, l);
}

// ---- a class nobody has heard of ----
int g_foreign_paints = 0;
LRESULT CALLBACK ForeignClassProc(HWND h, UINT m, WPARAM w, LPARAM l) {
  switch (m) {
    case WM_PAINT: {
      PAINTSTRUCT ps;
      BeginPaint(h, &ps);
      ++g_foreign_paints;
      EndPaint(h, &ps);
      return 0;
    }
    case kPing:
      return 777;
    default:
      return DefWindowProcA(h, m, w, l);
  }
}

// A form that destroys its own window from inside the painting of its frame or client,
// underneath the skin's window procedure.
class SelfDestroyingForm : public fw::TForm {
 public:
  using fw::TForm::TForm;
  UINT destroy_on = 0;  // WM_NCPAINT or WM_PAINT; 0: never
  int destroyed = 0;

 protected:
  void WndProc(fw::TMessage& message) override {
    if (destroy_on && message.Msg == destroy_on && HandleAllocated()) {
      destroy_on = 0;
      ++destroyed;
      DestroyWindow(Handle());
      message.Result = 0;
      return;
    }
    fw::TForm::WndProc(message);
  }
};

class ForeignWindowsTest : public fwtest::ApplicationTest {
 protected:
  void SetUp() override {
    ApplicationTest::SetUp();
    skin::RegisterSkinDataClass();
    metallic_ = skintest::ReadBytes(skintest::PackagePath("metallic.skn"));
    ASSERT_FALSE(metallic_.empty());
  }

  static fw::FormProperty Stream(const std::vector<uint8_t>& package) {
    const uint32_t n = static_cast<uint32_t>(package.size());
    std::vector<uint8_t> block(4 + package.size());
    for (int i = 0; i < 4; ++i) block[i] = static_cast<uint8_t>(n >> (8 * i));
    if (n) std::memcpy(block.data() + 4, package.data(), n);
    return {"SkinStream", fw::FormValue::Binary(block), 0};
  }
  // A form with a button and an SkinData1 carrying the metallic skin.
  template <class Form = fw::TForm>
  std::unique_ptr<Form> MakeForm(bool active = true) {
    std::vector<fw::FormProperty> props{
        {"Active", fw::FormValue::Ident(active ? "True" : "False"), 0}, Stream(metallic_)};
    fw::FormObject skin_object{"SkinData1", "TSkinData", std::move(props), {}, 0};
    fw::FormObject form_object{
        "ForeignForm" + std::to_string(++forms_), "TForm", {}, {skin_object}, 0};
    auto form = std::make_unique<Form>(&App());
    form->SetBorderStyle(fw::bsSizeable);
    form->SetPosition(fw::poDesigned);
    form->SetBounds(60, 60, 360, 240);
    form->SetCaption("Foreign");
    fw::ReadComponent(*form, form_object);
    auto* button = new fw::TButton(form.get());
    button->SetParent(form.get());
    button->SetBounds(20, 20, 90, 26);
    button->SetCaption("Press");
    button->OnClick = [this](fw::TObject*) { ++clicks_; };
    button_ = button;
    return form;
  }
  static TSkinData& SkinDataOf(fw::TForm& form) {
    return *dynamic_cast<TSkinData*>(form.FindComponent("SkinData1"));
  }
  static skin::TSkinForm* Controller(HWND hwnd) {
    return SkinManager ? SkinManager->FindForm(hwnd) : nullptr;
  }
  static bool ShowSkinned(fw::TForm& form) {
    form.Show();
    return fwtest::PumpUntil([&] {
      skin::TSkinForm* c = Controller(form.Handle());
      return c && c->LifeState == skin::LifeReady;
    });
  }
  static WNDPROC ProcOf(HWND hwnd) {
    return reinterpret_cast<WNDPROC>(GetWindowLongPtrA(hwnd, GWLP_WNDPROC));
  }
  // The button still takes a click (BM_CLICK runs the same path as the mouse's).
  bool ButtonWorks() {
    const int before = clicks_;
    SendMessageA(button_->Handle(), BM_CLICK, 0, 0);
    return clicks_ == before + 1;
  }

  skintest::FreshManager fresh_manager_;
  std::vector<uint8_t> metallic_;
  fw::TButton* button_ = nullptr;
  int clicks_ = 0;
  int forms_ = 0;
};

TEST_F(ForeignWindowsTest, WindowOfAnUnknownClassKeepsWorking) {
  auto form = MakeForm();
  ASSERT_TRUE(ShowSkinned(*form));
  WNDCLASSA wc{};
  wc.lpfnWndProc = ForeignClassProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = "StressForeignClass";
  wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  RegisterClassA(&wc);
  // The timers of the first showing (deferred actions, hover polls) run out first.
  fwtest::PumpFor(400);
  const fw::HandleSnapshot start = fwtest::QuietHandleSnapshot();
  for (int round = 0; round < 20; ++round) {
    // Top-level and as a child of the skinned form, while the manager's hook watches.
    HWND top =
        CreateWindowExA(0, "StressForeignClass", "Foreign top", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                        80, 80, 200, 120, nullptr, nullptr, wc.hInstance, nullptr);
    HWND child = CreateWindowExA(0, "StressForeignClass", "", WS_CHILD | WS_VISIBLE, 130, 20, 60,
                                 40, form->Handle(), nullptr, wc.hInstance, nullptr);
    ASSERT_TRUE(top && child);
    g_foreign_paints = 0;
    stress::RepaintAll(top);
    stress::RepaintAll(form->Handle());
    fwtest::PumpFor(10);
    EXPECT_GE(g_foreign_paints, 2);
    EXPECT_EQ(SendMessageA(top, kPing, 0, 0), 777);
    EXPECT_EQ(SendMessageA(child, kPing, 0, 0), 777);
    SetWindowPos(top, nullptr, 0, 0, 260, 180, SWP_NOMOVE | SWP_NOZORDER);
    ShowWindow(top, SW_MAXIMIZE);
    ShowWindow(top, SW_RESTORE);
    EXPECT_EQ(ProcOf(child), &ForeignClassProc);
    // The manager skins the foreign top-level window too, each time: also when the new
    // window has the handle of one destroyed a moment ago, whose controller still waits
    // for the purge.
    EXPECT_NE(Controller(top), nullptr) << round;
    DestroyWindow(child);
    DestroyWindow(top);
    // Switching skins while it exists and after it went.
    if (round % 5 == 0) {
      ASSERT_TRUE(stress::ApplyPackage(SkinDataOf(*form), metallic_));
    }
  }
  // The controllers of destroyed windows go with the manager's next tick.
  fwtest::PumpFor(400);
  EXPECT_EQ(fwtest::SettledHandleDifference(start), "");
  EXPECT_TRUE(ButtonWorks());
  UnregisterClassA("StressForeignClass", wc.hInstance);
}

TEST_F(ForeignWindowsTest, FormSubclassedByAnotherLibraryBeforeTheSkinAttaches) {
  auto form = MakeForm(/*active=*/false);
  form->Show();
  fwtest::PumpFor(30);
  HWND hwnd = form->Handle();
  ASSERT_EQ(Controller(hwnd), nullptr);
  TSkinData& data = SkinDataOf(*form);
  // Skinned once before, so what the engine makes once per process is in the start values.
  data.SetActive(true);
  stress::RunPendingNow();
  data.SetActive(false);
  stress::RunPendingNow();
  fwtest::PumpFor(50);
  const fw::HandleSnapshot start = fwtest::QuietHandleSnapshot();
  // The other library subclasses first.
  g_other_saved = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&OtherLibraryProc)));
  for (int round = 0; round < 10; ++round) {
    data.SetActive(true);
    stress::RunPendingNow();
    ASSERT_NE(Controller(hwnd), nullptr) << round;
    stress::RepaintAll(hwnd);
    g_other_messages = 0;
    EXPECT_EQ(SendMessageA(hwnd, kPing, 0, 0), 4242);
    EXPECT_GT(g_other_messages, 0);
    EXPECT_TRUE(ButtonWorks());
    data.SetActive(false);
    stress::RunPendingNow();
    EXPECT_EQ(Controller(hwnd), nullptr) << round;
    // The other library's procedure is in place again, still chaining to the form's.
    EXPECT_EQ(ProcOf(hwnd), &OtherLibraryProc) << round;
    EXPECT_EQ(SendMessageA(hwnd, kPing, 0, 0), 4242);
  }
  fwtest::PumpFor(300);
  EXPECT_EQ(fwtest::SettledHandleDifference(start), "");
  // Now the other library lets go while the skin is attached, out of order: it puts back
  // what it saved, cutting the skin's procedure out of the chain. The skin's stub cannot
  // be unlinked then without cutting off whoever is above it; it stays in pass-through
  // mode while the window lives. The window must keep working throughout.
  data.SetActive(true);
  stress::RunPendingNow();
  ASSERT_NE(Controller(hwnd), nullptr);
  SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_other_saved));
  stress::RepaintAll(hwnd);
  EXPECT_TRUE(ButtonWorks());
  data.SetActive(false);
  stress::RunPendingNow();
  EXPECT_EQ(Controller(hwnd), nullptr);
  stress::RepaintAll(hwnd);
  EXPECT_TRUE(IsWindow(hwnd));
  EXPECT_TRUE(ButtonWorks());
  // And it can be skinned again.
  data.SetActive(true);
  stress::RunPendingNow();
  EXPECT_NE(Controller(hwnd), nullptr);
  EXPECT_TRUE(ButtonWorks());
  data.SetActive(false);
  stress::RunPendingNow();
  fwtest::PumpFor(300);
  std::printf("after the out-of-order release: %s\n",
              fwtest::SettledHandleDifference(start).c_str());
}

TEST_F(ForeignWindowsTest, CommonDialogIsShownAndClosedOverASkinnedForm) {
  auto form = MakeForm();
  ASSERT_TRUE(ShowSkinned(*form));
  // The manager idle, its timer off, before the snapshot.
  fwtest::PumpUntil([] { return !SkinManager->Timer.Enabled(); });
  const fw::HandleSnapshot start = fwtest::QuietHandleSnapshot();
  for (int round = 0; round < 5; ++round) {
    fwtest::MessageBoxRecorder boxes;  // records the dialog and presses its default button
    static COLORREF custom[16] = {};
    CHOOSECOLORA cc{};
    cc.lStructSize = sizeof cc;
    cc.hwndOwner = form->Handle();
    cc.rgbResult = RGB(10, 20, 30);
    cc.lpCustColors = custom;
    cc.Flags = CC_RGBINIT | CC_FULLOPEN;
    const BOOL chosen = ChooseColorA(&cc);
    EXPECT_TRUE(chosen) << CommDlgExtendedError();
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_FALSE(boxes.Boxes()[0].caption.empty());
    fwtest::PumpFor(20);
    EXPECT_TRUE(IsWindowEnabled(form->Handle()));
    EXPECT_TRUE(ButtonWorks());
  }
  fwtest::PumpFor(300);  // the manager's deferred work for the dialog
  EXPECT_EQ(fwtest::SettledHandleDifference(start), "");
  EXPECT_NE(Controller(form->Handle()), nullptr);
}

TEST_F(ForeignWindowsTest, WindowDestroyedWhileItsSkinnerPaints) {
  const fw::HandleSnapshot start = fwtest::QuietHandleSnapshot();
  for (UINT message : {UINT(WM_PAINT), UINT(WM_ERASEBKGND), UINT(WM_GETTEXT)}) {
    SCOPED_TRACE(message);
    {
      auto form = MakeForm<SelfDestroyingForm>();
      ASSERT_TRUE(ShowSkinned(*form));
      HWND first = form->Handle();
      form->destroy_on = message;
      stress::RepaintAll(first);
      fwtest::PumpFor(30);
      if (message == WM_GETTEXT) {
        // Not every skin paint asks: force a caption change, which repaints the title.
        form->SetCaption("Foreign, again");
        stress::RepaintAll(first);
      }
      EXPECT_EQ(form->destroyed, 1);
      EXPECT_FALSE(IsWindow(first));
      // The manager lets go of the dead window's controller on its next tick.
      fwtest::PumpFor(320);
      EXPECT_EQ(Controller(first), nullptr);
      // The form makes a new window, which is skinned again and works.
      form->Show();
      stress::RunPendingNow();
      ASSERT_TRUE(IsWindow(form->Handle()));
      fwtest::PumpUntil([&] { return Controller(form->Handle()) != nullptr; }, 1500);
      stress::RepaintAll(form->Handle());
      EXPECT_TRUE(ButtonWorks());
    }
    fwtest::PumpFor(20);
  }
  skin::FreeSkinManager();
  EXPECT_EQ(fwtest::SettledHandleDifference(start), "");
}

TEST_F(ForeignWindowsTest, FormDestroyedDuringTheDeferredAction) {
  auto keeper = MakeForm();  // a form that stays, so the manager keeps running
  ASSERT_TRUE(ShowSkinned(*keeper));
  fw::TButton* keeper_button = button_;
  const fw::HandleSnapshot start = fwtest::QuietHandleSnapshot();
  for (int round = 0; round < 12; ++round) {
    SCOPED_TRACE(round);
    auto form = MakeForm();
    ASSERT_TRUE(ShowSkinned(*form));
    TSkinData& data = SkinDataOf(*form);
    switch (round % 4) {
      case 0:  // a new skin asked for, the form deleted before the timer fires
        data.SetStoreBytes(stress::HostileSkinPackage(uint32_t(round), false));
        ASSERT_TRUE(data.LoadFromStore());
        data.ApplyNewSkin();
        break;
      case 1:  // skinning switched off and on again
        data.SetActive(false);
        data.SetActive(true);
        break;
      case 2:  // the window goes first, then the form object
        data.ApplyNewSkin();
        DestroyWindow(form->Handle());
        break;
      case 3:  // the window goes and the timer runs before the object goes
        data.ApplyNewSkin();
        DestroyWindow(form->Handle());
        fwtest::PumpFor(320);
        break;
    }
    form.reset();
    fwtest::PumpFor(320);  // past the 250 ms tick
    EXPECT_FALSE(SkinManager->HasPending(&data));
    // The remaining form still works and can change skins.
    button_ = keeper_button;
    EXPECT_TRUE(ButtonWorks());
  }
  ASSERT_TRUE(stress::ApplyPackage(SkinDataOf(*keeper), metallic_));
  fwtest::PumpFor(20);
  EXPECT_EQ(fwtest::SettledHandleDifference(start), "");
  EXPECT_NE(Controller(keeper->Handle()), nullptr);
}

}  // namespace
