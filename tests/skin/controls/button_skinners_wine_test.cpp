// Push, bitmap and speed buttons skinned on a real form, driven by real mouse and keyboard
// input: what each state shows (read back from the screen and compared with the skin's
// composition), which presses click and how often, the modal result of a click, bare
// "button" windows, glyph layout and speed button frames.
#include "skin/controls/button_skinners.h"

#include <windows.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "framework/buttons.h"
#include "framework/handle_counts.h"
#include "framework/std_controls.h"
#include "framework/timer.h"
#include "tests/skin/controls/skinner_test_util.h"

namespace skin {
namespace {

using skintest::ButtonBackground;
using skintest::CentreOf;
using skintest::MouseButton;
using skintest::MoveTo;

constexpr POINT kAway{20, 20};  // a screen point outside every test window

class ButtonSkinTest : public fwtest::ApplicationTest {
 protected:
  void SetUp() override {
    ApplicationTest::SetUp();
    RegisterSkinDataClass();
    metallic_ = skintest::ReadBytes(skintest::PackagePath("metallic.skn"));
    dark_ = skintest::ReadBytes(skintest::PackagePath("dark.skn"));
    ASSERT_FALSE(metallic_.empty());
    MoveTo(kAway);
  }
  void TearDown() override {
    form_.reset();
    ApplicationTest::TearDown();
  }
  fw::TForm& Form(const std::vector<uint8_t>& package) {
    form_ = skintest::MakeSkinnedForm(&App(), package, "ButtonForm" + std::to_string(++forms_));
    return *form_;
  }
  template <class T>
  T* Add(const std::string& name, int x, int y, int w, int h) {
    auto* c = new T(form_.get());
    c->SetName(name);
    c->SetParent(form_.get());
    c->SetBounds(x, y, w, h);
    return c;
  }
  TSkinData& Data() { return skintest::SkinDataOf(*form_); }
  // Differences between what the window shows and frame `frame` of the button element.
  int BackgroundDifferences(HWND hwnd, int frame) {
    const PixelBitmap shown = fwtest::ReadWindowPixels(hwnd);
    return fwtest::CountDifferences(shown, 0, 0,
                                    ButtonBackground(Data(), shown.Width(), shown.Height(), frame));
  }

  skintest::FreshManager fresh_manager_;
  std::vector<uint8_t> metallic_, dark_;
  std::unique_ptr<fw::TForm> form_;
  int forms_ = 0;
};

TEST_F(ButtonSkinTest, EveryPushButtonStateShowsItsFrameOfTheSkin) {
  Form(metallic_);
  auto* button = Add<fw::TButton>("Plain", 20, 20, 90, 30);
  auto* other = Add<fw::TButton>("Other", 20, 80, 90, 30);
  int clicks = 0;
  button->OnClick = [&](fw::TObject*) { ++clicks; };
  TSkinForm* controller = skintest::ShowSkinned(*form_);
  ASSERT_NE(controller, nullptr);
  auto* skinner = dynamic_cast<TSkinButton*>(skintest::SkinnerOf(controller, button));
  ASSERT_NE(skinner, nullptr);
  EXPECT_STREQ(skinner->ClassName().c_str(), "TSkinButton");
  HWND hwnd = button->Handle();
  other->SetFocus();
  fwtest::PumpFor(40);

  EXPECT_EQ(BackgroundDifferences(hwnd, kButtonFrameNormal), 0);
  // The mouse over it: hot.
  MoveTo(CentreOf(hwnd));
  EXPECT_TRUE(skinner->Hot());
  EXPECT_EQ(BackgroundDifferences(hwnd, kButtonFrameHot), 0);
  // Pressed: the button takes the focus, shows the pressed frame and has not clicked.
  MouseButton(true);
  EXPECT_TRUE(skinner->Pressed());
  EXPECT_EQ(GetFocus(), hwnd);
  EXPECT_EQ(BackgroundDifferences(hwnd, kButtonFramePressed), 0);
  EXPECT_EQ(clicks, 0);
  // Leaving with the button held and letting go outside: no click. (Wine reports the
  // mouse leaving from a timer, up to its hover time later.)
  MoveTo(kAway);
  MouseButton(false);
  EXPECT_TRUE(fwtest::PumpUntil([&] { return !skinner->Pressed() && !skinner->Hot(); }, 2000));
  EXPECT_EQ(clicks, 0);
  // Focused, the mouse elsewhere: the hot frame.
  EXPECT_EQ(BackgroundDifferences(hwnd, kButtonFrameHot), 0);
  other->SetFocus();
  fwtest::PumpFor(40);
  EXPECT_EQ(BackgroundDifferences(hwnd, kButtonFrameNormal), 0);
  // Disabled: frame 3 even with the mouse over it.
  button->SetEnabled(false);
  MoveTo(CentreOf(hwnd));
  EXPECT_EQ(skinner->CurrentFrame(), kButtonFrameDisabled);
  EXPECT_EQ(BackgroundDifferences(hwnd, kButtonFrameDisabled), 0);
  MouseButton(true);
  MouseButton(false);
  EXPECT_EQ(clicks, 0);
}

TEST_F(ButtonSkinTest, ClicksComeOnlyFromAReleaseInsideAndOnlyOnce) {
  Form(metallic_);
  auto* button = Add<fw::TButton>("Counted", 20, 20, 90, 30);
  Add<fw::TButton>("Other", 20, 80, 90, 30);
  int clicks = 0;
  button->OnClick = [&](fw::TObject*) { ++clicks; };
  TSkinForm* controller = skintest::ShowSkinned(*form_);
  ASSERT_NE(skintest::SkinnerOf(controller, button), nullptr);
  HWND hwnd = button->Handle();
  RECT r{};
  GetClientRect(hwnd, &r);

  fwtest::ClickAt(hwnd, {r.right / 2, r.bottom / 2});
  EXPECT_EQ(clicks, 1);
  // A double click is two clicks.
  INPUT twice[4] = {};
  for (int i = 0; i < 4; ++i) {
    twice[i].type = INPUT_MOUSE;
    twice[i].mi.dwFlags = i % 2 ? MOUSEEVENTF_LEFTUP : MOUSEEVENTF_LEFTDOWN;
  }
  SendInput(4, twice, sizeof(INPUT));
  fwtest::PumpFor(100);
  EXPECT_EQ(clicks, 3);
  // Pressed inside, released on the other button: nothing.
  MouseButton(true);
  MoveTo(CentreOf(dynamic_cast<fw::TButton*>(form_->FindComponent("Other"))->Handle()));
  MouseButton(false);
  EXPECT_EQ(clicks, 3);
  // The keyboard: space on the focused button clicks once, on its release.
  button->SetFocus();
  fwtest::PumpFor(30);
  fwtest::KeyDown(VK_SPACE);
  fwtest::PumpFor(60);
  EXPECT_EQ(clicks, 3);
  fwtest::KeyUp(VK_SPACE);
  fwtest::PumpFor(60);
  EXPECT_EQ(clicks, 4);
  // Space held while the mouse clicks: still one click.
  fwtest::KeyDown(VK_SPACE);
  fwtest::PumpFor(40);
  MoveTo(CentreOf(hwnd));
  MouseButton(true);
  MouseButton(false);
  fwtest::KeyUp(VK_SPACE);
  fwtest::PumpFor(60);
  EXPECT_EQ(clicks, 5);
  // BM_CLICK, as programs and tests click: once.
  SendMessageA(hwnd, BM_CLICK, 0, 0);
  EXPECT_EQ(clicks, 6);
}

// Enter on a focused push button clicks it once, with the skinner as without one.
// A skin without a button picture leaves push buttons to paint and click by themselves:
// nothing stale stays on them.
TEST_F(ButtonSkinTest, WithoutAButtonPictureTheButtonPaintsAndClicksItself) {
  Form(metallic_);
  auto* button = Add<fw::TButton>("Plain", 20, 20, 90, 30);
  int clicks = 0;
  button->OnClick = [&](fw::TObject*) { ++clicks; };
  Data().Buttons.reset();
  TSkinForm* controller = skintest::ShowSkinned(*form_);
  ASSERT_NE(skintest::SkinnerOf(controller, button), nullptr);
  HWND hwnd = button->Handle();
  RECT r{};
  GetClientRect(hwnd, &r);
  {
    fw::ScopedGetDc dc(hwnd);
    fw::ScopedBrush magenta(CreateSolidBrush(RGB(255, 0, 255)));
    FillRect(dc.get(), &r, magenta.get());
  }
  RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
  const PixelBitmap shown = fwtest::ReadWindowPixels(hwnd);
  int stale = 0;
  for (int y = 0; y < shown.Height(); ++y)
    for (int x = 0; x < shown.Width(); ++x) stale += (shown.Pixel(x, y) & 0xFFFFFF) == 0xFF00FF;
  EXPECT_EQ(stale, 0);
  fwtest::ClickAt(hwnd, {r.right / 2, r.bottom / 2});
  EXPECT_EQ(clicks, 1);
}

TEST_F(ButtonSkinTest, EnterOnAFocusedButtonClicksOnceAsWithoutTheSkinner) {
  int counts[2] = {0, 0};
  for (int skinned = 0; skinned < 2; ++skinned) {
    if (!skinned) RegisterSkinnerMaker(SkinnerKind::Button, nullptr);
    Form(metallic_);
    auto* button = Add<fw::TButton>("EnterTarget", 20, 20, 90, 30);
    Add<fw::TButton>("Other", 20, 80, 90, 30);
    button->OnClick = [&](fw::TObject*) { ++counts[skinned]; };
    TSkinForm* controller = skintest::ShowSkinned(*form_);
    EXPECT_EQ(skintest::SkinnerOf(controller, button) != nullptr, skinned == 1);
    button->SetFocus();
    fwtest::PumpFor(30);
    fwtest::PressKey(VK_RETURN);
    fwtest::PumpFor(60);
    form_.reset();
    RestoreStandardSkinnerMakers();
  }
  EXPECT_EQ(counts[0], 1);
  EXPECT_EQ(counts[1], 1);
}

TEST_F(ButtonSkinTest, CaptionTakesTheStateColoursOfTheElement) {
  Form(dark_);
  auto* button = Add<fw::TButton>("Captioned", 20, 20, 120, 30);
  button->SetCaption("WWWWMMMM");
  auto* other = Add<fw::TButton>("Other", 20, 80, 90, 30);
  TSkinForm* controller = skintest::ShowSkinned(*form_);
  ASSERT_NE(skintest::SkinnerOf(controller, button), nullptr);
  HWND hwnd = button->Handle();
  other->SetFocus();
  fwtest::PumpFor(40);
  const TDataSkinButton& e = *Data().Buttons;
  const auto count = [&](COLORREF colour) {
    const PixelBitmap shown = fwtest::ReadWindowPixels(hwnd);
    int n = 0;
    for (int y = 0; y < shown.Height(); ++y)
      for (int x = 0; x < shown.Width(); ++x) n += (shown.Pixel(x, y) & 0xFFFFFF) == colour;
    return n;
  };
  const COLORREF normal = skintest::Resolve(e.NormalColour2);
  const COLORREF hot = skintest::Resolve(e.MouseOverColour2);
  const COLORREF pressed = skintest::Resolve(e.PressedColour2);
  EXPECT_GT(count(normal), 10);
  EXPECT_EQ(count(pressed), 0);
  MoveTo(CentreOf(hwnd));
  EXPECT_GT(count(hot), 10);
  MouseButton(true);
  EXPECT_GT(count(pressed), 10);
  MoveTo(kAway);
  MouseButton(false);
  other->SetFocus();
  button->SetEnabled(false);
  fwtest::PumpFor(40);
  EXPECT_GT(count(GetSysColor(COLOR_BTNSHADOW)), 10);
  EXPECT_EQ(count(normal), 0);
  // Outside the caption the button shows the element's frame.
  const PixelBitmap shown = fwtest::ReadWindowPixels(hwnd);
  const PixelBitmap expected =
      ButtonBackground(Data(), shown.Width(), shown.Height(), kButtonFrameDisabled);
  for (int x = 0; x < shown.Width(); ++x) EXPECT_EQ(shown.Pixel(x, 2), expected.Pixel(x, 2)) << x;
}

TEST_F(ButtonSkinTest, AClickGivesTheButtonsModalResultToItsForm) {
  Form(metallic_);
  Add<fw::TButton>("Opener", 20, 20, 90, 30);
  skintest::ShowSkinned(*form_);
  fw::TForm dialog(&App());
  dialog.SetName("Dialog1");
  dialog.SetPosition(fw::poDesigned);
  dialog.SetBounds(150, 150, 240, 140);
  auto* ok = new fw::TButton(&dialog);
  ok->SetName("OkButton");
  ok->SetParent(&dialog);
  ok->SetBounds(20, 20, 90, 30);
  ok->SetModalResult(fw::mrOk);
  int clicked = 0;
  ok->OnClick = [&](fw::TObject*) { ++clicked; };
  // The click comes from a timer the modal loop dispatches, once the dialog is skinned.
  bool skinned = false;
  fw::TTimer timer(nullptr);
  timer.SetInterval(100);
  int ticks = 0;
  timer.OnTimer = [&](fw::TObject*) {
    ++ticks;
    TSkinForm* c = SkinManager ? SkinManager->FindForm(dialog.Handle()) : nullptr;
    if (c && c->LifeState == LifeReady && dynamic_cast<TSkinButton*>(skintest::SkinnerOf(c, ok))) {
      timer.SetEnabled(false);
      skinned = true;
      RECT r{};
      GetClientRect(ok->Handle(), &r);
      fwtest::ClickAt(ok->Handle(), {r.right / 2, r.bottom / 2});
    } else if (ticks > 40) {
      timer.SetEnabled(false);
      dialog.SetModalResult(fw::mrCancel);
    }
  };
  timer.SetEnabled(true);
  EXPECT_EQ(dialog.ShowModal(), fw::mrOk);
  EXPECT_TRUE(skinned);
  EXPECT_EQ(clicked, 1);
}

// ---- bare "button" windows ----

int g_commands = 0;
LRESULT CALLBACK CountingParent(HWND h, UINT m, WPARAM w, LPARAM l) {
  // Skinned already, says the window: the manager leaves it (and its button) alone.
  if (m == WM_SKINQUERY) return 1;
  if (m == WM_COMMAND && HIWORD(w) == BN_CLICKED && LOWORD(w) == 77) ++g_commands;
  return DefWindowProcA(h, m, w, l);
}

TEST_F(ButtonSkinTest, ABareButtonWindowTellsItsParentOfEachClickOnce) {
  Form(metallic_);
  skintest::ShowSkinned(*form_);
  WNDCLASSA wc{};
  wc.lpfnWndProc = CountingParent;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = "BareButtonParent";
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  RegisterClassA(&wc);
  HWND parent = CreateWindowExA(0, "BareButtonParent", "bare", WS_POPUP | WS_VISIBLE, 400, 300, 200,
                                120, nullptr, nullptr, wc.hInstance, nullptr);
  HWND hwnd = CreateWindowExA(0, "BUTTON", "", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 20, 20, 90,
                              30, parent, reinterpret_cast<HMENU>(77), wc.hInstance, nullptr);
  // Activation changes start and stop the form controllers' timers: settle them first.
  SetForegroundWindow(parent);
  fwtest::PumpFor(300);
  const fw::HandleSnapshot before = fw::LiveHandleSnapshot();
  {
    TSkinButton skinner(nullptr);
    skinner.AttachHandle(hwnd, &Data(), nullptr);
    InvalidateRect(hwnd, nullptr, TRUE);
    fwtest::PumpFor(60);
    g_commands = 0;
    EXPECT_EQ(BackgroundDifferences(hwnd, kButtonFrameNormal), 0);
    fwtest::ClickAt(hwnd, {45, 15});
    EXPECT_EQ(g_commands, 1);
    EXPECT_EQ(GetFocus(), hwnd);
    // Pressed inside, released outside: no click (the form controller's poll would end
    // the hot state of a window without a form object; here the skinner hears it directly).
    MouseButton(true);
    EXPECT_EQ(BackgroundDifferences(hwnd, kButtonFramePressed), 0);
    MoveTo(kAway);
    SendMessageA(hwnd, CM_SKIN_MOUSELEAVE, 0, 0);
    MouseButton(false);
    EXPECT_EQ(g_commands, 1);
    // The space key: the control's own click, once.
    fwtest::PressKey(VK_SPACE);
    EXPECT_EQ(g_commands, 2);
    EXPECT_EQ(BackgroundDifferences(hwnd, kButtonFrameHot), 0);  // focused
    skinner.Detach();
  }
  EXPECT_EQ(fw::LiveHandleSnapshot().DifferenceFrom(before), "");
  DestroyWindow(parent);
}

// ---- bitmap buttons ----

// A glyph of `pictures` pictures of 16 x 16: olive (the top-left pixel, transparent)
// around a 10 x 10 square of the picture's colour.
void MakeGlyph(fw::TBitmap& glyph, const std::vector<COLORREF>& colours) {
  glyph.SetPixelFormat(fw::pf24bit);
  glyph.SetSize(16 * static_cast<int>(colours.size()), 16);
  fw::TCanvas& c = glyph.Canvas();
  c.Brush().SetColor(fw::clOlive);
  c.FillRect({0, 0, glyph.Width(), 16});
  for (size_t i = 0; i < colours.size(); ++i) {
    c.Brush().SetColor(static_cast<fw::TColor>(colours[i]));
    const int x = 16 * static_cast<int>(i);
    c.FillRect({x + 3, 3, x + 13, 13});
  }
}

// The top-left corner of the first run of `colour` (row-major), or (-1, -1).
POINT FindColour(const PixelBitmap& p, COLORREF colour) {
  for (int y = 0; y < p.Height(); ++y)
    for (int x = 0; x < p.Width(); ++x)
      if ((p.Pixel(x, y) & 0xFFFFFF) == colour) return {x, y};
  return {-1, -1};
}

TEST_F(ButtonSkinTest, BitmapButtonsLayTheirGlyphAndCaptionOut) {
  Form(metallic_);
  struct Case {
    fw::TButtonLayout layout;
    int margin, spacing;
    const char* caption;
  };
  const Case cases[] = {{fw::blGlyphLeft, -1, -1, "Caption"},
                        {fw::blGlyphRight, -1, 4, "Caption"},
                        {fw::blGlyphTop, 2, -1, "Top"},
                        {fw::blGlyphBottom, -1, -1, "Bottom"},
                        {fw::blGlyphLeft, -1, -1, ""}};
  std::vector<fw::TBitBtn*> buttons;
  int i = 0;
  for (const Case& c : cases) {
    auto* b =
        Add<fw::TBitBtn>("Bit" + std::to_string(i), 10 + (i % 3) * 110, 10 + (i / 3) * 80, 100, 64);
    MakeGlyph(b->Glyph(), {RGB(255, 0, 0), RGB(0, 0, 255)});
    b->SetNumGlyphs(2);
    b->GlyphChanged();
    b->SetLayout(c.layout);
    b->SetMargin(c.margin);
    b->SetSpacing(c.spacing);
    b->SetCaption(c.caption);
    buttons.push_back(b);
    ++i;
  }
  TSkinForm* controller = skintest::ShowSkinned(*form_);
  for (size_t k = 0; k < buttons.size(); ++k) {
    fw::TBitBtn* b = buttons[k];
    auto* skinner = dynamic_cast<TSkinBitButton*>(skintest::SkinnerOf(controller, b));
    ASSERT_NE(skinner, nullptr) << k;
    // The caption's size as the skinner measures it, with the button's font.
    fw::TBitmap probe;
    probe.SetSize(1, 1);
    probe.Canvas().Font().Assign(b->Font());
    RECT text{0, 0, 0, 0};
    if (!b->Caption().empty()) probe.Canvas().DrawText(b->Caption(), text, DT_CALCRECT);
    const GlyphCaptionLayout expected = LayOutGlyphCaption(
        {b->Width(), b->Height()}, {16, 16}, {text.right, text.bottom},
        static_cast<GlyphSide>(cases[k].layout), cases[k].margin, cases[k].spacing);
    const PixelBitmap shown = fwtest::ReadWindowPixels(b->Handle());
    // The first picture (red) is drawn, transparent on its olive.
    const POINT red = FindColour(shown, RGB(255, 0, 0));
    EXPECT_EQ(red.x, expected.glyph.x + 3) << k;
    EXPECT_EQ(red.y, expected.glyph.y + 3) << k;
    EXPECT_EQ(FindColour(shown, RGB(0, 0, 255)).x, -1) << k;
    EXPECT_EQ(FindColour(shown, fw::ColorToRGB(fw::clOlive)).x, -1) << k;
    // The top row is the element's frame (the glyph and caption lie lower).
    const PixelBitmap background = ButtonBackground(
        Data(), shown.Width(), shown.Height(), skinner->CurrentFrame(), Data().Buttons->FrameCount);
    for (int x = 0; x < shown.Width(); ++x) ASSERT_EQ(shown.Pixel(x, 0), background.Pixel(x, 0));
  }
}

// ---- speed buttons ----

class SpeedButtonSkinTest : public ButtonSkinTest {
 protected:
  // What the parent shows at the speed button.
  PixelBitmap Shown(fw::TSpeedButton* b) {
    const RECT r = b->BoundsRect();
    RECT part = r;
    POINT origin{0, 0};
    ClientToScreen(form_->Handle(), &origin);
    RECT window{};
    GetWindowRect(form_->Handle(), &window);
    OffsetRect(&part, origin.x - window.left, origin.y - window.top);
    return fwtest::ReadWindowPixels(form_->Handle(), &part);
  }
  int Differences(fw::TSpeedButton* b, int frame) {
    const PixelBitmap shown = Shown(b);
    return fwtest::CountDifferences(
        shown, 0, 0,
        ButtonBackground(Data(), shown.Width(), shown.Height(), frame, Data().Buttons->FrameCount));
  }
  static POINT ScreenCentre(fw::TControl* c, HWND parent) {
    POINT p{c->Left() + c->Width() / 2, c->Top() + c->Height() / 2};
    ClientToScreen(parent, &p);
    return p;
  }
};

TEST_F(SpeedButtonSkinTest, FramesFollowTheMouseWithoutAWindowAndTheLatch) {
  Form(metallic_);
  auto* a = Add<fw::TSpeedButton>("SpeedA", 20, 20, 40, 30);
  auto* b = Add<fw::TSpeedButton>("SpeedB", 70, 20, 40, 30);
  a->SetGroupIndex(1);
  b->SetGroupIndex(1);
  int clicks = 0;
  a->OnClick = [&](fw::TObject*) { ++clicks; };
  TSkinForm* controller = skintest::ShowSkinned(*form_);
  auto* skinner = dynamic_cast<TSkinSpeedButton*>(skintest::SkinnerOf(controller, a));
  ASSERT_NE(skinner, nullptr);
  ASSERT_NE(skintest::SkinnerOf(controller, b), nullptr);
  HWND parent = form_->Handle();
  EXPECT_EQ(Differences(a, kButtonFrameNormal), 0);
  MoveTo(ScreenCentre(a, parent));
  EXPECT_TRUE(skinner->Hot());
  EXPECT_TRUE(skinner->Tracking());
  EXPECT_EQ(Differences(a, kButtonFrameHot), 0);
  // To the neighbour: a leaves its hot state, b takes it.
  MoveTo(ScreenCentre(b, parent));
  EXPECT_FALSE(skinner->Hot());
  EXPECT_EQ(Differences(a, kButtonFrameNormal), 0);
  EXPECT_EQ(Differences(b, kButtonFrameHot), 0);
  // Out of the form altogether: the poll ends the hot state.
  MoveTo(kAway);
  fwtest::PumpFor(250);
  EXPECT_EQ(Differences(b, kButtonFrameNormal), 0);
  // A press shows the pressed frame; the release inside clicks and latches it down.
  MoveTo(ScreenCentre(a, parent));
  MouseButton(true);
  EXPECT_EQ(Differences(a, kButtonFramePressed), 0);
  MouseButton(false);
  EXPECT_EQ(clicks, 1);
  EXPECT_TRUE(a->Down());
  MoveTo(kAway);
  fwtest::PumpFor(250);
  EXPECT_EQ(Differences(a, kButtonFramePressed), 0);  // latched
  // Latched down wins even over disabled.
  a->SetEnabled(false);
  fwtest::PumpFor(40);
  EXPECT_EQ(skinner->CurrentSpeedFrame(), kButtonFramePressed);
  EXPECT_EQ(Differences(a, kButtonFramePressed), 0);
  b->SetEnabled(false);
  fwtest::PumpFor(40);
  EXPECT_EQ(Differences(b, kButtonFrameDisabled), 0);
  // Pressed inside and released outside: no click.
  a->SetEnabled(true);
  b->SetEnabled(true);
  b->SetDown(true);
  fwtest::PumpFor(40);
  MoveTo(ScreenCentre(a, parent));
  MouseButton(true);
  MoveTo(kAway);
  MouseButton(false);
  EXPECT_EQ(clicks, 1);
  EXPECT_FALSE(a->Down());
}

TEST_F(SpeedButtonSkinTest, GlyphPicturesFollowTheStateAndOnePictureServesAll) {
  Form(metallic_);
  auto* two = Add<fw::TSpeedButton>("TwoPictures", 20, 20, 40, 30);
  MakeGlyph(two->Glyph(), {RGB(255, 0, 0), RGB(0, 255, 0), RGB(0, 0, 255)});
  two->SetNumGlyphs(3);
  two->GlyphChanged();
  auto* one = Add<fw::TSpeedButton>("OnePicture", 70, 20, 40, 30);
  MakeGlyph(one->Glyph(), {RGB(255, 0, 0)});
  one->GlyphChanged();
  TSkinForm* controller = skintest::ShowSkinned(*form_);
  ASSERT_NE(skintest::SkinnerOf(controller, two), nullptr);
  const auto shows = [&](fw::TSpeedButton* b, COLORREF c) {
    return FindColour(Shown(b), c).x >= 0;
  };
  EXPECT_TRUE(shows(two, RGB(255, 0, 0)));
  // Pressed: the third picture; disabled: the second.
  MoveTo(ScreenCentre(two, form_->Handle()));
  MouseButton(true);
  EXPECT_TRUE(shows(two, RGB(0, 0, 255)));
  MoveTo(kAway);
  MouseButton(false);
  two->SetEnabled(false);
  one->SetEnabled(false);
  fwtest::PumpFor(40);
  EXPECT_TRUE(shows(two, RGB(0, 255, 0)));
  EXPECT_TRUE(shows(one, RGB(255, 0, 0)));
  // The glyph sits where the layout puts it (automatic margin, spacing 4, no caption).
  const GlyphCaptionLayout l =
      LayOutGlyphCaption({40, 30}, {16, 16}, {0, 0}, GlyphSide::kLeft, -1, 4, true);
  const POINT red = FindColour(Shown(one), RGB(255, 0, 0));
  EXPECT_EQ(red.x, l.glyph.x + 3);
  EXPECT_EQ(red.y, l.glyph.y + 3);
}

TEST_F(ButtonSkinTest, RepaintCyclesEndWithTheHandlesTheyStartedWith) {
  Form(metallic_);
  auto* button = Add<fw::TButton>("Cycled", 20, 20, 90, 30);
  button->SetCaption("Cycle");
  auto* bit = Add<fw::TBitBtn>("CycledBit", 20, 60, 90, 30);
  bit->SetKind(fw::bkOK);
  auto* speed = Add<fw::TSpeedButton>("CycledSpeed", 20, 100, 40, 30);
  skintest::ShowSkinned(*form_);
  fw::HandleSnapshot before;
  for (int round = 0; round < 101; ++round) {
    // After the first round: what stays is cached (the framework's glyph image list).
    if (round == 1) before = fw::LiveHandleSnapshot();
    button->SetEnabled(round % 2 == 0);
    bit->SetEnabled(round % 3 != 0);
    speed->SetEnabled(round % 2 != 0);
    UpdateWindow(form_->Handle());
    RedrawWindow(form_->Handle(), nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  }
  EXPECT_EQ(fw::LiveHandleSnapshot().DifferenceFrom(before), "");
}

}  // namespace
}  // namespace skin
