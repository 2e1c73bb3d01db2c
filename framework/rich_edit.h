#pragma once
// TRichEdit: a memo on the rich edit control. The control's library is loaded on first use:
// "riched20.dll" (window class "RichEdit20A"), else "riched32.dll" ("RICHEDIT"); without
// either, making the window fails with EOSError.
#include "framework/std_controls.h"

namespace fw {

class TCustomRichEdit : public TCustomMemo {
  FW_CLASS_INFO()
 public:
  explicit TCustomRichEdit(TComponent* owner);
  // Text without formatting (the window still takes rich text from the clipboard).
  bool PlainText() const { return plain_text_; }
  void SetPlainText(bool v) { plain_text_ = v; }
  // The window class in use ("RichEdit20A" or "RICHEDIT"), empty when neither library loads.
  static const char* WindowClassName();

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateHandleDone() override;

 private:
  bool plain_text_ = false;
};

class TRichEdit : public TCustomRichEdit {
  FW_CLASS_INFO()
 public:
  explicit TRichEdit(TComponent* owner) : TCustomRichEdit(owner) {}
};

void RegisterRichEditClasses();

}  // namespace fw
