#include "framework/date_time_picker.h"

#include <commctrl.h>

#include <cstdio>

#include "framework/comctrls.h"

namespace fw {

namespace {
const std::vector<std::string> kKindNames = {"dtkDate", "dtkTime"};
const std::vector<std::string> kDateModeNames = {"dmComboBox", "dmUpDown"};

bool DaysFit(int year, int month, int day) {
  static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (month < 1 || month > 12 || day < 1) return false;
  const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  return day <= kDays[month - 1] + (month == 2 && leap ? 1 : 0);
}
}  // namespace

const TClassInfo& TDateTimePicker::StaticClassInfo() {
  static const TClassInfo info =
      DescribeClass<TDateTimePicker, TWinControl>("TDateTimePicker", [](auto& c) {
        c.String("Date", &TDateTimePicker::Date, &TDateTimePicker::SetDate);
        c.Enum("DateMode", kDateModeNames, &TDateTimePicker::DateMode,
               &TDateTimePicker::SetDateMode);
        c.Enum("Kind", kKindNames, &TDateTimePicker::Kind, &TDateTimePicker::SetKind);
        c.String("Time", &TDateTimePicker::Time, &TDateTimePicker::SetTime);
        c.Event("OnChange", &TDateTimePicker::OnChange);
      });
  return info;
}

TDateTimePicker::TDateTimePicker(TComponent* owner) : TWinControl(owner) {
  width_ = 186;
  height_ = 24;
  color_ = clWindow;
  SetTabStop(true);
  GetLocalTime(&value_);
  value_.wMilliseconds = 0;
}

void TDateTimePicker::SetKind(TDateTimeKind v) {
  if (v == kind_) return;
  value_ = DateTime();
  kind_ = v;
  RecreateWnd(*this);
}

void TDateTimePicker::SetDateMode(TDTDateMode v) {
  if (v == date_mode_) return;
  value_ = DateTime();
  date_mode_ = v;
  RecreateWnd(*this);
}

SYSTEMTIME TDateTimePicker::DateTime() const {
  if (!HandleAllocated()) return value_;
  SYSTEMTIME st = value_;
  if (SendMessageA(const_cast<TDateTimePicker*>(this)->Handle(), DTM_GETSYSTEMTIME, 0,
                   reinterpret_cast<LPARAM>(&st)) != GDT_VALID)
    return value_;
  return st;
}

void TDateTimePicker::SetDateTime(const SYSTEMTIME& value) {
  value_ = value;
  if (HandleAllocated())
    SendMessageA(Handle(), DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&value_));
}

std::string TDateTimePicker::Date() const {
  const SYSTEMTIME st = DateTime();
  char text[16];
  std::snprintf(text, sizeof text, "%04u-%02u-%02u", st.wYear, st.wMonth, st.wDay);
  return text;
}

void TDateTimePicker::SetDate(const std::string& text) {
  int year = 0, month = 0, day = 0;
  char rest = 0;
  if (std::sscanf(text.c_str(), "%4d-%2d-%2d%c", &year, &month, &day, &rest) != 3 || year < 1601 ||
      year > 9999 || !DaysFit(year, month, day))
    throw EConvertError("'" + text + "' is not a valid date");
  SYSTEMTIME st = DateTime();
  st.wYear = static_cast<WORD>(year);
  st.wMonth = static_cast<WORD>(month);
  st.wDay = static_cast<WORD>(day);
  st.wDayOfWeek = 0;
  SetDateTime(st);
}

std::string TDateTimePicker::Time() const {
  const SYSTEMTIME st = DateTime();
  char text[16];
  std::snprintf(text, sizeof text, "%02u:%02u:%02u", st.wHour, st.wMinute, st.wSecond);
  return text;
}

void TDateTimePicker::SetTime(const std::string& text) {
  int hour = -1, minute = -1, second = -1;
  char rest = 0;
  if (std::sscanf(text.c_str(), "%2d:%2d:%2d%c", &hour, &minute, &second, &rest) != 3 || hour < 0 ||
      hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59)
    throw EConvertError("'" + text + "' is not a valid time");
  SYSTEMTIME st = DateTime();
  st.wHour = static_cast<WORD>(hour);
  st.wMinute = static_cast<WORD>(minute);
  st.wSecond = static_cast<WORD>(second);
  SetDateTime(st);
}

void TDateTimePicker::CreateParams(TCreateParams& params) {
  InitCommonControlClasses();
  TWinControl::CreateParams(params);
  params.superclass = DATETIMEPICK_CLASSA;
  if (kind_ == dtkTime) params.style |= DTS_TIMEFORMAT;
  if (date_mode_ == dmUpDown || kind_ == dtkTime) params.style |= DTS_UPDOWN;
}

void TDateTimePicker::CreateHandleDone() { SetDateTime(value_); }

void TDateTimePicker::WndProc(TMessage& message) {
  if (message.Msg == CN_NOTIFY &&
      reinterpret_cast<const NMHDR*>(message.LParam)->code == DTN_DATETIMECHANGE) {
    value_ = DateTime();
    if (OnChange) OnChange(this);
    message.Result = 0;
    return;
  }
  TWinControl::WndProc(message);
}

void RegisterDateTimePickerClasses() { RegisterComponentClass(TDateTimePicker::StaticClassInfo()); }

}  // namespace fw
