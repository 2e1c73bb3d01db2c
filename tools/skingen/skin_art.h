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

// The scales every skin is drawn at: the 96-DPI art and the art drawn for 192 DPI.
inline constexpr int kSkinScales[] = {1, 2};

// Fixed parts of the frame strips that the definitions give as margins.
constexpr int kStripLength = 40;  // width of the top and bottom strips
constexpr int kStripEnd = 12;     // their fixed left and right ends
constexpr int kSideMiddle = 8;    // stretchable rows of the side strips

// Every image drawn at `scale`. Above 1 the entry names carry the resolution the art is
// drawn for, "name@<96 * scale>.bmp", as the engine looks for drawn art beside "name.bmp";
// each frame is then exactly `scale` times the 96-DPI frame.
std::vector<SkinImage> RenderSkin(const Theme& theme, Scale scale = {});

}  // namespace skingen
