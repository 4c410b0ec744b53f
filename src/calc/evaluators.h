// The calculator's two evaluators and its number display format. Portable:
// no windows, no messages, no language; each evaluator returns a value or
// throws.
#pragma once
#include <string>
#include <string_view>

#include "base/errors.h"

namespace corvel {

// Syntax faults of EvaluateExpression and the hostile-input guards.
class ExpressionError : public Error {
 public:
  using Error::Error;
};

// Texts longer than this, and nesting deeper than that, are refused with an
// ExpressionError instead of risking the stack or a long stall.
constexpr std::size_t kMaxCalcTextLength = 65536;
constexpr int kMaxCalcNesting = 256;

// Recursive descent over characters with "+ - * / ^", unary signs and
// parentheses, in 80-bit extended precision. Blanks are skipped only where an
// operand is expected; the first character that continues no rule ends the
// evaluation silently ("2 ^ 3" is 2). x^y is exp(y * ln x) for every y.
// Throws ExpressionError ("Missing ')' in expression", "Syntax error in
// expression"), FloatDivideByZero, FloatInvalidOperation or FloatOverflow.
long double EvaluateExpression(std::wstring_view text);

// A value of EvaluateArithmetic: a whole number or a real.
struct CalcValue {
  bool isInteger = true;
  long long integer = 0;
  double real = 0;
  static CalcValue Int(long long v) { return {true, v, 0}; }
  static CalcValue Real(double v) { return {false, 0, v}; }
  long double AsReal() const { return isInteger ? static_cast<long double>(integer) : real; }
};

// Thrown by EvaluateArithmetic for every failure; the calculator shows its
// own message, the text is for tests and logs.
class ArithmeticError : public Error {
 public:
  using Error::Error;
};

// Tokens: integer literals, real literals ("1." and "1.5", never ".5" or
// exponents), "+ - * /", the words "div" and "mod" in any case, parentheses;
// blanks, tabs and line breaks between them. "/" always gives a real, "div"
// truncates toward zero, "mod" takes the left operand's sign.
//
// Our choices where the calculator does not care:
// - Integers are 64-bit. An integer literal or result beyond that range
//   becomes a real rather than wrapping; a real that overflows is an error.
// - "div" and "mod" need whole operands: a real operand is an error.
// - Comparisons, logic and bit words, strings and true/false are not
//   supported: any such word or character is an error.
// - Text after a complete expression is an error.
CalcValue EvaluateArithmetic(std::wstring_view text);

// 15 significant digits, trailing zeros and a trailing separator dropped;
// fixed notation for magnitudes from 0.0001 to below 1E15, else "1.5E20",
// "1E-5" (no "+", no leading zeros in the exponent). Zero is "0".
std::wstring FormatCalcNumber(long double value, wchar_t decimalSeparator);
// Integers plain, reals through FormatCalcNumber.
std::wstring FormatCalcValue(const CalcValue& value, wchar_t decimalSeparator);

}  // namespace corvel
