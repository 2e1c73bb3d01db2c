// The walk over a skinned window's child controls: which skinner each one gets.
// (First outline: the skinner list only; classification comes with the control skinners.)
#include <algorithm>

#include "skin/controls/skin_control.h"
#include "skin/form/skin_form.h"

namespace skin {

bool TSkinForm::RegisterSkinner(TSkinControl* skinner) {
  if (std::find(Skinners.begin(), Skinners.end(), skinner) != Skinners.end()) return true;
  Skinners.push_back(skinner);
  return false;
}

TSkinControl* TSkinForm::FindSkinnerByHandle(HWND hwnd) const {
  for (TSkinControl* s : Skinners)
    if (s->FHandle == hwnd) return s;
  return nullptr;
}

void TSkinForm::FreeSkinners() {
  std::vector<TSkinControl*> list;
  list.swap(Skinners);
  HotSkinner = nullptr;
  for (TSkinControl* s : list) {
    s->Detach();
    delete s;
  }
}

void TSkinForm::SkinFormControls(fw::TComponent*) {}
void TSkinForm::SkinChildWindows() {}
void TSkinForm::SkinChildWindow(HWND) {}

}  // namespace skin
