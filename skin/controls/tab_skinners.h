#pragma once
// Tabs, old-style tab sets, list headers and status bars (TSkinTab, TSkinTab31,
// TSkinHeader, TSkinListView, TSkinStatusBar).
#include "skin/controls/skin_control.h"

namespace skin {

// Enters the makers of this family's skinner kinds in the table.
void AddTabSkinnerMakers(SkinnerMakerTable& table);

}  // namespace skin
