#pragma once
// The application object: its title, its forms, the message loop, its message box and its
// standard error box. One exists at a time (Application() reaches it); the program makes it
// in main and it frees its forms when it goes.
//
//   fw::TApplication app;
//   app.Initialize();
//   app.SetTitle(title);
//   app.CreateForm(&Form1);   // TForm1 from the RCDATA resource "TFORM1"
//   app.Run();
#include <exception>
#include <functional>
#include <string>
#include <vector>

#include "framework/forms.h"

namespace fw {

class TApplication : public TComponent {
  FW_CLASS_INFO()
 public:
  explicit TApplication(TComponent* owner = nullptr);
  ~TApplication() override;

  void Initialize();
  const std::string& Title() const { return title_; }
  void SetTitle(const std::string& title) { title_ = title; }

  // Creates a form of class T owned by the application and reads its description resource;
  // the first form created is the main form. *ref is set before the description is read.
  // A failure frees the form, clears *ref and throws.
  template <class T>
  T* CreateForm(T** ref = nullptr) {
    T* form = new T(this);
    if (ref) *ref = form;
    try {
      form->ReadDescriptionResource();
    } catch (...) {
      if (ref) *ref = nullptr;
      delete form;
      throw;
    }
    if (!main_form_) main_form_ = form;
    return form;
  }

  TCustomForm* MainForm() const { return main_form_; }
  void SetMainForm(TCustomForm* form) { main_form_ = form; }
  const std::vector<TCustomForm*>& Forms() const { return forms_; }

  // Shows the main form and dispatches messages until Terminate (closing the main form).
  void Run();
  // Handles the messages waiting now; returns false once WM_QUIT was seen.
  bool ProcessMessages();
  void Terminate();
  bool Terminated() const { return terminated_; }

  // A modal message box centred on the screen: the title (or caption) over the text,
  // with an OK button unless flags say otherwise; MessageBoxA with the thread's windows
  // disabled. Returns the button pressed.
  int MessageBox(const std::string& text, const std::string& caption = {}, UINT flags = MB_OK);
  // The standard error box: the exception's message under the title, with the stop icon;
  // a full stop is added when the message ends in an ASCII letter or digit.
  void ShowException(const std::exception& e);
  // What the window procedures do with an exception that escaped a handler.
  void HandleException(std::exception_ptr error);
  std::function<void(const std::exception&)> OnException;

  void Notification(TComponent* component, TOperation operation) override;

 private:
  friend class TCustomForm;
  bool ProcessMessage(MSG& msg);
  std::string title_;
  TCustomForm* main_form_ = nullptr;
  std::vector<TCustomForm*> forms_;
  bool terminated_ = false;
};

// The application object, or nullptr when there is none.
TApplication* Application();

// The message text ShowException shows for an exception message.
std::string ExceptionMessageText(const std::string& message);

}  // namespace fw
