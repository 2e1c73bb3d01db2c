// The gallery's start-up: the application, the gallery form from its stored description,
// then the message loop until the form is closed. A page caption on the command line
// ("gallery.exe Edits") opens the gallery on that page.
#include <windows.h>

#include "app/gallery/gallery_form.h"
#include "framework/application.h"
#include "framework/same_text.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR command_line, int) {
  fw::TApplication application;
  application.Initialize();
  application.SetTitle("Control Gallery");
  try {
    application.CreateForm(&GalleryForm);
  } catch (const std::exception& e) {
    application.ShowException(e);
    return 1;
  }
  const std::string page = command_line ? command_line : "";
  for (int i = 0; i < GalleryForm->PageControl1->PageCount(); ++i) {
    if (fw::SameText(GalleryForm->PageControl1->Pages(i)->Caption(), page)) {
      GalleryForm->PageControl1->SetActivePageIndex(i);
      GalleryForm->PageControl1Change(GalleryForm->PageControl1);
    }
  }
  application.Run();
  return 0;
}
