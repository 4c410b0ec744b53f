// TFormClOptions: the user's own cleaner rules. The cleaner window hands it
// the list file's path and the language, then shows it modally.
#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "win/help.h"
#include "win/two_language_form.h"
#include "base/codepage.h"
#include "cleaner/options_logic.h"

namespace corvel {

class TFormClOptions : public TwoLanguageForm {
 public:
  static constexpr unsigned kHelpContext = 210;

  TFormClOptions(Dialogs& dialogs, const CodePage& codePage, ApplicationHelp& help);
  void Create(HWND owner);

  std::wstring listFile;  // set by the caller before showing

  bool Changed() const { return changed_; }
  std::vector<std::wstring> Items() const;  // ListBox1 in order
  RuleInputs Inputs() const;                // the input controls as they stand
  void SetInputs(const RuleInputs& inputs);
  void Select(int index);                   // ListBox1, -1 selects nothing
  std::wstring Hint(const std::wstring& component) const { return controls().Hint(component); }

  // Handlers of the design.
  void ToolButton4Click();  // select folder
  void ToolButton5Click();  // add
  void ToolButton6Click();  // edit
  void ToolButton2Click();  // delete
  void ToolButton3Click();  // save
  void ToolButton1Click();  // close
  bool FormCloseQuery();  // false keeps the window open
  bool PreviewKeyDown(WPARAM vk) override;  // FormKeyDown

 protected:
  void FormShow() override;
  void FormCloseRequested() override;

 private:
  ListBox List() const { return ListBox(Ctl(L"ListBox1")); }
  void ResetInputs();
  void SetLanguageTexts();
  void ErrorBox(const wchar_t* german, const wchar_t* english, unsigned icon);
  // False when the file could not be written; throws InOutError when the
  // list was not read or its folder cannot be made.
  bool Save();

  const CodePage& codePage_;
  ApplicationHelp& help_;  // F1 opens the application's help file, or ours without one
  std::wstring memo_;  // Memo1: the line buffer of saving
  bool changed_ = false;
  std::wstring unreadList_;  // why the list file could not be read; saving waits for a read

};

}  // namespace corvel
