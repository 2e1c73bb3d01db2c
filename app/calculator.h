// The calculator's three computations and its key filter as pure functions of the edit
// texts: the form's handlers only read the boxes and apply the outcome.
#pragma once

#include <string>
#include <string_view>

namespace calc {

// Message texts, 8-bit GBK (code page 936), shown through the ANSI message box.
namespace gbk {
// "阶乘排列组合计算" (the application title and the message boxes' caption)
inline constexpr char kTitle[] = "\xbd\xd7\xb3\xcb\xc5\xc5\xc1\xd0\xd7\xe9\xba\xcf\xbc\xc6\xcb\xe3";
// "n 的值不能为空！"
inline constexpr char kNEmpty[] = "n \xb5\xc4\xd6\xb5\xb2\xbb\xc4\xdc\xce\xaa\xbf\xd5\xa3\xa1";
// "n 和 m 的值不能为空！"
inline constexpr char kNmEmpty[] =
    "n \xba\xcd m \xb5\xc4\xd6\xb5\xb2\xbb\xc4\xdc\xce\xaa\xbf\xd5\xa3\xa1";
// "n 取值1-170！"
inline constexpr char kNRange[] =
    "n \xc8\xa1\xd6\xb5"
    "1-170\xa3\xa1";
// "n 和 m 取值1-170，并且m<=n！"
inline constexpr char kNmRange[] =
    "n \xba\xcd m \xc8\xa1\xd6\xb5"
    "1-170\xa3\xac\xb2\xa2\xc7\xd2m<=n\xa3\xa1";
// "请输入数字！"
inline constexpr char kDigitsOnly[] = "\xc7\xeb\xca\xe4\xc8\xeb\xca\xfd\xd7\xd6\xa3\xa1";
}  // namespace gbk

// What a click leads to: a new memo text, a message box, or the conversion error (shown by
// the application's standard error box). Only a kMemo outcome changes the memo.
struct Outcome {
  enum class Kind { kMemo, kMessage, kConversionError };
  Kind kind = Kind::kMessage;
  std::string text;

  bool operator==(const Outcome&) const = default;
};

Outcome FactorialClick(std::string_view edit1);                            // "n!= f"
Outcome PermutationClick(std::string_view edit2, std::string_view edit3);  // "P(n,m)= p"
Outcome CombinationClick(std::string_view edit2, std::string_view edit3);  // "C(n,m)= c"

// The edit boxes' key filter: Backspace and '0'..'9' pass; any other character is answered
// with gbk::kDigitsOnly and then discarded.
bool KeyPasses(char key);

}  // namespace calc
