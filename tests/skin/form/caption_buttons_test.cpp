// Caption buttons of a skinned window under Wine, driven by real mouse input: the hot
// object, the actions, the system menu, maximizing and minimizing, and the pixels of each
// button in every look compared with the same frame composed natively.
#include "skin/form/caption_buttons.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "framework/menus.h"
#include "skin/data/skin_data.h"
#include "skin/form/caption_layout.h"
#include "skin/form/skin_form.h"
#include "skin/manager/element_painting.h"
#include "skin/manager/skin_manager.h"
#include "tests/skin/data/skin_data_test_util.h"
#include "tests/support/fw_test.h"

namespace {

using skin::TSkinForm;
using skin::TWinSysButton;

// ---- the test window: records what reaches the procedure under the skin ----

struct Recorded {
  std::vector<UINT> messages;
  int closes = 0;
  void Clear() { messages.clear(), closes = 0; }
  bool Saw(UINT msg) const {
    return std::find(messages.begin(), messages.end(), msg) != messages.end();
  }
};
Recorded g_recorded;

LRESULT CALLBACK TestWindowProc(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam) {
  g_recorded.messages.push_back(msg);
  if (msg == WM_CLOSE) {
    ++g_recorded.closes;
    return 0;  // the test decides when the window goes
  }
  return DefWindowProcA(hwnd, msg, wparam, lparam);
}

const char* TestClass() {
  static const char* const name = [] {
    WNDCLASSA wc{};
    wc.lpfnWndProc = TestWindowProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.hIcon = LoadIconA(nullptr, IDI_APPLICATION);
    wc.lpszClassName = "CaptionButtonsTestWindow";
    RegisterClassA(&wc);
    return "CaptionButtonsTestWindow";
  }();
  return name;
}

// ---- real input ----

// Posted WM_SKINQUERY messages are answered by the frame without reaching the window's
// own procedure, so the pump looks at them on their way.
std::vector<WPARAM> g_skin_queries;
void PumpWatching(int ms) {
  const DWORD end = GetTickCount() + ms;
  while (static_cast<int>(end - GetTickCount()) > 0) {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message == skin::WM_SKINQUERY) g_skin_queries.push_back(msg.wParam);
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
    Sleep(5);
  }
}

void SendMouse(DWORD flags) {
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi.dwFlags = flags;
  SendInput(1, &input, sizeof input);
}
void MoveTo(POINT p) {
  SetCursorPos(p.x, p.y);
  PumpWatching(60);
}
// Only on objects that take the press: a press on the bare caption starts the system's
// move loop, which waits inside the dispatch for the release.
void Press(POINT p) {
  MoveTo(p);
  SendMouse(MOUSEEVENTF_LEFTDOWN);
  PumpWatching(60);
}
void Release() {
  SendMouse(MOUSEEVENTF_LEFTUP);
  PumpWatching(60);
}
// Down and up are queued together, so a click anywhere returns.
void Click(POINT p) {
  MoveTo(p);
  SendMouse(MOUSEEVENTF_LEFTDOWN);
  SendMouse(MOUSEEVENTF_LEFTUP);
  PumpWatching(80);
}

// A thread timer that runs `work` once from inside whatever loop is pumping (a menu's).
std::function<void()> g_timer_work;
void CALLBACK RunTimerWork(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  auto work = std::move(g_timer_work);
  g_timer_work = nullptr;
  if (work) work();
}
void RunSoon(std::function<void()> work, UINT ms = 150) {
  g_timer_work = std::move(work);
  SetTimer(nullptr, 0, ms, RunTimerWork);
}

// Ends any menu still open after two seconds, so a test whose clicks went astray fails
// instead of waiting in a menu loop.
void CALLBACK EndStrayMenu(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  EndMenu();
}
void GuardAgainstStrayMenus() { SetTimer(nullptr, 0, 2000, EndStrayMenu); }

// The menu window on the screen, if one shows.
HWND ShownMenuWindow() {
  HWND menu = FindWindowA("#32768", nullptr);
  return menu && IsWindowVisible(menu) ? menu : nullptr;
}

// ---- pixels ----

skin::PixelBitmap ReadWindowPixels(HWND hwnd, const RECT& r) {
  const int w = r.right - r.left, h = r.bottom - r.top;
  skin::DibSection dib = skin::CreateDibSection(w, h);
  fw::ScopedGetDc window = fw::ScopedGetDc::Window(hwnd);
  fw::ScopedMemoryDc memory(CreateCompatibleDC(window.get()));
  {
    fw::ScopedSelectObject select(memory.get(), dib.bitmap.get());
    BitBlt(memory.get(), 0, 0, w, h, window.get(), r.left, r.top, SRCCOPY);
  }
  return skin::ReadDibPixels(dib);
}

uint32_t Rgb(uint32_t pixel) { return pixel & 0xFFFFFF; }

// Every pixel of `composed` that is not the colour key is on the window as composed.
::testing::AssertionResult OpaquePixelsMatch(const skin::PixelBitmap& window,
                                             const skin::PixelBitmap& composed) {
  if (window.Width() != composed.Width() || window.Height() != composed.Height())
    return ::testing::AssertionFailure() << "sizes differ";
  int opaque = 0;
  for (int y = 0; y < composed.Height(); ++y)
    for (int x = 0; x < composed.Width(); ++x) {
      const uint32_t c = Rgb(composed.Pixel(x, y));
      if (c == skin::kMagentaKey) continue;
      ++opaque;
      if (Rgb(window.Pixel(x, y)) != c)
        return ::testing::AssertionFailure() << "pixel (" << x << ", " << y << ") is " << std::hex
                                             << Rgb(window.Pixel(x, y)) << ", composed " << c;
    }
  if (opaque == 0) return ::testing::AssertionFailure() << "nothing opaque to compare";
  return ::testing::AssertionSuccess();
}

// ---- the fixture: one skinned window with every caption box ----

class CaptionButtonsTest : public fwtest::ApplicationTest {
 protected:
  void SetUp() override {
    ApplicationTest::SetUp();
    skin::FreeSkinManager();
    if (!skin::ScratchBitmap()) skin::CreateScratchBitmap();
    g_recorded.Clear();
    g_skin_queries.clear();
  }
  void TearDown() override {
    CloseForm();
    other_.reset();
    data_.reset();
    ApplicationTest::TearDown();
  }

  void LoadSkin(const char* package) {
    data_ = std::make_unique<skin::TSkinData>(nullptr);
    data_->SetStoreBytes(skintest::ReadBytes(skintest::PackagePath(package)));
    ASSERT_TRUE(data_->LoadFromStore());
  }

  // A resizable window with every caption box, skinned and live.
  void OpenForm(DWORD style = WS_OVERLAPPEDWINDOW, const char* package = "metallic.skn") {
    if (!data_) LoadSkin(package);
    hwnd_ = CreateWindowExA(0, TestClass(), "Caption test", style, 120, 100, 420, 300, nullptr,
                            nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(hwnd_, nullptr);
    ShowWindow(hwnd_, SW_SHOWNORMAL);
    SetForegroundWindow(hwnd_);
    fwtest::PumpFor(50);
    form_ = std::make_unique<TSkinForm>(nullptr);
    form_->Handle = hwnd_;
    form_->AttachToWindow(data_.get());
    SendMessageA(hwnd_, skin::WM_SKINSTART, 0, 1000);
    RedrawWindow(hwnd_, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
    fwtest::PumpFor(100);
    ASSERT_EQ(form_->LifeState, skin::LifeReady);
    ASSERT_FALSE(form_->CaptionButtons.empty());
    GetWindowRect(hwnd_, &normal_rect_);
    g_recorded.Clear();
  }
  void CloseForm() {
    if (!hwnd_) return;
    if (IsWindow(hwnd_)) DestroyWindow(hwnd_);
    form_.reset();
    hwnd_ = nullptr;
  }

  // Another window, in front, away from the skinned one: it takes the activation.
  void ActivateOtherWindow() {
    other_ = std::make_unique<OwnedWindow>();
    other_->hwnd = CreateWindowExA(0, "STATIC", "other", WS_POPUP | WS_VISIBLE | WS_BORDER, 700,
                                   500, 120, 80, nullptr, nullptr, nullptr, nullptr);
    SetForegroundWindow(other_->hwnd);
    fwtest::PumpUntil([&] { return !form_->IsActive; }, 2000);
  }
  struct OwnedWindow {
    HWND hwnd = nullptr;
    ~OwnedWindow() {
      if (hwnd) DestroyWindow(hwnd);
    }
  };

  // The first button with this action that shows now.
  TWinSysButton* Button(int action) {
    form_->LayoutCaptionButtons();
    for (TWinSysButton* b : form_->CaptionButtons)
      if (b->Element->Action == action && b->Visible && b->Element->Visibility != 100) return b;
    return nullptr;
  }
  POINT ScreenPoint(const RECT& window_relative) {
    RECT w{};
    GetWindowRect(hwnd_, &w);
    return {w.left + (window_relative.left + window_relative.right) / 2,
            w.top + (window_relative.top + window_relative.bottom) / 2};
  }
  POINT CentreOf(int action) {
    TWinSysButton* b = Button(action);
    EXPECT_NE(b, nullptr) << "no visible button of action " << action;
    return b ? ScreenPoint(b->Bounds) : POINT{};
  }
  // A point of the caption away from every button and the text.
  POINT CaptionPoint() {
    RECT w{};
    GetWindowRect(hwnd_, &w);
    return {(w.left + w.right) / 2 + 20, w.top + form_->BorderTop / 2 + 1};
  }
  POINT ClientPoint() {
    RECT w{};
    GetWindowRect(hwnd_, &w);
    return {(w.left + w.right) / 2, (w.top + w.bottom) / 2};
  }
  skin::PixelBitmap ButtonPixels(const TWinSysButton* b) {
    return ReadWindowPixels(hwnd_, b->Bounds);
  }
  skin::PixelBitmap Composed(const TWinSysButton* b, int frame) {
    const RECT& r = b->Bounds;
    if (skin::ShowsWindowIcon(b->Element->Action)) {
      return skin::ComposeElementFrame({0, 0, r.right - r.left, r.bottom - r.top},
                                       skin::PixelsOfBitmap(form_->IconBitmap), 1, 1);
    }
    return skin::ComposeElementFrame({0, 0, r.right - r.left, r.bottom - r.top}, b->Element->Image,
                                     frame, b->Element->FrameCount);
  }
  void WaitFor(const std::function<bool()>& condition, const char* what) {
    EXPECT_TRUE(fwtest::PumpUntil(condition, 3000)) << what;
    fwtest::PumpFor(100);
  }
  // The window and client rectangles a skinned window has when it is not maximized.
  void ExpectNormalGeometry() {
    RECT w{}, c{};
    GetWindowRect(hwnd_, &w);
    EXPECT_EQ(w.left, normal_rect_.left);
    EXPECT_EQ(w.top, normal_rect_.top);
    EXPECT_EQ(w.right, normal_rect_.right);
    EXPECT_EQ(w.bottom, normal_rect_.bottom);
    GetClientRect(hwnd_, &c);
    EXPECT_EQ(c.right, (w.right - w.left) - form_->BorderLeft - form_->BorderRight);
    EXPECT_EQ(c.bottom, (w.bottom - w.top) - form_->BorderTop - form_->BorderBottom);
    EXPECT_EQ(form_->ShowState, skin::ShowNormal);
  }
  // Maximized: the client area is the work area below the title bar.
  void ExpectMaximizedGeometry() {
    MONITORINFO mi{};
    mi.cbSize = sizeof mi;
    GetMonitorInfoA(MonitorFromWindow(hwnd_, MONITOR_DEFAULTTONEAREST), &mi);
    RECT c{};
    GetClientRect(hwnd_, &c);
    MapWindowPoints(hwnd_, nullptr, reinterpret_cast<POINT*>(&c), 2);
    EXPECT_EQ(c.left, mi.rcWork.left);
    EXPECT_EQ(c.right, mi.rcWork.right);
    EXPECT_EQ(c.top, mi.rcWork.top + form_->BorderTop);
    EXPECT_EQ(c.bottom, mi.rcWork.bottom);
    RECT w{};
    GetWindowRect(hwnd_, &w);
    EXPECT_EQ(w.top, mi.rcWork.top);
    EXPECT_EQ(form_->ShowState, skin::ShowMaximized);
  }
  // The frame shows the skin: the close button is drawn in its resting look.
  void ExpectFramePainted() {
    TWinSysButton* close = Button(skin::kActionClose);
    ASSERT_NE(close, nullptr);
    EXPECT_TRUE(OpaquePixelsMatch(ButtonPixels(close),
                                  Composed(close, skin::RestingFrame(form_->IsActive, 4))));
  }

  std::unique_ptr<skin::TSkinData> data_;
  std::unique_ptr<TSkinForm> form_;
  std::unique_ptr<OwnedWindow> other_;
  HWND hwnd_ = nullptr;
  RECT normal_rect_{};
};

TEST_F(CaptionButtonsTest, HitTestAnswersTheButtonsActionsAndTheCaption) {
  OpenForm();
  const auto hit = [&](POINT p) {
    return SendMessageA(hwnd_, WM_NCHITTEST, 0, MAKELPARAM(p.x, p.y));
  };
  EXPECT_EQ(hit(CentreOf(skin::kActionClose)), HTCLOSE);
  EXPECT_EQ(hit(CentreOf(skin::kActionMaximize)), HTMAXBUTTON);
  EXPECT_EQ(hit(CentreOf(skin::kActionMinimize)), HTMINBUTTON);
  EXPECT_EQ(hit(CaptionPoint()), HTCAPTION);
  EXPECT_EQ(hit(ClientPoint()), HTCLIENT);
  // The skinned buttons still take the press: the system's own button tracking never starts.
  Press(CentreOf(skin::kActionMaximize));
  EXPECT_EQ(form_->HotObject, Button(skin::kActionMaximize));
  EXPECT_EQ(form_->HotObject->ButtonState, 2);
  EXPECT_FALSE(g_recorded.Saw(WM_NCLBUTTONDOWN));
  MoveTo(ClientPoint());
  Release();
  WaitFor([&] { return form_->HotObject == nullptr; }, "the hover poll ends the pressed look");
  EXPECT_FALSE(IsZoomed(hwnd_));
}

TEST_F(CaptionButtonsTest, HoverAndLeaveMoveTheHotObjectAndThePollEndsIt) {
  OpenForm();
  TWinSysButton* minimize = Button(skin::kActionMinimize);
  TWinSysButton* close = Button(skin::kActionClose);
  MoveTo(CentreOf(skin::kActionMinimize));
  EXPECT_EQ(form_->HotObject, minimize);
  EXPECT_EQ(minimize->ButtonState, 3);
  MoveTo(CentreOf(skin::kActionClose));
  EXPECT_EQ(form_->HotObject, close);
  EXPECT_EQ(minimize->ButtonState, 1);
  EXPECT_EQ(close->ButtonState, 3);
  EXPECT_FALSE(g_recorded.Saw(WM_NCMOUSEMOVE)) << "moves over buttons are consumed";
  // Into the client area: no non-client message comes; the 250 ms poll restores the look.
  MoveTo(ClientPoint());
  WaitFor([&] { return form_->HotObject == nullptr; }, "hover poll");
  EXPECT_EQ(close->ButtonState, 1);
  EXPECT_TRUE(OpaquePixelsMatch(ButtonPixels(close), Composed(close, 1)));
}

TEST_F(CaptionButtonsTest, ReleaseOverAButtonThatIsNotTheHotOneDoesNothing) {
  OpenForm();
  MoveTo(CentreOf(skin::kActionMinimize));
  ASSERT_EQ(form_->HotObject, Button(skin::kActionMinimize));
  // A release over the close button whose press happened elsewhere.
  const POINT close = CentreOf(skin::kActionClose);
  EXPECT_EQ(SendMessageA(hwnd_, WM_NCLBUTTONUP, HTCLOSE, MAKELPARAM(close.x, close.y)), 0);
  PumpWatching(100);
  EXPECT_EQ(g_recorded.closes, 0);
  EXPECT_FALSE(g_recorded.Saw(WM_NCLBUTTONUP)) << "consumed";
  EXPECT_FALSE(IsIconic(hwnd_));
  EXPECT_EQ(Button(skin::kActionClose)->ButtonState, 1);
  // With no hot object at all, the same.
  MoveTo(ClientPoint());
  WaitFor([&] { return form_->HotObject == nullptr; }, "hover poll");
  SendMessageA(hwnd_, WM_NCLBUTTONUP, HTCLOSE, MAKELPARAM(close.x, close.y));
  PumpWatching(100);
  EXPECT_EQ(g_recorded.closes, 0);
  // A real click on it closes.
  Click(close);
  PumpWatching(100);
  EXPECT_EQ(g_recorded.closes, 1);
}

// Pressed in the client area and released over Close, the window stays: only a press that
// began on the button runs it.
TEST_F(CaptionButtonsTest, APressThatBeganElsewhereDoesNotRunTheButton) {
  OpenForm();
  Press(ClientPoint());
  MoveTo(CentreOf(skin::kActionClose));
  Release();
  PumpWatching(100);
  EXPECT_EQ(g_recorded.closes, 0);
  Click(CentreOf(skin::kActionClose));
  PumpWatching(100);
  EXPECT_EQ(g_recorded.closes, 1);
}

TEST_F(CaptionButtonsTest, ANegativeActionIsDrawnButInertAndUnknownActionsAreForwarded) {
  LoadSkin("metallic.skn");
  // The help button (action 30) shows on windows with a maximize box.
  skin::TDataSkinSysButton* help = nullptr;
  for (auto& e : data_->SysButtons)
    if (e->Action == 30) help = e.get();
  ASSERT_NE(help, nullptr);
  OpenForm();
  // Forwarded: a click posts WM_SKINQUERY with the action, answered 1 by the frame.
  Click(CentreOf(30));
  PumpWatching(150);
  EXPECT_EQ(g_skin_queries, std::vector<WPARAM>{30});
  EXPECT_FALSE(g_recorded.Saw(skin::WM_SKINQUERY));
  EXPECT_EQ(SendMessageA(hwnd_, skin::WM_SKINQUERY, 30, 0), 1);

  help->Action = -4;
  RedrawWindow(hwnd_, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
  fwtest::PumpFor(100);
  TWinSysButton* inert = Button(-4);
  ASSERT_NE(inert, nullptr);
  EXPECT_TRUE(OpaquePixelsMatch(ButtonPixels(inert), Composed(inert, 1)));
  const POINT p = ScreenPoint(inert->Bounds);
  EXPECT_EQ(form_->CaptionButtonAt(form_->ScreenToFramePoint(p)), nullptr);
  g_skin_queries.clear();
  MoveTo(p);
  EXPECT_EQ(form_->HotObject, nullptr);
  Click(p);
  PumpWatching(150);
  EXPECT_TRUE(g_skin_queries.empty());
  EXPECT_EQ(form_->HotObject, nullptr);
  EXPECT_TRUE(OpaquePixelsMatch(ButtonPixels(inert), Composed(inert, 1)));
}

TEST_F(CaptionButtonsTest, TwoClicksOnTheIconCloseTheFirstOpensTheSystemMenu) {
  OpenForm();
  const POINT icon = CentreOf(skin::kActionSystemMenu);
  std::vector<std::string> items;
  bool menu_was_shown = false;
  RunSoon([&] {
    HMENU menu = form_->SystemPopup ? form_->SystemPopup->ShownMenu() : nullptr;
    menu_was_shown = menu && ShownMenuWindow();
    // Every entry is drawn by the skinned item drawing (owner-drawn, in item order).
    for (int i = 0; menu && i < GetMenuItemCount(menu); ++i) {
      MENUITEMINFOA info{};
      info.cbSize = sizeof info;
      info.fMask = MIIM_FTYPE;
      GetMenuItemInfoA(menu, i, TRUE, &info);
      const auto& item = form_->SystemPopup->Items()[i];
      std::string text = item.separator ? "" : item.caption;
      if (item.shortcut != fw::scNone) text += "\t" + fw::ShortCutToText(item.shortcut);
      if (!(info.fType & MFT_OWNERDRAW)) text += " (not owner-drawn)";
      items.push_back(text);
    }
    // The second click, on the icon, within the double-click time.
    SetCursorPos(icon.x, icon.y);
    SendMouse(MOUSEEVENTF_LEFTDOWN);
    SendMouse(MOUSEEVENTF_LEFTUP);
  });
  GuardAgainstStrayMenus();
  Click(icon);
  PumpWatching(300);
  EXPECT_TRUE(menu_was_shown);
  EXPECT_EQ(items, (std::vector<std::string>{" Restore ", " Maximize ", " Minimize ", "",
                                             " Close \tShift+F4"}));
  EXPECT_EQ(g_recorded.closes, 1);
  EXPECT_EQ(ShownMenuWindow(), nullptr);
}

TEST_F(CaptionButtonsTest, SlowSecondClickOnTheIconOpensTheMenuAgain) {
  OpenForm();
  form_->DoubleClickTime = 100;
  const POINT icon = CentreOf(skin::kActionSystemMenu);
  int shown = 0;
  const std::function<void()> dismiss = [&] {
    if (ShownMenuWindow()) ++shown;
    EndMenu();
  };
  RunSoon(dismiss, 200);
  Click(icon);
  PumpWatching(300);
  RunSoon(dismiss, 200);
  Click(icon);
  PumpWatching(300);
  EXPECT_EQ(shown, 2);
  EXPECT_EQ(g_recorded.closes, 0);
}

TEST_F(CaptionButtonsTest, ThreeFrameStripDrawsFrameOneInactiveAndFrameThreeHot) {
  LoadSkin("metallic.skn");
  skin::TDataSkinSysButton* close = nullptr;
  for (auto& e : data_->SysButtons)
    if (e->Action == 0) close = e.get();
  ASSERT_NE(close, nullptr);
  // Three solid frames: red, green, blue.
  close->Image = skin::PixelBitmap(60, 18, skin::PixelFormat::kBgra32);
  for (int y = 0; y < 18; ++y)
    for (int x = 0; x < 60; ++x)
      close->Image.SetPixel(x, y, x < 20 ? 0x0000FF : x < 40 ? 0x00FF00 : 0xFF0000);
  close->FrameCount = 3;
  OpenForm();
  TWinSysButton* b = Button(skin::kActionClose);
  ASSERT_NE(b, nullptr);
  EXPECT_EQ(b->Bounds.right - b->Bounds.left, 20);
  const auto colour = [&] { return Rgb(ButtonPixels(b).Pixel(10, 9)); };
  EXPECT_EQ(colour(), 0x0000FFu);  // active, resting
  MoveTo(CentreOf(skin::kActionClose));
  EXPECT_EQ(colour(), 0xFF0000u) << "hot: frame 3";
  Press(CentreOf(skin::kActionClose));
  EXPECT_EQ(colour(), 0x00FF00u) << "pressed: frame 2";
  MoveTo(ClientPoint());
  Release();
  WaitFor([&] { return form_->HotObject == nullptr; }, "hover poll");
  ActivateOtherWindow();
  ASSERT_FALSE(form_->IsActive);
  EXPECT_EQ(colour(), 0x0000FFu) << "inactive: frame 1, there is no fourth";
  EXPECT_EQ(g_recorded.closes, 0);
}

TEST_F(CaptionButtonsTest, AnInactiveWindowIgnoresFrameMovesAndItsFirstClickPresses) {
  OpenForm();
  ActivateOtherWindow();
  ASSERT_FALSE(form_->IsActive);
  g_recorded.Clear();
  MoveTo(CentreOf(skin::kActionMaximize));
  MoveTo(CentreOf(skin::kActionMinimize));
  EXPECT_EQ(form_->HotObject, nullptr);
  EXPECT_EQ(Button(skin::kActionMinimize)->ButtonState, 1);
  EXPECT_FALSE(g_recorded.Saw(WM_NCMOUSEMOVE)) << "dropped without default processing";
  // The first click brings the window to the front and presses the button.
  Press(CentreOf(skin::kActionMinimize));
  EXPECT_EQ(GetForegroundWindow(), hwnd_);
  EXPECT_EQ(form_->HotObject, Button(skin::kActionMinimize));
  EXPECT_EQ(form_->HotObject->ButtonState, 2);
  Release();
  WaitFor([&] { return IsIconic(hwnd_) != 0; }, "minimized by the release");
  form_->ToggleMinimize();
  WaitFor([&] { return !IsIconic(hwnd_); }, "restored");
  ExpectNormalGeometry();
}

TEST_F(CaptionButtonsTest, DoubleClickOnTheFrameMaximizesAndRestores) {
  OpenForm();
  const auto double_click = [&](POINT p) {
    Click(p);
    Click(p);
  };
  double_click(CaptionPoint());
  WaitFor([&] { return IsZoomed(hwnd_) != 0; }, "maximized by a double click on the caption");
  ExpectMaximizedGeometry();
  double_click(CaptionPoint());
  WaitFor([&] { return !IsZoomed(hwnd_); }, "restored by a double click on the caption");
  ExpectNormalGeometry();
  // The bottom border is frame too.
  RECT w{};
  GetWindowRect(hwnd_, &w);
  double_click({(w.left + w.right) / 2, w.bottom - 1 - form_->BorderBottom / 2});
  WaitFor([&] { return IsZoomed(hwnd_) != 0; }, "maximized by a double click on the border");
  form_->RestoreWindow();
  WaitFor([&] { return !IsZoomed(hwnd_); }, "restored");
  ExpectNormalGeometry();
}

TEST_F(CaptionButtonsTest, MaximizeRestoreMinimizeRestoreThroughTheButtons) {
  OpenForm();
  Click(CentreOf(skin::kActionMaximize));
  WaitFor([&] { return IsZoomed(hwnd_) != 0; }, "maximized");
  ExpectMaximizedGeometry();
  ExpectFramePainted();
  // The restore button sits where the maximize button was, counted from the new width.
  TWinSysButton* restore = Button(skin::kActionMaximize);
  ASSERT_NE(restore, nullptr);
  EXPECT_EQ(restore->Element->Visibility, 1);
  // A maximized window is not dragged by its caption.
  Press(CaptionPoint());
  MoveTo({CaptionPoint().x + 40, CaptionPoint().y + 40});
  Release();
  ExpectMaximizedGeometry();

  Click(CentreOf(skin::kActionMaximize));
  WaitFor([&] { return !IsZoomed(hwnd_); }, "restored");
  ExpectNormalGeometry();
  ExpectFramePainted();

  Click(CentreOf(skin::kActionMinimize));
  WaitFor([&] { return IsIconic(hwnd_) != 0; }, "minimized");
  EXPECT_EQ(form_->ShowState, skin::ShowMinimized);
  // What the minimize button does on a minimized window.
  form_->ToggleMinimize();
  WaitFor([&] { return !IsIconic(hwnd_); }, "restored");
  ExpectNormalGeometry();
  ExpectFramePainted();
  EXPECT_EQ(g_recorded.closes, 0);
}

TEST_F(CaptionButtonsTest, MaximizeRestoreMinimizeRestoreThroughTheSystemMenu) {
  OpenForm();
  // Chooses an item of the skinned system menu with the mouse once it shows.
  const auto choose = [&](const char* caption) {
    bool chosen = false;
    RunSoon([&] {
      // The entries are owner-drawn (no text of their own) and in the order of the items.
      HMENU menu = form_->SystemPopup->ShownMenu();
      const auto& items = form_->SystemPopup->Items();
      for (int i = 0; menu && i < GetMenuItemCount(menu) && i < int(items.size()); ++i) {
        RECT r{};
        if (items[i].caption != caption || !GetMenuItemRect(nullptr, menu, i, &r)) continue;
        SetCursorPos((r.left + r.right) / 2, (r.top + r.bottom) / 2);
        Sleep(30);
        SendMouse(MOUSEEVENTF_LEFTDOWN);
        SendMouse(MOUSEEVENTF_LEFTUP);
        chosen = true;
        return;
      }
      EndMenu();
    });
    // A right click on the caption opens it.
    GuardAgainstStrayMenus();
    MoveTo(CaptionPoint());
    SendMouse(MOUSEEVENTF_RIGHTDOWN);
    SendMouse(MOUSEEVENTF_RIGHTUP);
    PumpWatching(400);
    EXPECT_TRUE(chosen) << caption;
    form_->LastSysMenuClick = 0;  // the next opening is not a double click
  };
  choose(" Maximize ");
  WaitFor([&] { return IsZoomed(hwnd_) != 0; }, "maximized");
  ExpectMaximizedGeometry();
  ExpectFramePainted();
  choose(" Restore ");
  WaitFor([&] { return !IsZoomed(hwnd_); }, "restored");
  ExpectNormalGeometry();
  ExpectFramePainted();
  choose(" Minimize ");
  WaitFor([&] { return IsIconic(hwnd_) != 0; }, "minimized");
  form_->RestoreWindow();
  WaitFor([&] { return !IsIconic(hwnd_); }, "restored");
  ExpectNormalGeometry();
  ExpectFramePainted();
  EXPECT_EQ(g_recorded.closes, 0);
  EXPECT_EQ(ShownMenuWindow(), nullptr);
}

TEST_F(CaptionButtonsTest,
       WithoutTheSkinnedSystemMenuTheNativeOneShowsAndItsChoiceIsASystemCommand) {
  LoadSkin("metallic.skn");
  data_->SkinControls.Exclude(skin::xcSystemMenu);
  OpenForm();
  bool native_shown = false;
  RunSoon([&] {
    native_shown = ShownMenuWindow() && !form_->SystemPopup->ShownMenu();
    // The native menu's close command comes back as WM_COMMAND, then WM_SYSCOMMAND.
    PostMessageA(hwnd_, WM_COMMAND, SC_CLOSE, 0);
    EndMenu();
  });
  Click(CentreOf(skin::kActionSystemMenu));
  PumpWatching(300);
  EXPECT_TRUE(native_shown);
  EXPECT_TRUE(g_recorded.Saw(WM_SYSCOMMAND));
  EXPECT_EQ(g_recorded.closes, 1);
}

// Every visible button of both skins in its resting, hot, pressed and inactive looks.
class CaptionPixelsTest : public CaptionButtonsTest,
                          public ::testing::WithParamInterface<const char*> {};

TEST_P(CaptionPixelsTest, EveryVisibleButtonInEveryLookIsTheComposedFrame) {
  OpenForm(WS_OVERLAPPEDWINDOW, GetParam());
  form_->LayoutCaptionButtons();
  std::vector<TWinSysButton*> shown;
  for (TWinSysButton* b : form_->CaptionButtons)
    if (b->Visible && b->Element->Visibility != 100 && !b->Element->Image.Empty())
      shown.push_back(b);
  ASSERT_GE(shown.size(), 4u);
  for (TWinSysButton* b : shown) {
    SCOPED_TRACE(std::string(GetParam()) + " action " + std::to_string(b->Element->Action));
    const int frames = b->Element->FrameCount;
    const skin::PixelBitmap resting = ButtonPixels(b);
    EXPECT_TRUE(OpaquePixelsMatch(resting, Composed(b, skin::RestingFrame(true, frames))));
    if (b->Element->Action < 0) continue;
    const POINT centre = ScreenPoint(b->Bounds);
    MoveTo(centre);
    ASSERT_EQ(form_->HotObject, b);
    EXPECT_TRUE(OpaquePixelsMatch(ButtonPixels(b), Composed(b, skin::StateFrame(3, false))));
    // The transparent parts show the same title bar in every look.
    const skin::PixelBitmap hot = ButtonPixels(b);
    const skin::PixelBitmap hot_frame = Composed(b, 3);
    const skin::PixelBitmap resting_frame = Composed(b, 1);
    for (int y = 0; y < hot.Height(); ++y)
      for (int x = 0; x < hot.Width(); ++x)
        if (Rgb(hot_frame.Pixel(x, y)) == skin::kMagentaKey &&
            Rgb(resting_frame.Pixel(x, y)) == skin::kMagentaKey) {
          ASSERT_EQ(Rgb(hot.Pixel(x, y)), Rgb(resting.Pixel(x, y))) << x << ", " << y;
        }
    Press(centre);
    EXPECT_TRUE(OpaquePixelsMatch(ButtonPixels(b), Composed(b, skin::StateFrame(2, false))));
    // Let go away from it: nothing happens and the poll gives back the resting look.
    MoveTo(ClientPoint());
    Release();
    WaitFor([&] { return form_->HotObject == nullptr; }, "hover poll");
    EXPECT_TRUE(OpaquePixelsMatch(ButtonPixels(b), Composed(b, skin::RestingFrame(true, frames))));
  }
  ActivateOtherWindow();
  for (TWinSysButton* b : shown) {
    SCOPED_TRACE(std::string(GetParam()) + " inactive, action " +
                 std::to_string(b->Element->Action));
    EXPECT_TRUE(OpaquePixelsMatch(ButtonPixels(b),
                                  Composed(b, skin::RestingFrame(false, b->Element->FrameCount))));
  }
  EXPECT_EQ(g_recorded.closes, 0);
  EXPECT_FALSE(IsZoomed(hwnd_));
  EXPECT_FALSE(IsIconic(hwnd_));
}

INSTANTIATE_TEST_SUITE_P(Skins, CaptionPixelsTest, ::testing::Values("metallic.skn", "dark.skn"));

TEST_F(CaptionButtonsTest, TheIconButtonDrawsTheWindowIconAndLendsItToTheSkin) {
  OpenForm();
  TWinSysButton* icon = Button(skin::kActionSystemMenu);
  ASSERT_NE(icon, nullptr);
  EXPECT_EQ(icon->Element->FrameCount, 1);
  EXPECT_FALSE(icon->Element->Image.Empty());
  EXPECT_FALSE(data_->DefaultIcon().Empty());
  EXPECT_EQ(icon->Bounds.right - icon->Bounds.left, GetSystemMetrics(SM_CXSMICON));
  EXPECT_TRUE(OpaquePixelsMatch(ButtonPixels(icon), Composed(icon, 1)));
}

TEST_F(CaptionButtonsTest, AWindowWithTheSystemMenuOnlyShowsCloseAndIcon) {
  OpenForm(WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU);
  form_->LayoutCaptionButtons();
  std::vector<int> actions;
  for (TWinSysButton* b : form_->CaptionButtons)
    if (b->Visible) actions.push_back(b->Element->Action);
  EXPECT_EQ(actions, (std::vector<int>{skin::kActionClose, skin::kActionSystemMenu}));
  // A double click on the caption does not maximize a window without a maximize box.
  Click(CaptionPoint());
  Click(CaptionPoint());
  fwtest::PumpFor(200);
  EXPECT_FALSE(IsZoomed(hwnd_));
}

}  // namespace
