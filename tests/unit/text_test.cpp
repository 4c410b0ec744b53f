#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <limits>

#include "base/errors.h"
#include "base/text.h"

namespace corvel {
namespace {

TEST(Text, TrimRemovesEveryControlCharacterAndBlankAtTheEnds) {
  struct Case { std::wstring in, both, left, right; };
  const std::wstring nul(1, L'\0');
  const Case cases[] = {
      {L"", L"", L"", L""},
      {L"   ", L"", L"", L""},
      {L" a b ", L"a b", L"a b ", L" a b"},
      {L"\t\r\nx\x1f", L"x", L"x\x1f", L"\t\r\nx"},
      {nul + L"x" + nul, L"x", L"x" + nul, nul + L"x"},
      // Characters above the blank stay, even invisible ones.
      {L"\x7f" L"a\xa0", L"\x7f" L"a\xa0", L"\x7f" L"a\xa0", L"\x7f" L"a\xa0"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Trim(c.in), c.both) << Narrow(c.in);
    EXPECT_EQ(TrimLeft(c.in), c.left) << Narrow(c.in);
    EXPECT_EQ(TrimRight(c.in), c.right) << Narrow(c.in);
  }
}

TEST(Text, AsciiCaseFoldingLeavesOtherLettersAlone) {
  EXPECT_EQ(AsciiLower(L"AbZ@[ÄÖ"), L"abz@[ÄÖ");
  EXPECT_EQ(AsciiUpper(L"abz`{äö"), L"ABZ`{äö");
  EXPECT_TRUE(SameTextAscii(L"KqO", L"kqo"));
  EXPECT_FALSE(SameTextAscii(L"Ä", L"ä"));
  EXPECT_FALSE(SameTextAscii(L"ab", L"abc"));
}

TEST(Text, ReplaceIsOnePassLeftToRight) {
  struct Case { std::wstring text, from, to, exact, ignoreCase; };
  const Case cases[] = {
      {L"kkqoqo", L"kqo", L"", L"kqo", L"kqo"},  // the remainder is not searched again
      {L"aKQOb", L"kqo", L"", L"aKQOb", L"ab"},
      {L"aaaa", L"aa", L"b", L"bb", L"bb"},
      {L"aaa", L"aa", L"b", L"ba", L"ba"},
      {L"abc", L"", L"x", L"abc", L"abc"},
      {L"ab", L"abc", L"x", L"ab", L"ab"},
      {L"\r\n\r\n", L"\r\n", L"", L"", L""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ReplaceAll(c.text, c.from, c.to), c.exact) << Narrow(c.text);
    EXPECT_EQ(ReplaceAllIgnoreCaseAscii(c.text, c.from, c.to), c.ignoreCase) << Narrow(c.text);
  }
}

TEST(Text, PosAndCopyAreOneBased) {
  EXPECT_EQ(Pos(L"b", L"abcb"), 2u);
  EXPECT_EQ(Pos(L"x", L"abc"), 0u);
  EXPECT_EQ(Pos(L"", L"abc"), 0u);
  struct Case { long long index, count; std::wstring expected; };
  const Case cases[] = {{1, 2, L"ab"}, {0, 2, L"ab"}, {-5, 1, L"a"}, {3, 100, L"c"},
                        {4, 1, L""},   {2, 0, L""},   {2, -1, L""}};
  for (const auto& c : cases) EXPECT_EQ(Copy(L"abc", c.index, c.count), c.expected) << c.index;
}

TEST(Text, StrToIntAcceptsTheRunTimeForms) {
  struct Case { std::wstring text; int value; };
  const Case cases[] = {
      {L"0", 0},           {L"7", 7},
      {L"  42", 42},       {L"-1", -1},
      {L"+5", 5},          {L"007", 7},
      {L"$1F", 31},        {L"0x1f", 31},
      {L"0X10", 16},       {L"x10", 16},
      {L"-$10", -16},      {L"2147483647", INT_MAX},
      {L"-2147483648", INT_MIN},
      {L"$FFFFFFFF", -1},  {L"$80000000", INT_MIN},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(StrToInt(c.text), c.value) << Narrow(c.text);
    int v = 99;
    EXPECT_TRUE(TryStrToInt(c.text, v));
    EXPECT_EQ(v, c.value);
  }
}

TEST(Text, StrToIntRejectsEverythingElseWithTheGermanText) {
  const std::wstring nul(1, L'\0');
  const std::wstring bad[] = {
      L"",           L" ",          L"x",          L"-",         L"$",
      L"0x",         L"1 ",         L"1a",         L"\t1",       L"1.0",
      L"- 1",        L"2147483648", L"-2147483649", L"$100000000", L"99999999999999999999999",
      L"1" + nul,    L"١",  // Arabic-Indic digit one: not a decimal digit here
  };
  for (const auto& text : bad) {
    int v = 99;
    EXPECT_FALSE(TryStrToInt(text, v)) << Narrow(text);
    EXPECT_EQ(v, 99) << "a failed conversion leaves the target alone";
    try {
      StrToInt(text);
      ADD_FAILURE() << "no error for " << Narrow(text);
    } catch (const ConvertError& e) {
      EXPECT_EQ(e.text(), L"'" + text + L"' ist kein gültiger ganzzahliger Wert");
    }
  }
}

TEST(Text, RoundHalfEven) {
  struct Case { double in; long long out; };
  const Case cases[] = {{0.5, 0},   {1.5, 2},   {2.5, 2},   {-0.5, 0}, {-1.5, -2}, {-2.5, -2},
                        {2.4999, 2}, {2.5001, 3}, {-2.6, -3}, {5.0, 5},  {7 / 1.4, 5}, {1e15 + 0.5, 1000000000000000}};
  for (const auto& c : cases) EXPECT_EQ(RoundHalfEven(c.in), c.out) << c.in;
  for (double bad : {std::nan(""), std::numeric_limits<double>::infinity(), 1e19, -1e19})
    EXPECT_THROW(RoundHalfEven(bad), Error) << bad;
}

TEST(Text, Utf8RoundTripAndMalformedInput) {
  const std::wstring text = L"Über € \U0001F600 ß";
  EXPECT_EQ(Widen(Narrow(text)), text);
  EXPECT_EQ(Narrow(L"Ä"), "\xC3\x84");
  struct Case { std::string in; std::wstring out; };
  const Case cases[] = {
      {"\xC3", L"\xFFFD"},                    // cut short
      {"\xC3" "A", L"\xFFFD" L"A"},           // no continuation byte
      {"\xC0\x80", L"\xFFFD"},                // overlong
      {"\xED\xA0\x80", L"\xFFFD"},            // encoded surrogate
      {"\xFF" "b", L"\xFFFD" L"b"},
      {std::string("a\0b", 3), std::wstring(L"a\0b", 3)},
  };
  for (const auto& c : cases) EXPECT_EQ(Widen(c.in), c.out);
}

TEST(Errors, TextsAndWhat) {
  EXPECT_EQ(InOutError(5).text(), L"E/A-Fehler 5");
  EXPECT_EQ(InOutError(5).code(), 5u);
  EXPECT_EQ(InOutError(L"Datei nicht gefunden").text(), L"Datei nicht gefunden");
  const ConvertError e(L"'ä' ist kein gültiger ganzzahliger Wert");
  EXPECT_STREQ(e.what(), "'\xC3\xA4' ist kein g\xC3\xBCltiger ganzzahliger Wert");
  const Error& base = e;
  EXPECT_EQ(base.text(), e.text());
}

TEST(JoinLinesCrLf, BetweenLinesOnly) {
  EXPECT_EQ(JoinLinesCrLf({}), L"");
  EXPECT_EQ(JoinLinesCrLf({L"a"}), L"a");
  EXPECT_EQ(JoinLinesCrLf({L" ", L"b", L""}), L" \r\nb\r\n");
  const std::vector<std::wstring> lines = {L"x", L"", L"y"};
  EXPECT_EQ(SplitLinesCrLf(JoinLinesCrLf(lines)), lines);
}

}  // namespace
}  // namespace corvel
