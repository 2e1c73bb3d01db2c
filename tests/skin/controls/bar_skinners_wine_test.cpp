// Progress bars, track bars, up-down controls and boxes drawn by their skinners, compared
// pixel for pixel with the portable composition in both built-in skins.
#include "skin/controls/bar_skinners.h"

#include <commctrl.h>

#include "framework/comctrls.h"
#include "framework/std_controls.h"
#include "skin/controls/bar_geometry.h"
#include "tests/skin/controls/skinner_fixture.h"

namespace skin {
namespace {

using skintest::SkinnerFixture;

class BarSkinnerTest : public SkinnerFixture {
 protected:
  // The progress bar as the skin draws it: trough over the face, then the filled part.
  PixelBitmap ExpectedProgress(int w, int h, int fill, bool vertical) const {
    const TDataSkinBorder& e = *data_->Progress;
    PixelBitmap b = Face(w, h);
    PutElement(b, {0, 0, w, h}, e.Image, MarginsOf(e), 1, 2, true, e.Tile != 0);
    if (fill > 0)
      PutElement(b, ProgressFillRect({0, 0, w, h}, fill, vertical), e.Image, MarginsOf(e), 2, 2,
                 true, e.Tile != 0);
    return b;
  }
  // Both buttons of a vertical up-down in the given states.
  PixelBitmap ExpectedUpDown(int w, int h, int first_state, int second_state) const {
    const TDataSkinBorder& e = *data_->UpDownVert;
    PixelBitmap b = Face(w, h);
    const UpDownLayout l = LayoutUpDown({0, 0, w, h}, false);
    const int states[2] = {first_state, second_state};
    for (int i = 0; i < 2; ++i) {
      const PixelRect& r = i == 0 ? l.first : l.second;
      const int frame = UpDownFrame(states[i], i);
      PutFrame(b, r, e.Image, frame, 8);
      PutFrame(b, UpDownGlyphRect(r, e.Image2.Width(), e.Image2.Height()), e.Image2, frame, 8);
    }
    return b;
  }
  static void CursorAway() {
    SetCursorPos(5, 5);
    fwtest::PumpFor(20);
  }
};

TEST_P(BarSkinnerTest, ProgressFillsByPositionAndOnlyTheTroughAtZero) {
  ASSERT_TRUE(data_->Progress);
  auto* bar = Add<fw::TProgressBar>(10, 10, 200, 16);
  bar->SetPosition(33);
  Attach<TSkinProgress>(bar);
  EXPECT_EQ(
      fwtest::CountDifferences(Shown(bar->Handle()), 0, 0, ExpectedProgress(200, 16, 66, false)),
      0);
  // The new position shows at once, without waiting for a paint message.
  bar->SetPosition(0);
  EXPECT_EQ(fwtest::CountDifferences(fwtest::ReadWindowPixels(bar->Handle()), 0, 0,
                                     ExpectedProgress(200, 16, 0, false)),
            0);
}

TEST_P(BarSkinnerTest, VerticalProgressFillsFromTheBottomAndCountsTheLowerLimit) {
  auto* bar = Add<fw::TProgressBar>(10, 10, 16, 100);
  bar->SetOrientation(fw::pbVertical);
  bar->SetMin(50);
  bar->SetMax(150);
  bar->SetPosition(80);
  Attach<TSkinProgress>(bar);
  EXPECT_EQ(
      fwtest::CountDifferences(Shown(bar->Handle()), 0, 0, ExpectedProgress(16, 100, 30, true)), 0);
}

TEST_P(BarSkinnerTest, ChunkStyleRepeatsTheChunkOverTheFilledWidth) {
  TDataSkinBorder& e = *data_->Progress;
  ASSERT_FALSE(e.Image2.Empty());
  e.Style = 1;
  auto* bar = Add<fw::TProgressBar>(10, 10, 200, 18);
  bar->SetPosition(50);
  Attach<TSkinProgress>(bar);
  PixelBitmap expected = Face(200, 18);
  PutElement(expected, {0, 0, 200, 18}, e.Image, MarginsOf(e), 1, 1, true, e.Tile != 0);
  const int fill = 100, cw = e.Image2.Width(), ch = e.Image2.Height();
  PixelBitmap row(fill, ch, PixelFormat::kBgr24);
  row.Fill(kMagentaKey);
  for (int x : ProgressChunkOffsets(fill, cw))
    StretchCopy(e.Image2, {0, 0, cw, ch}, row, {x, 0, x + cw, ch});
  const auto [x0, y0] = ProgressChunkOrigin({0, 0, 200, 18}, e.LeftWidth, ch);
  TransparentCopy(expected, {x0, y0, x0 + fill, y0 + ch}, row);
  EXPECT_EQ(fwtest::CountDifferences(Shown(bar->Handle()), 0, 0, expected), 0);
  // Without a chunk image nothing is drawn by the skin.
  e.Image2.Clear();
  EXPECT_GT(fwtest::CountDifferences(Shown(bar->Handle()), 0, 0, expected), 0);
}

TEST_P(BarSkinnerTest, TrackBarThumbIsFrameTwoOfTheThumbImage) {
  for (bool vertical : {false, true}) {
    auto* track = Add<fw::TTrackBar>(10, 40, vertical ? 40 : 200, vertical ? 200 : 40);
    if (vertical) track->SetOrientation(fw::trVertical);
    track->SetMax(10);
    track->SetPosition(4);
    Attach<TSkinTrackBar>(track);
    const PixelBitmap shown = Shown(track->Handle());
    RECT thumb{};
    SendMessageA(track->Handle(), TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&thumb));
    ASSERT_GT(thumb.right - thumb.left, 0);
    const TDataSkinObject& e = vertical ? *data_->TrackbarThumbVert : *data_->TrackbarThumbHorz;
    PixelBitmap expected(thumb.right - thumb.left, thumb.bottom - thumb.top, PixelFormat::kBgra32);
    expected.Fill(kMagentaKey);
    PutFrame(expected, {0, 0, expected.Width(), expected.Height()}, e.Image, 2, 5);
    EXPECT_EQ(fwtest::CountDifferences(shown, thumb.left, thumb.top, expected, true), 0)
        << "vertical " << vertical;
  }
}

TEST_P(BarSkinnerTest, TrackBarWithoutThumbElementsFramesTheThumbPlainly) {
  data_->TrackbarThumbHorz.reset();
  data_->TrackbarThumbVert.reset();
  auto* track = Add<fw::TTrackBar>(10, 40, 200, 40);
  track->SetMax(10);
  track->SetPosition(4);
  Attach<TSkinTrackBar>(track);
  const PixelBitmap shown = Shown(track->Handle());
  RECT thumb{};
  SendMessageA(track->Handle(), TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&thumb));
  const uint32_t shadow = Rgb(data_->ButtonShadow);
  const int mid_y = (thumb.top + thumb.bottom) / 2, mid_x = (thumb.left + thumb.right) / 2;
  EXPECT_EQ(shown.Pixel(thumb.left, mid_y) & 0xFFFFFF, shadow);
  EXPECT_EQ(shown.Pixel(thumb.right - 1, mid_y) & 0xFFFFFF, shadow);
  EXPECT_EQ(shown.Pixel(mid_x, thumb.top) & 0xFFFFFF, shadow);
  EXPECT_EQ(shown.Pixel(mid_x, thumb.bottom - 1) & 0xFFFFFF, shadow);
}

TEST_P(BarSkinnerTest, UpDownButtonsAndTheirGlyphs) {
  CursorAway();
  auto* updown = Add<fw::TUpDown>(10, 10, 16, 24);
  Attach<TSkinUpDown>(updown);
  EXPECT_EQ(fwtest::CountDifferences(Shown(updown->Handle()), 0, 0, ExpectedUpDown(16, 24, 1, 1)),
            0);
  updown->SetEnabled(false);
  fwtest::PumpFor(20);
  EXPECT_EQ(fwtest::CountDifferences(Shown(updown->Handle()), 0, 0, ExpectedUpDown(16, 24, 3, 3)),
            0);
}

TEST_P(BarSkinnerTest, UpDownWithoutGlyphImageDrawsPlainButtons) {
  CursorAway();
  data_->UpDownVert->Image2.Clear();
  auto* updown = Add<fw::TUpDown>(10, 10, 16, 24);
  Attach<TSkinUpDown>(updown);
  const PixelBitmap shown = Shown(updown->Handle());
  const uint32_t ink = Rgb(data_->ButtonDkShadow), face = Rgb(data_->ButtonFace);
  EXPECT_EQ(shown.Pixel(0, 0) & 0xFFFFFF, ink);
  EXPECT_EQ(shown.Pixel(15, 11) & 0xFFFFFF, ink);
  EXPECT_EQ(shown.Pixel(2, 2) & 0xFFFFFF, face);
  // The arrows' tips: up at (8, 4), down at (8, 12 + 6 - 2 + 3).
  EXPECT_EQ(shown.Pixel(8, 4) & 0xFFFFFF, ink);
  EXPECT_EQ(shown.Pixel(8, 19) & 0xFFFFFF, ink);
  EXPECT_EQ(shown.Pixel(8, 2) & 0xFFFFFF, face);
}

TEST_P(BarSkinnerTest, HeldUpDownShowsThePressedHalfUnderTheCursor) {
  CursorAway();
  auto* updown = Add<fw::TUpDown>(10, 10, 16, 24);
  Attach<TSkinUpDown>(updown);
  HWND h = updown->Handle();
  SetForegroundWindow(form_->Handle());
  auto move_to = [&](int x, int y) {
    POINT p{x, y};
    ClientToScreen(h, &p);
    SetCursorPos(p.x, p.y);
    fwtest::PumpFor(40);
  };
  auto button = [](DWORD flags) {
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dwFlags = flags;
    SendInput(1, &in, sizeof in);
    fwtest::PumpFor(60);
  };
  move_to(8, 5);
  button(MOUSEEVENTF_LEFTDOWN);
  EXPECT_EQ(
      fwtest::CountDifferences(fwtest::ReadWindowPixels(h), 0, 0, ExpectedUpDown(16, 24, 2, 1)), 0);
  move_to(8, 18);
  EXPECT_EQ(
      fwtest::CountDifferences(fwtest::ReadWindowPixels(h), 0, 0, ExpectedUpDown(16, 24, 1, 2)), 0);
  button(MOUSEEVENTF_LEFTUP);
  CursorAway();
  fwtest::PumpUntil(
      [&] { return fwtest::CountDifferences(Shown(h), 0, 0, ExpectedUpDown(16, 24, 1, 1)) == 0; },
      1000);
  EXPECT_EQ(fwtest::CountDifferences(Shown(h), 0, 0, ExpectedUpDown(16, 24, 1, 1)), 0);
}

TEST_P(BarSkinnerTest, BoxRecoloursWithoutTakingTheWindowProcedureAndGivesTheColourBack) {
  auto* group = Add<fw::TGroupBox>(10, 10, 150, 90);
  group->SetColor(fw::clRed);
  auto* box = Attach<TSkinBox>(group, true);
  EXPECT_EQ(group->Color(), static_cast<fw::TColor>(data_->ButtonFace));
  EXPECT_TRUE(group->WindowProc() == group->DefaultWindowProc());
  // A new skin recolours again.
  data_->ButtonFace = Rgb(data_->ButtonFace) ^ 0x101010;
  box->SkinChanged();
  EXPECT_EQ(group->Color(), static_cast<fw::TColor>(data_->ButtonFace));
  box->Detach();
  EXPECT_EQ(group->Color(), fw::clRed);
  // Without recolour nothing changes.
  auto* panel = Add<fw::TPanel>(170, 10, 100, 60);
  panel->SetColor(fw::clBlue);
  Attach<TSkinBox>(panel, false);
  EXPECT_EQ(panel->Color(), fw::clBlue);
}

TEST_P(BarSkinnerTest, BoxOutlivingItsControlForgetsIt) {
  auto* panel = Add<fw::TPanel>(10, 10, 100, 60);
  auto* box = Attach<TSkinBox>(panel, true);
  Free(panel);
  EXPECT_EQ(box->FControl, nullptr);
  box->Detach();
  box->SkinChanged();
}

INSTANTIATE_TEST_SUITE_P(Skins, BarSkinnerTest, testing::Values("metallic.skn", "dark.skn"));

}  // namespace
}  // namespace skin
