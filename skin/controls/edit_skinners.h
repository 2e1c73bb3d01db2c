#pragma once
// Edit boxes, memos and combo boxes (TSkinEdit, TSkinComBox).
#include "skin/controls/skin_control.h"

namespace skin {

// Enters the makers of this family's skinner kinds in the table.
void AddEditSkinnerMakers(SkinnerMakerTable& table);

}  // namespace skin
