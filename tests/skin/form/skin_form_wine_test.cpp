// The skinned window under Wine: which windows the manager attaches, the skinned frame's
// size, region, hit test and pixels, switching skins on and off at run time, a broken
// skin, and the handle counts of long skin/unskin/paint runs.
#include "skin/form/caption_buttons.h"
#include "skin/form/skin_form.h"

#include <windows.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <thread>
#include <utility>

#include "framework/form_reader.h"
#include "framework/forms.h"
#include "framework/handle_counts.h"
#include "skin/data/skin_data.h"
#include "skin/data/skin_scaling.h"
#include "skin/form/dwm_frame.h"
#include "skin/manager/element_painting.h"
#include "skin/manager/skin_manager.h"
#include "tests/skin/data/skin_data_test_util.h"
#include "tests/support/fw_test.h"

namespace {

using skin::SkinManager;
using skin::TSkinData;
using skin::TSkinForm;

constexpr int kClientWidth = 420;
constexpr int kClientHeight = 260;

// The window's pixels as the screen shows them (window coordinates), 32-bit.
skin::PixelBitmap ReadWindowPixels(HWND hwnd) {
  RECT r{};
  GetWindowRect(hwnd, &r);
  const int w = r.right - r.left, h = r.bottom - r.top;
  skin::DibSection dib = skin::CreateDibSection(w, h);
  fw::ScopedMemoryDc dc(CreateCompatibleDC(nullptr));
  fw::ScopedSelectObject select(dc.get(), dib.bitmap.get());
  fw::ScopedGetDc window = fw::ScopedGetDc::Window(hwnd);
  BitBlt(dc.get(), 0, 0, w, h, window.get(), 0, 0, SRCCOPY);
  GdiFlush();
  return skin::ReadDibPixels(dib);
}

// A window procedure of a window that another skinning says it skins already.
LRESULT CALLBACK AnswersSkinQuery(HWND h, UINT m, WPARAM w, LPARAM l) {
  if (m == skin::WM_SKINQUERY) return 1;
  return DefWindowProcA(h, m, w, l);
}

class SkinFormTest : public fwtest::ApplicationTest {
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

  // A form carrying an active SkinData1 with the metallic skin (more properties first).
  std::unique_ptr<fw::TForm> MakeForm(std::vector<fw::FormProperty> skin_properties = {},
                                      int tag = 0) {
    skin_properties.insert(skin_properties.begin(), {"Active", fw::FormValue::Ident("True"), 0});
    skin_properties.push_back(Stream(metallic_));
    fw::FormObject skin_object{"SkinData1", "TSkinData", std::move(skin_properties), {}, 0};
    fw::FormObject form_object{
        "SkinForm" + std::to_string(++forms_), "TForm", {}, {skin_object}, 0};
    auto form = std::make_unique<fw::TForm>(&App());
    form->SetTag(tag);
    form->SetBorderStyle(fw::bsSizeable);
    form->SetPosition(fw::poDesigned);
    form->SetBounds(100, 100, 300, 200);
    form->SetClientWidth(kClientWidth);
    form->SetClientHeight(kClientHeight);
    form->SetCaption("Skinned form");
    fw::ReadComponent(*form, form_object);
    return form;
  }
  static TSkinData& SkinDataOf(fw::TForm& form) {
    return *dynamic_cast<TSkinData*>(form.FindComponent("SkinData1"));
  }
  // Shows the form and waits until its controller has started.
  static TSkinForm* ShowSkinned(fw::TForm& form) {
    form.Show();
    TSkinForm* controller = nullptr;
    fwtest::PumpUntil([&] {
      controller = SkinManager ? SkinManager->FindForm(form.Handle()) : nullptr;
      return controller && controller->LifeState == skin::LifeReady;
    });
    fwtest::PumpFor(30);
    return controller;
  }
  static SIZE ClientSize(HWND hwnd) {
    RECT r{};
    GetClientRect(hwnd, &r);
    return {r.right, r.bottom};
  }
  static SIZE WindowSize(HWND hwnd) {
    RECT r{};
    GetWindowRect(hwnd, &r);
    return {r.right - r.left, r.bottom - r.top};
  }
  static WNDPROC ProcOf(HWND hwnd) {
    return reinterpret_cast<WNDPROC>(GetWindowLongPtrA(hwnd, GWLP_WNDPROC));
  }
  // Carries out a skin data's request at once instead of 250 ms later.
  static void RunNow(TSkinData& data, int action) {
    SkinManager->ScheduleAction(action, 250, &data);
    SkinManager->RunPendingAction();
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
  }

  skintest::FreshManager fresh_manager_;
  std::vector<uint8_t> metallic_;
  int forms_ = 0;
};

TEST_F(SkinFormTest, SkinnedFrameKeepsTheClientAreaAndAnswersTheQuery) {
  auto form = MakeForm();
  HWND hwnd = form->Handle();
  const WNDPROC original = ProcOf(hwnd);
  TSkinForm* controller = ShowSkinned(*form);
  ASSERT_NE(controller, nullptr);
  TSkinData& data = SkinDataOf(*form);
  EXPECT_EQ(controller->Owner(), form.get());
  EXPECT_EQ(controller->SkinData, &data);
  EXPECT_EQ(SendMessageA(hwnd, skin::WM_SKINQUERY, 0, 0), 1);
  EXPECT_NE(ProcOf(hwnd), original);
  // The frame's widths come from the strips' frames; the client area kept its size.
  EXPECT_EQ(controller->BorderTop, data.TopStrip->Image.Height() / data.TopStrip->FrameCount);
  EXPECT_EQ(controller->BorderLeft, data.LeftStrip->Image.Width() / data.LeftStrip->FrameCount);
  EXPECT_EQ(ClientSize(hwnd).cx, kClientWidth);
  EXPECT_EQ(ClientSize(hwnd).cy, kClientHeight);
  const SIZE window = WindowSize(hwnd);
  EXPECT_EQ(window.cx, kClientWidth + controller->BorderLeft + controller->BorderRight);
  EXPECT_EQ(window.cy, kClientHeight + controller->BorderTop + controller->BorderBottom);
  // The system's caption buttons are off while the skin draws the frame.
  EXPECT_FALSE(GetWindowLongA(hwnd, GWL_STYLE) & (WS_SYSMENU | WS_MAXIMIZEBOX | WS_MINIMIZEBOX));
  EXPECT_EQ(controller->FrameKind, skin::FrameEdged);
  EXPECT_TRUE(controller->RegionApplied);
  EXPECT_EQ(form->Color(), static_cast<fw::TColor>(data.ButtonFace));
}

TEST_F(SkinFormTest, HitTestRowsAndTheClientArea) {
  auto form = MakeForm();
  HWND hwnd = form->Handle();
  TSkinForm* controller = ShowSkinned(*form);
  ASSERT_NE(controller, nullptr);
  RECT r{};
  GetWindowRect(hwnd, &r);
  const auto hit = [&](int x, int y) {
    return SendMessageA(hwnd, WM_NCHITTEST, 0, MAKELPARAM(r.left + x, r.top + y));
  };
  const int w = r.right - r.left;
  EXPECT_EQ(hit(w / 2, controller->BorderTop + 20), HTCLIENT);
  EXPECT_EQ(hit(w / 2, controller->BorderTop / 2 + 2), HTCAPTION);
  // The sizing borders of a resizable window are still the system's.
  EXPECT_EQ(hit(w / 2, r.bottom - r.top - 1), HTBOTTOM);
  EXPECT_EQ(hit(0, (r.bottom - r.top) / 2), HTLEFT);
}

// The compositor's attributes as the engine last set them, per window and attribute.
std::map<std::pair<HWND, DWORD>, DWORD> g_dwm;
HRESULT WINAPI RecordDwmAttribute(HWND hwnd, DWORD attribute, LPCVOID value, DWORD size) {
  if (size == sizeof(DWORD)) g_dwm[{hwnd, attribute}] = *static_cast<const DWORD*>(value);
  return S_OK;
}

TEST_F(SkinFormTest, SwitchingOffAndOnAndLoadingAnotherSkin) {
  g_dwm.clear();
  const skin::DwmSetWindowAttributeFn system = skin::SetDwmAttributeSetter(&RecordDwmAttribute);
  struct Restore {
    skin::DwmSetWindowAttributeFn fn;
    ~Restore() { skin::SetDwmAttributeSetter(fn); }
  } restore{system};
  auto form = MakeForm();
  HWND hwnd = form->Handle();
  const auto dwm = [&](DWORD attribute) {
    auto it = g_dwm.find({hwnd, attribute});
    return it == g_dwm.end() ? DWORD(99) : it->second;
  };
  const WNDPROC original = ProcOf(hwnd);
  int changed = 0;
  TSkinData& data = SkinDataOf(*form);
  data.OnSkinChanged = [&](fw::TObject*) { ++changed; };
  ASSERT_NE(ShowSkinned(*form), nullptr);
  const SIZE skinned = WindowSize(hwnd);
  // Skinned: no frame drawn by the compositor, no rounded corners.
  EXPECT_EQ(dwm(skin::kDwmNcRenderingPolicy), skin::kDwmNcRenderingDisabled);
  EXPECT_EQ(dwm(skin::kDwmWindowCornerPreference), skin::kDwmCornerDoNotRound);

  // Off: 250 ms later the system frame is back, with the same client area.
  data.SetActive(false);
  EXPECT_NE(SkinManager->FindForm(hwnd), nullptr);  // not at once: through the timer
  ASSERT_TRUE(fwtest::PumpUntil([&] { return SkinManager->FindForm(hwnd) == nullptr; }));
  EXPECT_EQ(changed, 1);
  EXPECT_EQ(ProcOf(hwnd), original);
  EXPECT_EQ(ClientSize(hwnd).cx, kClientWidth);
  EXPECT_EQ(ClientSize(hwnd).cy, kClientHeight);
  EXPECT_TRUE(GetWindowLongA(hwnd, GWL_STYLE) & WS_SYSMENU);
  HRGN probe = CreateRectRgn(0, 0, 0, 0);
  EXPECT_EQ(GetWindowRgn(hwnd, probe), ERROR);  // no region
  DeleteObject(probe);
  EXPECT_NE(SendMessageA(hwnd, skin::WM_SKINQUERY, 0, 0), 1);
  EXPECT_EQ(dwm(skin::kDwmNcRenderingPolicy), skin::kDwmNcRenderingUseWindowStyle);
  EXPECT_EQ(dwm(skin::kDwmWindowCornerPreference), skin::kDwmCornerDefault);

  // On again.
  data.SetActive(true);
  ASSERT_TRUE(fwtest::PumpUntil([&] {
    TSkinForm* c = SkinManager->FindForm(hwnd);
    return c && c->LifeState == skin::LifeReady;
  }));
  fwtest::PumpFor(30);
  EXPECT_EQ(changed, 2);
  EXPECT_EQ(WindowSize(hwnd).cx, skinned.cx);
  EXPECT_EQ(ClientSize(hwnd).cx, kClientWidth);

  // Another skin from a file: the frame takes its widths, the client area stays.
  data.SetSkinFile(skintest::PackagePath("dark.skn"));
  ASSERT_TRUE(fwtest::PumpUntil([&] { return changed == 3; }));
  TSkinForm* controller = SkinManager->FindForm(hwnd);
  ASSERT_NE(controller, nullptr);
  EXPECT_EQ(controller->BorderTop, data.TopStrip->Image.Height() / data.TopStrip->FrameCount);
  EXPECT_EQ(ClientSize(hwnd).cx, kClientWidth);
  EXPECT_EQ(ClientSize(hwnd).cy, kClientHeight);
  EXPECT_EQ(WindowSize(hwnd).cx, kClientWidth + controller->BorderLeft + controller->BorderRight);
}

// A package loaded while its windows are skinned ("No skin", then a skin within one
// tick): no caption button keeps an element of the replaced records, and the tick
// rebuilds them from the new ones.
TEST_F(SkinFormTest, LoadingAPackageLeavesNoCaptionButtonOnTheOldRecords) {
  auto form = MakeForm();
  TSkinForm* controller = ShowSkinned(*form);
  ASSERT_NE(controller, nullptr);
  ASSERT_FALSE(controller->CaptionButtons.empty());
  TSkinData& data = SkinDataOf(*form);
  data.SetActive(false);
  data.SetStoreBytes(skintest::ReadBytes(skintest::PackagePath("dark.skn")));
  ASSERT_TRUE(data.LoadFromStore());
  EXPECT_TRUE(controller->CaptionButtons.empty());
  data.SetActive(true);
  ASSERT_TRUE(fwtest::PumpUntil([&] { return !SkinManager->HasPendingWork(); }));
  controller = SkinManager->FindForm(form->Handle());
  ASSERT_NE(controller, nullptr);
  EXPECT_FALSE(controller->CaptionButtons.empty());
  for (const skin::TWinSysButton* button : controller->CaptionButtons) {
    bool found = false;
    for (const auto& element : data.SysButtons) found |= element.get() == button->Element;
    EXPECT_TRUE(found);
  }
}

// Widened without a frame paint (frame painting off), the region's top edge comes from the
// skin, not from a title bar painted at the old width.
TEST_F(SkinFormTest, RegionAfterAWideningWithoutPaintComesFromTheSkin) {
  auto form = MakeForm();
  HWND hwnd = form->Handle();
  TSkinForm* controller = ShowSkinned(*form);
  ASSERT_NE(controller, nullptr);
  ASSERT_FALSE(controller->TitleCache.Empty());
  TSkinData& data = SkinDataOf(*form);
  const SIZE size = WindowSize(hwnd);
  data.FramePaintOn = false;
  SetWindowPos(hwnd, nullptr, 0, 0, size.cx + 600, size.cy,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW);
  fw::ScopedRegion widened(CreateRectRgn(0, 0, 0, 0));
  ASSERT_NE(GetWindowRgn(hwnd, widened.get()), ERROR);
  controller->TitleCache.SetSize(0, 0);
  controller->RegionWidth = 0;
  controller->UpdateWindowRegion();
  fw::ScopedRegion composed(CreateRectRgn(0, 0, 0, 0));
  ASSERT_NE(GetWindowRgn(hwnd, composed.get()), ERROR);
  EXPECT_TRUE(EqualRgn(widened.get(), composed.get()));
  data.FramePaintOn = true;
}

// A form owned by another form is a form too: it gets the form procedure (the face colour
// among what comes with it), not the bare-window treatment.
TEST_F(SkinFormTest, AFormOwnedByAFormIsSkinnedAsAForm) {
  auto form = MakeForm();
  ASSERT_NE(ShowSkinned(*form), nullptr);
  auto* owned = new fw::TForm(form.get());
  owned->SetPosition(fw::poDesigned);
  owned->SetBounds(150, 150, 240, 160);
  owned->Show();
  TSkinForm* controller = nullptr;
  fwtest::PumpUntil([&] {
    controller = SkinManager->FindForm(owned->Handle());
    return controller && controller->LifeState == skin::LifeReady;
  });
  ASSERT_NE(controller, nullptr);
  EXPECT_EQ(controller->Form, owned);
  EXPECT_EQ(owned->Color(), static_cast<fw::TColor>(SkinDataOf(*form).ButtonFace));
  // Switched off and on again, the skin pass finds it among its owner's components.
  TSkinData& data = SkinDataOf(*form);
  data.SetActive(false);
  ASSERT_TRUE(fwtest::PumpUntil([&] { return !SkinManager->HasPendingWork(); }));
  EXPECT_EQ(SkinManager->FindForm(owned->Handle()), nullptr);
  data.SetActive(true);
  ASSERT_TRUE(fwtest::PumpUntil([&] { return !SkinManager->HasPendingWork(); }));
  EXPECT_NE(SkinManager->FindForm(owned->Handle()), nullptr);
}

TEST_F(SkinFormTest, WindowsTheManagerLeavesAlone) {
  // A form tagged 99 is never skinned, whatever DisableTag says.
  auto tagged = MakeForm({{"DisableTag", fw::FormValue::Integer(5), 0}}, 99);
  tagged->Show();
  fwtest::PumpFor(50);
  EXPECT_EQ(SkinManager->FindForm(tagged->Handle()), nullptr);
  EXPECT_EQ(SkinManager->StartCount, 1);

  // A window of the application class, and one that says it is skinned already.
  HWND app_window =
      CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 50, 50, nullptr, nullptr, nullptr, nullptr);
  EXPECT_TRUE(SkinManager->AttachWindow(app_window));  // an ordinary bare window is taken
  DestroyWindow(app_window);
  fwtest::PumpFor(10);

  WNDCLASSA wc{};
  wc.lpfnWndProc = &AnswersSkinQuery;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = "SkinnedElsewhere";
  RegisterClassA(&wc);
  wc.lpfnWndProc = DefWindowProcA;
  wc.lpszClassName = "TApplication";
  RegisterClassA(&wc);
  for (const char* cls : {"SkinnedElsewhere", "TApplication"}) {
    HWND h = CreateWindowExA(0, cls, "", WS_OVERLAPPEDWINDOW, 0, 0, 80, 80, nullptr, nullptr,
                             nullptr, nullptr);
    EXPECT_FALSE(SkinManager->AttachWindow(h)) << cls;
    DestroyWindow(h);
  }

  // A window of another thread (or program) is never taken: the engine runs on one thread.
  {
    HWND other = nullptr;
    DWORD owner_id = 0;
    HANDLE made = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    std::thread owner([&] {
      other = CreateWindowExA(0, "STATIC", "", WS_POPUP | WS_CAPTION, 0, 0, 80, 80, nullptr,
                              nullptr, nullptr, nullptr);
      owner_id = GetCurrentThreadId();
      SetEvent(made);
      MSG msg;
      while (GetMessageA(&msg, nullptr, 0, 0) > 0 && msg.message != WM_APP) DispatchMessageA(&msg);
      DestroyWindow(other);
    });
    WaitForSingleObject(made, 5000);
    EXPECT_FALSE(SkinManager->AttachWindow(other));
    EXPECT_EQ(SkinManager->FindForm(other), nullptr);
    PostThreadMessageA(owner_id, WM_APP, 0, 0);
    owner.join();
    CloseHandle(made);
  }

  // A window without area is left for its next activation.
  HWND flat = CreateWindowExA(0, "STATIC", "", WS_POPUP | WS_CAPTION, 0, 0, 0, 0, nullptr, nullptr,
                              nullptr, nullptr);
  EXPECT_FALSE(SkinManager->AttachWindow(flat));
  SetWindowPos(flat, nullptr, 0, 0, 120, 90, SWP_NOZORDER | SWP_NOACTIVATE);
  EXPECT_TRUE(SkinManager->AttachWindow(flat));
  EXPECT_FALSE(SkinManager->AttachWindow(flat));  // once only
  DestroyWindow(flat);
  fwtest::PumpFor(300);  // the purge of the closed controller
  EXPECT_EQ(SkinManager->FindForm(flat), nullptr);
}

TEST_F(SkinFormTest, SkinDataChoiceForDialogsAndForms) {
  auto main_form = MakeForm();
  TSkinData& main_data = SkinDataOf(*main_form);
  auto dialog_form = MakeForm({{"SkinFormtype", fw::FormValue::Ident("sfDialog"), 0}});
  TSkinData& dialog_data = SkinDataOf(*dialog_form);
  HWND dialog =
      CreateWindowExA(0, "#32770", "", WS_POPUP, 0, 0, 80, 80, nullptr, nullptr, nullptr, nullptr);
  HWND other =
      CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 80, 80, nullptr, nullptr, nullptr, nullptr);
  EXPECT_EQ(SkinManager->ChooseSkinData(dialog), &dialog_data);
  EXPECT_EQ(SkinManager->ChooseSkinData(other), &main_data);
  main_form.reset();  // only the dialog kind is left: every window takes it
  EXPECT_EQ(SkinManager->ChooseSkinData(other), &dialog_data);
  DestroyWindow(dialog);
  DestroyWindow(other);
}

TEST_F(SkinFormTest, SizeGripsAreRefusedOnlyOnSkinnedParents) {
  auto form = MakeForm();
  ASSERT_NE(ShowSkinned(*form), nullptr);
  const auto grip = [](HWND parent) {
    return CreateWindowExA(0, "ScrollBar", "", WS_CHILD | SBS_SIZEGRIP, 0, 0, 16, 16, parent,
                           nullptr, nullptr, nullptr);
  };
  EXPECT_EQ(grip(form->Handle()), nullptr);
  HWND bar = CreateWindowExA(0, "ScrollBar", "", WS_CHILD | SBS_HORZ, 0, 0, 60, 16, form->Handle(),
                             nullptr, nullptr, nullptr);
  EXPECT_NE(bar, nullptr);
  HWND plain = CreateWindowExA(0, "STATIC", "", WS_OVERLAPPED, 0, 0, 80, 80, nullptr, nullptr,
                               nullptr, nullptr);
  HWND plain_grip = grip(plain);
  EXPECT_NE(plain_grip, nullptr);
  DestroyWindow(plain);
}

TEST_F(SkinFormTest, RequestsBeforeTheFirstActivationOnlySwitchActive) {
  auto form = MakeForm();
  TSkinData& data = SkinDataOf(*form);
  int changed = 0;
  data.OnSkinChanged = [&](fw::TObject*) { ++changed; };
  EXPECT_EQ(SkinManager->StartCount, 0);
  EXPECT_TRUE(SkinManager->Active);
  data.SetActive(false);
  EXPECT_FALSE(SkinManager->Active);
  data.SetActive(true);
  EXPECT_TRUE(SkinManager->Active);
  fwtest::PumpFor(300);
  EXPECT_EQ(changed, 0);
  EXPECT_FALSE(SkinManager->Timer.Enabled());
}

TEST_F(SkinFormTest, FramelessPopupsAndSystemFramesWithoutTheMainMenuKind) {
  auto form = MakeForm();
  ASSERT_NE(ShowSkinned(*form), nullptr);
  // A bare popup without a full caption: no frame widths, the system's client area.
  HWND popup = CreateWindowExA(0, "STATIC", "", WS_POPUP | WS_BORDER, 10, 10, 120, 80, nullptr,
                               nullptr, nullptr, nullptr);
  ASSERT_TRUE(SkinManager->AttachWindow(popup));
  fwtest::PumpFor(30);
  TSkinForm* c = SkinManager->FindForm(popup);
  ASSERT_NE(c, nullptr);
  EXPECT_EQ(c->FrameKind, skin::FrameNone);
  EXPECT_EQ(c->BorderTop + c->BorderLeft + c->BorderRight + c->BorderBottom, 0);
  EXPECT_EQ(WindowSize(popup).cx, 120);
  EXPECT_EQ(ClientSize(popup).cx, 118);  // the system's one-pixel border
  DestroyWindow(popup);
  fwtest::PumpFor(300);
}

TEST_F(SkinFormTest, WithoutTheMainMenuKindTheSystemFrameStays) {
  auto form = MakeForm({{"SkinControls", fw::FormValue::Set({"xcButton", "xcEdit"}), 0}});
  HWND hwnd = form->Handle();
  form->Show();
  fwtest::PumpFor(50);
  const SIZE system_window = WindowSize(hwnd);
  TSkinForm* c = SkinManager->FindForm(hwnd);
  ASSERT_NE(c, nullptr);
  fwtest::PumpFor(50);
  EXPECT_EQ(SendMessageA(hwnd, skin::WM_SKINQUERY, 0, 0), 1);  // subclassed all the same
  EXPECT_EQ(WindowSize(hwnd).cx, system_window.cx);
  EXPECT_EQ(ClientSize(hwnd).cx, kClientWidth);
  EXPECT_TRUE(GetWindowLongA(hwnd, GWL_STYLE) & WS_SYSMENU);
  EXPECT_FALSE(c->RegionApplied);
}

TEST_F(SkinFormTest, SetWindowTextRepaintsTheCaption) {
  auto form = MakeForm();
  HWND hwnd = form->Handle();
  TSkinForm* c = ShowSkinned(*form);
  ASSERT_NE(c, nullptr);
  const skin::PixelBitmap before = ReadWindowPixels(hwnd);
  SetWindowTextA(hwnd, "A different and much longer caption text");
  fwtest::PumpFor(30);
  EXPECT_EQ(c->CaptionText, "A different and much longer caption text");
  const skin::PixelBitmap after = ReadWindowPixels(hwnd);
  int changed = 0;
  for (int y = 0; y < c->BorderTop; ++y)
    for (int x = 0; x < before.Width(); ++x) changed += before.Pixel(x, y) != after.Pixel(x, y);
  EXPECT_GT(changed, 50);
}

TEST_F(SkinFormTest, AWindowNamedAgainBeforeTheFrameIsLiveShowsItsNewCaption) {
  auto form = MakeForm();
  ASSERT_NE(ShowSkinned(*form), nullptr);
  HWND window = CreateWindowExA(0, "STATIC", "Untitled", WS_OVERLAPPEDWINDOW, 10, 10, 240, 160,
                                nullptr, nullptr, nullptr, nullptr);
  ASSERT_TRUE(SkinManager->AttachWindow(window));
  TSkinForm* c = SkinManager->FindForm(window);
  ASSERT_NE(c, nullptr);
  // As a program names its window after the file it opened, before its message loop runs.
  ASSERT_EQ(c->LifeState, skin::LifeAttached);
  SetWindowTextA(window, "notes.txt - Editor");
  fwtest::PumpFor(30);
  EXPECT_EQ(c->LifeState, skin::LifeReady);
  EXPECT_EQ(c->CaptionText, "notes.txt - Editor");
  DestroyWindow(window);
  fwtest::PumpFor(300);
}

TEST_F(SkinFormTest, PaintedFrameEqualsTheNativeComposition) {
  auto form = MakeForm();
  HWND hwnd = form->Handle();
  TSkinForm* c = ShowSkinned(*form);
  ASSERT_NE(c, nullptr);
  TSkinData& data = SkinDataOf(*form);
  for (bool active : {true, false}) {
    SendMessageA(hwnd, WM_NCACTIVATE, active, 0);
    fwtest::PumpFor(20);
    // Another program's window may have taken the activation meanwhile.
    if (c->IsActive != active) SendMessageA(hwnd, WM_NCACTIVATE, active, 0);
    const skin::PixelBitmap shown = ReadWindowPixels(hwnd);
    const int w = shown.Width(), h = shown.Height();
    using skin::FrameStrip;
    const auto piece = [&](const skin::TDataSkinBorder* strip, FrameStrip side, int pw, int ph) {
      return skin::ComposeFramePiece(strip, side, pw, ph, active);
    };
    const skin::PixelBitmap left = piece(data.LeftStrip.get(), FrameStrip::kLeft, c->BorderLeft, h);
    const skin::PixelBitmap right =
        piece(data.RightStrip.get(), FrameStrip::kRight, c->BorderRight, h);
    const int inner = w - c->BorderLeft - c->BorderRight;
    const skin::PixelBitmap bottom =
        piece(data.BottomStrip.get(), FrameStrip::kBottom, inner, c->BorderBottom);
    const skin::PixelBitmap top = piece(data.TopStrip.get(), FrameStrip::kTop, inner, c->BorderTop);
    // The caption buttons are drawn over the title bar (their pixels are tested with them).
    const auto over_caption_button = [&](POINT pt) {
      for (const skin::TWinSysButton* b : c->CaptionButtons)
        if (b->Visible && PtInRect(&b->Bounds, pt)) return true;
      return false;
    };
    // Transparent (magenta) parts are outside the region and show the desktop: skip them.
    const auto opaque_differences = [&](const skin::PixelBitmap& p, int x0, int y0,
                                        const RECT* skip) {
      int n = 0;
      for (int y = 0; y < p.Height(); ++y)
        for (int x = 0; x < p.Width(); ++x) {
          if ((p.Pixel(x, y) & 0xFFFFFF) == 0xFF00FF) continue;
          const POINT pt{x0 + x, y0 + y};
          if (skip && PtInRect(skip, pt)) continue;
          if (over_caption_button(pt)) continue;
          n += (shown.Pixel(pt.x, pt.y) & 0xFFFFFF) != (p.Pixel(x, y) & 0xFFFFFF);
        }
      return n;
    };
    RECT title_rows{0, 0, w, c->BorderTop};  // the side pieces' title rows lie under the title
    EXPECT_EQ(opaque_differences(left, 0, 0, &title_rows), 0) << active;
    EXPECT_EQ(opaque_differences(right, w - c->BorderRight, 0, &title_rows), 0) << active;
    EXPECT_EQ(opaque_differences(bottom, c->BorderLeft, h - c->BorderBottom, nullptr), 0) << active;
    // The title bar outside the caption text background equals the top piece.
    RECT text = c->TitleTextRect;
    text.top = 0;
    text.bottom = c->BorderTop;
    EXPECT_EQ(opaque_differences(top, c->BorderLeft, 0, &text), 0) << active;
  }
}

// A monitor change: WM_DPICHANGED carries the new DPI and the suggested rectangle. The
// frame, its caption buttons, its hit test and its pixels follow the skin scaled to that
// DPI, and changing back and forth ends where it started.
TEST_F(SkinFormTest, ADpiChangeRescalesTheFrameAndChangingBackEndsWhereItStarted) {
  auto form = MakeForm();
  HWND hwnd = form->Handle();
  TSkinForm* c = ShowSkinned(*form);
  ASSERT_NE(c, nullptr);
  TSkinData& data = SkinDataOf(*form);
  const auto change = [&](int dpi) {
    RECT r{};
    GetWindowRect(hwnd, &r);
    SendMessageA(hwnd, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&r));
  };
  const auto button_widths = [&] {
    std::vector<int> widths;
    for (const skin::TWinSysButton* b : c->CaptionButtons)
      if (b->Visible) widths.push_back(b->Bounds.right - b->Bounds.left);
    return widths;
  };
  const skin::FrameMetrics base = c->Metrics();
  const std::vector<int> base_buttons = button_widths();
  ASSERT_FALSE(base_buttons.empty());

  change(144);
  fwtest::PumpFor(30);
  ASSERT_EQ(SkinManager->FindForm(hwnd), c);
  EXPECT_EQ(c->Dpi, 144);
  const std::shared_ptr<const skin::SkinDefinition> scaled = data.ScaledFor(144);
  ASSERT_TRUE(scaled);
  skin::FrameMetrics expected = skin::FrameMetricsFromSkin(*scaled, false);
  expected.menu_height = c->MenuHeight;
  EXPECT_EQ(c->Metrics(), expected);
  EXPECT_NEAR(c->BorderTop, base.border_top * 3 / 2, 1);
  EXPECT_EQ(WindowSize(hwnd).cx, ClientSize(hwnd).cx + c->BorderLeft + c->BorderRight);
  EXPECT_EQ(WindowSize(hwnd).cy, ClientSize(hwnd).cy + c->BorderTop + c->BorderBottom);
  c->PaintFrame(nullptr);
  const std::vector<int> buttons = button_widths();
  ASSERT_EQ(buttons.size(), base_buttons.size());
  for (size_t i = 0; i < buttons.size(); ++i) EXPECT_NEAR(buttons[i], base_buttons[i] * 3 / 2, 1);
  RECT r{};
  GetWindowRect(hwnd, &r);
  // A row of the scaled title below the old title's height is caption now.
  EXPECT_EQ(SendMessageA(hwnd, WM_NCHITTEST, 0,
                         MAKELPARAM((r.left + r.right) / 2, r.top + c->BorderTop - 2)),
            HTCAPTION);
  // The left border on the screen is the scaled strip composed natively.
  const skin::PixelBitmap shown = ReadWindowPixels(hwnd);
  const skin::PixelBitmap left = skin::ComposeFramePiece(
      scaled->LeftStrip.get(), skin::FrameStrip::kLeft, c->BorderLeft, shown.Height(), c->IsActive);
  int differences = 0;
  for (int y = c->BorderTop; y < shown.Height() - c->BorderBottom; ++y)
    for (int x = 0; x < c->BorderLeft; ++x)
      if ((left.Pixel(x, y) & 0xFFFFFF) != 0xFF00FF)
        differences += (shown.Pixel(x, y) & 0xFFFFFF) != (left.Pixel(x, y) & 0xFFFFFF);
  EXPECT_EQ(differences, 0);

  // At 192 the elements are the package's art drawn for 192 DPI (button faces computed at
  // that resolution), not the 96-DPI art doubled.
  skin::SkinDefinition read;
  std::vector<skin::DrawnDefinition> drawn;
  skin::NullSkinReporter reporter;
  ASSERT_TRUE(skin::LoadSkinPackage(metallic_, read, reporter, nullptr, nullptr, &drawn));
  ASSERT_EQ(drawn.size(), 1u);
  const auto same = [](const skin::PixelBitmap& a, const skin::PixelBitmap& b) {
    return a.SizeInBytes() == b.SizeInBytes() &&
           std::memcmp(a.Data(), b.Data(), a.SizeInBytes()) == 0;
  };
  const skin::PixelBitmap& art = drawn[0].definition.Buttons->Image;
  ASSERT_FALSE(same(art, skin::ScaleSkinDefinition(read, 192).Buttons->Image));
  EXPECT_TRUE(same(data.ScaledFor(192)->Buttons->Image, art));

  change(96);
  fwtest::PumpFor(30);
  EXPECT_EQ(c->Metrics(), base);
  const SIZE window = WindowSize(hwnd);
  const fw::HandleSnapshot start = fw::LiveHandleSnapshot();
  for (int i = 0; i < 100; ++i) {
    change(i % 2 ? 96 : (i % 4 ? 120 : 192));
    fwtest::PumpFor(1);
  }
  fwtest::PumpFor(30);
  EXPECT_EQ(c->Dpi, 96);
  EXPECT_EQ(c->Metrics(), base);
  EXPECT_EQ(button_widths(), base_buttons);
  EXPECT_EQ(WindowSize(hwnd).cx, window.cx);
  EXPECT_EQ(WindowSize(hwnd).cy, window.cy);
  EXPECT_EQ(fw::LiveHandleSnapshot().DifferenceFrom(start), "");
}

TEST_F(SkinFormTest, ABrokenSkinStillSkinsAndKeepsTheWindowUsable) {
  auto form = MakeForm();
  TSkinData& data = SkinDataOf(*form);
  data.LeftStrip->Image = skin::PixelBitmap();           // missing image
  data.RightStrip->FrameCount = 500;                     // more frames than pixels
  data.BottomStrip->Image = skin::PixelBitmap(2000, 3);  // wider than the window
  data.BottomStrip->LeftWidth = 5000;                    // margins past the image
  data.TopStrip->Image = skin::PixelBitmap(40, 1);       // a one-pixel title
  data.TopStrip->FrameCount = 1;
  data.Title->Image = skin::PixelBitmap(1, 1);
  data.Title->TXTBackleft = -40;
  HWND hwnd = form->Handle();
  TSkinForm* c = ShowSkinned(*form);
  ASSERT_NE(c, nullptr);
  EXPECT_EQ(c->BorderLeft, 0);
  EXPECT_EQ(c->BorderRight, 0);
  EXPECT_EQ(c->BorderTop, 1);
  for (int i = 0; i < 20; ++i) c->PaintFrame(nullptr);
  SetWindowPos(hwnd, nullptr, 0, 0, 30, 20, SWP_NOMOVE | SWP_NOZORDER);
  c->PaintFrame(nullptr);
  SetWindowPos(hwnd, nullptr, 0, 0, 500, 400, SWP_NOMOVE | SWP_NOZORDER);
  fwtest::PumpFor(30);
  // Still a working window: it answers and its client area follows the frame.
  EXPECT_EQ(SendMessageA(hwnd, skin::WM_SKINQUERY, 0, 0), 1);
  EXPECT_EQ(ClientSize(hwnd).cx, 500 - c->BorderLeft - c->BorderRight);
}

TEST_F(SkinFormTest, LongSkinUnskinAndPaintRunsEndWhereTheyStarted) {
  auto form = MakeForm();
  HWND hwnd = form->Handle();
  const WNDPROC original = ProcOf(hwnd);
  ASSERT_NE(ShowSkinned(*form), nullptr);
  TSkinData& data = SkinDataOf(*form);
  RunNow(data, skin::ActUnskin);
  ASSERT_EQ(SkinManager->FindForm(hwnd), nullptr);
  const fw::HandleSnapshot start = fw::LiveHandleSnapshot();
  const DWORD t0 = GetTickCount();
  for (int i = 0; i < 1000; ++i) {
    RunNow(data, skin::ActSkin);
    RunNow(data, skin::ActRefresh);
    RunNow(data, skin::ActUnskin);
  }
  EXPECT_EQ(fw::LiveHandleSnapshot().DifferenceFrom(start), "");
  EXPECT_EQ(ProcOf(hwnd), original);
  EXPECT_EQ(ClientSize(hwnd).cx, kClientWidth);
  EXPECT_EQ(ClientSize(hwnd).cy, kClientHeight);

  RunNow(data, skin::ActSkin);
  TSkinForm* c = SkinManager->FindForm(hwnd);
  ASSERT_NE(c, nullptr);
  fwtest::PumpFor(20);
  const fw::HandleSnapshot painting = fw::LiveHandleSnapshot();
  const DWORD t1 = GetTickCount();
  for (int i = 0; i < 10000; ++i) {
    c->IsActive = (i & 1) != 0;
    c->PaintFrame(nullptr);
  }
  RecordProperty("cycles_ms", static_cast<int>(t1 - t0));
  RecordProperty("paints_ms", static_cast<int>(GetTickCount() - t1));
  EXPECT_EQ(fw::LiveHandleSnapshot().DifferenceFrom(painting), "");
  RunNow(data, skin::ActUnskin);
  EXPECT_EQ(fw::LiveHandleSnapshot().DifferenceFrom(start), "");
  EXPECT_EQ(ProcOf(hwnd), original);
}

TEST_F(SkinFormTest, MessageBoxesAreSkinnedAndWidenedForALongCaption) {
  auto form = MakeForm();
  TSkinForm* c = ShowSkinned(*form);
  ASSERT_NE(c, nullptr);
  fwtest::MessageBoxRecorder boxes;
  const std::string caption(60, 'W');
  App().MessageBox("short", caption);
  ASSERT_EQ(boxes.Boxes().size(), 1u);
  const RECT r = boxes.Boxes()[0].rect;
  // (60 + 7) blanks of the caption font at least, and the borders.
  HDC dc = GetDC(nullptr);
  HGDIOBJ old = SelectObject(dc, c->CaptionFontHandle());
  SIZE blank{};
  GetTextExtentPoint32A(dc, " ", 1, &blank);
  SelectObject(dc, old);
  ReleaseDC(nullptr, dc);
  EXPECT_GE(r.right - r.left, 67 * blank.cx + c->BorderLeft + c->BorderRight);

  // The box lays itself out after its activation: the skin keeps the client height it chose
  // (the unskinned box's height less its caption and dialog frame).
  SkinManager->Active = false;
  App().MessageBox("short", caption);
  SkinManager->Active = true;
  ASSERT_EQ(boxes.Boxes().size(), 2u);
  const RECT u = boxes.Boxes()[1].rect;
  const int plain_client =
      (u.bottom - u.top) - GetSystemMetrics(SM_CYCAPTION) - 2 * GetSystemMetrics(SM_CYDLGFRAME);
  EXPECT_NEAR(r.bottom - r.top, plain_client + c->BorderTop + c->BorderBottom, 4);
}

// A dialog widened for its caption moves its controls right by half the widening.
TEST_F(SkinFormTest, WidenedDialogShiftsItsChildrenByHalf) {
  auto form = MakeForm();
  ASSERT_NE(ShowSkinned(*form), nullptr);
  fwtest::MessageBoxRecorder boxes;  // the test support sees a "#32770" window
  HWND dialog = CreateWindowExA(WS_EX_DLGMODALFRAME, "#32770", std::string(80, 'M').c_str(),
                                WS_POPUP | WS_CAPTION | WS_VISIBLE, 50, 50, 160, 100, nullptr,
                                nullptr, nullptr, nullptr);
  HWND button = CreateWindowExA(0, "BUTTON", "OK", WS_CHILD | WS_VISIBLE, 20, 30, 60, 22, dialog,
                                nullptr, nullptr, nullptr);
  RECT client_before{};
  GetClientRect(dialog, &client_before);
  SkinManager->AttachWindow(dialog);  // unless its activation did already
  TSkinForm* c = SkinManager->FindForm(dialog);
  ASSERT_NE(c, nullptr);
  ASSERT_TRUE(fwtest::PumpUntil([&] { return c->LifeState == skin::LifeReady; }));
  const int width = client_before.right + c->BorderLeft + c->BorderRight;
  const int needed = skin::DialogWidthForCaption(80, c->BlankWidth, c->Metrics(), c->TextLayout());
  ASSERT_GT(needed, width);
  EXPECT_EQ(WindowSize(dialog).cx, needed);
  RECT b{};
  GetWindowRect(button, &b);
  MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&b), 2);
  EXPECT_EQ(b.left, 20 + (needed - width) / 2);
  EXPECT_EQ(b.right - b.left, 60);
  DestroyWindow(dialog);
  fwtest::PumpFor(300);
}

}  // namespace
