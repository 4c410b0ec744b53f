#include "calc/evaluators.h"

#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace corvel {
namespace {

bool IsDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }

// Every step checks its result: the faults are detected here, never left to
// floating-point traps, which are masked on every platform we build for.
long double Checked(long double v) {
  if (std::isnan(v)) throw FloatInvalidOperation();
  if (std::isinf(v)) throw FloatOverflow();
  return v;
}

long double Divide(long double a, long double b) {
  if (b == 0) {
    if (a == 0) throw FloatInvalidOperation();
    throw FloatDivideByZero();
  }
  return Checked(a / b);
}

long double PowerByLogarithm(long double x, long double y) {
  if (x == 0) throw FloatDivideByZero();
  if (x < 0) throw FloatInvalidOperation();
  return Checked(std::exp(Checked(y * std::log(x))));
}

// Digits and at most one "." converted with "." as the decimal point.
long double ConvertDigits(const std::string& digits) {
  errno = 0;
  char* end = nullptr;
  long double v = std::strtold(digits.c_str(), &end);
  if (std::isinf(v) || (errno == ERANGE && v != 0)) throw FloatOverflow();
  return v;
}

class ExpressionParser {
 public:
  explicit ExpressionParser(std::wstring_view text) : text_(text) {}

  long double Run() { return Sum(); }

 private:
  void Read() {
    if (pos_ < text_.size()) {
      ++pos_;
      ch_ = text_[pos_ - 1];
    } else {
      ch_ = 0;
    }
  }

  long double Sum() {
    long double v = Term();
    while (ch_ == L'+' || ch_ == L'-') {
      const wchar_t op = ch_;
      const long double r = Term();
      v = Checked(op == L'+' ? v + r : v - r);
    }
    return v;
  }

  long double Term() {
    long double v = Power();
    while (ch_ == L'*' || ch_ == L'/') {
      const wchar_t op = ch_;
      const long double r = Power();
      v = op == L'*' ? Checked(v * r) : Divide(v, r);
    }
    return v;
  }

  long double Power() {
    long double v = Signed();
    while (ch_ == L'^') v = PowerByLogarithm(v, Signed());
    return v;
  }

  // Signs are counted in a loop rather than by recursion, so a long run of
  // them cannot exhaust the stack; the result is the same.
  long double Signed() {
    bool negate = false;
    for (;;) {
      do Read(); while (ch_ == L' ' || ch_ == L'\t');
      if (ch_ == L'+') continue;
      if (ch_ == L'-') { negate = !negate; continue; }
      break;
    }
    const long double v = Primary();
    return negate ? -v : v;
  }

  long double Primary() {
    if (ch_ == L'(') return Parenthesised();
    if (IsDigit(ch_)) return Number();
    throw ExpressionError(L"Syntax error in expression");
  }

  long double Parenthesised() {
    if (++depth_ > kMaxCalcNesting) throw ExpressionError(L"Expression nested too deeply");
    const long double v = Sum();
    if (ch_ != L')') throw ExpressionError(L"Missing ')' in expression");
    Read();
    --depth_;
    const double rounded = static_cast<double>(v);
    if (std::isinf(rounded)) throw FloatOverflow();
    return rounded;
  }

  long double Number() {
    std::string digits;
    bool dot = false;
    while (IsDigit(ch_)) {
      digits += static_cast<char>(ch_);
      Read();
      if (ch_ == L'.' && !dot) {
        dot = true;
        digits += '.';
        Read();
      }
    }
    return ConvertDigits(digits);
  }

  std::wstring_view text_;
  std::size_t pos_ = 0;
  wchar_t ch_ = 0;
  int depth_ = 0;
};

// ---- EvaluateArithmetic ----

enum class Tok { End, Integer, Real, Plus, Minus, Times, Slash, Div, Mod, Open, Close };

struct Token {
  Tok kind = Tok::End;
  std::string digits;  // for literals
};

class ArithmeticParser {
 public:
  explicit ArithmeticParser(std::wstring_view text) : text_(text) { Next(); }

  CalcValue Run() {
    CalcValue v = Expr();
    if (tok_.kind != Tok::End) Fail(L"Text after the end of the expression");
    return v;
  }

 private:
  [[noreturn]] static void Fail(const wchar_t* why) { throw ArithmeticError(why); }

  static bool IsBlank(wchar_t c) { return c == L' ' || c == L'\t' || c == L'\r' || c == L'\n'; }
  static bool IsLetter(wchar_t c) {
    return (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z') || c == L'_';
  }

  void Next() {
    while (pos_ < text_.size() && IsBlank(text_[pos_])) ++pos_;
    tok_ = Token{};
    if (pos_ >= text_.size()) return;
    const wchar_t c = text_[pos_];
    if (IsDigit(c)) {
      bool dot = false;
      while (pos_ < text_.size() && (IsDigit(text_[pos_]) || (text_[pos_] == L'.' && !dot))) {
        if (text_[pos_] == L'.') dot = true;
        tok_.digits += static_cast<char>(text_[pos_++]);
      }
      tok_.kind = dot ? Tok::Real : Tok::Integer;
      return;
    }
    if (IsLetter(c)) {
      std::wstring word;
      while (pos_ < text_.size() && (IsLetter(text_[pos_]) || IsDigit(text_[pos_]))) {
        word += text_[pos_++];
        if (word.size() > 3) Fail(L"Unknown word");
      }
      for (auto& w : word) if (w >= L'A' && w <= L'Z') w = w - L'A' + L'a';
      if (word == L"div") tok_.kind = Tok::Div;
      else if (word == L"mod") tok_.kind = Tok::Mod;
      else Fail(L"Unknown word");
      return;
    }
    ++pos_;
    switch (c) {
      case L'+': tok_.kind = Tok::Plus; return;
      case L'-': tok_.kind = Tok::Minus; return;
      case L'*': tok_.kind = Tok::Times; return;
      case L'/': tok_.kind = Tok::Slash; return;
      case L'(': tok_.kind = Tok::Open; return;
      case L')': tok_.kind = Tok::Close; return;
      default: Fail(L"Unexpected character");
    }
  }

  static double CheckedReal(long double v) {
    const double d = static_cast<double>(v);
    if (std::isnan(d) || std::isinf(d)) Fail(L"Floating-point overflow");
    return d;
  }

  static CalcValue Add(const CalcValue& a, const CalcValue& b, bool subtract) {
    if (a.isInteger && b.isInteger) {
      long long r;
      if (!(subtract ? __builtin_sub_overflow(a.integer, b.integer, &r)
                     : __builtin_add_overflow(a.integer, b.integer, &r)))
        return CalcValue::Int(r);
    }
    return CalcValue::Real(CheckedReal(subtract ? a.AsReal() - b.AsReal() : a.AsReal() + b.AsReal()));
  }

  static CalcValue Multiply(const CalcValue& a, const CalcValue& b) {
    if (a.isInteger && b.isInteger) {
      long long r;
      if (!__builtin_mul_overflow(a.integer, b.integer, &r)) return CalcValue::Int(r);
    }
    return CalcValue::Real(CheckedReal(a.AsReal() * b.AsReal()));
  }

  static CalcValue Apply(Tok op, const CalcValue& a, const CalcValue& b) {
    switch (op) {
      case Tok::Times: return Multiply(a, b);
      case Tok::Slash:
        if (b.AsReal() == 0) Fail(L"Division by zero");
        return CalcValue::Real(CheckedReal(a.AsReal() / b.AsReal()));
      case Tok::Div:
      case Tok::Mod:
        if (!a.isInteger || !b.isInteger) Fail(L"div and mod need whole numbers");
        if (b.integer == 0) Fail(L"Division by zero");
        if (b.integer == -1) {  // the one quotient that leaves the 64-bit range
          if (op == Tok::Mod) return CalcValue::Int(0);
          if (a.integer == LLONG_MIN) return CalcValue::Real(-static_cast<double>(a.integer));
          return CalcValue::Int(-a.integer);
        }
        return CalcValue::Int(op == Tok::Div ? a.integer / b.integer : a.integer % b.integer);
      default: return a;
    }
  }

  CalcValue Expr() {
    CalcValue v = Term();
    while (tok_.kind == Tok::Plus || tok_.kind == Tok::Minus) {
      const bool subtract = tok_.kind == Tok::Minus;
      Next();
      v = Add(v, Term(), subtract);
    }
    return v;
  }

  CalcValue Term() {
    CalcValue v = Unary();
    while (tok_.kind == Tok::Times || tok_.kind == Tok::Slash || tok_.kind == Tok::Div ||
           tok_.kind == Tok::Mod) {
      const Tok op = tok_.kind;
      Next();
      v = Apply(op, v, Unary());
    }
    return v;
  }

  // Signs in a loop, not by recursion (see Signed above).
  CalcValue Unary() {
    bool negate = false;
    while (tok_.kind == Tok::Plus || tok_.kind == Tok::Minus) {
      if (tok_.kind == Tok::Minus) negate = !negate;
      Next();
    }
    CalcValue v = Primary();
    if (!negate) return v;
    if (v.isInteger && v.integer != LLONG_MIN) return CalcValue::Int(-v.integer);
    return CalcValue::Real(-v.AsReal());
  }

  CalcValue Primary() {
    switch (tok_.kind) {
      case Tok::Integer: {
        const std::string digits = tok_.digits;
        Next();
        errno = 0;
        const long long v = std::strtoll(digits.c_str(), nullptr, 10);
        if (errno != ERANGE) return CalcValue::Int(v);
        return CalcValue::Real(CheckedReal(std::strtold(digits.c_str(), nullptr)));
      }
      case Tok::Real: {
        const std::string digits = tok_.digits;
        Next();
        return CalcValue::Real(CheckedReal(std::strtold(digits.c_str(), nullptr)));
      }
      case Tok::Open: {
        if (++depth_ > kMaxCalcNesting) Fail(L"Expression nested too deeply");
        Next();
        CalcValue v = Expr();
        if (tok_.kind != Tok::Close) Fail(L"Missing ')'");
        Next();
        --depth_;
        return v;
      }
      default: Fail(L"Operand expected");
    }
  }

  std::wstring_view text_;
  std::size_t pos_ = 0;
  Token tok_;
  int depth_ = 0;
};

}  // namespace

long double EvaluateExpression(std::wstring_view text) {
  if (text.size() > kMaxCalcTextLength) throw ExpressionError(L"Expression too long");
  return ExpressionParser(text).Run();
}

CalcValue EvaluateArithmetic(std::wstring_view text) {
  if (text.size() > kMaxCalcTextLength) throw ArithmeticError(L"Expression too long");
  return ArithmeticParser(text).Run();
}

std::wstring FormatCalcNumber(long double value, wchar_t decimalSeparator) {
  if (std::isnan(value)) return L"NAN";
  if (std::isinf(value)) return value < 0 ? L"-INF" : L"INF";
  if (value == 0) return L"0";
  char buf[64];
  // d.dddddddddddddde±x: the 15 significant digits, rounded by the C library.
#if defined(_WIN32)
  __mingw_snprintf(buf, sizeof buf, "%.14Le", value);
#else
  std::snprintf(buf, sizeof buf, "%.14Le", value);
#endif
  std::string s(buf);
  std::wstring out;
  std::size_t i = 0;
  if (s[i] == '-') { out += L'-'; ++i; }
  std::string digits;
  for (; i < s.size() && s[i] != 'e'; ++i)
    if (s[i] != '.') digits += s[i];
  const int exp10 = std::atoi(s.c_str() + i + 1);
  while (digits.size() > 1 && digits.back() == '0') digits.pop_back();
  const int e = exp10 + 1;  // the value as 0.d1d2... x 10^e
  if (e >= -3 && e <= 15) {
    if (e <= 0) {
      out += L'0';
      out += decimalSeparator;
      out.append(static_cast<std::size_t>(-e), L'0');
      for (char d : digits) out += static_cast<wchar_t>(d);
    } else {
      for (int k = 0; k < e; ++k)
        out += k < static_cast<int>(digits.size()) ? static_cast<wchar_t>(digits[k]) : L'0';
      if (static_cast<int>(digits.size()) > e) {
        out += decimalSeparator;
        for (std::size_t k = e; k < digits.size(); ++k) out += static_cast<wchar_t>(digits[k]);
      }
    }
  } else {
    out += static_cast<wchar_t>(digits[0]);
    if (digits.size() > 1) {
      out += decimalSeparator;
      for (std::size_t k = 1; k < digits.size(); ++k) out += static_cast<wchar_t>(digits[k]);
    }
    out += L'E';
    out += std::to_wstring(exp10);
  }
  return out;
}

std::wstring FormatCalcValue(const CalcValue& value, wchar_t decimalSeparator) {
  if (value.isInteger) return std::to_wstring(value.integer);
  return FormatCalcNumber(value.real, decimalSeparator);
}

}  // namespace corvel
