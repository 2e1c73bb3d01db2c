// Framework controls on real windows: class names, the window-procedure property, key
// filtering, clicks, notifications and timers.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "framework/application.h"
#include "framework/comctrls.h"
#include "framework/image_list.h"
#include "framework/std_controls.h"
#include "framework/timer.h"
#include "tests/support/fw_test.h"

namespace {

using testing::ElementsAre;

std::string ClassOf(HWND hwnd) {
  char name[100] = {};
  GetClassNameA(hwnd, name, sizeof name);
  return name;
}

class TTestForm : public fw::TForm {
  FW_CLASS_INFO()
 public:
  explicit TTestForm(fw::TComponent* owner) : TForm(owner) {}
};

const fw::TClassInfo& TTestForm::StaticClassInfo() {
  static const fw::TClassInfo info =
      fw::DescribeClass<TTestForm, fw::TForm>("TTestForm", [](auto&) {});
  return info;
}

class ControlsTest : public fwtest::ApplicationTest {
 protected:
  void SetUp() override {
    ApplicationTest::SetUp();
    form_ = new TTestForm(&App());
    form_->SetBounds(100, 100, 400, 300);
  }
  template <class T>
  T* Add(int left, int top, int width = 100, int height = 24) {
    auto* c = new T(form_);
    c->SetParent(form_);
    c->SetBounds(left, top, width, height);
    return c;
  }
  TTestForm* form_ = nullptr;
};

TEST_F(ControlsTest, WindowClassesCarryTheFrameworkClassNames) {
  auto* button = Add<fw::TButton>(10, 10);
  auto* edit = Add<fw::TEdit>(10, 40);
  auto* memo = Add<fw::TMemo>(10, 70, 100, 60);
  auto* check = Add<fw::TCheckBox>(10, 140);
  auto* radio = Add<fw::TRadioButton>(10, 170);
  auto* combo = Add<fw::TComboBox>(200, 10);
  auto* panel = Add<fw::TPanel>(200, 50);
  auto* group = Add<fw::TGroupBox>(200, 120);
  EXPECT_EQ(ClassOf(form_->Handle()), "TTestForm");
  EXPECT_EQ(ClassOf(button->Handle()), "TButton");
  EXPECT_EQ(ClassOf(edit->Handle()), "TEdit");
  EXPECT_EQ(ClassOf(memo->Handle()), "TMemo");
  EXPECT_EQ(ClassOf(check->Handle()), "TCheckBox");
  EXPECT_EQ(ClassOf(radio->Handle()), "TRadioButton");
  EXPECT_EQ(ClassOf(combo->Handle()), "TComboBox");
  EXPECT_EQ(ClassOf(panel->Handle()), "TPanel");
  EXPECT_EQ(ClassOf(group->Handle()), "TGroupBox");
  EXPECT_EQ(GetParent(button->Handle()), form_->Handle());
  // Superclassed: the system class's behaviour is all there.
  SendMessageA(edit->Handle(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>("12345"));
  SendMessageA(edit->Handle(), EM_SETSEL, 1, 3);
  DWORD from = 0, to = 0;
  SendMessageA(edit->Handle(), EM_GETSEL, reinterpret_cast<WPARAM>(&from),
               reinterpret_cast<LPARAM>(&to));
  EXPECT_EQ(from, 1u);
  EXPECT_EQ(to, 3u);
  check->SetChecked(true);
  EXPECT_EQ(SendMessageA(check->Handle(), BM_GETCHECK, 0, 0), BST_CHECKED);
  EXPECT_TRUE(memo->Handle() && (GetWindowLongA(memo->Handle(), GWL_STYLE) & ES_MULTILINE));
  EXPECT_EQ(fw::TWinControl::FromHandle(button->Handle()), button);
}

TEST_F(ControlsTest, CommonControlsKeepTheirRangeAndReportChanges) {
  auto* progress = Add<fw::TProgressBar>(10, 10, 150, 16);
  progress->SetMax(50);
  progress->SetPosition(20);
  auto* bar = Add<fw::TScrollBar>(10, 40, 150, 17);
  auto* tabs = Add<fw::TTabControl>(10, 70, 200, 100);
  tabs->SetTabs({"one", "two"});
  auto* track = Add<fw::TTrackBar>(220, 10);
  auto* updown = Add<fw::TUpDown>(220, 60);
  auto* status = Add<fw::TStatusBar>(0, 250, 400, 19);
  EXPECT_EQ(ClassOf(progress->Handle()), "TProgressBar");
  EXPECT_EQ(ClassOf(bar->Handle()), "TScrollBar");
  EXPECT_EQ(ClassOf(tabs->Handle()), "TTabControl");
  EXPECT_EQ(ClassOf(track->Handle()), "TTrackBar");
  EXPECT_EQ(ClassOf(updown->Handle()), "TUpDown");
  EXPECT_EQ(ClassOf(status->Handle()), "TStatusBar");
  EXPECT_EQ(SendMessageA(progress->Handle(), PBM_GETPOS, 0, 0), 20);
  EXPECT_EQ(SendMessageA(progress->Handle(), PBM_GETRANGE, FALSE, 0), 50);
  EXPECT_EQ(SendMessageA(tabs->Handle(), TCM_GETITEMCOUNT, 0, 0), 2);
  int changes = 0;
  bar->OnChange = [&](fw::TObject*) { ++changes; };
  // The parent reflects the bar's scroll request to it (CN_HSCROLL).
  SendMessageA(form_->Handle(), WM_HSCROLL, SB_LINEDOWN, reinterpret_cast<LPARAM>(bar->Handle()));
  SendMessageA(form_->Handle(), WM_HSCROLL, SB_LINEDOWN, reinterpret_cast<LPARAM>(bar->Handle()));
  EXPECT_EQ(bar->Position(), 2);
  EXPECT_EQ(changes, 2);
  SendMessageA(form_->Handle(), WM_HSCROLL, SB_TOP, reinterpret_cast<LPARAM>(bar->Handle()));
  EXPECT_EQ(bar->Position(), 0);
}

TEST_F(ControlsTest, TextSetBeforeTheWindowReachesIt) {
  auto* edit = Add<fw::TEdit>(10, 10);
  edit->SetText("before");
  EXPECT_FALSE(edit->HandleAllocated());
  HWND hwnd = edit->Handle();
  char buffer[32] = {};
  GetWindowTextA(hwnd, buffer, sizeof buffer);
  EXPECT_STREQ(buffer, "before");
  SetWindowTextA(hwnd, "typed");
  EXPECT_EQ(edit->Text(), "typed");  // read back from the window
}

// A stand-in for a skinner: records what reaches it, swallows WM_LBUTTONDOWN, passes the
// rest to the procedure it replaced.
struct Interceptor {
  void Hook(fw::TControl& control) {
    target = &control;
    saved = control.WindowProc();
    control.SetWindowProc(fw::TWndMethod::Of<&Interceptor::Proc>(this));
  }
  void Unhook() { target->SetWindowProc(saved); }
  void Proc(fw::TMessage& m) {
    seen.push_back(m.Msg);
    if (m.Msg == WM_LBUTTONDOWN && swallow_button_down) {
      m.Result = 0;
      return;
    }
    saved(m);
    if (m.Msg == WM_USER + 7) m.Result += 1000;
  }
  fw::TControl* target = nullptr;
  fw::TWndMethod saved;
  std::vector<UINT> seen;
  bool swallow_button_down = true;
};

TEST_F(ControlsTest, WindowProcPropertyCanBeReplacedAndGivenBack) {
  auto* edit = Add<fw::TEdit>(10, 10);
  HWND hwnd = edit->Handle();
  const fw::TWndMethod original = edit->WindowProc();
  EXPECT_EQ(original, edit->DefaultWindowProc());
  Interceptor skinner;
  skinner.Hook(*edit);
  EXPECT_EQ(edit->WindowProc(), fw::TWndMethod::Of<&Interceptor::Proc>(&skinner));

  // A message sent to the window goes through the property, then the edit's own handling.
  SendMessageA(hwnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("abc"));
  EXPECT_EQ(edit->Text(), "abc");
  EXPECT_THAT(skinner.seen, testing::Contains(UINT(WM_SETTEXT)));
  // The replacement sees the result of the procedure it called and may change it.
  EXPECT_EQ(SendMessageA(hwnd, WM_USER + 7, 0, 0), 1000);
  // A swallowed message never reaches the edit: it does not take the focus.
  auto* other = Add<fw::TButton>(10, 50);
  form_->Show();
  other->SetFocus();
  ASSERT_EQ(GetFocus(), other->Handle());
  SendMessageA(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  EXPECT_NE(GetFocus(), hwnd);
  // Perform goes through the property too (windowless controls get messages this way).
  skinner.seen.clear();
  edit->Perform(fw::CM_MOUSELEAVE);
  EXPECT_THAT(skinner.seen, ElementsAre(fw::CM_MOUSELEAVE));

  skinner.Unhook();
  EXPECT_EQ(edit->WindowProc(), original);
  skinner.seen.clear();
  SendMessageA(hwnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("xyz"));
  EXPECT_TRUE(skinner.seen.empty());
  EXPECT_EQ(edit->Text(), "xyz");
}

// Records (message, wParam, lParam) of what reaches it and passes everything on.
struct Recorder {
  struct Entry {
    UINT msg;
    WPARAM w;
    LPARAM l;
    bool operator==(const Entry&) const = default;
  };
  void Hook(fw::TControl& control) {
    saved = control.WindowProc();
    control.SetWindowProc(fw::TWndMethod::Of<&Recorder::Proc>(this));
  }
  void Proc(fw::TMessage& m) {
    if (m.Msg >= WM_USER && m.Msg < WM_USER + 100) log.push_back({m.Msg, m.WParam, m.LParam});
    saved(m);
  }
  fw::TWndMethod saved;
  std::vector<Entry> log;
};

TEST_F(ControlsTest, StackedWindowProcsPassUnhandledMessagesDownOnceInOrder) {
  auto* edit = Add<fw::TEdit>(10, 10);
  HWND hwnd = edit->Handle();
  const fw::TWndMethod original = edit->WindowProc();
  Recorder below;
  below.Hook(*edit);
  Interceptor skinner;  // handles WM_LBUTTONDOWN itself, passes the rest
  skinner.Hook(*edit);
  SendMessageA(hwnd, WM_USER + 2, 1, 2);
  SendMessageA(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, 0);
  PostMessageA(hwnd, WM_USER + 3, 5, 6);
  fwtest::PumpFor(20);
  SendMessageA(hwnd, WM_USER + 4, 7, 8);
  using E = Recorder::Entry;
  EXPECT_THAT(below.log,
              ElementsAre(E{WM_USER + 2, 1, 2}, E{WM_USER + 3, 5, 6}, E{WM_USER + 4, 7, 8}));
  // Detaching in reverse order gives each layer back what it replaced.
  skinner.Unhook();
  EXPECT_EQ(edit->WindowProc(), fw::TWndMethod::Of<&Recorder::Proc>(&below));
  below.log.clear();
  SendMessageA(hwnd, WM_USER + 5, 0, 0);
  EXPECT_THAT(below.log, ElementsAre(E{WM_USER + 5, 0, 0}));
  edit->SetWindowProc(below.saved);
  EXPECT_EQ(edit->WindowProc(), original);
  // An empty method stands for the control's own procedure.
  edit->SetWindowProc(fw::TWndMethod());
  EXPECT_EQ(edit->WindowProc(), original);
}

TEST_F(ControlsTest, WindowlessChildIsPaintedThroughItsWindowProc) {
  auto* label = Add<fw::TLabel>(10, 10, 80, 20);
  label->SetAutoSize(false);
  label->SetCaption("label");
  form_->Show();
  fwtest::PumpFor(50);
  Interceptor spy;
  spy.Hook(*label);
  InvalidateRect(form_->Handle(), nullptr, TRUE);
  UpdateWindow(form_->Handle());
  EXPECT_THAT(spy.seen, testing::Contains(UINT(WM_PAINT)));
  // The parent forwards clicks in the label's own coordinates; the label fires OnClick.
  int clicks = 0;
  label->OnClick = [&](fw::TObject*) { ++clicks; };
  SendMessageA(form_->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(15, 15));
  SendMessageA(form_->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(15, 15));
  EXPECT_EQ(clicks, 0);  // the spy swallows the press
  spy.Unhook();
  SendMessageA(form_->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(15, 15));
  SendMessageA(form_->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(15, 15));
  EXPECT_EQ(clicks, 1);
  // Released outside: no click.
  SendMessageA(form_->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(15, 15));
  SendMessageA(form_->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(300, 200));
  EXPECT_EQ(clicks, 1);
}

TEST_F(ControlsTest, KeyPressFilterDiscardsOrReplacesCharacters) {
  auto* edit = Add<fw::TEdit>(10, 10);
  std::vector<char> keys;
  edit->OnKeyPress = [&](fw::TObject* sender, char& key) {
    EXPECT_EQ(sender, edit);
    keys.push_back(key);
    if (key == 'a') key = 0;    // refused
    if (key == 'b') key = 'B';  // replaced
  };
  HWND hwnd = edit->Handle();
  for (char c : {'1', 'a', 'b', '2'}) SendMessageA(hwnd, WM_CHAR, static_cast<unsigned char>(c), 1);
  EXPECT_EQ(edit->Text(), "1B2");
  SendMessageA(hwnd, WM_CHAR, VK_BACK, 1);
  EXPECT_EQ(edit->Text(), "1B");
  EXPECT_THAT(keys, ElementsAre('1', 'a', 'b', '2', '\b'));
}

TEST_F(ControlsTest, ButtonClickReachesOnClickThroughTheReflectedCommand) {
  auto* button = Add<fw::TButton>(10, 10);
  std::vector<fw::TObject*> senders;
  button->OnClick = [&](fw::TObject* s) { senders.push_back(s); };
  Interceptor spy;
  spy.swallow_button_down = false;
  spy.Hook(*button);
  SendMessageA(button->Handle(), BM_CLICK, 0, 0);
  EXPECT_THAT(senders, ElementsAre(button));
  EXPECT_THAT(spy.seen, testing::Contains(fw::CN_COMMAND));
  button->Click();  // what a button skinner does on mouse-up
  EXPECT_EQ(senders.size(), 2u);
  spy.Unhook();
}

TEST_F(ControlsTest, ExceptionFromAHandlerIsShownInTheErrorBox) {
  App().SetTitle("Title");
  auto* button = Add<fw::TButton>(10, 10);
  button->OnClick = [](fw::TObject*) {
    throw fw::EConvertError("'abc' is not a valid floating point value");
  };
  fwtest::MessageBoxRecorder boxes;
  SendMessageA(button->Handle(), BM_CLICK, 0, 0);
  ASSERT_EQ(boxes.Boxes().size(), 1u);
  EXPECT_EQ(boxes.Boxes()[0].text, "'abc' is not a valid floating point value.");
  EXPECT_EQ(boxes.Boxes()[0].caption, "Title");
  EXPECT_TRUE(boxes.Boxes()[0].has_icon);
}

TEST_F(ControlsTest, TabMovesAlongTabOrderSkippingDisabledControls) {
  auto* second = Add<fw::TEdit>(10, 40);
  second->SetTabOrder(1);
  auto* disabled = Add<fw::TEdit>(10, 70);
  disabled->SetTabOrder(2);
  disabled->SetEnabled(false);
  auto* first = Add<fw::TEdit>(10, 10);
  first->SetTabOrder(0);
  auto* third = Add<fw::TButton>(10, 100);
  third->SetTabOrder(3);
  EXPECT_THAT(form_->TabList(), ElementsAre(first, second, disabled, third));
  form_->Show();
  first->SetFocus();
  form_->SelectNext(first, true);
  EXPECT_TRUE(second->Focused());
  form_->SelectNext(second, true);
  EXPECT_TRUE(third->Focused());
  form_->SelectNext(third, true);
  EXPECT_TRUE(first->Focused());
  form_->SelectNext(first, false);
  EXPECT_TRUE(third->Focused());
  EXPECT_EQ(form_->ActiveControl(), third);
}

TEST_F(ControlsTest, FontsAndColoursComeFromTheParentUntilSet) {
  form_->Font().SetName("Arial");
  form_->Font().SetHeight(-15);
  auto* label = Add<fw::TLabel>(10, 10);
  auto* edit = Add<fw::TEdit>(10, 40);
  EXPECT_EQ(label->Font().Height(), -15);
  EXPECT_TRUE(label->ParentFont());
  edit->Font().SetHeight(-20);
  EXPECT_FALSE(edit->ParentFont());
  form_->Font().SetHeight(-12);
  EXPECT_EQ(label->Font().Height(), -12);
  EXPECT_EQ(edit->Font().Height(), -20);
  // The window gets the font's handle.
  EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageA(edit->Handle(), WM_GETFONT, 0, 0)),
            edit->Font().Handle());
  LOGFONTA lf{};
  GetObjectA(edit->Font().Handle(), sizeof lf, &lf);
  EXPECT_EQ(lf.lfHeight, -20);
  EXPECT_EQ(label->Color(), form_->Color());  // windowless controls take the parent's colour
  EXPECT_EQ(fw::ColorToRGB(fw::clBtnFace), GetSysColor(COLOR_BTNFACE));
  EXPECT_EQ(fw::ColorToRGB(0x123456), 0x123456u);
}

// Records removal notifications, as a form controller does for the controls it skins.
std::string Text(const RECT& r) {
  return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) +
         "," + std::to_string(r.bottom);
}

TEST_F(ControlsTest, AlignedControlsFollowEveryClientSizeChange) {
  auto* bar = Add<fw::TStatusBar>(0, 0, 50, 20);  // a status bar keeps to the bottom
  auto* top = Add<fw::TPanel>(0, 100, 50, 30);
  top->SetAlign(fw::alTop);
  auto* rest = Add<fw::TPanel>(0, 0);
  rest->SetAlign(fw::alClient);
  const auto check = [&](const char* when) {
    RECT client{};
    GetClientRect(form_->Handle(), &client);
    EXPECT_EQ(Text(bar->BoundsRect()), Text({0, client.bottom - 20, client.right, client.bottom}))
        << when;
    EXPECT_EQ(Text(top->BoundsRect()), Text({0, 0, client.right, 30})) << when;
    EXPECT_EQ(Text(rest->BoundsRect()), Text({0, 30, client.right, client.bottom - 20})) << when;
    RECT shown{};  // the windows are where the bounds say
    GetWindowRect(bar->Handle(), &shown);
    MapWindowPoints(nullptr, form_->Handle(), reinterpret_cast<POINT*>(&shown), 2);
    EXPECT_EQ(Text(shown), Text(bar->BoundsRect())) << when;
  };
  form_->Show();
  check("shown");
  SetWindowPos(form_->Handle(), nullptr, 0, 0, 520, 410, SWP_NOMOVE | SWP_NOZORDER);
  check("sized by its window");
  top->SetHeight(40);  // an aligned control's own size along its edge stays its own
  EXPECT_EQ(rest->Top(), 40);
  top->SetVisible(false);
  EXPECT_EQ(rest->Top(), 0);
  top->SetVisible(true);
  delete top;
  EXPECT_EQ(rest->Top(), 0);
}

class Watcher : public fw::TComponent {
 public:
  using TComponent::TComponent;
  void Notification(fw::TComponent* c, fw::TOperation op) override {
    if (op == fw::opRemove) removed.push_back(c->Name());
    TComponent::Notification(c, op);
  }
  std::vector<std::string> removed;
};

TEST_F(ControlsTest, FreeingControlsNotifiesTheFormsComponents) {
  auto* a = Add<fw::TButton>(10, 10);
  a->SetName("A");
  auto* b = Add<fw::TLabel>(10, 40);
  b->SetName("B");
  auto* watcher = new Watcher(form_);
  HWND button_window = a->Handle();
  delete b;
  EXPECT_THAT(watcher->removed, ElementsAre("B"));
  EXPECT_EQ(form_->ControlCount(), 1);
  a->SetParent(nullptr);  // leaves its parent (and loses its window), still owned by the form
  EXPECT_FALSE(IsWindow(button_window));
  EXPECT_EQ(a->Owner(), form_);
  HWND form_window = form_->Handle();
  delete form_;
  form_ = nullptr;
  EXPECT_FALSE(IsWindow(form_window));
  EXPECT_TRUE(App().Forms().empty());
}

TEST_F(ControlsTest, TimerFiresThroughTheMessageLoopWhileEnabled) {
  fw::TTimer timer(nullptr);
  int ticks = 0;
  timer.OnTimer = [&](fw::TObject* s) {
    EXPECT_EQ(s, &timer);
    ++ticks;
  };
  timer.SetInterval(10);
  EXPECT_TRUE(fwtest::PumpUntil([&] { return ticks >= 3; }, 3000));
  timer.SetEnabled(false);
  const int stopped_at = ticks;
  fwtest::PumpFor(60);
  EXPECT_EQ(ticks, stopped_at);
}

TEST(CanvasAndBitmap, DibBitmapRowsAreTopDownAndDrawable) {
  fw::TBitmap bitmap;
  bitmap.SetPixelFormat(fw::pf32bit);
  bitmap.SetSize(4, 3);
  ASSERT_NE(bitmap.ScanLine(0), nullptr);
  EXPECT_EQ(bitmap.Stride(), 16u);
  bitmap.Canvas().Brush().SetColor(fw::clRed);
  const RECT top_row{0, 0, 4, 1};
  bitmap.Canvas().FillRect(top_row);
  GdiFlush();
  const uint8_t* row0 = bitmap.ScanLine(0);
  EXPECT_EQ(row0[0], 0);                  // blue
  EXPECT_EQ(row0[2], 255);                // red
  EXPECT_EQ(bitmap.ScanLine(1)[2], 255);  // new area is white
  EXPECT_EQ(bitmap.ScanLine(1)[1], 255);
  EXPECT_EQ(bitmap.ScanLine(3), nullptr);
  // Resizing keeps the top-left part.
  bitmap.SetSize(2, 2);
  EXPECT_EQ(bitmap.ScanLine(0)[2], 255);
  EXPECT_EQ(bitmap.ScanLine(0)[0], 0);
  fw::TBitmap copy;
  copy.Assign(bitmap);
  EXPECT_EQ(copy.Width(), 2);
  EXPECT_EQ(copy.Canvas().Pixel(0, 0), RGB(255, 0, 0));
}

TEST(ImageLists, MaskedBitmapSplitsIntoImages) {
  fw::TBitmap strip;
  strip.SetPixelFormat(fw::pf24bit);
  strip.SetSize(64, 16);
  fw::TImageList images(16, 16);
  EXPECT_EQ(images.AddMasked(strip, fw::clWhite), 0);
  EXPECT_EQ(images.Count(), 4);
  int cx = 0, cy = 0;
  ImageList_GetIconSize(images.Handle(), &cx, &cy);
  EXPECT_EQ(cx, 16);
  EXPECT_EQ(cy, 16);
}

}  // namespace
