// Caption buttons and the skinned system menu. (First outline: no buttons are made yet;
// the title bar shows none and the non-client mouse goes to the old procedure.)
#include "skin/form/caption_buttons.h"

#include "skin/form/skin_form.h"

namespace skin {

void TSkinForm::BuildCaptionButtons() {}
bool TSkinForm::EvaluateButtonVisibility(int) { return false; }
void TSkinForm::LayoutCaptionButtons() {}
void TSkinForm::DrawCaptionButtons(HDC) {}
void TSkinForm::DrawCaptionButton(TWinSysButton*, int) {}
TWinSysButton* TSkinForm::CaptionButtonAt(POINT) const { return nullptr; }
POINT TSkinForm::ScreenToFramePoint(POINT p) const {
  RECT r{};
  GetWindowRect(Handle, &r);
  return {p.x - r.left, p.y - r.top};
}
void TSkinForm::RunCaptionAction(int, int) {}
void TSkinForm::ToggleMaximize() {}
void TSkinForm::ToggleMinimize() {}
void TSkinForm::RestoreWindow() {}
void TSkinForm::MdiChildCommand(UINT) {}
bool TSkinForm::ActiveMdiChildMaximized() const { return false; }
void TSkinForm::BuildSystemPopup() {}
void TSkinForm::ShowSystemMenu(POINT) {}
void TSkinForm::HoverPoll() {}
bool TSkinForm::HandleNcMouse(fw::TMessage&) { return false; }
LRESULT TSkinForm::CaptionButtonHitCode(POINT) const { return 0; }

}  // namespace skin
