// Form descriptions are parsed from untrusted text: any input must give a tree or a
// FormDescriptionError, and a tree must survive writing and parsing again unchanged.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "framework/form_description.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  fw::FormObject tree;
  try {
    tree = fw::ParseFormDescription(text);
  } catch (const fw::FormDescriptionError&) {
    return 0;
  }
  const std::string written = fw::WriteFormDescription(tree);
  if (!(fw::ParseFormDescription(written) == tree)) std::abort();
  return 0;
}
