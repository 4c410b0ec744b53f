// The calculator's state and keys, without the window: TFormRech copies the
// display control into `display` before a handler and back afterwards, and
// carries out the requests (focus, caret, help, simulated space).
#pragma once
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "base/dialogs.h"
#include "base/language.h"

namespace corvel {

// Display colours ($BBGGRR).
constexpr unsigned kCalcNormalColour = 0xF0F0F0;
constexpr unsigned kCalcEditColour = 0xFFFFFF;
constexpr int kCalcHelpContext = 120;

struct CalcDisplay {
  std::wstring text;
  bool readOnly = true;
  bool markerVisible = false;
  unsigned colour = kCalcNormalColour;
};

// The window's two-language table: menu captions and key hints.
std::span<const LanguageText> CalcLanguageTable();
// "ledgixhlpe.chm" in English, "ledgixhlp.chm" in German.
const wchar_t* CalcHelpFileName(Language language);

// What a handler asks the window to do once the display is written back.
struct CalcRequests {
  bool focusDisplay = false;
  bool caretToEnd = false;
  bool simulateSpace = false;
  int helpContext = 0;  // 0: none
};

class Calculator {
 public:
  explicit Calculator(Dialogs& dialogs) : dialogs_(dialogs) {}

  // State that survives hiding and showing the window.
  std::wstring pendingExpression;
  std::wstring calcMode;  // "", "Edit" or "Power"
  std::wstring powerBase;
  std::optional<std::wstring> calcMemory = std::wstring();  // nullopt: cleared by "MC"
  bool shiftHeld = false;
  CalcDisplay display;
  wchar_t decimalSeparator = L'.';
  std::wstring invalidInputText = L"Invalid input";
  std::wstring noCalculationText =
      L"No calculation found! Activate edit mode and enter a calculation.";
  CalcRequests requests;

  // Show: language texts, normal mode, focus. Pending text and memory stay.
  void Show(Language language);
  void SetLanguage(Language language);

  // Evaluates pendingExpression into the display. Errors of the power
  // evaluator propagate; those of the arithmetic one show invalidInputText.
  void Calculate();

  void DigitKey(const std::wstring& caption);  // digits and "."
  void OperatorKey(wchar_t op);                // + - * /
  void PercentKey();
  void ClearKey();
  void PowerKey();
  void SquareRootKey();
  void ReciprocalKey();
  void SignKey();
  void EqualsKey();
  void EditKey();
  void MemoryInKey();
  void MemoryOutKey();
  void MemoryClearKey();
  bool CanSave() const;  // edit mode and a non-blank display

  // The window's key-down (keyboard preview). True when the key is
  // swallowed. Does nothing in edit mode.
  bool KeyDown(int virtualKey, bool shift);
  void KeyPress(wchar_t character);
  // The display's own key-down, for keys the window left through.
  void DisplayKeyDown(int virtualKey);

  CalcRequests TakeRequests() {
    CalcRequests r = requests;
    requests = {};
    return r;
  }

 private:
  void Focus(bool caretToEnd = false) {
    requests.focusDisplay = true;
    requests.caretToEnd = requests.caretToEnd || caretToEnd;
  }
  void ShowInvalidInput();
  void NormalMode();

  Dialogs& dialogs_;
};

// x to the power n as the power key computes it, in 32-bit floats. Throws the
// floating-point faults.
float CalcPower(float x, float n);

}  // namespace corvel
