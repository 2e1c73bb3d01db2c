// Real input on a skinned form and on the same form unskinned: switching tabs, dragging a
// track bar, clicking up-downs and resizing a form with a status bar end the same way, and
// the skinned form's controls carry the skinners of their kinds.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>

#include "framework/comctrls.h"
#include "framework/form_reader.h"
#include "framework/forms.h"
#include "framework/tab_controls.h"
#include "skin/controls/bar_skinners.h"
#include "skin/controls/tab_skinners.h"
#include "skin/controls/tab_geometry.h"
#include "skin/data/skin_data.h"
#include "skin/form/skin_form.h"
#include "skin/manager/skin_manager.h"
#include "tests/skin/data/skin_data_test_util.h"
#include "tests/support/fw_test.h"
#include "tests/support/window_pixels.h"

namespace skin {
namespace {

struct Outcome {
  int page = -1;
  int page_changes = 0;
  int track = -1;
  int updown = -1;
  int updown_horizontal = -1;
  RECT bar{};  // the status bar's window rectangle in the form's client coordinates
  bool operator==(const Outcome& o) const {
    return page == o.page && page_changes == o.page_changes && track == o.track &&
           updown == o.updown && updown_horizontal == o.updown_horizontal &&
           EqualRect(&bar, &o.bar);
  }
};

std::ostream& operator<<(std::ostream& os, const Outcome& o) {
  return os << "page " << o.page << " (" << o.page_changes << " changes), track " << o.track
            << ", up-down " << o.updown << "/" << o.updown_horizontal << ", bar " << o.bar.left
            << "," << o.bar.top << "," << o.bar.right << "," << o.bar.bottom;
}

class SkinnedInputTest : public fwtest::ApplicationTest,
                         public testing::WithParamInterface<const char*> {
 protected:
  void SetUp() override {
    ApplicationTest::SetUp();
    RegisterSkinDataClass();
    package_ = skintest::ReadBytes(skintest::PackagePath(GetParam()));
    ASSERT_FALSE(package_.empty());
  }

  static fw::FormProperty Stream(const std::vector<uint8_t>& package) {
    const uint32_t n = static_cast<uint32_t>(package.size());
    std::vector<uint8_t> block(4 + package.size());
    for (int i = 0; i < 4; ++i) block[i] = static_cast<uint8_t>(n >> (8 * i));
    if (n) std::memcpy(block.data() + 4, package.data(), n);
    return {"SkinStream", fw::FormValue::Binary(block), 0};
  }

  struct Controls {
    fw::TPageControl* pages = nullptr;
    fw::TTrackBar* track = nullptr;
    fw::TUpDown* updown = nullptr;
    fw::TUpDown* updown_horizontal = nullptr;
    fw::TStatusBar* bar = nullptr;
  };

  std::unique_ptr<fw::TForm> MakeForm(bool skinned, Controls& c) {
    std::vector<fw::FormObject> children;
    if (skinned) {
      std::vector<fw::FormProperty> props{{"Active", fw::FormValue::Ident("True"), 0},
                                          Stream(package_)};
      children.push_back({"SkinData1", "TSkinData", std::move(props), {}, 0});
    }
    fw::FormObject form_object{"InputForm" + std::to_string(++forms_), "TForm", {}, children, 0};
    auto form = std::make_unique<fw::TForm>(&App());
    form->SetBorderStyle(fw::bsSizeable);
    form->SetPosition(fw::poDesigned);
    form->SetBounds(60, 60, 480, 360);
    form->SetClientWidth(460);
    form->SetClientHeight(320);
    fw::ReadComponent(*form, form_object);

    c.pages = new fw::TPageControl(form.get());
    c.pages->SetParent(form.get());
    c.pages->SetBounds(8, 8, 300, 120);
    for (const char* caption : {"One", "Two", "Three"}) {
      auto* sheet = new fw::TTabSheet(form.get());
      sheet->SetCaption(caption);
      sheet->SetParent(c.pages);
    }
    c.pages->SetActivePageIndex(0);
    c.pages->OnChange = [this](fw::TObject*) { ++page_changes_; };

    c.track = new fw::TTrackBar(form.get());
    c.track->SetParent(form.get());
    c.track->SetBounds(8, 140, 220, 36);
    c.track->SetMax(20);
    c.updown = new fw::TUpDown(form.get());
    c.updown->SetParent(form.get());
    c.updown->SetBounds(250, 140, 18, 30);
    c.updown->SetMax(10);
    c.updown->SetPosition(5);
    c.updown_horizontal = new fw::TUpDown(form.get());
    c.updown_horizontal->SetParent(form.get());
    c.updown_horizontal->SetOrientation(fw::udHorizontal);
    c.updown_horizontal->SetBounds(290, 140, 36, 18);
    c.updown_horizontal->SetMax(10);
    c.updown_horizontal->SetPosition(5);
    c.bar = new fw::TStatusBar(form.get());
    c.bar->SetParent(form.get());
    c.bar->AddPanel("Ready", 120);
    c.bar->AddPanel("", 120);
    c.bar->SetBounds(0, 320 - 20, 460, 20);
    return form;
  }

  static void Press(DWORD flags) {
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dwFlags = flags;
    SendInput(1, &in, sizeof in);
    fwtest::PumpFor(40);
  }
  static void MoveTo(HWND hwnd, int x, int y) {
    POINT p{x, y};
    ClientToScreen(hwnd, &p);
    SetCursorPos(p.x, p.y);
    fwtest::PumpFor(15);
  }

  Outcome Run(bool skinned) {
    Controls c;
    page_changes_ = 0;
    auto form = MakeForm(skinned, c);
    form->Show();
    if (skinned) {
      fwtest::PumpUntil([&] {
        TSkinForm* controller = SkinManager ? SkinManager->FindForm(form->Handle()) : nullptr;
        return controller && controller->LifeState == LifeReady;
      });
      controller_ = SkinManager ? SkinManager->FindForm(form->Handle()) : nullptr;
      if (controller_) classified_ = controller_->Classified;
    }
    fwtest::PumpFor(60);
    SetForegroundWindow(form->Handle());
    fwtest::PumpFor(30);
    Outcome o;

    const RECT tab = c.pages->TabRect(2);
    fwtest::ClickAt(c.pages->Handle(), {(tab.left + tab.right) / 2, (tab.top + tab.bottom) / 2});
    fwtest::PumpFor(30);
    o.page = c.pages->ActivePageIndex();
    o.page_changes = page_changes_;

    RECT thumb{};
    SendMessageA(c.track->Handle(), TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&thumb));
    const int tx = (thumb.left + thumb.right) / 2, ty = (thumb.top + thumb.bottom) / 2;
    MoveTo(c.track->Handle(), tx, ty);
    Press(MOUSEEVENTF_LEFTDOWN);
    for (int dx = 10; dx <= 100; dx += 10) MoveTo(c.track->Handle(), tx + dx, ty);
    Press(MOUSEEVENTF_LEFTUP);
    o.track = c.track->Position();

    fwtest::ClickAt(c.updown->Handle(), {9, 5});
    fwtest::ClickAt(c.updown->Handle(), {9, 5});
    fwtest::ClickAt(c.updown->Handle(), {9, 25});
    o.updown = c.updown->Position();
    fwtest::ClickAt(c.updown_horizontal->Handle(), {30, 9});
    fwtest::ClickAt(c.updown_horizontal->Handle(), {5, 9});
    fwtest::ClickAt(c.updown_horizontal->Handle(), {5, 9});
    o.updown_horizontal = c.updown_horizontal->Position();

    // A bigger form; the bar follows its client area's bottom, as a resize handler puts it.
    RECT wr{};
    GetWindowRect(form->Handle(), &wr);
    SetWindowPos(form->Handle(), nullptr, 0, 0, wr.right - wr.left + 120, wr.bottom - wr.top + 60,
                 SWP_NOMOVE | SWP_NOZORDER);
    fwtest::PumpFor(30);
    RECT client{};
    GetClientRect(form->Handle(), &client);
    c.bar->SetBounds(0, client.bottom - 20, client.right, 20);
    fwtest::PumpFor(60);
    RECT bar{};
    GetWindowRect(c.bar->Handle(), &bar);
    MapWindowPoints(nullptr, form->Handle(), reinterpret_cast<POINT*>(&bar), 2);
    o.bar = bar;
    if (skinned) CheckResizedBar(c.bar);
    return o;
  }

  // After the resize the skin paints the whole bar at its new width: the last panel's frame
  // reaches the right edge.
  void CheckResizedBar(fw::TStatusBar* bar) {
    if (!controller_) return;
    TSkinData* data = controller_->SkinData;
    ASSERT_NE(data, nullptr);
    const TDataSkinObject& e = *data->StatusBarEdges;
    RECT wr{};
    GetWindowRect(bar->Handle(), &wr);
    const int w = wr.right - wr.left, h = wr.bottom - wr.top;
    RECT last{};
    SendMessageA(bar->Handle(), SB_GETRECT, 1, reinterpret_cast<LPARAM>(&last));
    const PixelRect r = StatusPanelRects({{last.left, last.top, last.right, last.bottom}}, w)[0];
    const PixelBitmap frame = ComposeElement(
        PixelRect{0, 0, r.Width(), r.Height()}, e.Image,
        {e.LeftWidth, e.TopHeight, e.RightWidth, e.BottomHeight}, 1, 3, e.Tile != 0, false);
    const PixelBitmap shown = fwtest::ReadWindowPixels(bar->Handle());
    ASSERT_EQ(shown.Width(), w);
    // The right-hand border column of the lowered frame, top to bottom.
    int different = 0;
    for (int y = 0; y < h && y < frame.Height(); ++y)
      different += (shown.Pixel(w - 1, r.top + y) & 0xFFFFFF) !=
                   (frame.Pixel(frame.Width() - 1, y) & 0xFFFFFF);
    EXPECT_EQ(different, 0);
  }

  skintest::FreshManager fresh_manager_;
  std::vector<uint8_t> package_;
  int forms_ = 0;
  int page_changes_ = 0;
  TSkinForm* controller_ = nullptr;
  std::vector<ClassifiedControl> classified_;
};

TEST_P(SkinnedInputTest, ControlsBehaveAsUnskinned) {
  const Outcome plain = Run(false);
  const Outcome skinned = Run(true);
  EXPECT_EQ(plain.page, 2);
  EXPECT_EQ(plain.page_changes, 1);
  EXPECT_GT(plain.track, 0);
  EXPECT_EQ(plain.updown, 6);
  EXPECT_EQ(plain.updown_horizontal, 4);
  EXPECT_EQ(skinned, plain);

  // The controls were served by the skinners of their kinds.
  auto kind_of = [&](const char* cls) {
    for (const ClassifiedControl& c : classified_)
      if (c.class_name == cls && c.attached) return c.kind;
    return SkinnerKind::None;
  };
  EXPECT_EQ(kind_of("TPageControl"), SkinnerKind::Tab);
  EXPECT_EQ(kind_of("TTrackBar"), SkinnerKind::TrackBar);
  EXPECT_EQ(kind_of("TUpDown"), SkinnerKind::UpDown);
  EXPECT_EQ(kind_of("TStatusBar"), SkinnerKind::StatusBar);
}

INSTANTIATE_TEST_SUITE_P(Skins, SkinnedInputTest, testing::Values("metallic.skn", "dark.skn"));

}  // namespace
}  // namespace skin
