#pragma once
// Progress bars, track bars, up-down controls and boxes (TSkinProgress,
// TSkinTrackBar, TSkinUpDown, TSkinBox).
#include "skin/controls/skin_control.h"

namespace skin {

// Enters the makers of this family's skinner kinds in the table.
void AddBarSkinnerMakers(SkinnerMakerTable& table);

}  // namespace skin
