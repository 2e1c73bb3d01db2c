#include "skin/controls/scroll_bar_skinners.h"

namespace skin {

void AddScrollBarSkinnerMakers(SkinnerMakerTable& table) { (void)table; }

}  // namespace skin
