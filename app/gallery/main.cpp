// The gallery's start-up: the application, the gallery form from its stored description,
// then the message loop until the form is closed.
#include <windows.h>

#include "app/gallery/gallery_form.h"
#include "framework/application.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  fw::TApplication application;
  application.Initialize();
  application.SetTitle("Control Gallery");
  try {
    application.CreateForm(&GalleryForm);
  } catch (const std::exception& e) {
    application.ShowException(e);
    return 1;
  }
  application.Run();
  return 0;
}
