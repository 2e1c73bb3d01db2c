// The control skinner base on real windows: the three ways of attaching, the dispatcher,
// giving back what was replaced (also under other subclassers, before and after), state
// tracking, recolouring, painting into the right DC, and a skinner or window that goes
// away inside the control's own procedure.
#include <windows.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "framework/application.h"
#include "framework/forms.h"
#include "framework/handle_counts.h"
#include "framework/std_controls.h"
#include "skin/controls/skin_control.h"
#include "skin/data/skin_data.h"
#include "skin/form/skin_form.h"
#include "skin/manager/element_painting.h"
#include "tests/support/fw_test.h"

namespace skin {
namespace {

using testing::ElementsAre;
using testing::IsEmpty;

constexpr UINT kPing = WM_USER + 1;
constexpr UINT kPong = WM_USER + 2;
constexpr UINT kFreeSkinner = WM_USER + 3;
constexpr UINT kDestroySelf = WM_USER + 4;

std::vector<UINT> g_after;  // AfterMessage calls of every recorder, in order

// A skinner that records what passes through it and what it is asked to draw.
class TRecorder : public TSkinControl {
 public:
  using TSkinControl::TSkinControl;
  std::vector<UINT> seen;
  int draws = 0;
  HDC last_dc = nullptr;
  RECT last_rect{};
  bool BeforeMessage(fw::TMessage& m) override {
    seen.push_back(m.Msg);
    return true;
  }
  void AfterMessage(fw::TMessage& m) override {
    g_after.push_back(m.Msg);
    TSkinControl::AfterMessage(m);
  }
  void DrawSkin(HDC dc, const RECT& r) override {
    ++draws;
    last_dc = dc;
    last_rect = r;
  }
};

// ---- a plain window and raw subclassers around it ----

std::vector<UINT> g_base, g_first, g_last;
TSkinControl* g_to_free = nullptr;
WNDPROC g_first_old = nullptr, g_last_old = nullptr;

LRESULT CALLBACK BaseProc(HWND hwnd, UINT msg, WPARAM w, LPARAM l) {
  g_base.push_back(msg);
  if (msg == kFreeSkinner) {
    delete g_to_free;
    g_to_free = nullptr;
    return 7;
  }
  if (msg == kDestroySelf) {
    DestroyWindow(hwnd);
    return 8;
  }
  if (msg == kPing) return 42;
  return DefWindowProcA(hwnd, msg, w, l);
}
LRESULT CALLBACK FirstProc(HWND hwnd, UINT msg, WPARAM w, LPARAM l) {
  g_first.push_back(msg);
  return CallWindowProcA(g_first_old, hwnd, msg, w, l);
}
LRESULT CALLBACK LastProc(HWND hwnd, UINT msg, WPARAM w, LPARAM l) {
  g_last.push_back(msg);
  return CallWindowProcA(g_last_old, hwnd, msg, w, l);
}

WNDPROC ProcOf(HWND hwnd) {
  return reinterpret_cast<WNDPROC>(GetWindowLongPtrA(hwnd, GWLP_WNDPROC));
}
WNDPROC Replace(HWND hwnd, WNDPROC proc) {
  return reinterpret_cast<WNDPROC>(
      SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(proc)));
}

HWND MakePlainWindow(HWND parent = nullptr) {
  static bool registered = false;
  if (!registered) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = BaseProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "SkinControlTestWindow";
    RegisterClassA(&wc);
    registered = true;
  }
  const DWORD style = parent ? WS_CHILD | WS_VISIBLE : WS_POPUP | WS_VISIBLE;
  return CreateWindowExA(0, "SkinControlTestWindow", "start", style, 10, 10, 120, 40, parent,
                         nullptr, GetModuleHandleA(nullptr), nullptr);
}

void ClearLogs() {
  g_base.clear();
  g_first.clear();
  g_last.clear();
  g_after.clear();
}

// A message sequence that also makes the default procedure send messages of its own.
void SendSequence(HWND hwnd) {
  SendMessageA(hwnd, kPing, 1, 2);
  SetWindowTextA(hwnd, "changed");
  char buffer[32];
  GetWindowTextA(hwnd, buffer, sizeof buffer);
  SendMessageA(hwnd, kPong, 0, 0);
}

class SkinControlTest : public fwtest::ApplicationTest {
 protected:
  void SetUp() override {
    ApplicationTest::SetUp();
    ClearLogs();
    before_ = fw::LiveHandleSnapshot();
  }
  void TearDown() override {
    ApplicationTest::TearDown();
    EXPECT_EQ(fw::LiveHandleSnapshot().DifferenceFrom(before_), "");
  }
  fw::HandleSnapshot before_;
};

TEST_F(SkinControlTest, HandleSubclassSeesEveryMessageAndGivesBackUnderStacking) {
  HWND hwnd = MakePlainWindow();
  const WNDPROC original = ProcOf(hwnd);
  g_first_old = Replace(hwnd, FirstProc);
  auto* skinner = new TRecorder(nullptr);
  skinner->AttachHandle(hwnd, nullptr, nullptr);
  EXPECT_TRUE(skinner->FAttached);
  EXPECT_EQ(skinner->FOldWndProc, FirstProc);
  EXPECT_EQ(ProcOf(hwnd), skinner->FWndProcInstance);
  EXPECT_EQ(skinner->FCaption, "start");
  g_last_old = Replace(hwnd, LastProc);

  ClearLogs();
  skinner->seen.clear();
  SendSequence(hwnd);
  EXPECT_EQ(SendMessageA(hwnd, kPing, 0, 0), 42);  // results come back through every layer
  ASSERT_FALSE(g_base.empty());
  EXPECT_EQ(g_first, g_base);
  EXPECT_EQ(skinner->seen, g_base);
  EXPECT_EQ(g_last, g_base);
  EXPECT_EQ(skinner->FCaption, "changed");

  // Let go while the later subclasser is still there: nobody is cut off.
  skinner->Detach();
  delete skinner;
  EXPECT_EQ(ProcOf(hwnd), LastProc);
  ClearLogs();
  SendSequence(hwnd);
  EXPECT_EQ(g_first, g_base);
  EXPECT_EQ(g_last, g_base);
  // The later one unhooks; the skinner's stub takes itself out with the next message.
  Replace(hwnd, g_last_old);
  SendMessageA(hwnd, kPong, 0, 0);
  EXPECT_EQ(ProcOf(hwnd), FirstProc);
  Replace(hwnd, g_first_old);
  EXPECT_EQ(ProcOf(hwnd), original);
  DestroyWindow(hwnd);
}

TEST_F(SkinControlTest, HandleSubclassUnhooksAtOnceWhenOnTop) {
  HWND hwnd = MakePlainWindow();
  const WNDPROC original = ProcOf(hwnd);
  TRecorder skinner(nullptr);
  skinner.AttachHandle(hwnd, nullptr, nullptr);
  EXPECT_EQ(fw::LiveHandles(fw::HandleKind::Subclass),
            before_.live[int(fw::HandleKind::Subclass)] + 1);
  skinner.Detach();
  skinner.Detach();  // twice is harmless
  EXPECT_EQ(ProcOf(hwnd), original);
  EXPECT_EQ(skinner.FWndProcInstance, nullptr);
  ClearLogs();
  SendSequence(hwnd);
  EXPECT_THAT(skinner.seen, IsEmpty());
  DestroyWindow(hwnd);
}

TEST_F(SkinControlTest, SkinnerFreedOrWindowDestroyedInsideTheOldProcedure) {
  HWND hwnd = MakePlainWindow();
  auto* skinner = new TRecorder(nullptr);
  skinner->AttachHandle(hwnd, nullptr, nullptr);
  g_to_free = skinner;
  ClearLogs();
  EXPECT_EQ(SendMessageA(hwnd, kFreeSkinner, 0, 0), 7);
  EXPECT_THAT(g_after, IsEmpty());  // the freed skinner was not touched again
  SendMessageA(hwnd, kPing, 0, 0);
  EXPECT_EQ(g_base.back(), kPing);

  HWND other = MakePlainWindow();
  TRecorder survivor(nullptr);
  survivor.AttachHandle(other, nullptr, nullptr);
  ClearLogs();
  SendMessageA(other, kDestroySelf, 0, 0);
  EXPECT_FALSE(IsWindow(other));
  // WM_NCDESTROY came through (and detached the skinner); the message that destroyed the
  // window got no AfterMessage on the gone window.
  EXPECT_THAT(g_after, testing::Contains(UINT(WM_NCDESTROY)));
  EXPECT_THAT(g_after, testing::Not(testing::Contains(kDestroySelf)));
  EXPECT_FALSE(survivor.Hooked());
  DestroyWindow(hwnd);
}

// Detached by WM_NCDESTROY while a later subclasser sits above it, the stub is given back
// (the fixture's end compares the subclass count).
TEST_F(SkinControlTest, DetachedAtTheWindowsEndUnderALaterSubclasserLeavesNoStub) {
  HWND hwnd = MakePlainWindow();
  TRecorder skinner(nullptr);
  skinner.AttachHandle(hwnd, nullptr, nullptr);
  g_last_old = Replace(hwnd, LastProc);
  DestroyWindow(hwnd);
  EXPECT_FALSE(skinner.Hooked());
}

TEST_F(SkinControlTest, PaintUsesTheGivenDcOrTakesTheWindowDc) {
  HWND parent = MakePlainWindow();
  HWND hwnd = MakePlainWindow(parent);
  TRecorder skinner(nullptr);
  skinner.AttachHandle(hwnd, nullptr, nullptr);
  fw::ScopedMemoryDc memory(CreateCompatibleDC(nullptr));
  skinner.PaintSkin(memory.get());
  EXPECT_EQ(skinner.last_dc, memory.get());
  EXPECT_EQ(skinner.last_rect.right, 120);
  EXPECT_EQ(skinner.last_rect.bottom, 40);
  RECT screen{};
  GetWindowRect(hwnd, &screen);
  EXPECT_TRUE(EqualRect(&skinner.FWindowRect, &screen));
  const long window_dcs = fw::LiveHandles(fw::HandleKind::WindowDc);
  skinner.PaintSkin(nullptr);
  EXPECT_EQ(skinner.draws, 2);
  EXPECT_NE(skinner.last_dc, memory.get());
  EXPECT_EQ(fw::LiveHandles(fw::HandleKind::WindowDc), window_dcs);
  // A WM_PAINT carrying a DC is drawn into that DC.
  SendMessageA(hwnd, WM_PAINT, reinterpret_cast<WPARAM>(memory.get()), 0);
  EXPECT_EQ(skinner.last_dc, memory.get());
  skinner.Detach();
  DestroyWindow(parent);
}

TEST_F(SkinControlTest, RedrawFrameInvalidatesOnlyWindowsWithAParent) {
  HWND top = MakePlainWindow();
  HWND child = MakePlainWindow(top);
  TRecorder lone(nullptr), inner(nullptr);
  lone.AttachHandle(top, nullptr, nullptr);
  inner.AttachHandle(child, nullptr, nullptr);
  UpdateWindow(top);
  inner.draws = lone.draws = 0;
  lone.RedrawFrame();
  inner.RedrawFrame();
  EXPECT_EQ(lone.draws, 0);
  EXPECT_EQ(inner.draws, 1);  // UpdateWindow painted it at once
  // Focus, enabling and text changes repaint the frame.
  EnableWindow(child, FALSE);
  EXPECT_FALSE(inner.FEnabled);
  EXPECT_EQ(inner.draws, 2);
  EnableWindow(child, TRUE);
  EXPECT_TRUE(inner.FEnabled);
  lone.Detach();
  inner.Detach();
  DestroyWindow(top);
}

TEST_F(SkinControlTest, SendMouseLeaveReachesTheWindowOnly) {
  HWND hwnd = MakePlainWindow();
  TRecorder skinner(nullptr), windowless(nullptr);
  skinner.AttachHandle(hwnd, nullptr, nullptr);
  ClearLogs();
  skinner.SendMouseLeave();
  windowless.SendMouseLeave();
  EXPECT_THAT(g_base, ElementsAre(CM_SKIN_MOUSELEAVE));
  skinner.Detach();
  DestroyWindow(hwnd);
}

// ---- framework controls ----

class TLoggedControl : public fw::TWinControl {
  FW_CLASS_INFO()
 public:
  explicit TLoggedControl(fw::TComponent* owner) : fw::TWinControl(owner) {}
  std::vector<UINT> log;

 protected:
  void WndProc(fw::TMessage& m) override {
    log.push_back(m.Msg);
    fw::TWinControl::WndProc(m);
  }
};

const fw::TClassInfo& TLoggedControl::StaticClassInfo() {
  static const fw::TClassInfo info =
      fw::DescribeClass<TLoggedControl, fw::TWinControl>("TLoggedControl", [](auto&) {});
  return info;
}

// Somebody else's window-procedure property replacement.
struct ThirdParty {
  fw::TControl* control = nullptr;
  fw::TWndMethod saved;
  std::vector<UINT> log;
  void Proc(fw::TMessage& m) {
    log.push_back(m.Msg);
    saved(m);
  }
  void Install(fw::TControl* c) {
    control = c;
    saved = c->WindowProc();
    c->SetWindowProc(fw::TWndMethod::Of<&ThirdParty::Proc>(this));
  }
  void Remove() { control->SetWindowProc(saved); }
};

class SkinControlFormTest : public SkinControlTest {
 protected:
  void SetUp() override {
    SkinControlTest::SetUp();
    form_ = new fw::TForm(&App());
    form_->SetBounds(50, 50, 300, 200);
    data_ = new TSkinData(form_);
    data_->ButtonFace = RgbColour(10, 20, 30);
  }
  void TearDown() override {
    delete form_;
    SkinControlTest::TearDown();
  }
  template <class T>
  T* Add(int top) {
    auto* c = new T(form_);
    c->SetParent(form_);
    c->SetBounds(10, top, 100, 24);
    return c;
  }
  fw::TForm* form_ = nullptr;
  TSkinData* data_ = nullptr;
};

TEST_F(SkinControlFormTest, PropertyHookSeesEveryMessageAndGivesBackUnderStacking) {
  auto* control = Add<TLoggedControl>(10);
  control->SetText("caption");
  ThirdParty first, last;
  first.Install(control);
  TSkinForm controller(form_);
  controller.Handle = form_->Handle();
  auto* skinner = new TRecorder(&controller);
  skinner->AttachControl(control, data_, false, &controller.Canvas2);
  EXPECT_TRUE(skinner->FAttached);
  EXPECT_EQ(skinner->FHandle, control->Handle());
  EXPECT_EQ(skinner->FCaption, "caption");
  EXPECT_EQ(controller.Skinners.size(), 1u);
  skinner->AttachControl(control, data_, false, &controller.Canvas2);  // ignored
  EXPECT_EQ(controller.Skinners.size(), 1u);
  last.Install(control);

  control->log.clear();
  first.log.clear();
  last.log.clear();
  skinner->seen.clear();
  SendSequence(control->Handle());
  ASSERT_FALSE(control->log.empty());
  EXPECT_EQ(first.log, control->log);
  EXPECT_EQ(skinner->seen, control->log);
  EXPECT_EQ(last.log, control->log);

  controller.FreeSkinners();
  control->log.clear();
  first.log.clear();
  last.log.clear();
  SendSequence(control->Handle());
  EXPECT_EQ(first.log, control->log);
  EXPECT_EQ(last.log, control->log);
  last.Remove();
  SendMessageA(control->Handle(), kPing, 0, 0);  // the pass-through node takes itself out
  first.Remove();
  EXPECT_TRUE(control->WindowProc() == control->DefaultWindowProc());
}

TEST_F(SkinControlFormTest, MouseEnterAndLeaveKeepTheHotStateAndTheHotSkinner) {
  auto* control = Add<TLoggedControl>(10);
  TSkinForm controller(form_);
  controller.Handle = form_->Handle();
  auto* skinner = new TRecorder(&controller);
  skinner->AttachControl(control, data_, false, &controller.Canvas2);
  control->Perform(CM_SKIN_MOUSEENTER);
  EXPECT_TRUE(skinner->Hot());
  EXPECT_EQ(controller.HotSkinner, skinner);
  // The hover poll's way out: the notification sent to the window.
  skinner->SendMouseLeave();
  EXPECT_FALSE(skinner->Hot());
  EXPECT_EQ(controller.HotSkinner, nullptr);
  control->Perform(CM_SKIN_MOUSEENTER);
  controller.FreeSkinners();
  EXPECT_EQ(controller.HotSkinner, nullptr);
}

TEST_F(SkinControlFormTest, RecolourIsGivenBackExceptDuringTeardown) {
  auto* panel = Add<fw::TPanel>(10);
  panel->SetColor(fw::clRed);
  TSkinForm controller(form_);
  controller.Handle = form_->Handle();
  auto* skinner = new TRecorder(&controller);
  skinner->AttachControl(panel, data_, true, &controller.Canvas2);
  EXPECT_EQ(panel->Color(), static_cast<fw::TColor>(RgbColour(10, 20, 30)));
  EXPECT_EQ(skinner->FSavedColor, fw::clRed);
  data_->ButtonFace = RgbColour(1, 2, 3);
  skinner->SkinChanged();
  EXPECT_EQ(panel->Color(), static_cast<fw::TColor>(RgbColour(1, 2, 3)));
  skinner->Detach();
  EXPECT_EQ(panel->Color(), fw::clRed);

  auto* again = new TRecorder(&controller);
  again->AttachControl(panel, data_, true, &controller.Canvas2);
  controller.LifeState = LifeClosing;
  again->Detach();
  EXPECT_EQ(panel->Color(), static_cast<fw::TColor>(RgbColour(1, 2, 3)));
  controller.LifeState = LifeReady;
  controller.FreeSkinners();
}

// A recoloured control freed before its skinner (a radio group's Items reset frees its
// buttons) is forgotten: the next skin change reaches nothing freed.
TEST_F(SkinControlFormTest, RecolouredControlFreedFirstIsForgotten) {
  auto* panel = Add<fw::TPanel>(10);
  TSkinForm controller(form_);
  controller.Handle = form_->Handle();
  auto* skinner = new TRecorder(&controller);
  skinner->AttachControl(panel, data_, true, &controller.Canvas2);
  delete panel;
  EXPECT_EQ(skinner->FControl, nullptr);
  skinner->SkinChanged();
  controller.FreeSkinners();
}

TEST_F(SkinControlFormTest, DestroyingTheWindowGivesThePropertyBackFirst) {
  auto* control = Add<TLoggedControl>(10);
  TSkinForm controller(form_);
  controller.Handle = form_->Handle();
  auto* skinner = new TRecorder(&controller);
  skinner->AttachControl(control, data_, false, &controller.Canvas2);
  EXPECT_FALSE(control->WindowProc() == control->DefaultWindowProc());
  control->DestroyHandle();
  EXPECT_TRUE(control->WindowProc() == control->DefaultWindowProc());
  EXPECT_FALSE(skinner->Hooked());
  controller.FreeSkinners();
}

TEST_F(SkinControlFormTest, WindowlessControlsSkinnerGoesWithTheControl) {
  auto* label = new fw::TLabel(form_);
  label->SetParent(form_);
  label->SetBounds(10, 10, 80, 20);
  form_->HandleNeeded();
  TSkinForm controller(nullptr);
  controller.Handle = form_->Handle();
  auto* skinner = new TRecorder(&controller);
  skinner->AttachGraphicControl(label, data_, &controller.Canvas2);
  EXPECT_EQ(skinner->FHandle, nullptr);
  EXPECT_FALSE(skinner->FAttached);
  ASSERT_EQ(controller.Skinners.size(), 1u);
  label->Perform(kPing, 0, 0);
  EXPECT_THAT(skinner->seen, ElementsAre(kPing));
  controller.HotSkinner = skinner;
  delete label;
  EXPECT_THAT(controller.Skinners, IsEmpty());
  EXPECT_EQ(controller.HotSkinner, nullptr);

  // Detached before the control goes: the property is the control's own again.
  auto* second = new fw::TLabel(form_);
  auto* s2 = new TRecorder(&controller);
  s2->AttachGraphicControl(second, data_, &controller.Canvas2);
  controller.FreeSkinners();
  EXPECT_TRUE(second->WindowProc() == second->DefaultWindowProc());
  delete second;
}

// ---- shared drawing ----

// Drawing tests keep DIB sections by value; their moves do not keep the live bitmap count
// balanced (the move constructor of the handle wrapper), so these compare pixels only.
using SkinDrawingTest = fwtest::ApplicationTest;

PixelBitmap Pattern(int w, int h) {
  PixelBitmap b(w, h, PixelFormat::kBgra32);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) b.SetPixel(x, y, Rgb(uint8_t(x * 7), uint8_t(y * 11), 90));
  return b;
}

TEST_F(SkinDrawingTest, DrawSkinElementMatchesTheNativeComposition) {
  TDataSkinObject element;
  element.Image = Pattern(40, 10);
  element.FrameCount = 2;
  element.LeftWidth = element.RightWidth = 3;
  element.TopHeight = element.BottomHeight = 2;
  DibSection target = CreateDibSection(33, 17);
  fw::ScopedMemoryDc dc(CreateCompatibleDC(nullptr));
  fw::ScopedSelectObject select(dc.get(), target.bitmap.get());
  TRecorder skinner(nullptr);
  const RECT rect{0, 0, 33, 17};
  skinner.DrawSkinElement(dc.get(), rect, 2, 2, &element);
  const PixelBitmap drawn = ReadDibPixels(target);
  const PixelBitmap expected = ComposeElement(PixelRect{0, 0, 33, 17}, element.Image,
                                              Margins{3, 2, 3, 2}, 2, 2, false, false);
  int differences = 0;
  for (int y = 0; y < 17; ++y)
    for (int x = 0; x < 33; ++x)
      if ((drawn.Pixel(x, y) & 0xFFFFFF) != (expected.Pixel(x, y) & 0xFFFFFF)) ++differences;
  EXPECT_EQ(differences, 0);
  // Missing element, empty image, inverted rectangle: nothing drawn, nothing thrown.
  skinner.DrawSkinElement(dc.get(), rect, 1, 1, nullptr);
  TDataSkinObject empty;
  skinner.DrawSkinElement(dc.get(), rect, 1, 1, &empty);
  skinner.DrawSkinElement(dc.get(), RECT{10, 10, 0, 0}, 2, 1, &element);
  EXPECT_EQ(ReadDibPixels(target).Pixel(5, 5), drawn.Pixel(5, 5));
}

TEST_F(SkinDrawingTest, StripFrameIsTransparentOnMagenta) {
  PixelBitmap strip(4, 2, PixelFormat::kBgra32);
  for (int x = 0; x < 4; ++x)
    for (int y = 0; y < 2; ++y) strip.SetPixel(x, y, x < 2 ? Rgb(0, 0, 255) : kMagentaKey);
  strip.SetPixel(3, 0, Rgb(0, 255, 0));
  DibSection target = CreateDibSection(4, 2);
  fw::ScopedMemoryDc dc(CreateCompatibleDC(nullptr));
  fw::ScopedSelectObject select(dc.get(), target.bitmap.get());
  PatBlt(dc.get(), 0, 0, 4, 2, WHITENESS);
  fw::TCanvas shared;
  TRecorder skinner(nullptr);
  skinner.FCanvas = &shared;
  // Frame 2 of 2 stretched to 4 x 2: the magenta pixels leave the white background.
  skinner.DrawStripFrame(OnSharedCanvas{dc.get()}, RECT{0, 0, 4, 2}, 2, 2, strip);
  EXPECT_EQ(shared.Handle(), nullptr);  // unbound again
  const PixelBitmap drawn = ReadDibPixels(target);
  EXPECT_EQ(drawn.Pixel(0, 1) & 0xFFFFFF, 0xFFFFFFu);
  EXPECT_EQ(drawn.Pixel(2, 0) & 0xFFFFFF, Rgb(0, 255, 0) & 0xFFFFFF);
}

TEST_F(SkinDrawingTest, DrawCaptionPlacesTextOnePixelAboveCentre) {
  DibSection target = CreateDibSection(100, 40);
  fw::ScopedMemoryDc dc(CreateCompatibleDC(nullptr));
  fw::ScopedSelectObject select(dc.get(), target.bitmap.get());
  PatBlt(dc.get(), 0, 0, 100, 40, WHITENESS);
  {
    fw::TCanvas canvas;
    canvas.SetHandle(dc.get());
    canvas.Font().SetColor(fw::clBlack);
    TSkinControl::DrawCaption(canvas, RECT{0, 0, 100, 40}, DT_CENTER, true, "X");
    canvas.SetHandle(nullptr);
  }
  const PixelBitmap drawn = ReadDibPixels(target);
  int top = 40, bottom = -1, left = 100, right = -1;
  for (int y = 0; y < 40; ++y)
    for (int x = 0; x < 100; ++x)
      if ((drawn.Pixel(x, y) & 0xFFFFFF) != 0xFFFFFF) {
        top = std::min(top, y);
        bottom = std::max(bottom, y);
        left = std::min(left, x);
        right = std::max(right, x);
      }
  ASSERT_GE(bottom, 0) << "no text drawn";
  // Centred: the ink's middle within a few pixels of the centre, never below it.
  EXPECT_NEAR((left + right) / 2.0, 50, 4);
  EXPECT_LE((top + bottom) / 2.0, 20.5);
  EXPECT_GE((top + bottom) / 2.0, 14);
}

}  // namespace
}  // namespace skin

namespace skin {
namespace {

// The leftmost and rightmost column with ink (non-white) in a 32-bit DIB.
std::pair<int, int> InkColumns(const DibSection& dib) {
  const PixelBitmap p = ReadDibPixels(dib);
  int left = p.Width(), right = -1;
  for (int y = 0; y < p.Height(); ++y)
    for (int x = 0; x < p.Width(); ++x)
      if ((p.Pixel(x, y) & 0xFFFFFF) != 0xFFFFFF) {
        left = std::min(left, x);
        right = std::max(right, x);
      }
  return {left, right};
}

TEST_F(SkinDrawingTest, ImageCaptionAlignsLeftCentreAndRight) {
  std::pair<int, int> ink[3];
  for (int alignment = 0; alignment < 3; ++alignment) {
    DibSection target = CreateDibSection(120, 24);
    fw::ScopedMemoryDc dc(CreateCompatibleDC(nullptr));
    fw::ScopedSelectObject select(dc.get(), target.bitmap.get());
    PatBlt(dc.get(), 0, 0, 120, 24, WHITENESS);
    fw::TCanvas canvas;
    canvas.SetHandle(dc.get());
    canvas.Font().SetColor(fw::clBlack);
    TRecorder skinner(nullptr);
    skinner.FEnabled = true;
    skinner.DrawImageCaption(canvas, RECT{0, 0, 120, 24}, alignment, "Tab", -1,
                             static_cast<fw::TImageList*>(nullptr));
    canvas.SetHandle(nullptr);
    ink[alignment] = InkColumns(target);
    ASSERT_GE(ink[alignment].second, 0) << alignment;
  }
  // Left: the text starts at 2 + 1; right: it ends one pixel (and a little bearing) from
  // the edge; centre: halfway between.
  EXPECT_GE(ink[0].first, 3);
  EXPECT_LE(ink[0].first, 5);
  EXPECT_GE(ink[2].second, 110);
  EXPECT_LE(ink[2].second, 119);
  EXPECT_NEAR((ink[1].first + ink[1].second) / 2.0, 60, 3);
}

}  // namespace
}  // namespace skin
