#pragma once
// TDateTimePicker on the common control "SysDateTimePick32": a date or a time in an edit,
// chosen from a drop-down calendar (dmComboBox) or stepped with arrows (dmUpDown).
// Date and Time are texts "YYYY-MM-DD" and "HH:MM:SS" in descriptions.
#include <windows.h>

#include <string>

#include "framework/controls.h"

namespace fw {

enum TDateTimeKind { dtkDate, dtkTime };
// dmUpDown is 1: the mode value skinners test.
enum TDTDateMode { dmComboBox, dmUpDown };

class TDateTimePicker : public TWinControl {
  FW_CLASS_INFO()
 public:
  explicit TDateTimePicker(TComponent* owner);
  TDateTimeKind Kind() const { return kind_; }
  void SetKind(TDateTimeKind v);
  TDTDateMode DateMode() const { return date_mode_; }
  void SetDateMode(TDTDateMode v);
  // The date and time shown (one SYSTEMTIME; Date and Time are its two halves).
  SYSTEMTIME DateTime() const;
  void SetDateTime(const SYSTEMTIME& value);
  std::string Date() const;
  void SetDate(const std::string& text);  // "YYYY-MM-DD"; EConvertError otherwise
  std::string Time() const;
  void SetTime(const std::string& text);  // "HH:MM:SS"; EConvertError otherwise
  // The window shows the value; the caption is kept apart from it.
  std::string GetText() const override { return text_; }
  void SetText(const std::string& text) override { text_ = text; }

  TNotifyEvent OnChange;

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateHandleDone() override;
  void WndProc(TMessage& message) override;

 private:
  TDateTimeKind kind_ = dtkDate;
  TDTDateMode date_mode_ = dmComboBox;
  SYSTEMTIME value_{};
};

void RegisterDateTimePickerClasses();

}  // namespace fw
