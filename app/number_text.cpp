#include "app/number_text.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace calc {
namespace {

bool IsTrimmed(char c) { return static_cast<unsigned char>(c) <= 32; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Parses the whole of `text` in the grammar above; false when any of it does not fit.
bool ParseNumber(std::string_view text, double& value) {
  size_t i = 0;
  while (i < text.size() && text[i] == ' ') ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  const size_t int_begin = i;
  while (i < text.size() && IsDigit(text[i])) ++i;
  const std::string_view int_digits = text.substr(int_begin, i - int_begin);
  std::string_view frac_digits;
  if (i < text.size() && text[i] == '.') {
    const size_t frac_begin = ++i;
    while (i < text.size() && IsDigit(text[i])) ++i;
    frac_digits = text.substr(frac_begin, i - frac_begin);
  }
  if (int_digits.empty() && frac_digits.empty()) return false;
  long long exponent = 0;
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    ++i;
    bool exp_negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) exp_negative = text[i++] == '-';
    if (i >= text.size() || !IsDigit(text[i])) return false;
    for (; i < text.size() && IsDigit(text[i]); ++i) {
      // Saturate: anything this large is far outside the double range either way.
      if (exponent < 100000) exponent = exponent * 10 + (text[i] - '0');
    }
    if (exp_negative) exponent = -exponent;
  }
  if (i != text.size()) return false;

  // Decimal position of the first significant digit, to tell overflow from underflow.
  long long first_digit_pos = 0;  // value ~ 10^first_digit_pos
  bool any_nonzero = false;
  for (size_t d = 0; d < int_digits.size() && !any_nonzero; ++d) {
    if (int_digits[d] != '0') {
      any_nonzero = true;
      first_digit_pos = static_cast<long long>(int_digits.size() - d) - 1;
    }
  }
  for (size_t d = 0; d < frac_digits.size() && !any_nonzero; ++d) {
    if (frac_digits[d] != '0') {
      any_nonzero = true;
      first_digit_pos = -static_cast<long long>(d) - 1;
    }
  }
  if (!any_nonzero) {
    value = negative ? -0.0 : 0.0;
    return true;
  }
  first_digit_pos += exponent;
  if (first_digit_pos > 400) {
    value = negative ? -HUGE_VAL : HUGE_VAL;
    return true;
  }
  if (first_digit_pos < -400) {
    value = negative ? -0.0 : 0.0;
    return true;
  }

  // The digits and exponent in the form std::from_chars reads (locale independent, correctly
  // rounded). The exponent is small now; digits may be many.
  std::string canonical;
  canonical.reserve(int_digits.size() + frac_digits.size() + 16);
  canonical.append(int_digits.empty() ? std::string_view("0") : int_digits);
  if (!frac_digits.empty()) {
    canonical.push_back('.');
    canonical.append(frac_digits);
  }
  canonical.push_back('e');
  canonical.append(std::to_string(exponent));
  double magnitude = 0.0;
  const auto result =
      std::from_chars(canonical.data(), canonical.data() + canonical.size(), magnitude);
  if (result.ec == std::errc::result_out_of_range) {
    magnitude = first_digit_pos > 0 ? HUGE_VAL : 0.0;
  } else if (result.ec != std::errc() || result.ptr != canonical.data() + canonical.size()) {
    return false;
  }
  value = negative ? -magnitude : magnitude;
  return true;
}

}  // namespace

std::string FloatToText(double value) {
  if (std::isnan(value)) return "NAN";
  if (std::isinf(value)) return value < 0 ? "-INF" : "INF";
  if (value == 0.0) return "0";

  // Correctly rounded to 15 significant digits: "[-]d.dddddddddddddde[+-]x".
  char buf[64];
  const auto result =
      std::to_chars(buf, buf + sizeof buf, value, std::chars_format::scientific, 14);
  const std::string_view sci(buf, static_cast<size_t>(result.ptr - buf));
  const bool negative = sci.front() == '-';
  const size_t e_pos = sci.find('e');
  std::string digits;
  for (char c : sci.substr(0, e_pos)) {
    if (IsDigit(c)) digits.push_back(c);
  }
  int exponent = 0;
  std::from_chars(sci.data() + e_pos + (sci[e_pos + 1] == '+' ? 2 : 1), sci.data() + sci.size(),
                  exponent);
  while (digits.size() > 1 && digits.back() == '0') digits.pop_back();

  const int k = exponent + 1;  // digits before the point in plain notation
  std::string text = negative ? "-" : "";
  if (k > 15 || k < -3) {
    text.push_back(digits[0]);
    if (digits.size() > 1) {
      text.push_back('.');
      text.append(digits, 1);
    }
    text.push_back('E');
    text.append(std::to_string(exponent));
  } else if (k <= 0) {
    text.append("0.");
    text.append(static_cast<size_t>(-k), '0');
    text.append(digits);
  } else {
    const size_t whole = static_cast<size_t>(k);
    if (digits.size() <= whole) {
      text.append(digits);
      text.append(whole - digits.size(), '0');
    } else {
      text.append(digits, 0, whole);
      text.push_back('.');
      text.append(digits, whole);
    }
  }
  return text;
}

EditValue ReadEditValue(std::string_view text) {
  size_t end = text.size();
  while (end > 0 && IsTrimmed(text[end - 1])) --end;
  size_t begin = 0;
  while (begin < end && IsTrimmed(text[begin])) ++begin;
  EditValue result;
  if (begin == end) return result;
  result.converted.assign(text.substr(0, end));
  result.kind = ParseNumber(result.converted, result.value) ? EditValue::Kind::kNumber
                                                            : EditValue::Kind::kNotANumber;
  return result;
}

std::string ConversionErrorText(std::string_view text) {
  std::string message = "'";
  message.append(text);
  message.append("' is not a valid floating point value");
  return message;
}

}  // namespace calc
