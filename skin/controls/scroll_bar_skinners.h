#pragma once
// A control's own scroll bars, stand-alone scroll bars and scrolling containers
// (TSkinScrollBar, TSkinSizer, TSkinScControl).
#include "skin/controls/skin_control.h"

namespace skin {

// Enters the makers of this family's skinner kinds in the table.
void AddScrollBarSkinnerMakers(SkinnerMakerTable& table);

}  // namespace skin
