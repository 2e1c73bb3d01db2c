#pragma once
// The built-in skinner families: the table of makers the classification starts from.
#include "skin/controls/skin_control.h"

namespace skin {

// Every built-in family's makers, by kind.
SkinnerMakerTable StandardSkinnerMakers();

}  // namespace skin
