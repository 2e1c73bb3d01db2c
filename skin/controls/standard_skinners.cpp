#include "skin/controls/standard_skinners.h"

#include "skin/controls/button_skinners.h"
#include "skin/controls/check_skinners.h"
#include "skin/controls/edit_skinners.h"
#include "skin/controls/scroll_bar_skinners.h"
#include "skin/controls/tab_skinners.h"
#include "skin/controls/bar_skinners.h"

namespace skin {

SkinnerMakerTable StandardSkinnerMakers() {
  SkinnerMakerTable table{};
  AddButtonSkinnerMakers(table);
  AddCheckSkinnerMakers(table);
  AddEditSkinnerMakers(table);
  AddScrollBarSkinnerMakers(table);
  AddTabSkinnerMakers(table);
  AddBarSkinnerMakers(table);
  return table;
}

}  // namespace skin
