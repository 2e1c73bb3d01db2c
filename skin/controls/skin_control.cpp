#include "skin/controls/skin_control.h"

namespace skin {

const fw::TClassInfo& TSkinControl::StaticClassInfo() {
  static const fw::TClassInfo info =
      fw::DescribeClass<TSkinControl, fw::TComponent>("TSkinControl", [](auto&) {});
  return info;
}

TSkinControl::TSkinControl(fw::TComponent* owner) : fw::TComponent(owner) {}

}  // namespace skin
