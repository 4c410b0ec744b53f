#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <string>

#include "base/text.h"
#include "calc/evaluators.h"

namespace corvel {
namespace {

// The error text of EvaluateExpression, or nullopt when it returns a value.
std::optional<std::wstring> ExpressionErrorText(const std::wstring& text) {
  try {
    EvaluateExpression(text);
  } catch (const Error& e) {
    return e.text();
  }
  return std::nullopt;
}

TEST(EvaluateExpression, ValuesFollowTheGrammar) {
  struct Case { const wchar_t* text; long double value; };
  const Case cases[] = {
      {L"1+2*3^2", 19},
      {L"2^3^2", 64},
      {L"2^-1", 0.5L},
      {L"2 ^ 3", 2},          // the blank after a number ends the evaluation
      {L"2^ 3", 8},           // blanks are skipped where an operand is expected
      {L"1.5^2", 2.25L},
      {L"2^3)", 8},
      {L"2^3abc", 8},
      {L"2^2/100 *5", 0.04L},
      {L"1.2.3^2", 1.2L},
      {L"1.", 1},
      {L"1..5", 1},
      {L"--2", 2},
      {L"+-2", -2},
      {L" \t-  3", -3},
      {L"1-2-3", -4},
      {L"8/2/2", 2},
      {L"2^0", 1},
      {L"4^0.5", 2},
      {L"(1+2)*3", 9},
      {L"2^10\r\n", 1024},   // a loaded file's line break ends the evaluation
      {L"1/3", 1.0L / 3},    // unrounded extended precision outside parentheses
  };
  for (const auto& c : cases) {
    const long double v = EvaluateExpression(c.text);
    EXPECT_NEAR(static_cast<double>(v), static_cast<double>(c.value), 1e-15 * std::fabs((double)c.value) + 1e-300)
        << Narrow(c.text);
    EXPECT_EQ(FormatCalcNumber(v, L'.'), FormatCalcNumber(c.value, L'.')) << Narrow(c.text);
  }
}

TEST(EvaluateExpression, ParenthesesRoundToDouble) {
  EXPECT_EQ(EvaluateExpression(L"(1/3)"), static_cast<long double>(1.0 / 3));
  EXPECT_NE(EvaluateExpression(L"1/3"), static_cast<long double>(1.0 / 3));
  EXPECT_EQ(FormatCalcNumber(EvaluateExpression(L"(1+2)^2"), L'.'), L"9");
}

TEST(EvaluateExpression, FaultsCarryTheRunTimeTexts) {
  struct Case { const wchar_t* text; const wchar_t* error; };
  const Case cases[] = {
      {L"-2^2", L"Ungültige Gleitkommaoperation"},
      {L"0^2", L"Gleitkommadivision durch Null"},
      {L"(2^2", L"Missing ')' in expression"},
      {L"2^", L"Syntax error in expression"},
      {L"(^2)", L"Syntax error in expression"},
      {L".5", L"Syntax error in expression"},
      {L"", L"Syntax error in expression"},
      {L"   ", L"Syntax error in expression"},
      {L"a", L"Syntax error in expression"},
      {L"2*/3", L"Syntax error in expression"},
      {L"1/0", L"Gleitkommadivision durch Null"},
      {L"0/0", L"Ungültige Gleitkommaoperation"},
      {L"-2^3", L"Ungültige Gleitkommaoperation"},
      {L"0^0", L"Gleitkommadivision durch Null"},
      {L"10^100000", L"Gleitkommaüberlauf"},
      {L"(10^400)", L"Gleitkommaüberlauf"},  // fits extended, not double
      {L"((1)", L"Missing ')' in expression"},
  };
  for (const auto& c : cases) EXPECT_EQ(ExpressionErrorText(c.text), std::wstring(c.error)) << Narrow(c.text);
}

TEST(EvaluateExpression, TooSmallBecomesZero) {
  EXPECT_EQ(EvaluateExpression(L"10^-100000"), 0);
}

TEST(EvaluateExpression, HostileTextsFailCleanly) {
  const std::wstring cases[] = {
      std::wstring(100000, L'('),
      std::wstring(300, L'(') + L"1" + std::wstring(300, L')'),
      std::wstring(1 << 20, L'9'),
      std::wstring(60000, L'9') + L"^2",
      std::wstring(1 << 20, L'-'),
      std::wstring(L"\0\x1\xffff\xd800", 4),
  };
  for (const auto& c : cases) EXPECT_TRUE(ExpressionErrorText(c).has_value()) << c.size();
  // A long run of signs within the length limit is fine: it loops, not recurses.
  EXPECT_EQ(EvaluateExpression(std::wstring(60000, L'-') + L"2"), 2);
  EXPECT_EQ(EvaluateExpression(std::wstring(200, L'(') + L"2^2" + std::wstring(200, L')')), 4);
}

std::optional<CalcValue> Arith(const std::wstring& text) {
  try {
    return EvaluateArithmetic(text);
  } catch (const ArithmeticError&) {
    return std::nullopt;
  }
}

TEST(EvaluateArithmetic, IntegersAndReals) {
  struct Case { const wchar_t* text; bool isInteger; long double value; };
  const Case cases[] = {
      {L"2*3", true, 6},
      {L"7/2", false, 3.5L},
      {L"6/3", false, 2},
      {L"200+(200/100 *5)", false, 210},
      {L"5*-1", true, -5},
      {L"2--3", true, 5},
      {L"7 div 2", true, 3},
      {L"7 mod 2", true, 1},
      {L"-7 div 2", true, -3},
      {L"-7 mod 2", true, -1},
      {L"7 mod -2", true, 1},
      {L"7 DIV 2", true, 3},
      {L"7 MoD 2", true, 1},
      {L"7div 2", true, 3},
      {L"1.", false, 1},
      {L"1.5+1", false, 2.5L},
      {L"1+2*3", true, 7},
      {L"1+2*3\r\n", true, 7},
      {L"\t1 +\n2", true, 3},
      {L"-(2+3)*2", true, -10},
      {L"2*-(-3)", true, 6},
      {L"1+23", true, 24},
      {L"1/1", false, 1},
      // Beyond 32 bits: 64-bit integers, then reals, never a silent wrap.
      {L"2147483647+1", true, 2147483648.0L},
      {L"4294967296*4294967296", false, 18446744073709551616.0L},
      {L"9223372036854775807+1", false, 9223372036854775808.0L},
      {L"99999999999999999999", false, 1e20L},
      {L"-9223372036854775807-1", true, -9223372036854775807.0L - 1},
      {L"(-9223372036854775807-1) div -1", false, 9223372036854775808.0L},
      {L"(-9223372036854775807-1) mod -1", true, 0},
  };
  for (const auto& c : cases) {
    const auto v = Arith(c.text);
    ASSERT_TRUE(v.has_value()) << Narrow(c.text);
    EXPECT_EQ(v->isInteger, c.isInteger) << Narrow(c.text);
    EXPECT_EQ(v->AsReal(), c.value) << Narrow(c.text);
  }
}

TEST(EvaluateArithmetic, MalformedTextsAndFaultsAreErrors) {
  const wchar_t* cases[] = {
      L"1/0", L"1 div 0", L"1 mod 0", L"0/0", L"1/0.0", L"2+", L"(1", L"1)", L"", L"  ",
      L"2 3", L"()", L"*2", L"1E5", L".5", L"1.2.3", L"1,5", L"2^3",
      // Our choices: no comparisons, logic, strings or truth words; no trailing text.
      L"1=1", L"1<2", L"1<>2", L"1>=2", L"1 and 1", L"not 1", L"1 shl 2", L"true", L"'a'",
      L"2 x", L"7 div2", L"7.5 div 2", L"7 mod 2.0",
      // Real overflow.
      L"99999999999999999999*99999999999999999999*99999999999999999999*99999999999999999999"
      L"*99999999999999999999*99999999999999999999*99999999999999999999*99999999999999999999"
      L"*99999999999999999999*99999999999999999999*99999999999999999999*99999999999999999999"
      L"*99999999999999999999*99999999999999999999*99999999999999999999*99999999999999999999",
  };
  for (const auto* c : cases) EXPECT_FALSE(Arith(c).has_value()) << Narrow(c);
}

TEST(EvaluateArithmetic, HostileTextsFailCleanly) {
  const std::wstring cases[] = {
      std::wstring(100000, L'('),
      std::wstring(300, L'(') + L"1" + std::wstring(300, L')'),
      std::wstring(1 << 20, L'9'),
      std::wstring(1 << 20, L'a'),
      std::wstring(1 << 20, L'-'),
      std::wstring(L"\0\x1\xffff\xd800", 4),
  };
  for (const auto& c : cases) EXPECT_FALSE(Arith(c).has_value()) << c.size();
  EXPECT_EQ(EvaluateArithmetic(std::wstring(60000, L'-') + L"2").integer, 2);
  EXPECT_EQ(EvaluateArithmetic(std::wstring(200, L'(') + L"2" + std::wstring(200, L')')).integer, 2);
}

TEST(FormatCalcNumber, FifteenDigitsFixedOrScientific) {
  struct Case { long double value; wchar_t sep; const wchar_t* text; };
  const Case cases[] = {
      {0, L'.', L"0"},
      {-0.0L, L'.', L"0"},
      {3.5L, L'.', L"3.5"},
      {3.5L, L',', L"3,5"},
      {-3.5L, L',', L"-3,5"},
      {210, L'.', L"210"},
      {-8, L'.', L"-8"},
      {1e15L, L'.', L"1E15"},
      {999999999999999.0L, L'.', L"999999999999999"},
      {1e-5L, L'.', L"1E-5"},
      {1.5e20L, L'.', L"1.5E20"},
      {1.5e20L, L',', L"1,5E20"},
      {-1.25e-7L, L'.', L"-1.25E-7"},
      {0.0001L, L'.', L"0.0001"},
      {0.00012345L, L',', L"0,00012345"},
      {1.0L / 3, L'.', L"0.333333333333333"},
      {2.0L / 3, L'.', L"0.666666666666667"},
      {123456789012345678.0L, L'.', L"1.23456789012346E17"},
      {1234567.891L, L'.', L"1234567.891"},
      {0.1L + 0.2L, L'.', L"0.3"},
      {static_cast<float>(1.4142135623730951), L'.', L"1.41421353816986"},
      {9.9999999999999999e14L, L'.', L"1E15"},  // rounds up into scientific
      {1e100L, L'.', L"1E100"},
      {-1e-300L, L'.', L"-1E-300"},
  };
  for (const auto& c : cases) EXPECT_EQ(FormatCalcNumber(c.value, c.sep), c.text) << Narrow(c.text);
}

TEST(FormatCalcValue, IntegersArePlain) {
  EXPECT_EQ(FormatCalcValue(CalcValue::Int(-9223372036854775807LL - 1), L','), L"-9223372036854775808");
  EXPECT_EQ(FormatCalcValue(CalcValue::Int(24), L','), L"24");
  EXPECT_EQ(FormatCalcValue(CalcValue::Real(2), L','), L"2");
  EXPECT_EQ(FormatCalcValue(CalcValue::Real(3.5), L','), L"3,5");
}

}  // namespace
}  // namespace corvel
