#include "framework/application.h"

#include <cctype>

#include "framework/dpi.h"
#include "framework/std_controls.h"

namespace fw {

namespace {
TApplication* g_application = nullptr;
}

TApplication* Application() { return g_application; }

const TClassInfo& TApplication::StaticClassInfo() {
  static const TClassInfo info =
      DescribeClass<TApplication, TComponent>("TApplication", [](auto&) {});
  return info;
}

TApplication::TApplication(TComponent* owner) : TComponent(owner) {
  if (g_application) throw Exception("There is an application object already");
  g_application = this;
  RegisterStandardClasses();
}

TApplication::~TApplication() {
  // Forms go while the application is whole (their destructors look it up).
  while (!forms_.empty()) delete forms_.back();
  while (ComponentCount() > 0) delete Components(ComponentCount() - 1);
  g_application = nullptr;
}

void TApplication::Initialize() {
  // Forms scale themselves to each monitor; a program's manifest may have said so already.
  MakeProcessDpiAware();
}

void TApplication::Notification(TComponent* component, TOperation operation) {
  TComponent::Notification(component, operation);
  if (operation == opRemove) {
    std::erase(forms_, component);
    if (component == main_form_) main_form_ = nullptr;
  }
}

void TApplication::Run() {
  if (main_form_ && !main_form_->Visible()) main_form_->Show();
  // Until WM_QUIT is taken from the queue: one left there would end the next modal loop.
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) ProcessMessage(msg);
  terminated_ = true;
}

bool TApplication::ProcessMessages() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      terminated_ = true;
      return false;
    }
    ProcessMessage(msg);
  }
  return true;
}

bool TApplication::ProcessMessage(MSG& msg) {
  // Tab moves the focus within a form before the key becomes a character, so edit boxes
  // and their key filters never see it.
  if (msg.message == WM_KEYDOWN && msg.wParam == VK_TAB && !(GetKeyState(VK_CONTROL) & 0x8000) &&
      !(GetKeyState(VK_MENU) & 0x8000)) {
    TWinControl* control = TWinControl::FromHandle(msg.hwnd);
    TCustomForm* form = control ? control->ParentForm() : nullptr;
    if (form) {
      form->SelectNext(control == form ? nullptr : control, !(GetKeyState(VK_SHIFT) & 0x8000));
      return true;
    }
  }
  // Shortcuts of the form's main menu (Ctrl+O, Shift+F4, ...) click their items; an MDI
  // child has its frame's menu.
  if (msg.message == WM_KEYDOWN || msg.message == WM_SYSKEYDOWN) {
    TWinControl* control = TWinControl::FromHandle(msg.hwnd);
    TCustomForm* form = control ? control->ParentForm() : nullptr;
    if (form && form->IsShortCut(msg.wParam)) return true;
    TCustomForm* frame = form && form->FormStyle() == fsMDIChild ? form->MdiFrame() : nullptr;
    if (frame && frame->IsShortCut(msg.wParam)) return true;
    // Ctrl+F6 and Ctrl+F4 (next child, close child) in an MDI child or its client.
    HWND client = nullptr;
    if (form && form->FormStyle() == fsMDIChild && form->HandleAllocated()) {
      client = GetParent(form->Handle());
    } else if (form && form->FormStyle() == fsMDIForm) {
      client = form->ClientHandle();
    } else if (auto* parent = dynamic_cast<TCustomForm*>(
                   TWinControl::FromHandle(msg.hwnd ? GetParent(msg.hwnd) : nullptr));
               parent && parent->ClientHandle() == msg.hwnd) {
      client = msg.hwnd;
    }
    if (client && TranslateMDISysAccel(client, &msg)) return true;
  }
  // Alt+character: the form may take it as an accelerator (its menu bar, say); an MDI
  // child's goes to its frame.
  if (msg.message == WM_SYSCHAR) {
    TWinControl* control = TWinControl::FromHandle(msg.hwnd);
    TCustomForm* form = control ? control->ParentForm() : nullptr;
    if (form && form->FormStyle() == fsMDIChild && form->MdiFrame()) form = form->MdiFrame();
    if (form && form->Perform(CM_DIALOGCHAR, msg.wParam, msg.lParam) != 0) return true;
  }
  TranslateMessage(&msg);
  DispatchMessageA(&msg);
  return true;
}

void TApplication::Terminate() {
  terminated_ = true;
  PostQuitMessage(0);
}

int TApplication::MessageBox(const std::string& text, const std::string& caption, UINT flags) {
  // No owner and task-modal: centred on the screen, every window of the thread disabled
  // while it is open.
  const std::string& title = caption.empty() ? title_ : caption;
  return ::MessageBoxA(nullptr, text.c_str(), title.c_str(), flags | MB_TASKMODAL);
}

std::string ExceptionMessageText(const std::string& message) {
  std::string text = message;
  // Sentences get their full stop; texts ending in punctuation (or in a multi-byte
  // character such as a full-width mark) are left as they are.
  if (!text.empty() && std::isalnum(static_cast<unsigned char>(text.back()))) text += '.';
  return text;
}

void TApplication::ShowException(const std::exception& e) {
  MessageBox(ExceptionMessageText(e.what()), title_, MB_OK | MB_ICONSTOP);
}

void TApplication::HandleException(std::exception_ptr error) {
  try {
    std::rethrow_exception(error);
  } catch (const std::exception& e) {
    if (OnException) {
      OnException(e);
    } else {
      ShowException(e);
    }
  } catch (...) {
    ShowException(Exception("Unknown exception"));
  }
}

}  // namespace fw
