// The calculator's start-up: the application, its title, the main form from its stored
// description, then the message loop until the form is closed.
#include <windows.h>

#include "app/calculator.h"
#include "app/main_form.h"
#include "framework/application.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  fw::TApplication application;
  application.Initialize();
  application.SetTitle(calc::gbk::kTitle);
  try {
    application.CreateForm(&Form1);
  } catch (const std::exception& e) {
    // A description that cannot be read leaves no form to run.
    application.ShowException(e);
    return 1;
  }
  application.Run();
  return 0;
}
