#include "skin/controls/check_skinners.h"

namespace skin {

void AddCheckSkinnerMakers(SkinnerMakerTable& table) { (void)table; }

}  // namespace skin
