#include "skin/controls/edit_skinners.h"

namespace skin {

void AddEditSkinnerMakers(SkinnerMakerTable& table) { (void)table; }

}  // namespace skin
