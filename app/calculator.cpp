#include "app/calculator.h"

#include "app/arithmetic.h"
#include "app/number_text.h"

namespace calc {
namespace {

Outcome Message(const char* text) { return {Outcome::Kind::kMessage, text}; }
Outcome Memo(std::string text) { return {Outcome::Kind::kMemo, std::move(text)}; }
Outcome ConversionError(const EditValue& v) {
  return {Outcome::Kind::kConversionError, ConversionErrorText(v.converted)};
}

bool OutOfRange(double x) { return x < 1 || x > 170; }

// Both boxes' emptiness is tested before either is converted; then n and m are converted in
// that order and range-checked as one.
template <typename Compute>
Outcome TwoNumberClick(std::string_view edit2, std::string_view edit3, const char* prefix,
                       Compute compute) {
  const EditValue n = ReadEditValue(edit2);
  if (n.kind == EditValue::Kind::kEmpty) return Message(gbk::kNmEmpty);
  const EditValue m = ReadEditValue(edit3);
  if (m.kind == EditValue::Kind::kEmpty) return Message(gbk::kNmEmpty);
  if (n.kind == EditValue::Kind::kNotANumber) return ConversionError(n);
  if (m.kind == EditValue::Kind::kNotANumber) return ConversionError(m);
  if (OutOfRange(n.value) || OutOfRange(m.value) || m.value > n.value) {
    return Message(gbk::kNmRange);
  }
  return Memo(prefix + FloatToText(n.value) + "," + FloatToText(m.value) +
              ")= " + FloatToText(compute(n.value, m.value)));
}

}  // namespace

Outcome FactorialClick(std::string_view edit1) {
  const EditValue n = ReadEditValue(edit1);
  if (n.kind == EditValue::Kind::kEmpty) return Message(gbk::kNEmpty);
  if (n.kind == EditValue::Kind::kNotANumber) return ConversionError(n);
  if (OutOfRange(n.value)) return Message(gbk::kNRange);
  return Memo(FloatToText(n.value) + "!= " + FloatToText(Factorial(n.value)));
}

Outcome PermutationClick(std::string_view edit2, std::string_view edit3) {
  return TwoNumberClick(edit2, edit3, "P(", Permutations);
}

Outcome CombinationClick(std::string_view edit2, std::string_view edit3) {
  return TwoNumberClick(edit2, edit3, "C(", Combinations);
}

bool KeyPasses(char key) { return key == '\b' || (key >= '0' && key <= '9'); }

}  // namespace calc
