#include "framework/rich_edit.h"

#include <richedit.h>

namespace fw {

const TClassInfo& TCustomRichEdit::StaticClassInfo() {
  static const TClassInfo info =
      DescribeClass<TCustomRichEdit, TCustomMemo>("TCustomRichEdit", [](auto& c) {
        c.Bool("PlainText", &TCustomRichEdit::PlainText, &TCustomRichEdit::SetPlainText);
      });
  return info;
}

const TClassInfo& TRichEdit::StaticClassInfo() {
  static const TClassInfo info =
      DescribeClass<TRichEdit, TCustomRichEdit>("TRichEdit", [](auto&) {});
  return info;
}

TCustomRichEdit::TCustomRichEdit(TComponent* owner) : TCustomMemo(owner) {}

const char* TCustomRichEdit::WindowClassName() {
  // The library stays loaded for the process's life: its windows may outlive any one control.
  static const char* const name = []() -> const char* {
    if (LoadLibraryA("riched20.dll")) return "RichEdit20A";
    if (LoadLibraryA("riched32.dll")) return "RICHEDIT";
    return "";
  }();
  return name;
}

void TCustomRichEdit::CreateParams(TCreateParams& params) {
  TCustomMemo::CreateParams(params);
  params.superclass = WindowClassName();
  if (params.superclass.empty()) throw EOSError("No rich edit library could be loaded");
}

void TCustomRichEdit::CreateHandleDone() {
  TCustomMemo::CreateHandleDone();
  // A rich edit tells its parent of changes only when asked to.
  SendMessageA(Handle(), EM_SETEVENTMASK, 0, ENM_CHANGE);
  if (plain_text_) SendMessageA(Handle(), EM_SETTEXTMODE, TM_PLAINTEXT, 0);
}

void RegisterRichEditClasses() { RegisterComponentClass(TRichEdit::StaticClassInfo()); }

}  // namespace fw
