#pragma once
// Check boxes and radio buttons (TSkinCheckBox, TSkinRadioButton).
#include "skin/controls/skin_control.h"

namespace skin {

// Enters the makers of this family's skinner kinds in the table.
void AddCheckSkinnerMakers(SkinnerMakerTable& table);

}  // namespace skin
