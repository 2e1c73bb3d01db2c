// Check boxes and radio buttons skinned on a real form, driven by real mouse input: the
// skin's image over the system box in every state (read back from the screen and compared
// with the strip's frame), where images of other sizes go, the framework's "Checked"
// deciding, repainting at once, groups, and bare "button" windows.
#include "skin/controls/check_skinners.h"

#include <windows.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "framework/ext_ctrls.h"
#include "framework/handle_counts.h"
#include "framework/std_controls.h"
#include "tests/skin/controls/skinner_test_util.h"

namespace skin {
namespace {

// A check-box window whose published "Checked" is its own, apart from the window's state.
class TOwnCheckedBox : public fw::TButtonControl {
  FW_CLASS_INFO()
 public:
  explicit TOwnCheckedBox(fw::TComponent* owner) : fw::TButtonControl(owner) {}
  bool Checked() const { return checked_; }
  void SetChecked(bool v) { checked_ = v; }

 protected:
  void CreateParams(fw::TCreateParams& params) override {
    fw::TButtonControl::CreateParams(params);
    params.superclass = "BUTTON";
    params.style |= BS_CHECKBOX;
  }

 private:
  bool checked_ = false;
};

const fw::TClassInfo& TOwnCheckedBox::StaticClassInfo() {
  static const fw::TClassInfo info = fw::DescribeClass<TOwnCheckedBox, fw::TButtonControl>(
      "TCheckBox",
      [](auto& c) { c.Bool("Checked", &TOwnCheckedBox::Checked, &TOwnCheckedBox::SetChecked); });
  return info;
}

class CheckSkinTest : public fwtest::ApplicationTest {
 protected:
  void SetUp() override {
    ApplicationTest::SetUp();
    RegisterSkinDataClass();
    metallic_ = skintest::ReadBytes(skintest::PackagePath("metallic.skn"));
    ASSERT_FALSE(metallic_.empty());
    skintest::MoveTo({20, 20});
    form_ = skintest::MakeSkinnedForm(&App(), metallic_, "CheckForm");
  }
  void TearDown() override {
    form_.reset();
    ApplicationTest::TearDown();
  }
  template <class T>
  T* Add(const std::string& name, int x, int y, int w, int h) {
    auto* c = new T(form_.get());
    c->SetName(name);
    c->SetParent(form_.get());
    c->SetBounds(x, y, w, h);
    c->SetCaption(name);
    return c;
  }
  TSkinData& Data() { return skintest::SkinDataOf(*form_); }

  // Differences between the window at the image's place and frame `frame` of the strip
  // over the face colour.
  int ImageDifferences(HWND hwnd, const PixelBitmap& strip, int frames, int frame,
                       bool right = false) {
    RECT window{};
    GetWindowRect(hwnd, &window);
    const int w = StripFrameWidth(strip.Width(), frames), h = strip.Height();
    const PixelRect place =
        CheckImageRect({0, 0, window.right - window.left, window.bottom - window.top}, w, h, right);
    PixelBitmap expected(w, h, strip.Format());
    expected.Fill(skintest::FaceOf(Data()));
    TransparentCopy(expected, {0, 0, w, h},
                    ComposeElementFrame({0, 0, w, h}, strip, frame, frames));
    const PixelBitmap shown = fwtest::ReadWindowPixels(hwnd);
    return fwtest::CountDifferences(shown, place.left, place.top, expected);
  }
  int CheckDifferences(HWND hwnd, int frame, bool right = false) {
    const TDataSkinButton& e = *Data().Buttons;
    return ImageDifferences(hwnd, e.CheckImage, e.CheckButtonFrame, frame, right);
  }
  int RadioDifferences(HWND hwnd, int frame) {
    const TDataSkinButton& e = *Data().Buttons;
    return ImageDifferences(hwnd, e.RadioImage, e.RadioButtonFrame, frame);
  }

  skintest::FreshManager fresh_manager_;
  std::vector<uint8_t> metallic_;
  std::unique_ptr<fw::TForm> form_;
};

TEST_F(CheckSkinTest, CheckBoxStatesShowTheirFramesAndClicksRepaintAtOnce) {
  auto* box = Add<fw::TCheckBox>("Check1", 20, 20, 120, 17);
  box->SetAllowGrayed(true);
  auto* right = Add<fw::TCheckBox>("Check2", 20, 50, 120, 21);
  right->SetAlignment(fw::taLeftJustify);
  TSkinForm* controller = skintest::ShowSkinned(*form_);
  auto* skinner = dynamic_cast<TSkinCheckBox*>(skintest::SkinnerOf(controller, box));
  ASSERT_NE(skinner, nullptr);
  EXPECT_TRUE(skinner->FRecolor);
  ASSERT_NE(skintest::SkinnerOf(controller, right), nullptr);
  HWND hwnd = box->Handle();
  EXPECT_EQ(CheckDifferences(hwnd, kCheckFrameUnchecked), 0);
  EXPECT_EQ(CheckDifferences(right->Handle(), kCheckFrameUnchecked, true), 0);
  // Real clicks go unchecked -> checked -> grayed -> unchecked; each shows at once.
  RECT r{};
  GetClientRect(hwnd, &r);
  const int frames_after_clicks[] = {kCheckFrameChecked, kCheckFrameCheckedDisabled,
                                     kCheckFrameUnchecked};
  for (int frame : frames_after_clicks) {
    fwtest::ClickAt(hwnd, {6, r.bottom / 2});
    EXPECT_EQ(skinner->CurrentFrame(), frame);
    EXPECT_EQ(CheckDifferences(hwnd, frame), 0) << frame;
  }
  EXPECT_EQ(box->State(), fw::cbUnchecked);
  // Set in code (BM_SETCHECK): drawn before any message is dispatched.
  box->SetChecked(true);
  EXPECT_EQ(CheckDifferences(hwnd, kCheckFrameChecked), 0);
  // Disabled: frames 3 and 4; the third state is frame 4 either way.
  box->SetEnabled(false);
  EXPECT_EQ(CheckDifferences(hwnd, kCheckFrameCheckedDisabled), 0);
  box->SetChecked(false);
  EXPECT_EQ(CheckDifferences(hwnd, kCheckFrameUncheckedDisabled), 0);
  box->SetState(fw::cbGrayed);
  EXPECT_EQ(CheckDifferences(hwnd, kCheckFrameCheckedDisabled), 0);
  right->SetChecked(true);
  EXPECT_EQ(CheckDifferences(right->Handle(), kCheckFrameChecked, true), 0);
  // The focus leaving repaints the image too.
  right->SetFocus();
  box->SetEnabled(true);
  box->SetState(fw::cbChecked);
  box->SetFocus();
  right->SetFocus();
  EXPECT_EQ(CheckDifferences(hwnd, kCheckFrameChecked), 0);
}

TEST_F(CheckSkinTest, TheSystemBoxIsPaintedOffScreenWhereTheSkinGoesOverIt) {
  auto* box = Add<fw::TCheckBox>("Check1", 20, 20, 120, 17);
  skintest::PaintRecorder recorder{box->WindowProc(), {}};
  box->SetWindowProc(fw::TWndMethod::Of<&skintest::PaintRecorder::Proc>(&recorder));
  skintest::ShowSkinned(*form_);
  recorder.kinds.clear();
  RedrawWindow(box->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  EXPECT_THAT(recorder.kinds, testing::ElementsAre(OBJ_MEMDC));
  EXPECT_EQ(CheckDifferences(box->Handle(), kCheckFrameUnchecked), 0);
  form_.reset();  // before the recorder goes
}

TEST_F(CheckSkinTest, ImagesOfTwelveThirteenAndSixteenPixelsGoWhereTheSystemBoxIs) {
  auto* left = Add<fw::TCheckBox>("Left", 20, 20, 100, 20);
  auto* right = Add<fw::TCheckBox>("Right", 20, 60, 100, 20);
  right->SetAlignment(fw::taLeftJustify);
  TSkinForm* controller = skintest::ShowSkinned(*form_);
  auto* left_skinner = dynamic_cast<TSkinCheckBox*>(skintest::SkinnerOf(controller, left));
  auto* right_skinner = dynamic_cast<TSkinCheckBox*>(skintest::SkinnerOf(controller, right));
  ASSERT_TRUE(left_skinner && right_skinner);
  TDataSkinButton& e = *Data().Buttons;
  const PixelBitmap original = e.CheckImage;
  const int original_frames = e.CheckButtonFrame;
  for (int size : {12, 13, 16}) {
    // A strip of 4 frames of `size` pixels: each frame a solid colour.
    PixelBitmap strip(size * 4, size, PixelFormat::kBgr24);
    for (int f = 0; f < 4; ++f)
      for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) strip.SetPixel(f * size + x, y, RGB(40 * f, 200, 10));
    e.CheckImage = strip;
    e.CheckButtonFrame = 4;
    for (fw::TCheckBox* b : {left, right}) {
      RedrawWindow(b->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    }
    const RECT rect{0, 0, 100, 20};
    const PixelRect l = left_skinner->ImageRect(rect);
    const PixelRect r = right_skinner->ImageRect(rect);
    EXPECT_EQ(l.left, size <= 14 ? (14 - size) / 2 : 0) << size;
    EXPECT_EQ(l.Width(), size);
    EXPECT_EQ(r.right, size <= 14 ? 100 - (14 - size) / 2 : 99) << size;
    EXPECT_EQ(l.top, (20 - size) / 2);
    EXPECT_EQ(CheckDifferences(left->Handle(), 1), 0) << size;
    EXPECT_EQ(CheckDifferences(right->Handle(), 1, true), 0) << size;
  }
  e.CheckImage = original;
  e.CheckButtonFrame = original_frames;
}

TEST_F(CheckSkinTest, TheFrameworksCheckedDecidesOverTheWindowsState) {
  auto* own = Add<TOwnCheckedBox>("Own", 20, 20, 120, 17);
  TSkinForm* controller = skintest::ShowSkinned(*form_);
  auto* skinner = dynamic_cast<TSkinCheckBox*>(skintest::SkinnerOf(controller, own));
  ASSERT_NE(skinner, nullptr);
  own->SetChecked(true);
  SendMessageA(own->Handle(), BM_SETCHECK, BST_UNCHECKED, 0);
  EXPECT_EQ(skinner->CurrentFrame(), kCheckFrameChecked);
  EXPECT_EQ(CheckDifferences(own->Handle(), kCheckFrameChecked), 0);
  own->SetChecked(false);
  SendMessageA(own->Handle(), BM_SETCHECK, BST_CHECKED, 0);
  EXPECT_EQ(CheckDifferences(own->Handle(), kCheckFrameUnchecked), 0);
}

TEST_F(CheckSkinTest, RadioButtonsOfOneParentSwapTheirImagesOnAClick) {
  auto* first = Add<fw::TRadioButton>("Radio1", 20, 20, 120, 17);
  auto* second = Add<fw::TRadioButton>("Radio2", 20, 50, 120, 17);
  first->SetChecked(true);
  TSkinForm* controller = skintest::ShowSkinned(*form_);
  ASSERT_TRUE(dynamic_cast<TSkinRadioButton*>(skintest::SkinnerOf(controller, first)));
  ASSERT_TRUE(dynamic_cast<TSkinRadioButton*>(skintest::SkinnerOf(controller, second)));
  EXPECT_EQ(RadioDifferences(first->Handle(), kCheckFrameChecked), 0);
  EXPECT_EQ(RadioDifferences(second->Handle(), kCheckFrameUnchecked), 0);
  fwtest::ClickAt(second->Handle(), {6, 8});
  EXPECT_TRUE(second->Checked());
  EXPECT_FALSE(first->Checked());
  EXPECT_EQ(RadioDifferences(first->Handle(), kCheckFrameUnchecked), 0);
  EXPECT_EQ(RadioDifferences(second->Handle(), kCheckFrameChecked), 0);
  second->SetEnabled(false);
  EXPECT_EQ(RadioDifferences(second->Handle(), kCheckFrameCheckedDisabled), 0);
  first->SetEnabled(false);
  EXPECT_EQ(RadioDifferences(first->Handle(), kCheckFrameUncheckedDisabled), 0);
}

TEST_F(CheckSkinTest, TheRadioGroupsButtonsGetRadioSkinners) {
  auto* group = Add<fw::TRadioGroup>("Group1", 20, 20, 150, 90);
  fw::TStringList items{"One", "Two", "Three"};
  group->SetItems(items);
  group->SetItemIndex(1);
  TSkinForm* controller = skintest::ShowSkinned(*form_);
  int radios = 0;
  for (fw::TControl* child : group->ControlList()) {
    if (auto* s = dynamic_cast<TSkinRadioButton*>(skintest::SkinnerOf(controller, child))) {
      ++radios;
      auto* win = dynamic_cast<fw::TWinControl*>(child);
      ASSERT_NE(win, nullptr);
      const bool checked = SendMessageA(win->Handle(), BM_GETCHECK, 0, 0) == BST_CHECKED;
      EXPECT_EQ(s->CurrentFrame(), checked ? kCheckFrameChecked : kCheckFrameUnchecked);
      EXPECT_EQ(RadioDifferences(win->Handle(), s->CurrentFrame()), 0);
    }
  }
  EXPECT_EQ(radios, 3);
}

TEST_F(CheckSkinTest, BareCheckAndRadioWindowsGetTheImagesByHandle) {
  skintest::ShowSkinned(*form_);
  HWND parent = CreateWindowExA(0, "STATIC", "", WS_POPUP | WS_VISIBLE, 400, 300, 200, 100, nullptr,
                                nullptr, GetModuleHandleA(nullptr), nullptr);
  HWND check = CreateWindowExA(0, "BUTTON", "bare check", WS_CHILD | WS_VISIBLE | BS_AUTOCHECKBOX,
                               10, 10, 150, 20, parent, nullptr, nullptr, nullptr);
  HWND radio =
      CreateWindowExA(0, "BUTTON", "bare radio", WS_CHILD | WS_VISIBLE | BS_AUTORADIOBUTTON, 10, 40,
                      150, 20, parent, nullptr, nullptr, nullptr);
  // Activation changes start and stop the form controllers' timers: settle them first.
  SetForegroundWindow(parent);
  fwtest::PumpFor(300);
  const fw::HandleSnapshot before = fw::LiveHandleSnapshot();
  {
    TSkinCheckBox check_skinner(nullptr);
    TSkinRadioButton radio_skinner(nullptr);
    check_skinner.AttachHandle(check, &Data(), nullptr);
    radio_skinner.AttachHandle(radio, &Data(), nullptr);
    RedrawWindow(parent, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    fwtest::PumpFor(40);
    EXPECT_EQ(CheckDifferences(check, kCheckFrameUnchecked), 0);
    fwtest::ClickAt(check, {6, 10});
    EXPECT_EQ(SendMessageA(check, BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_EQ(CheckDifferences(check, kCheckFrameChecked), 0);
    SendMessageA(radio, BM_SETCHECK, BST_CHECKED, 0);
    EXPECT_EQ(RadioDifferences(radio, kCheckFrameChecked), 0);
    check_skinner.Detach();
    radio_skinner.Detach();
  }
  EXPECT_EQ(fw::LiveHandleSnapshot().DifferenceFrom(before), "");
  DestroyWindow(parent);
}

}  // namespace
}  // namespace skin
