// The walk over a skinned window's child controls: which skinner each one gets. The
// decisions come from the pure classification (control_discovery.h); here they are
// carried out on the real components and windows.
#include <algorithm>

#include "framework/forms.h"
#include "framework/same_text.h"
#include "skin/controls/skin_control.h"
#include "skin/data/skin_data.h"
#include "skin/form/control_discovery.h"
#include "skin/form/skin_form.h"
#include "skin/manager/engine_phases.h"

namespace skin {

static_assert(skinbit::kToolbar == xcToolbar && skinbit::kCombo == xcCombo &&
              skinbit::kCheckBox == xcCheckBox && skinbit::kRadioButton == xcRadioButton &&
              skinbit::kProgress == xcProgress && skinbit::kScrollbar == xcScrollbar &&
              skinbit::kEdit == xcEdit && skinbit::kButton == xcButton &&
              skinbit::kBitBtn == xcBitBtn && skinbit::kSpeedButton == xcSpeedButton &&
              skinbit::kPanel == xcPanel && skinbit::kStatusBar == xcStatusBar &&
              skinbit::kTab == xcTab);

namespace {

ClassifySettings SettingsOf(const TSkinData* data) {
  ClassifySettings s;
  if (!data) return s;
  s.skin_controls = data->SkinControls.bits;
  s.disable_tag = data->DisableTag;
  s.skin3rd = &data->Skin3rd();
  s.has_tab_element = data->Tabs != nullptr;
  return s;
}

// The ordinal of an enumeration property's current value, or 0.
int EnumOrdinal(const fw::TComponent& component, std::string_view property) {
  const fw::TPropertyInfo* info = component.ClassInfo().FindProperty(property);
  if (!info || info->kind != fw::TPropertyKind::pkEnum || !info->get) return 0;
  const std::optional<fw::FormValue> value = info->get(component);
  if (!value) return 0;
  for (size_t i = 0; i < info->names.size(); ++i)
    if (info->names[i] == value->text) return static_cast<int>(i);
  return 0;
}

ControlFacts FactsOf(fw::TComponent* component) {
  ControlFacts f;
  f.class_name = component->ClassName();
  f.ancestry = ClassAncestry(*component);
  f.tag = component->Tag();
  if (auto* win = dynamic_cast<fw::TWinControl*>(component)) {
    f.windowed = true;
    if (win->HandleAllocated())
      f.style = static_cast<uint32_t>(GetWindowLongPtrA(win->Handle(), GWL_STYLE));
  }
  if (fw::SameText(f.class_name, "TDateTimePicker"))
    f.date_mode = EnumOrdinal(*component, "DateMode");
  return f;
}

std::string LowerClassName(HWND hwnd) {
  char name[101] = {};
  GetClassNameA(hwnd, name, 100);
  return LowerCase(name);
}

}  // namespace

bool TSkinForm::RegisterSkinner(TSkinControl* skinner) {
  if (std::find(Skinners.begin(), Skinners.end(), skinner) != Skinners.end()) return true;
  Skinners.push_back(skinner);
  return false;
}

TSkinControl* TSkinForm::FindSkinnerByHandle(HWND hwnd) const {
  for (TSkinControl* s : Skinners)
    if (s->FHandle == hwnd) return s;
  return nullptr;
}

void TSkinForm::FreeSkinners() {
  std::vector<TSkinControl*> list;
  list.swap(Skinners);
  HotSkinner = nullptr;
  // Last attached first: a skinner stacked over another one lets go before it.
  for (auto it = list.rbegin(); it != list.rend(); ++it) {
    (*it)->Detach();
    delete *it;
  }
}

bool TSkinForm::IsAlreadySkinned(fw::TComponent* component) const {
  auto* win = dynamic_cast<fw::TWinControl*>(component);
  for (const TSkinControl* s : Skinners) {
    if (s->FGraphicControl) {
      if (s->FGraphicControl == component) return true;
      continue;
    }
    if (!win) continue;
    if (!win->HandleAllocated()) return Form && IsPreviewFormName(Form->Name());
    if (win->Handle() == s->FHandle) return true;
  }
  return false;
}

TSkinControl* TSkinForm::AttachSkinner(SkinnerKind kind, AttachMode mode, fw::TComponent* component,
                                       bool recolor, bool listed, bool handle_thumb_drag) {
  SkinnerMaker maker = FindSkinnerMaker(kind);
  if (!maker || mode == AttachMode::None) return nullptr;
  auto* win = dynamic_cast<fw::TWinControl*>(component);
  auto* graphic = dynamic_cast<fw::TGraphicControl*>(component);
  const bool fits = mode == AttachMode::Graphic ? graphic != nullptr : win != nullptr;
  if (!fits) return nullptr;
  TSkinControl* skinner = maker(this);
  if (!skinner) return nullptr;
  switch (mode) {
    case AttachMode::Control:
      skinner->AttachControl(win, SkinData, recolor, &Canvas2);
      break;
    case AttachMode::Handle:
      skinner->AttachHandle(win->Handle(), SkinData, &Canvas2);
      if (listed) RegisterSkinner(skinner);
      break;
    case AttachMode::Graphic:
      skinner->AttachGraphicControl(graphic, SkinData, &Canvas2);
      break;
    case AttachMode::ScrollBars:
      skinner->AttachScrollBars(win, SkinData, handle_thumb_drag, &Canvas2);
      break;
    case AttachMode::None:
      break;
  }
  return skinner;
}

void TSkinForm::CarryOutClassification(const Classification& d, fw::TComponent* component) {
  auto* control = dynamic_cast<fw::TControl*>(component);
  auto* win = dynamic_cast<fw::TWinControl*>(component);
  const auto face = static_cast<fw::TColor>(SkinData ? SkinData->ButtonFace : fw::clBtnFace);
  if (!d.set_true_property.empty()) SetEnumPropertyByName(*component, d.set_true_property, "True");
  if (d.face_color && control) control->SetColor(face);
  if (d.size_grip_off) SetEnumPropertyByName(*component, "SizeGrip", "False");
  if (d.children_parent_color_off && win) {
    const std::vector<fw::TControl*> children = win->ControlList();
    for (fw::TControl* child : children) {
      child->SetParentColor(false);
      if (d.child_kind != SkinnerKind::None)
        AttachSkinner(d.child_kind, AttachMode::Control, child, true, true, false);
    }
  }
  TSkinControl* skinner =
      AttachSkinner(d.kind, d.attach, component, d.recolor, d.add_to_skinners, d.handle_thumb_drag);
  ClassifiedControl record;
  record.name = component->Name();
  record.class_name = component->ClassName();
  record.row = d.row;
  record.kind = d.kind;
  record.attach = d.attach;
  record.attached = skinner != nullptr;
  if (skinner) record.window = reinterpret_cast<uintptr_t>(skinner->FHandle);
  if (d.face_background && win && win->HandleAllocated())
    record.face_window = reinterpret_cast<uintptr_t>(win->Handle());
  Classified.push_back(std::move(record));
  if (d.face_background && control) {
    control->SetColor(face);
    control->Invalidate();
  }
  if (d.walk_owned) SkinFormControls(component);
}

bool TSkinForm::ApplyMappedKind(const std::string& upper_name, fw::TComponent* component) {
  const ClassifySettings settings = SettingsOf(SkinData);
  const std::optional<std::string> value = FindSkin3rdMapping(upper_name, settings.skin3rd);
  if (!value) return false;
  CarryOutClassification(ClassifyMappedKind(*value, settings), component);
  return true;
}

void TSkinForm::SkinFormControls(fw::TComponent* container) {
  if (!container || !SkinData) return;
  const PhaseTimer timer(EnginePhase::Controls);
  const FocusSnapshot focus;
  const InvalidationBatch invalidation(Handle);
  const ClassifySettings settings = SettingsOf(SkinData);
  // A copy: handlers may add components while the walk goes on.
  const std::vector<fw::TComponent*> components = container->ComponentList();
  auto record_only = [&](fw::TComponent* c, int row) {
    Classified.push_back(
        {c->Name(), c->ClassName(), row, SkinnerKind::None, AttachMode::None, false, 0});
  };
  for (fw::TComponent* component : components) {
    // Something earlier in the walk may have freed it.
    const auto& now = container->ComponentList();
    if (std::find(now.begin(), now.end(), component) == now.end()) continue;
    if (SkippedByTag(component->Tag(), settings.disable_tag)) {
      record_only(component, kRowSkippedByTag);
      continue;
    }
    if (IsAlreadySkinned(component)) {
      record_only(component, kRowAlreadySkinned);
      continue;
    }
    if (auto* win = dynamic_cast<fw::TWinControl*>(component)) {
      if (!win->HandleAllocated()) {
        try {
          win->HandleNeeded();
        } catch (...) {
          record_only(component, kRowWindowFailed);
          continue;
        }
      }
    }
    const ControlFacts facts = FactsOf(component);
    if (SkinData->OnSkinControl) {
      fw::TComponent* given = nullptr;
      SkinData->OnSkinControl(this, SkinData, dynamic_cast<fw::TControl*>(container),
                              dynamic_cast<fw::TControl*>(component), UpperCase(facts.class_name),
                              given);
      if (auto* skinner = dynamic_cast<TSkinControl*>(given)) {
        ClassifiedControl record{component->Name(),
                                 component->ClassName(),
                                 kRowFromEvent,
                                 SkinnerKind::None,
                                 AttachMode::Control,
                                 false,
                                 0};
        if (!RegisterSkinner(skinner)) {
          if (auto* win = dynamic_cast<fw::TWinControl*>(component)) {
            skinner->AttachControl(win, SkinData, skinner->FRecolor, &Canvas2);
            record.attached = true;
            record.window = reinterpret_cast<uintptr_t>(skinner->FHandle);
          }
          Classified.push_back(record);
          if (IsContainerKind(facts)) SkinFormControls(component);
        } else {
          Classified.push_back(record);
        }
        continue;
      }
    }
    CarryOutClassification(ClassifyComponent(facts, settings), component);
  }
}

namespace {

// A program's own containers (rebars, tool bars, panels of a custom class) hold controls
// of their own; the walk goes down into windows it gives no skinner, this many levels.
constexpr int kChildWalkDepth = 8;

void WalkChildWindows(TSkinForm& form, HWND parent, int depth) {
  for (HWND child = GetTopWindow(parent); child; child = GetWindow(child, GW_HWNDNEXT)) {
    if (!(GetWindowLongPtrA(child, GWL_STYLE) & WS_CHILD)) continue;
    if (form.SkinChildWindow(child) && depth + 1 < kChildWalkDepth)
      WalkChildWindows(form, child, depth + 1);
  }
}

}  // namespace

void TSkinForm::SkinChildWindows() {
  const FocusSnapshot focus;
  WalkChildWindows(*this, Handle, 0);
}

bool TSkinForm::SkinChildWindow(HWND child) {
  if (!child || FindSkinnerByHandle(child)) return false;
  const std::string cls = LowerClassName(child);
  const auto style = static_cast<uint32_t>(GetWindowLongPtrA(child, GWL_STYLE));
  const ChildWindowClassification c = ClassifyChildWindow(cls, style, SettingsOf(SkinData));
  ClassifiedControl record;
  record.class_name = cls;
  record.kind = c.kind;
  record.attach = c.kind == SkinnerKind::None ? AttachMode::None : AttachMode::Handle;
  HWND target = c.on_first_child ? GetTopWindow(child) : child;
  SkinnerMaker maker = FindSkinnerMaker(c.kind);
  if (c.kind != SkinnerKind::None && target && maker) {
    if (TSkinControl* skinner = maker(this)) {
      skinner->AttachHandle(target, SkinData, &Canvas2);
      RegisterSkinner(skinner);
      record.attached = true;
      record.window = reinterpret_cast<uintptr_t>(target);
    }
  }
  Classified.push_back(std::move(record));
  return c.walk_children;
}

// ---- text colours ----

namespace {

// The form's controls, parents before children.
void CollectControls(const fw::TWinControl& parent, std::vector<fw::TControl*>& out, int depth) {
  if (depth > 64) return;
  for (fw::TControl* c : parent.ControlList()) {
    out.push_back(c);
    if (auto* win = dynamic_cast<fw::TWinControl*>(c)) CollectControls(*win, out, depth + 1);
  }
}

}  // namespace

void TSkinForm::ApplyTextColours() {
  if (!Form || !SkinData) return;
  const auto face = static_cast<fw::TColor>(SkinData->ButtonFace);
  const auto text = static_cast<fw::TColor>(SkinData->ButtonText);
  std::vector<fw::TControl*> controls;
  CollectControls(*Form, controls, 0);
  // The colours as they are before any parent's change reaches its children's fonts.
  std::vector<fw::TColor> before;
  for (fw::TControl* c : controls) before.push_back(c->Font().Color());
  for (size_t i = 0; i < controls.size(); ++i) {
    fw::TControl* c = controls[i];
    const fw::TColor current = before[i];
    auto it = std::find_if(TextColours.begin(), TextColours.end(),
                           [c](const TextColourRecord& r) { return r.control == c; });
    if (it != TextColours.end()) {
      if (current != it->applied) continue;  // the application chose another colour
      it->applied = it->own_background ? it->saved : text;
    } else {
      if (current != fw::clWindowText && current != fw::clBtnText) continue;
      const fw::TColor back = c->Color();
      const bool own_background = back != face && back != fw::clBtnFace && !c->ParentColor();
      // Its own font is out of a recoloured parent's reach.
      if (own_background && !c->ParentFont()) continue;
      TextColours.push_back(
          {c, current, c->ParentFont(), own_background ? current : text, own_background});
      it = TextColours.end() - 1;
    }
    c->Font().SetColor(it->applied);
  }
}

void TSkinForm::RestoreTextColours() {
  std::vector<TextColourRecord> records = std::move(TextColours);
  TextColours.clear();
  if (!Form || records.empty()) return;
  // Only controls that are still the form's: any other may have been freed.
  std::vector<fw::TControl*> controls;
  CollectControls(*Form, controls, 0);
  for (const TextColourRecord& r : records) {
    if (std::find(controls.begin(), controls.end(), r.control) == controls.end()) continue;
    if (r.control->Font().Color() != r.applied) continue;
    r.control->Font().SetColor(r.saved);
    if (r.saved_parent_font) r.control->SetParentFont(true);
  }
}

}  // namespace skin
