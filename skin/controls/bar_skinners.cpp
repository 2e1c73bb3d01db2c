#include "skin/controls/bar_skinners.h"

namespace skin {

void AddBarSkinnerMakers(SkinnerMakerTable& table) { (void)table; }

}  // namespace skin
