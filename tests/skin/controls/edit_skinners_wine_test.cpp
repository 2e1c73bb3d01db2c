// Edit and combo box skinners on real windows: the flat frame of edits (and none for
// borderless ones or for paints into another DC), the print frame, the embedded spin
// button, typing and selecting as unskinned, and combo boxes closed, focused, disabled and
// right-to-left against the skin's composition.
#include <windows.h>
#include <commctrl.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/forms.h"
#include "framework/handle_counts.h"
#include "framework/std_controls.h"
#include "skin/controls/bar_skinners.h"
#include "skin/controls/edit_skinners.h"
#include "skin/controls/scroll_bar_geometry.h"
#include "skin/manager/element_painting.h"
#include "tests/skin/controls/skin_test_data.h"
#include "tests/skin/controls/skinner_test_util.h"
#include "tests/support/fw_test.h"
#include "tests/support/window_pixels.h"

namespace skin {
namespace {

// An edit skinner that counts its drawings.
class TCountingEdit : public TSkinEdit {
 public:
  using TSkinEdit::TSkinEdit;
  int draws = 0;
  void DrawSkin(HDC dc, const RECT& rect) override {
    ++draws;
    TSkinEdit::DrawSkin(dc, rect);
  }
};

// A stand-in for the up-down skinner, recording what the edit skinner asks of it.
class TSpinRecorder : public TSkinControl {
 public:
  using TSkinControl::TSkinControl;
  static inline int made = 0;
  bool embedded = false;
  void SetEmbedded(bool v) override { embedded = v; }
};

class EditSkinTest : public fwtest::ApplicationTest {
 protected:
  void SetUp() override {
    ApplicationTest::SetUp();
    data_ = skintest::LoadMetallic();
    form_ = new fw::TForm(&App());
    form_->SetPosition(fw::poDesigned);
    form_->SetBounds(60, 60, 520, 360);
  }
  void TearDown() override {
    for (TSkinControl* s : skinners_) delete s;
    skinners_.clear();
    RestoreStandardSkinnerMakers();
    ApplicationTest::TearDown();
  }
  template <class T>
  T* Add(int left, int top, int width, int height) {
    auto* c = new T(form_);
    c->SetParent(form_);
    c->SetBounds(left, top, width, height);
    return c;
  }
  template <class S>
  S* SkinHandle(HWND hwnd) {
    auto* s = new S(nullptr);
    s->AttachHandle(hwnd, data_.get(), nullptr);
    skinners_.push_back(s);
    return s;
  }
  void Show() {
    form_->Show();
    SetForegroundWindow(form_->Handle());
    fwtest::PumpFor(150);
  }
  static void Repaint(HWND hwnd) {
    RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_ERASE | RDW_UPDATENOW);
    fwtest::PumpFor(20);
  }
  // Pixels on the ring `inset` pixels inside the window's edge that are not `colour`.
  static int RingDifferences(const PixelBitmap& shown, int inset, COLORREF colour) {
    int n = 0;
    const int w = shown.Width(), h = shown.Height();
    for (int x = inset; x < w - inset; ++x) {
      n += (shown.Pixel(x, inset) & 0xFFFFFF) != colour;
      n += (shown.Pixel(x, h - 1 - inset) & 0xFFFFFF) != colour;
    }
    for (int y = inset; y < h - inset; ++y) {
      n += (shown.Pixel(inset, y) & 0xFFFFFF) != colour;
      n += (shown.Pixel(w - 1 - inset, y) & 0xFFFFFF) != colour;
    }
    return n;
  }
  COLORREF Shadow() const { return skintest::Resolve(data_->ButtonShadow); }

  std::unique_ptr<TSkinData> data_;
  fw::TForm* form_ = nullptr;
  std::vector<TSkinControl*> skinners_;
};

// Counts the frame paints that reach the procedure under the skinner's.
int system_frame_paints = 0;
WNDPROC counted_proc = nullptr;
LRESULT CALLBACK CountFramePaints(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam) {
  if (msg == WM_NCPAINT) ++system_frame_paints;
  return CallWindowProcA(counted_proc, hwnd, msg, wparam, lparam);
}

TEST_F(EditSkinTest, EditsGetTheFlatFrameAndTheirTextStaysAsItWas) {
  auto* plain = Add<fw::TEdit>(10, 10, 160, 24);
  auto* skinned = Add<fw::TEdit>(10, 50, 160, 24);
  plain->SetText("1234567");
  skinned->SetText("1234567");
  auto* elsewhere = Add<fw::TEdit>(300, 10, 100, 24);
  counted_proc = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(
      skinned->Handle(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CountFramePaints)));
  auto* s = SkinHandle<TCountingEdit>(skinned->Handle());
  Show();
  SetFocus(elsewhere->Handle());  // no caret in either
  fwtest::PumpFor(30);
  Repaint(plain->Handle());
  Repaint(skinned->Handle());
  EXPECT_GT(s->draws, 0);
  const PixelBitmap shown = fwtest::ReadWindowPixels(skinned->Handle());
  EXPECT_EQ(RingDifferences(shown, 0, Shadow()), 0);
  EXPECT_EQ(RingDifferences(shown, 1, RGB(255, 255, 255)), 0);
  // Inside the frame the edit is exactly what the unskinned one shows.
  RECT client{};
  GetClientRect(skinned->Handle(), &client);
  OffsetRect(&client, 2, 2);
  EXPECT_EQ(fwtest::CountDifferences(fwtest::ReadWindowPixels(skinned->Handle(), &client), 0, 0,
                                     fwtest::ReadWindowPixels(plain->Handle(), &client)),
            0);
  // The frame survives focus changes and a frame repaint by the default procedure.
  SetFocus(skinned->Handle());
  fwtest::PumpFor(30);
  system_frame_paints = 0;
  SendMessageA(skinned->Handle(), WM_NCPAINT, 1, 0);
  EXPECT_EQ(RingDifferences(fwtest::ReadWindowPixels(skinned->Handle()), 0, Shadow()), 0);
  // The skin's frame is drawn instead of the system's, which never shows.
  Repaint(skinned->Handle());
  EXPECT_EQ(system_frame_paints, 0);
}

TEST_F(EditSkinTest, TypingSelectingAndTheKeyFilterWorkAsUnskinned) {
  auto* plain = Add<fw::TEdit>(10, 10, 160, 24);
  auto* skinned = Add<fw::TEdit>(10, 50, 160, 24);
  std::string typed_plain, typed_skinned;
  // A key filter like the calculator's: digits only.
  auto filter = [](fw::TObject*, char& key) {
    if ((key < '0' || key > '9') && key != VK_BACK) key = 0;
  };
  plain->OnKeyPress = filter;
  skinned->OnKeyPress = filter;
  SkinHandle<TSkinEdit>(skinned->Handle());
  Show();
  for (fw::TEdit* e : {plain, skinned}) {
    fwtest::ClickAt(e->Handle(), {10, 10});
    for (WORD key : {WORD('1'), WORD('A'), WORD('2'), WORD(VK_BACK), WORD('3'), WORD('4')})
      fwtest::PressKey(key);
    // Select with the mouse: a drag from the end to the start.
    RECT w{};
    GetWindowRect(e->Handle(), &w);
    SetCursorPos(w.left + 100, w.top + 12);
    INPUT in[2]{};
    in[0].type = in[1].type = INPUT_MOUSE;
    in[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    SendInput(1, &in[0], sizeof(INPUT));
    fwtest::PumpFor(30);
    SetCursorPos(w.left + 3, w.top + 12);
    in[1].mi.dwFlags = MOUSEEVENTF_MOVE;
    SendInput(1, &in[1], sizeof(INPUT));
    fwtest::PumpFor(30);
    in[0].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(1, &in[0], sizeof(INPUT));
    fwtest::PumpFor(50);
  }
  EXPECT_EQ(skinned->Text(), plain->Text());
  EXPECT_EQ(skinned->Text(), "134");
  DWORD ps = 0, pe = 0, ss = 0, se = 0;
  SendMessageA(plain->Handle(), EM_GETSEL, reinterpret_cast<WPARAM>(&ps),
               reinterpret_cast<LPARAM>(&pe));
  SendMessageA(skinned->Handle(), EM_GETSEL, reinterpret_cast<WPARAM>(&ss),
               reinterpret_cast<LPARAM>(&se));
  EXPECT_EQ(ss, ps);
  EXPECT_EQ(se, pe);
  EXPECT_EQ(se - ss, 3u);
}

TEST_F(EditSkinTest, BorderlessEditsAndPaintsIntoAnotherDcAreNotFramed) {
  HWND bare = CreateWindowExA(0, "EDIT", "no border", WS_CHILD | WS_VISIBLE, 10, 10, 150, 20,
                              form_->Handle(), nullptr, nullptr, nullptr);
  auto* s = SkinHandle<TCountingEdit>(bare);
  Show();
  const PixelBitmap before = fwtest::ReadWindowPixels(bare);
  Repaint(bare);
  EXPECT_GT(s->draws, 0);
  EXPECT_EQ(fwtest::CountDifferences(fwtest::ReadWindowPixels(bare), 0, 0, before), 0);
  EXPECT_NE(fwtest::ReadWindowPixels(bare).Pixel(0, 0) & 0xFFFFFF, Shadow());

  auto* edit = Add<fw::TEdit>(10, 50, 160, 24);
  auto* framed = SkinHandle<TCountingEdit>(edit->Handle());
  Show();
  const int draws = framed->draws;
  DibSection dib = CreateDibSection(160, 24);
  fw::ScopedMemoryDc dc(CreateCompatibleDC(nullptr));
  fw::ScopedSelectObject select(dc.get(), dib.bitmap.get());
  SendMessageA(edit->Handle(), WM_PAINT, reinterpret_cast<WPARAM>(dc.get()), 0);
  EXPECT_EQ(framed->draws, draws);
}

TEST_F(EditSkinTest, OnePixelBorderIsFramedOnPaintButNotWhenPrinted) {
  // Wine's edit class moves WS_BORDER into its client area, so a static control stands in
  // for a window (of a class mapped to edits) with a one-pixel non-client border.
  HWND thin = CreateWindowExA(0, "STATIC", "thin", WS_CHILD | WS_VISIBLE | WS_BORDER, 10, 10, 150,
                              22, form_->Handle(), nullptr, nullptr, nullptr);
  RECT client{};
  GetClientRect(thin, &client);
  ASSERT_EQ(client.right, 148);
  SkinHandle<TSkinEdit>(thin);
  Show();
  Repaint(thin);
  const PixelBitmap shown = fwtest::ReadWindowPixels(thin);
  EXPECT_EQ(RingDifferences(shown, 0, Shadow()), 0);
  EXPECT_EQ(RingDifferences(shown, 1, RGB(255, 255, 255)), 0);

  DibSection dib = CreateDibSection(150, 22);
  fw::ScopedMemoryDc dc(CreateCompatibleDC(nullptr));
  fw::ScopedSelectObject select(dc.get(), dib.bitmap.get());
  {
    fw::ScopedBrush magenta(CreateSolidBrush(RGB(255, 0, 255)));
    RECT all{0, 0, 150, 22};
    FillRect(dc.get(), &all, magenta.get());
  }
  SendMessageA(thin, WM_PRINT, reinterpret_cast<WPARAM>(dc.get()), PRF_NONCLIENT);
  GdiFlush();
  const PixelBitmap printed = ReadDibPixels(dib);
  EXPECT_NE(printed.Pixel(0, 5) & 0xFFFFFF, Shadow());
  EXPECT_NE(printed.Pixel(1, 5) & 0xFFFFFF, 0xFFFFFFu);
}

TEST_F(EditSkinTest, AnEmbeddedSpinButtonGetsOneSkinnerOnTheFirstPaint) {
  TSpinRecorder::made = 0;
  RegisterSkinnerMaker(SkinnerKind::UpDown, [](fw::TComponent* o) -> TSkinControl* {
    ++TSpinRecorder::made;
    return new TSpinRecorder(o);
  });
  auto* edit = Add<fw::TEdit>(10, 10, 120, 24);
  HWND spin = CreateWindowExA(0, UPDOWN_CLASSA, "", WS_CHILD | WS_VISIBLE, 100, 0, 16, 18,
                              edit->Handle(), nullptr, nullptr, nullptr);
  ASSERT_NE(spin, nullptr);
  auto* s = SkinHandle<TSkinEdit>(edit->Handle());
  EXPECT_EQ(s->FUpDown, nullptr);
  Show();
  Repaint(edit->Handle());
  Repaint(edit->Handle());
  EXPECT_EQ(TSpinRecorder::made, 1);
  ASSERT_NE(s->FUpDown, nullptr);
  EXPECT_EQ(s->FUpDown->FHandle, spin);
  EXPECT_TRUE(static_cast<TSpinRecorder*>(s->FUpDown)->embedded);
  // The up-down skinner itself takes the mark through the base's hook.
  TSkinUpDown up_down(nullptr);
  static_cast<TSkinControl&>(up_down).SetEmbedded(true);
  EXPECT_TRUE(up_down.FEmbedded);
}

// ---- combo boxes ----

class ComboSkinTest : public EditSkinTest {
 protected:
  // The combo box as the skin draws it outside the text area, for state frame n.
  PixelBitmap Expected(int w, int h, int n, bool left) {
    PixelBitmap out(w, h);
    out.Fill(RGB(255, 0, 255));
    const ComboLayout l = LayoutCombo(w, h, GetSystemMetrics(SM_CXHSCROLL), left);
    const TDataSkinObject& edge = *data_->SunkEdge;
    skintest::PutElement(out, {0, 0, w, h}, edge, n, edge.FrameCount > 0 ? edge.FrameCount : 4,
                         edge.Tile != 0);
    const TDataSkinBorder& button = *data_->ComboButton;
    skintest::PutFrame(out, l.button, left ? button.Image2 : button.Image, n,
                       button.FrameCount > 0 ? button.FrameCount : 4);
    const TDataSkinObject& glyphs = *data_->ExtraImages;
    const int frames = glyphs.FrameCount > 0 ? glyphs.FrameCount : 5;
    skintest::PutFrame(
        out, CentreGlyph(l.glyph_area, glyphs.Image.Width() / frames, glyphs.Image.Height()),
        glyphs.Image, n, frames);
    // The text area is the control's own: left out of the comparison.
    for (int y = l.text.top; y < l.text.bottom; ++y)
      for (int x = l.text.left; x < l.text.right; ++x) out.SetPixel(x, y, RGB(255, 0, 255));
    return out;
  }
  int Differences(fw::TComboBox* combo, int n, bool left) {
    Repaint(combo->Handle());
    const PixelBitmap shown = fwtest::ReadWindowPixels(combo->Handle());
    return fwtest::CountDifferences(shown, 0, 0, Expected(shown.Width(), shown.Height(), n, left),
                                    true);
  }
  fw::TComboBox* AddCombo(int top, fw::TComboBoxStyle style) {
    auto* combo = Add<fw::TComboBox>(10, top, 150, 24);
    combo->SetStyle(style);
    fw::TStringList items;
    items.Add("one");
    items.Add("two");
    combo->SetItems(items);
    combo->SetItemIndex(0);
    return combo;
  }
  TSkinComBox* SkinCombo(fw::TComboBox* combo) {
    auto* s = new TSkinComBox(nullptr);
    s->AttachControl(combo, data_.get(), false, nullptr);
    skinners_.push_back(s);
    return s;
  }
};

TEST_F(ComboSkinTest, ClosedFocusedAndDisabledCombosShowTheirFrames) {
  fw::TComboBox* list = AddCombo(10, fw::csDropDownList);
  fw::TComboBox* drop = AddCombo(50, fw::csDropDown);
  fw::TEdit* other = Add<fw::TEdit>(250, 10, 100, 24);
  static skintest::PaintRecorder recorder;  // outlives the combo box, freed with the form
  recorder = {drop->WindowProc(), {}};
  drop->SetWindowProc(fw::TWndMethod::Of<&skintest::PaintRecorder::Proc>(&recorder));
  SkinCombo(list);
  SkinCombo(drop);
  Show();
  SetFocus(other->Handle());
  fwtest::PumpFor(30);
  EXPECT_EQ(Differences(list, 1, false), 0);
  EXPECT_EQ(Differences(drop, 1, false), 0);
  // The system's look is painted off screen, under the skin's, never on the screen.
  EXPECT_THAT(recorder.kinds,
              testing::AllOf(testing::Not(testing::IsEmpty()), testing::Each(OBJ_MEMDC)));
  SetFocus(list->Handle());
  fwtest::PumpFor(30);
  EXPECT_EQ(Differences(list, 4, false), 0);
  // A drop-down combo box is focused through its edit.
  SetFocus(drop->Handle());
  fwtest::PumpFor(30);
  EXPECT_EQ(Differences(drop, 4, false), 0);
  SetFocus(other->Handle());
  fwtest::PumpFor(30);
  EnableWindow(list->Handle(), FALSE);
  EXPECT_EQ(Differences(list, 3, false), 0);
  // Focus wins over the disabled frame.
  SetFocus(list->Handle());
  fwtest::PumpFor(30);
  if (GetFocus() == list->Handle()) {
    EXPECT_EQ(Differences(list, 4, false), 0);
  }
}

TEST_F(ComboSkinTest, RightToLeftCombosHaveTheMirroredButtonOnTheLeft) {
  fw::TComboBox* combo = AddCombo(10, fw::csDropDownList);
  fw::TEdit* other = Add<fw::TEdit>(250, 10, 100, 24);
  SetWindowLongPtrA(combo->Handle(), GWL_EXSTYLE,
                    GetWindowLongPtrA(combo->Handle(), GWL_EXSTYLE) | WS_EX_LEFTSCROLLBAR);
  SkinCombo(combo);
  Show();
  SetFocus(other->Handle());
  fwtest::PumpFor(30);
  EXPECT_EQ(Differences(combo, 1, true), 0);
  EXPECT_FALSE(data_->ComboButton->Image2.Empty());
  SetFocus(combo->Handle());
  fwtest::PumpFor(30);
  EXPECT_EQ(Differences(combo, 4, true), 0);
}

TEST_F(ComboSkinTest, PressingTheButtonShowsThePressedFrameAndTheListOpens) {
  fw::TComboBox* combo = AddCombo(10, fw::csDropDownList);
  TSkinComBox* s = SkinCombo(combo);
  Show();
  RECT w{};
  GetWindowRect(combo->Handle(), &w);
  fwtest::ClickAt(combo->Handle(), {w.right - w.left - 8, (w.bottom - w.top) / 2});
  fwtest::PumpFor(50);
  EXPECT_TRUE(SendMessageA(combo->Handle(), CB_GETDROPPEDSTATE, 0, 0));
  EXPECT_FALSE(s->Pressed());
  SendMessageA(combo->Handle(), CB_SHOWDROPDOWN, FALSE, 0);
  fwtest::PumpFor(30);
  s->FState |= kStatePressed;
  EXPECT_EQ(Differences(combo, 2, false), 0);
  s->FState = 0;
}

TEST_F(ComboSkinTest, MissingElementsLeaveTheControlsOwnLook) {
  fw::TComboBox* plain = AddCombo(10, fw::csDropDownList);
  fw::TComboBox* skinned = AddCombo(50, fw::csDropDownList);
  auto* elsewhere = Add<fw::TEdit>(300, 10, 100, 24);
  data_->SunkEdge.reset();
  SkinCombo(skinned);
  Show();
  SetFocus(elsewhere->Handle());
  fwtest::PumpFor(30);
  Repaint(plain->Handle());
  Repaint(skinned->Handle());
  EXPECT_EQ(fwtest::CountDifferences(fwtest::ReadWindowPixels(skinned->Handle()), 0, 0,
                                     fwtest::ReadWindowPixels(plain->Handle())),
            0);
}

// A simple combo box has no drop-down button: the skin draws nothing of one over it. Its
// text, which the focus's passing may have left selected, is the edit's own and not compared.
TEST_F(ComboSkinTest, ASimpleComboBoxKeepsItsOwnLook) {
  fw::TComboBox* plain = AddCombo(10, fw::csSimple);
  fw::TComboBox* skinned = AddCombo(100, fw::csSimple);
  plain->SetBounds(10, 10, 150, 80);
  skinned->SetBounds(10, 100, 150, 80);
  auto* elsewhere = Add<fw::TEdit>(300, 10, 100, 24);
  SkinCombo(skinned);
  Show();
  SetFocus(elsewhere->Handle());
  fwtest::PumpFor(30);
  Repaint(plain->Handle());
  Repaint(skinned->Handle());
  COMBOBOXINFO info{};
  info.cbSize = sizeof info;
  ASSERT_TRUE(GetComboBoxInfo(skinned->Handle(), &info));
  PixelBitmap expected = fwtest::ReadWindowPixels(plain->Handle());
  for (int y = info.rcItem.top; y < info.rcItem.bottom; ++y)
    for (int x = info.rcItem.left; x < info.rcItem.right; ++x)
      expected.SetPixel(x, y, RGB(255, 0, 255));
  EXPECT_EQ(
      fwtest::CountDifferences(fwtest::ReadWindowPixels(skinned->Handle()), 0, 0, expected, true),
      0);
}

}  // namespace
}  // namespace skin
