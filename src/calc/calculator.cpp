#include "calc/calculator.h"

#include <cfloat>
#include <cmath>

#include "base/errors.h"
#include "base/number.h"
#include "base/text.h"
#include "calc/evaluators.h"

namespace corvel {
namespace {

bool IsBlank(const std::wstring& text) { return Trim(text).empty(); }

// The display text as a 32-bit float, with the run-time's conversion error.
float ToSingle(const std::wstring& text, wchar_t separator) {
  const double v = StrToFloat(text, separator);
  if (std::fabs(v) > FLT_MAX) throw FloatOverflow();
  return static_cast<float>(v);
}

float ToSingleResult(long double v) {
  if (std::isnan(v)) throw FloatInvalidOperation();
  if (std::isinf(v) || std::fabs(v) > FLT_MAX) throw FloatOverflow();
  return static_cast<float>(v);
}

}  // namespace

std::span<const LanguageText> CalcLanguageTable() {
  static constexpr LanguageText kTable[] = {
      {L"File1", TextOf::Caption, L"Datei", L"File"},
      {L"Savecalculation1", TextOf::Caption, L"Berechnung speichern", L"Save calculation"},
      {L"Loadcalculation1", TextOf::Caption, L"Berechnung laden", L"Load calculation"},
      {L"quit1", TextOf::Caption, L"Beeenden", L"Quit"},
      {L"BitBtn13", TextOf::Hint, L"Prozent", L"Percent"},
      {L"BitBtn15", TextOf::Hint, L"Multiplikation", L"Multiplication"},
      {L"BitBtn16", TextOf::Hint, L"Eingabe löschen", L"Clear input"},
      {L"BitBtn17", TextOf::Hint, L"x hoch n", L"x to the power of n"},
      {L"BitBtn18", TextOf::Hint, L"Quadratwurzel", L"Square root"},
      {L"BitBtn19", TextOf::Hint, L"Berechnen", L"Calculate"},
      {L"BitBtn20", TextOf::Hint, L"Umgekehrtes Vorzeichen", L"Opposite sign"},
      {L"BitBtn22", TextOf::Hint, L"Berechnung direkt ins Textfeld eingeben", L"Enter calculation into textbox"},
      {L"BitBtn21", TextOf::Hint, L"Beenden", L"Quit"},
      {L"BitBtn23", TextOf::Hint, L"Dezimalzeichen", L"Decimal separator"},
      {L"BitBtn24", TextOf::Hint, L"1 durch x", L"1 over x"},
      {L"BitBtn25", TextOf::Hint, L"In den Speicher", L"Memory in"},
      {L"BitBtn26", TextOf::Hint, L"Aus dem Speicher", L"Memory out"},
      {L"BitBtn27", TextOf::Hint, L"Speicher löschen", L"Memory clear"},
  };
  return kTable;
}

const wchar_t* CalcHelpFileName(Language language) { return language.Pick(L"ledgixhlp.chm", L"ledgixhlpe.chm"); }

void Calculator::SetLanguage(Language language) {
  const bool german = language.German();
  invalidInputText = german ? L"Ungültige Eingabe" : L"Invalid input";
  noCalculationText = german
      ? L"Keine Berechnung vorhanden! Aktivieren Sie den Bearbeitungsmodus und geben Sie eine Berechnung ein."
      : L"No calculation found! Activate edit mode and enter a calculation.";
}

void Calculator::NormalMode() {
  calcMode.clear();
  display.text.clear();
  display.readOnly = true;
  display.markerVisible = false;
  display.colour = kCalcNormalColour;
  powerBase.clear();
}

void Calculator::Show(Language language) {
  shiftHeld = false;
  SetLanguage(language);
  NormalMode();
  Focus();
}

void Calculator::ShowInvalidInput() { dialogs_.MessageDlg(invalidInputText, DlgType::Error, kBtnOk); }

void Calculator::Calculate() {
  if (IsBlank(pendingExpression)) return;
  pendingExpression = ReplaceAll(pendingExpression, L",", L".");
  if (pendingExpression.find(L'^') != std::wstring::npos) {
    display.text = FormatCalcNumber(EvaluateExpression(pendingExpression), decimalSeparator);
    return;
  }
  display.text.clear();
  try {
    display.text = FormatCalcValue(EvaluateArithmetic(pendingExpression), decimalSeparator);
  } catch (const ArithmeticError&) {
    ShowInvalidInput();
  }
}

void Calculator::DigitKey(const std::wstring& caption) { display.text += caption; }

void Calculator::OperatorKey(wchar_t op) {
  pendingExpression = display.text + op;
  if (calcMode == L"Edit") {
    display.text = pendingExpression;
    requests.caretToEnd = true;
  } else {
    display.text.clear();
  }
}

void Calculator::PercentKey() {
  if (!pendingExpression.empty() && pendingExpression.back() == L'*') {
    pendingExpression += display.text + L"/100";
  } else {
    const std::wstring base =
        pendingExpression.empty() ? std::wstring() : pendingExpression.substr(0, pendingExpression.size() - 1);
    pendingExpression += L"(" + base + L"/100 *" + display.text + L")";
  }
  Calculate();
  Focus();
}

void Calculator::ClearKey() {
  display.text.clear();
  pendingExpression.clear();
  Focus();
}

void Calculator::PowerKey() {
  pendingExpression.clear();
  powerBase = display.text;
  calcMode = L"Power";
  display.text.clear();
  Focus();
}

void Calculator::SquareRootKey() {
  if (IsBlank(display.text)) return;
  Focus(true);
  double v = 0;
  if (!TryStrToFloat(display.text, v, decimalSeparator) || v < 0 || std::fabs(v) > FLT_MAX) {
    ShowInvalidInput();
    return;
  }
  const float root = std::sqrt(static_cast<float>(v));
  display.text = FormatCalcNumber(root, decimalSeparator);
  pendingExpression.clear();
}

void Calculator::ReciprocalKey() {
  pendingExpression = L"1/" + display.text;
  Focus();
  Calculate();
}

void Calculator::SignKey() {
  Focus(true);
  if (IsBlank(display.text)) return;
  pendingExpression = display.text + L"*-1";
  Calculate();
}

float CalcPower(float x, float n) {
  const long double lx = x;
  if (n == std::trunc(n) && std::fabs(n) <= 2147483647.0f) {
    unsigned long long bits = static_cast<unsigned long long>(std::fabs(static_cast<double>(n)));
    long double result = 1, square = lx;
    while (bits != 0) {
      if (bits & 1) result *= square;
      bits >>= 1;
      if (bits != 0) square *= square;
    }
    if (n < 0) {
      if (result == 0) {
        if (x == 0) throw FloatDivideByZero();
        throw FloatOverflow();  // a tiny base: the reciprocal is beyond range
      }
      if (std::isinf(result)) return 0;  // too small to represent
      result = 1 / result;
    }
    return ToSingleResult(result);
  }
  if (x == 0) return 0;
  if (x < 0) throw FloatInvalidOperation();
  const long double p = static_cast<long double>(n) * std::log(lx);
  return ToSingleResult(std::exp(p));
}

void Calculator::EqualsKey() {
  if (IsBlank(display.text)) return;
  if (calcMode == L"Power") {
    if (IsBlank(powerBase)) return;
    const float x = ToSingle(powerBase, decimalSeparator);
    const float n = ToSingle(display.text, decimalSeparator);
    const float result = CalcPower(x, n);
    display.text = FormatCalcNumber(result, decimalSeparator);
    powerBase.clear();
    calcMode.clear();
    return;
  }
  if (calcMode == L"Edit") {
    pendingExpression = display.text;
    Calculate();
    powerBase.clear();
    return;
  }
  pendingExpression += display.text;
  Calculate();
}

void Calculator::EditKey() {
  if (display.readOnly) {
    display.readOnly = false;
    display.markerVisible = true;
    calcMode = L"Edit";
    display.colour = kCalcEditColour;
    powerBase.clear();
    display.text.clear();
  } else {
    NormalMode();
  }
  Focus();
}

void Calculator::MemoryInKey() {
  calcMemory = display.text;
  Focus();
}

void Calculator::MemoryOutKey() {
  if (calcMemory) {
    if (display.readOnly) display.text = *calcMemory;
    else display.text += *calcMemory;
  }
  Focus();
}

void Calculator::MemoryClearKey() {
  calcMemory.reset();
  Focus();
}

bool Calculator::CanSave() const { return !display.readOnly && !IsBlank(display.text); }

bool Calculator::KeyDown(int vk, bool shift) {
  if (calcMode == L"Edit") return false;
  if (shift) {
    shiftHeld = true;
    return false;
  }
  shiftHeld = false;
  bool swallowed = false;
  if (vk == 112) requests.helpContext = kCalcHelpContext;
  if (vk == 46 || vk == 8) ClearKey();
  if (vk >= 48 && vk <= 57) DigitKey(std::wstring(1, static_cast<wchar_t>(L'0' + vk - 48)));
  if (vk >= 96 && vk <= 105) DigitKey(std::wstring(1, static_cast<wchar_t>(L'0' + vk - 96)));
  if (vk == 110 || vk == 188 || vk == 190) DigitKey(L".");
  if (vk == 109 || vk == 189) OperatorKey(L'-');
  if (vk == 187 || vk == 107) OperatorKey(L'+');
  if (vk == 106) OperatorKey(L'*');
  if (vk == 220) PowerKey();
  if (vk == 13) {
    swallowed = true;
    requests.caretToEnd = true;  // the caret moves even when "=" fails
    EqualsKey();
  }
  requests.caretToEnd = true;
  return swallowed;
}

void Calculator::KeyPress(wchar_t c) {
  if (calcMode == L"Edit") return;
  if (c == L'%') PercentKey();
  if (c == L'/') OperatorKey(L'/');
  if (c == L'*' && shiftHeld) OperatorKey(L'*');
  shiftHeld = false;
}

void Calculator::DisplayKeyDown(int vk) {
  if (vk == 13) EqualsKey();
  if (vk == 220) {
    Focus(true);
    requests.simulateSpace = true;
  }
}

}  // namespace corvel
