// TFormRech: the key-pad calculator. Its state lives in Calculator; the
// window copies the display in before a handler and out afterwards.
#pragma once
#include <windows.h>

#include <functional>
#include <map>
#include <optional>
#include <string>

#include "win/help.h"
#include "win/two_language_form.h"
#include "base/codepage.h"
#include "calc/calculator.h"
#include "win/handles.h"

namespace corvel {

class TFormRech : public TwoLanguageForm {
 public:
  // Menu command ids.
  enum : UINT { kMenuSave = 101, kMenuLoad = 102, kMenuQuit = 103 };

  TFormRech(Dialogs& dialogs, const CodePage& codePage, ApplicationHelp& help);
  void Create(HWND owner);

  Calculator& State() { return calc_; }
  // The user's decimal separator unless a test fixes one.
  std::optional<wchar_t> fixedDecimalSeparator;
  const std::wstring& HelpFile() const { return helpFile_; }
  std::wstring Hint(const std::wstring& component) const;
  std::wstring MenuText(UINT id) const;
  std::wstring InvalidInputText() const { return calc_.invalidInputText; }
  bool BeepSwitchedOff() const { return beepOff_; }

  // Handlers of the design.
  void BitBtn1Click(const std::wstring& caption);  // digits and "."
  void BitBtn11Click();  // +
  void BitBtn12Click();  // -
  void BitBtn15Click();  // *
  void BitBtn14Click();  // /
  void BitBtn13Click();  // %
  void BitBtn16Click();  // CE
  void BitBtn17Click();  // power
  void BitBtn18Click();  // square root
  void BitBtn24Click();  // 1/x
  void BitBtn20Click();  // +/-
  void BitBtn19Click();  // =
  void BitBtn22Click();  // Edit
  void BitBtn21Click();  // quit
  void BitBtn25Click();  // M<-
  void BitBtn26Click();  // M->
  void BitBtn27Click();  // MC
  void Savecalculation1Click();
  void Loadcalculation1Click();
  void Edit1KeyDown(WPARAM vk);
  bool PreviewKeyDown(WPARAM vk) override;  // FormKeyDown
  bool PreviewChar(WPARAM ch) override;     // FormKeyPress

 protected:
  void FormShow() override;
  void FormCloseRequested() override;
  LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  // Runs a handler between copying the display in and out; the display is
  // written back even when the handler fails.
  void Run(const std::function<void()>& handler);
  void SyncIn();
  void SyncOut();
  void SetLanguageTexts();
  void ApplyOtherText(const std::wstring& component, const wchar_t* text) override;
  static LRESULT CALLBACK DisplayProc(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);

  const CodePage& codePage_;
  ApplicationHelp& help_;  // takes our help file on every show
  Calculator calc_;
  HWND display_ = nullptr;
  HMENU menu_ = nullptr, fileMenu_ = nullptr;
  std::wstring helpFile_;
  std::wstring memo_;  // Memo1: the buffer of load and save
  UniqueBrush normalBrush_, editBrush_;
  bool beepOff_ = false;
};

}  // namespace corvel
