// The run-time's error classes. Every error that a handler does not catch ends
// in the application's standard error box, which shows text() as it is.
#pragma once
#include <exception>
#include <string>

namespace corvel {

class Error : public std::exception {
 public:
  explicit Error(std::wstring text);
  const std::wstring& text() const noexcept { return text_; }
  // UTF-8 copy of text(), for logs and test output.
  const char* what() const noexcept override { return narrow_.c_str(); }

 private:
  std::wstring text_;
  std::string narrow_;
};

// A text that does not convert to a number.
class ConvertError : public Error {
 public:
  using Error::Error;
};

// A file that cannot be read or written.
class InOutError : public Error {
 public:
  // The run-time's text for an input/output error code: "E/A-Fehler 5".
  explicit InOutError(unsigned code);
  explicit InOutError(std::wstring text, unsigned code = 0);
  unsigned code() const noexcept { return code_; }

 private:
  unsigned code_ = 0;
};

// The run-time's floating-point faults, with its German texts (the same in
// both interface languages).
class FloatDivideByZero : public Error {
 public:
  FloatDivideByZero() : Error(L"Gleitkommadivision durch Null") {}
};
class FloatInvalidOperation : public Error {
 public:
  FloatInvalidOperation() : Error(L"Ungültige Gleitkommaoperation") {}
};
class FloatOverflow : public Error {
 public:
  FloatOverflow() : Error(L"Gleitkommaüberlauf") {}
};

}  // namespace corvel
