#include "skin/controls/button_skinners.h"

namespace skin {

void AddButtonSkinnerMakers(SkinnerMakerTable& table) { (void)table; }

}  // namespace skin
