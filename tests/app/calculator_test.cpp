#include "app/arithmetic.h"
#include "app/calculator.h"
#include "app/number_text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <tuple>
#include <vector>

#ifndef _WIN32
#include <iconv.h>
#endif

namespace calc {

void PrintTo(const Outcome& outcome, std::ostream* os) {
  static const char* const kinds[] = {"memo", "message", "conversion error"};
  *os << kinds[static_cast<int>(outcome.kind)] << " \"" << outcome.text << '"';
}

namespace {

Outcome MemoText(const char* text) { return {Outcome::Kind::kMemo, text}; }
Outcome MessageText(const char* text) { return {Outcome::Kind::kMessage, text}; }
Outcome ConversionText(const std::string& text) {
  return {Outcome::Kind::kConversionError, ConversionErrorText(text)};
}

TEST(Factorial, StepsUpToTheIntegerPart) {
  EXPECT_EQ(Factorial(0), 1.0);
  EXPECT_EQ(Factorial(-3), 1.0);
  EXPECT_EQ(Factorial(0.999), 1.0);
  EXPECT_EQ(Factorial(1), 1.0);
  EXPECT_EQ(Factorial(5), 120.0);
  EXPECT_EQ(Factorial(5.5), 120.0);
  EXPECT_EQ(Factorial(17), 355687428096000.0);
  // 170! is the last factorial a double holds; 171! overflows.
  EXPECT_TRUE(std::isfinite(Factorial(170)));
  EXPECT_NEAR(Factorial(170) / 7.257415615307994e306, 1.0, 1e-15);
  EXPECT_TRUE(std::isinf(Factorial(171)));
}

TEST(Factorial, EachStepIsRoundedToADouble) {
  // The product is rounded after every step, not kept at a wider precision.
  double expected = 1.0;
  for (int i = 1; i <= 40; ++i) {
    volatile double product = expected * i;  // forces the rounding to a double
    expected = product;
  }
  EXPECT_EQ(Factorial(40), expected);
}

TEST(Arithmetic, QuotientsUseExtendedPrecision) {
  // Runtime check that long double arithmetic is really carried at 64 bits here (an x87
  // control word set to 53-bit precision would lose the last bit).
  volatile long double one = 1.0L;
  volatile long double tiny = std::ldexp(1.0L, -63);
  EXPECT_NE(one + tiny, one);

  EXPECT_EQ(Permutations(5, 2), 20.0);
  EXPECT_EQ(Permutations(170, 170), Factorial(170));
  EXPECT_EQ(Combinations(5, 2), 10.0);
  EXPECT_EQ(Combinations(170, 170), 1.0);
  const long double q = static_cast<long double>(Factorial(100)) / Factorial(50);
  EXPECT_EQ(Combinations(100, 50), static_cast<double>(q / Factorial(50)));
  // C(30, 15) is not a whole double, yet prints as one.
  EXPECT_NE(Combinations(30, 15), 155117520.0);
  EXPECT_NEAR(Combinations(30, 15), 155117520.0, 1e-6);
}

TEST(FloatToText, GeneralFormatWith15Digits) {
  const std::vector<std::pair<double, const char*>> cases = {
      {0.0, "0"},
      {-0.0, "0"},
      {1.0, "1"},
      {120.0, "120"},
      {-2.5, "-2.5"},
      {0.5, "0.5"},
      {0.0001, "0.0001"},
      {0.00012345, "0.00012345"},
      {0.00001, "1E-5"},
      {0.000012345, "1.2345E-5"},
      {355687428096000.0, "355687428096000"},
      {999999999999999.0, "999999999999999"},
      {1e15, "1E15"},
      {6402373705728000.0, "6.402373705728E15"},
      {1234567890123456789.0, "1.23456789012346E18"},
      {0.1 + 0.2, "0.3"},
      {1.0 / 3.0, "0.333333333333333"},
      {2.0 / 3.0, "0.666666666666667"},
      {9.999999999999999, "10"},
      {99999.99999999999, "100000"},
      {7.257415615307994e306, "7.25741561530799E306"},
      {1e306, "1E306"},
      {1.5e-300, "1.5E-300"},
      {HUGE_VAL, "INF"},
  };
  for (const auto& [value, text] : cases) EXPECT_EQ(FloatToText(value), text) << value;
}

#ifndef _WIN32
// The general format's rule (scientific when the exponent is below -4 or at least 15) is
// printf's %.15G; glibc rounds it correctly, so it serves as an independent reference once
// its exponent is written the way the memo writes it ("E+18" -> "E18", "E-05" -> "E-5").
std::string ReferenceText(double value) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.15G", value);
  std::string text(buf);
  const size_t e = text.find('E');
  if (e == std::string::npos) return text;
  const int exponent = std::atoi(text.c_str() + e + 1);
  return text.substr(0, e + 1) + std::to_string(exponent);
}

TEST(FloatToText, AgreesWithCorrectlyRoundedReference) {
  uint64_t state = 0x9E3779B97F4A7C15u;
  auto next = [&state] {
    state ^= state << 13;
    state ^= state >> 7;
    state ^= state << 17;
    return state;
  };
  for (int i = 0; i < 200000; ++i) {
    double value;
    if (i % 2 == 0) {
      const uint64_t bits = next();
      std::memcpy(&value, &bits, sizeof value);
      if (!std::isfinite(value) || value == 0) continue;
    } else {
      // Values near the format's boundaries: 15-digit numbers and powers of ten.
      const int exponent = static_cast<int>(next() % 40) - 20;
      value = std::pow(10.0, exponent) * (1.0 - static_cast<double>(next() % 1000) * 1e-16);
    }
    ASSERT_EQ(FloatToText(value), ReferenceText(value)) << std::hexfloat << value;
  }
}
#endif

TEST(ReadEditValue, EmptinessAndTrimming) {
  for (const char* blank : {"", " ", "   ", "\t", "\r\n", "\x01\x1f "}) {
    EXPECT_EQ(ReadEditValue(blank).kind, EditValue::Kind::kEmpty) << '"' << blank << '"';
  }
  EXPECT_EQ(ReadEditValue(std::string_view("\0\0", 2)).kind, EditValue::Kind::kEmpty);
  const EditValue padded = ReadEditValue("  42 \t\r\n");
  EXPECT_EQ(padded.kind, EditValue::Kind::kNumber);
  EXPECT_EQ(padded.value, 42.0);
  EXPECT_EQ(padded.converted, "  42");
  // Only blanks are skipped in front; other control codes make the text no number.
  const EditValue tabbed = ReadEditValue("\t5");
  EXPECT_EQ(tabbed.kind, EditValue::Kind::kNotANumber);
  EXPECT_EQ(tabbed.converted, "\t5");
}

TEST(ReadEditValue, NumberSyntax) {
  const std::vector<std::pair<const char*, double>> numbers = {
      {"007", 7},
      {"+5", 5},
      {"-5", -5},
      {"5.", 5},
      {".5", 0.5},
      {"1e2", 100},
      {"1E+2", 100},
      {"25e-1", 2.5},
      {"0.1", 0.1},
      {"-0", 0},
      {"1e400", HUGE_VAL},
      {"1e-400", 0},
      {"1e99999999999999999999", HUGE_VAL},
      {"99999999999999999999", 1e20},
  };
  for (const auto& [text, value] : numbers) {
    const EditValue v = ReadEditValue(text);
    ASSERT_EQ(v.kind, EditValue::Kind::kNumber) << text;
    EXPECT_EQ(v.value, value) << text;
  }
  for (const char* text : {"abc", "5a", "a5", "1 2", "1,5", ".", "-", "+", "e5", "1e", "1e+", "--1",
                           "0x10", "inf", "nan", "1.2.3", "５"}) {
    EXPECT_EQ(ReadEditValue(text).kind, EditValue::Kind::kNotANumber) << text;
  }
  // A long digit string is read whole, not cut off.
  const EditValue long_number = ReadEditValue(std::string(400, '1').append("e-399"));
  ASSERT_EQ(long_number.kind, EditValue::Kind::kNumber);
  EXPECT_NEAR(long_number.value, 1.11111111111111111, 1e-15);
}

TEST(Handlers, MemoTextsForChosenInputs) {
  EXPECT_EQ(FactorialClick("1"), MemoText("1!= 1"));
  EXPECT_EQ(FactorialClick("5"), MemoText("5!= 120"));
  EXPECT_EQ(FactorialClick("17"), MemoText("17!= 355687428096000"));
  EXPECT_EQ(FactorialClick("18"), MemoText("18!= 6.402373705728E15"));
  EXPECT_EQ(FactorialClick("170"), MemoText("170!= 7.25741561530799E306"));
  EXPECT_EQ(FactorialClick("007"), MemoText("7!= 5040"));
  EXPECT_EQ(FactorialClick(" 5.5 "), MemoText("5.5!= 120"));
  EXPECT_EQ(PermutationClick("5", "2"), MemoText("P(5,2)= 20"));
  EXPECT_EQ(PermutationClick("170", "170"), MemoText("P(170,170)= 7.25741561530799E306"));
  EXPECT_EQ(PermutationClick("3", "3"), MemoText("P(3,3)= 6"));
  EXPECT_EQ(CombinationClick("5", "2"), MemoText("C(5,2)= 10"));
  EXPECT_EQ(CombinationClick("170", "170"), MemoText("C(170,170)= 1"));
  EXPECT_EQ(CombinationClick("30", "15"), MemoText("C(30,15)= 155117520"));
  EXPECT_EQ(CombinationClick("100", "50"), MemoText("C(100,50)= 1.00891344545564E29"));
  EXPECT_EQ(CombinationClick("170", "1"), MemoText("C(170,1)= 170"));
}

TEST(Handlers, RangeMessages) {
  for (const char* n :
       {"0", "171", "-1", "0.5", "170.5", "99999999999999999999", "1e400", "1e-400"}) {
    EXPECT_EQ(FactorialClick(n), MessageText(gbk::kNRange)) << n;
  }
  const std::vector<std::pair<const char*, const char*>> bad_pairs = {
      {"0", "1"}, {"171", "1"},   {"5", "0"},   {"5", "171"},
      {"3", "4"}, {"170", "171"}, {"-5", "-6"}, {"99999999999999999999", "1"}};
  for (const auto& [n, m] : bad_pairs) {
    EXPECT_EQ(PermutationClick(n, m), MessageText(gbk::kNmRange)) << n << "," << m;
    EXPECT_EQ(CombinationClick(n, m), MessageText(gbk::kNmRange)) << n << "," << m;
  }
}

TEST(Handlers, EmptinessComesFirstAndAlone) {
  EXPECT_EQ(FactorialClick(""), MessageText(gbk::kNEmpty));
  EXPECT_EQ(FactorialClick(" \t "), MessageText(gbk::kNEmpty));
  // Both emptiness tests come before either conversion or range test.
  const std::vector<std::pair<const char*, const char*>> empty_pairs = {
      {"", ""}, {"", "5"}, {"5", ""}, {"  ", "abc"}, {"abc", " "}, {"0", ""}, {"", "999"}};
  for (const auto& [n, m] : empty_pairs) {
    EXPECT_EQ(PermutationClick(n, m), MessageText(gbk::kNmEmpty)) << n << "," << m;
    EXPECT_EQ(CombinationClick(n, m), MessageText(gbk::kNmEmpty)) << n << "," << m;
  }
}

TEST(Handlers, ConversionErrorForPastedText) {
  EXPECT_EQ(FactorialClick("abc"), ConversionText("abc"));
  EXPECT_EQ(ConversionText("abc").text, "'abc' is not a valid floating point value");
  // The text quoted is the edit text without its trailing blanks.
  EXPECT_EQ(FactorialClick("  1x  \r\n").text, "'  1x' is not a valid floating point value");
  // n is converted before m, and the conversion comes before the range test.
  EXPECT_EQ(PermutationClick("x", "y"), ConversionText("x"));
  EXPECT_EQ(PermutationClick("0", "y"), ConversionText("y"));
  EXPECT_EQ(CombinationClick("5-", "2"), ConversionText("5-"));
  // GBK text is quoted byte for byte.
  EXPECT_EQ(FactorialClick(gbk::kDigitsOnly), ConversionText(gbk::kDigitsOnly));
}

TEST(KeyFilter, OnlyDigitsAndBackspacePass) {
  for (char c = '0'; c <= '9'; ++c) EXPECT_TRUE(KeyPasses(c)) << c;
  EXPECT_TRUE(KeyPasses('\b'));
  const char refused[] = {'a', 'Z',  ' ',  '-',    '+',  '.',    ',',    'e',    'E',    '/',
                          ':', '\r', '\n', '\x1b', '\t', '\x03', '\x16', '\x18', '\x01', '\x7f'};
  for (char c : refused) EXPECT_FALSE(KeyPasses(c)) << int(c);
  EXPECT_FALSE(KeyPasses('\0'));
  EXPECT_FALSE(KeyPasses('\xa3'));  // a GBK lead byte
}

#ifndef _WIN32
// Decodes GBK bytes with the system's converter.
std::string GbkToUtf8(const char* gbk) {
  iconv_t cd = iconv_open("UTF-8", "GBK");
  if (cd == reinterpret_cast<iconv_t>(-1)) return "<no GBK converter>";
  std::string in(gbk), out(in.size() * 4, '\0');
  char* in_ptr = in.data();
  char* out_ptr = out.data();
  size_t in_left = in.size(), out_left = out.size();
  const size_t rc = iconv(cd, &in_ptr, &in_left, &out_ptr, &out_left);
  iconv_close(cd);
  if (rc == static_cast<size_t>(-1)) return "<invalid GBK>";
  out.resize(out.size() - out_left);
  return out;
}

TEST(Messages, AreGbkForTheirChineseTexts) {
  EXPECT_EQ(GbkToUtf8(gbk::kTitle), "阶乘排列组合计算");
  EXPECT_EQ(GbkToUtf8(gbk::kNEmpty), "n 的值不能为空！");
  EXPECT_EQ(GbkToUtf8(gbk::kNmEmpty), "n 和 m 的值不能为空！");
  EXPECT_EQ(GbkToUtf8(gbk::kNRange), "n 取值1-170！");
  EXPECT_EQ(GbkToUtf8(gbk::kNmRange), "n 和 m 取值1-170，并且m<=n！");
  EXPECT_EQ(GbkToUtf8(gbk::kDigitsOnly), "请输入数字！");
}
#endif

}  // namespace
}  // namespace calc
