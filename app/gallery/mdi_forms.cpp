#include "app/gallery/mdi_forms.h"

#include <algorithm>
#include <string>

#include "framework/application.h"
#include "framework/exception.h"

const fw::TClassInfo& TMdiChildForm::StaticClassInfo() {
  static const fw::TClassInfo info =
      fw::DescribeClass<TMdiChildForm, fw::TForm>("TMdiChildForm", [](auto& c) {
        c.Field("ChildLabel", &TMdiChildForm::ChildLabel);
        c.Field("ChildEdit", &TMdiChildForm::ChildEdit);
        c.Field("ChildButton", &TMdiChildForm::ChildButton);
        c.Field("ChildCheck", &TMdiChildForm::ChildCheck);
        c.Method("ChildButtonClick", &TMdiChildForm::ChildButtonClick);
      });
  return info;
}

TMdiChildForm::TMdiChildForm(fw::TComponent* owner) : fw::TForm(owner) {}

void TMdiChildForm::ChildButtonClick(fw::TObject*) {
  ++clicks_;
  ChildLabel->SetCaption("Clicks: " + std::to_string(clicks_));
}

const fw::TClassInfo& TMdiFrameForm::StaticClassInfo() {
  static const fw::TClassInfo info =
      fw::DescribeClass<TMdiFrameForm, fw::TForm>("TMdiFrameForm", [](auto& c) {
        c.Field("MdiMenu", &TMdiFrameForm::MdiMenu);
        c.Field("WindowMenu1", &TMdiFrameForm::WindowMenu1);
        c.Method("NewChildItemClick", &TMdiFrameForm::NewChildItemClick);
        c.Method("CloseChildItemClick", &TMdiFrameForm::CloseChildItemClick);
        c.Method("CloseFrameItemClick", &TMdiFrameForm::CloseFrameItemClick);
        c.Method("TileItemClick", &TMdiFrameForm::TileItemClick);
        c.Method("TileVerticalItemClick", &TMdiFrameForm::TileVerticalItemClick);
        c.Method("CascadeItemClick", &TMdiFrameForm::CascadeItemClick);
        c.Method("ArrangeItemClick", &TMdiFrameForm::ArrangeItemClick);
        c.Method("NextItemClick", &TMdiFrameForm::NextItemClick);
        c.Method("PreviousItemClick", &TMdiFrameForm::PreviousItemClick);
        c.Method("MdiFrameFormClose", &TMdiFrameForm::MdiFrameFormClose);
      });
  return info;
}

TMdiFrameForm::TMdiFrameForm(fw::TComponent* owner) : fw::TForm(owner) {}

TMdiFrameForm::~TMdiFrameForm() {
  // The children's windows go with the frame's; their objects go here.
  while (!children_.empty()) delete children_.back();  // each leaves the list as it goes
}

namespace {

// The child's stored description with the root named `name`: every child has its own name
// among the application's components.
std::string ChildDescription(const std::string& name) {
  HMODULE module = GetModuleHandleA(nullptr);
  HRSRC resource = FindResourceA(module, "TMDICHILDFORM", MAKEINTRESOURCEA(10) /*RT_RCDATA*/);
  HGLOBAL loaded = resource ? LoadResource(module, resource) : nullptr;
  const char* data = loaded ? static_cast<const char*>(LockResource(loaded)) : nullptr;
  if (!data) throw fw::EReadError("Resource TMDICHILDFORM not found");
  std::string text(data, SizeofResource(module, resource));
  const std::string root = "object MdiChildForm:";
  if (size_t at = text.find(root); at != std::string::npos)
    text.replace(at, root.size(), "object " + name + ":");
  return text;
}

}  // namespace

TMdiChildForm* TMdiFrameForm::NewChild() {
  FreeClosedChildren();
  fw::TComponent* owner = fw::Application();
  auto* child = new TMdiChildForm(owner ? owner : this);
  const int number = ++made_;
  try {
    child->ReadDescription(ChildDescription("MdiChild" + std::to_string(number)));
  } catch (...) {
    delete child;
    throw;
  }
  children_.push_back(child);
  child->FreeNotification(this);  // the application may free it first, at its end
  child->SetCaption("Child " + std::to_string(number));
  child->Show();
  return child;
}

void TMdiFrameForm::Notification(fw::TComponent* component, fw::TOperation operation) {
  fw::TForm::Notification(component, operation);
  if (operation == fw::opRemove) std::erase(children_, component);
}

void TMdiFrameForm::FreeClosedChildren() {
  auto closed = std::stable_partition(children_.begin(), children_.end(),
                                      [](TMdiChildForm* c) { return c->HandleAllocated(); });
  // Out of the list before they go: each deletion's removal notification edits the list.
  const std::vector<TMdiChildForm*> gone(closed, children_.end());
  children_.erase(closed, children_.end());
  for (TMdiChildForm* child : gone) delete child;
}

void TMdiFrameForm::NewChildItemClick(fw::TObject*) { NewChild(); }

void TMdiFrameForm::CloseChildItemClick(fw::TObject*) {
  if (fw::TCustomForm* child = ActiveMDIChild()) child->Close();
}

void TMdiFrameForm::CloseFrameItemClick(fw::TObject*) { Close(); }

void TMdiFrameForm::TileItemClick(fw::TObject*) {
  SetTileMode(fw::tbHorizontal);
  Tile();
}

void TMdiFrameForm::TileVerticalItemClick(fw::TObject*) {
  SetTileMode(fw::tbVertical);
  Tile();
}

void TMdiFrameForm::CascadeItemClick(fw::TObject*) { Cascade(); }
void TMdiFrameForm::ArrangeItemClick(fw::TObject*) { ArrangeIcons(); }
void TMdiFrameForm::NextItemClick(fw::TObject*) { Next(); }
void TMdiFrameForm::PreviousItemClick(fw::TObject*) { Previous(); }

void TMdiFrameForm::MdiFrameFormClose(fw::TObject*, fw::TCloseAction& action) {
  // Hidden, children and all, until the gallery opens it again.
  action = fw::caHide;
}
