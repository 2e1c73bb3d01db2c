// Conversions between the calculator's numbers and the texts of its edit and memo boxes.
#pragma once

#include <string>
#include <string_view>

namespace calc {

// General format with 15 significant digits: "120", "0.0001", "6.402373705728E15", "1E-5".
// Scientific when the rounded value has more than 15 digits before the point or more than
// three zeros after it.
std::string FloatToText(double value);

// What an edit box's text holds.
struct EditValue {
  enum class Kind { kEmpty, kNumber, kNotANumber };
  Kind kind = Kind::kEmpty;
  double value = 0.0;     // for kNumber
  std::string converted;  // the text given to the conversion (trailing blanks removed)
};

// Empty when nothing but codes 0..32 is left after trimming both ends. Otherwise the text
// without its trailing codes 0..32 is converted: leading spaces, an optional sign, digits
// with an optional '.' and an optional exponent. A magnitude beyond the double range reads
// as infinity and one below it as zero, so that the range checks answer them.
EditValue ReadEditValue(std::string_view text);

// "'<text>' is not a valid floating point value".
std::string ConversionErrorText(std::string_view text);

}  // namespace calc
