// Forms from stored descriptions, the application's message box and message loop; the heap
// check after every test.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <cstring>

#include "framework/application.h"
#include "framework/form_reader.h"
#include "framework/std_controls.h"
#include "tests/support/fw_test.h"

namespace {

using testing::ElementsAre;

class TDescribedForm : public fw::TForm {
  FW_CLASS_INFO()
 public:
  explicit TDescribedForm(fw::TComponent* owner) : TForm(owner) {}
  void Button1Click(fw::TObject*) {
    Memo1->SetText("clicked");
    fw::Application()->MessageBox("done");
  }
  void Edit1KeyPress(fw::TObject*, char& key) {
    if (key < '0' || key > '9') key = 0;
  }
  fw::TLabel* Label1 = nullptr;
  fw::TEdit* Edit1 = nullptr;
  fw::TButton* Button1 = nullptr;
  fw::TMemo* Memo1 = nullptr;
};

const fw::TClassInfo& TDescribedForm::StaticClassInfo() {
  static const fw::TClassInfo info =
      fw::DescribeClass<TDescribedForm, fw::TForm>("TDescribedForm", [](auto& c) {
        c.Field("Label1", &TDescribedForm::Label1);
        c.Field("Edit1", &TDescribedForm::Edit1);
        c.Field("Button1", &TDescribedForm::Button1);
        c.Field("Memo1", &TDescribedForm::Memo1);
        c.Method("Button1Click", &TDescribedForm::Button1Click);
        c.Method("Edit1KeyPress", &TDescribedForm::Edit1KeyPress);
      });
  return info;
}

std::wstring WideText(HWND hwnd) {
  wchar_t buffer[256] = {};
  GetWindowTextW(hwnd, buffer, 256);
  return buffer;
}

class FormsTest : public fwtest::ApplicationTest {};

TEST_F(FormsTest, FormIsCreatedFromItsDescriptionResource) {
  TDescribedForm* form = nullptr;
  App().CreateForm(&form);
  ASSERT_NE(form, nullptr);
  EXPECT_EQ(App().MainForm(), form);
  ASSERT_NE(form->Edit1, nullptr);
  ASSERT_NE(form->Memo1, nullptr);
  EXPECT_EQ(form->Edit1->Parent(), form);
  EXPECT_EQ(form->Edit1->Owner(), form);
  EXPECT_EQ(form->ComponentCount(), 4);
  form->Show();
  HWND hwnd = form->Handle();
  char name[100] = {};
  GetClassNameA(hwnd, name, sizeof name);
  EXPECT_STREQ(name, "TDescribedForm");
  // UTF-16 captions arrive whole (through the ANSI code page, 936 under the test session).
  EXPECT_EQ(WideText(hwnd), L"\u9636\u4E58\u6392\u5217\u7EC4\u5408\u8BA1\u7B97");
  EXPECT_EQ(WideText(form->Button1->Handle()), L"\u9636\u4E58 n\uFF01");
  RECT client, window;
  GetClientRect(hwnd, &client);
  GetWindowRect(hwnd, &window);
  EXPECT_EQ(client.right, 574);
  EXPECT_EQ(client.bottom, 336);
  EXPECT_EQ(window.left, 409);
  EXPECT_EQ(window.top, 277);
  const LONG style = GetWindowLongA(hwnd, GWL_STYLE);
  EXPECT_TRUE(style & WS_SYSMENU);
  EXPECT_TRUE(style & WS_CAPTION);
  EXPECT_FALSE(style & (WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX));
  EXPECT_FALSE(IsWindowEnabled(form->Memo1->Handle()));
  RECT edit;
  GetWindowRect(form->Edit1->Handle(), &edit);
  MapWindowPoints(nullptr, hwnd, reinterpret_cast<POINT*>(&edit), 2);
  EXPECT_EQ(edit.left, 72);
  EXPECT_EQ(edit.top, 72);
  EXPECT_EQ(edit.right - edit.left, 169);
  LOGFONTA lf{};
  GetObjectA(reinterpret_cast<HFONT>(SendMessageA(form->Edit1->Handle(), WM_GETFONT, 0, 0)),
             sizeof lf, &lf);
  EXPECT_EQ(lf.lfHeight, -15);
  EXPECT_STREQ(lf.lfFaceName, "MS Sans Serif");
  // The first control in tab order has the focus.
  EXPECT_EQ(GetFocus(), form->Edit1->Handle());
}

TEST_F(FormsTest, HandlersNamedInTheDescriptionRun) {
  TDescribedForm* form = App().CreateForm<TDescribedForm>();
  form->Show();
  fwtest::MessageBoxRecorder boxes;
  SendMessageA(form->Button1->Handle(), BM_CLICK, 0, 0);
  EXPECT_EQ(form->Memo1->Text(), "clicked");
  EXPECT_THAT(boxes.Texts(), ElementsAre("done"));
  for (char c : {'4', 'x', '2', ' '})
    SendMessageA(form->Edit1->Handle(), WM_CHAR, static_cast<unsigned char>(c), 1);
  EXPECT_EQ(form->Edit1->Text(), "42");
}

TEST_F(FormsTest, ABadDescriptionFailsCreationWithItsLine) {
  TDescribedForm form(nullptr);
  try {
    form.ReadDescription(
        "object F: TDescribedForm\n  object Edit1: TEdit\n    Nope = 3\n  end\nend");
    FAIL() << "no error";
  } catch (const fw::EReadError& e) {
    EXPECT_THAT(e.what(), testing::StartsWith("line 3: Property Nope does not exist"));
  }
}

TEST_F(FormsTest, MessageBoxIsModalCentredWithTheTitleAndOneButton) {
  App().SetTitle("\xBD\xD7\xB3\xCB");  // GBK text
  TDescribedForm* form = App().CreateForm<TDescribedForm>();
  form->Show();
  fwtest::MessageBoxRecorder boxes;
  EXPECT_EQ(App().MessageBox("\xC7\xEB\xCA\xE4\xC8\xEB\xCA\xFD\xD7\xD6\xA3\xA1"), IDOK);
  ASSERT_EQ(boxes.Boxes().size(), 1u);
  const fwtest::RecordedBox& box = boxes.Boxes()[0];
  EXPECT_EQ(box.caption, "\xBD\xD7\xB3\xCB");
  EXPECT_EQ(box.text, "\xC7\xEB\xCA\xE4\xC8\xEB\xCA\xFD\xD7\xD6\xA3\xA1");
  EXPECT_EQ(box.buttons.size(), 1u);
  EXPECT_FALSE(box.has_icon);
  EXPECT_TRUE(box.owner_disabled);
  EXPECT_TRUE(IsWindowEnabled(form->Handle()));  // enabled again afterwards
  const int cx = (box.rect.left + box.rect.right) / 2;
  const int cy = (box.rect.top + box.rect.bottom) / 2;
  EXPECT_NEAR(cx, GetSystemMetrics(SM_CXSCREEN) / 2, 2);
  EXPECT_NEAR(cy, GetSystemMetrics(SM_CYSCREEN) / 2, 40);
}

TEST_F(FormsTest, ErrorBoxAddsAFullStopOnlyAfterALetterOrDigit) {
  EXPECT_EQ(fw::ExceptionMessageText("bad value"), "bad value.");
  EXPECT_EQ(fw::ExceptionMessageText("done."), "done.");
  EXPECT_EQ(fw::ExceptionMessageText("what?"), "what?");
  EXPECT_EQ(fw::ExceptionMessageText("7"), "7.");
  EXPECT_EQ(fw::ExceptionMessageText("\xA3\xA1"), "\xA3\xA1");  // ends in a GBK character
  EXPECT_EQ(fw::ExceptionMessageText(""), "");
}

TEST_F(FormsTest, RunEndsWhenTheMainFormCloses) {
  TDescribedForm* form = App().CreateForm<TDescribedForm>();
  PostMessageA(form->Handle(), WM_CLOSE, 0, 0);
  App().Run();
  EXPECT_TRUE(App().Terminated());
  EXPECT_TRUE(form->Visible());
  // The loop took its WM_QUIT: a message box afterwards still waits for its button.
  fwtest::MessageBoxRecorder boxes;
  App().MessageBox("after");
  EXPECT_THAT(boxes.Texts(), ElementsAre("after"));
}

TEST_F(FormsTest, WrittenFormReadsBackTheSame) {
  TDescribedForm* form = App().CreateForm<TDescribedForm>();
  const std::string text = fw::WriteComponentToText(*form);
  TDescribedForm again(nullptr);
  again.ReadDescription(text);
  EXPECT_EQ(fw::WriteComponentToText(again), text);
  EXPECT_THAT(text, testing::HasSubstr("OnClick = Button1Click"));
  EXPECT_THAT(text, testing::HasSubstr("object Edit1: TEdit"));
}

// A write through a pointer to a deleted object damages the C runtime heap and the heap
// check finds it: the prefix's heap checking and the check are both on. The byte is put back
// before the test ends, so the heap is whole again for the check after this test.
TEST(HeapCheck, AWriteIntoADeletedObjectIsFound) {
  if (const char* check = std::getenv("WINE_HEAP_CHECK"); check && !std::strcmp(check, "0"))
    GTEST_SKIP() << "heap checking is off for this run (WINE_HEAP_CHECK=0)";
  ASSERT_THAT(fwtest::DamagedHeaps(), testing::IsEmpty());
  auto* object = new std::array<unsigned char, 64>{};
  unsigned char* volatile dangling = object->data();
  delete object;
  const unsigned char before = dangling[20];
  dangling[20] = static_cast<unsigned char>(~before);
  const std::vector<std::string> damaged = fwtest::DamagedHeaps();
  dangling[20] = before;
  EXPECT_THAT(damaged, testing::Contains(testing::StartsWith("the C runtime heap")))
      << "heap checking is off: the prefix should have GlobalFlag 0x70 (scripts/wine-env.sh)";
  EXPECT_THAT(fwtest::DamagedHeaps(), testing::IsEmpty());
}

}  // namespace
