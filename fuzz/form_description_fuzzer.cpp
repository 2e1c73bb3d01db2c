// Form descriptions are parsed from untrusted text: any input must give a tree or a
// FormDescriptionError, and a tree must survive writing and parsing again unchanged.
// Trees are also read into components, which must fail only with EReadError.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "framework/component.h"
#include "framework/form_description.h"
#include "framework/form_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const bool registered =
      (fw::RegisterComponentClass(fw::TComponent::StaticClassInfo()), true);
  (void)registered;
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  fw::FormObject tree;
  try {
    tree = fw::ParseFormDescription(text);
  } catch (const fw::FormDescriptionError&) {
    return 0;
  }
  const std::string written = fw::WriteFormDescription(tree);
  if (!(fw::ParseFormDescription(written) == tree)) std::abort();
  tree.class_name = "TComponent";
  fw::TComponent root(nullptr);
  try {
    fw::ReadComponent(root, tree);
  } catch (const fw::EReadError&) {
  }
  return 0;
}
