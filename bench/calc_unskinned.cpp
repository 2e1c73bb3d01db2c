// The calculator with its skin switched off before the form is first shown: the start-up
// benchmark's comparison for the skinned calculator. Otherwise the same program as calc.exe.
#include <windows.h>

#include "app/calculator.h"
#include "app/main_form.h"
#include "framework/application.h"
#include "skin/data/skin_data.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  fw::TApplication application;
  application.Initialize();
  application.SetTitle(calc::gbk::kTitle);
  try {
    application.CreateForm(&Form1);
  } catch (const std::exception& e) {
    application.ShowException(e);
    return 1;
  }
  if (auto* data = dynamic_cast<skin::TSkinData*>(Form1->FindComponent("SkinData1")))
    data->SetActive(false);  // before any activation this only switches attaching off
  application.Run();
  return 0;
}
