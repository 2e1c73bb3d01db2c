#pragma once
// Case-insensitive comparison of names (ASCII letters only), as identifiers, property names,
// colour names and string-list lines are matched throughout the framework.
#include <cctype>
#include <string_view>

namespace fw {

inline bool SameText(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(a[i])) !=
        std::tolower(static_cast<unsigned char>(b[i])))
      return false;
  }
  return true;
}

}  // namespace fw
