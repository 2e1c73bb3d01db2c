#pragma once
// Every bitmap of a skin, drawn from a theme. The file names here are the ones the skin
// definitions (skins/<name>/*.ini) refer to; frame sizes and counts match the margins and
// frame keys written there.
#include <string>
#include <vector>

#include "tools/skingen/canvas.h"
#include "tools/skingen/theme.h"

namespace skingen {

struct SkinImage {
  std::string file;  // entry name, lower case, ending in ".bmp"
  Canvas art;
};

// Fixed parts of the frame strips that the definitions give as margins.
constexpr int kStripLength = 40;  // width of the top and bottom strips
constexpr int kStripEnd = 12;     // their fixed left and right ends
constexpr int kSideMiddle = 8;    // stretchable rows of the side strips

std::vector<SkinImage> RenderSkin(const Theme& theme);

}  // namespace skingen
