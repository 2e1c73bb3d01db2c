#pragma once
// Components: objects with an owner that frees them, a name, a tag and published
// properties that a stored form description assigns (form_reader.h).
//
// Ownership: a component created with an owner is freed by it. An owner frees its
// components last-created first, so a component may rely on those created before it.
// Whenever a component leaves its owner (freed or removed), the owner and every
// component it owns, recursively, receive Notification(component, opRemove); components
// elsewhere ask for the same with FreeNotification.
//
// Published properties: each class describes itself once, in a TClassInfo built with
// TClassBuilder, naming its properties in declaration order (the base class's come first),
// the component fields a form binds by name and the handlers it publishes for events:
//
//   const fw::TClassInfo& TThing::StaticClassInfo() {
//     static const fw::TClassInfo info =
//         fw::DescribeClass<TThing, fw::TComponent>("TThing", [](auto& c) {
//           c.Bool("Active", &TThing::Active, &TThing::SetActive);
//           c.Set("Kinds", kKindNames, &TThing::Kinds, &TThing::SetKinds);
//           c.Event("OnChange", &TThing::OnChange);
//         });
//     return info;
//   }
//
// and declares FW_CLASS_INFO() in its body. Classes that a description may create are
// entered in the registry with RegisterComponentClass.
#include <any>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include "framework/colors.h"
#include "framework/exception.h"
#include "framework/form_description.h"
#include "framework/object.h"
#include "framework/stream.h"
#include "framework/string_list.h"

namespace fw {

class TComponent;
class TClassInfo;

enum TOperation { opInsert, opRemove };

using TComponentState = uint32_t;
inline constexpr TComponentState csLoading = 1;     // from creation by a reader until Loaded
inline constexpr TComponentState csReading = 2;     // while its own properties are assigned
inline constexpr TComponentState csDesigning = 4;   // in a designer, not running
inline constexpr TComponentState csDestroying = 8;  // its destructor has started

// A method reference: a handler and, when it came from a description, the handler's
// name (written back when the component is written).
template <typename Signature>
struct TEvent;

template <typename R, typename... Args>
struct TEvent<R(Args...)> {
  std::function<R(Args...)> handler;
  std::string name;

  TEvent() = default;
  template <typename F>
  requires(!std::is_same_v<std::decay_t<F>, TEvent> &&
           std::is_constructible_v<std::function<R(Args...)>, F>)
      TEvent(F&& f, std::string handler_name = {})  // NOLINT: implicit from any callable
      : handler(std::forward<F>(f)), name(std::move(handler_name)) {}

  explicit operator bool() const { return static_cast<bool>(handler); }
  R operator()(Args... args) const { return handler(std::forward<Args>(args)...); }
};

using TNotifyEvent = TEvent<void(TObject* sender)>;

// How published properties read from or write to a description.
enum class TPropertyKind {
  pkBool,        // True / False
  pkInteger,     // 32-bit signed
  pkString,      // 8-bit text; a wide value is converted with AnsiFromWide
  pkWideString,  // UTF-16 text; an 8-bit value is converted with WideFromAnsi
  pkEnum,        // one identifier of `names`
  pkSet,         // identifiers of `names`, bit n for names[n]
  pkStringList,  // list of strings
  pkColor,       // a colour name or an integer
  pkEvent,       // the name of a handler the root component publishes
  pkComponent,   // the name of another component of the same owner (an identifier)
};

struct TPropertyInfo {
  std::string name;
  TPropertyKind kind = TPropertyKind::pkInteger;
  std::vector<std::string> names;  // members of an enumeration or set
  // The current value; nullopt when nothing is to be stored (an unassigned event).
  std::function<std::optional<FormValue>(const TComponent&)> get;
  // Assigns a value read from a description; throws EReadError on a value of the wrong kind.
  // root is the component the description is read into (it resolves handler names).
  std::function<void(TComponent&, const FormValue&, TComponent* root)> set;
};

// A field of a form that refers to one of its components by name ("Button1").
struct TFieldInfo {
  std::string name;
  // Stores the component in the root's field; false when the component has the wrong class.
  std::function<bool(TComponent& root, TComponent* value)> assign;
};

// A handler a form publishes by name ("Button1Click"); bind gives a std::function of the
// handler's exact signature, bound to root, wrapped in std::any.
struct TMethodInfo {
  std::string name;
  std::function<std::any(TComponent& root)> bind;
};

using TComponentFactory = TComponent* (*)(TComponent* owner);

class TClassInfo {
 public:
  TClassInfo(std::string name, const TClassInfo* parent, TComponentFactory factory)
      : name_(std::move(name)), parent_(parent), factory_(factory) {}

  const std::string& Name() const { return name_; }
  const TClassInfo* Parent() const { return parent_; }
  // Creates an instance with the given owner; nullptr for classes that cannot be created.
  TComponentFactory Factory() const { return factory_; }
  bool InheritsFrom(const TClassInfo& other) const;

  // All published properties: the base class's first, each class's in declaration order.
  std::vector<const TPropertyInfo*> Properties() const;
  // Lookups ignore ASCII case; the most derived class's entry wins.
  const TPropertyInfo* FindProperty(std::string_view name) const;
  const TFieldInfo* FindField(std::string_view name) const;
  const TMethodInfo* FindMethod(std::string_view name) const;

  void AddProperty(TPropertyInfo property) { properties_.push_back(std::move(property)); }
  void AddField(TFieldInfo field) { fields_.push_back(std::move(field)); }
  void AddMethod(TMethodInfo method) { methods_.push_back(std::move(method)); }

 private:
  std::string name_;
  const TClassInfo* parent_;
  TComponentFactory factory_;
  std::vector<TPropertyInfo> properties_;
  std::vector<TFieldInfo> fields_;
  std::vector<TMethodInfo> methods_;
};

// The class registry consulted when a description names a class. Registering the same
// class again is harmless; another class under a taken name throws Exception.
void RegisterComponentClass(const TClassInfo& info);
const TClassInfo* FindComponentClass(std::string_view name);  // ignores ASCII case

// Text conversion between the 8-bit texts of components and UTF-16 description values.
// Portably UTF-8; the Windows side installs the ANSI code page (SetTextCodec).
std::string AnsiFromWide(std::u16string_view text);
std::u16string WideFromAnsi(std::string_view text);
using NarrowFunction = std::string (*)(std::u16string_view);
using WidenFunction = std::u16string (*)(std::string_view);
void SetTextCodec(NarrowFunction narrow, WidenFunction widen);

// Properties that are not published but streamed by the component itself ("SkinStream").
class TFiler {
 public:
  using BinaryReader = std::function<void(TStream&)>;
  using BinaryWriter = std::function<void(TStream&)>;
  // read gets a stream over the stored bytes; write fills a stream. The property is
  // written only when has_data is true.
  virtual void DefineBinaryProperty(const std::string& name, BinaryReader read, BinaryWriter write,
                                    bool has_data) = 0;

 protected:
  ~TFiler() = default;
};

#define FW_CLASS_INFO()                             \
 public:                                            \
  static const ::fw::TClassInfo& StaticClassInfo(); \
  const ::fw::TClassInfo& ClassInfo() const override { return StaticClassInfo(); }

class TComponent : public TPersistent {
 public:
  explicit TComponent(TComponent* owner);
  ~TComponent() override;

  static const TClassInfo& StaticClassInfo();
  virtual const TClassInfo& ClassInfo() const { return StaticClassInfo(); }
  const std::string& ClassName() const { return ClassInfo().Name(); }
  bool InheritsFrom(const TClassInfo& info) const { return ClassInfo().InheritsFrom(info); }

  TComponent* Owner() const { return owner_; }
  int ComponentCount() const { return static_cast<int>(components_.size()); }
  TComponent* Components(int index) const { return components_.at(static_cast<size_t>(index)); }
  const std::vector<TComponent*>& ComponentList() const { return components_; }
  // Position in the owner's list, or -1.
  int ComponentIndex() const;
  // The owned component of that name (ignoring ASCII case), or nullptr.
  TComponent* FindComponent(std::string_view name) const;
  // Takes ownership of component (from its previous owner, if any).
  void InsertComponent(TComponent* component);
  // Gives up ownership; the caller then frees the component.
  void RemoveComponent(TComponent* component);

  const std::string& Name() const { return name_; }
  // Names are identifiers, unique among the owner's components; throws Exception otherwise.
  virtual void SetName(const std::string& name);
  int32_t Tag() const { return tag_; }
  void SetTag(int32_t tag) { tag_ = tag; }

  TComponentState ComponentState() const { return state_; }
  bool IsLoading() const { return (state_ & csLoading) != 0; }
  bool IsReading() const { return (state_ & csReading) != 0; }
  bool IsDesigning() const { return (state_ & csDesigning) != 0; }
  bool IsDestroying() const { return (state_ & csDestroying) != 0; }
  // Marks this component and everything it owns as being designed (or not).
  void SetDesigning(bool designing);
  // The reader's protocol: BeginLoading before the properties, Loaded after all of them.
  void BeginLoading() { state_ |= csLoading | csReading; }
  void EndReading() { state_ &= ~csReading; }

  // Called once every stored property of the description has been assigned; overrides
  // call the base first (it clears csLoading).
  virtual void Loaded();
  // Streams properties that are not published; the base defines none.
  virtual void DefineProperties(TFiler& filer);
  // The object a description nests this one in (a control's parent); the reader sets it.
  virtual TComponent* ParentComponent() const { return nullptr; }
  virtual void SetParentComponent(TComponent* parent);

  // other receives Notification(this, opRemove) when this component is freed.
  void FreeNotification(TComponent* other);
  void RemoveFreeNotification(TComponent* other);
  // Told of components inserted into or removed from this component's owner tree, and of
  // the freeing of components this one asked FreeNotification of. The base removes a freed
  // component from the free-notification lists and passes the call on to everything owned.
  virtual void Notification(TComponent* component, TOperation operation);

 private:
  TComponent* owner_ = nullptr;
  std::vector<TComponent*> components_;
  std::vector<TComponent*> free_notifies_;
  std::string name_;
  int32_t tag_ = 0;
  TComponentState state_ = 0;
};

// A published property by name, as a description value (the way a skinner reads a
// control's "Checked" or sets a tool bar's "Flat" := True without knowing its class).
// nullopt / false when the class publishes no such property; a bad value throws EReadError.
std::optional<FormValue> GetPublishedProperty(const TComponent& component, std::string_view name);
bool SetPublishedProperty(TComponent& component, std::string_view name, const FormValue& value);

// ---- building a class description --------------------------------------------------------

namespace detail {
bool BoolValue(const FormValue& v, const std::string& property);
int32_t IntValue(const FormValue& v, const std::string& property);
std::string StringValue(const FormValue& v, const std::string& property);
std::u16string WideStringValue(const FormValue& v, const std::string& property);
int EnumValue(const FormValue& v, const std::string& property,
              const std::vector<std::string>& names);
uint32_t SetValue(const FormValue& v, const std::string& property,
                  const std::vector<std::string>& names);
TStringList StringListValue(const FormValue& v, const std::string& property);
TColor ColorValue(const FormValue& v, const std::string& property);
FormValue SetToValue(uint32_t bits, const std::vector<std::string>& names);
FormValue StringListToValue(const TStringList& list);
FormValue ColorToValue(TColor color);
FormValue EnumToValue(int ordinal, const std::vector<std::string>& names);
std::any BoundMethod(const FormValue& v, const std::string& property, TComponent* root);
[[noreturn]] void WrongHandler(const std::string& handler, const std::string& property);
// The component a reference value names among root's components; nullptr for "nil". A
// name not read yet is resolved when the whole description has been read (then `assign`
// runs); without a reader running, an unknown name throws EReadError.
void ResolveReference(const FormValue& v, const std::string& property, TComponent* root,
                      const std::function<bool(TComponent*)>& assign);
// While alive, references to components not read yet wait; Resolve assigns them (and
// throws EReadError for a name that never appeared). Used by the description reader.
class ReferenceFixups {
 public:
  ReferenceFixups();
  ReferenceFixups(const ReferenceFixups&) = delete;
  ReferenceFixups& operator=(const ReferenceFixups&) = delete;
  ~ReferenceFixups();
  void Resolve();

 private:
  friend void ResolveReference(const FormValue&, const std::string&, TComponent*,
                               const std::function<bool(TComponent*)>&);
  struct Pending {
    std::string name, property;
    int line;
    TComponent* root;
    std::function<bool(TComponent*)> assign;
  };
  std::vector<Pending> pending_;
  ReferenceFixups* previous_;
};
}  // namespace detail

template <class C>
class TClassBuilder {
 public:
  explicit TClassBuilder(TClassInfo& info) : info_(info) {}

  template <class G, class S>
  TClassBuilder& Bool(std::string name, G get, S set) {
    return Add(
        std::move(name), TPropertyKind::pkBool, {},
        [get](const C& c) { return FormValue::Ident(std::invoke(get, c) ? "True" : "False"); },
        [set](C& c, const FormValue& v, const std::string& n) {
          std::invoke(set, c, detail::BoolValue(v, n));
        });
  }
  template <class G, class S>
  TClassBuilder& Integer(std::string name, G get, S set) {
    return Add(
        std::move(name), TPropertyKind::pkInteger, {},
        [get](const C& c) { return FormValue::Integer(std::invoke(get, c)); },
        [set](C& c, const FormValue& v, const std::string& n) {
          std::invoke(set, c, detail::IntValue(v, n));
        });
  }
  template <class G, class S>
  TClassBuilder& String(std::string name, G get, S set) {
    return Add(
        std::move(name), TPropertyKind::pkString, {},
        [get](const C& c) { return FormValue::String(std::string(std::invoke(get, c))); },
        [set](C& c, const FormValue& v, const std::string& n) {
          std::invoke(set, c, detail::StringValue(v, n));
        });
  }
  template <class G, class S>
  TClassBuilder& WideString(std::string name, G get, S set) {
    return Add(
        std::move(name), TPropertyKind::pkWideString, {},
        [get](const C& c) { return FormValue::WideString(std::u16string(std::invoke(get, c))); },
        [set](C& c, const FormValue& v, const std::string& n) {
          std::invoke(set, c, detail::WideStringValue(v, n));
        });
  }
  // get returns the enumeration (or its ordinal); names[i] is ordinal i.
  template <class G, class S>
  TClassBuilder& Enum(std::string name, std::vector<std::string> names, G get, S set) {
    using E = std::decay_t<std::invoke_result_t<G, const C&>>;
    return Add(
        std::move(name), TPropertyKind::pkEnum, names,
        [get, names](const C& c) {
          return detail::EnumToValue(static_cast<int>(std::invoke(get, c)), names);
        },
        [set, names](C& c, const FormValue& v, const std::string& n) {
          std::invoke(set, c, static_cast<E>(detail::EnumValue(v, n, names)));
        });
  }
  // get returns the bit set (bit i for names[i]).
  template <class G, class S>
  TClassBuilder& Set(std::string name, std::vector<std::string> names, G get, S set) {
    return Add(
        std::move(name), TPropertyKind::pkSet, names,
        [get, names](const C& c) {
          return detail::SetToValue(static_cast<uint32_t>(std::invoke(get, c)), names);
        },
        [set, names](C& c, const FormValue& v, const std::string& n) {
          std::invoke(set, c, detail::SetValue(v, n, names));
        });
  }
  template <class G, class S>
  TClassBuilder& StringList(std::string name, G get, S set) {
    return Add(
        std::move(name), TPropertyKind::pkStringList, {},
        [get](const C& c) { return detail::StringListToValue(std::invoke(get, c)); },
        [set](C& c, const FormValue& v, const std::string& n) {
          std::invoke(set, c, detail::StringListValue(v, n));
        });
  }
  template <class G, class S>
  TClassBuilder& Color(std::string name, G get, S set) {
    return Add(
        std::move(name), TPropertyKind::pkColor, {},
        [get](const C& c) { return detail::ColorToValue(std::invoke(get, c)); },
        [set](C& c, const FormValue& v, const std::string& n) {
          std::invoke(set, c, detail::ColorValue(v, n));
        });
  }
  // A reference to another component by its name: get returns the name (empty: nothing is
  // stored), set receives the identifier; the class resolves it, usually in Loaded, when
  // every component of the description exists.
  template <class G, class S>
  TClassBuilder& Reference(std::string name, G get, S set) {
    TPropertyInfo p;
    p.name = std::move(name);
    p.kind = TPropertyKind::pkComponent;
    p.get = [get](const TComponent& c) -> std::optional<FormValue> {
      std::string referenced = std::invoke(get, static_cast<const C&>(c));
      if (referenced.empty()) return std::nullopt;
      return FormValue::Ident(std::move(referenced));
    };
    p.set = [set, n = p.name](TComponent& c, const FormValue& v, TComponent*) {
      if (v.kind != FormValue::Kind::kIdent)
        throw EReadError("Invalid value for property " + n + ": expected a component name");
      std::invoke(set, static_cast<C&>(c), v.text);
    };
    info_.AddProperty(std::move(p));
    return *this;
  }
  // An event field (a TEvent member); stored only when it has a handler name.
  template <class Sig, class Base>
  TClassBuilder& Event(std::string name, TEvent<Sig> Base::*field) {
    TPropertyInfo p;
    p.name = std::move(name);
    p.kind = TPropertyKind::pkEvent;
    p.get = [field](const TComponent& c) -> std::optional<FormValue> {
      const auto& event = static_cast<const C&>(c).*field;
      if (event.name.empty()) return std::nullopt;
      return FormValue::Ident(event.name);
    };
    p.set = [field, n = p.name](TComponent& c, const FormValue& v, TComponent* root) {
      std::any bound = detail::BoundMethod(v, n, root);
      auto* fn = std::any_cast<std::function<Sig>>(&bound);
      if (!fn) detail::WrongHandler(v.text, n);
      static_cast<C&>(c).*field = TEvent<Sig>(std::move(*fn), v.text);
    };
    info_.AddProperty(std::move(p));
    return *this;
  }
  // A reference to another component of the root, stored by name; get returns a T*.
  template <class T, class G, class S>
  TClassBuilder& Component(std::string name, G get, S set) {
    TPropertyInfo p;
    p.name = std::move(name);
    p.kind = TPropertyKind::pkComponent;
    p.get = [get](const TComponent& c) -> std::optional<FormValue> {
      const TComponent* target = std::invoke(get, static_cast<const C&>(c));
      if (!target || target->Name().empty()) return std::nullopt;
      return FormValue::Ident(target->Name());
    };
    p.set = [set, n = p.name](TComponent& c, const FormValue& v, TComponent* root) {
      C* self = &static_cast<C&>(c);
      detail::ResolveReference(v, n, root, [self, set](TComponent* target) {
        T* typed = dynamic_cast<T*>(target);
        if (target && !typed) return false;
        std::invoke(set, *self, typed);
        return true;
      });
    };
    info_.AddProperty(std::move(p));
    return *this;
  }
  // A field of the form that the reader sets to the component of that name.
  template <class T, class Base>
  TClassBuilder& Field(std::string name, T* Base::*field) {
    info_.AddField({std::move(name), [field](TComponent& root, TComponent* value) {
                      T* typed = dynamic_cast<T*>(value);
                      if (!typed) return false;
                      static_cast<C&>(root).*field = typed;
                      return true;
                    }});
    return *this;
  }
  // A handler that events in the description may name.
  template <class R, class Base, class... A>
  TClassBuilder& Method(std::string name, R (Base::*method)(A...)) {
    info_.AddMethod({std::move(name), [method](TComponent& root) {
                       C* object = &static_cast<C&>(root);
                       return std::any(std::function<R(A...)>([object, method](A... args) -> R {
                         return (object->*method)(std::forward<A>(args)...);
                       }));
                     }});
    return *this;
  }

 private:
  template <class Get, class Put>
  TClassBuilder& Add(std::string name, TPropertyKind kind, std::vector<std::string> names, Get get,
                     Put put) {
    TPropertyInfo p;
    p.name = std::move(name);
    p.kind = kind;
    p.names = std::move(names);
    p.get = [get](const TComponent& c) -> std::optional<FormValue> {
      return get(static_cast<const C&>(c));
    };
    p.set = [put, n = p.name](TComponent& c, const FormValue& v, TComponent*) {
      put(static_cast<C&>(c), v, n);
    };
    info_.AddProperty(std::move(p));
    return *this;
  }

  TClassInfo& info_;
};

// The description of class C (derived from Base) under `name`; describe adds its members.
template <class C, class Base, class Describe>
TClassInfo DescribeClass(std::string name, Describe describe) {
  TComponentFactory factory = nullptr;
  if constexpr (!std::is_abstract_v<C> && std::is_constructible_v<C, TComponent*>) {
    factory = [](TComponent* owner) -> TComponent* { return new C(owner); };
  }
  TClassInfo info(std::move(name), &Base::StaticClassInfo(), factory);
  TClassBuilder<C> builder(info);
  describe(builder);
  return info;
}

}  // namespace fw
