// The gallery form, created from its stored description as the program creates it: every
// control kind under its name, every page shown through clicks on its tab, the skin choices,
// the message box and the right-to-left switch.
#include <windows.h>
#include <commctrl.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <map>

#include "app/gallery/gallery_form.h"
#include "framework/handle_counts.h"
#include "skin/form/skin_form.h"
#include "skin/manager/skin_manager.h"
#include "tests/support/fw_test.h"
#include "tests/support/window_pixels.h"

namespace {

class GalleryTest : public fwtest::ApplicationTest {
 protected:
  void SetUp() override {
    ApplicationTest::SetUp();
    form_ = App().CreateForm(&GalleryForm);
  }
  void TearDown() override {
    GalleryForm = nullptr;
    ApplicationTest::TearDown();
  }
  void ShowForm() {
    form_->Show();
    fwtest::PumpFor(150);
  }
  void ClickTab(int index) {
    const RECT tab = form_->PageControl1->TabRect(index);
    fwtest::ClickAt(form_->PageControl1->Handle(),
                    {(tab.left + tab.right) / 2, (tab.top + tab.bottom) / 2});
  }
  template <class T>
  T* Find(const char* name) {
    return dynamic_cast<T*>(form_->FindComponent(name));
  }
  TGalleryForm* form_ = nullptr;
};

TEST_F(GalleryTest, EveryControlKindIsThereUnderItsName) {
  const std::pair<const char*, const char*> expected[] = {{"MetallicButton", "TButton"},
                                                          {"RightToLeftCheck", "TCheckBox"},
                                                          {"PageControl1", "TPageControl"},
                                                          {"ButtonsSheet", "TTabSheet"},
                                                          {"BitBtnOk", "TBitBtn"},
                                                          {"SpeedLeft", "TSpeedButton"},
                                                          {"SpeedFlat", "TSpeedButton"},
                                                          {"CheckBox2", "TCheckBox"},
                                                          {"RadioButton1", "TRadioButton"},
                                                          {"GroupBox1", "TGroupBox"},
                                                          {"RadioGroup1", "TRadioGroup"},
                                                          {"Edit1", "TEdit"},
                                                          {"Memo1", "TMemo"},
                                                          {"ComboDropDown", "TComboBox"},
                                                          {"ComboList", "TComboBox"},
                                                          {"ComboSimple", "TComboBox"},
                                                          {"ListBox1", "TListBox"},
                                                          {"RichEdit1", "TRichEdit"},
                                                          {"DateTimePicker1", "TDateTimePicker"},
                                                          {"ScrollBarH", "TScrollBar"},
                                                          {"ScrollBarV", "TScrollBar"},
                                                          {"ScrollBox1", "TScrollBox"},
                                                          {"TabControl1", "TTabControl"},
                                                          {"TabControlBottom", "TTabControl"},
                                                          {"TabControlLeft", "TTabControl"},
                                                          {"TabSet1", "TTabSet"},
                                                          {"ListView1", "TListView"},
                                                          {"NameColumn", "TListColumn"},
                                                          {"ToolBar1", "TToolBar"},
                                                          {"ToolNew", "TToolButton"},
                                                          {"ProgressBar1", "TProgressBar"},
                                                          {"ProgressVertical", "TProgressBar"},
                                                          {"TrackBar1", "TTrackBar"},
                                                          {"TrackVertical", "TTrackBar"},
                                                          {"UpDown1", "TUpDown"},
                                                          {"UpDownHorizontal", "TUpDown"},
                                                          {"Panel1", "TPanel"},
                                                          {"StatusBar1", "TStatusBar"},
                                                          {"SkinPanel", "TStatusPanel"},
                                                          {"SkinData1", "TSkinData"},
                                                          {"ClickLabel", "TLabel"}};
  for (const auto& [name, class_name] : expected) {
    fw::TComponent* c = form_->FindComponent(name);
    ASSERT_NE(c, nullptr) << name;
    EXPECT_EQ(c->ClassName(), class_name) << name;
  }
  EXPECT_EQ(form_->PageControl1->PageCount(), 6);
  EXPECT_EQ(form_->SkinData1->NoSkinLoaded, false);  // the metallic skin came with the form
  EXPECT_EQ(Find<fw::TUpDown>("UpDown1")->Associate(), Find<fw::TEdit>("UpDownEdit"));
  EXPECT_FALSE(form_->BitBtnGlyph->Glyph().Empty());  // drawn by OnCreate
  EXPECT_EQ(form_->SpeedLeft->NumGlyphs(), 2);
}

TEST_F(GalleryTest, EveryPageShowsItsControlsWhenItsTabIsClicked) {
  ShowForm();
  fw::TPageControl* pages = form_->PageControl1;
  // Visit the pages in reverse so that each is a change.
  for (int i = pages->PageCount() - 1; i >= 0; --i) {
    ClickTab(i);
    fw::TTabSheet* page = pages->Pages(i);
    ASSERT_EQ(pages->ActivePage(), page) << i;
    EXPECT_EQ(form_->PagePanel->Text(), page->Caption());
    EXPECT_TRUE(IsWindowVisible(page->Handle())) << page->Name();
    for (int other = 0; other < pages->PageCount(); ++other) {
      if (other != i) {
        EXPECT_FALSE(IsWindowVisible(pages->Pages(other)->Handle()));
      }
    }
    // Every windowed control of the page has a visible window inside the page.
    std::function<void(fw::TWinControl*)> check = [&](fw::TWinControl* parent) {
      for (fw::TControl* c : parent->ControlList()) {
        auto* win = dynamic_cast<fw::TWinControl*>(c);
        if (!win || !win->Visible()) continue;
        EXPECT_TRUE(IsWindowVisible(win->Handle())) << win->Name();
        RECT r;
        GetWindowRect(win->Handle(), &r);
        EXPECT_GT(r.right - r.left, 0) << win->Name();
        check(win);
      }
    };
    check(page);
    // Painted: the page's pixels are not all one colour.
    UpdateWindow(form_->Handle());
    fw::ScopedGetDc dc(page->Handle());
    const COLORREF first = GetPixel(dc.get(), 20, 20);
    bool varied = false;
    for (int y = 10; y < 200 && !varied; y += 3)
      for (int x = 10; x < 400 && !varied; x += 3) varied = GetPixel(dc.get(), x, y) != first;
    EXPECT_TRUE(varied) << page->Name();
  }
}

TEST_F(GalleryTest, PageHandlersRespondToInput) {
  ShowForm();
  fw::TButton* button = Find<fw::TButton>("Button1");
  fwtest::ClickAt(button->Handle(), {10, 10});
  EXPECT_EQ(form_->Clicks(), 1);
  EXPECT_EQ(form_->ClickLabel->Caption(), "Clicks: 1");
  // The speed buttons of group 1 latch one at a time.
  fwtest::ClickAt(Find<fw::TTabSheet>("ButtonsSheet")->Handle(),
                  {form_->SpeedRight->Left() + 5, form_->SpeedRight->Top() + 5});
  EXPECT_TRUE(form_->SpeedRight->Down());
  EXPECT_FALSE(form_->SpeedLeft->Down());
  // Bars page: the track bar drives the progress bar.
  ClickTab(5);
  form_->TrackBar1->SetFocus();
  fwtest::PressKey(VK_END);
  EXPECT_EQ(form_->TrackBar1->Position(), 100);
  EXPECT_EQ(form_->ProgressBar1->Position(), 100);
  // Scrolling page: the bar's position shows in the label.
  ClickTab(3);
  const int arrow = GetSystemMetrics(SM_CXHSCROLL);
  fwtest::ClickAt(form_->ScrollBarH->Handle(), {form_->ScrollBarH->Width() - arrow / 2, 8});
  EXPECT_EQ(form_->ScrollBarH->Position(), 1);
  EXPECT_EQ(form_->ScrollLabel->Caption(), "Position: 1");
}

TEST_F(GalleryTest, SkinChoicesSwitchTheSkinData) {
  ShowForm();
  skin::TSkinData* data = form_->SkinData1;
  EXPECT_TRUE(data->Active());
  fwtest::ClickAt(form_->DarkButton->Handle(), {10, 10});
  EXPECT_FALSE(data->NoSkinLoaded);
  EXPECT_EQ(form_->SkinPanel->Text(), "Skin: dark");
  fwtest::ClickAt(form_->NoSkinButton->Handle(), {10, 10});
  EXPECT_FALSE(data->Active());
  EXPECT_EQ(form_->SkinPanel->Text(), "Skin: none");
  fwtest::ClickAt(form_->MetallicButton->Handle(), {10, 10});
  EXPECT_TRUE(data->Active());
  EXPECT_EQ(form_->SkinPanel->Text(), "Skin: metallic");
  // A resource or file that holds no skin changes nothing visible.
  EXPECT_FALSE(form_->UseBuiltInSkin("NO_SUCH_SKIN", "none"));
  EXPECT_FALSE(form_->UseSkinFile("C:\\no\\such\\file.skn"));
  EXPECT_EQ(form_->SkinPanel->Text(), "Skin: metallic");
  // Let the manager's deferred work run before the form goes.
  fwtest::PumpFor(400);
}

// The skin's menu bar replaces the native one in the frame: the client keeps the size it had
// unskinned, and the bottom-aligned status bar stays at its bottom, after every switch. The
// list box takes each skin's face colour, and captions on the face its text colour.
TEST_F(GalleryTest, AfterEverySwitchSizesAndColoursFollowTheSkin) {
  ShowForm();
  auto* list = Find<fw::TListBox>("ListBox1");
  ASSERT_NE(list, nullptr);
  const auto check = [&](const char* state) {
    // Captions on the face take the skin's text colour, readable on it (WCAG's 4.5:1).
    const skin::TSkinData& data = *form_->SkinData1;
    const fw::TColor text =
        data.Active() ? static_cast<fw::TColor>(data.ButtonText) : fw::clWindowText;
    for (const char* name : {"SkinLabel", "CheckBox1", "ClickLabel"})
      EXPECT_EQ(Find<fw::TControl>(name)->Font().Color(), text) << state << " " << name;
    // Text on a background of its own keeps its colour, whatever its parent's font takes.
    for (const char* name : {"Edit1", "Memo1", "ComboList"})
      EXPECT_EQ(Find<fw::TControl>(name)->Font().Color(), fw::clWindowText) << state << " " << name;
    if (data.Active()) {
      EXPECT_EQ(list->Color(), static_cast<fw::TColor>(data.ButtonFace)) << state;
      EXPECT_GE(fwtest::ContrastRatio(fw::ColorToRGB(text),
                                      fw::ColorToRGB(static_cast<fw::TColor>(data.ButtonFace))),
                4.5)
          << state;
    }
    RECT client{};
    GetClientRect(form_->Handle(), &client);
    EXPECT_EQ(client.right, 640) << state;
    EXPECT_EQ(client.bottom, 496) << state;
    EXPECT_EQ(form_->StatusBar1->Top() + form_->StatusBar1->Height(), client.bottom) << state;
  };
  const auto switched = [] {
    fwtest::PumpUntil([] { return !skin::SkinManager->HasPendingWork(); });
  };
  ASSERT_TRUE(fwtest::PumpUntil([&] { return skin::SkinFormOfWindow(form_->Handle()); }));
  check("skinned");
  form_->UseNoSkin();
  switched();
  check("unskinned");
  form_->UseBuiltInSkin(kDarkSkinResource, "dark");
  switched();
  check("dark");
}

TEST_F(GalleryTest, MessageButtonOpensAMessageBox) {
  ShowForm();
  fwtest::MessageBoxRecorder boxes;
  fwtest::ClickAt(form_->MessageButton->Handle(), {10, 10});
  fwtest::PumpUntil([&] { return !boxes.Boxes().empty(); }, 3000);
  ASSERT_EQ(boxes.Boxes().size(), 1u);
  EXPECT_EQ(boxes.Boxes()[0].caption, "Gallery");
  EXPECT_THAT(boxes.Boxes()[0].text, testing::HasSubstr("message box"));
}

TEST_F(GalleryTest, RightToLeftSwitchMirrorsTheWholeForm) {
  ShowForm();
  HWND before = form_->Handle();
  fwtest::ClickAt(form_->RightToLeftCheck->Handle(), {6, 8});
  ASSERT_TRUE(fwtest::PumpUntil([&] { return form_->RightToLeft(); }, 2000));
  EXPECT_NE(form_->Handle(), before);
  EXPECT_TRUE(GetWindowLongA(form_->Handle(), GWL_EXSTYLE) & WS_EX_LAYOUTRTL);
  EXPECT_TRUE(form_->RightToLeftCheck->Checked());
  EXPECT_TRUE(IsWindowVisible(form_->Handle()));
  // The controls came back with the form: the page control has its tabs, the status bar
  // its panels, and the mirrored child windows inherit the layout.
  EXPECT_EQ(SendMessageA(form_->PageControl1->Handle(), TCM_GETITEMCOUNT, 0, 0), 6);
  EXPECT_EQ(SendMessageA(form_->StatusBar1->Handle(), SB_GETPARTS, 0, 0), 3);
  EXPECT_TRUE(GetWindowLongA(form_->PageControl1->Handle(), GWL_EXSTYLE) & WS_EX_LAYOUTRTL);
  fwtest::ClickAt(form_->RightToLeftCheck->Handle(), {6, 8});
  ASSERT_TRUE(fwtest::PumpUntil([&] { return !form_->RightToLeft(); }, 2000));
  EXPECT_FALSE(GetWindowLongA(form_->Handle(), GWL_EXSTYLE) & WS_EX_LAYOUTRTL);
  fwtest::PumpFor(400);
}

// The text of a picture as a crop of its ink: pixels inside `inset` whose brightness is
// far from their row's middle one (a face's gradient runs down, text across).
std::vector<std::vector<bool>> InkCrop(const skin::PixelBitmap& p, int inset) {
  const auto luma = [&](int x, int y) {
    const uint32_t c = p.Pixel(x, y);
    return int((c >> 16) & 0xFF) * 3 + int((c >> 8) & 0xFF) * 6 + int(c & 0xFF);
  };
  std::vector<std::vector<bool>> ink(size_t(std::max(p.Height(), 0)),
                                     std::vector<bool>(size_t(std::max(p.Width(), 0))));
  int left = p.Width(), right = -1, top = p.Height(), bottom = -1;
  for (int y = inset; y < p.Height() - inset; ++y) {
    std::vector<int> row;
    for (int x = inset; x < p.Width() - inset; ++x) row.push_back(luma(x, y));
    if (row.empty()) continue;
    std::nth_element(row.begin(), row.begin() + row.size() / 2, row.end());
    for (int x = inset; x < p.Width() - inset; ++x) {
      if (std::abs(luma(x, y) - row[row.size() / 2]) < 500) continue;
      ink[size_t(y)][size_t(x)] = true;
      left = std::min(left, x), right = std::max(right, x);
      top = std::min(top, y), bottom = std::max(bottom, y);
    }
  }
  std::vector<std::vector<bool>> crop;
  for (int y = top; y <= bottom; ++y)
    crop.emplace_back(ink[size_t(y)].begin() + left, ink[size_t(y)].begin() + right + 1);
  return crop;
}

// Pixels where two ink crops differ, the second flipped left to right when `flipped`;
// -1 when their sizes differ.
int InkDifferences(const std::vector<std::vector<bool>>& a, const std::vector<std::vector<bool>>& b,
                   bool flipped) {
  if (a.size() != b.size() || a.empty() || a[0].size() != b[0].size()) return -1;
  int n = 0;
  for (size_t y = 0; y < a.size(); ++y)
    for (size_t x = 0; x < a[y].size(); ++x)
      n += a[y][x] != b[y][flipped ? a[y].size() - 1 - x : x];
  return n;
}

TEST_F(GalleryTest, RightToLeftCaptionsReadAsTheyDoLeftToRight) {
  ShowForm();
  ASSERT_TRUE(fwtest::PumpUntil([&] { return skin::SkinFormOfWindow(form_->Handle()); }));
  fwtest::PumpFor(300);
  const auto read = [&](fw::TWinControl* control, int inset) {
    return InkCrop(fwtest::ReadScreenPixels(control->Handle()), inset);
  };
  const auto ltr_button = read(form_->MetallicButton, 4);
  form_->SetRightToLeft(true);
  ASSERT_TRUE(fwtest::PumpUntil([&] { return skin::SkinFormOfWindow(form_->Handle()); }));
  fwtest::PumpFor(400);
  const auto rtl_button = read(form_->MetallicButton, 4);
  const int as_is = InkDifferences(rtl_button, ltr_button, false);
  ASSERT_GE(as_is, 0) << "the caption's size changed";
  EXPECT_LT(as_is * 3, InkDifferences(rtl_button, ltr_button, true));
  form_->SetRightToLeft(false);
  fwtest::PumpFor(300);
}

TEST_F(GalleryTest, MenusCarryTheSkinChoices) {
  ShowForm();
  ASSERT_NE(form_->MainMenu1, nullptr);
  // (The skinned frame draws the menu bar itself, so the window need not carry it.)
  EXPECT_EQ(form_->Menu(), form_->MainMenu1);
  EXPECT_EQ(GetMenuItemCount(form_->MainMenu1->Handle()), 4);
  EXPECT_EQ(form_->PopupMenu(), form_->PopupMenu1);
  // A menu command as the window gets it when the item is chosen.
  auto* dark = Find<fw::TMenuItem>("DarkItem");
  ASSERT_NE(dark, nullptr);
  SendMessageA(form_->Handle(), WM_COMMAND, MAKEWPARAM(dark->Command(), 0), 0);
  EXPECT_EQ(form_->SkinPanel->Text(), "Skin: dark");
  Find<fw::TMenuItem>("PopupNoSkin")->Click();  // what choosing it in the popup does
  EXPECT_FALSE(form_->SkinData1->Active());
  fwtest::PumpFor(400);
}

}  // namespace

namespace {

BOOL CALLBACK AddWindowProcedure(HWND child, LPARAM out) {
  (*reinterpret_cast<std::map<HWND, LONG_PTR>*>(out))[child] =
      GetWindowLongPtrA(child, GWLP_WNDPROC);
  return TRUE;
}

// The window procedure of the form and of every window inside it.
std::map<HWND, LONG_PTR> WindowProcedures(HWND top) {
  std::map<HWND, LONG_PTR> procs{{top, GetWindowLongPtrA(top, GWLP_WNDPROC)}};
  EnumChildWindows(top, AddWindowProcedure, reinterpret_cast<LPARAM>(&procs));
  return procs;
}

}  // namespace

// Skin on, skin off, many times over, with both built-in skins: every round ends with the
// same handles alive and every window procedure given back. GALLERY_SKIN_ROUNDS sets the
// number of rounds (the long run uses 1,000).
TEST_F(GalleryTest, SkinningTheWholeGalleryOnAndOffEndsWhereItStarted) {
  ShowForm();
  const char* env = std::getenv("GALLERY_SKIN_ROUNDS");
  const int rounds = env ? std::max(1, std::atoi(env)) : 25;
  skin::TSkinData* data = form_->SkinData1;
  // The skin data's switch is carried out by the manager a moment later; the test runs
  // it at once.
  const auto run_switch = [] {
    if (skin::SkinManager) skin::SkinManager->RunPendingAction();
  };
  const auto skinned = [&] {
    skin::TSkinForm* c = skin::SkinFormOfWindow(form_->Handle());
    return c && c->LifeState == skin::LifeReady;
  };
  const auto round_trip = [&](int round) {
    form_->UseNoSkin();
    run_switch();
    EXPECT_EQ(skin::SkinFormOfWindow(form_->Handle()), nullptr) << "round " << round;
    if (round % 10 == 5) {
      form_->UseBuiltInSkin(kDarkSkinResource, "dark");
    } else if (round % 10 == 0) {
      form_->UseBuiltInSkin(kMetallicSkinResource, "metallic");
    } else {
      data->SetActive(true);
    }
    run_switch();
    ASSERT_TRUE(fwtest::PumpUntil(skinned, 3000)) << "round " << round;
    RedrawWindow(form_->Handle(), nullptr, nullptr,
                 RDW_FRAME | RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  };
  // Whatever an earlier test left the process-wide manager with (an earlier form's "no
  // skin" switches it off), start skinned.
  form_->UseBuiltInSkin(kMetallicSkinResource, "metallic");
  data->SetActive(false);
  run_switch();
  data->SetActive(true);
  run_switch();
  ASSERT_TRUE(fwtest::PumpUntil(skinned, 5000))
      << "controller " << skin::SkinFormOfWindow(form_->Handle()) << " manager active "
      << (skin::SkinManager ? skin::SkinManager->Active : -1) << " data active " << data->Active()
      << " no skin " << data->NoSkinLoaded;
  form_->UseNoSkin();
  run_switch();
  const std::map<HWND, LONG_PTR> unskinned = WindowProcedures(form_->Handle());
  round_trip(0);  // the first skinning makes what lives as long as the skin data
  form_->UseNoSkin();
  run_switch();
  fwtest::PumpFor(300);
  const fw::HandleSnapshot before = fw::LiveHandleSnapshot();
  for (int round = 1; round <= rounds && !HasFatalFailure(); ++round) round_trip(round);
  form_->UseBuiltInSkin(kMetallicSkinResource, "metallic");
  run_switch();
  fwtest::PumpUntil(skinned, 3000);
  form_->UseNoSkin();
  run_switch();
  fwtest::PumpFor(300);
  EXPECT_EQ(fw::LiveHandleSnapshot().DifferenceFrom(before), "");
  EXPECT_EQ(WindowProcedures(form_->Handle()), unskinned);
}
