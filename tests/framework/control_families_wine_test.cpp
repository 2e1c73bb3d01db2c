// The framework's control families on real windows: class names, properties through a form
// description and back, and behaviour under real mouse and keyboard input.
#include <windows.h>
#include <commctrl.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "framework/application.h"
#include "framework/buttons.h"
#include "framework/comctrls.h"
#include "framework/date_time_picker.h"
#include "framework/ext_ctrls.h"
#include "framework/form_reader.h"
#include "framework/list_view.h"
#include "framework/rich_edit.h"
#include "framework/tool_bar.h"
#include "tests/support/fw_test.h"

namespace {

using testing::ElementsAre;

std::string ClassOf(HWND hwnd) {
  char name[100] = {};
  GetClassNameA(hwnd, name, sizeof name);
  return name;
}

RECT ClientOf(HWND hwnd) {
  RECT r;
  GetClientRect(hwnd, &r);
  return r;
}

class TFamilyForm : public fw::TForm {
  FW_CLASS_INFO()
 public:
  explicit TFamilyForm(fw::TComponent* owner) : TForm(owner) {}
};

const fw::TClassInfo& TFamilyForm::StaticClassInfo() {
  static const fw::TClassInfo info =
      fw::DescribeClass<TFamilyForm, fw::TForm>("TFamilyForm", [](auto&) {});
  return info;
}

class FamiliesTest : public fwtest::ApplicationTest {
 protected:
  void SetUp() override {
    ApplicationTest::SetUp();
    form_ = new TFamilyForm(&App());
    form_->SetBounds(60, 60, 560, 420);
    form_->SetPosition(fw::poDesigned);
  }
  template <class T>
  T* Add(int left, int top, int width, int height, fw::TWinControl* parent = nullptr) {
    auto* c = new T(form_);
    c->SetParent(parent ? parent : form_);
    c->SetBounds(left, top, width, height);
    return c;
  }
  void ShowForm() {
    form_->Show();
    fwtest::PumpFor(100);
  }
  template <class T>
  T* Find(const char* name) {
    return dynamic_cast<T*>(form_->FindComponent(name));
  }
  TFamilyForm* form_ = nullptr;
};

TEST_F(FamiliesTest, WindowsCarryTheFrameworkClassNames) {
  auto* list = Add<fw::TListBox>(10, 10, 100, 60);
  auto* bit = Add<fw::TBitBtn>(10, 80, 90, 28);
  auto* pages = Add<fw::TPageControl>(120, 10, 200, 120);
  auto* sheet = new fw::TTabSheet(form_);
  sheet->SetParent(pages);
  auto* tabset = Add<fw::TTabSet>(10, 140, 200, 21);
  auto* radios = Add<fw::TRadioGroup>(330, 10, 150, 80);
  radios->SetItems({"a", "b"});
  auto* box = Add<fw::TScrollBox>(330, 100, 150, 80);
  auto* tools = Add<fw::TToolBar>(10, 170, 300, 28);
  auto* view = Add<fw::TListView>(10, 210, 200, 80);
  view->SetViewStyle(fw::vsReport);
  auto* rich = Add<fw::TRichEdit>(220, 210, 150, 80);
  auto* picker = Add<fw::TDateTimePicker>(380, 210, 150, 24);
  auto* speed = Add<fw::TSpeedButton>(220, 140, 25, 25);
  EXPECT_EQ(ClassOf(list->Handle()), "TListBox");
  EXPECT_EQ(ClassOf(bit->Handle()), "TBitBtn");
  EXPECT_EQ(ClassOf(pages->Handle()), "TPageControl");
  EXPECT_EQ(ClassOf(sheet->Handle()), "TTabSheet");
  EXPECT_EQ(ClassOf(tabset->Handle()), "TTabSet");
  EXPECT_EQ(ClassOf(radios->Handle()), "TRadioGroup");
  EXPECT_EQ(ClassOf(radios->Buttons(0)->Handle()), "TRadioButton");
  EXPECT_EQ(ClassOf(box->Handle()), "TScrollBox");
  EXPECT_EQ(ClassOf(tools->Handle()), "TToolBar");
  EXPECT_EQ(ClassOf(view->Handle()), "TListView");
  EXPECT_EQ(ClassOf(rich->Handle()), "TRichEdit");
  EXPECT_EQ(ClassOf(picker->Handle()), "TDateTimePicker");
  EXPECT_EQ(ClassOf(GetParent(sheet->Handle())), "TPageControl");
  // Superclassed: the system behaviour is there (a list box counts its items, the page
  // control has a tab per page, the bitmap button is owner-drawn).
  list->SetItems({"x", "y", "z"});
  EXPECT_EQ(SendMessageA(list->Handle(), LB_GETCOUNT, 0, 0), 3);
  EXPECT_EQ(SendMessageA(pages->Handle(), TCM_GETITEMCOUNT, 0, 0), 1);
  EXPECT_EQ(GetWindowLongA(bit->Handle(), GWL_STYLE) & BS_TYPEMASK, BS_OWNERDRAW);
  // The tab set's first owned component is its scroll button, a horizontal up-down.
  EXPECT_EQ(tabset->Components(0), tabset->Scroller());
  EXPECT_TRUE(GetWindowLongA(tabset->Scroller()->Handle(), GWL_STYLE) & UDS_HORZ);
  // Windowless controls have no window of their own; a list view has a header.
  EXPECT_FALSE(dynamic_cast<fw::TWinControl*>(static_cast<fw::TControl*>(speed)));
  EXPECT_EQ(ClassOf(view->HeaderHandle()), "SysHeader32");
}

// Every property this file's controls publish, set to a value other than the default.
const char kDescription[] = R"(object FamilyForm: TFamilyForm
  Left = 60
  Top = 60
  object Check: TCheckBox
    Alignment = taLeftJustify
    AllowGrayed = True
    State = cbGrayed
  end
  object Combo: TComboBox
    DropDownCount = 4
    Style = csDropDownList
    Items.Strings = ('one' 'two')
    ItemIndex = 1
  end
  object List: TListBox
    Items.Strings = ('a' 'b' 'c')
    ItemIndex = 2
    Sorted = True
  end
  object Bit: TBitBtn
    Kind = bkCancel
    Layout = blGlyphBottom
    Margin = 3
    NumGlyphs = 2
    Spacing = 7
    Glyph.Data = {
      4E000000424D4E000000000000003600000028000000030000000200000001001800000000001800
      0000130B0000130B00000000000000000000FF00FF0A0B0C0D0E0F000000FF00FF01020304050600
      0000}
  end
  object Speed: TSpeedButton
    AllowAllUp = True
    GroupIndex = 3
    Down = True
    Flat = True
    Layout = blGlyphRight
    NumGlyphs = 1
  end
  object Radios: TRadioGroup
    Columns = 2
    Items.Strings = ('n' 's' 'e')
    ItemIndex = 2
  end
  object Box: TScrollBox
    AutoScroll = False
    BorderStyle = bsNone
  end
  object Tabs: TTabSet
    EndMargin = 9
    StartMargin = 8
    Tabs.Strings = ('t1' 't2')
    TabIndex = 1
  end
  object Pages: TPageControl
    ActivePage = Second
    MultiLine = True
    TabPosition = tpBottom
    object First: TTabSheet
      Caption = 'First'
    end
    object Second: TTabSheet
      Caption = 'Second'
    end
  end
  object TabCtl: TTabControl
    TabPosition = tpRight
    Tabs.Strings = ('p' 'q')
    TabIndex = 1
  end
  object Progress: TProgressBar
    Max = 50
    Position = 20
    Orientation = pbVertical
    Smooth = True
    Step = 5
  end
  object Track: TTrackBar
    Frequency = 5
    Orientation = trVertical
    PageSize = 4
    TickMarks = tmBoth
    TickStyle = tsNone
  end
  object Edit: TEdit
    Text = '7'
  end
  object Spin: TUpDown
    Associate = Edit
    AlignButton = udLeft
    Increment = 2
    Max = 30
    Position = 7
    Orientation = udHorizontal
    Wrap = True
  end
  object Bar: TScrollBar
    Kind = sbVertical
    LargeChange = 9
    Max = 90
    PageSize = 10
    Position = 33
    SmallChange = 3
  end
  object Status: TStatusBar
    SimplePanel = True
    SimpleText = 'simple'
    SizeGrip = False
    object Panel0: TStatusPanel
      Alignment = taCenter
      Bevel = pbRaised
      RightToLeft = True
      Text = 'zero'
      Width = 70
    end
  end
  object View: TListView
    GridLines = True
    Items.Strings = ('a|1' 'b|2')
    ItemIndex = 1
    RowSelect = True
    ViewStyle = vsReport
    object Column0: TListColumn
      Alignment = taRightJustify
      Caption = 'Name'
      Width = 77
    end
  end
  object Tools: TToolBar
    ButtonHeight = 24
    ButtonWidth = 50
    Flat = True
    ShowCaptions = False
    object Tool0: TToolButton
      Grouped = True
      Style = tbsCheck
      Down = True
    end
  end
  object Rich: TRichEdit
    PlainText = True
    Lines.Strings = ('rich')
  end
  object Picker: TDateTimePicker
    Date = '2024-02-29'
    DateMode = dmUpDown
    Kind = dtkTime
    Time = '23:59:58'
  end
end
)";

TEST_F(FamiliesTest, PublishedPropertiesRoundTripThroughADescription) {
  fw::ReadComponentFromText(*form_, kDescription);
  auto* check = Find<fw::TCheckBox>("Check");
  ASSERT_NE(check, nullptr);
  EXPECT_EQ(check->State(), fw::cbGrayed);
  EXPECT_EQ(Find<fw::TComboBox>("Combo")->ItemIndex(), 1);
  auto* bit = Find<fw::TBitBtn>("Bit");
  EXPECT_EQ(bit->Caption(), "Cancel");
  EXPECT_EQ(bit->ModalResult(), fw::mrCancel);
  EXPECT_EQ(bit->Glyph().Width(), 3);
  EXPECT_EQ(bit->Glyph().Height(), 2);
  EXPECT_TRUE(Find<fw::TSpeedButton>("Speed")->Down());
  EXPECT_EQ(Find<fw::TRadioGroup>("Radios")->ButtonCount(), 3);
  auto* pages = Find<fw::TPageControl>("Pages");
  EXPECT_EQ(pages->PageCount(), 2);
  EXPECT_EQ(pages->ActivePage(), Find<fw::TTabSheet>("Second"));
  EXPECT_EQ(Find<fw::TUpDown>("Spin")->Associate(), Find<fw::TEdit>("Edit"));
  EXPECT_EQ(Find<fw::TStatusBar>("Status")->Panels().size(), 1u);
  EXPECT_EQ(Find<fw::TListView>("View")->Columns().size(), 1u);
  EXPECT_EQ(Find<fw::TToolBar>("Tools")->ButtonCount(), 1);
  EXPECT_EQ(Find<fw::TDateTimePicker>("Picker")->Date(), "2024-02-29");

  // Written back (before and after the windows exist) and read into a second form, the
  // description is the same.
  const std::string written = fw::WriteComponentToText(*form_);
  for (const char* property : {"State = cbGrayed",
                               "AllowGrayed = True",
                               "Alignment = taLeftJustify",
                               "Style = csDropDownList",
                               "Kind = bkCancel",
                               "Layout = blGlyphBottom",
                               "Glyph.Data",
                               "GroupIndex = 3",
                               "Flat = True",
                               "Columns = 2",
                               "BorderStyle = bsNone",
                               "StartMargin = 8",
                               "ActivePage = Second",
                               "TabPosition = tpBottom",
                               "TabPosition = tpRight",
                               "Orientation = pbVertical",
                               "Smooth = True",
                               "Orientation = trVertical",
                               "TickStyle = tsNone",
                               "Associate = Edit",
                               "Orientation = udHorizontal",
                               "Kind = sbVertical",
                               "PageSize = 10",
                               "SimplePanel = True",
                               "SizeGrip = False",
                               "Bevel = pbRaised",
                               "ViewStyle = vsReport",
                               "object Column0: TListColumn",
                               "object Panel0: TStatusPanel",
                               "Style = tbsCheck",
                               "ShowCaptions = False",
                               "PlainText = True",
                               "Kind = dtkTime",
                               "Time = '23:59:58'",
                               "DateMode = dmUpDown"})
    EXPECT_THAT(written, testing::HasSubstr(property));
  auto copy = std::make_unique<TFamilyForm>(nullptr);
  fw::ReadComponentFromText(*copy, written);
  EXPECT_EQ(fw::WriteComponentToText(*copy), written);
  // With windows, the values come from them and are the same (bounds aside, which the
  // windows lay out).
  ShowForm();
  const std::string shown = fw::WriteComponentToText(*form_);
  for (const char* property :
       {"State = cbGrayed", "ItemIndex = 1", "Text = 'two'", "ItemIndex = 2", "ActivePage = Second",
        "Position = 33", "Position = 7", "Caption = 'Cancel'", "Date = '2024-02-29'",
        "Time = '23:59:58'", "Down = True",
        "Caption = ''\n    Color = clBtnFace\n    Enabled = True\n    ParentColor = False\n    "
        "ParentFont = True\n    Visible = True\n    Align = alBottom\n    TabOrder = -1\n    "
        "TabStop = False\n    "
        "SimplePanel"})
    EXPECT_THAT(shown, testing::HasSubstr(property));
  // The glyph's pixels survive the trip: bottom-left magenta, top-right (12, 11, 10).
  auto* copied_bit = dynamic_cast<fw::TBitBtn*>(copy->FindComponent("Bit"));
  ASSERT_NE(copied_bit, nullptr);
  EXPECT_EQ(copied_bit->Glyph().Canvas().Pixel(0, 1), RGB(255, 0, 255));
  EXPECT_EQ(copied_bit->Glyph().Canvas().Pixel(2, 0), RGB(6, 5, 4));
}

TEST_F(FamiliesTest, DamagedGlyphDataIsAReadErrorNotACrash) {
  const char* damaged[] = {
      // The count runs past the block.
      "object F: TFamilyForm\n object B: TBitBtn\n Glyph.Data = { FF000000 424D }\n end\nend\n",
      // A bitmap whose rows are missing.
      "object F: TFamilyForm\n object B: TBitBtn\n Glyph.Data = {\n"
      " 36000000424D4E00000000000000360000002800000003000000020000000100180000000000\n"
      " 18000000130B0000130B00000000000000000000 }\n end\nend\n"};
  for (const char* text : damaged) {
    auto* form = new TFamilyForm(&App());
    EXPECT_THROW(fw::ReadComponentFromText(*form, text), fw::EReadError) << text;
    delete form;
  }
}

TEST_F(FamiliesTest, CheckBoxClicksCycleThroughItsStates) {
  auto* check = Add<fw::TCheckBox>(20, 20, 150, 20);
  check->SetCaption("three states");
  check->SetAllowGrayed(true);
  int clicks = 0;
  check->OnClick = [&](fw::TObject*) { ++clicks; };
  ShowForm();
  std::vector<fw::TCheckBoxState> states;
  for (int i = 0; i < 3; ++i) {
    fwtest::ClickAt(check->Handle(), {6, 10});
    states.push_back(check->State());
  }
  EXPECT_THAT(states, ElementsAre(fw::cbChecked, fw::cbGrayed, fw::cbUnchecked));
  EXPECT_EQ(clicks, 3);
  // Two states again: a click on a checked box unchecks it; Checked is the same state.
  check->SetAllowGrayed(false);
  check->SetChecked(true);
  fwtest::ClickAt(check->Handle(), {6, 10});
  EXPECT_FALSE(check->Checked());
  EXPECT_EQ(check->State(), fw::cbUnchecked);
  // Text on the left: the window style follows the alignment.
  check->SetAlignment(fw::taLeftJustify);
  EXPECT_TRUE(GetWindowLongA(check->Handle(), GWL_STYLE) & BS_LEFTTEXT);
}

TEST_F(FamiliesTest, RadioGroupButtonsSetItemIndexWhenClicked) {
  auto* group = Add<fw::TRadioGroup>(20, 20, 240, 100);
  group->SetCaption("group");
  group->SetColumns(2);
  group->SetItems({"north", "south", "east", "west"});
  group->SetItemIndex(0);
  int clicks = 0;
  group->OnClick = [&](fw::TObject* s) {
    EXPECT_EQ(s, group);
    ++clicks;
  };
  ShowForm();
  // Two columns, two rows: "east" is the first of the second column.
  fw::TRadioButton* east = group->Buttons(2);
  EXPECT_GT(east->Left(), group->Buttons(1)->Left());
  EXPECT_EQ(east->Top(), group->Buttons(0)->Top());
  fwtest::ClickAt(east->Handle(), {6, east->Height() / 2});
  EXPECT_EQ(group->ItemIndex(), 2);
  EXPECT_EQ(clicks, 1);
  EXPECT_TRUE(east->Checked());
  EXPECT_FALSE(group->Buttons(0)->Checked());
  // New items make new buttons; an index past them is dropped.
  group->SetItems({"only"});
  EXPECT_EQ(group->ButtonCount(), 1);
  EXPECT_EQ(group->ItemIndex(), -1);
  EXPECT_EQ(group->ControlCount(), 1);
}

TEST_F(FamiliesTest, ComboBoxStylesAndTheSelectedItem) {
  auto* combo = Add<fw::TComboBox>(20, 20, 150, 24);
  combo->SetItems({"red", "green", "blue"});
  combo->SetStyle(fw::csDropDownList);
  combo->SetText("blue");  // a list without an edit selects the item of that text
  EXPECT_EQ(combo->ItemIndex(), 2);
  HWND first = combo->Handle();
  EXPECT_EQ(GetWindowLongA(first, GWL_STYLE) & 3, CBS_DROPDOWNLIST);
  EXPECT_EQ(combo->Text(), "blue");
  // Changing the style makes a new window that keeps the items and the selection.
  combo->SetStyle(fw::csSimple);
  EXPECT_EQ(GetWindowLongA(combo->Handle(), GWL_STYLE) & 3, CBS_SIMPLE);
  EXPECT_EQ(SendMessageA(combo->Handle(), CB_GETCOUNT, 0, 0), 3);
  EXPECT_EQ(combo->ItemIndex(), 2);
  int changes = 0;
  combo->OnChange = [&](fw::TObject*) { ++changes; };
  combo->SetStyle(fw::csDropDownList);
  ShowForm();
  combo->SetFocus();
  fwtest::PressKey(VK_UP);
  EXPECT_EQ(combo->ItemIndex(), 1);
  EXPECT_EQ(changes, 1);
}

TEST_F(FamiliesTest, ListBoxSelectionByClickFiresOnClick) {
  auto* list = Add<fw::TListBox>(20, 20, 150, 120);
  list->SetItems({"zero", "one", "two", "three"});
  int clicks = 0;
  list->OnClick = [&](fw::TObject*) { ++clicks; };
  ShowForm();
  const int item_height = static_cast<int>(SendMessageA(list->Handle(), LB_GETITEMHEIGHT, 0, 0));
  fwtest::ClickAt(list->Handle(), {20, item_height * 2 + item_height / 2});
  EXPECT_EQ(list->ItemIndex(), 2);
  EXPECT_EQ(clicks, 1);
  list->SetItemIndex(0);
  EXPECT_EQ(SendMessageA(list->Handle(), LB_GETCURSEL, 0, 0), 0);
}

TEST_F(FamiliesTest, ScrollBarFollowsArrowAndTrackClicks) {
  auto* bar = Add<fw::TScrollBar>(20, 20, 300, 18);
  bar->SetMax(100);
  bar->SetSmallChange(3);
  bar->SetLargeChange(25);
  bar->SetPageSize(20);
  std::vector<int> seen;
  bar->OnChange = [&](fw::TObject*) { seen.push_back(bar->Position()); };
  ShowForm();
  const int arrow = GetSystemMetrics(SM_CXHSCROLL);
  fwtest::ClickAt(bar->Handle(), {300 - arrow / 2, 9});  // right arrow
  EXPECT_EQ(bar->Position(), 3);
  fwtest::ClickAt(bar->Handle(), {250, 9});  // the track right of the thumb
  EXPECT_EQ(bar->Position(), 28);
  fwtest::ClickAt(bar->Handle(), {arrow / 2, 9});  // left arrow
  EXPECT_EQ(bar->Position(), 25);
  EXPECT_THAT(seen, ElementsAre(3, 28, 25));
  // The page is the thumb's share: the system's range ends at Max + PageSize - 1.
  SCROLLINFO si{sizeof si, SIF_ALL, 0, 0, 0, 0, 0};
  GetScrollInfo(bar->Handle(), SB_CTL, &si);
  EXPECT_EQ(si.nMax, 119);
  EXPECT_EQ(si.nPage, 20u);
  // A vertical bar is a new window of the same control.
  bar->SetKind(fw::sbVertical);
  EXPECT_TRUE(GetWindowLongA(bar->Handle(), GWL_STYLE) & SBS_VERT);
  EXPECT_EQ(bar->Position(), 25);
}

TEST_F(FamiliesTest, SpeedButtonsLatchWithinTheirGroup) {
  auto* a = Add<fw::TSpeedButton>(20, 20, 40, 30);
  auto* b = Add<fw::TSpeedButton>(60, 20, 40, 30);
  auto* plain = Add<fw::TSpeedButton>(120, 20, 40, 30);
  a->SetGroupIndex(1);
  b->SetGroupIndex(1);
  int clicks = 0;
  for (auto* s : {a, b, plain}) s->OnClick = [&](fw::TObject*) { ++clicks; };
  ShowForm();
  HWND parent = form_->Handle();
  fwtest::ClickAt(parent, {30, 30});
  EXPECT_TRUE(a->Down());
  fwtest::ClickAt(parent, {70, 30});
  EXPECT_TRUE(b->Down());
  EXPECT_FALSE(a->Down());
  // Without AllowAllUp the latched button stays down when clicked again.
  fwtest::ClickAt(parent, {70, 30});
  EXPECT_TRUE(b->Down());
  a->SetAllowAllUp(true);  // for the whole group
  EXPECT_TRUE(b->AllowAllUp());
  fwtest::ClickAt(parent, {70, 30});
  EXPECT_FALSE(b->Down());
  // An ungrouped button clicks but never latches.
  fwtest::ClickAt(parent, {130, 30});
  EXPECT_FALSE(plain->Down());
  EXPECT_EQ(clicks, 5);
  // Pressed and released outside: no click, no latch.
  POINT p{130, 30};
  ClientToScreen(parent, &p);
  SetCursorPos(p.x, p.y);
  INPUT down{};
  down.type = INPUT_MOUSE;
  down.mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
  SendInput(1, &down, sizeof down);
  fwtest::PumpFor(60);
  EXPECT_TRUE(plain->Pressed());
  SetCursorPos(p.x + 200, p.y + 100);
  INPUT up{};
  up.type = INPUT_MOUSE;
  up.mi.dwFlags = MOUSEEVENTF_LEFTUP;
  SendInput(1, &up, sizeof up);
  fwtest::PumpFor(60);
  EXPECT_FALSE(plain->Pressed());
  EXPECT_EQ(clicks, 5);
}

TEST_F(FamiliesTest, BitBtnKindsBringCaptionAndModalResultAndDrawTheirGlyph) {
  auto* ok = Add<fw::TBitBtn>(20, 20, 100, 30);
  ok->SetKind(fw::bkOK);
  EXPECT_EQ(ok->Caption(), "OK");
  EXPECT_EQ(ok->ModalResult(), fw::mrOk);
  EXPECT_FALSE(ok->DrawnGlyph().Empty());
  auto* own = Add<fw::TBitBtn>(20, 60, 100, 30);
  own->SetCaption("Mine");
  own->SetKind(fw::bkYes);
  EXPECT_EQ(own->Caption(), "Mine");  // a caption of the user's own stays
  EXPECT_EQ(own->ModalResult(), fw::mrYes);
  int clicks = 0;
  ok->OnClick = [&](fw::TObject*) { ++clicks; };
  ShowForm();
  fwtest::ClickAt(ok->Handle(), {50, 15});
  EXPECT_EQ(clicks, 1);
  // The green check of the stock glyph is painted left of the caption.
  UpdateWindow(ok->Handle());
  fw::ScopedGetDc dc(ok->Handle());
  int green = 0;
  for (int x = 0; x < 50; ++x)
    for (int y = 0; y < 30; ++y) green += GetPixel(dc.get(), x, y) == RGB(0, 128, 0);
  EXPECT_GT(green, 10);
  ok->SetDefault(true);  // keeps the owner-drawn style
  EXPECT_EQ(GetWindowLongA(ok->Handle(), GWL_STYLE) & BS_TYPEMASK, BS_OWNERDRAW);
}

TEST_F(FamiliesTest, PageControlShowsThePageOfTheClickedTab) {
  auto* pages = Add<fw::TPageControl>(20, 20, 300, 200);
  std::vector<fw::TTabSheet*> sheets;
  for (const char* caption : {"One", "Two", "Three"}) {
    auto* sheet = new fw::TTabSheet(form_);
    sheet->SetParent(pages);
    sheet->SetCaption(caption);
    sheets.push_back(sheet);
  }
  auto* on_two = Add<fw::TButton>(10, 10, 80, 25, sheets[1]);
  int changes = 0;
  pages->OnChange = [&](fw::TObject*) { ++changes; };
  ShowForm();
  EXPECT_EQ(pages->ActivePage(), sheets[0]);
  const RECT tab = pages->TabRect(1);
  fwtest::ClickAt(pages->Handle(), {(tab.left + tab.right) / 2, (tab.top + tab.bottom) / 2});
  EXPECT_EQ(pages->ActivePage(), sheets[1]);
  EXPECT_EQ(changes, 1);
  EXPECT_TRUE(IsWindowVisible(sheets[1]->Handle()));
  EXPECT_FALSE(IsWindowVisible(sheets[0]->Handle()));
  EXPECT_TRUE(IsWindowVisible(on_two->Handle()));
  // Pages fill the display area; renaming a page renames its tab.
  const RECT display = pages->DisplayRect();
  EXPECT_EQ(sheets[1]->Left(), display.left);
  EXPECT_EQ(sheets[1]->Width(), display.right - display.left);
  sheets[2]->SetCaption("Drei");
  char text[16] = {};
  TCITEMA item{};
  item.mask = TCIF_TEXT;
  item.pszText = text;
  item.cchTextMax = sizeof text;
  SendMessageA(pages->Handle(), TCM_GETITEMA, 2, reinterpret_cast<LPARAM>(&item));
  EXPECT_STREQ(text, "Drei");
  // Freeing the active page moves the selection to a page that is left.
  delete sheets[1];
  EXPECT_EQ(pages->PageCount(), 2);
  EXPECT_EQ(pages->ActivePage(), sheets[2]);
  EXPECT_EQ(SendMessageA(pages->Handle(), TCM_GETITEMCOUNT, 0, 0), 2);
  // Tabs at the side: a vertical, multi-line window.
  pages->SetTabPosition(fw::tpLeft);
  EXPECT_TRUE(GetWindowLongA(pages->Handle(), GWL_STYLE) & TCS_VERTICAL);
  EXPECT_EQ(pages->ActivePage(), sheets[2]);
}

TEST_F(FamiliesTest, TabControlPositionsAndSelection) {
  auto* tabs = Add<fw::TTabControl>(20, 20, 300, 120);
  tabs->SetTabs({"a", "b", "c"});
  tabs->SetTabPosition(fw::tpBottom);
  tabs->SetTabIndex(2);
  ShowForm();
  EXPECT_TRUE(GetWindowLongA(tabs->Handle(), GWL_STYLE) & TCS_BOTTOM);
  EXPECT_EQ(tabs->TabIndex(), 2);
  const RECT tab = tabs->TabRect(0);
  EXPECT_GT(tab.top, 60);  // the strip is at the bottom
  int changes = 0;
  tabs->OnChange = [&](fw::TObject*) { ++changes; };
  fwtest::ClickAt(tabs->Handle(), {(tab.left + tab.right) / 2, (tab.top + tab.bottom) / 2});
  EXPECT_EQ(tabs->TabIndex(), 0);
  EXPECT_EQ(changes, 1);
  tabs->SetTabPosition(fw::tpRight);
  EXPECT_TRUE(GetWindowLongA(tabs->Handle(), GWL_STYLE) & TCS_RIGHT);
  EXPECT_EQ(tabs->TabIndex(), 0);
  tabs->SetMultiLine(true);
  EXPECT_TRUE(GetWindowLongA(tabs->Handle(), GWL_STYLE) & TCS_MULTILINE);
}

TEST_F(FamiliesTest, TabSetSelectsClickedTabsAndScrollsWhenTheyDoNotFit) {
  auto* tabset = Add<fw::TTabSet>(20, 20, 400, 22);
  tabset->SetTabs({"alpha", "beta", "gamma"});
  int changes = 0;
  tabset->OnChange = [&](fw::TObject*) { ++changes; };
  ShowForm();
  EXPECT_FALSE(tabset->Scroller()->Visible());
  const auto rects = tabset->TabRects();
  fwtest::ClickAt(tabset->Handle(), {(rects[1].left + rects[1].right) / 2, 10});
  EXPECT_EQ(tabset->TabIndex(), 1);
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(tabset->TabAt({rects[2].left + 1, 5}), 2);
  EXPECT_EQ(tabset->TabAt({399, 5}), -1);
  // Too narrow for all: the scroll button shows, and its right arrow moves the first tab.
  tabset->SetWidth(90);
  EXPECT_TRUE(tabset->Scroller()->Visible());
  fw::TUpDown* scroller = tabset->Scroller();
  fwtest::ClickAt(scroller->Handle(), {scroller->Width() * 3 / 4, scroller->Height() / 2});
  EXPECT_EQ(tabset->FirstIndex(), 1);
  EXPECT_EQ(tabset->TabRects()[0].Width(), 0);
}

TEST_F(FamiliesTest, StatusBarPanelsReachTheWindow) {
  auto* status = Add<fw::TStatusBar>(0, 300, 500, 22);
  status->AddPanel("left", 100);
  fw::TStatusPanel* centre = status->AddPanel("centre", 120);
  centre->SetAlignment(fw::taCenter);
  status->AddPanel("last", 50);
  ShowForm();
  HWND hwnd = status->Handle();
  EXPECT_EQ(SendMessageA(hwnd, SB_GETPARTS, 0, 0), 3);
  char text[64] = {};
  SendMessageA(hwnd, SB_GETTEXTA, 0, reinterpret_cast<LPARAM>(text));
  EXPECT_STREQ(text, "left");
  SendMessageA(hwnd, SB_GETTEXTA, 1, reinterpret_cast<LPARAM>(text));
  EXPECT_STREQ(text, "\tcentre");  // a tab centres the text
  const RECT second = status->PanelRect(1);
  EXPECT_EQ(second.left, 100 + 2);  // the border between parts
  centre->SetText("changed");
  SendMessageA(hwnd, SB_GETTEXTA, 1, reinterpret_cast<LPARAM>(text));
  EXPECT_STREQ(text, "\tchanged");
  // The simple panel shows the simple text instead of the panels.
  status->SetSimpleText("simple");
  status->SetSimplePanel(true);
  EXPECT_TRUE(SendMessageA(hwnd, SB_ISSIMPLE, 0, 0));
  // Switching the size grip off makes a window without one.
  status->SetSizeGrip(false);
  EXPECT_FALSE(GetWindowLongA(status->Handle(), GWL_STYLE) & SBARS_SIZEGRIP);
  delete centre;  // a freed panel leaves the bar
  EXPECT_EQ(status->Panels().size(), 2u);
}

TEST_F(FamiliesTest, UpDownStepsItsAssociateAndReportsChanges) {
  auto* edit = Add<fw::TEdit>(20, 20, 80, 22);
  auto* updown = Add<fw::TUpDown>(0, 0, 17, 22);
  updown->SetMax(10);
  updown->SetPosition(4);
  updown->SetAssociate(edit);
  int changes = 0;
  updown->OnChange = [&](fw::TObject*) { ++changes; };
  ShowForm();
  EXPECT_EQ(edit->Text(), "4");
  // Placed at the edit's right edge.
  EXPECT_EQ(updown->Top(), edit->Top());
  fwtest::ClickAt(updown->Handle(), {updown->Width() / 2, 3});  // the up arrow
  EXPECT_EQ(updown->Position(), 5);
  EXPECT_EQ(edit->Text(), "5");
  EXPECT_EQ(changes, 1);
  delete edit;  // the up-down forgets a freed associate
  EXPECT_EQ(updown->Associate(), nullptr);
}

TEST_F(FamiliesTest, TrackBarAndProgressBarFollowTheirRange) {
  auto* track = Add<fw::TTrackBar>(20, 20, 200, 40);
  track->SetMax(20);
  track->SetPosition(10);
  auto* progress = Add<fw::TProgressBar>(20, 80, 200, 18);
  progress->SetMax(20);
  track->OnChange = [&](fw::TObject*) { progress->SetPosition(track->Position()); };
  ShowForm();
  track->SetFocus();
  fwtest::PressKey(VK_RIGHT);
  EXPECT_EQ(track->Position(), 11);
  EXPECT_EQ(SendMessageA(progress->Handle(), PBM_GETPOS, 0, 0), 11);
  fwtest::PressKey(VK_END);
  EXPECT_EQ(progress->Position(), 20);
  // Styles fixed at creation: a new window, same position.
  track->SetTickStyle(fw::tsNone);
  EXPECT_TRUE(GetWindowLongA(track->Handle(), GWL_STYLE) & TBS_NOTICKS);
  EXPECT_EQ(track->Position(), 20);
  progress->SetSmooth(true);
  progress->SetOrientation(fw::pbVertical);
  EXPECT_TRUE(GetWindowLongA(progress->Handle(), GWL_STYLE) & PBS_SMOOTH);
  EXPECT_TRUE(GetWindowLongA(progress->Handle(), GWL_STYLE) & PBS_VERTICAL);
  EXPECT_EQ(progress->Position(), 20);
}

TEST_F(FamiliesTest, ToolButtonClicksAndCheckButtons) {
  auto* tools = Add<fw::TToolBar>(0, 0, 400, 30);
  tools->SetButtonWidth(60);
  auto* plain = new fw::TToolButton(form_);
  plain->SetParent(tools);
  plain->SetCaption("Plain");
  auto* check = new fw::TToolButton(form_);
  check->SetParent(tools);
  check->SetCaption("Check");
  check->SetStyle(fw::tbsCheck);
  int plain_clicks = 0, check_clicks = 0;
  plain->OnClick = [&](fw::TObject*) { ++plain_clicks; };
  check->OnClick = [&](fw::TObject*) { ++check_clicks; };
  ShowForm();
  EXPECT_EQ(SendMessageA(tools->Handle(), TB_BUTTONCOUNT, 0, 0), 2);
  EXPECT_GT(check->Left(), plain->Left());  // placed by the window
  fwtest::ClickAt(tools->Handle(), {plain->Left() + 5, plain->Top() + 5});
  EXPECT_EQ(plain_clicks, 1);
  fwtest::ClickAt(tools->Handle(), {check->Left() + 5, check->Top() + 5});
  EXPECT_EQ(check_clicks, 1);
  EXPECT_TRUE(check->Down());
  tools->SetFlat(true);
  EXPECT_TRUE(GetWindowLongA(tools->Handle(), GWL_STYLE) & TBSTYLE_FLAT);
  delete plain;
  EXPECT_EQ(SendMessageA(tools->Handle(), TB_BUTTONCOUNT, 0, 0), 1);
}

TEST_F(FamiliesTest, ListViewReportHasColumnsItemsAndSelection) {
  auto* view = Add<fw::TListView>(20, 20, 400, 200);
  view->SetViewStyle(fw::vsReport);
  view->AddColumn("Name", 150);
  view->AddColumn("Size", 80)->SetAlignment(fw::taRightJustify);
  view->SetItems({"a.txt|1 KB", "b.txt|2 KB", "c.txt|3 KB"});
  int changes = 0;
  view->OnChange = [&](fw::TObject*) { ++changes; };
  ShowForm();
  EXPECT_EQ(SendMessageA(view->HeaderHandle(), HDM_GETITEMCOUNT, 0, 0), 2);
  EXPECT_EQ(SendMessageA(view->Handle(), LVM_GETITEMCOUNT, 0, 0), 3);
  char text[32] = {};
  LVITEMA item{};
  item.iSubItem = 1;
  item.pszText = text;
  item.cchTextMax = sizeof text;
  SendMessageA(view->Handle(), LVM_GETITEMTEXTA, 1, reinterpret_cast<LPARAM>(&item));
  EXPECT_STREQ(text, "2 KB");
  RECT row{};
  row.left = LVIR_BOUNDS;
  SendMessageA(view->Handle(), LVM_GETITEMRECT, 2, reinterpret_cast<LPARAM>(&row));
  fwtest::ClickAt(view->Handle(), {row.left + 10, (row.top + row.bottom) / 2});
  EXPECT_EQ(view->ItemIndex(), 2);
  EXPECT_GE(changes, 1);
}

TEST_F(FamiliesTest, PanelColumnAndButtonWidthsFollowAResolutionChangeAndBack) {
  auto* status = Add<fw::TStatusBar>(0, 300, 500, 22);
  fw::TStatusPanel* panel = status->AddPanel("left", 100);
  auto* view = Add<fw::TListView>(20, 20, 400, 120);
  view->SetViewStyle(fw::vsReport);
  view->AddColumn("Name", 150);
  auto* tools = Add<fw::TToolBar>(0, 0, 400, 30);
  tools->SetButtonWidth(60);
  ShowForm();
  SendMessageA(view->Handle(), LVM_SETCOLUMNWIDTH, 0, 120);  // dragged by the user
  form_->ChangeScale(144, 96);
  EXPECT_EQ(panel->Width(), 150);
  EXPECT_EQ(SendMessageA(view->Handle(), LVM_GETCOLUMNWIDTH, 0, 0), 180);
  EXPECT_EQ(tools->ButtonWidth(), 90);
  EXPECT_EQ(tools->ButtonHeight(), 33);
  form_->ChangeScale(96, 144);
  EXPECT_EQ(panel->Width(), 100);
  EXPECT_EQ(SendMessageA(view->Handle(), LVM_GETCOLUMNWIDTH, 0, 0), 120);
  EXPECT_EQ(tools->ButtonWidth(), 60);
  EXPECT_EQ(tools->ButtonHeight(), 22);
}

TEST_F(FamiliesTest, ScrollBoxScrollsItsControls) {
  auto* box = Add<fw::TScrollBox>(20, 20, 200, 150);
  auto* top_button = Add<fw::TButton>(10, 10, 80, 25, box);
  auto* low_edit = Add<fw::TEdit>(10, 400, 80, 22, box);
  ShowForm();
  EXPECT_TRUE(GetWindowLongA(box->Handle(), GWL_STYLE) & WS_VSCROLL);
  EXPECT_FALSE(GetWindowLongA(box->Handle(), GWL_STYLE) & WS_HSCROLL);
  EXPECT_EQ(box->ContentSize().cy, 422);
  // A click on the down arrow of the box's own bar moves every control up.
  const RECT client = ClientOf(box->Handle());
  POINT arrow{client.right + GetSystemMetrics(SM_CXVSCROLL) / 2,
              client.bottom - GetSystemMetrics(SM_CYVSCROLL) / 2};
  RECT window;
  GetWindowRect(box->Handle(), &window);
  POINT in_box = arrow;
  ClientToScreen(box->Handle(), &in_box);
  ASSERT_TRUE(PtInRect(&window, in_box));
  fwtest::ClickAt(box->Handle(), arrow);
  EXPECT_EQ(box->VertPosition(), 8);
  EXPECT_EQ(top_button->Top(), 2);
  box->ScrollTo(0, 10000);  // clamped to the content
  EXPECT_EQ(box->VertPosition(), 422 - client.bottom);
  EXPECT_EQ(low_edit->Top() + low_edit->Height(), client.bottom);
  RECT placed;
  GetWindowRect(low_edit->Handle(), &placed);
  MapWindowPoints(nullptr, box->Handle(), reinterpret_cast<POINT*>(&placed), 2);
  EXPECT_EQ(placed.top, low_edit->Top());
}

TEST_F(FamiliesTest, RichEditAndDateTimePicker) {
  auto* rich = Add<fw::TRichEdit>(20, 20, 200, 100);
  rich->SetLines({"first", "second"});
  int changes = 0;
  rich->OnChange = [&](fw::TObject*) { ++changes; };
  auto* picker = Add<fw::TDateTimePicker>(240, 20, 150, 24);
  picker->SetDate("2025-03-04");
  ShowForm();
  EXPECT_THAT(std::string(fw::TCustomRichEdit::WindowClassName()),
              testing::AnyOf("RichEdit20A", "RICHEDIT"));
  EXPECT_EQ(rich->Lines().Count(), 2);
  rich->SetFocus();
  fwtest::PressKey('X');
  EXPECT_GE(changes, 1);
  SYSTEMTIME st{};
  EXPECT_EQ(SendMessageA(picker->Handle(), DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&st)),
            GDT_VALID);
  EXPECT_EQ(st.wYear, 2025);
  EXPECT_EQ(st.wMonth, 3);
  EXPECT_EQ(st.wDay, 4);
  EXPECT_THROW(picker->SetDate("2025-02-30"), fw::EConvertError);
  EXPECT_THROW(picker->SetTime("24:00:00"), fw::EConvertError);
  EXPECT_EQ(picker->Date(), "2025-03-04");
  picker->SetDateMode(fw::dmUpDown);
  EXPECT_TRUE(GetWindowLongA(picker->Handle(), GWL_STYLE) & DTS_UPDOWN);
  EXPECT_EQ(picker->Date(), "2025-03-04");
}

TEST_F(FamiliesTest, ButtonModalResultEndsShowModal) {
  App().SetMainForm(form_);
  ShowForm();
  auto* dialog = new TFamilyForm(&App());
  dialog->SetName("Dialog");
  dialog->SetBounds(100, 100, 300, 200);
  auto* ok = new fw::TBitBtn(dialog);
  ok->SetParent(dialog);
  ok->SetBounds(20, 20, 90, 28);
  ok->SetKind(fw::bkOK);
  bool main_form_disabled = false;
  ok->OnClick = [&](fw::TObject*) { main_form_disabled = !IsWindowEnabled(form_->Handle()); };
  // The click arrives while the modal loop runs.
  PostMessageA(ok->Handle(), BM_CLICK, 0, 0);
  EXPECT_EQ(dialog->ShowModal(), fw::mrOk);
  EXPECT_TRUE(main_form_disabled);
  EXPECT_TRUE(IsWindowEnabled(form_->Handle()));
  EXPECT_FALSE(dialog->Visible());
  // Closing the window ends it with mrCancel, without ending the application.
  PostMessageA(dialog->Handle(), WM_CLOSE, 0, 0);
  EXPECT_EQ(dialog->ShowModal(), fw::mrCancel);
  EXPECT_FALSE(App().Terminated());
  EXPECT_THROW(form_->ShowModal(), fw::Exception);  // already showing
}

}  // namespace
