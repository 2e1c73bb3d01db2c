// The classification of a form's controls and of a dialog's child windows (pure).
#include <algorithm>
#include <cctype>
#include <initializer_list>
#include <iterator>
#include <string_view>

#include "framework/same_text.h"
#include "skin/form/control_discovery.h"

namespace skin {

const char* SkinnerClassName(SkinnerKind kind) {
  switch (kind) {
    case SkinnerKind::None:
      return "";
    case SkinnerKind::Button:
      return "TSkinButton";
    case SkinnerKind::BitButton:
      return "TSkinBitButton";
    case SkinnerKind::SpeedButton:
      return "TSkinSpeedButton";
    case SkinnerKind::CheckBox:
      return "TSkinCheckBox";
    case SkinnerKind::RadioButton:
      return "TSkinRadioButton";
    case SkinnerKind::Edit:
      return "TSkinEdit";
    case SkinnerKind::ComBox:
      return "TSkinComBox";
    case SkinnerKind::ScrollBar:
      return "TSkinScrollBar";
    case SkinnerKind::ScControl:
      return "TSkinScControl";
    case SkinnerKind::ListView:
      return "TSkinListView";
    case SkinnerKind::Tab:
      return "TSkinTab";
    case SkinnerKind::Tab31:
      return "TSkinTab31";
    case SkinnerKind::StatusBar:
      return "TSkinStatusBar";
    case SkinnerKind::Progress:
      return "TSkinProgress";
    case SkinnerKind::TrackBar:
      return "TSkinTrackBar";
    case SkinnerKind::UpDown:
      return "TSkinUpDown";
    case SkinnerKind::Box:
      return "TSkinBox";
    case SkinnerKind::Sizer:
      return "TSkinSizer";
    case SkinnerKind::Header:
      return "TSkinHeader";
    case SkinnerKind::Count:
      break;
  }
  return "";
}

std::string UpperCase(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return out;
}

std::string LowerCase(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return out;
}

bool InheritsFromName(const ControlFacts& facts, std::string_view class_name) {
  return std::any_of(facts.ancestry.begin(), facts.ancestry.end(),
                     [&](const std::string& n) { return fw::SameText(n, class_name); });
}

namespace {

bool InheritsFromAny(const ControlFacts& facts, std::initializer_list<std::string_view> names) {
  return std::any_of(names.begin(), names.end(),
                     [&](std::string_view n) { return InheritsFromName(facts, n); });
}

bool NameIs(const std::string& upper, std::initializer_list<std::string_view> names) {
  return std::any_of(names.begin(), names.end(), [&](std::string_view n) { return upper == n; });
}

// The framework classes behind the kinds the table tests by class membership.
bool IsTabKind(const ControlFacts& f) { return InheritsFromName(f, "TCustomTabControl"); }
bool IsOtherTabKind(const ControlFacts& f) { return InheritsFromName(f, "TTabControl"); }
bool IsConcreteTab(const ControlFacts& f) {
  return InheritsFromAny(f, {"TPageControl", "TTabControl"});
}
bool IsCheckBoxKind(const ControlFacts& f) {
  return InheritsFromAny(f, {"TCustomCheckBox", "TCheckBox"});
}
bool IsRadioGroupKind(const ControlFacts& f) { return InheritsFromName(f, "TCustomRadioGroup"); }
bool IsGroupBoxKind(const ControlFacts& f) {
  return InheritsFromAny(f, {"TCustomGroupBox", "TGroupBox"});
}
bool IsRadioButtonKind(const ControlFacts& f) { return InheritsFromName(f, "TRadioButton"); }
bool IsFlatBarKind(const ControlFacts& f) {
  return InheritsFromAny(f, {"TToolBar", "TCoolBar", "TControlBar"});
}
bool IsStatusBarKind(const ControlFacts& f) { return InheritsFromName(f, "TStatusBar"); }
bool IsProgressKind(const ControlFacts& f) { return InheritsFromName(f, "TProgressBar"); }
bool IsScrollingContainer(const ControlFacts& f) {
  return InheritsFromName(f, "TScrollingWinControl");
}
bool IsScrollBarControl(const ControlFacts& f) { return InheritsFromName(f, "TScrollBar"); }
bool IsComboKind(const ControlFacts& f) {
  return InheritsFromAny(f, {"TCustomComboBox", "TComboBox"});
}
bool IsBitButtonKind(const ControlFacts& f) { return InheritsFromName(f, "TBitBtn"); }
bool IsSpeedButtonKind(const ControlFacts& f) { return InheritsFromName(f, "TSpeedButton"); }
bool IsPanelKind(const ControlFacts& f) { return InheritsFromAny(f, {"TCustomPanel", "TPanel"}); }
bool IsListViewKind(const ControlFacts& f) { return InheritsFromName(f, "TCustomListView"); }
bool IsListKind(const ControlFacts& f) {
  return InheritsFromAny(f, {"TCustomListBox", "TListBox"});
}

Classification Skinner(int row, SkinnerKind kind, AttachMode attach, bool recolor) {
  Classification c;
  c.row = row;
  c.kind = kind;
  c.attach = attach;
  c.recolor = recolor;
  return c;
}
Classification ByControl(int row, SkinnerKind kind, bool recolor) {
  return Skinner(row, kind, AttachMode::Control, recolor);
}
Classification ByHandle(int row, SkinnerKind kind, bool listed) {
  Classification c = Skinner(row, kind, AttachMode::Handle, false);
  c.add_to_skinners = listed;
  return c;
}
Classification ScrollBars(int row, bool thumb_drag) {
  Classification c = Skinner(row, SkinnerKind::ScrollBar, AttachMode::ScrollBars, false);
  c.handle_thumb_drag = thumb_drag;
  return c;
}
Classification Only(int row) {
  Classification c;
  c.row = row;
  return c;
}
Classification Walk(int row) {
  Classification c = Only(row);
  c.walk_owned = true;
  return c;
}
// Rows 3 and 8: only the concrete tab controls get a tab skinner.
Classification TabRow(int row, const ControlFacts& f) {
  if (IsConcreteTab(f)) return ByHandle(row, SkinnerKind::Tab, true);
  return Only(row);
}
// A group whose child controls get their own skinners, then a box for the group.
Classification Group(int row, SkinnerKind child_kind) {
  Classification c = ByControl(row, SkinnerKind::Box, true);
  c.children_parent_color_off = true;
  c.child_kind = child_kind;
  return c;
}

}  // namespace

bool IsContainerKind(const ControlFacts& f) {
  return InheritsFromAny(f, {"TCustomFrame", "TFrame"});
}

bool IsPreviewFormName(std::string_view form_name) {
  return LowerCase(form_name).find("preview") != std::string::npos;
}

std::optional<std::string> FindSkin3rdMapping(std::string_view class_name,
                                              const fw::TStringList* lines) {
  if (!lines) return std::nullopt;
  // The key is the class name and "="; lines are compared in lower case without copying
  // each one (the walk asks for every component).
  const size_t key_size = class_name.size() + 1;
  for (const std::string& line : lines->Lines()) {
    if (line.size() < key_size || line[class_name.size()] != '=') continue;
    if (!fw::SameText(std::string_view(line).substr(0, class_name.size()), class_name)) continue;
    std::string value = LowerCase(std::string_view(line).substr(key_size, 50));
    if (value.empty()) return std::nullopt;
    return value;
  }
  return std::nullopt;
}

Classification ClassifyMappedKind(const std::string& value, const ClassifySettings& s) {
  Classification c = Only(kRowMapped);
  const int row = kRowMapped;
  if (value == "combobox") {
    if (s.Has(skinbit::kCombo)) c = ByControl(row, SkinnerKind::ComBox, false);
  } else if (value == "edit") {
    if (s.Has(skinbit::kEdit)) c = ByHandle(row, SkinnerKind::Edit, false);
  } else if (value == "radiobutton") {
    if (s.Has(skinbit::kRadioButton)) c = ByControl(row, SkinnerKind::RadioButton, true);
  } else if (value == "panel") {
    if (s.Has(skinbit::kPanel)) {
      c = ByControl(row, SkinnerKind::Box, true);
      c.set_true_property = "Transparent";
    }
  } else if (value == "trackbar") {
    if (s.Has(skinbit::kButton)) {
      c = ByControl(row, SkinnerKind::TrackBar, false);
      c.set_true_property = "Transparent";
    }
  } else if (value == "button") {
    if (s.Has(skinbit::kButton)) c = ByControl(row, SkinnerKind::Button, false);
  } else if (value == "tab") {
    if (s.Has(skinbit::kTab) && s.has_tab_element) c = ByHandle(row, SkinnerKind::Tab, true);
  } else if (value == "progress") {
    if (s.Has(skinbit::kProgress)) c = ByControl(row, SkinnerKind::Progress, false);
  } else if (value == "scrollbar") {
    if (s.Has(skinbit::kScrollbar)) c = ScrollBars(row, true);
  } else if (value == "radiogroup" || value == "checkgroup") {
    if (s.Has(skinbit::kPanel)) {
      const SkinnerKind child =
          value == "radiogroup" ? SkinnerKind::RadioButton : SkinnerKind::CheckBox;
      c = Group(row, s.Has(skinbit::kRadioButton) ? child : SkinnerKind::None);
      // Without xcRadioButton the children are left as they are.
      c.children_parent_color_off = s.Has(skinbit::kRadioButton);
    }
  } else if (value == "checkbox") {
    if (s.Has(skinbit::kCheckBox)) c = ByControl(row, SkinnerKind::CheckBox, true);
  }
  c.mapping = value;
  return c;
}

bool HasOwnScrollBars(const ControlFacts& f) {
  if (!f.windowed) return false;
  if (f.style & (0x100000u | 0x200000u)) return true;  // WS_HSCROLL, WS_VSCROLL
  if (InheritsFromName(f, "TMemo")) return true;
  if (f.tag == 55) return true;
  return InheritsFromAny(f,
                         {"TCustomListBox", "TCustomListView", "TCustomTreeView", "TCustomGrid"});
}

Classification ClassifyComponent(const ControlFacts& f, const ClassifySettings& s) {
  if (SkippedByTag(f.tag, s.disable_tag)) return Only(kRowSkippedByTag);
  const std::string name = UpperCase(f.class_name);
  const int32_t r = TagRemainder(f.tag);
  const bool tabs = s.Has(skinbit::kTab) && s.has_tab_element;

  if (NameIs(name, {"TDBCOMBOBOXEH", "TQRPREVIEW", "TFRDESIGNERPAGE", "TFRPBOX"})) return Only(1);
  if (name == "TTOOLBAR") {
    Classification c = Only(2);
    c.set_true_property = "Flat";
    c.face_color = true;
    return c;
  }
  if (IsTabKind(f) && tabs) return TabRow(3, f);
  if (auto value = FindSkin3rdMapping(f.class_name, s.skin3rd))
    return ClassifyMappedKind(*value, s);
  if (name == "TTABSET" && tabs) return ByControl(5, SkinnerKind::Tab31, false);
  if (name == "TTABBEDNOTEBOOK" && tabs) return ByHandle(6, SkinnerKind::Tab, true);
  if (name == "TMVCPANEL") return Walk(7);
  if (IsOtherTabKind(f) && tabs) return TabRow(8, f);
  if (IsCheckBoxKind(f) && s.Has(skinbit::kCheckBox))
    return ByControl(9, SkinnerKind::CheckBox, true);
  if (name == "TTRACKBAR" && s.Has(skinbit::kButton))
    return ByControl(10, SkinnerKind::TrackBar, false);
  if (name == "TUPDOWN" && s.Has(skinbit::kButton))
    return ByControl(11, SkinnerKind::UpDown, false);
  if (IsRadioGroupKind(f) && s.Has(skinbit::kRadioButton))
    return Group(12, SkinnerKind::RadioButton);
  if (name == "TDBNAVIGATOR" && s.Has(skinbit::kPanel)) {
    Classification c = ByControl(13, SkinnerKind::Box, true);
    c.set_true_property = "Flat";
    return c;
  }
  if (IsGroupBoxKind(f) && s.Has(skinbit::kPanel)) {
    Classification c = Group(14, SkinnerKind::None);
    c.walk_owned = true;
    return c;
  }
  if (IsRadioButtonKind(f) && s.Has(skinbit::kRadioButton))
    return ByControl(15, SkinnerKind::RadioButton, true);
  if (IsFlatBarKind(f) && s.Has(skinbit::kToolbar)) {
    Classification c = ByControl(16, SkinnerKind::Box, true);
    c.set_true_property = "Flat";
    return c;
  }
  if (IsStatusBarKind(f) && s.Has(skinbit::kStatusBar)) {
    Classification c = ByControl(17, SkinnerKind::StatusBar, false);
    c.size_grip_off = true;
    return c;
  }
  if (IsProgressKind(f) && s.Has(skinbit::kProgress))
    return ByControl(18, SkinnerKind::Progress, false);
  // The scroll bar control is drawn as one bar by its own skinner; a scrolling container
  // has its own non-client bars like any scrolling control.
  if (IsScrollBarControl(f) && s.Has(skinbit::kScrollbar))
    return ByControl(19, SkinnerKind::ScControl, false);
  if (IsScrollingContainer(f) && s.Has(skinbit::kScrollbar)) return ScrollBars(19, true);
  if ((IsComboKind(f) || r == 95) && s.Has(skinbit::kCombo))
    return ByControl(20, SkinnerKind::ComBox, false);
  if (name == "TDATETIMEPICKER" && s.Has(skinbit::kEdit)) {
    return f.date_mode == 1 ? ByControl(21, SkinnerKind::Edit, false)
                            : ByControl(21, SkinnerKind::ComBox, false);
  }
  if (s.Has(skinbit::kScrollbar) && name == "TRICHEDIT") return ScrollBars(22, true);
  if (s.Has(skinbit::kScrollbar) && NameIs(name, {"TWWDBRICHEDIT", "TDXDBMEMO"}))
    return ScrollBars(23, true);
  if (IsBitButtonKind(f) && s.Has(skinbit::kBitBtn))
    return ByControl(24, SkinnerKind::BitButton, false);
  if (IsSpeedButtonKind(f) && s.Has(skinbit::kSpeedButton))
    return Skinner(25, SkinnerKind::SpeedButton, AttachMode::Graphic, false);
  if (IsPanelKind(f) && s.Has(skinbit::kPanel)) {
    Classification c = ByControl(26, SkinnerKind::Box, true);
    c.walk_owned = true;
    return c;
  }
  if (NameIs(name, {"TDXTREELIST", "TDXDBTREELIST", "TDXDBGRID"}) && s.Has(skinbit::kScrollbar))
    return ScrollBars(27, false);
  if (IsListViewKind(f) && s.Has(skinbit::kScrollbar))
    return ByControl(28, SkinnerKind::ListView, false);
  if (s.Has(skinbit::kScrollbar) && InheritsFromName(f, "TCustomMemo")) return ScrollBars(29, true);
  if (s.Has(skinbit::kScrollbar) && IsListKind(f)) {
    Classification c = ScrollBars(30, true);
    c.face_background = true;
    return c;
  }
  if (s.Has(skinbit::kScrollbar) && (r == 96 || HasOwnScrollBars(f))) return ScrollBars(31, true);
  if (InheritsFromName(f, "TButton") && s.Has(skinbit::kButton))
    return ByControl(32, SkinnerKind::Button, false);
  if ((InheritsFromName(f, "TCustomEdit") || r == 97) && s.Has(skinbit::kEdit))
    return ByHandle(33, SkinnerKind::Edit, false);
  if (IsContainerKind(f)) return Walk(34);
  if (InheritsFromName(f, "TCustomForm")) {
    Classification c = Walk(35);
    c.face_color = true;
    return c;
  }
  return Only(kRowNone);
}

ChildWindowClassification ClassifyChildWindow(std::string_view cls, uint32_t style,
                                              const ClassifySettings& settings) {
  ChildWindowClassification c;
  if (auto value = FindSkin3rdMapping(cls, settings.skin3rd)) {
    // The mapping decides, also when its kind attaches nothing. Panels and groups hold
    // controls of their own, which are classified in turn.
    c.kind = ClassifyMappedKind(*value, settings).kind;
    c.walk_children = c.kind == SkinnerKind::Box;
    return c;
  }
  constexpr uint32_t kScrollStyles = 0x100000u | 0x200000u;  // WS_HSCROLL, WS_VSCROLL
  constexpr uint32_t kMultiLine = 4;                         // ES_MULTILINE
  constexpr uint32_t kOwnerDrawn = 0xB;                      // BS_OWNERDRAW
  if (cls == "button") {
    if ((style & 7) == 7) return c;              // a group box
    if ((style & 0xF) == kOwnerDrawn) return c;  // the program draws it
    if ((style & 3) == 3 || (style & 2) == 2 || (style & 5) == 5) {
      c.kind = SkinnerKind::CheckBox;
    } else if ((style & 9) == 9 || (style & 4) == 4) {
      c.kind = SkinnerKind::RadioButton;
    } else {
      c.kind = SkinnerKind::Button;
    }
  } else if (cls == "combobox") {
    if ((style & 3) != 1) c.kind = SkinnerKind::ComBox;  // a simple combo box stays as it is
  } else if (cls == "comboboxex32") {
    c.kind = SkinnerKind::ComBox;
    c.on_first_child = true;
  } else if (cls == "scrollbar") {
    c.kind = SkinnerKind::Sizer;
  } else if (cls == "systabcontrol32") {
    if (!(style & 0x2000)) c.kind = SkinnerKind::Tab;
  } else if (cls == "edit") {
    // A multi-line edit with bars is drawn as a memo is: the flat frame round skinned bars.
    const bool memo = (style & kMultiLine) && (style & kScrollStyles);
    c.kind = memo ? SkinnerKind::ScrollBar : SkinnerKind::Edit;
  } else if (cls == "msctls_statusbar32") {
    c.kind = SkinnerKind::StatusBar;
  } else if (cls == "msctls_progress32") {
    c.kind = SkinnerKind::Progress;
  } else if (cls == "msctls_trackbar32") {
    c.kind = SkinnerKind::TrackBar;
  } else if (cls == "msctls_updown32") {
    c.kind = SkinnerKind::UpDown;
  } else if (cls == "syslistview32") {
    c.kind = SkinnerKind::ListView;
  } else if (cls == "sysheader32") {
    c.kind = SkinnerKind::Header;
  } else if (cls == "listbox" || cls == "systreeview32" || cls == "richedit" ||
             cls == "richedit20a" || cls == "richedit20w" || cls == "richedit50w") {
    c.kind = SkinnerKind::ScrollBar;
  } else if (cls == "toolbarwindow32" || cls == "rebarwindow32") {
    c.kind = SkinnerKind::Box;
  }
  // System controls whose inner windows are their own (a simple combo box's edit, a list
  // view's header); group boxes, statics, tool bars and rebars that hold controls are
  // walked into.
  static constexpr std::string_view kOwnInnerWindows[] = {
      "combobox",        "comboboxex32",      "edit",          "listbox",
      "scrollbar",       "syslistview32",     "sysheader32",   "systreeview32",
      "systabcontrol32", "richedit20a",       "richedit20w",   "richedit50w",
      "msctls_hotkey32", "sysdatetimepick32", "sysmonthcal32", "sysipaddress32",
      "richedit"};
  c.walk_children = (c.kind == SkinnerKind::None || c.kind == SkinnerKind::Box) &&
                    std::find(std::begin(kOwnInnerWindows), std::end(kOwnInnerWindows), cls) ==
                        std::end(kOwnInnerWindows);
  return c;
}

bool SetEnumPropertyByName(fw::TComponent& component, std::string_view property,
                           std::string_view value) {
  const fw::TPropertyInfo* info = component.ClassInfo().FindProperty(property);
  if (!info) return false;
  if (info->kind == fw::TPropertyKind::pkEnum) {
    const bool known = std::any_of(info->names.begin(), info->names.end(),
                                   [&](const std::string& n) { return fw::SameText(n, value); });
    if (!known) return false;
  } else if (info->kind == fw::TPropertyKind::pkBool) {
    if (!fw::SameText(value, "True") && !fw::SameText(value, "False")) return false;
  } else {
    return false;
  }
  if (!info->set) return false;
  try {
    info->set(component, fw::FormValue::Ident(std::string(value)), nullptr);
  } catch (const fw::Exception&) {
    return false;
  }
  return true;
}

std::vector<std::string> ClassAncestry(const fw::TComponent& component) {
  std::vector<std::string> names;
  for (const fw::TClassInfo* c = &component.ClassInfo(); c; c = c->Parent())
    names.push_back(c->Name());
  return names;
}

}  // namespace skin
