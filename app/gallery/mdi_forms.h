// The gallery's MDI window: a frame (TMdiFrameForm) whose menu makes children
// (TMdiChildForm), closes them, tiles, cascades and arranges them and moves between them;
// its Window menu lists them. Both forms come from stored descriptions (FormStyle
// fsMDIForm and fsMDIChild); the gallery's skin data skins the frame and every child.
#pragma once

#include <vector>

#include "framework/forms.h"
#include "framework/menus.h"
#include "framework/std_controls.h"

class TMdiChildForm : public fw::TForm {
  FW_CLASS_INFO()
 public:
  explicit TMdiChildForm(fw::TComponent* owner);

  fw::TLabel* ChildLabel = nullptr;
  fw::TEdit* ChildEdit = nullptr;
  fw::TButton* ChildButton = nullptr;
  fw::TCheckBox* ChildCheck = nullptr;
  int Clicks() const { return clicks_; }

  void ChildButtonClick(fw::TObject* sender);

 private:
  int clicks_ = 0;
};

class TMdiFrameForm : public fw::TForm {
  FW_CLASS_INFO()
 public:
  explicit TMdiFrameForm(fw::TComponent* owner);
  ~TMdiFrameForm() override;
  void Notification(fw::TComponent* component, fw::TOperation operation) override;

  // A new child, numbered from 1, owned by the application (so the skin manager finds it
  // among the application's forms) and freed by this frame.
  TMdiChildForm* NewChild();
  // Frees the children whose windows were closed.
  void FreeClosedChildren();
  int Made() const { return made_; }

  fw::TMainMenu* MdiMenu = nullptr;
  fw::TMenuItem* WindowMenu1 = nullptr;

  void NewChildItemClick(fw::TObject* sender);
  void CloseChildItemClick(fw::TObject* sender);
  void CloseFrameItemClick(fw::TObject* sender);
  void TileItemClick(fw::TObject* sender);
  void TileVerticalItemClick(fw::TObject* sender);
  void CascadeItemClick(fw::TObject* sender);
  void ArrangeItemClick(fw::TObject* sender);
  void NextItemClick(fw::TObject* sender);
  void PreviousItemClick(fw::TObject* sender);
  void MdiFrameFormClose(fw::TObject* sender, fw::TCloseAction& action);

 private:
  std::vector<TMdiChildForm*> children_;
  int made_ = 0;
};
