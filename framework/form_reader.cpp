#include "framework/form_reader.h"

namespace fw {

namespace {

[[noreturn]] void Fail(int line, const std::string& what) {
  throw EReadError("line " + std::to_string(line) + ": " + what);
}

// Finds one defined property by name and hands it the stored bytes.
class ReadingFiler : public TFiler {
 public:
  ReadingFiler(const std::string& name, const FormValue& value) : name_(name), value_(value) {}

  void DefineBinaryProperty(const std::string& name, BinaryReader read, BinaryWriter,
                            bool) override {
    if (found_ || name != name_) return;
    found_ = true;
    if (value_.kind != FormValue::Kind::kBinary)
      throw EReadError("Invalid value for property " + name + ": expected a binary block");
    if (read) {
      TMemoryStream stream(value_.bytes);
      read(stream);
    }
  }
  bool Found() const { return found_; }

 private:
  const std::string& name_;
  const FormValue& value_;
  bool found_ = false;
};

class WritingFiler : public TFiler {
 public:
  explicit WritingFiler(FormObject& object) : object_(object) {}

  void DefineBinaryProperty(const std::string& name, BinaryReader, BinaryWriter write,
                            bool has_data) override {
    if (!has_data || !write) return;
    TMemoryStream stream;
    write(stream);
    object_.properties.push_back({name, FormValue::Binary(stream.Bytes()), 0});
  }

 private:
  FormObject& object_;
};

void ReadObject(TComponent& component, const FormObject& description, TComponent& root,
                std::vector<TComponent*>& loaded) {
  ReadProperties(component, description.properties, &root);
  component.EndReading();
  for (const FormObject& child_description : description.children) {
    const TClassInfo* info = FindComponentClass(child_description.class_name);
    if (!info) Fail(child_description.line, "Class " + child_description.class_name + " not found");
    if (!info->Factory())
      Fail(child_description.line, "Class " + child_description.class_name + " cannot be created");
    // Owned by the root from here on, so an error below frees it with the root.
    TComponent* child = info->Factory()(&root);
    child->BeginLoading();
    loaded.push_back(child);
    try {
      child->SetName(child_description.name);
      child->SetParentComponent(&component);
    } catch (const std::exception& e) {
      Fail(child_description.line, e.what());
    }
    if (const TFieldInfo* field = root.ClassInfo().FindField(child_description.name)) {
      if (!field->assign(root, child))
        Fail(child_description.line, "Field " + child_description.name + " does not fit class " +
                                         child_description.class_name);
    }
    ReadObject(*child, child_description, root, loaded);
  }
}

}  // namespace

void ReadProperties(TComponent& component, const std::vector<FormProperty>& properties,
                    TComponent* root) {
  for (const FormProperty& p : properties) {
    try {
      if (const TPropertyInfo* info = component.ClassInfo().FindProperty(p.name)) {
        info->set(component, p.value, root);
        continue;
      }
      ReadingFiler filer(p.name, p.value);
      component.DefineProperties(filer);
      if (!filer.Found())
        throw EReadError("Property " + p.name + " does not exist in class " +
                         component.ClassName());
    } catch (const std::exception& e) {
      Fail(p.line, e.what());
    }
  }
}

void ReadComponent(TComponent& root, const FormObject& description) {
  const TClassInfo* info = &root.ClassInfo();
  bool fits = false;
  for (; info; info = info->Parent()) fits = fits || info->Name() == description.class_name;
  if (!fits)
    Fail(description.line,
         "Description of " + description.class_name + " does not fit class " + root.ClassName());
  std::vector<TComponent*> loaded{&root};
  detail::ReferenceFixups fixups;
  root.BeginLoading();
  try {
    root.SetName(description.name);
  } catch (const std::exception& e) {
    Fail(description.line, e.what());
  }
  ReadObject(root, description, root, loaded);
  fixups.Resolve();
  for (TComponent* c : loaded) c->Loaded();
}

void ReadComponentFromText(TComponent& root, std::string_view text) {
  FormObject description;
  try {
    description = ParseFormDescription(text);
  } catch (const FormDescriptionError& e) {
    throw EReadError(e.what());
  }
  ReadComponent(root, description);
}

FormObject WriteComponentProperties(const TComponent& component) {
  FormObject object;
  object.name = component.Name();
  object.class_name = component.ClassName();
  for (const TPropertyInfo* p : component.ClassInfo().Properties()) {
    if (auto value = p->get(component)) object.properties.push_back({p->name, *value, 0});
  }
  WritingFiler filer(object);
  const_cast<TComponent&>(component).DefineProperties(filer);
  return object;
}

namespace {
void WriteChildren(const TComponent& root, const TComponent* parent, FormObject& object) {
  for (const TComponent* c : root.ComponentList()) {
    const TComponent* p = c->ParentComponent();
    const bool nested_here = p == parent || (parent == &root && (!p || p->Owner() != &root));
    if (!nested_here || c == parent) continue;
    FormObject child = WriteComponentProperties(*c);
    WriteChildren(root, c, child);
    object.children.push_back(std::move(child));
  }
}
}  // namespace

FormObject WriteComponent(const TComponent& root) {
  FormObject object = WriteComponentProperties(root);
  WriteChildren(root, &root, object);
  return object;
}

std::string WriteComponentToText(const TComponent& root) {
  return WriteFormDescription(WriteComponent(root));
}

}  // namespace fw
