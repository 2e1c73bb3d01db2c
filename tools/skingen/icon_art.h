#pragma once
// The programs' icons, drawn for every size Windows asks for. Each size is drawn at that
// size from the same proportions, snapped to whole pixels, so the small ones stay crisp.
#include <string>
#include <vector>

#include "skin/store/pixel_bitmap.h"

namespace skingen {

// The sizes of an icon file, smallest first: the small icon, its 125 % and 150 % steps,
// the large icon and its steps, and the 256-pixel one of large views.
inline constexpr int kIconSizes[] = {16, 20, 24, 32, 40, 48, 64, 256};

// The icon names `skingen --icon` takes, in the order `skingen --list` shows them.
const std::vector<std::string>& IconNames();
// The named icon at one size (32-bit, straight alpha); empty for an unknown name.
skin::PixelBitmap DrawIcon(const std::string& name, int size);

}  // namespace skingen
