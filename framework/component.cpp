#include "framework/component.h"

#include <algorithm>
#include <cctype>
#include <map>

#include "framework/same_text.h"

namespace fw {

namespace {

std::string Lower(std::string_view s) {
  std::string out(s);
  for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return out;
}

std::map<std::string, const TClassInfo*>& Registry() {
  static std::map<std::string, const TClassInfo*> registry;
  return registry;
}

// Portable default: 8-bit texts are UTF-8.
std::string NarrowUtf8(std::u16string_view text) { return Utf8FromUtf16(text); }
std::u16string WidenUtf8(std::string_view text) {
  try {
    return Utf16FromUtf8(text);
  } catch (const std::invalid_argument&) {
    return std::u16string(text.begin(), text.end());  // not UTF-8: bytes as Latin-1
  }
}
NarrowFunction g_narrow = NarrowUtf8;
WidenFunction g_widen = WidenUtf8;

}  // namespace

// ---- class descriptions -----------------------------------------------------------------

bool TClassInfo::InheritsFrom(const TClassInfo& other) const {
  for (const TClassInfo* c = this; c; c = c->parent_) {
    if (c == &other) return true;
  }
  return false;
}

std::vector<const TPropertyInfo*> TClassInfo::Properties() const {
  std::vector<const TPropertyInfo*> all =
      parent_ ? parent_->Properties() : std::vector<const TPropertyInfo*>{};
  for (const auto& p : properties_) {
    // A class may publish a base class's property again (to change how it is streamed).
    auto same = std::find_if(all.begin(), all.end(),
                             [&](const TPropertyInfo* q) { return SameText(q->name, p.name); });
    if (same != all.end()) {
      *same = &p;
    } else {
      all.push_back(&p);
    }
  }
  return all;
}

const TPropertyInfo* TClassInfo::FindProperty(std::string_view name) const {
  for (const TClassInfo* c = this; c; c = c->parent_) {
    for (const auto& p : c->properties_) {
      if (SameText(p.name, name)) return &p;
    }
  }
  return nullptr;
}

const TFieldInfo* TClassInfo::FindField(std::string_view name) const {
  for (const TClassInfo* c = this; c; c = c->parent_) {
    for (const auto& f : c->fields_) {
      if (SameText(f.name, name)) return &f;
    }
  }
  return nullptr;
}

const TMethodInfo* TClassInfo::FindMethod(std::string_view name) const {
  for (const TClassInfo* c = this; c; c = c->parent_) {
    for (const auto& m : c->methods_) {
      if (SameText(m.name, name)) return &m;
    }
  }
  return nullptr;
}

void RegisterComponentClass(const TClassInfo& info) {
  auto [it, inserted] = Registry().emplace(Lower(info.Name()), &info);
  if (!inserted && it->second != &info)
    throw Exception("A class named " + info.Name() + " is already registered");
}

const TClassInfo* FindComponentClass(std::string_view name) {
  auto it = Registry().find(Lower(name));
  return it == Registry().end() ? nullptr : it->second;
}

std::string AnsiFromWide(std::u16string_view text) { return g_narrow(text); }
std::u16string WideFromAnsi(std::string_view text) { return g_widen(text); }
void SetTextCodec(NarrowFunction narrow, WidenFunction widen) {
  g_narrow = narrow ? narrow : NarrowUtf8;
  g_widen = widen ? widen : WidenUtf8;
}

// ---- property values ----------------------------------------------------------------------

namespace detail {

[[noreturn]] static void BadValue(const FormValue& v, const std::string& property,
                                  const std::string& expected) {
  throw EReadError("Invalid value for property " + property + ": expected " + expected +
                   ", found " + FormValue::KindName(v.kind) +
                   (v.kind == FormValue::Kind::kIdent ? " '" + v.text + "'" : std::string()));
}

bool BoolValue(const FormValue& v, const std::string& property) {
  if (v.kind == FormValue::Kind::kIdent) {
    if (SameText(v.text, "True")) return true;
    if (SameText(v.text, "False")) return false;
  }
  BadValue(v, property, "True or False");
}

int32_t IntValue(const FormValue& v, const std::string& property) {
  if (v.kind != FormValue::Kind::kInteger) BadValue(v, property, "an integer");
  if (v.integer < INT32_MIN || v.integer > INT32_MAX)
    throw EReadError("Integer " + std::to_string(v.integer) + " out of range for property " +
                     property);
  return static_cast<int32_t>(v.integer);
}

std::string StringValue(const FormValue& v, const std::string& property) {
  if (v.kind == FormValue::Kind::kString) return v.text;
  if (v.kind == FormValue::Kind::kWideString) return AnsiFromWide(v.wide);
  BadValue(v, property, "a string");
}

std::u16string WideStringValue(const FormValue& v, const std::string& property) {
  if (v.kind == FormValue::Kind::kWideString) return v.wide;
  if (v.kind == FormValue::Kind::kString) return WideFromAnsi(v.text);
  BadValue(v, property, "a string");
}

int EnumValue(const FormValue& v, const std::string& property,
              const std::vector<std::string>& names) {
  if (v.kind == FormValue::Kind::kIdent) {
    for (size_t i = 0; i < names.size(); ++i) {
      if (SameText(names[i], v.text)) return static_cast<int>(i);
    }
  }
  std::string expected = "one of";
  for (const auto& n : names) expected += " " + n;
  BadValue(v, property, expected);
}

uint32_t SetValue(const FormValue& v, const std::string& property,
                  const std::vector<std::string>& names) {
  if (v.kind != FormValue::Kind::kSet) BadValue(v, property, "a set");
  uint32_t bits = 0;
  for (const auto& member : v.set) {
    size_t i = 0;
    while (i < names.size() && !SameText(names[i], member)) ++i;
    if (i == names.size() || i >= 32)
      throw EReadError("Invalid value for property " + property + ": unknown set member '" +
                       member + "'");
    bits |= 1u << i;
  }
  return bits;
}

TStringList StringListValue(const FormValue& v, const std::string& property) {
  if (v.kind != FormValue::Kind::kList) BadValue(v, property, "a list of strings");
  TStringList list;
  for (const auto& item : v.list) list.Add(StringValue(item, property));
  return list;
}

TColor ColorValue(const FormValue& v, const std::string& property) {
  if (v.kind == FormValue::Kind::kIdent) {
    if (auto c = ColorFromName(v.text)) return *c;
  }
  if (v.kind == FormValue::Kind::kInteger) {
    // Colours are written signed (system colours are negative) or as unsigned hex.
    if (v.integer >= INT32_MIN && v.integer <= UINT32_MAX)
      return static_cast<TColor>(static_cast<uint32_t>(v.integer));
  }
  BadValue(v, property, "a colour name or number");
}

FormValue SetToValue(uint32_t bits, const std::vector<std::string>& names) {
  std::vector<std::string> members;
  for (size_t i = 0; i < names.size() && i < 32; ++i) {
    if (bits & (1u << i)) members.push_back(names[i]);
  }
  return FormValue::Set(std::move(members));
}

FormValue StringListToValue(const TStringList& list) {
  std::vector<FormValue> items;
  for (const auto& line : list.Lines()) items.push_back(FormValue::String(line));
  return FormValue::List(std::move(items));
}

FormValue ColorToValue(TColor color) {
  if (const char* name = ColorName(color)) return FormValue::Ident(name);
  return FormValue::Integer(color);
}

FormValue EnumToValue(int ordinal, const std::vector<std::string>& names) {
  if (ordinal >= 0 && static_cast<size_t>(ordinal) < names.size())
    return FormValue::Ident(names[static_cast<size_t>(ordinal)]);
  return FormValue::Integer(ordinal);
}

std::any BoundMethod(const FormValue& v, const std::string& property, TComponent* root) {
  if (v.kind != FormValue::Kind::kIdent) BadValue(v, property, "a handler name");
  const TMethodInfo* method = root ? root->ClassInfo().FindMethod(v.text) : nullptr;
  if (!method) throw EReadError("Method '" + v.text + "' not found (property " + property + ")");
  return method->bind(*root);
}

void WrongHandler(const std::string& handler, const std::string& property) {
  throw EReadError("Method '" + handler + "' does not fit event " + property);
}

namespace {
thread_local ReferenceFixups* g_fixups = nullptr;

void AssignReference(TComponent* target, const std::string& name, const std::string& property,
                     const std::function<bool(TComponent*)>& assign) {
  if (!assign(target))
    throw EReadError("Component '" + name + "' does not fit property " + property);
}
}  // namespace

ReferenceFixups::ReferenceFixups() : previous_(g_fixups) { g_fixups = this; }
ReferenceFixups::~ReferenceFixups() { g_fixups = previous_; }

void ReferenceFixups::Resolve() {
  std::vector<Pending> pending = std::move(pending_);
  pending_.clear();
  for (const Pending& p : pending) {
    TComponent* target = p.root ? p.root->FindComponent(p.name) : nullptr;
    if (!target)
      throw EReadError("line " + std::to_string(p.line) + ": Component '" + p.name +
                       "' not found (property " + p.property + ")");
    try {
      AssignReference(target, p.name, p.property, p.assign);
    } catch (const std::exception& e) {
      throw EReadError("line " + std::to_string(p.line) + ": " + e.what());
    }
  }
}

void ResolveReference(const FormValue& v, const std::string& property, TComponent* root,
                      const std::function<bool(TComponent*)>& assign) {
  if (v.kind != FormValue::Kind::kIdent) BadValue(v, property, "a component name");
  if (SameText(v.text, "nil")) {
    AssignReference(nullptr, v.text, property, assign);
    return;
  }
  TComponent* target = nullptr;
  if (root) target = SameText(root->Name(), v.text) ? root : root->FindComponent(v.text);
  if (target) {
    AssignReference(target, v.text, property, assign);
    return;
  }
  if (!g_fixups)
    throw EReadError("Component '" + v.text + "' not found (property " + property + ")");
  g_fixups->pending_.push_back({v.text, property, v.line, root, assign});
}

}  // namespace detail

std::optional<FormValue> GetPublishedProperty(const TComponent& component, std::string_view name) {
  const TPropertyInfo* p = component.ClassInfo().FindProperty(name);
  if (!p) return std::nullopt;
  return p->get(component);
}

bool SetPublishedProperty(TComponent& component, std::string_view name, const FormValue& value) {
  const TPropertyInfo* p = component.ClassInfo().FindProperty(name);
  if (!p) return false;
  p->set(component, value, component.Owner());
  return true;
}

// ---- TComponent ---------------------------------------------------------------------------

const TClassInfo& TComponent::StaticClassInfo() {
  static const TClassInfo info = [] {
    TClassInfo i("TComponent", nullptr, [](TComponent* owner) { return new TComponent(owner); });
    TClassBuilder<TComponent>(i).Integer("Tag", &TComponent::Tag, &TComponent::SetTag);
    return i;
  }();
  return info;
}

TComponent::TComponent(TComponent* owner) {
  if (owner) owner->InsertComponent(this);
}

TComponent::~TComponent() {
  state_ |= csDestroying;
  // Those that asked to be told; each removes itself from our list in its Notification.
  while (!free_notifies_.empty()) {
    TComponent* other = free_notifies_.back();
    free_notifies_.pop_back();
    auto& back = other->free_notifies_;
    back.erase(std::remove(back.begin(), back.end(), this), back.end());
    other->Notification(this, opRemove);
  }
  // Owned components, last first, without notifying this (dying) owner's tree.
  while (!components_.empty()) {
    TComponent* c = components_.back();
    components_.pop_back();
    c->owner_ = nullptr;
    delete c;
  }
  if (owner_) owner_->RemoveComponent(this);
}

int TComponent::ComponentIndex() const {
  if (!owner_) return -1;
  const auto& list = owner_->components_;
  auto it = std::find(list.begin(), list.end(), this);
  return it == list.end() ? -1 : static_cast<int>(it - list.begin());
}

TComponent* TComponent::FindComponent(std::string_view name) const {
  if (name.empty()) return nullptr;
  for (TComponent* c : components_) {
    if (SameText(c->name_, name)) return c;
  }
  return nullptr;
}

void TComponent::InsertComponent(TComponent* component) {
  if (!component || component->owner_ == this) return;
  if (!component->name_.empty() && FindComponent(component->name_))
    throw Exception("A component named " + component->name_ + " already exists");
  if (component->owner_) component->owner_->RemoveComponent(component);
  components_.push_back(component);
  component->owner_ = this;
  Notification(component, opInsert);
}

void TComponent::RemoveComponent(TComponent* component) {
  auto it = std::find(components_.begin(), components_.end(), component);
  if (it == components_.end()) return;
  Notification(component, opRemove);
  // Notification may have changed the list; look again.
  it = std::find(components_.begin(), components_.end(), component);
  if (it != components_.end()) components_.erase(it);
  component->owner_ = nullptr;
}

void TComponent::SetName(const std::string& name) {
  if (name == name_) return;
  if (!name.empty()) {
    const bool valid = (std::isalpha(static_cast<unsigned char>(name[0])) || name[0] == '_') &&
                       std::all_of(name.begin(), name.end(), [](char c) {
                         return std::isalnum(static_cast<unsigned char>(c)) || c == '_';
                       });
    if (!valid) throw Exception("'" + name + "' is not a valid component name");
    if (owner_) {
      TComponent* same = owner_->FindComponent(name);
      if (same && same != this) throw Exception("A component named " + name + " already exists");
    }
  }
  name_ = name;
}

void TComponent::SetDesigning(bool designing) {
  if (designing) {
    state_ |= csDesigning;
  } else {
    state_ &= ~csDesigning;
  }
  for (TComponent* c : components_) c->SetDesigning(designing);
}

void TComponent::Loaded() { state_ &= ~(csLoading | csReading); }

void TComponent::DefineProperties(TFiler&) {}

void TComponent::SetParentComponent(TComponent*) {}

void TComponent::FreeNotification(TComponent* other) {
  if (!other || other == this) return;
  if (std::find(free_notifies_.begin(), free_notifies_.end(), other) == free_notifies_.end())
    free_notifies_.push_back(other);
  // Both ways: whichever goes first tells the other, which then forgets it.
  if (std::find(other->free_notifies_.begin(), other->free_notifies_.end(), this) ==
      other->free_notifies_.end())
    other->free_notifies_.push_back(this);
}

void TComponent::RemoveFreeNotification(TComponent* other) {
  free_notifies_.erase(std::remove(free_notifies_.begin(), free_notifies_.end(), other),
                       free_notifies_.end());
  if (other) {
    auto& back = other->free_notifies_;
    back.erase(std::remove(back.begin(), back.end(), this), back.end());
  }
}

void TComponent::Notification(TComponent* component, TOperation operation) {
  if (operation == opRemove && component) {
    free_notifies_.erase(std::remove(free_notifies_.begin(), free_notifies_.end(), component),
                         free_notifies_.end());
  }
  // Last first; a handler may free components, so re-check the index each time.
  for (size_t i = components_.size(); i > 0; --i) {
    if (i > components_.size()) continue;
    components_[i - 1]->Notification(component, operation);
  }
}

}  // namespace fw
