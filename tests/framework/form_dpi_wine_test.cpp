// Forms at other screen resolutions. Wine takes the system resolution from LogPixels under
// HKCU\Control Panel\Desktop when a process starts, so the test sets it to 120, 144 and 192
// in turn and runs itself as a child at each (FORM_DPI_CHILD names the resolution); the
// original value is put back after every child, whatever became of it. The child creates
// the calculator's form and checks its layout, its answer to WM_DPICHANGED and that changes
// back and forth neither drift nor leak.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "app/main_form.h"
#include "framework/dpi.h"
#include "framework/std_controls.h"
#include "skin/data/skin_data.h"
#include "skin/form/skin_form.h"
#include "skin/manager/skin_manager.h"
#include "tests/support/fw_test.h"

namespace {

const char kDesktopKey[] = "Control Panel\\Desktop";

int ChildDpi() {
  const char* value = std::getenv("FORM_DPI_CHILD");
  return value ? std::atoi(value) : 0;
}

// Sets LogPixels for the processes started from now on; puts the old value (or its
// absence) back when it goes.
class LogPixelsSetting {
 public:
  LogPixelsSetting() {
    RegCreateKeyExA(HKEY_CURRENT_USER, kDesktopKey, 0, nullptr, 0, KEY_READ | KEY_WRITE, nullptr,
                    &key_, nullptr);
    DWORD value = 0, size = sizeof value, type = 0;
    if (RegQueryValueExA(key_, "LogPixels", nullptr, &type, reinterpret_cast<BYTE*>(&value),
                         &size) == ERROR_SUCCESS &&
        type == REG_DWORD)
      original_ = value;
  }
  ~LogPixelsSetting() {
    if (original_)
      Set(static_cast<int>(*original_));
    else
      RegDeleteValueA(key_, "LogPixels");
    RegCloseKey(key_);
  }
  void Set(int dpi) {
    const DWORD value = static_cast<DWORD>(dpi);
    RegSetValueExA(key_, "LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                   sizeof value);
  }
  std::optional<DWORD> Original() const { return original_; }

 private:
  HKEY key_ = nullptr;
  std::optional<DWORD> original_;
};

// Runs this program's child tests at `dpi`; answers its exit code (-1: it did not end in
// time and was ended).
int RunChild(int dpi) {
  char self[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, self, MAX_PATH);
  std::string command =
      std::string("\"") + self + "\" --gtest_brief=1 --gtest_filter=FormDpiChild.*";
  SetEnvironmentVariableA("FORM_DPI_CHILD", std::to_string(dpi).c_str());
  SetEnvironmentVariableA("FW_TEST_WATCHDOG", "60");
  STARTUPINFOA si{};
  si.cb = sizeof si;
  si.dwFlags = STARTF_USESTDHANDLES;
  si.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
  si.hStdOutput = GetStdHandle(STD_OUTPUT_HANDLE);
  si.hStdError = GetStdHandle(STD_ERROR_HANDLE);
  PROCESS_INFORMATION pi{};
  const BOOL started = CreateProcessA(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr,
                                      nullptr, &si, &pi);
  SetEnvironmentVariableA("FORM_DPI_CHILD", nullptr);
  if (!started) return -2;
  DWORD code = static_cast<DWORD>(-1);
  if (WaitForSingleObject(pi.hProcess, 80'000) == WAIT_OBJECT_0) {
    GetExitCodeProcess(pi.hProcess, &code);
  } else {
    TerminateProcess(pi.hProcess, 1);
    WaitForSingleObject(pi.hProcess, 5'000);
  }
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  return static_cast<int>(code);
}

TEST(FormDpi, TheCalculatorFormAtEachSystemResolution) {
  if (ChildDpi()) GTEST_SKIP();
  std::optional<DWORD> original;
  for (int dpi : {120, 144, 192}) {
    int code;
    {
      LogPixelsSetting setting;
      original = setting.Original();
      setting.Set(dpi);
      code = RunChild(dpi);
    }
    EXPECT_EQ(code, 0) << "the child tests at " << dpi << " dpi";
  }
  LogPixelsSetting after;
  EXPECT_EQ(after.Original(), original) << "LogPixels is back as it was";
}

// ---- the child's tests, at the resolution FORM_DPI_CHILD ----------------------------------

struct Bounds {
  int left, top, width, height;
};

Bounds BoundsOf(const fw::TControl& c) { return {c.Left(), c.Top(), c.Width(), c.Height()}; }

void ExpectScaled(const Bounds& actual, const Bounds& design, int dpi, const std::string& name) {
  auto close_to = [&](int a, int d, const char* what) {
    EXPECT_NEAR(a, fw::ScaleForDpi(d, dpi, fw::kDesignDpi), 1) << name << " " << what;
  };
  close_to(actual.left, design.left, "left");
  close_to(actual.top, design.top, "top");
  close_to(actual.width, design.width, "width");
  close_to(actual.height, design.height, "height");
}

class FormDpiChild : public fwtest::ApplicationTest {
 protected:
  void SetUp() override {
    dpi_ = ChildDpi();
    if (!dpi_) GTEST_SKIP() << "run by FormDpi at each resolution";
    ApplicationTest::SetUp();
    App().Initialize();
    // The same form twice: the program's (Scaled, as described) and one kept at design size.
    App().CreateForm(&Form1);
    form_ = Form1;
    design_ = new TForm1(nullptr);
    design_->SetScaled(false);
    design_->ReadDescriptionResource();
    design_->Show();
    form_->Show();
    fwtest::PumpFor(50);
  }
  void TearDown() override {
    if (!dpi_) return;
    delete design_;
    delete form_;
    Form1 = nullptr;
    ApplicationTest::TearDown();
  }
  // Every control's bounds and font height against the design form's, scaled to `dpi`.
  void ExpectLayoutAt(int dpi) {
    ASSERT_EQ(form_->ControlCount(), design_->ControlCount());
    for (int i = 0; i < form_->ControlCount(); ++i) {
      const fw::TControl& c = *form_->Controls(i);
      const fw::TControl& d = *design_->Controls(i);
      Bounds design = BoundsOf(d);
      if (auto* label = dynamic_cast<const fw::TLabel*>(&c); label && label->AutoSize()) {
        // Sized to its text in the scaled font, which is not a scaled picture of the text.
        design.width = fw::ScaleForDpi(c.Width(), fw::kDesignDpi, dpi);
        design.height = fw::ScaleForDpi(c.Height(), fw::kDesignDpi, dpi);
      }
      ExpectScaled(BoundsOf(c), design, dpi, c.Name());
      EXPECT_EQ(c.Font().Height(), fw::ScaleForDpi(d.Font().Height(), dpi, fw::kDesignDpi))
          << c.Name();
    }
    EXPECT_EQ(form_->Font().Height(), fw::ScaleForDpi(-15, dpi, fw::kDesignDpi));
    EXPECT_EQ(form_->PixelsPerInch(), dpi);
  }
  struct Layout {
    RECT window;
    std::vector<Bounds> controls;
    std::vector<int> fonts;
    bool operator==(const Layout& o) const {
      auto same = [](const Bounds& a, const Bounds& b) {
        return a.left == b.left && a.top == b.top && a.width == b.width && a.height == b.height;
      };
      return EqualRect(&window, &o.window) && fonts == o.fonts &&
             std::equal(controls.begin(), controls.end(), o.controls.begin(), o.controls.end(),
                        same);
    }
  };
  Layout Current() {
    Layout l;
    GetWindowRect(form_->Handle(), &l.window);
    for (int i = 0; i < form_->ControlCount(); ++i) {
      l.controls.push_back(BoundsOf(*form_->Controls(i)));
      l.fonts.push_back(form_->Controls(i)->Font().Height());
    }
    return l;
  }
  // WM_DPICHANGED as the system sends it, with the window's new rectangle.
  void ChangeDpi(int dpi, RECT suggested) {
    SendMessageA(form_->Handle(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi),
                 reinterpret_cast<LPARAM>(&suggested));
  }

  int dpi_ = 0;
  TForm1* form_ = nullptr;
  TForm1* design_ = nullptr;
};

TEST_F(FormDpiChild, TheSystemResolutionIsTheOneSet) {
  {
    fw::ScopedGetDc screen(nullptr);
    EXPECT_EQ(GetDeviceCaps(screen.get(), LOGPIXELSX), dpi_);
  }
  EXPECT_EQ(fw::SystemDpi(), dpi_);
  EXPECT_EQ(fw::WindowDpi(form_->Handle()), dpi_);
  EXPECT_EQ(fw::DpiAtPoint({0, 0}), dpi_);
  EXPECT_NE(fw::CurrentDpiAwareness(), fw::TDpiAwareness::Unaware);
  // The skinned frame is drawn from the skin scaled to the window's resolution.
  fwtest::PumpUntil(
      [&] { return skin::SkinManager && skin::SkinManager->FindForm(form_->Handle()); });
  const skin::TSkinForm* frame = skin::SkinManager->FindForm(form_->Handle());
  ASSERT_NE(frame, nullptr);
  EXPECT_EQ(frame->Dpi, dpi_);
  const auto scaled = frame->SkinData->ScaledFor(dpi_);
  ASSERT_TRUE(scaled);
  EXPECT_EQ(frame->BorderTop, skin::FrameMetricsFromSkin(*scaled, false).border_top);
  EXPECT_EQ(frame->BorderLeft, skin::FrameMetricsFromSkin(*scaled, false).border_left);
  EXPECT_EQ(frame->MenuHeight,
            frame->MenuBar ? frame->SystemLength(GetSystemMetrics(SM_CYMENU)) : 0);
}

TEST_F(FormDpiChild, AScaledFormIsMadeForTheResolutionAndAnUnscaledOneAtDesignSize) {
  RECT client;
  GetClientRect(form_->Handle(), &client);
  EXPECT_NEAR(client.right, fw::ScaleForDpi(574, dpi_, fw::kDesignDpi), 1);
  EXPECT_NEAR(client.bottom, fw::ScaleForDpi(336, dpi_, fw::kDesignDpi), 1);
  ExpectLayoutAt(dpi_);
  // Scaled = False: the description's pixels.
  GetClientRect(design_->Handle(), &client);
  EXPECT_EQ(client.right, 574);
  EXPECT_EQ(client.bottom, 336);
  EXPECT_EQ(design_->PixelsPerInch(), fw::kDesignDpi);
  EXPECT_EQ(design_->Font().Height(), -15);
  EXPECT_EQ(design_->Edit1->Font().Height(), -15);
  const Bounds b = BoundsOf(*design_->Button1);
  EXPECT_EQ(b.left, 74);
  EXPECT_EQ(b.top, 176);
  EXPECT_EQ(b.width, 167);
  EXPECT_EQ(b.height, 33);
  // Scaled is read from a description.
  fw::TForm described(nullptr);
  described.ReadDescription("object Form2: TForm\n  Scaled = False\nend\n");
  EXPECT_FALSE(described.Scaled());
}

TEST_F(FormDpiChild, ChangesOfResolutionRescaleOntoTheSuggestedRectangleWithoutDrift) {
  const int other = dpi_ == 144 ? 96 : 144;
  const Layout start = Current();
  const RECT there{30, 20,
                   30 + fw::ScaleForDpi(start.window.right - start.window.left, other, dpi_),
                   20 + fw::ScaleForDpi(start.window.bottom - start.window.top, other, dpi_)};
  ChangeDpi(other, there);
  RECT window;
  GetWindowRect(form_->Handle(), &window);
  EXPECT_TRUE(EqualRect(&window, &there));
  ExpectLayoutAt(other);
  ChangeDpi(dpi_, start.window);
  EXPECT_TRUE(Current() == start);

  // The timers of the first showing (deferred actions, hover polls) run out first.
  fwtest::PumpFor(400);
  const fw::HandleSnapshot handles = fwtest::QuietHandleSnapshot();
  // Each change applies the skin again: the long run at one resolution, short ones at the
  // others.
  const int rounds = dpi_ == 144 ? 100 : 10;
  for (int i = 0; i < rounds; ++i) {
    ChangeDpi(other, there);
    ChangeDpi(dpi_, start.window);
  }
  EXPECT_TRUE(Current() == start) << rounds << " changes back and forth end where they began";
  ExpectLayoutAt(dpi_);
  EXPECT_EQ(fwtest::SettledHandleDifference(handles), "");
}

}  // namespace
