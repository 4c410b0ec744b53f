#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "base/errors.h"
#include "base/text.h"
#include "calc/calculator.h"
#include "calc/evaluators.h"
#include "doubles/scripted_dialogs.h"

namespace corvel {
namespace {

// Presses keys named as on the key pad: digits, ".", "+", "-", "*", "/",
// "%", "CE", "pow", "sqrt", "1/x", "+/-", "=", "Edit", "M<-", "M->", "MC".
// Returns the error text of a key that threw, else empty.
std::wstring Press(Calculator& c, const std::wstring& key) {
  try {
    if (key.size() == 1 && ((key[0] >= L'0' && key[0] <= L'9') || key[0] == L'.')) c.DigitKey(key);
    else if (key == L"+" || key == L"-" || key == L"*" || key == L"/") c.OperatorKey(key[0]);
    else if (key == L"%") c.PercentKey();
    else if (key == L"CE") c.ClearKey();
    else if (key == L"pow") c.PowerKey();
    else if (key == L"sqrt") c.SquareRootKey();
    else if (key == L"1/x") c.ReciprocalKey();
    else if (key == L"+/-") c.SignKey();
    else if (key == L"=") c.EqualsKey();
    else if (key == L"Edit") c.EditKey();
    else if (key == L"M<-") c.MemoryInKey();
    else if (key == L"M->") c.MemoryOutKey();
    else if (key == L"MC") c.MemoryClearKey();
    else ADD_FAILURE() << "unknown key " << Narrow(key);
  } catch (const Error& e) {
    return e.text();
  }
  return {};
}

struct Fixture {
  ScriptedDialogs dialogs;
  Calculator calc{dialogs};
  explicit Fixture(wchar_t separator = L'.') {
    calc.decimalSeparator = separator;
    calc.Show(1);
  }
  // Keys separated by blanks; returns the last key's error text.
  std::wstring Keys(const std::wstring& keys) {
    std::wstring error, key;
    for (wchar_t ch : keys + L" ") {
      if (ch != L' ') { key += ch; continue; }
      if (!key.empty()) error = Press(calc, key);
      key.clear();
    }
    return error;
  }
  void Type(const std::wstring& text) { calc.display.text += text; }
};

TEST(Calculator, KeySequencesShowTheirResults) {
  struct Case { const wchar_t* keys; wchar_t sep; const wchar_t* display; };
  const Case cases[] = {
      {L"1 + 2 =", L'.', L"3"},
      {L"7 / 2 =", L'.', L"3.5"},
      {L"7 / 2 =", L',', L"3,5"},
      {L"1 + 2 + 3 =", L'.', L"5"},         // one pending operation
      {L"1 + 2 = =", L'.', L"24"},          // 1+2 with 3 appended
      {L"2 0 0 + 5 %", L'.', L"210"},
      {L"2 0 0 * 5 %", L'.', L"10"},
      {L"2 0 0 - 5 %", L'.', L"190"},
      {L"2 0 0 / 5 %", L'.', L"20"},
      {L"2 pow 1 0 =", L'.', L"1024"},
      {L"2 pow 0 . 5 =", L'.', L"1.41421353816986"},
      {L"2 +/- pow 3 =", L'.', L"-8"},
      {L"2 pow 0 =", L'.', L"1"},
      {L"2 pow 1 +/- =", L'.', L"0.5"},
      {L"0 pow 0 . 5 =", L'.', L"0"},
      {L"2 sqrt", L'.', L"1.41421353816986"},
      {L"2 sqrt", L',', L"1,41421353816986"},
      {L"7 / 2 = * 2 =", L',', L"7"},        // "3,5*2": the comma becomes a point
      {L"4 1/x", L'.', L"0.25"},
      {L"5 +/-", L'.', L"-5"},
      {L"1 + 2 CE 4 =", L'.', L"4"},
      {L"1 2 3 M<- CE M->", L'.', L"123"},
      {L"M->", L'.', L""},                   // memory starts as an empty text
      {L"5 MC M->", L'.', L"5"},             // cleared memory: nothing happens
  };
  for (const auto& c : cases) {
    Fixture f(c.sep);
    EXPECT_EQ(f.Keys(c.keys), L"") << Narrow(c.keys);
    EXPECT_EQ(f.calc.display.text, c.display) << Narrow(c.keys);
    EXPECT_EQ(f.dialogs.calls.size(), 0u) << Narrow(c.keys);
  }
}

TEST(Calculator, ArithmeticFailureShowsInvalidInputAndEmptiesTheDisplay) {
  const wchar_t* cases[] = {L"1/x", L"1 / 0 =", L". 5 + 1 ="};
  for (const auto* keys : cases) {
    Fixture f;
    f.Keys(keys);
    ASSERT_EQ(f.dialogs.calls.size(), 1u) << Narrow(keys);
    EXPECT_EQ(f.dialogs.Last().text, L"Invalid input");
    EXPECT_EQ(f.dialogs.Last().type, DlgType::Error);
    EXPECT_EQ(f.calc.display.text, L"");
  }
  Fixture german;
  german.calc.Show(0);
  german.Keys(L"1/x");
  EXPECT_EQ(german.dialogs.Last().text, L"Ungültige Eingabe");
  EXPECT_EQ(german.calc.pendingExpression, L"1/");
}

TEST(Calculator, EditMode) {
  Fixture f;
  f.Keys(L"Edit");
  EXPECT_FALSE(f.calc.display.readOnly);
  EXPECT_TRUE(f.calc.display.markerVisible);
  EXPECT_EQ(f.calc.display.colour, kCalcEditColour);
  EXPECT_EQ(f.calc.calcMode, L"Edit");
  f.Type(L"2^10");
  f.calc.DisplayKeyDown(13);  // Enter in the display
  EXPECT_EQ(f.calc.display.text, L"1024");
  f.calc.display.text = L"1+2*3";
  EXPECT_FALSE(f.calc.KeyDown(13, false));  // the window leaves edit mode keys alone
  f.calc.DisplayKeyDown(13);
  EXPECT_EQ(f.calc.display.text, L"7");
  // An operator key shows the pending text in the display.
  f.calc.display.text = L"4";
  f.Keys(L"*");
  EXPECT_EQ(f.calc.display.text, L"4*");
  EXPECT_TRUE(f.calc.TakeRequests().caretToEnd);
  f.Keys(L"3 =");
  EXPECT_EQ(f.calc.display.text, L"12");
  // The power evaluator's faults propagate and leave the display.
  f.calc.display.text = L"-2^3";
  EXPECT_EQ(f.Keys(L"="), L"Ungültige Gleitkommaoperation");
  EXPECT_EQ(f.calc.display.text, L"-2^3");
  // A loaded file's CR LF is evaluated normally.
  f.calc.display.text = L"1+2*3\r\n";
  f.Keys(L"=");
  EXPECT_EQ(f.calc.display.text, L"7");
  f.Keys(L"Edit");
  EXPECT_TRUE(f.calc.display.readOnly);
  EXPECT_FALSE(f.calc.display.markerVisible);
  EXPECT_EQ(f.calc.display.colour, kCalcNormalColour);
  EXPECT_EQ(f.calc.calcMode, L"");
  EXPECT_EQ(f.calc.display.text, L"");
}

TEST(Calculator, PowerKeyInEditMode) {
  Fixture f;
  f.Keys(L"Edit");
  f.Type(L"3");
  f.Keys(L"pow");
  EXPECT_EQ(f.calc.calcMode, L"Power");
  EXPECT_FALSE(f.calc.display.readOnly);
  f.Keys(L"2 =");
  EXPECT_EQ(f.calc.display.text, L"9");
  EXPECT_EQ(f.calc.calcMode, L"");
  EXPECT_FALSE(f.calc.display.readOnly);
  EXPECT_EQ(f.calc.display.colour, kCalcEditColour);
  f.Keys(L"Edit");
  EXPECT_TRUE(f.calc.display.readOnly);
}

TEST(Calculator, PowerFailuresKeepTheMode) {
  struct Case { const wchar_t* keys; const wchar_t* error; };
  const Case cases[] = {
      {L"0 pow 1 +/- =", L"Gleitkommadivision durch Null"},
      {L"2 +/- pow 0 . 5 =", L"Ungültige Gleitkommaoperation"},
      {L"1 0 pow 1 0 0 =", L"Gleitkommaüberlauf"},
      {L". pow 2 =", L"'.' ist kein gültiger Gleitkommawert"},
      {L"2 pow . =", L"'.' ist kein gültiger Gleitkommawert"},
  };
  for (const auto& c : cases) {
    Fixture f;
    EXPECT_EQ(f.Keys(c.keys), c.error) << Narrow(c.keys);
    EXPECT_EQ(f.calc.calcMode, L"Power") << Narrow(c.keys);
    EXPECT_FALSE(f.calc.powerBase.empty()) << Narrow(c.keys);
  }
  Fixture blank;
  blank.Keys(L"pow 2 =");  // no base: nothing
  EXPECT_EQ(blank.calc.display.text, L"2");
  EXPECT_EQ(blank.calc.calcMode, L"Power");
}

TEST(CalcPower, RepeatedSquaringOrLogarithm) {
  struct Case { float x, n, result; };
  const Case cases[] = {
      {2, 10, 1024}, {2, -2, 0.25f}, {-2, 3, -8}, {-2, 2, 4}, {0, 0, 1}, {-5, 0, 1},
      {0, 0.5f, 0}, {0, -0.5f, 0}, {4, 0.5f, 2}, {1, 3e9f, 1}, {0.5f, 3e9f, 0}, {2, -3e9f, 0},
      {10, -100, 0},
  };
  for (const auto& c : cases) EXPECT_FLOAT_EQ(CalcPower(c.x, c.n), c.result) << c.x << "^" << c.n;
  EXPECT_THROW(CalcPower(2, 2147483647.0f), FloatOverflow);
  EXPECT_THROW(CalcPower(0.5f, -2147483647.0f), FloatOverflow);
  EXPECT_THROW(CalcPower(2, 3e9f), FloatOverflow);
}

TEST(Calculator, SquareRootRefusesBadOperands) {
  const wchar_t* displays[] = {L"-4", L"abc", L"1e39", L"1,5"};
  for (const auto* d : displays) {
    Fixture f;
    f.calc.display.text = d;
    f.Keys(L"sqrt");
    ASSERT_EQ(f.dialogs.calls.size(), 1u) << Narrow(d);
    EXPECT_EQ(f.dialogs.Last().text, L"Invalid input");
    EXPECT_EQ(f.calc.display.text, d);
    EXPECT_TRUE(f.calc.TakeRequests().caretToEnd);
  }
  Fixture blank;
  blank.calc.TakeRequests();
  blank.Keys(L"sqrt");
  EXPECT_FALSE(blank.calc.TakeRequests().focusDisplay);
}

TEST(Calculator, KeyDownTable) {
  struct Case { std::vector<int> keys; const wchar_t* display; };
  const Case cases[] = {
      {{49, 107, 50, 13}, L"3"},               // 1 + 2 Enter
      {{97, 187, 98, 13}, L"3"},               // numeric pad
      {{55, 111, 50}, L"72"},                  // the pad's "/" is a character, not a key-down row
      {{51, 106, 52, 13}, L"12"},
      {{57, 109, 52, 13}, L"5"},
      {{57, 189, 52, 13}, L"5"},
      {{49, 110, 53, 188, 190}, L"1.5.."},
      {{50, 220, 51, 13}, L"8"},               // the German "^" key
      {{49, 50, 46}, L""},
      {{49, 50, 8}, L""},
  };
  for (const auto& c : cases) {
    Fixture f;
    for (int k : c.keys) f.calc.KeyDown(k, false);
    EXPECT_EQ(f.calc.display.text, c.display);
  }
  Fixture f;
  EXPECT_TRUE(f.calc.KeyDown(13, false));
  EXPECT_FALSE(f.calc.KeyDown(49, false));
  f.calc.TakeRequests();
  f.calc.KeyDown(112, false);
  EXPECT_EQ(f.calc.TakeRequests().helpContext, 120);
  // Shift: nothing but the flag.
  f.calc.display.text.clear();
  f.calc.KeyDown(49, true);
  EXPECT_TRUE(f.calc.shiftHeld);
  EXPECT_EQ(f.calc.display.text, L"");
}

TEST(Calculator, KeyPressTable) {
  Fixture f;
  f.calc.display.text = L"6";
  f.calc.KeyPress(L'*');  // the numeric pad's "*" after its key-down: no second operator
  EXPECT_EQ(f.calc.display.text, L"6");
  f.calc.KeyDown(187, true);  // Shift + "+" gives "*" on a German keyboard
  f.calc.KeyPress(L'*');
  EXPECT_FALSE(f.calc.shiftHeld);
  EXPECT_EQ(f.calc.pendingExpression, L"6*");
  f.calc.display.text = L"7";
  f.calc.KeyPress(L'/');
  EXPECT_EQ(f.calc.pendingExpression, L"7/");
  f.calc.display.text = L"2";
  f.calc.KeyPress(L'%');  // 7/(7/100 *2)
  EXPECT_EQ(f.calc.display.text, L"50");
}

TEST(Calculator, DisplayCaretKeyInEditMode) {
  Fixture f;
  f.Keys(L"Edit");
  f.calc.TakeRequests();
  f.calc.DisplayKeyDown(220);
  const CalcRequests r = f.calc.TakeRequests();
  EXPECT_TRUE(r.simulateSpace);
  EXPECT_TRUE(r.caretToEnd);
  EXPECT_TRUE(r.focusDisplay);
}

TEST(Calculator, ShowRestoresNormalModeAndKeepsPendingAndMemory) {
  Fixture f;
  f.Keys(L"5 M<- 1 + Edit");
  f.calc.shiftHeld = true;
  f.calc.Show(0);
  EXPECT_EQ(f.calc.calcMode, L"");
  EXPECT_TRUE(f.calc.display.readOnly);
  EXPECT_FALSE(f.calc.shiftHeld);
  EXPECT_EQ(f.calc.pendingExpression, L"51+");
  EXPECT_EQ(f.calc.calcMemory, std::wstring(L"5"));
  EXPECT_TRUE(f.calc.TakeRequests().focusDisplay);
}

TEST(Calculator, SaveNeedsEditModeAndText) {
  Fixture f;
  f.calc.display.text = L"1+2";
  EXPECT_FALSE(f.calc.CanSave());
  f.Keys(L"Edit");
  EXPECT_FALSE(f.calc.CanSave());
  f.calc.display.text = L" \r\n";
  EXPECT_FALSE(f.calc.CanSave());
  f.calc.display.text = L"1+2";
  EXPECT_TRUE(f.calc.CanSave());
}

TEST(Calculator, LanguageTableAndHelpFiles) {
  EXPECT_STREQ(CalcHelpFileName(0), L"ledgixhlp.chm");
  EXPECT_STREQ(CalcHelpFileName(1), L"ledgixhlpe.chm");
  EXPECT_STREQ(CalcHelpFileName(2), L"ledgixhlpe.chm");
  int hints = 0;
  for (const auto& e : CalcLanguageTable()) hints += e.what == TextOf::Hint;
  EXPECT_EQ(hints, 14);
  EXPECT_EQ(CalcLanguageTable().size(), 18u);
}

}  // namespace
}  // namespace corvel
