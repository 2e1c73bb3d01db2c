#pragma once
// Which skinner a control gets. The form controller walks a form's components and asks
// ClassifyComponent for each; a window without a form object has its child windows
// classified by ClassifyChildWindow. Both are pure: they take the facts the controller
// read from the component or window and answer with a Classification, which the
// controller then carries out (control_discovery.cpp).
//
// The order of the table in ClassifyComponent matters: the first row whose test holds
// decides. Rows are numbered from 1 in that order; Classification::row tells which one
// decided, so a test can see how a control was reached.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "framework/component.h"
#include "framework/string_list.h"
#include "skin/controls/skinner_kind.h"

namespace skin {

// Bit numbers of the skin data's SkinControls set that the classification reads (the
// ordinals of TSkinControlType; the Windows side checks that they agree).
namespace skinbit {
inline constexpr int kToolbar = 2;
inline constexpr int kCombo = 4;
inline constexpr int kCheckBox = 5;
inline constexpr int kRadioButton = 6;
inline constexpr int kProgress = 7;
inline constexpr int kScrollbar = 8;
inline constexpr int kEdit = 9;
inline constexpr int kButton = 10;
inline constexpr int kBitBtn = 11;
inline constexpr int kSpeedButton = 12;
inline constexpr int kPanel = 13;
inline constexpr int kStatusBar = 15;
inline constexpr int kTab = 16;
}  // namespace skinbit

// What the controller knows about a component when it classifies it.
struct ControlFacts {
  std::string class_name;
  // The component's class name and those of its base classes, most derived first; the
  // framework-class tests of the table look for a name in it.
  std::vector<std::string> ancestry;
  int32_t tag = 0;
  bool windowed = false;  // a windowed control (it has, or can have, a window)
  uint32_t style = 0;     // the window's style, for windowed controls with a window
  int date_mode = 0;      // a date-time picker's mode value (1: up-down, edited as text)
};

// What the skin data says.
struct ClassifySettings {
  uint32_t skin_controls = 0;  // SkinControls bits
  int32_t disable_tag = 99;
  const fw::TStringList* skin3rd = nullptr;  // class-name mapping lines
  bool has_tab_element = false;              // the skin has a Tabs element

  bool Has(int bit) const { return (skin_controls >> bit) & 1u; }
};

// Rows that are not table rows.
inline constexpr int kRowNone = 0;             // no row matched: nothing is done
inline constexpr int kRowSkippedByTag = -1;    // tag mod 100 equals DisableTag
inline constexpr int kRowAlreadySkinned = -2;  // a skinner already serves it
inline constexpr int kRowWindowFailed = -3;    // its window could not be created
inline constexpr int kRowFromEvent = -4;       // OnSkinControl gave the skinner
inline constexpr int kRowMapped = 4;           // decided by a Skin3rd line
inline constexpr int kTableRows = 35;

struct Classification {
  int row = kRowNone;
  SkinnerKind kind = SkinnerKind::None;
  AttachMode attach = AttachMode::None;
  bool recolor = false;
  bool add_to_skinners = false;    // a skinner attached by handle goes into Skinners
  bool handle_thumb_drag = false;  // AttachScrollBars' switch
  bool walk_owned = false;         // walk the component's owned components afterwards
  // Every child control of the component first gets its parent colour switched off and,
  // unless child_kind is None, a skinner of that kind (recolor 1).
  bool children_parent_color_off = false;
  SkinnerKind child_kind = SkinnerKind::None;
  // A published property set to "True" before attaching ("Flat", "Transparent"), or empty.
  std::string set_true_property;
  bool face_color = false;       // the component's colour := the skin's ButtonFace
  bool face_background = false;  // the same, and the control is invalidated (lists)
  bool size_grip_off = false;    // a status bar's size grip is switched off
  std::string mapping;           // the Skin3rd value that decided (row 4)
};

// tag mod 100 with the sign of the tag (-99 mod 100 is -99).
inline int32_t TagRemainder(int32_t tag) { return tag % 100; }
inline bool SkippedByTag(int32_t tag, int32_t disable_tag) {
  return TagRemainder(tag) == disable_tag;
}

std::string UpperCase(std::string_view text);
std::string LowerCase(std::string_view text);

// True when the ancestry holds `class_name` (ignoring ASCII case).
bool InheritsFromName(const ControlFacts& facts, std::string_view class_name);

// The Skin3rd value for a class: the text after the first "=" of the first line that
// begins with the lower-case class name and "=" (lines compared in lower case), at most
// 50 characters, lower case. nullopt without such a line or with an empty value.
std::optional<std::string> FindSkin3rdMapping(std::string_view class_name,
                                              const fw::TStringList* lines);

// What a mapped kind value does. A value outside the mapping table, or one whose
// SkinControls member is absent, attaches nothing (row 4 still decides).
Classification ClassifyMappedKind(const std::string& value, const ClassifySettings& settings);

// A windowed control with WS_HSCROLL or WS_VSCROLL, a memo, tag 55, or a list-like control.
bool HasOwnScrollBars(const ControlFacts& facts);

// The whole table (tag skipping included; IsAlreadySkinned, window creation and the
// OnSkinControl event are the controller's).
Classification ClassifyComponent(const ControlFacts& facts, const ClassifySettings& settings);

// A child window of a window without a form object, by its lower-case class name and its
// style. A Skin3rd line for the class decides first, as it does for components: it is how a
// program's own classes get a skinner. Then the system classes: scrolling lists, trees,
// rich edits and multi-line edits get their own bars skinned, tool bars and rebars the
// skin's face colour behind their buttons; an owner-drawn button is the program's to draw.
// on_first_child: the skinner goes to the window's first child instead.
struct ChildWindowClassification {
  SkinnerKind kind = SkinnerKind::None;
  bool on_first_child = false;
  // No skinner, and not a system control whose inner windows are its own (a simple combo
  // box's edit, a list view's header): a container of the program's, walked into.
  bool walk_children = false;
};
ChildWindowClassification ClassifyChildWindow(std::string_view lower_class, uint32_t style,
                                              const ClassifySettings& settings = {});

// Sets a published enumeration (or boolean) property by the name of its value; true when
// set. Nothing when the component has no such property, it is of another kind, or the
// value is not one of its names.
bool SetEnumPropertyByName(fw::TComponent& component, std::string_view property,
                           std::string_view value);

// The container kind the walk descends into (frames): rows 34 and the OnSkinControl step.
bool IsContainerKind(const ControlFacts& facts);

// A form whose windowed controls without a window count as skinned already (print
// previews): its name contains "preview" in any case.
bool IsPreviewFormName(std::string_view form_name);

// One decision of a walk, as the controller records it.
struct ClassifiedControl {
  std::string name;        // the component's name; empty for a child window
  std::string class_name;  // its class name, or the child window's class
  int row = kRowNone;
  SkinnerKind kind = SkinnerKind::None;
  AttachMode attach = AttachMode::None;
  bool attached = false;  // a skinner was made and attached
  uintptr_t window = 0;   // the window the skinner went to, if any
  // A control drawn on the skin's face colour (the list kind): its window, recoloured
  // again when the skin changes.
  uintptr_t face_window = 0;
};

// The ancestry of a component's class (ControlFacts::ancestry).
std::vector<std::string> ClassAncestry(const fw::TComponent& component);

}  // namespace skin
