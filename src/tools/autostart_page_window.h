// The Autostart page: what Windows starts at logon from the Run keys and the
// two startup folders; details, adding, removing and a web search.
#pragma once
#include <string>
#include <vector>

#include "base/messages.h"
#include "base/shell.h"
#include "win/tab_page.h"

namespace corvel {

class TFormCheckUser;

class AutostartPage : public TabPage {
 public:
  AutostartPage(Form& form, const MessageTable& messages, ShellOps& ops, const Language& language)
      : TabPage(form), messages_(messages), ops_(ops), language_(language) {}
  std::span<const ControlSpec> Layout() const override;
  void Bind() override;
  // The dialog that asks where a new entry goes (created with the tool windows).
  void SetCheckUserWindow(TFormCheckUser* window) { checkUser_ = window; }

  void FillAutostartList();  // also on every entry to the page
  void ListBoxAutoSClick();  // ShowAutostartDetails of the selected entry
  void BitBtnAddClick();     // "Add"
  void BitBtn39Click();      // "Remove"
  void BitBtn40Click();      // "Google Search"
  bool AutostartValueExists(const std::wstring& name) const;

 private:
  void ShowAutostartDetails(const std::wstring& name);
  void AddAutostartEntry(const std::wstring& name, const std::wstring& command);
  bool RemoveAutostartEntry(const std::wstring& name);  // true when a registry value was deleted
  bool DeleteStartupFile(const std::wstring& folder, const std::wstring& name);
  std::wstring CommonStartup() const;
  std::wstring UserStartup() const;

  const MessageTable& messages_;
  ShellOps& ops_;
  const Language& language_;  // the main window's, read when a message is shown
  TFormCheckUser* checkUser_ = nullptr;
  // The display names of the two startup folders (the design's hidden file lists).
  std::vector<std::wstring> fileList1_, fileListStart_;
};

}  // namespace corvel
