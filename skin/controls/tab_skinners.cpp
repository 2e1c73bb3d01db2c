#include "skin/controls/tab_skinners.h"

namespace skin {

void AddTabSkinnerMakers(SkinnerMakerTable& table) { (void)table; }

}  // namespace skin
