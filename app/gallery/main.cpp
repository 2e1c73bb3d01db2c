// The gallery's start-up: the application, the gallery form from its stored description,
// then the message loop until the form is closed. On the command line, a page caption
// ("gallery.exe Edits") opens the gallery on that page, "rtl" mirrors it, "dark" starts it
// with the dark skin and "noskin" unskinned, "message" opens the message box of the
// Message button, and "mdi" opens the MDI window with three children ("mdi max": the last
// one maximised).
#include <windows.h>

#include "app/gallery/gallery_form.h"
#include "app/gallery/mdi_forms.h"
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
  std::string words = command_line ? command_line : "";
  bool mdi = false, maximize = false, message = false;
  for (size_t start = 0; start < words.size();) {
    size_t end = words.find(' ', start);
    if (end == std::string::npos) end = words.size();
    const std::string word = words.substr(start, end - start);
    start = end + 1;
    if (fw::SameText(word, "rtl")) GalleryForm->SetRightToLeft(true);
    if (fw::SameText(word, "dark")) GalleryForm->UseBuiltInSkin(kDarkSkinResource, "dark");
    if (fw::SameText(word, "noskin")) GalleryForm->UseNoSkin();
    mdi = mdi || fw::SameText(word, "mdi");
    maximize = maximize || fw::SameText(word, "max");
    message = message || fw::SameText(word, "message");
    for (int i = 0; i < GalleryForm->PageControl1->PageCount(); ++i) {
      if (fw::SameText(GalleryForm->PageControl1->Pages(i)->Caption(), word)) {
        GalleryForm->PageControl1->SetActivePageIndex(i);
        GalleryForm->PageControl1Change(GalleryForm->PageControl1);
      }
    }
  }
  if (mdi) {
    // The MDI window with three children, in front once the gallery is up.
    GalleryForm->Show();
    TMdiFrameForm* frame = GalleryForm->ShowMdiWindow();
    for (int i = 0; i < 3; ++i) frame->NewChild();
    if (maximize) ShowWindow(frame->ActiveMDIChild()->Handle(), SW_MAXIMIZE);
  }
  // Clicked once the loop runs, so that the gallery is on the screen under its box.
  if (message) PostMessageA(GalleryForm->MessageButton->Handle(), BM_CLICK, 0, 0);
  application.Run();
  return 0;
}
