#pragma once
// Push buttons, bitmap buttons and speed buttons (TSkinButton, TSkinBitButton, TSkinSpeedButton).
#include "skin/controls/skin_control.h"

namespace skin {

// Enters the makers of this family's skinner kinds in the table.
void AddButtonSkinnerMakers(SkinnerMakerTable& table);

}  // namespace skin
