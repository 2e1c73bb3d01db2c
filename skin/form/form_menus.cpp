// The form's popup-menu components under the skinned item drawing: while the controller
// is attached, every item of those menus that has no draw handler of its own is drawn and
// measured by the skinned menu drawing; detaching gives the items their handlers back.
#include <map>

#include "framework/forms.h"
#include "framework/menus.h"
#include "skin/data/skin_data.h"
#include "skin/form/skin_form.h"
#include "skin/manager/menu_bar.h"
#include "skin/manager/menu_item_drawing.h"

namespace skin {

namespace {

struct SavedHandlers {
  fw::TMenuDrawItemEvent draw;
  fw::TMenuMeasureItemEvent measure;
};
// Per controller, the items it gave the skinned drawing, with what they had before.
std::map<const TSkinForm*, std::map<fw::TMenuItem*, SavedHandlers>>& Saved() {
  static std::map<const TSkinForm*, std::map<fw::TMenuItem*, SavedHandlers>> saved;
  return saved;
}

template <class F>
void ForEachItem(fw::TMenuItem* parent, const F& f) {
  for (int i = 0; i < parent->Count(); ++i) {
    fw::TMenuItem* item = parent->Items(i);
    f(item);
    ForEachItem(item, f);
  }
}

}  // namespace

void TSkinForm::SkinFormPopupMenus(bool on) {
  if (!Form || !SkinData) return;
  auto& saved = Saved()[this];
  for (fw::TComponent* component : Form->ComponentList()) {
    auto* menu = dynamic_cast<fw::TPopupMenu*>(component);
    if (!menu) continue;
    if (on) {
      if (!SkinData->SkinControls.Contains(xcPopupMenu)) continue;
      if (menu->Tag() % 100 == SkinData->DisableTag) continue;
      TSkinData* data = SkinData;
      ForEachItem(menu->Items(), [&](fw::TMenuItem* item) {
        if (item->OnAdvancedDrawItem || saved.count(item)) return;
        saved[item] = {item->OnAdvancedDrawItem, item->OnMeasureItem};
        // Drawn at the form's scale of the moment (it may change while the menu exists).
        item->OnAdvancedDrawItem = [this, alive = Watch(), data, item](
                                       fw::TObject*, fw::TCanvas& canvas, const RECT& rect,
                                       fw::TOwnerDrawState state) {
          const SkinDefinition& skin = alive ? Skin() : *data;
          DrawMenuItem(skin, *item, canvas, (state & ODS_SELECTED) != 0, rect);
        };
        item->OnMeasureItem = [this, alive = Watch(), data, item](fw::TObject*, fw::TCanvas& canvas,
                                                                  int& w, int& h) {
          item->DefaultMeasureItem(canvas, w, h);
          MeasurePopupMenuItem(alive ? Skin() : *data, *item, canvas, w);
        };
      });
    } else {
      // Only items still in the menus are touched: a freed item has nothing to give back.
      ForEachItem(menu->Items(), [&](fw::TMenuItem* item) {
        auto it = saved.find(item);
        if (it == saved.end()) return;
        item->OnAdvancedDrawItem = it->second.draw;
        item->OnMeasureItem = it->second.measure;
        saved.erase(it);
      });
    }
  }
  if (!on) Saved().erase(this);
}

bool TSkinForm::OpenMenuByKey(char key) {
  if (!MenuBar || !FrameSkinned()) return false;
  TMenuBtn* button = MenuBar->FindAccelButton(key);
  if (!button) return false;
  MenuBar->SwitchToButton(button);  // posts the click that opens it
  return true;
}

}  // namespace skin
