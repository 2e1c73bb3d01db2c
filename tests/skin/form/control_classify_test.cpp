// The classification of a form's components and of a dialog's child windows: every row of
// the table reached, first match winning, tags, the SkinControls guards and the Skin3rd
// class-name mappings.
#include "skin/form/control_discovery.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace skin {
namespace {

constexpr uint32_t kAll = 0x3FFFF;

uint32_t Without(int bit) { return kAll & ~(1u << bit); }

// Facts of a component of `cls` whose bases are `bases` (most derived first, after cls).
ControlFacts Facts(const std::string& cls, std::vector<std::string> bases, int32_t tag = 0,
                   bool windowed = true) {
  ControlFacts f;
  f.class_name = cls;
  f.ancestry.push_back(cls);
  for (auto& b : bases) f.ancestry.push_back(b);
  f.ancestry.push_back("TComponent");
  f.tag = tag;
  f.windowed = windowed;
  return f;
}

const std::vector<std::string> kWin = {"TWinControl", "TControl"};
std::vector<std::string> On(std::vector<std::string> bases) {
  bases.insert(bases.end(), kWin.begin(), kWin.end());
  return bases;
}

struct Settings {
  uint32_t bits = kAll;
  bool tabs = true;
  fw::TStringList lines;
  int32_t disable_tag = 99;
  ClassifySettings Get() const {
    ClassifySettings s;
    s.skin_controls = bits;
    s.has_tab_element = tabs;
    s.skin3rd = &lines;
    s.disable_tag = disable_tag;
    return s;
  }
};

Classification Classify(const ControlFacts& f, const Settings& s = {}) {
  return ClassifyComponent(f, s.Get());
}

struct RowCase {
  ControlFacts facts;
  int row;
  SkinnerKind kind;
  AttachMode attach;
};

TEST(ClassifyComponent, EveryRowIsReachedByAComponent) {
  Settings s;
  s.lines.Add("TThirdPartyEdit=edit");
  ControlFacts picker = Facts("TDateTimePicker", kWin);
  picker.date_mode = 1;
  const std::vector<RowCase> cases = {
      {Facts("TDBComboBoxEh", kWin), 1, SkinnerKind::None, AttachMode::None},
      {Facts("TToolBar", kWin), 2, SkinnerKind::None, AttachMode::None},
      {Facts("TPageControl", On({"TCustomTabControl"})), 3, SkinnerKind::Tab, AttachMode::Handle},
      {Facts("TThirdPartyEdit", kWin), 4, SkinnerKind::Edit, AttachMode::Handle},
      {Facts("TTabSet", On({"TCustomControl"})), 5, SkinnerKind::Tab31, AttachMode::Control},
      {Facts("TTabbedNotebook", kWin), 6, SkinnerKind::Tab, AttachMode::Handle},
      {Facts("TMvcPanel", kWin), 7, SkinnerKind::None, AttachMode::None},
      {Facts("TTabControl", kWin), 8, SkinnerKind::Tab, AttachMode::Handle},
      {Facts("TCheckBox", On({"TCustomCheckBox", "TButtonControl"})), 9, SkinnerKind::CheckBox,
       AttachMode::Control},
      {Facts("TTrackBar", On({"TRangeControl"})), 10, SkinnerKind::TrackBar, AttachMode::Control},
      {Facts("TUpDown", On({"TRangeControl"})), 11, SkinnerKind::UpDown, AttachMode::Control},
      {Facts("TRadioGroup", On({"TCustomRadioGroup", "TCustomGroupBox"})), 12, SkinnerKind::Box,
       AttachMode::Control},
      {Facts("TDBNavigator", On({"TCustomPanel"})), 13, SkinnerKind::Box, AttachMode::Control},
      {Facts("TGroupBox", On({"TCustomGroupBox", "TCustomControl"})), 14, SkinnerKind::Box,
       AttachMode::Control},
      {Facts("TRadioButton", On({"TButtonControl"})), 15, SkinnerKind::RadioButton,
       AttachMode::Control},
      {Facts("TCoolBar", kWin), 16, SkinnerKind::Box, AttachMode::Control},
      {Facts("TStatusBar", kWin), 17, SkinnerKind::StatusBar, AttachMode::Control},
      {Facts("TProgressBar", On({"TRangeControl"})), 18, SkinnerKind::Progress,
       AttachMode::Control},
      {Facts("TScrollBar", On({"TRangeControl"})), 19, SkinnerKind::ScControl, AttachMode::Control},
      {Facts("TScrollBox", On({"TScrollingWinControl"})), 19, SkinnerKind::ScrollBar,
       AttachMode::ScrollBars},
      {Facts("TComboBox", On({"TCustomComboBox"})), 20, SkinnerKind::ComBox, AttachMode::Control},
      {picker, 21, SkinnerKind::Edit, AttachMode::Control},
      {Facts("TRichEdit", On({"TCustomRichEdit", "TCustomMemo", "TCustomEdit"})), 22,
       SkinnerKind::ScrollBar, AttachMode::ScrollBars},
      {Facts("TdxDBMemo", kWin), 23, SkinnerKind::ScrollBar, AttachMode::ScrollBars},
      {Facts("TBitBtn", On({"TButton", "TButtonControl"})), 24, SkinnerKind::BitButton,
       AttachMode::Control},
      {Facts("TSpeedButton", {"TGraphicControl", "TControl"}, 0, false), 25,
       SkinnerKind::SpeedButton, AttachMode::Graphic},
      {Facts("TPanel", On({"TCustomPanel", "TCustomControl"})), 26, SkinnerKind::Box,
       AttachMode::Control},
      {Facts("TdxDBGrid", kWin), 27, SkinnerKind::ScrollBar, AttachMode::ScrollBars},
      {Facts("TListView", On({"TCustomListView"})), 28, SkinnerKind::ListView, AttachMode::Control},
      {Facts("TMemo", On({"TCustomMemo", "TCustomEdit"})), 29, SkinnerKind::ScrollBar,
       AttachMode::ScrollBars},
      {Facts("TListBox", On({"TCustomListBox"})), 30, SkinnerKind::ScrollBar,
       AttachMode::ScrollBars},
      {Facts("TTreeView", On({"TCustomTreeView"})), 31, SkinnerKind::ScrollBar,
       AttachMode::ScrollBars},
      {Facts("TButton", On({"TButtonControl"})), 32, SkinnerKind::Button, AttachMode::Control},
      {Facts("TEdit", On({"TCustomEdit"})), 33, SkinnerKind::Edit, AttachMode::Handle},
      {Facts("TFrame1", On({"TFrame", "TCustomFrame"})), 34, SkinnerKind::None, AttachMode::None},
      {Facts("TForm2", On({"TForm", "TCustomForm"})), 35, SkinnerKind::None, AttachMode::None},
      {Facts("TLabel", {"TGraphicControl", "TControl"}, 0, false), kRowNone, SkinnerKind::None,
       AttachMode::None},
  };
  std::vector<bool> reached(kTableRows + 1, false);
  for (const RowCase& c : cases) {
    SCOPED_TRACE(c.facts.class_name);
    const Classification d = Classify(c.facts, s);
    EXPECT_EQ(d.row, c.row);
    EXPECT_EQ(d.kind, c.kind);
    EXPECT_EQ(d.attach, c.attach);
    if (d.row > 0) reached[static_cast<size_t>(d.row)] = true;
  }
  for (int row = 1; row <= kTableRows; ++row) EXPECT_TRUE(reached[row]) << "row " << row;
}

TEST(ClassifyComponent, RowsCarryTheirSideEffects) {
  Settings s;
  Classification toolbar = Classify(Facts("TToolBar", kWin), s);
  EXPECT_EQ(toolbar.set_true_property, "Flat");
  EXPECT_TRUE(toolbar.face_color);

  Classification radios = Classify(Facts("TRadioGroup", On({"TCustomRadioGroup"})), s);
  EXPECT_TRUE(radios.children_parent_color_off);
  EXPECT_EQ(radios.child_kind, SkinnerKind::RadioButton);
  EXPECT_TRUE(radios.recolor);

  Classification group = Classify(Facts("TGroupBox", On({"TCustomGroupBox"})), s);
  EXPECT_TRUE(group.children_parent_color_off);
  EXPECT_EQ(group.child_kind, SkinnerKind::None);
  EXPECT_TRUE(group.walk_owned);

  EXPECT_TRUE(Classify(Facts("TPanel", On({"TCustomPanel"})), s).walk_owned);
  EXPECT_TRUE(Classify(Facts("TStatusBar", kWin), s).size_grip_off);
  EXPECT_TRUE(Classify(Facts("TListBox", On({"TCustomListBox"})), s).face_background);
  EXPECT_FALSE(Classify(Facts("TMemo", On({"TCustomMemo"})), s).face_background);
  EXPECT_TRUE(Classify(Facts("TMemo", On({"TCustomMemo"})), s).handle_thumb_drag);
  EXPECT_FALSE(Classify(Facts("TdxDBGrid", kWin), s).handle_thumb_drag);
  Classification form = Classify(Facts("TForm2", On({"TCustomForm"})), s);
  EXPECT_TRUE(form.face_color);
  EXPECT_TRUE(form.walk_owned);

  // Only the tab skinners attached by handle are entered in Skinners; edits are not.
  EXPECT_TRUE(Classify(Facts("TPageControl", On({"TCustomTabControl"})), s).add_to_skinners);
  EXPECT_FALSE(Classify(Facts("TEdit", On({"TCustomEdit"})), s).add_to_skinners);

  // Recolouring: check boxes, radio buttons, panels and group boxes only.
  EXPECT_TRUE(Classify(Facts("TCheckBox", On({"TCustomCheckBox"})), s).recolor);
  EXPECT_TRUE(Classify(Facts("TRadioButton", kWin), s).recolor);
  EXPECT_FALSE(Classify(Facts("TButton", kWin), s).recolor);
  EXPECT_FALSE(Classify(Facts("TComboBox", On({"TCustomComboBox"})), s).recolor);
}

TEST(ClassifyComponent, FirstMatchWins) {
  Settings s;
  // A bitmap button is a button too; its own row comes first, unless xcBitBtn is off.
  ControlFacts bitbtn = Facts("TBitBtn", On({"TButton"}));
  EXPECT_EQ(Classify(bitbtn, s).row, 24);
  s.bits = Without(skinbit::kBitBtn);
  EXPECT_EQ(Classify(bitbtn, s).row, 32);
  s.bits = kAll;
  // A radio group is a group box; a memo has its own scroll bars; a rich edit is a memo.
  EXPECT_EQ(Classify(Facts("TRadioGroup", On({"TCustomRadioGroup", "TCustomGroupBox"})), s).row,
            12);
  EXPECT_EQ(Classify(Facts("TMemo", On({"TCustomMemo", "TCustomEdit"})), s).row, 29);
  EXPECT_EQ(Classify(Facts("TRichEdit", On({"TCustomMemo", "TCustomEdit"})), s).row, 22);
  // Without xcScrollbar, a memo is an edit.
  s.bits = Without(skinbit::kScrollbar);
  EXPECT_EQ(Classify(Facts("TMemo", On({"TCustomMemo", "TCustomEdit"})), s).row, 33);
  s.bits = kAll;
  // A mapping line beats every built-in row after row 3, and loses to rows 1 to 3.
  s.lines.Add("TButton=checkbox");
  s.lines.Add("TToolBar=panel");
  EXPECT_EQ(Classify(Facts("TButton", kWin), s).kind, SkinnerKind::CheckBox);
  EXPECT_EQ(Classify(Facts("TToolBar", kWin), s).row, 2);
  // The tag forcing rows 95, 96 and 97.
  EXPECT_EQ(Classify(Facts("TFoo", kWin, 95), s).kind, SkinnerKind::ComBox);
  EXPECT_EQ(Classify(Facts("TFoo", kWin, 196), s).row, 31);
  EXPECT_EQ(Classify(Facts("TFoo", kWin, 297), s).kind, SkinnerKind::Edit);
  EXPECT_EQ(Classify(Facts("TFoo", kWin, 55), s).row, 31);
  EXPECT_EQ(Classify(Facts("TFoo", kWin, 155), s).row, kRowNone);
}

TEST(ClassifyComponent, DisableTagUsesTheSignedRemainder) {
  Settings s;
  const ControlFacts button = Facts("TButton", On({"TButtonControl"}), 199);
  EXPECT_EQ(Classify(button, s).row, kRowSkippedByTag);
  EXPECT_EQ(Classify(Facts("TButton", kWin, 99), s).row, kRowSkippedByTag);
  EXPECT_EQ(Classify(Facts("TButton", kWin, -99), s).row, 32);
  EXPECT_EQ(TagRemainder(-99), -99);
  EXPECT_EQ(TagRemainder(-199), -99);
  s.disable_tag = -99;
  EXPECT_EQ(Classify(Facts("TButton", kWin, -199), s).row, kRowSkippedByTag);
  EXPECT_EQ(Classify(button, s).row, 32);
  // A negative 95 does not force a combo box.
  EXPECT_EQ(Classify(Facts("TFoo", kWin, -95), s).row, kRowNone);
}

TEST(ClassifyComponent, WithoutButtonMemberButtonsTrackBarsAndUpDownsStayUnskinned) {
  Settings s;
  s.bits = Without(skinbit::kButton);
  s.lines.Add("TFancyButton=button");
  s.lines.Add("TFancyTrack=trackbar");
  for (const ControlFacts& f :
       {Facts("TButton", On({"TButtonControl"})), Facts("TTrackBar", On({"TRangeControl"})),
        Facts("TUpDown", On({"TRangeControl"})), Facts("TFancyButton", kWin),
        Facts("TFancyTrack", kWin)}) {
    SCOPED_TRACE(f.class_name);
    const Classification d = Classify(f, s);
    EXPECT_EQ(d.kind, SkinnerKind::None);
    EXPECT_EQ(d.attach, AttachMode::None);
  }
  s.bits = kAll;
  EXPECT_EQ(Classify(Facts("TFancyButton", kWin), s).kind, SkinnerKind::Button);
  const Classification track = Classify(Facts("TFancyTrack", kWin), s);
  EXPECT_EQ(track.kind, SkinnerKind::TrackBar);
  EXPECT_EQ(track.set_true_property, "Transparent");
}

TEST(ClassifyComponent, TabsNeedTheMemberAndTheSkinsTabElement) {
  Settings s;
  const ControlFacts pages = Facts("TPageControl", On({"TCustomTabControl"}));
  EXPECT_EQ(Classify(pages, s).kind, SkinnerKind::Tab);
  s.tabs = false;
  EXPECT_EQ(Classify(pages, s).kind, SkinnerKind::None);
  EXPECT_EQ(Classify(Facts("TTabSet", kWin), s).kind, SkinnerKind::None);
  s.tabs = true;
  s.bits = Without(skinbit::kTab);
  EXPECT_EQ(Classify(pages, s).kind, SkinnerKind::None);
  s.bits = kAll;
  // A tab control of the framework's base that is neither of the concrete classes.
  const Classification own = Classify(Facts("TOwnTabs", On({"TCustomTabControl"})), s);
  EXPECT_EQ(own.row, 3);
  EXPECT_EQ(own.kind, SkinnerKind::None);
  s.lines.Add("TOwnTabs=tab");
  EXPECT_EQ(Classify(Facts("TOwnTabs", kWin), s).kind, SkinnerKind::Tab);
  s.tabs = false;
  EXPECT_EQ(Classify(Facts("TOwnTabs", kWin), s).kind, SkinnerKind::None);
}

TEST(ClassifyComponent, DateTimePickerModeChoosesEditOrCombo) {
  ControlFacts picker = Facts("TDateTimePicker", kWin);
  EXPECT_EQ(Classify(picker).kind, SkinnerKind::ComBox);
  picker.date_mode = 1;
  EXPECT_EQ(Classify(picker).kind, SkinnerKind::Edit);
  Settings s;
  s.bits = Without(skinbit::kEdit);
  EXPECT_EQ(Classify(picker, s).row, kRowNone);
}

TEST(Skin3rdMapping, UnknownKindStopsClassificationWithoutSkinner) {
  Settings s;
  s.lines.Add("TButton=gizmo");
  const Classification d = Classify(Facts("TButton", On({"TButtonControl"})), s);
  EXPECT_EQ(d.row, kRowMapped);
  EXPECT_EQ(d.mapping, "gizmo");
  EXPECT_EQ(d.kind, SkinnerKind::None);
  EXPECT_EQ(d.attach, AttachMode::None);
}

TEST(Skin3rdMapping, CaseInsensitiveOnBothSides) {
  fw::TStringList lines{"TTBDock=Panel", "tmybutton=BUTTON"};
  EXPECT_EQ(FindSkin3rdMapping("ttbdock", &lines), "panel");
  EXPECT_EQ(FindSkin3rdMapping("TTBDOCK", &lines), "panel");
  EXPECT_EQ(FindSkin3rdMapping("TMyButton", &lines), "button");
  Settings s;
  s.lines = lines;
  const Classification dock = Classify(Facts("TTBDock", kWin), s);
  EXPECT_EQ(dock.kind, SkinnerKind::Box);
  EXPECT_EQ(dock.set_true_property, "Transparent");
  EXPECT_TRUE(dock.recolor);
}

TEST(Skin3rdMapping, LineRules) {
  fw::TStringList lines{
      "TFoo", "TFooBar=button", "TFo=edit", "TFoo=", "TFoo=checkbox", "TBar=edit=more", "TBaz"};
  // No "=": no mapping; a longer class name or a shorter one does not match; the first
  // line with the key decides even when its value is empty.
  EXPECT_EQ(FindSkin3rdMapping("TFoo", &lines), std::nullopt);
  EXPECT_EQ(FindSkin3rdMapping("TFooBar", &lines), "button");
  EXPECT_EQ(FindSkin3rdMapping("TFo", &lines), "edit");
  EXPECT_EQ(FindSkin3rdMapping("TBar", &lines), "edit=more");
  EXPECT_EQ(FindSkin3rdMapping("TBaz", &lines), std::nullopt);
  EXPECT_EQ(FindSkin3rdMapping("TFoo", nullptr), std::nullopt);
  // Values are cut at 50 characters.
  fw::TStringList longer{"TLong=" + std::string(80, 'x')};
  EXPECT_EQ(FindSkin3rdMapping("TLong", &longer)->size(), 50u);
  // An empty value lets the table go on.
  Settings s;
  s.lines.Add("TButton=");
  EXPECT_EQ(Classify(Facts("TButton", kWin), s).row, 32);
}

TEST(Skin3rdMapping, EveryKindAndItsGuard) {
  struct KindCase {
    const char* value;
    SkinnerKind kind;
    int bit;
  };
  const KindCase cases[] = {
      {"combobox", SkinnerKind::ComBox, skinbit::kCombo},
      {"edit", SkinnerKind::Edit, skinbit::kEdit},
      {"radiobutton", SkinnerKind::RadioButton, skinbit::kRadioButton},
      {"panel", SkinnerKind::Box, skinbit::kPanel},
      {"trackbar", SkinnerKind::TrackBar, skinbit::kButton},
      {"button", SkinnerKind::Button, skinbit::kButton},
      {"tab", SkinnerKind::Tab, skinbit::kTab},
      {"progress", SkinnerKind::Progress, skinbit::kProgress},
      {"scrollbar", SkinnerKind::ScrollBar, skinbit::kScrollbar},
      {"radiogroup", SkinnerKind::Box, skinbit::kPanel},
      {"checkgroup", SkinnerKind::Box, skinbit::kPanel},
      {"checkbox", SkinnerKind::CheckBox, skinbit::kCheckBox},
  };
  for (const KindCase& c : cases) {
    SCOPED_TRACE(c.value);
    Settings s;
    EXPECT_EQ(ClassifyMappedKind(c.value, s.Get()).kind, c.kind);
    s.bits = Without(c.bit);
    const Classification off = ClassifyMappedKind(c.value, s.Get());
    EXPECT_EQ(off.kind, SkinnerKind::None);
    EXPECT_EQ(off.row, kRowMapped);
  }
  Settings s;
  EXPECT_EQ(ClassifyMappedKind("radiogroup", s.Get()).child_kind, SkinnerKind::RadioButton);
  EXPECT_EQ(ClassifyMappedKind("checkgroup", s.Get()).child_kind, SkinnerKind::CheckBox);
  s.bits = Without(skinbit::kRadioButton);
  const Classification group = ClassifyMappedKind("checkgroup", s.Get());
  EXPECT_EQ(group.kind, SkinnerKind::Box);
  EXPECT_EQ(group.child_kind, SkinnerKind::None);
  EXPECT_FALSE(group.children_parent_color_off);
}

TEST(HasOwnScrollBars, StyleMemoTagAndListKinds) {
  EXPECT_FALSE(HasOwnScrollBars(Facts("TFoo", kWin)));
  ControlFacts styled = Facts("TFoo", kWin);
  styled.style = 0x200000;
  EXPECT_TRUE(HasOwnScrollBars(styled));
  styled.style = 0x100000;
  EXPECT_TRUE(HasOwnScrollBars(styled));
  EXPECT_TRUE(HasOwnScrollBars(Facts("TMemo", kWin)));
  EXPECT_TRUE(HasOwnScrollBars(Facts("TFoo", kWin, 55)));
  EXPECT_FALSE(HasOwnScrollBars(Facts("TFoo", kWin, 155)));
  EXPECT_TRUE(HasOwnScrollBars(Facts("TStringGrid", On({"TCustomGrid"}))));
  // Windowless controls never have scroll bars of their own.
  ControlFacts label = Facts("TLabel", {"TGraphicControl"}, 55, false);
  label.style = 0x300000;
  EXPECT_FALSE(HasOwnScrollBars(label));
}

TEST(ClassifyChildWindow, ButtonStylesComboStylesAndClasses) {
  auto kind = [](const char* cls, uint32_t style) { return ClassifyChildWindow(cls, style).kind; };
  // Push buttons (plain and default), and the other button styles by their low bits.
  EXPECT_EQ(kind("button", 0x50010000), SkinnerKind::Button);
  EXPECT_EQ(kind("button", 0x50010001), SkinnerKind::Button);
  for (uint32_t style : {2u, 3u, 5u, 6u})
    EXPECT_EQ(kind("button", 0x50010000 | style), SkinnerKind::CheckBox) << style;
  EXPECT_EQ(kind("button", 0x5001000B), SkinnerKind::None);  // owner-drawn: the program's
  EXPECT_EQ(kind("button", 4), SkinnerKind::RadioButton);
  EXPECT_EQ(kind("button", 9), SkinnerKind::RadioButton);
  EXPECT_EQ(kind("button", 7), SkinnerKind::None);  // group box
  EXPECT_EQ(kind("button", 0xF), SkinnerKind::None);
  // Combo boxes: the simple style stays as it is.
  EXPECT_EQ(kind("combobox", 1), SkinnerKind::None);
  EXPECT_EQ(kind("combobox", 0x50200001), SkinnerKind::None);
  EXPECT_EQ(kind("combobox", 2), SkinnerKind::ComBox);
  EXPECT_EQ(kind("combobox", 3), SkinnerKind::ComBox);
  const ChildWindowClassification ex = ClassifyChildWindow("comboboxex32", 0);
  EXPECT_EQ(ex.kind, SkinnerKind::ComBox);
  EXPECT_TRUE(ex.on_first_child);
  EXPECT_EQ(kind("scrollbar", 0), SkinnerKind::Sizer);
  EXPECT_EQ(kind("systabcontrol32", 0), SkinnerKind::Tab);
  EXPECT_EQ(kind("systabcontrol32", 0x2000), SkinnerKind::None);
  EXPECT_EQ(kind("edit", 0), SkinnerKind::Edit);
  EXPECT_EQ(kind("msctls_statusbar32", 0), SkinnerKind::StatusBar);
  EXPECT_EQ(kind("msctls_progress32", 0), SkinnerKind::Progress);
  EXPECT_EQ(kind("msctls_trackbar32", 0), SkinnerKind::TrackBar);
  EXPECT_EQ(kind("msctls_updown32", 0), SkinnerKind::UpDown);
  EXPECT_EQ(kind("static", 0), SkinnerKind::None);
  // Lists, trees and rich edits keep their drawing and get the skin's bars; a multi-line
  // edit with bars is a memo.
  for (const char* cls : {"listbox", "systreeview32", "richedit20w", "richedit50w"})
    EXPECT_EQ(kind(cls, 0), SkinnerKind::ScrollBar) << cls;
  EXPECT_EQ(kind("edit", 4 | 0x200000), SkinnerKind::ScrollBar);
  EXPECT_EQ(kind("edit", 4), SkinnerKind::Edit);
  EXPECT_EQ(kind("syslistview32", 1), SkinnerKind::ListView);
  EXPECT_EQ(kind("sysheader32", 0), SkinnerKind::Header);
  // A program's own containers are walked into, tool bars and rebars with the face colour
  // behind them; a system control's inner windows are not.
  EXPECT_TRUE(ClassifyChildWindow("rebarwindow32", 0).walk_children);
  EXPECT_EQ(kind("toolbarwindow32", 0), SkinnerKind::Box);
  EXPECT_TRUE(ClassifyChildWindow("toolbarwindow32", 0).walk_children);
  EXPECT_FALSE(ClassifyChildWindow("listbox", 0).walk_children);
  EXPECT_FALSE(ClassifyChildWindow("combobox", 1 /*simple*/).walk_children);
  EXPECT_FALSE(ClassifyChildWindow("edit", 0).walk_children);
  EXPECT_EQ(kind("BUTTON", 0), SkinnerKind::None);  // the caller lowers the class name
  // A Skin3rd line names a program's own class, and overrides a system class's row.
  fw::TStringList lines;
  lines.Add("AppPanel=panel");
  lines.Add("AppKnob=Button");
  lines.Add("Edit=nothing");
  ClassifySettings s;
  s.skin3rd = &lines;
  s.skin_controls = (1u << skinbit::kButton) | (1u << skinbit::kPanel);
  EXPECT_EQ(ClassifyChildWindow("appknob", 0, s).kind, SkinnerKind::Button);
  const ChildWindowClassification panel = ClassifyChildWindow("apppanel", 0, s);
  EXPECT_EQ(panel.kind, SkinnerKind::Box);
  EXPECT_TRUE(panel.walk_children);
  EXPECT_EQ(ClassifyChildWindow("edit", 0, s).kind, SkinnerKind::None);
  s.skin_controls = 0;  // the kind's SkinControls member decides, as for components
  EXPECT_EQ(ClassifyChildWindow("appknob", 0, s).kind, SkinnerKind::None);
}

TEST(PreviewForms, NameContainsPreviewInAnyCase) {
  EXPECT_TRUE(IsPreviewFormName("PrintPreview1"));
  EXPECT_TRUE(IsPreviewFormName("TQRStandardPreview"));
  EXPECT_TRUE(IsPreviewFormName("TppPrintPreview"));
  EXPECT_TRUE(IsPreviewFormName("TdxfmStdPreview"));
  EXPECT_TRUE(IsPreviewFormName("PREVIEWER"));
  EXPECT_FALSE(IsPreviewFormName("Form1"));
  EXPECT_FALSE(IsPreviewFormName("Previw"));
}

// A component publishing an enumeration, a boolean and an integer.
enum TShade { shLight, shDark };
class TShaded : public fw::TComponent {
  FW_CLASS_INFO()
 public:
  explicit TShaded(fw::TComponent* owner) : fw::TComponent(owner) {}
  TShade Shade = shLight;
  bool Flat = false;
  int Size = 0;
};

const fw::TClassInfo& TShaded::StaticClassInfo() {
  static const fw::TClassInfo info =
      fw::DescribeClass<TShaded, fw::TComponent>("TShaded", [](auto& c) {
        c.Enum(
            "Shade", {"shLight", "shDark"}, [](const TShaded& t) { return t.Shade; },
            [](TShaded& t, TShade v) { t.Shade = v; });
        c.Bool(
            "Flat", [](const TShaded& t) { return t.Flat; },
            [](TShaded& t, bool v) { t.Flat = v; });
        c.Integer(
            "Size", [](const TShaded& t) { return t.Size; }, [](TShaded& t, int v) { t.Size = v; });
      });
  return info;
}

TEST(SetEnumPropertyByName, SetsKnownValuesOfEnumerationsOnly) {
  TShaded shaded(nullptr);
  EXPECT_TRUE(SetEnumPropertyByName(shaded, "shade", "SHDARK"));
  EXPECT_EQ(shaded.Shade, shDark);
  EXPECT_TRUE(SetEnumPropertyByName(shaded, "Flat", "True"));
  EXPECT_TRUE(shaded.Flat);
  EXPECT_FALSE(SetEnumPropertyByName(shaded, "Shade", "shMedium"));
  EXPECT_EQ(shaded.Shade, shDark);
  EXPECT_FALSE(SetEnumPropertyByName(shaded, "Flat", "Yes"));
  EXPECT_FALSE(SetEnumPropertyByName(shaded, "Size", "True"));
  EXPECT_EQ(shaded.Size, 0);
  EXPECT_FALSE(SetEnumPropertyByName(shaded, "Transparent", "True"));
  EXPECT_EQ(ClassAncestry(shaded), (std::vector<std::string>{"TShaded", "TComponent"}));
}

}  // namespace
}  // namespace skin
