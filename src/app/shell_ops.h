// Starting programs, documents, folders, addresses and Control Panel applets
// through the Shell port: the verbs, show modes and parameter texts of the
// main window's buttons.
#pragma once
#include <string>

#include "app/messages.h"
#include "app/shell.h"
#include "base/dialogs.h"

namespace corvel {

class ShellOps {
 public:
  // windowsMajor: the major version the system reported at program start.
  ShellOps(Shell& shell, Dialogs& dialogs, const MessageTable& messages, unsigned windowsMajor)
      : shell_(shell), dialogs_(dialogs), messages_(messages), windowsMajor_(windowsMajor) {}

  // "open", SW_SHOWNORMAL; true when the shell's value is above 32. Shows nothing.
  bool ShellOpen(const std::wstring& file, const std::wstring& parameters);
  // "open", no parameters, SW_SHOW; failures are silent.
  void ShellOpenUrl(const std::wstring& address);
  // "runas" (asks for elevation) from Windows 6 on, else "open"; SW_SHOWNORMAL.
  bool RunElevated(const std::wstring& file, const std::wstring& parameters);
  // Explorer with the folder tree, through RunElevated; MsgExplorerFailed in an error box on failure.
  void OpenInExplorer(const std::wstring& path);
  // rundll32.exe "shell32.dll,Control_RunDLL <applet>"; an empty applet opens the Control Panel.
  void RunControlPanel(const std::wstring& applet);

  static const wchar_t* ElevationVerb(unsigned windowsMajor);
  // " /e,  \"<path>\"": a blank, "/e,", two blanks, the quoted path.
  static std::wstring ExplorerParameters(const std::wstring& path);

 private:
  Shell& shell_;
  Dialogs& dialogs_;
  const MessageTable& messages_;
  unsigned windowsMajor_;
};

}  // namespace corvel
