// The Process page: the running processes by executable name, their details,
// the filter of the system's own processes, ending a process by name, and a
// web search for a name.
#pragma once
#include <string>
#include <vector>

#include "base/messages.h"
#include "base/shell.h"
#include "win/tab_page.h"

namespace corvel {

// The version block of a program file as the details show it; empty when
// the file has no readable version resource. Shared with the Autostart page.
std::vector<std::wstring> VersionDetailLines(const std::wstring& path);

class ProcessPage : public TabPage {
 public:
  ProcessPage(Form& form, const MessageTable& messages, ShellOps& ops)
      : TabPage(form), messages_(messages), ops_(ops) {}
  std::span<const ControlSpec> Layout() const override;
  void Bind() override;

  void BtnRefreshClick();  // FillProcessList; also on every entry to the page
  void ListBox1Click();    // ShowProcessDetails of the selected entry
  void BitBtn24Click();    // "Hide Micosoft": HideMicrosoftProcesses
  void BtnKillClick();     // "Kill task"
  void BitBtn41Click();    // "Google Search"

 private:
  void FillProcessList();
  void ShowProcessDetails(const std::wstring& subject);
  void HideMicrosoftProcesses();

  const MessageTable& messages_;
  ShellOps& ops_;
};

}  // namespace corvel
