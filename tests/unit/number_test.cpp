#include <gtest/gtest.h>

#include "base/errors.h"
#include "base/number.h"
#include "base/text.h"

namespace corvel {
namespace {

TEST(Number, StrToFloatReadsTheGivenSeparatorOnly) {
  struct Case { std::wstring text; wchar_t separator; bool ok; double value; };
  const Case cases[] = {
      {L"4294967296", L'.', true, 4294967296.0},
      {L" 2.5 ", L'.', true, 2.5},
      {L"2,5", L',', true, 2.5},
      {L"2.5", L',', false, 0},
      {L"2,5", L'.', false, 0},
      {L"-1e3", L'.', true, -1000},
      {L"1e", L'.', false, 0},
      {L"", L'.', false, 0},
      {L".", L'.', false, 0},
      {L"1.2.3", L'.', false, 0},
      {L"abc", L'.', false, 0},
      {L"1e999", L'.', false, 0},
  };
  for (const Case& c : cases) {
    double v = -7;
    EXPECT_EQ(TryStrToFloat(c.text, v, c.separator), c.ok) << Narrow(c.text);
    if (c.ok) EXPECT_DOUBLE_EQ(v, c.value) << Narrow(c.text);
    else EXPECT_EQ(v, -7) << "untouched on failure: " << Narrow(c.text);
  }
}

TEST(Number, StrToFloatErrorHasTheRunTimesText) {
  try {
    StrToFloat(L"x1");
    FAIL();
  } catch (const ConvertError& e) {
    EXPECT_EQ(e.text(), L"'x1' ist kein gültiger Gleitkommawert");
  }
}

TEST(Number, FormatFloatPatterns) {
  struct Case { const wchar_t* pattern; double value; wchar_t separator; const wchar_t* text; };
  const Case cases[] = {
      {L"0", 4096.0, L'.', L"4096"},   {L"0", 0.4, L'.', L"0"},        {L"0", 2.5, L'.', L"3"},
      {L"0", -2.5, L'.', L"-3"},       {L"0", -0.2, L'.', L"0"},       {L"0.00", 3.0, L',', L"3,00"},
      {L"0.00", 2.994, L'.', L"2.99"}, {L"0.0", 0.05, L'.', L"0.1"},   {L"0.00", 0.001, L'.', L"0.00"},
  };
  for (const Case& c : cases) EXPECT_EQ(FormatFloat(c.pattern, c.value, c.separator), c.text) << c.value;
  EXPECT_THROW(FormatFloat(L"0", 1e300), Error);
}

}  // namespace
}  // namespace corvel
