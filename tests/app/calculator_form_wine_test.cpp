// The calculator's form as the program creates it: layout of the real windows, and the
// handlers driven through those windows (clicks, typed characters, pasted text), with the
// message boxes they open recorded.
#include <windows.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/calculator.h"
#include "app/main_form.h"
#include "framework/application.h"
#include "skin/data/skin_data.h"
#include "tests/support/fw_test.h"

namespace {

using testing::ElementsAre;
using testing::IsEmpty;

std::wstring WideText(HWND hwnd) {
  wchar_t buffer[512] = {};
  GetWindowTextW(hwnd, buffer, 512);
  return buffer;
}

std::string AnsiText(HWND hwnd) {
  char buffer[512] = {};
  GetWindowTextA(hwnd, buffer, sizeof buffer);
  return buffer;
}

std::string ClassOf(HWND hwnd) {
  char buffer[64] = {};
  GetClassNameA(hwnd, buffer, sizeof buffer);
  return buffer;
}

std::wstring FromGbk(const std::string& text) {
  wchar_t buffer[512] = {};
  MultiByteToWideChar(936, MB_ERR_INVALID_CHARS, text.c_str(), -1, buffer, 512);
  return buffer;
}

// The window's rectangle in its parent's client coordinates.
RECT ChildRect(HWND child) {
  RECT r;
  GetWindowRect(child, &r);
  MapWindowPoints(HWND_DESKTOP, GetParent(child), reinterpret_cast<POINT*>(&r), 2);
  return r;
}

class CalculatorFormTest : public fwtest::ApplicationTest {
 protected:
  void SetUp() override {
    ApplicationTest::SetUp();
    App().Initialize();
    App().SetTitle(calc::gbk::kTitle);
    App().CreateForm(&Form1);
    form_ = Form1;
    form_->Show();
    fwtest::PumpFor(50);
  }
  void TearDown() override {
    delete form_;
    Form1 = nullptr;
    ApplicationTest::TearDown();
  }

  HWND Window(fw::TWinControl* control) { return control->Handle(); }
  void Type(fw::TWinControl* edit, char c) {
    SendMessageA(Window(edit), WM_CHAR, static_cast<unsigned char>(c), 1);
  }
  void Click(fw::TButton* button) { SendMessageA(Window(button), BM_CLICK, 0, 0); }

  TForm1* form_ = nullptr;
};

TEST_F(CalculatorFormTest, FormWindow) {
  HWND hwnd = Window(form_);
  EXPECT_EQ(ClassOf(hwnd), "TForm1");
  EXPECT_EQ(WideText(hwnd), L"阶乘排列组合计算");
  RECT window, client;
  GetWindowRect(hwnd, &window);
  GetClientRect(hwnd, &client);
  EXPECT_EQ(window.left, 409);
  EXPECT_EQ(window.top, 277);
  EXPECT_EQ(client.right, 574);
  EXPECT_EQ(client.bottom, 336);
  // Single border, not resizable. The skin draws the caption buttons, so the system's own
  // (the system menu's close button) are switched off while the form is skinned.
  const LONG style = GetWindowLongA(hwnd, GWL_STYLE);
  EXPECT_TRUE(style & WS_CAPTION);
  EXPECT_FALSE(style & WS_SYSMENU);
  EXPECT_FALSE(style & WS_THICKFRAME);
  EXPECT_FALSE(style & WS_MINIMIZEBOX);
  EXPECT_FALSE(style & WS_MAXIMIZEBOX);
  // The program's own icon, not the system's generic one.
  EXPECT_NE(GetClassLongPtrA(hwnd, GCLP_HICON),
            reinterpret_cast<LONG_PTR>(LoadIconA(nullptr, IDI_APPLICATION)));
  // The skinned form takes the skin's face colour.
  auto* skin_data = dynamic_cast<skin::TSkinData*>(form_->FindComponent("SkinData1"));
  ASSERT_NE(skin_data, nullptr);
  EXPECT_EQ(form_->Color(), static_cast<fw::TColor>(skin_data->ButtonFace));
  EXPECT_EQ(form_->Font().Name(), "MS Sans Serif");
  EXPECT_EQ(form_->Font().Height(), -15);
}

struct WindowRow {
  const char* name;
  const char* window_class;
  int left, top, width, height;
  const wchar_t* text;
  int tab_order;
  bool enabled;
};

const WindowRow kWindows[] = {
    {"Edit1", "TEdit", 72, 72, 169, 24, L"", 0, true},
    {"Button1", "TButton", 74, 176, 167, 33, L"阶乘 n！", 1, true},
    {"Memo1", "TMemo", 72, 104, 169, 57, L"", 2, false},
    {"Edit2", "TEdit", 328, 72, 169, 24, L"", 3, true},
    {"Edit3", "TEdit", 328, 104, 169, 24, L"", 4, true},
    {"Button2", "TButton", 330, 216, 167, 33, L"排列 P（n，m）", 5, true},
    {"Button3", "TButton", 330, 256, 167, 33, L"组合 C（n，m）", 6, true},
    {"Memo2", "TMemo", 328, 136, 169, 57, L"", 7, false},
};

TEST_F(CalculatorFormTest, ControlWindows) {
  for (const WindowRow& row : kWindows) {
    SCOPED_TRACE(row.name);
    auto* control = dynamic_cast<fw::TWinControl*>(form_->FindComponent(row.name));
    ASSERT_NE(control, nullptr);
    HWND hwnd = Window(control);
    EXPECT_EQ(GetParent(hwnd), Window(form_));
    EXPECT_EQ(ClassOf(hwnd), row.window_class);
    const RECT r = ChildRect(hwnd);
    EXPECT_EQ(r.left, row.left);
    EXPECT_EQ(r.top, row.top);
    EXPECT_EQ(r.right - r.left, row.width);
    EXPECT_EQ(r.bottom - r.top, row.height);
    EXPECT_EQ(WideText(hwnd), row.text);
    EXPECT_EQ(control->TabOrder(), row.tab_order);
    EXPECT_EQ(IsWindowEnabled(hwnd) != FALSE, row.enabled);
    EXPECT_TRUE(IsWindowVisible(hwnd));
  }
  // The edit boxes' own font.
  LOGFONTA font = {};
  GetObjectA(reinterpret_cast<HFONT>(SendMessageA(Window(form_->Edit1), WM_GETFONT, 0, 0)),
             sizeof font, &font);
  EXPECT_STREQ(font.lfFaceName, "MS Sans Serif");
  EXPECT_EQ(font.lfHeight, -15);
  // The fields are bound to the controls of their names.
  EXPECT_EQ(form_->Edit1->Name(), "Edit1");
  EXPECT_EQ(form_->Memo2->Name(), "Memo2");
  EXPECT_EQ(form_->Label8->Name(), "Label8");
}

TEST_F(CalculatorFormTest, Labels) {
  struct LabelRow {
    fw::TLabel* label;
    int left, top, width, height;  // width and height -1: sized to the text
    const char* caption;           // UTF-8
  };
  const LabelRow rows[] = {
      {form_->Label1, 72, 40, 177, 16, "请输入n的值："},
      {form_->Label2, 24, 72, -1, -1, "n："},
      {form_->Label3, 24, 112, 41, 16, "结果："},
      {form_->Label4, 328, 40, 177, 16, "请输入n，m的值："},
      {form_->Label5, 280, 104, -1, -1, "m："},
      {form_->Label6, 280, 144, 41, 16, "结果："},
      {form_->Label7, 280, 72, -1, -1, "n："},
      {form_->Label8, 32, 248, 249, 33, "ps：只能计算170以内的阶乘。"},
  };
  for (const LabelRow& row : rows) {
    ASSERT_NE(row.label, nullptr);
    SCOPED_TRACE(row.label->Name());
    EXPECT_EQ(row.label->Parent(), form_);
    EXPECT_EQ(row.label->Left(), row.left);
    EXPECT_EQ(row.label->Top(), row.top);
    if (row.width >= 0) {
      EXPECT_EQ(row.label->Width(), row.width);
      EXPECT_EQ(row.label->Height(), row.height);
    }
    EXPECT_EQ(fw::WideFromAnsi(row.label->Caption()), fw::Utf16FromUtf8(row.caption));
  }
}

TEST_F(CalculatorFormTest, TabKeyFollowsTabOrder) {
  std::vector<std::string> order;
  for (fw::TWinControl* c : form_->TabList()) order.push_back(c->Name());
  EXPECT_THAT(order, ElementsAre("Edit1", "Button1", "Memo1", "Edit2", "Edit3", "Button2",
                                 "Button3", "Memo2"));
  // The Tab key walks that order through the application's message loop; the disabled
  // memos take no focus. Tests in other processes may take the activation away between
  // steps (the focus then reads as nobody), so a step is retried after reactivating.
  std::vector<std::string> visited;
  fw::TWinControl* current = form_->Edit1;
  for (int i = 0; i < 6; ++i) {
    fw::TWinControl* focused = nullptr;
    for (int attempt = 0; attempt < 5 && !focused; ++attempt) {
      SetForegroundWindow(Window(form_));
      current->SetFocus();
      if (GetFocus() != Window(current)) continue;
      PostMessageA(Window(current), WM_KEYDOWN, VK_TAB, 1);
      App().ProcessMessages();
      focused = fw::TWinControl::FromHandle(GetFocus());
    }
    ASSERT_NE(focused, nullptr) << "step " << i;
    visited.push_back(focused->Name());
    current = focused;
  }
  EXPECT_THAT(visited, ElementsAre("Button1", "Edit2", "Edit3", "Button2", "Button3", "Edit1"));
}

TEST_F(CalculatorFormTest, MessagesDecodeAsChinese) {
  EXPECT_EQ(FromGbk(calc::gbk::kTitle), L"阶乘排列组合计算");
  EXPECT_EQ(FromGbk(calc::gbk::kNEmpty), L"n 的值不能为空！");
  EXPECT_EQ(FromGbk(calc::gbk::kNmEmpty), L"n 和 m 的值不能为空！");
  EXPECT_EQ(FromGbk(calc::gbk::kNRange), L"n 取值1-170！");
  EXPECT_EQ(FromGbk(calc::gbk::kNmRange), L"n 和 m 取值1-170，并且m<=n！");
  EXPECT_EQ(FromGbk(calc::gbk::kDigitsOnly), L"请输入数字！");
}

TEST_F(CalculatorFormTest, ButtonsWriteTheirMemos) {
  fwtest::MessageBoxRecorder boxes;
  SetWindowTextA(Window(form_->Edit1), "5");
  Click(form_->Button1);
  EXPECT_EQ(AnsiText(Window(form_->Memo1)), "5!= 120");
  SetWindowTextA(Window(form_->Edit1), "170");
  Click(form_->Button1);
  EXPECT_EQ(AnsiText(Window(form_->Memo1)), "170!= 7.25741561530799E306");

  SetWindowTextA(Window(form_->Edit2), "5");
  SetWindowTextA(Window(form_->Edit3), "2");
  Click(form_->Button2);
  EXPECT_EQ(AnsiText(Window(form_->Memo2)), "P(5,2)= 20");
  // Memo2 is shared: each result replaces the last.
  Click(form_->Button3);
  EXPECT_EQ(AnsiText(Window(form_->Memo2)), "C(5,2)= 10");
  SetWindowTextA(Window(form_->Edit2), "100");
  SetWindowTextA(Window(form_->Edit3), "50");
  Click(form_->Button3);
  EXPECT_EQ(AnsiText(Window(form_->Memo2)), "C(100,50)= 1.00891344545564E29");
  EXPECT_EQ(AnsiText(Window(form_->Memo1)), "170!= 7.25741561530799E306");
  EXPECT_THAT(boxes.Texts(), IsEmpty());
}

TEST_F(CalculatorFormTest, EmptyEditShowsOnlyTheEmptinessMessage) {
  SetWindowTextA(Window(form_->Memo1), "kept");
  SetWindowTextA(Window(form_->Memo2), "kept too");
  {
    fwtest::MessageBoxRecorder boxes;
    Click(form_->Button1);
    ASSERT_THAT(boxes.Texts(), ElementsAre(calc::gbk::kNEmpty));
    EXPECT_EQ(boxes.Boxes()[0].caption, calc::gbk::kTitle);
    EXPECT_EQ(boxes.Boxes()[0].buttons.size(), 1u);
    EXPECT_FALSE(boxes.Boxes()[0].has_icon);
  }
  {
    fwtest::MessageBoxRecorder boxes;
    SetWindowTextA(Window(form_->Edit1), "  \t ");
    Click(form_->Button1);
    EXPECT_THAT(boxes.Texts(), ElementsAre(calc::gbk::kNEmpty));
  }
  {
    // Edit3 is empty; Edit2's text is not even converted.
    fwtest::MessageBoxRecorder boxes;
    SetWindowTextA(Window(form_->Edit2), "abc");
    Click(form_->Button2);
    Click(form_->Button3);
    EXPECT_THAT(boxes.Texts(), ElementsAre(calc::gbk::kNmEmpty, calc::gbk::kNmEmpty));
  }
  fwtest::PumpFor(20);
  EXPECT_EQ(AnsiText(Window(form_->Memo1)), "kept");
  EXPECT_EQ(AnsiText(Window(form_->Memo2)), "kept too");
}

TEST_F(CalculatorFormTest, RangeMessagesLeaveTheMemos) {
  fwtest::MessageBoxRecorder boxes;
  for (const char* n : {"0", "171", "99999999999999999999"}) {
    SetWindowTextA(Window(form_->Edit1), n);
    Click(form_->Button1);
  }
  SetWindowTextA(Window(form_->Edit2), "3");
  SetWindowTextA(Window(form_->Edit3), "4");
  Click(form_->Button2);
  SetWindowTextA(Window(form_->Edit3), "0");
  Click(form_->Button3);
  EXPECT_THAT(boxes.Texts(), ElementsAre(calc::gbk::kNRange, calc::gbk::kNRange, calc::gbk::kNRange,
                                         calc::gbk::kNmRange, calc::gbk::kNmRange));
  EXPECT_EQ(AnsiText(Window(form_->Memo1)), "");
  EXPECT_EQ(AnsiText(Window(form_->Memo2)), "");
}

TEST_F(CalculatorFormTest, PastedTextThatIsNoNumberGivesTheConversionError) {
  fwtest::MessageBoxRecorder boxes;
  SendMessageA(Window(form_->Edit1), WM_SETTEXT, 0, reinterpret_cast<LPARAM>("12a"));
  Click(form_->Button1);
  SendMessageA(Window(form_->Edit2), WM_SETTEXT, 0, reinterpret_cast<LPARAM>("5"));
  SendMessageA(Window(form_->Edit3), WM_SETTEXT, 0, reinterpret_cast<LPARAM>("2.5.1"));
  Click(form_->Button3);
  ASSERT_THAT(boxes.Texts(),
              ElementsAre(fw::ExceptionMessageText("'12a' is not a valid floating point value"),
                          fw::ExceptionMessageText("'2.5.1' is not a valid floating point value")));
  // The standard error box: the title as caption and the stop icon.
  EXPECT_EQ(boxes.Boxes()[0].caption, calc::gbk::kTitle);
  EXPECT_TRUE(boxes.Boxes()[0].has_icon);
  EXPECT_EQ(AnsiText(Window(form_->Memo1)), "");
  EXPECT_EQ(AnsiText(Window(form_->Memo2)), "");
}

TEST_F(CalculatorFormTest, KeyFilterRefusesEverythingButDigitsAndBackspace) {
  HWND edit = Window(form_->Edit1);
  {
    fwtest::MessageBoxRecorder boxes;
    for (char c : {'0', '0', '7'}) Type(form_->Edit1, c);
    EXPECT_EQ(AnsiText(edit), "007");
    Type(form_->Edit1, '\b');
    EXPECT_EQ(AnsiText(edit), "00");
    Type(form_->Edit1, '7');
    EXPECT_THAT(boxes.Texts(), IsEmpty());
  }
  // Ctrl+V would paste this if its character reached the edit box.
  if (OpenClipboard(Window(form_))) {
    EmptyClipboard();
    HGLOBAL data = GlobalAlloc(GMEM_MOVEABLE, 3);
    memcpy(GlobalLock(data), "99", 3);
    GlobalUnlock(data);
    SetClipboardData(CF_TEXT, data);
    CloseClipboard();
  }
  SendMessageA(edit, EM_SETSEL, 0, -1);  // so that Ctrl+X would cut everything
  const char refused[] = {'a', 'Z', ' ', '-', '.', '+', '\r', '\x1b', '\t', '\x03', '\x16', '\x18'};
  for (char c : refused) {
    SCOPED_TRACE(static_cast<int>(c));
    fwtest::MessageBoxRecorder boxes;
    Type(form_->Edit1, c);
    EXPECT_THAT(boxes.Texts(), ElementsAre(calc::gbk::kDigitsOnly));
    EXPECT_EQ(AnsiText(edit), "007");
  }
  // The same filter on the other two boxes.
  for (fw::TEdit* other : {form_->Edit2, form_->Edit3}) {
    fwtest::MessageBoxRecorder boxes;
    Type(other, '3');
    Type(other, 'x');
    EXPECT_THAT(boxes.Texts(), ElementsAre(calc::gbk::kDigitsOnly));
    EXPECT_EQ(AnsiText(Window(other)), "3");
  }
  // What was typed is what the button reads.
  fwtest::MessageBoxRecorder boxes;
  Click(form_->Button1);
  EXPECT_EQ(AnsiText(Window(form_->Memo1)), "7!= 5040");
}

}  // namespace
