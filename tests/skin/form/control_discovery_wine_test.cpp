// The walk over a form's components and over a dialog's child windows on real windows:
// which skinner each control gets (recorded by the controller), what the walk does beyond
// attaching, and that unskinning gives every window procedure back, also after a
// thousand rounds.
#include <windows.h>

#include <commctrl.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "app/main_form.h"
#include "framework/application.h"
#include "framework/comctrls.h"
#include "framework/forms.h"
#include "framework/handle_counts.h"
#include "framework/std_controls.h"
#include "skin/controls/skin_control.h"
#include "skin/data/skin_data.h"
#include "skin/form/control_discovery.h"
#include "skin/form/skin_form.h"
#include "skin/manager/skin_manager.h"
#include "tests/skin/form/fake_controls.h"
#include "tests/support/fw_test.h"

namespace skin {
namespace {

using testing::Contains;
using testing::IsEmpty;

TSkinControl* MakeBase(fw::TComponent* owner) { return new TSkinControl(owner); }

// Every kind gets the base skinner, so that the walk really attaches (and detaches).
struct BaseMakers {
  BaseMakers() {
    for (int k = 1; k < static_cast<int>(SkinnerKind::Count); ++k)
      RegisterSkinnerMaker(static_cast<SkinnerKind>(k), &MakeBase);
  }
  ~BaseMakers() { RestoreStandardSkinnerMakers(); }
};

const ClassifiedControl* Find(const TSkinForm& c, const std::string& name) {
  for (const ClassifiedControl& r : c.Classified)
    if (r.name == name) return &r;
  return nullptr;
}

// What a window looks like from outside: its procedure and its property.
struct Hooks {
  std::map<HWND, LONG_PTR> procs;
  std::map<fw::TControl*, bool> own_property;
  static Hooks Of(fw::TComponent* root) {
    Hooks h;
    Collect(root, h);
    return h;
  }
  static void Collect(fw::TComponent* owner, Hooks& h) {
    for (fw::TComponent* c : owner->ComponentList()) {
      if (auto* control = dynamic_cast<fw::TControl*>(c))
        h.own_property[control] = control->WindowProc() == control->DefaultWindowProc();
      if (auto* win = dynamic_cast<fw::TWinControl*>(c)) {
        if (win->HandleAllocated())
          h.procs[win->Handle()] = GetWindowLongPtrA(win->Handle(), GWLP_WNDPROC);
      }
      Collect(c, h);
    }
  }
  bool operator==(const Hooks&) const = default;
};

class DiscoveryTest : public fwtest::ApplicationTest {
 protected:
  void SetUp() override {
    ApplicationTest::SetUp();
    form_ = new fw::TForm(&App());
    form_->SetName("Form9");
    form_->SetBounds(20, 20, 640, 480);
    data_ = new TSkinData(form_);
    data_->SetSkin3rd(fw::TStringList{});
    data_->Tabs = std::make_unique<TDataSkinBorder>("Tabs");
    data_->ButtonFace = RgbColour(200, 100, 50);
  }
  void TearDown() override {
    delete form_;
    ApplicationTest::TearDown();
  }
  template <class T>
  T* Add(const std::string& name, fw::TComponent* owner = nullptr,
         fw::TWinControl* parent = nullptr) {
    auto* c = new T(owner ? owner : form_);
    c->SetName(name);
    if (auto* control = dynamic_cast<fw::TControl*>(static_cast<fw::TComponent*>(c))) {
      control->SetParent(parent ? parent : form_);
      control->SetBounds(4 + (next_ % 12) * 50, 4 + (next_ / 12) * 30, 46, 26);
      ++next_;
    }
    return c;
  }
  // A controller on the form, not yet walking.
  TSkinForm* Controller() {
    auto* c = new TSkinForm(nullptr);
    c->Handle = form_->Handle();
    c->Form = form_;
    c->SkinData = data_;
    return c;
  }
  // One component for each row of the table.
  void AddOneOfEachRow() {
    data_->SetSkin3rd(fw::TStringList{"TThirdParty=button"});
    Add<TFake<"TDBComboBoxEh", fw::TWinControl>>("Row1");
    Add<TFake<"TToolBar", fw::TWinControl>>("Row2");
    Add<TFake<"TPageControl", TFake<"TCustomTabControl", fw::TWinControl>>>("Row3");
    Add<TFake<"TThirdParty", fw::TWinControl>>("Row4");
    Add<TFake<"TTabSet", fw::TCustomControl>>("Row5");
    Add<TFake<"TTabbedNotebook", fw::TWinControl>>("Row6");
    auto* mvc = Add<TFake<"TMvcPanel", fw::TWinControl>>("Row7");
    Add<fw::TButton>("InMvc", mvc);
    Add<TFake<"TTabControl", fw::TWinControl>>("Row8");
    Add<fw::TCheckBox>("Row9");
    Add<fw::TTrackBar>("Row10");
    Add<fw::TUpDown>("Row11");
    auto* radios = Add<TFake<"TRadioGroup", TFake<"TCustomRadioGroup", fw::TGroupBox>>>("Row12");
    Add<fw::TRadioButton>("Radio1", nullptr, radios);
    Add<fw::TRadioButton>("Radio2", nullptr, radios);
    Add<TFake<"TDBNavigator", fw::TPanel>>("Row13");
    Add<fw::TGroupBox>("Row14");
    Add<fw::TRadioButton>("Row15");
    Add<TFake<"TCoolBar", fw::TWinControl>>("Row16");
    Add<fw::TStatusBar>("Row17");
    Add<fw::TProgressBar>("Row18");
    Add<TFake<"TScrollBox", TFake<"TScrollingWinControl", fw::TWinControl>>>("Row19");
    Add<fw::TComboBox>("Row20");
    Add<TFake<"TDateTimePicker", fw::TWinControl>>("Row21");
    Add<TFake<"TRichEdit", fw::TMemo>>("Row22");
    Add<TFake<"TdxDBMemo", fw::TWinControl>>("Row23");
    Add<TFake<"TBitBtn", fw::TButton>>("Row24");
    Add<TFake<"TSpeedButton", fw::TGraphicControl>>("Row25");
    Add<fw::TPanel>("Row26");
    Add<TFake<"TdxDBGrid", fw::TWinControl>>("Row27");
    Add<TFake<"TListView", TFake<"TCustomListView", fw::TWinControl>>>("Row28");
    Add<fw::TMemo>("Row29");
    Add<TFake<"TListBox", TFake<"TCustomListBox", fw::TWinControl>>>("Row30");
    Add<TFake<"TTreeView", TFake<"TCustomTreeView", fw::TWinControl>>>("Row31");
    Add<fw::TButton>("Row32");
    Add<fw::TEdit>("Row33");
    auto* frame = Add<TFake<"TFrame1", TFake<"TFrame", fw::TWinControl>>>("Row34");
    Add<fw::TEdit>("InFrame", frame, frame);
    auto* embedded = new TFake<"TForm2", fw::TForm>(form_);
    embedded->SetName("Row35");
    Add<fw::TButton>("InEmbedded", embedded, embedded);
    Add<fw::TLabel>("NoRow");
  }
  fw::TForm* form_ = nullptr;
  TSkinData* data_ = nullptr;
  int next_ = 0;
  BaseMakers makers_;
};

TEST_F(DiscoveryTest, EveryRowIsReachedOnAForm) {
  AddOneOfEachRow();
  form_->HandleNeeded();
  const fw::TColor panel_color = static_cast<fw::TPanel*>(form_->FindComponent("Row26"))->Color();
  TSkinForm* c = Controller();
  c->SkinFormControls(form_);
  for (int row = 1; row <= kTableRows; ++row) {
    const std::string name = "Row" + std::to_string(row);
    const ClassifiedControl* r = Find(*c, name);
    ASSERT_NE(r, nullptr) << name;
    EXPECT_EQ(r->row, row) << name << " (" << r->class_name << ")";
    EXPECT_EQ(r->attached, r->kind != SkinnerKind::None) << name;
  }
  EXPECT_EQ(Find(*c, "NoRow")->row, kRowNone);
  // The walk went into the containers' owned components.
  EXPECT_EQ(Find(*c, "InMvc")->kind, SkinnerKind::Button);
  EXPECT_EQ(Find(*c, "InFrame")->kind, SkinnerKind::Edit);
  EXPECT_EQ(Find(*c, "InEmbedded")->kind, SkinnerKind::Button);
  // The radio group's children were skinned by the group row, then found skinned.
  EXPECT_EQ(Find(*c, "Radio1")->row, kRowAlreadySkinned);
  // Side effects.
  auto* status = static_cast<fw::TStatusBar*>(form_->FindComponent("Row17"));
  EXPECT_FALSE(status->SizeGrip());
  auto* embedded = static_cast<fw::TForm*>(form_->FindComponent("Row35"));
  EXPECT_EQ(embedded->Color(), static_cast<fw::TColor>(data_->ButtonFace));
  auto* panel = static_cast<fw::TPanel*>(form_->FindComponent("Row26"));
  EXPECT_EQ(panel->Color(), static_cast<fw::TColor>(data_->ButtonFace));  // recoloured
  // Skinners entered in the list: all but the edits attached by handle.
  const TSkinControl* edit = nullptr;
  for (fw::TComponent* owned : c->ComponentList()) {
    auto* s = dynamic_cast<TSkinControl*>(owned);
    if (s && s->FHandle == static_cast<fw::TEdit*>(form_->FindComponent("Row33"))->Handle())
      edit = s;
  }
  ASSERT_NE(edit, nullptr);
  EXPECT_THAT(c->Skinners, testing::Not(Contains(edit)));
  EXPECT_NE(
      c->FindSkinnerByHandle(static_cast<fw::TButton*>(form_->FindComponent("Row32"))->Handle()),
      nullptr);
  c->FreeSkinners();
  delete c;
  EXPECT_EQ(panel->Color(), panel_color);  // given back
}

TEST_F(DiscoveryTest, UnskinningGivesEveryProcedureBackAThousandTimes) {
  AddOneOfEachRow();
  for (int i = 0; i < 60; ++i) Add<fw::TButton>("Extra" + std::to_string(i));
  form_->HandleNeeded();
  {
    TSkinForm* warm = Controller();  // creates the windows the walk needs
    warm->SkinFormControls(form_);
    delete warm;
  }
  const Hooks hooks = Hooks::Of(form_);
  ASSERT_GT(hooks.procs.size(), 50u);
  const fw::HandleSnapshot before = fw::LiveHandleSnapshot();
  size_t attached = 0;
  for (int round = 0; round < 1000; ++round) {
    TSkinForm* c = Controller();
    c->SkinFormControls(form_);
    if (round == 0) {
      attached = c->ComponentList().size();
      EXPECT_FALSE(Hooks::Of(form_) == hooks);
    }
    c->FreeSkinners();
    delete c;
  }
  EXPECT_GT(attached, 80u);
  EXPECT_EQ(fw::LiveHandleSnapshot().DifferenceFrom(before), "");
  EXPECT_TRUE(Hooks::Of(form_) == hooks);
}

TEST_F(DiscoveryTest, DisableTagSkipsTheRemainderNotTheNegative) {
  auto* kept = Add<fw::TButton>("Kept");
  kept->SetTag(199);
  auto* skinned = Add<fw::TButton>("Skinned");
  skinned->SetTag(-99);
  form_->HandleNeeded();
  const LONG_PTR proc = GetWindowLongPtrA(kept->Handle(), GWLP_WNDPROC);
  TSkinForm* c = Controller();
  c->SkinFormControls(form_);
  EXPECT_EQ(Find(*c, "Kept")->row, kRowSkippedByTag);
  EXPECT_TRUE(kept->WindowProc() == kept->DefaultWindowProc());
  EXPECT_EQ(GetWindowLongPtrA(kept->Handle(), GWLP_WNDPROC), proc);
  EXPECT_EQ(Find(*c, "Skinned")->kind, SkinnerKind::Button);
  EXPECT_FALSE(skinned->WindowProc() == skinned->DefaultWindowProc());
  delete c;
}

TEST_F(DiscoveryTest, WithoutButtonMemberButtonsTrackBarsUpDownsAndMappingsStayAlone) {
  data_->SkinControls.Exclude(xcButton);
  data_->SetSkin3rd(fw::TStringList{"TFancy=BUTTON", "TSlider=TrackBar"});
  auto* button = Add<fw::TButton>("Button");
  Add<fw::TTrackBar>("Track");
  Add<fw::TUpDown>("UpDown");
  Add<TFake<"TFancy", fw::TWinControl>>("Fancy");
  Add<TFake<"TSlider", fw::TWinControl>>("Slider");
  TSkinForm* c = Controller();
  c->SkinFormControls(form_);
  for (const char* name : {"Button", "Track", "UpDown", "Fancy", "Slider"}) {
    EXPECT_EQ(Find(*c, name)->kind, SkinnerKind::None) << name;
    EXPECT_FALSE(Find(*c, name)->attached) << name;
  }
  EXPECT_THAT(c->Skinners, IsEmpty());
  EXPECT_TRUE(button->WindowProc() == button->DefaultWindowProc());
  delete c;
}

TEST_F(DiscoveryTest, UnknownMappedKindStopsWithoutSkinnerAndMappingsIgnoreCase) {
  data_->SetSkin3rd(fw::TStringList{"tbutton=Sparkle", "TTBDOCK=Panel", "tmemo=CHECKBOX"});
  Add<fw::TButton>("Button");
  Add<TFake<"TTBDock", fw::TWinControl>>("Dock");
  Add<fw::TMemo>("Memo");
  TSkinForm* c = Controller();
  c->SkinFormControls(form_);
  EXPECT_EQ(Find(*c, "Button")->row, kRowMapped);
  EXPECT_EQ(Find(*c, "Button")->kind, SkinnerKind::None);
  EXPECT_EQ(Find(*c, "Dock")->kind, SkinnerKind::Box);
  EXPECT_EQ(Find(*c, "Memo")->kind, SkinnerKind::CheckBox);
  EXPECT_EQ(c->Skinners.size(), 2u);
  // ApplyMappedKind on its own: a line decides, no line does not.
  EXPECT_TRUE(c->ApplyMappedKind("TBUTTON", form_->FindComponent("Button")));
  EXPECT_FALSE(c->ApplyMappedKind("TEDIT", form_->FindComponent("Button")));
  delete c;
}

TEST_F(DiscoveryTest, EventSuppliesTheSkinnerAndTheTableIsSkipped) {
  auto* button = Add<fw::TButton>("Button");
  Add<fw::TEdit>("Edit");
  std::vector<std::string> classes;
  data_->OnSkinControl = [&](fw::TComponent* sender, TSkinData* d, fw::TControl* form,
                             fw::TControl* control, const std::string& cls,
                             fw::TComponent*& skinned) {
    classes.push_back(cls);
    EXPECT_EQ(d, data_);
    EXPECT_EQ(form, form_);
    if (control == button) {
      auto* s = new TSkinControl(sender);
      s->FRecolor = true;
      skinned = s;
    }
  };
  TSkinForm* c = Controller();
  c->SkinFormControls(form_);
  EXPECT_THAT(classes, Contains("TBUTTON"));
  EXPECT_THAT(classes, Contains("TEDIT"));
  EXPECT_EQ(Find(*c, "Button")->row, kRowFromEvent);
  EXPECT_TRUE(Find(*c, "Button")->attached);
  EXPECT_EQ(button->Color(), static_cast<fw::TColor>(data_->ButtonFace));  // its own FRecolor
  EXPECT_EQ(Find(*c, "Edit")->row, 33);
  c->FreeSkinners();
  delete c;
}

TEST_F(DiscoveryTest, AlreadySkinnedComponentsAreSkipped) {
  auto* button = Add<fw::TButton>("Button");
  TSkinForm* c = Controller();
  c->SkinFormControls(form_);
  EXPECT_TRUE(c->IsAlreadySkinned(button));
  c->SkinFormControls(form_);
  EXPECT_EQ(c->Classified.back().row, kRowAlreadySkinned);
  EXPECT_EQ(c->Skinners.size(), 1u);
  // A windowed control without a window counts as skinned on a preview form only.
  auto* later = new fw::TButton(form_);
  EXPECT_FALSE(c->IsAlreadySkinned(later));
  form_->SetName("PrintPreview");
  EXPECT_TRUE(c->IsAlreadySkinned(later));
  delete later;
  delete c;
}

TEST_F(DiscoveryTest, CalculatorFormControls) {
  fw::TApplication& app = App();
  app.Initialize();
  TForm1* calc_form = nullptr;
  app.CreateForm(&calc_form);
  ASSERT_NE(calc_form, nullptr);
  auto* c = new TSkinForm(nullptr);
  c->Handle = calc_form->Handle();
  c->Form = calc_form;
  c->SkinData = calc_form->SkinData1;
  c->SkinFormControls(calc_form);
  for (const char* name : {"Button1", "Button2", "Button3"}) {
    EXPECT_EQ(Find(*c, name)->kind, SkinnerKind::Button) << name;
    EXPECT_EQ(Find(*c, name)->attach, AttachMode::Control) << name;
  }
  for (const char* name : {"Edit1", "Edit2", "Edit3"}) {
    EXPECT_EQ(Find(*c, name)->kind, SkinnerKind::Edit) << name;
    EXPECT_EQ(Find(*c, name)->attach, AttachMode::Handle) << name;
  }
  for (const char* name : {"Memo1", "Memo2"})
    EXPECT_EQ(Find(*c, name)->kind, SkinnerKind::ScrollBar);
  for (int i = 1; i <= 8; ++i) {
    const std::string name = "Label" + std::to_string(i);
    EXPECT_EQ(Find(*c, name)->kind, SkinnerKind::None) << name;
  }
  EXPECT_EQ(Find(*c, "SkinData1")->kind, SkinnerKind::None);
  // Edits went by handle and are not listed: three buttons and two memos are.
  EXPECT_EQ(c->Skinners.size(), 5u);
  c->FreeSkinners();
  delete c;
  delete calc_form;
  // The form's skin data made the process-wide manager; it goes before the program ends.
  FreeSkinManager();
}

// ---- windows without a form object ----

LRESULT CALLBACK DialogProc(HWND hwnd, UINT msg, WPARAM w, LPARAM l) {
  return DefWindowProcA(hwnd, msg, w, l);
}

HWND MakeDialogWindow() {
  static bool registered = false;
  if (!registered) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = DialogProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "DiscoveryTestDialog";
    RegisterClassA(&wc);
    registered = true;
  }
  return CreateWindowExA(0, "DiscoveryTestDialog", "dialog", WS_POPUP | WS_CAPTION, 50, 50, 300,
                         300, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
}

HWND Child(HWND parent, const char* cls, DWORD style, int y) {
  return CreateWindowExA(0, cls, "x", WS_CHILD | WS_VISIBLE | style, 5, y, 100, 20, parent, nullptr,
                         GetModuleHandleA(nullptr), nullptr);
}

TEST_F(DiscoveryTest, ChildWindowsOfAWindowWithoutForm) {
  HWND dialog = MakeDialogWindow();
  HWND push = Child(dialog, "BUTTON", BS_PUSHBUTTON, 0);
  HWND owner_drawn = Child(dialog, "Button", BS_OWNERDRAW, 22);
  HWND group = Child(dialog, "button", BS_GROUPBOX, 44);
  HWND radio = Child(dialog, "button", BS_AUTORADIOBUTTON, 66);
  HWND simple = Child(dialog, "ComboBox", CBS_SIMPLE, 88);
  HWND list = Child(dialog, "ComboBox", CBS_DROPDOWNLIST, 150);
  HWND edit = Child(dialog, "Edit", 0, 180);
  HWND text = Child(dialog, "Static", 0, 200);
  // Lists, a multi-line edit, a tool bar, a header, and a class of the program's own that
  // the skin data maps.
  fw::InitCommonControlClasses();
  HWND listbox = Child(dialog, "ListBox", WS_VSCROLL, 210);
  HWND memo = Child(dialog, "Edit", ES_MULTILINE | WS_VSCROLL, 230);
  HWND report = Child(dialog, WC_LISTVIEWA, LVS_REPORT, 250);
  HWND tree = Child(dialog, WC_TREEVIEWA, 0, 270);
  HWND bar = Child(dialog, TOOLBARCLASSNAMEA, CCS_NOPARENTALIGN | CCS_NORESIZE, 110);
  HWND header = Child(dialog, WC_HEADERA, 0, 130);
  HWND mapped = Child(dialog, "Static", 0, 140);
  HWND own = Child(dialog, "Edit", 0, 290);  // inside the mapped panel
  SetParent(own, mapped);
  // The real skinners: a list view's skinner attaches its header, a tool bar's box fills.
  RestoreStandardSkinnerMakers();
  data_->SetSkin3rd(fw::TStringList{"static=panel"});
  data_->SkinControls.bits |= 1u << xcPanel;
  const LONG_PTR simple_proc = GetWindowLongPtrA(simple, GWLP_WNDPROC);
  const LONG_PTR push_proc = GetWindowLongPtrA(push, GWLP_WNDPROC);
  auto* c = new TSkinForm(nullptr);
  c->Handle = dialog;
  c->SkinData = data_;
  c->SkinChildWindows();
  auto kind_of = [&](HWND h) {
    for (const ClassifiedControl& r : c->Classified)
      if (r.window == reinterpret_cast<uintptr_t>(h)) return r.kind;
    return SkinnerKind::None;
  };
  EXPECT_EQ(kind_of(push), SkinnerKind::Button);
  EXPECT_EQ(c->FindSkinnerByHandle(owner_drawn), nullptr);  // the program draws it
  EXPECT_EQ(kind_of(radio), SkinnerKind::RadioButton);
  EXPECT_EQ(kind_of(list), SkinnerKind::ComBox);
  EXPECT_EQ(kind_of(edit), SkinnerKind::Edit);
  EXPECT_EQ(kind_of(listbox), SkinnerKind::ScrollBar);
  EXPECT_EQ(kind_of(memo), SkinnerKind::ScrollBar);
  EXPECT_EQ(kind_of(report), SkinnerKind::ListView);
  EXPECT_EQ(kind_of(tree), SkinnerKind::ScrollBar);
  EXPECT_EQ(kind_of(bar), SkinnerKind::Box);
  EXPECT_EQ(kind_of(header), SkinnerKind::Header);
  // The mapping decides for statics here, the text among them; the panel's child is walked.
  EXPECT_EQ(kind_of(mapped), SkinnerKind::Box);
  EXPECT_EQ(kind_of(text), SkinnerKind::Box);
  EXPECT_EQ(kind_of(own), SkinnerKind::Edit);
  // The list view's own header got a skinner of its own.
  HWND inner = ListView_GetHeader(report);
  ASSERT_NE(inner, nullptr);
  EXPECT_NE(c->FindSkinnerByHandle(inner), nullptr);
  // A tool bar's background is the skin's face colour.
  {
    const fw::ScopedGetDc screen(nullptr);
    const fw::ScopedMemoryDc mdc(CreateCompatibleDC(screen.get()));
    const fw::ScopedBitmap bmp(CreateCompatibleBitmap(screen.get(), 200, 40));
    const fw::ScopedSelectObject sel(mdc.get(), bmp.get());
    SendMessageA(bar, WM_ERASEBKGND, reinterpret_cast<WPARAM>(mdc.get()), 0);
    EXPECT_EQ(GetPixel(mdc.get(), 50, 5), RGB(200, 100, 50));
  }
  EXPECT_EQ(c->FindSkinnerByHandle(group), nullptr);
  EXPECT_EQ(c->FindSkinnerByHandle(simple), nullptr);  // a simple combo box is left alone
  EXPECT_EQ(GetWindowLongPtrA(simple, GWLP_WNDPROC), simple_proc);
  EXPECT_NE(GetWindowLongPtrA(push, GWLP_WNDPROC), push_proc);
  const size_t skinned = c->Skinners.size();
  EXPECT_EQ(skinned, 14u);  // text and mapped are both statics; the inner header counts
  // Walking again finds them skinned.
  c->SkinChildWindows();
  EXPECT_EQ(c->Skinners.size(), skinned);
  c->FreeSkinners();
  EXPECT_EQ(GetWindowLongPtrA(push, GWLP_WNDPROC), push_proc);
  delete c;
  DestroyWindow(dialog);
}

// A real message box: its children are classified while it is being activated.
std::vector<ClassifiedControl> g_box_children;
TSkinData* g_box_data = nullptr;

LRESULT CALLBACK BoxHook(int code, WPARAM wparam, LPARAM lparam) {
  if (code == HCBT_ACTIVATE && g_box_children.empty()) {
    HWND box = reinterpret_cast<HWND>(wparam);
    char cls[32] = {};
    GetClassNameA(box, cls, sizeof cls);
    if (std::string(cls) == "#32770") {
      auto* c = new TSkinForm(nullptr);
      c->Handle = box;
      c->SkinData = g_box_data;
      c->SkinChildWindows();
      g_box_children = c->Classified;
      c->FreeSkinners();
      delete c;
    }
  }
  return CallNextHookEx(nullptr, code, wparam, lparam);
}

TEST_F(DiscoveryTest, MessageBoxButtonsArePushButtons) {
  g_box_children.clear();
  g_box_data = data_;
  {
    fw::ScopedHook hook(SetWindowsHookExA(WH_CBT, BoxHook, nullptr, GetCurrentThreadId()));
    fwtest::MessageBoxRecorder boxes;
    MessageBoxA(nullptr, "text", "caption", MB_OKCANCEL);
    EXPECT_EQ(boxes.Boxes().size(), 1u);
  }
  int buttons = 0;
  for (const ClassifiedControl& r : g_box_children) {
    if (r.class_name != "button") continue;
    ++buttons;
    EXPECT_EQ(r.kind, SkinnerKind::Button);
    EXPECT_TRUE(r.attached);
  }
  EXPECT_GE(buttons, 2);
}

}  // namespace
}  // namespace skin
