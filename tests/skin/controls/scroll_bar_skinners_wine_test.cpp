// Scroll bar skinners on real windows: the bars of a memo drawn from the skin in every
// pressed state, a thumb dragged with real mouse input reaching the same line as the
// system's own bar, wheel, keys and programmatic scrolling repainting at once, clicks on
// arrows left to the control, 16-bit positions in the messages, stand-alone bars.
#include <windows.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "framework/comctrls.h"
#include "framework/forms.h"
#include "framework/handle_counts.h"
#include "framework/list_view.h"
#include "framework/std_controls.h"
#include "skin/controls/scroll_bar_skinners.h"
#include "skin/controls/tab_skinners.h"
#include "tests/skin/controls/skin_test_data.h"
#include "tests/support/fw_test.h"
#include "tests/support/window_pixels.h"

namespace skin {
namespace {

std::string Lines(int n) {
  std::string text;
  for (int i = 0; i < n; ++i) text += "line " + std::to_string(i) + "\r\n";
  return text;
}

void MouseInput(DWORD flags, DWORD data = 0) {
  INPUT in{};
  in.type = INPUT_MOUSE;
  in.mi.dwFlags = flags;
  in.mi.mouseData = data;
  SendInput(1, &in, sizeof in);
}

// A move to a screen point as absolute input (rounded up, so that it lands on the point).
void MoveInput(POINT p) {
  const LONG w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
  INPUT in{};
  in.type = INPUT_MOUSE;
  in.mi.dx = static_cast<LONG>((int64_t{p.x} * 65536 + w - 1) / w);
  in.mi.dy = static_cast<LONG>((int64_t{p.y} * 65536 + h - 1) / h);
  in.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
  SendInput(1, &in, sizeof in);
}

// Button down at `from`, moved in steps to `to`, released there: real input, all queued
// before any of it is handled (a drag loop runs inside the button-down).
void Drag(POINT from, POINT to) {
  SetCursorPos(from.x, from.y);
  fwtest::PumpFor(30);
  MouseInput(MOUSEEVENTF_LEFTDOWN);
  for (int i = 1; i <= 5; ++i)
    MoveInput({from.x + (to.x - from.x) * i / 5, from.y + (to.y - from.y) * i / 5});
  MouseInput(MOUSEEVENTF_LEFTUP);
  fwtest::PumpFor(200);
}

int FirstLine(HWND memo) {
  return static_cast<int>(SendMessageA(memo, EM_GETFIRSTVISIBLELINE, 0, 0));
}
int FirstLine(fw::TWinControl* memo) { return FirstLine(memo->Handle()); }

class ScrollBarSkinTest : public fwtest::ApplicationTest {
 protected:
  void SetUp() override {
    ApplicationTest::SetUp();
    data_ = skintest::LoadMetallic();
    form_ = new fw::TForm(&App());
    form_->SetPosition(fw::poDesigned);
    form_->SetBounds(50, 50, 560, 420);
  }
  void TearDown() override {
    for (TSkinControl* s : skinners_) delete s;
    skinners_.clear();
    ApplicationTest::TearDown();
  }
  fw::TMemo* AddMemo(int left, int top, fw::TScrollStyle bars, int lines = 1000) {
    auto* memo = new fw::TMemo(form_);
    memo->SetParent(form_);
    memo->SetBounds(left, top, 200, 150);
    memo->SetScrollBars(bars);
    memo->SetWordWrap(false);
    memo->SetText(Lines(lines) + std::string(bars == fw::ssBoth ? 80 : 0, 'x'));
    return memo;
  }
  TSkinScrollBar* Skin(fw::TWinControl* control, bool thumb_drag = true) {
    auto* s = new TSkinScrollBar(nullptr);
    s->AttachScrollBars(control, data_.get(), thumb_drag, nullptr);
    skinners_.push_back(s);
    return s;
  }
  void Show() {
    form_->Show();
    SetForegroundWindow(form_->Handle());
    fwtest::PumpFor(150);
  }
  // The vertical bar as the screen shows it against the skin's composition; the number
  // of pixels that differ.
  int VertBarDifferences(TSkinScrollBar* s, int pressed) {
    RedrawWindow(s->FHandle, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_UPDATENOW);
    fwtest::PumpFor(20);
    return BarDifferences(s, s->FVertBarRect, true, pressed);
  }
  int BarDifferences(TSkinScrollBar* s, const RECT& bar, bool vertical, int pressed) {
    SCROLLINFO si{sizeof si, SIF_ALL, 0, 0, 0, 0, 0};
    GetScrollInfo(s->FHandle, vertical ? SB_VERT : SB_HORZ, &si);
    const int a = GetSystemMetrics(SM_CXHSCROLL);
    const int length = vertical ? bar.bottom - bar.top : bar.right - bar.left;
    const int thick = vertical ? bar.right - bar.left : bar.bottom - bar.top;
    auto m = CalcThumb(length, a, {si.nMin, si.nMax, static_cast<int32_t>(si.nPage), si.nPos},
                       MinThumbLength(a, (GetVersion() & 0x80000000u) != 0),
                       GetSystemMetrics(SM_CXHTHUMB));
    const PixelBitmap expected =
        skintest::ExpectedBar(*data_, vertical, length, thick, a, m ? &*m : nullptr, pressed);
    const PixelBitmap shown = fwtest::ReadWindowPixels(s->FHandle, &bar);
    return fwtest::CountDifferences(shown, 0, 0, expected);
  }
  // Where the middle of the thumb of the memo's vertical bar is on the screen.
  static POINT SystemThumbCentre(HWND memo) {
    SCROLLBARINFO info{};
    info.cbSize = sizeof info;
    GetScrollBarInfo(memo, OBJID_VSCROLL, &info);
    return {(info.rcScrollBar.left + info.rcScrollBar.right) / 2,
            info.rcScrollBar.top + (info.xyThumbTop + info.xyThumbBottom) / 2};
  }
  static POINT SkinThumbCentre(TSkinScrollBar* s) {
    RECT window{};
    GetWindowRect(s->FHandle, &window);
    const ThumbMetrics& m = s->FVertMetrics;
    return {window.left + (s->FVertBarRect.left + s->FVertBarRect.right) / 2,
            window.top + s->FVertBarRect.top + m.arrow + m.thumb_pos + m.thumb_length / 2};
  }

  std::unique_ptr<TSkinData> data_;
  fw::TForm* form_ = nullptr;
  std::vector<TSkinControl*> skinners_;
};

TEST_F(ScrollBarSkinTest, BarsOfAMemoAreTheSkinsInEveryPressedState) {
  fw::TMemo* memo = AddMemo(10, 10, fw::ssBoth);
  TSkinScrollBar* s = Skin(memo);
  Show();
  ASSERT_FALSE(IsRectEmpty(&s->FVertBarRect));
  ASSERT_FALSE(IsRectEmpty(&s->FHorzBarRect));
  SendMessageA(memo->Handle(), WM_VSCROLL, SB_PAGEDOWN, 0);  // the thumb away from the top
  for (int pressed = kPartNone; pressed <= kPartVertThumb; ++pressed) {
    s->FPressedPart = pressed;
    EXPECT_EQ(VertBarDifferences(s, pressed), 0) << "pressed part " << pressed;
    EXPECT_EQ(BarDifferences(s, s->FHorzBarRect, false, pressed), 0) << "pressed part " << pressed;
  }
  // The size box is the skin's face colour, and the edge round the bars the flat frame.
  const PixelBitmap shown = fwtest::ReadWindowPixels(memo->Handle());
  EXPECT_EQ(shown.Pixel(s->FSizeBoxRect.left + 3, s->FSizeBoxRect.top + 3) & 0xFFFFFF,
            skintest::Resolve(data_->ButtonFace));
  EXPECT_EQ(shown.Pixel(0, 40) & 0xFFFFFF, skintest::Resolve(data_->ButtonShadow));
  EXPECT_EQ(shown.Pixel(1, 40) & 0xFFFFFF, 0xFFFFFFu);
}

TEST_F(ScrollBarSkinTest, AReportListViewGetsTheSkinsBars) {
  auto* list = new fw::TListView(form_);
  list->SetParent(form_);
  list->SetBounds(10, 10, 200, 150);
  list->SetViewStyle(fw::vsReport);
  list->AddColumn("Name", 260);
  fw::TStringList rows;
  for (int i = 0; i < 40; ++i) rows.Add("row " + std::to_string(i));
  list->SetItems(rows);
  auto* s = new TSkinListView(form_);  // the form owns its header skinner
  s->AttachControl(list, data_.get(), true, nullptr);
  skinners_.push_back(s);
  Show();
  ASSERT_FALSE(IsRectEmpty(&s->FVertBarRect));
  EXPECT_EQ(VertBarDifferences(s, kPartNone), 0);
}

TEST_F(ScrollBarSkinTest, ABareListBoxGetsTheSkinsBarsAndItsProcedureBack) {
  Show();
  HWND list = CreateWindowExA(WS_EX_CLIENTEDGE, "ListBox", "", WS_CHILD | WS_VISIBLE | WS_VSCROLL,
                              10, 10, 200, 150, form_->Handle(), nullptr, nullptr, nullptr);
  for (int i = 0; i < 60; ++i) SendMessageA(list, LB_ADDSTRING, 0, LPARAM("row"));
  const LONG_PTR proc = GetWindowLongPtrA(list, GWLP_WNDPROC);
  auto* s = new TSkinScrollBar(nullptr);
  s->AttachHandle(list, data_.get(), nullptr);
  fwtest::PumpFor(50);
  ASSERT_FALSE(IsRectEmpty(&s->FVertBarRect));
  EXPECT_EQ(VertBarDifferences(s, kPartNone), 0);
  delete s;
  EXPECT_EQ(GetWindowLongPtrA(list, GWLP_WNDPROC), proc);
  DestroyWindow(list);
}

TEST_F(ScrollBarSkinTest, DraggingTheThumbReachesTheSameLineAsTheSystemBar) {
  fw::TMemo* plain = AddMemo(10, 10, fw::ssVertical);
  fw::TMemo* skinned = AddMemo(300, 10, fw::ssVertical);
  TSkinScrollBar* s = Skin(skinned);
  Show();
  ASSERT_EQ(FirstLine(plain), 0);
  for (int dy : {60, 37, -50}) {
    const POINT a = SystemThumbCentre(plain->Handle());
    Drag(a, {a.x, a.y + dy});
    RedrawWindow(s->FHandle, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_UPDATENOW);
    const POINT b = SkinThumbCentre(s);
    RECT pr{}, sr{};
    GetWindowRect(plain->Handle(), &pr);
    GetWindowRect(skinned->Handle(), &sr);
    EXPECT_NEAR(b.y - sr.top, a.y - pr.top, 1) << dy;  // both thumbs at the same place
    Drag(b, {b.x, b.y + dy});
    EXPECT_GT(FirstLine(plain), 0) << dy;
    EXPECT_EQ(FirstLine(skinned), FirstLine(plain)) << dy;
    EXPECT_FALSE(s->FTracking);
    EXPECT_EQ(s->FPressedPart, kPartNone);
  }
  EXPECT_EQ(VertBarDifferences(s, kPartNone), 0);
}

TEST_F(ScrollBarSkinTest, ReleasingOutsideTheControlEndsTheDrag) {
  fw::TMemo* skinned = AddMemo(10, 10, fw::ssVertical);
  TSkinScrollBar* s = Skin(skinned);
  Show();
  RedrawWindow(s->FHandle, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_UPDATENOW);
  const POINT b = SkinThumbCentre(s);
  Drag(b, {b.x + 250, b.y + 80});  // far to the right of the memo
  EXPECT_FALSE(s->FTracking);
  EXPECT_GT(FirstLine(skinned), 0);
  // The mouse is free again: a click elsewhere in the memo does not scroll it.
  const int line = FirstLine(skinned);
  fwtest::ClickAt(skinned->Handle(), {20, 20});
  EXPECT_EQ(FirstLine(skinned), line);
  EXPECT_EQ(GetCapture(), nullptr);
}

// Fires until the skinner's drag loop runs, then frees the skinner from inside it.
TSkinScrollBar* g_to_free = nullptr;
void CALLBACK FreeDuringDrag(HWND, UINT, UINT_PTR id, DWORD) {
  if (!g_to_free || !g_to_free->FTracking || FirstLine(g_to_free->FHandle) == 0) return;
  KillTimer(nullptr, id);
  delete std::exchange(g_to_free, nullptr);
}

// A skinner freed by a message its own drag loop dispatched: the drag still ends as the
// system's does, with the capture given back.
TEST_F(ScrollBarSkinTest, SkinnerFreedDuringItsDragGivesTheCaptureBack) {
  fw::TMemo* skinned = AddMemo(10, 10, fw::ssVertical);
  TSkinScrollBar* s = Skin(skinned);
  Show();
  RedrawWindow(s->FHandle, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_UPDATENOW);
  const POINT b = SkinThumbCentre(s);
  SetCursorPos(b.x, b.y);
  fwtest::PumpFor(30);
  g_to_free = s;
  skinners_.clear();
  MouseInput(MOUSEEVENTF_LEFTDOWN);
  MoveInput({b.x, b.y + 40});
  SetTimer(nullptr, 0, 5, &FreeDuringDrag);
  fwtest::PumpUntil([] { return g_to_free == nullptr; }, 2000);
  EXPECT_EQ(g_to_free, nullptr) << "the drag never ran";
  delete std::exchange(g_to_free, nullptr);
  EXPECT_EQ(GetCapture(), nullptr);
  MouseInput(MOUSEEVENTF_LEFTUP);
  fwtest::PumpFor(50);
  EXPECT_GT(FirstLine(skinned), 0);
}

TEST_F(ScrollBarSkinTest, ArrowAndPageClicksAreLeftToTheControl) {
  fw::TMemo* skinned = AddMemo(10, 10, fw::ssVertical);
  TSkinScrollBar* s = Skin(skinned);
  Show();
  RECT window{};
  GetWindowRect(skinned->Handle(), &window);
  const RECT& bar = s->FVertBarRect;
  const int x = window.left + (bar.left + bar.right) / 2;
  // The down arrow: one line.
  SetCursorPos(x, window.top + bar.bottom - 5);
  MouseInput(MOUSEEVENTF_LEFTDOWN);
  MouseInput(MOUSEEVENTF_LEFTUP);
  fwtest::PumpFor(150);
  EXPECT_EQ(FirstLine(skinned), 1);
  // The page area below the thumb: a page.
  SetCursorPos(x, window.top + bar.bottom - 40);
  MouseInput(MOUSEEVENTF_LEFTDOWN);
  MouseInput(MOUSEEVENTF_LEFTUP);
  fwtest::PumpFor(150);
  EXPECT_GT(FirstLine(skinned), 2);
  EXPECT_FALSE(s->FTracking);
  EXPECT_EQ(VertBarDifferences(s, s->FPressedPart), 0);
}

TEST_F(ScrollBarSkinTest, WheelKeysAndProgrammaticScrollingRepaintAtOnce) {
  fw::TMemo* skinned = AddMemo(10, 10, fw::ssVertical);
  TSkinScrollBar* s = Skin(skinned);
  Show();
  HWND memo = skinned->Handle();
  auto shown_matches = [&] {
    return BarDifferences(s, s->FVertBarRect, true, kPartNone) == 0;  // no redraw asked
  };
  SetFocus(memo);
  RECT window{};
  GetWindowRect(memo, &window);
  SetCursorPos(window.left + 50, window.top + 50);
  MouseInput(MOUSEEVENTF_WHEEL, static_cast<DWORD>(-3 * WHEEL_DELTA));
  fwtest::PumpFor(100);
  EXPECT_GT(FirstLine(memo), 0);
  EXPECT_TRUE(shown_matches());
  fwtest::PressKey(VK_NEXT);
  fwtest::PressKey(VK_NEXT);
  fwtest::PumpFor(50);
  EXPECT_GT(FirstLine(memo), 10);
  EXPECT_TRUE(shown_matches());
  SendMessageA(memo, EM_LINESCROLL, 0, 300);
  EXPECT_TRUE(shown_matches());
  SendMessageA(memo, WM_VSCROLL, SB_BOTTOM, 0);
  EXPECT_TRUE(shown_matches());
}

// Records the scroll messages that reach the memo's own procedure.
std::vector<WPARAM> g_scrolls;
std::vector<int> g_positions;  // the bar's position when each message arrived
WNDPROC g_memo_proc = nullptr;
LRESULT CALLBACK RecordScrolls(HWND h, UINT m, WPARAM w, LPARAM l) {
  if (m == WM_VSCROLL) {
    g_scrolls.push_back(w);
    g_positions.push_back(GetScrollPos(h, SB_VERT));
  }
  return CallWindowProcA(g_memo_proc, h, m, w, l);
}

TEST_F(ScrollBarSkinTest, PositionsBeyondSixteenBitsAreTruncatedOnlyInTheMessages) {
  fw::TMemo* skinned = AddMemo(10, 10, fw::ssVertical, 20);
  HWND memo = skinned->Handle();
  g_memo_proc = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrA(memo, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&RecordScrolls)));
  TSkinScrollBar* s = Skin(skinned);
  Show();
  // A range the edit itself never sets: 0 .. 200000 without a page.
  SCROLLINFO si{sizeof si, SIF_RANGE | SIF_PAGE | SIF_POS, 0, 200000, 0, 0, 0};
  SetScrollInfo(memo, SB_VERT, &si, TRUE);
  RedrawWindow(memo, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_UPDATENOW);
  const POINT b = SkinThumbCentre(s);
  const ThumbMetrics m = s->FVertMetrics;
  g_scrolls.clear();
  const int moved = (m.track - m.thumb_length) / 2;
  SetCursorPos(b.x, b.y);
  fwtest::PumpFor(30);
  MouseInput(MOUSEEVENTF_LEFTDOWN);
  MoveInput({b.x, b.y + moved});
  MouseInput(MOUSEEVENTF_LEFTUP);
  const int expected = DragPosition(m.thumb_pos, moved, m, {0, 200000, 0, 0}).position;
  fwtest::PumpFor(100);
  ASSERT_GT(expected, 65535);
  ASSERT_GE(g_scrolls.size(), 3u);
  EXPECT_EQ(LOWORD(g_scrolls[0]), SB_THUMBTRACK);
  EXPECT_EQ(HIWORD(g_scrolls[0]), expected & 0xFFFF);
  EXPECT_EQ(g_positions[0], expected);  // the full value went to SetScrollInfo
  EXPECT_EQ(LOWORD(g_scrolls[g_scrolls.size() - 2]), SB_THUMBPOSITION);
  EXPECT_EQ(HIWORD(g_scrolls[g_scrolls.size() - 2]), expected & 0xFFFF);
  EXPECT_EQ(LOWORD(g_scrolls.back()), SB_ENDSCROLL);
  s->Detach();
  SetWindowLongPtrA(memo, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_memo_proc));
}

TEST_F(ScrollBarSkinTest, WithoutThumbDragTheSystemDragsTheThumb) {
  fw::TMemo* skinned = AddMemo(10, 10, fw::ssVertical);
  TSkinScrollBar* s = Skin(skinned, false);
  Show();
  const POINT a = SystemThumbCentre(skinned->Handle());
  Drag(a, {a.x, a.y + 50});
  EXPECT_GT(FirstLine(skinned->Handle()), 0);
  EXPECT_FALSE(s->FTracking);
  EXPECT_EQ(VertBarDifferences(s, s->FPressedPart), 0);
}

TEST_F(ScrollBarSkinTest, StandAloneBarsAreDrawnAsOneBar) {
  auto* bar = new fw::TScrollBar(form_);
  bar->SetParent(form_);
  bar->SetBounds(10, 200, 300, 17);
  bar->SetMax(100);
  bar->SetPageSize(10);
  auto* sc = new TSkinScControl(nullptr);
  sc->AttachControl(bar, data_.get(), false, nullptr);
  skinners_.push_back(sc);
  HWND raw = CreateWindowExA(0, "SCROLLBAR", "", WS_CHILD | WS_VISIBLE | SBS_VERT, 400, 10, 17, 200,
                             form_->Handle(), nullptr, nullptr, nullptr);
  SCROLLINFO si{sizeof si, SIF_ALL, 0, 50, 5, 20, 0};
  SetScrollInfo(raw, SB_CTL, &si, TRUE);
  auto* sizer = new TSkinSizer(nullptr);
  sizer->AttachHandle(raw, data_.get(), nullptr);
  skinners_.push_back(sizer);
  Show();
  auto compare = [&](HWND hwnd, bool vertical, const ScrollRange& r, int pressed) {
    RECT w{};
    GetWindowRect(hwnd, &w);
    const int len = vertical ? w.bottom - w.top : w.right - w.left;
    const int thick = vertical ? w.right - w.left : w.bottom - w.top;
    const int a = GetSystemMetrics(SM_CXHSCROLL);
    auto m = CalcControlThumb(len, a, r, MinThumbLength(a, false), GetSystemMetrics(SM_CXHTHUMB));
    const PixelBitmap expected =
        skintest::ExpectedBar(*data_, vertical, len, thick, a, m ? &*m : nullptr, pressed);
    return fwtest::CountDifferences(fwtest::ReadWindowPixels(hwnd), 0, 0, expected);
  };
  EXPECT_EQ(compare(bar->Handle(), false, {0, 100, 10, 0}, kPartNone), 0);
  EXPECT_EQ(compare(raw, true, {0, 50, 5, 20}, kPartNone), 0);
  // Moved by the program: the skin follows at once.
  bar->SetPosition(60);
  EXPECT_EQ(compare(bar->Handle(), false, {0, 100, 10, 60}, kPartNone), 0);
  si.nPos = 40;
  SetScrollInfo(raw, SB_CTL, &si, TRUE);
  EXPECT_EQ(compare(raw, true, {0, 50, 5, 40}, kPartNone), 0);
  // A click on the right arrow moves the bar one step and shows it skinned afterwards.
  RECT w{};
  GetWindowRect(bar->Handle(), &w);
  fwtest::ClickAt(bar->Handle(), {w.right - w.left - 5, 8});
  EXPECT_EQ(bar->Position(), 61);
  EXPECT_EQ(compare(bar->Handle(), false, {0, 100, 10, 61}, sc->FPressedPart), 0);
}

TEST_F(ScrollBarSkinTest, ManyAttachPaintDetachRoundsEndWhereTheyStarted) {
  fw::TMemo* memo = AddMemo(10, 10, fw::ssBoth, 50);
  Show();
  const auto before = fw::LiveHandleSnapshot();
  const WNDPROC proc = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(memo->Handle(), GWLP_WNDPROC));
  for (int i = 0; i < 200; ++i) {
    TSkinScrollBar s(nullptr);
    s.AttachScrollBars(memo, data_.get(), true, nullptr);
    SendMessageA(memo->Handle(), WM_VSCROLL, SB_LINEDOWN, 0);
    s.PaintSkin(nullptr);
  }
  EXPECT_EQ(reinterpret_cast<WNDPROC>(GetWindowLongPtrA(memo->Handle(), GWLP_WNDPROC)), proc);
  EXPECT_EQ(fw::LiveHandleSnapshot(), before);
}

}  // namespace
}  // namespace skin
